// The public interface of libTarvolan.so: everything a host needs to load the
// group module and talk to it.
//
// A host loads the library, calls LoadTarvolanModule once and from then on
// calls the module's virtual operations. Both directions speak in numbered
// messages with fixed-layout records:
//   host -> module: module->OnMessage(senderType, code, record)
//   module -> host: host->OnMessage(11, code, record)   (slot 5)
//                   host->RelayToHost4(a, b, c, d)     (slot 6)
//                   host->RelayToHost3(a, b, c)        (slot 7)
// A record word is pointer-sized (Word): a pointer to zero-terminated GBK text
// or a signed 32-bit integer. Byte-exact blocks are packed structs below.
// Records travel on the sender's stack and are valid during the call only.
#pragma once

#include <cstddef>
#include <cstdint>

class QWidget;

namespace tarvolan {

using Word = intptr_t;

constexpr int kModuleType = 11;

// ---- message codes -------------------------------------------------------

enum HostCode : int {  // host -> module
    H_BlacklistEntry = 1001,
    H_BlacklistChanged = 1002,
    H_XmlInvitation = 1003,
    H_GroupInfoList = 1004,
    H_OnePublicGroup = 1005,
    H_InvitedToGroup = 1006,
    H_InviteResult = 1007,
    H_JoinRequest = 1008,
    H_JoinRequestResult = 1009,
    H_MemberNotify = 1010,
    H_ModifyGroupSuccess = 1011,
    H_GroupAttributeChanged = 1012,
    H_CreateGroupResult = 1013,
    H_DeleteGroupResult = 1014,
    H_InviteSendResult = 1015,
    H_RemoveMemberResult = 1016,
    H_JoinSendResult = 1017,
    H_LeaveGroupResult = 1018,
    H_ChangeNameResult = 1019,
    H_GroupDeleted = 1020,
    H_DeletedFromGroup = 1021,
    H_SearchResult = 1022,
    H_SearchFailed = 1023,
    H_TransferAck = 1024,
    H_TransferRequest = 1025,
    H_TransferCancel = 1026,
    H_TransferResult = 1027,
    H_MemberPresence = 1028,
    H_AddBlacklistResult = 1029,
    H_DeleteBlacklistResult = 1030,
    H_GroupInfoFailed = 1031,
    H_HistoryList = 1032,
    H_RebuildMembers = 1033,
    H_GroupMessage = 1034,
    H_MemberPresence2 = 1035,
    H_MemberProfile = 1036,
    H_GetProfileText = 1038,
    H_SetProfileText = 1039,
    H_FullRowSelect = 1040,
    H_SignedIn = 1041,
    H_FindMember = 1043,
    H_InviteJoinResult = 1044,
    H_ShowWindow = 20027,
    H_PlaceWindow = 20038,
};

enum ModuleCode : int {  // module -> host (slot 5)
    M_RequestGroupInfo = 1,
    M_SaveGroup = 2,
    M_ChangeDisplayName = 3,
    M_DeleteGroup = 4,
    M_LeaveGroup = 5,
    M_TransferGroup = 6,
    M_RemoveMember = 7,
    M_InviteMember = 8,
    M_SearchGroups = 9,
    M_AcceptXmlInvitation = 10,
    M_ForwardXmlAcceptance = 11,
    M_RequestBlacklist = 12,
    M_WhitelistChange = 13,
    M_AddBlacklist = 14,
    M_RemoveBlacklist = 15,
    M_AnswerInvitation = 16,
    M_AnswerJoinRequest = 17,
    M_AnswerTransfer = 18,
    M_ApplyToJoin = 19,
    M_RequestSearchDetails = 20,
    M_SelectionReport = 1037,
    M_Log = 20003,
    M_Text = 20004,
    M_Notify = 20005,
    M_GroupMessage = 20008,
    M_Subscribe = 20016,
    M_HistoryRequest = 20037,
    M_SkinRequest = 10001,
    M_SkinReset = 10002,
};

// Server status numbers carried by the result words of host records.
enum ResultCode : int {
    RESULT_DONE = 200,
    RESULT_CREATED = 201,
    RESULT_PENDING = 202,      // accepted, still pending
    RESULT_REFUSED = 403,
    RESULT_NOT_FOUND = 404,    // no such user or group
    RESULT_TIMEOUT = 408,
    RESULT_LIMIT = 409,        // group or member count reached
    RESULT_OFFLINE = 416,      // the new owner of a transfer is not online
};

// Slot-6 relay: RelayToHost4(kRelayTarget, kRelayOpenMessageWindow, record, 1)
// with a TMessageWindowRecord asks the host to open a message window.
constexpr int kRelayTarget = 8;
constexpr int kRelayOpenMessageWindow = 102;

// ---- byte-exact blocks ---------------------------------------------------

#pragma pack(push, 1)

// Code 2: save a group (URI empty when creating). 808 bytes, zero-filled.
struct TGroupSettings {
    char uri[257];
    char name[65];
    char displayName[66];
    int32_t duration;
    int32_t visibility;   // 1 administrators, 2 members, 3 everyone
    int32_t needPermit;   // 1: join requests need the owner's confirmation
    int32_t maxMembers;
    char subject[201];
    char bulletin[203];
};

// Word 3 of code 1005. 976 bytes.
struct TGroupDescription {
    char owner[257];
    char creator[257];
    char creationTime[42];
    int32_t iDuration;
    int32_t iVisi;
    int32_t iNeedPermit;
    int32_t iMaxMember;
    char subject[201];
    char bulletin[203];
};

// Array of word 5 of code 1005. 351 bytes.
struct TMemberEntry {
    char DisplayName[65];
    char csInfo[8];
    char UserURI[257];
    char csPhone[21];
};

// Array of word 7 of code 1005. 257 bytes.
struct TBlacklistEntry {
    char uri[257];
};

// Codes 1006, 1008, 1025 and 1026 share one 773-byte shape; ClientKit keeps
// them by value in its lists of requests parked during sign-in.
struct tagGroupInvite {          // 1006
    char pGroupName[65];
    char pOwnerURI[257];
    char pOwnerName[65];
    char pGroupURI[257];
    char pReturn[129];
};
struct tagGroupJoin {            // 1008
    char pGroupName[65];
    char pProposerURI[257];
    char pProposerName[65];
    char pReturn1[257];
    char pReturn2[129];
};
struct tagGroupTrsReq {          // 1025, 1026
    char GroupName[65];
    char OldOwnerURI[257];
    char OldOwnerName[65];
    char GroupURI[257];
    char ReturnText[129];
};

// Array of word 2 of code 1022. 1116 bytes.
struct TSearchResultEntry {
    char GroupName[65];
    char GroupURI[257];
    char OwnerURI[257];
    char GSubject[201];
    char GBulletin[201];
    char ID[131];
    int32_t iNeedPermit;
};

// Array pList of code 1032: 341 bytes on 32-bit builds (345 on 64-bit,
// where the text pointer is 8 bytes).
struct THistoryEntry {
    char senderText[39];
    char senderURI[257];
    char time[41];        // Internet date in GMT
    const char* text;
};

// Record of code 1004: a count and 200 slots. 118,404 bytes.
struct TGroupInfoSlot {
    char groupURI[257];
    char groupname[67];
    int32_t groupType;    // 1 contact list; 2, 5, 6 public groups
    int32_t groupUsage;
    char groupOwner[260];
};
constexpr int kMaxGroups = 200;
struct TGroupInfoList {
    int32_t count;
    TGroupInfoSlot groups[kMaxGroups];
};

// Word 1 of code 20037. 268 bytes, zero-filled.
struct THistoryRequest {
    int32_t kind;         // 2
    char groupURI[256];
    int32_t anchor;       // message id to page from, 0 for the first page
    int32_t direction;    // 0 first, 1 previous, -1 next
};

#pragma pack(pop)

constexpr int kMaxMembers = 300;        // member entries of one group (1005)
constexpr int kMaxBlacklist = 100;      // blacklist entries of one group (1005)
constexpr int kMaxSearchResults = 20;   // entries of one search page (1022)
constexpr int kMaxHistoryEntries = 100; // entries of one history answer (1032)

static_assert(sizeof(TGroupSettings) == 808);
static_assert(offsetof(TGroupSettings, name) == 257);
static_assert(offsetof(TGroupSettings, displayName) == 322);
static_assert(offsetof(TGroupSettings, duration) == 388);
static_assert(offsetof(TGroupSettings, visibility) == 392);
static_assert(offsetof(TGroupSettings, needPermit) == 396);
static_assert(offsetof(TGroupSettings, maxMembers) == 400);
static_assert(offsetof(TGroupSettings, subject) == 404);
static_assert(offsetof(TGroupSettings, bulletin) == 605);
static_assert(sizeof(TGroupDescription) == 976);
static_assert(offsetof(TGroupDescription, creator) == 257);
static_assert(offsetof(TGroupDescription, creationTime) == 514);
static_assert(offsetof(TGroupDescription, iDuration) == 556);
static_assert(offsetof(TGroupDescription, iVisi) == 560);
static_assert(offsetof(TGroupDescription, iNeedPermit) == 564);
static_assert(offsetof(TGroupDescription, iMaxMember) == 568);
static_assert(offsetof(TGroupDescription, subject) == 572);
static_assert(offsetof(TGroupDescription, bulletin) == 773);
static_assert(sizeof(TMemberEntry) == 351);
static_assert(offsetof(TMemberEntry, csInfo) == 65);
static_assert(offsetof(TMemberEntry, UserURI) == 73);
static_assert(offsetof(TMemberEntry, csPhone) == 330);
static_assert(sizeof(TBlacklistEntry) == 257);
static_assert(sizeof(tagGroupInvite) == 773 && sizeof(tagGroupJoin) == 773 && sizeof(tagGroupTrsReq) == 773);
static_assert(offsetof(tagGroupInvite, pOwnerURI) == 65);
static_assert(offsetof(tagGroupInvite, pOwnerName) == 322);
static_assert(offsetof(tagGroupInvite, pGroupURI) == 387);
static_assert(offsetof(tagGroupInvite, pReturn) == 644);
static_assert(offsetof(tagGroupJoin, pReturn1) == 387 && offsetof(tagGroupTrsReq, GroupURI) == 387);
static_assert(sizeof(TSearchResultEntry) == 1116);
static_assert(offsetof(TSearchResultEntry, GroupURI) == 65);
static_assert(offsetof(TSearchResultEntry, OwnerURI) == 322);
static_assert(offsetof(TSearchResultEntry, GSubject) == 579);
static_assert(offsetof(TSearchResultEntry, GBulletin) == 780);
static_assert(offsetof(TSearchResultEntry, ID) == 981);
static_assert(offsetof(TSearchResultEntry, iNeedPermit) == 1112);
static_assert(offsetof(THistoryEntry, senderURI) == 39);
static_assert(offsetof(THistoryEntry, time) == 296);
static_assert(offsetof(THistoryEntry, text) == 337);
static_assert(sizeof(THistoryEntry) == 337 + sizeof(void*));
static_assert(sizeof(void*) != 4 || sizeof(THistoryEntry) == 341);
static_assert(sizeof(TGroupInfoSlot) == 592);
static_assert(offsetof(TGroupInfoSlot, groupname) == 257);
static_assert(offsetof(TGroupInfoSlot, groupType) == 324);
static_assert(offsetof(TGroupInfoSlot, groupUsage) == 328);
static_assert(offsetof(TGroupInfoSlot, groupOwner) == 332);
static_assert(sizeof(TGroupInfoList) == 118404);
static_assert(offsetof(TGroupInfoList, groups) == 4);
static_assert(sizeof(THistoryRequest) == 268);
static_assert(offsetof(THistoryRequest, groupURI) == 4);
static_assert(offsetof(THistoryRequest, anchor) == 260);
static_assert(offsetof(THistoryRequest, direction) == 264);

// ---- member profile record ------------------------------------------------

// Shared by host and module (codes 1036, 1037, 1038, 1039, 1043). Texts are
// pointers to zero-terminated GBK strings; in a record that the module hands
// out they stay valid while the member exists, and a record that the host
// sends is copied. A null text reads as empty.
struct TMemberProfile {
    int32_t iHead;
    const char* text1[2];
    int32_t iValue1;
    const char* block1[10];
    const char* ids[3];       // ids[1] is the member URI (the key of code 1036)
    int32_t iValue2;
    const char* block2[13];   // block2[12] is read by 1038 and written by 1039
    int32_t iValue3;
    char area[192];
    const char* tail[2];
};
constexpr int kProfileUriIndex = 1;
constexpr int kProfileTextIndex = 12;

// ---- word records ----------------------------------------------------------

// Code 20008: a group message.
struct TGroupMessageRequest {
    Word one;         // 1
    Word two;         // 2
    Word text;        // marked-up message
    Word time;        // Internet time text
    Word groupURI;
    Word empty;       // ""
    Word summary;     // escaped short summary
    Word zero;        // 0
};

// Slot-6 relay record: open a message window for a member.
struct TMessageWindowRecord {
    Word memberURI;
    Word displayName;
    Word mode;        // 0 instant, 1 offline
    Word zero1;
    Word zero2;
};

// Code 1037: the tree's selection.
struct TSelectionReport {
    Word memberURI;   // "" when not a member item
    Word itemKind;
    Word profile;     // TMemberProfile* or 0
};

// ---- interfaces --------------------------------------------------------------

// What a host implements. Only slots 5, 6 and 7 are called by the module; the
// others keep the shape of the module interface.
class CHostInterface {
public:
    virtual int GetModuleType() { return 0; }                          // 0
    virtual void Init() {}                                             // 1
    virtual void UnInit() {}                                           // 2
    virtual void Reserved() {}                                         // 3
    virtual int CloseMessageBoxes() { return 0; }                      // 4
    virtual int OnMessage(int senderType, int code, void* record) = 0; // 5
    virtual void RelayToHost4(Word, Word, Word, Word) {}               // 6
    virtual void RelayToHost3(Word, Word, Word) {}                     // 7
    virtual int TestFlag(int) { return 1; }                            // 8
    virtual ~CHostInterface() = default;                               // 9
};

// The module object as the host sees it.
class CModuleBase {
public:
    CModuleBase(CHostInterface* host, CHostInterface* host2, QWidget* parent);

