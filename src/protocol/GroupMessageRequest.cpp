#include "protocol/GroupMessageRequest.h"

#include "common/TextFunctions.h"

namespace tarvolan {

namespace {

Word TextWord(const char* text)
{
    return reinterpret_cast<Word>(text);
}

} // namespace

TGroupMessageRequest MakeGroupMessageRequest(const char* message, const char* internetTime, const char* groupURI,
                                             const char* escapedSummary)
{
    static const char kEmpty[] = "";
    return TGroupMessageRequest{1,
                                2,
                                TextWord(message),
                                TextWord(internetTime),
                                TextWord(groupURI),
                                TextWord(kEmpty),
                                TextWord(escapedSummary),
                                0};
}

void SendGroupMessage(CHostLink& link, const CString& message, const CString& internetTime, const CString& groupURI,
                      const CString& summary)
{
    const CString escaped = XmlEscape(summary);
    TGroupMessageRequest request = MakeGroupMessageRequest(message, internetTime, groupURI, escaped);
    link.Send(M_GroupMessage, &request);
}

} // namespace tarvolan
