// Window services on Qt: timers by id, commands, controls by id, windows by
// caption, text and font conversion, and the dialog base class.
#include "platform/Window.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextEdit>
#include <QTimerEvent>

#include "platform/Accessibility.h"
#include "platform/UiDriver.h"

namespace tarvolan {

// ---- timers --------------------------------------------------------------

void CWindowTimers::SetTimer(int id, int ms)
{
    KillTimer(id);
    QObject* object = TimerObject();
    int qtId = object ? object->startTimer(std::max(ms, 1)) : 0;
    m_timers[id] = TTimer{qtId, ms};
}

void CWindowTimers::KillTimer(int id)
{
    auto it = m_timers.find(id);
    if (it == m_timers.end()) return;
    QObject* object = TimerObject();
    if (object && it->second.qtId != 0) object->killTimer(it->second.qtId);
    m_timers.erase(it);
}

int CWindowTimers::TimerPeriod(int id) const
{
    auto it = m_timers.find(id);
    return it == m_timers.end() ? 0 : it->second.ms;
}

bool CWindowTimers::HandleTimerEvent(QTimerEvent* event)
{
    if (!event) return false;
    for (const auto& [id, timer] : m_timers) {
        if (timer.qtId != 0 && timer.qtId == event->timerId()) {
            const int timerId = id;  // OnTimer may change the map
            OnTimer(timerId);
            return true;
        }
    }
    return false;
}

// ---- commands and windows ----------------------------------------------

bool SendCommand(QWidget* target, int id, intptr_t lParam)
{
    auto* receiver = dynamic_cast<CCommandTarget*>(target);
    return receiver ? receiver->OnCommand(id, lParam) : false;
}

void PostCommand(QWidget* target, int id, intptr_t lParam)
{
    if (!target) return;
    QPointer<QWidget> guard(target);
    // Queued on the target itself: Qt discards the call when the target is
    // destroyed first, and the guard covers a target being torn down.
    QMetaObject::invokeMethod(
        target, [guard, id, lParam] {
            if (guard) SendCommand(guard.data(), id, lParam);
        },
        Qt::QueuedConnection);
}

QWidget* FindWindowByCaption(const CString& caption)
{
    const QString title = ToQt(caption);
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        if (window->windowTitle() == title) return window;
    }
    return nullptr;
}

void BringToFront(QWidget* window)
{
    if (!window) return;
    window = window->window();
    if (window->isMinimized()) window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
}

intptr_t WindowHandle(QWidget* window)
{
    static qlonglong nextHandle = 0x10000;
    if (!window) return 0;
    static const char* const kProperty = "tarvolanHandle";
    QVariant handle = window->property(kProperty);
    if (!handle.isValid()) {
        handle = nextHandle;
        nextHandle += 4;
        window->setProperty(kProperty, handle);
    }
    return static_cast<intptr_t>(handle.toLongLong());
}

// ---- text, fonts and colours -------------------------------------------

QString ToQt(const CString& gbk)
{
    // GBK keeps ASCII as it is: addresses and many names need no converter.
    const std::string_view text = gbk.view();
    if (std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    return QString::fromStdString(GbkToUtf8(text));
}

QString ShownPart(QString text)
{
    if (text.size() > kShownChars) {
        qsizetype length = kShownChars;
        if (text.at(length - 1).isHighSurrogate()) --length;
        text.truncate(length);
    }
    return text;
}

CString FromQt(const QString& text)
{
    // Through UTF-8, so that there is one conversion to GBK. A lone surrogate
    // reaches it as one '?' already (Qt writes it so in UTF-8).
    return Utf8ToGbk(text.toStdString());
}

QFont ToQFont(const TLogFont& font)
{
    QFont result;
    CString face = CString::FromField(font.lfFaceName, sizeof(font.lfFaceName));
    if (!face.IsEmpty()) result.setFamily(ToQt(face));
    if (font.lfHeight != 0) result.setPixelSize(std::abs(font.lfHeight));
    result.setBold(font.lfWeight >= 600);
    result.setItalic(font.lfItalic != 0);
    result.setUnderline(font.lfUnderline != 0);
    result.setStrikeOut(font.lfStrikeOut != 0);
    return result;
}

TLogFont FromQFont(const QFont& font)
{
    TLogFont result;
    int pixels = font.pixelSize();
    if (pixels <= 0 && font.pointSizeF() > 0) pixels = static_cast<int>(font.pointSizeF() * 96.0 / 72.0 + 0.5);
    result.lfHeight = pixels > 0 ? -pixels : 0;
    result.lfWeight = font.bold() ? 700 : 400;
    result.lfItalic = font.italic() ? 1 : 0;
    result.lfUnderline = font.underline() ? 1 : 0;
    result.lfStrikeOut = font.strikeOut() ? 1 : 0;
    FromQt(font.family()).CopyTo(result.lfFaceName, sizeof(result.lfFaceName));
    return result;
}

QColor ToQColor(COLORREF color)
{
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

COLORREF FromQColor(const QColor& color)
{
    return RGBColor(color.red(), color.green(), color.blue());
}

CString GetControlText(const QWidget* control)
{
    if (!control) return CString();
    if (auto* edit = qobject_cast<const QLineEdit*>(control)) return FromQt(edit->text());
    if (auto* edit = qobject_cast<const QTextEdit*>(control)) return FromQt(edit->toPlainText());
    if (auto* edit = qobject_cast<const QPlainTextEdit*>(control)) return FromQt(edit->toPlainText());
    if (auto* label = qobject_cast<const QLabel*>(control)) return FromQt(label->text());
    if (auto* button = qobject_cast<const QAbstractButton*>(control)) return FromQt(button->text());
    if (auto* box = qobject_cast<const QGroupBox*>(control)) return FromQt(box->title());
    if (auto* combo = qobject_cast<const QComboBox*>(control)) return FromQt(combo->currentText());
    if (auto* spin = qobject_cast<const QAbstractSpinBox*>(control)) return FromQt(spin->text());
    return FromQt(control->windowTitle());
}

bool SetEditableText(QWidget* control, const QString& value)
{
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        edit->setText(value);
    } else if (auto* edit = qobject_cast<QTextEdit*>(control)) {
        edit->setPlainText(value);
    } else if (auto* edit = qobject_cast<QPlainTextEdit*>(control)) {
        edit->setPlainText(value);
    } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
        if (combo->isEditable()) combo->setEditText(value);
        else combo->setCurrentIndex(combo->findText(value));
    } else {
        return false;
    }
    return true;
}

