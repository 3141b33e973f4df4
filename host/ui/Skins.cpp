#include "ui/Skins.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QStyle>
#include <QWidget>

#include "platform/Window.h"

using namespace tarvolan;

namespace host {

namespace {

// Controls that a skin element shows: the module creates them hidden and
// leaves them to the client's skin. The conversation window's main element
// brings its history button ("查看历史消息").
struct TSkinControl {
    const char* skinFile;
    const char* element;
    int controlId;
};
constexpr TSkinControl kShownControls[] = {{"TarvolanChat.skn", "window01", 1814}};

void ShowSkinControls(QWidget* window, const QString& skinFile, const QString& element)
{
    for (const TSkinControl& shown : kShownControls) {
        if (skinFile != QLatin1String(shown.skinFile) || element != QLatin1String(shown.element)) continue;
        if (QWidget* control = FindControl(window, shown.controlId)) control->show();
    }
}

} // namespace

QWidget* CSkins::FindWidget(intptr_t handle)
{
    if (!handle) return nullptr;
    auto known = m_widgets.find(handle);
    if (known != m_widgets.end() && known->second) return known->second;
    for (QWidget* w : QApplication::allWidgets()) {
        if (WindowHandle(w) != handle) continue;
        m_widgets[handle] = w;
        return w;
    }
    return nullptr;
}

namespace {

QString ReadSheet(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

QString CSkins::SheetFor(const QString& skinFile)
{
    const QString base = QFileInfo(skinFile).completeBaseName();
    if (base.isEmpty()) return QString();
    const QString name = base + QStringLiteral(".qss");
    auto it = m_sheets.find(name);
    if (it != m_sheets.end()) return it->second;
    const QString folder = m_folder + QStringLiteral("/skins/");
    QString sheet = ReadSheet(folder + name);
    // The sheets draw Chinese texts; a desktop in another language gets
    // them from <base>.<language>.qss after the sheet, else <base>.en.qss,
    // as the module falls back to English.
    const QLocale locale;
    if (!sheet.isEmpty() && locale.language() != QLocale::C && locale.language() != QLocale::Chinese) {
        QString overlay = ReadSheet(folder + base + QLatin1Char('.') + QLocale::languageToCode(locale.language()) +
                                    QStringLiteral(".qss"));
        if (overlay.isEmpty()) overlay = ReadSheet(folder + base + QStringLiteral(".en.qss"));
        sheet += overlay;
    }
    m_sheets[name] = sheet;
    return sheet;
}

QJsonObject CSkins::Apply(const QJsonObject& record)
{
    QWidget* widget = FindWidget(record.value("iWindow").toInteger());
    const QString skinFile = record.value("pSkinFile").toString();
    const QString sheet = SheetFor(skinFile);
    if (widget) ShowSkinControls(widget, skinFile, record.value("pElement").toString());
    if (widget && !sheet.isEmpty()) {
        // Sheets select skin elements by this property.
        const QString element = record.value("pElement").toString();
        const bool elementChanged = widget->property("skinElement").toString() != element;
        widget->setProperty("skinElement", element);
        if (widget->styleSheet() != sheet) {
            widget->setStyleSheet(sheet);
        } else if (elementChanged) {
            widget->style()->unpolish(widget);
            widget->style()->polish(widget);
        }
    }
    return {{"window", widget != nullptr},
            {"sheet", sheet.isEmpty() ? QString() : QFileInfo(skinFile).completeBaseName() + QStringLiteral(".qss")}};
}

} // namespace host
