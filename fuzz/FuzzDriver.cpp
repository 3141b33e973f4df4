#include "FuzzDriver.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QSpinBox>
#include <QTextEdit>

#include "platform/Window.h"

using namespace tarvolan;

namespace fuzzing {

namespace {

// The enabled, visible commands of a menu and its sub-menus.
void CollectCommands(const QMenu* menu, std::vector<int>& ids)
{
    for (const QAction* action : menu->actions()) {
        if (!action->isVisible() || action->isSeparator()) continue;
        if (action->menu()) CollectCommands(action->menu(), ids);
        else if (action->isEnabled()) ids.push_back(action->data().toInt());
    }
}

// The children of a dialog that carry a control id.
template <class T> std::vector<T*> ControlsWithId(const QWidget* dialog)
{
    std::vector<T*> controls;
    for (T* child : dialog->findChildren<T*>())
        if (ControlId(child) != 0) controls.push_back(child);
    return controls;
}

// A command id that no dialog uses: the scripted press after a round does
// nothing when the round's own press left the dialog open.
constexpr int kNoButton = 0;

} // namespace

void ClickRow(QAbstractItemView* view, int row, bool twice)
{
    const QAbstractItemModel* model = view->model();
    if (!model || row < 0 || row >= model->rowCount()) {
        view->clearSelection();
        return;
    }
    const QModelIndex index = model->index(row, 0);
    QPointer<QAbstractItemView> guard(view);  // the click may close the view's window
    view->setCurrentIndex(index);
    if (guard) emit guard->clicked(index);
    if (guard && twice) emit guard->doubleClicked(index);
}

int PickRow(const QAbstractItemView* view, CFuzzInput& in)
{
    const int rows = view->model() ? view->model()->rowCount() : 0;
    return in.Pick(rows + 2) - 1;
}

CFuzzUiDriver::CFuzzUiDriver()
{
    onNamedBoxOpen = [this](const CString&) { WhileOpen(); };
}

void CFuzzUiDriver::Begin(CFuzzInput* in, std::function<void()> whileOpen)
{
    m_in = in;
    m_whileOpen = std::move(whileOpen);
    ClearPrompts();
    m_closedNames.clear();
    m_closeLog.clear();
}

void CFuzzUiDriver::End()
{
    m_in = nullptr;
    m_whileOpen = nullptr;
    ClearPrompts();
    m_closedNames.clear();
    m_closeLog.clear();
}

int CFuzzUiDriver::BoxAnswer()
{
    constexpr int kAnswers[] = {IDOK, IDYES, IDNO, IDCANCEL, IDOK, IDYES, 0, 3};
    if (!m_in) return IDCANCEL;
    const uint8_t choice = m_in->Byte();
    return choice < 0xF8 ? kAnswers[choice % 8] : m_in->Number();
}

void CFuzzUiDriver::WhileOpen()
{
    if (!m_in || m_in->Empty() || !m_whileOpen || m_depth >= 2 || m_in->Pick(4) != 3) return;
    ++m_depth;
    m_whileOpen();
    --m_depth;
}

int CFuzzUiDriver::MessageBox(QWidget* owner, const CString& text, const CString& caption, unsigned flags)
{
    WhileOpen();
    SetDefaultAnswer(BoxAnswer());
    return CScriptedUiDriver::MessageBox(owner, text, caption, flags);
}

int CFuzzUiDriver::NamedMessageBox(const CString& name, QWidget* owner, const CString& text, const CString& caption,
                                   unsigned flags)
{
    // Host messages arrive through onNamedBoxOpen while the box is open.
    SetDefaultAnswer(BoxAnswer());
    return CScriptedUiDriver::NamedMessageBox(name, owner, text, caption, flags);
}

int CFuzzUiDriver::RunModal(CDialog* dialog)
{
    if (!dialog || !m_in) return CScriptedUiDriver::RunModal(dialog);
    const int rounds = 1 + m_in->Pick(3);
    TDialogAnswer first;
    first.button = kNoButton;
    first.inspect = [this, rounds](CDialog* d) { PlayRound(d, rounds - 1); };
    PushDialog(std::move(first));
    return CScriptedUiDriver::RunModal(dialog);
}

void CFuzzUiDriver::PlayRound(CDialog* dialog, int roundsLeft)
{
    QPointer<CDialog> guard(dialog);
    SetSomeControls(dialog);
    WhileOpen();
    if (!guard || guard->IsEnded() || !m_in) return;
    guard->PressButton(ChooseButton(guard));
    if (guard && !guard->IsEnded() && roundsLeft > 0) {
        TDialogAnswer next;
        next.button = kNoButton;
        next.inspect = [this, roundsLeft](CDialog* d) { PlayRound(d, roundsLeft - 1); };
        PushDialog(std::move(next));
    }
}

void CFuzzUiDriver::SetSomeControls(CDialog* dialog)
{
    const std::vector<QWidget*> controls = ControlsWithId<QWidget>(dialog);
    if (controls.empty()) return;
    const int changes = m_in->Pick(5);
    for (int i = 0; i < changes; ++i) {
        QWidget* control = controls[static_cast<size_t>(m_in->Pick(static_cast<int>(controls.size())))];
        if (auto* combo = qobject_cast<QComboBox*>(control)) {
            if (combo->isEditable() && m_in->Flag()) SetControlText(combo, CString(m_in->TypedText()));
            else combo->setCurrentIndex(m_in->Pick(combo->count() + 2) - 1);
        } else if (auto* spin = qobject_cast<QSpinBox*>(control)) {
            spin->setValue(m_in->Number());
        } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
            if (button->isCheckable()) button->setChecked(m_in->Flag());
        } else if (auto* view = qobject_cast<QAbstractItemView*>(control)) {
            ClickRow(view, PickRow(view, *m_in), false);
        } else if (qobject_cast<QLineEdit*>(control) || qobject_cast<QTextEdit*>(control) ||
                   qobject_cast<QPlainTextEdit*>(control)) {
            SetControlText(control, CString(m_in->TypedText()));
        }
    }
}

