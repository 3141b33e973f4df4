#include "conversation/EditorMenu.h"

#include <memory>

#include <QMenu>
#include <QtGlobal>

#include "platform/Resources.h"
#include "platform/UiDriver.h"

namespace tarvolan {

namespace {

TMenuItem MenuEntries(bool transfer)
{
    TMenuItem root;
    auto add = [&root](int id, const char* utf8) { root.children.push_back({id, Utf8ToGbk(utf8), {}}); };
    auto separator = [&root] { root.children.push_back({}); };
    add(CEditorMenu::ID_UNDO, QT_TRANSLATE_NOOP("EditorMenu", "撤消(&U)"));
    separator();
    add(CEditorMenu::ID_CUT, QT_TRANSLATE_NOOP("EditorMenu", "剪切(&T)"));
    add(CEditorMenu::ID_COPY, QT_TRANSLATE_NOOP("EditorMenu", "复制(&C)"));
    add(CEditorMenu::ID_PASTE, QT_TRANSLATE_NOOP("EditorMenu", "粘贴(&P)"));
    add(CEditorMenu::ID_CLEAR, QT_TRANSLATE_NOOP("EditorMenu", "清除(&D)"));
    add(CEditorMenu::ID_SAVE_PICTURE, QT_TRANSLATE_NOOP("EditorMenu", "另存为(&S)"));
    separator();
    add(CEditorMenu::ID_SELECT_ALL, QT_TRANSLATE_NOOP("EditorMenu", "全部选定(&A)"));
    separator();
    add(CEditorMenu::ID_SAVE_ALL, QT_TRANSLATE_NOOP("EditorMenu", "全部另存为(&L)..."));
    if (transfer) {
        add(CEditorMenu::ID_SEND_BMP, QT_TRANSLATE_NOOP("EditorMenu", "传送bmp图片(&B)..."));
        add(CEditorMenu::ID_SEND_WAV, QT_TRANSLATE_NOOP("EditorMenu", "传送wav文件(&W)..."));
    }
    return root;
}

} // namespace

int CEditorMenu::Run(QWidget* owner, const QPoint& globalPos, const TState& state)
{
    const std::unique_ptr<QMenu> menu(CreatePopupMenu(MenuEntries(state.transfer), owner, "EditorMenu"));
    const bool editable = !state.readOnly;
    EnableMenuAction(menu.get(), ID_UNDO, editable && state.undoAvailable);
    EnableMenuAction(menu.get(), ID_SAVE_PICTURE, state.onePicture);
    EnableMenuAction(menu.get(), ID_COPY, state.selection);
    EnableMenuAction(menu.get(), ID_CUT, editable && state.selection);
    EnableMenuAction(menu.get(), ID_CLEAR, editable && state.selection);
    EnableMenuAction(menu.get(), ID_PASTE, state.canPaste);
    return GetUiDriver()->TrackPopupMenu(menu.get(), owner, globalPos);
}

} // namespace tarvolan
