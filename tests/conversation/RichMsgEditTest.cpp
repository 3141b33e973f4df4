// The rich editor: byte positions over GBK, appending with emoticons,
// pictures, the context menu's enabling rules and saving.
#include "conversation/BitmapFile.h"
#include "conversation/EditorFiles.h"
#include "conversation/EmoticonMovies.h"
#include "conversation/RichMsgEdit.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <QMovie>
#include <QTextBlock>
#include <QTextDocument>

#include <string>
#include <vector>

#include "ConversationTestSupport.h"

using namespace tarvolan;

using namespace conversation_test;

namespace {

class RichMsgEditTest : public ConversationTest {
protected:
    // The menu entries as the scripted driver saw them ("101,~102,...").
    std::string MenuOf(CRichMsgEdit& edit)
    {
        m_driver.ClearPrompts();
        edit.ShowContextMenu(QPoint());
        return m_driver.Prompts().back().text.str();
    }
    static bool Offers(const std::string& menu, int id, bool enabled)
    {
        const std::string wanted = (enabled ? "" : "~") + std::to_string(id);
        size_t start = 0;
        while (start <= menu.size()) {
            size_t end = menu.find(',', start);
            if (end == std::string::npos) end = menu.size();
            if (menu.substr(start, end - start) == wanted) return true;
            start = end + 1;
        }
        return false;
    }

    CRichMsgEdit m_edit;
};

TEST_F(RichMsgEditTest, ByteApiCountsGbkBytesAndOnePlaceholderPerPicture)
{
    m_edit.ReplaceSel(Gbk("中文ab"));
    EXPECT_EQ(m_edit.GetWindowTextLength(), 6);
    ASSERT_TRUE(m_edit.InsertEmoticon(3));
    m_edit.ReplaceSel("c\r\nd");
    EXPECT_EQ(m_edit.GetWindowText(), Gbk("中文ab") + CString(" c\r\nd"));
    EXPECT_EQ(m_edit.GetPictureMap().str(), std::string("EEEEEE\x04" "EEEE"));

    int start = 0, end = 0;
    m_edit.SetSel(2, 4);  // the second character
    m_edit.GetSel(start, end);
    EXPECT_EQ(start, 2);
    EXPECT_EQ(end, 4);
    m_edit.SetSel(1, 3);  // inside characters: widened to whole ones
    m_edit.GetSel(start, end);
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, 4);
    m_edit.SetSel(9, 10);  // between CR and LF: the line break as a whole
    m_edit.GetSel(start, end);
    EXPECT_EQ(start, 8);
    EXPECT_EQ(end, 10);
    m_edit.SetSel(5, -1);
    m_edit.GetSel(start, end);
    EXPECT_EQ(end, 11);
    m_edit.SetSel(-1, 0);
    m_edit.GetSel(start, end);
    EXPECT_EQ(start, end);
    m_edit.SetSel(100, 200);  // clamped to the text
    m_edit.GetSel(start, end);
    EXPECT_EQ(start, 11);
    EXPECT_EQ(end, 11);
}

TEST_F(RichMsgEditTest, TextThatGbkCannotHoldCountsOneByteACharacter)
{
    m_edit.setPlainText(QString::fromUtf8("a\u2603b\U0001F600c"));  // snowman is in GBK? emoji is not
    const CString text = m_edit.GetWindowText();
    m_edit.SetSel(0, -1);
    int start = 0, end = 0;
    m_edit.GetSel(start, end);
    EXPECT_EQ(end, text.GetLength());
    EXPECT_EQ(text.Right(2), CString("?c"));
}

TEST_F(RichMsgEditTest, AppendShowsCodesAsPicturesAndKeepsPercentSigns)
{
    CRichMsgEdit::AppendMessageText(&m_edit, nullptr, 0, "%s", "100% sure %d :) and :d$CRLFnext");
    EXPECT_EQ(m_edit.GetWindowText(), CString("100% sure %d   and  \r\nnext"));
    EXPECT_EQ(m_edit.PictureCount(), 2);
    // A received ":d" shows picture 1, as ":D" does.
    EXPECT_EQ(m_edit.LastEmoticon(), 1);
    const CString map = m_edit.GetPictureMap();
    EXPECT_EQ(map[13], char(1));
    EXPECT_EQ(map[19], char(2));
    EXPECT_TRUE(m_edit.IsTimerRunning(CRichMsgEdit::kPictureTimer));
    EXPECT_EQ(m_edit.TimerPeriod(CRichMsgEdit::kPictureTimer), 100);
}

