// COpenWindows: the main window's registry of its modeless child windows
// that host messages reach, at most one of each kind. A window is filed
// under the interface it offers the handlers; a window that closes and
// deletes itself leaves the registry by itself.
#pragma once

#include <tuple>

#include <QPointer>

#include "groups/ChildWindows.h"
#include "platform/Window.h"

namespace tarvolan {

// One kind's entry: the window, and the same object as the handlers' interface.
template <class Ops> struct TOpenWindowSlot {
    QPointer<CDialog> window;
    Ops* ops = nullptr;
};

class COpenWindows {
    template <class Ops> using TSlot = TOpenWindowSlot<Ops>;

public:
    COpenWindows() = default;
    COpenWindows(const COpenWindows&) = delete;
    COpenWindows& operator=(const COpenWindows&) = delete;
    ~COpenWindows() { CloseAll(); }

    // Files window as the open window of its kind; the window it replaces is
    // deleted. window and ops are the same object seen two ways.
    template <class Ops> void Open(CDialog* window, Ops* ops)
    {
        TSlot<Ops>& slot = Slot<Ops>();
        if (slot.window && slot.window != window) delete slot.window.data();
        slot.window = window;
        slot.ops = window ? ops : nullptr;
    }

    // The handlers' interface of the open window of that kind; null when none.
    template <class Ops> Ops* Find() const
    {
        const TSlot<Ops>& slot = std::get<TSlot<Ops>>(m_slots);
        return slot.window ? slot.ops : nullptr;
    }
    // The open window of that kind as a widget (an owner for prompts); null when none.
    template <class Ops> CDialog* Window() const { return std::get<TSlot<Ops>>(m_slots).window.data(); }

    // Deletes every open window (shut-down).
    void CloseAll()
    {
        std::apply([](auto&... slot) { (Close(slot), ...); }, m_slots);
    }

private:

    template <class Ops> TSlot<Ops>& Slot() { return std::get<TSlot<Ops>>(m_slots); }
    template <class Ops> static void Close(TSlot<Ops>& slot)
    {
        delete slot.window.data();
        slot.window = nullptr;
        slot.ops = nullptr;
    }

    std::tuple<TSlot<CGroupInfoWindow>, TSlot<CGroupBlacklistWindow>> m_slots;
};

} // namespace tarvolan
