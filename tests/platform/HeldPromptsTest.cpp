// The scripted driver's held prompts and its picker answers.
#include <QTextEdit>
#include <gtest/gtest.h>

#include "TestDialogs.h"

using namespace tarvolan;

namespace {

class HeldPrompts : public ::testing::Test {
protected:
    void SetUp() override { SetUiDriver(&m_driver); }
    void TearDown() override { SetUiDriver(nullptr); }
    CScriptedUiDriver m_driver;
};

TEST_F(HeldPrompts, BoxStaysOpenUntilReleasedAndAnswersWithTheRelease)
{
    m_driver.PushHeldAnswer(IDYES, 7);
    std::vector<CString> inside;
    m_driver.onHold = [&](THold& hold) {
        EXPECT_EQ(hold.kind, "message");
        EXPECT_EQ(hold.text, "first?");
        EXPECT_EQ(hold.ticket, 7);
        EXPECT_EQ(m_driver.OpenHolds().size(), 1u);
        // A second question while the first is open is answered at once.
        EXPECT_EQ(ShowMessageBox(nullptr, "second?", "c", MB_YESNO), IDYES);
        for (const TPrompt& p : m_driver.Prompts()) inside.push_back(p.text);
        hold.answer = IDNO;
        hold.released = true;
    };
    EXPECT_EQ(ShowMessageBox(nullptr, "first?", "c", MB_YESNO), IDNO);
    EXPECT_EQ(inside, std::vector<CString>{"second?"});
    ASSERT_EQ(m_driver.Prompts().size(), 2u);
    EXPECT_EQ(m_driver.Prompts()[1].text, "first?");
    EXPECT_EQ(m_driver.Prompts()[1].answer, IDNO);
    EXPECT_TRUE(m_driver.OpenHolds().empty());
}

TEST_F(HeldPrompts, NamedBoxClosedByNameWhileHeldAnswersZero)
{
    m_driver.PushHeldAnswer(IDYES, 0);
    m_driver.onHold = [&](THold& hold) {
        EXPECT_FALSE(hold.Done());
        m_driver.CloseNamedBox("other");
        EXPECT_FALSE(hold.Done());
        m_driver.CloseNamedBox("offer");
        EXPECT_TRUE(hold.closed);
    };
    EXPECT_EQ(m_driver.NamedMessageBox("offer", nullptr, "take it?", "c", MB_YESNO), 0);
    EXPECT_EQ(m_driver.Prompts().back().answer, 0);
}

TEST_F(HeldPrompts, WithoutAHookAHeldAnswerIsAnOrdinaryOne)
{
    m_driver.PushHeldAnswer(IDNO, 0);
    EXPECT_EQ(ShowMessageBox(nullptr, "q", "c", MB_YESNO), IDNO);
}

TEST_F(HeldPrompts, HeldDialogIsShownAndEndsWhenItsButtonIsPressed)
{
    CNameDialog dialog;
    TScriptedDialog answer;
    answer.hold = true;
    m_driver.PushDialog(answer);
    m_driver.onHold = [&](THold& hold) {
        EXPECT_EQ(hold.kind, "modal");
        EXPECT_EQ(hold.text, "name dialog");
        EXPECT_TRUE(dialog.isVisible());
        dialog.m_name->setText("typed while open");
        EXPECT_FALSE(hold.Done());
        dialog.PressButton(IDOK);
        EXPECT_TRUE(hold.Done());
    };
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_accepted, "typed while open");
}

TEST_F(HeldPrompts, ReleasedDialogTakesTheReleasedAnswer)
{
    CNameDialog dialog;
    TScriptedDialog answer;
    answer.hold = true;
    answer.values = {{1001, "held"}};
    m_driver.PushDialog(answer);
    m_driver.onHold = [&](THold& hold) {
        hold.dialog.values = {{1001, "released"}};
        hold.released = true;
    };
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_accepted, "released");
}

TEST_F(HeldPrompts, PickerAnswersFromItsQueueThenByDefault)
{
    int popups = 0;
    auto popup = [&] {
        ++popups;
        return 1;
    };
    // With nothing queued and no default the popup itself runs, as before.
    EXPECT_EQ(GetUiDriver()->RunPicker(nullptr, 4, popup), 1);
    EXPECT_EQ(popups, 1);
    m_driver.PushPick(2);
    m_driver.PushPick(9);  // beyond the items: no pick
    EXPECT_EQ(GetUiDriver()->RunPicker(nullptr, 4, popup), 2);
    EXPECT_EQ(GetUiDriver()->RunPicker(nullptr, 4, popup), -1);
    m_driver.SetDefaultPick(-1);
    EXPECT_EQ(GetUiDriver()->RunPicker(nullptr, 4, popup), -1);
    EXPECT_EQ(popups, 1);
    EXPECT_EQ(m_driver.Prompts().back().kind, "picker");
    EXPECT_EQ(m_driver.Prompts().back().text, "4");
}

TEST(QtDriverPicker, RunsThePopup)
{
    SetUiDriver(nullptr);
    EXPECT_EQ(GetUiDriver()->RunPicker(nullptr, 3, [] { return 2; }), 2);
}

} // namespace
