// CTarvolanDialog: the module's main window (template 2008). A borderless
// child of the host's window holding three buttons (1006 add, 1004 delete,
// 1005 edit) and the group tree (1000). It owns all group data and every
// child window of the module, and it is the target of every host message but
// 20027: Dispatch decodes the record and calls one handler per code.
#pragma once

#include <cstdint>

#include "common/GbkString.h"
#include "module/TarvolanAbi.h"
#include "platform/Window.h"

class CTreeCtrlEx;
class QTreeWidgetItem;
namespace tarvolan { class CTarvolanModule; }

namespace Ui { class CTarvolanDialog; }

class CTarvolanDialog : public CDialog {
    Q_OBJECT
public:
    enum { IDD = 2008 };
    enum : int { kTimerReplay = 1001, kTimerPendingCreate = 9002, kTimerRecentNames = 9051 };

    explicit CTarvolanDialog(tarvolan::CTarvolanModule* module);
    ~CTarvolanDialog() override;

    // Creates the window from its template as a child of parent.
    bool CreateWindow(QWidget* parent);
    // Start-up preparation (Init) and shut-down clean-up (UnInit).
    void PrepareStartUp();
    void CleanUpShutDown();

    // Decodes a host message and calls its handler. Codes above 20038 are
    // returned unchanged without reading the record.
    intptr_t Dispatch(int code, void* record);

    // Reports the tree's current selection with code 1037 (nothing when no
    // item is selected).
    void ReportSelection();
    // Moves and sizes the window in its parent's coordinates (20038).
    void MoveWindowTo(int x, int y, int width, int height);

    CTreeCtrlEx* Tree() const { return m_pTree; }
    tarvolan::CTarvolanModule* Module() const { return m_pModule; }

