#include "sim/SimulatedIms.h"

#include <utility>

#include <QDateTime>
#include <QJsonArray>
#include <QRegularExpression>

#include "protocol/TarvolanAbi.h"
#include "sim/WorldRecords.h"

using namespace tarvolan;

namespace host {

namespace {

QString Str(const QJsonObject& r, const char* key) { return r.value(QLatin1String(key)).toString(); }
int Int(const QJsonObject& r, const char* key) { return r.value(QLatin1String(key)).toInt(); }

// A group address may carry "/" and more after the group URI.
QString GroupUriOf(const QString& address)
{
    const int slash = address.indexOf(QLatin1Char('/'));
    return slash < 0 ? address : address.left(slash);
}

QString LocalTimeNow() { return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")); }

constexpr int kHistoryPage = 20;
constexpr int kRecentMessages = 10;
constexpr int kMaxDeliveriesPerFlush = 10000;

} // namespace

CSimulatedIms::CSimulatedIms(CWorld world) : m_world(std::move(world))
{
    m_clock.start();
    m_timer.setSingleShot(true);
    QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] { RunDue(); });
}

std::unique_ptr<CSimulatedIms> CSimulatedIms::FromWorldFile(const QString& path, QString* error)
{
    CWorld world = CWorld::Default();
    if (!path.isEmpty() && !CWorld::FromFile(path, world, error)) return nullptr;
    return std::make_unique<CSimulatedIms>(std::move(world));
}

void CSimulatedIms::FillClientKit(const QString& clientFolder) const { host::FillClientKit(m_world, clientFolder); }

QString CSimulatedIms::GroupName(const QString& group) const
{
    const TGroup* known = m_world.FindGroup(group);
    return known ? known->name : group;
}

// ---- the queue ----------------------------------------------------------------------

void CSimulatedIms::Schedule(int delay, std::function<void()> run)
{
    const qint64 due = m_clock.elapsed() + std::max(delay, 0);
    auto it = m_queue.end();
    while (it != m_queue.begin() && std::prev(it)->due > due) --it;  // stable: after equal times
    m_queue.insert(it, TQueued{due, std::move(run)});
    ArmTimer();
}

void CSimulatedIms::Post(int code, QJsonValue record, int delay)
{
    Schedule(delay < 0 ? m_delay : delay, [this, code, record = std::move(record)] {
        if (m_deliver) m_deliver(code, record);
    });
}

void CSimulatedIms::ArmTimer()
{
    NotifyState();
    if (m_queue.empty()) {
        m_timer.stop();
        return;
    }
    const qint64 wait = std::max<qint64>(m_queue.front().due - m_clock.elapsed(), 0);
    m_timer.start(static_cast<int>(wait));
}

void CSimulatedIms::RunDue()
{
    // One at a time: a delivery may open a prompt whose event loop comes back here.
    while (!m_queue.empty() && m_queue.front().due <= m_clock.elapsed()) {
        TQueued next = std::move(m_queue.front());
        m_queue.pop_front();
        next.run();
    }
    ArmTimer();
}

void CSimulatedIms::Flush()
{
    for (int n = 0; !m_queue.empty() && n < kMaxDeliveriesPerFlush; ++n) {
        TQueued next = std::move(m_queue.front());
        m_queue.pop_front();
        next.run();
    }
    ArmTimer();
}

int CSimulatedIms::TakeFailure(int code)
{
    if (const int any = std::exchange(m_failAny, 0)) {
        NotifyState();
        return any;
    }
    auto it = m_failures.find(code);
    if (it == m_failures.end()) return 0;
    const int result = it->second;
    m_failures.erase(it);
    return result;
}

// ---- requests -----------------------------------------------------------------------

