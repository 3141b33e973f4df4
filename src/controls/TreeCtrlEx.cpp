#include "controls/TreeCtrlEx.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyledItemDelegate>

#include "clientkit/ClientKit.h"
#include "platform/Accessibility.h"
#include "platform/Pictures.h"
#include "platform/Window.h"

namespace tarvolan {

namespace {

// Item attributes are kept in these data roles of column 0, clear of the
// roles the owners use for their item data.
constexpr int kColorRole = CTreeCtrlEx::kColorRole;
constexpr int kFontRole = CTreeCtrlEx::kFontRole;
constexpr int kBoldRole = CTreeCtrlEx::kBoldRole;

const QColor kSelectTextBack(51, 94, 168);      // normal mode, focused selection
const QColor kSkinSelectTextBack(204, 221, 246);
const QColor kSkinHoverTextBack(237, 244, 250);
const QColor kFrameColor(196, 196, 196);

// Horizontal gap between an item's icon and its label, and the gap the
// click span keeps on the icon's left.
constexpr int kIconGap = 3;
constexpr int kSpanIconGap = 2;

// Labels are measured and painted from the part a window shows: a name or
// status text of thousands of characters from the host costs a row no more
// than one that fills it (shaping the whole text on every paint did). Even at
// three pixels a character that part reaches past 6,000 pixels.
QString PaintedText(const QTreeWidgetItem* item)
{
    return ShownPart(item->text(0));
}

// The text sits this far inside the label, on the left and at the top.
constexpr int kTextInset = 2;

// Row sizes come from the tree, so that rows fit the text at its inset.
class CRowDelegate : public QStyledItemDelegate {
public:
    explicit CRowDelegate(CTreeCtrlEx* tree) : QStyledItemDelegate(tree), m_pTree(tree) {}
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex& index) const override
    {
        return m_pTree->RowSizeHint(m_pTree->itemFromIndex(index));
    }

private:
    CTreeCtrlEx* m_pTree;
};

bool HasIcon(const QTreeWidgetItem* item)
{
    return !item->icon(0).isNull();
}

} // namespace

CTreeCtrlEx::CTreeCtrlEx(QWidget* parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setRootIsDecorated(true);
    setUniformRowHeights(true);
    setItemDelegate(new CRowDelegate(this));
    // The rendering starts from white, whatever the style's base colour, so
    // the default text colour and the expand arrows are dark whatever the
    // palette's are (a dark palette's light texts vanish on white).
    QPalette pal = palette();
    pal.setColor(QPalette::Base, Qt::white);
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        pal.setColor(group, QPalette::Text, Qt::black);
        pal.setColor(group, QPalette::WindowText, Qt::black);
    }
    setPalette(pal);
    // Hover is tracked here, for whole rows; the view's own hover
    // repainting is not needed.
    viewport()->setAttribute(Qt::WA_Hover, false);
    viewport()->setMouseTracking(true);
    // Expanding or collapsing moves every row below: repaint everything.
    connect(this, &QTreeView::expanded, viewport(), qOverload<>(&QWidget::update));
    connect(this, &QTreeView::collapsed, viewport(), qOverload<>(&QWidget::update));
}

// ---- item attributes --------------------------------------------------------

void CTreeCtrlEx::SetItemFont(QTreeWidgetItem* item, const TLogFont& font)
{
    if (!item) return;
    item->setData(0, kFontRole, QByteArray(reinterpret_cast<const char*>(&font), sizeof(font)));
}

void CTreeCtrlEx::SetItemColor(QTreeWidgetItem* item, int32_t color)
{
    if (!item) return;
    item->setData(0, kColorRole, color);
}

void CTreeCtrlEx::SetItemBold(QTreeWidgetItem* item, bool bold)
{
    if (!item) return;
    item->setData(0, kBoldRole, bold);
}

bool CTreeCtrlEx::GetItemBold(const QTreeWidgetItem* item) const
{
    return item && item->data(0, kBoldRole).toBool();
}

int32_t CTreeCtrlEx::GetItemColor(const QTreeWidgetItem* item) const
{
    const QVariant value = item ? item->data(0, kColorRole) : QVariant();
    return value.isValid() ? value.toInt() : kDefaultColor;
}

bool CTreeCtrlEx::GetItemFont(const QTreeWidgetItem* item, TLogFont& font) const
{
    if (!item) return false;
    const QByteArray bytes = item->data(0, kFontRole).toByteArray();
    if (bytes.size() != static_cast<qsizetype>(sizeof(TLogFont))) return false;
    TLogFont stored;
    std::memcpy(&stored, bytes.constData(), sizeof(stored));
    if (stored.lfFaceName[0] == '\0') return false;
    font = stored;
    return true;
}

