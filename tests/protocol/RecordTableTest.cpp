// The record table against the structs of TarvolanAbi.h and the protocol's
// limits.
#include <algorithm>
#include <map>
#include <set>
#include <string_view>

#include <gtest/gtest.h>

#include "protocol/RecordTable.h"

using namespace tarvolan;

namespace {

size_t AlignmentOf(EField kind)
{
    switch (kind) {
    case EField::Chars: return 1;
    case EField::Int32: return alignof(int32_t);
    case EField::Text:
    case EField::Texts: return alignof(const char*);
    }
    return 1;
}

bool SizeFits(const TField& field)
{
    switch (field.kind) {
    case EField::Chars: return field.size > 0;
    case EField::Int32: return field.size == sizeof(int32_t);
    case EField::Text: return field.size == sizeof(const char*);
    case EField::Texts: return field.size > 0 && field.size % sizeof(const char*) == 0;
    }
    return false;
}

} // namespace

// A field that overlaps another, leaves its block, or a gap no padding
// explains (a member the table forgot) is a fault.
TEST(RecordTable, BlockFieldsFollowEachOtherWithinTheirBlock)
{
    for (const TBlockLayout* block : AllBlockLayouts()) {
        SCOPED_TRACE(block->name);
        ASSERT_FALSE(block->fields.empty());
        size_t end = 0;
        for (const TField& field : block->fields) {
            SCOPED_TRACE(field.name);
            EXPECT_TRUE(SizeFits(field));
            ASSERT_GE(field.offset, end) << "overlaps the field before it";
            EXPECT_LT(field.offset - end, AlignmentOf(field.kind)) << "a gap before it";
            end = field.offset + field.size;
        }
        ASSERT_LE(end, block->size);
        EXPECT_LT(block->size - end, alignof(const char*)) << "a gap at the end";
    }
}

TEST(RecordTable, CountWordsAndArrayWordsPointAtEachOtherWithTheProtocolLimit)
{
    const std::map<std::string_view, int> limits = {{"TMemberEntry", kMaxMembers},
                                                    {"TBlacklistEntry", kMaxBlacklist},
                                                    {"TSearchResultEntry", kMaxSearchResults},
                                                    {"THistoryEntry", kMaxHistoryEntries}};
    int arrays = 0;
    for (const TRecordLayout& record : AllRecords()) {
        SCOPED_TRACE(record.code);
        const auto words = record.Words();
        for (size_t i = 0; i < words.size(); ++i) {
            const TWord& word = words[i];
            SCOPED_TRACE(word.name);
            const bool linked = word.kind == EWord::Count || word.kind == EWord::Array;
            if (!linked) {
                EXPECT_EQ(word.link, -1);
                continue;
            }
            ASSERT_GE(word.link, 0);
            ASSERT_LT(static_cast<size_t>(word.link), words.size());
            const TWord& other = words[static_cast<size_t>(word.link)];
            EXPECT_EQ(other.kind, word.kind == EWord::Count ? EWord::Array : EWord::Count);
            EXPECT_EQ(other.link, static_cast<int>(i));
            EXPECT_EQ(other.limit, word.limit);
            if (word.kind == EWord::Array) {
                ++arrays;
                ASSERT_TRUE(word.block);
                ASSERT_TRUE(limits.count(word.block->name)) << word.block->name;
                EXPECT_EQ(word.limit, limits.at(word.block->name));
            }
        }
    }
    EXPECT_EQ(arrays, 4);  // 1005 members and blacklist, 1022, 1032
}

TEST(RecordTable, WordsPointingAtBlocksHaveTheirLayout)
{
    for (const TRecordLayout& record : AllRecords()) {
        SCOPED_TRACE(record.code);
        EXPECT_EQ(record.block == nullptr, record.shape == EShape::Words);
        if (record.shape == EShape::Profile) {
            EXPECT_EQ(record.block, &ProfileLayout());
        }
        for (const TWord& word : record.Words()) {
            SCOPED_TRACE(word.name);
            const bool pointsAtBlocks = word.kind == EWord::Block || word.kind == EWord::Array || word.kind == EWord::Profile;
            EXPECT_EQ(word.block != nullptr, pointsAtBlocks);
            EXPECT_EQ(word.block == &ProfileLayout(), word.kind == EWord::Profile);
            // The module answers only in the host's records.
            EXPECT_TRUE(!word.out || record.direction == EDirection::ToModule);
        }
    }
}

TEST(RecordTable, EveryCodeOnceInItsDirection)
{
    std::set<int> all, host;
    for (const TRecordLayout& record : AllRecords()) {
        EXPECT_TRUE(all.insert(record.code).second) << "twice: " << record.code;
        if (record.direction == EDirection::ToModule) host.insert(record.code);
    }
    std::set<int> expected = {H_ShowWindow, H_PlaceWindow};
    for (int code = H_BlacklistEntry; code <= H_InviteJoinResult; ++code)
        if (code != M_SelectionReport && code != 1042) expected.insert(code);
    EXPECT_EQ(host, expected);
    EXPECT_EQ(all.size() - host.size(), 29u);  // the module's codes

    EXPECT_EQ(FindHostRecord(M_SelectionReport), nullptr);
    ASSERT_TRUE(FindRecord(M_SelectionReport));
    EXPECT_EQ(FindRecord(M_SelectionReport)->direction, EDirection::ToHost);
    EXPECT_EQ(FindRecord(1042), nullptr);
}

TEST(RecordTable, RecordSizes)
{
    EXPECT_EQ(FindRecord(H_OnePublicGroup)->Size(), 8 * sizeof(Word));
    EXPECT_EQ(FindRecord(H_SignedIn)->Size(), 0u);
    EXPECT_EQ(FindRecord(H_GroupInfoList)->Size(), sizeof(TGroupInfoList));
    EXPECT_EQ(FindRecord(H_TransferCancel)->Size(), sizeof(tagGroupTrsReq));
    EXPECT_EQ(FindRecord(H_MemberProfile)->Size(), sizeof(TMemberProfile));
}

TEST(RecordTable, ProfileTextsAreEveryTextPointerInRecordOrder)
{
    TMemberProfile profile{};
    const auto texts = ProfileTexts(profile);
    EXPECT_EQ(texts.front(), &profile.text1[0]);
    EXPECT_EQ(texts[kProfileTextSlot], &profile.block2[kProfileTextIndex]);
    EXPECT_EQ(texts.back(), &profile.tail[1]);
    EXPECT_TRUE(std::is_sorted(texts.begin(), texts.end()));
    EXPECT_EQ(std::set<const char**>(texts.begin(), texts.end()).size(), texts.size());

    // Writing through every one leaves the numbers and the area alone.
    for (const char** text : texts) *text = "x";
    EXPECT_EQ(profile.iHead | profile.iValue1 | profile.iValue2 | profile.iValue3, 0);
    EXPECT_EQ(profile.ids[kProfileUriIndex], std::string_view("x"));
    EXPECT_EQ(std::count(std::begin(profile.area), std::end(profile.area), '\0'), std::ssize(profile.area));

    const TMemberProfile& constant = profile;
    EXPECT_EQ(ProfileTexts(constant)[7], texts[7]);
}
