#include "dialogs/TarvolanPropertyDialog.h"

#include "controls/SignedInUser.h"
#include "dialogs/DialogControls.h"
#include "groups/GroupData.h"
#include "protocol/HostLink.h"
#include "platform/Resources.h"
#include "res/ModuleResources.h"
#include "ui_CTarvolanPropertyDialog.h"

namespace tarvolan {

namespace {

using Dlg = CTarvolanPropertyDialog;
constexpr std::initializer_list<int> kRoleRadios = {Dlg::IDC_ROLE_CREATOR, Dlg::IDC_ROLE_MEMBER};
constexpr std::initializer_list<int> kVisibilityRadios = {Dlg::IDC_VISIBILITY_ADMIN, Dlg::IDC_VISIBILITY_MEMBERS,
                                                          Dlg::IDC_VISIBILITY_ALL};
constexpr std::initializer_list<int> kJoinRadios = {Dlg::IDC_JOIN_AUTO, Dlg::IDC_JOIN_CONFIRM};
// Everything the user sees is for reading only.
constexpr std::initializer_list<int> kShownControls = {
    Dlg::IDC_GROUP_NAME, Dlg::IDC_ROLE_CREATOR, Dlg::IDC_ROLE_MEMBER, Dlg::IDC_CREATOR, Dlg::IDC_OWNER,
    Dlg::IDC_DISPLAY_NAME, Dlg::IDC_SUBJECT, Dlg::IDC_BULLETIN};

} // namespace

CTarvolanPropertyDialog::CTarvolanPropertyDialog(tarvolan::CHostLink& link, const CGroupLookup* groups, QWidget* parent)
    : CDialog(parent), m_link(link), m_pGroups(groups)
{
    m_pUi = new Ui::CTarvolanPropertyDialog;
    m_pUi->setupUi(this);
    m_pUi->hiddenValues->hide();
    DisableControls(*this, kShownControls);
}

CTarvolanPropertyDialog::~CTarvolanPropertyDialog()
{
    delete m_pUi;
}

bool CTarvolanPropertyDialog::OnInitDialog()
{
    // The group information handler finds an open properties dialog by this
    // caption.
    setWindowTitle(ToQt(LoadResString(IDS_PROPERTY_CAPTION)));
    m_link.RequestSkin(WindowHandle(this), "media.skn", "");
    LoadControls();
    return true;
}

void CTarvolanPropertyDialog::LoadControls()
{
    SetDlgItemText(IDC_GROUP_NAME, m_strGroupName);
    SetRadioIndex(*this, kRoleRadios, m_nRole);
    SetDlgItemText(IDC_CREATOR, m_strCreator);
    SetDlgItemText(IDC_OWNER, m_strOwner);
    SetDlgItemText(IDC_DISPLAY_NAME, m_strMyDisplayName);
    SetDlgItemText(IDC_SUBJECT, m_strSubject);
    SetDlgItemText(IDC_BULLETIN, m_strBulletin);
    SetRadioIndex(*this, kVisibilityRadios, m_nVisibility);
    SetRadioIndex(*this, kJoinRadios, m_nNeedPermit);
    SetDlgItemInt32(*this, IDC_MAX_MEMBERS, m_nMaxMembers);
    SetDlgItemInt32(*this, IDC_DURATION, m_nDuration);
}

bool CTarvolanPropertyDialog::OnCommand(int id, intptr_t lParam)
{
    if (id == kRefreshCommand && lParam == 0) {
        Refresh();
        CDialog::OnCommand(id, lParam);
        return true;
    }
    return CDialog::OnCommand(id, lParam);
}

// The group-list entry gives the attributes (creator and owner as stored,
// scheme included), the group's record my display name in it; what cannot
// be found leaves the values as they are. The role stays. An empty group
// URI or an unknown own URI matches nothing: contact lists and unfilled
// member slots have empty URIs.
void CTarvolanPropertyDialog::Refresh()
{
    if (!m_pGroups || m_strGroupURI.IsEmpty()) return;
    if (const TGroupListEntry* found = m_pGroups->FindListEntry(m_strGroupURI)) {
        const TGroupListEntry& entry = *found;
        m_strGroupName = entry.name;
        m_strCreator = entry.creator;
        m_strOwner = entry.owner;
        m_nVisibility = VisibilityIndex(entry.visibility);
        m_nDuration = entry.duration;
        m_nNeedPermit = entry.needPermit;
        m_nMaxMembers = entry.maxMembers;
        m_strSubject = entry.subject;
        m_strBulletin = entry.bulletin;
        m_strMyDisplayName.Empty();
    }
    const CString me = SignedInURI();
    if (const CGroupRecord* record = m_pGroups->FindRecord(m_strGroupURI); record && !me.IsEmpty()) {
        const int slot = record->FindMember(me);
        if (slot >= 0) m_strMyDisplayName = record->Member(slot).displayName;
    }
    LoadControls();
}

} // namespace tarvolan
