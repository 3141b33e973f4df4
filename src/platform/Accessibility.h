// Accessible names for a window's controls. A screen reader announces a
// control by its accessible name: the text of the label that stands beside it
// (the label's buddy), or a name set for it where no label stands beside it.
#pragma once

#include <QString>

#include "platform/Export.h"

class QAbstractItemView;
class QAccessibleInterface;
class QWidget;

namespace tarvolan {

// Names every control of the window that has no accessible name yet after its
// label (each QLabel's buddy; the label's text without mnemonic ampersands and
// trailing colons), and gives a tree whose header is hidden the
// tree's own name as its column title, so that the column is not announced
// by Qt's default title "1". Controls named before keep their names.
void NameControlsFromLabels(QWidget* window);

// Gives a top-level window an accessible name that tells it apart from other
// windows with the same caption: "caption - subject". The visible caption
// stays as it is.
TARVOLAN_EXPORT void NameWindowAfter(QWidget* window, const QString& subject);

// Tells assistive technology where the focus is in a window that has just
// become the active window: gives its focus control (its first control in
// Tab order when it has none) the focus and reports that control. Queued to
// run once the activation is over, so that a screen reader, having spoken
// the window, speaks the control in it.
TARVOLAN_EXPORT void ReportFocusSoon(QWidget* window);

// Reports the current item of a view that has the focus as the place of the
// focus, queued behind the view's own report: a view that gets the focus
// back (after a dialog or a menu) is otherwise announced without its item.
TARVOLAN_EXPORT void ReportCurrentItemSoon(QAbstractItemView* view);

// Hears every focus report of the two functions above before it goes to
// assistive technology (tests: Qt passes reports on only while a reader
// listens). Returns the observer heard before.
using FocusReportObserver = void (*)(QAccessibleInterface* focus);
TARVOLAN_EXPORT FocusReportObserver ObserveFocusReports(FocusReportObserver observer);

} // namespace tarvolan
