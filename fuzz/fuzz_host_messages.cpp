// fuzz_host_messages: libFuzzer target that plays fuzzer bytes to the group
// module as a hostile host would.
//
// Build (a separate build folder, clang 14, ASan + UBSan + libFuzzer):
//   CC=clang-14 CXX=clang++-14 cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
//       -DTARVOLAN_FUZZ=ON -DTARVOLAN_TESTS=OFF -DTARVOLAN_BENCH=OFF
//   cmake --build build-fuzz -j2 --target fuzz_host_messages
// Run (the corpus folder is changed by the run: work on a copy):
//   cp -r fuzz/corpus /tmp/corpus
//   LSAN_OPTIONS=suppressions=scripts/lsan.supp \
//       build-fuzz/bin/fuzz_host_messages /tmp/corpus -max_total_time=120 -detect_leaks=0
// -detect_leaks=0 leaves the leak check to the end of the run: a check after
// every input that grows Qt's caches costs more than the input. scripts/
// run-sanitized.sh runs it this way (two minutes) in CI.
// Replay one input (a crash file or a corpus entry):
//   build-fuzz/bin/fuzz_host_messages -detect_leaks=0 crash-<sha1>
// Print what an input does (messages, records, prompts, clicks):
//   TARVOLAN_FUZZ_TRACE=1 build-fuzz/bin/fuzz_host_messages -detect_leaks=0 <file>
// The hand-made seeds of fuzz/corpus are written by fuzz/make_seeds.py; the
// regress-* entries are inputs that once found a fault; each fault of the
// module has a test in tests/module/FuzzRegressionTests.cpp.
//
// One QApplication (offscreen) is created once, the module is loaded once
// from the static module library with a recording host and initialised.
// Each input is a header and a sequence of operations: host messages (every
// code of the protocol, unknown codes, null records; records with valid
// pointers and hostile contents, see FuzzRecords.h), timers, clicks in the
// group tree, the main window's buttons, the host's commands to the group
// window (search groups, blacklist, ...), buttons, controls and list rows of
// the module's modeless windows, posted events, client state changes and the
// module's life-cycle calls. Prompts are answered from the input
// (FuzzDriver.h); while one is open, host messages and timers (the modal
// window's own among them) arrive.
// Every input starts from an empty module (see EmptyModule), so
// that an input replays alone as it ran in the fuzzing run; should one not,
// TARVOLAN_FUZZ_FRESH=1 loads the module again for every input.
// TARVOLAN_FUZZ_CHECK_RESET=1 checks that emptying is complete: every input
// is played on the module the inputs before it used and then twice on fresh
// modules, and the calls to the host and the prompts must be the same (an
// input whose two fresh runs differ already is counted as unsteady, not
// compared); =count counts the differences instead of stopping at the first.
// CI replays the hand-made seeds this way.
#include <unistd.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTimer>
#include <QTreeWidgetItemIterator>

#include "FuzzDriver.h"
#include "FuzzInput.h"
#include "FuzzRecords.h"
#include "clientkit/ClientKit.h"
#include "controls/TreeCtrlEx.h"
#include "conversation/EmoticonGrid.h"
#include "window/TarvolanDialog.h"
#include "module/TarvolanModule.h"
#include "platform/Resources.h"
#include "platform/Window.h"
#include "res/ModuleResources.h"
#include "support/FakeHost.h"

using namespace tarvolan;
using namespace fuzzing;

