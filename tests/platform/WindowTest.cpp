// Window timers, commands, controls by id, windows by caption, conversions.
#include <QApplication>
#include <QLabel>
#include <QTimerEvent>
#include <gtest/gtest.h>

#include "TestDialogs.h"

namespace {

TEST(WindowTimers, RunByIdWithTheirPeriods)
{
    CNameDialog dialog;
    dialog.SetTimer(1001, 30000);
    dialog.SetTimer(9002, 5000);
    EXPECT_TRUE(dialog.IsTimerRunning(1001));
    EXPECT_EQ(dialog.TimerPeriod(9002), 5000);
    dialog.SetTimer(9002, 7000);  // restart with a new period
    EXPECT_EQ(dialog.TimerPeriod(9002), 7000);
    dialog.KillTimer(1001);
    dialog.KillTimer(4242);  // not running: nothing happens
    EXPECT_FALSE(dialog.IsTimerRunning(1001));
    EXPECT_EQ(dialog.TimerPeriod(1001), 0);
    EXPECT_TRUE(dialog.IsTimerRunning(9002));

    dialog.OnTimer(9002);
    EXPECT_EQ(dialog.m_timerFired, std::vector<int>{9002});
    QTimerEvent foreign(123456);
    EXPECT_FALSE(dialog.HandleTimerEvent(&foreign));
    EXPECT_FALSE(dialog.HandleTimerEvent(nullptr));
}

// A widget that takes commands and counts them in storage it does not own.
class CTarget : public QWidget, public CCommandTarget {
public:
    explicit CTarget(std::vector<std::pair<int, intptr_t>>* log) : m_log(log) {}
    bool OnCommand(int id, intptr_t lParam) override
    {
        m_log->push_back({id, lParam});
        return id != 0;
    }
    std::vector<std::pair<int, intptr_t>>* m_log;
};

TEST(Commands, SentAtOnceAndPostedThroughTheEventLoop)
{
    std::vector<std::pair<int, intptr_t>> log;
    CTarget target(&log);
    EXPECT_TRUE(SendCommand(&target, 987656666, 5));
    EXPECT_FALSE(SendCommand(&target, 0));
    QWidget plain;
    EXPECT_FALSE(SendCommand(&plain, 1));
    EXPECT_FALSE(SendCommand(nullptr, 1));

    log.clear();
    PostCommand(&target, 333333, 9);
    EXPECT_TRUE(log.empty());
    QApplication::processEvents();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0], (std::pair<int, intptr_t>{333333, 9}));
}

TEST(Commands, PostedCommandIsDroppedWhenTheTargetGoes)
{
    std::vector<std::pair<int, intptr_t>> log;
    auto* target = new CTarget(&log);
    PostCommand(target, 987653333);
    delete target;
    PostCommand(nullptr, 1);
    QApplication::processEvents();
    EXPECT_TRUE(log.empty());
}

TEST(Windows, FoundByCaptionAmongTopLevelWidgets)
{
    const CString caption = Utf8ToGbk("群组属性");
    QWidget shown, hidden;
    shown.setWindowTitle(ToQt(caption));
    shown.show();
    hidden.setWindowTitle("history");
    EXPECT_EQ(FindWindowByCaption(caption), &shown);
    EXPECT_EQ(FindWindowByCaption("history"), &hidden);
    EXPECT_EQ(FindWindowByCaption("nobody"), nullptr);
    QLabel child(&shown);
    child.setWindowTitle("child");
    EXPECT_EQ(FindWindowByCaption("child"), nullptr);
}

TEST(Windows, HandlesAreStableAndDistinct)
{
    QWidget a, b;
    const intptr_t ha = WindowHandle(&a);
    EXPECT_NE(ha, 0);
    EXPECT_EQ(WindowHandle(&a), ha);
    EXPECT_NE(WindowHandle(&b), ha);
    EXPECT_EQ(WindowHandle(nullptr), 0);
}

TEST(Controls, IdsComeFromObjectNames)
{
    QWidget parent;
    QWidget* inner = new QWidget(&parent);
    QLabel* label = new QLabel(inner);
    label->setObjectName("id1045");
    EXPECT_EQ(ControlId(label), 1045);
    EXPECT_EQ(FindControl(&parent, 1045), label);
    EXPECT_EQ(FindControl(&parent, 1046), nullptr);
    EXPECT_EQ(FindControl(nullptr, 1045), nullptr);
    for (const char* name : {"id", "idx", "id12a", "abc", "ID12", "id-3", "id99999999999"}) {
        label->setObjectName(name);
        EXPECT_EQ(ControlId(label), 0) << name;
    }
    EXPECT_EQ(ControlId(nullptr), 0);
}

TEST(Text, ConvertsBetweenGbkAndQt)
{
    const CString gbk = Utf8ToGbk("群组 abc");
    EXPECT_EQ(ToQt(gbk), QString::fromUtf8("群组 abc"));
    EXPECT_EQ(FromQt(QString::fromUtf8("群组 abc")), gbk);
    EXPECT_EQ(FromQt(QString::fromUtf8("a\xF0\x9F\x98\x80z")), "a?z");  // no GBK form
    EXPECT_TRUE(ToQt(CString()).isEmpty());
}