// A screen reader reads each picture by its meaning, never as the object
// character, and its offsets land on the editor's own positions.
TEST_F(RichMsgEditTest, AccessibleTextGivesEachPictureItsMeaning)
{
    CRichMsgEdit::AppendMessageText(&m_edit, nullptr, 0, "%s", "hi :) ok$CRLF:D");
    QAccessibleInterface* node = QAccessible::queryAccessibleInterface(&m_edit);
    ASSERT_NE(node, nullptr);
    QAccessibleTextInterface* text = node->textInterface();
    ASSERT_NE(text, nullptr);
    const QString spoken = QStringLiteral("hi 微笑 ok\n露齿笑");
    EXPECT_EQ(text->text(0, text->characterCount()), spoken);
    EXPECT_EQ(node->text(QAccessible::Value), spoken);
    int start = 0, end = 0;
    EXPECT_EQ(text->textAtOffset(4, QAccessible::LineBoundary, &start, &end), QStringLiteral("hi 微笑 ok"));
    // Selecting the words selects the picture; the caret behind it is behind the words.
    text->setSelection(0, 3, 5);
    EXPECT_TRUE(m_edit.IsSelectionOnePicture());
    text->selection(0, &start, &end);
    EXPECT_EQ(std::make_pair(start, end), std::make_pair(3, 5));
    m_edit.SetSel(4, 4);  // bytes: "hi " and the picture
    EXPECT_EQ(text->cursorPosition(), 5);
}

TEST_F(RichMsgEditTest, EmoticonSwitchOffKeepsCodesAsText)
{
    clientkit::SetUserSettings(0, "me");
    CRichMsgEdit::AppendMessageText(&m_edit, nullptr, 0, "%s", "a:)b(L)");
    EXPECT_EQ(m_edit.GetWindowText(), CString("a:)b(L)"));
    EXPECT_EQ(m_edit.PictureCount(), 0);
    EXPECT_FALSE(m_edit.IsTimerRunning(CRichMsgEdit::kPictureTimer));
}

TEST_F(RichMsgEditTest, LongTextIsCutToTheBufferNeverInsideACharacter)
{
    CRichMsgEdit::AppendMessageText(&m_edit, nullptr, 0, "%s", std::string(30000, 'a').c_str());
    EXPECT_EQ(m_edit.GetWindowTextLength(), CRichMsgEdit::kMessageBufferSize);

    CRichMsgEdit other;
    std::string gbk = "a";
    while (gbk.size() < 20500) gbk += Gbk("中").str();
    CRichMsgEdit::AppendMessageText(&other, nullptr, 0, "%s", gbk.c_str());
    EXPECT_EQ(other.GetWindowTextLength(), 20479);  // "a" and whole characters
}

