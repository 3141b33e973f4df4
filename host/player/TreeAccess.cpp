#include "player/TreeAccess.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QContextMenuEvent>
#include <QCursor>
#include <QJsonObject>
#include <QJsonValue>
#include <QMouseEvent>
#include <QStyle>
#include <QToolTip>
#include <QTreeWidget>

#include "window/TreeItemData.h"

using namespace tarvolan;

namespace host {

namespace {

// The data roles in which the group tree control keeps an item's colour
// (COLORREF, -1 for the default) and bold state.
constexpr int kTreeColorRole = Qt::UserRole + 0x7101;
constexpr int kTreeBoldRole = Qt::UserRole + 0x7103;

QJsonValue ColorOf(const QTreeWidgetItem* item)
{
    const QVariant value = item->data(0, kTreeColorRole);
    if (!value.isValid() || value.toInt() == -1) return QJsonValue::Null;
    const unsigned ref = value.toUInt();
    return QColor(ref & 0xFF, (ref >> 8) & 0xFF, (ref >> 16) & 0xFF).name();
}

QJsonObject SnapshotItem(const QTreeWidgetItem* item)
{
    const QVariant image = item->data(0, kItemImageRole);
    QJsonObject row{{"text", item->text(0)},
                    {"kind", ItemKind(item)},
                    {"bold", item->data(0, kTreeBoldRole).toBool()},
                    {"color", ColorOf(item)},
                    {"icon", image.isValid() ? image.toInt() : -1},
                    {"expanded", item->isExpanded()},
                    {"selected", item->isSelected()}};
    QJsonArray children;
    for (int i = 0; i < item->childCount(); ++i) children.append(SnapshotItem(item->child(i)));
    row["children"] = children;
    return row;
}

QStringList Texts(QTreeWidget* tree, QTreeWidgetItem* parent)
{
    QStringList texts;
    const int n = parent ? parent->childCount() : tree->topLevelItemCount();
    for (int i = 0; i < n; ++i) texts << (parent ? parent->child(i) : tree->topLevelItem(i))->text(0);
    return texts;
}

void SendMouse(QWidget* viewport, QEvent::Type type, const QPoint& pos, Qt::MouseButton button)
{
    const QPoint global = viewport->mapToGlobal(pos);
    const QPoint scene = viewport->window()->mapFromGlobal(global);
    const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, QPointF(pos), QPointF(scene), QPointF(global), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(viewport, &event);
}

// A point on the item's label: past its icon, in the middle of its text.
QPoint LabelPoint(QTreeWidget* tree, QTreeWidgetItem* item)
{
    const QRect cell = tree->visualItemRect(item);
    QSize icon = tree->iconSize();
    if (!icon.isValid()) {
        const int side = tree->style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, tree);
        icon = QSize(side, side);
    }
    const int iconSpan = item->icon(0).isNull() ? 0 : icon.width() + 3;
    const int textHalf = std::max(tree->fontMetrics().horizontalAdvance(item->text(0)) / 2, 1);
    const int x = std::min(cell.left() + iconSpan + 2 + textHalf, cell.right() - 1);
    return QPoint(x, cell.center().y());
}

// Scrolls the item into view; false with *why when it cannot be seen.
bool ShowItem(QTreeWidget* tree, QTreeWidgetItem* item, QString* why)
{
    for (QTreeWidgetItem* p = item->parent(); p; p = p->parent())
        if (!p->isExpanded()) {
            if (why) *why = QStringLiteral("the item \"%1\" is inside a collapsed item").arg(item->text(0));
            return false;
        }
    tree->scrollToItem(item);
    if (!tree->isVisible() || tree->visualItemRect(item).isEmpty()) {
        if (why) *why = QStringLiteral("the item \"%1\" is not on the screen").arg(item->text(0));
        return false;
    }
    return true;
}

// Hides a shown tooltip at once (QToolTip::hideText lets it fade out later).
void HideToolTip()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->inherits("QTipLabel")) window->hide();
}

// The pointer rests at pos of widget: the tooltip then shown, hidden again.
QString RestPointer(QWidget* widget, const QPoint& pos)
{
    HideToolTip();
    QCursor::setPos(widget->mapToGlobal(pos));
    SendMouse(widget, QEvent::MouseMove, pos, Qt::NoButton);
    QHelpEvent help(QEvent::ToolTip, pos, widget->mapToGlobal(pos));
    QApplication::sendEvent(widget, &help);
    const QString tip = QToolTip::isVisible() ? QToolTip::text() : QString();
    HideToolTip();
    return tip;
}

} // namespace

