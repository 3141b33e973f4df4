// Host message sequences that once broke the module under the fuzzer
// (fuzz/fuzz_host_messages), replayed as the fuzzer sent them. Each test
// names the corpus entry in fuzz/corpus that holds the original input.
#include <climits>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QPointer>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include "clientkit/ClientKit.h"
#include "conversation/RichMsgEdit.h"
#include "conversation/TarvolanChatDialog.h"
#include "groups/Tarvolan.h"
#include "window/TarvolanDialog.h"
#include "module/TarvolanModule.h"
#include "platform/Resources.h"
#include "scripted/ScriptedUiDriver.h"
#include "platform/Window.h"
#include "res/ModuleResources.h"
#include "support/FakeHost.h"

using namespace tarvolan;

namespace {

class FuzzRegressionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        clientkit::Reset();
        ASSERT_TRUE(m_dir.isValid());
        clientkit::SetAppPath(m_dir.path().toLocal8Bit().constData());
        clientkit::TIdentity me;
        me.displayName = "Me";
        me.requestId = "req-me";
        me.uri = "sip:me@ims.test";
        me.domain = "ims.test";
        clientkit::SetIdentity(me);
        SetUiDriver(&m_driver);
        m_previous = SetResourceBundle(TarvolanResources());
        m_module = LoadTarvolanModule(&m_host, &m_host, &m_parent);
        ASSERT_NE(m_module, nullptr);
        m_module->Init();
        ASSERT_NE(MainWindow(), nullptr);
    }
    static CTarvolanDialog* MainWindow() { return CTarvolanModule::Instance()->MainWindow(); }
    void TearDown() override
    {
        CTarvolanModule::DestroyInstance();
        SetResourceBundle(m_previous);
        SetUiDriver(nullptr);
        clientkit::Reset();
    }

    int Send(int code, std::vector<Word> words) { return m_module->OnMessage(0, code, words.data()); }

    // Host message 1004 listing public groups (URI, name) of kind 2.
    void SendGroupList(const std::vector<std::pair<const char*, const char*>>& groups,
                       const char* owner = "sip:owner@ims.test")
    {
        auto list = std::make_unique<TGroupInfoList>();
        std::memset(list.get(), 0, sizeof(TGroupInfoList));
        for (const auto& [uri, name] : groups) {
            TGroupInfoSlot& slot = list->groups[list->count++];
            std::strcpy(slot.groupURI, uri);
            std::strcpy(slot.groupname, name);
            slot.groupType = 2;
            std::strcpy(slot.groupOwner, owner);
        }
        m_module->OnMessage(0, H_GroupInfoList, list.get());
    }

    // Host message 1005 for a group of mine with me as its only member.
    void SendOwnedGroup(const char* uri, const char* name, const TGroupDescription& info)
    {
        TMemberEntry me{};
        std::strcpy(me.UserURI, "sip:me@ims.test");
        std::strcpy(me.DisplayName, "Me");
        Send(H_OnePublicGroup, {reinterpret_cast<Word>(name), reinterpret_cast<Word>(uri), 1,
                                reinterpret_cast<Word>(&info), 1, reinterpret_cast<Word>(&me), 0, 0});
    }

    // Opens the chat window of a listed group from its menu.
    CTarvolanChatDialog* OpenChat(const char* uri)
    {
        CTarvolan* group = MainWindow()->Data().TreeModel().FindGroup(uri);
        if (!group) return nullptr;
        m_driver.PushMenuChoice(IDM_GROUP_CHAT);
        MainWindow()->OnTreeRightClick(MainWindow()->GroupItem(*group), QPoint());
        return MainWindow()->ChatWindows().Find(*group);
    }

    // Runs a menu command on the group's tree item.
    void RunGroupCommand(const char* uri, int command)
    {
        CTarvolan* group = MainWindow()->Data().TreeModel().FindGroup(uri);
        ASSERT_NE(group, nullptr);
        m_driver.PushMenuChoice(command);
        MainWindow()->OnTreeRightClick(MainWindow()->GroupItem(*group), QPoint());
    }

    QTemporaryDir m_dir;
    testing_support::CFakeHost m_host;
    QWidget m_parent;
    CScriptedUiDriver m_driver;
    CResourceBundle* m_previous = nullptr;
    CModuleBase* m_module = nullptr;
};

// fuzz/corpus/regress-place-window-extremes: 20038 with x = INT_MIN made
// Qt's right edge (x + width - 1) overflow. Coordinates are now kept within
// Qt's largest window size.
TEST_F(FuzzRegressionTest, PlaceWindowWithExtremeNumbers)
{
    Send(H_PlaceWindow, {INT_MIN, 0, 0, 0});
    EXPECT_EQ(MainWindow()->geometry().x(), -QWIDGETSIZE_MAX);
    EXPECT_EQ(MainWindow()->width(), 0);

    Send(H_PlaceWindow, {INT_MAX, INT_MAX, INT_MAX, INT_MAX});
    EXPECT_EQ(MainWindow()->geometry().x(), QWIDGETSIZE_MAX);
    EXPECT_LE(MainWindow()->width(), QWIDGETSIZE_MAX);

    Send(H_PlaceWindow, {-5, -7, INT_MIN, INT_MIN});
    EXPECT_EQ(MainWindow()->geometry(), QRect(-5, -7, 0, 0));

    Send(H_PlaceWindow, {10, 20, 300, 400});  // ordinary numbers are kept
    EXPECT_EQ(MainWindow()->geometry(), QRect(10, 20, 300, 400));
}

