// The client around the rules of host events, for tests without a window: a
// scripted host, the host's side of the link, a recorder of the changes
// reported, and two public groups (one mine, one owned by another user) with
// Bob as their member.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "groups/ChildWindows.h"
#include "groups/GroupChanges.h"
#include "groups/GroupData.h"
#include "protocol/HostLink.h"

namespace tarvolan::rulestest {


constexpr const char* kMe = "sip:me@ims.test";
constexpr const char* kBob = "sip:bob@ims.test";
constexpr const char* kClub = "sip:club@groups.test";
constexpr const char* kMine = "sip:mine@groups.test";
constexpr const char* kOwner = "sip:owner@ims.test";

// The client around the rules: a log, the signed-in user, one group whose
// history viewer is open, and the notices shown ("kind:subject"), after
// which the window may have gone.
struct CScriptedHost : CGroupRulesHost {
    std::vector<std::string> log;
    std::vector<std::string> notices;
    const CTarvolan* viewerOf = nullptr;
    bool signedIn = true;
    bool windowStays = true;
    void WriteClientLog(const char* text, int) override { log.push_back(text); }
    CString MyURI() const override { return kMe; }
    bool SignedIn() const override { return signedIn; }
    TMemberProfile myProfile{};
    const TMemberProfile* MyProfile() const override { return &myProfile; }
    bool HistoryViewerOpen(const CTarvolan& group) const override { return &group == viewerOf; }
    CGroupBlacklistWindow* blacklistWindow = nullptr;
    CGroupBlacklistWindow* BlacklistWindow() const override { return blacklistWindow; }
    bool Notice(ENotice notice, const CString& subject) override
    {
        notices.push_back(std::to_string(notice) + ":" + subject.str());
        return windowStays;
    }
    // operation results, search and group messages: the restarts of the
    // pending-creation timer, the information window, and the messages shown
    // ("group|sender|text"). Their notices are told like the others (Tell).
    int timerRestarts = 0;
    void RestartPendingCreateTimer() override { ++timerRestarts; }
    CGroupInfoWindow* infoWindow = nullptr;
    CGroupInfoWindow* InfoWindow() const override { return infoWindow; }
    bool IsMyself(const char* uri) const override { return std::string(uri) == kMe; }
    std::vector<std::string> messagesShown;
    void ShowGroupMessage(CTarvolan& group, const char* senderURI, const char* text) override
    {
        messagesShown.push_back(group.URI().str() + "|" + (senderURI ? senderURI : "") + "|" + (text ? text : ""));
    }
    // invitations, joins and transfers: the requests parked, the questions
    // and notices ("kind:first|second", "@box" when named) with the answers
    // to give in order (Yes when none is left), and the boxes closed.
    bool signingIn = false;
    std::vector<std::string> parked;
    std::vector<int> answers;
    std::vector<std::string> closed;
    std::function<void()> onAsk;
    bool SigningIn() const override { return signingIn; }
    void Park(const tagGroupInvite& r) override { parked.push_back(std::string("invite ") + r.pGroupName); }
    void Park(const tagGroupJoin& r) override { parked.push_back(std::string("join ") + r.pGroupName); }
    void Park(const tagGroupTrsReq& r) override { parked.push_back(std::string("transfer ") + r.GroupName); }
    void DropParkedTransfer(const CString& group, const CString& owner) override
    {
        parked.push_back("drop " + group.str() + "|" + owner.str());
    }
    CString MyDisplayName() const override { return "Me"; }
    CString MyPhone() const override { return "5550100"; }
    int Ask(ENotice question, const CString& first, const CString& second, const CString& box) override
    {
        Tell(question, first, second, box);
        if (onAsk) std::exchange(onAsk, nullptr)();
        if (answers.empty()) return kYes;
        const int answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    }
    void Tell(ENotice notice, const CString& first, const CString& second, const CString& box) override
    {
        notices.push_back(std::to_string(notice) + ":" + first.str() + "|" + second.str() +
                          (box.IsEmpty() ? "" : "@" + box.str()));
    }
    void CloseBox(const CString& box) override { closed.push_back(box.str()); }
    // loading: the recent-names timer restarts and the properties window's reloads.
    int namesTimerRestarts = 0;
    int propertiesReloads = 0;
    CString MyRequestId() const override { return "me-request"; }
    CString AllContactsName() const override { return "All contacts"; }
    void RestartRecentNamesTimer() override { ++namesTimerRestarts; }
    void RefreshPropertiesWindow() override { ++propertiesReloads; }
};

// The host's side of the link: the requests sent, as "code:text,text".
struct CRecordingLink : CHostLink {
    std::vector<std::string> sent;
    std::vector<std::string> logged;
    int Send(int code, void* record) override
    {
        const Word* words = static_cast<const Word*>(record);
        sent.push_back(std::to_string(code) + ":" + reinterpret_cast<const char*>(words[0]) + "," +
                       reinterpret_cast<const char*>(words[1]));
        return 0;
    }
    void Log(const char* text, int level) override { logged.push_back(std::to_string(level) + " " + text); }
    void RequestSkin(Word, const char*, const char*) override {}
    CModuleBase* Module() override { return nullptr; }
};

// A blacklist window that records what it is told ("uri|group|operation kind").
struct CRecordingBlacklistWindow : CGroupBlacklistWindow {
    std::vector<std::string> told;
    void AddBlackListEntry(const CString& uri, const CString& group, int kind) override
    {
        told.push_back("entry " + uri.str() + "|" + group.str() + "|" + std::to_string(kind));
    }
    void OnBlackListChanged(const CString& uri, const CString& group, int operation, int kind) override
    {
        told.push_back(uri.str() + "|" + group.str() + "|" + std::to_string(operation) + std::to_string(kind));
    }
    void OnBlackListFailed(const CString& uri) override { told.push_back("failed " + uri.str()); }
};

// The changes told, each with a copy of its group's URI (the change's own
// reference is valid only while it is told).
struct CChangeRecorder : CGroupChangeListener {
    std::vector<TGroupChange> changes;
    std::vector<std::string> uris;
    void OnGroupChanged(const TGroupChange& change) override
    {
        changes.push_back(change);
        uris.push_back(change.groupURI.str());
    }
};

// Copies text into a zero-filled field, leaving its last byte zero.
template <size_t N> void Put(char (&field)[N], const char* text)
{
    std::memcpy(field, text, std::min(N - 1, std::strlen(text)));
}

class CRulesFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (const char* tz = std::getenv("TZ")) m_savedTZ = tz;
        setenv("TZ", "UTC-8", 1);  // eight hours east of Greenwich
        tzset();
        m_changes.Subscribe(&m_seen);
        // Two public groups, listed, with Bob in their records and tree objects.
        for (const char* uri : {kMine, kClub}) {
            TGroupListEntry entry;
            entry.uri = uri;
            entry.name = uri == kMine ? "Mine" : "Club";
            entry.kind = GROUP_PUBLIC;
            entry.owner = uri == kMine ? kMe : kOwner;
            m_data.AddOrUpdateGroupListEntry(entry);
            CGroupRecord* record = m_data.GroupTable().Add(uri);
            record->name = entry.name;
            record->kind = GROUP_PUBLIC;
            record->role = uri == kMine ? ROLE_OWNER : ROLE_MEMBER;
            record->AddMember(MemberSlot(kBob, "Bob", "Forward"));
            m_data.TreeModel().CreateOrUpdateMember(*m_data.TreeModel().CreateOrUpdateGroup(entry),
                                                    record->Member(0));
        }
    }
    void TearDown() override
    {
        if (m_savedTZ) setenv("TZ", m_savedTZ->c_str(), 1);
        else unsetenv("TZ");
        tzset();
    }

    CTarvolan* Group(const char* uri) { return m_data.TreeModel().FindGroup(uri); }
    bool Logged(const std::string& start) const
    {
        for (const std::string& line : m_host.log)
            if (line.rfind(start, 0) == 0) return true;
        return false;
    }
    // The kinds of the changes reported since the last call.
    std::vector<int> Reported()
    {
        std::vector<int> kinds;
        for (const TGroupChange& change : m_seen.changes) kinds.push_back(change.what * 10 + change.detail);
        m_seen.changes.clear();
        m_seen.uris.clear();
        return kinds;
    }

    std::optional<std::string> m_savedTZ;
    CGroupData m_data;
    CScriptedHost m_host;
    CGroupChanges m_changes;
    CChangeRecorder m_seen;
    CRecordingLink m_link;
};

} // namespace tarvolan::rulestest
