// Words of the records sent to the host.
#pragma once

#include "common/GbkString.h"
#include "protocol/TarvolanAbi.h"

namespace tarvolan {

// A text word of a record sent to the host; valid while the text lives.
inline tarvolan::Word TextWord(const CString& text)
{
    return reinterpret_cast<tarvolan::Word>(text.c_str());
}

} // namespace tarvolan