// The Qt boundary gives what Utf8ToGbk gives: one '?' for each character
// without a GBK form, a lone surrogate included, wherever it stands.
TEST(Text, FromQtMarksEachCharacterWithoutGbkFormOnce)
{
    const QString noGbkForm[] = {
        QString::fromUtf8("\xC4\x80"),          // U+0100
        QString::fromUtf8("\xED\x95\x9C"),      // U+D55C
        QString::fromUtf8("\xF0\x9F\x98\x80"),  // U+1F600, a surrogate pair
        QString::fromUtf8("\xF0\xA0\x80\x80"),  // U+20000
        QString(QChar(0xD83D)),               // high surrogate alone
        QString(QChar(0xDE00)),               // low surrogate alone
    };
    const QString neighbours[] = {"", "a", "?", QString::fromUtf8("\xE4\xB8\xAD"), QString::fromUtf8("\xE4\xB8\x82")};
    for (const QString& bad : noGbkForm) {
        for (const QString& before : neighbours) {
            for (const QString& after : neighbours) {
                SCOPED_TRACE(QString::number((before + bad + after).at(before.size()).unicode(), 16).toStdString() +
                             " after " + std::to_string(before.size()) + " units");
                const CString expected = FromQt(before) + "?" + FromQt(after);
                EXPECT_EQ(FromQt(before + bad + after), expected);
                EXPECT_EQ(FromQt(before + bad + bad + after), FromQt(before) + "??" + FromQt(after));
                EXPECT_EQ(FromQt(before + bad + after), Utf8ToGbk((before + bad + after).toStdString()));
            }
        }
    }
    // A low surrogate before a high one is two lone surrogates, not a pair.
    EXPECT_EQ(FromQt(QString(QChar(0xDE00)) + QChar(0xD83D)), "??");
    EXPECT_EQ(FromQt(QString::fromUtf8("\xE4\xB8\x82x@host")), "\x81@x@host");
}

TEST(Text, ShownPartEndsOnAWholeCharacter)
{
    EXPECT_EQ(ShownPart("short"), "short");
    const QString pair = QString::fromUtf8("\xF0\x9F\x98\x80");
    const QString cutInPair = QString(kShownChars - 1, 'a') + pair + "tail";
    EXPECT_EQ(ShownPart(cutInPair), QString(kShownChars - 1, 'a'));
    EXPECT_EQ(ShownPart(QString(kShownChars + 5, 'b')).size(), kShownChars);
}

TEST(Text, FontsAndColoursRoundTrip)
{
    TLogFont font;
    font.lfHeight = -14;
    font.lfWeight = 700;
    font.lfItalic = 1;
    Utf8ToGbk("宋体").CopyTo(font.lfFaceName, sizeof(font.lfFaceName));
    const QFont qt = ToQFont(font);
    EXPECT_EQ(qt.pixelSize(), 14);
    EXPECT_TRUE(qt.bold());
    EXPECT_TRUE(qt.italic());
    const TLogFont back = FromQFont(qt);
    EXPECT_EQ(back.lfHeight, -14);
    EXPECT_EQ(back.lfWeight, 700);
    EXPECT_EQ(back.lfItalic, 1);
    EXPECT_EQ(back.lfUnderline, 0);

    EXPECT_EQ(ToQColor(0x0000FF), QColor(255, 0, 0));  // COLORREF keeps red in the low byte
    EXPECT_EQ(FromQColor(QColor(0, 0, 255)), 0xFF0000u);
}

TEST(Dialog, RoutesButtonsAndReadsControlText)
{
    CNameDialog dialog;
    EXPECT_TRUE(dialog.Create());
    EXPECT_TRUE(dialog.Create());  // start-up runs once
    EXPECT_EQ(dialog.m_initCount, 1);

    dialog.PressButton(1010);
    EXPECT_EQ(dialog.m_extraPressed, 1);
    dialog.ConnectButtons();  // again: still one connection per button
    dialog.PressButton(1010);
    EXPECT_EQ(dialog.m_extraPressed, 2);

    dialog.GetDlgItem(1010)->setEnabled(false);
    dialog.PressButton(1010);  // a disabled button cannot be pressed
    EXPECT_EQ(dialog.m_extraPressed, 2);

    dialog.SetDlgItemText(1001, Utf8ToGbk("李四"));
    EXPECT_EQ(dialog.GetDlgItemText(1001), Utf8ToGbk("李四"));
    EXPECT_EQ(dialog.GetDlgItemText(1003), "a");
    EXPECT_TRUE(dialog.GetDlgItemText(4711).IsEmpty());

    dialog.PressButton(2);
    EXPECT_TRUE(dialog.IsEnded());
    EXPECT_EQ(dialog.EndCode(), IDCANCEL);
}

} // namespace