int CFuzzUiDriver::ChooseButton(CDialog* dialog)
{
    const std::vector<QAbstractButton*> buttons = ControlsWithId<QAbstractButton>(dialog);
    const int choice = m_in->Pick(static_cast<int>(buttons.size()) + 3);
    if (choice < static_cast<int>(buttons.size())) return ControlId(buttons[static_cast<size_t>(choice)]);
    return choice == static_cast<int>(buttons.size()) + 2 ? IDCANCEL : IDOK;
}

int CFuzzUiDriver::TrackPopupMenu(QMenu* menu, QWidget* owner, const QPoint& globalPos)
{
    WhileOpen();
    if (menu && m_in) {
        std::vector<int> ids;
        CollectCommands(menu, ids);
        const int choice = m_in->Pick(static_cast<int>(ids.size()) + 1);
        if (choice < static_cast<int>(ids.size())) PushMenuChoice(ids[static_cast<size_t>(choice)]);
    }
    return CScriptedUiDriver::TrackPopupMenu(menu, owner, globalPos);
}

CString CFuzzUiDriver::GetSaveFileName(QWidget* owner, const CString& defaultName, const CString& filter)
{
    static constexpr const char* kNames[] = {"saved.txt", "saved.rtf", "saved.bmp", "saved.gif", "missing/x.txt", ""};
    if (m_in && !m_saveFolder.empty()) {
        const int choice = m_in->Pick(8);
        if (choice < 6) PushFileName(CString(m_saveFolder + kNames[choice]));  // "" names the folder itself
    }
    return CScriptedUiDriver::GetSaveFileName(owner, defaultName, filter);
}

bool CFuzzUiDriver::ChooseFont(QWidget* owner, TLogFont& font, COLORREF& color)
{
    if (m_in && m_in->Flag()) {
        TLogFont chosen;
        chosen.lfHeight = m_in->Number();
        chosen.lfWeight = m_in->Number();
        chosen.lfItalic = m_in->Byte();
        chosen.lfUnderline = m_in->Byte();
        chosen.lfStrikeOut = m_in->Byte();
        chosen.lfCharSet = m_in->Byte();
        m_in->Field(chosen.lfFaceName);
        PushFont(chosen, m_in->U32());
    }
    return CScriptedUiDriver::ChooseFont(owner, font, color);
}

int CFuzzUiDriver::RunPicker(QWidget* owner, int itemCount, const std::function<int()>& runPopup)
{
    if (m_in && m_in->Pick(8) != 7) PushPick(m_in->Pick(itemCount + 2) - 1);  // -1: none, itemCount: out of range
    return CScriptedUiDriver::RunPicker(owner, itemCount, runPopup);
}

} // namespace fuzzing
