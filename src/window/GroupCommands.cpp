// The group commands of the main window. In test mode a command calls the
// window's result handler with a success value right after sending.
//
// A question or dialog lets host messages in while it waits: the window (and
// this object, which belongs to it) may go and groups may be removed
// meanwhile, so every command keeps what it needs by value, holds the
// module's host link itself, and looks its group up again afterwards.
#include "window/GroupCommands.h"

#include <cstdint>

#include <QAbstractButton>
#include <QPointer>

#include "clientkit/ClientKit.h"
#include "controls/SignedInUser.h"
#include "common/TextFunctions.h"
#include "controls/TreeCtrlEx.h"
#include "conversation/TarvolanChatDialog.h"
#include "dialogs/InputTextDialog.h"
#include "dialogs/TarvolanBlackListDialog.h"
#include "dialogs/TarvolanCreateDialog.h"
#include "dialogs/TarvolanInviteDialog.h"
#include "dialogs/TarvolanPropertyDialog.h"
#include "dialogs/TarvolanInfoDialog.h"
#include "dialogs/TarvolanSearchDialog.h"
#include "groups/GroupRequests.h"
#include "window/EventSupport.h"
#include "groups/GroupSettingsRecord.h"
#include "controls/AskInHandler.h"
#include "controls/ModuleContext.h"
#include "controls/Prompts.h"
#include "window/TarvolanDialog.h"
#include "window/TreeItemData.h"
#include "protocol/HostLink.h"
#include "platform/Resources.h"
#include "res/ModuleResources.h"

