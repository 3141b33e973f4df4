#include "conversation/DocumentBytes.h"

#include <algorithm>

#include <QTextCursor>

#include "common/TextFunctions.h"
#include "platform/Window.h"

namespace tarvolan {

namespace {

// Code units of the code point that starts at k: 2 for a surrogate pair, 1
// for anything else, a surrogate without its partner included (text pasted
// from broken UTF-16), which is a character of its own.
int CodeUnitsAt(const QString& text, int k)
{
    return (text[k].isHighSurrogate() && k + 1 < text.size() && text[k + 1].isLowSurrogate()) ? 2 : 1;
}

int CodePointCount(const QString& text)
{
    int count = 0;
    for (int k = 0; k < text.size(); k += CodeUnitsAt(text, k)) ++count;
    return count;
}

int GbkCharCount(std::string_view bytes)
{
    int count = 0;
    for (size_t b = 0; b < bytes.size(); b += GbkCharLength(bytes, b)) ++count;
    return count;
}

} // namespace

CDocumentBytes::CDocumentBytes(const QTextDocument& document) : m_pDocument(&document)
{
    m_ByteOfPos.assign(static_cast<size_t>(std::max(1, document.characterCount())), 0);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block != document.begin()) {
            MarkPosition(block.position() - 1);
            m_strText += "\r\n";
        }
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat()) {
                AppendText(fragment.text(), fragment.position());
                continue;
            }
            for (int i = 0; i < fragment.length(); ++i) {
                MarkPosition(fragment.position() + i);
                m_strText += kMapPlaceholder;
            }
        }
    }
    m_ByteOfPos.back() = Length();
}

void CDocumentBytes::MarkPosition(int pos)
{
    m_ByteOfPos[static_cast<size_t>(pos)] = Length();
}

void CDocumentBytes::AppendText(const QString& text, int pos)
{
    int i = 0;
    while (i < text.size()) {
        int j = i;
        while (j < text.size() && text[j] != QChar::LineSeparator) ++j;
        if (j > i) AppendRun(text.mid(i, j - i), pos + i);
        if (j < text.size()) {
            MarkPosition(pos + j);
            m_strText += "\r\n";
            ++j;
        }
        i = j;
    }
}

void CDocumentBytes::AppendRun(const QString& run, int pos)
{
    const CString gbk = FromQt(run);
    const std::string_view bytes = gbk.view();
    if (GbkCharCount(bytes) != CodePointCount(run)) {
        AppendRunByCodePoint(run, pos);
        return;
    }
    // One GBK character for every code point: walk both together.
    const int base = Length();
    size_t b = 0;
    for (int k = 0; k < run.size(); k += CodeUnitsAt(run, k)) {
        for (int unit = 0; unit < CodeUnitsAt(run, k); ++unit)
            m_ByteOfPos[static_cast<size_t>(pos + k + unit)] = base + static_cast<int>(b);
        b += GbkCharLength(bytes, b);
    }
    m_strText += gbk;
}

void CDocumentBytes::AppendRunByCodePoint(const QString& run, int pos)
{
    for (int k = 0; k < run.size();) {
        const int units = CodeUnitsAt(run, k);
        for (int unit = 0; unit < units; ++unit) MarkPosition(pos + k + unit);
        const CString one = FromQt(run.mid(k, units));
        const std::string_view v = one.view();
        if (!v.empty() && GbkCharLength(v, 0) == v.size())
            m_strText += one;
        else
            m_strText += '?';
        k += units;
    }
}

int CDocumentBytes::ByteOf(int position) const
{
    const int last = static_cast<int>(m_ByteOfPos.size()) - 1;
    return m_ByteOfPos[static_cast<size_t>(std::clamp(position, 0, last))];
}

TByteRange CDocumentBytes::BytesOf(int from, int to) const
{
    const int last = static_cast<int>(m_ByteOfPos.size()) - 1;
    from = std::clamp(from, 0, last);
    return {ByteOf(from), ByteOf(std::clamp(to, from, last))};
}

int CDocumentBytes::PositionOf(int byte, bool roundUp) const
{
    byte = std::clamp(byte, 0, m_ByteOfPos.back());
    const auto it = std::lower_bound(m_ByteOfPos.begin(), m_ByteOfPos.end(), byte);
    const int pos = static_cast<int>(it - m_ByteOfPos.begin());
    if (*it == byte) return pos;
    return roundUp ? pos : pos - 1;  // inside the character that starts at pos - 1
}

TByteRange CDocumentBytes::SelectionOf(const QTextCursor& cursor) const
{
    return {ByteOf(cursor.selectionStart()), ByteOf(cursor.selectionEnd())};
}

void CDocumentBytes::Select(QTextCursor& cursor, int start, int end) const
{
    if (end < 0 || end > Length()) end = Length();
    start = std::min(start, Length());
    cursor.setPosition(PositionOf(start, start > end));
    cursor.setPosition(PositionOf(end, end >= start), QTextCursor::KeepAnchor);
}

CString CDocumentBytes::PictureMap(TPictureIndex pictureIndex) const
{
    std::string map(static_cast<size_t>(Length()), kMapTextByte);
    ForEachFragment(*m_pDocument, [&](const QTextFragment& fragment) {
        if (!fragment.charFormat().isImageFormat()) return;
        const int index = pictureIndex(fragment.charFormat());
        const char mark = static_cast<char>(index >= 0 ? index + 1 : 0x7F);
        for (int i = 0; i < fragment.length(); ++i) map[static_cast<size_t>(ByteOf(fragment.position() + i))] = mark;
    });
    return CString(std::move(map));
}

} // namespace tarvolan
