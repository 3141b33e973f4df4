// The module object's life cycle and its routing of host messages.
#include <gtest/gtest.h>

#include "clientkit/ClientKit.h"
#include "controls/TreeCtrlEx.h"
#include "window/TarvolanDialog.h"
#include "window/TreeItemData.h"
#include "module/TarvolanModule.h"
#include "platform/Resources.h"
#include "scripted/ScriptedUiDriver.h"
#include "support/FakeHost.h"

using namespace tarvolan;
using testing_support::CFakeHost;

namespace {

class ModuleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        clientkit::Reset();
        SetUiDriver(&m_driver);
        m_previous = SetResourceBundle(&m_hostBundle);
        m_module = LoadTarvolanModule(&m_host, nullptr, &m_parent);
        ASSERT_NE(m_module, nullptr);
    }
    void TearDown() override
    {
        CTarvolanModule::DestroyInstance();
        SetResourceBundle(m_previous);
        SetUiDriver(nullptr);
    }

    int Send(int code, void* record) { return m_module->OnMessage(0, code, record); }
    static CTarvolanDialog* MainWindow() { return CTarvolanModule::Instance()->MainWindow(); }

    // Puts one root item into the tree and selects it, then forgets the
    // report that the selection itself caused.
    void SelectAnItem()
    {
        auto* item = new QTreeWidgetItem(QStringList{"root"});
        SetItemData(item, ITEM_TOP_ROOT, nullptr);
        MainWindow()->Tree()->addTopLevelItem(item);
        MainWindow()->Tree()->setCurrentItem(item);
        m_host.Clear();
    }

    CFakeHost m_host;
    QWidget m_parent;
    CScriptedUiDriver m_driver;
    CResourceBundle m_hostBundle{"host"};
    CResourceBundle* m_previous = nullptr;
    CModuleBase* m_module = nullptr;
};

TEST_F(ModuleTest, SecondLoadReturnsTheFirstObjectUnchanged)
{
    CFakeHost other;
    QWidget otherParent;
    EXPECT_EQ(LoadTarvolanModule(&other, &other, &otherParent), m_module);
    EXPECT_EQ(m_module->GetParentWnd(), &m_parent);
    m_module->Init();
    EXPECT_TRUE(other.sent.empty());
    EXPECT_FALSE(m_host.sent.empty());
}

TEST_F(ModuleTest, EverySendCarriesModuleType11)
{
    EXPECT_EQ(m_module->GetModuleType(), 11);
    EXPECT_EQ(m_module->TestFlag(0), 1);
    m_module->Init();
    Word signedIn = 0;
    Send(H_SignedIn, &signedIn);
    m_module->LogToHost("line", 1);
    ASSERT_FALSE(m_host.sent.empty());
    for (const auto& s : m_host.sent) EXPECT_EQ(s.senderType, 11) << "code " << s.code;
    EXPECT_EQ(m_host.LogLines().back(), "line");
}

TEST_F(ModuleTest, InitCreatesTheWindowHiddenAndSkinsIt)
{
    m_module->Init();
    ASSERT_NE(MainWindow(), nullptr);
    EXPECT_TRUE(MainWindow()->isHidden());
    EXPECT_EQ(MainWindow()->parentWidget(), &m_parent);
    auto skins = m_host.Of(M_SkinRequest);
    ASSERT_FALSE(skins.empty());
    EXPECT_EQ(skins[0].texts, (std::vector<std::string>{"main.skn", "window_frm"}));

    CTarvolanDialog* first = MainWindow();
    m_module->Init();  // a second Init only repeats the preparation
    EXPECT_EQ(MainWindow(), first);
}

TEST_F(ModuleTest, ShowCommandShowsHidesAndReportsOnlyWithASelection)
{
    m_module->Init();
    Word show = SW_SHOW, hide = SW_HIDE;
    EXPECT_EQ(Send(H_ShowWindow, nullptr), 0);
    EXPECT_TRUE(MainWindow()->isHidden());

    Send(H_ShowWindow, &show);
    EXPECT_FALSE(MainWindow()->isHidden());
    EXPECT_EQ(m_host.Count(M_SelectionReport), 0u);  // nothing selected

    SelectAnItem();
    Send(H_ShowWindow, &hide);
    EXPECT_TRUE(MainWindow()->isHidden());
    Send(H_ShowWindow, &show);
    auto reports = m_host.Of(M_SelectionReport);
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[0].texts[0], "");
    EXPECT_EQ(reports[0].ints[0], ITEM_TOP_ROOT);
    EXPECT_EQ(reports[0].ptrs[0], nullptr);
}

