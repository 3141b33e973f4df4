// Ownership transfer: at the old owner the acknowledgement of the request
// (1024) and the new owner's answer (1027); at the chosen member the request
// (1025) and its withdrawal (1026). The owner's waiting notice and the
// member's question are named boxes, so that the later message closes them.
#include <algorithm>


#include "clientkit/ClientKit.h"
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

struct TTransfer {
    CString groupName, oldOwnerURI, oldOwnerName, groupURI, ret;
};

TTransfer ReadTransfer(const tagGroupTrsReq& r)
{
    return {CString::FromField(r.GroupName), CString::FromField(r.OldOwnerURI), CString::FromField(r.OldOwnerName), CString::FromField(r.GroupURI),
            CString::FromField(r.ReturnText)};
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

void LogTransfer(const char* handler, const TTransfer& t)
{
    CString line;
    line.Format("%s....GroupURI=%s,GroupName=%s,OldOwnerURI=%s,OldOwnerName=%s", handler, t.groupURI.c_str(),
                t.groupName.c_str(), t.oldOwnerURI.c_str(), t.oldOwnerName.c_str());
    WriteLog(line, 0);
}

void LogMissingRecord(const char* handler)
{
    CString line;
    line.Format("%s: Param is NULL! So Return!!", handler);
    WriteLog(line, 0);
}

int AckNoticeId(int code)
{
    switch (code) {
    case RESULT_REFUSED: return IDS_TRANSFER_NO_RIGHT;
    case RESULT_NOT_FOUND: return IDS_TRANSFER_NOT_FOUND;
    case RESULT_LIMIT: return IDS_TRANSFER_LIMIT;
    case 503: return IDS_TRANSFER_SERVER_ERROR;
    default: return IDS_TRANSFER_UNKNOWN;
    }
}

} // namespace

// ---- 1024 -------------------------------------------------------------------------------

void CTarvolanDialog::OnIMSTransferPublicGroupAck(const char* groupURI, const char* newOwnerURI, int code)
{
    const CString group(groupURI), newOwner(newOwnerURI);
    CString line;
    line.Format("OnIMSTransferPublicGroupAckVeloractrl1....GroupURI=%s,NewOwnerURI=%s,Code=%d", group.c_str(),
                newOwner.c_str(), code);
    WriteLog(line, 0);
    switch (code) {
    case RESULT_PENDING:
        ShowNamedBox(Link().Module(), AckBoxName(group, newOwner), this, LoadResString(IDS_TRANSFER_SENT), MB_ICONINFORMATION);
        break;
    case RESULT_OFFLINE: {
        // The new owner is offline: named as the tree shows the member.
        const CTarvolanMember* member = m_GroupData.TreeModel().FindMember(group, newOwner);
        ShowNotice(this, ResText(IDS_TRANSFER_OFFLINE, member ? member->m_csDisplayName : newOwner));
        break;
    }
    default: ShowNotice(this, LoadResString(AckNoticeId(code))); break;
    }
}

// ---- 1025 -------------------------------------------------------------------------------

void CTarvolanDialog::OnIMSTransferPublicGroupRequest(const tagGroupTrsReq* pRequest)
{
    static constexpr const char* kHandler = "OnIMSTransferPublicGroupRequestVeloractrl1";
    if (!pRequest) {
        LogMissingRecord(kHandler);
        return;
    }
    const tagGroupTrsReq copy = *pRequest;
    const TTransfer t = ReadTransfer(copy);
    LogTransfer(kHandler, t);
    if (!PassesSignInCheck(copy, WriteLog, "OnIMSTransferPublicGroupRequestVeloractrl1: have logout,so return!",
                           AddTrsPubGroupReqMessageTempToList))
        return;
    if (!m_GroupData.TreeModel().FindGroup(t.groupURI)) return;
    const bool asking = std::any_of(m_GroupData.TransferRequests().begin(), m_GroupData.TransferRequests().end(),
                                    [&](const tagGroupTrsReq& r) { return SameTransfer(r, t); });
    if (asking) return;  // that request's question is open
    m_GroupData.TransferRequests().push_back(copy);

    const auto asked = AskInHandler(this, [&] {
        return ShowNamedBox(Link().Module(), RequestBoxName(t), this,
                            ResText(IDS_TRANSFER_ASK, t.oldOwnerName, t.groupName), MB_YESNO | MB_ICONQUESTION);
    });
    if (!asked.WindowAlive()) return;
    const int answer = asked.Answer();
    if (answer != 0) {  // 0: withdrawn, nothing to answer
        if (answer == IDYES) RequestGroupInfoAgain(t.groupURI);
        Word record[4] = {TextWord(t.groupURI), TextWord(t.oldOwnerURI), TextWord(t.ret),
                          answer == IDYES ? kAccept : kRefuse};
        Link().Send(M_AnswerTransfer, record);
    }
    const auto it = std::find_if(m_GroupData.TransferRequests().begin(), m_GroupData.TransferRequests().end(),
                                 [&](const tagGroupTrsReq& r) { return SameTransfer(r, t); });
    if (it != m_GroupData.TransferRequests().end()) m_GroupData.TransferRequests().erase(it);
}

// ---- 1026 -------------------------------------------------------------------------------

void CTarvolanDialog::OnIMSTransferPublicGroupCancel(const tagGroupTrsReq* pRequest)
{
    static constexpr const char* kHandler = "OnIMSTransferPublicGroupCancelVeloractrl1";
    if (!pRequest) {
        LogMissingRecord(kHandler);
        return;
    }
    const TTransfer t = ReadTransfer(*pRequest);
    LogTransfer(kHandler, t);
    DelTrsPubGroupReqMessageTmpFromList(t.groupURI, t.oldOwnerURI);  // only this offer
    CloseMsgBox(RequestBoxName(t));
}

// ---- 1027 -------------------------------------------------------------------------------

void CTarvolanDialog::OnIMSTransferPublicGroupResult(const char* groupURI, const char* newOwnerURI, int result)
{
    const CString group(groupURI), newOwner(newOwnerURI);
    CString line;
    line.Format("OnIMSTransferPublicGroupResultVeloractrl1....GroupURI=%s,NewOwnerURI=%s,Result=%d", group.c_str(),
                newOwner.c_str(), result);
    WriteLog(line, 0);
    const CTarvolan* shown = m_GroupData.TreeModel().FindGroup(group);
    const CTarvolanMember* member = shown ? shown->FindMember(newOwner) : nullptr;
    if (!member) return;
    const CString memberName = member->m_csDisplayName, groupName = shown->m_csName;
    CloseMsgBox(AckBoxName(group, newOwner));
    switch (result) {
    case 1: ShowNotice(this, ResText(IDS_TRANSFER_AGREED, memberName, groupName)); break;
    case 2: ShowNotice(this, ResText(IDS_TRANSFER_REFUSED, memberName, groupName)); break;
    default: ShowNotice(this, LoadResString(IDS_TRANSFER_UNKNOWN)); break;
    }
}

} // namespace tarvolan