TEST_F(RichMsgEditTest, AppendedFormatDoesNotCarryOnIntoTyping)
{
    TCharFormat bold;
    bold.dwMask = CFM_ALL;
    bold.dwEffects = CFE_BOLD;
    bold.yHeight = 240;
    bold.crTextColor = RGBColor(255, 0, 0);
    std::strcpy(bold.szFaceName, "Arial");
    m_edit.AppendFormatted(&bold, "Hello");
    QTextCursor probe(m_edit.document());
    probe.setPosition(3);
    EXPECT_EQ(probe.charFormat().fontWeight(), QFont::Bold);
    EXPECT_DOUBLE_EQ(probe.charFormat().fontPointSize(), 12.0);
    EXPECT_EQ(probe.charFormat().foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(probe.charFormat().fontFamilies().toStringList().value(0), QString("Arial"));
    EXPECT_NE(m_edit.currentCharFormat().fontWeight(), QFont::Bold);

    // Heights that are not positive keep the editor's size; huge ones are held.
    TCharFormat odd;
    odd.dwMask = CFM_SIZE;
    odd.yHeight = 0;
    EXPECT_FALSE(ToQtCharFormat(odd).hasProperty(QTextFormat::FontPointSize));
    odd.yHeight = 2000000000;
    EXPECT_DOUBLE_EQ(ToQtCharFormat(odd).fontPointSize(), 72.0);
}

TEST_F(RichMsgEditTest, OneAnimationPerPictureFileSharedByEditorsAndOccurrences)
{
    const int before = CEmoticonMovies::Instance().Count();
    CRichMsgEdit other;
    CRichMsgEdit::AppendMessageText(&m_edit, nullptr, 0, "%s", ":) :) :) (L)");
    CRichMsgEdit::AppendMessageText(&other, nullptr, 0, "%s", ":)");
    EXPECT_EQ(CEmoticonMovies::Instance().Count(), before + 2);

    const QUrl url("emoticon:0");
    const QImage first = m_edit.document()->resource(QTextDocument::ImageResource, url).value<QPixmap>().toImage();
    ASSERT_FALSE(first.isNull());
    EXPECT_EQ(first.size(), QSize(22, 22));
    m_edit.AdvancePictures();
    const QImage second = m_edit.document()->resource(QTextDocument::ImageResource, url).value<QPixmap>().toImage();
    EXPECT_NE(first, second);  // picture 0 has two frames
    const QImage inOther = other.document()->resource(QTextDocument::ImageResource, url).value<QPixmap>().toImage();
    EXPECT_EQ(second, inOther);
}

TEST_F(RichMsgEditTest, EveryPictureFileAnimatesAndEveryPickerBitmapLoads)
{
    for (int i = 0; i < 40; ++i) {
        QMovie movie(ToQt(m_edit.PicturePath(i)));
        ASSERT_TRUE(movie.isValid()) << i;
        EXPECT_GE(movie.frameCount(), 2) << i;
        EXPECT_LE(movie.frameCount(), 4) << i;
        const QImage bitmap(QString(TARVOLAN_SOURCE_DIR "/assets/emote/bmp/%1.bmp").arg(i));
        EXPECT_EQ(bitmap.size(), QSize(22, 22)) << i;
    }
    EXPECT_FALSE(m_edit.InsertEmoticon(40));
    EXPECT_FALSE(m_edit.InsertEmoticon(-1));
    EXPECT_EQ(m_edit.GetWindowTextLength(), 0);
}

TEST_F(RichMsgEditTest, ContextMenuEnablesEntriesByTheSelection)
{
    m_edit.ReplaceSel("ab");
    m_edit.InsertEmoticon(5);
    std::string menu = MenuOf(m_edit);
    EXPECT_TRUE(Offers(menu, 101, true));
    EXPECT_TRUE(Offers(menu, 103, false));
    EXPECT_TRUE(Offers(menu, 102, false));
    EXPECT_TRUE(Offers(menu, 105, false));
    EXPECT_TRUE(Offers(menu, 106, false));
    EXPECT_FALSE(Offers(menu, 110, true) || Offers(menu, 110, false));

    m_edit.SetSel(0, 2);  // text only
    menu = MenuOf(m_edit);
    EXPECT_TRUE(Offers(menu, 103, true));
    EXPECT_TRUE(Offers(menu, 102, true));
    EXPECT_TRUE(Offers(menu, 106, false));
    m_edit.SetSel(1, 3);  // text and the picture
    EXPECT_TRUE(Offers(MenuOf(m_edit), 106, false));
    m_edit.SetSel(2, 3);  // exactly the picture
    EXPECT_TRUE(Offers(MenuOf(m_edit), 106, true));

    m_edit.SetReadOnly(true);
    m_edit.SetTransferSwitch(true);
    menu = MenuOf(m_edit);
    EXPECT_TRUE(Offers(menu, 101, false));
    EXPECT_TRUE(Offers(menu, 102, false));
    EXPECT_TRUE(Offers(menu, 105, false));
    EXPECT_TRUE(Offers(menu, 103, true));
    EXPECT_TRUE(Offers(menu, 110, true));
    EXPECT_TRUE(Offers(menu, 111, true));

    // A chosen entry is carried out.
    m_edit.SetSel(0, -1);
    m_driver.PushMenuChoice(CRichMsgEdit::ID_SELECT_ALL);
    m_edit.SetSel(0, 0);
    m_edit.ShowContextMenu(QPoint());
    int start = 0, end = 0;
    m_edit.GetSel(start, end);
    EXPECT_EQ(end - start, 3);
}

TEST_F(RichMsgEditTest, BitmapFileHeadersByteByByte)
{
    QImage image(3, 2, QImage::Format_ARGB32);
    image.fill(qRgb(0x10, 0x20, 0x30));
    image.setPixel(0, 1, qRgba(0, 0, 0, 0));  // transparent: white on the editor
    const QByteArray bytes = BitmapFileBytes(image);
    // S = H * 4 * floor((W * 32 + 31) / 32) = 2 * 4 * 3 = 24; one plane: 4 table bytes.
    ASSERT_EQ(bytes.size(), 54 + 4 + 24);
    const unsigned char expected[58] = {
        'B', 'M', 82, 0, 0, 0, 0, 0, 0, 0, 58, 0, 0, 0,        // file header
        40, 0, 0, 0, 3, 0, 0, 0, 2, 0, 0, 0, 1, 0, 32, 0,      // size, W, H, planes, bits
        0, 0, 0, 0, 24, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,        // compression, image size, ...
        0, 0, 0, 0, 0, 0, 0, 0,                                 // ... the other fields
        0, 0, 0, 0,                                             // colour table
    };
    for (int i = 0; i < 58; ++i) EXPECT_EQ(static_cast<unsigned char>(bytes[i]), expected[i]) << "byte " << i;
    // Bottom row first: pixel (0, 1) is white, then blue-green-red order.
    EXPECT_EQ(bytes.mid(58, 4), QByteArray("\xff\xff\xff\x00", 4));
    EXPECT_EQ(bytes.mid(62, 4), QByteArray("\x30\x20\x10\x00", 4));
}

TEST_F(RichMsgEditTest, SavingTheSelectedPictureWritesItsBitmap)
{
    m_edit.ReplaceSel("x");
    m_edit.InsertEmoticon(23);
    m_edit.SetSel(1, 2);
    const CString path = TempPath("heart");
    m_driver.PushFileName(path);
    m_edit.OnCommand(CRichMsgEdit::ID_SAVE_PICTURE, 0);
    const QByteArray file = ReadFile(path + ".bmp");
    ASSERT_EQ(file.size(), 54 + 4 + 22 * 22 * 4);
    EXPECT_TRUE(Messages().empty());
    const QImage saved = QImage::fromData(file, "BMP");
    EXPECT_EQ(saved.size(), QSize(22, 22));

    // Text selected: the failure message, and no file.
    m_edit.SetSel(0, 1);
    m_driver.PushFileName(TempPath("text.bmp"));
    m_edit.OnCommand(CRichMsgEdit::ID_SAVE_PICTURE, 0);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0], "保存失败，请选择正确的图片内容！");
    EXPECT_TRUE(ReadFile(TempPath("text.bmp")).isEmpty());

    // A file that cannot be written.
    m_edit.SetSel(1, 2);
    m_driver.PushFileName(TempPath("missing/folder/x.bmp"));
    m_edit.OnCommand(CRichMsgEdit::ID_SAVE_PICTURE, 0);
    ASSERT_EQ(Messages().size(), 2u);
    EXPECT_EQ(Messages()[1], "保存失败，目标文件文件可能正在使用中！");
}

