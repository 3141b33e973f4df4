#include "dialogs/TarvolanBlackListDialog.h"

#include <algorithm>

#include <QCoreApplication>
#include <QListWidget>

#include "common/TextFunctions.h"
#include "controls/AskInHandler.h"
#include "controls/ModuleContext.h"
#include "controls/Prompts.h"
#include "controls/SignedInUser.h"
#include "dialogs/DialogControls.h"
#include "dialogs/InputTextDialog.h"
#include "platform/Resources.h"
#include "protocol/HostLink.h"
#include "res/ModuleResources.h"
#include "ui_CTarvolanBlackListDialog.h"

namespace tarvolan {

namespace {

constexpr int kEntryRole = Qt::UserRole;

Word TextWord(const CString& text) { return reinterpret_cast<Word>(text.c_str()); }

} // namespace

CTarvolanBlackListDialog::CTarvolanBlackListDialog(CModuleContext& context, QWidget* parent)
    : CDialog(parent), m_context(context), m_link(context.Link())
{
    m_pUi = new Ui::CTarvolanBlackListDialog;
    m_pUi->setupUi(this);
    m_pUi->whitelistPane->hide();  // the whitelist is never shown
}

CTarvolanBlackListDialog::~CTarvolanBlackListDialog()
{
    delete m_pUi;
}

void CTarvolanBlackListDialog::SetGroupName(const CString& name)
{
    m_strGroupName = name;
    SetDlgItemText(IDC_GROUP_NAME, name);
}

bool CTarvolanBlackListDialog::OnInitDialog()
{
    setWindowTitle(ToQt(LoadResString(IDS_BLACKLIST_CAPTION)));
    SetDlgItemText(IDC_GROUP_NAME, m_strGroupName);
    if (!m_strGroupURI.IsEmpty()) {
        Word record[1] = {TextWord(m_strGroupURI)};
        m_link.Send(M_RequestBlacklist, record);
    }
    m_link.RequestSkin(WindowHandle(this), "media.skn", "");
    if (QWidget* list = GetDlgItem(IDC_BLACKLIST)) list->setFocus();  // the entries come first, not the name
    return true;
}

// Button presses come from the event loop, not through the module's entry
// points: the module's strings are made current here.
bool CTarvolanBlackListDialog::OnCommand(int id, intptr_t lParam)
{
    CResourceSwitch resources(m_context.Resources());
    switch (id) {
    case IDC_ADD: OnAddEntry(); return true;
    case IDC_REMOVE: OnRemoveEntry(); return true;
    case IDC_WHITELIST_ADD:
    case IDC_WHITELIST_REMOVE: return true;  // hidden, never pressed
    default: return CDialog::OnCommand(id, lParam);
    }
}

// "新增": the account through the text input dialog, completed into a URI.
// The box changes only when the host confirms.
void CTarvolanBlackListDialog::OnAddEntry()
{
    // Not a child of this window: a new blacklist command or shut-down may
    // delete this window while the question is open.
    CInputTextDialog input(m_link);
    input.SetLabel(
        FromQt(QCoreApplication::translate("CTarvolanBlackListDialog", "%1：").arg(ToQt(LoadResString(IDS_CONTACT_ACCOUNT)))));
    const auto asked = AskInHandler(this, [&] { return input.DoModal(); });
    if (!asked.WindowAlive() || asked.Answer() != IDOK) return;
    CString account = input.GetText();
    account.Trim();  // blanks around an account are never part of it
    if (account.IsEmpty()) {
        ShowNotice(this, LoadResString(IDS_ACCOUNT_EMPTY));
        return;
    }
    const CString uri = CompleteAccountURI(account, SignedInDomain());
    Word record[2] = {TextWord(m_strGroupName), TextWord(uri)};
    m_link.Send(M_AddBlacklist, record);
}

// "删除": the selected line's URI, without a question.
void CTarvolanBlackListDialog::OnRemoveEntry()
{
    QListWidget* box = Box(LIST_BLACK);
    const QList<QListWidgetItem*> selected = box->selectedItems();
    const TEntry* entry = selected.isEmpty() ? nullptr : LineEntry(box, box->row(selected.front()));
    if (!entry) return;
    const CString uri = entry->uri;  // the request may bring the removal back at once
    Word record[2] = {TextWord(m_strGroupName), TextWord(uri)};
    m_link.Send(M_RemoveBlacklist, record);
}

void CTarvolanBlackListDialog::AddBlackListEntry(const CString& uri, const CString& groupURI, int kind)
{
    if (!(groupURI == m_strGroupURI) || uri.IsEmpty()) return;
    for (const auto& entry : m_entries) {
        if (entry->uri == uri) {
            entry->kind = kind;
            return;
        }
    }
    AppendLine(Box(kind == LIST_BLACK ? LIST_BLACK : LIST_WHITE), uri, kind);
}

void CTarvolanBlackListDialog::OnBlackListChanged(const CString& uri, const CString& group, int operation, int kind)
{
    if (!(group == m_strGroupURI) && !(group == m_strGroupName)) return;
    if ((kind != LIST_BLACK && kind != LIST_WHITE) || uri.IsEmpty()) return;
    QListWidget* box = Box(kind);
    if (operation == LIST_ADDED) {
        AppendLine(box, uri, kind);  // listed once per notification
    } else if (operation == LIST_REMOVED) {
        for (int row = 0; row < box->count(); ++row) {
            const TEntry* entry = LineEntry(box, row);
            if (!entry || !(entry->uri == uri)) continue;
            delete box->takeItem(row);
            std::erase_if(m_entries, [entry](const std::unique_ptr<TEntry>& e) { return e.get() == entry; });
            return;
        }
    }
}

void CTarvolanBlackListDialog::OnBlackListFailed(const CString& uri)
{
    ShowMessageBox(this, ResText(IDS_OPERATION_FAILED, uri), CString(), MB_OK);
}

std::vector<CString> CTarvolanBlackListDialog::ListedURIs(int kind) const
{
    std::vector<CString> uris;
    QListWidget* box = Box(kind);
    for (int row = 0; row < box->count(); ++row)
        if (const TEntry* entry = LineEntry(box, row)) uris.push_back(entry->uri);
    return uris;
}

QListWidget* CTarvolanBlackListDialog::Box(int kind) const
{
    return kind == LIST_BLACK ? m_pUi->id1177 : m_pUi->id1532;
}

void CTarvolanBlackListDialog::AppendLine(QListWidget* box, const CString& uri, int kind)
{
    m_entries.push_back(std::make_unique<TEntry>(TEntry{uri, kind}));
    auto* line = new QListWidgetItem(ShownPart(ToQt(uri)));
    line->setData(kEntryRole, QVariant::fromValue(reinterpret_cast<quintptr>(m_entries.back().get())));
    box->addItem(line);
}

CTarvolanBlackListDialog::TEntry* CTarvolanBlackListDialog::LineEntry(QListWidget* box, int row) const
{
    const QListWidgetItem* line = box->item(row);
    return line ? reinterpret_cast<TEntry*>(line->data(kEntryRole).value<quintptr>()) : nullptr;
}

} // namespace tarvolan
