// The group tree: item attributes, row painting with and without the skins,
// hover repainting, and the click rules of both modes.
#include "clientkit/ClientKit.h"

#include <memory>
#include <utility>
#include <vector>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "controls/TreeCtrlEx.h"

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

TEST_F(TreeCtrlExTest, ItemWithoutAttributesKeepsControlFontAndTextColour)
{
    m_tree->SetItemColor(m_group, CTreeCtrlEx::kDefaultColor);
    EXPECT_EQ(m_tree->ItemFont(m_group), m_tree->font());
    EXPECT_EQ(m_tree->ItemTextColor(m_group), m_tree->palette().color(QPalette::Text));
    TLogFont font;
    EXPECT_FALSE(m_tree->GetItemFont(m_group, font));
    // A font without a face name is kept but not used.
    m_tree->SetItemFont(m_group, TLogFont{});
    EXPECT_FALSE(m_tree->GetItemFont(m_group, font));
    EXPECT_EQ(m_tree->ItemFont(m_group), m_tree->font());
}

TEST_F(TreeCtrlExTest, ColourAndFontAreSetIndependently)
{
    m_tree->SetItemFont(m_group, Face("DejaVu Serif", -20));
    EXPECT_EQ(m_tree->GetItemColor(m_group), CTreeCtrlEx::kDefaultColor);
    m_tree->SetItemColor(m_group, RGBColor(200, 0, 0));
    TLogFont font;
    ASSERT_TRUE(m_tree->GetItemFont(m_group, font));
    EXPECT_STREQ(font.lfFaceName, "DejaVu Serif");
    EXPECT_EQ(m_tree->GetItemColor(m_group), static_cast<int32_t>(RGBColor(200, 0, 0)));
    EXPECT_EQ(m_tree->ItemTextColor(m_group), QColor(200, 0, 0));
    EXPECT_EQ(m_tree->ItemFont(m_group).family(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(m_tree->ItemFont(m_group).pixelSize(), 20);
}

TEST_F(TreeCtrlExTest, NullItemIsIgnored)
{
    m_tree->SetItemColor(nullptr, 5);
    m_tree->SetItemFont(nullptr, Face("DejaVu Sans"));
    m_tree->SetItemBold(nullptr, true);
    TLogFont font;
    EXPECT_EQ(m_tree->GetItemColor(nullptr), CTreeCtrlEx::kDefaultColor);
    EXPECT_FALSE(m_tree->GetItemFont(nullptr, font));
    EXPECT_FALSE(m_tree->GetItemBold(nullptr));
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

TEST_F(TreeCtrlExTest, BoldStateWidensTheLabel)
{
    const int plainWidth = m_tree->LabelRect(m_third).width();
    m_tree->SetItemBold(m_third, true);
    EXPECT_TRUE(m_tree->GetItemBold(m_third));
    EXPECT_TRUE(m_tree->ItemFont(m_third).bold());
    EXPECT_GT(m_tree->LabelRect(m_third).width(), plainWidth);
    // Bold applies over an item font too.
    m_tree->SetItemFont(m_third, Face("DejaVu Serif"));
    EXPECT_TRUE(m_tree->ItemFont(m_third).bold());
    m_tree->SetItemBold(m_third, false);
    EXPECT_FALSE(m_tree->GetItemBold(m_third));
    EXPECT_FALSE(m_tree->ItemFont(m_third).bold());
}

TEST_F(TreeCtrlExTest, ItemColourIsPaintedAndDefaultIsNot)
{
    m_tree->SetItemColor(m_third, RGBColor(255, 0, 0));
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
}

// ---- geometry ----------------------------------------------------------------------

TEST_F(TreeCtrlExTest, ItemFromPointUsesLabelOrWholeRow)
{
    ShowAndSettle();
    const QPoint right = RightOfLabel(m_group);
    EXPECT_EQ(m_tree->ItemFromPoint(OnLabel(m_group).x(), OnLabel(m_group).y(), false), m_group);
    EXPECT_EQ(m_tree->ItemFromPoint(right.x(), right.y(), false), nullptr);
    EXPECT_EQ(m_tree->ItemFromPoint(right.x(), right.y(), true), m_group);
    EXPECT_EQ(m_tree->ItemFromPoint(5, 190, true), nullptr);     // below the last row
    EXPECT_EQ(m_tree->ItemFromPoint(-1, right.y(), true), nullptr);
    // The collapsed member has no place on screen.
    EXPECT_TRUE(m_tree->LabelRect(m_member).isEmpty());
}

TEST_F(TreeCtrlExTest, IconSitsLeftOfTheLabel)
{
    ShowAndSettle();
    const QRect label = m_tree->LabelRect(m_second);
    const int iconWidth = m_tree->style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, m_tree.get());
    const int iconLeft = label.left() - iconWidth - 3;
    const QImage image = Grab();
    EXPECT_EQ(image.pixel(iconLeft + 4, label.top() + 4), QColor(Qt::darkGreen).rgb());
    EXPECT_EQ(m_tree->ClickSpan(m_second).left(), label.left() - iconWidth - 2);
    EXPECT_EQ(m_tree->ClickSpan(m_third), m_tree->LabelRect(m_third));
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
    // The top edge alternates frame and fill colour.
    const QRgb a = image.pixel(row.left() + 1, row.top());
    const QRgb b = image.pixel(row.left() + 2, row.top());
    EXPECT_NE(a, b);
    EXPECT_TRUE((a == kFrame && b == kHoverBack) || (a == kHoverBack && b == kFrame));
    EXPECT_EQ(image.pixel(row.right() - 1, row.center().y()) == kFrame ||
                  image.pixel(row.right() - 1, row.center().y() + 1) == kFrame,
              true);
}

TEST_F(TreeCtrlExTest, HoverWithSkinsDrawsPictureAndSolidFrame)
{
    UseSkins(true);
    m_tree->SetFullRowSelect(true);
    ShowAndSettle();
    MoveTo(OnLabel(m_third));
    const QRect row = m_tree->RowRect(m_third);
    const QImage image = Grab();
    for (int x = row.left() + 1; x < row.left() + 6; ++x) EXPECT_EQ(image.pixel(x, row.top()), kFrame);
    EXPECT_EQ(image.pixel(row.left() + 1, row.center().y()), kFrame);
    EXPECT_EQ(image.pixel(row.left() + 1, row.bottom() - 1), kFrame);
    // Inside: the picture, not a flat fill and not white.
    const QRgb inside = image.pixel(row.right() - 10, row.center().y());
    EXPECT_NE(inside, kHoverBack);
    EXPECT_NE(inside, qRgb(255, 255, 255));
    EXPECT_EQ(qBlue(inside) > qRed(inside), true);
}

TEST_F(TreeCtrlExTest, SelectedRowWithFocusUsesSelectionLook)
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

TEST_F(TreeCtrlExTest, BackgroundPictureShowsThroughWhiteRows)
{
    EXPECT_FALSE(m_tree->SetBkImage((m_noSkins.path() + "/none.bmp").toUtf8().constData()));
    EXPECT_FALSE(m_tree->HasBkImage());
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(qRgb(10, 120, 30));
    const QString path = m_noSkins.path() + "/back.bmp";
    ASSERT_TRUE(picture.save(path));
    ASSERT_TRUE(m_tree->SetBkImage(path.toUtf8().constData()));
    m_tree->SetFullRowSelect(true);
    ShowAndSettle();
    const QImage image = Grab();
    const QRect row = m_tree->RowRect(m_third);
    EXPECT_EQ(image.pixel(row.right() - 10, row.center().y()), qRgb(10, 120, 30));
    EXPECT_EQ(image.pixel(10, 190), qRgb(10, 120, 30));
    // A coloured text background is painted over the picture.
    m_tree->SetBkColor(RGBColor(250, 250, 200));
    EXPECT_EQ(Grab().pixel(row.right() - 10, row.center().y()), qRgb(250, 250, 200));
}

// ---- repainting ------------------------------------------------------------------------

TEST_F(TreeCtrlExTest, HoverRepaintsOnlyTheTwoRowsConcerned)
{
    m_tree->SetFullRowSelect(true);
    ShowAndSettle();
    MoveTo(OnLabel(m_second));
    Settle();
    EXPECT_EQ(m_recorder.painted, QRegion(m_tree->RowRect(m_second)));

    m_recorder.painted = QRegion();
    MoveTo(OnLabel(m_third));
    Settle();
    EXPECT_EQ(m_tree->HoverItem(), m_third);
    EXPECT_EQ(m_recorder.painted, QRegion(m_tree->RowRect(m_second)) + m_tree->RowRect(m_third));

    // Moving within the same label repaints nothing.
    m_recorder.painted = QRegion();
    MoveTo(OnLabel(m_third) + QPoint(1, 0));
    Settle();
    EXPECT_TRUE(m_recorder.painted.isEmpty());

    // Off the labels: the hover goes and its row is repainted.
    MoveTo(RightOfLabel(m_third));
    Settle();
    EXPECT_EQ(m_tree->HoverItem(), nullptr);
    EXPECT_EQ(m_recorder.painted, QRegion(m_tree->RowRect(m_third)));
}

TEST_F(TreeCtrlExTest, LeavingClearsTheHover)
{
    m_tree->SetFullRowSelect(true);
    ShowAndSettle();
    MoveTo(OnLabel(m_third));
    Settle();
    m_recorder.painted = QRegion();
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(m_tree->viewport(), &leave);
    Settle();
    EXPECT_EQ(m_tree->HoverItem(), nullptr);
    EXPECT_EQ(m_recorder.painted, QRegion(m_tree->RowRect(m_third)));
}

TEST_F(TreeCtrlExTest, NoHoverInNormalMode)
{
    ShowAndSettle();
    const QImage before = Grab();
    MoveTo(OnLabel(m_third));
    Settle();
    EXPECT_EQ(m_tree->HoverItem(), nullptr);
    EXPECT_EQ(Grab(), before);
}

TEST_F(TreeCtrlExTest, DeletedHoverItemIsForgotten)
{
    m_tree->SetFullRowSelect(true);
    ShowAndSettle();
    MoveTo(OnLabel(m_third));
    ASSERT_EQ(m_tree->HoverItem(), m_third);
    delete m_third;
    m_third = nullptr;
    EXPECT_EQ(m_tree->HoverItem(), nullptr);
    MoveTo(OnLabel(m_second));
    Settle();
    EXPECT_EQ(m_tree->HoverItem(), m_second);
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

TEST_F(TreeCtrlExTest, SelectionRepaintsWholeRows)
{
    m_tree->SetFullRowSelect(true);
    m_tree->setCurrentItem(m_second);
    ShowAndSettle();
    m_tree->setCurrentItem(m_third);
    Settle();
    EXPECT_TRUE(m_recorder.painted.contains(m_tree->RowRect(m_second)));
    EXPECT_TRUE(m_recorder.painted.contains(m_tree->RowRect(m_third)));
}

// ---- clicks -------------------------------------------------------------------------------

TEST_F(TreeCtrlExTest, NormalModeClickOffLabelOnlyTakesFocus)
{
    m_tree->setCurrentItem(m_third);
    ShowAndSettle();
    Click(RightOfLabel(m_second));
    Click(RightOfLabel(m_second), Qt::RightButton);
    DoubleClick(RightOfLabel(m_group));
    EXPECT_EQ(m_tree->currentItem(), m_third);
    EXPECT_FALSE(m_group->isExpanded());
    EXPECT_EQ(static_cast<int>(m_leftClicks.size()), 0);
    EXPECT_EQ(static_cast<int>(m_rightClicks.size()), 0);
    EXPECT_EQ(m_notices, 0);
    if (m_tree->window()->isActiveWindow()) {
        EXPECT_TRUE(m_tree->hasFocus());
    }
}

TEST_F(TreeCtrlExTest, NormalModeClickOnLabelOrIconSelects)
{
    ShowAndSettle();
    Click(OnLabel(m_third));
    EXPECT_EQ(m_tree->currentItem(), m_third);
    // The icon is part of the span.
    const QRect span = m_tree->ClickSpan(m_second);
    Click(QPoint(span.left() + 1, span.center().y()), Qt::RightButton);
    EXPECT_EQ(m_tree->currentItem(), m_second);
    ASSERT_EQ(static_cast<int>(m_leftClicks.size()), 1);
    EXPECT_EQ(m_leftClicks[0], m_third);
    ASSERT_EQ(static_cast<int>(m_rightClicks.size()), 1);
    EXPECT_EQ(m_rightClicks[0].first, m_second);
    EXPECT_EQ(m_rightClicks[0].second,
              m_tree->viewport()->mapToGlobal(QPoint(span.left() + 1, span.center().y())));
}

TEST_F(TreeCtrlExTest, NormalModeDoubleClickOnLabelExpandsAndNotifies)
{
    ShowAndSettle();
    DoubleClick(OnLabel(m_group));
    EXPECT_TRUE(m_group->isExpanded());
    EXPECT_EQ(m_notices, 1);
}

TEST_F(TreeCtrlExTest, ExpandIndicatorStillWorksInNormalMode)
{
    ShowAndSettle();
    const QRect cell = m_tree->visualItemRect(m_group);
    Click(QPoint(cell.left() - m_tree->indentation() / 2, cell.center().y()));
    EXPECT_TRUE(m_group->isExpanded());
}

TEST_F(TreeCtrlExTest, FullRowDoubleClickOffLabelBecomesNotice)
{
    m_tree->SetFullRowSelect(true);
    ShowAndSettle();
    DoubleClick(RightOfLabel(m_group));
    EXPECT_EQ(m_notices, 1);
    EXPECT_FALSE(m_group->isExpanded());
    // The first press of the pair selected the row.
    EXPECT_EQ(m_tree->currentItem(), m_group);
    ASSERT_EQ(static_cast<int>(m_leftClicks.size()), 1);
    EXPECT_EQ(m_leftClicks[0], m_group);
    // Empty space below the rows also notifies.
    DoubleClick(QPoint(20, 190));
    EXPECT_EQ(m_notices, 2);
}

TEST_F(TreeCtrlExTest, FullRowDoubleClickOnLabelIsHandledAndNotified)
{
    m_tree->SetFullRowSelect(true);
    ShowAndSettle();
    DoubleClick(OnLabel(m_group));
    EXPECT_TRUE(m_group->isExpanded());
    EXPECT_EQ(m_notices, 1);
}

} // namespace