namespace {

// Operations per input (nested ones not counted).
constexpr int kMaxOperations = 96;

bool g_trace = false;

void Trace(const char* format, ...) __attribute__((format(printf, 1, 2)));
void Trace(const char* format, ...)
{
    if (!g_trace) return;
    va_list args;
    va_start(args, format);
    std::vfprintf(stderr, format, args);
    va_end(args);
    std::fputc('\n', stderr);
}

// The recording host, which also reads what the module's records point to:
// the profile record of a selection report and the block of a history request.
class CRecordingHost : public testing_support::CFakeHost {
public:
    int OnMessage(int senderType, int code, void* record) override
    {
        const int result = CFakeHost::OnMessage(senderType, code, record);
        const auto* words = static_cast<const Word*>(record);
        if (code == M_SelectionReport && words) TouchProfile(reinterpret_cast<const TMemberProfile*>(words[2]));
        if (code == M_HistoryRequest && words && words[1]) {
            THistoryRequest copy;
            std::memcpy(&copy, reinterpret_cast<const void*>(words[1]), sizeof(copy));
        }
        return result;
    }
};

struct TSession {
    CRecordingHost host;
    CRecordingHost host2;
    CFuzzUiDriver driver;
    QWidget* parent = nullptr;
    std::string clientDir;
    CModuleBase* module = nullptr;
    int inputsSinceLoad = 0;
    QRect windowGeometry;  // the group window's as loaded
    bool fresh = false;  // load the module again for every input
    bool checkReset = false;  // every input again on fresh modules (TARVOLAN_FUZZ_CHECK_RESET)
    bool countOnly = false;   // TARVOLAN_FUZZ_CHECK_RESET=count: count differences, do not stop
    int checked = 0, unsteady = 0, different = 0;
};

TSession* g_session = nullptr;

// The loaded module's main window; null while there is none.
CTarvolanDialog* MainWindow()
{
    CTarvolanModule* module = CTarvolanModule::Instance();
    return module ? module->MainWindow() : nullptr;
}

void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "Qt fatal: %s\n", message.toLocal8Bit().constData());
        std::abort();
    }
    if (g_trace) std::fprintf(stderr, "Qt: %s\n", message.toLocal8Bit().constData());
}

// A client folder of the harness's own: the project's pictures and skins by
// link, its own ini, a client log that goes nowhere and a folder for files
// saved from a conversation.
std::string MakeClientFolder()
{
    namespace fs = std::filesystem;
    char pattern[] = "/tmp/tarvolan-fuzz-XXXXXX";
    if (!mkdtemp(pattern)) std::abort();
    const fs::path folder(pattern);
    const fs::path assets = fs::path(TARVOLAN_SOURCE_DIR) / "assets";
    std::error_code error;
    for (const char* name : {"emote", "skins", "world"})
        if (fs::exists(assets / name)) fs::create_directory_symlink(assets / name, folder / name, error);
    fs::create_symlink("/dev/null", folder / "Velora.log", error);
    fs::create_directory(folder / "saved", error);
    std::ofstream(folder / "Velora.ini") << "[Test]\ntest=0\n";
    return folder.string() + "/";
}

void PrintResetCheck()
{
    if (!g_session || !g_session->checkReset) return;
    std::fprintf(stderr, "reset check: %d inputs, %d unsteady on fresh modules, %d ran differently after others\n",
                 g_session->checked, g_session->unsteady, g_session->different);
}

void RemoveClientFolder()
{
    PrintResetCheck();
    if (g_session && !g_session->clientDir.empty()) {
        std::error_code error;
        std::filesystem::remove_all(g_session->clientDir, error);  // links are removed, not followed
    }
}

// The shared client state an input starts from; the header byte varies it.
void SetClientState(uint8_t header)
{
    clientkit::Reset();
    clientkit::SetAppPath(g_session->clientDir.c_str());
    clientkit::TIdentity me;
    me.displayName = "Me";
    me.requestId = kFuzzMyRequestId;
    me.uri = kFuzzMe;
    me.domain = "ims.test";
    me.domains = {"ims.test", "groups.test"};
    clientkit::SetIdentity(me);
    clientkit::SetIMSDomain("ims.test");
    clientkit::SetRoster({{"sip:m1@ims.test", "\xd5\xc5\xc8\xfd", "13800000001"}, {"sip:m2@ims.test", "m2", ""}});
    clientkit::SetBannedWords({"bad", "\xc8\xba"});
    clientkit::SetSignInState((header & 0x01) ? 0 : 1, (header & 0x01) ? 1 : 0, 0);
    clientkit::SetCreateRight((header & 0x02) ? 0 : 1);
    clientkit::SetEdition(0, 0, 0, (header & 0x04) ? 6 : 0);
    clientkit::SetUserSettings((header & 0x08) ? 0 : 1, "me");
    clientkit::SetStatus((header & 0x10) ? STATUS_OFFLINE : STATUS_ONLINE);
    clientkit::SetTreeFullRowSelect((header & 0x20) ? 1 : 0);
}

// Unloads the module (if loaded) and loads and initialises it again.
void LoadModule()
{
    if (g_session->module) CTarvolanModule::DestroyInstance();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    g_session->host.Clear();
    g_session->host2.Clear();
    g_session->module = LoadTarvolanModule(&g_session->host, &g_session->host2, g_session->parent);
    if (!g_session->module) std::abort();
    g_session->module->Init();
    g_session->inputsSinceLoad = 0;
    if (MainWindow()) g_session->windowGeometry = MainWindow()->geometry();
    // What loading sent (the skin request of the new window) belongs to no input.
    g_session->host.Clear();
    g_session->host2.Clear();
}

