// Host message sequences that once broke the module under the fuzzer
// (fuzz/fuzz_host_messages), replayed as the fuzzer sent them. Each test
// names the corpus entry in fuzz/corpus that holds the original input.
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

#include "clientkit/ClientKit.h"
#include "groups/TarvolanDialog.h"
#include "module/TarvolanModule.h"
#include "platform/Resources.h"
#include "platform/UiDriver.h"
#include "res/ModuleResources.h"
#include "support/FakeHost.h"

using namespace tarvolan;

namespace {

class FuzzRegressionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        clientkit::Reset();
        ASSERT_TRUE(m_dir.isValid());
        clientkit::SetAppPath(m_dir.path().toLocal8Bit().constData());
        clientkit::TIdentity me;
        me.displayName = "Me";
        me.requestId = "req-me";
        me.uri = "sip:me@ims.test";
        me.domain = "ims.test";
        clientkit::SetIdentity(me);
        SetUiDriver(&m_driver);
        m_previous = SetResourceBundle(TarvolanResources());
        m_module = LoadTarvolanModule(&m_host, &m_host, &m_parent);
        ASSERT_NE(m_module, nullptr);
        m_module->Init();
        ASSERT_NE(g_pTarvolanDialog, nullptr);
    }
    void TearDown() override
    {
        CTarvolanModule::DestroyInstance();
        SetResourceBundle(m_previous);
        SetUiDriver(nullptr);
        clientkit::Reset();
    }

    int Send(int code, std::vector<Word> words) { return m_module->OnMessage(0, code, words.data()); }

    QTemporaryDir m_dir;
    testing_support::CFakeHost m_host;
    QWidget m_parent;
    CScriptedUiDriver m_driver;
    CResourceBundle* m_previous = nullptr;
    CModuleBase* m_module = nullptr;
};

// fuzz/corpus/regress-place-window-extremes: 20038 with x = INT_MIN made
// Qt's right edge (x + width - 1) overflow. Coordinates are now kept within
// Qt's largest window size.
TEST_F(FuzzRegressionTest, PlaceWindowWithExtremeNumbers)
{
    Send(H_PlaceWindow, {INT_MIN, 0, 0, 0});
    EXPECT_EQ(g_pTarvolanDialog->geometry().x(), -QWIDGETSIZE_MAX);
    EXPECT_EQ(g_pTarvolanDialog->width(), 0);

    Send(H_PlaceWindow, {INT_MAX, INT_MAX, INT_MAX, INT_MAX});
    EXPECT_EQ(g_pTarvolanDialog->geometry().x(), QWIDGETSIZE_MAX);
    EXPECT_LE(g_pTarvolanDialog->width(), QWIDGETSIZE_MAX);

    Send(H_PlaceWindow, {-5, -7, INT_MIN, INT_MIN});
    EXPECT_EQ(g_pTarvolanDialog->geometry(), QRect(-5, -7, 0, 0));

    Send(H_PlaceWindow, {10, 20, 300, 400});  // ordinary numbers are kept
    EXPECT_EQ(g_pTarvolanDialog->geometry(), QRect(10, 20, 300, 400));
}

} // namespace
