// CChatComposer: where a conversation window's message is written. It
// holds the input editor (1521), the send button (1412), the font button
// (1081) and the emoticon picker (1085): typed codes become their pictures,
// the input stays within its length, the font dialog sets the chat format,
// and a send hands back the message with every picture as its code again.
//
// What the input remembers between changes of its text, above all the
// picture map that sending needs, is kept by a CInputTyping; the composer
// applies its decisions to the input.
#pragma once

#include <QObject>

#include "common/GbkString.h"
#include "conversation/InputTyping.h"

class QAbstractButton;
class QWidget;

namespace tarvolan {

class CEmoticonPicker;
class CRichMsgEdit;
class CTarvolan;

// A message taken from the input.
struct TOutgoingMessage {
    CString text;     // what the user wrote, pictures as their codes
    CString message;  // the property element of the chat format, then text
};

class CChatComposer : public QObject {
public:
    static constexpr int kCodeSlots = 60;

    // The controls the window's form created, which must outlive the
    // composer; window is the window they are on, owner of its prompts.
    CChatComposer(QWidget& window, CRichMsgEdit& input, QAbstractButton& send, QAbstractButton& font,
                  CEmoticonPicker& picker);

    // The codes and pictures, the input's notifications and chat format;
    // sending starts disabled.
    void Init();
    void Focus();

    // The message to send; false when there is none (the input is empty, or
    // holds a banned word: then the input keeps it and a notice shows).
    bool TakeMessage(TOutgoingMessage& out);
    // The message went: the input empties and sending is disabled.
    void MessageSent();

    // The group keeps what the input holds (text, formats, pictures) as its
    // draft; the input takes a kept draft back.
    void KeepDraft(CTarvolan& group) const;
    void RestoreDraft(CTarvolan& group);

    void OnFontButton();
    void OnEmoticonPick();
    void OnInputChange();

    QAbstractButton& FontButton() const { return m_font; }
    CEmoticonPicker& Picker() const { return m_picker; }
    const CString& EmoticonCode(int slot) const { return m_EmoticonCodes[slot]; }
    const CInputTyping& Typing() const { return m_Typing; }

private:
    // One pass of the change handling; true when it replaced a typed code,
    // which is itself a change that the next pass handles.
    bool HandleInputChange();
    // The input's change since the last pass, as the input reports it.
    TInputChange TakeInputChange();
    // Replaces the first typed code by its picture; false when none.
    bool ReplaceTypedCode(TByteRange& selection);
    // Cuts the input back to the limit before the caret and, after the
    // change, shows the notice.
    void TrimToLimit(int caret);
    // Typing far into the last line keeps it in view.
    void KeepLastLineInView();
    void ApplyChatFormatToInput();
    void LoadPickerItems();
    void ShowNotice(int stringId, unsigned icon);

    QWidget& m_window;
    CRichMsgEdit& m_input;
    QAbstractButton& m_send;
    QAbstractButton& m_font;
    CEmoticonPicker& m_picker;
    CString m_EmoticonCodes[kCodeSlots];
    CInputTyping m_Typing;
    bool m_bInInputChange = false;
};

} // namespace tarvolan