void CSimulatedIms::HandleRequest(int code, const QJsonValue& record)
{
    if (!m_enabled || !record.isObject()) return;
    const QJsonObject r = record.toObject();
    using Handler = void (CSimulatedIms::*)(const QJsonObject&);
    static const std::map<int, Handler> handlers = {
        {M_RequestGroupInfo, &CSimulatedIms::OnRequestGroupInfo},
        {M_SaveGroup, &CSimulatedIms::OnSaveGroup},
        {M_ChangeDisplayName, &CSimulatedIms::OnChangeDisplayName},
        {M_DeleteGroup, &CSimulatedIms::OnDeleteGroup},
        {M_LeaveGroup, &CSimulatedIms::OnLeaveGroup},
        {M_TransferGroup, &CSimulatedIms::OnTransferGroup},
        {M_RemoveMember, &CSimulatedIms::OnRemoveMember},
        {M_InviteMember, &CSimulatedIms::OnInviteMember},
        {M_SearchGroups, &CSimulatedIms::OnSearchGroups},
        {M_AcceptXmlInvitation, &CSimulatedIms::OnAcceptXmlInvitation},
        {M_RequestBlacklist, &CSimulatedIms::OnRequestBlacklist},
        {M_WhitelistChange, &CSimulatedIms::OnWhitelistChange},
        {M_AddBlacklist, &CSimulatedIms::OnAddBlacklist},
        {M_RemoveBlacklist, &CSimulatedIms::OnRemoveBlacklist},
        {M_AnswerInvitation, &CSimulatedIms::OnAnswerInvitation},
        {M_AnswerJoinRequest, &CSimulatedIms::OnAnswerJoinRequest},
        {M_AnswerTransfer, &CSimulatedIms::OnAnswerTransfer},
        {M_ApplyToJoin, &CSimulatedIms::OnApplyToJoin},
        {M_RequestSearchDetails, &CSimulatedIms::OnRequestSearchDetails},
        {M_GroupMessage, &CSimulatedIms::OnGroupMessage},
        {M_Subscribe, &CSimulatedIms::OnSubscribe},
        {M_HistoryRequest, &CSimulatedIms::OnHistoryRequest},
    };
    auto it = handlers.find(code);
    if (it != handlers.end()) (this->*(it->second))(r);
}

void CSimulatedIms::ReportGroupChanged(const TGroup& group)
{
    Post(H_GroupInfoList, GroupListRecord(m_world));
    Post(H_OnePublicGroup, GroupRecord(m_world, group, m_world.RoleOf(group)));
}

void CSimulatedIms::AddMe(TGroup& group, const QString& displayName)
{
    if (group.HasMember(m_world.me.uri)) return;
    TMember me;
    me.uri = m_world.me.uri;
    me.name = displayName.isEmpty() ? m_world.me.name : displayName;
    me.phone = m_world.me.phone;
    group.members.push_back(me);
}

QJsonObject CSimulatedIms::PresenceRecord(const TGroup& group, const QString& memberUri) const
{
    return QJsonObject{{"pGroupURI", group.uri}, {"pMemberURI", memberUri}, {"pPresence", m_world.PresenceOf(memberUri)}};
}

void CSimulatedIms::AnnounceNewMember(const TGroup& group, const TMember& member, int delay)
{
    Post(H_MemberNotify, MemberNotifyRecord(group, member, 1), delay);
    Post(H_MemberPresence, PresenceRecord(group, member.uri), delay);
}

void CSimulatedIms::OnRequestGroupInfo(const QJsonObject& r)
{
    const QString uri = GroupUriOf(Str(r, "pGroupURI"));
    const TGroup* g = m_world.FindGroup(uri);
    int result = TakeFailure(M_RequestGroupInfo);
    if (!result && !g) result = 404;
    if (!result && m_world.RoleOf(*g) == 3) result = 403;
    if (result) {
        Post(H_GroupInfoFailed, QJsonObject{{"GroupURI", uri}, {"Result", result}});
        return;
    }
    Post(H_OnePublicGroup, GroupRecord(m_world, *g, m_world.RoleOf(*g)));
}

void CSimulatedIms::OnSaveGroup(const QJsonObject& r)
{
    const QString uri = Str(r, "uri");
    const QString name = Str(r, "name");
    auto answer = [&](const QString& groupUri, int result) {
        Post(H_CreateGroupResult, QJsonObject{{"pGroupName", name}, {"pGroupURI", groupUri}, {"iResult", result}});
    };
    if (const int failure = TakeFailure(M_SaveGroup)) return answer(uri, failure);
    TGroup* g = nullptr;
    if (uri.isEmpty()) {
        TGroup created;
        created.uri = m_world.NewGroupUri(name);
        created.identifier = UserPart(created.uri).toUpper();
        created.owner = created.creator = m_world.me.uri;
        created.created = LocalTimeNow();
        m_world.groups.push_back(created);
        g = &m_world.groups.back();
    } else {
        g = m_world.FindGroup(uri);
        if (!g) return answer(uri, 404);
        if (m_world.RoleOf(*g) != 1) return answer(uri, 403);
    }
    g->name = name;
    g->duration = Int(r, "duration");
    g->visibility = Int(r, "visibility");
    g->needPermit = Int(r, "needPermit");
    g->maxMembers = Int(r, "maxMembers");
    g->subject = Str(r, "subject");
    g->bulletin = Str(r, "bulletin");
    AddMe(*g, Str(r, "displayName"));
    if (TMember* me = g->FindMember(m_world.me.uri); me && !Str(r, "displayName").isEmpty())
        me->name = Str(r, "displayName");
    answer(g->uri, 200);
    // The server reports the group again, as it does after any change of a
    // group's settings: a new group with its owner as its first member, an
    // edited one as its members now see it.
    ReportGroupChanged(*g);
}