// After each input: empties the main window's group data, pending lists,
// timers and child windows and prepares it as Init does, so that the next
// input meets the state of a freshly loaded module, and whatever the input
// made the module allocate is freed (the leak check of libFuzzer sees a
// balance). Loading again for every input would cost several times the input
// itself; every kLoadPeriod inputs (and after UnInit, and for every input
// with TARVOLAN_FUZZ_FRESH set) the module is loaded again.
constexpr int kLoadPeriod = 128;

// What Qt keeps in the group window between inputs and a new window would
// not have: the place and size the host gave it (where a click lands in the
// tree depends on them), the focus inside it and the tree's scrolling.
void RestoreView(CTarvolanDialog& dialog)
{
    const QRect& loaded = g_session->windowGeometry;
    dialog.MoveWindowTo(loaded.x(), loaded.y(), loaded.width(), loaded.height());
    if (QWidget* focus = dialog.focusWidget()) focus->clearFocus();
    if (QTreeWidget* tree = dialog.Tree()) {
        tree->horizontalScrollBar()->setValue(0);
        tree->verticalScrollBar()->setValue(0);
    }
}

void EmptyModule()
{
    if (g_session->fresh || ++g_session->inputsSinceLoad >= kLoadPeriod || g_session->module->IsClosing() ||
        !MainWindow()) {
        LoadModule();
        return;
    }
    CTarvolanDialog& dialog = *MainWindow();
    dialog.CleanUpShutDown();
    dialog.Data().GroupList().Clear();
    dialog.Data().GroupTable().Clear();
    dialog.Data().RecentListNames().RemoveAll();
    dialog.Data().InfoRequestedGroups().RemoveAll();
    dialog.Data().SubscribedGroups().RemoveAll();
    dialog.m_nShowFlag = 1;
    dialog.m_nKindRootsFlag = 0;
    for (int id : {CTarvolanDialog::kTimerReplay, CTarvolanDialog::kTimerPendingCreate, CTarvolanDialog::kTimerRecentNames})
        dialog.KillTimer(id);
    dialog.hide();
    RestoreView(dialog);
    g_session->module->Init();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// ---- operations ------------------------------------------------------------------

void SendHostMessage(CFuzzInput& in)
{
    const int code = ChooseCode(in);
    const int senderType = in.Pick(8) == 0 ? in.Number() : 0;
    CHostRecord record(code, in);
    if (g_trace) Trace("message %d [%s]", code, record.Describe().c_str());
    g_session->module->OnMessage(senderType, code, record.Get());
    record.CheckAnswers();
}

void FireMainTimer(CFuzzInput& in)
{
    constexpr int kIds[] = {CTarvolanDialog::kTimerReplay, CTarvolanDialog::kTimerPendingCreate,
                            CTarvolanDialog::kTimerRecentNames, 0, 1, 2};
    const int choice = in.Pick(8);
    const int id = choice < 6 ? kIds[choice] : in.Number();
    Trace("main timer %d", id);
    if (MainWindow()) MainWindow()->OnTimer(id);
}

// Puts windows in an order that does not change from run to run (by class,
// then by caption, then by place: windows of one kind open cascaded):
// QApplication::allWidgets lists them by their addresses, so that an input
// choosing the second window would choose another one when replayed.
template <class TWidget> void PutInFixedOrder(std::vector<TWidget*>& windows)
{
    const auto key = [](const QWidget* w) {
        return std::make_tuple(std::string_view(w->metaObject()->className()), w->windowTitle(), w->x(), w->y());
    };
    std::stable_sort(windows.begin(), windows.end(), [&](const QWidget* a, const QWidget* b) { return key(a) < key(b); });
}

// Fires one running timer of any of the module's windows.
void FireRunningTimer(CFuzzInput& in)
{
    constexpr int kIds[] = {0, 1, 2, 3, 1001, 9002, 9051};
    std::vector<QWidget*> windows;
    for (QWidget* widget : QApplication::allWidgets())
        if (dynamic_cast<CWindowTimers*>(widget)) windows.push_back(widget);
    PutInFixedOrder(windows);
    std::vector<std::pair<CWindowTimers*, int>> running;
    for (QWidget* window : windows) {
        auto* timers = dynamic_cast<CWindowTimers*>(window);
        for (int id : kIds)
            if (timers->IsTimerRunning(id)) running.emplace_back(timers, id);
    }
    if (running.empty()) return;
    const auto& [timers, id] = running[static_cast<size_t>(in.Pick(static_cast<int>(running.size())))];
    Trace("timer %d of %p", id, static_cast<void*>(timers));
    timers->OnTimer(id);
}

// An item of the group tree, or null (a click on empty space).
QTreeWidgetItem* ChooseTreeItem(CFuzzInput& in)
{
    if (!MainWindow() || !MainWindow()->Tree()) return nullptr;
    constexpr size_t kChoices = 254;  // the first items in tree order
    std::vector<QTreeWidgetItem*> items;
    for (QTreeWidgetItemIterator it(MainWindow()->Tree()); *it && items.size() < kChoices; ++it)
        items.push_back(*it);
    const int choice = in.Pick(static_cast<int>(items.size()) + 1);
    return choice < static_cast<int>(items.size()) ? items[static_cast<size_t>(choice)] : nullptr;
}

void UseTree(CFuzzInput& in)
{
    const int action = in.Pick(4);
    QTreeWidgetItem* item = ChooseTreeItem(in);
    if (!MainWindow()) return;
    Trace("tree action %d on %p", action, static_cast<void*>(item));
    switch (action) {
    case 0: MainWindow()->OnTreeClick(item); break;
    case 1: MainWindow()->OnTreeRightClick(item, QPoint(10, 10)); break;
    case 2: MainWindow()->Tree()->setCurrentItem(item); break;
    default:
        if (item) item->setExpanded(!item->isExpanded());
        break;
    }
}

// A mouse event or a tooltip request on the tree, where the input puts it.
void MouseOnTree(CFuzzInput& in)
{
    if (!MainWindow() || !MainWindow()->Tree()) return;
    QWidget* viewport = MainWindow()->Tree()->viewport();
    const QPointF pos(in.Pick(256), in.Pick(256) * 2);
    const QPointF global = viewport->mapToGlobal(pos);
    const Qt::MouseButton button = in.Flag() ? Qt::RightButton : Qt::LeftButton;
    const int kind = in.Pick(5);
    Trace("mouse %d button %d at %d,%d", kind, static_cast<int>(button), static_cast<int>(pos.x()),
          static_cast<int>(pos.y()));
    if (kind == 4) {
        QHelpEvent help(QEvent::ToolTip, pos.toPoint(), global.toPoint());
        QCoreApplication::sendEvent(viewport, &help);
        return;
    }
    constexpr QEvent::Type kTypes[] = {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseMove,
                                       QEvent::MouseButtonDblClick};
    const QEvent::Type type = kTypes[kind];
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, pos, global, type == QEvent::MouseMove ? Qt::NoButton : button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &event);
}