TEST_F(ModuleTest, NothingIsSentOrHandledAfterUnInit)
{
    m_module->Init();
    m_module->UnInit();
    EXPECT_EQ(MainWindow(), nullptr);
    EXPECT_TRUE(m_module->IsClosing());
    m_host.Clear();

    Word show = SW_SHOW;
    Send(H_ShowWindow, &show);
    Send(H_SignedIn, nullptr);
    m_module->LogToHost("late", 1);
    m_module->SendSkinRequest(1, "main.skn", "window_frm");
    m_module->RelayToHost4(8, 102, 0, 1);
    EXPECT_NE(m_module->SendToHost(M_Log, nullptr), 0);
    EXPECT_TRUE(m_host.sent.empty());
    EXPECT_TRUE(m_host.relayed4.empty());
}

TEST_F(ModuleTest, SkinRequestsGoToTheSecondaryHostOrElseThePrimary)
{
    m_module->SendSkinRequest(7, "chat.skn", "window_frm");
    ASSERT_EQ(m_host.Count(M_SkinRequest), 1u);
    EXPECT_EQ(m_host.Of(M_SkinRequest)[0].ints[0], 7);

    CFakeHost secondary;
    m_module->SetHost2(&secondary);
    m_module->SendSkinRequest(8, "chat.skn", "window_frm");
    EXPECT_EQ(m_host.Count(M_SkinRequest), 1u);
    ASSERT_EQ(secondary.Count(M_SkinRequest), 1u);
    EXPECT_EQ(secondary.sent[0].senderType, 11);
    m_module->SetHost2(nullptr);
}

TEST_F(ModuleTest, TheHostsResourcesAreInForceAfterEveryEntryPoint)
{
    m_module->Init();
    EXPECT_EQ(GetResourceBundle(), &m_hostBundle);
    Word show = SW_SHOW;
    Send(H_ShowWindow, &show);
    EXPECT_EQ(GetResourceBundle(), &m_hostBundle);
    Send(H_SignedIn, nullptr);
    EXPECT_EQ(GetResourceBundle(), &m_hostBundle);
    EXPECT_EQ(m_module->CloseMessageBoxes(), 1);
    EXPECT_EQ(GetResourceBundle(), &m_hostBundle);
    m_module->UnInit();
    EXPECT_EQ(GetResourceBundle(), &m_hostBundle);
}

TEST_F(ModuleTest, PlaceWindowMovesAndSizesAndIgnoresANullRecord)
{
    m_module->Init();
    Send(H_PlaceWindow, nullptr);
    const QRect before = MainWindow()->geometry();
    Word place[4] = {10, 20, 300, 400};
    Send(H_PlaceWindow, place);
    EXPECT_EQ(MainWindow()->geometry(), QRect(10, 20, 300, 400));
    EXPECT_NE(before, MainWindow()->geometry());
    // The tree follows: client width less 8, height less 32, 28 from the top.
    EXPECT_EQ(MainWindow()->Tree()->geometry(), QRect(0, 28, 292, 368));
}

TEST_F(ModuleTest, CodesAboveTheLastAreIgnoredWithoutReadingTheRecord)
{
    m_module->Init();
    m_host.Clear();
    // A record pointer that would fault if it were read.
    void* poison = reinterpret_cast<void*>(uintptr_t{8});
    EXPECT_EQ(MainWindow()->Dispatch(20039, poison), 20039);
    EXPECT_EQ(MainWindow()->Dispatch(99999, poison), 99999);
    Send(20039, poison);
    EXPECT_TRUE(m_host.sent.empty());
}

TEST_F(ModuleTest, NullRecordsAreIgnoredExceptWhereNoneIsRead)
{
    m_module->Init();
    m_host.Clear();
    for (int code = 1001; code <= 1044; ++code) {
        if (code == H_SignedIn) continue;
        Send(code, nullptr);
    }
    Send(1037, nullptr);
    EXPECT_FALSE(MainWindow()->IsTimerRunning(CTarvolanDialog::kTimerReplay));

    Send(H_SignedIn, nullptr);
    EXPECT_EQ(MainWindow()->TimerPeriod(CTarvolanDialog::kTimerReplay), 30000);
    auto skins = m_host.Of(M_SkinRequest);
    ASSERT_EQ(skins.size(), 4u);
    EXPECT_EQ(skins[1].texts[1], "radio_add");
    EXPECT_EQ(skins[2].texts[1], "radio_del");
    EXPECT_EQ(skins[3].texts[1], "radio_edit");
}

