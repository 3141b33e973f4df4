// Host-message handlers that are declared but not built yet: each ignores
// its message. A handler moves out of this file when it is implemented.
#include "groups/TarvolanDialog.h"

using namespace tarvolan;

void CTarvolanDialog::OnHostBlackListEntry(const char* uri, const char* groupURI, int listKind) {}  // 1001
void CTarvolanDialog::OnHostBlackListChanged(int success, const char* uri, const char* group, int operation, int listKind) {}  // 1002
void CTarvolanDialog::OnIMSCreatePublicGroupResult(const char* pGroupName, const char* pGroupURI, int iResult) {}  // 1013
void CTarvolanDialog::OnIMSDeletePublicGroupResult(const char* pGroupName, int iResult) {}  // 1014
void CTarvolanDialog::OnIMSInviteToMyPuGroupSendResult(const char* pSomeoneURI, const char* pDisplayName, const char* pGroupName, int iResult) {}  // 1015
void CTarvolanDialog::OnIMSDelFromMyPuGroupResult(const char* pSomeoneURI, const char* pGroupName, int iResult) {}  // 1016
void CTarvolanDialog::OnIMSReqJoinPublicGroupSendResult(const char* pGroupURI, const char* pGroupIdentifier, int iResult) {}  // 1017
void CTarvolanDialog::OnIMSLeavePublicGroupResult(const char* pGroupName, const char* pGroupURI, int iResult) {}  // 1018
void CTarvolanDialog::OnIMSChangeDPNameInPuGroupResult(const char* pGroupURI, const char* pNewDisplayName, int iResult) {}  // 1019
void CTarvolanDialog::OnIMSSearchPuGroupResult(int iResultNum, const char* pSearchString, const tarvolan::TSearchResultEntry* pEntries) {}  // 1022
void CTarvolanDialog::OnIMSSearchPublicGroupFailed(const char* groupURI) {}  // 1023
void CTarvolanDialog::OnIMSAddGroupBlacklistMemResult(const char* pGroupName, const char* pDName, int iResult) {}  // 1029
void CTarvolanDialog::OnIMSDeletGroupBlacklistMemResult(const char* pGroupName, const char* pDName, int iResult) {}  // 1030
void CTarvolanDialog::OnIMSGetPublicGroupInfoListFailed(const char* groupURI, int result) {}  // 1031
void CTarvolanDialog::OnIMSGotGroupHistoryMsgList(int iCode, int iType, const char* lpGroupURI, int iListNum, const tarvolan::THistoryEntry* pList) {}  // 1032

