// CTarvolanInviteDialog: asks for the account of the person to invite into
// one of the user's groups (template 2006, caption "邀请某人") and turns it
// into a complete SIP URI. It sends nothing: after IDOK the caller reads the
// invitee URI.
#pragma once

#include "common/GbkString.h"
#include "platform/Window.h"

namespace Ui { class CTarvolanInviteDialog; }

namespace tarvolan {

class CHostLink;

class CTarvolanInviteDialog : public CDialog {
    Q_OBJECT
public:
    enum { IDD = 2006 };
    enum : int { IDC_ACCOUNT = 1045 };
    // Longest account that can be typed and longest URI accepted, in bytes.
    static constexpr int kAccountLimit = 64;
    static constexpr int kURILimit = 64;

    explicit CTarvolanInviteDialog(tarvolan::CHostLink& link, QWidget* parent = nullptr);
    ~CTarvolanInviteDialog() override;

    // The account as typed (trimmed once OK accepted it); may be filled before
    // DoModal to preset the edit.
    void SetAccount(const CString& account) { m_strAccount = account; }
    const CString& GetAccount() const { return m_strAccount; }
    // The complete URI ("sip:" user "@" domain); set only by an accepted OK.
    const CString& GetInviteeURI() const { return m_strInviteeURI; }

    // The URI for an account: trimmed, "sip:" put in front when it does not
    // start with it (any letter case), "@" and domain appended when it holds
    // no "@".
    static CString CompleteURI(const CString& account, const CString& domain);

    bool OnInitDialog() override;
    void OnOK() override;

private:
    tarvolan::CHostLink& m_link;
    Ui::CTarvolanInviteDialog* m_pUi = nullptr;
    CString m_strAccount;
    CString m_strInviteeURI;
};

} // namespace tarvolan
