// Records of the host protocol as JSON, both ways.
//
// Every record has a JSON form: an object whose keys are the field names of
// the protocol (word records: "pGroupName", "iResult" ...; byte-exact blocks:
// the member names of the structs in TarvolanAbi.h), as the record table
// (protocol/RecordTable.h) lays them out. Texts are UTF-8 in JSON and GBK in
// records.
//
// DecodeRecord reads a record at once, as it lies on the sender's stack, into
// JSON. CRecord builds an owned record from JSON exactly per the layouts:
// blocks zero-filled, character fields cut to their sizes (never inside a
// double-byte character), word records as arrays of tarvolan::Word.
#pragma once

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include <QJsonObject>
#include <QJsonValue>
#include <QString>

#include "protocol/TarvolanAbi.h"

using namespace tarvolan;

namespace host {

// True when the protocol defines a record for this code (either direction).
bool IsKnownCode(int code);

// The record of a message with that code, as JSON; null for a null record,
// {} for a code without a known layout (nothing is read then).
QJsonValue DecodeRecord(int code, const void* record);

// The words a module writes into a host message while handling it (1034
// word 4, 1038 word 1, 1043 words 1 and 2); {} for other codes.
QJsonObject DecodeOutWords(int code, const void* record);

// An owned record built from JSON. Missing fields are zero or empty text; a
// JSON null text is a null pointer. An array's count word defaults to the
// array's length; a larger count (up to the protocol limit) pads the array
// with zero-filled entries, so that a reader never leaves the buffer.
class CRecord {
public:
    // Null with *error set when the JSON does not fit the layout of the code.
    static std::unique_ptr<CRecord> FromJson(int code, const QJsonValue& json, QString* error);

    void* Data() { return m_data; }

    // Storage used while building (public for the encoder's helpers).
    char* NewBlock(size_t bytes);
    const char* NewText(const QString& utf8);

private:
    std::deque<std::unique_ptr<tarvolan::Word[]>> m_blocks;
    std::deque<std::string> m_texts;
    void* m_data = nullptr;

    friend class CRecordBuilder;
};

// Copies a UTF-8 text as GBK into a character field of size bytes: at most
// size-1 bytes, never half of a double-byte character, always terminated.
void PutField(char* field, size_t size, const QString& utf8);
// A character field read within its size, as UTF-8.
QString GetField(const char* field, size_t size);
// A zero-terminated GBK text as UTF-8.
QString GbkText(const char* text);

} // namespace host
