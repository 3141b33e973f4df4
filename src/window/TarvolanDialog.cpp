// The main window's frame: creation, start-up and shut-down, layout, timers,
// skins and the selection report.
#include "window/TarvolanDialog.h"

#include <algorithm>

#include <QResizeEvent>
#include <QSignalBlocker>
#include <QToolTip>

#include "clientkit/ClientKit.h"
#include "controls/ModuleContext.h"
#include "controls/SignedInUser.h"
#include "controls/TreeCtrlEx.h"
#include "window/TreeItemData.h"
#include "protocol/HostLink.h"
#include "platform/Ini.h"
#include "platform/Resources.h"
#include "res/ModuleResources.h"
#include "ui_CTarvolanDialog.h"

namespace tarvolan {

namespace {
constexpr int kButtonIds[] = {1006, 1004, 1005};
constexpr const char* kButtonSkins[] = {"radio_add", "radio_del", "radio_edit"};
constexpr int kReplayPeriodMs = 30000;
} // namespace

CTarvolanDialog::CTarvolanDialog(CModuleContext& context)
    : CDialog(nullptr), m_context(context), m_link(context.Link()), m_GroupData(WriteLog)
{
    m_GroupData.TreeModel().SetListener(this);
    m_Changes.Subscribe(this);  // the tree first, then the conversation windows
    m_Changes.Subscribe(&m_ChatWindows);
}

CTarvolanDialog::~CTarvolanDialog()
{
    // The tree goes with the window, after this part of it: it must not call
    // back into a window that is being destroyed, nor the model into it.
    if (m_pTree) {
        m_pTree->viewport()->removeEventFilter(this);
        m_pTree->disconnect(this);
        m_pTree->clear();  // the items show the images of m_images
    }
    m_GroupData.TreeModel().SetListener(nullptr);
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
    m_pTree->setExpandsOnDoubleClick(false);  // a double-click neither expands nor collapses
    m_pTree->setUniformRowHeights(true);
    connect(m_pTree, &QTreeWidget::currentItemChanged, this, [this] { ReportSelection(); });
    // An assistive technology selects an item without making it current:
    // the commands act on the one it selected.
    connect(m_pTree, &QTreeWidget::itemSelectionChanged, this, [this] {
        const QList<QTreeWidgetItem*> selected = m_pTree->selectedItems();
        if (selected.size() == 1 && selected.front() != m_pTree->currentItem()) m_pTree->setCurrentItem(selected.front());
    });
    connect(m_pTree, &CTreeCtrlEx::leftClicked, this, [this](QTreeWidgetItem* item) { OnTreeClick(item); });
    connect(m_pTree, &CTreeCtrlEx::rightClicked, this,
            [this](QTreeWidgetItem* item, QPoint pos) { OnTreeRightClick(item, pos); });
    connect(m_pTree, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) { OnItemExpansion(item, true); });
    connect(m_pTree, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* item) { OnItemExpansion(item, false); });
    m_pTree->viewport()->installEventFilter(this);
    m_pTree->viewport()->setMouseTracking(true);
    ConnectTreeEnter();
    m_bCreated = true;
    InitialiseOnce();
    ApplySkins();
    SetFullRowSelect(GetTreeFullRowSelect());
    LayoutControls();
    m_pTree->setFocus();  // the keys move through the groups first
    return true;
}

void CTarvolanDialog::ApplySkins()
{
    Link().RequestSkin(WindowHandle(this), "main.skn", "window_frm");
}

void CTarvolanDialog::LoadImages()
{
    if (!m_images.empty()) return;
    // One icon per image, shared by every item; each holds the 1x and 2x art.
    const QList<QIcon> icons = LoadImageIcons(IDB_TREE_IMAGES, kTreeImageSize);
    m_images.assign(icons.begin(), icons.end());
    m_pTree->setIconSize(QSize(kTreeImageSize, kTreeImageSize));
}

