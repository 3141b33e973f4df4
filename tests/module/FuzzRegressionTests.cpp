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
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include "clientkit/ClientKit.h"
#include "conversation/TarvolanChatDialog.h"
#include "groups/Tarvolan.h"
#include "groups/TarvolanDialog.h"
#include "module/TarvolanModule.h"
#include "platform/Resources.h"
#include "platform/UiDriver.h"
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
        ASSERT_NE(g_pTarvolanDialog, nullptr);
    }
    void TearDown() override
    {
        CTarvolanModule::DestroyInstance();
        SetResourceBundle(m_previous);
        SetUiDriver(nullptr);
        clientkit::Reset();
    }

    int Send(int code, std::vector<Word> words) { return m_module->OnMessage(0, code, words.data()); }

    // Host message 1004 listing public groups (URI, name) of kind 2.
    void SendGroupList(const std::vector<std::pair<const char*, const char*>>& groups)
    {
        auto list = std::make_unique<TGroupInfoList>();
        std::memset(list.get(), 0, sizeof(TGroupInfoList));
        for (const auto& [uri, name] : groups) {
            TGroupInfoSlot& slot = list->groups[list->count++];
            std::strcpy(slot.groupURI, uri);
            std::strcpy(slot.groupname, name);
            slot.groupType = 2;
            std::strcpy(slot.groupOwner, "sip:owner@ims.test");
        }
        m_module->OnMessage(0, H_GroupInfoList, list.get());
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
    EXPECT_EQ(g_pTarvolanDialog->geometry().x(), -QWIDGETSIZE_MAX);
    EXPECT_EQ(g_pTarvolanDialog->width(), 0);

    Send(H_PlaceWindow, {INT_MAX, INT_MAX, INT_MAX, INT_MAX});
    EXPECT_EQ(g_pTarvolanDialog->geometry().x(), QWIDGETSIZE_MAX);
    EXPECT_LE(g_pTarvolanDialog->width(), QWIDGETSIZE_MAX);

    Send(H_PlaceWindow, {-5, -7, INT_MIN, INT_MIN});
    EXPECT_EQ(g_pTarvolanDialog->geometry(), QRect(-5, -7, 0, 0));

    Send(H_PlaceWindow, {10, 20, 300, 400});  // ordinary numbers are kept
    EXPECT_EQ(g_pTarvolanDialog->geometry(), QRect(10, 20, 300, 400));
}

// fuzz/corpus/regress-picker-after-close: a group's chat window, opened from
// the group's menu, was closed (its deletion deferred to the event loop) and
// then its emoticon button pressed. The picker's popup runs an event loop,
// which deleted the window and the button with it; the button then wrote the
// choice into freed memory. It now records nothing when it is gone.
TEST_F(FuzzRegressionTest, EmoticonButtonOfAChatWindowDeletedWhileItsPopupIsOpen)
{
    SendGroupList({{"sip:g1@groups.test", "g1"}});
    CTarvolan* group = g_pTarvolanDialog->m_TreeModel.FindGroup("sip:g1@groups.test");
    ASSERT_NE(group, nullptr);
    m_driver.PushMenuChoice(IDM_GROUP_CHAT);
    g_pTarvolanDialog->OnTreeRightClick(group->m_hTreeItem, QPoint());
    QPointer<CTarvolanChatDialog> chat = dynamic_cast<CTarvolanChatDialog*>(group->m_pChatDialog);
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
    EXPECT_EQ(group->m_pChatDialog, nullptr);
}

} // namespace