void CSimulatedIms::OnChangeDisplayName(const QJsonObject& r)
{
    const QString uri = Str(r, "pGroupURI");
    const QString name = Str(r, "pNewDisplayName");
    TGroup* g = m_world.FindGroup(uri);
    TMember* me = g ? g->FindMember(m_world.me.uri) : nullptr;
    int result = TakeFailure(M_ChangeDisplayName);
    if (!result && !me) result = 404;
    if (!result) me->name = name;
    Post(H_ChangeNameResult, QJsonObject{{"pGroupURI", uri}, {"pNewDisplayName", name}, {"iResult", result ? result : 200}});
}

void CSimulatedIms::OnDeleteGroup(const QJsonObject& r)
{
    const QString name = Str(r, "pGroupName");
    TGroup* g = m_world.FindGroupByName(name, m_world.me.uri);
    int result = TakeFailure(M_DeleteGroup);
    if (!result && !g) result = 404;
    if (!result) m_world.RemoveGroup(g->uri);
    Post(H_DeleteGroupResult, QJsonObject{{"pGroupName", name}, {"iResult", result ? result : 200}});
}

void CSimulatedIms::OnLeaveGroup(const QJsonObject& r)
{
    const QString name = Str(r, "pGroupName");
    const QString uri = Str(r, "pGroupURI");
    TGroup* g = m_world.FindGroup(uri);
    int result = TakeFailure(M_LeaveGroup);
    if (!result && (!g || !g->HasMember(m_world.me.uri))) result = 404;
    if (!result) {
        g->RemoveMember(m_world.me.uri);
        // An owner who leaves hands the group to the next member; an empty group goes.
        if (g->owner == m_world.me.uri) {
            if (g->members.empty()) m_world.RemoveGroup(uri);
            else g->owner = g->members.front().uri;
        }
    }
    Post(H_LeaveGroupResult, QJsonObject{{"pGroupName", name}, {"pGroupURI", uri}, {"iResult", result ? result : 200}});
}

void CSimulatedIms::OnTransferGroup(const QJsonObject& r)
{
    const QString newOwner = Str(r, "pNewOwnerURI");
    const QString uri = Str(r, "pGroupURI");
    TGroup* g = m_world.FindGroup(uri);
    int code = TakeFailure(M_TransferGroup);
    if (!code && (!g || !g->HasMember(newOwner))) code = 404;
    if (!code && m_world.RoleOf(*g) != 1) code = 403;
    if (!code && m_world.PresenceOf(newOwner) == QLatin1String("offline")) code = 416;
    Post(H_TransferAck, QJsonObject{{"GroupURI", uri}, {"NewOwnerURI", newOwner}, {"Code", code ? code : 202}});
    if (code) return;
    const int answer = m_world.answers.transfer;
    PostLater(H_TransferResult, QJsonObject{{"GroupURI", uri}, {"NewOwnerURI", newOwner}, {"Result", answer}});
    if (answer != 1) return;
    g->owner = newOwner;
    Schedule(m_delay * 3, [this, uri] {
        if (const TGroup* changed = m_world.FindGroup(uri)) ReportGroupChanged(*changed);
    });
}

void CSimulatedIms::OnRemoveMember(const QJsonObject& r)
{
    const QString member = Str(r, "pMemberURI");
    const QString name = Str(r, "pGroupName");
    TGroup* g = m_world.FindGroupByName(name, m_world.me.uri);
    const TMember* m = g ? g->FindMember(member) : nullptr;
    int result = TakeFailure(M_RemoveMember);
    if (!result && !m) result = 404;
    Post(H_RemoveMemberResult, QJsonObject{{"pSomeoneURI", member}, {"pGroupName", name}, {"iResult", result ? result : 200}});
    if (result) return;
    const TMember left = *m;
    g->RemoveMember(member);
    // Every member is told, and so am I.
    Post(H_MemberNotify, MemberNotifyRecord(*g, left, 3));
}

