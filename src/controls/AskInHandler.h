// The one rule for a prompt inside a handler or command. A question, a
// modal dialog or a named box runs a nested event loop, and host messages
// handled meanwhile may remove the group or member the flow works on, or
// the asking window itself. So every such flow asks through AskInHandler,
// then re-finds what it needs through the answer's Refind, and stops when
// the window or the thing it needs went:
//
//     const auto asked = AskInHandler(this, [&] { return AskYesNo(this, text); });
//     const CTarvolan* group = asked.Refind([&] { return FindGroup(uri); });
//     if (!asked.Answer() || !group) return;
#pragma once

#include <type_traits>
#include <utility>

#include <QObject>
#include <QPointer>

namespace tarvolan {

template <class TAnswer>
class CAsked {
public:
    CAsked(QObject* window, TAnswer answer) : m_pWindow(window), m_answer(std::move(answer)) {}

    const TAnswer& Answer() const { return m_answer; }
    // Whether the asking window is still there, as of now (a request sent
    // after the prompt may also take it away).
    bool WindowAlive() const { return !m_pWindow.isNull(); }
    // What the flow needs, found again: refind's result while the window is
    // there, null (or false) otherwise.
    template <class Find> auto Refind(Find&& refind) const -> decltype(refind())
    {
        if (!WindowAlive()) return decltype(refind()){};
        return refind();
    }

private:
    QPointer<QObject> m_pWindow;
    TAnswer m_answer;
};

// Runs prompt (which returns the answer) on behalf of window.
template <class Prompt>
auto AskInHandler(QObject* window, Prompt&& prompt) -> CAsked<std::decay_t<decltype(prompt())>>
{
    QPointer<QObject> guard(window);  // taken before the loop runs
    auto answer = prompt();
    return CAsked<std::decay_t<decltype(prompt())>>(guard.data(), std::move(answer));
}

} // namespace tarvolan
