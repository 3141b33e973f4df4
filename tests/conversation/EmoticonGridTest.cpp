// The emoticon picker's popup by keys alone, and as a screen reader sees it.
#include <vector>

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>

#include "platform/Accessibility.h"
#include "platform/Window.h"
#include "ConversationTestSupport.h"
#include "common/Emoticons.h"
#include "conversation/EmoticonGrid.h"
#include "conversation/EmoticonPicker.h"

using namespace conversation_test;

namespace {

class EmoticonGridTest : public ConversationTest {
protected:
    EmoticonGridTest()
    {
        for (int i = 0; i < kEmoticonCount; ++i) m_picker.AddItem(QString(), EmoticonCode(i));
    }
    // Opens the popup, presses the keys in it, and returns what was picked.
    int PressInPopup(const std::vector<int>& keys, const std::function<void(CEmoticonGrid*)>& inspect = {})
    {
        QTimer::singleShot(0, [&] {
            QApplication::processEvents();  // the grid's window is activated
            QApplication::processEvents();  // and reports where its focus is
            QPointer<CEmoticonGrid> grid = m_picker.findChild<CEmoticonGrid*>();
            ASSERT_FALSE(grid.isNull());
            for (int key : keys) {
                if (!grid || !grid->isVisible()) break;
                QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
                QApplication::sendEvent(grid, &press);
                if (grid && grid->isVisible() && inspect) inspect(grid);
            }
            if (grid && grid->isVisible()) grid->close();
        });
        m_picker.click();
        return m_picker.GetChosenIndex();
    }
    CEmoticonPicker m_picker;
};

} // namespace

TEST_F(EmoticonGridTest, KeysMoveTheHighlightAndPick)
{
    struct TCase {
        std::vector<int> keys;
        int picked;
    };
    const TCase cases[] = {
        {{Qt::Key_Return}, 0},
        {{Qt::Key_End, Qt::Key_Enter}, 39},
        {{Qt::Key_Right, Qt::Key_Right, Qt::Key_Down, Qt::Key_Space}, 10},
        {{Qt::Key_Down, Qt::Key_Left, Qt::Key_Return}, 7},                                  // back to the row above
        {{Qt::Key_End, Qt::Key_Right, Qt::Key_Down, Qt::Key_Return}, 39},                  // no step past the last
        {{Qt::Key_End, Qt::Key_Home, Qt::Key_Left, Qt::Key_Up, Qt::Key_Space}, 0},         // nor before the first
        {{Qt::Key_Right, Qt::Key_Escape}, -1},
    };
    for (const TCase& c : cases) EXPECT_EQ(PressInPopup(c.keys), c.picked) << c.keys.size() << " keys";
}

// What a screen reader hears: the list of named pictures and its
// highlighted item when the popup opens, then each item alone as the keys move.
TEST_F(EmoticonGridTest, ShowsItsFocusAndReportsTheHighlightedItem)
{
    static QStringList heard;
    heard.clear();
    const FocusReportObserver previous = ObserveFocusReports([](QAccessibleInterface* node) {
        QAccessibleInterface* parent = node->parent();
        heard << node->text(QAccessible::Name) + '@' + (parent ? parent->text(QAccessible::Name) : QString());
    });
    // A window of the application, where a screen reader finds it.
    QTimer::singleShot(0, [this] {
        QAccessibleInterface* app = QAccessible::queryAccessibleInterface(qApp);
        bool listed = false;
        for (int i = 0; i < app->childCount(); ++i)
            listed = listed || app->child(i)->object() == m_picker.findChild<CEmoticonGrid*>();
        EXPECT_TRUE(listed);
    });
    QStringList afterKeys;
    PressInPopup({Qt::Key_Right, Qt::Key_Down}, [&afterKeys](CEmoticonGrid* grid) {
        QApplication::processEvents();
        EXPECT_TRUE(grid->hasFocus());
        ASSERT_NE(grid->currentItem(), nullptr);
        EXPECT_TRUE(grid->currentItem()->isSelected());  // the highlight is where the keys are
        QAccessibleInterface* list = QAccessible::queryAccessibleInterface(grid);
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->role(), QAccessible::List);  // a table's row is read whole
        EXPECT_EQ(list->child(0)->text(QAccessible::Name), QStringLiteral("微笑"));
        EXPECT_EQ(list->child(39)->text(QAccessible::Name), QStringLiteral("邮件"));
        afterKeys << heard.last();
    });
    ObserveFocusReports(previous);
    ASSERT_FALSE(heard.isEmpty());
    EXPECT_TRUE(heard.contains(QStringLiteral("微笑@表情"))) << heard.join(", ").toStdString();  // on opening
    EXPECT_EQ(afterKeys, QStringList({QStringLiteral("露齿笑@表情"), QStringLiteral("难过@表情")}));
    EXPECT_EQ(EmoticonMeaning(CString("no code")), QStringLiteral("no code"));
}
