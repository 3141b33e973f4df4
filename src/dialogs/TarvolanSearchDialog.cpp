#include "dialogs/TarvolanSearchDialog.h"

#include <algorithm>

#include <QComboBox>

#include "clientkit/ClientKit.h"
#include "common/TextFunctions.h"
#include "dialogs/DialogControls.h"
#include "platform/UiDriver.h"
#include "protocol/HostLink.h"
#include "platform/Resources.h"
#include "res/ModuleResources.h"
#include "ui_CTarvolanSearchDialog.h"

namespace tarvolan {

namespace {

using Dlg = CTarvolanSearchDialog;
constexpr std::initializer_list<int> kModeRadios = {Dlg::IDC_BY_NAME, Dlg::IDC_BY_CREATOR};
constexpr int kMaxDomains = 16;

void EnableControl(const CDialog& dialog, int id, bool enable)
{
    if (QWidget* control = dialog.GetDlgItem(id)) control->setEnabled(enable);
}

void FocusControl(const CDialog& dialog, int id)
{
    if (QWidget* control = dialog.GetDlgItem(id)) control->setFocus();
}

} // namespace

CTarvolanSearchDialog::CTarvolanSearchDialog(tarvolan::CHostLink& link, int32_t showFlag, QWidget* parent)
    : CDialog(parent), m_link(link), m_nShowFlag(showFlag)
{
    m_pUi = new Ui::CTarvolanSearchDialog;
    m_pUi->setupUi(this);
    LimitTextBytes(GetDlgItem(IDC_KEYWORD), kTextLimit);
    LimitTextBytes(GetDlgItem(IDC_CREATOR), kTextLimit);
}

CTarvolanSearchDialog::~CTarvolanSearchDialog()
{
    delete m_pUi;
}

CString CTarvolanSearchDialog::CompleteCreatorURI(const CString& text, const CString& imsDomain)
{
    // A trail byte of a double-byte character may be '@': only whole
    // characters count.
    CString uri = text;
    if (FindAtCharStart(uri.view(), "@") == std::string_view::npos) uri += "@" + imsDomain;
    if (FindAtCharStart(uri.view(), "sip:") == std::string_view::npos) uri.Insert(0, "sip:");
    return uri;
}

bool CTarvolanSearchDialog::OnInitDialog()
{
    setWindowTitle(ToQt(LoadResString(IDS_SEARCH_CAPTION)));
    m_link.RequestSkin(WindowHandle(this), "media.skn", "");
    OnSearchByName();
    FillDomains();
    if (m_nShowFlag != 0) {
        m_pUi->id1731->hide();
        m_pUi->id1575->hide();
    }
    return true;
}

// The user's search domains in order, then the own domain put first and
// chosen.
void CTarvolanSearchDialog::FillDomains()
{
    QComboBox* combo = m_pUi->id1575;
    combo->clear();
    const tagMyInfo* me = GetMyInfo();
    if (!me) return;
    const int count = std::clamp(me->nDomainCount, 0, kMaxDomains);
    for (int i = 0; i < count; ++i)
        combo->addItem(ToQt(CString::FromField(me->szDomainList[i], sizeof(me->szDomainList[i]))));
    combo->model()->sort(0);
    combo->insertItem(0, ToQt(CString::FromField(me->szDomain, sizeof(me->szDomain))));
    combo->setCurrentIndex(0);
}

void CTarvolanSearchDialog::ReadControls()
{
    m_nMode = GetRadioIndex(*this, kModeRadios);
    m_strKeyword = GetDlgItemText(IDC_KEYWORD);
    m_strCreatorURI = GetDlgItemText(IDC_CREATOR);
    m_strDomain = GetDlgItemText(IDC_DOMAIN);
}

void CTarvolanSearchDialog::LoadControls()
{
    SetRadioIndex(*this, kModeRadios, m_nMode);
    SetDlgItemText(IDC_KEYWORD, m_strKeyword);
    SetDlgItemText(IDC_CREATOR, m_strCreatorURI);
}

bool CTarvolanSearchDialog::OnCommand(int id, intptr_t lParam)
{
    if (id == IDC_BY_NAME) OnSearchByName();
    else if (id == IDC_BY_CREATOR) OnSearchByCreator();
    else return CDialog::OnCommand(id, lParam);
    return true;
}

// The keyword stays; the creator URI goes.
void CTarvolanSearchDialog::OnSearchByName()
{
    ReadControls();
    m_nMode = MODE_NAME;
    m_strCreatorURI.Empty();
    LoadControls();
    EnableControl(*this, IDC_CREATOR, false);
    EnableControl(*this, IDC_KEYWORD, true);
    FocusControl(*this, IDC_KEYWORD);
}

// Both texts go.
void CTarvolanSearchDialog::OnSearchByCreator()
{
    ReadControls();
    m_nMode = MODE_CREATOR;
    m_strCreatorURI.Empty();
    m_strKeyword.Empty();
    LoadControls();
    EnableControl(*this, IDC_CREATOR, true);
    FocusControl(*this, IDC_CREATOR);
    EnableControl(*this, IDC_KEYWORD, false);
}

// Nothing to search for: the dialog stays open without a word.
void CTarvolanSearchDialog::OnOK()
{
    ReadControls();
    if (m_strCreatorURI.IsEmpty() && m_strKeyword.IsEmpty()) return;
    EndDialog(IDOK);
}

} // namespace tarvolan
