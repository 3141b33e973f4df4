// Reading a conversation without the mouse or the eyes: the transcript's
// keyboard caret, the announcement of arriving messages (what the window
// last told assistive technology) and the find bar.
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTextBlock>

#include "platform/Window.h"  // before the support, which uses its conversions
#include "SignedInTest.h"
#include "conversation/ChatWindows.h"
#include "conversation/FindBar.h"
#include "conversation/RichMsgEdit.h"
#include "conversation/TarvolanChatDialog.h"
#include "groups/GroupTreeModel.h"
#include "module/TarvolanModule.h"
#include "platform/ScreenReading.h"
#include "support/FakeHost.h"
#include "window/TarvolanDialog.h"

using namespace conversation_test;
using namespace tarvolan;
using testing_support::CFakeHost;

namespace {


void Press(QWidget* target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {})
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(target, &press);
}

class ReadingTest : public SignedInTest {
protected:
    void SetUp() override
    {
        SignedInTest::SetUp();
        m_group = AddGroup("g1", 2);
        m_chat = Chats().Open(*m_group);
        ASSERT_NE(m_chat, nullptr);
    }
    void Receive(const char* sender, const char* text)
    {
        Word record[5] = {2, reinterpret_cast<Word>("sip:g1@x.com/chat"), reinterpret_cast<Word>(sender),
                          reinterpret_cast<Word>(text), 0};
        m_module->OnMessage(0, H_GroupMessage, record);
    }

    CTarvolan* m_group = nullptr;
    CTarvolanChatDialog* m_chat = nullptr;
};

// Arriving messages of others, mine and the find bar's announcements are
// played by the conversation_find scenario; the recent messages shown on
// opening are not announced.
TEST_F(ReadingTest, RecentMessagesAreNotAnnounced)
{
    Receive("sip:ann@x.com", "hello");
    m_group->m_MsgListRecent.push_back({"1", "sip:bob@x.com", "09:00", "recent"});
    m_chat->LoadRecentMessage();
    EXPECT_EQ(LastAnnouncement(m_chat), QString::fromUtf8("ann说：hello"));
}

TEST_F(ReadingTest, TheTranscriptTakesACaretButNoTyping)
{
    Receive("sip:ann@x.com", "first line");
    CRichMsgEdit* output = m_chat->Output();
    const QString before = output->toPlainText();
    output->setFocus();
    Press(output, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(output->textCursor().position(), 0);
    Press(output, Qt::Key_Down);
    EXPECT_EQ(output->textCursor().block().text(), QStringLiteral("first line"));
    Press(output, Qt::Key_End, Qt::ShiftModifier);
    EXPECT_EQ(output->textCursor().selectedText(), QStringLiteral("first line"));
    Press(output, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("first line"));
    Press(output, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    EXPECT_EQ(output->toPlainText(), before);
    EXPECT_TRUE(output->isReadOnly());
    EXPECT_TRUE(output->tabChangesFocus());
}

// Counting, wrapping and Escape are played by the conversation_find
// scenario; what it cannot see is the highlighting of every match.
TEST_F(ReadingTest, FindBarHighlightsEveryMatchWhileOpen)
{
    Receive("sip:ann@x.com", "tea or TEA");
    CFindBar* bar = m_chat->FindBar();
    ASSERT_NE(bar, nullptr);
    bar->Open();
    for (QChar c : QStringLiteral("tea")) Press(bar->Field(), 0, Qt::NoModifier, QString(c));
    EXPECT_EQ(m_chat->Output()->extraSelections().size(), 2);  // case is ignored
    EXPECT_EQ(m_chat->Output()->textCursor().selectedText(), QStringLiteral("tea"));
    Press(bar->Field(), Qt::Key_Escape);
    EXPECT_TRUE(m_chat->Output()->extraSelections().isEmpty());
}

} // namespace
