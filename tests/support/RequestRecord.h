// The 773-byte request records of invitations, join requests and transfers
// (1006, 1008, 1025, 1026), filled the way the host fills them.
#pragma once

#include <cstddef>
#include <utility>

#include "common/GbkString.h"

namespace testing_support {

// One of those records with its five fields in order.
template <class R> R Request(const char* a, const char* b, const char* c, const char* d, const char* e)
{
    static_assert(sizeof(R) == 773);
    R r{};
    const std::pair<size_t, size_t> fields[] = {{0, 65}, {65, 257}, {322, 65}, {387, 257}, {644, 129}};
    const char* texts[] = {a, b, c, d, e};
    for (int i = 0; i < 5; ++i)
        tarvolan::CString(texts[i]).CopyTo(reinterpret_cast<char*>(&r) + fields[i].first, fields[i].second);
    return r;
}

} // namespace testing_support
