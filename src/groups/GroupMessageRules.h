// The incoming group messages (host code 1034): a message of a group shown
// in the tree reaches that group's conversation window, which opens when the
// group has none; my own messages coming back show nothing. A handled
// message asks the host for the group's details once.
#pragma once

#include "groups/GroupChanges.h"
#include "groups/GroupData.h"
#include "protocol/HostLink.h"

namespace tarvolan {

class CGroupMessageRules {
public:
    CGroupMessageRules(CGroupData& data, CGroupRulesHost& host, CHostLink& link)
        : m_data(data), m_host(host), m_link(link)
    {
    }

    // True when the message was handled (the dispatcher then answers 1 in
    // the record). The address is the group's URI, maybe followed by "/" and
    // more.
    bool OnGroupMessage(int type, const char* groupAddress, const char* senderURI, const char* text);

private:
    CGroupData& m_data;
    CGroupRulesHost& m_host;
    CHostLink& m_link;
};

} // namespace tarvolan