QFont CTreeCtrlEx::ItemFont(const QTreeWidgetItem* item) const
{
    QFont result = font();
    TLogFont logFont;
    if (GetItemFont(item, logFont)) result = ToQFont(logFont).resolve(font());
    if (GetItemBold(item)) result.setWeight(QFont::Bold);
    return result;
}

QColor CTreeCtrlEx::ItemTextColor(const QTreeWidgetItem* item) const
{
    const int32_t color = GetItemColor(item);
    return color == kDefaultColor ? palette().color(QPalette::Text)
                                  : ToQColor(static_cast<COLORREF>(color));
}

// ---- settings -----------------------------------------------------------------

void CTreeCtrlEx::SetFullRowSelect(bool on)
{
    if (m_bFullRow == on) return;
    m_bFullRow = on;
    m_hover = QPersistentModelIndex();
    viewport()->update();
}

void CTreeCtrlEx::SetBkColor(COLORREF color)
{
    m_crTextBk = color & 0xFFFFFF;
    viewport()->update();
}

bool CTreeCtrlEx::SetBkImage(const char* path)
{
    m_bkImage = QImage();
    if (path && *path) m_bkImage.load(ToQt(CString(path)));
    viewport()->update();
    return !m_bkImage.isNull();
}

// ---- geometry -------------------------------------------------------------------

QRect CTreeCtrlEx::RowRect(const QTreeWidgetItem* item) const
{
    const QRect cell = item ? visualItemRect(item) : QRect();
    if (cell.isEmpty()) return QRect();
    return QRect(0, cell.top(), viewport()->width(), cell.height());
}

QRect CTreeCtrlEx::LabelRect(const QTreeWidgetItem* item) const
{
    return item ? LabelRect(item, ItemFont(item)) : QRect();
}

QRect CTreeCtrlEx::LabelRect(const QTreeWidgetItem* item, const QFont& itemFont) const
{
    const QRect cell = visualItemRect(item);
    if (cell.isEmpty()) return QRect();
    const int left = cell.left() + (HasIcon(item) ? IconSize().width() + kIconGap : 0);
    const int width = QFontMetrics(itemFont).horizontalAdvance(LabelText(item, itemFont, left)) + 2 * kTextInset;
    return QRect(left, cell.top(), width, cell.height());
}

QRect CTreeCtrlEx::ClickSpan(const QTreeWidgetItem* item) const
{
    QRect span = LabelRect(item);
    if (!span.isEmpty() && HasIcon(item)) span.setLeft(span.left() - IconSize().width() - kSpanIconGap);
    return span;
}

QString CTreeCtrlEx::LabelText(const QTreeWidgetItem* item, const QFont& itemFont, int left) const
{
    const QString text = PaintedText(item);
    if (!m_bElideMiddle) return text;
    const int room = std::max(viewport()->width() - left - 2 * kTextInset, 0);
    const QFontMetrics metrics(itemFont);
    if (metrics.horizontalAdvance(text) <= room) return text;
    // Two thirds of the room for the start, where an address names its user,
    // the rest for the end; the ellipsis between them.
    const QString ellipsis(QChar(0x2026));
    const int parts = std::max(room - metrics.horizontalAdvance(ellipsis), 0);
    const QString head = metrics.elidedText(text, Qt::ElideRight, parts * 2 / 3 + metrics.horizontalAdvance(ellipsis));
    const QString start = head.endsWith(ellipsis) ? head.chopped(1) : head;
    QString end = metrics.elidedText(text, Qt::ElideLeft, parts - metrics.horizontalAdvance(start) + metrics.horizontalAdvance(ellipsis));
    end = end.startsWith(ellipsis) ? end.mid(1) : QString();
    return start + ellipsis + end;
}

