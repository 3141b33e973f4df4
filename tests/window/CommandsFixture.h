// A fixture for the group commands and their results: signed in, with a
// group I own (members: me and Bob), a group I own alone and a group I
// joined; helpers to select tree items, give commands and read prompts and
// the requests sent.
#pragma once

#include <cstdlib>
#include <string>
#include <vector>

#include "window/GroupsFixture.h"

using namespace tarvolan;

namespace groups_testing::commands {

inline constexpr const char* kMine = "sip:mine@groups.test";    // "Mine": me and Bob
inline constexpr const char* kSolo = "sip:solo@groups.test";    // "Solo": me alone
inline constexpr const char* kClub = "sip:club@groups.test";    // "Club": joined, owned by kOwner
inline constexpr const char* kOwner = "sip:owner@ims.test";
inline constexpr const char* kBob = "sip:bob@ims.test";

inline Word W(const char* text) { return reinterpret_cast<Word>(text); }

class CCommandsTest : public CGroupsTest {
protected:
    void SetUp() override
    {
        CGroupsTest::SetUp();
        clientkit::SetSignInState(1, 0, 0);
        COneGroupRecord mine(kMine, "Mine", ROLE_OWNER, kMe), solo(kSolo, "Solo", ROLE_OWNER, kMe),
            club(kClub, "Club", ROLE_MEMBER, kOwner);
        mine.Member(kMe, "Me").Member(kBob, "Bob");
        mine.info.iVisi = 3;
        mine.info.iNeedPermit = 1;
        mine.info.iMaxMember = 500;
        mine.info.iDuration = 7;
        Put(mine.info.subject, "Chess");
        Put(mine.info.bulletin, "Fridays");
        solo.Member(kMe, "Me");
        club.Member(kOwner, "Owner").Member(kMe, "Me");
        CGroupListRecord list;
        list.Add(kMine, "Mine", GROUP_PUBLIC, 0, kMe)
            .Add(kSolo, "Solo", GROUP_PUBLIC, 0, kMe)
            .Add(kClub, "Club", GROUP_PUBLIC, 0, kOwner);
        SendGroupList(list);
        SendGroup(mine);
        SendGroup(solo);
        SendGroup(club);
        m_host.Clear();
        m_driver.ClearPrompts();
    }

    // Selects the item and gives the command, as the context menu does.
    void Command(QTreeWidgetItem* item, int id)
    {
        if (item) Tree().setCurrentItem(item);
        Dlg().OnCommand(id, 0);
    }
    // Queues the dialog answer: control values (UTF-8) and the button.
    void AnswerDialog(std::map<int, CString> values, int button = IDOK)
    {
        CScriptedUiDriver::TDialogAnswer answer;
        answer.values = std::move(values);
        answer.button = button;
        m_driver.PushDialog(std::move(answer));
    }

    // The texts of the message boxes shown, in order (dialog runs left out).
    std::vector<std::string> Notices()
    {
        std::vector<std::string> out;
        for (const TPrompt& p : m_driver.Prompts())
            if (p.kind == "message") out.push_back(Utf8(p.text));
        return out;
    }
    std::vector<unsigned> NoticeFlags()
    {
        std::vector<unsigned> out;
        for (const TPrompt& p : m_driver.Prompts())
            if (p.kind == "message") out.push_back(p.flags);
        return out;
    }
    // Class names of the dialogs run, in order.
    std::vector<std::string> DialogsRun()
    {
        std::vector<std::string> out;
        for (const TPrompt& p : m_driver.Prompts())
            if (p.kind == "modal") out.push_back(Utf8(p.caption));
        return out;
    }
    // The group-settings record sent with code 2 (the i-th one).
    TGroupSettings Settings(size_t i = 0)
    {
        TGroupSettings record{};
        const auto sent = m_host.Of(M_SaveGroup);
        if (i < sent.size()) std::memcpy(&record, sent[i].block.data(), sizeof(record));
        return record;
    }
    // Requests sent to the host; selection reports (1037) and the skin
    // requests of the dialogs run (10001) left out.
    size_t Requests()
    {
        size_t n = 0;
        for (const auto& s : m_host.sent) n += s.code != M_SelectionReport && s.code != M_SkinRequest;
        return n;
    }
    bool Logged(const std::string& line) { return LogText().find(line) != std::string::npos; }
    bool LoggedToHost(const std::string& line)
    {
        for (const std::string& l : m_host.LogLines())
            if (l == line) return true;
        return false;
    }
    const CGroupRecord* Record(const char* uri) { return Dlg().Data().GroupTable().Get(uri); }
    int Listed(const char* uri) { return Dlg().Data().GroupList().FindPublicByURI(uri); }
};

// Sets the locale variable that decides the system language for the scope.
class CLanguageScope {
public:
    explicit CLanguageScope(const char* lang)
    {
        for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
            const char* value = std::getenv(name);
            m_saved.push_back({name, value ? value : "", value != nullptr});
            unsetenv(name);
        }
        setenv("LANG", lang, 1);
    }
    ~CLanguageScope()
    {
        for (const TSaved& s : m_saved) {
            if (s.set) setenv(s.name, s.value.c_str(), 1);
            else unsetenv(s.name);
        }
    }

private:
    struct TSaved {
        const char* name;
        std::string value;
        bool set;
    };
    std::vector<TSaved> m_saved;
};

} // namespace groups_testing::commands
