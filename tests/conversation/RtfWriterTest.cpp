// The RTF writer for readers that know no Unicode escapes: the fallback after
// each \uN and font names in GBK, read back by unrtf (the saved conversation
// window is read back in ChatDialogTest).
#include "conversation/RtfWriter.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "UnrtfReader.h"

using namespace tarvolan;

namespace {

const QString kSongTi = QString::fromUtf8("宋体");
const QString kEmoji = QString::fromUtf8("\xF0\x9F\x98\x80");

QByteArray RtfOf(const std::vector<std::pair<QString, QString>>& runs)
{
    QTextDocument document;
    QTextCursor cursor(&document);
    for (const auto& [family, text] : runs) {
        QTextCharFormat format;
        format.setFontFamilies({family});
        cursor.insertText(text, format);
    }
    return DocumentToRtf(document, {});
}

TEST(RtfWriterTest, FallbackAndFontNamesAreHexBytes)
{
    const QByteArray rtf = RtfOf({{kSongTi, QString::fromUtf8("你") + kEmoji + "after"},
                                  {"Font" + kEmoji + "{x}", "b"}});
    EXPECT_TRUE(rtf.contains("\\u20320\\'3f\\u-10179\\'3f\\u-8704\\'3fafter"));
    EXPECT_FALSE(rtf.contains('?'));
    // Font names in GBK, the charset of the table as before.
    EXPECT_TRUE(rtf.contains("\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}"));
    EXPECT_TRUE(rtf.contains("\\fcharset134 Font\\'3f\\{x\\};}"));
}

// What other readers take for the end of a font name or for a control word,
// and a character that a byte-order-mark check would take away.
TEST(RtfWriterTest, FontNameSeparatorsAndTheByteOrderMarkSurvive)
{
    struct TCase {
        QString face, text;
        QByteArray expected;
    };
    const TCase cases[] = {
        {"a;b", "x", "\\fcharset134 a\\'3bb;}"},
        {"a\tb", "x", "\\fcharset134 a\\'09b;}"},
        {"Arial", QString::fromUtf8("a\uFEFFb"), " a\\u-257\\'3fb\\par"},
    };
    for (const TCase& c : cases) {
        const QByteArray rtf = RtfOf({{c.face, c.text}});
        EXPECT_TRUE(rtf.contains(c.expected)) << c.expected.toStdString() << " in\n" << rtf.toStdString();
    }
}

// A font name has no control words: a character without an ASCII form goes
// in GBK, and without a GBK form it is one \'3f, whatever its plane. In the
// text a line separator stays a line break.
TEST(RtfWriterTest, FontNameCharactersWithoutGbkFormAreOneMarkEach)
{
    struct TCase {
        QString face, text;
        QByteArray expected;
    };
    const QByteArray mark = "\\fcharset134 a\\'3fb;}";
    const TCase cases[] = {
        {QString::fromUtf8("a\u2028b"), "x", mark},
        {QString::fromUtf8("a\u2029b"), "x", mark},
        {QString::fromUtf8("a\u0085b"), "x", mark},
        {QString::fromUtf8("a\U000E0001b"), "x", mark},
        {QString::fromUtf8("a\U000E0041b"), "x", mark},
        {QString::fromUtf8("a\U000E007Fb"), "x", mark},
        {QString::fromUtf8("a\U0010FFFFb"), "x", mark},
        {QString::fromUtf8("\U0001F3F4\U000E0067\U000E0062\U000E0065\U000E006E\U000E0067\U000E007F"), "x",
         "\\fcharset134 \\'3f\\'3f\\'3f\\'3f\\'3f\\'3f\\'3f;}"},
        {"Arial", QString::fromUtf8("a\u2028b"), " a\\line b\\par"},
    };
    for (const TCase& c : cases) {
        const QByteArray rtf = RtfOf({{c.face, c.text}});
        EXPECT_TRUE(rtf.contains(c.expected)) << c.expected.toStdString() << " in\n" << rtf.toStdString();
    }
}

// The RTF written to a file and read back by unrtf.
QByteArray UnrtfHtmlOf(const QByteArray& rtf)
{
    QTemporaryDir dir;
    QFile file(dir.filePath("talk.rtf"));
    if (!file.open(QIODevice::WriteOnly) || file.write(rtf) != rtf.size()) {
        ADD_FAILURE() << "cannot write " << file.fileName().toStdString();
        return {};
    }
    file.close();
    return conversation_test::UnrtfHtml(file.fileName(), dir.path());
}

// unrtf skips the word that follows \uN, so a plain '?' fallback took the
// text behind it along. In the font table it reads only plain words: a name
// escaped in any way shows as empty there, a name written as \uN? showed as
// its fallback marks.
TEST(RtfWriterTest, UnrtfKeepsTextAfterUnicodeEscapesAndReadsTheFontTable)
{
    const QByteArray html = UnrtfHtmlOf(RtfOf({{"Arial", "one " + kEmoji + "two"},
                                             {kSongTi, QString::fromUtf8("你好") + "three"},
                                             {"Arial", "four"}}));
    if (::testing::Test::HasFailure()) return;
    SCOPED_TRACE(html.toStdString());
    EXPECT_TRUE(html.contains("one &#55357;&#56832;two"));
    EXPECT_TRUE(html.contains("&#20320;&#22909;three"));
    EXPECT_TRUE(html.contains("four"));
    EXPECT_TRUE(html.contains("font table contains 3 fonts total"));
    EXPECT_TRUE(html.contains("<font face=\"Arial\">"));
    EXPECT_FALSE(html.contains("face=\"?"));
}

} // namespace
