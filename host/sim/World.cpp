#include "sim/World.h"

#include <algorithm>

#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>
#include <QFile>

#include "bridge/JsonFile.h"

namespace host {

TMember* TGroup::FindMember(const QString& uri)
{
    for (auto& m : members)
        if (m.uri.compare(uri, Qt::CaseInsensitive) == 0) return &m;
    return nullptr;
}

const TMember* TGroup::FindMember(const QString& uri) const
{
    return const_cast<TGroup*>(this)->FindMember(uri);
}

void TGroup::RemoveMember(const QString& uri)
{
    members.erase(std::remove_if(members.begin(), members.end(),
                                 [&](const TMember& m) { return m.uri.compare(uri, Qt::CaseInsensitive) == 0; }),
                  members.end());
}

QString UserPart(const QString& uri)
{
    QString s = uri;
    if (s.startsWith(QLatin1String("sip:"), Qt::CaseInsensitive)) s = s.mid(4);
    const int at = s.indexOf(QLatin1Char('@'));
    return at < 0 ? s : s.left(at);
}

QString CompleteUri(const QString& account, const QString& domain)
{
    QString s = account.trimmed();
    if (!s.contains(QLatin1Char('@'))) s += QLatin1Char('@') + domain;
    if (!s.startsWith(QLatin1String("sip:"), Qt::CaseInsensitive)) s.prepend(QLatin1String("sip:"));
    return s;
}

QString InternetTimeNow()
{
    return QLocale::c().toString(QDateTime::currentDateTimeUtc(), QStringLiteral("ddd, dd MMM yyyy hh:mm:ss 'GMT'"));
}

TGroup* CWorld::FindGroup(const QString& uri)
{
    for (auto& g : groups)
        if (g.uri.compare(uri, Qt::CaseInsensitive) == 0) return &g;
    return nullptr;
}

const TGroup* CWorld::FindGroup(const QString& uri) const { return const_cast<CWorld*>(this)->FindGroup(uri); }

TGroup* CWorld::FindGroupByName(const QString& name, const QString& owner)
{
    for (auto& g : groups)
        if (g.name == name && (owner.isEmpty() || g.owner.compare(owner, Qt::CaseInsensitive) == 0)) return &g;
    return nullptr;
}

TUser* CWorld::FindUser(const QString& uri)
{
    for (auto& u : users)
        if (u.uri.compare(uri, Qt::CaseInsensitive) == 0) return &u;
    return nullptr;
}

const TUser* CWorld::FindUser(const QString& uri) const { return const_cast<CWorld*>(this)->FindUser(uri); }

QString CWorld::NameOf(const QString& uri) const
{
    if (uri.compare(me.uri, Qt::CaseInsensitive) == 0) return me.name;
    const TUser* u = FindUser(uri);
    return u && !u->name.isEmpty() ? u->name : UserPart(uri);
}

QString CWorld::PresenceOf(const QString& uri) const
{
    const TUser* u = FindUser(uri);
    return u ? u->presence : QStringLiteral("offline");
}

int CWorld::RoleOf(const TGroup& group) const
{
    if (group.owner.compare(me.uri, Qt::CaseInsensitive) == 0) return 1;
    return group.HasMember(me.uri) ? 2 : 3;
}

void CWorld::RemoveGroup(const QString& uri)
{
    groups.erase(std::remove_if(groups.begin(), groups.end(),
                                [&](const TGroup& g) { return g.uri.compare(uri, Qt::CaseInsensitive) == 0; }),
                 groups.end());
}

int CWorld::NextMessageId() const
{
    int id = 1000;
    for (const auto& g : groups)
        for (const auto& m : g.history) id = std::max(id, m.id);
    return id + 1;
}

QString CWorld::NewGroupUri(const QString& name) const
{
    QString slug = name.toLower();
    slug.replace(QRegularExpression(QStringLiteral("[^a-z0-9]+")), QStringLiteral("-"));
    slug = slug.mid(0, 24);
    while (slug.startsWith(QLatin1Char('-'))) slug.remove(0, 1);
    while (slug.endsWith(QLatin1Char('-'))) slug.chop(1);
    if (slug.isEmpty()) slug = QStringLiteral("group");
    const QString base = QStringLiteral("sip:%1@group.%2").arg(slug, me.domain);
    QString uri = base;
    for (int n = 2; FindGroup(uri); ++n)
        uri = QStringLiteral("sip:%1-%2@group.%3").arg(slug).arg(n).arg(me.domain);
    return uri;
}

// ---- reading a world ------------------------------------------------------------

namespace {

class CWorldReader {
public:
    explicit CWorldReader(CWorld& world) : m_w(world) {}
    QString error;

