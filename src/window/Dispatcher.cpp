// The host-message dispatcher of the main window: decodes each record into
// its handler's arguments, in record order. The handlers own no part of the
// record. Texts arrive as pointers; a null text reads as "". Counts are
// clamped to the protocol limits, and a null array counts as empty.
#include <algorithm>

#include "window/TarvolanDialog.h"

using namespace tarvolan;

namespace {

class CWords {
public:
    explicit CWords(void* record) : m_w(static_cast<Word*>(record)) {}

    const char* Text(int i) const
    {
        const char* p = reinterpret_cast<const char*>(m_w[i]);
        return p ? p : "";
    }
    int Int(int i) const { return static_cast<int>(static_cast<int32_t>(m_w[i])); }
    template <class T> const T* Ptr(int i) const { return reinterpret_cast<const T*>(m_w[i]); }
    void Set(int i, Word value) { m_w[i] = value; }

private:
    Word* m_w;
};

int ClampCount(int count, int limit, const void* array)
{
    if (!array) return 0;
    return std::clamp(count, 0, limit);
}

bool ReadsNoRecord(int code) { return code == H_RebuildMembers || code == H_SignedIn; }

bool TakesPointerAsIs(int code)
{
    return code == H_GroupInfoList || code == H_InvitedToGroup || code == H_JoinRequest ||
           code == H_TransferRequest || code == H_TransferCancel;
}

} // namespace

