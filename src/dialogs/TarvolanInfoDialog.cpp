#include "dialogs/TarvolanInfoDialog.h"

#include <algorithm>
#include <climits>

#include <QHeaderView>
#include <QPointer>
#include <QSignalBlocker>
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

namespace {

using Dlg = CTarvolanInfoDialog;
constexpr std::initializer_list<int> kVisibilityRadios = {Dlg::IDC_VISIBILITY_ADMIN, Dlg::IDC_VISIBILITY_MEMBERS,
                                                          Dlg::IDC_VISIBILITY_ALL};
constexpr std::initializer_list<int> kJoinRadios = {Dlg::IDC_JOIN_AUTO, Dlg::IDC_JOIN_CONFIRM};

enum EResultColumn : int { COL_OWNER = 0, COL_NAME, COL_SUBJECT, COL_BULLETIN, COL_JOINED };
constexpr int kRowRole = Qt::UserRole;

// Header text (string id) and width of each column.
struct TColumn {
    int textId;
    int width;
};
constexpr TColumn kResultColumns[] = {{IDS_COL_OWNER_ACCOUNT, 120}, {IDS_GROUP_NAME, 170}, {IDS_COL_SUBJECT, 170},
                                      {IDS_COL_BULLETIN, 170},      {IDS_COL_JOINED, 110}};
constexpr TColumn kMemberColumns[] = {{IDS_COL_MEMBER_ACCOUNT, 60}, {IDS_MEMBER_NAME, 60}, {IDS_COL_MEMBER_STATE, 60}};

// The member information of a member who waits for the owner's approval.
constexpr const char* kAwaitingApproval = "Defend";

template <size_t N> void SetColumns(QTreeWidget* view, const TColumn (&columns)[N])
{
    QStringList headers;
    for (const TColumn& c : columns) headers << ToQt(LoadResString(c.textId));
    view->setColumnCount(static_cast<int>(N));
    view->setHeaderLabels(headers);
    for (size_t i = 0; i < N; ++i) view->setColumnWidth(static_cast<int>(i), columns[i].width);
}

QString Cell(const CString& text)
{
    return ShownPart(ToQt(text));
}

CString JoinedText(int joined)
{
    return LoadResString(joined ? IDS_JOINED : IDS_NOT_JOINED);
}

// A member's state column: exactly "Defend" waits for approval.
CString MemberState(const CString& info)
{
    return LoadResString(info == kAwaitingApproval ? IDS_AWAITING_APPROVAL : IDS_JOINED);
}

// The radio index of a group's visibility (1 to 3); none for other values.
int32_t VisibilityIndex(int32_t visibility)
{
    return visibility >= 1 && visibility <= 3 ? visibility - 1 : -1;
}

} // namespace

CTarvolanInfoDialog::CTarvolanInfoDialog(tarvolan::CHostLink& link, CGroupData& data, QWidget* parent)
    : CDialog(parent), m_link(link), m_data(data)
{
    m_pUi = new Ui::CTarvolanInfoDialog;
    m_pUi->setupUi(this);
    m_pUi->id1081->hide();
    DisableControls(*this, {IDC_VISIBILITY_ADMIN, IDC_VISIBILITY_MEMBERS, IDC_VISIBILITY_ALL, IDC_JOIN_AUTO,
                            IDC_JOIN_CONFIRM});
    LimitTextBytes(GetDlgItem(IDC_DISPLAY_NAME), kDisplayNameLimit);
    // What the user does comes from the event loop: the module's texts are
    // made current for it, as for the commands and timers.
    connect(Results(), &QTreeWidget::itemSelectionChanged, this, [this] {
        CResourceSwitch resources(TarvolanResources());
        OnResultSelectionChanged();
    });
    connect(Results(), &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        CResourceSwitch resources(TarvolanResources());
        OnResultDoubleClicked(item);
    });
    Results()->installEventFilter(this);
}

CTarvolanInfoDialog::~CTarvolanInfoDialog()
{
    // The rows go before the row objects they point at.
    const QSignalBlocker blocker(Results());
    Results()->clear();
    delete m_pUi;
}

QTreeWidget* CTarvolanInfoDialog::Results() const { return m_pUi->id1524; }
QTreeWidget* CTarvolanInfoDialog::Members() const { return m_pUi->id1177; }

