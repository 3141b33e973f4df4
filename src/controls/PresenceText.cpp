#include "controls/PresenceText.h"

#include <QCoreApplication>

#include "groups/Presence.h"
#include "groups/Tarvolan.h"
#include "platform/Window.h"

namespace tarvolan {

QString PresenceInWords(const CTarvolanMember& member)
{
    if (member.ShowsStatusText()) return ToQt(member.m_csStatusText);
    if (IsOfflineStatus(member.m_nStatus)) return QCoreApplication::translate("PresenceText", "离线");
    switch (member.m_nStatus) {
    case PRESENCE_BUSY: return QCoreApplication::translate("PresenceText", "忙碌");
    case PRESENCE_AWAY: return QCoreApplication::translate("PresenceText", "离开");
    case PRESENCE_TALKING: return QCoreApplication::translate("PresenceText", "通话中");
    case PRESENCE_REPAST: return QCoreApplication::translate("PresenceText", "用餐");
    case PRESENCE_DO_NOT_DISTURB: return QCoreApplication::translate("PresenceText", "请勿打扰");
    default: return QCoreApplication::translate("PresenceText", "在线");
    }
}

} // namespace tarvolan
