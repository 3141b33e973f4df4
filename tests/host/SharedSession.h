// The one client session of the host tests: the module is one object per
// process, so every test shares the session, which is never destroyed.
#pragma once

#include <QStringList>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "sim/SimulatedIms.h"
#include "ui/ClientSession.h"

namespace host {

// A scripted run of the built module in a private client folder, answering at once.
inline TClientOptions TestClientOptions()
{
    TClientOptions options;
    options.libraryPath = QStringLiteral(TARVOLAN_BIN_DIR "/libTarvolan.so");
    options.imsDelay = 0;
    options.scripted = true;
    options.privateFolder = true;
    return options;
}

// Starts session in that run, over the simulated stack in the demo world.
inline bool StartTestSession(CClientSession& session, QString* error)
{
    return session.Start(TestClientOptions(), std::make_unique<CSimulatedIms>(CWorld::Default()), error);
}

inline CClientSession& SharedSession()
{
    static CClientSession* session = [] {
        auto* s = new CClientSession;
        QString error;
        EXPECT_TRUE(StartTestSession(*s, &error)) << error.toStdString();
        return s;
    }();
    return *session;
}

// The tree item at the path of item texts from the top; null when none.
inline QTreeWidgetItem* FindItem(QTreeWidget* tree, const QStringList& path)
{
    QTreeWidgetItem* item = tree->invisibleRootItem();
    for (const QString& text : path) {
        QTreeWidgetItem* next = nullptr;
        for (int i = 0; i < item->childCount() && !next; ++i)
            if (item->child(i)->text(0) == text) next = item->child(i);
        if (!next) return nullptr;
        item = next;
    }
    return item;
}

} // namespace host
