// Host-message handlers that are declared but not built yet: each ignores
// its message. A handler moves out of this file when it is implemented.
#include "groups/TarvolanDialog.h"

using namespace tarvolan;

void CTarvolanDialog::OnHostBlackListEntry(const char* uri, const char* groupURI, int listKind) {}  // 1001
void CTarvolanDialog::OnHostBlackListChanged(int success, const char* uri, const char* group, int operation, int listKind) {}  // 1002
void CTarvolanDialog::OnIMSXmlMessage(const char* pFrom, int iType, const char* pBody) {}  // 1003
void CTarvolanDialog::OnIMSInvitedToPublicGroup(const tarvolan::tagGroupInvite* pInvite) {}  // 1006
void CTarvolanDialog::OnIMSPublicGroupInviteResult(const char* pGroupName, const char* pInvitedUserURI, int pReturn) {}  // 1007
void CTarvolanDialog::OnIMSReqJoinMyPublicGroup(const tarvolan::tagGroupJoin* pJoin) {}  // 1008
void CTarvolanDialog::OnIMSReqJoinPublicGroupResult(const char* pGroupURI, const char* pGroupName, int iResult) {}  // 1009
void CTarvolanDialog::OnIMSPublicGroupMemberNotify(int iType, const char* pGroupName, const char* pOwnerURI, const char* pMemberURI, const char* pMemberDisplay, const char* pMemberInfo, const char* pMemberPhone) {}  // 1010
void CTarvolanDialog::OnIMSCreatePublicGroupResult(const char* pGroupName, const char* pGroupURI, int iResult) {}  // 1013
void CTarvolanDialog::OnIMSDeletePublicGroupResult(const char* pGroupName, int iResult) {}  // 1014
void CTarvolanDialog::OnIMSInviteToMyPuGroupSendResult(const char* pSomeoneURI, const char* pDisplayName, const char* pGroupName, int iResult) {}  // 1015
void CTarvolanDialog::OnIMSDelFromMyPuGroupResult(const char* pSomeoneURI, const char* pGroupName, int iResult) {}  // 1016
void CTarvolanDialog::OnIMSReqJoinPublicGroupSendResult(const char* pGroupURI, const char* pGroupIdentifier, int iResult) {}  // 1017
void CTarvolanDialog::OnIMSLeavePublicGroupResult(const char* pGroupName, const char* pGroupURI, int iResult) {}  // 1018
void CTarvolanDialog::OnIMSChangeDPNameInPuGroupResult(const char* pGroupURI, const char* pNewDisplayName, int iResult) {}  // 1019
void CTarvolanDialog::OnIMSPublicGroupDeleted(const char* pGroupURI) {}  // 1020
void CTarvolanDialog::OnIMSDeleteMeInPublicGroup(const char* pGroupURI) {}  // 1021
void CTarvolanDialog::OnIMSSearchPuGroupResult(int iResultNum, const char* pSearchString, const tarvolan::TSearchResultEntry* pEntries) {}  // 1022
void CTarvolanDialog::OnIMSSearchPublicGroupFailed(const char* groupURI) {}  // 1023
void CTarvolanDialog::OnIMSTransferPublicGroupAck(const char* groupURI, const char* newOwnerURI, int code) {}  // 1024
void CTarvolanDialog::OnIMSTransferPublicGroupRequest(const tarvolan::tagGroupTrsReq* pRequest) {}  // 1025
void CTarvolanDialog::OnIMSTransferPublicGroupCancel(const tarvolan::tagGroupTrsReq* pRequest) {}  // 1026
void CTarvolanDialog::OnIMSTransferPublicGroupResult(const char* groupURI, const char* newOwnerURI, int result) {}  // 1027
void CTarvolanDialog::OnIMSMemberPresenceChanged(const char* groupURI, const char* memberURI, const char* presence) {}  // 1028
void CTarvolanDialog::OnIMSAddGroupBlacklistMemResult(const char* pGroupName, const char* pDName, int iResult) {}  // 1029
void CTarvolanDialog::OnIMSDeletGroupBlacklistMemResult(const char* pGroupName, const char* pDName, int iResult) {}  // 1030
void CTarvolanDialog::OnIMSGetPublicGroupInfoListFailed(const char* groupURI, int result) {}  // 1031
void CTarvolanDialog::OnIMSGotGroupHistoryMsgList(int iCode, int iType, const char* lpGroupURI, int iListNum, const tarvolan::THistoryEntry* pList) {}  // 1032
void CTarvolanDialog::OnIMSInviteJoinResult(int kind, const char* groupURI, int iResult) {}  // 1044

