// Memory under load: the client signs in at the protocol maxima (200 groups
// of 300 members, 100 blacklist entries each), then the module gets one hour
// of a busy 60,000-member deployment's traffic, compressed (no waiting), and
// the program prints the resident memory (VmRSS) as it goes.
//
// The rate, per hour (one simulated second is one slice of the loop):
//   - presence: every member changes presence six times an hour (every ten
//     minutes: online, busy, away, in a meeting, back), 360,000 changes (100 a
//     second), each to a member of the tree;
//   - messages: 36,000 group messages (10 a second across the groups, three
//     a minute for each group), each shown in its group's conversation window
//     (the first opens it) and each followed by the window's request of the
//     group's information;
//   - membership: 3,600 members leave a group and 3,600 join one (one of each
//     a second; a member who left joins again later, so groups stay full).
// Events are processed (layout, painting) once a simulated second.
//
// Before the hour every group's conversation window opens and is filled past
// its output limit with messages like the hour's (the window keeps its last
// 40,000 to 50,000 characters), then a first simulated minute plays; the
// start figure is taken after it, so that the comparison is between the same
// windows, each at the size it keeps. Without the filling, memory grows with
// every message until the windows reach their limit (200 windows of up to
// 50,000 characters each). The end figure must be within 10% of the start,
// and the figures every ten minutes show whether memory grows with the
// messages. The program exits with 1 when the end is more than 10% above the
// start.
//
// Run: build/bin/bench_soak [minutes, default 60] [presence|messages|membership: that traffic alone]
// With SOAK_FAST_EXIT=1 the program ends without tearing the client down, so
// that under heaptrack what was still allocated at the end shows as leaked:
// heaptrack_print -f LONG.zst -d SHORT.zst --print-leaks 1 compares two runs
// of different lengths by the allocations alive at their ends.
#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <unistd.h>

#include <QApplication>

#include "BenchSupport.h"
#include "BenchWorld.h"

using namespace tarvolan;
using namespace bench;

namespace {

constexpr int kPresencePerSecond = 100;
constexpr int kMessagesPerSecond = 10;
constexpr int kMembershipPerSecond = 1;  // one leave and one join
constexpr int kMemberNotifyLeft = 3, kMemberNotifyJoined = 1;
constexpr int kGroupMessageType = 2;
// Filling a conversation window: messages of the hour's kind (a header line
// and a body line, about 120 characters) pass its limit of 50,000 characters
// after some 420; 500 trim every window at least once. The filling must look
// like the hour: a window's document costs memory by its lines as well as by
// its characters (Qt keeps a layout for every paragraph), and windows filled
// with long lines grew by about a fifth as the hour's short lines took over.
constexpr int kFillMessages = 500;

// Bytes the program's heap holds in use (what it allocated and did not free),
// as against what the process keeps resident.
long HeapInUseKb()
{
    const struct mallinfo2 info = mallinfo2();
    return static_cast<long>((info.uordblks + info.hblkhd) / 1024);  // small blocks and mapped large ones
}

// The traffic of one deployment: a fixed pseudo-random sequence.
class CTraffic {
public:
    CTraffic(CClient& client, const TWorld& world) : m_client(client), m_world(world)
    {
        m_left.reserve(kMaxMembers);
    }

    // only: "presence", "messages" or "membership" plays that traffic alone.
    void Second(const std::string& only)
    {
        if (only.empty() || only == "presence")
            for (int i = 0; i < kPresencePerSecond; ++i) Presence();
        if (only.empty() || only == "messages")
            for (int i = 0; i < kMessagesPerSecond; ++i) Message(Next() % kMaxGroups);
        if (only.empty() || only == "membership")
            for (int i = 0; i < kMembershipPerSecond; ++i) Membership();
        QApplication::processEvents();
    }
    // Messages to every group until its conversation window holds as much
    // as it keeps.
    void FillEveryWindow()
    {
        for (int i = 0; i < kFillMessages; ++i) {
            for (int g = 0; g < kMaxGroups; ++g) Message(static_cast<uint32_t>(g));
            QApplication::processEvents();
        }
    }
    long Messages() const { return m_messages; }
    void ResetCount() { m_messages = 0; }

private:
    uint32_t Next()
    {
        m_seed = m_seed * 1103515245u + 12345u;
        return m_seed >> 8;
    }

    void Presence()
    {
        static const char* const kTexts[] = {"online", "busy", "away", "in a meeting", "talking", "offline"};
        const int g = static_cast<int>(Next() % kMaxGroups), m = static_cast<int>(Next() % kMaxMembers);
        const std::string group = GroupURI(g), member = MemberURI(g, m);
        Word record[3] = {TextWord(group), TextWord(member), TextWord(kTexts[Next() % 6])};
        m_client.Send(H_MemberPresence, record);
    }

