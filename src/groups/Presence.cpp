#include "groups/Presence.h"

#include "common/GbkString.h"
#include "res/ModuleResources.h"

int PresenceCodeFromText(const char* text)
{
    struct TName {
        const char* text;
        int code;
    };
    static constexpr TName kNames[] = {
        {"online", PRESENCE_ONLINE},   {"busy", PRESENCE_BUSY},       {"away", PRESENCE_AWAY},
        {"talking", PRESENCE_TALKING}, {"repast", PRESENCE_REPAST},   {"hide", PRESENCE_HIDE},
        {"offline", PRESENCE_OFFLINE}, {"don't hinder", PRESENCE_DO_NOT_DISTURB},
    };
    if (!text || !*text) return PRESENCE_OFFLINE;
    const CString presence(text);
    for (const TName& name : kNames)
        if (presence.EqualsNoCase(name.text)) return name.code;
    return PRESENCE_CUSTOM;
}

int MemberImage(int status, int kind)
{
    if (status == PRESENCE_HIDE) return IMG_MEMBER;
    switch (kind) {
    case PRESENCE_ONLINE:
    case 8:  // the user's own "right back"
        return IMG_ONLINE;
    case PRESENCE_BUSY: return IMG_BUSY;
    case PRESENCE_AWAY: return IMG_AWAY;
    case PRESENCE_TALKING: return IMG_TALKING;
    case PRESENCE_REPAST: return IMG_REPAST;
    case PRESENCE_CUSTOM: return IMG_CUSTOM;
    case PRESENCE_DO_NOT_DISTURB: return IMG_DO_NOT_DISTURB;
    case 0:  // the user's own "offline"
    case PRESENCE_OFFLINE: return IMG_OFFLINE;
    default: return IMG_MEMBER;
    }
}