bool CTarvolanInfoDialog::OnInitDialog()
{
    setWindowTitle(ToQt(LoadResString(IDS_INFO_CAPTION)));
    m_link.RequestSkin(WindowHandle(this), "media.skn", "");
    SetColumns(Results(), kResultColumns);
    SetColumns(Members(), kMemberColumns);
    EnableButton(IDC_QUERY, false);
    m_bFailureShown = false;
    return true;
}

void CTarvolanInfoDialog::BeginSearch(int kind, const CString& text, const CString& domain)
{
    m_nSearchKind = kind;
    m_strSearchText = text;
    m_strSearchDomain = domain;
    m_nPage = 1;
    EnableButton(IDC_PREV_PAGE, false);
    EnableButton(IDC_NEXT_PAGE, false);
}

int CTarvolanInfoDialog::GetRowCount() const
{
    return Results()->topLevelItemCount();
}

bool CTarvolanInfoDialog::OnCommand(int id, intptr_t lParam)
{
    CResourceSwitch resources(TarvolanResources());
    switch (id) {
    case IDC_QUERY: OnQuery(); break;
    case IDC_APPLY: OnApply(); break;
    case IDC_NEXT_PAGE: OnNextPage(); break;
    case IDC_PREV_PAGE: OnPrevPage(); break;
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
    LoadControls();
}

// ---- rows -------------------------------------------------------------------------

CTarvolanInfoDialog::TSearchRow* CTarvolanInfoDialog::RowOf(const QTreeWidgetItem* item)
{
    return item ? reinterpret_cast<TSearchRow*>(item->data(COL_OWNER, kRowRole).value<quintptr>()) : nullptr;
}

QTreeWidgetItem* CTarvolanInfoDialog::SelectedResult() const
{
    const QList<QTreeWidgetItem*> selected = Results()->selectedItems();
    return selected.isEmpty() ? nullptr : selected.front();
}

// The shown row of that group (and owner); null when none.
QTreeWidgetItem* CTarvolanInfoDialog::FindResult(const CString& groupURI, const CString* ownerURI) const
{
    for (int i = 0; i < Results()->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = Results()->topLevelItem(i);
        const TSearchRow* row = RowOf(item);
        if (row && row->groupURI == groupURI && (!ownerURI || row->ownerURI == *ownerURI)) return item;
    }
    return nullptr;
}

// Selects the row alone and runs the selection handling once.
void CTarvolanInfoDialog::SelectResult(QTreeWidgetItem* item)
{
    {
        const QSignalBlocker blocker(Results());
        Results()->clearSelection();
        Results()->setCurrentItem(item);
        item->setSelected(true);
    }
    OnResultSelectionChanged();
}

void CTarvolanInfoDialog::ShowJoined(QTreeWidgetItem* item, int joined)
{
    if (TSearchRow* row = RowOf(item)) row->joined = joined;
    item->setText(COL_JOINED, Cell(JoinedText(joined)));
}

void CTarvolanInfoDialog::ClearSearchResults()
{
    {
        const QSignalBlocker blocker(Results());
        Results()->clear();
    }
    m_rows.clear();  // the rows that pointed at them are gone
    m_nRowCount = 0;
    OnResultSelectionChanged();
}

void CTarvolanInfoDialog::AddSearchResult(const CString& ownerURI, const CString& groupURI, const CString& groupName,
                                          const CString& groupID, const CString& subject, const CString& bulletin,
                                          int /*needPermit*/, int joined)
{
    auto row = std::make_unique<TSearchRow>();
    row->ownerURI = ownerURI;
    row->groupURI = groupURI;
    row->groupName = groupName;
    row->groupID = groupID;
    row->joined = joined ? 1 : 0;
    auto* item = new QTreeWidgetItem;
    item->setText(COL_OWNER, Cell(GetURIField(ownerURI, URI_ADDRESS)));
    item->setToolTip(COL_OWNER, item->text(COL_OWNER));
    item->setText(COL_NAME, Cell(groupName));
    item->setText(COL_SUBJECT, Cell(subject));
    item->setText(COL_BULLETIN, Cell(bulletin));
    item->setText(COL_JOINED, Cell(JoinedText(row->joined)));
    item->setData(COL_OWNER, kRowRole, QVariant::fromValue<quintptr>(reinterpret_cast<quintptr>(row.get())));
    m_rows.push_back(std::move(row));
    {
        const QSignalBlocker blocker(Results());
        Results()->insertTopLevelItem(std::clamp(m_nRowCount, 0, Results()->topLevelItemCount()), item);
    }
    ++m_nRowCount;
    SelectResult(item);
}

void CTarvolanInfoDialog::EnableNextPage(bool enable)
{
    EnableButton(IDC_NEXT_PAGE, enable);
}

CString CTarvolanInfoDialog::GetGroupNameByURI(const CString& groupURI)
{
    if (const TSearchRow* row = RowOf(FindResult(groupURI))) return row->groupName;
    return GetURIField(groupURI, URI_USER);
}

void CTarvolanInfoDialog::MarkJoined(const CString& ownerURI, const CString& groupURI)
{
    QTreeWidgetItem* item = FindResult(groupURI, &ownerURI);
    if (!item) return;
    ShowJoined(item, 1);
    SelectResult(item);
}

void CTarvolanInfoDialog::SetGroupJoined(const CString& groupURI, int joined)
{
    QTreeWidgetItem* item = FindResult(groupURI);
    if (!item) return;
    ShowJoined(item, joined ? 1 : 0);
    if (joined || SelectedResult() != item) return;
    ClearDetails();
    Members()->clear();
    LoadControls();
    EnableButton(IDC_APPLY, true);
    EnableButton(IDC_QUERY, true);
}

// ---- details --------------------------------------------------------------------

void CTarvolanInfoDialog::LoadControls()
{
    SetDlgItemText(IDC_GROUP_NAME, m_details.name);
    SetDlgItemText(IDC_CREATOR, m_details.creator);
    SetDlgItemText(IDC_OWNER, m_details.owner);
    SetDlgItemText(IDC_CREATED, m_details.created);
    SetDlgItemInt32(*this, IDC_MAX_MEMBERS, m_details.maxMembers);
    SetDlgItemText(IDC_SUBJECT, m_details.subject);
    SetDlgItemText(IDC_BULLETIN, m_details.bulletin);
    SetRadioIndex(*this, kVisibilityRadios, m_details.visibility);
    SetRadioIndex(*this, kJoinRadios, m_details.joinHandling);
}

void CTarvolanInfoDialog::ClearDetails()
{
    m_details = TDetails();
}

void CTarvolanInfoDialog::AddMemberRow(const CString& account, const CString& name, const CString& info)
{
    auto* item = new QTreeWidgetItem(Members());
    item->setText(0, Cell(account));
    item->setToolTip(0, item->text(0));
    item->setText(1, Cell(name));
    item->setText(2, Cell(MemberState(info)));
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

// A group I am in: its details as the group list and table hold them.
void CTarvolanInfoDialog::FillFromRegistry(const CString& groupURI)
{
    const CGroupList& list = m_data.GroupList();
    if (const int i = list.Find(groupURI, CString(), GROUP_PUBLIC); i >= 0) {
        const TGroupListEntry& e = list[i];
        m_details.name = e.name;
        m_details.creator = GetURIField(e.creator, URI_USER);
        m_details.owner = GetURIField(e.owner, URI_USER);
        m_details.created = e.creationTime;
        m_details.visibility = VisibilityIndex(e.visibility);
        m_details.maxMembers = e.maxMembers;
        m_details.subject = e.subject;
        m_details.bulletin = e.bulletin;
        m_details.joinHandling = e.needPermit != 0 ? 1 : 0;
    }
    const CGroupRecord* record = m_data.FindRecord(groupURI);
    if (!record || record->kind != GROUP_PUBLIC) return;
    const CString me = SignedInURI();
    for (const TMemberSlot& slot : record->Members()) {
        AddMemberRow(GetURIField(slot.uri, URI_ADDRESS), slot.displayName, slot.info);
        if (!me.IsEmpty() && slot.uri == me) SetDlgItemText(IDC_DISPLAY_NAME, slot.displayName);
    }
}

void CTarvolanInfoDialog::ShowGroupInfo(const CString& groupName, const CString& groupURI, int /*myRole*/,
                                        const TGroupDescription& info, int memberCount, const TMemberEntry* members)
{
    // Details of another group (or of none asked for) change nothing shown.
    if (!groupURI.IsEmpty() && groupURI == m_strQueriedURI) {
        KillTimer(kTimerQuery);
        Members()->clear();
        m_details.name = groupName;
        m_details.creator = GetURIField(CString::FromField(info.creator), URI_USER);
        m_details.owner = GetURIField(CString::FromField(info.owner), URI_USER);
        m_details.created = CString::FromField(info.creationTime);
        m_details.visibility = VisibilityIndex(info.iVisi);
        m_details.joinHandling = info.iNeedPermit;
        m_details.maxMembers = info.iMaxMember;
        m_details.subject = CString::FromField(info.subject);
        m_details.bulletin = CString::FromField(info.bulletin);
        const int count = members ? std::clamp(memberCount, 0, kMaxMembers) : 0;
        for (int i = 0; i < count; ++i) {
            const CString uri = CString::FromField(members[i].UserURI);
            AddMemberRow(GetURIField(uri, URI_ADDRESS), GetURIField(uri, URI_USER),
                         CString::FromField(members[i].csInfo));
        }
    }
    const TSearchRow* queried = m_strQueriedURI.IsEmpty() ? nullptr : RowOf(FindResult(m_strQueriedURI));
    ResetQueryButton();
    if (queried && queried->joined) EnableButton(IDC_QUERY, false);
    m_strQueriedURI.Empty();
    LoadControls();
}

// ---- selection and query ------------------------------------------------------------

void CTarvolanInfoDialog::OnResultSelectionChanged()
{
    ClearDetails();
    Members()->clear();
    LoadControls();
    EnableButton(IDC_APPLY, false);
    EnableButton(IDC_QUERY, false);
    const TSearchRow* row = RowOf(SelectedResult());
    if (!row) return;
    m_strQueriedURI = row->groupURI;
    LoadControls();
    if (!row->joined) {
        EnableButton(IDC_APPLY, true);
        EnableButton(IDC_QUERY, true);
        return;
    }
    const CString uri = row->groupURI;  // the host's answer may replace the rows
    QPointer<CTarvolanInfoDialog> alive(this);
    RequestGroupInfoOnce(m_link, m_data.InfoRequestedGroups(), uri);
    if (!alive) return;
    FillFromRegistry(uri);
    LoadControls();
}

// Enter on a result does what a double-click on it does.
bool CTarvolanInfoDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Results() && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            CResourceSwitch resources(TarvolanResources());
            OnResultDoubleClicked(Results()->currentItem());
            return true;
        }
    }
    return CDialog::eventFilter(watched, event);
}

