// The signed-in world of the module benchmarks: the group list and one 1005
// record per group at any size (the protocol maxima are 200 groups of 300
// members with 100 blacklist entries each), and the client around the module
// that loads it through the module's host interface.
#pragma once

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include <QApplication>
#include <QWidget>

#include "BenchSupport.h"
#include "module/TarvolanModule.h"
#include "platform/Resources.h"
#include "protocol/TarvolanAbi.h"
#include "window/TarvolanDialog.h"

namespace bench {

using namespace tarvolan;

inline constexpr const char* kMe = "sip:me@ims.example.com";

template <size_t N> void Put(char (&field)[N], const std::string& text)
{
    CString(text).CopyTo(field, N);
}

inline std::string GroupURI(int g) { return "sip:group" + std::to_string(g) + "@groups.example.com"; }
inline std::string MemberURI(int g, int m) { return "sip:user" + std::to_string(g) + "_" + std::to_string(m) + "@ims.example.com"; }

// One group's 1005 record with its arrays.
struct TOneGroupRecord {
    std::string name;
    std::string uri;
    TGroupDescription info{};
    std::vector<TMemberEntry> members;
    std::vector<TBlacklistEntry> blacklist;
    Word words[8] = {};

    Word* Words()
    {
        Word w[8] = {reinterpret_cast<Word>(name.c_str()), reinterpret_cast<Word>(uri.c_str()), ROLE_MEMBER,
                     reinterpret_cast<Word>(&info), static_cast<Word>(members.size()),
                     reinterpret_cast<Word>(members.data()), static_cast<Word>(blacklist.size()),
                     reinterpret_cast<Word>(blacklist.data())};
        std::copy(std::begin(w), std::end(w), words);
        return words;
    }
};

// Member names are Chinese text (GBK), as they are in the client; suffix
// tells two versions of a group apart.
inline TOneGroupRecord MakeGroup(int g, int memberCount, const std::string& suffix = "", int blacklistCount = kMaxBlacklist)
{
    static const std::string kName = Utf8ToGbk("成员").str();
    TOneGroupRecord group;
    group.name = Utf8ToGbk("群组").str() + std::to_string(g);
    group.uri = GroupURI(g);
    Put(group.info.owner, "sip:owner@ims.example.com");
    Put(group.info.creator, "sip:owner@ims.example.com");
    Put(group.info.creationTime, "2024-01-01 10:00:00");
    group.info.iMaxMember = 300;
    Put(group.info.subject, std::string(120, 's'));
    Put(group.info.bulletin, std::string(160, 'b'));
    group.members.resize(static_cast<size_t>(memberCount));
    for (int m = 0; m < memberCount; ++m) {
        TMemberEntry& e = group.members[static_cast<size_t>(m)];
        Put(e.UserURI, MemberURI(g, m));
        Put(e.DisplayName, kName + std::to_string(m) + suffix);
        Put(e.csInfo, "Forward");
        Put(e.csPhone, "1390000" + std::to_string(1000 + m));
    }
    group.blacklist.resize(static_cast<size_t>(blacklistCount));
    for (int b = 0; b < blacklistCount; ++b)
        Put(group.blacklist[static_cast<size_t>(b)].uri, "sip:banned" + std::to_string(b) + "@ims.example.com");
    return group;
}

struct TWorld {
    std::unique_ptr<TGroupInfoList> list;
    std::vector<TOneGroupRecord> groups;
};

inline const TWorld& World(int groupCount, int memberCount, int blacklistCount = kMaxBlacklist)
{
    static std::map<std::tuple<int, int, int>, std::unique_ptr<TWorld>> worlds;
    auto& world = worlds[{groupCount, memberCount, blacklistCount}];
    if (world) return *world;
    world = std::make_unique<TWorld>();
    world->list = std::make_unique<TGroupInfoList>();
    std::memset(world->list.get(), 0, sizeof(TGroupInfoList));
    world->list->count = groupCount;
    for (int g = 0; g < groupCount; ++g) {
        TGroupInfoSlot& slot = world->list->groups[g];
        Put(slot.groupURI, GroupURI(g));
        Put(slot.groupname, Utf8ToGbk("群组").str() + std::to_string(g));
        slot.groupType = GROUP_PUBLIC;
        Put(slot.groupOwner, "sip:owner@ims.example.com");
        world->groups.push_back(MakeGroup(g, memberCount, "", blacklistCount));
    }
    return *world;
}

// The client around the module: a shown parent window, the module loaded,
// initialised, shown and placed.
class CClient {
public:
    CClient()
    {
        m_parent.resize(260, 700);
        m_parent.show();
        m_module = LoadTarvolanModule(&m_host, nullptr, &m_parent);
        m_module->Init();
        Word show = SW_SHOW;
        m_module->OnMessage(0, H_ShowWindow, &show);
        Word place[4] = {0, 0, 260, 700};
        m_module->OnMessage(0, H_PlaceWindow, place);
        QApplication::processEvents();
    }
    ~CClient() { CTarvolanModule::DestroyInstance(); }

    void Load(const TWorld& world)
    {
        m_module->OnMessage(0, H_GroupInfoList, world.list.get());
        for (const TOneGroupRecord& group : world.groups)
            m_module->OnMessage(0, H_OnePublicGroup, const_cast<TOneGroupRecord&>(group).Words());
        QApplication::processEvents();  // layout and paint of the finished tree
    }
    void Send(int code, void* record) { m_module->OnMessage(0, code, record); }

private:
    QWidget m_parent;
    CSilentHost m_host;
    CModuleBase* m_module = nullptr;
};

} // namespace bench
