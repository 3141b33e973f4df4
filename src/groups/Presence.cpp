#include "groups/Presence.h"

#include "common/GbkString.h"

namespace tarvolan {

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

} // namespace tarvolan