intptr_t CTarvolanDialog::Dispatch(int code, void* record)
{
    if (code > H_PlaceWindow) return code;
    if (!m_bCreated) return 0;
    if (!record && !ReadsNoRecord(code) && !TakesPointerAsIs(code)) return 0;
    CWords w(record);
    switch (code) {
    case H_PlaceWindow:
        MoveWindowTo(w.Int(0), w.Int(1), w.Int(2), w.Int(3));
        break;
    case H_BlacklistEntry:
        OnHostBlackListEntry(w.Text(0), w.Text(1), w.Int(2));
        break;
    case H_BlacklistChanged:
        OnHostBlackListChanged(w.Int(0), w.Text(1), w.Text(2), w.Int(3), w.Int(4));
        break;
    case H_XmlInvitation:
        OnIMSXmlMessage(w.Text(0), w.Int(2), w.Text(3));
        break;
    case H_GroupInfoList:
        OnIMSGotGroupInfo(static_cast<const TGroupInfoList*>(record));
        break;
    case H_OnePublicGroup: {
        const auto* members = w.Ptr<TMemberEntry>(5);
        const auto* blacklist = w.Ptr<TBlacklistEntry>(7);
        OnIMSGotOnePublicGroup(w.Text(0), w.Text(1), w.Int(2), w.Ptr<TGroupDescription>(3),
                               ClampCount(w.Int(4), kMaxMembers, members), members,
                               ClampCount(w.Int(6), kMaxBlacklist, blacklist), blacklist);
        break;
    }
    case H_InvitedToGroup:
        OnIMSInvitedToPublicGroup(static_cast<const tagGroupInvite*>(record));
        break;
    case H_InviteResult:
        OnIMSPublicGroupInviteResult(w.Text(0), w.Text(1), w.Int(2));
        break;
    case H_JoinRequest:
        OnIMSReqJoinMyPublicGroup(static_cast<const tagGroupJoin*>(record));
        break;
    case H_JoinRequestResult:
        OnIMSReqJoinPublicGroupResult(w.Text(0), w.Text(1), w.Int(2));
        break;
    case H_MemberNotify:
        OnIMSPublicGroupMemberNotify(w.Int(0), w.Text(1), w.Text(2), w.Text(3), w.Text(4), w.Text(5), w.Text(6));
        break;
    case H_ModifyGroupSuccess:
        OnIMSModifyPublicGroupSuccess(w.Text(0), w.Int(1), w.Text(2), w.Int(3));
        break;
    case H_GroupAttributeChanged:
        OnPublicGroupAttributeChanged(w.Text(0), w.Int(1), w.Text(2), w.Int(3));
        break;
    case H_CreateGroupResult:
        OnIMSCreatePublicGroupResult(w.Text(0), w.Text(1), w.Int(2));
        break;
    case H_DeleteGroupResult:
        OnIMSDeletePublicGroupResult(w.Text(0), w.Int(1));
        break;
    case H_InviteSendResult:
        OnIMSInviteToMyPuGroupSendResult(w.Text(0), w.Text(1), w.Text(2), w.Int(3));
        break;
    case H_RemoveMemberResult:
        OnIMSDelFromMyPuGroupResult(w.Text(0), w.Text(1), w.Int(2));
        break;
    case H_JoinSendResult:
        OnIMSReqJoinPublicGroupSendResult(w.Text(0), w.Text(1), w.Int(2));
        break;
    case H_LeaveGroupResult:
        OnIMSLeavePublicGroupResult(w.Text(0), w.Text(1), w.Int(2));
        break;
    case H_ChangeNameResult:
        OnIMSChangeDPNameInPuGroupResult(w.Text(0), w.Text(1), w.Int(2));
        break;
    case H_GroupDeleted:
        OnIMSPublicGroupDeleted(w.Text(0));
        break;
    case H_DeletedFromGroup:
        OnIMSDeleteMeInPublicGroup(w.Text(0));
        break;
    case H_SearchResult: {
        const auto* entries = w.Ptr<TSearchResultEntry>(2);
        OnIMSSearchPuGroupResult(ClampCount(w.Int(0), kMaxSearchResults, entries), w.Text(1), entries);
        break;
    }
    case H_SearchFailed:
        OnIMSSearchPublicGroupFailed(w.Text(0));
        break;
    case H_TransferAck:
        OnIMSTransferPublicGroupAck(w.Text(0), w.Text(1), w.Int(2));
        break;
    case H_TransferRequest:
        OnIMSTransferPublicGroupRequest(static_cast<const tagGroupTrsReq*>(record));
        break;
    case H_TransferCancel:
        OnIMSTransferPublicGroupCancel(static_cast<const tagGroupTrsReq*>(record));
        break;
    case H_TransferResult:
        OnIMSTransferPublicGroupResult(w.Text(0), w.Text(1), w.Int(2));
        break;
    case H_MemberPresence:
    case H_MemberPresence2:
        OnIMSMemberPresenceChanged(w.Text(0), w.Text(1), w.Text(2));
        break;
    case H_AddBlacklistResult:
        OnIMSAddGroupBlacklistMemResult(w.Text(0), w.Text(1), w.Int(2));
        break;
    case H_DeleteBlacklistResult:
        OnIMSDeletGroupBlacklistMemResult(w.Text(0), w.Text(1), w.Int(2));
        break;
    case H_GroupInfoFailed:
        OnIMSGetPublicGroupInfoListFailed(w.Text(0), w.Int(1));
        break;
    case H_HistoryList: {
        const auto* entries = w.Ptr<THistoryEntry>(4);
        OnIMSGotGroupHistoryMsgList(w.Int(0), w.Int(1), w.Text(2),
                                    ClampCount(w.Int(3), kMaxHistoryEntries, entries), entries);
        break;
    }
    case H_RebuildMembers:
        OnRebuildMembersFromTable();
        break;
    case H_GroupMessage:
        if (OnIMSGotGroupMessage(w.Int(0), w.Text(1), w.Text(2), w.Text(3))) w.Set(4, 1);
        break;
    case H_MemberProfile:
        OnIMSMemberProfileChanged(static_cast<const TMemberProfile*>(record));
        break;
    case H_GetProfileText:
        w.Set(1, reinterpret_cast<Word>(OnGetMemberProfileText(w.Text(0))));
        break;
    case H_SetProfileText:
        OnSetMemberProfileText(w.Text(0), w.Text(1));
        break;
    case H_FullRowSelect:
        SetFullRowSelect(w.Int(0));
        break;
    case H_SignedIn:
        OnHostSignedIn();
        break;
    case H_FindMember:
        if (TMemberProfile* profile = OnFindMemberProfile(w.Text(0))) {
            w.Set(1, reinterpret_cast<Word>(profile));
            w.Set(2, 1);
        }
        break;
    case H_InviteJoinResult:
        OnIMSInviteJoinResult(w.Int(0), w.Text(1), w.Int(2));
        break;
    default:
        break;  // 1037, 1042 and every unknown code
    }
    return 0;
}
