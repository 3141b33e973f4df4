// The world as the client's shared data sees it.
#include <QDir>

#include "clientkit/ClientKit.h"
#include "sim/World.h"

using namespace tarvolan;

namespace host {

namespace {

CString Gbk(const QString& text) { return Utf8ToGbk(text.toStdString()); }

} // namespace

void FillClientKit(const CWorld& world, const QString& clientFolder)
{
    using namespace clientkit;
    Reset();
    TIdentity identity;
    identity.displayName = Gbk(world.me.name);
    identity.requestId = Gbk(world.me.requestId);
    identity.uri = Gbk(world.me.uri);
    identity.domain = Gbk(world.me.domain);
    for (const auto& d : world.me.domains) identity.domains.push_back(Gbk(d));
    SetIdentity(identity);

    std::vector<TRosterEntry> roster;
    for (const auto& u : world.users) roster.push_back({Gbk(u.uri), Gbk(u.name), Gbk(u.phone)});
    SetRoster(roster);

    SetAppPath(QDir::cleanPath(clientFolder).toLocal8Bit().constData());
    SetMsgTitle(Gbk(world.client.msgTitle));
    SetUserSettings(1, Gbk(world.me.uri));
    SetIMSDomain(Gbk(world.me.domain));
    SetCreateRight(world.client.createRight);
    SetTreeFullRowSelect(world.client.fullRowSelect);
    SetEdition(world.client.menuType, world.client.versionType, world.client.imsDirectApp, world.client.scene);
    SetOperationNumber(Gbk(world.me.phone));
    SetBannedWords({Gbk(QStringLiteral("违禁词"))});
    SetStatus(STATUS_ONLINE);
    SetSignInState(1, 0, 0);
}

} // namespace host
