// Member presence: the codes of the host's presence texts and the tree image
// that a member's presence selects.
#pragma once

namespace tarvolan {

// Presence codes kept per member.
enum EPresenceCode : int {
    PRESENCE_ONLINE = 1,
    PRESENCE_BUSY = 2,
    PRESENCE_AWAY = 3,
    PRESENCE_TALKING = 4,
    PRESENCE_REPAST = 5,
    PRESENCE_HIDE = 6,        // also "not known yet" for a new member
    PRESENCE_OFFLINE = 7,
    PRESENCE_CUSTOM = 9,      // any other non-empty text
    PRESENCE_DO_NOT_DISTURB = 11,
};

// The code of a presence text, matched without regard to ASCII case; null
// and "" are offline.
int PresenceCodeFromText(const char* text);

// Whether a member with that status counts as offline (no instant message).
inline bool IsOfflineStatus(int status) { return status == 0 || status == 6 || status == 7; }

} // namespace tarvolan
