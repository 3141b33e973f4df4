// The process-wide UI driver and the default one, which shows Qt dialogs.
#include "platform/UiDriver.h"

#include <algorithm>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>

#include "platform/Resources.h"
#include "platform/Window.h"

namespace tarvolan {

namespace {

// ---- message box flags ---------------------------------------------------

QMessageBox::Icon IconForFlags(unsigned flags)
{
    switch (flags & 0xF0) {
    case MB_ICONHAND: return QMessageBox::Critical;
    case MB_ICONQUESTION: return QMessageBox::Question;
    case MB_ICONEXCLAMATION: return QMessageBox::Warning;
    case MB_ICONINFORMATION: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

QMessageBox::StandardButtons ButtonsForFlags(unsigned flags)
{
    switch (flags & 0xF) {
    case MB_OKCANCEL: return QMessageBox::Ok | QMessageBox::Cancel;
    case MB_YESNO: return QMessageBox::Yes | QMessageBox::No;
    default: return QMessageBox::Ok;
    }
}

int AnswerForButton(int button, unsigned flags)
{
    switch (button) {
    case QMessageBox::Ok: return IDOK;
    case QMessageBox::Cancel: return IDCANCEL;
    case QMessageBox::Yes: return IDYES;
    case QMessageBox::No: return IDNO;
    default: return IsYesNoBox(flags) ? IDNO : IDCANCEL;
    }
}

// Builds the box without showing it.
QMessageBox* MakeMessageBox(QWidget* owner, const CString& text, const CString& caption, unsigned flags)
{
    auto* box = new QMessageBox(IconForFlags(flags), ShownPart(ToQt(caption)), ShownPart(ToQt(text)),
                                ButtonsForFlags(flags), owner);
    box->setAttribute(Qt::WA_DeleteOnClose, false);
    return box;
}

// A box belongs to its owner's window, and the window system gives the focus
// back to that window when the box closes (raising it with the box). While
// one lives, the window that had the focus before the box gets it back
// afterwards, so a box never leaves the window a person works in behind
// another one.
class CFocusReturn {
public:
    CFocusReturn() : m_pWindow(QApplication::activeWindow()) {}
    ~CFocusReturn()
    {
        if (m_pWindow && m_pWindow->isVisible() && QApplication::activeWindow() != m_pWindow) BringToFront(m_pWindow);
    }
    CFocusReturn(const CFocusReturn&) = delete;
    CFocusReturn& operator=(const CFocusReturn&) = delete;

private:
    QPointer<QWidget> m_pWindow;
};

// ---- the default driver --------------------------------------------------

class CQtUiDriver : public CUiDriver {
public:
    int MessageBox(QWidget* owner, const CString& text, const CString& caption, unsigned flags) override
    {
        const CFocusReturn focus;
        QPointer<QMessageBox> box = MakeMessageBox(owner, text, caption, flags);
        const int answer = AnswerForButton(box->exec(), flags);
        delete box.data();
        return answer;
    }

    int NamedMessageBox(const CString& name, QWidget* owner, const CString& text, const CString& caption,
                        unsigned flags) override
    {
        const CFocusReturn focus;
        QPointer<QMessageBox> box = MakeMessageBox(owner, text, caption, flags);
        m_named.push_back({name, box});
        const int button = box->exec();
        const bool closedByName = !box || box->property(kClosedByName).toBool();
        const int answer = closedByName ? 0 : AnswerForButton(button, flags);
        m_named.erase(std::remove_if(m_named.begin(), m_named.end(),
                                     [&](const TNamedBox& named) { return named.box == box || !named.box; }),
                      m_named.end());
        delete box.data();
        return answer;
    }

    void CloseNamedBox(const CString& name) override
    {
        for (const TNamedBox& named : m_named) {
            if (named.name == name && named.box) {
                named.box->setProperty(kClosedByName, true);
                named.box->done(0);
            }
        }
    }

    int RunModal(CDialog* dialog) override
    {
        if (!dialog) return IDCANCEL;
        dialog->InitialiseOnce();
        if (dialog->IsEnded()) return dialog->EndCode();
        return dialog->exec();
    }

    int TrackPopupMenu(QMenu* menu, QWidget*, const QPoint& globalPos) override
    {
        if (!menu) return 0;
        QAction* chosen = menu->exec(globalPos);
        return chosen ? chosen->data().toInt() : 0;
    }

    CString GetSaveFileName(QWidget* owner, const CString& defaultName, const CString& filter) override
    {
        return FromQt(QFileDialog::getSaveFileName(owner, QString(), ToQt(defaultName), ToQt(filter)));
    }

    bool ChooseFont(QWidget* owner, TLogFont& font, COLORREF& color) override
    {
        bool ok = false;
        const QFont chosen = QFontDialog::getFont(&ok, ToQFont(font), owner);
        if (!ok) return false;
        font = FromQFont(chosen);
        const QColor picked = QColorDialog::getColor(ToQColor(color), owner);
        if (picked.isValid()) color = FromQColor(picked);
        return true;
    }

private:
    static constexpr const char* kClosedByName = "tarvolanClosedByName";
    struct TNamedBox {
        CString name;
        QPointer<QMessageBox> box;
    };
    std::vector<TNamedBox> m_named;
};

CQtUiDriver& DefaultDriver()
{
    static CQtUiDriver driver;
    return driver;
}

CUiDriver* g_driver = nullptr;

} // namespace

// ---- driver selection ----------------------------------------------------

CUiDriver* GetUiDriver()
{
    return g_driver ? g_driver : &DefaultDriver();
}

void SetUiDriver(CUiDriver* driver)
{
    g_driver = driver;
}

int CUiDriver::RunPicker(QWidget*, int, const std::function<int()>& runPopup)
{
    return runPopup ? runPopup() : -1;
}

bool IsYesNoBox(unsigned flags)
{
    return (flags & 0xF) == MB_YESNO;
}

int ShowMessageBox(QWidget* owner, const CString& text, const CString& caption, unsigned flags)
{
    return GetUiDriver()->MessageBox(owner, text, caption, flags);
}

} // namespace tarvolan