void SetControlText(QWidget* control, const CString& text)
{
    if (!control) return;
    const QString value = ToQt(text);
    if (SetEditableText(control, value)) return;
    if (auto* label = qobject_cast<QLabel*>(control)) {
        label->setText(value);
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->setText(value);
    } else if (auto* box = qobject_cast<QGroupBox*>(control)) {
        box->setTitle(value);
    } else {
        control->setWindowTitle(value);
    }
}

// ---- controls by id ------------------------------------------------------

int ControlId(const QWidget* control)
{
    if (!control) return 0;
    const QString name = control->objectName();
    if (name.size() < 3 || name.size() > 11 || !name.startsWith(QLatin1String("id"))) return 0;
    bool ok = false;
    const QStringView digits = QStringView(name).mid(2);
    for (QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return 0;
    }
    const int id = digits.toInt(&ok);
    return ok ? id : 0;
}

QWidget* FindControl(const QWidget* parent, int id)
{
    if (!parent) return nullptr;
    return parent->findChild<QWidget*>(QStringLiteral("id%1").arg(id));
}

// ---- CDialog ---------------------------------------------------------------

namespace {

// Every dialog alive, oldest first.
std::vector<CDialog*>& LiveDialogs()
{
    static std::vector<CDialog*> dialogs;
    return dialogs;
}

} // namespace

CDialog* FindDialogByCaption(const CString& caption)
{
    const QString title = ToQt(caption);
    for (CDialog* dialog : LiveDialogs())
        if (dialog->windowTitle() == title) return dialog;
    return nullptr;
}

CDialog::CDialog(QWidget* parent) : QDialog(parent)
{
    LiveDialogs().push_back(this);
}

CDialog::~CDialog()
{
    std::vector<CDialog*>& dialogs = LiveDialogs();
    dialogs.erase(std::remove(dialogs.begin(), dialogs.end(), this), dialogs.end());
}

int CDialog::DoModal()
{
    QPointer<CDialog> self(this);
    m_ended = false;
    m_modalRunning = true;
    const int code = GetUiDriver()->RunModal(this);
    if (self) m_modalRunning = false;
    return code;
}

bool CDialog::Create(QWidget* parent)
{
    if (parent && parent != parentWidget()) setParent(parent, windowFlags());
    InitialiseOnce();
    return true;
}

bool CDialog::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate) ReportFocusSoon(this);
    return QDialog::event(event);
}

void CDialog::EndDialog(int code)
{
    m_ended = true;
    m_endCode = code;
    done(code);
}

void CDialog::InitialiseOnce()
{
    if (m_initialised) return;
    m_initialised = true;
    ConnectButtons();
    OnInitDialog();
    NameControlsFromLabels(this);  // after start-up has set the labels' texts
}

CString CDialog::GetDlgItemText(int id) const
{
    return GetControlText(GetDlgItem(id));
}

void CDialog::SetDlgItemText(int id, const CString& text)
{
    SetControlText(GetDlgItem(id), text);
}

bool CDialog::OnCommand(int id, intptr_t)
{
    if (id == IDOK) {
        OnOK();
        return true;
    }
    if (id == IDCANCEL) {
        OnCancel();
        return true;
    }
    return false;
}

void CDialog::PressButton(int id)
{
    auto* button = qobject_cast<QAbstractButton*>(GetDlgItem(id));
    if (!button) {
        // A dialog without that button still takes the command (Enter and
        // Escape reach OK and Cancel the same way).
        OnCommand(id, 0);
        return;
    }
    if (button->isEnabled()) button->click();
}

void CDialog::ConnectButtons()
{
    static const char* const kConnected = "tarvolanCommandConnected";
    const auto buttons = findChildren<QAbstractButton*>();
    for (QAbstractButton* button : buttons) {
        const int id = ControlId(button);
        if (id == 0 || button->property(kConnected).toBool()) continue;
        button->setProperty(kConnected, true);
        connect(button, &QAbstractButton::clicked, this, [this, id] { OnCommand(id, 0); });
    }
}

void CDialog::timerEvent(QTimerEvent* event)
{
    if (!HandleTimerEvent(event)) QDialog::timerEvent(event);
}

} // namespace tarvolan
