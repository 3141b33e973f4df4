// Reading a window as a person sees it: its state and every control with an
// id, and the text of a conversation editor with its pictures and formats.
// Only the steps that ask for them read them.
#pragma once

#include <QJsonObject>

class QTextEdit;
class QWidget;

namespace host {

// {"shown", "caption", "x", "y", "width", "height", "controls": {"<id>": {...}}}.
// A control (objectName "idNNNN", in this window and not in a window of its
// own) is {"kind", "text", "enabled", "visible"} and, by kind, "checked"
// (check and radio buttons, checkable buttons), "lines" and "selected" (list
// boxes and combo boxes: texts and the selected row, -1 for none), "current"
// (list boxes: the row the keyboard is on, -1 for none), "columns"
// and "rows" (tree and table views: header texts and rows of
// {"cells", "selected", "expanded", "children"}).
QJsonObject SnapshotWindow(const QWidget* window);

// The control with that id in this window, not in a window of its own (a
// dialog it owns); null when none.
QWidget* FindOwnControl(const QWidget* window, int id);

// {"text", "pictures", "runs"}: the text with each picture as "[emoticon N]"
// ("[picture]" for one of no emoticon) and paragraphs ended by "\n"; the
// emoticon indexes of the pictures in order; runs of equal format as
// {"text", "face", "size" (points), "color" ("#rrggbb"), "bold", "italic",
// "underline"}.
QJsonObject SnapshotConversation(const QTextEdit* editor);

// The marker of a picture in a conversation text.
QString PictureMarker(int emoticonIndex);

} // namespace host
