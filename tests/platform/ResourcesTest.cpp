// Resource bundles, the current bundle and its switch, menus and image lists.
#include <memory>
#include <stdexcept>

#include <QAction>
#include <QCoreApplication>
#include <QImage>
#include <QMenu>
#include <QTemporaryDir>
#include <QTranslator>
#include <gtest/gtest.h>

#include "platform/Resources.h"

using namespace tarvolan;

namespace {

TMenuItem Item(int id, const char* utf8)
{
    TMenuItem item;
    item.id = id;
    item.text = Utf8ToGbk(utf8);
    return item;
}

TEST(ResourceBundle, KeepsStringsAsGbkAndAnswersEmptyForUnknownIds)
{
    CResourceBundle bundle("test");
    bundle.AddStringUtf8(1, "群组");
    EXPECT_EQ(bundle.String(1), CString("\xC8\xBA\xD7\xE9"));
    EXPECT_TRUE(bundle.HasString(1));
    EXPECT_TRUE(bundle.String(2).IsEmpty());
    EXPECT_FALSE(bundle.HasString(2));
    EXPECT_EQ(bundle.Menu(3), nullptr);
    EXPECT_TRUE(bundle.BitmapPath(4).isEmpty());
}

// With a translation context, strings and menu texts come in the language of
// the installed translators; the source text stays for the host.
TEST(ResourceBundle, TranslatesUnderItsContextAndKeepsTheSource)
{
    CResourceBundle bundle("test");
    bundle.AddStringUtf8(38017, "群组管理", "38017");
    bundle.AddStringUtf8(38020, "群组", "38020");
    bundle.AddStringUtf8(38051, "群组", "38051");
    QTranslator english;
    ASSERT_TRUE(english.load(QStringLiteral(TARVOLAN_BIN_DIR "/translations/tarvolan_en.qm")));
    QCoreApplication::installTranslator(&english);
    EXPECT_EQ(bundle.String(38017), Utf8ToGbk("群组管理"));  // no context: the source
    bundle.SetTranslationContext("ModuleStrings");
    EXPECT_EQ(bundle.String(38017), CString("Group management"));
    EXPECT_EQ(bundle.String(38020), CString("Group"));  // equal sources told apart by their ids
    EXPECT_EQ(bundle.String(38051), CString("Groups"));
    EXPECT_EQ(bundle.SourceString(38017), Utf8ToGbk("群组管理"));
    const std::unique_ptr<QMenu> menu(CreatePopupMenu(Item(0, "群组"), nullptr, "GroupMenu"));
    EXPECT_EQ(menu->title(), QStringLiteral("Group"));
    QCoreApplication::removeTranslator(&english);
    EXPECT_EQ(bundle.String(38017), Utf8ToGbk("群组管理"));
}

TEST(ResourceSwitch, RestoresThePreviousBundleOnEveryPath)
{
    CResourceBundle host("host"), module("module");
    host.AddStringUtf8(7, "host text");
    module.AddStringUtf8(7, "module text");
    CResourceBundle* before = SetResourceBundle(&host);
    {
        CResourceSwitch outer(&module);
        EXPECT_EQ(LoadResString(7), CString("module text"));
        {
            CResourceSwitch inner(nullptr);
            EXPECT_TRUE(LoadResString(7).IsEmpty());
        }
        EXPECT_EQ(GetResourceBundle(), &module);
    }
    EXPECT_EQ(GetResourceBundle(), &host);

    EXPECT_THROW(
        {
            CResourceSwitch guard(&module);
            throw std::runtime_error("handler failed");
        },
        std::runtime_error);
    EXPECT_EQ(GetResourceBundle(), &host);
    EXPECT_EQ(LoadResString(7), CString("host text"));
    SetResourceBundle(before);
}

TEST(ResourceChain, ALibrarysBundleIsFoundWhileTheHostsIsCurrent)
{
    CResourceBundle host("host"), library("library");
    host.AddStringUtf8(7, "host text");
    library.AddStringUtf8(7, "library text");
    library.AddStringUtf8(8, "only in the library");
    library.AddMenu(465, Item(0, ""));
    CResourceBundle* before = SetResourceBundle(&host);
    EXPECT_TRUE(LoadResString(8).IsEmpty());

    JoinResourceChain(&library);
    JoinResourceChain(&library);  // once is enough
    EXPECT_EQ(LoadResString(7), CString("host text"));  // the current bundle comes first
    EXPECT_EQ(LoadResString(8), CString("only in the library"));
    EXPECT_EQ(LoadResMenu(465), library.Menu(465));

    LeaveResourceChain(&library);
    EXPECT_TRUE(LoadResString(8).IsEmpty());
    EXPECT_EQ(LoadResMenu(465), nullptr);
    SetResourceBundle(before);
}

TEST(ResourceMenu, BuildsActionsWithIdsAndFindsThemInSubMenus)
{
    TMenuItem popup = Item(0, "群组");
    popup.children = {Item(10, "a"), TMenuItem(), Item(11, "b")};
    TMenuItem nested = Item(0, "more");
    nested.children = {Item(12, "c")};
    popup.children.push_back(nested);

    std::unique_ptr<QMenu> menu(CreatePopupMenu(popup));
    EXPECT_EQ(menu->title(), QString::fromUtf8("群组"));
    ASSERT_EQ(menu->actions().size(), 4);
    EXPECT_TRUE(menu->actions()[1]->isSeparator());
    EXPECT_EQ(menu->actions()[0]->data().toInt(), 10);
    ASSERT_NE(FindMenuAction(menu.get(), 12), nullptr);
    EXPECT_EQ(FindMenuAction(menu.get(), 12)->text(), "c");

    EXPECT_TRUE(EnableMenuAction(menu.get(), 11, false));
    EXPECT_FALSE(FindMenuAction(menu.get(), 11)->isEnabled());
    EXPECT_FALSE(EnableMenuAction(menu.get(), 99, false));

    RemoveMenuAction(menu.get(), 12);
    RemoveMenuAction(menu.get(), 10);
    RemoveMenuAction(menu.get(), 99);  // absent: nothing happens
    EXPECT_EQ(FindMenuAction(menu.get(), 12), nullptr);
    EXPECT_EQ(FindMenuAction(menu.get(), 10), nullptr);
    EXPECT_NE(FindMenuAction(menu.get(), 11), nullptr);
}

TEST(ResourceImages, CutsAStripIntoCellsWithTheKeyColourTransparent)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("strip.png");
    QImage strip(6, 3, QImage::Format_RGB32);
    strip.fill(Qt::white);
    strip.setPixel(4, 1, qRgb(10, 20, 30));
    ASSERT_TRUE(strip.save(path));

    CResourceBundle bundle("images");
    bundle.AddBitmap(5, path);
    CResourceSwitch guard(&bundle);
    const QList<QPixmap> images = LoadImageList(5, 3);
    ASSERT_EQ(images.size(), 2);
    const QImage second = images[1].toImage();
    EXPECT_EQ(second.size(), QSize(3, 3));
    EXPECT_EQ(qAlpha(second.pixel(0, 0)), 0);
    EXPECT_EQ(second.pixel(1, 1), qRgb(10, 20, 30));

    EXPECT_TRUE(LoadImageList(5, 0).isEmpty());
    EXPECT_TRUE(LoadImageList(6, 3).isEmpty());
    EXPECT_TRUE(LoadResBitmap(6).isNull());
}

} // namespace
