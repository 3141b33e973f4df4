#include "conversation/ChatWindows.h"

#include <algorithm>

#include <QScreen>

#include "conversation/TarvolanChatDialog.h"
#include "groups/Tarvolan.h"

namespace tarvolan {

namespace {
constexpr int kCascadeStep = 28;
} // namespace

CChatWindows::CChatWindows(CHostLink& link) : m_link(link) {}

CChatWindows::~CChatWindows()
{
    CloseAll();
}

CTarvolanChatDialog* CChatWindows::Open(CTarvolan& group)
{
    if (CTarvolanChatDialog* open = Find(group)) return open;
    auto* chat = new CTarvolanChatDialog(m_link);
    chat->m_pTarvolan = &group;
    chat->m_pWindows = this;
    m_windows.push_back({&group, chat});  // the group's window while it is made
    if (!Create(*chat)) {
        Close(group);
        return nullptr;
    }
    chat->RestoreDraft();
    PlaceCascaded(*chat);
    chat->show();
    chat->raise();
    chat->ShowOrRequestRecentMessages();
    return chat;
}

bool CChatWindows::Create(CTarvolanChatDialog& chat)
{
    return chat.CreateFromTemplate(nullptr);
}

CTarvolanChatDialog* CChatWindows::Find(const CTarvolan& group) const
{
    const auto it =
        std::find_if(m_windows.begin(), m_windows.end(), [&](const TEntry& e) { return e.group == &group; });
    return it == m_windows.end() ? nullptr : it->window;
}

std::vector<CChatWindows::TEntry>::iterator CChatWindows::Entry(const CTarvolanChatDialog& chat)
{
    return std::find_if(m_windows.begin(), m_windows.end(), [&](const TEntry& e) { return e.window == &chat; });
}

// The entry goes first: the window may look at its group while it goes, and
// must then find itself no longer kept.
void CChatWindows::Close(const CTarvolan& group)
{
    CTarvolanChatDialog* chat = Find(group);
    if (!chat) return;
    m_windows.erase(Entry(*chat));
    chat->m_pWindows = nullptr;
    delete chat;
}

void CChatWindows::CloseAll()
{
    while (!m_windows.empty()) Close(*m_windows.front().group);
}

bool CChatWindows::Forget(const CTarvolanChatDialog& chat)
{
    const auto it = Entry(chat);
    if (it == m_windows.end()) return false;
    m_windows.erase(it);
    return true;
}

void CChatWindows::OnGroupChanged(const TGroupChange& change)
{
    CTarvolanChatDialog* chat = change.group ? Find(*change.group) : nullptr;
    if (!chat) return;
    if (change.what == CHANGE_PRESENCE) chat->UpdateMemberItem(change.member);
    else if (change.what == CHANGE_MESSAGES) chat->LoadRecentMessage();
}

void CChatWindows::PlaceCascaded(CTarvolanChatDialog& chat)
{
    QWidget* last = m_lastPlaced.data();
    if (last && last != &chat && last->isVisible()) {
        const QPoint step(kCascadeStep, kCascadeStep);
        QPoint next = last->pos() + step;
        const QRect screen = last->screen() ? last->screen()->availableGeometry() : QRect();
        if (screen.isValid() && !screen.contains(QRect(next, chat.size()))) next = screen.topLeft() + step;
        chat.move(next);
    }
    m_lastPlaced = &chat;
}

} // namespace tarvolan