TEST_F(RichMsgEditTest, SaveAllWritesTextOrRtf)
{
    TCharFormat bold;
    bold.dwMask = CFM_ALL;
    bold.dwEffects = CFE_BOLD | CFE_UNDERLINE;
    bold.yHeight = 240;
    bold.crTextColor = RGBColor(0, 0, 255);
    std::strcpy(bold.szFaceName, "Arial");
    CRichMsgEdit::AppendMessageText(&m_edit, &bold, 0, "%s", Gbk("你好 {x}\\ :)$CRLF").c_str());
    CRichMsgEdit::AppendMessageText(&m_edit, nullptr, 0, "%s", "plain");

    const CString txt = TempPath("talk.TXT");
    m_driver.PushFileName(txt);
    m_edit.OnCommand(CRichMsgEdit::ID_SAVE_ALL, 0);
    EXPECT_EQ(ReadFile(txt), QByteArray((Gbk("你好 {x}\\  \r\nplain") + "\n").c_str()));

    const CString rtf = TempPath("talk");
    m_driver.PushFileName(rtf);
    m_edit.OnCommand(CRichMsgEdit::ID_SAVE_ALL, 0);
    const QByteArray out = ReadFile(rtf + ".RTF");
    EXPECT_TRUE(out.startsWith("{\\rtf1"));
    EXPECT_TRUE(out.trimmed().endsWith("}"));
    EXPECT_TRUE(out.contains("\\u20320\\'3f\\u22909\\'3f \\{x\\}\\\\ "));
    EXPECT_TRUE(out.contains("\\b\\ul "));
    EXPECT_TRUE(out.contains("\\fs24"));
    EXPECT_TRUE(out.contains("Arial;"));
    EXPECT_TRUE(out.contains("\\red0\\green0\\blue255;"));
    EXPECT_TRUE(out.contains("{\\pict\\pngblip\\picw22\\pich22"));
    EXPECT_TRUE(out.contains("\\par\n"));
    EXPECT_TRUE(out.contains("plain"));

    // Cancelled: nothing written.
    m_edit.OnCommand(CRichMsgEdit::ID_SAVE_ALL, 0);
    EXPECT_EQ(m_driver.Prompts().back().answer, IDCANCEL);
}

