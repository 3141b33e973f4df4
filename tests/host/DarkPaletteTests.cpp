// The module's windows, with the client's skins, on a dark desktop: Qt's
// Fusion style with a dark palette (light texts on dark backgrounds). Where
// a window keeps a light background of its own, its texts must not take the
// palette's light text colour: every text, and the tree's expand arrows,
// stand out from what is behind them.
#include <algorithm>
#include <cmath>
#include <map>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "ModuleWindows.h"
#include "platform/Window.h"
#include "res/ModuleResources.h"
#include "ui/ClientSession.h"

using namespace host;
using namespace tarvolan;

namespace {

// A palette as dark desktop themes give it (qt6ct's "darker" and the like).
QPalette DarkPalette()
{
    QPalette dark;
    const QColor window(53, 53, 53), base(35, 35, 35), text(230, 230, 230);
    for (auto role : {QPalette::Window, QPalette::Button, QPalette::AlternateBase}) dark.setColor(role, window);
    dark.setColor(QPalette::Base, base);
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::BrightText})
        dark.setColor(role, text);
    dark.setColor(QPalette::Highlight, QColor(42, 130, 218));
    dark.setColor(QPalette::HighlightedText, Qt::black);
    return dark;
}

double Luminance(QRgb rgb)
{
    const auto channel = [](int value) {
        const double c = value / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(rgb)) + 0.7152 * channel(qGreen(rgb)) + 0.0722 * channel(qBlue(rgb));
}

// The contrast of the strongest pixel of an area against the area's most
// common colour, its background (1 for an area of one colour, 21 for black
// on white).
double Contrast(const QImage& image, const QRect& area)
{
    std::map<QRgb, int> counts;
    const QRect inside = area & image.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x) ++counts[image.pixel(x, y) | 0xFF000000];
    if (counts.empty()) return 1;
    const QRgb back = std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) { return a.second < b.second; })->first;
    double best = 1;
    for (const auto& [colour, count] : counts) {
        const double a = Luminance(colour), b = Luminance(back);
        best = std::max(best, (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05));
    }
    return best;
}

constexpr double kReadable = 3.0;

// Every label, button and filled-in field of the window with text, and every
// row label and expand arrow of its trees, that hardly stands out.
QStringList Unreadable(QWidget* window)
{
    QStringList faint;
    const auto check = [&](QWidget* widget, const QRect& area, const QString& what) {
        const QImage image = widget->grab().toImage();
        const qreal dpr = image.devicePixelRatio();
        const QRect pixels(area.topLeft() * dpr, area.size() * dpr);
        if (Contrast(image, pixels) < kReadable) faint << what;
    };
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (!widget->isVisible() || !widget->isEnabled()) continue;
        const QString text = ToQt(GetControlText(widget));
        const bool shows = (qobject_cast<QLabel*>(widget) || qobject_cast<QAbstractButton*>(widget) ||
                            qobject_cast<QLineEdit*>(widget)) && !text.trimmed().isEmpty();
        if (shows) check(widget, widget->rect().adjusted(2, 2, -2, -2), widget->objectName() + ' ' + text);
        auto* tree = qobject_cast<QTreeWidget*>(widget);
        if (!tree) continue;
        for (QTreeWidgetItemIterator it(tree); *it; ++it) {
            const QRect cell = tree->visualItemRect(*it);
            if (cell.isEmpty() || !tree->viewport()->rect().contains(cell)) continue;  // scrolled out of sight
            const int icon = (*it)->icon(0).isNull() ? 0 : tree->iconSize().width() + 3;
            check(tree->viewport(), cell.adjusted(icon, 0, 0, 0), tree->objectName() + ' ' + (*it)->text(0));
            if ((*it)->childCount() > 0)
                check(tree->viewport(), QRect(cell.left() - tree->indentation(), cell.top(), tree->indentation(), cell.height()),
                      tree->objectName() + QStringLiteral(" arrow of ") + (*it)->text(0));
        }
    }
    return faint;
}

} // namespace

TEST(DarkPalette, EveryTextStandsOutFromItsBackground)
{
    CClientSession& session = SharedSession();
    SignIn(session);
    const QPalette saved = QApplication::palette();
    QApplication::setPalette(DarkPalette());

    QTreeWidget* tree = session.GroupTree();
    tree->window()->show();
    SelectTreeItem(session, {"群组管理", "我创建的群组", "产品研发部"});
    tree->clearFocus();
    EXPECT_EQ(Unreadable(session.GroupWindow()).join(", ").toStdString(), "") << "group window";

    SendCommand(session.GroupWindow(), IDM_GROUP_CHAT);
    QWidget* chat = session.ChatWindow(QStringLiteral("产品研发部"));
    ASSERT_NE(chat, nullptr);
    chat->show();
    SetControlText(FindControl(chat, 1521), FromQt(QStringLiteral("你好")));  // the send button is enabled
    QApplication::processEvents();
    EXPECT_EQ(Unreadable(chat).join(", ").toStdString(), "") << "conversation";

    // Dialogs, as their commands open them.
    const auto checkDialog = [&](const QStringList& path, int command, const char* name) {
        SelectTreeItem(session, path);
        InspectModal(session, command, name, [name](CDialog* shown) {
            shown->show();
            QApplication::processEvents();
            EXPECT_EQ(Unreadable(shown).join(", ").toStdString(), "") << name;
        });
    };
    checkDialog({"群组管理", "我创建的群组"}, IDM_CREATE_GROUP, "create");
    checkDialog({"群组管理", "我加入的群组", "读书会"}, IDM_GROUP_PROPERTIES, "properties");
    checkDialog({"群组管理", "我创建的群组", "产品研发部"}, IDM_SEARCH_GROUPS, "search");

    chat->close();
    QApplication::setPalette(saved);
}
