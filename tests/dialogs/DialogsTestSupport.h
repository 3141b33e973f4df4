// Shared set-up of the dialog tests: a signed-in user, prompts answered by a
// scripted driver, the module's strings current and a loaded module whose
// host records the skin requests.
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "clientkit/ClientKit.h"
#include "module/TarvolanModule.h"
#include "platform/Resources.h"
#include "scripted/ScriptedUiDriver.h"
#include "platform/Window.h"
#include "res/ModuleResources.h"
#include "support/FakeHost.h"

using namespace tarvolan;

namespace dialogs_test {

constexpr const char kMe[] = "sip:me@ims.test";
constexpr const char kDomain[] = "ims.test";

inline CString Gbk(const char* utf8) { return Utf8ToGbk(utf8); }
inline std::string Utf8(const CString& gbk) { return GbkToUtf8(gbk.view()); }

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        clientkit::Reset();
        clientkit::SetMsgTitle("Velora");
        clientkit::TIdentity me;
        me.displayName = "Me";
        me.uri = kMe;
        me.domain = kDomain;
        clientkit::SetIdentity(me);
        SetUiDriver(&m_driver);
        m_previous = SetResourceBundle(TarvolanResources());
        m_module = LoadTarvolanModule(&m_host, nullptr, &m_parent);
        ASSERT_NE(m_module, nullptr);
    }
    void TearDown() override
    {
        tarvolan::CTarvolanModule::DestroyInstance();
        SetResourceBundle(m_previous);
        SetUiDriver(nullptr);
        clientkit::Reset();
    }

    // The module's link to the fake host, for the dialogs a test makes.
    static tarvolan::CHostLink& Link() { return tarvolan::CTarvolanModule::Instance()->Link(); }
    static tarvolan::CModuleContext& Context() { return tarvolan::CTarvolanModule::Instance()->Context(); }

    // Queues one run of a dialog: control values (UTF-8) and the button.
    void Answer(std::map<int, CString> values, int button = IDOK,
                std::function<void(CDialog*)> inspect = nullptr)
    {
        CScriptedUiDriver::TDialogAnswer answer;
        answer.values = std::move(values);
        answer.button = button;
        answer.inspect = std::move(inspect);
        m_driver.PushDialog(std::move(answer));
    }

    // Prompts of one kind, in order.
    std::vector<TPrompt> PromptsOf(const char* kind) const
    {
        std::vector<TPrompt> out;
        for (const TPrompt& p : m_driver.Prompts())
            if (p.kind == kind) out.push_back(p);
        return out;
    }
    // Message box texts shown so far, as UTF-8.
    std::vector<std::string> Messages() const
    {
        std::vector<std::string> texts;
        for (const TPrompt& p : PromptsOf("message")) texts.push_back(Utf8(p.text));
        return texts;
    }
    // The caption the dialog had when its run ended, as UTF-8.
    std::string ModalCaption() const
    {
        const auto modal = PromptsOf("modal");
        return modal.empty() ? std::string() : Utf8(modal.back().text);
    }
    // Whether the dialog asked for its skin: "media.skn" with no element.
    bool AskedForMediaSkin(QWidget* dialog) const
    {
        for (const auto& s : m_host.Of(tarvolan::M_SkinRequest))
            if (s.ints.at(0) == WindowHandle(dialog) && s.texts.at(0) == "media.skn" && s.texts.at(1).empty())
                return true;
        return false;
    }
    static std::string Str(int id) { return Utf8(LoadResString(id)); }

    CScriptedUiDriver m_driver;
    testing_support::CFakeHost m_host;
    QWidget m_parent;
    CResourceBundle* m_previous = nullptr;
    tarvolan::CModuleBase* m_module = nullptr;
};

} // namespace dialogs_test
