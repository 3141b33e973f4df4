// Tells a group's open conversation window what the rules changed in its
// group: a member's presence, the recent messages.
#pragma once

#include "groups/GroupChanges.h"
#include "groups/Tarvolan.h"

namespace tarvolan {

class CConversationFollower final : public CGroupChangeListener {
public:
    void OnGroupChanged(const TGroupChange& change) override
    {
        CGroupChatWindow* chat = change.group ? change.group->m_pChatDialog : nullptr;
        if (!chat) return;
        if (change.what == CHANGE_PRESENCE) chat->UpdateMemberItem(change.member);
        else if (change.what == CHANGE_MESSAGES) chat->LoadRecentMessage();
    }
};

} // namespace tarvolan
