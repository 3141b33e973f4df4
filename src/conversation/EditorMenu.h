// CEditorMenu: the rich editor's context menu. Its entries (the two transfer
// entries only where the editor offers transfers), which of them the
// editor's state enables, and running it through the UI driver; the editor
// carries out the command chosen.
#pragma once

class QPoint;
class QWidget;

namespace tarvolan {

class CEditorMenu {
public:
    // The commands of the entries.
    enum ECommand : int {
        ID_UNDO = 101,
        ID_CUT = 102,
        ID_COPY = 103,
        ID_PASTE = 104,
        ID_CLEAR = 105,
        ID_SAVE_PICTURE = 106,
        ID_SELECT_ALL = 107,
        ID_SAVE_ALL = 109,
        ID_SEND_BMP = 110,
        ID_SEND_WAV = 111,
    };
    // What the enabling rules look at.
    struct TState {
        bool readOnly = false;
        bool undoAvailable = false;
        bool selection = false;
        bool onePicture = false;  // the selection is exactly one picture
        bool canPaste = false;
        bool transfer = false;    // the transfer entries are offered
    };

    // Shows the menu at globalPos for owner; the command chosen, 0 for none.
    static int Run(QWidget* owner, const QPoint& globalPos, const TState& state);
};

} // namespace tarvolan