namespace tarvolan {

namespace {

constexpr int kButtonAdd = 1006;
constexpr int kButtonDelete = 1004;
constexpr int kButtonEdit = 1005;
constexpr int kCreateKind = 2;
constexpr int kDisplayNameMaxLength = 32;
constexpr const char* kTestGroupURI = "newGroupURI";

enum EMessageMode : int { MESSAGE_INSTANT = 0, MESSAGE_OFFLINE = 1 };

// My display name in the group; empty when I am not among its members.
CString MyDisplayName(const CTarvolan& group)
{
    const CTarvolanMember* me = group.FindMember(SignedInURI());
    return me ? me->m_csDisplayName : CString();
}

// The edit dialog's visibility index for a group's visibility: one less, as
// the dialog counts its choices from 0. The lowest int, which has no value one
// less, stays itself; the command saves the group's own value whenever the
// index comes back unchanged.
int32_t VisibilityIndexOf(int32_t visibility)
{
    return visibility > INT32_MIN ? visibility - 1 : visibility;
}

// A group I own with that name in any letter case, other than the group
// with URI except; -1 when none.
int FindOwnedNamesake(const CGroupList& list, const CString& name, const CString& except)
{
    const CString me = SignedInURI();
    for (int i = 0; i < list.Count(); ++i) {
        const TGroupListEntry& e = list[i];
        if (e.kind == GROUP_PUBLIC && e.owner == me && !(e.uri == except) && !e.uri.IsEmpty() &&
            SameGroupName(e.name, name))
            return i;
    }
    return -1;
}

TGroupSettingsValues ReadSettings(const CTarvolanCreateDialog& dialog)
{
    TGroupSettingsValues values;
    values.name = dialog.GetGroupName();
    values.displayName = dialog.GetMyDisplayName();
    values.subject = dialog.GetSubject();
    values.bulletin = dialog.GetBulletin();
    values.duration = dialog.GetDuration();
    values.visibilityIndex = dialog.GetVisibility();
    values.needPermit = dialog.GetNeedPermit();
    values.maxMembers = dialog.GetMaxMembers();
    return values;
}

// The pending creation of a record about to be sent, with its texts as sent.
TPendingCreate PendingCreate(const TGroupSettings& record)
{
    TPendingCreate pending;
    pending.kind = kCreateKind;
    pending.name = CString::FromField(record.name);
    pending.displayName = CString::FromField(record.displayName);
    pending.subject = CString::FromField(record.subject);
    pending.bulletin = CString::FromField(record.bulletin);
    pending.duration = record.duration;
    pending.visibility = record.visibility;
    pending.needPermit = record.needPermit;
    pending.maxMembers = record.maxMembers;
    return pending;
}

void SendTexts(CHostLink& link, int code, const CString& a, const CString& b)
{
    Word record[2] = {TextWord(a), TextWord(b)};
    link.Send(code, record);
}

// A transfer needs the new owner online: a member whose status is unknown
// (6) or hidden (7) cannot take it.
bool UnreachableForTransfer(const CTarvolanMember& member)
{
    return member.m_nStatus == STATUS_UNKNOWN || member.m_nStatus == STATUS_HIDDEN;
}

} // namespace

// ---- routing -------------------------------------------------------------------------

bool CGroupCommands::Run(int id)
{
    switch (id) {
    case kButtonAdd:
    case kButtonDelete:
    case kButtonEdit: OnGroupButton(id); break;
    case IDM_GROUP_CHAT: OnOpenGroupChat(); break;
    case IDM_CREATE_GROUP: OnCreateTarvolan(); break;
    case IDM_EDIT_GROUP: OnEditTarvolan(); break;
    case IDM_GROUP_PROPERTIES: OnShowTarvolanProperties(); break;
    case IDM_DELETE_GROUP: OnDeleteTarvolan(); break;
    case IDM_LEAVE_GROUP: OnLeaveTarvolan(); break;
    case IDM_TRANSFER_GROUP: OnTransferTarvolan(); break;
    case IDM_REMOVE_MEMBER: OnRemoveMember(); break;
    case IDM_INVITE: OnInviteToTarvolan(); break;
    case IDM_CHANGE_MY_NAME: OnChangeMyDisplayName(); break;
    case IDM_INSTANT_MESSAGE: OnMessageMember(MESSAGE_INSTANT); break;
    case IDM_OFFLINE_MESSAGE: OnMessageMember(MESSAGE_OFFLINE); break;
    case IDM_BLACKLIST: OnOpenBlackList(); break;
    case IDM_SEARCH_GROUPS: OnSearchTarvolan(); break;
    case IDM_MEMBER_PROPERTIES:
    case IDM_CHAT_ROOM: break;
    default: return false;
    }
    return true;
}

// The buttons do nothing while the client logs out; either way the button
// is left unchecked and the window takes the focus.
void CGroupCommands::OnGroupButton(int id)
{
    CTarvolanDialog& window = m_window;
    const auto done = AskInHandler(&window, [&] {
        if (GetAppLogoutStatus() != 0) return false;
        if (id == kButtonAdd) OnCreateTarvolan();
        else if (id == kButtonDelete) OnDeleteTarvolan();
        else OnEditTarvolan();
        return true;
    });
    if (!done.WindowAlive()) return;
    if (auto* button = qobject_cast<QAbstractButton*>(window.GetDlgItem(id))) {
        const bool exclusive = button->autoExclusive();  // a checked exclusive radio button cannot uncheck itself
        button->setAutoExclusive(false);
        button->setChecked(false);
        button->setAutoExclusive(exclusive);
    }
    window.setFocus();
}

QTreeWidgetItem* CGroupCommands::SelectedItem() const
{
    return m_window.Tree() ? m_window.Tree()->currentItem() : nullptr;
}

CHostLink& CGroupCommands::Link() const
{
    return m_context.Link();
}

CGroupData& CGroupCommands::Data() const
{
    return m_window.Data();
}

// ---- 13054 --------------------------------------------------------------------------------

// The user asked for it: an open conversation comes to the front too.
void CGroupCommands::OnOpenGroupChat()
{
    CTarvolan* group = ItemGroup(SelectedItem());
    if (group) BringToFront(m_window.ChatWindows().Open(*group));
}

// ---- 13056 --------------------------------------------------------------------------------

void CGroupCommands::OnCreateTarvolan()
{
    if (GetTarvolanCreateRight() == 0) return;
    CTarvolanCreateDialog dialog(Link());
    const auto asked = AskInHandler(&m_window, [&] { return dialog.DoModal(); });
    if (!asked.WindowAlive() || asked.Answer() != IDOK) return;
    const TGroupSettingsValues values = ReadSettings(dialog);
    if (const int i = FindOwnedNamesake(Data().GroupList(), values.name, CString()); i >= 0) {
        ShowNotice(&m_window, ResText(IDS_GROUP_EXISTS_CREATE, Data().GroupList()[i].name));
        return;
    }
    TGroupSettings record = MakeGroupSettings(CString(), values);
    const TPendingCreate pending = PendingCreate(record);
    // Recorded first: a host that answers at once finds it.
    Data().PendingCreates().push_back(pending);
    m_window.SetTimer(CTarvolanDialog::kTimerPendingCreate, CTarvolanDialog::kPendingCreatePeriodMs);
    Link().Send(M_SaveGroup, &record);
    if (asked.WindowAlive() && m_window.m_bTestMode) m_window.Results().OnCreateResult(pending.name, kTestGroupURI, 201);
}

// ---- 13058 --------------------------------------------------------------------------------

void CGroupCommands::OnEditTarvolan()
{
    QTreeWidgetItem* item = SelectedItem();
    const CTarvolan* group = ItemKind(item) == ITEM_OWNED_GROUP ? ItemGroup(item) : nullptr;
    if (!group) return;
    CHostLink& link = Link();  // the window may go with the request below
    const CString uri = group->URI();
    const CString keptDisplayName = MyDisplayName(*group);
    CTarvolanCreateDialog dialog(link);
    dialog.SetGroupName(group->m_csName);
    dialog.SetDuration(group->m_nDuration);
    const int32_t visibility = group->m_nVisibility;
    const int32_t visibilityIndex = VisibilityIndexOf(visibility);
    dialog.SetVisibility(visibilityIndex);
    dialog.SetNeedPermit(group->m_nNeedPermit);
    dialog.SetMaxMembers(group->m_nMaxMembers);
    dialog.SetSubject(group->m_csSubject);
    dialog.SetBulletin(group->m_csBulletin);
    dialog.SetMyDisplayName(keptDisplayName);

    const auto asked = AskInHandler(&m_window, [&] { return dialog.DoModal(); });
    group = asked.Refind([&] { return Data().TreeModel().FindGroup(uri); });
    if (asked.Answer() != IDOK || !group) return;  // or removed while the dialog was open
    const TGroupSettingsValues values = ReadSettings(dialog);
    if (const int i = FindOwnedNamesake(Data().GroupList(), values.name, uri); i >= 0) {
        ShowNotice(&m_window, ResText(IDS_GROUP_EXISTS_EDIT, Data().GroupList()[i].name));
        return;
    }
    TGroupSettings record = MakeGroupSettings(uri, values);
    if (values.visibilityIndex == visibilityIndex) record.visibility = visibility;  // left as it was
    link.Send(M_SaveGroup, &record);
    CString line;
    line.Format("CTarvolanDialog::OnEditTarvolan(): GroupURI=%s, GroupName=%s, MyDispName=%s, MaxMember=%d, "
                "NeedPermit=%i, visibility=%lld, Subject=%s, Bulletin=%s",
                CString::FromField(record.uri).c_str(), CString::FromField(record.name).c_str(), CString::FromField(record.displayName).c_str(),
                record.maxMembers, record.needPermit, record.visibility + 1LL, CString::FromField(record.subject).c_str(),
                CString::FromField(record.bulletin).c_str());
    link.Log(line, 1);
    if (!(values.displayName == keptDisplayName)) SendTexts(link, M_ChangeDisplayName, uri, values.displayName);
    if (!asked.WindowAlive()) return;
    m_window.ShowGroupName(uri);
    if (m_window.m_bTestMode) m_window.Results().OnCreateResult(CString::FromField(record.name), uri, 201);
}

// ---- 13095 --------------------------------------------------------------------------------

void CGroupCommands::OnShowTarvolanProperties()
{
    QTreeWidgetItem* item = SelectedItem();
    const CTarvolan* group = ItemGroup(item);
    if (!group) return;
    CTarvolanPropertyDialog dialog(Link(), &Data());
    dialog.SetGroupURI(group->URI());
    dialog.SetGroupName(group->m_csName);
    dialog.SetCreator(GetURIField(group->m_csCreator, URI_ADDRESS));
    dialog.SetOwner(GetURIField(group->m_csOwnerURI, URI_ADDRESS));
    dialog.SetRole(ItemKind(item) == ITEM_OWNED_GROUP ? CTarvolanPropertyDialog::ROLE_INDEX_CREATOR
                                                       : CTarvolanPropertyDialog::ROLE_INDEX_MEMBER);
    dialog.SetVisibility(CTarvolanPropertyDialog::VisibilityIndex(group->m_nVisibility));
    dialog.SetDuration(group->m_nDuration);
    dialog.SetNeedPermit(group->m_nNeedPermit);
    dialog.SetMaxMembers(group->m_nMaxMembers);
    dialog.SetSubject(group->m_csSubject);
    dialog.SetBulletin(group->m_csBulletin);
    dialog.SetMyDisplayName(MyDisplayName(*group));
    dialog.DoModal();
}

// ---- 13060 --------------------------------------------------------------------------------

void CGroupCommands::OnDeleteTarvolan()
{
    QTreeWidgetItem* item = SelectedItem();
    const CTarvolan* group = ItemKind(item) == ITEM_OWNED_GROUP ? ItemGroup(item) : nullptr;
    if (!group) return;
    if (group->MemberCount() >= 2) {
        ShowNotice(&m_window, LoadResString(IDS_GROUP_NOT_EMPTY));
        return;
    }
    const CString name = group->m_csName, uri = group->URI();
    const auto asked = AskInHandler(&m_window, [&] { return AskYesNo(&m_window, ResText(IDS_CONFIRM_DELETE_GROUP, name)); });
    if (!asked.Answer() || !asked.Refind([&] { return Data().TreeModel().FindGroup(uri); })) return;
    IsInMyRLSList(uri);
    Word record[1] = {TextWord(name)};
    Link().Send(M_DeleteGroup, record);
    if (asked.WindowAlive() && m_window.m_bTestMode) m_window.Results().OnDeleteResult(name, 200);
}

// ---- 13071 --------------------------------------------------------------------------------

void CGroupCommands::OnLeaveTarvolan()
{
    QTreeWidgetItem* item = SelectedItem();
    const CTarvolan* group = ItemKind(item) == ITEM_JOINED_GROUP ? ItemGroup(item) : nullptr;
    if (!group) return;
    const CString name = group->m_csName, uri = group->URI();
    const auto asked = AskInHandler(&m_window, [&] { return AskYesNo(&m_window, ResText(IDS_CONFIRM_LEAVE, name)); });
    if (!asked.Answer() || !asked.Refind([&] { return Data().TreeModel().FindGroup(uri); })) return;
    IsInMyRLSList(uri);
    SendTexts(Link(), M_LeaveGroup, name, uri);
    if (asked.WindowAlive() && m_window.m_bTestMode) m_window.Results().OnLeaveResult(name, uri, 200);
}

// ---- 13062 --------------------------------------------------------------------------------

// The blacklist window of a group I own, in place of the one open before. It
// is filed before it asks for the list, so that an answer at once finds it.
void CGroupCommands::OnOpenBlackList()
{
    QTreeWidgetItem* item = SelectedItem();
    const CTarvolan* group = ItemKind(item) == ITEM_OWNED_GROUP ? ItemGroup(item) : nullptr;
    if (!group) return;
    const CString uri = group->URI();
    auto* window = new CTarvolanBlackListDialog(m_context, &m_window);
    QPointer<CTarvolanBlackListDialog> alive(window);
    m_window.Windows().Open<CGroupBlacklistWindow>(window, window);
    window->SetGroupURI(uri);
    window->SetGroupName(group->m_csName);
    window->Create(&m_window);
    BringToFront(window);  // asked for: it takes the focus, and a reader hears where
    const CGroupRecord* record = alive ? Data().GroupTable().Get(uri) : nullptr;
    if (!record || record->kind != GROUP_PUBLIC) return;
    for (const CString& entry : record->Blacklist()) window->AddBlackListEntry(entry, uri, CTarvolanBlackListDialog::LIST_BLACK);
}

// ---- 13171 --------------------------------------------------------------------------------

void CGroupCommands::OnTransferTarvolan()
{
    QTreeWidgetItem* item = SelectedItem();
    const CTarvolanMember* member = ItemKind(item) == ITEM_OWNED_MEMBER ? ItemMember(item) : nullptr;
    const CTarvolan* group = member ? Data().TreeModel().FindGroup(member->GroupURI()) : nullptr;
    if (!group) return;
    const CString groupURI = group->URI(), memberURI = member->URI(), memberName = member->m_csDisplayName;
    const auto asked =
        AskInHandler(&m_window, [&] { return AskYesNo(&m_window, ResText(IDS_CONFIRM_TRANSFER, group->m_csName, memberName)); });
    member = asked.Refind([&] { return Data().TreeModel().FindMember(groupURI, memberURI); });
    if (!asked.Answer() || !member) return;  // or gone while the question was open
    if (UnreachableForTransfer(*member)) {
        ShowNotice(&m_window, ResText(IDS_TRANSFER_OFFLINE, memberName));
        return;
    }
    SendTexts(Link(), M_TransferGroup, memberURI, groupURI);
}

// ---- 13064 --------------------------------------------------------------------------------

void CGroupCommands::OnRemoveMember()
{
    QTreeWidgetItem* item = SelectedItem();
    const int kind = ItemKind(item);
    const CTarvolanMember* member =
        kind == ITEM_OWNED_MEMBER || kind == ITEM_JOINED_MEMBER ? ItemMember(item) : nullptr;
    const CTarvolan* group = member ? Data().TreeModel().FindGroup(member->GroupURI()) : nullptr;
    if (!group) return;
    const CString groupURI = group->URI(), groupName = group->m_csName, memberURI = member->URI();
    const auto asked = AskInHandler(
        &m_window, [&] { return AskYesNo(&m_window, ResText(IDS_CONFIRM_REMOVE_MEMBER, groupName, member->m_csDisplayName)); });
    if (!asked.Answer() || !asked.Refind([&] { return Data().TreeModel().FindMember(groupURI, memberURI); }))
        return;
    SendTexts(Link(), M_RemoveMember, memberURI, groupName);
}

// ---- 13068 --------------------------------------------------------------------------------

void CGroupCommands::OnInviteToTarvolan()
{
    QTreeWidgetItem* item = SelectedItem();
    const CTarvolan* group = ItemKind(item) == ITEM_OWNED_GROUP ? ItemGroup(item) : nullptr;
    if (!group) return;
    const CString groupURI = group->URI(), groupName = group->m_csName;
    CTarvolanInviteDialog dialog(Link());
    const auto asked = AskInHandler(&m_window, [&] { return dialog.DoModal(); });
    group = asked.Refind([&] { return Data().TreeModel().FindGroup(groupURI); });
    if (asked.Answer() != IDOK || !group) return;  // or removed while the dialog was open
    const CString account = dialog.GetInviteeURI();
    if (account.IsEmpty()) return;
    const CString name = GetURIField(account, URI_USER);

    int refusal = 0;
    if (Data().IsInvitePending(account, groupName)) refusal = IDS_ALREADY_INVITED;
    else if (group->FindMember(account)) refusal = IDS_ALREADY_MEMBER;
    else if (Data().IMSUserIsInOnePubGroup(groupURI, account, 2, 2)) refusal = IDS_IN_BLACKLIST;
    if (refusal != 0) {
        ShowNotice(&m_window, ResText(refusal, name));
        return;
    }
    CString line;
    line.Format("bIMSInviteSomeoneToMyPublicGroup, pUserURI=%s,Name=%s", account.c_str(), name.c_str());
    WriteLog(line, 0);
    Word record[3] = {TextWord(account), TextWord(name), TextWord(groupName)};
    Link().Send(M_InviteMember, record);
    if (!asked.WindowAlive() || !m_window.m_bTestMode) return;
    m_window.Results().OnInviteSendResult(account, name, groupName, 200);
    if (asked.WindowAlive()) m_window.Invitations().OnInviteResult(groupName, account, 1);
}

// ---- 13079 --------------------------------------------------------------------------------

void CGroupCommands::OnChangeMyDisplayName()
{
    QTreeWidgetItem* item = SelectedItem();
    const int kind = ItemKind(item);
    const CTarvolanMember* member =
        kind == ITEM_OWNED_MEMBER || kind == ITEM_JOINED_MEMBER ? ItemMember(item) : nullptr;
    if (!member || !Data().TreeModel().FindGroup(member->GroupURI())) return;
    const CString groupURI = member->GroupURI();
    CInputTextDialog dialog(Link());
    dialog.SetLabel(LoadResString(IDS_DISPLAY_NAME));
    dialog.SetMaxLength(kDisplayNameMaxLength);
    const auto asked = AskInHandler(&m_window, [&] { return dialog.DoModal(); });
    if (asked.Answer() != IDOK || !asked.Refind([&] { return Data().TreeModel().FindGroup(groupURI); })) return;
    CString name = dialog.GetText();
    name.Trim();
    if (name.IsEmpty()) {
        ShowNotice(&m_window, LoadResString(IDS_DISPLAY_NAME_EMPTY));
        return;
    }
    if (const CGroupRecord* record = Data().GroupTable().Get(groupURI)) {
        for (const TMemberSlot& slot : record->Members()) {
            if (slot.displayName == name) {
                ShowNotice(&m_window, LoadResString(IDS_DISPLAY_NAME_EXISTS));
                return;
            }
        }
    }
    SendTexts(Link(), M_ChangeDisplayName, groupURI, name);
}

// ---- 13066 --------------------------------------------------------------------------------

// The open information window is replaced only once the search is
// confirmed; the new one shows page 1 and keeps the search for its page
// buttons.
void CGroupCommands::OnSearchTarvolan()
{
    CTarvolanSearchDialog dialog(Link(), m_window.m_nShowFlag);
    const auto asked = AskInHandler(&m_window, [&] { return dialog.DoModal(); });
    if (!asked.WindowAlive() || asked.Answer() != IDOK) return;
    const bool byCreator = dialog.GetMode() == CTarvolanSearchDialog::MODE_CREATOR;
    const int kind = byCreator ? SEARCH_BY_CREATOR : SEARCH_BY_NAME;
    const CString text = byCreator ? CTarvolanSearchDialog::CompleteCreatorURI(dialog.GetCreatorURI(), GetIMSDomain())
                                   : dialog.GetKeyword();
    const CString domain = dialog.GetDomain();

    auto* info = new CTarvolanInfoDialog(Link(), Data());
    m_window.Windows().Open<CGroupInfoWindow>(info, info);
    info->Create();
    info->show();
    info->BeginSearch(kind, text, domain);
    SendSearchRequest(Link(), kind, text, 1, domain);
}

// ---- 32772, 32773 -------------------------------------------------------------------------

void CGroupCommands::OnMessageMember(int mode)
{
    QTreeWidgetItem* item = SelectedItem();
    const int kind = ItemKind(item);
    const CTarvolanMember* member =
        kind == ITEM_OWNED_MEMBER || kind == ITEM_JOINED_MEMBER ? ItemMember(item) : nullptr;
    CModuleBase* module = Link().Module();
    if (!member || !module) return;
    const CString uri = member->URI(), name = member->m_csDisplayName;
    TMessageWindowRecord record{TextWord(uri), TextWord(name), mode, 0, 0};
    module->RelayToHost4(kRelayTarget, kRelayOpenMessageWindow, reinterpret_cast<Word>(&record), 1);
}

} // namespace tarvolan
