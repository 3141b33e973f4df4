#include "groups/ProfileRules.h"

namespace tarvolan {

void CProfileRules::OnProfileChanged(const TMemberProfile* profile)
{
    const char* uri = profile ? profile->ids[kProfileUriIndex] : nullptr;
    if (!uri || !*uri) return;
    const CString key(uri);  // the record may be one of ours: keep the key apart
    for (CTarvolanMember* member : m_data.TreeModel().FindMembersNoCase(key)) member->Profile().CopyFrom(*profile);
}

const char* CProfileRules::ProfileText(const char* uri) const
{
    CTarvolanMember* member = m_data.TreeModel().FindFirstMember(uri);
    const CMemberProfile* profile = member ? member->ProfileIfAny() : nullptr;
    return profile ? profile->ProfileText().c_str() : "";
}

void CProfileRules::SetProfileText(const char* uri, const char* text)
{
    if (CTarvolanMember* member = m_data.TreeModel().FindFirstMember(uri)) member->Profile().SetProfileText(text);
}

TMemberProfile* CProfileRules::FindProfile(const char* uri)
{
    const std::vector<CTarvolanMember*> members = m_data.TreeModel().FindMembersNoCase(uri);
    return members.empty() ? nullptr : ProfileRecord(*members.front());
}

TMemberProfile* CProfileRules::ProfileRecord(CTarvolanMember& member)
{
    CMemberProfile& profile = member.Profile();
    if (profile.IsEmpty() && member.URI() == m_host.MyURI()) {
        if (const TMemberProfile* mine = m_host.MyProfile()) profile.CopyFrom(*mine);
    }
    return profile.Record();
}

} // namespace tarvolan
