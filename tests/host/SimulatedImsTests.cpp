// The simulated IMS stack's answer to each request, driven directly with
// module->host records (built as the module builds them, decoded as the
// bridge decodes them); no module is loaded.
#include <cstring>

#include <QJsonArray>
#include <gtest/gtest.h>

#include "bridge/RecordCodec.h"
#include "clientkit/ClientKit.h"
#include "common/GbkString.h"
#include "sim/SimulatedIms.h"

using namespace host;
using namespace tarvolan;

namespace {

const QString kMe = QStringLiteral("sip:demo@velora.example");
const QString kBook = QStringLiteral("sip:bookclub@group.velora.example");
const QString kRd = QStringLiteral("sip:rd-team@group.velora.example");

struct TDelivery {
    int code;
    QJsonObject record;
};

class SimulatedIms : public ::testing::Test {
protected:
    SimulatedIms() : ims(CWorld::Default())
    {
        ims.SetDelay(0);
        ims.SetDeliver([this](int code, const QJsonValue& r) { out.push_back({code, r.toObject()}); });
    }

    // A word record as the module builds it: GBK texts and ints, on the stack.
    void Request(int code, std::initializer_list<QJsonValue> words)
    {
        std::vector<std::string> texts;
        texts.reserve(words.size());
        std::vector<Word> w;
        for (const auto& v : words) {
            if (v.isString()) {
                texts.push_back(Utf8ToGbk(v.toString().toStdString()).str());
                w.push_back(reinterpret_cast<Word>(texts.back().c_str()));
            } else {
                w.push_back(v.toInt());
            }
        }
        Deliver(code, w.data());
    }
    void Deliver(int code, const void* record)
    {
        ims.HandleRequest(code, DecodeRecord(code, record));
        ims.Flush();
    }
    // The deliveries with that code.
    std::vector<QJsonObject> Of(int code) const
    {
        std::vector<QJsonObject> found;
        for (const auto& d : out)
            if (d.code == code) found.push_back(d.record);
        return found;
    }
    int IndexOf(int code) const
    {
        for (size_t i = 0; i < out.size(); ++i)
            if (out[i].code == code) return static_cast<int>(i);
        return -1;
    }

    CSimulatedIms ims;
    std::vector<TDelivery> out;
};

TGroupSettings Settings(const char* uri, const char* name)
{
    TGroupSettings s{};
    std::strcpy(s.uri, uri);
    std::strcpy(s.name, Utf8ToGbk(name).c_str());
    std::strcpy(s.displayName, Utf8ToGbk("群主").c_str());
    s.visibility = 3;
    s.needPermit = 1;
    s.maxMembers = 1000;
    return s;
}

} // namespace

TEST_F(SimulatedIms, CreateAndEditGroup)
{
    TGroupSettings create = Settings("", "Tea Lovers");
    Deliver(M_SaveGroup, &create);
    ASSERT_EQ(Of(H_CreateGroupResult).size(), 1u);
    const QJsonObject created = Of(H_CreateGroupResult)[0];
    EXPECT_EQ(created["iResult"].toInt(), 200);
    EXPECT_EQ(created["pGroupURI"].toString(), "sip:tea-lovers@group.velora.example");
    const TGroup* g = ims.World().FindGroup(created["pGroupURI"].toString());
    ASSERT_TRUE(g);
    EXPECT_EQ(ims.World().RoleOf(*g), 1);
    EXPECT_EQ(g->FindMember(kMe)->name, "群主");

    TGroupSettings edit = Settings("sip:tea-lovers@group.velora.example", "Tea & Coffee");
    Deliver(M_SaveGroup, &edit);
    EXPECT_EQ(Of(H_CreateGroupResult)[1]["iResult"].toInt(), 200);
    EXPECT_EQ(ims.World().FindGroup(created["pGroupURI"].toString())->name, "Tea & Coffee");

    TGroupSettings notMine = Settings("sip:bookclub@group.velora.example", "x");
    Deliver(M_SaveGroup, &notMine);
    EXPECT_EQ(Of(H_CreateGroupResult)[2]["iResult"].toInt(), 403);
}

