// What a host event changed in the group data, as the rules that apply the
// event report it, and the notices the user is to see. The rules know no
// view: the main window and the conversation windows subscribe and bring
// their own widgets up to date from each change. A change is told to every
// subscriber, in the order they subscribed, when the rules make it, so views
// follow the data step by step as the event is applied.
#pragma once

#include <cstdarg>
#include <vector>

#include "common/GbkString.h"
#include "protocol/TarvolanAbi.h"

namespace tarvolan {

class CGroupBlacklistWindow;
class CGroupInfoWindow;
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
    CHANGE_GROUP_LIST,  // the group list was loaded: every listed public group is shown, in list order
                        // (no group: groupURI is empty, group null)
};

// Details of a change, by kind.
enum EChangeDetail : int {
    DETAIL_NONE = 0,
    DETAIL_TEXT_CHANGED = 1,  // CHANGE_PRESENCE: the member's item text may have changed too
    DETAIL_PAGE_STORED = 0,   // CHANGE_HISTORY: a page was stored for the viewer
    DETAIL_NO_PAGE = 1,       // CHANGE_HISTORY: the history has no (further) page
    // invitations, joins and transfers
    DETAIL_NEW_MEMBER = 1,    // CHANGE_MEMBERS with a member: the member is new to the tree model
    // loading
    DETAIL_FROM_TABLE = 2,    // CHANGE_MEMBERS: only the member items follow the group's table record
    DETAIL_UNLISTED_LEAVE = 3,  // CHANGE_MEMBERS: the group and its members follow its table record, and
                                // members the record no longer lists leave
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
    // operation results: each text takes the subjects given with the notice
    NOTICE_CREATE_TIMEOUT,         // group name
    NOTICE_CREATE_LIMIT,           // no subject
    NOTICE_CREATE_FAILED,          // group name
    NOTICE_EDIT_TIMEOUT,           // group name
    NOTICE_EDIT_FAILED,            // group name
    NOTICE_DELETE_TIMEOUT,         // group name
    NOTICE_DELETE_FAILED,          // group name
    NOTICE_INVITE_NO_USER,         // display name, group name
    NOTICE_INVITE_SEND_TIMEOUT,    // display name, group name
    NOTICE_INVITE_GROUP_FULL,      // display name, group name
    NOTICE_INVITE_SEND_FAILED,     // display name, group name
    NOTICE_REMOVE_MEMBER_TIMEOUT,  // member URI, group name
    NOTICE_REMOVE_MEMBER_FAILED,   // member URI, group name
    NOTICE_JOIN_REFUSED,           // group name
    NOTICE_JOIN_GROUP_FULL,        // group name
    NOTICE_LEAVE_TIMEOUT,          // group name
    NOTICE_LEAVE_FAILED,           // group name
    NOTICE_RENAME_TIMEOUT,         // group name
    NOTICE_RENAME_FAILED,          // group name
    // invitations, joins and transfers: each text takes the subjects given with it
    NOTICE_ASK_INVITED,           // question: inviter's name, group name
    NOTICE_ASK_JOIN_REQUEST,      // question: proposer, group name
    NOTICE_ASK_TRANSFER,          // question: old owner's name, group name
    NOTICE_INVITE_REFUSED,        // invitee, group name
    NOTICE_INVITE_TIMEOUT,        // invitee, group name
    NOTICE_APPLICATION_ACCEPTED,  // group name; my request to join
    NOTICE_APPLICATION_REFUSED,   // group name
    NOTICE_APPLICATION_TIMEOUT,   // group name
    NOTICE_INVITED_JOIN_FAILED,   // no subject; joining on an invitation failed
    NOTICE_TRANSFER_SENT,         // no subject; the owner waits for the new owner's answer
    NOTICE_TRANSFER_OFFLINE,      // new owner
    NOTICE_TRANSFER_NO_RIGHT,     // no subject
    NOTICE_TRANSFER_NOT_FOUND,    // no subject
    NOTICE_TRANSFER_LIMIT,        // no subject
    NOTICE_TRANSFER_SERVER_ERROR, // no subject
    NOTICE_TRANSFER_UNKNOWN,      // no subject
    NOTICE_TRANSFER_AGREED,       // new owner, group name
    NOTICE_TRANSFER_REFUSED,      // new owner, group name
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
    // The same with the line formatted printf-style.
    __attribute__((format(printf, 3, 4))) void LogClient(int level, const char* pattern, ...)
    {
        va_list args;
        va_start(args, pattern);
        CString line;
        line.FormatV(pattern, args);
        va_end(args);
        WriteClientLog(line, level);
    }
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
    // operation results, search and group messages
    // Stops the timer of pending creations and starts it again while any is pending.
    virtual void RestartPendingCreateTimer() = 0;
    // The open group information window; null when none.
    virtual CGroupInfoWindow* InfoWindow() const = 0;
    // Whether the URI is the signed-in user's (also as a bare account name).
    virtual bool IsMyself(const char* uri) const = 0;
    // Shows a message of the group in its conversation window, opening it.
    virtual void ShowGroupMessage(CTarvolan& group, const char* senderURI, const char* text) = 0;
    // invitations, joins and transfers
    // Whether sign-in is under way: requests that need the user are parked then.
    virtual bool SigningIn() const = 0;
    // Parks a request that came during sign-in, for the replay once signed in.
    virtual void Park(const tagGroupInvite& invite) = 0;
    virtual void Park(const tagGroupJoin& join) = 0;
    virtual void Park(const tagGroupTrsReq& request) = 0;
    // Drops the parked transfer request of that group and old owner.
    virtual void DropParkedTransfer(const CString& groupURI, const CString& oldOwnerURI) = 0;
    // The signed-in user's display name and phone, as a member of a group.
    virtual CString MyDisplayName() const = 0;
    virtual CString MyPhone() const = 0;
    // What Ask answers: the Yes button, which alone accepts; a box closed by
    // name; the module's window went while it asked.
    static constexpr int kYes = 6;
    static constexpr int kClosed = 0;
    static constexpr int kWindowGone = -1;
    // Asks a question (a NOTICE_ASK_ notice) with its subjects; with a box
    // name, in a named box that CloseBox closes. The button pressed, kClosed
    // or kWindowGone.
    virtual int Ask(ENotice question, const CString& first, const CString& second, const CString& boxName) = 0;
    // Shows a notice with its subjects; with a box name, in a named box that
    // CloseBox closes.
    virtual void Tell(ENotice notice, const CString& first = CString(), const CString& second = CString(),
                      const CString& boxName = CString()) = 0;
    virtual void CloseBox(const CString& boxName) = 0;
    // loading
    // The signed-in user's request id, the requester of my applications to join.
    virtual CString MyRequestId() const = 0;
    // The name a contact list of usage 4 (all my contacts) is shown with.
    virtual CString AllContactsName() const = 0;
    // A contact-list name was remembered: the names are forgotten a minute after the last one.
    virtual void RestartRecentNamesTimer() = 0;
    // A group's full information came: an open group properties window reloads itself.
    virtual void RefreshPropertiesWindow() = 0;
};

} // namespace tarvolan
