// What the main window's handlers ask of its modeless child windows, the
// group information window and the blacklist window. Each window implements
// its interface and is registered with the main window's open windows, which
// hand the interface to the handlers while the window is open.
#pragma once

#include "common/GbkString.h"
#include "protocol/TarvolanAbi.h"

namespace tarvolan {

class CGroupInfoWindow {
public:
    virtual ~CGroupInfoWindow() = default;
    // The name of a group that the window lists; the URI's user part when it
    // lists no such group.
    virtual CString GetGroupNameByURI(const CString& groupURI) = 0;
    // Marks a listed group as joined (1) or not joined (0).
    virtual void SetGroupJoined(const CString& groupURI, int joined) = 0;
    // The row of that group and owner is marked joined and selected.
    virtual void MarkJoined(const CString& ownerURI, const CString& groupURI) = 0;

    // A page of search results: the list emptied, the rows added in order,
    // then the next-page button set.
    virtual void ClearSearchResults() = 0;
    virtual void AddSearchResult(const CString& ownerURI, const CString& groupURI, const CString& groupName,
                                 const CString& groupID, const CString& subject, const CString& bulletin,
                                 int needPermit, int joined) = 0;
    virtual void EnableNextPage(bool enable) = 0;

    // A group's details as the host reported them (members: memberCount
    // entries, or null).
    virtual void ShowGroupInfo(const CString& groupName, const CString& groupURI, int myRole,
                               const tarvolan::TGroupDescription& info, int memberCount,
                               const tarvolan::TMemberEntry* members) = 0;
    // The host could not fetch a group's details.
    virtual void OnQueryFailed() = 0;
};

class CGroupBlacklistWindow {
public:
    virtual ~CGroupBlacklistWindow() = default;
    // An entry of the group's lists as the host lists it (kind 0 blacklist,
    // any other whitelist); ignored for another group.
    virtual void AddBlackListEntry(const CString& uri, const CString& groupURI, int kind) = 0;
    // operation 1 added, 0 removed; kind 0 blacklist, 1 whitelist.
    virtual void OnBlackListChanged(const CString& uri, const CString& group, int operation, int kind) = 0;
    // An operation on the URI failed.
    virtual void OnBlackListFailed(const CString& uri) = 0;
};

} // namespace tarvolan
