// The rule for prompts inside handlers: the answer counts only while the
// asking window is there, and what the flow needs is found again after it.
#include <gtest/gtest.h>

#include <QWidget>

#include "controls/AskInHandler.h"

using namespace tarvolan;

namespace {

TEST(AskInHandlerTest, WindowThatSurvivesGetsTheAnswerAndRefinds)
{
    QWidget window;
    int found = 42;
    const auto asked = AskInHandler(&window, [] { return 6; });
    EXPECT_TRUE(asked.WindowAlive());
    EXPECT_EQ(asked.Answer(), 6);
    EXPECT_EQ(asked.Refind([&] { return &found; }), &found);
    EXPECT_EQ(asked.Refind([]() -> int* { return nullptr; }), nullptr);  // the thing itself went
}

TEST(AskInHandlerTest, WindowDestroyedDuringThePromptStopsTheFlow)
{
    auto* window = new QWidget;
    bool refound = false;
    const auto asked = AskInHandler(window, [&] {
        delete window;  // a host message handled in the nested loop closed it
        return true;
    });
    EXPECT_FALSE(asked.WindowAlive());
    EXPECT_EQ(asked.Refind([&] { return refound = true, &refound; }), nullptr);
    EXPECT_FALSE(refound);  // nothing is looked up on behalf of a window that went
}

TEST(AskInHandlerTest, WindowAliveIsCheckedNowNotWhenAsked)
{
    auto* window = new QWidget;
    const auto asked = AskInHandler(window, [] { return true; });
    EXPECT_TRUE(asked.WindowAlive());
    delete window;  // e.g. a request sent after the prompt that the host answered at once
    EXPECT_FALSE(asked.WindowAlive());
}

} // namespace
