#include "conversation/TarvolanHistoryDialog.h"

#include <algorithm>

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QHeaderView>
#include <QTreeWidget>
#include <QTreeWidgetItem>

#include "clientkit/ClientKit.h"
#include "common/MessageMarkup.h"
#include "conversation/FindBar.h"
#include "conversation/HistoryFind.h"
#include "conversation/HistoryPaging.h"
#include "conversation/RichMsgEdit.h"
#include "platform/Accessibility.h"
#include "platform/ScreenReading.h"
#include "protocol/HostLink.h"
#include "res/ModuleResources.h"
#include "ui_CTarvolanHistoryDialog.h"

namespace tarvolan {

namespace {

// Item data of a row: the record it shows.
constexpr int kRecordRole = Qt::UserRole;

struct TColumn {
    int stringId;
    int width;
};
constexpr TColumn kColumns[] = {{IDS_COL_NUMBER, 50}, {IDS_COL_SENDER, 260}, {IDS_COL_SEND_TIME, 160}};

} // namespace

CTarvolanHistoryDialog::CTarvolanHistoryDialog(CHostLink& link, QWidget* parent) : CDialog(parent), m_link(link)
{
    m_pUi = new Ui::CTarvolanHistoryDialog;
    m_pUi->setupUi(this);
    m_pMessageList = qobject_cast<QTreeWidget*>(GetDlgItem(IDC_MESSAGES));
    m_pMessageText = qobject_cast<CRichMsgEdit*>(GetDlgItem(IDC_MESSAGE_TEXT));
}

CTarvolanHistoryDialog::~CTarvolanHistoryDialog()
{
    delete m_pUi;
}

bool CTarvolanHistoryDialog::OnInitDialog()
{
    // 1. Caption, skin, the list's columns.
    setWindowTitle(ToQt(LoadResString(IDS_HISTORY_CAPTION)));
    m_link.RequestSkin(WindowHandle(this), "media.skn", "");
    if (!m_pMessageList || !m_pMessageText) return false;
    m_pMessageList->setColumnCount(static_cast<int>(std::size(kColumns)));
    QStringList headers;
    for (const TColumn& column : kColumns) headers << ToQt(LoadResString(column.stringId));
    m_pMessageList->setHeaderLabels(headers);
    for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i)
        m_pMessageList->setColumnWidth(i, kColumns[i].width);
    connect(m_pMessageList, &QTreeWidget::itemClicked, this, [this] { ShowSelectedMessage(); });
    m_pMessageList->installEventFilter(this);
    m_pMessageText->AttachToDialog();
    m_pMessageText->SetOwner(this);
    m_pMessageText->SetReadOnly(true);
    LetKeysRead(*m_pMessageText);
    m_pFindBar = new CFindBar(*this, *m_pMessageText, std::make_unique<CHistoryFindTarget>(*this));

    // 2. What the group holds already, or its first page.
    if (m_pTarvolan) {
        if (!m_pTarvolan->m_MsgListHistory.empty())
            ShowHistoryList();
        else if (m_bReady)
            RequestPage(0, HISTORY_FIRST);
        m_strGroupName = m_pTarvolan->m_csName;
        SetDlgItemText(IDC_GROUP_NAME, m_strGroupName);
    }
    // Viewers of different groups share the caption; a screen reader tells
    // them apart by the group's name. The list takes the keys first.
    NameWindowAfter(this, ToQt(m_strGroupName));
    m_pMessageList->setFocus();
    return true;
}

bool CTarvolanHistoryDialog::OnCommand(int id, intptr_t lParam)
{
    switch (id) {
    case IDC_PREVIOUS: OnPreviousPage(); return true;
    case IDC_NEXT: OnNextPage(); return true;
    default: return CDialog::OnCommand(id, lParam);
    }
}

bool CTarvolanHistoryDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_pMessageList && event->type() == QEvent::KeyRelease) ShowSelectedMessage();
    return CDialog::eventFilter(watched, event);
}

// ---- paging ------------------------------------------------------------------------

void CTarvolanHistoryDialog::RequestPage(int anchor, int direction)
{
    m_bReady = 0;
    SetTimer(kTimerRequest, kRequestTimeoutMs);
    EnablePageButtons(false, false);
    if (!m_pTarvolan) return;
    THistoryRequest block = MakeHistoryRequest(m_pTarvolan->URI(), anchor, direction);
    Word record[2] = {kHistoryRequestKind, reinterpret_cast<Word>(&block)};
    m_link.Send(M_HistoryRequest, record);
}