    bool Fail(const QString& message)
    {
        if (error.isEmpty()) error = message;
        return false;
    }

    bool Text(const QJsonObject& o, const char* key, QString& out, const QString& path, bool required = false)
    {
        const QJsonValue v = o.value(QLatin1String(key));
        if (v.isUndefined()) return !required || Fail(QStringLiteral("%1: \"%2\" is missing").arg(path, key));
        if (!v.isString()) return Fail(QStringLiteral("%1: \"%2\" must be a text").arg(path, key));
        out = v.toString();
        return true;
    }

    bool Int(const QJsonObject& o, const char* key, int& out, const QString& path)
    {
        const QJsonValue v = o.value(QLatin1String(key));
        if (v.isUndefined()) return true;
        if (!v.isDouble()) return Fail(QStringLiteral("%1: \"%2\" must be a number").arg(path, key));
        out = v.toInt();
        return true;
    }

    bool Array(const QJsonObject& o, const char* key, QJsonArray& out, const QString& path)
    {
        const QJsonValue v = o.value(QLatin1String(key));
        if (v.isUndefined()) return true;
        if (!v.isArray()) return Fail(QStringLiteral("%1: \"%2\" must be a list").arg(path, key));
        out = v.toArray();
        return true;
    }

    bool Object(const QJsonValue& v, const QString& path, QJsonObject& out)
    {
        if (!v.isObject()) return Fail(QStringLiteral("%1: must be an object").arg(path));
        out = v.toObject();
        return true;
    }

    bool Keys(const QJsonObject& o, std::initializer_list<const char*> keys, const QString& path)
    {
        QString message;
        return OnlyKeys(o, keys, path, &message) || Fail(message);
    }

    bool Me(const QJsonObject& root)
    {
        QJsonObject o;
        if (!Object(root.value("me"), QStringLiteral("me"), o)) return false;
        const QString p = QStringLiteral("me");
        QJsonArray domains;
        if (!Keys(o, {"uri", "name", "requestId", "domain", "phone", "domains"}, p) ||
            !Text(o, "uri", m_w.me.uri, p, true) || !Text(o, "name", m_w.me.name, p) ||
            !Text(o, "requestId", m_w.me.requestId, p) || !Text(o, "domain", m_w.me.domain, p) ||
            !Text(o, "phone", m_w.me.phone, p) || !Array(o, "domains", domains, p))
            return false;
        if (m_w.me.domain.isEmpty()) {
            const int at = m_w.me.uri.indexOf(QLatin1Char('@'));
            m_w.me.domain = at < 0 ? QString() : m_w.me.uri.mid(at + 1);
        }
        if (m_w.me.name.isEmpty()) m_w.me.name = UserPart(m_w.me.uri);
        for (const auto& d : domains) m_w.me.domains << d.toString();
        if (m_w.me.domains.isEmpty()) m_w.me.domains << m_w.me.domain;
        return true;
    }

    bool Client(const QJsonObject& root)
    {
        if (!root.contains("client")) return true;
        QJsonObject o;
        const QString p = QStringLiteral("client");
        TClientSettings& c = m_w.client;
        return Object(root.value("client"), p, o) &&
               Keys(o, {"scene", "createRight", "menuType", "versionType", "imsDirectApp", "fullRowSelect",
                        "msgTitle", "secondaryHost"}, p) &&
               Int(o, "scene", c.scene, p) && Int(o, "createRight", c.createRight, p) &&
               Int(o, "menuType", c.menuType, p) && Int(o, "versionType", c.versionType, p) &&
               Int(o, "imsDirectApp", c.imsDirectApp, p) && Int(o, "fullRowSelect", c.fullRowSelect, p) &&
               Int(o, "secondaryHost", c.secondaryHost, p) && Text(o, "msgTitle", c.msgTitle, p);
    }