// A command the host sends to the group window, as its own menu does
// (search groups, the selected group's blacklist or conversation) or as the
// tree's menu would, or a command the window does not know.
void SendGroupCommand(CFuzzInput& in)
{
    constexpr int kCommands[] = {IDM_SEARCH_GROUPS, IDM_BLACKLIST,    IDM_GROUP_CHAT,     IDM_SEARCH_GROUPS,
                                 IDM_BLACKLIST,     IDM_CREATE_GROUP, IDM_EDIT_GROUP,     IDM_GROUP_PROPERTIES,
                                 IDM_DELETE_GROUP,  IDM_LEAVE_GROUP,  IDM_INVITE,         IDM_REMOVE_MEMBER,
                                 IDM_CHANGE_MY_NAME, IDM_TRANSFER_GROUP, IDM_INSTANT_MESSAGE, IDM_CHAT_ROOM};
    constexpr int kChoices = static_cast<int>(std::size(kCommands));
    const int choice = in.Pick(kChoices + 1);
    const int id = choice < kChoices ? kCommands[choice] : in.Number();
    Trace("group command %d", id);
    if (MainWindow()) SendCommand(MainWindow(), id);
}

void PressMainButton(CFuzzInput& in)
{
    constexpr int kButtons[] = {1006, 1004, 1005};
    const int id = kButtons[in.Pick(3)];
    Trace("main button %d", id);
    if (MainWindow()) MainWindow()->PressButton(id);
}

