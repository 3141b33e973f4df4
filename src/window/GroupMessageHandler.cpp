// The window's part of the incoming group messages (CGroupMessageRules): a
// message shown in its group's conversation window, opened when needed.
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
    if (CTarvolanChatDialog* chat = m_ChatWindows.Open(group)) chat->ShowIncomingMessage(senderURI, text);
}

} // namespace tarvolan
