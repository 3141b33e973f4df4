// The window's part of the operation results (CResultRules): their notices
// and the timer of pending creations.
#include "common/TextFunctions.h"
#include "controls/Prompts.h"
#include "res/ModuleResources.h"
#include "window/NoticeTexts.h"
#include "window/TarvolanDialog.h"

namespace tarvolan {

void CTarvolanDialog::ShowResultNotice(ENotice notice, const CString& first, const CString& second)
{
    const int textId = NoticeTextId(notice);
    switch (notice) {
    case NOTICE_CREATE_LIMIT: ShowNotice(this, LoadResString(textId)); break;
    case NOTICE_REMOVE_MEMBER_TIMEOUT:
    case NOTICE_REMOVE_MEMBER_FAILED:
        // The Chinese text names the group first.
        ShowNotice(this, IsChineseSystemLanguage() ? ResText(textId, second, first) : ResText(textId, first, second));
        break;
    case NOTICE_JOIN_REFUSED:
    case NOTICE_JOIN_GROUP_FULL:
        ShowMessageBox(this, ResText(textId, first), CString(), MB_ICONINFORMATION);
        break;
    default: ShowNotice(this, ResText(textId, first, second)); break;
    }
}

void CTarvolanDialog::RestartPendingCreateTimer()
{
    KillTimer(kTimerPendingCreate);
    if (!m_GroupData.PendingCreates().empty()) SetTimer(kTimerPendingCreate, kPendingCreatePeriodMs);
}

} // namespace tarvolan
