#include "dialogs/GroupDetailsPane.h"

#include <algorithm>

#include <QTreeWidget>

#include "common/TextFunctions.h"
#include "controls/SignedInUser.h"
#include "dialogs/DialogControls.h"
#include "dialogs/ListColumns.h"
#include "groups/GroupData.h"

namespace tarvolan {

namespace {

using Pane = CGroupDetailsPane;
constexpr std::initializer_list<int> kVisibilityRadios = {Pane::IDC_VISIBILITY_ADMIN, Pane::IDC_VISIBILITY_MEMBERS,
                                                          Pane::IDC_VISIBILITY_ALL};
constexpr std::initializer_list<int> kJoinRadios = {Pane::IDC_JOIN_AUTO, Pane::IDC_JOIN_CONFIRM};

// The member information of a member who waits for the owner's approval.
constexpr const char* kAwaitingApproval = "Defend";

// A member's state column: exactly "Defend" waits for approval.
CString MemberState(const CString& info)
{
    return LoadResString(info == kAwaitingApproval ? IDS_AWAITING_APPROVAL : IDS_JOINED);
}

// The radio index of a group's visibility (1 to 3); none for other values.
int32_t VisibilityIndex(int32_t visibility)
{
    return visibility >= 1 && visibility <= 3 ? visibility - 1 : -1;
}

} // namespace

CGroupDetailsPane::CGroupDetailsPane(CDialog& form, QTreeWidget& members) : m_form(form), m_members(members)
{
    DisableControls(m_form, kVisibilityRadios);
    DisableControls(m_form, kJoinRadios);
}

void CGroupDetailsPane::Init()
{
    SetListColumns(m_members, {{IDS_COL_MEMBER_ACCOUNT, 60}, {IDS_MEMBER_NAME, 60}, {IDS_COL_MEMBER_STATE, 60}});
}

void CGroupDetailsPane::Load()
{
    m_form.SetDlgItemText(IDC_GROUP_NAME, m_details.name);
    m_form.SetDlgItemText(IDC_CREATOR, m_details.creator);
    m_form.SetDlgItemText(IDC_OWNER, m_details.owner);
    m_form.SetDlgItemText(IDC_CREATED, m_details.created);
    SetDlgItemInt32(m_form, IDC_MAX_MEMBERS, m_details.maxMembers);
    m_form.SetDlgItemText(IDC_SUBJECT, m_details.subject);
    m_form.SetDlgItemText(IDC_BULLETIN, m_details.bulletin);
    SetRadioIndex(m_form, kVisibilityRadios, m_details.visibility);
    SetRadioIndex(m_form, kJoinRadios, m_details.joinHandling);
}

void CGroupDetailsPane::Clear()
{
    m_details = TDetails();
    m_members.clear();
    Load();
}

void CGroupDetailsPane::AddMemberRow(const CString& account, const CString& name, const CString& info)
{
    auto* item = new QTreeWidgetItem(&m_members);
    item->setText(0, ListCell(account));
    item->setToolTip(0, item->text(0));
    item->setText(1, ListCell(name));
    item->setText(2, ListCell(MemberState(info)));
}

bool CGroupDetailsPane::FillFromRegistry(const CGroupData& data, const CString& groupURI, CString& myDisplayName)
{
    const CGroupList& list = data.GroupList();
    if (const int i = list.Find(groupURI, CString(), GROUP_PUBLIC); i >= 0) {
        const TGroupListEntry& e = list[i];
        m_details.name = e.name;
        m_details.creator = GetURIField(e.creator, URI_USER);
        m_details.owner = GetURIField(e.owner, URI_USER);
        m_details.created = e.creationTime;
        m_details.visibility = VisibilityIndex(e.visibility);
        m_details.maxMembers = e.maxMembers;
        m_details.subject = e.subject;
        m_details.bulletin = e.bulletin;
        m_details.joinHandling = e.needPermit != 0 ? 1 : 0;
    }
    const CGroupRecord* record = data.FindRecord(groupURI);
    if (!record || record->kind != GROUP_PUBLIC) return false;
    const CString me = SignedInURI();
    bool listed = false;
    for (const TMemberSlot& slot : record->Members()) {
        AddMemberRow(GetURIField(slot.uri, URI_ADDRESS), slot.displayName, slot.info);
        if (me.IsEmpty() || slot.uri != me) continue;
        myDisplayName = slot.displayName;
        listed = true;
    }
    return listed;
}

void CGroupDetailsPane::ShowReported(const CString& groupName, const TGroupDescription& info, int memberCount,
                                     const TMemberEntry* members)
{
    m_members.clear();
    m_details.name = groupName;
    m_details.creator = GetURIField(CString::FromField(info.creator), URI_USER);
    m_details.owner = GetURIField(CString::FromField(info.owner), URI_USER);
    m_details.created = CString::FromField(info.creationTime);
    m_details.visibility = VisibilityIndex(info.iVisi);
    m_details.joinHandling = info.iNeedPermit;
    m_details.maxMembers = info.iMaxMember;
    m_details.subject = CString::FromField(info.subject);
    m_details.bulletin = CString::FromField(info.bulletin);
    const int count = members ? std::clamp(memberCount, 0, kMaxMembers) : 0;
    for (int i = 0; i < count; ++i) {
        const CString uri = CString::FromField(members[i].UserURI);
        AddMemberRow(GetURIField(uri, URI_ADDRESS), GetURIField(uri, URI_USER), CString::FromField(members[i].csInfo));
    }
}

} // namespace tarvolan
