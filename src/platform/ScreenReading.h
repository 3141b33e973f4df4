// What a screen reader needs beyond names: read-only texts that the keyboard
// can read (a caret that moves, selects and copies without editing), and
// announcements of things that happen away from the focus (a message that
// arrives, a page that comes).
#pragma once

#include <functional>

#include <QString>

#include "platform/Export.h"

class QTextEdit;
class QWidget;

namespace tarvolan {

// The read-only text takes a keyboard caret: arrows, Home/End, Ctrl+Home/End,
// Shift with them to select, Ctrl+C to copy. It stays read-only, and Tab still
// leaves it. Call after the text was made read-only.
TARVOLAN_EXPORT void LetKeysRead(QTextEdit& text);

// Tells assistive technology the text, in the window's name. Qt 6.4 has no
// announcement event and its AT-SPI bridge drops QAccessible::Alert, so the
// window keeps an invisible alert (an accessible object of role
// AlertMessage, no focus, no size) whose name becomes the text: it reports
// a text insertion carrying the whole text (AT-SPI "text-changed:insert"),
// the change of its name, and an Alert (which the Windows bridge turns into
// a system alert).
TARVOLAN_EXPORT void AnnounceToReaders(QWidget* window, const QString& text);

// Called with every announcement as it is made (the scenario player writes
// them into its transcript); an empty function stops it. Gives the one
// set before.
using TAnnouncementObserver = std::function<void(QWidget* window, const QString& text)>;
TARVOLAN_EXPORT TAnnouncementObserver SetAnnouncementObserver(TAnnouncementObserver observer);

// The text last announced in the window; empty when none was.
TARVOLAN_EXPORT QString LastAnnouncement(const QWidget* window);

} // namespace tarvolan
