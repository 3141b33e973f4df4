// The host's side of the link with every request decoded as the host reads
// it, and the 773-byte request records of invitations, join requests and
// transfers, for the rules tests of those events.
#pragma once

#include <utility>

#include "RulesFixture.h"
#include "support/FakeHost.h"
#include "support/RequestRecord.h"

namespace tarvolan::rulestest {

struct CDecodingLink : CRecordingLink {
    testing_support::CFakeHost host;
    int Send(int code, void* record) override { return host.OnMessage(11, code, record); }
};

using testing_support::Request;

// A notice or question as the scripted host records it.
inline std::string Shown(ENotice notice, const std::string& first = "", const std::string& second = "",
                         const std::string& box = "")
{
    return std::to_string(notice) + ":" + first + "|" + second + (box.empty() ? "" : "@" + box);
}

} // namespace tarvolan::rulestest