void CTreeCtrlEx::SetElideMiddle(bool on)
{
    m_bElideMiddle = on;
    setHorizontalScrollBarPolicy(on ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
    viewport()->update();
}

QSize CTreeCtrlEx::RowSizeHint(const QTreeWidgetItem* item) const
{
    const int iconWidth = item && HasIcon(item) ? IconSize().width() + kIconGap : 0;
    const int textWidth = item ? QFontMetrics(ItemFont(item)).horizontalAdvance(PaintedText(item)) : 0;
    const int height = std::max(fontMetrics().height() + 2 * kTextInset, IconSize().height() + 1);
    return QSize(iconWidth + textWidth + 2 * kTextInset, height);
}

QSize CTreeCtrlEx::IconSize() const
{
    const QSize size = iconSize();
    if (size.isValid()) return size;
    const int side = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
    return QSize(side, side);
}

QTreeWidgetItem* CTreeCtrlEx::RowItemAt(int y) const
{
    // Any x inside the first column finds the row's item.
    return itemAt(QPoint(columnViewportPosition(0), y));
}

QTreeWidgetItem* CTreeCtrlEx::ItemFromPoint(int x, int y, bool includeFullRow) const
{
    const QPoint point(x, y);
    if (!viewport()->rect().contains(point)) return nullptr;
    QTreeWidgetItem* item = RowItemAt(y);
    if (!item) return nullptr;
    const QRect area = includeFullRow ? RowRect(item) : LabelRect(item);
    return area.contains(point) ? item : nullptr;
}

QTreeWidgetItem* CTreeCtrlEx::SpanItemAt(const QPoint& point) const
{
    QTreeWidgetItem* item = RowItemAt(point.y());
    return item && ClickSpan(item).contains(point) ? item : nullptr;
}

bool CTreeCtrlEx::OnExpander(const QPoint& point) const
{
    const QTreeWidgetItem* item = RowItemAt(point.y());
    if (!item || (!item->parent() && !rootIsDecorated())) return false;
    const bool expandable = item->childCount() > 0 ||
                            item->childIndicatorPolicy() == QTreeWidgetItem::ShowIndicator;
    const QRect cell = visualItemRect(item);
    return expandable && point.x() >= cell.left() - indentation() && point.x() < cell.left();
}

QTreeWidgetItem* CTreeCtrlEx::HoverItem() const
{
    return m_hover.isValid() ? itemFromIndex(m_hover) : nullptr;
}

// ---- painting ---------------------------------------------------------------------

void CTreeCtrlEx::LoadSkins()
{
    const char* appPath = GetAppPath();
    const QString folder = ToQt(CString(appPath ? appPath : ""));
    // The art follows the screen the tree is on (a window moved to a screen
    // of another pixel ratio reloads it at its next paint).
    const int ratio = ArtRatio(devicePixelRatioF());
    if (m_bSkinsTried && folder == m_skinFolder && ratio == m_skinRatio) return;
    m_bSkinsTried = true;
    m_skinFolder = folder;
    m_skinRatio = ratio;
    m_skinOver.load(PictureFile(folder + QStringLiteral("emote/bmp/tree_over.bmp"), ratio));
    m_skinSelect.load(PictureFile(folder + QStringLiteral("emote/bmp/tree_select.bmp"), ratio));
}

void CTreeCtrlEx::paintEvent(QPaintEvent* event)
{
    m_bRepaintAsked = false;
    LoadSkins();
    if (HasBkImage()) {
        QPainter painter(viewport());
        painter.setClipRegion(event->region());
        painter.fillRect(viewport()->rect(), QBrush(m_bkImage));
    }
    QTreeWidget::paintEvent(event);
    m_firstShown = indexAt(QPoint(0, 0));
    m_lastShown = indexAt(QPoint(0, viewport()->height() - 1));
    if (!m_lastShown.isValid() && m_firstShown.isValid()) {
        // Blank space below the rows: the last row is the last one shown.
        QModelIndex last = m_firstShown;
        for (QModelIndex next = indexBelow(last); next.isValid(); next = indexBelow(last)) last = next;
        m_lastShown = last;
    }
}

namespace {

// An index's place in the tree's order: its row and its ancestors' rows,
// from the top.
std::vector<int> Place(QModelIndex index)
{
    std::vector<int> place;
    for (; index.isValid(); index = index.parent()) place.push_back(index.row());
    std::reverse(place.begin(), place.end());
    return place;
}

bool IsPrefix(const std::vector<int>& a, const std::vector<int>& b)
{
    return a.size() <= b.size() && std::equal(a.begin(), a.end(), b.begin());
}

} // namespace

void CTreeCtrlEx::RepaintView()
{
    if (m_bRepaintAsked && isVisible()) return;
    m_bRepaintAsked = true;
    viewport()->update();
}

bool CTreeCtrlEx::MayShowRows(const QTreeWidgetItem* item) const
{
    if (!item || !isVisible() || !m_firstShown.isValid() || !m_lastShown.isValid()) return true;
    const std::vector<int> place = Place(indexFromItem(item));
    const std::vector<int> first = Place(m_firstShown), last = Place(m_lastShown);
    // The item and its descendants come in a run from its place on; the run
    // ends before the first row shown unless the first is inside it.
    const bool beforeFirst = place < first && !IsPrefix(place, first);
    const bool afterLast = last < place;
    return !beforeFirst && !afterLast;
}

CTreeCtrlEx::TRowLook CTreeCtrlEx::RowLook(const QTreeWidgetItem* item) const
{
    TRowLook look;
    look.font = ItemFont(item);
    look.text = ItemTextColor(item);
    look.textBack = ToQColor(m_crTextBk);
    const bool selected = item->isSelected();
    const bool focused = hasFocus();
    if (!m_bFullRow) {
        if (selected && focused) {
            look.textBack = kSelectTextBack;
            look.text = Qt::white;
        }
        return look;
    }
    const bool caret = item == currentItem();
    if (!selected && !caret && item != HoverItem()) {
        look.style = RowStyle::Filled;
        return look;
    }
    if (focused && selected) {
        look.skin = &m_skinSelect;
        look.textBack = kSkinSelectTextBack;
    } else if (!caret || selected) {
        look.skin = &m_skinOver;
        look.textBack = kSkinHoverTextBack;
    }
    if (look.skin && look.skin->isNull()) look.skin = nullptr;
    look.style = look.skin ? RowStyle::Skinned : RowStyle::Dotted;
    return look;
}

void CTreeCtrlEx::FillBack(QPainter* painter, const QRect& rect, const QColor& color) const
{
    if (HasBkImage() && color == Qt::white) return;
    painter->fillRect(rect, color);
}

void CTreeCtrlEx::PaintFrame(QPainter* painter, const QRect& row, bool dotted) const
{
    // One pixel in from the left, right and bottom edges of the row.
    const int left = row.left() + 1, right = row.right() - 1;
    const int top = row.top(), bottom = row.bottom() - 1;
    if (right < left || bottom < top) return;
    painter->save();
    painter->setPen(QPen(kFrameColor, 0));
    if (!dotted) {
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(left, top, right - left, bottom - top);
    } else {
        // Every second pixel, walking around the frame.
        QList<QPoint> points;
        int step = 0;
        auto put = [&](int x, int y) {
            if (step++ % 2 == 0) points.append(QPoint(x, y));
        };
        for (int x = left; x < right; ++x) put(x, top);
        for (int y = top; y < bottom; ++y) put(right, y);
        for (int x = right; x > left; --x) put(x, bottom);
        for (int y = bottom; y > top; --y) put(left, y);
        painter->drawPoints(points.constData(), static_cast<int>(points.size()));
    }
    painter->restore();
}

void CTreeCtrlEx::PaintRowBackground(QPainter* painter, const QRect& row, const TRowLook& look) const
{
    switch (look.style) {
    case RowStyle::Plain:
        break;
    case RowStyle::Filled:
        FillBack(painter, row, look.textBack);
        break;
    case RowStyle::Skinned:
        painter->drawImage(row, *look.skin);
        PaintFrame(painter, row, false);
        break;
    case RowStyle::Dotted:
        FillBack(painter, row, look.textBack);
        PaintFrame(painter, row, true);
        break;
    }
}

void CTreeCtrlEx::PaintItem(QPainter* painter, const QTreeWidgetItem* item, const TRowLook& look) const
{
    const QRect label = LabelRect(item, look.font);
    if (HasIcon(item)) {
        const QRect iconRect(label.left() - IconSize().width() - kIconGap, label.top(),
                             IconSize().width(), IconSize().height());
        item->icon(0).paint(painter, iconRect);
    }
    const QFontMetrics metrics(look.font);
    const QString text = LabelText(item, look.font, label.left());
    const QPoint origin(label.left() + kTextInset, label.top() + kTextInset);
    if (look.style != RowStyle::Skinned)
        FillBack(painter, QRect(origin, QSize(metrics.horizontalAdvance(text), metrics.height())),
                 look.textBack);
    painter->setFont(look.font);
    painter->setPen(look.text);
    painter->drawText(origin.x(), origin.y() + metrics.ascent(), text);
}

void CTreeCtrlEx::drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const
{
    const QTreeWidgetItem* item = itemFromIndex(index);
    if (!item) return;
    const QRect cell = visualRect(index);
    const QRect row(0, option.rect.top(), viewport()->width(), option.rect.height());
    const TRowLook look = RowLook(item);
    painter->save();
    PaintRowBackground(painter, row, look);
    const int branchLeft = columnViewportPosition(0);
    if (cell.left() > branchLeft)
        drawBranches(painter, QRect(branchLeft, row.top(), cell.left() - branchLeft, row.height()), index);
    PaintItem(painter, item, look);
    painter->restore();
}

// ---- repainting ---------------------------------------------------------------------

void CTreeCtrlEx::UpdateRow(const QTreeWidgetItem* item)
{
    const QRect row = RowRect(item);
    if (!row.isEmpty()) viewport()->update(row);
}

void CTreeCtrlEx::SetHoverItem(QTreeWidgetItem* item)
{
    QTreeWidgetItem* old = HoverItem();
    if (old == item) return;
    UpdateRow(old);
    UpdateRow(item);
    m_hover = item ? QPersistentModelIndex(indexFromItem(item)) : QPersistentModelIndex();
}

void CTreeCtrlEx::scrollContentsBy(int dx, int dy)
{
    QTreeWidget::scrollContentsBy(dx, dy);
    // Rows are drawn over the whole width, so the scrolled picture of the
    // highlighted rows is wrong.
    if (dx != 0) {
        UpdateRow(currentItem());
        UpdateRow(HoverItem());
    }
}

// ---- mouse --------------------------------------------------------------------------

void CTreeCtrlEx::mouseMoveEvent(QMouseEvent* event)
{
    QTreeWidget::mouseMoveEvent(event);
    if (m_bFullRow) {
        const QPoint point = event->position().toPoint();
        SetHoverItem(ItemFromPoint(point.x(), point.y(), false));
    }
}

bool CTreeCtrlEx::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::Leave) SetHoverItem(nullptr);
    return QTreeWidget::viewportEvent(event);
}

