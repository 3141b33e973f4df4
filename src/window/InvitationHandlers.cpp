// Invitations and join requests: an invitation to a group (1006, and the
// XML form 1003) with its join result (1044), the invitee's answer to an
// invitation I sent (1007), another user's request to join my group (1008),
// the owner's answer to my own request (1009), and the replay of the
// requests that the client library parked while the client signed in.
#include <algorithm>
#include <cstring>
#include <vector>

#include <QEventLoop>
#include <QTimer>

#include "clientkit/ClientKit.h"
#include "controls/SignedInUser.h"
#include "common/TagReader.h"
#include "common/TextFunctions.h"
#include "window/EventSupport.h"
#include "controls/AskInHandler.h"
#include "controls/Prompts.h"
#include "window/TarvolanDialog.h"
#include "protocol/HostLink.h"
#include "res/ModuleResources.h"

namespace tarvolan {

namespace {

constexpr int kAccept = 1;
constexpr int kRefuse = 2;
constexpr int kInvitationAnswerKind = 1;  // the kind of 1044 that answers an invitation
constexpr size_t kInvitationsKept = 32;  // invitations that may still see their join result

struct TInvitation {
    CString groupName, ownerURI, ownerName, groupURI, ret;
};

TInvitation ReadInvitation(const tagGroupInvite& r)
{
    return {CString::FromField(r.pGroupName), CString::FromField(r.pOwnerURI), CString::FromField(r.pOwnerName), CString::FromField(r.pGroupURI),
            CString::FromField(r.pReturn)};
}

struct TJoinRequest {
    CString groupName, proposerURI, proposerName, ret1, ret2;
};

TJoinRequest ReadJoinRequest(const tagGroupJoin& r)
{
    return {CString::FromField(r.pGroupName), CString::FromField(r.pProposerURI), CString::FromField(r.pProposerName), CString::FromField(r.pReturn1),
            CString::FromField(r.pReturn2)};
}

// ---- the XML invitation (1003) ----------------------------------------------------

// The text of the element with that name: a top-level element, or a child of
// the first top-level element. Empty when there is none.
CString XmlElementText(CTagReader& reader, const char* name)
{
    CString text;
    reader.ResetPos();
    if (reader.FindElement(name) && reader.GetText(text)) return text;
    reader.ResetPos();
    if (reader.IntoElement() && reader.FindElement(name) && reader.GetText(text)) return text;
    return CString();
}

// ---- the replay ----------------------------------------------------------------------

template <class Record> bool SameRecord(const Record& a, const Record& b)
{
    return std::memcmp(&a, &b, sizeof(Record)) == 0;
}

// Takes the record out of the parked list; false when it is no longer there
// (withdrawn, or replayed by a replay that ran meanwhile).
template <class Record> bool TakeParked(std::vector<Record>* list, const Record& record)
{
    if (!list) return false;
    auto it = std::find_if(list->begin(), list->end(), [&](const Record& r) { return SameRecord(r, record); });
    if (it == list->end()) return false;
    list->erase(it);
    return true;
}

// Waits while the window's messages are dispatched.
void PumpingPause(int ms)
{
    if (ms <= 0) return;
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Replays one parked list while the user is signed in: every record that is
// still parked is taken out and handled, with a pause after each. Records
// parked while the replay runs stay for the next one. False when the window
// went meanwhile.
template <class Record, class Handle>
bool ReplayParked(std::vector<Record>* (*list)(), QObject* window, int pauseMs, Handle handle)
{
    if (!GetAppLogined() || !list()) return true;
    const std::vector<Record> parked = *list();
    for (const Record& record : parked) {
        if (!TakeParked(list(), record)) continue;
        if (!AskInHandler(window, [&] { return handle(record), true; }).WindowAlive()) return false;
        if (!AskInHandler(window, [&] { return PumpingPause(pauseMs), true; }).WindowAlive()) return false;
    }
    return true;
}

} // namespace

// ---- shared steps ----------------------------------------------------------------------

void CTarvolanDialog::RequestGroupInfoAgain(const CString& uri)
{
    m_GroupData.InfoRequestedGroups().Remove(uri);
    RequestGroupInfo(uri);
}

void CTarvolanDialog::RebuildGroupAndMembers(const CString& uri)
{
    if (uri.IsEmpty()) return;
    const bool known = m_GroupData.TreeModel().FindGroup(uri) != nullptr;
    RebuildGroupItem(uri);  // a new group object builds its member items itself
    if (known) RebuildMemberItems(uri);
}

void CTarvolanDialog::ForgetJoinRequest(const CString& groupURI, const CString& proposerURI)
{
    try {
        m_GroupData.JoinApplications().remove_if(
            [&](const TJoinApplication& a) { return a.groupURI == groupURI && a.requester == proposerURI; });
    } catch (...) {
        WriteLog("===remove item from m_PublicGroupUserReqList::exception===", 0);
    }
}

// ---- 1003 -------------------------------------------------------------------------------

void CTarvolanDialog::OnIMSXmlMessage(const char* pFrom, int iType, const char* pBody)
{
    if (iType != 1 && iType != 2) return;
    const CString from(pFrom);
    CTagReader reader;
    if (!reader.Load(pBody ? pBody : "")) return;
    const CString groupID = XmlElementText(reader, "GroupID");
    if (groupID.IsEmpty()) return;  // nothing to answer or pass on
    if (iType == 2) {
        const CString jid = XmlUnescape(XmlElementText(reader, "JID"));
        const CString id = XmlUnescape(groupID);
        if (jid.IsEmpty()) return;
        Word record[2] = {TextWord(jid), TextWord(id)};
        Link().Send(M_ForwardXmlAcceptance, record);
        return;
    }
    const CString fromName = XmlUnescape(XmlElementText(reader, "FromName"));
    const CString groupName = XmlUnescape(XmlElementText(reader, "GroupName"));
    const auto asked = AskInHandler(this, [&] { return AskYesNo(this, fromName + ResText(IDS_INVITED_ASK, groupName)); });
    if (!asked.WindowAlive() || !asked.Answer()) return;
    const CString me = SignedInURI();
    // The identifier goes back as it stood in the body, so it stays valid XML.
    const CString body = "<JID>" + XmlEscape(me) + "</JID><GroupID>" + groupID + "</GroupID>";
    Word record[4] = {TextWord(me), TextWord(from), 2, TextWord(body)};
    Link().Send(M_AcceptXmlInvitation, record);
}

// ---- 1006 -------------------------------------------------------------------------------

void CTarvolanDialog::RememberInvitation(const tagGroupInvite& invite)
{
    const CString groupURI = CString::FromField(invite.pGroupURI);
    m_ReceivedInvites.remove_if([&](const tagGroupInvite& r) { return CString::FromField(r.pGroupURI) == groupURI; });
    m_ReceivedInvites.push_back(invite);
    if (m_ReceivedInvites.size() > kInvitationsKept) m_ReceivedInvites.pop_front();
}

void CTarvolanDialog::OnIMSInvitedToPublicGroup(const tagGroupInvite* pInvite)
{
    if (!pInvite) return;
    RememberInvitation(*pInvite);
    const auto logToHost = [this](const char* text, int level) { Link().Log(text, level); };
    if (!PassesSignInCheck(*pInvite, logToHost, "OnIMSInvitedToPublicGroupVeloractrl1: have logout,so return!",
                           AddInvitedToPubGroupMessageTempToList))
        return;
    const TInvitation inv = ReadInvitation(*pInvite);
    CString line;
    line.Format("OnIMSInvitedToPublicGroupVeloractrl1:pOwnerURI=%s, pOwnerName=%s, pGroupName= %s,pGroupURI=%s,"
                "pReturn=%s",
                inv.ownerURI.c_str(), inv.ownerName.c_str(), inv.groupName.c_str(), inv.groupURI.c_str(),
                inv.ret.c_str());
    WriteLog(line, 0);

    const auto asked =
        AskInHandler(this, [&] { return AskYesNo(this, inv.ownerName + ResText(IDS_INVITED_ASK, inv.groupName)); });
    if (!asked.WindowAlive()) return;
    Word record[5] = {TextWord(inv.ownerURI), TextWord(inv.groupName), asked.Answer() ? kAccept : kRefuse,
                      TextWord(inv.groupURI), TextWord(inv.ret)};
    Link().Send(M_AnswerInvitation, record);
}

// ---- 1007 -------------------------------------------------------------------------------

void CTarvolanDialog::OnIMSPublicGroupInviteResult(const char* pGroupName, const char* pInvitedUserURI, int pReturn)
{
    const CString groupName(pGroupName), invitee(pInvitedUserURI);
    CString line;
    line.Format("OnIMSPublicGroupInviteResultVeloractrl1: pGroupName= %s,pInvitedUserURI=%s,pReturn=%d",
                groupName.c_str(), invitee.c_str(), pReturn);
    WriteLog(line, 0);

    m_GroupData.RemoveInvitePending(invitee, groupName);
    const CString groupURI = m_GroupData.GetGroupURIByName(groupName, ROLE_OWNER, CString());
    const CString inviteeName = GetURIField(invitee, URI_USER);
    switch (pReturn) {
    case 1: AddAcceptedInvitee(groupURI, groupName, MemberSlot(invitee, inviteeName, kMemberInGroup)); break;
    case 2: ShowNotice(this, ResText(IDS_INVITE_REFUSED, inviteeName, groupName)); break;
    case 3: ShowNotice(this, ResText(IDS_INVITE_TIMEOUT, inviteeName, groupName)); break;
    default: break;
    }
}

// The invitee goes into my group's record. The tree gains the invitee's
// item at once only when the group's name is not new among the contact-list
// names reported lately (it is there, empty or too long); otherwise the
// item comes with the member notice or the group's details that follow.
void CTarvolanDialog::AddAcceptedInvitee(const CString& groupURI, const CString& groupName,
                                         const TMemberSlot& invitee)
{
    if (groupURI.IsEmpty() || invitee.uri.IsEmpty()) return;
    if (!IsNewInArray(m_GroupData.RecentListNames(), groupName)) AddOrUpdateMemberItem(groupURI, invitee);
    CGroupRecord* record = m_GroupData.GroupTable().Get(groupURI);
    if (record && record->kind == GROUP_PUBLIC && record->FindMember(invitee.uri) < 0) record->AddMember(invitee);
}

// ---- 1008 -------------------------------------------------------------------------------

void CTarvolanDialog::OnIMSReqJoinMyPublicGroup(const tagGroupJoin* pJoin)
{
    if (!pJoin) return;
    if (!PassesSignInCheck(*pJoin, WriteLog, "OnIMSReqJoinMyPublicGroupVeloractrl1: have logout,so return!",
                           AddJoinToPubGroupMessageTempToList))
        return;
    const TJoinRequest req = ReadJoinRequest(*pJoin);
    CString line;
    line.Format("OnIMSReqJoinMyPublicGroupVeloractrl1: pProposerURI=%s,pGroupName= %s,pReturn1=%s,pReturn2=%s,"
                "pProposerName=%s",
                req.proposerURI.c_str(), req.groupName.c_str(), req.ret1.c_str(), req.ret2.c_str(),
                req.proposerName.c_str());
    WriteLog(line, 0);

    const CString groupURI = m_GroupData.GetGroupURIByName(req.groupName, ROLE_OWNER, CString());
    const CTarvolan* group = groupURI.IsEmpty() ? nullptr : m_GroupData.TreeModel().FindGroup(groupURI);
    if (!group) return;
    const bool asking = std::any_of(m_GroupData.JoinApplications().begin(), m_GroupData.JoinApplications().end(),
                                    [&](const TJoinApplication& a) {
                                        return a.groupURI == groupURI && a.requester == req.proposerURI;
                                    });
    if (asking) return;  // that request's question is open
    m_GroupData.JoinApplications().push_back({groupURI, req.proposerURI});

    const CString name = req.proposerName.IsEmpty() ? req.proposerURI : req.proposerName;
    const auto asked =
        AskInHandler(this, [&] { return AskYesNo(this, ResText(IDS_JOIN_REQUEST_ASK, name, group->m_csName)); });
    if (!asked.WindowAlive()) return;
    const bool yes = asked.Answer();
    ForgetJoinRequest(groupURI, req.proposerURI);
    if (yes) RequestGroupInfoAgain(groupURI);
    Word record[4] = {TextWord(req.proposerURI), yes ? kAccept : kRefuse, TextWord(req.ret1), TextWord(req.ret2)};
    Link().Send(M_AnswerJoinRequest, record);
    if (yes) AddOrUpdateMemberItem(groupURI, MemberSlot(req.proposerURI, name, kMemberInGroup));
}

// ---- 1009 -------------------------------------------------------------------------------

void CTarvolanDialog::OnIMSReqJoinPublicGroupResult(const char* pGroupURI, const char* pGroupName, int iResult)
{
    const CString groupURI(pGroupURI), groupName(pGroupName);
    CString line;
    line.Format("OnIMSReqJoinPublicGroupResultVeloractrl1: pGroupURI=%s,pGroupName=%s,iResult=%d", groupURI.c_str(),
                groupName.c_str(), iResult);
    WriteLog(line, 0);

    QWidget* owner = m_OpenWindows.Window<CGroupInfoWindow>();
    if (!owner) owner = this;
    switch (iResult) {
    case 1: {
        const tagMyInfo* me = GetMyInfo();
        const CString myName = me ? CString::FromField(me->szDisplayName) : CString();
        AddOrUpdateMemberItem(groupURI, MemberSlot(SignedInURI(), myName, kMemberInGroup, GetOperationNumber()));
        RequestGroupInfoAgain(groupURI);
        ShowNotice(owner, ResText(IDS_JOIN_SUCCEEDED, groupName));
        break;
    }
    case 2: ShowNotice(owner, ResText(IDS_JOIN_REFUSED, groupName)); break;
    case 3: ShowNotice(owner, ResText(IDS_JOIN_TIMEOUT, groupName)); break;
    default: break;
    }
}

// ---- 1044 -------------------------------------------------------------------------------

void CTarvolanDialog::OnIMSInviteJoinResult(int kind, const char* groupURI, int iResult)
{
    if (kind != kInvitationAnswerKind) return;
    const CString uri(groupURI);
    // The invitation of that very group: a later invitation to another group
    // must not lend it its name or inviter.
    const auto it = std::find_if(m_ReceivedInvites.begin(), m_ReceivedInvites.end(),
                                 [&](const tagGroupInvite& r) { return !uri.IsEmpty() && CString::FromField(r.pGroupURI) == uri; });
    const bool known = it != m_ReceivedInvites.end();
    const TInvitation inv = known ? ReadInvitation(*it) : TInvitation{};
    if (known) m_ReceivedInvites.erase(it);

    if (iResult != RESULT_DONE) {
        ShowNotice(this, Utf8ToGbk("加入群组操作失败！"), MB_ICONEXCLAMATION);
        return;
    }
    RequestGroupInfoAgain(uri);
    if (known) AddJoinedGroup(inv.groupURI, inv.groupName, MemberSlot(inv.ownerURI, inv.ownerName, kMemberInGroup));
}

// A group I joined on an invitation: listed with me as member, kept in the
// table with the inviter as a member, and shown in the tree.
void CTarvolanDialog::AddJoinedGroup(const CString& groupURI, const CString& groupName, const TMemberSlot& inviter)
{
    TGroupListEntry entry;
    entry.uri = groupURI;
    entry.name = groupName;
    entry.kind = GROUP_PUBLIC;
    entry.owner = inviter.uri;
    entry.role = ROLE_MEMBER;
    m_GroupData.AddOrUpdateGroupListEntry(entry);

    CGroupRecord* record = m_GroupData.GroupTable().Get(groupURI);
    if (!record) {
        record = m_GroupData.GroupTable().Add(groupURI);  // null when the table is full
        if (record) {
            record->kind = GROUP_PUBLIC;
            record->role = ROLE_MEMBER;
            record->name = groupName;
        }
    }
    if (record && record->kind == GROUP_PUBLIC && !inviter.uri.IsEmpty() && record->FindMember(inviter.uri) < 0)
        record->AddMember(inviter);
    RebuildGroupAndMembers(groupURI);
}

// ---- the replay after sign-in (timer 1001) ---------------------------------------------

void CTarvolanDialog::ReplayParkedRequests()
{
    const int pause = m_nReplayPauseMs;
    if (!ReplayParked(GetInvitedToPubGroupMessageTempList, this, pause,
                      [this](const tagGroupInvite& r) { OnIMSInvitedToPublicGroup(&r); }))
        return;
    if (!ReplayParked(GetJoinToPubGroupMessageTempList, this, pause,
                      [this](const tagGroupJoin& r) { OnIMSReqJoinMyPublicGroup(&r); }))
        return;
    ReplayParked(GetTrsPubGroupReqMessageTempList, this, pause,
                 [this](const tagGroupTrsReq& r) { OnIMSTransferPublicGroupRequest(&r); });
}

} // namespace tarvolan
