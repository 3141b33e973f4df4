// Every prompt of the module goes through one process-wide UI driver: message
// boxes (plain and named), modal dialog runs, popup menus, file and font
// dialogs. The default driver shows real Qt dialogs; tests, fuzzers and the
// scenario player install a scripted driver (src/scripted, a library of its
// own that the shipped module does not hold) that records each prompt and
// answers it from a script.
#pragma once

#include <functional>

#include <QPoint>

#include "common/GbkString.h"
#include "common/TextFormat.h"
#include "platform/Export.h"

class QWidget;
class QAction;
class QMenu;

namespace tarvolan {

class CDialog;

// Win32 numbers kept as the module uses them.
enum : unsigned {
    MB_OK = 0x0,
    MB_OKCANCEL = 0x1,
    MB_YESNO = 0x4,
    MB_ICONHAND = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONEXCLAMATION = 0x30,
    MB_ICONINFORMATION = 0x40,
};
enum : int { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

class TARVOLAN_EXPORT CUiDriver {
public:
    virtual ~CUiDriver() = default;

    // A plain message box; returns IDOK, IDCANCEL, IDYES or IDNO.
    virtual int MessageBox(QWidget* owner, const CString& text, const CString& caption, unsigned flags) = 0;
    // A named message box: waits for the answer, or returns 0 when
    // CloseNamedBox(name) closes it first.
    virtual int NamedMessageBox(const CString& name, QWidget* owner, const CString& text,
                                const CString& caption, unsigned flags) = 0;
    virtual void CloseNamedBox(const CString& name) = 0;
    // Runs a dialog modally; returns the code given to EndDialog.
    virtual int RunModal(CDialog* dialog) = 0;
    // Shows a popup menu; returns the command id chosen, 0 when none.
    virtual int TrackPopupMenu(QMenu* menu, QWidget* owner, const QPoint& globalPos) = 0;
    // A file name to save to; empty when cancelled. filter as "Text (*.txt)".
    virtual CString GetSaveFileName(QWidget* owner, const CString& defaultName, const CString& filter) = 0;
    // A font and colour; false when cancelled.
    virtual bool ChooseFont(QWidget* owner, TLogFont& font, COLORREF& color) = 0;
    // A picker's own popup (the emoticon grid): runPopup shows it and returns
    // the index picked, -1 when it closed without a pick. itemCount is what
    // the popup offers. This driver runs the popup.
    virtual int RunPicker(QWidget* owner, int itemCount, const std::function<int()>& runPopup);
};

TARVOLAN_EXPORT CUiDriver* GetUiDriver();
// Installs a driver (not owned); null puts the default Qt driver back.
TARVOLAN_EXPORT void SetUiDriver(CUiDriver* driver);

// Whether a box's flags ask Yes or No.
TARVOLAN_EXPORT bool IsYesNoBox(unsigned flags);

// One way to show a message box: through the driver.
TARVOLAN_EXPORT int ShowMessageBox(QWidget* owner, const CString& text, const CString& caption, unsigned flags);

} // namespace tarvolan
