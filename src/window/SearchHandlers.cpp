// The window's part of the search answers (CSearchRules): the open group
// information window they reach.
#include "window/TarvolanDialog.h"

namespace tarvolan {

CGroupInfoWindow* CTarvolanDialog::InfoWindow() const
{
    return m_OpenWindows.Find<CGroupInfoWindow>();
}

void CTarvolanDialog::MarkJoinedInInfoWindow(const CString& groupURI)
{
    m_SearchRules.MarkJoined(groupURI);
}

} // namespace tarvolan
