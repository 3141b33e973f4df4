#include "controls/Prompts.h"

#include <QApplication>
#include <QWidget>

#include "clientkit/ClientKit.h"
#include "platform/Resources.h"

namespace tarvolan {

CString ResText(int stringId, const CString& a, const CString& b)
{
    CString text;
    text.Format(LoadResString(stringId).c_str(), a.c_str(), b.c_str());
    return text;
}

void ShowNotice(QWidget* owner, const CString& text, unsigned icon)
{
    ShowMessageBox(owner, text, GetMsgTitle(), icon);
}

bool AskYesNo(QWidget* owner, const CString& text)
{
    return ShowMessageBox(owner, text, GetMsgTitle(), MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void CancelMode(QWidget* window)
{
    if (!window) return;
    const auto belongs = [window](QWidget* widget) { return widget == window || window->isAncestorOf(widget); };
    if (QWidget* popup = QApplication::activePopupWidget(); popup && popup->parentWidget() &&
                                                            belongs(popup->parentWidget()))
        popup->close();
    if (QWidget* grabber = QWidget::mouseGrabber(); grabber && belongs(grabber)) grabber->releaseMouse();
}

int ShowNamedBox(tarvolan::CModuleBase* module, const CString& name, QWidget* owner, const CString& text,
                 unsigned flags)
{
    CancelMode(owner);
    return OpenMsgBox(name, owner, text, GetMsgTitle(), flags, module);
}

} // namespace tarvolan
