// Builders of the 773-byte request records (1006, 1008, 1025, 1026) and the
// word records of the event handlers' tests, with the signed-in fixture.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "groups/GroupsFixture.h"

namespace groups_testing {

inline tagGroupInvite Invitation(const char* groupName, const char* ownerURI, const char* ownerName,
                                 const char* groupURI, const char* ret)
{
    tagGroupInvite r{};
    Put(r.pGroupName, groupName);
    Put(r.pOwnerURI, ownerURI);
    Put(r.pOwnerName, ownerName);
    Put(r.pGroupURI, groupURI);
    Put(r.pReturn, ret);
    return r;
}

inline tagGroupJoin JoinRequest(const char* groupName, const char* proposerURI, const char* proposerName,
                                const char* ret1 = "r1", const char* ret2 = "r2")
{
    tagGroupJoin r{};
    Put(r.pGroupName, groupName);
    Put(r.pProposerURI, proposerURI);
    Put(r.pProposerName, proposerName);
    Put(r.pReturn1, ret1);
    Put(r.pReturn2, ret2);
    return r;
}

inline tagGroupTrsReq TransferRequest(const char* groupName, const char* oldOwnerURI, const char* oldOwnerName,
                                      const char* groupURI, const char* ret = "trs-1")
{
    tagGroupTrsReq r{};
    Put(r.GroupName, groupName);
    Put(r.OldOwnerURI, oldOwnerURI);
    Put(r.OldOwnerName, oldOwnerName);
    Put(r.GroupURI, groupURI);
    Put(r.ReturnText, ret);
    return r;
}

// A record of words: texts stay alive with the record.
class CWordRecord {
public:
    CWordRecord& Text(const char* text)
    {
        m_texts.push_back(std::make_unique<std::string>(text));
        m_words.push_back(reinterpret_cast<Word>(m_texts.back()->c_str()));
        return *this;
    }
    CWordRecord& Int(long value)
    {
        m_words.push_back(static_cast<Word>(value));
        return *this;
    }
    Word* get() { return m_words.data(); }

private:
    std::vector<std::unique_ptr<std::string>> m_texts;
    std::vector<Word> m_words;
};

inline constexpr const char* kMine = "sip:mine@groups.test";    // a group I own
inline constexpr const char* kClub = "sip:club@groups.test";    // a group I joined
inline constexpr const char* kOwner = "sip:owner@ims.test";     // the club's owner
inline constexpr const char* kBob = "sip:bob@ims.test";

// Signed in, with a group I own (members: me and Bob) and a group I joined.
class CEventsTest : public CGroupsTest {
protected:
    void SetUp() override
    {
        CGroupsTest::SetUp();
        clientkit::SetSignInState(1, 0, 0);
        Dlg().m_nReplayPauseMs = 0;
        COneGroupRecord mine(kMine, "Mine", ROLE_OWNER, kMe);
        mine.Member(kMe, "Me").Member(kBob, "Bob");
        COneGroupRecord club(kClub, "Club", ROLE_MEMBER, kOwner);
        club.Member(kOwner, "Owner").Member(kMe, "Me");
        CGroupListRecord list;
        list.Add(kMine, "Mine", GROUP_PUBLIC, 0, kMe).Add(kClub, "Club", GROUP_PUBLIC, 0, kOwner);
        SendGroupList(list);
        SendGroup(mine);
        SendGroup(club);
        m_host.Clear();
        m_driver.ClearPrompts();
    }

    std::vector<TPrompt> PromptsOf(const char* kind)
    {
        std::vector<TPrompt> out;
        for (const TPrompt& p : m_driver.Prompts())
            if (p.kind == kind) out.push_back(p);
        return out;
    }
    // The one prompt shown; fails when there is not exactly one.
    TPrompt OnlyPrompt()
    {
        EXPECT_EQ(m_driver.Prompts().size(), 1u);
        return m_driver.Prompts().empty() ? TPrompt() : m_driver.Prompts().front();
    }
    const CGroupRecord* Record(const char* uri) { return Dlg().m_GroupTable.Get(uri); }
};

} // namespace groups_testing
