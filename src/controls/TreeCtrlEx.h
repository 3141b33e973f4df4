// The group tree: a QTreeWidget that paints its rows itself, with per-item
// colour and font, bold items, full-row selection with hover tracking, and
// skinned selection and hover rows.
//
// Geometry. All points are viewport coordinates. An item's row spans the
// whole viewport width at the item's height. Its icon (when it has one) sits
// at the left of the item's cell, and its label starts icon width + 3 to the
// right of that, as wide as the text plus 2 pixels on each side; the text is
// drawn at label left + 2, label top + 2.
//
// Look of a row:
// - normal mode: a selected item shows white text on RGB(51,94,168) while the
//   tree has the focus; nothing else is decorated.
// - full-row mode: the selected item (tree focused) is drawn with the
//   selection skin and text background RGB(204,221,246); the hovered item,
//   or the selected item while the tree lacks the focus, with the hover skin
//   and RGB(237,244,250); both get a 1-pixel RGB(196,196,196) frame. The
//   current item that is not selected, and any of these rows when its skin
//   picture is missing, gets its text background filled over the row and a
//   dotted frame. Other rows are filled with the text background colour.
// The skins are "emote/bmp/tree_over.bmp" and "emote/bmp/tree_select.bmp" in
// the client folder, loaded on the first paint and stretched to the row.
// With a background picture, the picture is tiled under the rows and white
// fills are left out so that it shows through.
//
// Clicks. A click counts for an item when it falls on its label, or on its
// icon (the label span reaches icon width + 2 to the left when the item has
// an icon). In normal mode a left or right press or a left double-click
// anywhere else only takes the keyboard focus: it neither selects nor
// expands. (The expand indicator keeps working on a left press.) In
// full-row mode presses select the whole row, and a left double-click off
// the label span is taken by the tree and only reported by doubleClickNotice.
#pragma once

#include <cstdint>

#include <QImage>
#include <QPersistentModelIndex>
#include <QTreeWidget>

#include "common/TextFormat.h"

namespace tarvolan {

class CTreeCtrlEx : public QTreeWidget {
    Q_OBJECT
public:
    // The colour value that keeps the default text colour.
    static constexpr int32_t kDefaultColor = -1;
    // The data roles of column 0 that hold an item's attributes: its colour
    // (int), its font (the TLogFont's bytes) and its bold state (bool). An
    // item class may keep them as it likes and answer them through data().
    static constexpr int kColorRole = Qt::UserRole + 0x7101;
    static constexpr int kFontRole = Qt::UserRole + 0x7102;
    static constexpr int kBoldRole = Qt::UserRole + 0x7103;

    explicit CTreeCtrlEx(QWidget* parent = nullptr);

    // Item attributes. They live on the item, so they go when the item goes;
    // a new item starts with none. A null item is ignored (getters answer
    // the defaults).
    //
    // The font is used only when its face name is not empty; a font height
    // of 0 keeps the control's size. Setting the font keeps the colour and
    // the other way round.
    void SetItemFont(QTreeWidgetItem* item, const TLogFont& font);
    // COLORREF 0x00BBGGRR, or kDefaultColor for the control's text colour.
    void SetItemColor(QTreeWidgetItem* item, int32_t color);
    void SetItemBold(QTreeWidgetItem* item, bool bold);
    bool GetItemBold(const QTreeWidgetItem* item) const;
    // The stored colour, or kDefaultColor.
    int32_t GetItemColor(const QTreeWidgetItem* item) const;
    // True and the stored font when the item has a font with a face name.
    bool GetItemFont(const QTreeWidgetItem* item, TLogFont& font) const;

    // Full-row mode: highlights span the row and the row under the mouse
    // pointer is shown hovered. Off initially.
    void SetFullRowSelect(bool on);
    // Labels wider than the view lose part of their middle, keeping more of
    // the start ("sip:zhangw…ample") instead of running out of sight; the
    // item keeps its whole text.
    void SetElideMiddle(bool on);
    // The label as painted for an item whose label starts at x = left.
    QString LabelText(const QTreeWidgetItem* item, const QFont& itemFont, int left) const;
    bool GetFullRowSelect() const { return m_bFullRow; }
    bool IsFullRowSelect() const { return m_bFullRow; }

    // The text background colour (COLORREF); initially white.
    void SetBkColor(COLORREF color);
    COLORREF GetBkColor() const { return m_crTextBk; }
    // Tiles the picture file (GBK path) under the rows. False, and no
    // picture, when the file cannot be read.
    bool SetBkImage(const char* path);
    bool HasBkImage() const { return !m_bkImage.isNull(); }

