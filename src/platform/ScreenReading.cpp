#include "platform/ScreenReading.h"

#include <utility>

#include <QAccessible>
#include <QAccessibleWidget>
#include <QTextEdit>
#include <QWidget>

namespace tarvolan {

namespace {

// The window's announcement: an invisible child that holds the last text.
class CAnnouncement : public QWidget {
public:
    explicit CAnnouncement(QWidget* window) : QWidget(window)
    {
        setObjectName(QStringLiteral("announcement"));
        setFocusPolicy(Qt::NoFocus);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFixedSize(0, 0);
    }
    QString text;
};

// An alert whose name and text are the announcement: readers get the text
// through the text interface of the insertion event too.
class CAnnouncementAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit CAnnouncementAccessible(CAnnouncement* widget) : QAccessibleWidget(widget, QAccessible::AlertMessage) {}

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? Said() : QAccessibleWidget::text(t);
    }

    // The text interface: the announcement, with no caret and no selection.
    QString text(int start, int end) const override { return Said().mid(start, end - start); }
    int characterCount() const override { return static_cast<int>(Said().size()); }
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QRect characterRect(int) const override { return QRect(); }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* start, int* end) const override
    {
        *start = *end = offset;
        return QString();
    }

private:
    QString Said() const { return static_cast<const CAnnouncement*>(widget())->text; }
};

// Qt asks by the class names of the object's meta-object (QWidget for the
// announcement): the object itself tells.
QAccessibleInterface* AnnouncementFactory(const QString&, QObject* object)
{
    auto* widget = dynamic_cast<CAnnouncement*>(object);
    return widget ? new CAnnouncementAccessible(widget) : nullptr;
}

TAnnouncementObserver& Observer()
{
    static TAnnouncementObserver observer;
    return observer;
}

CAnnouncement* AnnouncementOf(const QWidget* window)
{
    return window ? window->findChild<CAnnouncement*>(QStringLiteral("announcement"), Qt::FindDirectChildrenOnly)
                  : nullptr;
}

} // namespace

void LetKeysRead(QTextEdit& text)
{
    text.setTextInteractionFlags(text.textInteractionFlags() | Qt::TextSelectableByKeyboard |
                                 Qt::TextSelectableByMouse);
    text.setTabChangesFocus(true);
}

void AnnounceToReaders(QWidget* window, const QString& text)
{
    if (!window || text.isEmpty()) return;
    static const bool installed = [] {
        QAccessible::installFactory(AnnouncementFactory);
        return true;
    }();
    (void)installed;
    CAnnouncement* announcement = AnnouncementOf(window);
    if (!announcement) {
        announcement = new CAnnouncement(window);
        announcement->show();
    }
    announcement->text = text;
    QAccessibleEvent named(announcement, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&named);
    QAccessibleTextInsertEvent inserted(announcement, 0, text);
    QAccessible::updateAccessibility(&inserted);
    QAccessibleEvent alert(announcement, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
    if (Observer()) Observer()(window, text);
}

TAnnouncementObserver SetAnnouncementObserver(TAnnouncementObserver observer)
{
    return std::exchange(Observer(), std::move(observer));
}

QString LastAnnouncement(const QWidget* window)
{
    const CAnnouncement* announcement = AnnouncementOf(window);
    return announcement ? announcement->text : QString();
}

} // namespace tarvolan
