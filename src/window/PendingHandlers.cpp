// Host-message handlers that are declared but not built yet: each ignores
// its message. A handler moves out of this file when it is implemented.
#include "window/TarvolanDialog.h"

namespace tarvolan {

void CTarvolanDialog::OnHostBlackListEntry(const char* uri, const char* groupURI, int listKind) {}  // 1001
void CTarvolanDialog::OnHostBlackListChanged(int success, const char* uri, const char* group, int operation, int listKind) {}  // 1002
void CTarvolanDialog::OnIMSGetPublicGroupInfoListFailed(const char* groupURI, int result) {}  // 1031
void CTarvolanDialog::OnIMSGotGroupHistoryMsgList(int iCode, int iType, const char* lpGroupURI, int iListNum, const tarvolan::THistoryEntry* pList) {}  // 1032

} // namespace tarvolan
