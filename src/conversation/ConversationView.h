// CConversationView: the conversation as the window shows it, in its
// read-only output editor (control 1522). Message headers and marked-up
// bodies are appended in their formats, the group's recent messages in
// grey, and past a limit the oldest lines go.
#pragma once

#include <list>

#include "common/GbkString.h"
#include "common/TextFormat.h"

class QWidget;

namespace tarvolan {

class CRichMsgEdit;
struct TGroupMessage;

class CConversationView {
public:
    // The conversation shows its latest characters: past the limit the oldest
    // lines go until about kOutputKept are left. Even at the largest size and
    // the narrowest window that keeps the view far below the height (about
    // 8 million pixels) where Qt's text layout stops finishing.
    static constexpr int kOutputLimit = 50000;
    static constexpr int kOutputKept = 40000;

    // The editor the window's form created; it must outlive the view.
    explicit CConversationView(CRichMsgEdit& output);
    CConversationView(const CConversationView&) = delete;
    CConversationView& operator=(const CConversationView&) = delete;

    // Read-only, addresses as links, dropped files accepted; owner is the
    // window its menus and prompts belong to.
    void Init(QWidget* owner);

    // "<time>* <sender><whisper><target>说：" in the colour of my own or of
    // others' messages; an empty time is the local time now.
    void ShowHeader(const CString& time, const CString& name, int isMe, const CString& target, int whisper);
    // A marked-up text in the format its element gives, and a line break.
    void ShowMarkedUp(const CString& text);
    // The same with a preset element in front when the text has none.
    void ShowWithPreset(const CString& text, int preset);
    // The group's recent messages in grey, then a line of equals signs; as
    // one edit of the document.
    void ShowRecent(const std::list<TGroupMessage>& messages);
    void ScrollToBottom();

private:
    void Append(const TCharFormat& format, const CString& text);

    CRichMsgEdit& m_output;
};

} // namespace tarvolan
