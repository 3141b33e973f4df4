// CTarvolanCreateDialog: the attributes of a group that the user creates, or
// of a group that the user owns and edits (template 2002). Only the name, the
// user's display name, the subject and the bulletin can be seen and typed;
// the other values travel through the dialog unchanged. The dialog sends
// nothing: the caller fills it, runs it and, after IDOK, reads it back.
#pragma once

#include <cstdint>


#include "common/GbkString.h"
#include "platform/Window.h"

namespace Ui { class CTarvolanCreateDialog; }

namespace tarvolan {

class CHostLink;

class CTarvolanCreateDialog : public CDialog {
    Q_OBJECT
public:
    enum { IDD = 2002 };
    enum : int {
        IDC_GROUP_NAME = 1045,
        IDC_DISPLAY_NAME = 1589,
        IDC_SUBJECT = 1528,
        IDC_BULLETIN = 1774,
        IDC_MAX_MEMBERS = 1627,      // hidden
        IDC_VISIBILITY_ADMIN = 1591, // hidden radio group: 1591, 1109, 1110
        IDC_VISIBILITY_MEMBERS = 1109,
        IDC_VISIBILITY_ALL = 1110,
        IDC_JOIN_AUTO = 1622,        // hidden radio group: 1622, 1526
        IDC_JOIN_CONFIRM = 1526,
        IDC_DURATION = 1590,         // hidden
        IDC_APPROVAL = 1107,         // hidden radio
        IDC_EXTRA = 1527,            // hidden
        IDC_SUBJECT_LABEL = 1775,
        IDC_NAME_LABEL = 1776,
        IDC_BULLETIN_LABEL = 1777,
        IDC_DISPLAY_NAME_LABEL = 1778,
    };
    // Edit limits in bytes of GBK text.
    static constexpr int kNameLimit = 64;
    static constexpr int kDisplayNameLimit = 32;
    static constexpr int kTextLimit = 200;  // subject, bulletin, extra text
    // Values of a create request.
    static constexpr int32_t kDefaultMaxMembers = 1000;
    static constexpr int32_t kDefaultVisibility = 2;  // "所有人可见"
    static constexpr int32_t kDefaultNeedPermit = 1;  // "需要确认"

    explicit CTarvolanCreateDialog(tarvolan::CHostLink& link, QWidget* parent = nullptr);
    ~CTarvolanCreateDialog() override;

    // ---- values: fill before DoModal, read after IDOK -------------------------
    // A non-empty group name makes the dialog an edit ("编辑群组").
    void SetGroupName(const CString& name) { m_strGroupName = name; }
    const CString& GetGroupName() const { return m_strGroupName; }
    void SetMyDisplayName(const CString& name) { m_strMyDisplayName = name; }
    const CString& GetMyDisplayName() const { return m_strMyDisplayName; }
    void SetSubject(const CString& subject) { m_strSubject = subject; }
    const CString& GetSubject() const { return m_strSubject; }
    void SetBulletin(const CString& bulletin) { m_strBulletin = bulletin; }
    const CString& GetBulletin() const { return m_strBulletin; }
    // Group lifetime (duration).
    void SetDuration(int32_t duration) { m_nDuration = duration; }
    int32_t GetDuration() const { return m_nDuration; }
    // Visibility index: 0 "管理员可见", 1 "成员可见", 2 "所有人可见" (the
    // group's visibility minus 1).
    void SetVisibility(int32_t index) { m_nVisibility = index; }
    int32_t GetVisibility() const { return m_nVisibility; }
    // Join handling index: 0 "自动接受", 1 "需要确认" (the need-permit value).
    void SetNeedPermit(int32_t index) { m_nNeedPermit = index; }
    int32_t GetNeedPermit() const { return m_nNeedPermit; }
    void SetMaxMembers(int32_t count) { m_nMaxMembers = count; }
    int32_t GetMaxMembers() const { return m_nMaxMembers; }
    // Carried along, never shown.
    int32_t GetApprovalFlag() const { return m_nApproval; }
    const CString& GetExtraText() const { return m_strExtra; }

    bool IsEditMode() const { return !m_strGroupName.IsEmpty(); }

    bool OnInitDialog() override;
    void OnOK() override;

private:
    tarvolan::CHostLink& m_link;
    void LoadControls();
    void ReadControls();

    Ui::CTarvolanCreateDialog* m_pUi = nullptr;
    CString m_strGroupName;
    CString m_strMyDisplayName;
    CString m_strSubject;
    CString m_strBulletin;
    CString m_strExtra;
    int32_t m_nMaxMembers = kDefaultMaxMembers;
    int32_t m_nVisibility = kDefaultVisibility;
    int32_t m_nNeedPermit = kDefaultNeedPermit;
    int32_t m_nDuration = 0;
    int32_t m_nApproval = 0;
};

} // namespace tarvolan
