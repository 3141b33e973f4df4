// JSON <-> record conversion of the host protocol.
#include <cstring>

#include <QJsonArray>
#include <gtest/gtest.h>

#include "bridge/RecordCodec.h"
#include "common/GbkString.h"
#include "protocol/RecordTable.h"

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

// A value for every field of a block: texts of two bytes, which fit every
// character field, and non-zero numbers, so that a profile shows them all.
QJsonValue SampleBlock(const TBlockLayout& layout)
{
    if (layout.IsPlainText()) return "x1";
    QJsonObject obj;
    for (const TField& field : layout.fields) {
        switch (field.kind) {
        case EField::Chars: obj[field.name] = "c1"; break;
        case EField::Int32: obj[field.name] = 7; break;
        case EField::Text: obj[field.name] = "t"; break;
        case EField::Texts: {
            QJsonArray texts;
            for (size_t k = 0; k < field.TextCount(); ++k) texts.append(QString("t%1").arg(k));
            obj[field.name] = texts;
            break;
        }
        }
    }
    return obj;
}

QJsonValue SampleRecord(const TRecordLayout& record)
{
    if (record.shape == EShape::GroupList)
        return QJsonObject{{kGroupListCount, 1}, {kGroupListSlots, QJsonArray{SampleBlock(*record.block)}}};
    if (record.shape != EShape::Words) return SampleBlock(*record.block);
    QJsonObject obj;
    for (size_t i = 0; i < record.wordCount; ++i) {
        const TWord& word = record.Words()[i];
        switch (word.kind) {
        case EWord::Text: obj[word.name] = QString("w%1").arg(i); break;
        case EWord::Int: obj[word.name] = static_cast<int>(i) + 1; break;
        case EWord::Count: obj[word.name] = 1; break;
        case EWord::Block:
        case EWord::Profile: obj[word.name] = SampleBlock(*word.block); break;
        case EWord::Array: obj[word.name] = QJsonArray{SampleBlock(*word.block)}; break;
        }
    }
    return obj;
}

} // namespace

TEST(RecordCodec, EveryRecordOfTheTableRoundTrips)
{
    for (const TRecordLayout& layout : AllRecords()) {
        const QJsonValue json = SampleRecord(layout);
        auto record = Build(layout.code, json);
        ASSERT_TRUE(record) << layout.code;
        EXPECT_EQ(DecodeRecord(layout.code, record->Data()), json) << layout.code;
    }
}

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

TEST(RecordCodec, ProfileTextListsAndOnlyTheSetPartsDecoded)
{
    auto record = Build(H_MemberProfile, QJsonObject{{"ids", QJsonArray{QJsonValue::Null, "sip:a@x"}}, {"iValue2", 3}});
    const auto* profile = static_cast<const TMemberProfile*>(record->Data());
    EXPECT_EQ(profile->ids[0], nullptr);
    EXPECT_STREQ(profile->ids[kProfileUriIndex], "sip:a@x");
    EXPECT_EQ(profile->ids[2], nullptr);  // missing from the list
    const QJsonObject back = Obj(DecodeRecord(H_MemberProfile, profile));
    EXPECT_EQ(back.keys(), (QStringList{"iValue2", "ids"}));  // sorted
    EXPECT_EQ(back["ids"].toArray(), (QJsonArray{QJsonValue::Null, "sip:a@x", QJsonValue::Null}));

    QString error;
    EXPECT_FALSE(CRecord::FromJson(H_MemberProfile, QJsonObject{{"text1", QJsonArray{"a", "b", "c"}}}, &error));
    EXPECT_TRUE(error.contains("text1")) << error.toStdString();
    EXPECT_FALSE(CRecord::FromJson(H_MemberProfile, QJsonObject{{"nick", "x"}}, &error));
    EXPECT_TRUE(error.contains("in a profile")) << error.toStdString();
}
