// Reading RTF back with unrtf (Debian package unrtf), a reader that shares no
// code with ours. Its HTML names fonts and colours with <font> tags, writes
// text other than ASCII as &#N; and each picture it finds as pict001.png,
// pict002.png ... in the folder it runs in.
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <gtest/gtest.h>

namespace conversation_test {

// unrtf --html over rtfFile, run in folder; its output, or empty with a
// failure recorded when unrtf is missing or fails. A missing unrtf fails the
// test rather than skipping it: scripts/install-deps.sh installs it.
inline QByteArray UnrtfHtml(const QString& rtfFile, const QString& folder)
{
    const QString unrtf = QStandardPaths::findExecutable("unrtf");
    if (unrtf.isEmpty()) {
        ADD_FAILURE() << "unrtf is not on PATH: scripts/install-deps.sh installs it (Debian package unrtf)";
        return {};
    }
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(unrtf, {"--html", rtfFile});
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        ADD_FAILURE() << "unrtf failed: " << process.readAllStandardError().toStdString();
        return {};
    }
    return process.readAllStandardOutput();
}

} // namespace conversation_test
