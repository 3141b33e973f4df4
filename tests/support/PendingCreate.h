// A creation of mine awaiting its result, as the create dialog files it.
#pragma once

#include "groups/GroupData.h"

namespace testing_support {

inline tarvolan::TPendingCreate SamplePendingCreate(const char* name, const char* displayName = "Boss")
{
    tarvolan::TPendingCreate pending;
    pending.name = name;
    pending.displayName = displayName;
    pending.subject = "Openings";
    pending.bulletin = "Tuesdays";
    pending.visibility = 3;
    pending.needPermit = 1;
    pending.maxMembers = 1000;
    return pending;
}

} // namespace testing_support
