// Reading JSON files with errors that name the file and the position.
#pragma once

#include <initializer_list>

#include <QByteArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

namespace host {

// "line:column" (both from 1) of a byte offset in text.
QString LineColumn(const QByteArray& text, int offset);

// Parses text; on failure *error is "<name>:<line>:<column>: <reason>".
bool ParseJson(const QByteArray& text, const QString& name, QJsonDocument& doc, QString* error);
// Reads and parses a file; failures name the file.
bool ReadJsonFile(const QString& path, QJsonDocument& doc, QString* error);

// Checks that obj has only the given keys; *error names the first other key
// with the path of obj (for example "groups[2]").
bool OnlyKeys(const QJsonObject& obj, std::initializer_list<const char*> keys, const QString& path, QString* error);

} // namespace host
