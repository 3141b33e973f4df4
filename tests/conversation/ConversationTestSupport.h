// Shared set-up of the conversation tests: the client folder is the
// repository's assets folder (the emoticon pictures), prompts go to a
// scripted driver and the module's strings are current.
#pragma once

#include <string>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "clientkit/ClientKit.h"
#include "platform/Resources.h"
#include "scripted/ScriptedUiDriver.h"
#include "res/ModuleResources.h"

using namespace tarvolan;

namespace conversation_test {

class ConversationTest : public ::testing::Test {
protected:
    // Before the members of a test are made: editors read the client folder
    // when they are constructed.
    ConversationTest()
    {
        clientkit::Reset();
        clientkit::SetAppPath(TARVOLAN_SOURCE_DIR "/assets");
    }
    void SetUp() override
    {
        SetUiDriver(&m_driver);
        m_previous = SetResourceBundle(TarvolanResources());
    }
    void TearDown() override
    {
        SetResourceBundle(m_previous);
        SetUiDriver(nullptr);
    }

    // A file name in a fresh temporary folder, as GBK.
    CString TempPath(const char* name) const
    {
        return FromQt(m_dir.filePath(QString::fromUtf8(name)));
    }
    static QByteArray ReadFile(const CString& path)
    {
        QFile file(ToQt(path));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // Message boxes shown so far, as UTF-8 texts.
    std::vector<std::string> Messages() const
    {
        std::vector<std::string> texts;
        for (const TPrompt& p : m_driver.Prompts())
            if (p.kind == "message") texts.push_back(GbkToUtf8(p.text.view()));
        return texts;
    }

    CScriptedUiDriver m_driver;
    CResourceBundle* m_previous = nullptr;
    QTemporaryDir m_dir;
};

inline CString Gbk(const char* utf8)
{
    return Utf8ToGbk(utf8);
}

} // namespace conversation_test