void CTarvolanInfoDialog::OnResultDoubleClicked(QTreeWidgetItem* item)
{
    const TSearchRow* row = RowOf(item);
    if (row && item->isSelected() && !row->joined) OnQuery();
}

void CTarvolanInfoDialog::OnQuery()
{
    ClearDetails();
    Members()->clear();
    LoadControls();
    const TSearchRow* row = RowOf(SelectedResult());
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
    const TSearchRow* row = RowOf(SelectedResult());
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

// ---- paging -----------------------------------------------------------------------

void CTarvolanInfoDialog::OnNextPage()
{
    if (m_nPage < INT_MAX) ++m_nPage;
    SendPageRequest();
    EnableButton(IDC_PREV_PAGE, true);
}

// Page 1 asks for page 1 again.
void CTarvolanInfoDialog::OnPrevPage()
{
    --m_nPage;
    if (m_nPage <= 1) {
        m_nPage = 1;
        EnableButton(IDC_PREV_PAGE, false);
    }
    SendPageRequest();
    EnableButton(IDC_NEXT_PAGE, true);
}

// The page arrives later and replaces the rows (1022).
void CTarvolanInfoDialog::SendPageRequest()
{
    const CString text = m_strSearchText, domain = m_strSearchDomain;
    SendSearchRequest(m_link, m_nSearchKind, text, m_nPage, domain);
}

} // namespace tarvolan
