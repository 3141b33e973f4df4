#include "groups/InvitationRules.h"

#include <algorithm>

#include "common/TagReader.h"
#include "common/TextFunctions.h"
#include "groups/GroupRequests.h"
#include "groups/RecordWords.h"

namespace tarvolan {

namespace {

constexpr int kAccept = 1;
constexpr int kRefuse = 2;
constexpr int kInvitationAnswerKind = 1;           // the kind of 1044 that answers an invitation
constexpr size_t kInvitationsKept = 32;            // invitations that may still see their join result

struct TInvitation {
    CString groupName, ownerURI, ownerName, groupURI, ret;
};

TInvitation ReadInvitation(const tagGroupInvite& r)
{
    return {CString::FromField(r.pGroupName), CString::FromField(r.pOwnerURI), CString::FromField(r.pOwnerName),
            CString::FromField(r.pGroupURI), CString::FromField(r.pReturn)};
}

struct TJoinRequest {
    CString groupName, proposerURI, proposerName, ret1, ret2;
};

TJoinRequest ReadJoinRequest(const tagGroupJoin& r)
{
    return {CString::FromField(r.pGroupName), CString::FromField(r.pProposerURI),
            CString::FromField(r.pProposerName), CString::FromField(r.pReturn1), CString::FromField(r.pReturn2)};
}

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

} // namespace

// ---- shared steps ----------------------------------------------------------------------

void CInvitationRules::ShowMember(const CString& groupURI, const TMemberSlot& slot)
{
    CTarvolan* group = m_data.TreeModel().FindGroup(groupURI);
    if (!group || slot.uri.IsEmpty()) return;
    bool created = false;
    CTarvolanMember* member = m_data.TreeModel().CreateOrUpdateMember(*group, slot, &created);
    if (member) m_changes.Report({CHANGE_MEMBERS, groupURI, group, member, created ? DETAIL_NEW_MEMBER : DETAIL_NONE});
}

void CInvitationRules::ForgetJoinRequest(const CString& groupURI, const CString& proposerURI)
{
    try {
        m_data.JoinApplications().remove_if(
            [&](const TJoinApplication& a) { return a.groupURI == groupURI && a.requester == proposerURI; });
    } catch (...) {
        m_host.WriteClientLog("===remove item from m_PublicGroupUserReqList::exception===", 0);
    }
}

// ---- 1003 -------------------------------------------------------------------------------

void CInvitationRules::OnXmlMessage(const char* from, int type, const char* body)
{
    if (type != 1 && type != 2) return;
    const CString sender(from);
    CTagReader reader;
    if (!reader.Load(body ? body : "")) return;
    const CString groupID = XmlElementText(reader, "GroupID");
    if (groupID.IsEmpty()) return;  // nothing to answer or pass on
    if (type == 2) {
        const CString jid = XmlUnescape(XmlElementText(reader, "JID"));
        const CString id = XmlUnescape(groupID);
        if (jid.IsEmpty()) return;
        Word record[2] = {TextWord(jid), TextWord(id)};
        m_link.Send(M_ForwardXmlAcceptance, record);
        return;
    }
    const CString fromName = XmlUnescape(XmlElementText(reader, "FromName"));
    const CString groupName = XmlUnescape(XmlElementText(reader, "GroupName"));
    if (m_host.Ask(NOTICE_ASK_INVITED, fromName, groupName, CString()) != CGroupRulesHost::kYes) return;
    const CString me = m_host.MyURI();
    // The identifier goes back as it stood in the body, so it stays valid XML.
    const CString answer = "<JID>" + XmlEscape(me) + "</JID><GroupID>" + groupID + "</GroupID>";
    Word record[4] = {TextWord(me), TextWord(sender), 2, TextWord(answer)};
    m_link.Send(M_AcceptXmlInvitation, record);
}

// ---- 1006 -------------------------------------------------------------------------------

void CInvitationRules::RememberInvitation(const tagGroupInvite& invite)
{
    const CString groupURI = CString::FromField(invite.pGroupURI);
    m_ReceivedInvites.remove_if([&](const tagGroupInvite& r) { return CString::FromField(r.pGroupURI) == groupURI; });
    m_ReceivedInvites.push_back(invite);
    if (m_ReceivedInvites.size() > kInvitationsKept) m_ReceivedInvites.pop_front();
}

void CInvitationRules::OnInvited(const tagGroupInvite* invite)
{
    if (!invite) return;
    RememberInvitation(*invite);
    const auto logToHost = [this](const char* text, int level) { m_link.Log(text, level); };
    if (!PassesSignInCheck(m_host, *invite, logToHost, "OnIMSInvitedToPublicGroupVeloractrl1: have logout,so return!"))
        return;
    const TInvitation inv = ReadInvitation(*invite);
    m_host.LogClient(0, "OnIMSInvitedToPublicGroupVeloractrl1:pOwnerURI=%s, pOwnerName=%s, pGroupName= %s,pGroupURI=%s,"
                        "pReturn=%s",
                        inv.ownerURI.c_str(), inv.ownerName.c_str(), inv.groupName.c_str(), inv.groupURI.c_str(),
                        inv.ret.c_str());

    const int answer = m_host.Ask(NOTICE_ASK_INVITED, inv.ownerName, inv.groupName, CString());
    if (answer == CGroupRulesHost::kWindowGone) return;
    Word record[5] = {TextWord(inv.ownerURI), TextWord(inv.groupName),
                      answer == CGroupRulesHost::kYes ? kAccept : kRefuse, TextWord(inv.groupURI), TextWord(inv.ret)};
    m_link.Send(M_AnswerInvitation, record);
}

// ---- 1007 -------------------------------------------------------------------------------

void CInvitationRules::OnInviteResult(const char* groupName, const char* inviteeURI, int result)
{
    const CString name(groupName), invitee(inviteeURI);
    m_host.LogClient(0, "OnIMSPublicGroupInviteResultVeloractrl1: pGroupName= %s,pInvitedUserURI=%s,pReturn=%d",
                        name.c_str(), invitee.c_str(), result);

    m_data.RemoveInvitePending(invitee, name);
    const CString groupURI = m_data.GetGroupURIByName(name, ROLE_OWNER, CString());
    const CString inviteeName = GetURIField(invitee, URI_USER);
    switch (result) {
    case 1: AddAcceptedInvitee(groupURI, name, MemberSlot(invitee, inviteeName, kMemberInGroup)); break;
    case 2: m_host.Tell(NOTICE_INVITE_REFUSED, inviteeName, name); break;
    case 3: m_host.Tell(NOTICE_INVITE_TIMEOUT, inviteeName, name); break;
    default: break;
    }
}

// The invitee goes into my group's record. The tree gains the invitee at
// once only when the group's name is not new among the contact-list names
// reported lately (it is there, empty or too long); otherwise the member
// comes with the member notice or the group's details that follow.
void CInvitationRules::AddAcceptedInvitee(const CString& groupURI, const CString& groupName,
                                          const TMemberSlot& invitee)
{
    if (groupURI.IsEmpty() || invitee.uri.IsEmpty()) return;
    if (!IsNewInArray(m_data.RecentListNames(), groupName)) ShowMember(groupURI, invitee);
    CGroupRecord* record = m_data.GroupTable().Get(groupURI);
    if (record && record->kind == GROUP_PUBLIC && record->FindMember(invitee.uri) < 0) record->AddMember(invitee);
}

// ---- 1008 -------------------------------------------------------------------------------

void CInvitationRules::OnJoinRequest(const tagGroupJoin* join)
{
    if (!join) return;
    const auto log = [this](const char* text, int level) { m_host.WriteClientLog(text, level); };
    if (!PassesSignInCheck(m_host, *join, log, "OnIMSReqJoinMyPublicGroupVeloractrl1: have logout,so return!"))
        return;
    const TJoinRequest req = ReadJoinRequest(*join);
    CString line;
    line.Format("OnIMSReqJoinMyPublicGroupVeloractrl1: pProposerURI=%s,pGroupName= %s,pReturn1=%s,pReturn2=%s,"
                "pProposerName=%s",
                req.proposerURI.c_str(), req.groupName.c_str(), req.ret1.c_str(), req.ret2.c_str(),
                req.proposerName.c_str());
    log(line, 0);

    const CString groupURI = m_data.GetGroupURIByName(req.groupName, ROLE_OWNER, CString());
    const CTarvolan* group = groupURI.IsEmpty() ? nullptr : m_data.TreeModel().FindGroup(groupURI);
    if (!group) return;
    const bool asking = std::any_of(m_data.JoinApplications().begin(), m_data.JoinApplications().end(),
                                    [&](const TJoinApplication& a) {
                                        return a.groupURI == groupURI && a.requester == req.proposerURI;
                                    });
    if (asking) return;  // that request's question is open
    m_data.JoinApplications().push_back({groupURI, req.proposerURI});

    const CString name = req.proposerName.IsEmpty() ? req.proposerURI : req.proposerName;
    const int answer = m_host.Ask(NOTICE_ASK_JOIN_REQUEST, name, group->m_csName, CString());
    if (answer == CGroupRulesHost::kWindowGone) return;
    const bool yes = answer == CGroupRulesHost::kYes;
    ForgetJoinRequest(groupURI, req.proposerURI);
    if (yes) RequestGroupInfoAgain(m_link, m_data.InfoRequestedGroups(), groupURI);
    Word record[4] = {TextWord(req.proposerURI), yes ? kAccept : kRefuse, TextWord(req.ret1), TextWord(req.ret2)};
    m_link.Send(M_AnswerJoinRequest, record);
    if (yes) ShowMember(groupURI, MemberSlot(req.proposerURI, name, kMemberInGroup));
}

// ---- 1009 -------------------------------------------------------------------------------

void CInvitationRules::OnApplicationResult(const char* groupURI, const char* groupName, int result)
{
    const CString uri(groupURI), name(groupName);
    m_host.LogClient(0, "OnIMSReqJoinPublicGroupResultVeloractrl1: pGroupURI=%s,pGroupName=%s,iResult=%d",
                        uri.c_str(), name.c_str(), result);

    switch (result) {
    case 1:
        ShowMember(uri, MemberSlot(m_host.MyURI(), m_host.MyDisplayName(), kMemberInGroup, m_host.MyPhone()));
        RequestGroupInfoAgain(m_link, m_data.InfoRequestedGroups(), uri);
        m_host.Tell(NOTICE_APPLICATION_ACCEPTED, name);
        break;
    case 2: m_host.Tell(NOTICE_APPLICATION_REFUSED, name); break;
    case 3: m_host.Tell(NOTICE_APPLICATION_TIMEOUT, name); break;
    default: break;
    }
}

// ---- 1044 -------------------------------------------------------------------------------

void CInvitationRules::OnInviteJoinResult(int kind, const char* groupURI, int result)
{
    if (kind != kInvitationAnswerKind) return;
    const CString uri(groupURI);
    // The invitation of that very group: a later invitation to another group
    // must not lend it its name or inviter.
    const auto it = std::find_if(m_ReceivedInvites.begin(), m_ReceivedInvites.end(), [&](const tagGroupInvite& r) {
        return !uri.IsEmpty() && CString::FromField(r.pGroupURI) == uri;
    });
    const bool known = it != m_ReceivedInvites.end();
    const TInvitation inv = known ? ReadInvitation(*it) : TInvitation{};
    if (known) m_ReceivedInvites.erase(it);

    if (result != RESULT_DONE) {
        m_host.Tell(NOTICE_INVITED_JOIN_FAILED);
        return;
    }
    RequestGroupInfoAgain(m_link, m_data.InfoRequestedGroups(), uri);
    if (known) AddJoinedGroup(inv.groupURI, inv.groupName, MemberSlot(inv.ownerURI, inv.ownerName, kMemberInGroup));
}

// A group I joined on an invitation: listed with me as member, kept in the
// table with the inviter as a member, and shown in the tree.
void CInvitationRules::AddJoinedGroup(const CString& groupURI, const CString& groupName, const TMemberSlot& inviter)
{
    TGroupListEntry entry;
    entry.uri = groupURI;
    entry.name = groupName;
    entry.kind = GROUP_PUBLIC;
    entry.owner = inviter.uri;
    entry.role = ROLE_MEMBER;
    m_data.AddOrUpdateGroupListEntry(entry);

    CGroupRecord* record = m_data.GroupTable().Get(groupURI);
    if (!record) {
        record = m_data.GroupTable().Add(groupURI);  // null when the table is full
        if (record) {
            record->kind = GROUP_PUBLIC;
            record->role = ROLE_MEMBER;
            record->name = groupName;
        }
    }
    if (record && record->kind == GROUP_PUBLIC && !inviter.uri.IsEmpty() && record->FindMember(inviter.uri) < 0)
        record->AddMember(inviter);
    if (!groupURI.IsEmpty()) m_changes.Report({CHANGE_MEMBERS, groupURI, m_data.TreeModel().FindGroup(groupURI)});
}

} // namespace tarvolan
