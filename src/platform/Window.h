// Window services the module's windows are built on: window timers by numeric
// id, command messages (sent or posted) with numeric ids, controls found by
// id, top-level windows found by caption, and CDialog, the base of every
// dialog template.
#pragma once

#include <cstdint>
#include <map>

#include <QColor>
#include <QDialog>
#include <QFont>

#include "common/GbkString.h"
#include "common/TextFormat.h"
#include "platform/Export.h"

class QTimerEvent;

namespace tarvolan {

// Show commands.
enum : int { SW_HIDE = 0, SW_SHOW = 5 };

// Mixed into a window: timers by id. The owner forwards QObject timer events
// to HandleTimerEvent and receives OnTimer(id).
class TARVOLAN_EXPORT CWindowTimers {
public:
    virtual ~CWindowTimers() = default;
    // Starts or restarts timer id with the period in milliseconds.
    void SetTimer(int id, int ms);
    void KillTimer(int id);
    bool IsTimerRunning(int id) const { return m_timers.count(id) != 0; }
    int TimerPeriod(int id) const;  // 0 when not running
    virtual void OnTimer(int id) = 0;

protected:
    // The QObject the timers run on.
    virtual QObject* TimerObject() = 0;
    // Returns true when the event belonged to one of these timers.
    bool HandleTimerEvent(QTimerEvent* event);

private:
    struct TTimer { int qtId; int ms; };
    std::map<int, TTimer> m_timers;
};

// Receives command messages (menu items, buttons, the module's own numbers).
class TARVOLAN_EXPORT CCommandTarget {
public:
    virtual ~CCommandTarget() = default;
    // Returns true when handled.
    virtual bool OnCommand(int id, intptr_t lParam) = 0;
};

// Sends a command synchronously; false when the widget takes no commands.
TARVOLAN_EXPORT bool SendCommand(QWidget* target, int id, intptr_t lParam = 0);
// Queues a command on the event loop; it is dropped if the widget goes first.
TARVOLAN_EXPORT void PostCommand(QWidget* target, int id, intptr_t lParam = 0);

// The first visible-or-hidden top-level widget whose window title is caption
// (GBK); null when none.
TARVOLAN_EXPORT QWidget* FindWindowByCaption(const CString& caption);
class CDialog;
// The same among the module's dialogs only, which keep a list of themselves:
// no walk over every widget of the application.
TARVOLAN_EXPORT CDialog* FindDialogByCaption(const CString& caption);

// A window the user asked for: shown (restored when minimised), raised and
// given the focus.
TARVOLAN_EXPORT void BringToFront(QWidget* window);

// A stable numeric handle for a window, as skin requests carry.
TARVOLAN_EXPORT intptr_t WindowHandle(QWidget* window);

// Converts between GBK and Qt's UTF-16; what cannot be converted becomes '?'.
TARVOLAN_EXPORT QString ToQt(const CString& gbk);
TARVOLAN_EXPORT CString FromQt(const QString& text);

// What a window shows of a text that may be as long as a host makes it: the
// first kShownChars characters (a surrogate pair at the cut left out whole).
// Laying out more is slow and shows nothing a person could read.
constexpr qsizetype kShownChars = 2048;
TARVOLAN_EXPORT QString ShownPart(QString text);

// Fonts and colours between the module's records and Qt. A logical font's
// height is in pixels (negative: character height); 0 keeps Qt's default.
TARVOLAN_EXPORT QFont ToQFont(const TLogFont& font);
TARVOLAN_EXPORT TLogFont FromQFont(const QFont& font);
TARVOLAN_EXPORT QColor ToQColor(COLORREF color);
TARVOLAN_EXPORT COLORREF FromQColor(const QColor& color);

// The text a control shows (line and text edits, labels, buttons, group
// boxes, a combo box's current text, else the window title), as GBK.
TARVOLAN_EXPORT CString GetControlText(const QWidget* control);
TARVOLAN_EXPORT void SetControlText(QWidget* control, const CString& text);
// Puts the text into an edit control (one line or several) or a combo box
// (its edit text when editable, else the item with that text); false for
// any other control.
TARVOLAN_EXPORT bool SetEditableText(QWidget* control, const QString& value);

// Control id from objectName "id1045"; 0 when the name has no id.
TARVOLAN_EXPORT int ControlId(const QWidget* control);
// The child whose objectName is "id" followed by the number; null when none.
TARVOLAN_EXPORT QWidget* FindControl(const QWidget* parent, int id);

// Base of every dialog template. Subclasses build their controls (usually
// from a Designer form whose objectNames are "id<number>") in the
// constructor, do their start-up in OnInitDialog, and take button clicks and
// module commands in OnCommand. Buttons whose objectName carries an id are
// routed to OnCommand automatically; id 1 (OK) and 2 (Cancel) default to
// OnOK and OnCancel.
class TARVOLAN_EXPORT CDialog : public QDialog, public CWindowTimers, public CCommandTarget {
    Q_OBJECT
public:
    explicit CDialog(QWidget* parent = nullptr);
    ~CDialog() override;

    // Modal run through the UI driver; returns the EndDialog code.
    int DoModal();
    // Modeless creation: runs OnInitDialog once; the caller shows it.
    bool Create(QWidget* parent = nullptr);
    void EndDialog(int code);
    bool IsInitialised() const { return m_initialised; }
    // Whether EndDialog was called since the last DoModal, and with what code.
    bool IsEnded() const { return m_ended; }
    int EndCode() const { return m_endCode; }
    bool IsModalRunning() const { return m_modalRunning; }
    // Runs OnInitDialog once (the UI driver and Create call it).
    void InitialiseOnce();

    QWidget* GetDlgItem(int id) const { return FindControl(this, id); }
    CString GetDlgItemText(int id) const;
    void SetDlgItemText(int id, const CString& text);

    virtual bool OnInitDialog() { return true; }
    virtual void OnOK() { EndDialog(1); }
    virtual void OnCancel() { EndDialog(2); }
    bool OnCommand(int id, intptr_t lParam) override;
    void OnTimer(int) override {}

    // Presses the button with that id as a click would.
    void PressButton(int id);
    // Connects every child button with an id to OnCommand. Subclasses that
    // add buttons after construction call it again.
    void ConnectButtons();

protected:
    QObject* TimerObject() override { return this; }
    void timerEvent(QTimerEvent* event) override;
    // Reports the focused control to assistive technology each time the
    // dialog becomes the active window.
    bool event(QEvent* event) override;
    void reject() override { OnCancel(); }
    void accept() override { OnOK(); }

private:
    bool m_initialised = false;
    bool m_modalRunning = false;
    bool m_ended = false;
    int m_endCode = 0;
};

} // namespace tarvolan
