// The window's part of invitations, joins and transfers (CInvitationRules,
// CTransferRules): their questions, notices and named boxes, the requests
// parked in the client library while the client signs in, and the replay of
// those requests after sign-in (timer 1001).
#include <algorithm>
#include <cstring>
#include <vector>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include "clientkit/ClientKit.h"
#include "controls/AskInHandler.h"
#include "controls/Prompts.h"
#include "controls/SignedInUser.h"
#include "res/ModuleResources.h"
#include "window/NoticeTexts.h"
#include "window/TarvolanDialog.h"
#include "protocol/HostLink.h"

namespace tarvolan {

namespace {

// The text of a question or notice of invitations, joins and transfers.
CString InvitationText(ENotice notice, const CString& first, const CString& second)
{
    // The invitation names its inviter before the text.
    if (notice == NOTICE_ASK_INVITED) return first + ResText(IDS_INVITED_ASK, second);
    if (notice == NOTICE_INVITED_JOIN_FAILED)
        return FromQt(QCoreApplication::translate("InvitationNotices", "加入群组操作失败！"));
    const int textId = NoticeTextId(notice);
    return textId ? ResText(textId, first, second) : CString();
}

template <class Record> bool SameRecord(const Record& a, const Record& b)
{
    return std::memcmp(&a, &b, sizeof(Record)) == 0;
}

// Takes the record out of the parked list; false when it is no longer there
// (withdrawn, or replayed by a replay that ran meanwhile).
template <class Record> bool TakeParked(std::vector<Record>* list, const Record& record)
{
    if (!list) return false;
    auto it = std::find_if(list->begin(), list->end(), [&](const Record& r) { return SameRecord(r, record); });
    if (it == list->end()) return false;
    list->erase(it);
    return true;
}

// Waits while the window's messages are dispatched.
void PumpingPause(int ms)
{
    if (ms <= 0) return;
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Replays one parked list while the user is signed in: every record that is
// still parked is taken out and handled, with a pause after each. Records
// parked while the replay runs stay for the next one. False when the window
// went meanwhile.
template <class Record, class Handle>
bool ReplayParked(std::vector<Record>* (*list)(), QObject* window, int pauseMs, Handle handle)
{
    if (!GetAppLogined() || !list()) return true;
    const std::vector<Record> parked = *list();
    for (const Record& record : parked) {
        if (!TakeParked(list(), record)) continue;
        if (!AskInHandler(window, [&] { return handle(record), true; }).WindowAlive()) return false;
        if (!AskInHandler(window, [&] { return PumpingPause(pauseMs), true; }).WindowAlive()) return false;
    }
    return true;
}

} // namespace

// ---- the view step of a members change -------------------------------------------------

void CTarvolanDialog::RebuildGroupAndMembers(const CString& uri, bool dropUnlisted)
{
    if (uri.IsEmpty()) return;
    const bool known = m_GroupData.TreeModel().FindGroup(uri) != nullptr;
    RebuildGroupItem(uri);  // a new group object builds its member items itself
    if (known) RebuildMemberItems(uri, dropUnlisted);
}

// ---- the seam: invitations, joins and transfers ------------------------------------------

bool CTarvolanDialog::SigningIn() const
{
    return GetAppLogining() == 1;
}

void CTarvolanDialog::Park(const tagGroupInvite& invite)
{
    AddInvitedToPubGroupMessageTempToList(invite);
}

void CTarvolanDialog::Park(const tagGroupJoin& join)
{
    AddJoinToPubGroupMessageTempToList(join);
}

void CTarvolanDialog::Park(const tagGroupTrsReq& request)
{
    AddTrsPubGroupReqMessageTempToList(request);
}

void CTarvolanDialog::DropParkedTransfer(const CString& groupURI, const CString& oldOwnerURI)
{
    DelTrsPubGroupReqMessageTmpFromList(groupURI, oldOwnerURI);
}

CString CTarvolanDialog::MyDisplayName() const
{
    const tagMyInfo* me = GetMyInfo();
    return me ? CString::FromField(me->szDisplayName) : CString();
}

CString CTarvolanDialog::MyPhone() const
{
    return GetOperationNumber();
}

int CTarvolanDialog::Ask(ENotice question, const CString& first, const CString& second, const CString& boxName)
{
    const CString text = InvitationText(question, first, second);
    if (!boxName.IsEmpty()) {
        const auto asked = AskInHandler(
            this, [&] { return ShowNamedBox(Link().Module(), boxName, this, text, MB_YESNO | MB_ICONQUESTION); });
        return asked.WindowAlive() ? asked.Answer() : kWindowGone;
    }
    const auto asked = AskInHandler(this, [&] { return AskYesNo(this, text); });
    if (!asked.WindowAlive()) return kWindowGone;
    return asked.Answer() ? IDYES : IDNO;
}

void CTarvolanDialog::Tell(ENotice notice, const CString& first, const CString& second, const CString& boxName)
{
    if (notice >= NOTICE_CREATE_TIMEOUT && notice <= NOTICE_RENAME_FAILED) {
        ShowResultNotice(notice, first, second);
        return;
    }
    const CString text = InvitationText(notice, first, second);
    if (!boxName.IsEmpty()) {
        ShowNamedBox(Link().Module(), boxName, this, text, MB_ICONINFORMATION);
        return;
    }
    if (notice == NOTICE_INVITED_JOIN_FAILED) {
        ShowNotice(this, text, MB_ICONEXCLAMATION);
        return;
    }
    QWidget* owner = this;
    const bool mine = notice == NOTICE_APPLICATION_ACCEPTED || notice == NOTICE_APPLICATION_REFUSED ||
                      notice == NOTICE_APPLICATION_TIMEOUT;
    if (QWidget* info = m_OpenWindows.Window<CGroupInfoWindow>(); mine && info) owner = info;  // where I applied
    ShowNotice(owner, text);
}

void CTarvolanDialog::CloseBox(const CString& boxName)
{
    CloseMsgBox(boxName);
}

// ---- the replay after sign-in (timer 1001) ---------------------------------------------

void CTarvolanDialog::ReplayParkedRequests()
{
    const int pause = m_nReplayPauseMs;
    if (!ReplayParked(GetInvitedToPubGroupMessageTempList, this, pause,
                      [this](const tagGroupInvite& r) { m_InvitationRules.OnInvited(&r); }))
        return;
    if (!ReplayParked(GetJoinToPubGroupMessageTempList, this, pause,
                      [this](const tagGroupJoin& r) { m_InvitationRules.OnJoinRequest(&r); }))
        return;
    ReplayParked(GetTrsPubGroupReqMessageTempList, this, pause,
                 [this](const tagGroupTrsReq& r) { m_TransferRules.OnRequest(&r); });
}

} // namespace tarvolan
