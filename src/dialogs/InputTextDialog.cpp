#include "dialogs/InputTextDialog.h"

#include "dialogs/DialogControls.h"
#include "protocol/HostLink.h"
#include "platform/UiDriver.h"
#include "ui_CInputTextDialog.h"

namespace tarvolan {

CInputTextDialog::CInputTextDialog(tarvolan::CHostLink& link, QWidget* parent) : CDialog(parent), m_link(link)
{
    m_pUi = new Ui::CInputTextDialog;
    m_pUi->setupUi(this);
}

CInputTextDialog::~CInputTextDialog()
{
    delete m_pUi;
}

// The caption stays the template's.
bool CInputTextDialog::OnInitDialog()
{
    SetDlgItemText(IDC_LABEL, m_strLabel);
    SetDlgItemText(IDC_INPUT, m_strText);
    m_link.RequestSkin(WindowHandle(this), "media.skn", "");
    LimitTextBytes(GetDlgItem(IDC_INPUT), m_nMaxLength);
    return true;
}

void CInputTextDialog::OnOK()
{
    m_strText = GetDlgItemText(IDC_INPUT);
    EndDialog(IDOK);
}

} // namespace tarvolan
