// The window's part of the incoming group messages (CGroupMessageRules): a
// message shown in its group's conversation window.
#include "clientkit/ClientKit.h"
#include "conversation/TarvolanChatDialog.h"
#include "groups/Tarvolan.h"
#include "window/TarvolanDialog.h"

namespace tarvolan {

bool CTarvolanDialog::IsMyself(const char* uri) const
{
    return IsMySelf(uri) != 0;
}

void CTarvolanDialog::ShowGroupMessage(CTarvolan& group, const char* senderURI, const char* text)
{
    ShowIncomingMessage(group, Link(), senderURI, text, ChatParent());
}

} // namespace tarvolan