TEST_F(SimulatedIms, FailedAnswersChangeNothing)
{
    const size_t groups = ims.World().groups.size();
    TGroupSettings create = Settings("", "Doomed");
    for (int result : {408, 409, 500}) {
        ims.FailNext(M_SaveGroup, result);
        Deliver(M_SaveGroup, &create);
        EXPECT_EQ(Of(H_CreateGroupResult).back()["iResult"].toInt(), result);
    }
    EXPECT_EQ(ims.World().groups.size(), groups);
    ims.FailNext(M_DeleteGroup, 408);
    Request(M_DeleteGroup, {"产品研发部"});
    EXPECT_EQ(Of(H_DeleteGroupResult)[0]["iResult"].toInt(), 408);
    EXPECT_TRUE(ims.World().FindGroup(kRd));
}

TEST_F(SimulatedIms, OneArmedFailureFailsOnlyTheNextRequest)
{
    ims.FailNextAny(408);
    Request(M_DeleteGroup, {"产品研发部"});  // the next request, whatever its code, fails
    EXPECT_EQ(Of(H_DeleteGroupResult)[0]["iResult"].toInt(), 408);
    EXPECT_TRUE(ims.World().FindGroup(kRd));
    Request(M_DeleteGroup, {"产品研发部"});  // and only that one
    EXPECT_NE(Of(H_DeleteGroupResult)[1]["iResult"].toInt(), 408);
    TGroupSettings create = Settings("", "Tea");
    Deliver(M_SaveGroup, &create);
    EXPECT_NE(Of(H_CreateGroupResult).back()["iResult"].toInt(), 408);
}

TEST_F(SimulatedIms, GroupInformationAndItsFailures)
{
    Request(M_RequestGroupInfo, {kBook + "/chat"});
    ASSERT_EQ(Of(H_OnePublicGroup).size(), 1u);
    const QJsonObject details = Of(H_OnePublicGroup)[0];
    EXPECT_EQ(details["iMyRole"].toInt(), 2);
    EXPECT_EQ(details["pList"].toArray().size(), 12);
    Request(M_RequestGroupInfo, {"sip:none@group.velora.example"});
    Request(M_RequestGroupInfo, {"sip:photo@group.velora.example"});  // not a member
    ASSERT_EQ(Of(H_GroupInfoFailed).size(), 2u);
    EXPECT_EQ(Of(H_GroupInfoFailed)[0]["Result"].toInt(), 404);
    EXPECT_EQ(Of(H_GroupInfoFailed)[1]["Result"].toInt(), 403);
}

TEST_F(SimulatedIms, NameDeleteLeave)
{
    Request(M_ChangeDisplayName, {kBook, "小演"});
    EXPECT_EQ(Of(H_ChangeNameResult)[0]["iResult"].toInt(), 200);
    EXPECT_EQ(ims.World().FindGroup(kBook)->FindMember(kMe)->name, "小演");
    Request(M_DeleteGroup, {"Weekend Hiking"});
    EXPECT_EQ(Of(H_DeleteGroupResult)[0]["iResult"].toInt(), 200);
    EXPECT_FALSE(ims.World().FindGroup("sip:weekend-hiking@group.velora.example"));
    Request(M_DeleteGroup, {"读书会"});  // not mine
    EXPECT_EQ(Of(H_DeleteGroupResult)[1]["iResult"].toInt(), 404);
    Request(M_LeaveGroup, {"读书会", kBook});
    EXPECT_EQ(Of(H_LeaveGroupResult)[0]["iResult"].toInt(), 200);
    EXPECT_FALSE(ims.World().FindGroup(kBook)->HasMember(kMe));
}

TEST_F(SimulatedIms, TransferIsAcknowledgedThenAnswered)
{
    Request(M_TransferGroup, {"sip:alice@velora.example", kRd});
    EXPECT_EQ(Of(H_TransferAck)[0]["Code"].toInt(), 202);
    ASSERT_EQ(Of(H_TransferResult).size(), 1u);
    EXPECT_EQ(Of(H_TransferResult)[0]["Result"].toInt(), 1);
    EXPECT_LT(IndexOf(H_TransferAck), IndexOf(H_TransferResult));
    EXPECT_EQ(Of(H_OnePublicGroup).back()["iMyRole"].toInt(), 2);

    Request(M_TransferGroup, {"sip:wangfang@velora.example", "sip:weekend-hiking@group.velora.example"});
    EXPECT_EQ(Of(H_TransferAck)[1]["Code"].toInt(), 404);  // not a member there
    Request(M_TransferGroup, {"sip:zhaolei@velora.example", kBook});
    EXPECT_EQ(Of(H_TransferAck)[2]["Code"].toInt(), 403);  // not my group
}

