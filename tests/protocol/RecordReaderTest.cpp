// CRecordReader: host records read by the record table, as hostile as a
// host may send them.
#include <gtest/gtest.h>

#include "protocol/RecordReader.h"

using namespace tarvolan;

namespace {

Word W(const void* p) { return reinterpret_cast<Word>(p); }

} // namespace

TEST(RecordReader, ANullRecordStopsOnlyTheMessagesThatReadOne)
{
    EXPECT_FALSE(CRecordReader(H_GroupDeleted, nullptr).HasRecord());
    EXPECT_FALSE(CRecordReader(H_PlaceWindow, nullptr).HasRecord());
    EXPECT_FALSE(CRecordReader(H_MemberProfile, nullptr).HasRecord());
    // Records without words are not read; blocks and the group list go to
    // their handlers as they are.
    for (int code : {H_RebuildMembers, H_SignedIn, H_GroupInfoList, H_InvitedToGroup, H_JoinRequest,
                     H_TransferRequest, H_TransferCancel}) {
        CRecordReader reader(code, nullptr);
        EXPECT_TRUE(reader.HasRecord()) << code;
        EXPECT_EQ(reader.Record<TGroupInfoList>(), nullptr);
        EXPECT_STREQ(reader.Text(0), "");
    }
}

TEST(RecordReader, TextsIntsAndWordsPastTheRecord)
{
    Word words[3] = {0, W("sip:g@x"), static_cast<Word>(0x1FFFFFFFFLL)};
    CRecordReader reader(H_CreateGroupResult, words);
    EXPECT_STREQ(reader.Text(0), "");  // null
    EXPECT_STREQ(reader.Text(1), "sip:g@x");
    EXPECT_EQ(reader.Int(2), -1);      // the low 32 bits
    // A word the record does not have is never read.
    EXPECT_STREQ(reader.Text(3), "");
    EXPECT_EQ(reader.Int(-1), 0);
    // Neither is a module record sent to the module.
    Word selection[3] = {W("sip:a@x"), 4, 0};
    EXPECT_STREQ(CRecordReader(M_SelectionReport, selection).Text(0), "");
}

TEST(RecordReader, CountsAreClampedAndZeroWithoutTheirArray)
{
    static TMemberEntry members[kMaxMembers];
    static TBlacklistEntry blacklist[kMaxBlacklist];
    TGroupDescription info{};
    Word words[8] = {W("G"), W("sip:g@x"), 2, W(&info), 100000, W(members), -5, W(blacklist)};
    CRecordReader reader(H_OnePublicGroup, words);
    EXPECT_EQ(reader.Count(4), kMaxMembers);
    EXPECT_EQ(reader.Count(6), 0);
    EXPECT_EQ(reader.Count(2), 0);  // not a count
    EXPECT_EQ(reader.Blocks<TGroupDescription>(3), &info);
    EXPECT_EQ(reader.Blocks<TMemberEntry>(5), members);
    EXPECT_EQ(reader.Blocks<TBlacklistEntry>(5), nullptr);  // word 5 holds member entries
    EXPECT_EQ(reader.Blocks<TMemberEntry>(2), nullptr);     // an integer

    words[4] = 3;
    words[5] = 0;
    EXPECT_EQ(reader.Count(4), 0);
    words[6] = static_cast<Word>(0x100000007LL);  // 7 in the low 32 bits
    EXPECT_EQ(reader.Count(6), 7);

    static TSearchResultEntry entries[kMaxSearchResults];
    Word search[3] = {kMaxSearchResults + 1, W("q"), W(entries)};
    EXPECT_EQ(CRecordReader(H_SearchResult, search).Count(0), kMaxSearchResults);
}

TEST(RecordReader, OnlyAnswerWordsAreWritten)
{
    Word message[5] = {2, W("sip:g@x"), W("sip:a@x"), W("hi"), 0};
    CRecordReader reader(H_GroupMessage, message);
    reader.Answer(4, 1);
    reader.Answer(0, 9);
    reader.Answer(5, 9);  // past the record
    EXPECT_EQ(message[4], 1);
    EXPECT_EQ(message[0], 2);

    TMemberProfile profile{};
    Word find[3] = {W("sip:a@x"), 0, 0};
    CRecordReader finder(H_FindMember, find);
    finder.Answer(0, 0);
    finder.Answer(1, W(&profile));
    finder.Answer(2, 1);
    EXPECT_STREQ(reinterpret_cast<const char*>(find[0]), "sip:a@x");
    EXPECT_EQ(find[1], W(&profile));
    EXPECT_EQ(find[2], 1);
}

TEST(RecordReader, WholeRecordsOfTheirOwnSize)
{
    TMemberProfile profile{};
    CRecordReader reader(H_MemberProfile, &profile);
    EXPECT_EQ(reader.Record<TMemberProfile>(), &profile);
    EXPECT_EQ(reader.Record<TGroupInfoList>(), nullptr);
    tagGroupTrsReq request{};
    EXPECT_EQ(CRecordReader(H_TransferCancel, &request).Record<tagGroupTrsReq>(), &request);
    Word words[1] = {W("sip:g@x")};
    EXPECT_EQ(CRecordReader(H_GroupDeleted, words).Record<TMemberProfile>(), nullptr);
}
