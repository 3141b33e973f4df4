#include "conversation/EmoticonPicker.h"

#include <QEventLoop>
#include <QPointer>

#include "common/TextFunctions.h"
#include "conversation/EmoticonGrid.h"
#include "platform/Pictures.h"
#include "platform/UiDriver.h"
#include "platform/Window.h"

namespace tarvolan {

CEmoticonPicker::CEmoticonPicker(QWidget* parent) : QToolButton(parent)
{
    setAutoRaise(true);
    // Connected before the dialog connects its command, so the choice is
    // made before the dialog hears of the click.
    connect(this, &QToolButton::clicked, this, &CEmoticonPicker::OnClicked);
}

void CEmoticonPicker::AddItem(const QString& file, const CString& code)
{
    const QPixmap bitmap(file);
    m_Items.push_back({bitmap, LoadIconFile(file), CString(GbkPrefix(code.view(), kMaxCodeLength))});
    if (m_Items.size() == 1 && !bitmap.isNull()) {
        setIcon(m_Items.back().icon);
        setIconSize(bitmap.deviceIndependentSize().toSize());
    }
}

CString CEmoticonPicker::GetItemCode(int index) const
{
    if (index < 0 || index >= GetItemCount()) return CString();
    return m_Items[static_cast<size_t>(index)].code;
}

const QPixmap& CEmoticonPicker::GetItemBitmap(int index) const
{
    static const QPixmap none;
    if (index < 0 || index >= GetItemCount()) return none;
    return m_Items[static_cast<size_t>(index)].bitmap;
}

const QIcon& CEmoticonPicker::GetItemIcon(int index) const
{
    static const QIcon none;
    if (index < 0 || index >= GetItemCount()) return none;
    return m_Items[static_cast<size_t>(index)].icon;
}

void CEmoticonPicker::ChooseItem(int index)
{
    m_nChosen = (index >= 0 && index < GetItemCount()) ? index : -1;
    m_bReporting = true;
    click();
    m_bReporting = false;
}

void CEmoticonPicker::OnClicked()
{
    if (m_bReporting) return;
    // The popup's event loop may destroy the button with its window (a
    // deferred close, the group going): then there is nothing to record.
    // The popup runs through the UI driver, so a script can pick for it.
    const QPointer<CEmoticonPicker> self(this);
    const int chosen = GetUiDriver()->RunPicker(this, GetItemCount(), [this] { return RunPopup(); });
    if (self) m_nChosen = chosen;
}

int CEmoticonPicker::RunPopup()
{
    if (m_Items.empty()) return -1;
    QPointer<CEmoticonGrid> popup = new CEmoticonGrid(kColumns, this);
    // A window of its own rather than a Qt popup, which screen readers do
    // not find among the application's windows; it closes when it loses
    // the focus, as a popup would.
    popup->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    popup->setAttribute(Qt::WA_DeleteOnClose);
    for (const TItem& item : m_Items)
        popup->AddCell(item.icon, item.bitmap.deviceIndependentSize().toSize(), item.code);
    popup->Finish();
    int chosen = -1;
    connect(popup, &CEmoticonGrid::picked, popup, [&chosen, popup](int index) {
        chosen = index;
        popup->close();
    });
    QEventLoop loop;
    connect(popup, &QObject::destroyed, &loop, &QEventLoop::quit);
    popup->move(mapToGlobal(rect().bottomLeft()));
    popup->show();
    popup->activateWindow();
    popup->setFocus(Qt::PopupFocusReason);
    loop.exec();
    return chosen;
}

} // namespace tarvolan