// Quietly, for an item in the tree: see ShowItemImage. The item shows the
// image of that index in m_images as its icon (CGroupTreeItem).
void CTarvolanDialog::SetItemImage(QTreeWidgetItem* item, int index) const
{
    if (item->type() == CGroupTreeItem::kType) {
        if (!static_cast<CGroupTreeItem*>(item)->SetImageQuietly(index)) return;
    } else {
        if (ItemImage(item) == index) return;
        const QSignalBlocker quiet(m_pTree->model());
        item->setData(0, kItemImageRole, index);
    }
    if (item->treeWidget()) RepaintTree();
}

void CTarvolanDialog::RepaintTree() const
{
    if (m_nRepaintsHeld > 0) m_bRepaintWanted = true;
    else m_pTree->RepaintView();
}

int CTarvolanDialog::ItemImage(const QTreeWidgetItem* item)
{
    const QVariant value = item ? item->data(0, kItemImageRole) : QVariant();
    return value.isValid() ? value.toInt() : -1;
}

void CTarvolanDialog::PrepareStartUp()
{
    if (!m_bCreated) return;
    m_bToolTips = true;
    m_csToolTip = LoadResString(IDS_TOOLTIP_GROUPS);
    LoadImages();
    ClearTrsPubGroupReqMessageTempList();
    m_GroupData.EmptyPendingLists();
    CreateRoots();
    const CString ini = CString(GetAppPath()) + "Velora.ini";
    m_bTestMode = GetPrivateProfileInt("Test", "test", 0, ini) != 0;
    m_pTree->show();
}

void CTarvolanDialog::CleanUpShutDown()
{
    m_bToolTips = false;
    m_csToolTip.Empty();
    if (m_pTree) {
        m_pTree->clear();
        m_pTree->hide();
    }
    m_hRootTop = m_hRootOwned = m_hRootJoined = m_hRootBasic = m_hRootMutual = nullptr;
    m_GroupItems.clear();
    m_MemberItems.clear();
    m_ChatWindows.CloseAll();  // while their groups exist
    m_GroupData.TreeModel().Clear();
    ClearTrsPubGroupReqMessageTempList();
    m_GroupData.EmptyPendingLists();
    m_OpenWindows.CloseAll();
}

void CTarvolanDialog::WriteClientLog(const char* text, int level)
{
    WriteLog(text, level);
}

CString CTarvolanDialog::MyURI() const
{
    return SignedInURI();
}

CGroupBlacklistWindow* CTarvolanDialog::BlacklistWindow() const
{
    return m_OpenWindows.Find<CGroupBlacklistWindow>();
}

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
    Link().Send(M_SelectionReport, &report);
}

// The host's numbers are kept within Qt's largest window size, so that Qt's
// right and bottom edges (x + width - 1) cannot overflow.
void CTarvolanDialog::MoveWindowTo(int x, int y, int width, int height)
{
    constexpr int kLimit = QWIDGETSIZE_MAX;
    setGeometry(std::clamp(x, -kLimit, kLimit), std::clamp(y, -kLimit, kLimit), std::clamp(width, 0, kLimit),
                std::clamp(height, 0, kLimit));
    LayoutControls();  // a hidden window gets its resize event only when shown
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
        if (QWidget* button = GetDlgItem(kButtonIds[i])) Link().RequestSkin(WindowHandle(button), "main.skn", kButtonSkins[i]);
    }
    SetTimer(kTimerReplay, kReplayPeriodMs);
}

// Timers and commands reach the window from the event loop, not through
// the module object: they make the module's resources current themselves.
void CTarvolanDialog::OnTimer(int id)
{
    CResourceSwitch resources(m_context.Resources());
    switch (id) {
    case kTimerReplay:
        KillTimer(id);
        ReplayParkedRequests();
        break;
    case kTimerRecentNames:
        KillTimer(id);
        m_GroupData.RecentListNames().RemoveAll();
        break;
    default:
        break;  // 9002 only runs while creations are pending; it has no action
    }
}

bool CTarvolanDialog::OnCommand(int id, intptr_t lParam)
{
    CResourceSwitch resources(m_context.Resources());
    if (id == kDeferredNoticeCommand) {
        ShowDeferredNotice();
        return true;
    }
    if (m_GroupCommands.Run(id)) return true;
    return CDialog::OnCommand(id, lParam);
}

} // namespace tarvolan