bool CTreeCtrlEx::TakeFocusOnlyClick(QMouseEvent* event)
{
    if (m_bFullRow || SpanItemAt(event->position().toPoint())) return false;
    setFocus(Qt::MouseFocusReason);
    event->accept();
    return true;
}

void CTreeCtrlEx::EmitClicked(const QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    QTreeWidgetItem* item = m_bFullRow ? RowItemAt(point.y()) : SpanItemAt(point);
    if (event->button() == Qt::LeftButton)
        emit leftClicked(item);
    else if (event->button() == Qt::RightButton)
        emit rightClicked(item, event->globalPosition().toPoint());
}

void CTreeCtrlEx::mousePressEvent(QMouseEvent* event)
{
    const Qt::MouseButton button = event->button();
    if (button != Qt::LeftButton && button != Qt::RightButton) {
        QTreeWidget::mousePressEvent(event);
        return;
    }
    const bool expander = button == Qt::LeftButton && OnExpander(event->position().toPoint());
    if (!expander && TakeFocusOnlyClick(event)) return;
    QTreeWidget::mousePressEvent(event);
    EmitClicked(event);
}

void CTreeCtrlEx::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QTreeWidget::mouseDoubleClickEvent(event);
        return;
    }
    if (m_bFullRow && !SpanItemAt(event->position().toPoint())) {
        event->accept();
        emit doubleClickNotice();
        return;
    }
    if (TakeFocusOnlyClick(event)) return;
    QTreeWidget::mouseDoubleClickEvent(event);
    emit doubleClickNotice();
}

