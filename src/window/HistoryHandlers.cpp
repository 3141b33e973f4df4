// A failed group-information query (1031) and pages of a group's message
// history (1032): the recent messages the conversation window shows, and the
// pages of the history viewer.
#include <algorithm>

#include "clientkit/ClientKit.h"
#include "conversation/TarvolanChatDialog.h"
#include "conversation/TarvolanHistoryDialog.h"
#include "common/TimeText.h"
#include "window/TarvolanDialog.h"
#include "platform/UiDriver.h"
#include "res/ModuleResources.h"

namespace tarvolan {

namespace {

enum EHistoryType : int { HISTORY_RECENT = 1, HISTORY_PAGE = 2 };

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

// ---- 1031 -------------------------------------------------------------------------------

void CTarvolanDialog::OnIMSGetPublicGroupInfoListFailed(const char* groupURI, int result)
{
    const CString uri(groupURI ? groupURI : "");
    CString line;
    line.Format("OnIMSGetPublicGroupInfoListFailedVeloractrl1....GroupURI=%s,Result=%d", uri.c_str(), result);
    WriteLog(line, 0);
    switch (result) {
    case 403:
        if (!uri.IsEmpty()) OnIMSDeleteMeInPublicGroup(uri.c_str());
        break;
    case 404:
        if (!uri.IsEmpty()) OnIMSPublicGroupDeleted(uri.c_str());
        break;
    default:
        ShowMessageBox(this, LoadResString(IDS_FETCH_FAILED), LoadResString(IDS_SYSTEM_PROMPT), MB_ICONINFORMATION);
        break;
    }
}

// ---- 1032 -------------------------------------------------------------------------------

void CTarvolanDialog::OnIMSGotGroupHistoryMsgList(int iCode, int iType, const char* lpGroupURI, int iListNum,
                                                  const THistoryEntry* pList)
{
    const CString uri(lpGroupURI ? lpGroupURI : "");
    CString line;
    line.Format("OnIMSGotGroupHistoryMsgListVeloractrl1-iCode=%d iType=%d lpGroupURI=%s iListNum=%d pList=%d", iCode,
                iType, uri.c_str(), iListNum, static_cast<int>(reinterpret_cast<intptr_t>(pList)));
    WriteLog(line, 0);
    CTarvolan* group = m_GroupData.TreeModel().FindGroup(uri);
    if (!group) {
        WriteLog("OnIMSGotGroupHistoryMsgListVeloractrl1-pTarvolan is NULL", 0);
        return;
    }
    const int count = std::clamp(iListNum, 0, kMaxHistoryEntries);
    // A page for a viewer that is not open (any more) is not kept.
    CTarvolanHistoryDialog* viewer = iType == HISTORY_PAGE ? FindHistoryViewer(*group) : nullptr;

    if (count > 0 && pList) {
        if (iType == HISTORY_RECENT) {
            group->m_MsgListRecent = StoredMessages(pList, count);
            group->m_bRecentLoaded = true;
            if (auto* chat = dynamic_cast<CTarvolanChatDialog*>(group->m_pChatDialog)) chat->LoadRecentMessage();
        } else if (viewer) {
            group->m_MsgListHistory = StoredMessages(pList, count);
            viewer->ShowHistoryList();
            viewer->OnHistoryResult(0);
        }
        return;
    }
    if (iCode != 200 && iCode != 404) return;
    if (iType == HISTORY_RECENT)
        group->m_bRecentLoaded = true;
    else if (viewer)
        viewer->OnHistoryResult(1);
}

} // namespace tarvolan
