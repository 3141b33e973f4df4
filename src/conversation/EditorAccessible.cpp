#include "conversation/EditorAccessible.h"

#include <algorithm>

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>

#include "conversation/EditorPictures.h"
#include "conversation/EmoticonGrid.h"

namespace tarvolan {

namespace {

// The words for the picture that ends at document position end.
QString PictureWords(QTextDocument* document, int end)
{
    QTextCursor cursor(document);
    cursor.setPosition(end);
    const QString meaning = EmoticonMeaning(CEditorPictures::IndexOf(cursor.charFormat()));
    return meaning.isEmpty() ? QCoreApplication::translate("tarvolan::CEditorAccessible", "图片") : meaning;
}

QAccessibleInterface* EditorFactory(const QString& key, QObject* object)
{
    if (key != QLatin1String("tarvolan::CRichMsgEdit")) return nullptr;
    auto* editor = qobject_cast<QTextEdit*>(object);
    return editor ? new CEditorAccessible(editor) : nullptr;
}

} // namespace

int TSpokenText::OffsetOf(int position) const
{
    if (offsets.empty()) return 0;
    return offsets[static_cast<size_t>(std::clamp(position, 0, static_cast<int>(offsets.size()) - 1))];
}

int TSpokenText::PositionAt(int offset) const
{
    // The last position whose offset is not past the given one.
    const auto after = std::upper_bound(offsets.begin(), offsets.end(), offset);
    return after == offsets.begin() ? 0 : static_cast<int>(after - offsets.begin()) - 1;
}

TSpokenText SpokenText(const QTextEdit& editor)
{
    QTextDocument* document = editor.document();
    const QString plain = document->toPlainText();  // one character per document position
    TSpokenText spoken;
    spoken.offsets.reserve(static_cast<size_t>(plain.size()) + 1);
    for (qsizetype i = 0; i < plain.size(); ++i) {
        spoken.offsets.push_back(static_cast<int>(spoken.text.size()));
        if (plain[i] == QChar::ObjectReplacementCharacter)
            spoken.text += PictureWords(document, static_cast<int>(i) + 1);
        else
            spoken.text += plain[i];
    }
    spoken.offsets.push_back(static_cast<int>(spoken.text.size()));
    return spoken;
}

void InstallEditorAccessible()
{
    static const bool installed = [] {
        QAccessible::installFactory(&EditorFactory);
        return true;
    }();
    (void)installed;
}

CEditorAccessible::CEditorAccessible(QTextEdit* editor) : QAccessibleWidget(editor, QAccessible::EditableText) {}

QTextEdit* CEditorAccessible::Editor() const
{
    return static_cast<QTextEdit*>(widget());
}

TSpokenText CEditorAccessible::Spoken() const
{
    return SpokenText(*Editor());
}

QAccessible::State CEditorAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.multiLine = true;
    state.selectableText = true;
    state.readOnly = Editor()->isReadOnly();
    state.editable = !state.readOnly;
    return state;
}

QString CEditorAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Value) return Spoken().text;
    return QAccessibleWidget::text(t);
}

void* CEditorAccessible::interface_cast(QAccessible::InterfaceType t)
{
    if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    if (t == QAccessible::EditableTextInterface && !Editor()->isReadOnly())
        return static_cast<QAccessibleEditableTextInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
}

// ---- selection and caret ------------------------------------------------------

void CEditorAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const
{
    *startOffset = *endOffset = 0;
    const QTextCursor cursor = Editor()->textCursor();
    if (selectionIndex != 0 || !cursor.hasSelection()) return;
    const TSpokenText spoken = Spoken();
    *startOffset = spoken.OffsetOf(cursor.selectionStart());
    *endOffset = spoken.OffsetOf(cursor.selectionEnd());
}

int CEditorAccessible::selectionCount() const
{
    return Editor()->textCursor().hasSelection() ? 1 : 0;
}

void CEditorAccessible::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset);
}

void CEditorAccessible::removeSelection(int selectionIndex)
{
    if (selectionIndex != 0) return;
    QTextCursor cursor = Editor()->textCursor();
    cursor.clearSelection();
    Editor()->setTextCursor(cursor);
}

