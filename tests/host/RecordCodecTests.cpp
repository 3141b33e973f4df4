// JSON <-> record conversion of the host protocol.
#include <cstring>

#include <QJsonArray>
#include <gtest/gtest.h>

#include "RecordCodec.h"
#include "common/GbkString.h"

using namespace host;
using namespace tarvolan;

namespace {

QJsonObject Obj(const QJsonValue& v) { return v.toObject(); }

std::unique_ptr<CRecord> Build(int code, const QJsonValue& json)
{
    QString error;
    auto record = CRecord::FromJson(code, json, &error);
    EXPECT_TRUE(record) << error.toStdString();
    return record;
}

} // namespace

TEST(RecordCodec, GroupDetailsRoundTripWithDefaultCounts)
{
    const QJsonObject json{{"pGroupName", "读书会"},
                           {"pGroupURI", "sip:book@g.example"},
                           {"iMyRole", 2},
                           {"pInfo", QJsonObject{{"owner", "sip:zw@x"}, {"iMaxMember", 100}, {"subject", "共读"}}},
                           {"pList", QJsonArray{QJsonObject{{"DisplayName", "张伟"}, {"UserURI", "sip:zw@x"}, {"csInfo", "Forward"}}}},
                           {"pBlacklist", QJsonArray{"sip:bad@x", "sip:worse@x"}}};
    auto record = Build(H_OnePublicGroup, json);
    const auto* w = static_cast<const Word*>(record->Data());
    EXPECT_STREQ(reinterpret_cast<const char*>(w[0]), Utf8ToGbk("读书会").c_str());
    EXPECT_EQ(w[4], 1);
    EXPECT_EQ(w[6], 2);
    const auto* info = reinterpret_cast<const TGroupDescription*>(w[3]);
    EXPECT_EQ(info->iMaxMember, 100);
    const QJsonObject back = Obj(DecodeRecord(H_OnePublicGroup, record->Data()));
    EXPECT_EQ(back["pGroupName"].toString(), "读书会");
    EXPECT_EQ(Obj(back["pInfo"])["subject"].toString(), "共读");
    EXPECT_EQ(Obj(back["pList"].toArray()[0])["DisplayName"].toString(), "张伟");
    EXPECT_EQ(back["pBlacklist"].toArray()[1].toString(), "sip:worse@x");
}

TEST(RecordCodec, FieldsAreCutWithoutSplittingACharacter)
{
    char field[8];
    std::memset(field, 'x', sizeof field);
    PutField(field, sizeof field, QStringLiteral("一二三四五"));  // 10 GBK bytes
    EXPECT_EQ(std::string(field), Utf8ToGbk("一二三").str());   // 6 bytes fit before the terminator
    PutField(field, sizeof field, QStringLiteral("ab一二三"));  // a, b, then 2-byte characters
    EXPECT_EQ(std::string(field), Utf8ToGbk("ab一二三").str().substr(0, 6));
    EXPECT_EQ(GetField("abc", 2), QStringLiteral("ab"));  // read within the size, no terminator needed
}

TEST(RecordCodec, CountsBeyondTheListPadAndAreClampedOnDecoding)
{
    QJsonObject json{{"iListNum", 5}, {"pList", QJsonArray{QJsonObject{{"UserURI", "sip:a@x"}}}}};
    auto record = Build(H_OnePublicGroup, json);
    EXPECT_EQ(Obj(DecodeRecord(H_OnePublicGroup, record->Data()))["pList"].toArray().size(), 5);

    json["iListNum"] = 100000;  // hostile: the reader clamps to 300 and the buffer holds 300
    record = Build(H_OnePublicGroup, json);
    const QJsonArray members = Obj(DecodeRecord(H_OnePublicGroup, record->Data()))["pList"].toArray();
    ASSERT_EQ(members.size(), kMaxMembers);
    EXPECT_EQ(Obj(members.last())["UserURI"].toString(), "");

    record = Build(H_OnePublicGroup, QJsonObject{{"iListNum", 3}, {"pList", QJsonValue::Null}});
    EXPECT_EQ(static_cast<const Word*>(record->Data())[5], 0);
}

