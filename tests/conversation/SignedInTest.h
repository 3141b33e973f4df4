// A loaded module whose user "Me" (sip:me@x.com) is signed in, for tests of
// the conversation windows the main window keeps.
#pragma once

#include "ConversationTestSupport.h"
#include "conversation/ChatWindows.h"
#include "groups/GroupTreeModel.h"
#include "module/TarvolanModule.h"
#include "support/FakeHost.h"
#include "window/TarvolanDialog.h"

namespace conversation_test {

inline constexpr const char kMe[] = "sip:me@x.com";
inline constexpr const char kGroupURI[] = "sip:g1@x.com";

// The main window's group data and conversation windows.
inline tarvolan::CGroupTreeModel& Model()
{
    return tarvolan::CTarvolanModule::Instance()->MainWindow()->Data().TreeModel();
}
inline tarvolan::CChatWindows& Chats()
{
    return tarvolan::CTarvolanModule::Instance()->MainWindow()->ChatWindows();
}

class SignedInTest : public ConversationTest {
protected:
    void SetUp() override
    {
        ConversationTest::SetUp();
        tarvolan::clientkit::TIdentity me;
        me.displayName = "Me";
        me.uri = kMe;
        tarvolan::clientkit::SetIdentity(me);
        tarvolan::clientkit::SetUserSettings(1, "me");
        m_module = LoadTarvolanModule(&m_host, nullptr, &m_parent);
        ASSERT_NE(m_module, nullptr);
        m_module->Init();
        ASSERT_NE(tarvolan::CTarvolanModule::Instance()->MainWindow(), nullptr);
    }
    void TearDown() override
    {
        tarvolan::CTarvolanModule::DestroyInstance();
        ConversationTest::TearDown();
    }
    // The group g1 (kGroupURI), a public group with the user in that role.
    tarvolan::CTarvolan* AddGroup(const tarvolan::CString& name, int role)
    {
        tarvolan::TGroupListEntry entry;
        entry.uri = kGroupURI;
        entry.name = name;
        entry.kind = 2;
        entry.role = role;
        if (role == 1) entry.owner = kMe;
        return Model().CreateOrUpdateGroup(entry);
    }

    testing_support::CFakeHost m_host;
    QWidget m_parent;
    tarvolan::CModuleBase* m_module = nullptr;
};

} // namespace conversation_test
