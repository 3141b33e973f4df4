// CTarvolanInfoDialog: the modeless group information window (template
// 2001, caption "群组信息"). It shows a group search a page at a time, the
// details and members of one found group, and applies to join a group of
// another user. The main window creates it for each confirmed search, keeps
// it in its open windows and feeds it the host's answers through
// CGroupInfoWindow; the window itself asks the host for the other pages
// (9), a group's details (20), to join (19) and, for a group I am in that
// was not asked about yet, the group's information (1).
//
// It assembles two parts on the controls of its form: the results pane (the
// result list and its pages) and the details pane (one group's fields and
// members). The window itself ties them together (a selected row shows its
// group's details), asks for a group's details and applies to join.
//
// It works on the main window's group data: the group list and table for a
// joined group's details, the groups whose information was asked for, and
// my pending applications to join.
#pragma once

#include <cstdint>
#include <memory>

#include "common/GbkString.h"
#include "dialogs/GroupDetailsPane.h"
#include "dialogs/SearchResultsPane.h"
#include "groups/ChildWindows.h"
#include "platform/Window.h"

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
        IDC_GROUP_NAME = CGroupDetailsPane::IDC_GROUP_NAME,
        IDC_CREATOR = CGroupDetailsPane::IDC_CREATOR,
        IDC_OWNER = CGroupDetailsPane::IDC_OWNER,
        IDC_CREATED = CGroupDetailsPane::IDC_CREATED,
        IDC_MAX_MEMBERS = CGroupDetailsPane::IDC_MAX_MEMBERS,
        IDC_SUBJECT = CGroupDetailsPane::IDC_SUBJECT,
        IDC_BULLETIN = CGroupDetailsPane::IDC_BULLETIN,
        IDC_VISIBILITY_ADMIN = CGroupDetailsPane::IDC_VISIBILITY_ADMIN,
        IDC_VISIBILITY_MEMBERS = CGroupDetailsPane::IDC_VISIBILITY_MEMBERS,
        IDC_VISIBILITY_ALL = CGroupDetailsPane::IDC_VISIBILITY_ALL,
        IDC_JOIN_AUTO = CGroupDetailsPane::IDC_JOIN_AUTO,
        IDC_JOIN_CONFIRM = CGroupDetailsPane::IDC_JOIN_CONFIRM,
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
    void BeginSearch(int kind, const CString& text, const CString& domain)
    {
        m_results->BeginSearch(kind, text, domain);
    }
    // The page shown (from 1).
    int GetPage() const { return m_results->Page(); }
    int GetSearchKind() const { return m_results->SearchKind(); }
    const CString& GetSearchText() const { return m_results->SearchText(); }
    const CString& GetSearchDomain() const { return m_results->SearchDomain(); }
    // The group whose details were asked for last, or the selected joined
    // group; empty once the details came or the query timed out.
    const CString& GetQueriedGroupURI() const { return m_strQueriedURI; }
    int GetRowCount() const { return m_results->RowCount(); }

    // CGroupInfoWindow
    CString GetGroupNameByURI(const CString& groupURI) override;
    void SetGroupJoined(const CString& groupURI, int joined) override;
    void MarkJoined(const CString& ownerURI, const CString& groupURI) override;
    void ClearSearchResults() override;
    void AddSearchResult(const CString& ownerURI, const CString& groupURI, const CString& groupName,
                         const CString& groupID, const CString& subject, const CString& bulletin, int needPermit,
                         int joined) override;
    void EnableNextPage(bool enable) override { m_results->EnableNextPage(enable); }
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
    // Runs the selection handling for the row, now selected alone.
    void SelectResult(QTreeWidgetItem* item);
    void EnableButton(int id, bool enable);
    void ResetQueryButton();

    void OnResultSelectionChanged();
    void OnResultDoubleClicked(QTreeWidgetItem* item);
    void OnQuery();
    void OnApply();
    void OnQueryTimeout();
    void DropOldestApplication();

    tarvolan::CHostLink& m_link;
    CGroupData& m_data;
    Ui::CTarvolanInfoDialog* m_pUi = nullptr;
    // The parts, made on the form's controls.
    std::unique_ptr<CSearchResultsPane> m_results;
    std::unique_ptr<CGroupDetailsPane> m_details;
    CString m_strQueriedURI;
    bool m_bFailureShown = false;  // the query-failure box is open
};

} // namespace tarvolan
