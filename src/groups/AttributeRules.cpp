#include "groups/AttributeRules.h"

#include <vector>

#include "common/TextFunctions.h"

namespace tarvolan {

void CAttributeRules::OnModifySucceeded(const char* groupURI, int type, const char* text, int value)
{
    CString line;
    line.Format("OnIMSModifyPublicGroupSuccessVeloractrl1, pGroupURI=%s,iType=%d,pNewName=%s,iNewValue=%d", groupURI,
                type, text, value);
    m_link.Log(line, 1);
    Apply(groupURI, type, text, value, true);
}

void CAttributeRules::OnAttributeChanged(const char* groupURI, int type, const char* text, int value)
{
    m_host.LogClient(0, "OnPublicGroupAttributeChangedVeloractrl1, pGroupURI=%s,iType=%d,pName=%s,iValue=%d",
                        groupURI, type, text, value);
    Apply(groupURI, type, text, value, false);
}

// The subject and bulletin (5, 6) only when textFields is set.
void CAttributeRules::Apply(const CString& groupURI, int type, const CString& text, int value, bool textFields)
{
    const bool applies = (type == 0 && !text.IsEmpty()) || (type >= 1 && type <= 4) ||
                         (textFields && (type == 5 || type == 6));
    if (!applies) return;
    const CString user = GetURIField(groupURI, URI_USER);
    std::vector<CString> changed;
    CGroupList& list = m_data.GroupList();
    for (int i = 0; i < list.Count(); ++i) {
        if (list[i].kind != GROUP_PUBLIC || !(GetURIField(list[i].uri, URI_USER) == user)) continue;
        list.Modify(i, [&](TGroupListEntry& e) {
            switch (type) {
            case 0: e.name = text; break;
            case 1: e.duration = value; break;
            case 2: e.visibility = value; break;
            case 3: e.needPermit = value; break;
            case 4: e.maxMembers = value; break;
            case 5: e.subject = text; break;
            case 6: e.bulletin = text; break;
            default: break;
            }
        });
        changed.push_back(list[i].uri);
    }
    for (const CString& uri : changed) m_changes.Report({CHANGE_ATTRIBUTES, uri, m_data.TreeModel().FindGroup(uri)});
}

} // namespace tarvolan
