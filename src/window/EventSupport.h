// Small pieces shared by the host-event handlers: texts of the fixed-size
// fields of host records, words of the records sent to the host and whether
// the user is signed in.
#pragma once

#include <cstddef>

#include "clientkit/ClientKit.h"
#include "common/GbkString.h"
#include "groups/GroupTables.h"
#include "groups/RecordWords.h"
#include "protocol/TarvolanAbi.h"

namespace tarvolan {

// Whether the user's requests are handled now: signed in and not logging out.
inline bool SignedInNow()
{
    return GetAppLogined() != 0 && GetAppLogoutStatus() != 1;
}

} // namespace tarvolan
