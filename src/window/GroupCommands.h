// CGroupCommands: the group commands of the main window, the items of
// context menu 465 and its three buttons (1006 add, 1004 delete, 1005 edit).
// Each works on the tree item selected at the moment, asks the person through
// the prompts, runs its dialog and sends one request through the module's
// host link; the tables change only when the host reports the result. The
// window routes the ids here and gives it the window the commands belong to
// (selection, group data, open windows, result handlers in test mode) and
// the module context.
#pragma once

#include "common/GbkString.h"

class QTreeWidgetItem;

namespace tarvolan {

class CGroupData;
class CHostLink;
class CModuleContext;
class CTarvolanDialog;

class CGroupCommands {
public:
    CGroupCommands(CTarvolanDialog& window, CModuleContext& context) : m_window(window), m_context(context) {}
    CGroupCommands(const CGroupCommands&) = delete;
    CGroupCommands& operator=(const CGroupCommands&) = delete;

    // Runs the command or button with that id; false for any other id.
    bool Run(int id);

private:
    QTreeWidgetItem* SelectedItem() const;
    CHostLink& Link() const;
    CGroupData& Data() const;
    void OnGroupButton(int id);
    void OnOpenGroupChat();
    void OnCreateTarvolan();
    void OnEditTarvolan();
    void OnShowTarvolanProperties();
    void OnDeleteTarvolan();
    void OnLeaveTarvolan();
    void OnOpenBlackList();
    void OnTransferTarvolan();
    void OnRemoveMember();
    void OnInviteToTarvolan();
    void OnChangeMyDisplayName();
    void OnMessageMember(int mode);
    void OnSearchTarvolan();

    CTarvolanDialog& m_window;
    CModuleContext& m_context;
};

} // namespace tarvolan
