// Where the client looks for the module and its client folder: next to
// itself and in the repository in the build tree, relative to its own bin/
// folder when installed (bin/, lib/, share/tarvolan/).
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "bridge/ClientSetup.h"

using namespace host;

namespace {

// An installed tree: bin/ and, when asked, share/tarvolan/.
struct InstalledTree {
    explicit InstalledTree(bool withAssets)
    {
        QDir(root.path()).mkpath(QStringLiteral("bin"));
        if (withAssets) QDir(root.path()).mkpath(QStringLiteral("share/tarvolan"));
    }
    QString Bin() const { return root.filePath(QStringLiteral("bin")); }
    QTemporaryDir root;
};

} // namespace

TEST(InstallLayout, BuildTreeKeepsTheModuleBesideTheProgramAndTheRepositoryAssets)
{
    EXPECT_EQ(DefaultLibraryPath(), QStringLiteral(TARVOLAN_BIN_DIR "/libTarvolan.so"));
    EXPECT_EQ(DefaultClientFolder(), QStringLiteral(TARVOLAN_SOURCE_DIR "/assets/"));
}

TEST(InstallLayout, InstalledClientFindsTheModuleInLibBesideBin)
{
    InstalledTree tree(true);
    const QString path = LibraryPathFor(tree.Bin());
    EXPECT_TRUE(path.startsWith(tree.root.path() + QStringLiteral("/lib/"))) << path.toStdString();
    EXPECT_TRUE(path.endsWith(QStringLiteral("/libTarvolan.so.1"))) << path.toStdString();
    EXPECT_FALSE(path.contains(QStringLiteral(".."))) << path.toStdString();
}

TEST(InstallLayout, ModuleBesideTheProgramWins)
{
    InstalledTree tree(true);
    QFile beside(tree.Bin() + QStringLiteral("/libTarvolan.so"));
    ASSERT_TRUE(beside.open(QIODevice::WriteOnly));
    beside.close();
    EXPECT_EQ(LibraryPathFor(tree.Bin()), beside.fileName());
}

TEST(InstallLayout, InstalledClientFindsItsAssetsInShareTarvolan)
{
    InstalledTree tree(true);
    EXPECT_EQ(ClientFolderFor(tree.Bin()), tree.root.path() + QStringLiteral("/share/tarvolan/"));
}

TEST(InstallLayout, WithoutInstalledAssetsTheRepositoryAssetsAreUsed)
{
    InstalledTree tree(false);
    EXPECT_EQ(ClientFolderFor(tree.Bin()), QStringLiteral(TARVOLAN_SOURCE_DIR "/assets/"));
}
