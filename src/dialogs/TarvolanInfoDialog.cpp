#include "dialogs/TarvolanInfoDialog.h"

#include <algorithm>

#include <QPointer>
#include <QKeyEvent>
#include <QTreeWidget>

#include "clientkit/ClientKit.h"
#include "common/TextFunctions.h"
#include "controls/AskInHandler.h"
#include "controls/Prompts.h"
#include "controls/SignedInUser.h"
#include "dialogs/DialogControls.h"
#include "groups/GroupData.h"
#include "groups/GroupRequests.h"
#include "protocol/HostLink.h"
#include "platform/Resources.h"
#include "platform/UiDriver.h"
#include "res/ModuleResources.h"
#include "ui_CTarvolanInfoDialog.h"

namespace tarvolan {

CTarvolanInfoDialog::CTarvolanInfoDialog(tarvolan::CHostLink& link, CGroupData& data, QWidget* parent)
    : CDialog(parent), m_link(link), m_data(data)
{
    m_pUi = new Ui::CTarvolanInfoDialog;
    m_pUi->setupUi(this);
    m_pUi->id1081->hide();
    m_results = std::make_unique<CSearchResultsPane>(m_link, *m_pUi->id1524, *m_pUi->id1793, *m_pUi->id1794);
    m_details = std::make_unique<CGroupDetailsPane>(*this, *m_pUi->id1177);
    LimitTextBytes(GetDlgItem(IDC_DISPLAY_NAME), kDisplayNameLimit);
    // What the user does comes from the event loop: the module's texts are
    // made current for it, as for the commands and timers.
    QTreeWidget* results = &m_results->List();
    connect(results, &QTreeWidget::itemSelectionChanged, this, [this] {
        CResourceSwitch resources(TarvolanResources());
        OnResultSelectionChanged();
    });
    connect(results, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        CResourceSwitch resources(TarvolanResources());
        OnResultDoubleClicked(item);
    });
    results->installEventFilter(this);
}

CTarvolanInfoDialog::~CTarvolanInfoDialog()
{
    m_results.reset();  // the rows go before the row objects they point at
    delete m_pUi;
}

bool CTarvolanInfoDialog::OnInitDialog()
{
    setWindowTitle(ToQt(LoadResString(IDS_INFO_CAPTION)));
    m_link.RequestSkin(WindowHandle(this), "media.skn", "");
    m_results->Init();
    m_details->Init();
    EnableButton(IDC_QUERY, false);
    m_bFailureShown = false;
    return true;
}

bool CTarvolanInfoDialog::OnCommand(int id, intptr_t lParam)
{
    CResourceSwitch resources(TarvolanResources());
    switch (id) {
    case IDC_QUERY: OnQuery(); break;
    case IDC_APPLY: OnApply(); break;
    case IDC_NEXT_PAGE: m_results->NextPage(); break;
    case IDC_PREV_PAGE: m_results->PrevPage(); break;
    default: return CDialog::OnCommand(id, lParam);
    }
    return true;
}

void CTarvolanInfoDialog::OnTimer(int id)
{
    CResourceSwitch resources(TarvolanResources());
    if (id == kTimerQuery) OnQueryTimeout();
    else if (id == kTimerJoinExpiry) DropOldestApplication();
    else return;
    // The fields of an open window are loaded again after a timer; a closed
    // one keeps its timers (the pending applications still expire) but its
    // fields stay as they are: it shows nothing, and a screen reader would
    // hear every rewrite.
    if (isVisible()) m_details->Load();
}

void CTarvolanInfoDialog::EnableButton(int id, bool enable)
{
    if (QWidget* button = GetDlgItem(id)) button->setEnabled(enable);
}

void CTarvolanInfoDialog::ResetQueryButton()
{
    EnableButton(IDC_QUERY, true);
    SetDlgItemText(IDC_QUERY, LoadResString(IDS_QUERY));
}

// ---- results ----------------------------------------------------------------------

void CTarvolanInfoDialog::SelectResult(QTreeWidgetItem* item)
{
    m_results->Select(item);
    OnResultSelectionChanged();
}

