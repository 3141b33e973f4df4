// The simulated network's world: the signed-in user, the other users with
// their presence, the groups with members, blacklists and message history,
// and the requests waiting for the user at sign-in. Texts are UTF-8 here;
// they become GBK only when a record is built.
#pragma once

#include <vector>

#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include "bridge/ImsNetwork.h"

namespace host {

struct TUser {
    QString uri;
    QString name;
    QString phone;
    QString presence = QStringLiteral("online");
};

struct TMember {
    QString uri;
    QString name;
    QString info = QStringLiteral("Forward");
    QString phone;
};

struct TMessage {
    int id = 0;
    QString sender;
    QString time;  // Internet date in GMT: "Thu, 05 Nov 2009 10:00:01 GMT"
    QString text;  // marked-up text
};

struct TGroup {
    QString uri;
    QString name;
    QString identifier;
    int kind = 2;
    QString owner;
    QString creator;
    QString created;
    int duration = 0;
    int visibility = 3;  // 1 administrators, 2 members, 3 everyone
    int needPermit = 1;
    int maxMembers = 1000;
    QString subject;
    QString bulletin;
    std::vector<TMember> members;
    QStringList blacklist;
    std::vector<TMessage> history;

    TMember* FindMember(const QString& uri);
    const TMember* FindMember(const QString& uri) const;
    bool HasMember(const QString& uri) const { return FindMember(uri) != nullptr; }
    void RemoveMember(const QString& uri);
};

struct TMe {
    QString uri;
    QString name;
    QString requestId;
    QString domain;
    QString phone;
    QStringList domains;
};

// Values the client's shared data gets from the world.
struct TClientSettings {
    int scene = 1;
    int createRight = 1;
    int menuType = 0;
    int versionType = 0;
    int imsDirectApp = 0;
    int fullRowSelect = 0;
    QString msgTitle = QStringLiteral("Velora");
    // 0: the module is made without the secondary host interface (its skin
    // requests then go to the primary one).
    int secondaryHost = 1;
};

class CWorld {
public:
    TMe me;
    TClientSettings client;
    TPeerAnswers answers;
    std::vector<TUser> users;
    std::vector<TGroup> groups;
    // Requests parked at sign-in, as the records of 1006, 1008 and 1025
    // written in JSON: {"invitations": [...], "joinRequests": [...], "transfers": [...]}.
    QJsonObject parked;

    // The embedded demo world.
    static CWorld Default();
    // A world from JSON text; *error names the file and the place.
    static bool FromJson(const QByteArray& text, const QString& fileName, CWorld& out, QString* error);
    static bool FromFile(const QString& path, CWorld& out, QString* error);

    TGroup* FindGroup(const QString& uri);
    const TGroup* FindGroup(const QString& uri) const;
    // The group named so whose owner is owner (any owner when empty).
    TGroup* FindGroupByName(const QString& name, const QString& owner = QString());
    const TUser* FindUser(const QString& uri) const;
    TUser* FindUser(const QString& uri);
    // The user's name, or the user part of the URI for an unknown user.
    QString NameOf(const QString& uri) const;
    QString PresenceOf(const QString& uri) const;
    // 1 owner, 2 member, 3 neither.
    int RoleOf(const TGroup& group) const;
    void RemoveGroup(const QString& uri);
    int NextMessageId() const;
    // A group URI that no group has yet, made from the name.
    QString NewGroupUri(const QString& name) const;
};

// Fills the client's shared data (ClientKit) from the world: the signed-in
// user, the roster, rights, edition values and the client folder.
void FillClientKit(const CWorld& world, const QString& clientFolder);

// The user part of a SIP URI: "sip:alice@velora.example" -> "alice".
QString UserPart(const QString& uri);
// An account as typed, completed to a SIP URI with the domain.
QString CompleteUri(const QString& account, const QString& domain);
// The current time as an Internet date in GMT.
QString InternetTimeNow();

} // namespace host
