// The rules of members' profile records: a profile the host reports (1036)
// goes to every member with that URI, in any letter case; the host reads and
// writes a member's profile text (1038, 1039) and finds a member's record
// (1043). The signed-in user's own record is filled from the user's profile
// while it is still empty.
#pragma once

#include "groups/GroupChanges.h"
#include "groups/GroupData.h"

namespace tarvolan {

class CProfileRules {
public:
    CProfileRules(CGroupData& data, CGroupRulesHost& host) : m_data(data), m_host(host) {}

    // 1036: a record without its key matches nobody.
    void OnProfileChanged(const TMemberProfile* profile);
    // 1038: the profile text of the first member with that URI; "" when none.
    const char* ProfileText(const char* uri) const;
    // 1039
    void SetProfileText(const char* uri, const char* text);
    // 1043: the record of a member with that URI (any group, any letter case); null when none.
    TMemberProfile* FindProfile(const char* uri);
    // The member's record for the host.
    TMemberProfile* ProfileRecord(CTarvolanMember& member);

private:
    CGroupData& m_data;
    CGroupRulesHost& m_host;
};

} // namespace tarvolan
