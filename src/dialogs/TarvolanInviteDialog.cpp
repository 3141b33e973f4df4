#include "dialogs/TarvolanInviteDialog.h"

#include <QCoreApplication>

#include "dialogs/DialogControls.h"
#include "controls/Prompts.h"
#include "controls/SignedInUser.h"
#include "protocol/HostLink.h"
#include "platform/Resources.h"
#include "res/ModuleResources.h"
#include "ui_CTarvolanInviteDialog.h"

namespace tarvolan {

namespace {

CString TooLongText(const CString& uri)
{
    return FromQt(QCoreApplication::translate("CTarvolanInviteDialog", "帐号 \"%1\" 长度不能大于 64 字节.").arg(ToQt(uri)));
}

} // namespace

CTarvolanInviteDialog::CTarvolanInviteDialog(tarvolan::CHostLink& link, QWidget* parent) : CDialog(parent), m_link(link)
{
    m_pUi = new Ui::CTarvolanInviteDialog;
    m_pUi->setupUi(this);
}

CTarvolanInviteDialog::~CTarvolanInviteDialog()
{
    delete m_pUi;
}

CString CTarvolanInviteDialog::CompleteURI(const CString& account, const CString& domain)
{
    CString uri = account;
    uri.Trim();
    CString lower = uri;
    lower.MakeLower();
    if (lower.Left(4) != "sip:") uri.Insert(0, "sip:");
    if (lower.Find('@') < 0) uri += "@" + domain;
    return uri;
}

bool CTarvolanInviteDialog::OnInitDialog()
{
    setWindowTitle(ToQt(LoadResString(IDS_INVITE_CAPTION)));
    m_link.RequestSkin(WindowHandle(this), "media.skn", "");
    SetDlgItemText(IDC_ACCOUNT, m_strAccount);
    LimitTextBytes(GetDlgItem(IDC_ACCOUNT), kAccountLimit);
    return true;
}

void CTarvolanInviteDialog::OnOK()
{
    m_strAccount = GetDlgItemText(IDC_ACCOUNT);
    if (IsBlank(m_strAccount)) {
        ShowNotice(this, LoadResString(IDS_INPUT_EMPTY), MB_ICONEXCLAMATION);
        return;
    }
    m_strAccount.Trim();
    const CString uri = CompleteURI(m_strAccount, SignedInDomain());
    if (uri.GetLength() > kURILimit) {
        ShowNotice(this, TooLongText(uri), MB_ICONEXCLAMATION);
        return;
    }
    m_strInviteeURI = uri;
    EndDialog(IDOK);
}

} // namespace tarvolan
