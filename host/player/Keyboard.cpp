#include "player/Keyboard.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDateTime>
#include <QKeyEvent>
#include <QKeySequence>
#include <QWidget>

// Qt's own entry for a key press that may be a shortcut: the shortcut map
// gets the press first, as with a key from the window system (the test
// library uses it the same way). True when a shortcut took the press.
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k, Qt::KeyboardModifiers mods,
                                               const QString& text = QString(), bool autorep = false,
                                               ushort count = 1);

namespace host {

namespace {

// The text a key press carries: the character for printable keys, "\r" for
// Return and Enter, nothing with Ctrl or Alt held.
QString KeyText(int key, Qt::KeyboardModifiers modifiers)
{
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return QString();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) return QStringLiteral("\r");
    if (key == Qt::Key_Tab) return QStringLiteral("\t");
    if (key >= Qt::Key_Space && key <= Qt::Key_AsciiTilde) {
        const QChar c(key);
        return (modifiers & Qt::ShiftModifier) ? QString(c) : QString(c).toLower();
    }
    return QString();
}

void SendKey(QWidget* control, int key, Qt::KeyboardModifiers modifiers, const QString& text)
{
    const ulong time = static_cast<ulong>(QDateTime::currentMSecsSinceEpoch());
    if (qt_sendShortcutOverrideEvent(control, time, key, modifiers, text)) return;
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(control, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(control, &release);
}

// The enabled, visible button of the window whose mnemonic ("发送(&S)") is
// the combination; null when none.
QAbstractButton* MnemonicButton(QWidget* window, const QKeySequence& keys)
{
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>())
        if (button->isVisible() && button->isEnabled() && QKeySequence::mnemonic(button->text()) == keys) return button;
    return nullptr;
}

void Focus(QWidget* control)
{
    QApplication::setActiveWindow(control->window());
    control->setFocus(Qt::OtherFocusReason);
}

} // namespace

void TypeText(QWidget* control, const QString& text)
{
    Focus(control);
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('\n')) {
            SendKey(control, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
            continue;
        }
        // A character outside the basic plane is one press of both halves.
        const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString character = text.mid(i, length);
        const int key = character.size() == 1 && character[0].unicode() < 0x7F ? character[0].toUpper().unicode() : 0;
        SendKey(control, key, Qt::NoModifier, character);
        i += length - 1;
    }
}

bool PressKeys(QWidget* control, const QString& keys, QString* why)
{
    const QKeySequence sequence = QKeySequence::fromString(keys, QKeySequence::PortableText);
    if (sequence.count() != 1 || sequence[0].key() == Qt::Key_unknown) {
        *why = QStringLiteral("\"%1\" is not one key combination (such as \"Return\" or \"Alt+S\")").arg(keys);
        return false;
    }
    const QKeyCombination combination = sequence[0];
    Focus(control);
    // A mnemonic clicks its button at once; the shortcut path would click
    // it a tenth of a second later, on a timer.
    if (QAbstractButton* button = MnemonicButton(control->window(), sequence)) {
        button->click();
        return true;
    }
    SendKey(control, combination.key(), combination.keyboardModifiers(),
            KeyText(combination.key(), combination.keyboardModifiers()));
    return true;
}

} // namespace host
