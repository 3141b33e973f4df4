// CInputTextDialog: one line of text under a label that the caller chooses
// (template 2009, caption "InputText"). No checks of its own: the caller
// checks what comes back.
#pragma once

#include "common/GbkString.h"
#include "platform/Window.h"

namespace Ui { class CInputTextDialog; }

namespace tarvolan {

class CHostLink;

class CInputTextDialog : public CDialog {
    Q_OBJECT
public:
    enum { IDD = 2009 };
    enum : int { IDC_INPUT = 1001, IDC_LABEL = 1002 };
    static constexpr int kDefaultMaxLength = 260;

    explicit CInputTextDialog(tarvolan::CHostLink& link, QWidget* parent = nullptr);
    ~CInputTextDialog() override;

    // Before DoModal: the label above the edit and the edit's limit in bytes
    // of GBK text (a value below 1 keeps the default).
    void SetLabel(const CString& label) { m_strLabel = label; }
    const CString& GetLabel() const { return m_strLabel; }
    void SetMaxLength(int bytes) { m_nMaxLength = bytes > 0 ? bytes : kDefaultMaxLength; }
    int GetMaxLength() const { return m_nMaxLength; }
    // After IDOK: the text as typed, not trimmed.
    const CString& GetText() const { return m_strText; }

    bool OnInitDialog() override;
    void OnOK() override;

private:
    tarvolan::CHostLink& m_link;
    Ui::CInputTextDialog* m_pUi = nullptr;
    CString m_strLabel;
    CString m_strText;
    int m_nMaxLength = kDefaultMaxLength;
};

} // namespace tarvolan