void CTarvolanHistoryDialog::OnPreviousPage()
{
    if (!m_bReady || m_nPage < 2 || !m_pTarvolan) return;
    const int anchor = NewestHistoryId(m_pTarvolan->m_MsgListHistory);
    --m_nPage;
    RequestPage(anchor, HISTORY_NEWER);
}

void CTarvolanHistoryDialog::OnNextPage()
{
    if (!m_bReady || !m_pTarvolan) return;
    const int anchor = OldestHistoryId(m_pTarvolan->m_MsgListHistory);
    m_nPage = anchor != 0 ? m_nPage + 1 : 1;
    RequestPage(anchor, HISTORY_OLDER);
}

void CTarvolanHistoryDialog::OnTimer(int id)
{
    if (id != kTimerRequest) return;
    m_bReady = 1;
    KillTimer(kTimerRequest);
    OnHistoryResult(1);
}

void CTarvolanHistoryDialog::OnHistoryResult(int failed)
{
    m_bReady = 1;
    KillTimer(kTimerRequest);
    if (failed) {
        EnablePageButtons(m_nPage > 1, m_nPage <= 1);
        return;
    }
    const size_t rows = m_pTarvolan ? m_pTarvolan->m_MsgListHistory.size() : 0;
    EnablePageButtons(m_nPage > 1, rows >= static_cast<size_t>(kPageSize));
    if (m_pFindBar) m_pFindBar->Refresh();
    AnnounceToReaders(this, tr("第%1页，%2条消息").arg(m_nPage).arg(rows));
}

void CTarvolanHistoryDialog::EnablePageButtons(bool previous, bool next)
{
    if (QWidget* button = GetDlgItem(IDC_PREVIOUS)) button->setEnabled(previous);
    if (QWidget* button = GetDlgItem(IDC_NEXT)) button->setEnabled(next);
}

// ---- the list and the message -------------------------------------------------------------

void CTarvolanHistoryDialog::ShowHistoryList()
{
    if (!m_pMessageList) return;
    m_pMessageList->clear();
    m_pMessageText->clear();  // the message of the page that goes
    if (!m_pTarvolan) return;
    QList<QTreeWidgetItem*> rows;
    int number = 0;
    for (const TGroupMessage& message : m_pTarvolan->m_MsgListHistory) {
        CString numberText;
        numberText.Format("%.2d", ++number);  // "01", "02", ...: at least two digits
        auto* row = new QTreeWidgetItem(QStringList{ToQt(numberText), ShownPart(ToQt(GetUserNameByPhone(message.senderURI, 0, 1))),
                                                    ShownPart(ToQt(message.time))});
        row->setData(0, kRecordRole, QVariant::fromValue(reinterpret_cast<quintptr>(&message)));
        rows.append(row);
    }
    m_pMessageList->addTopLevelItems(rows);
    if (rows.isEmpty()) return;
    // The page's first message is the current one: the box shows it and the
    // keys move on from it.
    m_pMessageList->setCurrentItem(rows.front());
    ShowMessage(rows.front());
}

const TGroupMessage* CTarvolanHistoryDialog::RowMessage(int row) const
{
    const QTreeWidgetItem* item = m_pMessageList ? m_pMessageList->topLevelItem(row) : nullptr;
    if (!item || !m_pTarvolan) return nullptr;
    const auto* record = reinterpret_cast<const TGroupMessage*>(item->data(0, kRecordRole).value<quintptr>());
    for (const TGroupMessage& message : m_pTarvolan->m_MsgListHistory)
        if (&message == record) return record;
    return nullptr;
}

void CTarvolanHistoryDialog::ShowSelectedMessage()
{
    if (!m_pMessageList) return;
    const QList<QTreeWidgetItem*> selected = m_pMessageList->selectedItems();
    if (selected.isEmpty() || !ShowMessage(selected.first())) return;
    m_pMessageList->setFocus();
}

bool CTarvolanHistoryDialog::ShowMessage(QTreeWidgetItem* row)
{
    const TGroupMessage* message = RowMessage(m_pMessageList->indexOfTopLevelItem(row));
    if (!message) return false;
    m_pMessageText->clear();
    const TMessageMarkup markup = ReadMessageMarkup(message->body);
    CRichMsgEdit::AppendMessageText(m_pMessageText, &markup.format, 0, "%s", (markup.text + "\r\n").c_str());
    return true;
}

CTarvolanHistoryDialog* FindHistoryViewer(const CTarvolan& group)
{
    const QString caption = ToQt(LoadResString(IDS_HISTORY_CAPTION));
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* viewer = qobject_cast<CTarvolanHistoryDialog*>(window);
        if (viewer && viewer->windowTitle() == caption && viewer->Group() == &group) return viewer;
    }
    return nullptr;
}

} // namespace tarvolan
