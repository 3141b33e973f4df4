// CScriptedUiDriver: the UI driver that tests, fuzzers and the reference
// client's scenario player install. It records every prompt and answers it
// from a script. A library of its own: the shipped module holds only the
// real driver and the seam (platform/UiDriver.h).
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "platform/UiDriver.h"

namespace tarvolan {

// What a scripted driver saw.
struct TPrompt {
    CString kind;       // "message", "named", "modal", "menu", "file", "font", "picker"
    CString text;       // message text, dialog caption, menu item ids, default file name, font face,
                        // a picker's item count
    CString caption;    // box caption, dialog class, menu title, file filter
    unsigned flags = 0;
    QWidget* owner = nullptr;
    int answer = 0;     // a file or font dialog: IDOK or IDCANCEL
    CString name;       // a named box's name
};

// A scripted answer to a font dialog: change edits the font and colour shown
// (what it leaves alone stays as the dialog opened); ok false cancels.
struct TScriptedFont {
    std::function<void(TLogFont&, COLORREF&)> change;
    bool ok = true;
    bool hold = false;
    int ticket = 0;
};

// A scripted menu choice: the action to trigger in the menu shown (null
// for none).
using TMenuChooser = std::function<QAction*(QMenu*)>;

// A scripted answer to a modal dialog.
struct TScriptedDialog {
    // control id -> value: UTF-8 text for edits, "1"/"0" for check and
    // radio buttons, an index for combo boxes (or the text of an editable
    // one), a number for spin boxes, a row for list and tree views ("-1"
    // clears the selection).
    std::map<int, CString> values;
    int button = IDOK;               // button id to press
    // Run after the values are set and before the button is pressed.
    std::function<void(CDialog*)> inspect;
    // Held: the dialog is shown and stays open while onHold runs; this
    // answer (or the one the release gives) is applied after it.
    bool hold = false;
    int ticket = 0;
};

// A prompt that a script keeps open while it goes on (a held answer): the
// message box, named box, modal dialog or font dialog stays open until the
// script releases it, the module closes a named box by name or a modal dialog
// ends by itself.
struct THold {
    CString kind;       // "message", "named", "modal", "font"
    CString text;       // as in TPrompt
    CString caption;
    CString name;
    int ticket = 0;     // given with the held answer: the script's note of where it came from
    int answer = 0;     // a box's answer once released
    bool released = false;
    bool closed = false;                 // a named box closed by name while open
    std::function<bool()> ended;         // a modal dialog: whether it ended on its own
    TScriptedDialog dialog;              // a modal dialog's answer once released
    TScriptedFont font;                  // a font dialog's answer once released
    bool Done() const { return released || closed || (ended && ended()); }
};

// Answers prompts from queues. With its queue empty a message box gets the
// default answer (IDOK, or IDYES for a Yes/No box, unless set otherwise), a
// modal dialog IDCANCEL, a menu 0, a file dialog "" and a font dialog false.
//
// A modal run initialises the dialog, sets the control values, runs inspect
// and presses the button as a click would, so the dialog's own checks run.
// When the dialog stays open (a refused OK), the next queued dialog answer is
// applied to it; with none left it ends with IDCANCEL. The "modal" prompt is
// recorded when the run ends, after the prompts that the dialog showed; its
// caption is the dialog's class name. A menu choice that the menu does not
// offer as an enabled item answers 0; a valid one triggers its action, as a
// real menu does. A menu prompt's text lists the visible command ids in
// order, comma-separated, a grayed one with a leading '~' ("13054,~13060").
//
// A held answer (PushHeldAnswer, a dialog answer with hold) keeps its prompt
// open while onHold runs: a held dialog is shown, so the script can read and
// press its controls; a named box closed by name meanwhile answers 0.
class CScriptedUiDriver : public CUiDriver {
public:
    using TDialogAnswer = TScriptedDialog;