TEST_F(SimulatedIms, RemoveInviteAndMembersHear)
{
    Request(M_RemoveMember, {"sip:bob@velora.example", "产品研发部"});
    EXPECT_EQ(Of(H_RemoveMemberResult)[0]["iResult"].toInt(), 200);
    ASSERT_EQ(Of(H_MemberNotify).size(), 1u);
    EXPECT_EQ(Of(H_MemberNotify)[0]["iType"].toInt(), 3);

    Request(M_InviteMember, {"xumin", "徐敏", "产品研发部"});
    EXPECT_EQ(Of(H_InviteSendResult)[0]["iResult"].toInt(), 202);
    EXPECT_EQ(Of(H_InviteSendResult)[0]["pSomeoneURI"].toString(), "sip:xumin@velora.example");
    EXPECT_EQ(Of(H_InviteResult)[0]["pReturn"].toInt(), 1);
    EXPECT_TRUE(ims.World().FindGroup(kRd)->HasMember("sip:xumin@velora.example"));

    Request(M_InviteMember, {"nobody", "", "产品研发部"});
    EXPECT_EQ(Of(H_InviteSendResult)[1]["iResult"].toInt(), 404);
    ims.World().answers.invite = 2;
    Request(M_InviteMember, {"sip:mali@velora.example", "", "产品研发部"});
    EXPECT_EQ(Of(H_InviteResult)[1]["pReturn"].toInt(), 2);
    EXPECT_FALSE(ims.World().FindGroup(kRd)->HasMember("sip:mali@velora.example"));
}

TEST_F(SimulatedIms, SearchComesInPagesOfTwenty)
{
    CWorld& world = ims.World();
    for (int i = 0; i < 25; ++i) {
        TGroup g;
        g.uri = QStringLiteral("sip:g%1@group.velora.example").arg(i);
        g.name = QStringLiteral("Garden %1").arg(i);
        g.owner = "sip:carol@velora.example";
        world.groups.push_back(g);
    }
    Request(M_SearchGroups, {1, "garden", 1, "velora.example"});
    Request(M_SearchGroups, {1, "garden", 2, "velora.example"});
    Request(M_SearchGroups, {2, "sip:bob@velora.example", 1, "velora.example"});
    ASSERT_EQ(Of(H_SearchResult).size(), 3u);
    EXPECT_EQ(Of(H_SearchResult)[0]["pEntries"].toArray().size(), 20);
    EXPECT_EQ(Of(H_SearchResult)[1]["iResultNum"].toInt(), 5);
    EXPECT_EQ(Of(H_SearchResult)[2]["pEntries"].toArray()[0].toObject()["GroupName"].toString(), "Chess Club");
    ims.FailNext(M_SearchGroups, 408);
    Request(M_SearchGroups, {1, "x", 1, ""});
    EXPECT_EQ(Of(H_SearchFailed).size(), 1u);
}

TEST_F(SimulatedIms, BlacklistRequests)
{
    Request(M_RequestBlacklist, {kRd});
    ASSERT_EQ(Of(H_BlacklistEntry).size(), 1u);
    EXPECT_EQ(Of(H_BlacklistEntry)[0]["pURI"].toString(), "sip:henry@velora.example");
    Request(M_WhitelistChange, {"sip:a@x", kRd, 1, 1});
    EXPECT_EQ(Of(H_BlacklistChanged)[0]["iSuccess"].toInt(), 1);
    Request(M_AddBlacklist, {"产品研发部", "dave"});
    EXPECT_EQ(Of(H_AddBlacklistResult)[0]["pDName"].toString(), "sip:dave@velora.example");
    EXPECT_EQ(Of(H_AddBlacklistResult)[0]["iResult"].toInt(), 200);
    Request(M_RemoveBlacklist, {"产品研发部", "sip:henry@velora.example"});
    EXPECT_EQ(Of(H_DeleteBlacklistResult)[0]["iResult"].toInt(), 200);
    ims.FailNext(M_RemoveBlacklist, 403);
    Request(M_RemoveBlacklist, {"产品研发部", "sip:dave@velora.example"});
    EXPECT_EQ(Of(H_DeleteBlacklistResult)[1]["iResult"].toInt(), 403);
    EXPECT_EQ(ims.World().FindGroup(kRd)->blacklist, QStringList{"sip:dave@velora.example"});
    // A refusal is also reported as a failed list operation on that URI.
    ASSERT_EQ(Of(H_BlacklistChanged).size(), 2u);
    EXPECT_EQ(Of(H_BlacklistChanged)[1]["iSuccess"].toInt(), 0);
    EXPECT_EQ(Of(H_BlacklistChanged)[1]["pURI"].toString(), "sip:dave@velora.example");
    EXPECT_EQ(Of(H_BlacklistChanged)[1]["iOperation"].toInt(), 0);
    Request(M_AddBlacklist, {"旅行攻略", "sip:eve@velora.example"});  // not my group
    EXPECT_EQ(Of(H_AddBlacklistResult)[1]["iResult"].toInt(), 404);
    EXPECT_EQ(Of(H_BlacklistChanged)[2]["iOperation"].toInt(), 1);
}

