// The member items' profile records for the selection report (1037);
// CProfileRules applies the profile messages, CLoadingRules the rebuilding
// of the member items from the table (1033).
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

const TMemberProfile* CTarvolanDialog::MyProfile() const
{
    const tagMyInfo* me = GetMyInfo();
    return me ? &me->profile : nullptr;
}

} // namespace tarvolan
