// The window's part of loading the groups (CLoadingRules): the signed-in
// user's request id, the "all contacts" name, the recent-names timer and the
// properties window that reloads when a group's details come.
#include "controls/SignedInUser.h"
#include "window/TarvolanDialog.h"
#include "platform/Resources.h"
#include "res/ModuleResources.h"

namespace tarvolan {

namespace {

constexpr int kRecentNamesPeriodMs = 60000;

} // namespace

CString CTarvolanDialog::MyRequestId() const
{
    return SignedInRequestId();
}

// The name is the group list's data, shared with the host: never translated.
CString CTarvolanDialog::AllContactsName() const
{
    return LoadResSourceString(IDS_ALL_CONTACTS);
}

void CTarvolanDialog::RestartRecentNamesTimer()
{
    KillTimer(kTimerRecentNames);
    SetTimer(kTimerRecentNames, kRecentNamesPeriodMs);
}

void CTarvolanDialog::RefreshPropertiesWindow()
{
    if (QWidget* window = FindDialogByCaption(LoadResString(IDS_PROPERTY_CAPTION)))
        SendCommand(window, kRefreshPropertiesCommand, 0);
}

} // namespace tarvolan
