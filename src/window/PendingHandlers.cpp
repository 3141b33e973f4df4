// Host-message handlers that are declared but not built yet: each ignores
// its message. A handler moves out of this file when it is implemented.
#include "window/TarvolanDialog.h"

namespace tarvolan {

void CTarvolanDialog::OnIMSSearchPuGroupResult(int iResultNum, const char* pSearchString, const tarvolan::TSearchResultEntry* pEntries) {}  // 1022
void CTarvolanDialog::OnIMSSearchPublicGroupFailed(const char* groupURI) {}  // 1023

} // namespace tarvolan
