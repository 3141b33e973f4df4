// Pictures at the screen's pixel ratio. This program runs at the pixel
// ratios 1, 1.5 and 2 (QT_SCALE_FACTOR, see tests/CMakeLists.txt). At each,
// every picture that the group window and the conversation window draw must
// come from the art of that ratio: the 1x art at 1, the 2x art above 1 (at
// 1.5 scaled down from it), never the 1x art scaled up. Emoticons sit on the
// baseline of the text around them in both editors, and the pictures taken
// out of an editor (saved as a bitmap or into RTF) stay the 1x pictures.
#include <cmath>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QTextBlock>
#include <QTextLayout>

#include "conversation/EmoticonPicker.h"
#include "conversation/RichMsgEdit.h"
#include "conversation/TarvolanChatDialog.h"
#include "platform/Pictures.h"
#include "window/GroupsFixture.h"

using namespace groups_testing;

namespace {

constexpr const char* kGroup = "sip:club@group.test";
constexpr int kPictureSize = 22;

qreal Ratio()
{
    return qApp->devicePixelRatio();
}

// A picture on white, as the tree, the editors and a saved bitmap show it,
// pixel for pixel (a 2x picture is not drawn at its logical size).
QImage Comparable(const QImage& image)
{
    QImage onWhite(image.size(), QImage::Format_RGB32);
    onWhite.fill(Qt::white);
    QImage pixels = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    pixels.setDevicePixelRatio(1);
    QPainter painter(&onWhite);
    painter.drawImage(0, 0, pixels);
    return onWhite;
}

// Mean difference per channel of two images of one size.
double Distance(const QImage& a, const QImage& b)
{
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        const auto* p = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* q = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x)
            sum += std::abs(qRed(p[x]) - qRed(q[x])) + std::abs(qGreen(p[x]) - qGreen(q[x])) +
                   std::abs(qBlue(p[x]) - qBlue(q[x]));
    }
    return sum / (3.0 * a.width() * a.height());
}

// A set of pictures at both ratios (the candidates a shown picture may come from).
struct TArt {
    std::vector<QImage> art[3];  // [1] the 1x pictures, [2] the 2x pictures

    void Add(int ratio, const QImage& image) { art[ratio].push_back(Comparable(image)); }
    // The ratio of the art nearest to a shown picture: 1 or 2.
    // Each candidate is scaled to the shown size as a screen would get it.
    int SourceOf(const QImage& shownImage) const
    {
        const QImage shown = Comparable(shownImage);
        double best = 1e9;
        int source = 0;
        for (int ratio : {1, 2}) {
            for (const QImage& candidate : art[ratio]) {
                const QImage fitted = candidate.scaled(shown.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
                const double d = Distance(shown, fitted);
                if (d < best) best = d, source = ratio;
            }
        }
        return source;
    }
};

TArt TreeArt()
{
    TArt art;
    for (int ratio : {1, 2}) {
        QImage strip(AtRatio(QStringLiteral(":/tarvolan/images/tree_images.png"), ratio));
        const int side = kTreeImageSize * ratio;
        for (int x = 0; x + side <= strip.width(); x += side) {
            QImage image = strip.copy(x, 0, side, side).convertToFormat(QImage::Format_ARGB32);
            for (int y = 0; y < image.height(); ++y)
                for (int i = 0; i < image.width(); ++i)
                    if ((image.pixel(i, y) & 0xFFFFFF) == 0xFFFFFF) image.setPixel(i, y, 0);
            art.Add(ratio, image);
        }
    }
    return art;
}

// Every frame of every emoticon file of one kind ("gif" or "bmp").
TArt EmoticonArt(const char* kind)
{
    TArt art;
    for (int ratio : {1, 2})
        for (int i = 0; i < 40; ++i) {
            QImageReader reader(AtRatio(QStringLiteral(TARVOLAN_SOURCE_DIR "/assets/emote/%1/%2.%1").arg(kind).arg(i), ratio));
            for (QImage frame = reader.read(); !frame.isNull(); frame = reader.read()) art.Add(ratio, frame);
        }
    return art;
}

QImage Shown(const QIcon& icon, const QSize& size)
{
    return icon.pixmap(size, Ratio()).toImage();
}

class PixelRatioTest : public CGroupsTest {
protected:
    void SetUp() override
    {
        CGroupsTest::SetUp();
        // The client folder: the repository's pictures, a log of its own.
        ASSERT_TRUE(QFile::link(TARVOLAN_SOURCE_DIR "/assets/emote", m_dir.filePath("emote")));
        clientkit::SetUserSettings(1, "me");
        COneGroupRecord group(kGroup, "Club", ROLE_OWNER, kMe);
        group.Member(kMe, "Me").Member("sip:ann@ims.test", "Ann");
        LoadGroup(group);
        m_chat = Dlg().ChatWindows().Open(*Group(kGroup));
        ASSERT_NE(m_chat, nullptr);
    }

