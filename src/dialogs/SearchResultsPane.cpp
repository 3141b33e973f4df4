#include "dialogs/SearchResultsPane.h"

#include <algorithm>
#include <climits>

#include <QSignalBlocker>
#include <QTreeWidget>

#include "common/TextFunctions.h"
#include "dialogs/ListColumns.h"
#include "groups/GroupRequests.h"
#include "protocol/HostLink.h"

namespace tarvolan {

namespace {

enum EResultColumn : int { COL_OWNER = 0, COL_NAME, COL_SUBJECT, COL_BULLETIN, COL_JOINED };
constexpr int kRowRole = Qt::UserRole;

CString JoinedText(int joined)
{
    return LoadResString(joined ? IDS_JOINED : IDS_NOT_JOINED);
}

} // namespace

CSearchResultsPane::CSearchResultsPane(CHostLink& link, QTreeWidget& list, QWidget& prevPage, QWidget& nextPage)
    : m_link(link), m_list(list), m_prevPage(prevPage), m_nextPage(nextPage)
{
}

CSearchResultsPane::~CSearchResultsPane()
{
    // The rows go before the row objects they point at.
    const QSignalBlocker blocker(m_list);
    m_list.clear();
}

void CSearchResultsPane::Init()
{
    SetListColumns(m_list, {{IDS_COL_OWNER_ACCOUNT, 120},
                            {IDS_GROUP_NAME, 170},
                            {IDS_COL_SUBJECT, 170},
                            {IDS_COL_BULLETIN, 170},
                            {IDS_COL_JOINED, 110}});
}

// ---- the search and its pages ---------------------------------------------------------

void CSearchResultsPane::BeginSearch(int kind, const CString& text, const CString& domain)
{
    m_nSearchKind = kind;
    m_strSearchText = text;
    m_strSearchDomain = domain;
    m_nPage = 1;
    m_prevPage.setEnabled(false);
    m_nextPage.setEnabled(false);
}

void CSearchResultsPane::NextPage()
{
    if (m_nPage < INT_MAX) ++m_nPage;
    SendPageRequest();
    m_prevPage.setEnabled(true);
}

void CSearchResultsPane::PrevPage()
{
    --m_nPage;
    if (m_nPage <= 1) {
        m_nPage = 1;
        m_prevPage.setEnabled(false);
    }
    SendPageRequest();
    m_nextPage.setEnabled(true);
}

void CSearchResultsPane::EnableNextPage(bool enable)
{
    m_nextPage.setEnabled(enable);
}

// The page arrives later and replaces the rows (1022).
void CSearchResultsPane::SendPageRequest()
{
    const CString text = m_strSearchText, domain = m_strSearchDomain;
    SendSearchRequest(m_link, m_nSearchKind, text, m_nPage, domain);
}

// ---- rows -------------------------------------------------------------------------

void CSearchResultsPane::Clear()
{
    {
        const QSignalBlocker blocker(m_list);
        m_list.clear();
    }
    m_rows.clear();  // the rows that pointed at them are gone
    m_nRowCount = 0;
}

QTreeWidgetItem* CSearchResultsPane::Add(const TSearchRow& row, const CString& subject, const CString& bulletin)
{
    auto kept = std::make_unique<TSearchRow>(row);
    kept->joined = row.joined ? 1 : 0;
    auto* item = new QTreeWidgetItem;
    item->setText(COL_OWNER, ListCell(GetURIField(row.ownerURI, URI_ADDRESS)));
    item->setToolTip(COL_OWNER, item->text(COL_OWNER));
    item->setText(COL_NAME, ListCell(row.groupName));
    item->setText(COL_SUBJECT, ListCell(subject));
    item->setText(COL_BULLETIN, ListCell(bulletin));
    item->setText(COL_JOINED, ListCell(JoinedText(kept->joined)));
    item->setData(COL_OWNER, kRowRole, QVariant::fromValue<quintptr>(reinterpret_cast<quintptr>(kept.get())));
    m_rows.push_back(std::move(kept));
    {
        const QSignalBlocker blocker(m_list);
        m_list.insertTopLevelItem(std::clamp(m_nRowCount, 0, m_list.topLevelItemCount()), item);
    }
    ++m_nRowCount;
    return item;
}

void CSearchResultsPane::Select(QTreeWidgetItem* item)
{
    const QSignalBlocker blocker(m_list);
    m_list.clearSelection();
    m_list.setCurrentItem(item);
    item->setSelected(true);
}

void CSearchResultsPane::ShowJoined(QTreeWidgetItem* item, int joined)
{
    if (TSearchRow* row = RowOf(item)) row->joined = joined;
    item->setText(COL_JOINED, ListCell(JoinedText(joined)));
}

TSearchRow* CSearchResultsPane::RowOf(const QTreeWidgetItem* item)
{
    return item ? reinterpret_cast<TSearchRow*>(item->data(COL_OWNER, kRowRole).value<quintptr>()) : nullptr;
}

QTreeWidgetItem* CSearchResultsPane::SelectedItem() const
{
    const QList<QTreeWidgetItem*> selected = m_list.selectedItems();
    return selected.isEmpty() ? nullptr : selected.front();
}

QTreeWidgetItem* CSearchResultsPane::Find(const CString& groupURI, const CString* ownerURI) const
{
    for (int i = 0; i < m_list.topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = m_list.topLevelItem(i);
        const TSearchRow* row = RowOf(item);
        if (row && row->groupURI == groupURI && (!ownerURI || row->ownerURI == *ownerURI)) return item;
    }
    return nullptr;
}

int CSearchResultsPane::RowCount() const
{
    return m_list.topLevelItemCount();
}

} // namespace tarvolan
