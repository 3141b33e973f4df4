// The group message request (code 20008): eight words, the texts as
// pointers to zero-terminated GBK text that stay valid during the call.
#pragma once

#include "common/GbkString.h"
#include "protocol/HostLink.h"
#include "protocol/TarvolanAbi.h"

namespace tarvolan {

// The record over the given texts: 1, 2, the marked-up message, the
// Internet time text, the group URI, an empty text, the summary as given
// (already escaped) and 0. The texts must outlive the record.
TGroupMessageRequest MakeGroupMessageRequest(const char* message, const char* internetTime, const char* groupURI,
                                             const char* escapedSummary);

// Sends a group message: the summary travels escaped for XML.
void SendGroupMessage(CHostLink& link, const CString& message, const CString& internetTime, const CString& groupURI,
                      const CString& summary);

} // namespace tarvolan