void CSimulatedIms::OnInviteMember(const QJsonObject& r)
{
    const QString invitee = CompleteUri(Str(r, "pAccount"), m_world.me.domain);
    const QString display = Str(r, "pDisplayName");
    const QString name = Str(r, "pGroupName");
    TGroup* g = m_world.FindGroupByName(name, m_world.me.uri);
    int result = TakeFailure(M_InviteMember);
    if (!result && (!g || !m_world.FindUser(invitee))) result = 404;
    if (!result && static_cast<int>(g->members.size()) >= std::max(g->maxMembers, 1)) result = 409;
    Post(H_InviteSendResult, QJsonObject{{"pSomeoneURI", invitee}, {"pDisplayName", display},
                                         {"pGroupName", name}, {"iResult", result ? result : 202}});
    if (result) return;
    const int answer = m_world.answers.invite;
    PostLater(H_InviteResult, QJsonObject{{"pGroupName", name}, {"pInvitedUserURI", invitee}, {"pReturn", answer}});
    if (answer != 1 || g->HasMember(invitee)) return;
    TMember joined;
    joined.uri = invitee;
    joined.name = m_world.NameOf(invitee);
    joined.phone = m_world.FindUser(invitee)->phone;
    g->members.push_back(joined);
    AnnounceNewMember(*g, joined, m_delay * 3);
    // The inviter listed her under her account's user part: the group's
    // details bring her display name.
    PostLater(H_OnePublicGroup, GroupRecord(m_world, *g, m_world.RoleOf(*g)));
}

void CSimulatedIms::OnSearchGroups(const QJsonObject& r)
{
    const int kind = Int(r, "iKind");
    const QString text = Str(r, "pSearchText");
    if (const int failure = TakeFailure(M_SearchGroups)) {
        Q_UNUSED(failure);
        Post(H_SearchFailed, QJsonObject{{"GroupURI", text}});
        return;
    }
    std::vector<const TGroup*> found;
    for (const auto& g : m_world.groups) {
        const bool match = kind == 2 ? g.owner.compare(text, Qt::CaseInsensitive) == 0
                                     : text.isEmpty() || g.name.contains(text, Qt::CaseInsensitive);
        if (match) found.push_back(&g);
    }
    const int page = std::max(Int(r, "iPage"), 1);
    QJsonArray entries;
    for (size_t i = static_cast<size_t>(page - 1) * kMaxSearchResults;
         i < found.size() && entries.size() < kMaxSearchResults; ++i)
        entries.append(SearchEntry(*found[i]));
    Post(H_SearchResult, QJsonObject{{"iResultNum", entries.size()}, {"pSearchString", text}, {"pEntries", entries}});
}

void CSimulatedIms::OnAcceptXmlInvitation(const QJsonObject& r)
{
    const QRegularExpression idPattern(QStringLiteral("<GroupID>(.*)</GroupID>"));
    const QString id = idPattern.match(Str(r, "pBody")).captured(1);
    if (TakeFailure(M_AcceptXmlInvitation)) return;
    for (auto& g : m_world.groups) {
        if (g.identifier != id) continue;
        AddMe(g);
        ReportGroupChanged(g);
        return;
    }
}

void CSimulatedIms::OnRequestBlacklist(const QJsonObject& r)
{
    const QString uri = Str(r, "pGroupURI");
    const TGroup* g = m_world.FindGroup(uri);
    if (TakeFailure(M_RequestBlacklist) || !g) {
        Post(H_BlacklistChanged, QJsonObject{{"iSuccess", 0}, {"pURI", QString()}, {"pGroup", uri}});
        return;
    }
    for (const auto& entry : g->blacklist)
        Post(H_BlacklistEntry, QJsonObject{{"pURI", entry}, {"pGroupURI", uri}, {"iListKind", 0}});
}

void CSimulatedIms::OnWhitelistChange(const QJsonObject& r)
{
    const int success = TakeFailure(M_WhitelistChange) ? 0 : 1;
    Post(H_BlacklistChanged, QJsonObject{{"iSuccess", success}, {"pURI", Str(r, "pURI")}, {"pGroup", Str(r, "pGroup")},
                                         {"iOperation", Int(r, "iOperation")}, {"iListKind", Int(r, "iListKind")}});
}

