// The group tree: item attributes, row painting with and without the skins,
// hover repainting, and the click rules of both modes.
#include <memory>
#include <utility>
#include <vector>

#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPixmap>
#include <QStyle>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "clientkit/ClientKit.h"
#include "controls/TreeCtrlEx.h"

using namespace tarvolan;

namespace {

const QRgb kFrame = qRgb(196, 196, 196);
const QRgb kHoverBack = qRgb(237, 244, 250);
const QRgb kSelectBack = qRgb(204, 221, 246);

void Settle()
{
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

// Collects the regions the viewport paints.
class CPaintRecorder : public QObject {
public:
    QRegion painted;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) painted += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
};

TLogFont Face(const char* name, int height = 0)
{
    TLogFont font;
    font.lfHeight = height;
    qstrncpy(font.lfFaceName, name, sizeof(font.lfFaceName));
    return font;
}

QIcon SquareIcon()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::darkGreen);
    return QIcon(pixmap);
}

class TreeCtrlExTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_noSkins.isValid());
        UseSkins(false);
        m_tree = std::make_unique<CTreeCtrlEx>();
        m_tree->resize(240, 200);
        m_group = new QTreeWidgetItem(m_tree.get(), {QStringLiteral("Group one")});
        m_member = new QTreeWidgetItem(m_group, {QStringLiteral("Member")});
        m_second = new QTreeWidgetItem(m_tree.get(), {QStringLiteral("Group two")});
        m_third = new QTreeWidgetItem(m_tree.get(), {QStringLiteral("Group three")});
        m_second->setIcon(0, SquareIcon());
        m_tree->viewport()->installEventFilter(&m_recorder);
        QObject::connect(m_tree.get(), &CTreeCtrlEx::leftClicked,
                         [this](QTreeWidgetItem* item) { m_leftClicks.push_back(item); });
        QObject::connect(m_tree.get(), &CTreeCtrlEx::rightClicked,
                         [this](QTreeWidgetItem* item, QPoint at) { m_rightClicks.emplace_back(item, at); });
        QObject::connect(m_tree.get(), &CTreeCtrlEx::doubleClickNotice, [this] { ++m_notices; });
    }

    void UseSkins(bool present)
    {
        const QString folder = present ? QStringLiteral(TARVOLAN_SOURCE_DIR "/assets/") : m_noSkins.path();
        clientkit::SetAppPath(folder.toUtf8().constData());
    }

    void ShowAndSettle()
    {
        m_tree->show();
        Settle();
        m_recorder.painted = QRegion();
    }

    void Send(QEvent::Type type, QPoint at, Qt::MouseButton button)
    {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease || type == QEvent::MouseMove
                                          ? Qt::NoButton : Qt::MouseButtons(button);
        QMouseEvent event(type, at, m_tree->viewport()->mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(m_tree->viewport(), &event);
    }
    void Click(QPoint at, Qt::MouseButton button = Qt::LeftButton)
    {
        Send(QEvent::MouseButtonPress, at, button);
        Send(QEvent::MouseButtonRelease, at, button);
    }
    void DoubleClick(QPoint at)
    {
        Click(at);
        Send(QEvent::MouseButtonDblClick, at, Qt::LeftButton);
        Send(QEvent::MouseButtonRelease, at, Qt::LeftButton);
    }
    void MoveTo(QPoint at) { Send(QEvent::MouseMove, at, Qt::NoButton); }

    QPoint OnLabel(QTreeWidgetItem* item) const { return m_tree->LabelRect(item).center(); }
    // On the row, well to the right of the label.
    QPoint RightOfLabel(QTreeWidgetItem* item) const
    {
        const QRect label = m_tree->LabelRect(item);
        return QPoint(label.right() + 30, label.center().y());
    }
    QImage Grab() const { return m_tree->viewport()->grab().toImage(); }

    QTemporaryDir m_noSkins;
    CPaintRecorder m_recorder;
    std::unique_ptr<CTreeCtrlEx> m_tree;
    QTreeWidgetItem* m_group = nullptr;
    QTreeWidgetItem* m_member = nullptr;
    QTreeWidgetItem* m_second = nullptr;
    QTreeWidgetItem* m_third = nullptr;
    std::vector<QTreeWidgetItem*> m_leftClicks;
    std::vector<std::pair<QTreeWidgetItem*, QPoint>> m_rightClicks;
    int m_notices = 0;
};

// ---- attributes ---------------------------------------------------------------

