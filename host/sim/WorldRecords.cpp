#include "sim/WorldRecords.h"

#include <algorithm>

#include "protocol/TarvolanAbi.h"

using namespace tarvolan;

namespace host {

namespace {

QJsonObject Slot(const QString& uri, const QString& name, int type, int usage, const QString& owner)
{
    return {{"groupURI", uri}, {"groupname", name}, {"groupType", type}, {"groupUsage", usage}, {"groupOwner", owner}};
}

} // namespace

QJsonObject GroupListRecord(const CWorld& world)
{
    QJsonArray slotList;
    // The contact lists a server reports with the groups: all contacts and one list of the user's own.
    slotList.append(Slot(world.me.uri + QStringLiteral(";list=all"), QString(), 1, 4, world.me.uri));
    slotList.append(Slot(world.me.uri + QStringLiteral(";list=colleagues"), QStringLiteral("同事"), 1, 1, world.me.uri));
    for (const auto& g : world.groups) {
        if (slotList.size() >= tarvolan::kMaxGroups) break;
        if (world.RoleOf(g) != 3) slotList.append(Slot(g.uri, g.name, g.kind, 0, g.owner));
    }
    return {{"count", slotList.size()}, {"slots", slotList}};
}

QJsonObject GroupRecord(const CWorld& world, const TGroup& group, int role)
{
    QJsonObject info{{"owner", group.owner},         {"creator", group.creator},
                     {"creationTime", group.created}, {"iDuration", group.duration},
                     {"iVisi", group.visibility},     {"iNeedPermit", group.needPermit},
                     {"iMaxMember", group.maxMembers}, {"subject", group.subject},
                     {"bulletin", group.bulletin}};
    QJsonArray members;
    for (const auto& m : group.members) {
        if (members.size() >= tarvolan::kMaxMembers) break;
        members.append(QJsonObject{{"DisplayName", m.name}, {"csInfo", m.info}, {"UserURI", m.uri},
                                   {"csPhone", m.phone}});
    }
    QJsonArray blacklist;
    for (const auto& b : group.blacklist) {
        if (blacklist.size() >= tarvolan::kMaxBlacklist) break;
        blacklist.append(b);
    }
    return {{"pGroupName", group.name}, {"pGroupURI", group.uri}, {"iMyRole", role}, {"pInfo", info},
            {"pList", members}, {"pBlacklist", blacklist}};
}

QJsonObject MemberNotifyRecord(const TGroup& group, const TMember& member, int type)
{
    return {{"iType", type},
            {"pGroupName", group.name},
            {"pOwnerURI", group.owner},
            {"pMemberURI", member.uri},
            {"pMemberDisplay", member.name},
            {"pMemberInfo", member.info},
            {"pMemberPhone", member.phone}};
}

QJsonObject SearchEntry(const TGroup& group)
{
    return {{"GroupName", group.name},     {"GroupURI", group.uri},        {"OwnerURI", group.owner},
            {"GSubject", group.subject},   {"GBulletin", group.bulletin}, {"ID", group.identifier},
            {"iNeedPermit", group.needPermit}};
}

QJsonObject HistoryEntry(const TMessage& message)
{
    return {{"senderText", QString::number(message.id)},
            {"senderURI", message.sender},
            {"time", message.time},
            {"text", message.text}};
}

std::vector<TMessage> HistoryPage(const TGroup& group, int anchor, int direction, int pageSize)
{
    std::vector<TMessage> sorted = group.history;
    std::stable_sort(sorted.begin(), sorted.end(), [](const TMessage& a, const TMessage& b) { return a.id < b.id; });
    std::vector<TMessage> page;
    if (direction == 1) {
        for (const auto& m : sorted)
            if (m.id > anchor && static_cast<int>(page.size()) < pageSize) page.push_back(m);
        return page;
    }
    // The newest messages (below the anchor when paging back), in ascending order.
    for (auto it = sorted.rbegin(); it != sorted.rend() && static_cast<int>(page.size()) < pageSize; ++it)
        if (direction == 0 || anchor <= 0 || it->id < anchor) page.push_back(*it);
    std::reverse(page.begin(), page.end());
    return page;
}

QJsonObject HistoryRecord(int code, int type, const QString& groupUri, const std::vector<TMessage>& messages)
{
    QJsonObject record{{"iCode", code}, {"iType", type}, {"lpGroupURI", groupUri}};
    if (messages.empty()) {
        record["iListNum"] = 0;
        record["pList"] = QJsonValue::Null;
        return record;
    }
    QJsonArray list;
    for (const auto& m : messages) list.append(HistoryEntry(m));
    record["pList"] = list;
    return record;
}

} // namespace host
