// The module's resource bundle: string table, group menu and tree images.
#include "res/ModuleResources.h"

#include "groups/Presence.h"

#include <QtGlobal>

// The tree images live in the module's Qt resource file (tarvolan.qrc).
// Registered from the global namespace, as the resource macro requires.
static void RegisterImages()
{
    Q_INIT_RESOURCE(tarvolan);
}

namespace tarvolan {

namespace {

CResourceBundle* BuildBundle()
{
    RegisterImages();
    auto* bundle = new CResourceBundle("Tarvolan");
    AddTarvolanStrings(*bundle);
    bundle->AddMenu(IDR_GROUP_MENU, TarvolanGroupMenu());
    bundle->AddBitmap(IDB_TREE_IMAGES, QStringLiteral(":/tarvolan/images/tree_images.png"));
    return bundle;
}

} // namespace

CResourceBundle* TarvolanResources()
{
    // Built once and kept for the life of the process: windows and the
    // current-bundle pointer may refer to it until the very end.
    static CResourceBundle* const bundle = BuildBundle();
    return bundle;
}

namespace {

// Loading the library puts its bundle into the resource chain; unloading
// takes it out again.
struct CChainMembership {
    CChainMembership() { JoinResourceChain(TarvolanResources()); }
    ~CChainMembership() { LeaveResourceChain(TarvolanResources()); }
} g_chainMembership;

} // namespace

int MemberImage(int status, int kind)
{
    if (status == PRESENCE_HIDE) return IMG_MEMBER;
    switch (kind) {
    case PRESENCE_ONLINE:
    case 8:  // the user's own "right back"
        return IMG_ONLINE;
    case PRESENCE_BUSY: return IMG_BUSY;
    case PRESENCE_AWAY: return IMG_AWAY;
    case PRESENCE_TALKING: return IMG_TALKING;
    case PRESENCE_REPAST: return IMG_REPAST;
    case PRESENCE_CUSTOM: return IMG_CUSTOM;
    case PRESENCE_DO_NOT_DISTURB: return IMG_DO_NOT_DISTURB;
    case 0:  // the user's own "offline"
    case PRESENCE_OFFLINE: return IMG_OFFLINE;
    default: return IMG_MEMBER;
    }
}

} // namespace tarvolan
