// Small pieces shared by the host-event handlers: texts of the fixed-size
// fields of host records, words of the records sent to the host and the
// signed-in check that parks requests during sign-in.
#pragma once

#include <cstddef>

#include "clientkit/ClientKit.h"
#include "common/GbkString.h"
#include "groups/GroupTables.h"
#include "groups/RecordWords.h"
#include "protocol/TarvolanAbi.h"

namespace tarvolan {

// Member information of a member who is in the group.
inline constexpr const char* kMemberInGroup = "Forward";

// Whether the user's requests are handled now: signed in and not logging out.
inline bool SignedInNow()
{
    return GetAppLogined() != 0 && GetAppLogoutStatus() != 1;
}

// The check in front of a request that needs the user: when the user is not
// signed in, logs the line and, while sign-in is under way, parks the record
// in the client library for the replay after sign-in. True when the handler
// goes on.
template <class Record, class Log>
bool PassesSignInCheck(const Record& record, Log&& log, const char* line,
                       void (*park)(const Record&))
{
    if (SignedInNow()) return true;
    log(line, 1);
    if (GetAppLogining() == 1) park(record);
    return false;
}

} // namespace tarvolan
