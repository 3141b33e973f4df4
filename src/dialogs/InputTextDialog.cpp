#include "dialogs/InputTextDialog.h"

#include "dialogs/DialogControls.h"
#include "module/TarvolanModule.h"
#include "platform/UiDriver.h"
#include "ui_CInputTextDialog.h"

CInputTextDialog::CInputTextDialog(QWidget* parent) : CDialog(parent)
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
    tarvolan::SendSkinRequest(WindowHandle(this), "media.skn", "");
    LimitTextBytes(GetDlgItem(IDC_INPUT), m_nMaxLength);
    return true;
}

void CInputTextDialog::OnOK()
{
    m_strText = GetDlgItemText(IDC_INPUT);
    EndDialog(IDOK);
}
