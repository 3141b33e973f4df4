// The window's part of the operation results (CResultRules): their notices
// and the timer of pending creations.
#include <utility>

#include "common/TextFunctions.h"
#include "controls/Prompts.h"
#include "res/ModuleResources.h"
#include "window/TarvolanDialog.h"

namespace tarvolan {

namespace {

// The text of each operation-result notice.
constexpr std::pair<ENotice, int> kResultTexts[] = {
    {NOTICE_CREATE_TIMEOUT, IDS_CREATE_TIMEOUT},
    {NOTICE_CREATE_LIMIT, IDS_CREATE_LIMIT},
    {NOTICE_CREATE_FAILED, IDS_CREATE_FAILED},
    {NOTICE_EDIT_TIMEOUT, IDS_EDIT_TIMEOUT},
    {NOTICE_EDIT_FAILED, IDS_EDIT_FAILED},
    {NOTICE_DELETE_TIMEOUT, IDS_DELETE_TIMEOUT},
    {NOTICE_DELETE_FAILED, IDS_DELETE_FAILED},
    {NOTICE_INVITE_NO_USER, IDS_INVITE_NO_USER},
    {NOTICE_INVITE_SEND_TIMEOUT, IDS_INVITE_SEND_TIMEOUT},
    {NOTICE_INVITE_GROUP_FULL, IDS_INVITE_GROUP_FULL},
    {NOTICE_INVITE_SEND_FAILED, IDS_INVITE_SEND_FAILED},
    {NOTICE_REMOVE_MEMBER_TIMEOUT, IDS_REMOVE_MEMBER_TIMEOUT},
    {NOTICE_REMOVE_MEMBER_FAILED, IDS_REMOVE_MEMBER_FAILED},
    {NOTICE_JOIN_REFUSED, IDS_JOIN_REFUSED},
    {NOTICE_JOIN_GROUP_FULL, IDS_GROUP_FULL},
    {NOTICE_LEAVE_TIMEOUT, IDS_LEAVE_TIMEOUT},
    {NOTICE_LEAVE_FAILED, IDS_LEAVE_FAILED},
    {NOTICE_RENAME_TIMEOUT, IDS_RENAME_TIMEOUT},
    {NOTICE_RENAME_FAILED, IDS_RENAME_FAILED},
};

int ResultTextId(ENotice notice)
{
    for (const auto& [which, textId] : kResultTexts)
        if (which == notice) return textId;
    return 0;
}

} // namespace

void CTarvolanDialog::ShowResultNotice(ENotice notice, const CString& first, const CString& second)
{
    const int textId = ResultTextId(notice);
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