    bool Answers(const QJsonObject& root)
    {
        if (!root.contains("answers")) return true;
        QJsonObject o;
        const QString p = QStringLiteral("answers");
        return Object(root.value("answers"), p, o) && Keys(o, {"invite", "join", "transfer"}, p) &&
               Int(o, "invite", m_w.answers.invite, p) && Int(o, "join", m_w.answers.join, p) &&
               Int(o, "transfer", m_w.answers.transfer, p);
    }

    bool Users(const QJsonObject& root)
    {
        QJsonArray list;
        if (!Array(root, "users", list, QStringLiteral("world"))) return false;
        for (qsizetype i = 0; i < list.size(); ++i) {
            const QString p = QStringLiteral("users[%1]").arg(i);
            QJsonObject o;
            TUser u;
            if (!Object(list[i], p, o) || !Keys(o, {"uri", "name", "phone", "presence"}, p) ||
                !Text(o, "uri", u.uri, p, true) || !Text(o, "name", u.name, p) || !Text(o, "phone", u.phone, p) ||
                !Text(o, "presence", u.presence, p))
                return false;
            if (m_w.FindUser(u.uri)) return Fail(QStringLiteral("%1: the user %2 is listed twice").arg(p, u.uri));
            m_w.users.push_back(u);
        }
        return true;
    }

    bool Member(const QJsonValue& v, const QString& p, TGroup& g)
    {
        TMember m;
        if (v.isString()) {
            m.uri = v.toString();
        } else {
            QJsonObject o;
            if (!Object(v, p, o) || !Keys(o, {"uri", "name", "info", "phone"}, p) || !Text(o, "uri", m.uri, p, true) ||
                !Text(o, "name", m.name, p) || !Text(o, "info", m.info, p) || !Text(o, "phone", m.phone, p))
                return false;
        }
        if (m.uri.isEmpty()) return Fail(QStringLiteral("%1: the member URI is empty").arg(p));
        if (g.HasMember(m.uri)) return Fail(QStringLiteral("%1: %2 is listed twice").arg(p, m.uri));
        if (m.name.isEmpty()) m.name = m_w.NameOf(m.uri);
        if (m.phone.isEmpty()) {
            const TUser* u = m_w.FindUser(m.uri);
            m.phone = u ? u->phone : (m.uri == m_w.me.uri ? m_w.me.phone : QString());
        }
        g.members.push_back(m);
        return true;
    }

    bool Message(const QJsonValue& v, const QString& p, TGroup& g, int& nextId)
    {
        QJsonObject o;
        TMessage m;
        m.id = nextId;
        if (!Object(v, p, o) || !Keys(o, {"id", "from", "time", "text"}, p) || !Int(o, "id", m.id, p) ||
            !Text(o, "from", m.sender, p, true) || !Text(o, "time", m.time, p) || !Text(o, "text", m.text, p, true))
            return false;
        if (m.time.isEmpty()) m.time = InternetTimeNow();
        nextId = m.id + 1;
        g.history.push_back(m);
        return true;
    }

