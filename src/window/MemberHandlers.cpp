// Host messages about members as a whole: rebuilding the member items from
// the table (1033) and the member profile records (1036, 1038, 1039, 1043,
// and the selection report 1037).
#include "clientkit/ClientKit.h"
#include "controls/SignedInUser.h"
#include "window/TarvolanDialog.h"
#include "window/TreeItemData.h"

namespace tarvolan {

namespace {

// A member's profile record for the host: the signed-in user's own record is
// filled from the user's profile data while it is still empty.
TMemberProfile* ProfileRecord(CTarvolanMember& member)
{
    CMemberProfile& profile = member.Profile();
    if (profile.IsEmpty() && member.URI() == SignedInURI()) {
        if (const tagMyInfo* me = GetMyInfo()) profile.CopyFrom(me->profile);
    }
    return profile.Record();
}

} // namespace

bool CTarvolanDialog::DescribeMemberItem(QTreeWidgetItem* item, CString& uri, TMemberProfile*& profile)
{
    CTarvolanMember* member = ItemMember(item);
    if (!member) return false;
    uri = member->URI();
    profile = ProfileRecord(*member);
    return true;
}

void CTarvolanDialog::OnRebuildMembersFromTable()
{
    for (int i = 0; i < m_GroupData.GroupTable().Count(); ++i) {
        const CGroupRecord& record = m_GroupData.GroupTable()[i];
        if (IsPublicKind(record.kind)) RebuildMemberItems(record.URI());
    }
}

void CTarvolanDialog::OnIMSMemberProfileChanged(const TMemberProfile* pProfile)
{
    const char* uri = pProfile ? pProfile->ids[kProfileUriIndex] : nullptr;
    // A record without its key matches nobody, but the selection is still
    // reported: the host waits for that report after every profile update.
    if (uri && *uri) {
        const CString key(uri);  // the record may be one of ours: keep the key apart
        for (CTarvolanMember* member : m_GroupData.TreeModel().FindMembersNoCase(key))
            member->Profile().CopyFrom(*pProfile);
    }
    ReportSelection();
}

const char* CTarvolanDialog::OnGetMemberProfileText(const char* uri)
{
    CTarvolanMember* member = m_GroupData.TreeModel().FindFirstMember(uri);
    const CMemberProfile* profile = member ? member->ProfileIfAny() : nullptr;
    return profile ? profile->ProfileText().c_str() : "";
}

void CTarvolanDialog::OnSetMemberProfileText(const char* uri, const char* text)
{
    if (CTarvolanMember* member = m_GroupData.TreeModel().FindFirstMember(uri)) member->Profile().SetProfileText(text);
}

TMemberProfile* CTarvolanDialog::OnFindMemberProfile(const char* uri)
{
    const std::vector<CTarvolanMember*> members = m_GroupData.TreeModel().FindMembersNoCase(uri);
    return members.empty() ? nullptr : ProfileRecord(*members.front());
}

} // namespace tarvolan