// Asks a control for its context menu, if it has one, in one of the three
// ways a user can: the menu key, the mouse's context-menu event and the right
// button's release (the rich editors open their menu on the release). The
// position's low bits choose the way, so the input needs no more bytes.
void AskForContextMenu(QWidget* control, CFuzzInput& in)
{
    auto* area = qobject_cast<QAbstractScrollArea*>(control);
    QWidget* target = area ? area->viewport() : control;
    const QPoint pos(in.Pick(64), in.Pick(64));
    const QPoint global = target->mapToGlobal(pos);
    const int way = pos.x() % 3;
    Trace("context menu way %d", way);
    if (way == 2) {
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(pos), QPointF(global), Qt::RightButton, Qt::NoButton,
                            Qt::NoModifier);
        QCoreApplication::sendEvent(target, &release);
        return;
    }
    QContextMenuEvent event(way == 0 ? QContextMenuEvent::Mouse : QContextMenuEvent::Keyboard, pos, global);
    QCoreApplication::sendEvent(target, &event);
}

// A click or a double click on a row of a list or tree control, as the user
// chooses a found group or an entry.
void ClickRowOf(QAbstractItemView* view, CFuzzInput& in)
{
    const bool twice = in.Flag();
    const int row = PickRow(view, in);
    Trace("row %d, %s", row, twice ? "double click" : "click");
    ClickRow(view, row, twice);
}

// A button (or a row of a list: the second kind of press), a control value
// or closing, on one of the module's other windows.
void UseOtherWindow(CFuzzInput& in)
{
    std::vector<CDialog*> windows;
    for (QWidget* widget : QApplication::allWidgets()) {
        auto* dialog = qobject_cast<CDialog*>(widget);
        if (dialog && dialog != MainWindow() && !dialog->IsModalRunning()) windows.push_back(dialog);
    }
    if (windows.empty()) return;
    PutInFixedOrder(windows);
    CDialog* window = windows[static_cast<size_t>(in.Pick(static_cast<int>(windows.size())))];
    std::vector<QWidget*> controls;
    for (QWidget* child : window->findChildren<QWidget*>())
        if (ControlId(child) != 0) controls.push_back(child);
    const int action = in.Pick(5);
    Trace("window %s action %d", window->metaObject()->className(), action);
    if (action == 4 || controls.empty()) {
        window->close();
        return;
    }
    QWidget* control = controls[static_cast<size_t>(in.Pick(static_cast<int>(controls.size())))];
    Trace("control %d (%s %p) of %p", ControlId(control), control->metaObject()->className(), static_cast<void*>(control),
          static_cast<void*>(window));
    if (action == 2) {
        const std::string text = in.TypedText();
        if (g_trace) Trace("typed %s", DescribeText(text).c_str());
        SetControlText(control, CString(text));
    } else if (action == 3) {
        AskForContextMenu(control, in);
    } else if (auto* view = qobject_cast<QAbstractItemView*>(control); view && action == 1) {
        ClickRowOf(view, in);  // the first kind stays a plain press (lists ignore it), as earlier inputs had it
    } else {
        window->PressButton(ControlId(control));
    }
}

// Answers a popup that runs its own event loop (a picker of the chat window,
// not a menu of the UI driver): while a UI operation runs, a zero timer fires
// inside such a loop and clicks one of the popup's buttons or closes it.
class CPopupAnswerer {
public:
    explicit CPopupAnswerer(CFuzzInput& in) : m_in(in)
    {
        m_timer.setInterval(0);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Answer(); });
        m_timer.start();
    }

private:
    void Answer()
    {
        if (CEmoticonGrid* grid = OpenGrid()) {
            // The picker's grid is a window of its own, not a Qt popup: a cell
            // is picked as Enter on it picks it.
            const int choice = m_in.Pick(std::min(grid->ItemCount(), 254) + 1);
            Trace("popup %s answer %d", grid->metaObject()->className(), choice);
            if (choice < grid->ItemCount()) emit grid->picked(choice);
            else grid->close();
            return;
        }
        QWidget* popup = QApplication::activePopupWidget();
        if (!popup) return;
        const QList<QAbstractButton*> buttons = popup->findChildren<QAbstractButton*>();
        const int choice = m_in.Pick(static_cast<int>(std::min<qsizetype>(buttons.size(), 254)) + 1);
        Trace("popup %s answer %d", popup->metaObject()->className(), choice);
        if (choice < buttons.size()) buttons[choice]->click();
        else popup->close();
    }

    static CEmoticonGrid* OpenGrid()
    {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* grid = qobject_cast<CEmoticonGrid*>(window); grid && grid->isVisible()) return grid;
        return nullptr;
    }

    CFuzzInput& m_in;
    QTimer m_timer;
};

