// What the simulated network pushes without being asked, and the sign-in
// sequence.
#include <QStringList>

#include "bridge/RecordCodec.h"
#include "clientkit/ClientKit.h"
#include "sim/SimulatedIms.h"
#include "sim/WorldRecords.h"

using namespace tarvolan;

namespace host {

namespace {

const char* const kCannedTexts[] = {
    "大家好！",
    "Has anyone seen the latest build?",
    "<property bold=\"1\" color=\"0x000000ff\" ></property>今天下午三点开会，请准时参加。",
    "Thanks, sounds good.",
    "周末一起去爬山吗？",
};

const char* const kPresenceCycle[] = {"online", "busy", "away", "offline"};

QString XmlEscaped(const QString& text) { return text.toHtmlEscaped(); }

bool NotFound(QString* error, const QString& what)
{
    if (error) *error = what;
    return false;
}

} // namespace

QStringList CSimulatedIms::Actions()
{
    return {QStringLiteral("invite"),     QStringLiteral("xmlinvite"),   QStringLiteral("join"),
            QStringLiteral("message"),    QStringLiteral("presence"),    QStringLiteral("memberjoin"),
            QStringLiteral("memberleave"), QStringLiteral("deletegroup"), QStringLiteral("removeme"),
            QStringLiteral("offer"),      QStringLiteral("withdraw"),    QStringLiteral("signin")};
}

bool CSimulatedIms::Push(const QString& action, const QJsonObject& params, QString* error)
{
    using Pusher = bool (CSimulatedIms::*)(const QJsonObject&, QString*);
    static const std::map<QString, Pusher> pushers = {
        {QStringLiteral("invite"), &CSimulatedIms::PushInvite},
        {QStringLiteral("xmlinvite"), &CSimulatedIms::PushXmlInvite},
        {QStringLiteral("join"), &CSimulatedIms::PushJoinRequest},
        {QStringLiteral("message"), &CSimulatedIms::PushMessage},
        {QStringLiteral("presence"), &CSimulatedIms::PushPresence},
        {QStringLiteral("memberjoin"), &CSimulatedIms::PushMemberJoins},
        {QStringLiteral("memberleave"), &CSimulatedIms::PushMemberLeaves},
        {QStringLiteral("deletegroup"), &CSimulatedIms::PushGroupDeleted},
        {QStringLiteral("removeme"), &CSimulatedIms::PushRemoveMe},
        {QStringLiteral("offer"), &CSimulatedIms::PushOffer},
        {QStringLiteral("withdraw"), &CSimulatedIms::PushWithdraw},
        {QStringLiteral("signin"), &CSimulatedIms::PushSignIn},
    };
    auto it = pushers.find(action);
    if (it == pushers.end())
        return NotFound(error, QStringLiteral("unknown network action \"%1\" (known: %2)")
                                   .arg(action, Actions().join(QStringLiteral(", "))));
    return (this->*(it->second))(params, error);
}

TGroup* CSimulatedIms::ResolveGroup(const QJsonObject& params, const std::function<bool(const TGroup&)>& fallback,
                                    QString* error)
{
    const QString wanted = params.value("group").toString();
    for (auto& g : m_world.groups) {
        const bool match = wanted.isEmpty() ? fallback(g) : (g.uri.compare(wanted, Qt::CaseInsensitive) == 0 || g.name == wanted);
        if (match) return &g;
    }
    NotFound(error, wanted.isEmpty() ? QStringLiteral("no group fits this action")
                                     : QStringLiteral("no group \"%1\" fits this action").arg(wanted));
    return nullptr;
}

TUser* CSimulatedIms::ResolveUser(const QJsonObject& params, const std::function<bool(const TUser&)>& fallback,
                                  QString* error)
{
    QString wanted = params.value("from").toString();
    if (wanted.isEmpty()) wanted = params.value("user").toString();
    for (auto& u : m_world.users) {
        const bool match = wanted.isEmpty() ? fallback(u) : u.uri.compare(wanted, Qt::CaseInsensitive) == 0;
        if (match) return &u;
    }
    NotFound(error, wanted.isEmpty() ? QStringLiteral("no user fits this action")
                                     : QStringLiteral("no user \"%1\" fits this action").arg(wanted));
    return nullptr;
}

bool CSimulatedIms::PushInvite(const QJsonObject& p, QString* error)
{
    TGroup* g = ResolveGroup(p, [&](const TGroup& g) { return m_world.RoleOf(g) == 3; }, error);
    if (!g) return false;
    const QString from = p.value("from").toString(g->owner);
    Post(H_InvitedToGroup, QJsonObject{{"pGroupName", g->name}, {"pOwnerURI", from}, {"pOwnerName", m_world.NameOf(from)},
                                       {"pGroupURI", g->uri}, {"pReturn", QStringLiteral("inv-%1").arg(++m_token)}}, 0);
    return true;
}

bool CSimulatedIms::PushXmlInvite(const QJsonObject& p, QString* error)
{
    TGroup* g = ResolveGroup(p, [&](const TGroup& g) { return m_world.RoleOf(g) == 3; }, error);
    if (!g) return false;
    const QString from = p.value("from").toString(g->owner);
    const QString body = QStringLiteral("<FromName>%1</FromName><GroupID>%2</GroupID><GroupName>%3</GroupName>")
                             .arg(XmlEscaped(m_world.NameOf(from)), XmlEscaped(g->identifier), XmlEscaped(g->name));
    Post(H_XmlInvitation, QJsonObject{{"pFrom", from}, {"iType", 1}, {"pBody", body}}, 0);
    return true;
}

bool CSimulatedIms::PushJoinRequest(const QJsonObject& p, QString* error)
{
    TGroup* g = ResolveGroup(p, [&](const TGroup& g) { return m_world.RoleOf(g) == 1; }, error);
    if (!g) return false;
    TUser* u = ResolveUser(p, [&](const TUser& u) { return !g->HasMember(u.uri) && !g->blacklist.contains(u.uri); }, error);
    if (!u) return false;
    const QString token = QStringLiteral("join-%1").arg(++m_token);
    m_joinTokens[token] = g->uri;
    Post(H_JoinRequest, QJsonObject{{"pGroupName", g->name}, {"pProposerURI", u->uri}, {"pProposerName", u->name},
                                    {"pReturn1", token}, {"pReturn2", g->uri}}, 0);
    return true;
}

bool CSimulatedIms::PushMessage(const QJsonObject& p, QString* error)
{
    TGroup* g = ResolveGroup(p, [&](const TGroup& g) { return m_world.RoleOf(g) != 3 && g.members.size() > 1; }, error);
    if (!g) return false;
    TUser* u = ResolveUser(p, [&](const TUser& u) { return g->HasMember(u.uri); }, error);
    if (!u) return false;
    TMessage m;
    m.id = m_world.NextMessageId();
    m.sender = u->uri;
    m.time = InternetTimeNow();
    m.text = p.value("text").toString(QString::fromUtf8(kCannedTexts[m_cannedText++ % std::size(kCannedTexts)]));
    g->history.push_back(m);
    Post(H_GroupMessage, QJsonObject{{"iType", 2}, {"pGroupAddress", g->uri}, {"pSenderURI", u->uri}, {"pText", m.text}}, 0);
    return true;
}

bool CSimulatedIms::PushPresence(const QJsonObject& p, QString* error)
{
    TUser* u = ResolveUser(p, [&](const TUser& u) {
        for (const auto& g : m_world.groups)
            if (m_world.RoleOf(g) != 3 && g.HasMember(u.uri)) return true;
        return false;
    }, error);
    if (!u) return false;
    QString presence = p.value("presence").toString();
    if (presence.isEmpty()) {
        int i = 0;
        while (i < 4 && u->presence != QLatin1String(kPresenceCycle[i])) ++i;
        presence = QLatin1String(kPresenceCycle[(i + 1) % 4]);
    }
    u->presence = presence;
    const int code = p.value("code").toInt(H_MemberPresence) == H_MemberPresence2 ? H_MemberPresence2 : H_MemberPresence;
    const QString only = p.value("group").toString();
    for (const auto& g : m_world.groups) {
        if (m_world.RoleOf(g) == 3 || !g.HasMember(u->uri)) continue;
        if (!only.isEmpty() && g.uri != only && g.name != only) continue;
        Post(code, QJsonObject{{"pGroupURI", g.uri}, {"pMemberURI", u->uri}, {"pPresence", presence}}, 0);
    }
    return true;
}

bool CSimulatedIms::PushMemberJoins(const QJsonObject& p, QString* error)
{
    TGroup* g = ResolveGroup(p, [&](const TGroup& g) { return m_world.RoleOf(g) != 3; }, error);
    if (!g) return false;
    TUser* u = ResolveUser(p, [&](const TUser& u) { return !g->HasMember(u.uri); }, error);
    if (!u) return false;
    if (g->HasMember(u->uri)) return NotFound(error, QStringLiteral("%1 is already a member").arg(u->uri));
    TMember m;
    m.uri = u->uri;
    m.name = u->name;
    m.phone = u->phone;
    g->members.push_back(m);
    AnnounceNewMember(*g, m, 0);
    return true;
}

bool CSimulatedIms::PushMemberLeaves(const QJsonObject& p, QString* error)
{
    TGroup* g = ResolveGroup(p, [&](const TGroup& g) { return m_world.RoleOf(g) != 3 && g.members.size() > 2; }, error);
    if (!g) return false;
    TUser* u = ResolveUser(p, [&](const TUser& u) { return g->HasMember(u.uri) && u.uri != g->owner; }, error);
    if (!u) return false;
    const TMember* m = g->FindMember(u->uri);
    if (!m) return NotFound(error, QStringLiteral("%1 is not a member").arg(u->uri));
    const TMember left = *m;
    g->RemoveMember(u->uri);
    Post(H_MemberNotify, MemberNotifyRecord(*g, left, 3), 0);
    return true;
}

bool CSimulatedIms::PushGroupDeleted(const QJsonObject& p, QString* error)
{
    TGroup* g = ResolveGroup(p, [&](const TGroup& g) { return m_world.RoleOf(g) == 2; }, error);
    if (!g) return false;
    const QString uri = g->uri;
    m_world.RemoveGroup(uri);
    Post(H_GroupDeleted, QJsonObject{{"pGroupURI", uri}}, 0);
    return true;
}

bool CSimulatedIms::PushRemoveMe(const QJsonObject& p, QString* error)
{
    TGroup* g = ResolveGroup(p, [&](const TGroup& g) { return m_world.RoleOf(g) == 2; }, error);
    if (!g) return false;
    g->RemoveMember(m_world.me.uri);
    Post(H_DeletedFromGroup, QJsonObject{{"pGroupURI", g->uri}}, 0);
    return true;
}

bool CSimulatedIms::PushOffer(const QJsonObject& p, QString* error)
{
    TGroup* g = ResolveGroup(p, [&](const TGroup& g) { return m_world.RoleOf(g) == 2; }, error);
    if (!g) return false;
    const QString from = p.value("from").toString(g->owner);
    QJsonObject offer{{"GroupName", g->name}, {"OldOwnerURI", from}, {"OldOwnerName", m_world.NameOf(from)},
                      {"GroupURI", g->uri}, {"ReturnText", QStringLiteral("trs-%1").arg(++m_token)}};
    m_offers.push_back(offer);
    Post(H_TransferRequest, offer, 0);
    return true;
}

bool CSimulatedIms::PushWithdraw(const QJsonObject& p, QString* error)
{
    const QString wanted = p.value("group").toString();
    for (auto it = m_offers.rbegin(); it != m_offers.rend(); ++it) {
        if (!wanted.isEmpty() && it->value("GroupURI").toString() != wanted && it->value("GroupName").toString() != wanted)
            continue;
        const QJsonObject offer = *it;
        m_offers.erase(std::next(it).base());
        Post(H_TransferCancel, offer, 0);
        return true;
    }
    return NotFound(error, QStringLiteral("no open transfer offer to withdraw"));
}

// ---- sign-in ----------------------------------------------------------------------

void CSimulatedIms::ParkSignInRequests()
{
    auto park = [&](const char* key, int code, auto add) {
        for (const auto& v : m_world.parked.value(QLatin1String(key)).toArray()) {
            QString error;
            auto record = CRecord::FromJson(code, v, &error);
            if (record) add(record->Data());
        }
    };
    park("invitations", H_InvitedToGroup,
         [](void* r) { AddInvitedToPubGroupMessageTempToList(*static_cast<const tagGroupInvite*>(r)); });
    park("joinRequests", H_JoinRequest,
         [](void* r) { AddJoinToPubGroupMessageTempToList(*static_cast<const tagGroupJoin*>(r)); });
    park("transfers", H_TransferRequest,
         [](void* r) { AddTrsPubGroupReqMessageTempToList(*static_cast<const tagGroupTrsReq*>(r)); });
    for (const auto& v : m_world.parked.value("joinRequests").toArray())
        m_joinTokens[v.toObject().value("pReturn1").toString()] = v.toObject().value("pReturn2").toString();
    for (const auto& v : m_world.parked.value("transfers").toArray()) m_offers.push_back(v.toObject());
}

bool CSimulatedIms::PushSignIn(const QJsonObject&, QString*)
{
    // Signing in: the group list and every group's details arrive while the
    // client is still signing in; requests waiting on the server are parked
    // in the shared library; then the client is ready (1041).
    Schedule(0, [] { clientkit::SetSignInState(0, 1, 0); });
    Schedule(m_delay, [this] {
        if (m_deliver) m_deliver(H_GroupInfoList, GroupListRecord(m_world));
        for (const auto& g : m_world.groups)
            if (m_world.RoleOf(g) != 3 && m_deliver) m_deliver(H_OnePublicGroup, GroupRecord(m_world, g, m_world.RoleOf(g)));
        ParkSignInRequests();
    });
    Schedule(m_delay * 2, [] { clientkit::SetSignInState(1, 0, 0); });
    Post(H_SignedIn, QJsonValue(), m_delay * 2);
    return true;
}

} // namespace host
