// The host-message dispatcher of the main window: decodes each record into
// the arguments of its handler or rules object, in record order, through the
// record table's reader (texts never null, counts clamped to the protocol
// limits, a null array counts as empty). The handlers own no part of the
// record.
#include "protocol/RecordReader.h"
#include "window/TarvolanDialog.h"

namespace tarvolan {

intptr_t CTarvolanDialog::Dispatch(int code, void* record)
{
    if (code > H_PlaceWindow) return code;
    if (!m_bCreated) return 0;
    CRecordReader w(code, record);
    if (!w.HasRecord()) return 0;
    switch (code) {
    case H_PlaceWindow:
        MoveWindowTo(w.Int(0), w.Int(1), w.Int(2), w.Int(3));
        break;
    case H_BlacklistEntry:
        m_BlacklistRules.OnEntry(w.Text(0), w.Text(1), w.Int(2));
        break;
    case H_BlacklistChanged:
        m_BlacklistRules.OnChanged(w.Int(0), w.Text(1), w.Text(2), w.Int(3), w.Int(4));
        break;
    case H_XmlInvitation:
        m_InvitationRules.OnXmlMessage(w.Text(0), w.Int(2), w.Text(3));
        break;
    case H_GroupInfoList:
        m_LoadingRules.OnGroupInfo(w.Record<TGroupInfoList>());
        break;
    case H_OnePublicGroup:
        m_LoadingRules.OnOnePublicGroup(w.Text(0), w.Text(1), w.Int(2), w.Blocks<TGroupDescription>(3), w.Count(4),
                                        w.Blocks<TMemberEntry>(5), w.Count(6), w.Blocks<TBlacklistEntry>(7));
        break;
    case H_InvitedToGroup:
        m_InvitationRules.OnInvited(w.Record<tagGroupInvite>());
        break;
    case H_InviteResult:
        m_InvitationRules.OnInviteResult(w.Text(0), w.Text(1), w.Int(2));
        break;
    case H_JoinRequest:
        m_InvitationRules.OnJoinRequest(w.Record<tagGroupJoin>());
        break;
    case H_JoinRequestResult:
        m_InvitationRules.OnApplicationResult(w.Text(0), w.Text(1), w.Int(2));
        break;
    case H_MemberNotify:
        m_MembershipRules.OnMemberNotify(w.Int(0), w.Text(1), w.Text(2), w.Text(3), w.Text(4), w.Text(5), w.Text(6));
        break;
    case H_ModifyGroupSuccess:
        m_AttributeRules.OnModifySucceeded(w.Text(0), w.Int(1), w.Text(2), w.Int(3));
        break;
    case H_GroupAttributeChanged:
        m_AttributeRules.OnAttributeChanged(w.Text(0), w.Int(1), w.Text(2), w.Int(3));
        break;
    case H_CreateGroupResult:
        m_ResultRules.OnCreateResult(w.Text(0), w.Text(1), w.Int(2));
        break;
    case H_DeleteGroupResult:
        m_ResultRules.OnDeleteResult(w.Text(0), w.Int(1));
        break;
    case H_InviteSendResult:
        m_ResultRules.OnInviteSendResult(w.Text(0), w.Text(1), w.Text(2), w.Int(3));
        break;
    case H_RemoveMemberResult:
        m_ResultRules.OnRemoveMemberResult(w.Text(0), w.Text(1), w.Int(2));
        break;
    case H_JoinSendResult:
        m_ResultRules.OnJoinSendResult(w.Text(0), w.Text(1), w.Int(2));
        break;
    case H_LeaveGroupResult:
        m_ResultRules.OnLeaveResult(w.Text(0), w.Text(1), w.Int(2));
        break;
    case H_ChangeNameResult:
        m_ResultRules.OnChangeNameResult(w.Text(0), w.Text(1), w.Int(2));
        break;
    case H_GroupDeleted:
        m_MembershipRules.OnGroupDeleted(w.Text(0));
        break;
    case H_DeletedFromGroup:
        m_MembershipRules.OnRemovedFromGroup(w.Text(0));
        break;
    case H_SearchResult:
        // The count as sent: the handler reads at most a page and keeps the
        // host's number for the next-page button.
        m_SearchRules.OnSearchResult(w.Int(0), w.Text(1), w.Blocks<TSearchResultEntry>(2));
        break;
    case H_SearchFailed:
        m_SearchRules.OnSearchFailed(w.Text(0));
        break;
    case H_TransferAck:
        m_TransferRules.OnAck(w.Text(0), w.Text(1), w.Int(2));
        break;
    case H_TransferRequest:
        m_TransferRules.OnRequest(w.Record<tagGroupTrsReq>());
        break;
    case H_TransferCancel:
        m_TransferRules.OnCancel(w.Record<tagGroupTrsReq>());
        break;
    case H_TransferResult:
        m_TransferRules.OnResult(w.Text(0), w.Text(1), w.Int(2));
        break;
    case H_MemberPresence:
    case H_MemberPresence2:
        m_MembershipRules.OnMemberPresence(w.Text(0), w.Text(1), w.Text(2));
        break;
    case H_AddBlacklistResult:
        m_BlacklistRules.OnAddResult(w.Text(0), w.Text(1), w.Int(2));
        break;
    case H_DeleteBlacklistResult:
        m_BlacklistRules.OnRemoveResult(w.Text(0), w.Text(1), w.Int(2));
        break;
    case H_GroupInfoFailed:
        m_MembershipRules.OnGroupInfoFailed(w.Text(0), w.Int(1));
        break;
    case H_HistoryList:
        m_HistoryRules.OnHistoryList(w.Int(0), w.Int(1), w.Text(2), w.Count(3), w.Blocks<THistoryEntry>(4));
        break;
    case H_RebuildMembers:
        m_LoadingRules.OnRebuildMembersFromTable();
        break;
    case H_GroupMessage:
        if (m_GroupMessageRules.OnGroupMessage(w.Int(0), w.Text(1), w.Text(2), w.Text(3))) w.Answer(4, 1);
        break;
    case H_MemberProfile:
        m_ProfileRules.OnProfileChanged(w.Record<TMemberProfile>());
        ReportSelection();  // the host waits for it after every profile update
        break;
    case H_GetProfileText:
        w.Answer(1, reinterpret_cast<Word>(m_ProfileRules.ProfileText(w.Text(0))));
        break;
    case H_SetProfileText:
        m_ProfileRules.SetProfileText(w.Text(0), w.Text(1));
        break;
    case H_FullRowSelect:
        SetFullRowSelect(w.Int(0));
        break;
    case H_SignedIn:
        OnHostSignedIn();
        break;
    case H_FindMember:
        if (TMemberProfile* profile = m_ProfileRules.FindProfile(w.Text(0))) {
            w.Answer(1, reinterpret_cast<Word>(profile));
            w.Answer(2, 1);
        }
        break;
    case H_InviteJoinResult:
        m_InvitationRules.OnInviteJoinResult(w.Int(0), w.Text(1), w.Int(2));
        break;
    default:
        break;  // 1037, 1042 and every unknown code
    }
    return 0;
}

} // namespace tarvolan
