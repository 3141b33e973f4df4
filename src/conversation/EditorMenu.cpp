#include "conversation/EditorMenu.h"

#include <memory>

#include <QMenu>

#include "platform/Resources.h"
#include "platform/UiDriver.h"

namespace tarvolan {

namespace {

TMenuItem MenuEntries(bool transfer)
{
    TMenuItem root;
    auto add = [&root](int id, const char* utf8) { root.children.push_back({id, Utf8ToGbk(utf8), {}}); };
    auto separator = [&root] { root.children.push_back({}); };
    add(CEditorMenu::ID_UNDO, "撤消(&U)");
    separator();
    add(CEditorMenu::ID_CUT, "剪切(&T)");
    add(CEditorMenu::ID_COPY, "复制(&C)");
    add(CEditorMenu::ID_PASTE, "粘贴(&P)");
    add(CEditorMenu::ID_CLEAR, "清除(&D)");
    add(CEditorMenu::ID_SAVE_PICTURE, "另存为(&S)");
    separator();
    add(CEditorMenu::ID_SELECT_ALL, "全部选定(&A)");
    separator();
    add(CEditorMenu::ID_SAVE_ALL, "全部另存为(&L)...");
    if (transfer) {
        add(CEditorMenu::ID_SEND_BMP, "传送bmp图片(&B)...");
        add(CEditorMenu::ID_SEND_WAV, "传送wav文件(&W)...");
    }
    return root;
}

} // namespace

int CEditorMenu::Run(QWidget* owner, const QPoint& globalPos, const TState& state)
{
    const std::unique_ptr<QMenu> menu(CreatePopupMenu(MenuEntries(state.transfer), owner));
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