void CEditorAccessible::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex != 0) return;
    const TSpokenText spoken = Spoken();
    QTextCursor cursor = Editor()->textCursor();
    cursor.setPosition(spoken.PositionAt(startOffset));
    // An end inside a picture's words takes the whole picture.
    const int end = spoken.PositionAt(endOffset);
    cursor.setPosition(spoken.OffsetOf(end) < endOffset ? end + 1 : end, QTextCursor::KeepAnchor);
    Editor()->setTextCursor(cursor);
}

int CEditorAccessible::cursorPosition() const
{
    return Spoken().OffsetOf(Editor()->textCursor().position());
}

void CEditorAccessible::setCursorPosition(int position)
{
    QTextCursor cursor = Editor()->textCursor();
    cursor.setPosition(Spoken().PositionAt(position));
    Editor()->setTextCursor(cursor);
}

// ---- text ------------------------------------------------------------------------

QString CEditorAccessible::text(int startOffset, int endOffset) const
{
    const QString spoken = Spoken().text;
    if (startOffset < 0 || endOffset > spoken.size() || startOffset > endOffset) return QString();
    return spoken.mid(startOffset, endOffset - startOffset);
}

int CEditorAccessible::characterCount() const
{
    return static_cast<int>(Spoken().text.size());
}

// Lines are the lines as laid out, as a reader moving up and down meets them;
// other boundaries are found in the spoken text itself.
QString CEditorAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                                        int* endOffset) const
{
    if (boundaryType != QAccessible::LineBoundary)
        return QAccessibleTextInterface::textAtOffset(offset, boundaryType, startOffset, endOffset);
    const TSpokenText spoken = Spoken();
    const int position = spoken.PositionAt(offset);
    const QTextBlock block = Editor()->document()->findBlock(position);
    int first = block.position(), last = block.position() + block.length() - 1;
    if (const QTextLayout* layout = block.layout(); layout && layout->lineCount() > 0) {
        const QTextLine line = layout->lineForTextPosition(position - block.position());
        if (line.isValid()) {
            first = block.position() + line.textStart();
            last = std::min(first + line.textLength(), block.position() + block.length() - 1);
        }
    }
    *startOffset = spoken.OffsetOf(first);
    *endOffset = spoken.OffsetOf(last);
    return spoken.text.mid(*startOffset, *endOffset - *startOffset);
}

QRect CEditorAccessible::characterRect(int offset) const
{
    const int position = Spoken().PositionAt(offset);
    QTextCursor cursor = Editor()->textCursor();
    cursor.setPosition(position);
    QRect rect = Editor()->cursorRect(cursor);
    cursor.movePosition(QTextCursor::NextCharacter);
    const QRect next = Editor()->cursorRect(cursor);
    if (next.top() == rect.top() && next.left() > rect.left()) rect.setRight(next.left() - 1);
    return QRect(Editor()->viewport()->mapToGlobal(rect.topLeft()), rect.size());
}

int CEditorAccessible::offsetAtPoint(const QPoint& point) const
{
    const QPoint local = Editor()->viewport()->mapFromGlobal(point);
    if (!Editor()->viewport()->rect().contains(local)) return -1;
    return Spoken().OffsetOf(Editor()->cursorForPosition(local).position());
}

void CEditorAccessible::scrollToSubstring(int startIndex, int)
{
    QTextCursor cursor = Editor()->textCursor();
    cursor.setPosition(Spoken().PositionAt(startIndex));
    const QRect rect = Editor()->cursorRect(cursor);
    QScrollBar* bar = Editor()->verticalScrollBar();
    if (rect.top() < 0 || rect.bottom() > Editor()->viewport()->height())
        bar->setValue(bar->value() + rect.top() - Editor()->viewport()->height() / 2);
}

QString CEditorAccessible::attributes(int offset, int* startOffset, int* endOffset) const
{
    // No attributes are reported; the run is the whole text.
    *startOffset = 0;
    *endOffset = std::max(characterCount(), offset);
    return QString();
}

// ---- editing -------------------------------------------------------------------------

void CEditorAccessible::deleteText(int startOffset, int endOffset)
{
    replaceText(startOffset, endOffset, QString());
}

void CEditorAccessible::insertText(int offset, const QString& text)
{
    replaceText(offset, offset, text);
}

void CEditorAccessible::replaceText(int startOffset, int endOffset, const QString& text)
{
    setSelection(0, startOffset, endOffset);
    QTextCursor cursor = Editor()->textCursor();
    cursor.insertText(text);
    Editor()->setTextCursor(cursor);
}

} // namespace tarvolan
