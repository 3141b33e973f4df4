// The window's part of the operation results (CResultRules): their notices
// and the timer of pending creations.
#include "platform/Resources.h"
#include "controls/Prompts.h"
#include "res/ModuleResources.h"
#include "window/NoticeTexts.h"
#include "window/TarvolanDialog.h"

namespace tarvolan {

namespace {

// Whether the string shows as its source text, untranslated.
bool ShowsSourceText(int textId)
{
    return LoadResString(textId) == LoadResSourceString(textId);
}

} // namespace

void CTarvolanDialog::ShowResultNotice(ENotice notice, const CString& first, const CString& second)
{
    const int textId = NoticeTextId(notice);
    switch (notice) {
    case NOTICE_CREATE_LIMIT: ShowNotice(this, LoadResString(textId)); break;
    case NOTICE_REMOVE_MEMBER_TIMEOUT:
    case NOTICE_REMOVE_MEMBER_FAILED:
        // The arguments follow the text that is shown: the Chinese source
        // names the group first, the translation the member first. (Chosen
        // by the environment's language, a Chinese text read in the C locale
        // named the member as the group.)
        ShowNotice(this, ShowsSourceText(textId) ? ResText(textId, second, first) : ResText(textId, first, second));
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