void CTarvolanInfoDialog::ClearSearchResults()
{
    m_results->Clear();
    OnResultSelectionChanged();
}

void CTarvolanInfoDialog::AddSearchResult(const CString& ownerURI, const CString& groupURI, const CString& groupName,
                                          const CString& groupID, const CString& subject, const CString& bulletin,
                                          int /*needPermit*/, int joined)
{
    SelectResult(m_results->Add({ownerURI, groupURI, groupName, groupID, joined}, subject, bulletin));
}

CString CTarvolanInfoDialog::GetGroupNameByURI(const CString& groupURI)
{
    if (const TSearchRow* row = CSearchResultsPane::RowOf(m_results->Find(groupURI))) return row->groupName;
    return GetURIField(groupURI, URI_USER);
}

void CTarvolanInfoDialog::MarkJoined(const CString& ownerURI, const CString& groupURI)
{
    QTreeWidgetItem* item = m_results->Find(groupURI, &ownerURI);
    if (!item) return;
    m_results->ShowJoined(item, 1);
    SelectResult(item);
}

void CTarvolanInfoDialog::SetGroupJoined(const CString& groupURI, int joined)
{
    QTreeWidgetItem* item = m_results->Find(groupURI);
    if (!item) return;
    m_results->ShowJoined(item, joined ? 1 : 0);
    if (joined || m_results->SelectedItem() != item) return;
    m_details->Clear();
    EnableButton(IDC_APPLY, true);
    EnableButton(IDC_QUERY, true);
}

// ---- details ----------------------------------------------------------------------

void CTarvolanInfoDialog::ShowGroupInfo(const CString& groupName, const CString& groupURI, int /*myRole*/,
                                        const TGroupDescription& info, int memberCount, const TMemberEntry* members)
{
    // Details of another group (or of none asked for) change nothing shown.
    if (!groupURI.IsEmpty() && groupURI == m_strQueriedURI) {
        KillTimer(kTimerQuery);
        m_details->ShowReported(groupName, info, memberCount, members);
    }
    const TSearchRow* queried =
        m_strQueriedURI.IsEmpty() ? nullptr : CSearchResultsPane::RowOf(m_results->Find(m_strQueriedURI));
    ResetQueryButton();
    if (queried && queried->joined) EnableButton(IDC_QUERY, false);
    m_strQueriedURI.Empty();
    m_details->Load();
}

// ---- selection and query ------------------------------------------------------------

void CTarvolanInfoDialog::OnResultSelectionChanged()
{
    m_details->Clear();
    EnableButton(IDC_APPLY, false);
    EnableButton(IDC_QUERY, false);
    const TSearchRow* row = m_results->Selected();
    if (!row) return;
    m_strQueriedURI = row->groupURI;
    m_details->Load();
    if (!row->joined) {
        EnableButton(IDC_APPLY, true);
        EnableButton(IDC_QUERY, true);
        return;
    }
    const CString uri = row->groupURI;  // the host's answer may replace the rows
    QPointer<CTarvolanInfoDialog> alive(this);
    RequestGroupInfoOnce(m_link, m_data.InfoRequestedGroups(), uri);
    if (!alive) return;
    // A group I am in: its details as the group list and table hold them.
    CString myDisplayName;
    if (m_details->FillFromRegistry(m_data, uri, myDisplayName)) SetDlgItemText(IDC_DISPLAY_NAME, myDisplayName);
    m_details->Load();
}

// Enter on a result does what a double-click on it does.
bool CTarvolanInfoDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &m_results->List() && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            CResourceSwitch resources(TarvolanResources());
            OnResultDoubleClicked(m_results->List().currentItem());
            return true;
        }
    }
    return CDialog::eventFilter(watched, event);
}

void CTarvolanInfoDialog::OnResultDoubleClicked(QTreeWidgetItem* item)
{
    const TSearchRow* row = CSearchResultsPane::RowOf(item);
    if (row && item->isSelected() && !row->joined) OnQuery();
}

