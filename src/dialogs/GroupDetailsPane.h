// CGroupDetailsPane: the details of one group in the group information
// window: the read-only fields (name 1622, creator 1615, owner 1616,
// creation time 1617, maximum members 1627, subject 1626, bulletin 1625),
// the two disabled radio groups (visibility 1619-1621, join handling
// 1623/1624) and the member list (1177). The details are kept here and
// loaded into the controls on Load.
#pragma once

#include <cstdint>

#include "common/GbkString.h"
#include "protocol/TarvolanAbi.h"

class QTreeWidget;

namespace tarvolan {

class CDialog;
class CGroupData;

class CGroupDetailsPane {
public:
    enum : int {
        IDC_GROUP_NAME = 1622,
        IDC_CREATOR = 1615,
        IDC_OWNER = 1616,
        IDC_CREATED = 1617,
        IDC_MAX_MEMBERS = 1627,
        IDC_SUBJECT = 1626,
        IDC_BULLETIN = 1625,
        IDC_VISIBILITY_ADMIN = 1619,  // radio group: 1619, 1620, 1621
        IDC_VISIBILITY_MEMBERS = 1620,
        IDC_VISIBILITY_ALL = 1621,
        IDC_JOIN_AUTO = 1623,         // radio group: 1623, 1624
        IDC_JOIN_CONFIRM = 1624,
    };

    // form: the window whose detail controls these are; members: its member
    // list. Both must outlive the pane.
    CGroupDetailsPane(CDialog& form, QTreeWidget& members);
    CGroupDetailsPane(const CGroupDetailsPane&) = delete;
    CGroupDetailsPane& operator=(const CGroupDetailsPane&) = delete;

    void Init();
    // The kept details into the controls.
    void Load();
    // No details and no members, loaded.
    void Clear();
    // A group I am in, as the group list and table hold it (not loaded yet).
    // True when I am among its members, with my display name there.
    bool FillFromRegistry(const CGroupData& data, const CString& groupURI, CString& myDisplayName);
    // The details that the host reported for a group (not loaded yet).
    void ShowReported(const CString& groupName, const TGroupDescription& info, int memberCount,
                      const TMemberEntry* members);

private:
    struct TDetails {
        CString name, creator, owner, created, subject, bulletin;
        int32_t maxMembers = 0;
        int32_t visibility = -1;    // radio index, -1 none
        int32_t joinHandling = -1;  // radio index, -1 none
    };

    void AddMemberRow(const CString& account, const CString& name, const CString& info);

    CDialog& m_form;
    QTreeWidget& m_members;
    TDetails m_details;
};

} // namespace tarvolan
