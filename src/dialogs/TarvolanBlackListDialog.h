// CTarvolanBlackListDialog: the blacklist of one group I own (template 2004,
// caption 38026), a modeless window. It asks the host for the group's list
// when it opens and sends the additions and removals the user asks for; its
// lines change only when the host confirms (the main window routes the
// host's blacklist messages to it through CGroupBlacklistWindow). Closing it
// only hides it: it keeps receiving until the main window deletes it.
//
// The template also holds a whitelist box with its label and buttons, all
// hidden: whitelist entries that the host reports land there unseen.
#pragma once

#include <memory>
#include <vector>

#include "common/GbkString.h"
#include "groups/ChildWindows.h"
#include "platform/Window.h"

class QListWidget;
namespace Ui { class CTarvolanBlackListDialog; }

namespace tarvolan {

class CHostLink;
class CModuleContext;

class CTarvolanBlackListDialog : public CDialog, public CGroupBlacklistWindow {
    Q_OBJECT
public:
    enum { IDD = 2004 };
    enum : int {
        IDC_GROUP_NAME = 1045,
        IDC_BLACKLIST = 1177,
        IDC_ADD = 1081,
        IDC_REMOVE = 1085,
        IDC_WHITELIST = 1532,
        IDC_WHITELIST_ADD = 1533,
        IDC_WHITELIST_REMOVE = 1534,
    };
    enum EListKind : int { LIST_BLACK = 0, LIST_WHITE = 1 };
    enum EListOperation : int { LIST_REMOVED = 0, LIST_ADDED = 1 };

    explicit CTarvolanBlackListDialog(CModuleContext& context, QWidget* parent = nullptr);
    ~CTarvolanBlackListDialog() override;

    // Before Create: the group's key URI and its name.
    void SetGroupURI(const CString& uri) { m_strGroupURI = uri; }
    const CString& GetGroupURI() const { return m_strGroupURI; }
    void SetGroupName(const CString& name);
    const CString& GetGroupName() const { return m_strGroupName; }

    // CGroupBlacklistWindow
    void AddBlackListEntry(const CString& uri, const CString& groupURI, int kind) override;
    void OnBlackListChanged(const CString& uri, const CString& group, int operation, int kind) override;
    void OnBlackListFailed(const CString& uri) override;

    // The URIs of the lines of a box (kind 0 blacklist, 1 whitelist), in order.
    std::vector<CString> ListedURIs(int kind) const;

    bool OnInitDialog() override;
    bool OnCommand(int id, intptr_t lParam) override;

private:
    struct TEntry {
        CString uri;
        int kind = LIST_BLACK;
    };

    void OnAddEntry();
    void OnRemoveEntry();
    QListWidget* Box(int kind) const;
    // Appends a line for a new entry; the entry list owns it.
    void AppendLine(QListWidget* box, const CString& uri, int kind);
    TEntry* LineEntry(QListWidget* box, int row) const;

    CModuleContext& m_context;
    tarvolan::CHostLink& m_link;
    Ui::CTarvolanBlackListDialog* m_pUi = nullptr;
    CString m_strGroupURI;
    CString m_strGroupName;
    std::vector<std::unique_ptr<TEntry>> m_entries;  // in creation order
};

} // namespace tarvolan
