#include "platform/Accessibility.h"

#include <QAccessible>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QTreeWidget>

namespace tarvolan {

namespace {

QString NameFromLabel(const QString& labelText)
{
    QString name;
    name.reserve(labelText.size());
    for (qsizetype i = 0; i < labelText.size(); ++i) {
        if (labelText[i] == QLatin1Char('&') && i + 1 < labelText.size()) ++i;  // "&&" stays one '&'
        name += labelText[i];
    }
    static const QString colons = QStringLiteral(":：");
    while (!name.isEmpty() && (colons.contains(name.back()) || name.back().isSpace())) name.chop(1);
    return name;
}

FocusReportObserver g_focusObserver = nullptr;

// Tells assistive technology that the focus is on node.
void ReportFocusOn(QAccessibleInterface* node)
{
    if (!node) return;
    if (g_focusObserver) g_focusObserver(node);
    QAccessibleEvent event(node, QAccessible::Focus);
    QAccessible::updateAccessibility(&event);
}

// The row of an index among the rows a view shows, as its accessible table
// counts them (a tree counts the visible rows above it).
int ShownRow(const QAbstractItemView& view, const QModelIndex& index)
{
    const auto* tree = qobject_cast<const QTreeView*>(&view);
    if (!tree) return index.row();
    int row = 0;
    for (QModelIndex above = tree->indexAbove(index); above.isValid(); above = tree->indexAbove(above)) ++row;
    return row;
}

// The first control of the window that Tab reaches.
QWidget* FirstTabStop(QWidget* window)
{
    for (QWidget* next = window->nextInFocusChain(); next && next != window; next = next->nextInFocusChain())
        if (window->isAncestorOf(next) && next->isVisible() && next->isEnabled() && (next->focusPolicy() & Qt::TabFocus))
            return next;
    return nullptr;
}

void ReportCurrentItemNow(QAbstractItemView* view)
{
    const QModelIndex current = view->currentIndex();
    if (!view->hasFocus() || !current.isValid()) return;
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(view);
    QAccessibleTableInterface* cells = table ? table->tableInterface() : nullptr;
    ReportFocusOn(cells ? cells->cellAt(ShownRow(*view, current), current.column()) : nullptr);
}

void ReportFocusNow(QWidget* window)
{
    if (!window->isVisible() || !window->isActiveWindow()) return;
    QWidget* focus = window->focusWidget();
    if (!focus || !focus->isVisible()) focus = FirstTabStop(window);
    if (!focus) return;
    if (!focus->hasFocus()) focus->setFocus(Qt::ActiveWindowFocusReason);
    if (auto* view = qobject_cast<QAbstractItemView*>(focus); view && view->currentIndex().isValid()) {
        ReportCurrentItemNow(view);
        return;
    }
    ReportFocusOn(QAccessible::queryAccessibleInterface(focus));
}

} // namespace

FocusReportObserver ObserveFocusReports(FocusReportObserver observer)
{
    const FocusReportObserver previous = g_focusObserver;
    g_focusObserver = observer;
    return previous;
}

void ReportFocusSoon(QWidget* window)
{
    if (!window) return;
    QMetaObject::invokeMethod(window, [guard = QPointer<QWidget>(window)] {
        if (guard) ReportFocusNow(guard);
    }, Qt::QueuedConnection);
}

void ReportCurrentItemSoon(QAbstractItemView* view)
{
    if (!view) return;
    QMetaObject::invokeMethod(view, [guard = QPointer<QAbstractItemView>(view)] {
        if (guard) ReportCurrentItemNow(guard);
    }, Qt::QueuedConnection);
}

void NameControlsFromLabels(QWidget* window)
{
    if (!window) return;
    for (QLabel* label : window->findChildren<QLabel*>()) {
        QWidget* buddy = label->buddy();
        if (buddy && buddy->accessibleName().isEmpty()) buddy->setAccessibleName(NameFromLabel(label->text()));
    }
    for (QTreeWidget* tree : window->findChildren<QTreeWidget*>()) {
        QTreeWidgetItem* header = tree->headerItem();
        if (tree->isHeaderHidden() && header && tree->columnCount() == 1 && !tree->accessibleName().isEmpty())
            header->setText(0, tree->accessibleName());
    }
}

void NameWindowAfter(QWidget* window, const QString& subject)
{
    if (!window) return;
    window->setAccessibleName(subject.isEmpty() ? QString() : window->windowTitle() + QStringLiteral(" - ") + subject);
}

} // namespace tarvolan
