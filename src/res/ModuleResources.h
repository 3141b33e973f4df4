// The module's own resources: its string table, the group context menu and
// the tree images. Every module entry point makes TarvolanResources() the
// current bundle (CResourceSwitch), so LoadResString and the menu and bitmap
// look-ups below find them.
#pragma once

#include "platform/Resources.h"

namespace tarvolan {

// The module's bundle, built on first use and kept for the process.
CResourceBundle* TarvolanResources();

// Filling a bundle (TarvolanResources does both; tests use them directly).
void AddTarvolanStrings(CResourceBundle& bundle);
TMenuItem TarvolanGroupMenu();

// ---- resources -------------------------------------------------------------

constexpr int IDR_GROUP_MENU = 465;   // one popup sub-menu holding the group commands

// The translation contexts of the string table and of the group menu
// (CreatePopupMenu shows the menu's texts translated under it).
inline constexpr char kStringTableContext[] = "ModuleStrings";
inline constexpr char kGroupMenuContext[] = "GroupMenu";
constexpr int IDB_TREE_IMAGES = 133;  // tree image strip, white is transparent

// Tree images: bitmap 133 is a strip of 17 x 17 images. Load it with
// LoadImageList(IDB_TREE_IMAGES, kTreeImageSize) (white becomes transparent).
constexpr int kTreeImageSize = 17;
enum TreeImage : int {
    IMG_EXPANDED = 0,        // open folder: expanded group, and every root
    IMG_GROUP = 1,           // closed folder: collapsed group
    IMG_ONLINE = 2,          // member presence: online
    IMG_BUSY = 3,            // busy
    IMG_AWAY = 4,            // away
    IMG_TALKING = 5,         // on the phone / talking
    IMG_MEMBER = 6,          // member, presence not known yet (the default)
    IMG_OFFLINE = 7,         // offline
    IMG_HIDDEN = 8,          // hidden
    IMG_CUSTOM = 9,          // custom status text
    IMG_REPAST = 10,         // at lunch
    IMG_DO_NOT_DISTURB = 11, // do not disturb
    kTreeImageCount = 12,
};

// ---- commands of menu 465 -----------------------------------------------------

constexpr int IDM_GROUP_CHAT = 13054;         // "群组会话(&T)"
constexpr int IDM_CREATE_GROUP = 13056;       // "创建群组(&C)"
constexpr int IDM_EDIT_GROUP = 13058;         // "编辑群组(&E)"
constexpr int IDM_GROUP_PROPERTIES = 13095;   // "群组属性(&P)"
constexpr int IDM_DELETE_GROUP = 13060;       // "删除群组(&D)"
constexpr int IDM_LEAVE_GROUP = 13071;        // "退出群组(&Q)"
constexpr int IDM_INVITE = 13068;             // "邀请加入(&I)"
constexpr int IDM_REMOVE_MEMBER = 13064;      // "删除成员(&M)"
constexpr int IDM_CHANGE_MY_NAME = 13079;     // "修改我的名字(&N)"
constexpr int IDM_BLACKLIST = 13062;          // "黑名单(&B)"
constexpr int IDM_TRANSFER_GROUP = 13171;     // "转让群组(&W)"
constexpr int IDM_SEARCH_GROUPS = 13066;      // "搜索群组(&S)"
constexpr int IDM_INSTANT_MESSAGE = 32772;    // "发送即时消息(&L)"
constexpr int IDM_OFFLINE_MESSAGE = 32773;    // "发送离线消息(&O)"
constexpr int IDM_MEMBER_PROPERTIES = 32771;  // "成员属性(&Y)"
constexpr int IDM_CHAT_ROOM = 13144;          // "群组聊天室(&R)"

// ---- string table (38000-38116) -------------------------------------------------
// %s marks follow each text; see ModuleStrings.cpp for the texts themselves.

constexpr int IDS_TEXT_TOO_LONG = 38001;
constexpr int IDS_DISPLAY_NAME_EXISTS = 38002;
constexpr int IDS_DISPLAY_NAME_EMPTY = 38003;
constexpr int IDS_INVITE_GROUP_FULL = 38004;        // account, group
constexpr int IDS_ALREADY_INVITED = 38005;          // name
constexpr int IDS_SAYS = 38007;
constexpr int IDS_ACCOUNT_EMPTY = 38008;
constexpr int IDS_COL_SEND_TIME = 38010;
constexpr int IDS_SYSTEM_PROMPT = 38011;
constexpr int IDS_YOU = 38012;
constexpr int IDS_TO_YOU = 38013;
constexpr int IDS_TO = 38014;
constexpr int IDS_WHISPER = 38015;
constexpr int IDS_GROUP_EXISTS_EDIT = 38016;        // name
constexpr int IDS_ROOT_GROUPS = 38017;
constexpr int IDS_ROOT_OWNED = 38018;
constexpr int IDS_ROOT_JOINED = 38019;
constexpr int IDS_GROUP = 38020;
constexpr int IDS_SELECT_GROUP_FIRST = 38021;
constexpr int IDS_JOINED = 38022;
constexpr int IDS_OPERATION_FAILED = 38023;         // URI
constexpr int IDS_BLACKLIST_CAPTION = 38026;
constexpr int IDS_CREATE_CAPTION = 38027;
constexpr int IDS_INVITE_CAPTION = 38028;
constexpr int IDS_PROPERTY_CAPTION = 38029;
constexpr int IDS_SEARCH_CAPTION = 38030;
constexpr int IDS_CHAT_CAPTION = 38031;
constexpr int IDS_INFO_CAPTION = 38032;
constexpr int IDS_GROUP_NAME_EMPTY = 38034;
constexpr int IDS_MAX_MEMBERS_TOO_SMALL = 38035;
constexpr int IDS_CONTACT_ACCOUNT = 38036;
constexpr int IDS_INPUT_EMPTY = 38037;
constexpr int IDS_COL_NUMBER = 38038;
constexpr int IDS_DISPLAY_NAME = 38039;
constexpr int IDS_COL_MEMBER_ACCOUNT = 38040;
constexpr int IDS_COL_MEMBER_STATE = 38041;
constexpr int IDS_COL_OWNER_ACCOUNT = 38042;
constexpr int IDS_GROUP_NAME = 38043;
constexpr int IDS_COL_JOINED = 38044;
constexpr int IDS_MEMBER_NAME = 38045;
constexpr int IDS_NOT_JOINED = 38046;
constexpr int IDS_AWAITING_APPROVAL = 38047;
constexpr int IDS_QUERY = 38048;
constexpr int IDS_QUERY_FAILED = 38049;
constexpr int IDS_QUERYING = 38050;
constexpr int IDS_TOOLTIP_GROUPS = 38051;
constexpr int IDS_CONFIRM_DELETE_GROUP = 38052;     // group
constexpr int IDS_TIP_OWNED = 38054;
constexpr int IDS_MEMBER_ACCOUNT = 38055;
constexpr int IDS_TIP_JOINED = 38056;
constexpr int IDS_GROUP_EXISTS_CREATE = 38058;      // name
constexpr int IDS_CONFIRM_REMOVE_MEMBER = 38060;    // group, member
constexpr int IDS_ALREADY_MEMBER = 38061;           // name
constexpr int IDS_CONFIRM_LEAVE = 38062;            // group
constexpr int IDS_INVITED_ASK = 38063;              // group (after the inviter's name)
constexpr int IDS_INVITE_REFUSED = 38064;           // user, group
constexpr int IDS_INVITE_TIMEOUT = 38065;           // user, group
constexpr int IDS_JOIN_REQUEST_ASK = 38067;         // proposer, group
constexpr int IDS_JOIN_REFUSED = 38068;             // group
constexpr int IDS_JOIN_TIMEOUT = 38069;             // group
constexpr int IDS_CREATE_TIMEOUT = 38070;           // group
constexpr int IDS_EDIT_TIMEOUT = 38071;             // group
constexpr int IDS_CREATE_FAILED = 38072;            // group
constexpr int IDS_EDIT_FAILED = 38073;              // group
constexpr int IDS_DELETE_TIMEOUT = 38074;           // group
constexpr int IDS_DELETE_FAILED = 38075;            // group
constexpr int IDS_INVITE_NO_USER = 38076;           // user, group
constexpr int IDS_INVITE_SEND_TIMEOUT = 38077;      // user, group
constexpr int IDS_INVITE_SEND_FAILED = 38078;       // user, group
constexpr int IDS_REMOVE_MEMBER_TIMEOUT = 38079;    // group, member
constexpr int IDS_REMOVE_MEMBER_FAILED = 38080;     // group, member
constexpr int IDS_LEAVE_TIMEOUT = 38081;            // group
constexpr int IDS_LEAVE_FAILED = 38082;             // group
constexpr int IDS_RENAME_TIMEOUT = 38083;           // group
constexpr int IDS_RENAME_FAILED = 38084;            // group
constexpr int IDS_GROUP_DELETED_BY_ADMIN = 38085;   // group
constexpr int IDS_REMOVED_FROM_GROUP = 38086;       // group
constexpr int IDS_COL_SENDER = 38087;
constexpr int IDS_GROUP_NOT_EMPTY = 38088;
constexpr int IDS_IN_BLACKLIST = 38090;             // name
constexpr int IDS_JOIN_SUCCEEDED = 38091;           // group
constexpr int IDS_GROUP_FULL = 38092;               // group
constexpr int IDS_ROOT_BASIC = 38093;
constexpr int IDS_ROOT_MUTUAL = 38094;
constexpr int IDS_BANNED_WORDS = 38095;
constexpr int IDS_EDIT_CAPTION = 38096;
constexpr int IDS_MEMBER_PHONE = 38097;
constexpr int IDS_COL_SUBJECT = 38098;
constexpr int IDS_COL_BULLETIN = 38099;
constexpr int IDS_CREATE_LIMIT = 38100;
constexpr int IDS_ALL_CONTACTS = 38101;
constexpr int IDS_FETCH_FAILED = 38104;
constexpr int IDS_HISTORY_CAPTION = 38105;
constexpr int IDS_CONFIRM_TRANSFER = 38106;         // group, member
constexpr int IDS_TRANSFER_OFFLINE = 38107;         // member
constexpr int IDS_TRANSFER_SENT = 38108;
constexpr int IDS_TRANSFER_NO_RIGHT = 38109;
constexpr int IDS_TRANSFER_NOT_FOUND = 38110;
constexpr int IDS_TRANSFER_LIMIT = 38111;
constexpr int IDS_TRANSFER_SERVER_ERROR = 38112;
constexpr int IDS_TRANSFER_UNKNOWN = 38113;
constexpr int IDS_TRANSFER_ASK = 38114;             // old owner, group
constexpr int IDS_TRANSFER_AGREED = 38115;          // new owner, group
constexpr int IDS_TRANSFER_REFUSED = 38116;         // new owner, group

// The tree image (an index into the tree image list) for a member's presence
// status and kind: a status of 6 (nothing known) shows the plain member.
int MemberImage(int status, int kind);

} // namespace tarvolan
