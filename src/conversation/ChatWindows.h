// CChatWindows: the open conversation windows, at most one per group, owned
// here and found by their group. The main window keeps the registry: it
// closes a group's window when the group leaves the tree model, and every
// window at shut-down, each while its group still exists, so that no window
// ever holds a group that has gone. A window that the user closes tells the
// registry, which forgets it at once (its deletion waits for the event loop).
//
// The registry also follows the rules' reported changes for the groups it
// has a window of: a member's presence updates the member's item, the recent
// messages are shown.
#pragma once

#include <cstddef>
#include <vector>

#include <QPointer>

#include "groups/GroupChanges.h"

namespace tarvolan {

class CHostLink;
class CTarvolan;
class CTarvolanChatDialog;

class CChatWindows : public CGroupChangeListener {
public:
    // The windows send their requests through link.
    explicit CChatWindows(CHostLink& link);
    ~CChatWindows() override;
    CChatWindows(const CChatWindows&) = delete;
    CChatWindows& operator=(const CChatWindows&) = delete;

    // The group's window: the open one, or a new top-level window made from
    // its template, the group's draft back in its input, placed a step from
    // the last one opened, shown and raised, with the group's recent messages
    // shown or asked for. Null when it cannot be made; nothing is kept then.
    CTarvolanChatDialog* Open(CTarvolan& group);
    // The group's open window; null when it has none.
    CTarvolanChatDialog* Find(const CTarvolan& group) const;
    size_t Count() const { return m_windows.size(); }

    // Deletes the group's window, if it has one. The group must still exist.
    void Close(const CTarvolan& group);
    // Deletes every window (shut-down).
    void CloseAll();
    // The window goes on its own: it is no longer its group's window. False
    // when the registry did not keep it.
    bool Forget(const CTarvolanChatDialog& chat);

    // CGroupChangeListener: presence and recent messages of a group with a window.
    void OnGroupChanged(const TGroupChange& change) override;

protected:
    // Makes the window from its template; false when it cannot be made.
    virtual bool Create(CTarvolanChatDialog& chat);

private:
    struct TEntry {
        const CTarvolan* group;
        CTarvolanChatDialog* window;
    };
    std::vector<TEntry>::iterator Entry(const CTarvolanChatDialog& chat);
    // New windows cascade from the last one opened that is still on screen,
    // instead of all centring on the group window at one spot.
    void PlaceCascaded(CTarvolanChatDialog& chat);

    CHostLink& m_link;
    std::vector<TEntry> m_windows;  // in the order they opened
    QPointer<QWidget> m_lastPlaced;
};

} // namespace tarvolan
