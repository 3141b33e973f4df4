// CTarvolanPropertyDialog: the attributes of one of the user's groups and the
// user's place in it, display-only (template 2005, caption "群组属性"). The
// caller fills the values and runs it modally; nothing is read back. While it
// is open, command 987656666 (lParam 0) makes it reload its values from the
// group registry it was given.
#pragma once

#include <cstdint>


#include "common/GbkString.h"
#include "platform/Window.h"

namespace Ui { class CTarvolanPropertyDialog; }

namespace tarvolan {

class CHostLink;

class CGroupLookup;

class CTarvolanPropertyDialog : public CDialog {
    Q_OBJECT
public:
    enum { IDD = 2005 };
    enum : int {
        IDC_GROUP_NAME = 1045,
        IDC_ROLE_CREATOR = 1107,     // radio group: 1107, 1108
        IDC_ROLE_MEMBER = 1108,
        IDC_CREATOR = 1592,
        IDC_OWNER = 1593,
        IDC_DISPLAY_NAME = 1589,
        IDC_SUBJECT = 1779,
        IDC_BULLETIN = 1780,
        IDC_VISIBILITY_ADMIN = 1591, // hidden radio group: 1591, 1109, 1110
        IDC_VISIBILITY_MEMBERS = 1109,
        IDC_VISIBILITY_ALL = 1110,
        IDC_JOIN_AUTO = 1622,        // hidden radio group: 1622, 1625
        IDC_JOIN_CONFIRM = 1625,
        IDC_MAX_MEMBERS = 1627,      // hidden
        IDC_DURATION = 1590,         // hidden
        IDC_SUBJECT_LABEL = 1741,
        IDC_BULLETIN_LABEL = 1743,
    };
    // The command that makes an open properties dialog reload its group.
    static constexpr int kRefreshCommand = 987656666;  // 0x3ADE71DA
    // Role index: 0 "创建者", 1 "成员", -1 none.
    enum : int { ROLE_INDEX_NONE = -1, ROLE_INDEX_CREATOR = 0, ROLE_INDEX_MEMBER = 1 };

    // registry: where a refresh reads the group from (not owned; may be null,
    // then a refresh changes nothing). It must outlive the dialog.
    explicit CTarvolanPropertyDialog(tarvolan::CHostLink& link, const CGroupLookup* groups = nullptr,
                                     QWidget* parent = nullptr);
    ~CTarvolanPropertyDialog() override;

    void SetGroups(const CGroupLookup* groups) { m_pGroups = groups; }

    // The visibility index shown for a group's visibility: visibility - 1
    // when it is positive, else 0.
    static int32_t VisibilityIndex(int32_t visibility) { return visibility > 0 ? visibility - 1 : 0; }

    // ---- values: fill before DoModal ----------------------------------------
    // The group's URI: the key of a refresh.
    void SetGroupURI(const CString& uri) { m_strGroupURI = uri; }
    const CString& GetGroupURI() const { return m_strGroupURI; }
    void SetGroupName(const CString& name) { m_strGroupName = name; }
    const CString& GetGroupName() const { return m_strGroupName; }
    void SetCreator(const CString& creator) { m_strCreator = creator; }
    const CString& GetCreator() const { return m_strCreator; }
    void SetOwner(const CString& owner) { m_strOwner = owner; }
    const CString& GetOwner() const { return m_strOwner; }
    void SetRole(int32_t index) { m_nRole = index; }
    int32_t GetRole() const { return m_nRole; }
    void SetMyDisplayName(const CString& name) { m_strMyDisplayName = name; }
    const CString& GetMyDisplayName() const { return m_strMyDisplayName; }
    void SetSubject(const CString& subject) { m_strSubject = subject; }
    const CString& GetSubject() const { return m_strSubject; }
    void SetBulletin(const CString& bulletin) { m_strBulletin = bulletin; }
    const CString& GetBulletin() const { return m_strBulletin; }
    // Visibility index (see VisibilityIndex).
    void SetVisibility(int32_t index) { m_nVisibility = index; }
    int32_t GetVisibility() const { return m_nVisibility; }
    void SetNeedPermit(int32_t index) { m_nNeedPermit = index; }
    int32_t GetNeedPermit() const { return m_nNeedPermit; }
    void SetMaxMembers(int32_t count) { m_nMaxMembers = count; }
    int32_t GetMaxMembers() const { return m_nMaxMembers; }
    void SetDuration(int32_t duration) { m_nDuration = duration; }
    int32_t GetDuration() const { return m_nDuration; }

    bool OnInitDialog() override;
    bool OnCommand(int id, intptr_t lParam) override;
    // Reloads the values from the registry and shows them.
    void Refresh();

private:
    tarvolan::CHostLink& m_link;
    void LoadControls();

    Ui::CTarvolanPropertyDialog* m_pUi = nullptr;
    const CGroupLookup* m_pGroups = nullptr;
    CString m_strGroupURI;
    CString m_strGroupName;
    CString m_strCreator;
    CString m_strOwner;
    CString m_strMyDisplayName;
    CString m_strSubject;
    CString m_strBulletin;
    int32_t m_nRole = ROLE_INDEX_NONE;
    int32_t m_nVisibility = -1;
    int32_t m_nNeedPermit = 0;
    int32_t m_nMaxMembers = 0;
    int32_t m_nDuration = 0;
};

} // namespace tarvolan
