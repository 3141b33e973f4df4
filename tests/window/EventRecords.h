// Records of the event handlers' tests and a fixture: signed in, with a
// group I own (members: me and Bob) and a group I joined (owner and me).
#pragma once

#include <string>
#include <utility>

#include "support/RequestRecord.h"
#include "window/GroupsFixture.h"

using namespace tarvolan;

namespace groups_testing {

inline Word W(const char* text) { return reinterpret_cast<Word>(text); }

using testing_support::Request;

inline constexpr const char* kMine = "sip:mine@groups.test";
inline constexpr const char* kClub = "sip:club@groups.test";
inline constexpr const char* kOwner = "sip:owner@ims.test";
inline constexpr const char* kBob = "sip:bob@ims.test";

class CEventsTest : public CGroupsTest {
protected:
    void SetUp() override
    {
        CGroupsTest::SetUp();
        clientkit::SetSignInState(1, 0, 0);
        Dlg().m_nReplayPauseMs = 0;
        COneGroupRecord mine(kMine, "Mine", ROLE_OWNER, kMe), club(kClub, "Club", ROLE_MEMBER, kOwner);
        mine.Member(kMe, "Me").Member(kBob, "Bob");
        club.Member(kOwner, "Owner").Member(kMe, "Me");
        CGroupListRecord list;
        SendGroupList(list.Add(kMine, "Mine", GROUP_PUBLIC, 0, kMe).Add(kClub, "Club", GROUP_PUBLIC, 0, kOwner));
        SendGroup(mine);
        SendGroup(club);
        m_host.Clear();
    }
    std::string PromptText(size_t i) { return i < m_driver.Prompts().size() ? Utf8(m_driver.Prompts()[i].text) : ""; }
    size_t PromptCount() { return m_driver.Prompts().size(); }
    const CGroupRecord* Record(const char* uri) { return Dlg().Data().GroupTable().Get(uri); }
    bool Logged(const char* line) { return LogText().find(line) != std::string::npos; }
};

} // namespace groups_testing
