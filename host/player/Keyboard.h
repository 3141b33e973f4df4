// The keyboard as a person uses it: typing text into a control key by key,
// and pressing a key combination, shortcuts and mnemonics of the window
// first, as the real keyboard path does.
#pragma once

#include <QString>

class QWidget;

namespace host {

// Types text into the control (which gets the focus): one key press per
// character; a line break presses Return.
void TypeText(QWidget* control, const QString& text);

// Presses one key combination written as Qt writes them ("Return", "Alt+S",
// "Ctrl+V", "Escape") on the control, whose window becomes the active one.
// False with *why when keys is not one combination.
bool PressKeys(QWidget* control, const QString& keys, QString* why);

} // namespace host
