// The scripted UI driver and the default Qt driver.
#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

#include "TestDialogs.h"
#include "platform/Resources.h"

using namespace tarvolan;

namespace {

class ScriptedDriver : public ::testing::Test {
protected:
    void SetUp() override { SetUiDriver(&m_driver); }
    void TearDown() override { SetUiDriver(nullptr); }
    CScriptedUiDriver m_driver;
};

TEST_F(ScriptedDriver, AnswersMessageBoxesFromTheQueueThenByDefault)
{
    std::vector<CString> seen;
    m_driver.onPrompt = [&](const TPrompt& prompt) { seen.push_back(prompt.text); };
    m_driver.PushAnswer(IDNO);
    EXPECT_EQ(ShowMessageBox(nullptr, "q1", "t", MB_YESNO | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(ShowMessageBox(nullptr, "q2", "t", MB_YESNO | MB_ICONQUESTION), IDYES);
    EXPECT_EQ(ShowMessageBox(nullptr, "n", "t", MB_ICONINFORMATION), IDOK);
    m_driver.SetDefaultAnswer(IDCANCEL);
    EXPECT_EQ(ShowMessageBox(nullptr, "q3", "t", 0x24), IDCANCEL);

    ASSERT_EQ(m_driver.Prompts().size(), 4u);
    const TPrompt& first = m_driver.Prompts()[0];
    EXPECT_EQ(first.kind, "message");
    EXPECT_EQ(first.text, "q1");
    EXPECT_EQ(first.caption, "t");
    EXPECT_EQ(first.flags, 0x24u);
    EXPECT_EQ(first.answer, IDNO);
    EXPECT_EQ(seen, (std::vector<CString>{"q1", "q2", "n", "q3"}));
}

TEST_F(ScriptedDriver, NamedBoxClosedByNameAnswersZero)
{
    m_driver.m_closedNames.push_back("transferAck1");
    EXPECT_EQ(m_driver.NamedMessageBox("transferAck1", nullptr, "t", "c", 0x40), 0);
    // The name is used up: the next box of that name is answered normally.
    EXPECT_EQ(m_driver.NamedMessageBox("transferAck1", nullptr, "t", "c", 0x40), IDOK);

    // Closed while open.
    m_driver.onNamedBoxOpen = [&](const CString& name) {
        if (name == "req") m_driver.CloseNamedBox("req");
    };
    EXPECT_EQ(m_driver.NamedMessageBox("req", nullptr, "t", "c", 0x24), 0);
    EXPECT_EQ(m_driver.NamedMessageBox("other", nullptr, "t", "c", 0x24), IDYES);

    // A close for a box that is not open does not reach a later box.
    m_driver.onNamedBoxOpen = nullptr;
    m_driver.CloseNamedBox("late");
    EXPECT_EQ(m_driver.NamedMessageBox("late", nullptr, "t", "c", 0x24), IDYES);
    EXPECT_EQ(m_driver.m_closeLog, (std::vector<CString>{"req", "late"}));
    EXPECT_EQ(m_driver.Prompts()[0].kind, "named");
    EXPECT_EQ(m_driver.Prompts()[0].name, "transferAck1");
}

TEST_F(ScriptedDriver, FillsADialogAndPressesItsButton)
{
    CNameDialog dialog;
    CScriptedUiDriver::TDialogAnswer answer;
    answer.values = {{1001, "张三"}, {1002, "1"}, {1003, "2"}, {1004, "42"}, {1005, "1"}};
    bool inspected = false;
    answer.inspect = [&](CDialog* d) {
        inspected = true;
        EXPECT_TRUE(d->IsInitialised());
        EXPECT_EQ(static_cast<CNameDialog*>(d)->m_name->text(), QString::fromUtf8("张三"));
    };
    m_driver.PushDialog(answer);

    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(inspected);
    EXPECT_EQ(dialog.m_initCount, 1);
    EXPECT_EQ(dialog.m_accepted, QString::fromUtf8("张三"));
    EXPECT_TRUE(dialog.m_check->isChecked());
    EXPECT_EQ(dialog.m_combo->currentIndex(), 2);
    EXPECT_EQ(dialog.m_number->value(), 42);
    EXPECT_EQ(dialog.m_list->currentRow(), 1);
    EXPECT_FALSE(dialog.IsModalRunning());
    ASSERT_EQ(m_driver.Prompts().size(), 1u);
    EXPECT_EQ(m_driver.Prompts()[0].kind, "modal");
    EXPECT_EQ(m_driver.Prompts()[0].text, "name dialog");
    EXPECT_EQ(m_driver.Prompts()[0].answer, IDOK);
}

TEST_F(ScriptedDriver, RefusedOkShowsItsMessageAndTakesTheNextAnswer)
{
    CNameDialog dialog;
    m_driver.PushDialog({});                                  // OK with an empty name: refused
    m_driver.PushDialog({{{1001, "li"}}, IDOK, nullptr});    // then a name
    EXPECT_EQ(dialog.DoModal(), IDOK);
    ASSERT_EQ(m_driver.Prompts().size(), 2u);
    EXPECT_EQ(m_driver.Prompts()[0].kind, "message");
    EXPECT_EQ(m_driver.Prompts()[0].text, "name missing");
    EXPECT_EQ(m_driver.Prompts()[1].kind, "modal");
    EXPECT_EQ(dialog.m_accepted, "li");
}

TEST_F(ScriptedDriver, DialogWithoutAnswersEndsWithCancel)
{
    CNameDialog refused;
    m_driver.PushDialog({});
    EXPECT_EQ(refused.DoModal(), IDCANCEL);  // refused OK, nothing left
    EXPECT_EQ(m_driver.Prompts().size(), 2u);

    CNameDialog untouched;
    EXPECT_EQ(untouched.DoModal(), IDCANCEL);
    EXPECT_EQ(untouched.m_initCount, 1);

    CNameDialog extra;  // a button that does not end the dialog
    m_driver.PushDialog({{}, 1010, nullptr});
    EXPECT_EQ(extra.DoModal(), IDCANCEL);
    EXPECT_EQ(extra.m_extraPressed, 1);

    CNameDialog early;  // ended during start-up: no answer is used
    early.m_endInInit = 7;
    m_driver.PushDialog({{{1001, "x"}}, IDOK, nullptr});
    EXPECT_EQ(early.DoModal(), 7);
    EXPECT_TRUE(m_driver.HasQueuedDialogs());
}

TEST_F(ScriptedDriver, MenuChoiceMustBeAnEnabledItem)
{
    QMenu menu;
    menu.addAction("a")->setData(13054);
    menu.addSeparator();
    QAction* grayed = menu.addAction("b");
    grayed->setData(13060);
    grayed->setEnabled(false);
    int triggered = 0;
    QObject::connect(menu.actions()[0], &QAction::triggered, [&] { ++triggered; });

    m_driver.PushMenuChoice(13054);
    m_driver.PushMenuChoice(13060);
    m_driver.PushMenuChoice(99);
    EXPECT_EQ(m_driver.TrackPopupMenu(&menu, nullptr, QPoint()), 13054);
    EXPECT_EQ(triggered, 1);
    EXPECT_EQ(m_driver.TrackPopupMenu(&menu, nullptr, QPoint()), 0);
    EXPECT_EQ(m_driver.TrackPopupMenu(&menu, nullptr, QPoint()), 0);
    EXPECT_EQ(m_driver.TrackPopupMenu(&menu, nullptr, QPoint()), 0);
    EXPECT_EQ(m_driver.Prompts()[0].kind, "menu");
    EXPECT_EQ(m_driver.Prompts()[0].text, "13054,~13060");
}

TEST_F(ScriptedDriver, FileAndFontDialogs)
{
    EXPECT_TRUE(m_driver.GetSaveFileName(nullptr, "a.txt", "Text (*.txt)").IsEmpty());
    m_driver.PushFileName("/tmp/b.txt");
    EXPECT_EQ(m_driver.GetSaveFileName(nullptr, "a.txt", "Text (*.txt)"), "/tmp/b.txt");

    TLogFont font;
    COLORREF colour = 0;
    EXPECT_FALSE(m_driver.ChooseFont(nullptr, font, colour));
    TLogFont bold;
    bold.lfWeight = 700;
    m_driver.PushFont(bold, RGBColor(1, 2, 3));
    EXPECT_TRUE(m_driver.ChooseFont(nullptr, font, colour));
    EXPECT_EQ(font.lfWeight, 700);
    EXPECT_EQ(colour, RGBColor(1, 2, 3));
    ASSERT_EQ(m_driver.Prompts().size(), 4u);
    EXPECT_EQ(m_driver.Prompts()[1].kind, "file");
    EXPECT_EQ(m_driver.Prompts()[3].kind, "font");
}

// ---- the default Qt driver -------------------------------------------------

// Runs f on the event loop once the modal widget or popup is up.
void WhenShown(std::function<void()> f)
{
    QTimer::singleShot(0, qApp, std::move(f));
}

TEST(QtDriver, MapsFlagsToIconsAndButtons)
{
    SetUiDriver(nullptr);
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    WhenShown([&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        icon = box->icon();
        buttons = box->standardButtons();
        box->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(ShowMessageBox(nullptr, "question", "caption", 0x24), IDNO);
    EXPECT_EQ(icon, QMessageBox::Question);
    EXPECT_EQ(buttons, QMessageBox::Yes | QMessageBox::No);

    WhenShown([&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        icon = box->icon();
        box->button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(ShowMessageBox(nullptr, "warn", "caption", 0x30), IDOK);
    EXPECT_EQ(icon, QMessageBox::Warning);
}

TEST(QtDriver, BoxShowsTheReadablePartOfAHugeText)
{
    SetUiDriver(nullptr);
    qsizetype shown = 0;
    WhenShown([&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        shown = box->text().size();
        box->button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(ShowMessageBox(nullptr, CString(std::string(1000000, 'x')), "caption", 0x40), IDOK);
    EXPECT_EQ(shown, kShownChars);
}

// A box about the main window, shown while the user works in another window:
// it belongs to the main window, and once answered the window the user was
// in has the focus again instead of falling behind the main window.
TEST(QtDriver, BoxBelongsToItsOwnerAndHandsTheFocusBack)
{
    SetUiDriver(nullptr);
    QWidget main, conversation;
    for (QWidget* window : {&main, &conversation}) {
        window->resize(200, 100);
        window->show();
    }
    BringToFront(&conversation);
    QApplication::processEvents();
    ASSERT_EQ(QApplication::activeWindow(), &conversation);
    for (const bool named : {false, true}) {
        QWidget* boxOwner = nullptr;
        WhenShown([&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            boxOwner = box->parentWidget();
            box->button(QMessageBox::Ok)->click();
        });
        if (named) GetUiDriver()->NamedMessageBox("invited", &main, "text", "", 0x40);
        else ShowMessageBox(&main, "text", "", 0x40);
        QApplication::processEvents();
        EXPECT_EQ(boxOwner, &main);
        EXPECT_EQ(QApplication::activeWindow(), &conversation) << "named " << named;
    }
}

TEST(QtDriver, NamedBoxClosedByNameReturnsZero)
{
    CUiDriver* driver = GetUiDriver();
    WhenShown([&] { driver->CloseNamedBox("box1"); });
    EXPECT_EQ(driver->NamedMessageBox("box1", nullptr, "text", "caption", 0x40), 0);

    WhenShown([&] {
        driver->CloseNamedBox("another");  // not this box
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        box->button(QMessageBox::Yes)->click();
    });
    EXPECT_EQ(driver->NamedMessageBox("box2", nullptr, "text", "caption", 0x24), IDYES);
}

TEST(QtDriver, RunsDialogsModallyAndMenusByCommandId)
{
    CNameDialog dialog;
    WhenShown([&] {
        dialog.m_name->setText("wang");
        dialog.PressButton(1);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_accepted, "wang");

    CNameDialog early;
    early.m_endInInit = IDCANCEL;
    EXPECT_EQ(early.DoModal(), IDCANCEL);

    QMenu menu;
    menu.addAction("a")->setData(13054);
    QAction* second = menu.addAction("b");
    second->setData(13056);
    WhenShown([&] {
        menu.setActiveAction(second);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(&menu, &press);
    });
    EXPECT_EQ(GetUiDriver()->TrackPopupMenu(&menu, nullptr, QPoint(10, 10)), 13056);
}

} // namespace
