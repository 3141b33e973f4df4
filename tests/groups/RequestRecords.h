// The host's side of the link with every request decoded as the host reads
// it, and the 773-byte request records of invitations, join requests and
// transfers, for the rules tests of those events.
#pragma once

#include <utility>

#include "RulesFixture.h"
#include "support/FakeHost.h"

namespace tarvolan::rulestest {

struct CDecodingLink : CRecordingLink {
    testing_support::CFakeHost host;
    int Send(int code, void* record) override { return host.OnMessage(11, code, record); }
};

// One of the 773-byte request records (1006, 1008, 1025, 1026): its five
// fields in order.
template <class R> R Request(const char* a, const char* b, const char* c, const char* d, const char* e)
{
    static_assert(sizeof(R) == 773);
    R r{};
    const std::pair<size_t, size_t> fields[] = {{0, 65}, {65, 257}, {322, 65}, {387, 257}, {644, 129}};
    const char* texts[] = {a, b, c, d, e};
    for (int i = 0; i < 5; ++i) CString(texts[i]).CopyTo(reinterpret_cast<char*>(&r) + fields[i].first, fields[i].second);
    return r;
}

// A notice or question as the scripted host records it.
inline std::string Shown(ENotice notice, const std::string& first = "", const std::string& second = "",
                         const std::string& box = "")
{
    return std::to_string(notice) + ":" + first + "|" + second + (box.empty() ? "" : "@" + box);
}

} // namespace tarvolan::rulestest
