#include "groups/GroupRequests.h"

namespace tarvolan {

namespace {

Word TextWordOf(const CString& text)
{
    return reinterpret_cast<Word>(text.c_str());
}

} // namespace

bool RequestGroupInfoOnce(CHostLink& link, CStringArray& requested, const CString& uri)
{
    if (uri.IsEmpty() || requested.Contains(uri)) return false;
    const CString key = uri;  // the caller's text may live in what the host's answer changes
    Word record[1] = {TextWordOf(key)};
    link.Send(M_RequestGroupInfo, record);
    requested.Add(key);
    return true;
}

void RequestGroupInfoAgain(CHostLink& link, CStringArray& requested, const CString& uri)
{
    requested.Remove(uri);
    RequestGroupInfoOnce(link, requested, uri);
}

void SendSearchRequest(CHostLink& link, int kind, const CString& text, int page, const CString& domain)
{
    Word record[4] = {kind, TextWordOf(text), page, TextWordOf(domain)};
    link.Send(M_SearchGroups, record);
}

} // namespace tarvolan
