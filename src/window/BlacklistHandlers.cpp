// The host's blacklist messages, routed to the open blacklist window: the
// entries of a group's lists (1001) and a change or failure of one entry
// (1002). Without an open window they are dropped; the group table learns
// of changes from the add and remove results (1029, 1030).
#include "groups/ChildWindows.h"
#include "window/TarvolanDialog.h"

namespace tarvolan {

// ---- 1001 -------------------------------------------------------------------------------

void CTarvolanDialog::OnHostBlackListEntry(const char* uri, const char* groupURI, int listKind)
{
    if (CGroupBlacklistWindow* window = m_OpenWindows.Find<CGroupBlacklistWindow>())
        window->AddBlackListEntry(uri, groupURI, listKind);
}

// ---- 1002 -------------------------------------------------------------------------------

void CTarvolanDialog::OnHostBlackListChanged(int success, const char* uri, const char* group, int operation,
                                             int listKind)
{
    CGroupBlacklistWindow* window = m_OpenWindows.Find<CGroupBlacklistWindow>();
    if (!window) return;
    if (success != 0) window->OnBlackListChanged(uri, group, operation, listKind);
    else window->OnBlackListFailed(uri);
}

} // namespace tarvolan
