// The demo world and world files.
#include <gtest/gtest.h>

#include "bridge/JsonFile.h"
#include "sim/World.h"

using namespace host;

TEST(World, DemoWorldHasGroupsOfBothRolesAndOthersToFind)
{
    const CWorld world = CWorld::Default();
    ASSERT_FALSE(world.groups.empty()) << "the embedded demo world does not parse";
    int owned = 0, joined = 0, others = 0;
    for (const auto& g : world.groups) {
        const int role = world.RoleOf(g);
        (role == 1 ? owned : role == 2 ? joined : others)++;
        if (role != 3) {
            EXPECT_GE(g.members.size(), 3u) << g.name.toStdString();
            EXPECT_LE(g.members.size(), 30u) << g.name.toStdString();
            EXPECT_FALSE(g.history.empty()) << g.name.toStdString();
        }
    }
    EXPECT_EQ(owned, 2);
    EXPECT_EQ(joined, 2);
    EXPECT_GE(others, 3);
    EXPECT_EQ(world.me.uri, "sip:demo@velora.example");
    EXPECT_EQ(world.client.scene, 1);
}

TEST(World, SyntaxErrorsNameFileLineAndColumn)
{
    CWorld world;
    QString error;
    EXPECT_FALSE(CWorld::FromJson("{\n  \"me\": {\"uri\": \"sip:a@b\"},\n  \"users\": [,]\n}", "w.json", world, &error));
    EXPECT_TRUE(error.startsWith("w.json:3:")) << error.toStdString();
    EXPECT_EQ(LineColumn("ab\n中文x", 9), "2:3");  // columns count characters
}

TEST(World, ContentErrorsNameThePlace)
{
    CWorld world;
    QString error;
    EXPECT_FALSE(CWorld::FromJson(R"({"me": {"uri": "sip:a@b"}, "groups": [{"uri": "sip:g@b", "name": "G",
        "owner": "sip:a@b", "members": [{"name": "no uri"}]}]})", "w.json", world, &error));
    EXPECT_EQ(error, "w.json: groups[0].members[0]: \"uri\" is missing");
    EXPECT_FALSE(CWorld::FromJson(R"({"me": {"uri": "sip:a@b"}, "colour": 1})", "w.json", world, &error));
    EXPECT_TRUE(error.contains("colour"));
    EXPECT_FALSE(CWorld::FromJson(R"([1])", "w.json", world, &error));
    EXPECT_FALSE(CWorld::FromFile("/nonexistent/w.json", world, &error));
    EXPECT_TRUE(error.startsWith("/nonexistent/w.json"));
}

TEST(World, SmallWorldGetsItsDefaults)
{
    CWorld world;
    QString error;
    ASSERT_TRUE(CWorld::FromJson(R"({"me": {"uri": "sip:me@x.example"},
        "users": [{"uri": "sip:ann@x.example", "name": "Ann"}],
        "groups": [{"uri": "sip:g@x.example", "name": "G", "owner": "sip:ann@x.example", "members": ["sip:me@x.example"],
                    "history": [{"from": "sip:ann@x.example", "text": "hi"}]}]})", "w.json", world, &error))
        << error.toStdString();
    EXPECT_EQ(world.me.domain, "x.example");
    const TGroup& g = world.groups[0];
    EXPECT_EQ(g.members.front().uri, "sip:ann@x.example");  // the owner is a member
    EXPECT_EQ(g.members.front().name, "Ann");
    EXPECT_EQ(world.RoleOf(g), 2);
    EXPECT_EQ(g.history[0].id, 1001);
    EXPECT_EQ(world.NewGroupUri("文学"), "sip:group@group.x.example");
    EXPECT_EQ(CompleteUri("bob", "x.example"), "sip:bob@x.example");
    EXPECT_EQ(UserPart("sip:bob@x.example"), "bob");
}
