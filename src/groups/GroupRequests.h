// Requests that more than one window sends to the host: a group's details
// (asked once per group) and a page of a group search.
#pragma once

#include "common/GbkString.h"
#include "groups/StringArray.h"
#include "protocol/HostLink.h"

namespace tarvolan {

// Search kinds of a group search.
enum ESearchKind : int { SEARCH_BY_NAME = 1, SEARCH_BY_CREATOR = 2 };

// Sends code 1 for the group unless its URI is empty or in requested, and
// then files it there; true when sent.
bool RequestGroupInfoOnce(CHostLink& link, CStringArray& requested, const CString& uri);
// The same even when the group was requested before (it changed): the URI
// moves to the end of requested.
void RequestGroupInfoAgain(CHostLink& link, CStringArray& requested, const CString& uri);

// Sends code 9: one page (from 1) of the groups that match the text.
void SendSearchRequest(CHostLink& link, int kind, const CString& text, int page, const CString& domain);

} // namespace tarvolan
