#include "protocol/RecordTable.h"

#include <algorithm>
#include <initializer_list>
#include <type_traits>

namespace tarvolan {

namespace {

// ---- packed blocks ------------------------------------------------------------

template <class M> constexpr EField KindOf()
{
    if constexpr (std::is_array_v<M> && std::is_pointer_v<std::remove_extent_t<M>>) return EField::Texts;
    else if constexpr (std::is_array_v<M>) return EField::Chars;
    else if constexpr (std::is_pointer_v<M>) return EField::Text;
    else {
        static_assert(std::is_same_v<M, int32_t>, "a block field is characters, a text pointer or an int32_t");
        return EField::Int32;
    }
}

#define FIELD(S, m) TField{#m, offsetof(S, m), sizeof(S::m), KindOf<decltype(S::m)>()}

constexpr TField kGroupSettingsFields[] = {
    FIELD(TGroupSettings, uri), FIELD(TGroupSettings, name), FIELD(TGroupSettings, displayName),
    FIELD(TGroupSettings, duration), FIELD(TGroupSettings, visibility), FIELD(TGroupSettings, needPermit),
    FIELD(TGroupSettings, maxMembers), FIELD(TGroupSettings, subject), FIELD(TGroupSettings, bulletin)};
constexpr TBlockLayout kGroupSettings{"TGroupSettings", sizeof(TGroupSettings), kGroupSettingsFields};

constexpr TField kGroupDescriptionFields[] = {
    FIELD(TGroupDescription, owner), FIELD(TGroupDescription, creator), FIELD(TGroupDescription, creationTime),
    FIELD(TGroupDescription, iDuration), FIELD(TGroupDescription, iVisi), FIELD(TGroupDescription, iNeedPermit),
    FIELD(TGroupDescription, iMaxMember), FIELD(TGroupDescription, subject), FIELD(TGroupDescription, bulletin)};
constexpr TBlockLayout kGroupDescription{"TGroupDescription", sizeof(TGroupDescription), kGroupDescriptionFields};

constexpr TField kMemberEntryFields[] = {
    FIELD(TMemberEntry, DisplayName), FIELD(TMemberEntry, csInfo), FIELD(TMemberEntry, UserURI),
    FIELD(TMemberEntry, csPhone)};
constexpr TBlockLayout kMemberEntry{"TMemberEntry", sizeof(TMemberEntry), kMemberEntryFields};

constexpr TField kBlacklistEntryFields[] = {FIELD(TBlacklistEntry, uri)};
constexpr TBlockLayout kBlacklistEntry{"TBlacklistEntry", sizeof(TBlacklistEntry), kBlacklistEntryFields};

constexpr TField kGroupInviteFields[] = {
    FIELD(tagGroupInvite, pGroupName), FIELD(tagGroupInvite, pOwnerURI), FIELD(tagGroupInvite, pOwnerName),
    FIELD(tagGroupInvite, pGroupURI), FIELD(tagGroupInvite, pReturn)};
constexpr TBlockLayout kGroupInvite{"tagGroupInvite", sizeof(tagGroupInvite), kGroupInviteFields};

constexpr TField kGroupJoinFields[] = {
    FIELD(tagGroupJoin, pGroupName), FIELD(tagGroupJoin, pProposerURI), FIELD(tagGroupJoin, pProposerName),
    FIELD(tagGroupJoin, pReturn1), FIELD(tagGroupJoin, pReturn2)};
constexpr TBlockLayout kGroupJoin{"tagGroupJoin", sizeof(tagGroupJoin), kGroupJoinFields};

constexpr TField kGroupTransferFields[] = {
    FIELD(tagGroupTrsReq, GroupName), FIELD(tagGroupTrsReq, OldOwnerURI), FIELD(tagGroupTrsReq, OldOwnerName),
    FIELD(tagGroupTrsReq, GroupURI), FIELD(tagGroupTrsReq, ReturnText)};
constexpr TBlockLayout kGroupTransfer{"tagGroupTrsReq", sizeof(tagGroupTrsReq), kGroupTransferFields};

constexpr TField kSearchResultFields[] = {
    FIELD(TSearchResultEntry, GroupName), FIELD(TSearchResultEntry, GroupURI), FIELD(TSearchResultEntry, OwnerURI),
    FIELD(TSearchResultEntry, GSubject), FIELD(TSearchResultEntry, GBulletin), FIELD(TSearchResultEntry, ID),
    FIELD(TSearchResultEntry, iNeedPermit)};
constexpr TBlockLayout kSearchResult{"TSearchResultEntry", sizeof(TSearchResultEntry), kSearchResultFields};

constexpr TField kHistoryEntryFields[] = {
    FIELD(THistoryEntry, senderText), FIELD(THistoryEntry, senderURI), FIELD(THistoryEntry, time),
    FIELD(THistoryEntry, text)};
constexpr TBlockLayout kHistoryEntry{"THistoryEntry", sizeof(THistoryEntry), kHistoryEntryFields};

constexpr TField kGroupInfoSlotFields[] = {
    FIELD(TGroupInfoSlot, groupURI), FIELD(TGroupInfoSlot, groupname), FIELD(TGroupInfoSlot, groupType),
    FIELD(TGroupInfoSlot, groupUsage), FIELD(TGroupInfoSlot, groupOwner)};
constexpr TBlockLayout kGroupInfoSlot{"TGroupInfoSlot", sizeof(TGroupInfoSlot), kGroupInfoSlotFields};

constexpr TField kHistoryRequestFields[] = {
    FIELD(THistoryRequest, kind), FIELD(THistoryRequest, groupURI), FIELD(THistoryRequest, anchor),
    FIELD(THistoryRequest, direction)};
constexpr TBlockLayout kHistoryRequest{"THistoryRequest", sizeof(THistoryRequest), kHistoryRequestFields};

constexpr TField kProfileFields[] = {
    FIELD(TMemberProfile, iHead), FIELD(TMemberProfile, text1), FIELD(TMemberProfile, iValue1),
    FIELD(TMemberProfile, block1), FIELD(TMemberProfile, ids), FIELD(TMemberProfile, iValue2),
    FIELD(TMemberProfile, block2), FIELD(TMemberProfile, iValue3), FIELD(TMemberProfile, area),
    FIELD(TMemberProfile, tail)};
constexpr TBlockLayout kProfile{"TMemberProfile", sizeof(TMemberProfile), kProfileFields};

#undef FIELD

// ---- word records ----------------------------------------------------------------

constexpr TWord T(const char* name) { return {name, EWord::Text}; }
constexpr TWord I(const char* name) { return {name, EWord::Int}; }
constexpr TWord B(const char* name, const TBlockLayout& block) { return {name, EWord::Block, &block}; }
constexpr TWord P(const char* name) { return {name, EWord::Profile, &kProfile}; }
// A count word; the array word that names it links it.
constexpr TWord N(const char* name) { return {name, EWord::Count}; }
constexpr TWord A(const char* name, const TBlockLayout& entry, int countWord, int limit)
{
    return {name, EWord::Array, &entry, countWord, limit};
}
constexpr TWord Out(TWord word)
{
    word.out = true;
    return word;
}
constexpr TWord Unread(TWord word)
{
    word.unread = true;
    return word;
}

constexpr TRecordLayout Words(EDirection direction, int code, std::initializer_list<TWord> words)
{
    TRecordLayout r;
    r.code = code;
    r.direction = direction;
    for (const TWord& word : words) r.wordSlots[r.wordCount++] = word;  // more than kMaxRecordWords does not compile
    for (size_t i = 0; i < r.wordCount; ++i) {
        const TWord& array = r.wordSlots[i];
        if (array.kind != EWord::Array) continue;
        TWord& count = r.wordSlots[static_cast<size_t>(array.link)];
        count.link = static_cast<int>(i);
        count.limit = array.limit;
    }
    return r;
}
constexpr TRecordLayout Whole(EDirection direction, int code, EShape shape, const TBlockLayout& block)
{
    TRecordLayout r;
    r.code = code;
    r.direction = direction;
    r.shape = shape;
    r.block = &block;
    return r;
}
constexpr TRecordLayout HostWords(int code, std::initializer_list<TWord> words)
{
    return Words(EDirection::ToModule, code, words);
}
constexpr TRecordLayout ModuleWords(int code, std::initializer_list<TWord> words)
{
    return Words(EDirection::ToHost, code, words);
}
constexpr TRecordLayout HostBlock(int code, const TBlockLayout& block)
{
    return Whole(EDirection::ToModule, code, EShape::Block, block);
}

constexpr TRecordLayout kRecords[] = {
    // host -> module
    HostWords(H_BlacklistEntry, {T("pURI"), T("pGroupURI"), I("iListKind")}),
    HostWords(H_BlacklistChanged, {I("iSuccess"), T("pURI"), T("pGroup"), I("iOperation"), I("iListKind")}),
    HostWords(H_XmlInvitation, {T("pFrom"), Unread(T("pSecond")), I("iType"), T("pBody")}),
    Whole(EDirection::ToModule, H_GroupInfoList, EShape::GroupList, kGroupInfoSlot),
    HostWords(H_OnePublicGroup, {T("pGroupName"), T("pGroupURI"), I("iMyRole"), B("pInfo", kGroupDescription),
                                 N("iListNum"), A("pList", kMemberEntry, 4, kMaxMembers), N("iBlacklistNum"),
                                 A("pBlacklist", kBlacklistEntry, 6, kMaxBlacklist)}),
    HostBlock(H_InvitedToGroup, kGroupInvite),
    HostWords(H_InviteResult, {T("pGroupName"), T("pInvitedUserURI"), I("pReturn")}),
    HostBlock(H_JoinRequest, kGroupJoin),
    HostWords(H_JoinRequestResult, {T("pGroupURI"), T("pGroupName"), I("iResult")}),
    HostWords(H_MemberNotify, {I("iType"), T("pGroupName"), T("pOwnerURI"), T("pMemberURI"), T("pMemberDisplay"),
                               T("pMemberInfo"), T("pMemberPhone")}),
    HostWords(H_ModifyGroupSuccess, {T("pGroupURI"), I("iType"), T("pNewName"), I("iNewValue")}),
    HostWords(H_GroupAttributeChanged, {T("pGroupURI"), I("iType"), T("pName"), I("iValue")}),
    HostWords(H_CreateGroupResult, {T("pGroupName"), T("pGroupURI"), I("iResult")}),
    HostWords(H_DeleteGroupResult, {T("pGroupName"), I("iResult")}),
    HostWords(H_InviteSendResult, {T("pSomeoneURI"), T("pDisplayName"), T("pGroupName"), I("iResult")}),
    HostWords(H_RemoveMemberResult, {T("pSomeoneURI"), T("pGroupName"), I("iResult")}),
    HostWords(H_JoinSendResult, {T("pGroupURI"), T("pGroupIdentifier"), I("iResult")}),
    HostWords(H_LeaveGroupResult, {T("pGroupName"), T("pGroupURI"), I("iResult")}),
    HostWords(H_ChangeNameResult, {T("pGroupURI"), T("pNewDisplayName"), I("iResult")}),
    HostWords(H_GroupDeleted, {T("pGroupURI")}),
    HostWords(H_DeletedFromGroup, {T("pGroupURI")}),
    HostWords(H_SearchResult, {N("iResultNum"), T("pSearchString"),
                               A("pEntries", kSearchResult, 0, kMaxSearchResults)}),
    HostWords(H_SearchFailed, {T("GroupURI")}),
    HostWords(H_TransferAck, {T("GroupURI"), T("NewOwnerURI"), I("Code")}),
    HostBlock(H_TransferRequest, kGroupTransfer),
    HostBlock(H_TransferCancel, kGroupTransfer),
    HostWords(H_TransferResult, {T("GroupURI"), T("NewOwnerURI"), I("Result")}),
    HostWords(H_MemberPresence, {T("pGroupURI"), T("pMemberURI"), T("pPresence"), Unread(I("iReserved"))}),
    HostWords(H_AddBlacklistResult, {T("pGroupName"), T("pDName"), I("iResult")}),
    HostWords(H_DeleteBlacklistResult, {T("pGroupName"), T("pDName"), I("iResult")}),
    HostWords(H_GroupInfoFailed, {T("GroupURI"), I("Result")}),
    HostWords(H_HistoryList, {I("iCode"), I("iType"), T("lpGroupURI"), N("iListNum"),
                              A("pList", kHistoryEntry, 3, kMaxHistoryEntries)}),
    HostWords(H_RebuildMembers, {}),
    HostWords(H_GroupMessage, {I("iType"), T("pGroupAddress"), T("pSenderURI"), T("pText"), Out(I("iHandled"))}),
    HostWords(H_MemberPresence2, {T("pGroupURI"), T("pMemberURI"), T("pPresence"), Unread(I("iReserved"))}),
    Whole(EDirection::ToModule, H_MemberProfile, EShape::Profile, kProfile),
    HostWords(H_GetProfileText, {T("pURI"), Out(T("pText"))}),
    HostWords(H_SetProfileText, {T("pURI"), T("pText")}),
    HostWords(H_FullRowSelect, {I("iValue")}),
    HostWords(H_SignedIn, {}),
    HostWords(H_FindMember, {T("pURI"), Out(P("pProfile")), Out(I("iFound"))}),
    HostWords(H_InviteJoinResult, {I("iKind"), T("pGroupURI"), I("iResult")}),
    HostWords(H_ShowWindow, {I("iShow")}),
    HostWords(H_PlaceWindow, {I("x"), I("y"), I("width"), I("height")}),
    // module -> host
    ModuleWords(M_RequestGroupInfo, {T("pGroupURI")}),
    Whole(EDirection::ToHost, M_SaveGroup, EShape::Block, kGroupSettings),
    ModuleWords(M_ChangeDisplayName, {T("pGroupURI"), T("pNewDisplayName")}),
    ModuleWords(M_DeleteGroup, {T("pGroupName")}),
    ModuleWords(M_LeaveGroup, {T("pGroupName"), T("pGroupURI")}),
    ModuleWords(M_TransferGroup, {T("pNewOwnerURI"), T("pGroupURI")}),
    ModuleWords(M_RemoveMember, {T("pMemberURI"), T("pGroupName")}),
    ModuleWords(M_InviteMember, {T("pAccount"), T("pDisplayName"), T("pGroupName")}),
    ModuleWords(M_SearchGroups, {I("iKind"), T("pSearchText"), I("iPage"), T("pDomain")}),
    ModuleWords(M_AcceptXmlInvitation, {T("pMyURI"), T("pFrom"), I("iType"), T("pBody")}),
    ModuleWords(M_ForwardXmlAcceptance, {T("pJID"), T("pGroupID")}),
    ModuleWords(M_RequestBlacklist, {T("pGroupURI")}),
    ModuleWords(M_WhitelistChange, {T("pURI"), T("pGroup"), I("iOperation"), I("iListKind")}),
    ModuleWords(M_AddBlacklist, {T("pGroupName"), T("pURI")}),
    ModuleWords(M_RemoveBlacklist, {T("pGroupName"), T("pURI")}),
    ModuleWords(M_AnswerInvitation, {T("pOwnerURI"), T("pGroupName"), I("iAnswer"), T("pGroupURI"), T("pReturn")}),
    ModuleWords(M_AnswerJoinRequest, {T("pProposerURI"), I("iAnswer"), T("pReturn1"), T("pReturn2")}),
    ModuleWords(M_AnswerTransfer, {T("GroupURI"), T("OldOwnerURI"), T("pReturn"), I("iAnswer")}),
    ModuleWords(M_ApplyToJoin, {T("pGroupURI"), T("pGroupIdentifier"), T("pDisplayName")}),
    ModuleWords(M_RequestSearchDetails, {T("pOwnerURI"), T("pGroupURI")}),
    ModuleWords(M_SelectionReport, {T("pMemberURI"), I("iItemKind"), P("pProfile")}),
    ModuleWords(M_Log, {T("pText"), I("iLevel"), I("iReserved")}),
    ModuleWords(M_Text, {T("pText"), I("iValue"), I("iReserved")}),
    ModuleWords(M_Notify, {}),
    ModuleWords(M_GroupMessage, {I("iOne"), I("iTwo"), T("pText"), T("pTime"), T("pGroupURI"), T("pEmpty"),
                                 T("pSummary"), I("iZero")}),
    ModuleWords(M_Subscribe, {I("iOne"), T("pGroupURI"), I("iThree")}),
    ModuleWords(M_HistoryRequest, {I("iKind"), B("pRequest", kHistoryRequest)}),
    ModuleWords(M_SkinRequest, {I("iWindow"), T("pSkinFile"), T("pElement")}),
    ModuleWords(M_SkinReset, {I("iValue"), T("pText"), T("pEmpty")}),
};

// ---- the member profile's texts ------------------------------------------------------

constexpr size_t CountProfileTexts()
{
    size_t n = 0;
    for (const TField& field : kProfileFields) n += field.TextCount();
    return n;
}
static_assert(CountProfileTexts() == kProfileTextCount);

// Where each text pointer lies in the record, in record order.
constexpr std::array<size_t, kProfileTextCount> ProfileTextOffsets()
{
    std::array<size_t, kProfileTextCount> offsets{};
    size_t n = 0;
    for (const TField& field : kProfileFields)
        for (size_t k = 0; k < field.TextCount(); ++k) offsets[n++] = field.offset + k * sizeof(const char*);
    return offsets;
}
constexpr std::array<size_t, kProfileTextCount> kProfileTextOffsets = ProfileTextOffsets();
static_assert(kProfileTextOffsets[kProfileTextSlot] ==
              offsetof(TMemberProfile, block2) + kProfileTextIndex * sizeof(const char*));

} // namespace

const TBlockLayout& ProfileLayout() { return kProfile; }

size_t TRecordLayout::Size() const
{
    switch (shape) {
    case EShape::Words: return wordCount * sizeof(Word);
    case EShape::GroupList: return sizeof(TGroupInfoList);
    case EShape::Block:
    case EShape::Profile: return block->size;
    }
    return 0;
}

std::vector<std::string_view> TRecordLayout::FieldNames() const
{
    std::vector<std::string_view> names;
    switch (shape) {
    case EShape::Words:
        for (const TWord& word : Words()) names.push_back(word.name);
        break;
    case EShape::GroupList: names = {kGroupListCount, kGroupListSlots}; break;
    case EShape::Block:
    case EShape::Profile:
        for (const TField& field : block->fields) names.push_back(field.name);
        break;
    }
    return names;
}

std::span<const TRecordLayout> AllRecords() { return kRecords; }

const TRecordLayout* FindRecord(int code)
{
    for (const TRecordLayout& record : kRecords)
        if (record.code == code) return &record;
    return nullptr;
}

const TRecordLayout* FindHostRecord(int code)
{
    const TRecordLayout* record = FindRecord(code);
    return record && record->direction == EDirection::ToModule ? record : nullptr;
}

std::vector<const TBlockLayout*> AllBlockLayouts()
{
    std::vector<const TBlockLayout*> blocks;
    auto add = [&](const TBlockLayout* block) {
        if (block && std::find(blocks.begin(), blocks.end(), block) == blocks.end()) blocks.push_back(block);
    };
    for (const TRecordLayout& record : kRecords) add(record.block);
    for (const TRecordLayout& record : kRecords)
        for (const TWord& word : record.Words()) add(word.block);
    return blocks;
}

std::array<const char**, kProfileTextCount> ProfileTexts(TMemberProfile& profile)
{
    std::array<const char**, kProfileTextCount> texts{};
    char* base = reinterpret_cast<char*>(&profile);
    for (size_t i = 0; i < texts.size(); ++i) texts[i] = reinterpret_cast<const char**>(base + kProfileTextOffsets[i]);
    return texts;
}

std::array<const char* const*, kProfileTextCount> ProfileTexts(const TMemberProfile& profile)
{
    std::array<const char* const*, kProfileTextCount> texts{};
    const char* base = reinterpret_cast<const char*>(&profile);
    for (size_t i = 0; i < texts.size(); ++i)
        texts[i] = reinterpret_cast<const char* const*>(base + kProfileTextOffsets[i]);
    return texts;
}

} // namespace tarvolan
