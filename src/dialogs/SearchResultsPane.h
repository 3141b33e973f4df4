// CSearchResultsPane: the results of a group search in the group
// information window, a page at a time: the result list (1524) with one row
// per found group, and the page buttons "上一页" (1793) and "下一页" (1794)
// that ask the host for another page (code 9) of the search.
//
// Each row carries its group as item data: the pane owns those row objects
// and frees them with the rows. The list's own notifications (selection,
// double click, Enter) are the window's to handle.
#pragma once

#include <memory>
#include <vector>

#include "common/GbkString.h"

class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

namespace tarvolan {

class CHostLink;

// The group of a result row.
struct TSearchRow {
    CString ownerURI;
    CString groupURI;
    CString groupName;
    CString groupID;  // sent with an application to join
    int joined = 0;
};

class CSearchResultsPane {
public:
    // The list and the page buttons the window's form created; they must
    // outlive the pane.
    CSearchResultsPane(CHostLink& link, QTreeWidget& list, QWidget& prevPage, QWidget& nextPage);
    ~CSearchResultsPane();
    CSearchResultsPane(const CSearchResultsPane&) = delete;
    CSearchResultsPane& operator=(const CSearchResultsPane&) = delete;

    void Init();

    // ---- the search and its pages ------------------------------------------
    // A new search whose page 1 is on its way: kind (1 name keyword, 2
    // creator URI), text and domain are kept for the page buttons, which
    // are disabled until the page comes.
    void BeginSearch(int kind, const CString& text, const CString& domain);
    void NextPage();
    // Page 1 asks for page 1 again.
    void PrevPage();
    void EnableNextPage(bool enable);
    int Page() const { return m_nPage; }
    int SearchKind() const { return m_nSearchKind; }
    const CString& SearchText() const { return m_strSearchText; }
    const CString& SearchDomain() const { return m_strSearchDomain; }

    // ---- rows ----------------------------------------------------------------
    // The list emptied, without a selection notification.
    void Clear();
    // A row at the row counter, not yet selected.
    QTreeWidgetItem* Add(const TSearchRow& row, const CString& subject, const CString& bulletin);
    // Selects the row alone, without a selection notification.
    void Select(QTreeWidgetItem* item);
    // The row shows the group as joined (1) or not (0).
    void ShowJoined(QTreeWidgetItem* item, int joined);

    static TSearchRow* RowOf(const QTreeWidgetItem* item);
    QTreeWidgetItem* SelectedItem() const;
    const TSearchRow* Selected() const { return RowOf(SelectedItem()); }
    // The shown row of that group (and owner); null when none.
    QTreeWidgetItem* Find(const CString& groupURI, const CString* ownerURI = nullptr) const;
    int RowCount() const;
    QTreeWidget& List() const { return m_list; }

private:
    void SendPageRequest();

    CHostLink& m_link;
    QTreeWidget& m_list;
    QWidget& m_prevPage;
    QWidget& m_nextPage;
    std::vector<std::unique_ptr<TSearchRow>> m_rows;
    int m_nRowCount = 0;  // where the next row goes
    int m_nSearchKind = 1;
    CString m_strSearchText;
    CString m_strSearchDomain;
    int m_nPage = 1;
};

} // namespace tarvolan
