// Answers to prompts, and prompts held open: an answer with "hold" keeps its
// prompt open while the steps after it are played from inside the prompt,
// until a "release" step answers it (or the module closes a named box, or a
// held dialog ends by a step pressing its button).
#include <map>

#include <QColor>
#include <QRegularExpression>

#include "bridge/JsonFile.h"
#include "platform/Window.h"
#include "player/ScenarioPlayer.h"
#include "scripted/ScriptedUiDriver.h"
#include "ui/ClientSession.h"

using namespace tarvolan;

namespace host {

namespace {

// A box answer by name or number; -1 for anything else.
int AnswerCode(const QJsonValue& v)
{
    static const std::map<QString, int> names = {
        {QStringLiteral("ok"), IDOK}, {QStringLiteral("cancel"), IDCANCEL},
        {QStringLiteral("yes"), IDYES}, {QStringLiteral("no"), IDNO}};
    if (v.isDouble()) return v.toInt();
    auto it = names.find(v.toString().toLower());
    return it == names.end() ? -1 : it->second;
}

bool IsDialogAnswer(const QJsonValue& v)
{
    return v.toString().toLower() == QLatin1String("dialog");
}

// A dialog answer from "values" (by control id) and "button"; false with *why.
bool DialogAnswerOf(const QJsonObject& step, TScriptedDialog& dialog, QString* why)
{
    const QJsonObject values = step.value("values").toObject();
    for (auto it = values.begin(); it != values.end(); ++it) {
        bool ok = false;
        const int id = it.key().toInt(&ok);
        if (!ok) {
            *why = QStringLiteral("dialog values are keyed by control id, not \"%1\"").arg(it.key());
            return false;
        }
        const QJsonValue v = it.value();
        const QString text = v.isBool() ? QString::number(v.toBool() ? 1 : 0) : v.toVariant().toString();
        dialog.values[id] = CString(text.toStdString());
    }
    dialog.button = step.value("button").isUndefined() ? IDOK : AnswerCode(step.value("button"));
    return true;
}

bool IsFontAnswer(const QJsonValue& v)
{
    return v.toString().toLower() == QLatin1String("font");
}

// A font dialog's answer from "values" (face, size in points, bold, italic,
// underline, strikeout, color "#rrggbb"; what is not named stays as the
// dialog opened) and "button" (ok or cancel); false with *why.
bool FontAnswerOf(const QJsonObject& step, TScriptedFont& font, QString* why)
{
    const QJsonObject values = step.value("values").toObject();
    if (!OnlyKeys(values, {"face", "size", "bold", "italic", "underline", "strikeout", "color"},
                  QStringLiteral("font values"), why))
        return false;
    const QJsonValue face = values.value("face");
    const QJsonValue size = values.value("size");
    const QJsonValue color = values.value("color");
    static const QRegularExpression colorName(QRegularExpression::anchoredPattern(QStringLiteral("#[0-9a-fA-F]{6}")));
    if ((!face.isUndefined() && (!face.isString() || face.toString().isEmpty())) ||
        (!size.isUndefined() && (!size.isDouble() || size.toDouble() < 1 || size.toDouble() > 1000)) ||
        (!color.isUndefined() && !colorName.match(color.toString()).hasMatch())) {
        *why = QStringLiteral("font values: \"face\" is a text, \"size\" points (1 to 1000), \"color\" \"#rrggbb\"");
        return false;
    }
    std::map<QString, bool> effects;
    for (const char* key : {"bold", "italic", "underline", "strikeout"}) {
        const QJsonValue v = values.value(QLatin1String(key));
        if (v.isUndefined()) continue;
        if (!v.isBool()) {
            *why = QStringLiteral("font values: \"%1\" is true or false").arg(key);
            return false;
        }
        effects[QLatin1String(key)] = v.toBool();
    }
    const int button = step.value("button").isUndefined() ? IDOK : AnswerCode(step.value("button"));
    if (button != IDOK && button != IDCANCEL) {
        *why = QStringLiteral("a font dialog's \"button\" is ok or cancel");
        return false;
    }
    font.ok = button == IDOK;
    font.change = [face, size, color, effects](TLogFont& f, COLORREF& c) {
        if (face.isString()) FromQt(face.toString()).CopyTo(f.lfFaceName, sizeof(f.lfFaceName));
        // Points at 96 dots an inch, as the dialog gives a height in pixels.
        if (size.isDouble()) f.lfHeight = -qRound(size.toDouble() * 96.0 / 72.0);
        for (const auto& [key, on] : effects) {
            if (key == QLatin1String("bold")) f.lfWeight = on ? 700 : 400;
            if (key == QLatin1String("italic")) f.lfItalic = on;
            if (key == QLatin1String("underline")) f.lfUnderline = on;
            if (key == QLatin1String("strikeout")) f.lfStrikeOut = on;
        }
        if (color.isString()) {
            const QColor rgb(color.toString());
            c = RGBColor(rgb.red(), rgb.green(), rgb.blue());
        }
    };
    return true;
}

QString KindName(const CString& kind)
{
    if (kind == "modal") return QStringLiteral("dialog");
    if (kind == "font") return QStringLiteral("font dialog");
    if (kind == "named") return QStringLiteral("named box");
    return QStringLiteral("message box");
}

} // namespace

CScenarioPlayer::TStepError CScenarioPlayer::Answer(const QJsonObject& step)
{
    CScriptedUiDriver* driver = m_session.Driver();
    if (!driver) return {Malformed, QStringLiteral("answers need the headless player")};
    const QJsonValue answer = step.value("answer");
    const QString kind = answer.toString().toLower();
    const bool hold = step.value("hold").toBool(false);
    if (step.contains("hold") && !step.value("hold").isBool())
        return {Malformed, QStringLiteral("\"hold\" is true or false")};
    if (hold && (kind == QLatin1String("default") || kind == QLatin1String("file")))
        return {Malformed, QStringLiteral("only a box, dialog or font answer can be held")};
    QString why;
    if (IsFontAnswer(answer)) {
        TScriptedFont font;
        if (!FontAnswerOf(step, font, &why)) return {Malformed, why};
        font.hold = hold;
        font.ticket = static_cast<int>(m_current);
        driver->PushFont(std::move(font));
    } else if (IsDialogAnswer(answer)) {
        TScriptedDialog dialog;
        if (!DialogAnswerOf(step, dialog, &why)) return {Malformed, why};
        dialog.hold = hold;
        dialog.ticket = static_cast<int>(m_current);
        driver->PushDialog(std::move(dialog));
    } else if (kind == QLatin1String("default")) {
        const int code = AnswerCode(step.value("value"));
        if (code < 0) return {Malformed, QStringLiteral("\"default\" needs a \"value\" (yes, no, ok, cancel)")};
        driver->SetDefaultAnswer(code);
    } else if (kind == QLatin1String("file")) {
        driver->PushFileName(CString(step.value("name").toString().toLocal8Bit().toStdString()));
    } else {
        const int code = AnswerCode(answer);
        if (code < 0)
            return {Malformed, QStringLiteral("\"answer\" is yes, no, ok, cancel, a number, dialog, font, default or file")};
        if (hold) driver->PushHeldAnswer(code, static_cast<int>(m_current));
        else driver->PushAnswer(code);
    }
    return {};
}

void CScenarioPlayer::OnHold(THold& hold)
{
    m_session.PollLog();
    m_session.Transcript().Add({{"type", "hold"}, {"kind", ToQt(hold.kind)}, {"text", ToQt(hold.text)},
                                {"caption", ToQt(hold.caption)}, {"step", hold.ticket}});
    PlaySteps([&hold] { return hold.Done(); });
    if (hold.Done() || m_result != Passed) return;
    Fail(Malformed, hold.ticket, QStringLiteral("answer"),
         QStringLiteral("the %1 held here (\"%2\") was never released: the scenario ended while it was open")
             .arg(KindName(hold.kind), ToQt(hold.text)));
}

CScenarioPlayer::TStepError CScenarioPlayer::Release(const QJsonObject& step)
{
    CScriptedUiDriver* driver = m_session.Driver();
    if (!driver) return {Malformed, QStringLiteral("releases need the headless player")};
    const QJsonValue value = step.value("release");
    const bool dialogAnswer = IsDialogAnswer(value);
    const bool fontAnswer = IsFontAnswer(value);
    const int code = value.isBool() ? 0 : AnswerCode(value);
    if (value == QJsonValue(false) || (!value.isBool() && !dialogAnswer && !fontAnswer && code < 0))
        return {Malformed,
                QStringLiteral("\"release\" is true (the held answer), yes, no, ok, cancel, a number, dialog or font")};
    // The innermost open prompt, or the innermost whose text has "prompt".
    const QString part = step.value("prompt").toString();
    THold* hold = nullptr;
    for (THold* open : driver->OpenHolds())
        if (!open->Done() && (part.isEmpty() || ToQt(open->text).contains(part))) hold = open;
    if (!hold) return {Failed, part.isEmpty() ? QStringLiteral("no held prompt is open")
                                              : QStringLiteral("no held prompt with \"%1\" is open").arg(part)};
    const bool modal = hold->kind == "modal";
    const bool font = hold->kind == "font";
    if (dialogAnswer && !modal) return {Malformed, QStringLiteral("the held prompt is not a dialog")};
    if (fontAnswer && !font) return {Malformed, QStringLiteral("the held prompt is not a font dialog")};
    QString why;
    if (dialogAnswer) {
        hold->dialog = TScriptedDialog();
        if (!DialogAnswerOf(step, hold->dialog, &why)) return {Malformed, why};
    } else if (fontAnswer) {
        if (!FontAnswerOf(step, hold->font, &why)) return {Malformed, why};
    } else if (!value.isBool()) {
        if (modal) {
            hold->dialog = TScriptedDialog();
            hold->dialog.button = code;
        } else if (font) {
            hold->font.ok = code == IDOK;
        } else {
            hold->answer = code;
        }
    }
    hold->released = true;
    return {};
}

} // namespace host