    // ---- host message handlers, in code order ----------------------------
    void OnHostBlackListEntry(const char* uri, const char* groupURI, int listKind);                 // 1001
    void OnHostBlackListChanged(int success, const char* uri, const char* group, int operation,
                                int listKind);                                                     // 1002
    void OnIMSXmlMessage(const char* pFrom, int iType, const char* pBody);                          // 1003
    void OnIMSGotGroupInfo(const tarvolan::TGroupInfoList* pList);                                   // 1004
    void OnIMSGotOnePublicGroup(const char* pGroupName, const char* pGroupURI, int iMyRole,
                                const tarvolan::TGroupDescription* pInfo, int iListNum,
                                const tarvolan::TMemberEntry* pList, int iBlacklistNum,
                                const tarvolan::TBlacklistEntry* pBlacklist);                        // 1005
    void OnIMSInvitedToPublicGroup(const tarvolan::tagGroupInvite* pInvite);                         // 1006
    void OnIMSPublicGroupInviteResult(const char* pGroupName, const char* pInvitedUserURI, int pReturn); // 1007
    void OnIMSReqJoinMyPublicGroup(const tarvolan::tagGroupJoin* pJoin);                             // 1008
    void OnIMSReqJoinPublicGroupResult(const char* pGroupURI, const char* pGroupName, int iResult);  // 1009
    void OnIMSPublicGroupMemberNotify(int iType, const char* pGroupName, const char* pOwnerURI,
                                      const char* pMemberURI, const char* pMemberDisplay,
                                      const char* pMemberInfo, const char* pMemberPhone);           // 1010
    void OnIMSModifyPublicGroupSuccess(const char* pGroupURI, int iType, const char* pNewName,
                                       int iNewValue);                                              // 1011
    void OnPublicGroupAttributeChanged(const char* pGroupURI, int iType, const char* pName, int iValue); // 1012
    void OnIMSCreatePublicGroupResult(const char* pGroupName, const char* pGroupURI, int iResult);  // 1013
    void OnIMSDeletePublicGroupResult(const char* pGroupName, int iResult);                         // 1014
    void OnIMSInviteToMyPuGroupSendResult(const char* pSomeoneURI, const char* pDisplayName,
                                          const char* pGroupName, int iResult);                     // 1015
    void OnIMSDelFromMyPuGroupResult(const char* pSomeoneURI, const char* pGroupName, int iResult);  // 1016
    void OnIMSReqJoinPublicGroupSendResult(const char* pGroupURI, const char* pGroupIdentifier,
                                           int iResult);                                            // 1017
    void OnIMSLeavePublicGroupResult(const char* pGroupName, const char* pGroupURI, int iResult);   // 1018
    void OnIMSChangeDPNameInPuGroupResult(const char* pGroupURI, const char* pNewDisplayName,
                                          int iResult);                                             // 1019
    void OnIMSPublicGroupDeleted(const char* pGroupURI);                                            // 1020
    void OnIMSDeleteMeInPublicGroup(const char* pGroupURI);                                         // 1021
    void OnIMSSearchPuGroupResult(int iResultNum, const char* pSearchString,
                                  const tarvolan::TSearchResultEntry* pEntries);                    // 1022
    void OnIMSSearchPublicGroupFailed(const char* groupURI);                                        // 1023
    void OnIMSTransferPublicGroupAck(const char* groupURI, const char* newOwnerURI, int code);       // 1024
    void OnIMSTransferPublicGroupRequest(const tarvolan::tagGroupTrsReq* pRequest);                 // 1025
    void OnIMSTransferPublicGroupCancel(const tarvolan::tagGroupTrsReq* pRequest);                  // 1026
    void OnIMSTransferPublicGroupResult(const char* groupURI, const char* newOwnerURI, int result);  // 1027
    void OnIMSMemberPresenceChanged(const char* groupURI, const char* memberURI, const char* presence); // 1028, 1035
    void OnIMSAddGroupBlacklistMemResult(const char* pGroupName, const char* pDName, int iResult);  // 1029
    void OnIMSDeletGroupBlacklistMemResult(const char* pGroupName, const char* pDName, int iResult); // 1030
    void OnIMSGetPublicGroupInfoListFailed(const char* groupURI, int result);                       // 1031
    void OnIMSGotGroupHistoryMsgList(int iCode, int iType, const char* lpGroupURI, int iListNum,
                                     const tarvolan::THistoryEntry* pList);                         // 1032
    void OnRebuildMembersFromTable();                                                               // 1033
    // Returns true when the message was handled (the dispatcher then writes
    // 1 into word 4 of the record).
    bool OnIMSGotGroupMessage(int iType, const char* pGroupAddress, const char* pSenderURI,
                              const char* pText);                                                   // 1034
    void OnIMSMemberProfileChanged(const tarvolan::TMemberProfile* pProfile);                       // 1036
    // The profile text of the first member with that URI; "" when none.
    const char* OnGetMemberProfileText(const char* uri);                                            // 1038
    void OnSetMemberProfileText(const char* uri, const char* text);                                 // 1039
    void SetFullRowSelect(int value);                                                               // 1040
    void OnHostSignedIn();                                                                          // 1041
    // The profile record of a member with that URI (any group, case-insensitive); null when none.
    tarvolan::TMemberProfile* OnFindMemberProfile(const char* uri);                                 // 1043
    void OnIMSInviteJoinResult(int kind, const char* groupURI, int iResult);                        // 1044

    // Window timers: 1001 replay of parked requests, 9002 pending creations,
    // 9051 recent contact-list names.
    void OnTimer(int id) override;
    bool OnCommand(int id, intptr_t lParam) override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void LayoutControls();
    void ApplySkins();
    // For a member item: its URI and profile record (filled first from the
    // signed-in user's data when still empty). False for other items.
    bool DescribeMemberItem(QTreeWidgetItem* item, CString& uri, tarvolan::TMemberProfile*& profile);

    tarvolan::CTarvolanModule* m_pModule;
    Ui::CTarvolanDialog* m_pUi = nullptr;
    CTreeCtrlEx* m_pTree = nullptr;
    bool m_bCreated = false;
};

// The main window; null while none exists.
extern CTarvolanDialog* g_pTarvolanDialog;