    void PushAnswer(int answer) { m_answers.push_back({answer, false, 0}); }
    // An answer given when the box is released (see onHold).
    void PushHeldAnswer(int answer, int ticket) { m_answers.push_back({answer, true, ticket}); }
    void PushDialog(TDialogAnswer answer) { m_dialogs.push_back(std::move(answer)); }
    void PushMenuChoice(int commandId);
    void PushMenuChooser(TMenuChooser chooser) { m_menuChoices.push_back(std::move(chooser)); }
    void ClearMenuChoices() { m_menuChoices.clear(); }
    void PushFileName(CString name) { m_fileNames.push_back(std::move(name)); }
    void PushFont(TLogFont font, COLORREF color);
    // A font answer with hold keeps the font dialog open while onHold runs.
    void PushFont(TScriptedFont answer) { m_fonts.push_back(std::move(answer)); }
    // The index a picker's popup picks (-1: it closes without a pick).
    void PushPick(int index) { m_picks.push_back(index); }
    // What a picker answers with its queue empty; until it is set, the popup
    // itself runs then.
    void SetDefaultPick(int index) { m_defaultPick = index; }
    void SetDefaultAnswer(int answer) { m_defaultAnswer = answer; m_defaultSet = true; }
    bool HasQueuedDialogs() const { return !m_dialogs.empty(); }

    const std::vector<TPrompt>& Prompts() const { return m_prompts; }
    void ClearPrompts() { m_prompts.clear(); }
    // Called for every prompt as it is answered (the scenario player logs them).
    std::function<void(const TPrompt&)> onPrompt;

    int MessageBox(QWidget* owner, const CString& text, const CString& caption, unsigned flags) override;
    int NamedMessageBox(const CString& name, QWidget* owner, const CString& text, const CString& caption,
                        unsigned flags) override;
    void CloseNamedBox(const CString& name) override;
    int RunModal(CDialog* dialog) override;
    int TrackPopupMenu(QMenu* menu, QWidget* owner, const QPoint& globalPos) override;
    CString GetSaveFileName(QWidget* owner, const CString& defaultName, const CString& filter) override;
    bool ChooseFont(QWidget* owner, TLogFont& font, COLORREF& color) override;
    // Answers from the picks queue without showing the popup; with the queue
    // empty, the default pick or (none set) the popup's own answer. The
    // prompt is a "picker" whose text is the item count.
    int RunPicker(QWidget* owner, int itemCount, const std::function<int()>& runPopup) override;

    // Called when a held answer meets its prompt, while the prompt is open;
    // the prompt is answered when it returns (with hold.answer for a box, 0
    // for a named box closed by name). A script plays on from here until
    // hold.Done(). Without it a held answer is an ordinary one.
    std::function<void(THold& hold)> onHold;
    // The held prompts open now, the outermost first.
    const std::vector<THold*>& OpenHolds() const { return m_holds; }

    // Names of boxes closed by name before they were answered: the next box
    // with such a name answers 0 and takes the name off this list. A script
    // puts names here; CloseNamedBox closes a box of that name that is open at
    // the time (see onNamedBoxOpen) and otherwise changes nothing, so a late
    // close of a box that was already answered cannot touch a later box.
    std::vector<CString> m_closedNames;
    // Every name CloseNamedBox was called with, in order.
    std::vector<CString> m_closeLog;
    // Called while a named box is open, before it is answered: a test may
    // deliver the message that closes it by name from here.
    std::function<void(const CString& name)> onNamedBoxOpen;

private:
    int NextAnswer(unsigned flags);
    void Record(const char* kind, const CString& text, const CString& caption, unsigned flags, QWidget* owner,
                int answer, const CString& name = CString());
    // Applies one scripted answer; true when the dialog ended.
    bool ApplyDialogAnswer(CDialog* dialog, const TDialogAnswer& answer);
    // The next box answer: from the queue (held ones through RunHold) or the default.
    int BoxAnswer(const char* kind, const CString& text, const CString& caption, unsigned flags,
                  const CString& name, bool& closed);
    // Keeps the prompt open while onHold runs.
    void RunHold(THold& hold);
    void HoldDialog(CDialog* dialog);

    struct TQueuedAnswer {
        int answer;
        bool hold;
        int ticket;
    };
    std::deque<TQueuedAnswer> m_answers;
    std::deque<int> m_picks;
    std::optional<int> m_defaultPick;
    std::vector<THold*> m_holds;
    std::deque<TDialogAnswer> m_dialogs;
    std::deque<TMenuChooser> m_menuChoices;
    std::deque<CString> m_fileNames;
    std::deque<TScriptedFont> m_fonts;
    std::vector<TPrompt> m_prompts;
    int m_defaultAnswer = IDOK;
    bool m_defaultSet = false;
    std::vector<std::pair<CString, bool>> m_openNamed;  // name, closed while open
};

} // namespace tarvolan
