// Reaching the module's windows in a client session as a person does: tree
// items by their texts, modal dialogs run from a command and inspected
// while open, modeless windows found among the top-level windows.
#pragma once

#include <functional>

#include <QApplication>
#include <QStringList>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "platform/Window.h"
#include "scripted/ScriptedUiDriver.h"
#include "ui/ClientSession.h"

namespace host {

inline QWidget* VisibleTopLevel(const char* className)
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->inherits(className) && window->isVisible()) return window;
    return nullptr;
}

inline QTreeWidgetItem* FindTreeItem(QTreeWidget* tree, const QStringList& path)
{
    QTreeWidgetItem* item = nullptr;
    for (const QString& text : path) {
        QTreeWidgetItem* parent = item ? item : tree->invisibleRootItem();
        item = nullptr;
        for (int i = 0; i < parent->childCount() && !item; ++i)
            if (parent->child(i)->text(0) == text) item = parent->child(i);
        if (!item) return nullptr;
    }
    return item;
}

// Makes the group tree's item at the path the current one, as the arrow keys do.
inline void SelectTreeItem(CClientSession& session, const QStringList& path)
{
    QTreeWidgetItem* item = FindTreeItem(session.GroupTree(), path);
    ASSERT_NE(item, nullptr) << path.join('/').toStdString();
    session.GroupTree()->setCurrentItem(item);
}

// Runs a command of the group window whose modal dialog is inspected while it
// is open, then cancelled.
inline void InspectModal(CClientSession& session, int command, const char* name,
                         const std::function<void(tarvolan::CDialog*)>& inspect)
{
    bool seen = false;
    tarvolan::TScriptedDialog answer;
    answer.button = tarvolan::IDCANCEL;
    answer.inspect = [&](tarvolan::CDialog* dialog) {
        seen = true;
        inspect(dialog);
    };
    session.Driver()->PushDialog(answer);
    tarvolan::SendCommand(session.GroupWindow(), command);
    EXPECT_TRUE(seen) << name << " did not open";
}

} // namespace host