    void Message(uint32_t g)
    {
        static const std::string body = "about the plan for tomorrow, with a few more words";
        const std::string group = GroupURI(static_cast<int>(g));
        const std::string sender = MemberURI(static_cast<int>(g), static_cast<int>(Next() % kMaxMembers));
        const std::string text = "<font size=\"10\">message " + std::to_string(m_messages) + " " + body + "</font>";
        Word record[5] = {kGroupMessageType, TextWord(group), TextWord(sender), TextWord(text), 0};
        m_client.Send(H_GroupMessage, record);
        ++m_messages;
    }

    // One member leaves a group; one who left earlier (or now) joins again.
    void Membership()
    {
        const int g = static_cast<int>(Next() % kMaxGroups), m = static_cast<int>(Next() % kMaxMembers);
        Notify(kMemberNotifyLeft, g, m);
        m_left.emplace_back(g, m);
        const size_t back = Next() % m_left.size();
        const auto [jg, jm] = m_left[back];
        m_left.erase(m_left.begin() + static_cast<long>(back));
        Notify(kMemberNotifyJoined, jg, jm);
    }

    void Notify(int type, int g, int m)
    {
        const TOneGroupRecord& group = m_world.groups[static_cast<size_t>(g)];
        const std::string member = MemberURI(g, m);
        const TMemberEntry& entry = group.members[static_cast<size_t>(m)];
        Word record[7] = {static_cast<Word>(type), TextWord(group.name), TextWord("sip:owner@ims.example.com"),
                          TextWord(member),        TextWord(entry.DisplayName), TextWord(entry.csInfo),
                          TextWord(entry.csPhone)};
        m_client.Send(H_MemberNotify, record);
    }

    static Word TextWord(const std::string& text) { return reinterpret_cast<Word>(text.c_str()); }
    static Word TextWord(const char* text) { return reinterpret_cast<Word>(text); }

    CClient& m_client;
    const TWorld& m_world;
    uint32_t m_seed = 2024;
    long m_messages = 0;
    std::vector<std::pair<int, int>> m_left;  // members out of their group now
};

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});  // "does not support raise()"
    QApplication app(argc, argv);
    const CBenchClientData clientData(kMe);
    const int minutes = argc > 1 ? std::max(2, std::atoi(argv[1])) : 60;
    const std::string only = argc > 2 ? argv[2] : "";

    const TWorld& world = World(kMaxGroups, kMaxMembers);
    CClient client;
    client.Load(world);
    std::printf("signed in: %d groups, %zu members, VmRSS %ld kB\n", kMaxGroups,
                CTarvolanModule::Instance()->MainWindow()->Data().TreeModel().MemberTotal(), ResidentKb());

    CTraffic traffic(client, world);
    traffic.FillEveryWindow();
    std::printf("every conversation window open and full: VmRSS %ld kB\n", ResidentKb());
    for (int s = 0; s < 60; ++s) traffic.Second(only);
    const long start = ResidentKb();
    traffic.ResetCount();  // the hour's messages from here
    const long startMessages = traffic.Messages();
    std::printf("minute 1: VmRSS %ld kB (start); heap in use %ld kB\n", start, HeapInUseKb());
    std::fflush(stdout);
    long previous = start, previousMessages = startMessages;
    for (int minute = 2; minute <= minutes; ++minute) {
        for (int s = 0; s < 60; ++s) traffic.Second(only);
        if (minute % 10 == 0 || minute == minutes) {
            const long now = ResidentKb();
            std::printf("minute %d: VmRSS %ld kB, %+.1f%% of the start, %+.1f bytes per message since the last figure; "
                        "heap in use %ld kB\n",
                        minute, now, 100.0 * static_cast<double>(now - start) / static_cast<double>(start),
                        1024.0 * static_cast<double>(now - previous) /
                            static_cast<double>(traffic.Messages() - previousMessages),
                        HeapInUseKb());
            std::fflush(stdout);
            previous = now;
            previousMessages = traffic.Messages();
        }
    }
    const long end = ResidentKb();
    const double change = static_cast<double>(end - start) / static_cast<double>(start);
    const long seconds = 60L * minutes;
    std::printf("end: VmRSS %ld kB at the start, %ld kB at the end (%+.1f%%); played %ld messages, %ld presence "
                "changes, %ld members left and joined: %s\n",
                start, end, 100.0 * change, traffic.Messages(),
                only.empty() || only == "presence" ? seconds * kPresencePerSecond : 0L,
                only.empty() || only == "membership" ? seconds * kMembershipPerSecond : 0L,
                change <= 0.10 ? "flat" : "GROWS");
    std::fflush(stdout);
    if (std::getenv("SOAK_FAST_EXIT")) _exit(change <= 0.10 ? 0 : 1);
    return change <= 0.10 ? 0 : 1;
}
