// The notices of the membership rules (CMembershipRules), among them the
// removal notice that waits until the group has left the window.
#include "clientkit/ClientKit.h"
#include "window/EventSupport.h"
#include "controls/AskInHandler.h"
#include "controls/Prompts.h"
#include "platform/UiDriver.h"
#include "window/TarvolanDialog.h"
#include "res/ModuleResources.h"

namespace tarvolan {

// ---- the rules' notices ---------------------------------------------------------------------

bool CTarvolanDialog::Notice(ENotice notice, const CString& subject)
{
    if (notice == NOTICE_REMOVED_FROM_GROUP) {
        // The notice comes once the group has left the window; each removal
        // posts its own command and queues its own notice.
        m_DeferredNotices.push_back(ResText(IDS_REMOVED_FROM_GROUP, subject));
        PostCommand(this, kDeferredNoticeCommand, 0);
        return true;
    }
    const auto shown = AskInHandler(this, [&] {
        if (notice == NOTICE_GROUP_DELETED)
            ShowNotice(this, ResText(IDS_GROUP_DELETED_BY_ADMIN, subject));
        else
            ShowMessageBox(this, LoadResString(IDS_FETCH_FAILED), LoadResString(IDS_SYSTEM_PROMPT), MB_ICONINFORMATION);
        return true;
    });
    return shown.WindowAlive();
}

bool CTarvolanDialog::SignedIn() const
{
    return SignedInNow();
}

void CTarvolanDialog::ShowDeferredNotice()
{
    if (m_DeferredNotices.empty()) return;  // a command that no removal posted
    const CString text = m_DeferredNotices.front();
    m_DeferredNotices.pop_front();  // before the box: removals meanwhile queue behind it
    ShowNotice(this, text);
}

} // namespace tarvolan