TEST(RecordCodec, NullAndMissingTexts)
{
    auto record = Build(H_GroupDeleted, QJsonObject{{"pGroupURI", QJsonValue::Null}});
    EXPECT_EQ(static_cast<const Word*>(record->Data())[0], 0);
    EXPECT_TRUE(Obj(DecodeRecord(H_GroupDeleted, record->Data()))["pGroupURI"].isNull());
    record = Build(H_GroupDeleted, QJsonObject{});
    EXPECT_STREQ(reinterpret_cast<const char*>(static_cast<const Word*>(record->Data())[0]), "");
}

TEST(RecordCodec, BadJsonIsRefusedWithTheFieldNamed)
{
    QString error;
    EXPECT_FALSE(CRecord::FromJson(H_CreateGroupResult, QJsonObject{{"pGroupNam", "x"}}, &error));
    EXPECT_TRUE(error.contains("pGroupNam")) << error.toStdString();
    EXPECT_FALSE(CRecord::FromJson(H_CreateGroupResult, QJsonObject{{"iResult", "200"}}, &error));
    EXPECT_TRUE(error.contains("iResult"));
    EXPECT_FALSE(CRecord::FromJson(H_GroupInfoList, QJsonObject{{"slots", QJsonArray{1}}}, &error));
    EXPECT_FALSE(CRecord::FromJson(4242, QJsonObject{}, &error));
    EXPECT_TRUE(DecodeRecord(4242, "anything").toObject().isEmpty());
    EXPECT_TRUE(DecodeRecord(H_GroupDeleted, nullptr).isNull());
}

TEST(RecordCodec, ByteExactRecords)
{
    auto list = Build(H_GroupInfoList, QJsonObject{{"count", 500}, {"slots", QJsonArray{QJsonObject{{"groupname", "A"}, {"groupType", 2}}}}});
    const auto* raw = static_cast<const TGroupInfoList*>(list->Data());
    EXPECT_EQ(raw->count, 500);  // sent as given; a reader reads 200 slots at most
    EXPECT_EQ(Obj(DecodeRecord(H_GroupInfoList, raw))["slots"].toArray().size(), kMaxGroups);

    TGroupSettings settings{};
    std::strcpy(settings.name, Utf8ToGbk("新群").c_str());
    settings.visibility = 3;
    settings.maxMembers = 1000;
    const QJsonObject decoded = Obj(DecodeRecord(M_SaveGroup, &settings));
    EXPECT_EQ(decoded["name"].toString(), "新群");
    EXPECT_EQ(decoded["uri"].toString(), "");
    EXPECT_EQ(decoded["maxMembers"].toInt(), 1000);

    auto invite = Build(H_InvitedToGroup, QJsonObject{{"pGroupName", "G"}, {"pReturn", "r1"}});
    EXPECT_STREQ(static_cast<const tagGroupInvite*>(invite->Data())->pReturn, "r1");

    auto history = Build(H_HistoryList, QJsonObject{{"pList", QJsonArray{QJsonObject{{"senderText", "7"}, {"text", "你好"}}}}});
    const auto* entry = reinterpret_cast<const THistoryEntry*>(static_cast<const Word*>(history->Data())[4]);
    EXPECT_STREQ(entry->text, Utf8ToGbk("你好").c_str());
}

TEST(RecordCodec, OutWordsWrittenByTheModule)
{
    auto record = Build(H_GroupMessage, QJsonObject{{"iType", 2}, {"pText", "hi"}});
    EXPECT_EQ(DecodeOutWords(H_GroupMessage, record->Data())["iHandled"].toInt(), 0);
    static_cast<Word*>(record->Data())[4] = 1;
    EXPECT_EQ(DecodeOutWords(H_GroupMessage, record->Data())["iHandled"].toInt(), 1);
    EXPECT_TRUE(DecodeOutWords(H_GroupDeleted, record->Data()).isEmpty());

    TMemberProfile profile{};
    const char* uri = "sip:a@x";
    profile.ids[1] = uri;
    Word find[3] = {reinterpret_cast<Word>("sip:a@x"), reinterpret_cast<Word>(&profile), 1};
    const QJsonObject out = DecodeOutWords(H_FindMember, find);
    EXPECT_EQ(out["iFound"].toInt(), 1);
    EXPECT_EQ(out["pProfile"].toObject()["ids"].toArray()[1].toString(), "sip:a@x");
}
