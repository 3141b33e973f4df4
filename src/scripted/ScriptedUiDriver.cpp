// The scripted UI driver: answers prompts from queues and records each one.
#include "scripted/ScriptedUiDriver.h"

#include <algorithm>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QMenu>
#include <QPointer>
#include <QSpinBox>
#include <QtDebug>

#include "platform/Resources.h"
#include "platform/Window.h"

namespace tarvolan {

namespace {

// ---- scripted control values ---------------------------------------------

void SelectRow(QAbstractItemView* view, int row)
{
    QAbstractItemModel* model = view->model();
    if (!model) return;
    if (row < 0 || row >= model->rowCount()) {
        view->clearSelection();
        view->setCurrentIndex(QModelIndex());
        return;
    }
    const QModelIndex index = model->index(row, 0);
    view->setCurrentIndex(index);
    if (view->selectionModel()) {
        view->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
}

// Sets a control from a script value (UTF-8); false when the control takes
// no value.
bool SetScriptValue(QWidget* control, const CString& utf8)
{
    const QString value = QString::fromUtf8(utf8.c_str(), utf8.GetLength());
    bool isNumber = false;
    const int number = value.trimmed().toInt(&isNumber);
    auto* combo = qobject_cast<QComboBox*>(control);
    if (combo && isNumber) {
        combo->setCurrentIndex(number);  // a number chooses an item by its place
        return true;
    }
    if (SetEditableText(control, value)) return true;
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->setChecked(value.trimmed() != QLatin1String("0") && !value.trimmed().isEmpty());
    } else if (auto* spin = qobject_cast<QSpinBox*>(control)) {
        spin->setValue(number);
    } else if (auto* view = qobject_cast<QAbstractItemView*>(control)) {
        SelectRow(view, isNumber ? number : -1);
    } else {
        return false;
    }
    return true;
}

// "13054,~13060": the visible command ids of a menu, grayed ones marked.
void DescribeMenu(const QMenu* menu, CString& text)
{
    for (const QAction* action : menu->actions()) {
        if (!action->isVisible() || action->isSeparator()) continue;
        if (action->menu()) {
            DescribeMenu(action->menu(), text);
            continue;
        }
        if (!text.IsEmpty()) text += ",";
        if (!action->isEnabled()) text += "~";
        text.AppendFormat("%d", action->data().toInt());
    }
}

} // namespace

// ---- CScriptedUiDriver ---------------------------------------------------

int CScriptedUiDriver::NextAnswer(unsigned flags)
{
    if (!m_answers.empty()) {
        const int answer = m_answers.front().answer;
        m_answers.pop_front();
        return answer;
    }
    if (m_defaultSet) return m_defaultAnswer;
    return IsYesNoBox(flags) ? IDYES : IDOK;
}

void CScriptedUiDriver::RunHold(THold& hold)
{
    m_holds.push_back(&hold);
    if (onHold) onHold(hold);
    m_holds.erase(std::find(m_holds.begin(), m_holds.end(), &hold));
}

int CScriptedUiDriver::BoxAnswer(const char* kind, const CString& text, const CString& caption, unsigned flags,
                                 const CString& name, bool& closed)
{
    if (m_answers.empty() || !m_answers.front().hold) return NextAnswer(flags);
    THold hold;
    hold.kind = kind;
    hold.text = text;
    hold.caption = caption;
    hold.name = name;
    hold.answer = m_answers.front().answer;
    hold.ticket = m_answers.front().ticket;
    m_answers.pop_front();
    RunHold(hold);
    closed = closed || hold.closed;
    return hold.answer;
}

void CScriptedUiDriver::Record(const char* kind, const CString& text, const CString& caption, unsigned flags,
                               QWidget* owner, int answer, const CString& name)
{
    TPrompt prompt;
    prompt.kind = kind;
    prompt.text = text;
    prompt.caption = caption;
    prompt.flags = flags;
    prompt.owner = owner;
    prompt.answer = answer;
    prompt.name = name;
    m_prompts.push_back(std::move(prompt));
    if (onPrompt) onPrompt(m_prompts.back());
}

int CScriptedUiDriver::MessageBox(QWidget* owner, const CString& text, const CString& caption, unsigned flags)
{
    bool closed = false;
    const int answer = BoxAnswer("message", text, caption, flags, CString(), closed);
    Record("message", text, caption, flags, owner, answer);
    return answer;
}

int CScriptedUiDriver::NamedMessageBox(const CString& name, QWidget* owner, const CString& text,
                                       const CString& caption, unsigned flags)
{
    bool closed = false;
    auto pre = std::find(m_closedNames.begin(), m_closedNames.end(), name);
    if (pre != m_closedNames.end()) {
        m_closedNames.erase(pre);
        closed = true;
    }
    if (!closed && onNamedBoxOpen) {
        m_openNamed.push_back({name, false});
        const size_t slot = m_openNamed.size() - 1;
        onNamedBoxOpen(name);
        closed = m_openNamed[slot].second;
        m_openNamed.erase(m_openNamed.begin() + static_cast<std::ptrdiff_t>(slot));
    }
    int answer = closed ? 0 : BoxAnswer("named", text, caption, flags, name, closed);
    if (closed) answer = 0;
    Record("named", text, caption, flags, owner, answer, name);
    return answer;
}

void CScriptedUiDriver::CloseNamedBox(const CString& name)
{
    m_closeLog.push_back(name);
    for (auto& open : m_openNamed) {
        if (open.first == name) open.second = true;
    }
    for (THold* hold : m_holds) {
        if (hold->kind == "named" && hold->name == name) hold->closed = true;
    }
}

bool CScriptedUiDriver::ApplyDialogAnswer(CDialog* dialog, const TDialogAnswer& answer)
{
    QPointer<CDialog> guard(dialog);
    for (const auto& [id, value] : answer.values) {
        QWidget* control = dialog->GetDlgItem(id);
        if (!control || !SetScriptValue(control, value)) {
            qWarning("scripted dialog: control %d takes no value", id);
        }
    }
    if (answer.inspect) answer.inspect(dialog);
    if (guard && !guard->IsEnded()) guard->PressButton(answer.button);
    return !guard || guard->IsEnded();
}

// A dialog's class as prompts record it: without its namespace.
static CString UnqualifiedClassName(const QObject* object)
{
    const CString name = object->metaObject()->className();
    const int colons = name.ReverseFind(':');
    return colons >= 0 ? name.Mid(colons + 1) : name;
}

int CScriptedUiDriver::RunModal(CDialog* dialog)
{
    if (!dialog) return IDCANCEL;
    QPointer<CDialog> guard(dialog);
    const CString caption = FromQt(dialog->windowTitle());
    const CString className = UnqualifiedClassName(dialog);
    dialog->InitialiseOnce();
    if (!m_dialogs.empty() && m_dialogs.front().hold) HoldDialog(guard);
    while (guard && !guard->IsEnded() && !m_dialogs.empty()) {
        TDialogAnswer answer = std::move(m_dialogs.front());
        m_dialogs.pop_front();
        ApplyDialogAnswer(guard, answer);
    }
    if (guard && !guard->IsEnded()) guard->EndDialog(IDCANCEL);
    const int code = guard ? guard->EndCode() : IDCANCEL;
    Record("modal", guard ? FromQt(guard->windowTitle()) : caption, className, 0, guard.data(), code);
    return code;
}

void CScriptedUiDriver::HoldDialog(CDialog* dialog)
{
    QPointer<CDialog> guard(dialog);
    THold hold;
    hold.kind = "modal";
    hold.text = FromQt(dialog->windowTitle());
    hold.caption = UnqualifiedClassName(dialog);
    hold.dialog = std::move(m_dialogs.front());
    hold.ticket = hold.dialog.ticket;
    hold.ended = [guard] { return !guard || guard->IsEnded(); };
    m_dialogs.pop_front();
    dialog->show();
    RunHold(hold);
    if (guard && !guard->IsEnded()) ApplyDialogAnswer(guard, hold.dialog);
}

void CScriptedUiDriver::PushMenuChoice(int commandId)
{
    m_menuChoices.push_back([commandId](QMenu* menu) { return menu ? FindMenuAction(menu, commandId) : nullptr; });
}

int CScriptedUiDriver::TrackPopupMenu(QMenu* menu, QWidget* owner, const QPoint&)
{
    CString items;
    if (menu) DescribeMenu(menu, items);
    int answer = 0;
    if (!m_menuChoices.empty()) {
        const TMenuChooser choose = std::move(m_menuChoices.front());
        m_menuChoices.pop_front();
        QAction* action = choose ? choose(menu) : nullptr;
        if (action && action->isEnabled() && action->isVisible()) {
            answer = action->data().toInt();
            action->trigger();  // as a real menu does before returning
        }
    }
    Record("menu", items, menu ? FromQt(menu->title()) : CString(), 0, owner, answer);
    return answer;
}

CString CScriptedUiDriver::GetSaveFileName(QWidget* owner, const CString& defaultName, const CString& filter)
{
    CString name;
    if (!m_fileNames.empty()) {
        name = m_fileNames.front();
        m_fileNames.pop_front();
    }
    Record("file", defaultName, filter, 0, owner, name.IsEmpty() ? IDCANCEL : IDOK);
    return name;
}

void CScriptedUiDriver::PushFont(TLogFont font, COLORREF color)
{
    TScriptedFont answer;
    answer.change = [font, color](TLogFont& f, COLORREF& c) {
        f = font;
        c = color;
    };
    m_fonts.push_back(std::move(answer));
}

bool CScriptedUiDriver::ChooseFont(QWidget* owner, TLogFont& font, COLORREF& color)
{
    bool chosen = false;
    if (!m_fonts.empty()) {
        TScriptedFont answer = std::move(m_fonts.front());
        m_fonts.pop_front();
        if (answer.hold) {
            THold hold;
            hold.kind = "font";
            hold.text = CString::FromField(font.lfFaceName, sizeof(font.lfFaceName));
            hold.ticket = answer.ticket;
            hold.font = std::move(answer);
            RunHold(hold);
            answer = std::move(hold.font);
        }
        if (answer.ok && answer.change) answer.change(font, color);
        chosen = answer.ok;
    }
    Record("font", CString::FromField(font.lfFaceName, sizeof(font.lfFaceName)), CString(), 0, owner,
            chosen ? IDOK : IDCANCEL);
    return chosen;
}

int CScriptedUiDriver::RunPicker(QWidget* owner, int itemCount, const std::function<int()>& runPopup)
{
    QPointer<QWidget> guard(owner);
    int answer = -1;
    if (!m_picks.empty()) {
        answer = m_picks.front();
        m_picks.pop_front();
    } else if (m_defaultPick) {
        answer = *m_defaultPick;
    } else {
        answer = CUiDriver::RunPicker(owner, itemCount, runPopup);
    }
    if (answer >= itemCount) answer = -1;
    owner = guard.data();  // the popup's loop may have taken the owner with its window
    CString count;
    count.Format("%d", itemCount);
    Record("picker", count, CString(), 0, owner, answer);
    return answer;
}

} // namespace tarvolan
