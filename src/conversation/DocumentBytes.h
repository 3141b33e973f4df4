// CDocumentBytes: a rich editor's document as the byte-position interface
// sees it. Its window text is the document's text in GBK with "\r\n"
// between paragraphs and for every line separator, and exactly one
// placeholder byte (kMapPlaceholder) for each embedded picture; every
// document position maps to the byte where its character starts. The view
// is taken once and does not follow later changes of the document.
#pragma once

#include <vector>

#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextBlock>

#include "common/GbkString.h"
#include "conversation/ChatText.h"

class QTextCursor;

namespace tarvolan {

// Calls onFragment(const QTextFragment&) for every fragment of the document
// in order.
template <class F>
void ForEachFragment(const QTextDocument& document, F&& onFragment)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) onFragment(it.fragment());
}

class CDocumentBytes {
public:
    // The emoticon index a picture shows; -1 when it shows none.
    using TPictureIndex = int (*)(const QTextCharFormat& format);

    explicit CDocumentBytes(const QTextDocument& document);

    const CString& Text() const { return m_strText; }
    int Length() const { return m_strText.GetLength(); }
    // Byte where the character at a document position starts; a position
    // past the document gives the length.
    int ByteOf(int position) const;
    // Bytes of the document positions from..to, held to the document.
    TByteRange BytesOf(int from, int to) const;
    // Document position of a byte, held to the text; a byte inside a
    // character gives the character's start, or its end when roundUp.
    int PositionOf(int byte, bool roundUp) const;

    // The selection of a cursor in bytes.
    TByteRange SelectionOf(const QTextCursor& cursor) const;
    // Selects bytes start..end (end -1 or past the text: to its end).
    // Positions are held to the text; one inside a character moves to its
    // start (start) or its end (end), whichever widens the selection.
    void Select(QTextCursor& cursor, int start, int end) const;

    // For every byte of the window text: 'E' for text, index + 1 for a
    // picture of that emoticon index, 0x7F for a picture of no emoticon.
    CString PictureMap(TPictureIndex pictureIndex) const;

private:
    // Appends the bytes of a fragment's text that starts at document
    // position pos: line separators are line breaks too.
    void AppendText(const QString& text, int pos);
    // Appends a run of text without line separators.
    void AppendRun(const QString& run, int pos);
    // Converts code point by code point, where the run's GBK text does not
    // have one character per code point: anything else becomes '?'.
    void AppendRunByCodePoint(const QString& run, int pos);
    void MarkPosition(int pos);

    const QTextDocument* m_pDocument;
    CString m_strText;
    std::vector<int> m_ByteOfPos;  // document position -> byte of the text
};

} // namespace tarvolan