TEST_F(TreeCtrlExTest, AttributesDefaultAndAreSetIndependently)
{
    // Colour -1 and a font without a face name keep the control's defaults.
    m_tree->SetItemColor(m_group, CTreeCtrlEx::kDefaultColor);
    m_tree->SetItemFont(m_group, TLogFont{});
    TLogFont font;
    EXPECT_FALSE(m_tree->GetItemFont(m_group, font));
    EXPECT_EQ(m_tree->ItemFont(m_group), m_tree->font());
    EXPECT_EQ(m_tree->ItemTextColor(m_group), m_tree->palette().color(QPalette::Text));

    m_tree->SetItemFont(m_third, Face("DejaVu Serif", -20));
    EXPECT_EQ(m_tree->GetItemColor(m_third), CTreeCtrlEx::kDefaultColor);
    m_tree->SetItemColor(m_third, RGBColor(255, 0, 0));
    ASSERT_TRUE(m_tree->GetItemFont(m_third, font));
    EXPECT_STREQ(font.lfFaceName, "DejaVu Serif");
    EXPECT_EQ(m_tree->ItemFont(m_third).pixelSize(), 20);

    // Only the coloured item shows red.
    ShowAndSettle();
    const QImage image = Grab();
    auto hasRed = [&](QTreeWidgetItem* item) {
        const QRect label = m_tree->LabelRect(item);
        for (int y = label.top(); y <= label.bottom(); ++y)
            for (int x = label.left(); x <= label.right(); ++x)
                if (image.pixel(x, y) == qRgb(255, 0, 0)) return true;
        return false;
    };
    EXPECT_TRUE(hasRed(m_third));
    EXPECT_FALSE(hasRed(m_group));

    m_tree->SetItemColor(nullptr, 5);  // ignored
    EXPECT_EQ(m_tree->GetItemColor(nullptr), CTreeCtrlEx::kDefaultColor);
}

TEST_F(TreeCtrlExTest, AttributesGoWithTheItem)
{
    m_tree->SetItemColor(m_third, RGBColor(0, 0, 255));
    m_tree->SetItemFont(m_third, Face("DejaVu Serif"));
    m_tree->SetItemBold(m_third, true);
    delete m_third;
    // A new item, likely at the same address, starts clean.
    m_third = new QTreeWidgetItem(m_tree.get(), {QStringLiteral("Group three again")});
    TLogFont font;
    EXPECT_EQ(m_tree->GetItemColor(m_third), CTreeCtrlEx::kDefaultColor);
    EXPECT_FALSE(m_tree->GetItemFont(m_third, font));
    EXPECT_FALSE(m_tree->GetItemBold(m_third));
}

TEST_F(TreeCtrlExTest, BoldStateWidensTheLabelOverAnyFont)
{
    const int plainWidth = m_tree->LabelRect(m_third).width();
    m_tree->SetItemFont(m_third, Face("DejaVu Sans"));
    m_tree->SetItemBold(m_third, true);
    EXPECT_TRUE(m_tree->GetItemBold(m_third));
    EXPECT_TRUE(m_tree->ItemFont(m_third).bold());
    EXPECT_GT(m_tree->LabelRect(m_third).width(), plainWidth);
    m_tree->SetItemBold(m_third, false);
    EXPECT_FALSE(m_tree->ItemFont(m_third).bold());
}

// A label of any length is measured from the part a row can show: a huge
// name measures as its first few thousand characters, which still reach far
// past the widest screen, and the item keeps its whole text.
TEST_F(TreeCtrlExTest, HugeLabelIsMeasuredFromWhatARowCanShow)
{
    const QString huge(200000, QChar('w'));
    m_third->setText(0, huge.left(4096));
    const int shownWidth = m_tree->LabelRect(m_third).width();
    const int shownHint = m_tree->RowSizeHint(m_third).width();
    m_third->setText(0, huge);
    EXPECT_EQ(m_tree->LabelRect(m_third).width(), shownWidth);
    EXPECT_EQ(m_tree->RowSizeHint(m_third).width(), shownHint);
    EXPECT_GT(shownWidth, 6000);
    EXPECT_EQ(m_third->text(0).size(), huge.size());
    // A surrogate pair across the cut is left out whole.
    const QString before(2047, QChar('w'));
    m_third->setText(0, before);
    const int beforeWidth = m_tree->LabelRect(m_third).width();
    m_third->setText(0, before + QString::fromUtf8("\xF0\x9F\x98\x80") + huge);
    EXPECT_EQ(m_tree->LabelRect(m_third).width(), beforeWidth);
}

