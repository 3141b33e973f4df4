// The emoticon picker's popup: a grid of pictures that the mouse and the
// keyboard both work. Arrow keys move the highlighted cell, Home and End go to
// the first and the last emoticon, Enter or Space picks the highlighted one
// and Escape closes the popup without a pick. A screen reader sees a list
// named "表情" whose items are named by what each emoticon means: it speaks
// the highlighted item alone as the keys move (in a table, moving up or down
// reads the whole row), and the list with its highlighted item when the
// popup opens.
#pragma once

#include <QListWidget>

#include "common/GbkString.h"

namespace tarvolan {

// What an emoticon code means, in words ("微笑" for ":)"); the code itself
// for a code that is not one of the 40.
QString EmoticonMeaning(const CString& code);
// What emoticon index (0..39) means; empty for another index.
QString EmoticonMeaning(int index);

class CEmoticonGrid : public QListWidget {
    Q_OBJECT
public:
    CEmoticonGrid(int columns, QWidget* parent);

    // Adds the next cell: its picture (an icon with the art of each pixel
    // ratio), the picture's size in logical pixels (empty: none) and its code
    // (the tooltip).
    void AddCell(const QIcon& picture, const QSize& size, const CString& code);
    // Sizes the grid to its cells and highlights the first one.
    void Finish();
    int ItemCount() const { return m_nCount; }

signals:
    void picked(int index);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // A grid that is a window of its own closes when another window takes
    // the focus (a click beside it).
    bool event(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    void SetCurrentIndex(int index);

    int m_nColumns;
    int m_nCount = 0;
};

} // namespace tarvolan
