// CTarvolanInfoDialog: the modeless group information window (template
// 2001, caption "群组信息"). It shows a group search a page at a time, the
// details and members of one found group, and applies to join a group of
// another user. The main window creates it for each confirmed search, keeps
// it in its open windows and feeds it the host's answers through
// CGroupInfoWindow; the window itself asks the host for the other pages
// (9), a group's details (20), to join (19) and, for a group I am in that
// was not asked about yet, the group's information (1).
//
// It works on the main window's group data: the group list and table for a
// joined group's details, the groups whose information was asked for, and
// my pending applications to join.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "common/GbkString.h"
#include "groups/ChildWindows.h"
#include "platform/Window.h"

class QTreeWidget;
class QTreeWidgetItem;
namespace Ui { class CTarvolanInfoDialog; }

namespace tarvolan {

class CHostLink;
class CGroupData;

class CTarvolanInfoDialog : public CDialog, public CGroupInfoWindow {
    Q_OBJECT
public:
    enum { IDD = 2001 };
    enum : int {
        IDC_RESULTS = 1524,
        IDC_MEMBERS = 1177,
        IDC_QUERY = 1081,           // never shown: a query starts with a double click
        IDC_APPLY = 1523,
        IDC_PREV_PAGE = 1793,
        IDC_NEXT_PAGE = 1794,
        IDC_DISPLAY_NAME = 1592,
        IDC_GROUP_NAME = 1622,
        IDC_CREATOR = 1615,
        IDC_OWNER = 1616,
        IDC_CREATED = 1617,
        IDC_MAX_MEMBERS = 1627,
        IDC_SUBJECT = 1626,
        IDC_BULLETIN = 1625,
        IDC_VISIBILITY_ADMIN = 1619,  // radio group: 1619, 1620, 1621
        IDC_VISIBILITY_MEMBERS = 1620,
        IDC_VISIBILITY_ALL = 1621,
        IDC_JOIN_AUTO = 1623,         // radio group: 1623, 1624
        IDC_JOIN_CONFIRM = 1624,
    };
    enum : int { kTimerQuery = 1, kTimerJoinExpiry = 2 };
    static constexpr int kQueryPeriodMs = 5000;
    static constexpr int kJoinExpiryPeriodMs = 10000;
    static constexpr int kDisplayNameLimit = 63;  // bytes

    // data must outlive the window (the main window owns both).
    CTarvolanInfoDialog(tarvolan::CHostLink& link, CGroupData& data, QWidget* parent = nullptr);
    ~CTarvolanInfoDialog() override;

    // A new search whose page 1 is on its way: kind (1 name keyword, 2
    // creator URI), text and domain are kept for the page buttons, which
    // are disabled until the page comes.
    void BeginSearch(int kind, const CString& text, const CString& domain);
    // The page shown (from 1).
    int GetPage() const { return m_nPage; }
    int GetSearchKind() const { return m_nSearchKind; }
    const CString& GetSearchText() const { return m_strSearchText; }
    const CString& GetSearchDomain() const { return m_strSearchDomain; }
    // The group whose details were asked for last, or the selected joined
    // group; empty once the details came or the query timed out.
    const CString& GetQueriedGroupURI() const { return m_strQueriedURI; }
    int GetRowCount() const;

    // CGroupInfoWindow
    CString GetGroupNameByURI(const CString& groupURI) override;
    void SetGroupJoined(const CString& groupURI, int joined) override;
    void MarkJoined(const CString& ownerURI, const CString& groupURI) override;
    void ClearSearchResults() override;
    void AddSearchResult(const CString& ownerURI, const CString& groupURI, const CString& groupName,
                         const CString& groupID, const CString& subject, const CString& bulletin, int needPermit,
                         int joined) override;
    void EnableNextPage(bool enable) override;
    void ShowGroupInfo(const CString& groupName, const CString& groupURI, int myRole,
                       const tarvolan::TGroupDescription& info, int memberCount,
                       const tarvolan::TMemberEntry* members) override;
    void OnQueryFailed() override;

    bool OnInitDialog() override;
    bool OnCommand(int id, intptr_t lParam) override;
    void OnTimer(int id) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // One result row's group, owned by the window; the row's item data
    // points at it.
    struct TSearchRow {
        CString ownerURI;
        CString groupURI;
        CString groupName;
        CString groupID;
        int joined = 0;
    };
    // The detail fields shown.
    struct TDetails {
        CString name, creator, owner, created, subject, bulletin;
        int32_t maxMembers = 0;
        int32_t visibility = -1;    // radio index, -1 none
        int32_t joinHandling = -1;  // radio index, -1 none
    };

    QTreeWidget* Results() const;
    QTreeWidget* Members() const;
    static TSearchRow* RowOf(const QTreeWidgetItem* item);
    QTreeWidgetItem* SelectedResult() const;
    QTreeWidgetItem* FindResult(const CString& groupURI, const CString* ownerURI = nullptr) const;
    void SelectResult(QTreeWidgetItem* item);
    void ShowJoined(QTreeWidgetItem* item, int joined);

    void LoadControls();
    void ClearDetails();
    void AddMemberRow(const CString& account, const CString& name, const CString& info);
    void FillFromRegistry(const CString& groupURI);
    void EnableButton(int id, bool enable);
    void ResetQueryButton();

    void OnResultSelectionChanged();
    void OnResultDoubleClicked(QTreeWidgetItem* item);
    void OnQuery();
    void OnApply();
    void OnQueryTimeout();
    void DropOldestApplication();
    void OnNextPage();
    void OnPrevPage();
    void SendPageRequest();

    tarvolan::CHostLink& m_link;
    CGroupData& m_data;
    Ui::CTarvolanInfoDialog* m_pUi = nullptr;
    std::vector<std::unique_ptr<TSearchRow>> m_rows;
    TDetails m_details;
    CString m_strQueriedURI;
    bool m_bFailureShown = false;  // the query-failure box is open
    int m_nSearchKind = 1;
    CString m_strSearchText;
    CString m_strSearchDomain;
    int m_nPage = 1;
    int m_nRowCount = 0;   // where the next result row goes
};

} // namespace tarvolan
