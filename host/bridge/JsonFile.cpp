#include "bridge/JsonFile.h"

#include <algorithm>

#include <QFile>
#include <QJsonParseError>

namespace host {

QString LineColumn(const QByteArray& text, int offset)
{
    int line = 1;
    int column = 1;
    const int end = std::min<int>(std::max(offset, 0), static_cast<int>(text.size()));
    for (int i = 0; i < end; ++i) {
        if (text[i] == '\n') {
            ++line;
            column = 1;
        } else if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            ++column;  // count characters, not UTF-8 continuation bytes
        }
    }
    return QStringLiteral("%1:%2").arg(line).arg(column);
}

bool ParseJson(const QByteArray& text, const QString& name, QJsonDocument& doc, QString* error)
{
    QJsonParseError parseError;
    doc = QJsonDocument::fromJson(text, &parseError);
    if (parseError.error == QJsonParseError::NoError) return true;
    if (error)
        *error = QStringLiteral("%1:%2: %3").arg(name, LineColumn(text, parseError.offset), parseError.errorString());
    return false;
}

bool ReadJsonFile(const QString& path, QJsonDocument& doc, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) *error = QStringLiteral("%1: cannot be read (%2)").arg(path, file.errorString());
        return false;
    }
    return ParseJson(file.readAll(), path, doc, error);
}

bool OnlyKeys(const QJsonObject& obj, std::initializer_list<const char*> keys, const QString& path, QString* error)
{
    for (auto it = obj.begin(); it != obj.end(); ++it) {
        bool known = false;
        for (const char* key : keys) known = known || it.key() == QLatin1String(key);
        if (!known) {
            if (error) *error = QStringLiteral("%1: unknown key \"%2\"").arg(path, it.key());
            return false;
        }
    }
    return true;
}

} // namespace host
