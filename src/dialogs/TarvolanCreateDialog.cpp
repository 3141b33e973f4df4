#include "dialogs/TarvolanCreateDialog.h"

#include "dialogs/DialogControls.h"
#include "controls/Prompts.h"
#include "protocol/HostLink.h"
#include "platform/Resources.h"
#include "res/ModuleResources.h"
#include "ui_CTarvolanCreateDialog.h"

namespace tarvolan {

namespace {

constexpr std::initializer_list<int> kVisibilityRadios = {
    CTarvolanCreateDialog::IDC_VISIBILITY_ADMIN, CTarvolanCreateDialog::IDC_VISIBILITY_MEMBERS,
    CTarvolanCreateDialog::IDC_VISIBILITY_ALL};
constexpr std::initializer_list<int> kJoinRadios = {CTarvolanCreateDialog::IDC_JOIN_AUTO,
                                                    CTarvolanCreateDialog::IDC_JOIN_CONFIRM};
constexpr std::initializer_list<int> kApprovalRadios = {CTarvolanCreateDialog::IDC_APPROVAL};

// A radio group read back: the checked index, or the value it was loaded
// with when none is checked (a hidden group loaded with an index outside it).
int32_t RadioIndexOr(const CDialog& dialog, std::initializer_list<int> ids, int32_t loaded)
{
    const int32_t index = GetRadioIndex(dialog, ids);
    return index >= 0 ? index : loaded;
}

} // namespace

CTarvolanCreateDialog::CTarvolanCreateDialog(tarvolan::CHostLink& link, QWidget* parent) : CDialog(parent), m_link(link)
{
    m_pUi = new Ui::CTarvolanCreateDialog;
    m_pUi->setupUi(this);
    m_pUi->hiddenValues->hide();
}

CTarvolanCreateDialog::~CTarvolanCreateDialog()
{
    delete m_pUi;
}

bool CTarvolanCreateDialog::OnInitDialog()
{
    setWindowTitle(ToQt(LoadResString(IsEditMode() ? IDS_EDIT_CAPTION : IDS_CREATE_CAPTION)));
    m_link.RequestSkin(WindowHandle(this), "media.skn", "");
    LoadControls();
    // After loading: an edited group's longer texts are shown and handed
    // back whole, only typing is limited.
    LimitTextBytes(GetDlgItem(IDC_GROUP_NAME), kNameLimit);
    LimitTextBytes(GetDlgItem(IDC_DISPLAY_NAME), kDisplayNameLimit);
    LimitTextBytes(GetDlgItem(IDC_SUBJECT), kTextLimit);
    LimitTextBytes(GetDlgItem(IDC_BULLETIN), kTextLimit);
    LimitTextBytes(GetDlgItem(IDC_EXTRA), kTextLimit);
    return true;
}

void CTarvolanCreateDialog::LoadControls()
{
    SetDlgItemText(IDC_GROUP_NAME, m_strGroupName);
    SetDlgItemText(IDC_DISPLAY_NAME, m_strMyDisplayName);
    SetDlgItemText(IDC_SUBJECT, m_strSubject);
    SetDlgItemText(IDC_BULLETIN, m_strBulletin);
    SetDlgItemText(IDC_EXTRA, m_strExtra);
    SetDlgItemInt32(*this, IDC_MAX_MEMBERS, m_nMaxMembers);
    SetDlgItemInt32(*this, IDC_DURATION, m_nDuration);
    SetRadioIndex(*this, kVisibilityRadios, m_nVisibility);
    SetRadioIndex(*this, kJoinRadios, m_nNeedPermit);
    SetRadioIndex(*this, kApprovalRadios, m_nApproval);
}

// The texts as typed, untrimmed. Hidden values keep what they were loaded
// with unless their control holds a valid other value.
void CTarvolanCreateDialog::ReadControls()
{
    m_strGroupName = GetDlgItemText(IDC_GROUP_NAME);
    m_strMyDisplayName = GetDlgItemText(IDC_DISPLAY_NAME);
    m_strSubject = GetDlgItemText(IDC_SUBJECT);
    m_strBulletin = GetDlgItemText(IDC_BULLETIN);
    m_strExtra = GetDlgItemText(IDC_EXTRA);
    GetDlgItemInt32(*this, IDC_MAX_MEMBERS, m_nMaxMembers);
    GetDlgItemInt32(*this, IDC_DURATION, m_nDuration);
    m_nVisibility = RadioIndexOr(*this, kVisibilityRadios, m_nVisibility);
    m_nNeedPermit = RadioIndexOr(*this, kJoinRadios, m_nNeedPermit);
    m_nApproval = RadioIndexOr(*this, kApprovalRadios, m_nApproval);
}

void CTarvolanCreateDialog::OnOK()
{
    // The member count is checked as text first: an empty (or unreadable)
    // count cannot be read back as a number.
    int32_t maxMembers = 0;
    if (!GetDlgItemInt32(*this, IDC_MAX_MEMBERS, maxMembers)) {
        ShowNotice(this, LoadResString(IDS_MAX_MEMBERS_TOO_SMALL));
        return;
    }
    ReadControls();
    if (IsBlank(m_strGroupName)) {
        ShowNotice(this, LoadResString(IDS_GROUP_NAME_EMPTY));
        return;
    }
    if (IsBlank(m_strMyDisplayName)) {
        ShowNotice(this, LoadResString(IDS_DISPLAY_NAME_EMPTY));
        return;
    }
    if (m_nMaxMembers < 2) {
        ShowNotice(this, LoadResString(IDS_MAX_MEMBERS_TOO_SMALL));
        return;
    }
    EndDialog(IDOK);
}

} // namespace tarvolan