TEST_F(SimulatedIms, AnswersToInvitationsJoinRequestsAndTransfers)
{
    Request(M_AnswerInvitation, {"sip:carol@velora.example", "旅行攻略", 1, "sip:travel@group.velora.example", "inv-1"});
    EXPECT_EQ(Of(H_InviteJoinResult)[0]["iResult"].toInt(), 200);
    EXPECT_GT(IndexOf(H_GroupInfoList), IndexOf(H_InviteJoinResult));
    EXPECT_EQ(Of(H_OnePublicGroup).back()["pGroupURI"].toString(), "sip:travel@group.velora.example");

    QString error;
    ASSERT_TRUE(ims.Push("join", QJsonObject{{"user", "sip:caoning@velora.example"}}, &error)) << error.toStdString();
    ims.Flush();
    const QJsonObject join = Of(H_JoinRequest).back();
    Request(M_AnswerJoinRequest, {join["pProposerURI"].toString(), 1, join["pReturn1"].toString(), join["pReturn2"].toString()});
    EXPECT_EQ(Of(H_MemberNotify).back()["pMemberURI"].toString(), "sip:caoning@velora.example");
    EXPECT_EQ(Of(H_OnePublicGroup).back()["pGroupName"].toString(), join["pGroupName"].toString());

    ASSERT_TRUE(ims.Push("offer", QJsonObject{{"group", kBook}}, &error));
    ims.Flush();
    const QJsonObject offer = Of(H_TransferRequest).back();
    Request(M_AnswerTransfer, {offer["GroupURI"].toString(), offer["OldOwnerURI"].toString(), offer["ReturnText"].toString(), 1});
    EXPECT_EQ(Of(H_OnePublicGroup).back()["iMyRole"].toInt(), 1);
}

TEST_F(SimulatedIms, ApplyingAndSearchDetails)
{
    Request(M_ApplyToJoin, {"sip:chess@group.velora.example", "CHESS1", "演示"});
    EXPECT_EQ(Of(H_JoinSendResult)[0]["iResult"].toInt(), 202);
    EXPECT_EQ(Of(H_JoinRequestResult)[0]["iResult"].toInt(), 1);
    ims.World().answers.join = 2;
    Request(M_ApplyToJoin, {"sip:photo@group.velora.example", "PHOTO7", "演示"});
    EXPECT_EQ(Of(H_JoinRequestResult)[1]["iResult"].toInt(), 2);  // the owner refuses

    Request(M_RequestSearchDetails, {"sip:lina@velora.example", "sip:photo@group.velora.example"});
    EXPECT_EQ(Of(H_OnePublicGroup).back()["iMyRole"].toInt(), 3);
    Request(M_RequestSearchDetails, {"sip:laura@velora.example", "sip:board@group.velora.example"});
    EXPECT_EQ(Of(H_SearchFailed).size(), 1u);  // administrators only
}

