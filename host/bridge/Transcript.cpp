#include "bridge/Transcript.h"

#include <QFile>
#include <QJsonDocument>

namespace host {

int CTranscript::Add(QJsonObject entry)
{
    entry["seq"] = static_cast<int>(m_entries.size());
    m_entries.push_back(std::move(entry));
    return static_cast<int>(m_entries.size()) - 1;
}

void CTranscript::Update(int index, const QJsonObject& fields)
{
    if (index < 0 || index >= Size()) return;
    for (auto it = fields.begin(); it != fields.end(); ++it) m_entries[static_cast<size_t>(index)][it.key()] = it.value();
}

QJsonObject CallEntry(const THostCall& call)
{
    QJsonObject entry{{"type", "call"}, {"slot", call.slot}, {"iface", call.iface}};
    if (call.slot == 5) {
        entry["code"] = call.code;
        entry["sender"] = call.senderType;
    } else {
        entry["args"] = call.args;
    }
    entry["record"] = call.record;
    return entry;
}

QJsonObject SendEntry(const THostMessage& message)
{
    QJsonObject entry{{"type", "send"}, {"source", message.source}, {"code", message.code}};
    if (message.raw) entry["bytes"] = QString::fromLatin1(message.bytes.toHex(' '));
    else entry["record"] = message.record;
    return entry;
}

void CTranscript::Attach(CHostBridge& bridge)
{
    bridge.AddCallListener([this](const THostCall& call) { Add(CallEntry(call)); });
    bridge.AddMessageListener([this](const THostMessage& message, bool handled) {
        if (!handled) {
            m_openSends.push_back(Add(SendEntry(message)));
            return;
        }
        if (m_openSends.empty()) return;
        const int index = m_openSends.back();
        m_openSends.pop_back();
        QJsonObject fields{{"calls", message.calls}};
        if (!message.out.isEmpty()) fields["out"] = message.out;
        Update(index, fields);
    });
}

bool CTranscript::WriteTo(const QString& path, QString* error) const
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        if (error) *error = QStringLiteral("%1: cannot be written (%2)").arg(path, file.errorString());
        return false;
    }
    for (const auto& entry : m_entries) {
        file.write(QJsonDocument(entry).toJson(QJsonDocument::Compact));
        file.write("\n");
    }
    return true;
}

} // namespace host
