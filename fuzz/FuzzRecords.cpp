#include "FuzzRecords.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <map>
#include <new>


using namespace tarvolan;

namespace fuzzing {

namespace {

// Word kinds of a record, in word order:
//   s text (sometimes null)     x a word the module does not read (a text)
//   i integer                   n a count for the next array word
//   D group description         M member array        B blacklist array
//   S search result array       H history array       o a word the module writes
// Whole blocks: L group-info list (1004), R request (773 bytes), P profile.
const std::map<int, const char*>& Shapes()
{
    static const std::map<int, const char*> shapes = {
        {H_BlacklistEntry, "ssi"},         {H_BlacklistChanged, "issii"},    {H_XmlInvitation, "sxis"},
        {H_GroupInfoList, "L"},            {H_OnePublicGroup, "ssiDnMnB"},   {H_InvitedToGroup, "R"},
        {H_InviteResult, "ssi"},           {H_JoinRequest, "R"},             {H_JoinRequestResult, "ssi"},
        {H_MemberNotify, "issssss"},       {H_ModifyGroupSuccess, "sisi"},   {H_GroupAttributeChanged, "sisi"},
        {H_CreateGroupResult, "ssi"},      {H_DeleteGroupResult, "si"},      {H_InviteSendResult, "sssi"},
        {H_RemoveMemberResult, "ssi"},     {H_JoinSendResult, "ssi"},        {H_LeaveGroupResult, "ssi"},
        {H_ChangeNameResult, "ssi"},       {H_GroupDeleted, "s"},            {H_DeletedFromGroup, "s"},
        {H_SearchResult, "nsS"},           {H_SearchFailed, "s"},            {H_TransferAck, "ssi"},
        {H_TransferRequest, "R"},          {H_TransferCancel, "R"},          {H_TransferResult, "ssi"},
        {H_MemberPresence, "sssx"},        {H_AddBlacklistResult, "ssi"},    {H_DeleteBlacklistResult, "ssi"},
        {H_GroupInfoFailed, "si"},         {H_HistoryList, "iisnH"},         {H_RebuildMembers, "x"},
        {H_GroupMessage, "issso"},          {H_MemberPresence2, "sssx"},      {H_MemberProfile, "P"},
        {H_GetProfileText, "so"},          {H_SetProfileText, "ss"},         {H_FullRowSelect, "i"},
        {H_SignedIn, "x"},                 {H_FindMember, "soo"},            {H_InviteJoinResult, "isi"},
        {H_ShowWindow, "i"},               {H_PlaceWindow, "iiii"},
    };
    return shapes;
}

// Codes nobody handles get a record of texts, which is valid whatever is read.
constexpr const char* kUnknownShape = "ssssssss";

const char* ShapeOf(int code)
{
    const auto& shapes = Shapes();
    auto it = shapes.find(code);
    return it == shapes.end() ? kUnknownShape : it->second;
}

int ArrayLimit(char kind)
{
    switch (kind) {
    case 'M': return kMaxMembers;
    case 'B': return kMaxBlacklist;
    case 'S': return kMaxSearchResults;
    case 'H': return kMaxHistoryEntries;
    default: return 0;
    }
}

// The limit of the array that the count at shape[i] counts.
int CountLimit(const char* shape, int i)
{
    for (const char* p = shape + i + 1; *p; ++p)
        if (int limit = ArrayLimit(*p)) return limit;
    return 0;
}

template <size_t N> void Print(char (&field)[N], const char* format, int value)
{
    std::snprintf(field, N, format, value);
}

// How the entries of an array are filled.
enum EFill { FILL_ZERO, FILL_NUMBERED, FILL_FEW, FILL_UNTERMINATED, FILL_WORDS, FILL_KINDS };

} // namespace

int ChooseCode(CFuzzInput& in)
{
    constexpr int kFirst = H_BlacklistEntry, kLast = H_InviteJoinResult;
    constexpr int kOdd[] = {H_ShowWindow, H_PlaceWindow, 0, -1, 1000, 1045, 20026, 20039, INT_MIN, INT_MAX};
    const uint8_t choice = in.Byte();
    if (choice <= kLast - kFirst) return kFirst + choice;
    if (choice < 0xF0) return kOdd[choice % std::size(kOdd)];
    return static_cast<int>(in.U32());
}

CHostRecord::CHostRecord(int code, CFuzzInput& in) : m_code(code)
{
    if (in.Pick(16) == 0) return;  // a null record
    const char* shape = ShapeOf(code);
    m_shape = shape;
    switch (shape[0]) {
    case 'L': {
        auto* list = NewBlock<TGroupInfoList>();
        FillGroupInfoList(*list, in);
        m_record = list;
        break;
    }
    case 'R': {
        static_assert(sizeof(tagGroupInvite) == sizeof(tagGroupTrsReq) && sizeof(tagGroupJoin) == sizeof(tagGroupTrsReq));
        auto* request = NewBlock<tagGroupTrsReq>();
        FillRequest(reinterpret_cast<char*>(request), in);
        m_record = request;
        break;
    }
    case 'P': {
        auto* profile = NewBlock<TMemberProfile>();
        FillProfile(*profile, in);
        m_record = profile;
        break;
    }
    default:
        BuildWords(shape, in);
        m_record = m_words.get();
        break;
    }
}

const char* CHostRecord::NewText(const std::string& text)
{
    auto copy = std::make_unique<char[]>(text.size() + 1);
    std::memcpy(copy.get(), text.data(), text.size());
    copy[text.size()] = '\0';
    m_storage.push_back(std::move(copy));
    return m_storage.back().get();
}

const char* CHostRecord::TextOrNull(CFuzzInput& in)
{
    return in.Pick(16) == 0 ? nullptr : NewText(in.Text());
}

template <class T> T* CHostRecord::NewBlock()
{
    auto bytes = std::make_unique<char[]>(sizeof(T));  // zeroed
    m_storage.push_back(std::move(bytes));
    return reinterpret_cast<T*>(m_storage.back().get());
}

template <class T> T* CHostRecord::NewArray(int count)
{
    auto bytes = std::make_unique<char[]>(sizeof(T) * static_cast<size_t>(count));  // zeroed
    m_storage.push_back(std::move(bytes));
    return reinterpret_cast<T*>(m_storage.back().get());
}

void CHostRecord::BuildWords(const char* shape, CFuzzInput& in)
{
    const size_t count = std::strlen(shape);
    m_words.reset(new Word[count]);
    Word lastCount = 0;  // the count word before an array says how much of it to fill
    for (size_t i = 0; i < count; ++i) {
        Word& w = m_words[i];
        switch (shape[i]) {
        case 's':
        case 'x': w = reinterpret_cast<Word>(TextOrNull(in)); break;
        case 'i': w = in.Number(); break;
        case 'n': w = lastCount = in.Count(CountLimit(shape, static_cast<int>(i))); break;
        case 'o': w = in.Flag() ? 0 : 0x5a5a; break;  // the module may overwrite it
        case 'D': {
            auto* info = in.Pick(8) == 0 ? nullptr : NewBlock<TGroupDescription>();
            if (info) FillDescription(*info, in);
            w = reinterpret_cast<Word>(info);
            break;
        }
        default: w = ArrayWord(shape[i], lastCount, in); break;
        }
    }
    m_initial.assign(m_words.get(), m_words.get() + count);
}

// An array of exactly the protocol's limit of entries (or null); the count
// word beside it says how many the module should read. Only those are
// filled: the rest stay zero, so the fill costs what the module reads.
Word CHostRecord::ArrayWord(char kind, Word count, CFuzzInput& in)
{
    if (in.Pick(8) == 0) return 0;
    const int limit = ArrayLimit(kind);
    const int used = static_cast<int>(std::clamp<Word>(count, 0, limit));
    switch (kind) {
    case 'M': {
        auto* entries = NewArray<TMemberEntry>(limit);
        FillMembers(entries, used, in);
        return reinterpret_cast<Word>(entries);
    }
    case 'B': {
        auto* entries = NewArray<TBlacklistEntry>(limit);
        FillBlacklist(entries, used, in);
        return reinterpret_cast<Word>(entries);
    }
    case 'S': {
        auto* entries = NewArray<TSearchResultEntry>(limit);
        FillSearch(entries, used, in);
        return reinterpret_cast<Word>(entries);
    }
    case 'H': {
        auto* entries = NewArray<THistoryEntry>(limit);
        FillHistory(entries, used, in);
        return reinterpret_cast<Word>(entries);
    }
    default: return 0;
    }
}

void CHostRecord::FillGroupInfoList(TGroupInfoList& list, CFuzzInput& in)
{
    list.count = in.Count(kMaxGroups);
    constexpr int kKinds[] = {1, 2, 5, 6, 2, 2, 0, 3};
    const int fill = in.Pick(FILL_KINDS);
    const int few = 1 + in.Pick(8);
    const int used = std::clamp(list.count, 0, kMaxGroups);
    for (int i = 0; i < used; ++i) {
        TGroupInfoSlot& slot = list.groups[i];
        switch (fill) {
        case FILL_ZERO: break;
        case FILL_NUMBERED:
            Print(slot.groupURI, "sip:g%d@groups.test", i + 1);
            Print(slot.groupname, "g%d", i + 1);
            slot.groupType = kKinds[i % 4];
            slot.groupUsage = 1 + i % 4;
            std::strcpy(slot.groupOwner, i % 3 == 0 ? kFuzzMe : "sip:owner@ims.test");
            break;
        case FILL_UNTERMINATED:
            std::memset(slot.groupURI, 'u', sizeof(slot.groupURI));
            std::memset(slot.groupname, 0x81, sizeof(slot.groupname));
            std::memset(slot.groupOwner, 'o', sizeof(slot.groupOwner));
            slot.groupType = kKinds[i % 4];
            break;
        default:  // a few hostile slots, then copies of them
            if (i < few) {
                in.Field(slot.groupURI);
                in.Field(slot.groupname);
                slot.groupType = in.Flag() ? kKinds[in.Pick(8)] : in.Number();
                slot.groupUsage = in.Number();
                in.Field(slot.groupOwner);
            } else {
                slot = list.groups[i % few];
            }
            break;
        }
    }
}

void CHostRecord::FillRequest(char* block, CFuzzInput& in)
{
    // Five character fields packed end to end.
    constexpr size_t kSizes[] = {65, 257, 65, 257, 129};
    for (size_t size : kSizes) {
        in.Field(block, size);
        block += size;
    }
}

void CHostRecord::FillProfile(TMemberProfile& profile, CFuzzInput& in)
{
    auto text = [&](const char*& slot) { slot = in.Pick(4) == 0 ? nullptr : NewText(in.Pick(2) ? in.Word() : in.Text()); };
    profile.iHead = in.Number();
    for (auto& t : profile.text1) text(t);
    profile.iValue1 = in.Number();
    for (auto& t : profile.block1) text(t);
    for (auto& t : profile.ids) text(t);
    profile.iValue2 = in.Number();
    for (auto& t : profile.block2) text(t);
    profile.iValue3 = in.Number();
    in.Field(profile.area);
    for (auto& t : profile.tail) text(t);
}

void CHostRecord::FillDescription(TGroupDescription& info, CFuzzInput& in)
{
    in.Field(info.owner);
    in.Field(info.creator);
    in.Field(info.creationTime);
    info.iDuration = in.Number();
    info.iVisi = in.Number();
    info.iNeedPermit = in.Number();
    info.iMaxMember = in.Number();
    in.Field(info.subject);
    in.Field(info.bulletin);
}

void CHostRecord::FillMembers(TMemberEntry* entries, int count, CFuzzInput& in)
{
    const int fill = in.Pick(FILL_KINDS);
    const int few = 1 + in.Pick(8);
    for (int i = 0; i < count; ++i) {
        TMemberEntry& e = entries[i];
        switch (fill) {
        case FILL_ZERO: break;
        case FILL_NUMBERED:
            Print(e.UserURI, "sip:m%d@ims.test", i + 1);
            Print(e.DisplayName, "m%d", i + 1);
            Print(e.csPhone, "1380000%04d", i);
            if (i % 7 == 0) std::strcpy(e.csInfo, "Forward");
            break;
        case FILL_UNTERMINATED:
            std::memset(&e, i % 2 ? 'A' : 0x81, sizeof(e));
            break;
        case FILL_WORDS:
            if (i < few) std::strcpy(e.UserURI, in.Word().substr(0, sizeof(e.UserURI) - 1).c_str());
            else e = entries[i % few];
            break;
        default:
            if (i < few) {
                in.Field(e.DisplayName);
                in.Field(e.csInfo);
                in.Field(e.UserURI);
                in.Field(e.csPhone);
            } else {
                e = entries[i % few];  // the same member again
            }
            break;
        }
    }
}

void CHostRecord::FillBlacklist(TBlacklistEntry* entries, int count, CFuzzInput& in)
{
    const int fill = in.Pick(FILL_KINDS);
    const int few = 1 + in.Pick(8);
    for (int i = 0; i < count; ++i) {
        switch (fill) {
        case FILL_ZERO: break;
        case FILL_NUMBERED: Print(entries[i].uri, "sip:b%d@ims.test", i + 1); break;
        case FILL_UNTERMINATED: std::memset(entries[i].uri, 'b', sizeof(entries[i].uri)); break;
        default:
            if (i < few) in.Field(entries[i].uri);
            else entries[i] = entries[i % few];
            break;
        }
    }
}

void CHostRecord::FillSearch(TSearchResultEntry* entries, int count, CFuzzInput& in)
{
    const int fill = in.Pick(FILL_KINDS);
    const int few = 1 + in.Pick(4);
    for (int i = 0; i < count; ++i) {
        TSearchResultEntry& e = entries[i];
        switch (fill) {
        case FILL_ZERO: break;
        case FILL_NUMBERED:
            Print(e.GroupName, "s%d", i + 1);
            Print(e.GroupURI, "sip:s%d@groups.test", i + 1);
            std::strcpy(e.OwnerURI, "sip:owner@ims.test");
            Print(e.ID, "%d", 1000 + i);
            e.iNeedPermit = i % 2;
            break;
        case FILL_UNTERMINATED:
            std::memset(&e, 'S', sizeof(e));
            break;
        default:
            if (i < few) {
                in.Field(e.GroupName);
                in.Field(e.GroupURI);
                in.Field(e.OwnerURI);
                in.Field(e.GSubject);
                in.Field(e.GBulletin);
                in.Field(e.ID);
                e.iNeedPermit = in.Number();
            } else {
                e = entries[i % few];
            }
            break;
        }
    }
}

void CHostRecord::FillHistory(THistoryEntry* entries, int count, CFuzzInput& in)
{
    const int fill = in.Pick(FILL_KINDS);
    const int few = 1 + in.Pick(4);
    for (int i = 0; i < count; ++i) {
        THistoryEntry& e = entries[i];
        switch (fill) {
        case FILL_ZERO: break;  // null texts
        case FILL_NUMBERED:
            Print(e.senderText, "m%d", i + 1);
            Print(e.senderURI, "sip:m%d@ims.test", i + 1);
            Print(e.time, "Thu, %02d Jan 2009 10:00:00 GMT", 1 + i % 28);
            e.text = NewText("<property size=\"180\" ></property>message " + std::to_string(i));
            break;
        case FILL_UNTERMINATED:
            std::memset(&e, 'h', offsetof(THistoryEntry, text));
            e.text = nullptr;
            break;
        default:
            if (i < few) {
                in.Field(e.senderText);
                in.Field(e.senderURI);
                in.Field(e.time);
                e.text = TextOrNull(in);
            } else {
                e = entries[i % few];  // shares the text of an earlier entry
            }
            break;
        }
    }
}

void CHostRecord::CheckAnswers() const
{
    if (!m_words || m_initial.empty()) return;
    auto changed = [&](size_t i) { return i < m_initial.size() && m_words[i] != m_initial[i]; };
    if (m_code == H_GetProfileText && changed(1)) {
        const char* text = reinterpret_cast<const char*>(m_words[1]);
        if (text) (void)std::strlen(text);
    }
    if (m_code == H_FindMember && changed(1)) TouchProfile(reinterpret_cast<const TMemberProfile*>(m_words[1]));
}

std::string DescribeText(std::string_view text, size_t shown)
{
    char number[32];
    std::snprintf(number, sizeof(number), "text(%zu) \"", text.size());
    std::string out = number;
    for (size_t k = 0; k < std::min(text.size(), shown); ++k) {
        const unsigned char c = static_cast<unsigned char>(text[k]);
        if (c >= 0x20 && c < 0x7f && c != '"' && c != '\\') {
            out += static_cast<char>(c);
        } else {
            std::snprintf(number, sizeof(number), "\\x%02x", c);
            out += number;
        }
    }
    out += text.size() > shown ? "...\"" : "\"";
    return out;
}

std::string CHostRecord::Describe() const
{
    if (!m_record) return "null";
    if (!m_words) return std::string("block ") + m_shape;
    std::string text;
    char number[32];
    for (size_t i = 0; m_shape[i]; ++i) {
        const Word w = m_words[i];
        text += i ? ", " : "";
        if (std::strchr("sx", m_shape[i])) {
            const char* p = reinterpret_cast<const char*>(w);
            if (!p) {
                text += "null";
                continue;
            }
            text += DescribeText(p);
        } else if (std::strchr("ino", m_shape[i])) {
            std::snprintf(number, sizeof(number), "%d", static_cast<int>(static_cast<int32_t>(w)));
            text += number;
        } else {
            text += w ? std::string(1, m_shape[i]) + "-block" : "null";
        }
    }
    return text;
}

void TouchProfile(const TMemberProfile* profile)
{
    if (!profile) return;
    volatile size_t sum = 0;
    auto touch = [&](const char* text) {
        if (text) sum = sum + std::strlen(text);
    };
    for (const char* t : profile->text1) touch(t);
    for (const char* t : profile->block1) touch(t);
    for (const char* t : profile->ids) touch(t);
    for (const char* t : profile->block2) touch(t);
    for (const char* t : profile->tail) touch(t);
    for (char c : profile->area) sum = sum + static_cast<unsigned char>(c);
    for (int32_t value : {profile->iHead, profile->iValue1, profile->iValue2, profile->iValue3})
        sum = sum + static_cast<uint32_t>(value);
}

} // namespace fuzzing
