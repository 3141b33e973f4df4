// What a host event changed in the group data, as the rules that apply the
// event report it, and the notices the user is to see. The rules know no
// view: the main window and the conversation windows subscribe and bring
// their own widgets up to date from each change. A change is told to every
// subscriber, in the order they subscribed, when the rules make it, so views
// follow the data step by step as the event is applied.
#pragma once

#include <vector>

#include "common/GbkString.h"
#include "protocol/TarvolanAbi.h"

namespace tarvolan {

class CGroupBlacklistWindow;
class CTarvolan;
class CTarvolanMember;

// A group leaving the tree model is told to its CGroupTreeListener, before
// its object goes.
enum EGroupChange : int {
    CHANGE_ATTRIBUTES,  // the group's listed fields (name, subject, limits ...)
    CHANGE_MEMBERS,     // members came, changed or went
    CHANGE_PRESENCE,    // a member's presence
    CHANGE_MESSAGES,    // the group's recent messages
    CHANGE_HISTORY,     // an answer for the group's history viewer
};

// Details of a change, by kind.
enum EChangeDetail : int {
    DETAIL_NONE = 0,
    DETAIL_TEXT_CHANGED = 1,  // CHANGE_PRESENCE: the member's item text may have changed too
    DETAIL_PAGE_STORED = 0,   // CHANGE_HISTORY: a page was stored for the viewer
    DETAIL_NO_PAGE = 1,       // CHANGE_HISTORY: the history has no (further) page
    // loading
    DETAIL_FROM_TABLE = 2,    // CHANGE_MEMBERS: only the member items follow the group's table record
};

struct TGroupChange {
    EGroupChange what;
    const CString& groupURI;
    CTarvolan* group;                   // null when the group has no object; valid while the change is told
    CTarvolanMember* member = nullptr;  // the member concerned; null: the group as a whole
    int detail = DETAIL_NONE;
};

// The notices the rules show, each a message box of the main window with a
// subject (a group's name) where its text has one.
enum ENotice : int {
    NOTICE_FETCH_FAILED,        // a group's information could not be fetched
    NOTICE_GROUP_DELETED,       // the group was deleted by its administrator
    NOTICE_REMOVED_FROM_GROUP,  // I was removed from the group; shown once the event is done
};

class CGroupChangeListener {
public:
    virtual ~CGroupChangeListener() = default;
    virtual void OnGroupChanged(const TGroupChange& change) = 0;
};

// The subscribers of the rules' reports.
class CGroupChanges {
public:
    void Subscribe(CGroupChangeListener* listener) { m_listeners.push_back(listener); }

    void Report(const TGroupChange& change) const
    {
        for (CGroupChangeListener* listener : m_listeners) listener->OnGroupChanged(change);
    }

private:
    std::vector<CGroupChangeListener*> m_listeners;
};

// What the rules need of the client around them: its log, the signed-in
// user, the child windows that host events reach, and the notices shown. The
// main window answers from the client library and its windows; tests answer
// from a script.
class CGroupRulesHost {
public:
    virtual ~CGroupRulesHost() = default;
    // A line of the client log.
    virtual void WriteClientLog(const char* text, int level) = 0;
    // The signed-in user's URI.
    virtual CString MyURI() const = 0;
    // Whether the user's requests are handled now: signed in and not logging out.
    virtual bool SignedIn() const = 0;
    // The signed-in user's own profile record; null when there is none.
    virtual const TMemberProfile* MyProfile() const = 0;
    virtual bool HistoryViewerOpen(const CTarvolan& group) const = 0;
    // The open blacklist window; null when none.
    virtual CGroupBlacklistWindow* BlacklistWindow() const = 0;
    // Shows a notice. A notice runs a nested event loop: false when the
    // module's window went meanwhile, and the rule stops there.
    virtual bool Notice(ENotice notice, const CString& subject) = 0;
};

} // namespace tarvolan
