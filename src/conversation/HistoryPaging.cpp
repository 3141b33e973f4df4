#include "conversation/HistoryPaging.h"

#include <climits>
#include <cstring>

#include "common/TextFunctions.h"

namespace tarvolan {

int HistoryIdValue(const CString& id)
{
    std::string_view text = id.view();
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    if (text.empty()) return 0;
    long long value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return 0;
        value = value * 10 + (c - '0');
        if (value > INT_MAX) return 0;
    }
    return static_cast<int>(value);
}

int NewestHistoryId(const std::list<TGroupMessage>& page)
{
    int newest = 0;
    for (const TGroupMessage& message : page) {
        const int id = HistoryIdValue(message.id);
        if (id > newest) newest = id;
    }
    return newest;
}

int OldestHistoryId(const std::list<TGroupMessage>& page)
{
    int oldest = 0;
    for (const TGroupMessage& message : page) {
        const int id = HistoryIdValue(message.id);
        if (id > 0 && (oldest == 0 || id < oldest)) oldest = id;
    }
    return oldest;
}

THistoryRequest MakeHistoryRequest(const CString& groupURI, int anchor, int direction)
{
    THistoryRequest request;
    std::memset(&request, 0, sizeof(request));
    request.kind = kHistoryBlockKind;
    const std::string_view uri = GbkPrefix(groupURI.view(), sizeof(request.groupURI) - 1);
    std::memcpy(request.groupURI, uri.data(), uri.size());
    request.anchor = anchor;
    request.direction = direction;
    return request;
}

} // namespace tarvolan
