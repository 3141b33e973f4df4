// CTarvolanSearchDialog: what to search for among other users' groups
// (template 2003, caption "搜索群组"): a group-name keyword or the URI of the
// group's creator, and the domain to search in. It sends nothing: after IDOK
// the caller reads the mode, the texts and the domain.
#pragma once

#include <cstdint>

#include "common/GbkString.h"
#include "platform/Window.h"

namespace Ui { class CTarvolanSearchDialog; }

namespace tarvolan {

class CHostLink;

class CTarvolanSearchDialog : public CDialog {
    Q_OBJECT
public:
    enum { IDD = 2003 };
    enum : int {
        IDC_BY_NAME = 1678,     // radio group: 1678, 1679
        IDC_BY_CREATOR = 1679,
        IDC_KEYWORD = 1224,
        IDC_CREATOR = 1045,
        IDC_DOMAIN = 1575,
        IDC_DOMAIN_LABEL = 1731,
    };
    enum : int { MODE_NAME = 0, MODE_CREATOR = 1 };
    // Longest keyword and creator URI that can be typed, in bytes.
    static constexpr int kTextLimit = 32;

    // showFlag: the main window's show-flag; while it is not 0 the domain
    // row is hidden and the search goes to the user's own domain.
    explicit CTarvolanSearchDialog(tarvolan::CHostLink& link, int32_t showFlag = 0, QWidget* parent = nullptr);
    ~CTarvolanSearchDialog() override;

    // The values as the dialog ended.
    int32_t GetMode() const { return m_nMode; }
    const CString& GetKeyword() const { return m_strKeyword; }
    const CString& GetCreatorURI() const { return m_strCreatorURI; }
    const CString& GetDomain() const { return m_strDomain; }

    // The creator text as it is searched: "@" and the IMS domain appended
    // when it has no "@", then "sip:" put in front when it holds no "sip:"
    // anywhere (exact letters).
    static CString CompleteCreatorURI(const CString& text, const CString& imsDomain);

    bool OnInitDialog() override;
    bool OnCommand(int id, intptr_t lParam) override;
    void OnOK() override;

private:
    void ReadControls();
    void LoadControls();
    void FillDomains();
    void OnSearchByName();
    void OnSearchByCreator();

    tarvolan::CHostLink& m_link;
    Ui::CTarvolanSearchDialog* m_pUi = nullptr;
    int32_t m_nShowFlag = 0;
    int32_t m_nMode = MODE_NAME;
    CString m_strKeyword;
    CString m_strCreatorURI;
    CString m_strDomain;
};

} // namespace tarvolan
