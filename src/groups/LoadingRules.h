// The rules of loading the groups. So far: the host asks for every public
// group's members to be shown again from the group table (1033); each such
// group is reported, once, with its members changed.
#pragma once

#include "groups/GroupChanges.h"
#include "groups/GroupData.h"

namespace tarvolan {

class CLoadingRules {
public:
    CLoadingRules(CGroupData& data, const CGroupChanges& changes) : m_data(data), m_changes(changes) {}

    // 1033: one CHANGE_MEMBERS with DETAIL_FROM_TABLE per public group of the table, in table order.
    void OnRebuildMembersFromTable();

private:
    CGroupData& m_data;
    const CGroupChanges& m_changes;
};

} // namespace tarvolan