    // The layout line and picture box of the first picture of an editor, in
    // the viewport's logical pixels; the baseline of that line.
    struct TPicturePlace {
        QRectF line;
        QRectF picture;
        qreal baseline = 0;
    };
    static TPicturePlace PlaceOfPicture(CRichMsgEdit* editor)
    {
        TPicturePlace place;
        QTextDocument* document = editor->document();
        for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
            const int at = block.text().indexOf(QChar::ObjectReplacementCharacter);
            if (at < 0) continue;
            const QPointF origin = document->documentLayout()->blockBoundingRect(block).topLeft();
            const QTextLine line = block.layout()->lineForTextPosition(at);
            place.line = line.rect().translated(origin);
            place.baseline = origin.y() + line.y() + line.ascent();
            place.picture = QRectF(origin.x() + line.cursorToX(at), 0, kPictureSize, 0);
            break;
        }
        return place;
    }
    // The rows, in logical pixels, of the first and last pixel row of the
    // editor's drawing inside the picture's columns that is not background.
    static std::pair<qreal, qreal> DrawnRows(CRichMsgEdit* editor, const QRectF& picture)
    {
        const QImage image = editor->viewport()->grab().toImage();
        const qreal dpr = image.devicePixelRatio();
        const QRgb back = image.pixel(image.width() - 2, image.height() - 2);
        int top = -1, bottom = -1;
        for (int y = 0; y < image.height(); ++y)
            for (int x = int((picture.left() + 3) * dpr); x < int((picture.right() - 3) * dpr); ++x)
                if (image.pixel(x, y) != back) {
                    if (top < 0) top = y;
                    bottom = y;
                }
        return {top / dpr, (bottom + 1) / dpr};
    }

    CTarvolanChatDialog* m_chat = nullptr;
};

TEST_F(PixelRatioTest, TreeImagesComeFromTheArtOfTheRatio)
{
    const int expected = ArtRatio(Ratio());
    const TArt art = TreeArt();
    const QSize size(kTreeImageSize, kTreeImageSize);
    int checked = 0;
    for (CTreeCtrlEx* tree : {&Tree(), m_chat->MemberTree()}) {
        for (QTreeWidgetItemIterator it(tree); *it; ++it, ++checked)
            EXPECT_EQ(art.SourceOf(Shown((*it)->icon(0), size)), expected) << (*it)->text(0).toStdString();
    }
    EXPECT_GE(checked, 8);  // roots, the group, its members, in both trees
    EXPECT_EQ(art.SourceOf(Shown(m_chat->windowIcon(), size)), expected);
}

