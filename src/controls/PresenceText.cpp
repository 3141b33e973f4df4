#include "controls/PresenceText.h"

#include "groups/Presence.h"
#include "groups/Tarvolan.h"
#include "platform/Window.h"

namespace tarvolan {

QString PresenceInWords(const CTarvolanMember& member)
{
    if (member.ShowsStatusText()) return ToQt(member.m_csStatusText);
    if (IsOfflineStatus(member.m_nStatus)) return QStringLiteral("离线");
    switch (member.m_nStatus) {
    case PRESENCE_BUSY: return QStringLiteral("忙碌");
    case PRESENCE_AWAY: return QStringLiteral("离开");
    case PRESENCE_TALKING: return QStringLiteral("通话中");
    case PRESENCE_REPAST: return QStringLiteral("用餐");
    case PRESENCE_DO_NOT_DISTURB: return QStringLiteral("请勿打扰");
    default: return QStringLiteral("在线");
    }
}

} // namespace tarvolan