// A member pane elides long addresses in the middle to the width it has,
// keeps both ends, follows the pane's width and keeps the item's text; the
// group tree, which does not elide, shows labels whole.
TEST_F(TreeCtrlExTest, ElidedLabelsKeepBothEndsAndFollowTheWidth)
{
    const QString uri = QStringLiteral("sip:a-very-long-member-address-for-the-pane@group.velora.example");
    m_third->setText(0, uri);
    m_tree->show();
    Settle();
    const QFont font = m_tree->font();
    const int left = m_tree->LabelRect(m_third).left();
    EXPECT_EQ(m_tree->LabelText(m_third, font, left), uri);

    m_tree->SetElideMiddle(true);
    m_tree->resize(160, 200);
    Settle();
    const QString narrow = m_tree->LabelText(m_third, font, left);
    EXPECT_TRUE(narrow.startsWith(QStringLiteral("sip:"))) << narrow.toStdString();
    EXPECT_TRUE(narrow.endsWith(QStringLiteral("ample"))) << narrow.toStdString();
    EXPECT_TRUE(narrow.contains(QChar(0x2026)));
    EXPECT_GT(narrow.indexOf(QChar(0x2026)), narrow.size() - narrow.indexOf(QChar(0x2026)));  // more of the start
    EXPECT_LE(m_tree->LabelRect(m_third).right(), m_tree->viewport()->width());
    EXPECT_EQ(m_third->text(0), uri);

    m_tree->resize(900, 200);
    Settle();
    EXPECT_EQ(m_tree->LabelText(m_third, font, left), uri);
}

TEST_F(TreeCtrlExTest, ItemFromPointUsesLabelOrWholeRow)
{
    ShowAndSettle();
    const QPoint right = RightOfLabel(m_group);
    EXPECT_EQ(m_tree->ItemFromPoint(OnLabel(m_group).x(), OnLabel(m_group).y(), false), m_group);
    EXPECT_EQ(m_tree->ItemFromPoint(right.x(), right.y(), false), nullptr);
    EXPECT_EQ(m_tree->ItemFromPoint(right.x(), right.y(), true), m_group);
    EXPECT_EQ(m_tree->ItemFromPoint(5, 190, true), nullptr);  // below the last row
    EXPECT_TRUE(m_tree->LabelRect(m_member).isEmpty());       // collapsed
}

// ---- painting ------------------------------------------------------------------------

TEST_F(TreeCtrlExTest, HoverWithoutSkinsFallsBackToDottedFrame)
{
    m_tree->SetFullRowSelect(true);
    ShowAndSettle();
    MoveTo(OnLabel(m_third));
    ASSERT_EQ(m_tree->HoverItem(), m_third);
    const QRect row = m_tree->RowRect(m_third);
    const QImage image = Grab();
    EXPECT_EQ(image.pixel(row.right() - 10, row.center().y()), kHoverBack);
    // The frame alternates frame and fill colour.
    const QRgb a = image.pixel(row.left() + 1, row.top());
    const QRgb b = image.pixel(row.left() + 2, row.top());
    EXPECT_TRUE((a == kFrame && b == kHoverBack) || (a == kHoverBack && b == kFrame));
}

TEST_F(TreeCtrlExTest, HoverWithSkinsDrawsPictureAndSolidFrame)
{
    UseSkins(true);
    m_tree->SetFullRowSelect(true);
    ShowAndSettle();
    MoveTo(OnLabel(m_third));
    const QRect row = m_tree->RowRect(m_third);
    const QImage image = Grab();
    for (int x = row.left() + 1; x < row.left() + 4; ++x) EXPECT_EQ(image.pixel(x, row.top()), kFrame);
    EXPECT_EQ(image.pixel(row.left() + 1, row.bottom() - 1), kFrame);
    EXPECT_EQ(image.pixel(row.right() - 1, row.center().y()), kFrame);
    const QRgb inside = image.pixel(row.right() - 10, row.center().y());
    EXPECT_NE(inside, kHoverBack);
    EXPECT_GT(qBlue(inside), qRed(inside));  // the blue picture
}

