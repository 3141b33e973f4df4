// The rules of ownership transfer: at the old owner the acknowledgement of
// the request (1024) and the new owner's answer (1027); at the chosen member
// the request (1025) and its withdrawal (1026). The owner's waiting notice
// and the member's question are named boxes, so that the later message
// closes them. The tables do not change: the new ownership comes with the
// group list and details that the host sends afterwards.
#pragma once

#include "groups/GroupChanges.h"
#include "groups/GroupData.h"
#include "protocol/HostLink.h"

namespace tarvolan {

class CTransferRules {
public:
    CTransferRules(CGroupData& data, CGroupRulesHost& host, CHostLink& link) : m_data(data), m_host(host), m_link(link)
    {
    }

    // 1024: 202 the request went out (the waiting notice), else why not.
    void OnAck(const char* groupURI, const char* newOwnerURI, int code);
    // 1025: asked once per group and old owner, and answered unless withdrawn.
    void OnRequest(const tagGroupTrsReq* request);
    // 1026: closes the question, or drops the request parked during sign-in.
    void OnCancel(const tagGroupTrsReq* request);
    // 1027: 1 agreed, 2 refused; only for a member of a group in the tree.
    void OnResult(const char* groupURI, const char* newOwnerURI, int result);

private:
    CGroupData& m_data;
    CGroupRulesHost& m_host;
    CHostLink& m_link;
};

} // namespace tarvolan
