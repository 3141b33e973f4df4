// The file of a picture's 2x art, and a picture fitted to a fractional ratio.
#include "platform/Pictures.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tarvolan;

TEST(Pictures, TheArtOfARatioIsTheFileWithItsSuffix)
{
    EXPECT_EQ(ArtRatio(1.0), 1);
    EXPECT_EQ(ArtRatio(1.25), 2);
    EXPECT_EQ(ArtRatio(3.0), 2);
    const struct {
        const char* path;
        const char* at2x;
    } cases[] = {
        {"/a/emote/gif/7.gif", "/a/emote/gif/7@2x.gif"},
        {":/tarvolan/images/tree_images.png", ":/tarvolan/images/tree_images@2x.png"},
        {"/a.b/picture", "/a.b/picture@2x"},    // a dot in a folder is no extension
        {"/a/.hidden", "/a/.hidden@2x"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AtRatio(QString::fromUtf8(c.path), 1), QString::fromUtf8(c.path));
        EXPECT_EQ(AtRatio(QString::fromUtf8(c.path), 2), QString::fromUtf8(c.at2x)) << c.path;
    }

    // The 2x file only where it exists.
    QTemporaryDir dir;
    const QString small = dir.filePath("p.png"), large = dir.filePath("p@2x.png");
    QPixmap picture(4, 4);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(small));
    EXPECT_EQ(PictureFile(small, 2.0), small);
    ASSERT_TRUE(picture.scaled(8, 8).save(large));
    EXPECT_EQ(PictureFile(small, 1.0), small);
    EXPECT_EQ(PictureFile(small, 1.5), large);
    EXPECT_EQ(QPixmap(large).devicePixelRatio(), 2.0);  // Qt reads the ratio from the name
    const QIcon icon = LoadIconFile(small);
    EXPECT_EQ(icon.pixmap(QSize(4, 4), 2.0).size(), QSize(8, 8));
    EXPECT_EQ(icon.pixmap(QSize(4, 4), 1.0).size(), QSize(4, 4));
    EXPECT_TRUE(LoadIconFile(dir.filePath("missing.png")).isNull());
}

TEST(Pictures, FittingScalesToTheRatioAndKeepsTheLogicalSize)
{
    QPixmap art(44, 44);
    art.fill(Qt::blue);
    art.setDevicePixelRatio(2);
    const QPixmap fitted = FitToRatio(art, 1.5);
    EXPECT_EQ(fitted.size(), QSize(33, 33));
    EXPECT_EQ(fitted.deviceIndependentSize(), QSizeF(22, 22));
    EXPECT_EQ(FitToRatio(art, 2.0).cacheKey(), art.cacheKey());  // already right: the same pixmap
    EXPECT_TRUE(FitToRatio(QPixmap(), 2.0).isNull());
}
