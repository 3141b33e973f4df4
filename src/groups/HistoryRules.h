// The rules of a group's message history (host code 1032): the recent
// messages a conversation window shows and the pages of the history viewer.
// They are stored in the group; the report says what came.
#pragma once

#include "groups/GroupChanges.h"
#include "groups/GroupData.h"
#include "protocol/TarvolanAbi.h"

namespace tarvolan {

class CHistoryRules {
public:
    // The kinds of history answer.
    enum EHistoryType : int { HISTORY_RECENT = 1, HISTORY_PAGE = 2 };

    CHistoryRules(CGroupData& data, CGroupRulesHost& host, const CGroupChanges& changes)
        : m_data(data), m_host(host), m_changes(changes)
    {
    }

    // 1032: count entries of list (clamped to the protocol's limit) for the
    // group. Recent messages replace the group's and end its wait for them;
    // a page is kept only while the group's viewer is open. An empty answer
    // with code 200 or 404 means there is nothing (more) to show.
    void OnHistoryList(int code, int type, const char* groupURI, int count, const THistoryEntry* list);

private:
    CGroupData& m_data;
    CGroupRulesHost& m_host;
    const CGroupChanges& m_changes;
};

} // namespace tarvolan
