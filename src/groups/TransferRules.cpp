#include "groups/TransferRules.h"

#include <algorithm>

#include "groups/GroupRequests.h"
#include "groups/InvitationRules.h"
#include "groups/RecordWords.h"

namespace tarvolan {

namespace {

constexpr int kAccept = 1;
constexpr int kRefuse = 2;

struct TTransfer {
    CString groupName, oldOwnerURI, oldOwnerName, groupURI, ret;
};

TTransfer ReadTransfer(const tagGroupTrsReq& r)
{
    return {CString::FromField(r.GroupName), CString::FromField(r.OldOwnerURI), CString::FromField(r.OldOwnerName),
            CString::FromField(r.GroupURI), CString::FromField(r.ReturnText)};
}

bool SameTransfer(const tagGroupTrsReq& r, const TTransfer& t)
{
    return CString::FromField(r.GroupURI) == t.groupURI && CString::FromField(r.OldOwnerURI) == t.oldOwnerURI;
}

// The owner's waiting notice and the member's question.
CString AckBoxName(const CString& groupURI, const CString& newOwnerURI)
{
    return "transferAck" + groupURI + newOwnerURI;
}

CString RequestBoxName(const TTransfer& t)
{
    return "transferReq" + t.groupURI + t.oldOwnerURI;
}

void LogTransfer(CGroupRulesHost& host, const char* handler, const TTransfer& t)
{
    CString line;
    line.Format("%s....GroupURI=%s,GroupName=%s,OldOwnerURI=%s,OldOwnerName=%s", handler, t.groupURI.c_str(),
                t.groupName.c_str(), t.oldOwnerURI.c_str(), t.oldOwnerName.c_str());
    host.WriteClientLog(line, 0);
}

void LogMissingRecord(CGroupRulesHost& host, const char* handler)
{
    CString line;
    line.Format("%s: Param is NULL! So Return!!", handler);
    host.WriteClientLog(line, 0);
}

ENotice AckNotice(int code)
{
    switch (code) {
    case RESULT_REFUSED: return NOTICE_TRANSFER_NO_RIGHT;
    case RESULT_NOT_FOUND: return NOTICE_TRANSFER_NOT_FOUND;
    case RESULT_LIMIT: return NOTICE_TRANSFER_LIMIT;
    case 503: return NOTICE_TRANSFER_SERVER_ERROR;
    default: return NOTICE_TRANSFER_UNKNOWN;
    }
}

} // namespace

// ---- 1024 -------------------------------------------------------------------------------

void CTransferRules::OnAck(const char* groupURI, const char* newOwnerURI, int code)
{
    const CString group(groupURI), newOwner(newOwnerURI);
    m_host.LogClient(0, "OnIMSTransferPublicGroupAckVeloractrl1....GroupURI=%s,NewOwnerURI=%s,Code=%d",
                        group.c_str(), newOwner.c_str(), code);
    switch (code) {
    case RESULT_PENDING: m_host.Tell(NOTICE_TRANSFER_SENT, CString(), CString(), AckBoxName(group, newOwner)); break;
    case RESULT_OFFLINE: {
        // The new owner is offline: named as the tree shows the member.
        const CTarvolanMember* member = m_data.TreeModel().FindMember(group, newOwner);
        m_host.Tell(NOTICE_TRANSFER_OFFLINE, member ? member->m_csDisplayName : newOwner);
        break;
    }
    default: m_host.Tell(AckNotice(code)); break;
    }
}

// ---- 1025 -------------------------------------------------------------------------------

void CTransferRules::OnRequest(const tagGroupTrsReq* request)
{
    static constexpr const char* kHandler = "OnIMSTransferPublicGroupRequestVeloractrl1";
    if (!request) {
        LogMissingRecord(m_host, kHandler);
        return;
    }
    const tagGroupTrsReq copy = *request;
    const TTransfer t = ReadTransfer(copy);
    LogTransfer(m_host, kHandler, t);
    const auto log = [this](const char* text, int level) { m_host.WriteClientLog(text, level); };
    if (!PassesSignInCheck(m_host, copy, log, "OnIMSTransferPublicGroupRequestVeloractrl1: have logout,so return!"))
        return;
    if (!m_data.TreeModel().FindGroup(t.groupURI)) return;
    auto& asking = m_data.TransferRequests();
    if (std::any_of(asking.begin(), asking.end(), [&](const tagGroupTrsReq& r) { return SameTransfer(r, t); }))
        return;  // that request's question is open
    asking.push_back(copy);

    const int answer = m_host.Ask(NOTICE_ASK_TRANSFER, t.oldOwnerName, t.groupName, RequestBoxName(t));
    if (answer == CGroupRulesHost::kWindowGone) return;
    if (answer != CGroupRulesHost::kClosed) {  // closed: withdrawn, nothing to answer
        const bool yes = answer == CGroupRulesHost::kYes;
        if (yes) RequestGroupInfoAgain(m_link, m_data.InfoRequestedGroups(), t.groupURI);
        Word record[4] = {TextWord(t.groupURI), TextWord(t.oldOwnerURI), TextWord(t.ret), yes ? kAccept : kRefuse};
        m_link.Send(M_AnswerTransfer, record);
    }
    const auto it = std::find_if(asking.begin(), asking.end(), [&](const tagGroupTrsReq& r) { return SameTransfer(r, t); });
    if (it != asking.end()) asking.erase(it);
}

// ---- 1026 -------------------------------------------------------------------------------

void CTransferRules::OnCancel(const tagGroupTrsReq* request)
{
    static constexpr const char* kHandler = "OnIMSTransferPublicGroupCancelVeloractrl1";
    if (!request) {
        LogMissingRecord(m_host, kHandler);
        return;
    }
    const TTransfer t = ReadTransfer(*request);
    LogTransfer(m_host, kHandler, t);
    m_host.DropParkedTransfer(t.groupURI, t.oldOwnerURI);  // only this offer
    m_host.CloseBox(RequestBoxName(t));
}

// ---- 1027 -------------------------------------------------------------------------------

void CTransferRules::OnResult(const char* groupURI, const char* newOwnerURI, int result)
{
    const CString group(groupURI), newOwner(newOwnerURI);
    m_host.LogClient(0, "OnIMSTransferPublicGroupResultVeloractrl1....GroupURI=%s,NewOwnerURI=%s,Result=%d",
                        group.c_str(), newOwner.c_str(), result);
    const CTarvolan* shown = m_data.TreeModel().FindGroup(group);
    const CTarvolanMember* member = shown ? shown->FindMember(newOwner) : nullptr;
    if (!member) return;
    const CString memberName = member->m_csDisplayName, groupName = shown->m_csName;
    m_host.CloseBox(AckBoxName(group, newOwner));
    switch (result) {
    case 1: m_host.Tell(NOTICE_TRANSFER_AGREED, memberName, groupName); break;
    case 2: m_host.Tell(NOTICE_TRANSFER_REFUSED, memberName, groupName); break;
    default: m_host.Tell(NOTICE_TRANSFER_UNKNOWN); break;
    }
}

} // namespace tarvolan
