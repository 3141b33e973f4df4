// What a screen reader reads of a rich editor (CRichMsgEdit): its text with
// every emoticon picture given by its meaning ("微笑") where the document
// holds the object replacement character, which readers speak as "object".
// Offsets, the caret and selections are counted in that spoken text and
// mapped to the document's positions, so that a reader moving through the
// text, selecting or editing it meets the editor's own positions.
#pragma once

#include <vector>

#include <QAccessibleWidget>
#include <QString>

class QTextEdit;

namespace tarvolan {

// The document's text as it is spoken, and where each document position
// falls in it.
struct TSpokenText {
    QString text;
    std::vector<int> offsets;  // document position -> offset in text (one past the end too)

    // The offset of a document position, and the document position at
    // an offset (inside a picture's words: the picture's own position).
    int OffsetOf(int position) const;
    int PositionAt(int offset) const;
};

// The spoken text of an editor's document; pictures of no known emoticon
// are spoken as "图片".
TSpokenText SpokenText(const QTextEdit& editor);

// Makes Qt's accessibility give every CRichMsgEdit the interface below.
void InstallEditorAccessible();

class CEditorAccessible : public QAccessibleWidget,
                          public QAccessibleTextInterface,
                          public QAccessibleEditableTextInterface {
public:
    explicit CEditorAccessible(QTextEdit* editor);

    QAccessible::State state() const override;
    QString text(QAccessible::Text t) const override;
    void* interface_cast(QAccessible::InterfaceType t) override;

    // QAccessibleTextInterface, in offsets of the spoken text.
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                         int* endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

    // QAccessibleEditableTextInterface.
    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString& text) override;
    void replaceText(int startOffset, int endOffset, const QString& text) override;

private:
    QTextEdit* Editor() const;
    TSpokenText Spoken() const;
};

} // namespace tarvolan
