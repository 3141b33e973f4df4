#include "groups/HistoryRules.h"

#include <algorithm>
#include <list>

#include "common/TimeText.h"

namespace tarvolan {

namespace {

// The entries of a history answer as the group keeps them: times in local
// time, fields read within their sizes, a missing text as empty.
std::list<TGroupMessage> StoredMessages(const THistoryEntry* list, int count)
{
    std::list<TGroupMessage> messages;
    for (int i = 0; i < count; ++i) {
        const THistoryEntry& entry = list[i];
        TGroupMessage message;
        message.id = CString::FromField(entry.senderText);
        message.senderURI = CString::FromField(entry.senderURI);
        message.time = InternetTimeToLocalString(CString::FromField(entry.time));
        message.body = CString(entry.text ? entry.text : "");
        messages.push_back(std::move(message));
    }
    return messages;
}

} // namespace

void CHistoryRules::OnHistoryList(int code, int type, const char* groupURI, int count, const THistoryEntry* list)
{
    const CString uri(groupURI ? groupURI : "");
    m_host.LogClient(0, "OnIMSGotGroupHistoryMsgListVeloractrl1-iCode=%d iType=%d lpGroupURI=%s iListNum=%d pList=%d",
                        code, type, uri.c_str(), count, static_cast<int>(reinterpret_cast<intptr_t>(list)));
    CTarvolan* group = m_data.TreeModel().FindGroup(uri);
    if (!group) {
        m_host.WriteClientLog("OnIMSGotGroupHistoryMsgListVeloractrl1-pTarvolan is NULL", 0);
        return;
    }
    const int entries = std::clamp(count, 0, kMaxHistoryEntries);
    // A page for a viewer that is not open (any more) is not kept.
    const bool viewerOpen = type == HISTORY_PAGE && m_host.HistoryViewerOpen(*group);

    if (entries > 0 && list) {
        if (type == HISTORY_RECENT) {
            group->m_MsgListRecent = StoredMessages(list, entries);
            group->m_bRecentLoaded = true;
            m_changes.Report({CHANGE_MESSAGES, group->URI(), group});
        } else if (viewerOpen) {
            group->m_MsgListHistory = StoredMessages(list, entries);
            m_changes.Report({CHANGE_HISTORY, group->URI(), group, nullptr, DETAIL_PAGE_STORED});
        }
        return;
    }
    if (code != 200 && code != 404) return;
    if (type == HISTORY_RECENT)
        group->m_bRecentLoaded = true;
    else if (viewerOpen)
        m_changes.Report({CHANGE_HISTORY, group->URI(), group, nullptr, DETAIL_NO_PAGE});
}

} // namespace tarvolan
