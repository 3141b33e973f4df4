// What the history viewer is told of the pages of a group's message history
// (1032, applied by CHistoryRules).
#include "conversation/TarvolanHistoryDialog.h"
#include "window/TarvolanDialog.h"

namespace tarvolan {

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
