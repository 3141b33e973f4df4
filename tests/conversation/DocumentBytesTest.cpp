// The byte view of an editor's document, without an editor: GBK bytes,
// line breaks and picture placeholders, positions inside characters, and
// selections as byte ranges.
#include "conversation/DocumentBytes.h"
#include "conversation/EditorPictures.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace tarvolan;

namespace {

class DocumentBytesTest : public ::testing::Test {
protected:
    // "中a", picture 3, a paragraph break, "b", a line separator, "c":
    // positions 0..6, bytes 0..9.
    void SetUp() override
    {
        QTextCursor cursor(&m_document);
        cursor.insertText(QString::fromUtf8("中a"));
        InsertPicture(cursor, "emoticon:3");
        cursor.insertText(QString("\nb") + QChar(QChar::LineSeparator) + "c");
    }
    static void InsertPicture(QTextCursor& cursor, const char* name)
    {
        QTextImageFormat image;
        image.setName(name);
        cursor.insertImage(image);
    }
    TByteRange SelectAndRead(int start, int end)
    {
        const CDocumentBytes bytes(m_document);
        QTextCursor cursor(&m_document);
        bytes.Select(cursor, start, end);
        return bytes.SelectionOf(cursor);
    }

    QTextDocument m_document;
};

TEST_F(DocumentBytesTest, TextHasGbkBytesLineBreaksAndOnePlaceholderPerPicture)
{
    const CDocumentBytes bytes(m_document);
    EXPECT_EQ(bytes.Text(), Utf8ToGbk("中a") + CString(" \r\nb\r\nc"));
    const int expected[] = {0, 2, 3, 4, 6, 7, 9, 10};
    for (int pos = 0; pos < 8; ++pos) EXPECT_EQ(bytes.ByteOf(pos), expected[pos]) << pos;
    EXPECT_EQ(bytes.ByteOf(100), 10);
    EXPECT_EQ(bytes.PictureMap(&CEditorPictures::IndexOf).str(), "EEE\x04" "EEEEEE");

    // A picture of no emoticon still takes one byte, marked 0x7F.
    QTextCursor cursor(&m_document);
    InsertPicture(cursor, "other.png");
    const CDocumentBytes more(m_document);
    EXPECT_EQ(more.Length(), 11);
    EXPECT_EQ(more.PictureMap(&CEditorPictures::IndexOf).str(), "\x7F" "EEE\x04" "EEEEEE");
}

TEST_F(DocumentBytesTest, BytesInsideACharacterOrALineBreakRoundToItsEdges)
{
    const CDocumentBytes bytes(m_document);
    EXPECT_EQ(bytes.PositionOf(1, false), 0);  // inside 中
    EXPECT_EQ(bytes.PositionOf(1, true), 1);
    EXPECT_EQ(bytes.PositionOf(5, false), 3);  // between CR and LF
    EXPECT_EQ(bytes.PositionOf(5, true), 4);
    EXPECT_EQ(bytes.PositionOf(-3, false), 0);
    EXPECT_EQ(bytes.PositionOf(99, false), 7);

    const TByteRange change = bytes.BytesOf(1, 4);  // "a", the picture, the break
    EXPECT_EQ(change.start, 2);
    EXPECT_EQ(change.end, 6);
    const TByteRange backwards = bytes.BytesOf(5, 2);
    EXPECT_EQ(backwards.end - backwards.start, 0);
    const TByteRange outside = bytes.BytesOf(-5, 100);
    EXPECT_EQ(outside.start, 0);
    EXPECT_EQ(outside.end, 10);
}

TEST_F(DocumentBytesTest, SelectionsWidenToWholeCharactersAndStayInTheText)
{
    TByteRange range = SelectAndRead(1, 3);
    EXPECT_EQ(range.start, 0);
    EXPECT_EQ(range.end, 3);
    range = SelectAndRead(5, 8);  // from the middle of a line break
    EXPECT_EQ(range.start, 4);
    EXPECT_EQ(range.end, 9);
    range = SelectAndRead(3, 1);  // backwards: the anchor rounds up, the end down
    EXPECT_EQ(range.start, 0);
    EXPECT_EQ(range.end, 3);
    range = SelectAndRead(2, -1);
    EXPECT_EQ(range.end, 10);
    range = SelectAndRead(50, 60);
    EXPECT_EQ(range.start, 10);
    EXPECT_EQ(range.end, 10);
}

TEST(DocumentBytesCodePointTest, CodePointsGbkCannotHoldTakeOneByteEach)
{
    QTextDocument document;
    document.setPlainText(QString::fromUtf8("a\U0001F600b\U0001F600"));  // surrogate pairs
    const CDocumentBytes bytes(document);
    EXPECT_EQ(bytes.Text(), CString("a?b?"));
    EXPECT_EQ(bytes.ByteOf(1), 1);
    EXPECT_EQ(bytes.ByteOf(2), 1);  // the pair's second half: the same character
    EXPECT_EQ(bytes.ByteOf(3), 2);
    EXPECT_EQ(bytes.ByteOf(5), 3);
    EXPECT_EQ(bytes.PositionOf(2, false), 3);
}

// Text pasted from broken UTF-16: a surrogate without its partner is a
// character of its own, one '?', at either end of a run (a line separator
// ends one) and beside characters that iconv would drop.
TEST(DocumentBytesCodePointTest, LoneSurrogatesAreOneCharacterEach)
{
    struct TCase {
        std::u16string text;
        const char* bytes;
        std::vector<int> byteOf;  // for every position, the end included
    };
    const TCase cases[] = {
        {u"\xD800" u"a", "?a", {0, 1, 2}},
        {u"a\xD800", "a?", {0, 1, 2}},
        {u"\xDC00" u"a", "?a", {0, 1, 2}},
        {u"a\xDC00", "a?", {0, 1, 2}},
        {u"\xDC00\xD800", "??", {0, 1, 2}},
        {u"\xD800\xD800" u"a", "??a", {0, 1, 2, 3}},
        {u"a\xD800\u2028\xDC00" u"b", "a?\r\n?b", {0, 1, 2, 4, 5, 6}},
        {u"a\U000E0041" u"b\xDC00", "a?b?", {0, 1, 1, 2, 3, 4}},
        {u"\xD800\U000E0001\U000E007F", "???", {0, 1, 1, 2, 2, 3}},
        {u"\U0010FFFF\xDC00\u0085", "???", {0, 0, 1, 2, 3}},
    };
    for (const TCase& c : cases) {
        QTextDocument document;
        QTextCursor(&document).insertText(QString::fromStdU16String(c.text));
        const CDocumentBytes bytes(document);
        SCOPED_TRACE(&c - cases);
        EXPECT_EQ(bytes.Text(), CString(c.bytes));
        std::vector<int> byteOf;
        for (int pos = 0; pos <= static_cast<int>(c.text.size()); ++pos) byteOf.push_back(bytes.ByteOf(pos));
        EXPECT_EQ(byteOf, c.byteOf);
    }
}

} // namespace
