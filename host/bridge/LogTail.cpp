#include "bridge/LogTail.h"

#include <QFile>
#include <QRegularExpression>

#include "bridge/RecordCodec.h"

namespace host {

CLogTail::CLogTail(QString path) : m_path(std::move(path))
{
    QFile file(m_path);
    m_offset = file.exists() ? file.size() : 0;
}

std::vector<TLogLine> CLogTail::Poll()
{
    std::vector<TLogLine> lines;
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly)) return lines;
    if (file.size() < m_offset) m_offset = 0;  // the log was started anew
    if (!file.seek(m_offset)) return lines;
    QByteArray text = file.readAll();
    const qsizetype end = text.lastIndexOf('\n');
    if (end < 0) return lines;  // nothing complete yet
    text.truncate(end + 1);
    m_offset += text.size();

    static const QRegularExpression stamp(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d \\[(-?\\d+)\\] "));
    for (const QByteArray& raw : text.split('\n')) {
        QByteArray line = raw;
        if (line.endsWith('\r')) line.chop(1);
        const QString utf8 = GbkText(line.constData());
        const auto match = stamp.match(utf8);
        if (match.hasMatch()) {
            lines.push_back({utf8.mid(match.capturedLength()), match.captured(1).toInt()});
        } else if (!lines.empty() && !raw.isEmpty()) {
            lines.back().text += QLatin1Char('\n') + utf8;
        }
    }
    return lines;
}

} // namespace host