void CSimulatedIms::OnAddBlacklist(const QJsonObject& r)
{
    const QString name = Str(r, "pGroupName");
    const QString uri = CompleteUri(Str(r, "pURI"), m_world.me.domain);
    TGroup* g = m_world.FindGroupByName(name, m_world.me.uri);
    int result = TakeFailure(M_AddBlacklist);
    if (!result && !g) result = 404;
    if (!result && g->blacklist.size() >= kMaxBlacklist) result = 409;
    if (!result && !g->blacklist.contains(uri)) g->blacklist << uri;
    Post(H_AddBlacklistResult, QJsonObject{{"pGroupName", name}, {"pDName", uri}, {"iResult", result ? result : 200}});
    if (result) ReportBlacklistFailure(uri, name, 1);
}

// A refused blacklist change is also reported as a failed list operation,
// which the blacklist window shows.
void CSimulatedIms::ReportBlacklistFailure(const QString& uri, const QString& group, int operation)
{
    Post(H_BlacklistChanged, QJsonObject{{"iSuccess", 0}, {"pURI", uri}, {"pGroup", group},
                                         {"iOperation", operation}, {"iListKind", 0}});
}

void CSimulatedIms::OnRemoveBlacklist(const QJsonObject& r)
{
    const QString name = Str(r, "pGroupName");
    const QString uri = Str(r, "pURI");
    TGroup* g = m_world.FindGroupByName(name, m_world.me.uri);
    int result = TakeFailure(M_RemoveBlacklist);
    if (!result && (!g || !g->blacklist.contains(uri))) result = 404;
    if (!result) g->blacklist.removeAll(uri);
    Post(H_DeleteBlacklistResult, QJsonObject{{"pGroupName", name}, {"pDName", uri}, {"iResult", result ? result : 200}});
    if (result) ReportBlacklistFailure(uri, name, 0);
}

void CSimulatedIms::ForgetParked(const char* list, const char* field, const QString& value)
{
    QJsonArray kept;
    for (const QJsonValue& v : m_world.parked.value(QLatin1String(list)).toArray())
        if (v.toObject().value(QLatin1String(field)).toString() != value) kept.append(v);
    if (m_world.parked.contains(QLatin1String(list))) m_world.parked[QLatin1String(list)] = kept;
}

void CSimulatedIms::OnAnswerInvitation(const QJsonObject& r)
{
    ForgetParked("invitations", "pGroupURI", Str(r, "pGroupURI"));
    if (Int(r, "iAnswer") != 1) return;  // a refusal goes to the inviter only
    const QString uri = Str(r, "pGroupURI");
    TGroup* g = m_world.FindGroup(uri);
    int result = TakeFailure(M_AnswerInvitation);
    if (!result && !g) result = 404;
    if (!result && !g->HasMember(m_world.me.uri) && static_cast<int>(g->members.size()) >= g->maxMembers) result = 409;
    Post(H_InviteJoinResult, QJsonObject{{"iKind", 1}, {"pGroupURI", uri}, {"iResult", result ? result : 200}});
    if (result) return;
    AddMe(*g);
    ReportGroupChanged(*g);
}

void CSimulatedIms::OnAnswerJoinRequest(const QJsonObject& r)
{
    if (TakeFailure(M_AnswerJoinRequest)) return;
    const QString token = Str(r, "pReturn1");
    ForgetParked("joinRequests", "pReturn1", token);
    auto known = m_joinTokens.find(token);
    const QString groupUri = known != m_joinTokens.end() ? known->second : Str(r, "pReturn2");
    if (known != m_joinTokens.end()) m_joinTokens.erase(known);
    TGroup* g = m_world.FindGroup(groupUri);
    const QString proposer = Str(r, "pProposerURI");
    if (Int(r, "iAnswer") != 1 || !g || g->HasMember(proposer)) return;
    TMember joined;
    joined.uri = proposer;
    joined.name = m_world.NameOf(proposer);
    if (const TUser* u = m_world.FindUser(proposer)) joined.phone = u->phone;
    g->members.push_back(joined);
    AnnounceNewMember(*g, joined);
    Post(H_OnePublicGroup, GroupRecord(m_world, *g, m_world.RoleOf(*g)));
}

