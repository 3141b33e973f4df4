#include "groups/MembershipRules.h"

#include "groups/Presence.h"

namespace tarvolan {

void CMembershipRules::OnMemberPresence(const char* groupURI, const char* memberURI, const char* presence)
{
    const CString group(groupURI), member(memberURI), text(presence);
    if (member.IsEmpty() || member == m_host.MyURI()) return;
    const int code = PresenceCodeFromText(presence);
    if (!ApplyPresence(group, member, code, text))
        m_data.TreeModel().CachePresence(group, member, TCachedPresence{code, code, text});
}

bool CMembershipRules::ApplyPresence(const CString& groupURI, const CString& memberURI, int code,
                                     const CString& text)
{
    CTarvolanMember* member = m_data.TreeModel().FindMember(groupURI, memberURI);
    if (!member) return false;
    const bool textShown = member->ShowsStatusText();
    member->SetPresence(code, text);
    const bool textChanged = textShown || member->ShowsStatusText();
    m_changes.Report({CHANGE_PRESENCE, member->Group(), member, textChanged ? DETAIL_TEXT_CHANGED : DETAIL_NONE});
    return true;
}

} // namespace tarvolan