// The tree as the screen gets it: every picture painted at its place is the
// art of the ratio scaled smoothly to the device pixels it covers (at 1.5
// the 2x art, not resampled to the nearest pixel). The search allows for the
// painter's rounding of a place that falls between device pixels.
TEST_F(PixelRatioTest, TreesPaintTheirPicturesSmoothly)
{
    const qreal dpr = Ratio();
    const TArt art = TreeArt();
    const int side = qRound(kTreeImageSize * dpr);
    std::vector<QImage> expected;
    for (const QImage& image : art.art[ArtRatio(dpr)])
        expected.push_back(image.scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    m_chat->resize(500, 400);
    m_chat->show();
    Dlg().resize(300, 400);
    Dlg().show();
    int checked = 0;
    for (CTreeCtrlEx* tree : {&Tree(), m_chat->MemberTree()}) {
        tree->clearSelection();
        tree->setCurrentItem(nullptr);
        const QImage shown = Comparable(tree->viewport()->grab().toImage());
        for (QTreeWidgetItemIterator it(tree); *it; ++it) {
            const QRect label = tree->LabelRect(*it);
            if (label.isEmpty() || (*it)->icon(0).isNull()) continue;
            const QPoint at((label.left() - tree->iconSize().width() - 3) * dpr, label.top() * dpr);
            double best = 1e9;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    for (const QImage& candidate : expected)
                        best = std::min(best, Distance(shown.copy(QRect(at + QPoint(dx, dy), candidate.size())), candidate));
            EXPECT_LT(best, 1.5) << (*it)->text(0).toStdString();
            ++checked;
        }
    }
    EXPECT_GE(checked, 6);
}

// A picture of the 2x strip keeps to its own cell: its outermost rows and
// columns are drawn only where the 1x picture's are (an outline reaching
// into the neighbour showed as a stray dark line beside that picture).
TEST_F(PixelRatioTest, TreeArtStaysInsideItsCells)
{
    const QImage small(QStringLiteral(":/tarvolan/images/tree_images.png"));
    const QImage large(AtRatio(QStringLiteral(":/tarvolan/images/tree_images.png"), 2));
    ASSERT_EQ(large.width(), 2 * small.width());
    const auto drawn = [](const QImage& image, int x, int y) { return (image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF; };
    const int side = 2 * kTreeImageSize;
    for (int X = 0; X < large.width(); ++X)
        for (int Y = 0; Y < large.height(); ++Y) {
            const int x = X % side, y = Y % side;
            if (x != 0 && x != side - 1 && y != 0 && y != side - 1) continue;
            EXPECT_FALSE(drawn(large, X, Y) && !drawn(small, X / 2, Y / 2))
                << "picture " << X / side << " at " << x << "," << y;
        }
}

TEST_F(PixelRatioTest, PickerPicturesComeFromTheArtOfTheRatio)
{
    const int expected = ArtRatio(Ratio());
    const TArt art = EmoticonArt("bmp");
    CEmoticonPicker* picker = m_chat->Picker();
    const QSize size(kPictureSize, kPictureSize);
    EXPECT_EQ(picker->iconSize(), size);
    EXPECT_EQ(art.SourceOf(Shown(picker->icon(), size)), expected);
    ASSERT_EQ(picker->GetItemCount(), 40);
    for (int i = 0; i < 40; ++i) EXPECT_EQ(art.SourceOf(Shown(picker->GetItemIcon(i), size)), expected) << i;
}

// A picture in the output and in the input: drawn from the art of the ratio
// at the 1x size, on the baseline of its line, which is high enough for it; a
// move to a screen of another ratio swaps the art; the picture taken out for
// saving is the 1x picture.
TEST_F(PixelRatioTest, EditorPicturesFollowTheRatioAndSitOnTheBaseline)
{
    const TArt art = EmoticonArt("gif");
    m_chat->resize(500, 400);
    m_chat->show();
    CRichMsgEdit::AppendMessageText(m_chat->Output(), nullptr, 0, "%s", "Ann says gj :) great");
    m_chat->Input()->AppendFormatted(nullptr, "typing gj ");
    m_chat->Input()->InsertEmoticon(0);
    m_chat->Input()->AppendFormatted(nullptr, " more");
    const QUrl name(QStringLiteral("emoticon:0"));
    for (CRichMsgEdit* editor : {m_chat->Output(), m_chat->Input()}) {
        SCOPED_TRACE(editor == m_chat->Input() ? "input" : "output");
        const auto frame = editor->document()->resource(QTextDocument::ImageResource, name).value<QPixmap>();
        EXPECT_DOUBLE_EQ(frame.devicePixelRatio(), Ratio());
        EXPECT_EQ(frame.deviceIndependentSize().toSize(), QSize(kPictureSize, kPictureSize));
        EXPECT_EQ(art.SourceOf(frame.toImage()), ArtRatio(Ratio()));

        const TPicturePlace place = PlaceOfPicture(editor);
        ASSERT_GT(place.line.height(), 0);
        const auto [top, bottom] = DrawnRows(editor, place.picture);
        EXPECT_NEAR(bottom, place.baseline, 1.0);
        EXPECT_GE(top, place.line.top() - 0.5);
        EXPECT_GE(place.line.height(), kPictureSize);

        // Moved to a screen of the other art, and back.
        const qreal other = Ratio() > 1 ? 1.0 : 2.0;
        editor->UsePictureRatio(other);
        const auto moved = editor->document()->resource(QTextDocument::ImageResource, name).value<QPixmap>();
        EXPECT_DOUBLE_EQ(moved.devicePixelRatio(), other);
        EXPECT_EQ(art.SourceOf(moved.toImage()), ArtRatio(other));
        editor->UsePictureRatio(Ratio());
    }
    // Saving the picture writes the bitmap of the 1x picture, as before.
    const CString path = FromQt(m_dir.filePath("saved.bmp"));
    m_driver.PushFileName(path);
    m_chat->Output()->SetSel(12, 13);  // "Ann says gj " and the picture
    m_chat->Output()->OnCommand(CRichMsgEdit::ID_SAVE_PICTURE, 0);
    QFile file(ToQt(path));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_EQ(bytes.size(), 54 + 4 + kPictureSize * kPictureSize * 4);
    EXPECT_EQ(art.SourceOf(QImage::fromData(bytes, "BMP")), 1);

    // Saving the conversation as RTF writes the 1x picture too.
    const CString rtf = FromQt(m_dir.filePath("saved.rtf"));
    m_driver.PushFileName(rtf);
    m_chat->Output()->OnCommand(CRichMsgEdit::ID_SAVE_ALL, 0);
    QFile rtfFile(ToQt(rtf));
    ASSERT_TRUE(rtfFile.open(QIODevice::ReadOnly));
    EXPECT_TRUE(rtfFile.readAll().contains("{\\pict\\pngblip\\picw22\\pich22\\picwgoal330\\pichgoal330"));
}

} // namespace
