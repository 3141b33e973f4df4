// A member's presence in words, as member items describe it to a screen reader.
#include <gtest/gtest.h>

#include "controls/PresenceText.h"
#include "groups/Presence.h"
#include "groups/Tarvolan.h"

using namespace tarvolan;

TEST(PresenceText, EveryPresenceHasItsWords)
{
    struct TCase {
        int code;
        const char* text;
        const char* words;
    };
    const TCase cases[] = {
        {PRESENCE_ONLINE, "", "在线"},     {PRESENCE_BUSY, "", "忙碌"},        {PRESENCE_AWAY, "", "离开"},
        {PRESENCE_TALKING, "", "通话中"},  {PRESENCE_REPAST, "", "用餐"},      {PRESENCE_HIDE, "", "离线"},
        {PRESENCE_OFFLINE, "", "离线"},    {0, "", "离线"},                    {PRESENCE_DO_NOT_DISTURB, "", "请勿打扰"},
        {PRESENCE_CUSTOM, "in a meeting", "in a meeting"},  // the status text the tree shows
        {PRESENCE_CUSTOM, "", "在线"},
    };
    CTarvolan group(CString("sip:g@group.example"));
    CTarvolanMember member(&group, CString("sip:m@example"));
    for (const TCase& c : cases) {
        member.SetPresence(c.code, CString(c.text));
        EXPECT_EQ(PresenceInWords(member), QString::fromUtf8(c.words)) << c.code << " " << c.text;
    }
}
