// CTarvolanHistoryDialog: a group's stored messages, page by page (template
// 2007, caption "群组历史消息"). The conversation window runs it modally for
// its group. The viewer asks the host for a page (code 20037); the history
// handler stores the page in the group's history list and then calls
// ShowHistoryList and OnHistoryResult. The list shows sender and time of
// each message, the editor below it the selected message in its sender's
// format.
#pragma once

#include <cstdint>

#include "common/GbkString.h"
#include "groups/Tarvolan.h"
#include "platform/Window.h"

class QTreeWidget;
class QTreeWidgetItem;
namespace Ui { class CTarvolanHistoryDialog; }

namespace tarvolan {

class CFindBar;
class CHostLink;
class CRichMsgEdit;

class CTarvolanHistoryDialog : public CDialog {
    Q_OBJECT
public:
    enum { IDD = 2007 };
    enum : int {
        IDC_GROUP_NAME = 1224,
        IDC_MESSAGES = 1820,
        IDC_MESSAGE_TEXT = 1822,
        IDC_PREVIOUS = 1085,
        IDC_NEXT = 1086,
    };
    // Timer 1 guards an outstanding page request.
    enum : int { kTimerRequest = 1 };
    static constexpr int kRequestTimeoutMs = 10000;
    // A full page: fewer records mean there is no older page.
    static constexpr int kPageSize = 20;

    explicit CTarvolanHistoryDialog(tarvolan::CHostLink& link, QWidget* parent = nullptr);
    ~CTarvolanHistoryDialog() override;

    // The group whose history the viewer shows; set by the opener before the
    // run. Not owned.
    void SetGroup(CTarvolan* group) { m_pTarvolan = group; }
    CTarvolan* Group() const { return m_pTarvolan; }

    bool OnInitDialog() override;
    bool OnCommand(int id, intptr_t lParam) override;
    void OnTimer(int id) override;

    // Rows for the records of the group's history list.
    void ShowHistoryList();
    // A page arrived (0), or the request failed or timed out (1): the viewer
    // is ready again and the page buttons follow.
    void OnHistoryResult(int failed);
    void OnPreviousPage();
    void OnNextPage();
    // The selected row's message in the editor.
    void ShowSelectedMessage();

    bool IsReady() const { return m_bReady != 0; }
    int PageNumber() const { return m_nPage; }
    QTreeWidget* MessageList() const { return m_pMessageList; }
    CRichMsgEdit* MessageText() const { return m_pMessageText; }
    CFindBar* FindBar() const { return m_pFindBar; }
    // The record a row points to, while the group's history list still holds it.
    const TGroupMessage* RowMessage(int row) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void RequestPage(int anchor, int direction);
    void EnablePageButtons(bool previous, bool next);
    // That row's message in the editor; false when the row shows none.
    bool ShowMessage(QTreeWidgetItem* row);

    tarvolan::CHostLink& m_link;
    Ui::CTarvolanHistoryDialog* m_pUi = nullptr;
    CString m_strGroupName;
    QTreeWidget* m_pMessageList = nullptr;
    CRichMsgEdit* m_pMessageText = nullptr;
    CFindBar* m_pFindBar = nullptr;
    CTarvolan* m_pTarvolan = nullptr;
    int m_bReady = 1;  // no page request outstanding
    int m_nPage = 1;
};

// The open history viewer of the group: a top-level window captioned
// "群组历史消息" that shows that group; null when there is none.
CTarvolanHistoryDialog* FindHistoryViewer(const CTarvolan& group);

} // namespace tarvolan
