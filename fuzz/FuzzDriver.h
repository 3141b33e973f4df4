// The fuzzer's UI driver: a scripted driver whose answers come from the
// input at the moment each prompt opens. Message boxes get OK, Cancel, Yes,
// No, 0 or stray numbers; named boxes may be closed by name; menus get any
// of their enabled commands or none; modal dialogs get control values
// (clicked rows among them) and a button (up to three rounds, while a check
// refuses OK or a button keeps the dialog open); file dialogs get a name in
// the harness's folder or none; font dialogs a font or none. While a prompt
// is open the host may deliver further messages (as it does during a real
// modal loop) and timers fire: the harness replays some from the input.
#pragma once

#include <functional>
#include <string>

#include "FuzzInput.h"
#include "scripted/ScriptedUiDriver.h"

class QAbstractItemView;

using namespace tarvolan;

namespace fuzzing {

// Chooses a row of a list or tree control as the user does, by clicking it
// (twice for a double click): the row becomes current and selected, and the
// view reports the click. A row out of range clears the selection instead.
void ClickRow(QAbstractItemView* view, int row, bool twice);
// A row of the view chosen by the input: -1 or one past the last row (no
// row) as well as every row.
int PickRow(const QAbstractItemView* view, CFuzzInput& in);

class CFuzzUiDriver : public CScriptedUiDriver {
public:
    CFuzzUiDriver();

    // Answers come from in until End; whileOpen delivers host messages while
    // a prompt is open (at most two prompts deep).
    void Begin(CFuzzInput* in, std::function<void()> whileOpen);
    void End();
    void SetSaveFolder(std::string folder) { m_saveFolder = std::move(folder); }

    int MessageBox(QWidget* owner, const CString& text, const CString& caption, unsigned flags) override;
    int NamedMessageBox(const CString& name, QWidget* owner, const CString& text, const CString& caption,
                        unsigned flags) override;
    int RunModal(CDialog* dialog) override;
    int TrackPopupMenu(QMenu* menu, QWidget* owner, const QPoint& globalPos) override;
    CString GetSaveFileName(QWidget* owner, const CString& defaultName, const CString& filter) override;
    bool ChooseFont(QWidget* owner, TLogFont& font, COLORREF& color) override;
    // Seven times in eight the pick comes from the input at once; the eighth
    // time the picker's popup runs with its own event loop, and the harness's
    // popup answerer clicks in it. The loop paints and lays out every window,
    // which costs more than the rest of an input.
    int RunPicker(QWidget* owner, int itemCount, const std::function<int()>& runPopup) override;

private:
    int BoxAnswer();
    void WhileOpen();
    // One round of a modal run: control values, host messages, a button;
    // queues the next round when the dialog stays open and rounds remain.
    void PlayRound(CDialog* dialog, int roundsLeft);
    void SetSomeControls(CDialog* dialog);
    int ChooseButton(CDialog* dialog);

    CFuzzInput* m_in = nullptr;
    std::function<void()> m_whileOpen;
    int m_depth = 0;
    std::string m_saveFolder;
};

} // namespace fuzzing