void CSimulatedIms::OnAnswerTransfer(const QJsonObject& r)
{
    const QString uri = Str(r, "GroupURI");
    std::erase_if(m_offers, [&](const QJsonObject& o) { return o.value("GroupURI").toString() == uri; });
    ForgetParked("transfers", "GroupURI", uri);
    if (TakeFailure(M_AnswerTransfer) || Int(r, "iAnswer") != 1) return;
    TGroup* g = m_world.FindGroup(uri);
    if (!g || g->owner.compare(Str(r, "OldOwnerURI"), Qt::CaseInsensitive) != 0) return;
    // The old owner hears 1027; I see the group come back with me as its owner.
    AddMe(*g);
    g->owner = m_world.me.uri;
    ReportGroupChanged(*g);
}

void CSimulatedIms::OnApplyToJoin(const QJsonObject& r)
{
    const QString uri = Str(r, "pGroupURI");
    TGroup* g = m_world.FindGroup(uri);
    int result = TakeFailure(M_ApplyToJoin);
    if (!result && !g) result = 404;
    if (!result && !g->HasMember(m_world.me.uri) && static_cast<int>(g->members.size()) >= g->maxMembers) result = 409;
    Post(H_JoinSendResult, QJsonObject{{"pGroupURI", uri}, {"pGroupIdentifier", Str(r, "pGroupIdentifier")},
                                       {"iResult", result ? result : 202}});
    if (result) return;
    // A group without permission takes me at once; otherwise the owner decides later.
    const int answer = g->needPermit ? m_world.answers.join : 1;
    if (answer == 1) AddMe(*g, Str(r, "pDisplayName"));
    const QJsonObject decision{{"pGroupURI", uri}, {"pGroupName", g->name}, {"iResult", answer}};
    if (g->needPermit) PostLater(H_JoinRequestResult, decision);
    else Post(H_JoinRequestResult, decision);
}

void CSimulatedIms::OnRequestSearchDetails(const QJsonObject& r)
{
    const QString uri = Str(r, "pGroupURI");
    const TGroup* g = m_world.FindGroup(uri);
    const int role = g ? m_world.RoleOf(*g) : 3;
    const bool visible = g && (g->visibility >= 3 || role != 3);
    if (TakeFailure(M_RequestSearchDetails) || !visible) {
        Post(H_SearchFailed, QJsonObject{{"GroupURI", uri}});
        return;
    }
    Post(H_OnePublicGroup, GroupRecord(m_world, *g, role));
}

void CSimulatedIms::OnGroupMessage(const QJsonObject& r)
{
    // Stored and delivered to the other members; the server sends nothing
    // back to the sender, so a failure has nothing to answer with.
    if (TakeFailure(M_GroupMessage)) return;
    TGroup* g = m_world.FindGroup(GroupUriOf(Str(r, "pGroupURI")));
    if (!g) return;
    TMessage m;
    m.id = m_world.NextMessageId();
    m.sender = m_world.me.uri;
    m.time = InternetTimeNow();
    m.text = Str(r, "pText");
    g->history.push_back(m);
}

void CSimulatedIms::OnSubscribe(const QJsonObject& r)
{
    const TGroup* g = m_world.FindGroup(Str(r, "pGroupURI"));
    if (TakeFailure(M_Subscribe) || !g) return;
    // A subscription is answered with every member's presence and the recent messages.
    for (const auto& m : g->members)
        if (m.uri.compare(m_world.me.uri, Qt::CaseInsensitive) != 0)
            Post(H_MemberPresence, PresenceRecord(*g, m.uri));
    std::vector<TMessage> recent = HistoryPage(*g, 0, 0, kRecentMessages);
    Post(H_HistoryList, HistoryRecord(200, 1, g->uri, recent));
}

void CSimulatedIms::OnHistoryRequest(const QJsonObject& r)
{
    const QJsonObject request = r.value("pRequest").toObject();
    const QString uri = request.value("groupURI").toString();
    const TGroup* g = m_world.FindGroup(uri);
    int code = TakeFailure(M_HistoryRequest);
    if (!code && !g) code = 404;
    if (code) {
        Post(H_HistoryList, HistoryRecord(code, 2, uri, {}));
        return;
    }
    const auto page = HistoryPage(*g, request.value("anchor").toInt(), request.value("direction").toInt(), kHistoryPage);
    Post(H_HistoryList, HistoryRecord(200, 2, uri, page));
}

} // namespace host