    // The first visible item whose label (or whole row, when includeFullRow)
    // contains the viewport point; null when none.
    QTreeWidgetItem* ItemFromPoint(int x, int y, bool includeFullRow) const;
    // The item under the mouse pointer in full-row mode; null when none.
    QTreeWidgetItem* HoverItem() const;

    // Geometry of a visible item; empty rectangles for a hidden one.
    QRect RowRect(const QTreeWidgetItem* item) const;
    QRect LabelRect(const QTreeWidgetItem* item) const;
    // The label rectangle widened over the icon: where clicks count.
    QRect ClickSpan(const QTreeWidgetItem* item) const;
    // The font and colour an item's text is drawn with (before highlights).
    QFont ItemFont(const QTreeWidgetItem* item) const;
    QColor ItemTextColor(const QTreeWidgetItem* item) const;

    // Size of an item's row for the layout: the label and icon wide, as tall
    // as the control font needs with the text 2 pixels down, or the icon.
    QSize RowSizeHint(const QTreeWidgetItem* item) const;

    // Whether the rows of the item and of everything under it may be on
    // screen: false only when they all lie outside the rows of the last
    // paint. A change that brings other rows on screen (rows added or
    // removed, a scroll, a branch opened or closed, a resize) has Qt repaint
    // the view anyway, so an owner that changed only what such rows show
    // need not repaint when this is false.
    bool MayShowRows(const QTreeWidgetItem* item) const;

    // Has the whole view repainted, asking Qt once until that paint comes:
    // a burst of changes (thousands of presence changes in one host message)
    // would otherwise pay Qt's dirty-region work for each of them.
    void RepaintView();

signals:
    // A left double-click reached the owner: one that the tree handled (after
    // its own handling, which may expand or collapse the item), or, in
    // full-row mode, one off the label span, which the tree takes without
    // handling. The current item is the one the user means; owners connect
    // this instead of itemDoubleClicked.
    void doubleClickNotice();
    // A left press the tree handled (not the focus-only ones), after the
    // selection moved: the item under the point (the row's item in full-row
    // mode, else the item whose span holds the point), or null (empty space
    // in full-row mode, the expand indicator in normal mode).
    void leftClicked(QTreeWidgetItem* item);
    // A right press the tree handled, after the selection moved, with the
    // same item rule as leftClicked and the pointer's global position, for
    // the owner's context menu. The context-menu keys (Shift+F10, the Menu
    // key) send it too, for the current item, placed at that item.
    void rightClicked(QTreeWidgetItem* item, QPoint globalPos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                 const QModelIndex& index) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void EmitKeyboardContextMenu();
    enum class RowStyle { Plain, Filled, Skinned, Dotted };
    struct TRowLook {
        QFont font;
        QColor text;
        QColor textBack;
        RowStyle style = RowStyle::Plain;
        const QImage* skin = nullptr;
    };

    TRowLook RowLook(const QTreeWidgetItem* item) const;
    void PaintRowBackground(QPainter* painter, const QRect& row, const TRowLook& look) const;
    void PaintFrame(QPainter* painter, const QRect& row, bool dotted) const;
    void PaintItem(QPainter* painter, const QTreeWidgetItem* item, const TRowLook& look) const;
    // Fills with the colour, except white over a background picture.
    void FillBack(QPainter* painter, const QRect& rect, const QColor& color) const;

    QRect LabelRect(const QTreeWidgetItem* item, const QFont& itemFont) const;
    // The icon size in use: the view's, or the style's small icons.
    QSize IconSize() const;
    QTreeWidgetItem* RowItemAt(int y) const;
    // The item whose click span holds the point; null when none.
    QTreeWidgetItem* SpanItemAt(const QPoint& point) const;
    bool OnExpander(const QPoint& point) const;
    // Handles a click off every span in normal mode; true when it was taken.
    bool TakeFocusOnlyClick(QMouseEvent* event);
    void EmitClicked(const QMouseEvent* event);

    void SetHoverItem(QTreeWidgetItem* item);
    void UpdateRow(const QTreeWidgetItem* item);
    void LoadSkins();

    bool m_bFullRow = false;
    bool m_bElideMiddle = false;
    COLORREF m_crTextBk = 0xFFFFFF;
    QImage m_bkImage;
    QImage m_skinOver;
    QImage m_skinSelect;
    QString m_skinFolder;  // the client folder the skins were read from
    bool m_bSkinsTried = false;
    int m_skinRatio = 1;   // the art ratio the skins were read for
    QPersistentModelIndex m_hover;
    // The first and last rows of the last paint (invalid before one, or
    // when their items went).
    QPersistentModelIndex m_firstShown;
    QPersistentModelIndex m_lastShown;
    bool m_bRepaintAsked = false;  // a whole-view repaint is on its way
};

} // namespace tarvolan