QJsonArray SnapshotTree(const QTreeWidget* tree)
{
    QJsonArray rows;
    if (!tree) return rows;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) rows.append(SnapshotItem(tree->topLevelItem(i)));
    return rows;
}

QTreeWidgetItem* FindTreeItem(QTreeWidget* tree, const QJsonArray& path, QString* why)
{
    QTreeWidgetItem* parent = nullptr;
    for (const QJsonValue& step : path) {
        const QString text = step.toString();
        QTreeWidgetItem* found = nullptr;
        const int n = parent ? parent->childCount() : tree->topLevelItemCount();
        for (int i = 0; i < n && !found; ++i) {
            QTreeWidgetItem* item = parent ? parent->child(i) : tree->topLevelItem(i);
            if (item->text(0) == text) found = item;
        }
        if (!found) {
            if (why)
                *why = QStringLiteral("no tree item \"%1\" (there: %2)")
                           .arg(text, Texts(tree, parent).join(QStringLiteral(", ")));
            return nullptr;
        }
        parent = found;
    }
    if (!parent && why) *why = QStringLiteral("the item path is empty");
    return parent;
}

bool ClickTreeItem(QTreeWidget* tree, QTreeWidgetItem* item, EClick click, QString* why)
{
    if (!ShowItem(tree, item, why)) return false;
    ClickAt(tree->viewport(), LabelPoint(tree, item), click);
    return true;
}

void ClickAt(QWidget* widget, const QPoint& pos, EClick click)
{
    QCursor::setPos(widget->mapToGlobal(pos));
    switch (click) {
    case EClick::Left:
        SendMouse(widget, QEvent::MouseButtonPress, pos, Qt::LeftButton);
        SendMouse(widget, QEvent::MouseButtonRelease, pos, Qt::LeftButton);
        break;
    case EClick::Right: {
        SendMouse(widget, QEvent::MouseButtonPress, pos, Qt::RightButton);
        QContextMenuEvent menu(QContextMenuEvent::Mouse, pos, widget->mapToGlobal(pos));
        QApplication::sendEvent(widget, &menu);
        SendMouse(widget, QEvent::MouseButtonRelease, pos, Qt::RightButton);
        break;
    }
    case EClick::Double:
        SendMouse(widget, QEvent::MouseButtonPress, pos, Qt::LeftButton);
        SendMouse(widget, QEvent::MouseButtonRelease, pos, Qt::LeftButton);
        SendMouse(widget, QEvent::MouseButtonDblClick, pos, Qt::LeftButton);
        SendMouse(widget, QEvent::MouseButtonRelease, pos, Qt::LeftButton);
        break;
    }
}

void ClickWidget(QWidget* control, EClick click)
{
    auto* area = qobject_cast<QAbstractScrollArea*>(control);
    QWidget* target = area ? area->viewport() : control;
    ClickAt(target, target->rect().center(), click);
}

QModelIndex FindLine(const QAbstractItemView* view, const QJsonValue& line, QString* why)
{
    const QAbstractItemModel* model = view->model();
    QStringList texts;
    for (int row = 0; model && row < model->rowCount(); ++row) {
        const QModelIndex index = model->index(row, 0);
        if ((line.isDouble() && line.toInt() == row) || (line.isString() && index.data().toString() == line.toString()))
            return index;
        texts << index.data().toString();
    }
    *why = line.isDouble() || line.isString()
               ? QStringLiteral("no line %1 (there: %2)")
                     .arg(line.isDouble() ? QString::number(line.toInt()) : QStringLiteral("\"%1\"").arg(line.toString()),
                          texts.join(QStringLiteral(", ")))
               : QStringLiteral("\"line\" takes a row (from 0) or a line's text");
    return QModelIndex();
}

bool ClickLine(QAbstractItemView* view, const QModelIndex& line, EClick click, QString* why)
{
    view->scrollTo(line);
    const QRect rect = view->visualRect(line);
    if (!view->isVisible() || rect.isEmpty()) {
        *why = QStringLiteral("the line \"%1\" is not on the screen").arg(line.data().toString());
        return false;
    }
    ClickAt(view->viewport(), rect.center(), click);
    return true;
}

bool HoverTreeItem(QTreeWidget* tree, QTreeWidgetItem* item, QString* tip, QString* why)
{
    if (!ShowItem(tree, item, why)) return false;
    *tip = RestPointer(tree->viewport(), LabelPoint(tree, item));
    return true;
}

QString HoverWidget(QWidget* widget)
{
    return RestPointer(widget, widget->rect().center());
}

} // namespace host