TEST_F(SimulatedIms, MessagesHistoryAndSubscription)
{
    Word message[8] = {1, 2, reinterpret_cast<Word>("hello"), reinterpret_cast<Word>("now"),
                       reinterpret_cast<Word>("sip:weekend-hiking@group.velora.example"), reinterpret_cast<Word>(""),
                       reinterpret_cast<Word>("hello"), 0};
    Deliver(M_GroupMessage, message);
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(ims.World().FindGroup("sip:weekend-hiking@group.velora.example")->history.back().text, "hello");

    THistoryRequest block{};
    block.kind = 2;
    std::strcpy(block.groupURI, "sip:rd-team@group.velora.example");
    Word request[2] = {11, reinterpret_cast<Word>(&block)};
    Deliver(M_HistoryRequest, request);  // the newest 20 of 24
    const QJsonArray first = Of(H_HistoryList)[0]["pList"].toArray();
    ASSERT_EQ(first.size(), 20);
    const int smallest = first[0].toObject()["senderText"].toString().toInt();
    block.anchor = smallest;
    block.direction = -1;
    Deliver(M_HistoryRequest, request);  // the 4 older ones
    const QJsonArray older = Of(H_HistoryList)[1]["pList"].toArray();
    ASSERT_EQ(older.size(), 4);
    EXPECT_LT(older.last().toObject()["senderText"].toString().toInt(), smallest);
    block.anchor = older.last().toObject()["senderText"].toString().toInt();
    block.direction = 1;
    Deliver(M_HistoryRequest, request);
    EXPECT_EQ(Of(H_HistoryList)[2]["pList"].toArray()[0].toObject()["senderText"].toString().toInt(), smallest);
    std::strcpy(block.groupURI, "sip:gone@group.velora.example");
    Deliver(M_HistoryRequest, request);
    EXPECT_EQ(Of(H_HistoryList)[3]["iCode"].toInt(), 404);

    out.clear();
    Request(M_Subscribe, {1, "sip:weekend-hiking@group.velora.example", 3});
    EXPECT_EQ(Of(H_MemberPresence).size(), 3u);  // every member but me
    ASSERT_EQ(Of(H_HistoryList).size(), 1u);
    EXPECT_EQ(Of(H_HistoryList)[0]["iType"].toInt(), 1);
}

TEST_F(SimulatedIms, SwitchedOffItAnswersNothing)
{
    ims.SetEnabled(false);
    Request(M_RequestGroupInfo, {kBook});
    EXPECT_TRUE(out.empty());
}

TEST_F(SimulatedIms, NetworkPushes)
{
    const std::map<QString, int> codes = {
        {"invite", H_InvitedToGroup}, {"xmlinvite", H_XmlInvitation}, {"join", H_JoinRequest},
        {"message", H_GroupMessage}, {"presence", H_MemberPresence}, {"memberjoin", H_MemberNotify},
        {"memberleave", H_MemberNotify}, {"deletegroup", H_GroupDeleted}, {"removeme", H_DeletedFromGroup},
        {"offer", H_TransferRequest}, {"withdraw", H_TransferCancel}};
    for (const char* name : {"invite", "xmlinvite", "join", "message", "presence", "memberjoin", "memberleave",
                             "offer", "withdraw", "deletegroup", "removeme"}) {
        const QString action = QLatin1String(name);
        out.clear();
        QString error;
        ASSERT_TRUE(ims.Push(action, {}, &error)) << action.toStdString() << ": " << error.toStdString();
        ims.Flush();
        ASSERT_FALSE(out.empty()) << action.toStdString();
        EXPECT_EQ(out[0].code, codes.at(action)) << action.toStdString();
    }
    QString error;
    EXPECT_FALSE(ims.Push("withdraw", {}, &error));  // nothing left to withdraw
    EXPECT_FALSE(ims.Push("dance", {}, &error));
    EXPECT_TRUE(error.contains("dance"));
    EXPECT_FALSE(ims.Push("message", QJsonObject{{"group", "No Such Group"}}, &error));
}

TEST_F(SimulatedIms, SignInParksRequestsAndEndsWithReady)
{
    clientkit::Reset();
    ims.Push("signin", {}, nullptr);
    ims.Flush();
    ASSERT_FALSE(out.empty());
    EXPECT_EQ(out.front().code, H_GroupInfoList);
    EXPECT_EQ(out.back().code, H_SignedIn);
    EXPECT_EQ(Of(H_OnePublicGroup).size(), 4u);
    EXPECT_EQ(GetInvitedToPubGroupMessageTempList()->size(), 1u);
    EXPECT_EQ(GetJoinToPubGroupMessageTempList()->size(), 1u);
    EXPECT_EQ(GetAppLogined(), 1);
    clientkit::Reset();
}
