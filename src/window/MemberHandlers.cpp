// Host messages about members as a whole: rebuilding the member items from
// the table (1033), and the member items' profile records for the selection
// report (1037); CProfileRules applies the profile messages.
#include "clientkit/ClientKit.h"
#include "window/TarvolanDialog.h"
#include "window/TreeItemData.h"

namespace tarvolan {

bool CTarvolanDialog::DescribeMemberItem(QTreeWidgetItem* item, CString& uri, TMemberProfile*& profile)
{
    CTarvolanMember* member = ItemMember(item);
    if (!member) return false;
    uri = member->URI();
    profile = m_ProfileRules.ProfileRecord(*member);
    return true;
}

void CTarvolanDialog::OnRebuildMembersFromTable()
{
    for (int i = 0; i < m_GroupData.GroupTable().Count(); ++i) {
        const CGroupRecord& record = m_GroupData.GroupTable()[i];
        if (IsPublicKind(record.kind)) RebuildMemberItems(record.URI());
    }
}

const TMemberProfile* CTarvolanDialog::MyProfile() const
{
    const tagMyInfo* me = GetMyInfo();
    return me ? &me->profile : nullptr;
}

} // namespace tarvolan