// The keyboard's way to the context menu: the current item, as a right-click
// on it would report it, with the menu's place at the item's lower left.
void CTreeCtrlEx::EmitKeyboardContextMenu()
{
    QTreeWidgetItem* item = currentItem();
    if (item) scrollToItem(item);
    const QRect rect = item ? visualItemRect(item) : QRect();
    emit rightClicked(item, viewport()->mapToGlobal(item ? rect.bottomLeft() : QPoint(0, 0)));
}

void CTreeCtrlEx::keyPressEvent(QKeyEvent* event)
{
    const bool shiftF10 = event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier;
    if (shiftF10 || event->key() == Qt::Key_Menu) {
        event->accept();
        EmitKeyboardContextMenu();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

// Qt makes the first item current when a view without a current item gets
// the focus; the owner would hear of a choice the user did not make. The
// tree takes the focus without one: the first arrow key chooses an item.
void CTreeCtrlEx::focusInEvent(QFocusEvent* event)
{
    if (currentItem() || !selectionModel()) {
        QTreeWidget::focusInEvent(event);
        ReportCurrentItemSoon(this);  // back from a dialog or a menu: the reader says where
        return;
    }
    {
        const QSignalBlocker quiet(selectionModel());
        QTreeWidget::focusInEvent(event);
        selectionModel()->clearCurrentIndex();
    }
    viewport()->update();
}

// The platform may turn the Menu key into a context-menu event itself.
void CTreeCtrlEx::contextMenuEvent(QContextMenuEvent* event)
{
    if (event->reason() == QContextMenuEvent::Keyboard) {
        event->accept();
        EmitKeyboardContextMenu();
        return;
    }
    QTreeWidget::contextMenuEvent(event);
}

} // namespace tarvolan