void CTarvolanInfoDialog::OnQuery()
{
    m_details->Clear();
    const TSearchRow* row = m_results->Selected();
    if (!row) {
        ShowMessageBox(this, LoadResString(IDS_SELECT_GROUP_FIRST), CString(), MB_OK);
        return;
    }
    m_strQueriedURI = row->groupURI;
    if (m_strQueriedURI.IsEmpty()) return;
    const CString owner = row->ownerURI, group = row->groupURI;
    QPointer<CTarvolanInfoDialog> alive(this);
    Word record[2] = {reinterpret_cast<Word>(owner.c_str()), reinterpret_cast<Word>(group.c_str())};
    m_link.Send(M_RequestSearchDetails, record);
    if (!alive) return;
    // An answer given at once has already reset the button.
    if (m_strQueriedURI.IsEmpty()) return;
    EnableButton(IDC_QUERY, false);
    SetDlgItemText(IDC_QUERY, LoadResString(IDS_QUERYING));
    SetTimer(kTimerQuery, kQueryPeriodMs);
}

void CTarvolanInfoDialog::OnQueryTimeout()
{
    KillTimer(kTimerQuery);
    ResetQueryButton();
    m_strQueriedURI.Empty();
}

// One box at a time: a failure that comes while the box is open is dropped.
void CTarvolanInfoDialog::OnQueryFailed()
{
    if (m_bFailureShown) return;
    m_bFailureShown = true;
    KillTimer(kTimerQuery);
    const auto asked = AskInHandler(this, [&] {
        ShowNotice(this, LoadResString(IDS_QUERY_FAILED));
        return true;
    });
    if (!asked.WindowAlive()) return;
    m_bFailureShown = false;
    ResetQueryButton();
}

// ---- joining ----------------------------------------------------------------------

void CTarvolanInfoDialog::OnApply()
{
    const CString displayName = GetDlgItemText(IDC_DISPLAY_NAME);
    const TSearchRow* row = m_results->Selected();
    if (!row) {
        ShowMessageBox(this, LoadResString(IDS_SELECT_GROUP_FIRST), CString(), MB_OK);
        return;
    }
    if (displayName.IsEmpty()) {
        ShowNotice(this, LoadResString(IDS_DISPLAY_NAME_EMPTY));
        return;
    }
    const CString groupURI = row->groupURI, groupID = row->groupID, me = SignedInRequestId();
    std::list<TJoinApplication>& pending = m_data.JoinApplications();
    const bool asked = std::any_of(pending.begin(), pending.end(), [&](const TJoinApplication& a) {
        return a.groupURI == groupURI && a.requester == me;
    });
    if (asked) return;  // already waiting for the owner
    pending.push_back({groupURI, me});
    QPointer<CTarvolanInfoDialog> alive(this);
    Word record[3] = {reinterpret_cast<Word>(groupURI.c_str()), reinterpret_cast<Word>(groupID.c_str()),
                      reinterpret_cast<Word>(displayName.c_str())};
    m_link.Send(M_ApplyToJoin, record);
    CString line;
    line.Format("bIMSReqJoinPublicGroup, pGroupURI=%s", groupURI.c_str());
    WriteLog(line, 0);
    if (!alive) return;
    KillTimer(kTimerJoinExpiry);
    SetTimer(kTimerJoinExpiry, kJoinExpiryPeriodMs);
}

// The oldest application goes, with every copy of it; the timer keeps
// running while the window exists.
void CTarvolanInfoDialog::DropOldestApplication()
{
    std::list<TJoinApplication>& pending = m_data.JoinApplications();
    if (pending.empty()) return;
    const TJoinApplication oldest = pending.front();
    try {
        pending.remove_if([&](const TJoinApplication& a) {
            return a.groupURI == oldest.groupURI && a.requester == oldest.requester;
        });
    } catch (...) {
        WriteLog("g_pTarvolanDialog->m_PublicGroupUserReqList.pop_front()::exception", 0);
    }
}

} // namespace tarvolan