TEST_F(RichMsgEditTest, SaveNamesGetTheDefaultExtensionOnlyWhereTheyHaveNone)
{
    m_driver.PushFileName("/home/a.b/talk");  // a dot in a folder's name is no extension
    EXPECT_EQ(AskSaveFileName(&m_edit, "", ".RTF"), CString("/home/a.b/talk.RTF"));
    m_driver.PushFileName("/home/talk.txt");
    EXPECT_EQ(AskSaveFileName(&m_edit, "", ".RTF"), CString("/home/talk.txt"));
    EXPECT_EQ(AskSaveFileName(&m_edit, "", ".RTF"), CString());  // cancelled
}

TEST_F(RichMsgEditTest, CopyingAPictureGivesItsCodeAndItsImage)
{
    m_edit.ReplaceSel("a");
    m_edit.InsertEmoticon(4);
    m_edit.SetSel(0, -1);
    m_edit.copy();
    CRichMsgEdit input;
    input.paste();
    EXPECT_EQ(input.GetWindowText(), CString("a(H)"));
    m_edit.SetSel(1, 2);
    m_edit.copy();
    EXPECT_TRUE(QApplication::clipboard()->mimeData()->hasImage());
    EXPECT_EQ(QApplication::clipboard()->text(), QString("(H)"));
}

TEST_F(RichMsgEditTest, DetectedAddressesBecomeLinks)
{
    m_edit.SetAutoUrlDetect(true);
    CRichMsgEdit::AppendMessageText(&m_edit, nullptr, 0, "%s", "see www.example.com/a?b now");
    EXPECT_EQ(m_edit.GetWindowText(), CString("see www.example.com/a?b now"));
    QTextCursor probe(m_edit.document());
    probe.setPosition(8);
    EXPECT_TRUE(probe.charFormat().isAnchor());
    EXPECT_EQ(probe.charFormat().anchorHref(), QString("http://www.example.com/a?b"));
    probe.setPosition(25);
    EXPECT_FALSE(probe.charFormat().isAnchor());
}

// The properties of a format as text.
std::string PropertiesOf(const QTextFormat& format)
{
    std::string text;
    for (const auto& [key, value] : format.properties().asKeyValueRange())
        text += std::to_string(key) + '=' + value.toString().toStdString() + ';';
    return text;
}

