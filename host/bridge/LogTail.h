// Follows the client log that ClientKit's WriteLog appends to, so that its
// lines reach the transcript: "YYYY-MM-DD HH:MM:SS [level] text", where a
// text may run over several lines.
#pragma once

#include <vector>

#include <QString>

namespace host {

struct TLogLine {
    QString text;  // UTF-8
    int level = 0;
};

class CLogTail {
public:
    // Starts at the log's current end: earlier lines are not reported.
    explicit CLogTail(QString path);
    // The lines written since the last call.
    std::vector<TLogLine> Poll();

private:
    QString m_path;
    qint64 m_offset = 0;
};

} // namespace host
