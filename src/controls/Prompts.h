// The group window's message boxes: notices, yes/no questions and named
// boxes that a later host message can close, all with the client's message
// title as caption. Texts are GBK.
#pragma once

#include "common/GbkString.h"
#include "platform/UiDriver.h"

class QWidget;

namespace tarvolan {

class CModuleBase;

// A string-table text with its %s marks filled from a and b in order. The
// arguments are never read as a pattern themselves.
CString ResText(int stringId, const CString& a = CString(), const CString& b = CString());

// A notice owned by owner; the information icon unless another is given.
void ShowNotice(QWidget* owner, const CString& text, unsigned icon = MB_ICONINFORMATION);

// A question with Yes and No and the question icon; true only for Yes.
bool AskYesNo(QWidget* owner, const CString& text);

// Ends what the window is doing with the mouse (an open popup menu of it,
// a mouse grab), as a box that takes over the screen needs.
void CancelMode(QWidget* window);

// A named box of the client library, filed under the module object (which
// closes it with the others), after CancelMode on the owner. Returns the
// button pressed, or 0 when the box was closed by its name.
int ShowNamedBox(tarvolan::CModuleBase* module, const CString& name, QWidget* owner, const CString& text,
                 unsigned flags);

} // namespace tarvolan
