// Accessible names for a window's controls. A screen reader announces a
// control by its accessible name: the text of the label that stands beside it
// (the label's buddy), or a name set for it where no label stands beside it.
#pragma once

#include <QString>

#include "platform/Export.h"

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

} // namespace tarvolan