void DeliverPostedEvents()
{
    Trace("posted events");
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void ChangeClientState(CFuzzInput& in)
{
    const int action = in.Pick(4);
    Trace("client state %d", action);
    switch (action) {
    case 0: clientkit::SetStatus(static_cast<Status_Type>(in.Pick(11)), in.Text().c_str()); break;
    case 1: clientkit::SetSignInState(in.Pick(2), in.Pick(2), in.Pick(2)); break;
    case 2: clientkit::SetCreateRight(in.Pick(2)); break;
    default: clientkit::SetUserSettings(in.Pick(2), "me"); break;
    }
}

void CallModule(CFuzzInput& in)
{
    const int action = in.Pick(4);
    Trace("module call %d", action);
    switch (action) {
    case 0: g_session->module->Init(); break;
    case 1: g_session->module->UnInit(); break;
    default: g_session->module->CloseMessageBoxes(); break;
    }
}

void RunOperation(CFuzzInput& in, int depth)
{
    if (depth > 0) {  // while a prompt is open: host messages and timers
        const int choice = in.Pick(8);
        if (choice == 7) FireRunningTimer(in);  // any window's, the modal one's included
        else if (choice == 3) FireMainTimer(in);
        else SendHostMessage(in);
        return;
    }
    const int op = in.Pick(32);
    if (op < 16) SendHostMessage(in);
    else if (op < 18) FireMainTimer(in);
    else if (op < 19) FireRunningTimer(in);
    else if (op < 22) UseTree(in);
    else if (op < 28) {
        const CPopupAnswerer popups(in);
        if (op < 24) MouseOnTree(in);
        else if (op < 25) PressMainButton(in);
        else UseOtherWindow(in);
    }
    else if (op < 29) DeliverPostedEvents();
    else if (op < 30) ChangeClientState(in);
    else if (op < 31) CallModule(in);
    else {
        const CPopupAnswerer popups(in);
        SendGroupCommand(in);
    }
}

// Host messages delivered while a prompt is open.
void WhilePromptOpen(CFuzzInput& in)
{
    const int count = 1 + in.Pick(3);
    for (int i = 0; i < count && !in.Empty(); ++i) RunOperation(in, 1);
}

std::string PlayInput(const uint8_t* data, size_t size, bool transcript);

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    g_trace = std::getenv("TARVOLAN_FUZZ_TRACE") != nullptr;
    qInstallMessageHandler(QuietQtMessages);
    static int argc = 1;
    static char name[] = "fuzz_host_messages";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);  // lives for the process
    g_session = new TSession;
    g_session->fresh = std::getenv("TARVOLAN_FUZZ_FRESH") != nullptr;
    const char* check = std::getenv("TARVOLAN_FUZZ_CHECK_RESET");
    g_session->checkReset = check != nullptr;
    g_session->countOnly = check && std::strcmp(check, "count") == 0;
    // A visible parent, so that the group window paints once the host shows it.
    g_session->parent = new QWidget;
    g_session->parent->resize(400, 600);
    g_session->parent->show();
    g_session->clientDir = MakeClientFolder();
    g_session->driver.SetSaveFolder(g_session->clientDir + "saved/");
    std::atexit(RemoveClientFolder);
    SetUiDriver(&g_session->driver);
    if (g_trace) {
        g_session->driver.onPrompt = [](const TPrompt& prompt) {
            Trace("prompt %s \"%s\" answer %d", prompt.kind.c_str(), GbkToUtf8(prompt.text.view()).c_str(),
                  prompt.answer);
        };
    }
    SetClientState(0);
    LoadModule();
    // The first window of the process meets Qt before its lazy set-up (fonts,
    // style) is done: an empty input and a second load leave the module as
    // every later load finds it.
    PlayInput(nullptr, 0, false);
    LoadModule();
    return 0;
}

