// The signed-in user as the client library reports it.
#pragma once

#include "common/GbkString.h"

namespace tarvolan {

// The signed-in user's URI and request identity (empty before sign-in).
CString SignedInURI();
CString SignedInRequestId();
// The signed-in user's own domain (empty before sign-in).
CString SignedInDomain();

} // namespace tarvolan
