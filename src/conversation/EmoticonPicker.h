// The emoticon picker of the conversation window (button 1085): a tool button
// holding a list of items, each a picture and a code text. Pressing it shows
// the pictures in a grid (CEmoticonGrid, through the UI driver's RunPicker); the chosen item's index (-1 when none) is recorded
// before the button reports its click, so the click handler reads the choice.
#pragma once

#include <vector>

#include <QIcon>
#include <QPixmap>
#include <QToolButton>

#include "common/GbkString.h"

namespace tarvolan {

class CEmoticonPicker : public QToolButton {
    Q_OBJECT
public:
    static constexpr int kMaxCodeLength = 64;
    static constexpr int kColumns = 8;

    explicit CEmoticonPicker(QWidget* parent = nullptr);

    // Adds an item with the picture of a bitmap file (nothing when it cannot
    // be read); a code longer than kMaxCodeLength bytes is cut. The item
    // shows the file's 2x art where the screen wants it.
    void AddItem(const QString& file, const CString& code);
    int GetItemCount() const { return static_cast<int>(m_Items.size()); }
    // The index chosen last; -1 when the last popup closed without a choice.
    int GetChosenIndex() const { return m_nChosen; }
    // The code text of an item; empty for an index outside the items.
    CString GetItemCode(int index) const;
    const QPixmap& GetItemBitmap(int index) const;
    // The picture an item shows, with its 2x art; a null icon outside the items.
    const QIcon& GetItemIcon(int index) const;

    // Records index as the choice and reports the click, as picking the item
    // in the popup does (keyboard and scripts).
    void ChooseItem(int index);

private:
    void OnClicked();
    // Shows the grid below the button until an item is picked or the popup
    // closes; the index picked, or -1.
    int RunPopup();

    struct TItem {
        QPixmap bitmap;  // the 1x picture
        QIcon icon;      // the 1x and 2x pictures, as the item shows them
        CString code;
    };
    std::vector<TItem> m_Items;
    int m_nChosen = -1;
    bool m_bReporting = false;
};

} // namespace tarvolan
