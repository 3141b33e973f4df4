// The client's skin engine: a skin request (code 10001) names a window by
// its handle, a skin file ("main.skn") and an element; the client applies
// its own style sheet for that skin file, assets/skins/<name>.qss
// ("main.skn" -> "main.qss"), to the widget with that handle. The element
// becomes the widget's "skinElement" property, which sheets select on. A few
// elements also show controls that the module leaves hidden for the skin
// (the conversation window's history button).
#pragma once

#include <map>

#include <QJsonObject>
#include <QPointer>
#include <QString>
#include <QWidget>

namespace host {

class CSkins {
public:
    explicit CSkins(QString clientFolder) : m_folder(std::move(clientFolder)) {}

    // Applies the skin that a 10001 record (decoded) asks for. Returns what
    // happened, for the transcript: {"window": found, "sheet": file or ""}.
    QJsonObject Apply(const QJsonObject& record);

    // The widget whose window handle is handle; null when none. Widgets
    // found once are remembered while they live.
    QWidget* FindWidget(intptr_t handle);
    // The style sheet for a skin file; empty when there is none.
    QString SheetFor(const QString& skinFile);

private:
    QString m_folder;
    std::map<QString, QString> m_sheets;  // file name -> style sheet text
    std::map<intptr_t, QPointer<QWidget>> m_widgets;  // window handle -> widget
};

} // namespace host
