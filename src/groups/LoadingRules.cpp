#include "groups/LoadingRules.h"

namespace tarvolan {

void CLoadingRules::OnRebuildMembersFromTable()
{
    for (int i = 0; i < m_data.GroupTable().Count(); ++i) {
        const CGroupRecord& record = m_data.GroupTable()[i];
        if (!IsPublicKind(record.kind)) continue;
        m_changes.Report({CHANGE_MEMBERS, record.URI(), m_data.TreeModel().FindGroup(record.URI()), nullptr,
                          DETAIL_FROM_TABLE});
    }
}

} // namespace tarvolan