TEST_F(TreeCtrlExTest, SelectionLookFollowsModeAndFocus)
{
    m_tree->SetFullRowSelect(true);
    ShowAndSettle();
    m_tree->activateWindow();
    m_tree->setFocus();
    Settle();
    if (!m_tree->hasFocus()) GTEST_SKIP() << "the platform gives no focus";
    m_tree->setCurrentItem(m_third);
    const QRect row = m_tree->RowRect(m_third);
    EXPECT_EQ(Grab().pixel(row.right() - 10, row.center().y()), kSelectBack);
    // Normal mode: white text on the dark blue box, no row decoration.
    m_tree->SetFullRowSelect(false);
    const QRect label = m_tree->LabelRect(m_third);
    const QImage image = Grab();
    EXPECT_EQ(image.pixel(label.left() + 2, label.top() + 2), qRgb(51, 94, 168));
    EXPECT_EQ(image.pixel(row.right() - 10, row.center().y()), qRgb(255, 255, 255));
}

TEST_F(TreeCtrlExTest, BackgroundPictureShowsThroughWhiteOnly)
{
    EXPECT_FALSE(m_tree->SetBkImage((m_noSkins.path() + "/none.bmp").toUtf8().constData()));
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(qRgb(10, 120, 30));
    const QString path = m_noSkins.path() + "/back.bmp";
    ASSERT_TRUE(picture.save(path));
    ASSERT_TRUE(m_tree->SetBkImage(path.toUtf8().constData()));
    m_tree->SetFullRowSelect(true);
    ShowAndSettle();
    const QRect row = m_tree->RowRect(m_third);
    EXPECT_EQ(Grab().pixel(row.right() - 10, row.center().y()), qRgb(10, 120, 30));
    m_tree->SetBkColor(RGBColor(250, 250, 200));
    EXPECT_EQ(Grab().pixel(row.right() - 10, row.center().y()), qRgb(250, 250, 200));
}

// ---- repainting ------------------------------------------------------------------------

TEST_F(TreeCtrlExTest, HoverRepaintsOnlyTheRowsConcerned)
{
    m_tree->SetFullRowSelect(true);
    ShowAndSettle();
    MoveTo(OnLabel(m_second));
    Settle();
    m_recorder.painted = QRegion();
    MoveTo(OnLabel(m_third));
    Settle();
    EXPECT_EQ(m_tree->HoverItem(), m_third);
    EXPECT_EQ(m_recorder.painted, QRegion(m_tree->RowRect(m_second)) + m_tree->RowRect(m_third));

    m_recorder.painted = QRegion();
    MoveTo(OnLabel(m_third) + QPoint(1, 0));
    Settle();
    EXPECT_TRUE(m_recorder.painted.isEmpty());

    // Leaving the control clears the hover and repaints its row.
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(m_tree->viewport(), &leave);
    Settle();
    EXPECT_EQ(m_tree->HoverItem(), nullptr);
    EXPECT_EQ(m_recorder.painted, QRegion(m_tree->RowRect(m_third)));
}

TEST_F(TreeCtrlExTest, NoHoverInNormalModeAndDeletedHoverIsForgotten)
{
    MoveTo(OnLabel(m_third));
    EXPECT_EQ(m_tree->HoverItem(), nullptr);
    m_tree->SetFullRowSelect(true);
    ShowAndSettle();
    MoveTo(OnLabel(m_third));
    ASSERT_EQ(m_tree->HoverItem(), m_third);
    delete m_third;
    m_third = nullptr;
    EXPECT_EQ(m_tree->HoverItem(), nullptr);
    Settle();  // paints without the deleted item
}

TEST_F(TreeCtrlExTest, ExpandAndCollapseRepaintEverything)
{
    ShowAndSettle();
    m_tree->expandItem(m_group);
    Settle();
    EXPECT_EQ(m_recorder.painted, QRegion(m_tree->viewport()->rect()));
    m_recorder.painted = QRegion();
    m_tree->collapseItem(m_group);
    Settle();
    EXPECT_EQ(m_recorder.painted, QRegion(m_tree->viewport()->rect()));

}

TEST_F(TreeCtrlExTest, RowsOffScreenAreToldFromRowsShown)
{
    std::vector<QTreeWidgetItem*> rows;
    for (int i = 0; i < 60; ++i) rows.push_back(new QTreeWidgetItem(m_second, {QString::number(i)}));
    EXPECT_TRUE(m_tree->MayShowRows(m_third));  // nothing painted yet
    m_tree->expandItem(m_second);
    ShowAndSettle();
    m_tree->scrollToItem(rows[30], QAbstractItemView::PositionAtTop);
    Settle();
    EXPECT_FALSE(m_tree->MayShowRows(m_group));  // above, with its hidden member
    EXPECT_TRUE(m_tree->MayShowRows(m_second));  // its rows fill the view
    EXPECT_FALSE(m_tree->MayShowRows(rows[0]));
    EXPECT_TRUE(m_tree->MayShowRows(rows[31]));
    EXPECT_FALSE(m_tree->MayShowRows(rows[59]));
    EXPECT_FALSE(m_tree->MayShowRows(m_third));
}