    virtual int GetModuleType();                                   // 0
    virtual void Init();                                           // 1
    virtual void UnInit();                                         // 2
    virtual void Reserved();                                       // 3
    virtual int CloseMessageBoxes();                               // 4
    virtual int OnMessage(int senderType, int code, void* record) = 0; // 5
    virtual void RelayToHost4(Word a, Word b, Word c, Word d);     // 6
    virtual void RelayToHost3(Word a, Word b, Word c);             // 7
    virtual int TestFlag(int value);                               // 8
    virtual ~CModuleBase();                                        // 9

    void SetHost(CHostInterface* host) { m_pHost = host; }
    void SetHost2(CHostInterface* host2) { m_pHost2 = host2; }
    void SetFlag(int value) { m_nFlag = value; }
    QWidget* GetParentWnd() const { return m_pParentWnd; }
    bool IsClosing() const { return m_bClosing != 0; }

    int SendToHost(int code, void* record);
    void LogToHost(const char* text, int level);
    void SendTextToHost(int value, const char* text);
    void NotifyHost();
    void SendSkinRequest(Word windowHandle, const char* skinFile, const char* element);
    void SendSkinReset(int value, const char* text);

protected:
    CHostInterface* m_pHost;
    CHostInterface* m_pHost2;
    QWidget* m_pParentWnd;
    int32_t m_bClosing;
    int32_t m_nFlag;
};

} // namespace tarvolan

// The one function that libTarvolan.so exports. The first call creates the
// module object; later calls return it and ignore their arguments. Null when
// the object cannot be allocated.
extern "C" __attribute__((visibility("default")))
tarvolan::CModuleBase* LoadTarvolanModule(tarvolan::CHostInterface* host,
                                        tarvolan::CHostInterface* host2,
                                        QWidget* parent);
