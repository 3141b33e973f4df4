#include "groups/TarvolanDialog.h"

#include <QResizeEvent>

#include "clientkit/ClientKit.h"
#include "controls/TreeCtrlEx.h"
#include "groups/TreeItemData.h"
#include "module/TarvolanModule.h"
#include "ui_CTarvolanDialog.h"

using namespace tarvolan;

CTarvolanDialog* g_pTarvolanDialog = nullptr;

namespace {
constexpr int kButtonIds[] = {1006, 1004, 1005};
constexpr const char* kButtonSkins[] = {"radio_add", "radio_del", "radio_edit"};
constexpr int kReplayPeriodMs = 30000;
} // namespace

CTarvolanDialog::CTarvolanDialog(CTarvolanModule* module) : CDialog(nullptr), m_pModule(module) {}

CTarvolanDialog::~CTarvolanDialog()
{
    delete m_pUi;
}

bool CTarvolanDialog::CreateWindow(QWidget* parent)
{
    setParent(parent, Qt::Widget);
    setWindowFlags(parent ? Qt::Widget : Qt::Window | Qt::FramelessWindowHint);
    m_pUi = new Ui::CTarvolanDialog;
    m_pUi->setupUi(this);
    m_pTree = qobject_cast<CTreeCtrlEx*>(GetDlgItem(1000));
    if (!m_pTree) return false;
    ConnectButtons();
    connect(m_pTree, &QTreeWidget::currentItemChanged, this, [this] { ReportSelection(); });
    m_bCreated = true;
    InitialiseOnce();
    ApplySkins();
    SetFullRowSelect(GetTreeFullRowSelect());
    LayoutControls();
    return true;
}

void CTarvolanDialog::ApplySkins()
{
    SendSkinRequest(WindowHandle(this), "main.skn", "window_frm");
}

void CTarvolanDialog::PrepareStartUp() {}

void CTarvolanDialog::CleanUpShutDown() {}

void CTarvolanDialog::ReportSelection()
{
    if (!m_pTree) return;
    QTreeWidgetItem* item = m_pTree->currentItem();
    const int kind = ItemKind(item);
    if (kind == ITEM_NONE) return;
    CString memberURI;
    TMemberProfile* profile = nullptr;
    DescribeMemberItem(item, memberURI, profile);
    TSelectionReport report{reinterpret_cast<Word>(memberURI.c_str()), kind, reinterpret_cast<Word>(profile)};
    SendToHost(M_SelectionReport, &report);
}

void CTarvolanDialog::MoveWindowTo(int x, int y, int width, int height)
{
    setGeometry(x, y, std::max(width, 0), std::max(height, 0));
}

void CTarvolanDialog::resizeEvent(QResizeEvent* event)
{
    CDialog::resizeEvent(event);
    LayoutControls();
}

// Buttons of 25 x 25 in a row at the top left, 3 pixels in and 26 apart (a
// missing button leaves no gap); the tree below them, 28 pixels from the top.
void CTarvolanDialog::LayoutControls()
{
    if (!m_bCreated) return;
    int x = 3;
    for (int id : kButtonIds) {
        if (QWidget* button = GetDlgItem(id)) {
            button->setGeometry(x, 3, 25, 25);
            x += 26;
        }
    }
    m_pTree->setGeometry(0, 28, std::max(width() - 8, 0), std::max(height() - 32, 0));
}

void CTarvolanDialog::SetFullRowSelect(int value)
{
    if (m_pTree) m_pTree->SetFullRowSelect(value != 0);
}

void CTarvolanDialog::OnHostSignedIn()
{
    ApplySkins();
    for (size_t i = 0; i < std::size(kButtonIds); ++i) {
        if (QWidget* button = GetDlgItem(kButtonIds[i])) SendSkinRequest(WindowHandle(button), "main.skn", kButtonSkins[i]);
    }
    SetTimer(kTimerReplay, kReplayPeriodMs);
}

void CTarvolanDialog::OnTimer(int id)
{
    KillTimer(id);
}

bool CTarvolanDialog::OnCommand(int id, intptr_t lParam)
{
    return CDialog::OnCommand(id, lParam);
}