TEST_F(TreeCtrlExTest, WholeViewRepaintIsAskedOnceUntilItComes)
{
    ShowAndSettle();
    const QRegion view(m_tree->viewport()->rect());
    for (int round = 0; round < 2; ++round) {  // the paint lets the next burst ask again
        m_recorder.painted = QRegion();
        for (int i = 0; i < 1000; ++i) m_tree->RepaintView();
        Settle();
        EXPECT_EQ(m_recorder.painted, view) << round;
    }
}

TEST_F(TreeCtrlExTest, HorizontalScrollRepaintsCurrentAndHoverRows)
{
    m_tree->header()->setStretchLastSection(false);
    m_tree->setColumnWidth(0, 600);
    m_tree->SetFullRowSelect(true);
    m_tree->setCurrentItem(m_second);
    ShowAndSettle();
    MoveTo(OnLabel(m_third));
    Settle();
    m_recorder.painted = QRegion();
    m_tree->horizontalScrollBar()->setValue(40);
    Settle();
    // Rows are drawn over the viewport width, so moving their picture is not enough.
    EXPECT_TRUE(m_recorder.painted.contains(m_tree->RowRect(m_second)));
    EXPECT_TRUE(m_recorder.painted.contains(m_tree->RowRect(m_third)));
}

// ---- clicks -------------------------------------------------------------------------------

TEST_F(TreeCtrlExTest, NormalModeClickOffSpanOnlyTakesFocus)
{
    m_tree->setCurrentItem(m_third);
    ShowAndSettle();
    Click(RightOfLabel(m_second));
    Click(RightOfLabel(m_second), Qt::RightButton);
    DoubleClick(RightOfLabel(m_group));
    EXPECT_EQ(m_tree->currentItem(), m_third);
    EXPECT_FALSE(m_group->isExpanded());
    EXPECT_TRUE(m_leftClicks.empty());
    EXPECT_TRUE(m_rightClicks.empty());
    EXPECT_EQ(m_notices, 0);

    // The expand indicator still works.
    const QRect cell = m_tree->visualItemRect(m_group);
    Click(QPoint(cell.left() - m_tree->indentation() / 2, cell.center().y()));
    EXPECT_TRUE(m_group->isExpanded());
}

TEST_F(TreeCtrlExTest, NormalModeClickOnLabelOrIconCounts)
{
    ShowAndSettle();
    Click(OnLabel(m_third));
    EXPECT_EQ(m_tree->currentItem(), m_third);
    const QPoint onIcon(m_tree->ClickSpan(m_second).left() + 1, OnLabel(m_second).y());
    EXPECT_LT(onIcon.x(), m_tree->LabelRect(m_second).left());
    Click(onIcon, Qt::RightButton);
    EXPECT_EQ(m_tree->currentItem(), m_second);
    ASSERT_EQ(m_leftClicks.size(), 1u);
    EXPECT_EQ(m_leftClicks[0], m_third);
    ASSERT_EQ(m_rightClicks.size(), 1u);
    EXPECT_EQ(m_rightClicks[0].first, m_second);
    EXPECT_EQ(m_rightClicks[0].second, m_tree->viewport()->mapToGlobal(onIcon));

    DoubleClick(OnLabel(m_group));
    EXPECT_TRUE(m_group->isExpanded());
    EXPECT_EQ(m_notices, 1);
}

TEST_F(TreeCtrlExTest, FullRowDoubleClickOffSpanBecomesNotice)
{
    m_tree->SetFullRowSelect(true);
    ShowAndSettle();
    DoubleClick(RightOfLabel(m_group));
    EXPECT_EQ(m_notices, 1);
    EXPECT_FALSE(m_group->isExpanded());
    EXPECT_EQ(m_tree->currentItem(), m_group);  // the first press selected the row
    ASSERT_EQ(m_leftClicks.size(), 1u);
    EXPECT_EQ(m_leftClicks[0], m_group);

    DoubleClick(OnLabel(m_group));  // on the label: handled, then notified
    EXPECT_TRUE(m_group->isExpanded());
    EXPECT_EQ(m_notices, 2);
}

} // namespace