// What a reader of the document sees: its text, every block's format and the
// runs of characters of one format (however the document splits them).
std::vector<std::string> Appearance(const QTextDocument& doc)
{
    std::vector<std::string> seen{doc.toPlainText().toStdString()};
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        seen.push_back("block " + PropertiesOf(block.blockFormat()));
        std::string run;
        int length = 0;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const std::string format = PropertiesOf(it.fragment().charFormat());
            if (format != run) {
                if (length > 0) seen.push_back(std::to_string(length) + ' ' + run);
                run = format;
                length = 0;
            }
            length += it.fragment().length();
        }
        seen.push_back(std::to_string(length) + ' ' + run);
    }
    return seen;
}

TEST_F(RichMsgEditTest, TrimmedOutputKeepsNoFormatsOfTheTextThatWent)
{
    m_edit.SetReadOnly(true);
    m_edit.SetAutoUrlDetect(true);
    TCharFormat bold;
    bold.dwMask = CFM_BOLD;
    bold.dwEffects = CFE_BOLD;
    for (int i = 0; i < 300; ++i) {
        // Every link is a format of its own.
        const std::string text = "see http://example.com/" + std::to_string(i) + " :)\r\n";
        CRichMsgEdit::AppendMessageText(&m_edit, i % 2 ? &bold : nullptr, 0, "%s", text.c_str());
        m_edit.DropOldestText(1200, 1000);
        QApplication::processEvents();
    }
    int links = 0;
    for (QTextBlock block = m_edit.document()->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) links += it.fragment().charFormat().isAnchor() ? 1 : 0;
    EXPECT_GT(links, 10);
    // The formats of the links shown, and a few more (plain, bold, picture, block, frame).
    EXPECT_LE(m_edit.document()->allFormats().size(), links + 8);
    EXPECT_TRUE(m_edit.GetWindowText().str().starts_with("see http://example.com/2"));
    EXPECT_GT(m_edit.PictureCount(), 20);
}

TEST_F(RichMsgEditTest, CompactingTheDocumentChangesNothingThatShows)
{
    m_edit.SetReadOnly(true);
    m_edit.SetAutoUrlDetect(true);
    TCharFormat red;
    red.dwMask = CFM_COLOR | CFM_SIZE;
    red.crTextColor = 0x000000FF;
    red.yHeight = 300;
    for (int i = 0; i < 40; ++i)
        CRichMsgEdit::AppendMessageText(&m_edit, i % 3 ? &red : nullptr, i % 4, "%s",
                                        ("line " + std::to_string(i) + " www.example.com :) (L)\r\n").c_str());
    m_edit.SetSel(10, 30);
    const std::vector<std::string> before = Appearance(*m_edit.document());
    const CString text = m_edit.GetWindowText(), pictures = m_edit.GetPictureMap();

    m_edit.CompactDocument();
    EXPECT_EQ(Appearance(*m_edit.document()), before);
    EXPECT_EQ(m_edit.GetWindowText(), text);
    EXPECT_EQ(m_edit.GetPictureMap(), pictures);
    int start = 0, end = 0;
    m_edit.GetSel(start, end);
    EXPECT_EQ(start, 10);
    EXPECT_EQ(end, 30);
    EXPECT_FALSE(m_edit.document()->isUndoRedoEnabled());
    const QVariant frame = m_edit.document()->resource(QTextDocument::ImageResource, QUrl("emoticon:0"));
    EXPECT_FALSE(frame.value<QPixmap>().isNull());
}

TEST_F(RichMsgEditTest, TransferEntriesPostTheirCommandsToTheOwner)
{
    m_edit.SetTransferSwitch(true);
    EXPECT_TRUE(m_edit.OnCommand(CRichMsgEdit::ID_SEND_BMP, 0));
    EXPECT_TRUE(m_edit.OnCommand(CRichMsgEdit::ID_SEND_WAV, 0));
    EXPECT_FALSE(m_edit.OnCommand(108, 0));
    EXPECT_EQ(m_edit.GetLimitText(), CRichMsgEdit::kDefaultTextLimit);
    m_edit.AttachToDialog();
    EXPECT_EQ(m_edit.GetLimitText(), 0x7FFFFFFF);
}

} // namespace
