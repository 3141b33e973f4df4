// A fixture for tests of the main group window: the module loaded with a
// recording host and a scripted UI driver, the signed-in user set, a client
// folder of its own, and builders for the host records of the group list
// (1004) and one group (1005).
#pragma once

#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <QTemporaryDir>
#include <QTreeWidgetItem>
#include <QWidget>
#include <gtest/gtest.h>

#include "clientkit/ClientKit.h"
#include "controls/TreeCtrlEx.h"
#include "window/TarvolanDialog.h"
#include "window/TreeItemData.h"
#include "module/TarvolanModule.h"
#include "platform/Resources.h"
#include "scripted/ScriptedUiDriver.h"
#include "res/ModuleResources.h"
#include "support/FakeHost.h"

namespace groups_testing {

using namespace tarvolan;

inline constexpr const char* kMe = "sip:me@ims.test";
inline constexpr const char* kMyRequestId = "req-me";

// GBK from UTF-8 source text, and back.
inline CString Gbk(const char* utf8) { return Utf8ToGbk(utf8); }
inline std::string Utf8(const CString& gbk) { return GbkToUtf8(gbk.view()); }
inline std::string Utf8(const QString& text) { return text.toStdString(); }

template <size_t N> void Put(char (&field)[N], const char* text)
{
    CString(text).CopyTo(field, N);
}

// The record of host message 1004.
class CGroupListRecord {
public:
    CGroupListRecord() : m_list(std::make_unique<TGroupInfoList>()) { std::memset(m_list.get(), 0, sizeof(TGroupInfoList)); }

    CGroupListRecord& Add(const char* uri, const char* name, int type, int usage = 0, const char* owner = "")
    {
        TGroupInfoSlot& slot = m_list->groups[m_list->count++];
        Put(slot.groupURI, uri);
        Put(slot.groupname, name);
        slot.groupType = type;
        slot.groupUsage = usage;
        Put(slot.groupOwner, owner);
        return *this;
    }
    TGroupInfoList* get() { return m_list.get(); }
    TGroupInfoList* operator->() { return m_list.get(); }

private:
    std::unique_ptr<TGroupInfoList> m_list;
};

inline TMemberEntry MemberEntry(const char* uri, const char* name = "", const char* info = "", const char* phone = "")
{
    TMemberEntry entry{};
    Put(entry.UserURI, uri);
    Put(entry.DisplayName, name);
    Put(entry.csInfo, info);
    Put(entry.csPhone, phone);
    return entry;
}

// The record of host message 1005.
struct COneGroupRecord {
    CString name;
    CString uri;
    int role = ROLE_MEMBER;
    TGroupDescription info{};
    std::vector<TMemberEntry> members;
    std::vector<TBlacklistEntry> blacklist;
    Word words[8] = {};

    COneGroupRecord(const char* groupURI, const char* groupName, int myRole, const char* owner = "sip:owner@ims.test")
        : name(groupName), uri(groupURI), role(myRole)
    {
        Put(info.owner, owner);
        Put(info.creator, owner);
        info.iMaxMember = 300;
    }
    COneGroupRecord& Member(const char* memberURI, const char* displayName = "", const char* phone = "")
    {
        members.push_back(MemberEntry(memberURI, displayName, "", phone));
        return *this;
    }
    COneGroupRecord& Blacklisted(const char* blacklistURI)
    {
        TBlacklistEntry entry{};
        Put(entry.uri, blacklistURI);
        blacklist.push_back(entry);
        return *this;
    }
    Word* Words()
    {
        Word w[8] = {reinterpret_cast<Word>(name.c_str()), reinterpret_cast<Word>(uri.c_str()), role,
                     reinterpret_cast<Word>(&info), static_cast<Word>(members.size()),
                     reinterpret_cast<Word>(members.data()), static_cast<Word>(blacklist.size()),
                     reinterpret_cast<Word>(blacklist.data())};
        std::memcpy(words, w, sizeof(words));
        return words;
    }
};

class CGroupsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        clientkit::Reset();
        ASSERT_TRUE(m_dir.isValid());
        clientkit::SetAppPath(m_dir.path().toLocal8Bit().constData());
        clientkit::TIdentity me;
        me.displayName = "Me";
        me.requestId = kMyRequestId;
        me.uri = kMe;
        me.domain = "ims.test";
        clientkit::SetIdentity(me);
        SetUiDriver(&m_driver);
        m_previous = SetResourceBundle(TarvolanResources());
        m_module = LoadTarvolanModule(&m_host, nullptr, &m_parent);
        ASSERT_NE(m_module, nullptr);
        m_module->Init();
        ASSERT_NE(CTarvolanModule::Instance()->MainWindow(), nullptr);
        m_host.Clear();
    }
    void TearDown() override
    {
        CTarvolanModule::DestroyInstance();
        SetResourceBundle(m_previous);
        SetUiDriver(nullptr);
        clientkit::Reset();
    }

    CTarvolanDialog& Dlg() { return *CTarvolanModule::Instance()->MainWindow(); }
    CTreeCtrlEx& Tree() { return *CTarvolanModule::Instance()->MainWindow()->Tree(); }
    int Send(int code, void* record) { return m_module->OnMessage(0, code, record); }
    void SendGroupList(CGroupListRecord& list) { Send(H_GroupInfoList, list.get()); }
    void SendGroup(COneGroupRecord& group) { Send(H_OnePublicGroup, group.Words()); }

    // A public group with its members, listed and then described.
    void LoadGroup(COneGroupRecord& group, int kind = GROUP_PUBLIC)
    {
        CGroupListRecord list;
        list.Add(group.uri, group.name, kind, 0, group.role == ROLE_OWNER ? kMe : "sip:owner@ims.test");
        SendGroupList(list);
        SendGroup(group);
    }

    CTarvolan* Group(const char* uri) { return Dlg().Data().TreeModel().FindGroup(uri); }
    QTreeWidgetItem* GroupItem(const char* uri)
    {
        CTarvolan* group = Group(uri);
        return group ? Dlg().GroupItem(*group) : nullptr;
    }
    CTarvolanMember* Member(const char* groupURI, const char* memberURI)
    {
        return Dlg().Data().TreeModel().FindMember(groupURI, memberURI);
    }
    QTreeWidgetItem* MemberItem(const char* groupURI, const char* memberURI)
    {
        CTarvolanMember* member = Member(groupURI, memberURI);
        return member ? Dlg().MemberItem(*member) : nullptr;
    }

    // The command ids a right-click on the item offers ("13054,~13060": a
    // leading '~' marks a grayed item); "" when no menu was shown.
    std::string MenuOf(QTreeWidgetItem* item)
    {
        m_driver.ClearPrompts();
        Dlg().OnTreeRightClick(item, QPoint(0, 0));
        for (const TPrompt& prompt : m_driver.Prompts())
            if (prompt.kind == "menu") return prompt.text.str();
        return "";
    }

    // The client log written so far.
    std::string LogText()
    {
        std::ifstream file(clientkit::LogFilePath().c_str(), std::ios::binary);
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }

    QTemporaryDir m_dir;
    testing_support::CFakeHost m_host;
    QWidget m_parent;
    CScriptedUiDriver m_driver;
    CResourceBundle* m_previous = nullptr;
    CModuleBase* m_module = nullptr;
};

} // namespace groups_testing
