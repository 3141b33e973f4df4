// The transcript of a run: one JSON object per event, in order, written as
// JSON lines (texts in UTF-8). Entry types:
//   {"type":"call", "slot":5, "iface":1, "code":..., "record":{...}}    the module called the host
//   {"type":"call", "slot":6, "args":[...], "record":{...}}             (slot 6 and 7 relays)
//   {"type":"send", "source":..., "code":..., "record":..., "out":{...}, "calls":n}  a host message
//   {"type":"prompt", "kind":..., "text":..., "caption":..., "flags":n, "answer":n}
//   {"type":"log", "via":"host"|"clientkit", "text":..., "level":n}
//   {"type":"send", ..., "bytes":"0a 0b"}                                a record sent as raw bytes
//   {"type":"hold", "kind":..., "text":..., "caption":..., "step":n}     a held prompt opened
//   {"type":"snapshot", "label":..., "tree":[...]}, {"type":"timer", ...}, {"type":"step", ...}
//   {"type":"controls", ...}, {"type":"conversation", ...}, {"type":"tooltip", ...},
//   {"type":"refusal", ...}, {"type":"exists", ...}                      from the window steps
//   {"type":"announcement", "window":..., "text":...}                   told to a screen reader
// Every entry carries "seq", its index from 0. The scenario player matches
// entries with player/JsonPattern.h.
#pragma once

#include <vector>

#include <QJsonObject>
#include <QString>

#include "bridge/HostBridge.h"

namespace host {

class CTranscript {
public:
    // Adds an entry and returns its index.
    int Add(QJsonObject entry);
    void Update(int index, const QJsonObject& fields);
    const std::vector<QJsonObject>& Entries() const { return m_entries; }
    int Size() const { return static_cast<int>(m_entries.size()); }

    // Records every call and host message of the bridge.
    void Attach(CHostBridge& bridge);

    // Writes JSON lines; false with *error when the file cannot be written.
    bool WriteTo(const QString& path, QString* error) const;

private:
    std::vector<QJsonObject> m_entries;
    std::vector<int> m_openSends;  // sends whose handling is under way (they may nest)
};

// Entries for the transcript.
QJsonObject CallEntry(const THostCall& call);
QJsonObject SendEntry(const THostMessage& message);

} // namespace host