// fuzz/corpus/regress-picker-after-close: a group's chat window, opened from
// the group's menu, was closed (its deletion deferred to the event loop) and
// then its emoticon button pressed. The picker's popup runs an event loop,
// which deleted the window and the button with it; the button then wrote the
// choice into freed memory. It now records nothing when it is gone.
TEST_F(FuzzRegressionTest, EmoticonButtonOfAChatWindowDeletedWhileItsPopupIsOpen)
{
    SendGroupList({{"sip:g1@groups.test", "g1"}});
    CTarvolan* group = MainWindow()->Data().TreeModel().FindGroup("sip:g1@groups.test");
    ASSERT_NE(group, nullptr);
    QPointer<CTarvolanChatDialog> chat = OpenChat("sip:g1@groups.test");
    ASSERT_TRUE(chat);
    chat->close();
    ASSERT_TRUE(chat);  // its deletion waits for the event loop

    QTimer safety;  // should the popup's loop not end by itself
    safety.setSingleShot(true);
    QObject::connect(&safety, &QTimer::timeout, [] {
        if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    });
    safety.start(2000);
    chat->PressButton(CTarvolanChatDialog::IDC_EMOTICONS);
    EXPECT_FALSE(chat);  // deleted in the popup's loop, the button with it
    EXPECT_EQ(MainWindow()->ChatWindows().Find(*group), nullptr);
}

// fuzz/corpus/regress-chat-font-height: the chat window's font button, and a
// font dialog that answered a height of 640,034,305 pixels: the height in
// twips (15 per pixel) overflowed. It is now worked out in 64 bits and held
// to the largest int.
TEST_F(FuzzRegressionTest, ChatFontWithAHugeHeight)
{
    SendGroupList({{"sip:g1@groups.test", "g1"}});
    CTarvolanChatDialog* chat = OpenChat("sip:g1@groups.test");
    ASSERT_NE(chat, nullptr);
    for (const auto& [pixels, twips] : std::vector<std::pair<int32_t, int32_t>>{
             {640034305, INT32_MAX}, {INT32_MIN, INT32_MAX}, {-12, 180}, {20, 300}}) {
        TLogFont font;
        font.lfHeight = pixels;
        m_driver.PushFont(font, 0);
        chat->PressButton(CTarvolanChatDialog::IDC_FONT);
        EXPECT_EQ(GetAppCharFormat()->yHeight, twips) << pixels;
    }
}

// fuzz/corpus/regress-chat-font-hang: the font dialog answered a huge height
// (shown then at 1638 points), then 8 KB of "/>" went into the input: every
// pair wrapped to a line of its own, the document grew past what Qt's layout
// can handle, and the window hung. Shown sizes now stop at 72 points, which
// keeps such a text to a fraction of that height.
TEST_F(FuzzRegressionTest, ChatFontAtTheLargestSizeWithALongUnbrokenText)
{
    SendGroupList({{"sip:g1@groups.test", "g1"}});
    CTarvolanChatDialog* chat = OpenChat("sip:g1@groups.test");
    ASSERT_NE(chat, nullptr);
    TLogFont font;
    font.lfHeight = 640034305;
    m_driver.PushFont(font, 0);
    chat->PressButton(CTarvolanChatDialog::IDC_FONT);
    std::string text;
    for (int i = 0; i < 1500; ++i) text += "/>";  // 1638 points: 3.8 million pixels
    SetControlText(chat->Input(), CString(text));
    EXPECT_LT(chat->Input()->document()->size().height(), 500000.0);
}

// fuzz/corpus/regress-edit-extreme-visibility: a group of mine whose
// visibility the host gave as INT_MIN, then "edit group": the dialog's index
// (visibility - 1) overflowed. A visibility the user leaves alone is now
// saved as the group's own value, whatever it is, and the log line prints it
// plus one without overflow.
TEST_F(FuzzRegressionTest, EditingAGroupWithAnExtremeVisibility)
{
    for (int32_t visibility : {INT32_MIN, INT32_MAX, 0, 2}) {
        SCOPED_TRACE(visibility);
        SendGroupList({{"sip:g4@groups.test", "g4"}}, "sip:me@ims.test");
        TGroupDescription info{};
        std::strcpy(info.owner, "sip:me@ims.test");
        info.iVisi = visibility;
        info.iMaxMember = 300;
        SendOwnedGroup("sip:g4@groups.test", "g4", info);
        m_host.Clear();
        m_driver.PushDialog({});  // OK with the values as loaded
        RunGroupCommand("sip:g4@groups.test", IDM_EDIT_GROUP);
        ASSERT_EQ(m_host.Count(M_SaveGroup), 1u);
        TGroupSettings sent;
        std::memcpy(&sent, m_host.Of(M_SaveGroup)[0].block.data(), sizeof(sent));
        EXPECT_EQ(sent.visibility, visibility);
        const std::string line = m_host.LogLines().back();
        EXPECT_NE(line.find("visibility=" + std::to_string(visibility + 1LL) + ","), std::string::npos) << line;
    }
}

} // namespace

// fuzz/corpus/regress-exit-with-chat-open: the process ended (exit without
// UnInit, the application object still alive) while a chat window was shown.
// Deleting the windows from the library's unload guard closed that window
// after Qt had already destroyed its own globals, and the process crashed on
// its way out. Windows still open at unload are now left to the system.
TEST_F(FuzzRegressionTest, ProcessExitWithAChatWindowShownAndNoUnInit)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            SendGroupList({{"sip:g1@groups.test", "g1"}});
            CTarvolanChatDialog* chat = OpenChat("sip:g1@groups.test");
            if (!chat) std::_Exit(3);
            chat->show();
            QApplication::processEvents();
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}
