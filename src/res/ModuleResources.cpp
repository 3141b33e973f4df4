// The module's resource bundle: string table, group menu and tree images.
#include "res/ModuleResources.h"

#include <QtGlobal>

// The tree images live in the module's Qt resource file (tarvolan.qrc).
// Registered from the global namespace, as the resource macro requires.
static void RegisterImages()
{
    Q_INIT_RESOURCE(tarvolan);
}

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