    bool Group(const QJsonValue& v, const QString& p, int& nextId)
    {
        QJsonObject o;
        TGroup g;
        QJsonArray members, blacklist, history;
        if (!Object(v, p, o) ||
            !Keys(o, {"uri", "name", "id", "kind", "owner", "creator", "created", "duration", "visibility",
                      "needPermit", "maxMembers", "subject", "bulletin", "members", "blacklist", "history"}, p) ||
            !Text(o, "uri", g.uri, p, true) || !Text(o, "name", g.name, p, true) || !Text(o, "id", g.identifier, p) ||
            !Int(o, "kind", g.kind, p) || !Text(o, "owner", g.owner, p, true) || !Text(o, "creator", g.creator, p) ||
            !Text(o, "created", g.created, p) || !Int(o, "duration", g.duration, p) ||
            !Int(o, "visibility", g.visibility, p) || !Int(o, "needPermit", g.needPermit, p) ||
            !Int(o, "maxMembers", g.maxMembers, p) || !Text(o, "subject", g.subject, p) ||
            !Text(o, "bulletin", g.bulletin, p) || !Array(o, "members", members, p) ||
            !Array(o, "blacklist", blacklist, p) || !Array(o, "history", history, p))
            return false;
        if (m_w.FindGroup(g.uri)) return Fail(QStringLiteral("%1: the group %2 is listed twice").arg(p, g.uri));
        if (g.identifier.isEmpty()) g.identifier = UserPart(g.uri);
        if (g.creator.isEmpty()) g.creator = g.owner;
        if (g.created.isEmpty()) g.created = QStringLiteral("2026-01-01 09:00:00");
        for (qsizetype i = 0; i < members.size(); ++i)
            if (!Member(members[i], QStringLiteral("%1.members[%2]").arg(p).arg(i), g)) return false;
        if (!g.HasMember(g.owner)) {
            TMember owner;
            owner.uri = g.owner;
            owner.name = m_w.NameOf(g.owner);
            g.members.insert(g.members.begin(), owner);
        }
        for (const auto& b : blacklist) g.blacklist << b.toString();
        for (qsizetype i = 0; i < history.size(); ++i)
            if (!Message(history[i], QStringLiteral("%1.history[%2]").arg(p).arg(i), g, nextId)) return false;
        m_w.groups.push_back(g);
        return true;
    }

    bool Groups(const QJsonObject& root)
    {
        QJsonArray list;
        if (!Array(root, "groups", list, QStringLiteral("world"))) return false;
        int nextId = 1001;
        for (qsizetype i = 0; i < list.size(); ++i)
            if (!Group(list[i], QStringLiteral("groups[%1]").arg(i), nextId)) return false;
        return true;
    }

    bool Parked(const QJsonObject& root)
    {
        if (!root.contains("parked")) return true;
        QJsonObject o;
        const QString p = QStringLiteral("parked");
        if (!Object(root.value("parked"), p, o) || !Keys(o, {"invitations", "joinRequests", "transfers"}, p))
            return false;
        for (auto it = o.begin(); it != o.end(); ++it)
            if (!it.value().isArray()) return Fail(QStringLiteral("parked: \"%1\" must be a list").arg(it.key()));
        m_w.parked = o;
        return true;
    }

    bool Read(const QJsonObject& root)
    {
        return Keys(root, {"me", "client", "answers", "users", "groups", "parked"}, QStringLiteral("world")) &&
               Me(root) && Client(root) && Answers(root) && Users(root) && Groups(root) && Parked(root);
    }

private:
    CWorld& m_w;
};

} // namespace

bool CWorld::FromJson(const QByteArray& text, const QString& fileName, CWorld& out, QString* error)
{
    QJsonDocument doc;
    if (!ParseJson(text, fileName, doc, error)) return false;
    if (!doc.isObject()) {
        if (error) *error = QStringLiteral("%1: the world must be a JSON object").arg(fileName);
        return false;
    }
    CWorld world;
    CWorldReader reader(world);
    if (!reader.Read(doc.object())) {
        if (error) *error = QStringLiteral("%1: %2").arg(fileName, reader.error);
        return false;
    }
    out = std::move(world);
    return true;
}

const char* DefaultWorldJson();  // DefaultWorld.cpp, generated

CWorld CWorld::Default()
{
    CWorld world;
    QString error;
    // The embedded text is checked by the tests; a broken one leaves an
    // empty world rather than a crash.
    FromJson(QByteArray(DefaultWorldJson()), QStringLiteral("demo.json (embedded)"), world, &error);
    return world;
}

bool CWorld::FromFile(const QString& path, CWorld& out, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) *error = QStringLiteral("%1: cannot be read (%2)").arg(path, file.errorString());
        return false;
    }
    return FromJson(file.readAll(), path, out, error);
}

} // namespace host
