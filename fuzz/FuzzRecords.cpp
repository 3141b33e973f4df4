#include "FuzzRecords.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <string_view>

using namespace tarvolan;

namespace fuzzing {

namespace {

// Codes nobody handles get a record of eight texts, which is valid whatever
// is read; a record without words gets one text that nobody should read.
constexpr TWord kUnknownWords[8] = {{"", EWord::Text}, {"", EWord::Text}, {"", EWord::Text}, {"", EWord::Text},
                                    {"", EWord::Text}, {"", EWord::Text}, {"", EWord::Text}, {"", EWord::Text}};
constexpr TWord kSpareWords[1] = {{"", EWord::Text, nullptr, -1, 0, false, true}};

// A value the module may overwrite in an answer word.
constexpr Word kAnswerPlaceholder = 0x5a5a;

template <size_t N> void Print(char (&field)[N], const char* format, int value)
{
    std::snprintf(field, N, format, value);
}

template <class T> T& As(char* block) { return *reinterpret_cast<T*>(block); }

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

CHostRecord::CHostRecord(int code, CFuzzInput& in) : m_pLayout(FindHostRecord(code))
{
    if (in.Pick(16) == 0) return;  // a null record
    if (!m_pLayout) {
        BuildWords(kUnknownWords, in);
        return;
    }
    switch (m_pLayout->shape) {
    case EShape::Words:
        BuildWords(m_pLayout->wordCount ? m_pLayout->Words() : std::span<const TWord>(kSpareWords), in);
        break;
    case EShape::GroupList: {
        auto& list = As<TGroupInfoList>(NewBytes(sizeof(TGroupInfoList)));
        list.count = in.Count(kMaxGroups);
        FillEntries(*m_pLayout->block, reinterpret_cast<char*>(list.groups), std::clamp(list.count, 0, kMaxGroups), in);
        m_record = &list;
        break;
    }
    case EShape::Block:
    case EShape::Profile: {
        char* block = NewBytes(m_pLayout->block->size);
        FillBlock(*m_pLayout->block, block, in);
        m_record = block;
        break;
    }
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

char* CHostRecord::NewBytes(size_t size)
{
    m_storage.push_back(std::make_unique<char[]>(size));  // zeroed
    return m_storage.back().get();
}

void CHostRecord::BuildWords(std::span<const TWord> words, CFuzzInput& in)
{
    m_layoutWords = words;
    m_words.reset(new Word[words.size()]);
    for (size_t i = 0; i < words.size(); ++i) {
        const TWord& word = words[i];
        Word& w = m_words[i];
        if (word.out) {
            w = in.Flag() ? 0 : kAnswerPlaceholder;
            continue;
        }
        if (word.unread) {  // any value will do: a text, so that a wrong read stays defined
            w = reinterpret_cast<Word>(TextOrNull(in));
            continue;
        }
        switch (word.kind) {
        case EWord::Text: w = reinterpret_cast<Word>(TextOrNull(in)); break;
        case EWord::Int: w = in.Number(); break;
        case EWord::Count: w = in.Count(word.limit); break;
        case EWord::Block:
        case EWord::Profile: {
            char* block = in.Pick(8) == 0 ? nullptr : NewBytes(word.block->size);
            if (block) FillBlock(*word.block, block, in);
            w = reinterpret_cast<Word>(block);
            break;
        }
        case EWord::Array: {
            // Every count word comes before its array in the host's records.
            const bool counted = word.link >= 0 && static_cast<size_t>(word.link) < i;
            w = ArrayWord(word, counted ? m_words[static_cast<size_t>(word.link)] : word.limit, in);
            break;
        }
        }
    }
    m_initial.assign(m_words.get(), m_words.get() + words.size());
    m_record = m_words.get();
}

// An array of exactly the protocol's limit of entries (or null); the count
// word beside it says how many the module should read. Only those are
// filled: the rest stay zero, so the fill costs what the module reads.
Word CHostRecord::ArrayWord(const TWord& word, Word count, CFuzzInput& in)
{
    if (in.Pick(8) == 0) return 0;
    char* first = NewBytes(word.block->size * static_cast<size_t>(word.limit));
    FillEntries(*word.block, first, static_cast<int>(std::clamp<Word>(count, 0, word.limit)), in);
    return reinterpret_cast<Word>(first);
}

// Every field from the input, in layout order.
void CHostRecord::FillBlock(const TBlockLayout& layout, char* block, CFuzzInput& in)
{
    for (const TField& field : layout.fields) {
        char* p = block + field.offset;
        switch (field.kind) {
        case EField::Chars: in.Field(p, field.size); break;
        case EField::Int32: {
            const int32_t value = in.Number();
            std::memcpy(p, &value, sizeof value);
            break;
        }
        case EField::Text: {
            const char* text = TextOrNull(in);
            std::memcpy(p, &text, sizeof text);
            break;
        }
        case EField::Texts:  // a profile's texts: often null, often a protocol word
            for (size_t k = 0; k < field.TextCount(); ++k) {
                const char* text = in.Pick(4) == 0 ? nullptr : NewText(in.Pick(2) ? in.Word() : in.Text());
                std::memcpy(p + k * sizeof text, &text, sizeof text);
            }
            break;
        }
    }
}

void CHostRecord::FillEntries(const TBlockLayout& layout, char* first, int count, CFuzzInput& in)
{
    const int fill = in.Pick(FILL_KINDS);
    const int few = 1 + in.Pick(8);
    for (int i = 0; i < count; ++i) {
        char* entry = first + static_cast<size_t>(i) * layout.size;
        const char* copied = first + static_cast<size_t>(i % few) * layout.size;
        switch (fill) {
        case FILL_ZERO: break;
        case FILL_NUMBERED: FillNumbered(layout, entry, i); break;
        case FILL_UNTERMINATED:  // numbered, then every character field to its last byte
            FillNumbered(layout, entry, i);
            for (const TField& field : layout.fields)
                if (field.kind == EField::Chars) std::memset(entry + field.offset, i % 2 ? 'A' : 0x81, field.size);
            break;
        case FILL_WORDS:
            if (i < few) FillWords(layout, entry, in);
            else std::memcpy(entry, copied, layout.size);  // the same entry again, texts shared
            break;
        default:
            if (i < few) FillBlock(layout, entry, in);
            else std::memcpy(entry, copied, layout.size);
            break;
        }
    }
}

// Protocol words (addresses, names) in every text, hostile numbers.
void CHostRecord::FillWords(const TBlockLayout& layout, char* entry, CFuzzInput& in)
{
    for (const TField& field : layout.fields) {
        char* p = entry + field.offset;
        if (field.kind == EField::Chars) {
            const std::string word = in.Word().substr(0, field.size - 1);
            std::memcpy(p, word.c_str(), word.size() + 1);
        } else if (field.kind == EField::Int32) {
            const int32_t value = in.Number();
            std::memcpy(p, &value, sizeof value);
        } else if (field.kind == EField::Text) {
            const char* text = NewText(in.Word());
            std::memcpy(p, &text, sizeof text);
        }
    }
}

// A plausible entry number i: addresses and names that later messages of
// the same input can find again.
void CHostRecord::FillNumbered(const TBlockLayout& layout, char* entry, int i)
{
    const std::string_view type = layout.name;
    if (type == "TMemberEntry") {
        auto& e = As<TMemberEntry>(entry);
        Print(e.UserURI, "sip:m%d@ims.test", i + 1);
        Print(e.DisplayName, "m%d", i + 1);
        Print(e.csPhone, "1380000%04d", i);
        if (i % 7 == 0) std::strcpy(e.csInfo, "Forward");
    } else if (type == "TBlacklistEntry") {
        Print(As<TBlacklistEntry>(entry).uri, "sip:b%d@ims.test", i + 1);
    } else if (type == "TSearchResultEntry") {
        auto& e = As<TSearchResultEntry>(entry);
        Print(e.GroupName, "s%d", i + 1);
        Print(e.GroupURI, "sip:s%d@groups.test", i + 1);
        std::strcpy(e.OwnerURI, "sip:owner@ims.test");
        Print(e.ID, "%d", 1000 + i);
        e.iNeedPermit = i % 2;
    } else if (type == "THistoryEntry") {
        auto& e = As<THistoryEntry>(entry);
        Print(e.senderText, "m%d", i + 1);
        Print(e.senderURI, "sip:m%d@ims.test", i + 1);
        Print(e.time, "Thu, %02d Jan 2009 10:00:00 GMT", 1 + i % 28);
        e.text = NewText("<property size=\"180\" ></property>message " + std::to_string(i));
    } else if (type == "TGroupInfoSlot") {
        constexpr int kKinds[] = {1, 2, 5, 6};
        auto& slot = As<TGroupInfoSlot>(entry);
        Print(slot.groupURI, "sip:g%d@groups.test", i + 1);
        Print(slot.groupname, "g%d", i + 1);
        slot.groupType = kKinds[i % 4];
        slot.groupUsage = 1 + i % 4;
        std::strcpy(slot.groupOwner, i % 3 == 0 ? kFuzzMe : "sip:owner@ims.test");
    }
}

void CHostRecord::CheckAnswers() const
{
    if (!m_words || m_initial.empty()) return;
    for (size_t i = 0; i < m_layoutWords.size(); ++i) {
        const TWord& word = m_layoutWords[i];
        if (!word.out || m_words[i] == m_initial[i]) continue;
        if (word.kind == EWord::Text) {
            if (const char* text = reinterpret_cast<const char*>(m_words[i])) (void)std::strlen(text);
        } else if (word.kind == EWord::Profile) {
            TouchProfile(reinterpret_cast<const TMemberProfile*>(m_words[i]));
        }
    }
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
    if (!m_words) return std::string("block ") + (m_pLayout->shape == EShape::GroupList ? "TGroupInfoList" : m_pLayout->block->name);
    std::string text;
    char number[32];
    for (size_t i = 0; i < m_layoutWords.size(); ++i) {
        const TWord& word = m_layoutWords[i];
        const Word w = m_words[i];
        text += i ? ", " : "";
        if ((word.kind == EWord::Text || word.unread) && !word.out) {  // an unread word holds a text
            const char* p = reinterpret_cast<const char*>(w);
            text += p ? DescribeText(p) : "null";
        } else if (word.kind == EWord::Int || word.kind == EWord::Count || word.out) {
            std::snprintf(number, sizeof(number), "%d", static_cast<int>(static_cast<int32_t>(w)));
            text += number;
        } else {
            text += w ? std::string(word.name) + "-block" : "null";
        }
    }
    return text;
}

void TouchProfile(const TMemberProfile* profile)
{
    if (!profile) return;
    volatile size_t sum = 0;
    for (const char* const* text : ProfileTexts(*profile))
        if (*text) sum = sum + std::strlen(*text);
    for (char c : profile->area) sum = sum + static_cast<unsigned char>(c);
    for (int32_t value : {profile->iHead, profile->iValue1, profile->iValue2, profile->iValue3})
        sum = sum + static_cast<uint32_t>(value);
}

} // namespace fuzzing
