// A failed group-information query (1031), and what the history viewer is
// told of the pages of a group's message history (1032, applied by
// CHistoryRules).
#include "clientkit/ClientKit.h"
#include "conversation/TarvolanHistoryDialog.h"
#include "window/TarvolanDialog.h"
#include "platform/UiDriver.h"
#include "res/ModuleResources.h"

namespace tarvolan {

// ---- 1031 -------------------------------------------------------------------------------

void CTarvolanDialog::OnIMSGetPublicGroupInfoListFailed(const char* groupURI, int result)
{
    const CString uri(groupURI ? groupURI : "");
    CString line;
    line.Format("OnIMSGetPublicGroupInfoListFailedVeloractrl1....GroupURI=%s,Result=%d", uri.c_str(), result);
    WriteLog(line, 0);
    switch (result) {
    case 403:
        if (!uri.IsEmpty()) OnIMSDeleteMeInPublicGroup(uri.c_str());
        break;
    case 404:
        if (!uri.IsEmpty()) OnIMSPublicGroupDeleted(uri.c_str());
        break;
    default:
        ShowMessageBox(this, LoadResString(IDS_FETCH_FAILED), LoadResString(IDS_SYSTEM_PROMPT), MB_ICONINFORMATION);
        break;
    }
}

// ---- 1032: the viewer's part ----------------------------------------------------------------

bool CTarvolanDialog::HistoryViewerOpen(const CTarvolan& group) const
{
    return FindHistoryViewer(group) != nullptr;
}

void CTarvolanDialog::ShowHistoryAnswer(const CTarvolan& group, int detail)
{
    CTarvolanHistoryDialog* viewer = FindHistoryViewer(group);
    if (!viewer) return;
    if (detail == DETAIL_PAGE_STORED) viewer->ShowHistoryList();
    viewer->OnHistoryResult(detail == DETAIL_PAGE_STORED ? 0 : 1);
}

} // namespace tarvolan
