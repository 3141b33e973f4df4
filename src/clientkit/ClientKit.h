// libClientKit.so: the client's shared data. The host fills it through the
// setters at the end of this header; the module reads it through the getters.
// Texts are GBK bytes, zero-terminated.
#pragma once

#include <cstdint>
#include <vector>

#include "common/GbkString.h"
#include "common/TextFormat.h"
#include "protocol/TarvolanAbi.h"
#include "platform/Export.h"

class QWidget;

namespace tarvolan {

class CModuleBase;

// The signed-in user.
struct tagMyInfo {
    char szDisplayName[65];        // the first text: own display name
    char szRequestId[257];         // request identity, stands just before the URI
    char szURI[257];               // own URI
    char szDomain[129];            // own domain
    int32_t nDomainCount;          // search domains that follow
    char szDomainList[16][129];
    tarvolan::TMemberProfile profile;  // own profile data (texts owned by ClientKit)
};

// Own presence.
enum Status_Type : int32_t {
    STATUS_OFFLINE = 0,
    STATUS_ONLINE = 1,
    STATUS_BUSY = 2,
    STATUS_AWAY = 3,
    STATUS_TALKING = 4,
    STATUS_LUNCH = 5,
    STATUS_UNKNOWN = 6,
    STATUS_HIDDEN = 7,
    STATUS_RIGHT_BACK = 8,
    STATUS_CUSTOM = 9,
};

// Per-user settings.
class TARVOLAN_EXPORT CKestUser {
public:
    int32_t m_bShowEmoticon = 1;   // replace emoticon codes by pictures
    char m_szAccount[257] = {};    // own account
};

// One contact of the roster.
struct tagRosterInfo {
    char szURI[257];
    char szDisplayName[65];
    char szPhone[33];
    int32_t nIndex;
};

// ---- what the module uses -------------------------------------------------

TARVOLAN_EXPORT tagMyInfo* GetMyInfo();
TARVOLAN_EXPORT Status_Type GetStatus();
TARVOLAN_EXPORT const char* GetStatusText();       // own custom status text (status 9)
TARVOLAN_EXPORT int GetAppLogined();
TARVOLAN_EXPORT int GetAppLogining();
TARVOLAN_EXPORT int GetAppLogoutStatus();
TARVOLAN_EXPORT const char* GetMsgTitle();

// Shows a named message box owned by the window and waits for it: the button
// pressed, or 0 when the box was closed with CloseMsgBox(name).
TARVOLAN_EXPORT int OpenMsgBox(const char* name, QWidget* owner, const char* text, const char* caption,
               unsigned flags, tarvolan::CModuleBase* module = nullptr);
TARVOLAN_EXPORT void CloseMsgBox(const char* name);
TARVOLAN_EXPORT void CloseMsgBox(tarvolan::CModuleBase* module);

// Appends "YYYY-MM-DD HH:MM:SS [level] text" and a line feed to the client
// log "Velora.log" in the client folder (local time; the text as given).
TARVOLAN_EXPORT void WriteLog(const char* text, int level);
TARVOLAN_EXPORT const char* GetAppPath();          // client folder, with a trailing '/'
TARVOLAN_EXPORT CKestUser* GetUserData();
TARVOLAN_EXPORT const char* GetIMSDomain();
// The roster display name of the contact that the text names (its URI with
// or without "sip:", its account when the text has no '@', or its phone);
// otherwise the user part of the text (no scheme, nothing from '@' on). The
// two flags are accepted for the callers' sake and change nothing.
TARVOLAN_EXPORT CString GetUserNameByPhone(const char* text, int flag1, int flag2);
// Roster entries are compared by URI without regard to ASCII case or a
// "sip:" prefix. The pointer is valid until the roster is set again.
TARVOLAN_EXPORT tagRosterInfo* FindRosterInfoByURI(const char* uri);
TARVOLAN_EXPORT int RosterIndexValid(int index);
TARVOLAN_EXPORT int IsInMyRLSList(const char* uri);
TARVOLAN_EXPORT int IsMySelf(const char* uri);
TARVOLAN_EXPORT int GetTarvolanCreateRight();
TARVOLAN_EXPORT int GetTreeFullRowSelect();
TARVOLAN_EXPORT int GetMenuType();
TARVOLAN_EXPORT int GetVersionType();
TARVOLAN_EXPORT int GetIMSDirectApp();
TARVOLAN_EXPORT int GetScene();
TARVOLAN_EXPORT const char* GetOperationNumber();
TARVOLAN_EXPORT TCharFormat* GetAppCharFormat();
TARVOLAN_EXPORT TLogFont* GetAppLogFont();
TARVOLAN_EXPORT int GetAppResetLF();
TARVOLAN_EXPORT void SetAppResetLF(int value);
// Non-zero when the text holds a banned word; the word found goes to *found
// (found may be null). Words match byte-wise at GBK character boundaries only.
TARVOLAN_EXPORT int bHaveFilterWords(const char* text, CString* found);

// Requests parked while signing in, kept by value: at most
// kParkedRequestsKept of each kind, and a record equal to one already parked
// is not parked again (its question would be asked twice).
constexpr size_t kParkedRequestsKept = 500;
TARVOLAN_EXPORT void AddInvitedToPubGroupMessageTempToList(const tarvolan::tagGroupInvite& entry);
TARVOLAN_EXPORT std::vector<tarvolan::tagGroupInvite>* GetInvitedToPubGroupMessageTempList();
TARVOLAN_EXPORT void ClearInvitedToPubGroupMessageTempList();
TARVOLAN_EXPORT void AddJoinToPubGroupMessageTempToList(const tarvolan::tagGroupJoin& entry);
TARVOLAN_EXPORT std::vector<tarvolan::tagGroupJoin>* GetJoinToPubGroupMessageTempList();
TARVOLAN_EXPORT void ClearJoinToPubGroupMessageTempList();
TARVOLAN_EXPORT void AddTrsPubGroupReqMessageTempToList(const tarvolan::tagGroupTrsReq& entry);
TARVOLAN_EXPORT std::vector<tarvolan::tagGroupTrsReq>* GetTrsPubGroupReqMessageTempList();
TARVOLAN_EXPORT void ClearTrsPubGroupReqMessageTempList();
// Removes the parked transfer requests of that group from that old owner
// (a withdrawal names both); requests of the group from others stay.
TARVOLAN_EXPORT void DelTrsPubGroupReqMessageTmpFromList(const char* groupURI, const char* oldOwnerURI);

// ---- what the host uses to fill it ------------------------------------------

namespace clientkit {

struct TIdentity {
    CString displayName;
    CString requestId;
    CString uri;
    CString domain;
    std::vector<CString> domains;  // at most 16 are kept
};
struct TRosterEntry {
    CString uri;
    CString displayName;
    CString phone;
};

TARVOLAN_EXPORT void SetIdentity(const TIdentity& identity);
TARVOLAN_EXPORT void SetStatus(Status_Type status, const char* text = "");
TARVOLAN_EXPORT void SetSignInState(int logined, int logining, int logoutStatus);
TARVOLAN_EXPORT void SetMsgTitle(const char* title);
TARVOLAN_EXPORT void SetAppPath(const char* folder);           // a trailing '/' is added
TARVOLAN_EXPORT void SetUserSettings(int showEmoticon, const char* account);
TARVOLAN_EXPORT void SetIMSDomain(const char* domain);
TARVOLAN_EXPORT void SetRoster(const std::vector<TRosterEntry>& roster);
TARVOLAN_EXPORT void SetCreateRight(int value);
TARVOLAN_EXPORT void SetTreeFullRowSelect(int value);
TARVOLAN_EXPORT void SetEdition(int menuType, int versionType, int imsDirectApp, int scene);
TARVOLAN_EXPORT void SetOperationNumber(const char* number);
TARVOLAN_EXPORT void SetCharFormat(const TCharFormat& format, const TLogFont& font);
TARVOLAN_EXPORT void SetBannedWords(const std::vector<CString>& words);
// Own profile data: the texts are copied (a null text stays null).
TARVOLAN_EXPORT void SetMyProfile(const tarvolan::TMemberProfile& profile);
// Puts everything back as it is when the library is loaded: no identity,
// no roster, offline and signed out, message title "Velora", the current
// directory as the client folder, the create right given, the other edition
// values 0, the chat font 9-point SimSun, no banned words, no parked requests.
// Message boxes that are open stay open.
TARVOLAN_EXPORT void Reset();

// The client log: "Velora.log" in the client folder.
TARVOLAN_EXPORT CString LogFilePath();

} // namespace clientkit

} // namespace tarvolan
