// The rules of a group's attributes: my change of a group succeeded (1011),
// or the host reports a change (1012). The attribute goes to every ordinary
// public group listed whose URI has the same user part, and each such group
// is reported changed.
#pragma once

#include "groups/GroupChanges.h"
#include "groups/GroupData.h"
#include "protocol/HostLink.h"

namespace tarvolan {

class CAttributeRules {
public:
    CAttributeRules(CGroupData& data, CGroupRulesHost& host, CHostLink& link, const CGroupChanges& changes)
        : m_data(data), m_host(host), m_link(link), m_changes(changes)
    {
    }

    // 1011; type 0 name, 1 duration, 2 visibility, 3 permit, 4 member limit,
    // 5 subject, 6 bulletin. A name must not be empty.
    void OnModifySucceeded(const char* groupURI, int type, const char* text, int value);
    // 1012: the same but for the subject and bulletin, which it leaves alone.
    void OnAttributeChanged(const char* groupURI, int type, const char* text, int value);

private:
    void Apply(const CString& groupURI, int type, const CString& text, int value, bool textFields);

    CGroupData& m_data;
    CGroupRulesHost& m_host;
    CHostLink& m_link;
    const CGroupChanges& m_changes;
};

} // namespace tarvolan
