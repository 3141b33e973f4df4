// Reaching the module's windows in a client session as a person does: tree
// items by their texts, modal dialogs run from a command and inspected
// while open, modeless windows found among the top-level windows.
#pragma once

#include <functional>

#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QStringList>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "SharedSession.h"
#include "platform/Window.h"
#include "player/ScenarioPlayer.h"
#include "scripted/ScriptedUiDriver.h"
#include "ui/ClientSession.h"

namespace host {

inline QWidget* VisibleTopLevel(const char* className)
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->inherits(className) && window->isVisible()) return window;
    return nullptr;
}

// Signs the session in against the simulated network, as its first step.
inline void SignIn(CClientSession& session)
{
    CScenarioPlayer player(session);
    QString why;
    ASSERT_EQ(player.Play(QJsonDocument::fromJson(R"([{"network": "signin"}])").array(), &why),
              CScenarioPlayer::Passed) << why.toStdString();
}

// Makes the group tree's item at the path the current one, as the arrow keys do.
inline void SelectTreeItem(CClientSession& session, const QStringList& path)
{
    QTreeWidgetItem* item = FindItem(session.GroupTree(), path);
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