namespace {

// Clock times of today in a transcript ("10 Dec 2026 11:53:44") lose their
// time of day: the module stamps messages it sends with the clock, and two
// runs of an input may fall in different seconds.
void MaskClockTimes(std::string& text)
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char today[16];
    const size_t length = std::strftime(today, sizeof(today), "%d %b %Y ", &local);
    constexpr size_t kTimeOfDay = 8;  // hh:mm:ss
    for (size_t at = text.find(today, 0, length); at != std::string::npos; at = text.find(today, at, length)) {
        at += length;
        text.replace(at, std::min(kTimeOfDay, text.size() - at), "hh:mm:ss");
    }
}

// What the host and the user saw of an input: every call of the module to
// either host with its texts, numbers and blocks, the relayed records and
// every prompt. Two runs of an input that the module treats alike give the
// same transcript.
std::string Transcript()
{
    std::string out;
    for (const CRecordingHost* host : {&g_session->host, &g_session->host2}) {
        for (const testing_support::TSent& sent : host->sent) {
            out += "call " + std::to_string(sent.senderType) + " " + std::to_string(sent.code);
            for (const std::string& text : sent.texts) out += " \"" + DescribeText(text, 200) + "\"";
            // A skin request's window handle differs between two windows.
            const bool handle = sent.code == M_SkinRequest;
            for (long value : sent.ints) out += handle ? " handle" : " " + std::to_string(value);
            for (const void* pointer : sent.ptrs) out += pointer ? " ptr" : " null";
            if (!sent.block.empty()) out += " block " + DescribeText(sent.block, sent.block.size());
            out += "\n";
        }
        out += "relayed " + std::to_string(host->relayed4.size()) + " " + std::to_string(host->relayed3.size());
        for (const std::string& text : host->relayedTexts) out += " \"" + DescribeText(text, 200) + "\"";
        out += "\n";
    }
    for (const TPrompt& prompt : g_session->driver.Prompts())
        out += "prompt " + prompt.kind.str() + " \"" + DescribeText(prompt.text.str(), 200) + "\" \"" +
               DescribeText(prompt.caption.str(), 200) + "\" " + std::to_string(prompt.answer) + "\n";
    MaskClockTimes(out);
    return out;
}

// Plays one input on the module as it is and empties the module afterwards;
// returns the input's transcript when asked to.
std::string PlayInput(const uint8_t* data, size_t size, bool transcript)
{
    Trace("input of %zu bytes", size);
    CFuzzInput in(data, size);
    SetClientState(in.Byte());
    if (MainWindow()) {
        const uint8_t flags = in.Byte();
        MainWindow()->m_bTestMode = flags & 0x01;
        MainWindow()->m_nKindRootsFlag = (flags >> 1) & 0x01;
        MainWindow()->m_nReplayPauseMs = 0;  // the replay of parked requests runs no event loop
        // The tree's row selection is read from the client when the window is
        // created: the window as one created under this input's client state.
        MainWindow()->SetFullRowSelect(GetTreeFullRowSelect());
    }
    g_session->driver.Begin(&in, [&in] { WhilePromptOpen(in); });
    for (int i = 0; i < kMaxOperations && !in.Empty() && !g_session->module->IsClosing(); ++i) RunOperation(in, 0);
    DeliverPostedEvents();
    std::string out = transcript ? Transcript() : std::string();
    g_session->driver.End();
    EmptyModule();
    g_session->host.Clear();
    g_session->host2.Clear();
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (!g_session->checkReset) {
        PlayInput(data, size, false);
        return 0;
    }
    // The input on the module the inputs before it used, then twice on a
    // module loaded for it alone. Where the two fresh runs differ, Qt's own
    // process-wide state (focus, pointer, the first showing of a window)
    // decided something and the input proves nothing about the reset; it is
    // counted. Otherwise the kept module must have run it as a fresh one.
    const std::string kept = PlayInput(data, size, true);
    LoadModule();
    const std::string fresh = PlayInput(data, size, true);
    LoadModule();
    const std::string again = PlayInput(data, size, true);
    ++g_session->checked;
    if (fresh != again) {
        ++g_session->unsteady;
    } else if (kept != fresh && g_session->countOnly) {
        ++g_session->different;
    } else if (kept != fresh) {
        std::fprintf(stderr, "The input ran differently after the inputs before it than on a fresh module.\n"
                             "---- after earlier inputs\n%s---- on a fresh module\n%s", kept.c_str(), fresh.c_str());
        std::abort();
    }
    if (g_session->checked % 100 == 0 || g_trace) PrintResetCheck();
    return 0;
}