TEST_F(ModuleTest, AWindowThatCannotBeCreatedIsReportedOnce)
{
    CTarvolanModule::Instance()->FailNextWindowCreationForTest();
    m_module->Init();
    ASSERT_EQ(m_driver.Prompts().size(), 1u);
    EXPECT_EQ(m_driver.Prompts()[0].flags, MB_ICONINFORMATION);
    EXPECT_EQ(m_driver.Prompts()[0].owner, &m_parent);
    EXPECT_EQ(GbkToUtf8(m_driver.Prompts()[0].text.view()), "系统资源不足,请关闭并重新启动客户端。");
    EXPECT_EQ(m_host.LogLines(), std::vector<std::string>{"CTarvolanDialog Create Failed!"});
    // Later messages reach a window object without a window and do nothing.
    Word show = SW_SHOW;
    Send(H_ShowWindow, &show);
    Send(H_SignedIn, nullptr);
    EXPECT_EQ(m_host.Count(M_SkinRequest), 0u);
}

TEST(GroupSettingsLayout, NewGroupRecordKeepsItsFieldsApart)
{
    TGroupSettings settings{};
    CString(std::string(300, 'n')).CopyTo(settings.name, sizeof(settings.name));
    CString(std::string(200, 'b')).CopyTo(settings.bulletin, sizeof(settings.bulletin));
    const auto* bytes = reinterpret_cast<const unsigned char*>(&settings);
    for (int i = 0; i < 257; ++i) ASSERT_EQ(bytes[i], 0) << i;  // empty URI when creating
    EXPECT_EQ(bytes[257], 'n');
    EXPECT_EQ(bytes[257 + 64], 0);  // name cut at 64 characters
    EXPECT_EQ(bytes[804], 'b');
    EXPECT_EQ(bytes[805], 0);
}

} // namespace

TEST_F(ModuleTest, TheWindowsAskThroughTheModuleContext)
{
    m_module->Init();
    SelectAnItem();
    CModuleContext& context = CTarvolanModule::Instance()->Context();
    EXPECT_EQ(&context.Link(), &CTarvolanModule::Instance()->Link());
    EXPECT_EQ(&MainWindow()->Context(), &context);
    // A driver given to the context shows the window's prompts instead of
    // the one installed for the process, until it is taken back.
    CScriptedUiDriver own;
    context.SetDriver(&own);
    MainWindow()->OnTreeRightClick(MainWindow()->Tree()->currentItem(), QPoint());
    context.SetDriver(nullptr);
    MainWindow()->OnTreeRightClick(MainWindow()->Tree()->currentItem(), QPoint());
    ASSERT_EQ(own.Prompts().size(), 1u);
    EXPECT_EQ(own.Prompts()[0].kind, "menu");
    ASSERT_EQ(m_driver.Prompts().size(), 1u);
    EXPECT_EQ(m_driver.Prompts()[0].kind, "menu");
}

namespace {

// The root of the group tree as the window shows it.
std::string RootText()
{
    QTreeWidgetItem* root = CTarvolanModule::Instance()->MainWindow()->Tree()->topLevelItem(0);
    return root ? root->text(0).toStdString() : std::string();
}

} // namespace

// The language of QLocale() at Init: Chinese and C read the source texts, a
// language without a catalogue of its own reads English; UnInit takes the
// catalogue away again, and what goes to the host stays untranslated.
TEST_F(ModuleTest, InitSpeaksTheDefaultLocaleAndUnInitForgetsIt)
{
    const struct {
        QLocale locale;
        const char* root;
    } cases[] = {{QLocale(QLocale::Chinese, QLocale::China), "群组管理"},
                 {QLocale::c(), "群组管理"},
                 {QLocale(QLocale::English, QLocale::UnitedStates), "Group management"},
                 {QLocale(QLocale::German, QLocale::Germany), "Group management"}};
    for (const auto& c : cases) {
        QLocale::setDefault(c.locale);
        m_module->Init();
        EXPECT_EQ(RootText(), c.root) << c.locale.name().toStdString();
        EXPECT_EQ(LoadResSourceString(IDS_ALL_CONTACTS), Utf8ToGbk("所有联系人"));
        m_module->UnInit();
        EXPECT_EQ(GbkToUtf8(LoadResString(IDS_ROOT_GROUPS).view()), "群组管理");
        CTarvolanModule::DestroyInstance();
        m_module = LoadTarvolanModule(&m_host, nullptr, &m_parent);
    }
    QLocale::setDefault(QLocale::c());
}
