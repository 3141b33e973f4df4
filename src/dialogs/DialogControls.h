// Control helpers shared by the group dialogs: byte limits on edits, radio
// groups by index, integer edits and the text checks of their OK buttons.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "common/GbkString.h"

class QWidget;

namespace tarvolan {

class CDialog;

// Limits a line or plain-text edit to limit bytes of GBK text, whether typed,
// pasted or set: what does not fit of an insertion is left out at a
// character boundary, the rest of the text stays. As with a Windows edit,
// a longer text that the edit holds when the limit is set stays as it is
// (nothing can be added to it); calling it again changes the limit.
void LimitTextBytes(QWidget* edit, int limit);
// The limit set on an edit; 0 when none.
int TextByteLimit(const QWidget* edit);

// Checks the radio button at index in the group of ids (a value outside the
// group checks none) and reads the checked index back (-1 when none).
void SetRadioIndex(const CDialog& dialog, std::initializer_list<int> ids, int32_t index);
int32_t GetRadioIndex(const CDialog& dialog, std::initializer_list<int> ids);

// An integer edit. GetDlgItemInt32 is false, and leaves value, when the text
// is not a decimal number within 32 bits (blanks around it allowed).
void SetDlgItemInt32(CDialog& dialog, int id, int32_t value);
bool GetDlgItemInt32(const CDialog& dialog, int id, int32_t& value);

// Disables every control of ids that the dialog has.
void DisableControls(const CDialog& dialog, std::initializer_list<int> ids);

// True when the text is empty once the white space at both ends is removed.
bool IsBlank(const CString& text);

} // namespace tarvolan
