// The blacklist window on its own: what it asks the host for, how "新增"
// completes an account, what "删除" sends, and how the host's notifications
// change its lines.
#include <QListWidget>

#include "dialogs/DialogsTestSupport.h"
#include "dialogs/InputTextDialog.h"
#include "dialogs/TarvolanBlackListDialog.h"

using namespace dialogs_test;

namespace {

constexpr const char kGroupURI[] = "sip:chess@groups.test";

class BlackListDialogTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        m_dialog = std::make_unique<CTarvolanBlackListDialog>(Context());
        m_dialog->SetGroupURI(kGroupURI);
        m_dialog->SetGroupName(Gbk("象棋"));
        m_dialog->Create(&m_parent);
    }
    void TearDown() override
    {
        m_dialog.reset();
        DialogTest::TearDown();
    }

    QListWidget* Box(int id) const { return qobject_cast<QListWidget*>(m_dialog->GetDlgItem(id)); }
    std::vector<std::string> Lines(int id = CTarvolanBlackListDialog::IDC_BLACKLIST) const
    {
        std::vector<std::string> lines;
        for (int row = 0; row < Box(id)->count(); ++row) lines.push_back(Box(id)->item(row)->text().toStdString());
        return lines;
    }
    // "新增" with the account typed into the text input dialog.
    void Add(const char* account, int button = IDOK)
    {
        Answer({{CInputTextDialog::IDC_INPUT, account}}, button);
        m_dialog->PressButton(CTarvolanBlackListDialog::IDC_ADD);
    }
    // The texts of the i-th request with that code, as UTF-8.
    std::vector<std::string> Sent(int code, size_t i) const
    {
        std::vector<std::string> texts;
        const auto sent = m_host.Of(code);
        for (const std::string& text : sent.at(i).texts) texts.push_back(GbkToUtf8(text));
        return texts;
    }

    std::unique_ptr<CTarvolanBlackListDialog> m_dialog;
};

TEST_F(BlackListDialogTest, AsksForTheListOnlyWithAGroup)
{
    EXPECT_EQ(Sent(M_RequestBlacklist, 0), std::vector<std::string>{kGroupURI});
    CTarvolanBlackListDialog noURI(Context());
    noURI.Create(&m_parent);
    EXPECT_EQ(m_host.Count(M_RequestBlacklist), 1u);
}

// The account is completed with "@" and my domain, then with "sip:" when it
// has none anywhere; the box waits for the host.
TEST_F(BlackListDialogTest, AddCompletesTheAccount)
{
    Add("bob");
    Add("tel:123;user=sip:x@far.test");  // "sip:" in the middle: nothing added
    Add(" carol@other.test ");
    ASSERT_EQ(m_host.Count(M_AddBlacklist), 3u);
    EXPECT_EQ(Sent(M_AddBlacklist, 0), (std::vector<std::string>{"象棋", "sip:bob@ims.test"}));
    EXPECT_EQ(Sent(M_AddBlacklist, 1)[1], "tel:123;user=sip:x@far.test");
    EXPECT_EQ(Sent(M_AddBlacklist, 2)[1], "sip:carol@other.test");
    EXPECT_TRUE(Lines().empty());
}

TEST_F(BlackListDialogTest, AddRefusesAnEmptyAccountAndCancelSendsNothing)
{
    Add("");
    Add("   ");
    Add("dave", IDCANCEL);
    EXPECT_EQ(m_host.Count(M_AddBlacklist), 0u);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"联系人帐号不能为空！", "联系人帐号不能为空！"}));
    EXPECT_EQ(PromptsOf("message").at(0).flags, MB_ICONINFORMATION);
    EXPECT_EQ(Utf8(PromptsOf("message").at(0).caption), "Velora");
}

TEST_F(BlackListDialogTest, RemoveSendsTheSelectedLineWithoutAsking)
{
    m_dialog->PressButton(CTarvolanBlackListDialog::IDC_REMOVE);  // an empty box
    m_dialog->AddBlackListEntry("sip:a@ims.test", kGroupURI, 0);
    m_dialog->AddBlackListEntry("sip:b@ims.test", kGroupURI, 0);
    m_dialog->PressButton(CTarvolanBlackListDialog::IDC_REMOVE);  // nothing selected
    EXPECT_EQ(m_host.Count(M_RemoveBlacklist), 0u);
    Box(CTarvolanBlackListDialog::IDC_BLACKLIST)->setCurrentRow(1);
    m_dialog->PressButton(CTarvolanBlackListDialog::IDC_REMOVE);
    ASSERT_EQ(m_host.Count(M_RemoveBlacklist), 1u);
    EXPECT_EQ(Sent(M_RemoveBlacklist, 0), (std::vector<std::string>{"象棋", "sip:b@ims.test"}));
    EXPECT_EQ(Lines().size(), 2u);
    EXPECT_TRUE(m_driver.Prompts().empty());
}

TEST_F(BlackListDialogTest, ListedEntriesGoToTheirBoxOnce)
{
    m_dialog->AddBlackListEntry("sip:a@ims.test", kGroupURI, 0);
    m_dialog->AddBlackListEntry("sip:a@ims.test", kGroupURI, 0);     // listed already
    m_dialog->AddBlackListEntry("sip:w@ims.test", kGroupURI, 7);     // any other kind: the whitelist
    m_dialog->AddBlackListEntry("sip:x@ims.test", "sip:other@groups.test", 0);
    m_dialog->AddBlackListEntry("", kGroupURI, 0);
    EXPECT_EQ(Lines(), std::vector<std::string>{"sip:a@ims.test"});
    EXPECT_EQ(Lines(CTarvolanBlackListDialog::IDC_WHITELIST), std::vector<std::string>{"sip:w@ims.test"});
}

TEST_F(BlackListDialogTest, ChangesFollowTheHostForThisGroupOnly)
{
    const CString name = Gbk("象棋");
    m_dialog->OnBlackListChanged("sip:a@ims.test", kGroupURI, 1, 0);
    m_dialog->OnBlackListChanged("sip:a@ims.test", name, 1, 0);  // by name; no duplicate check
    m_dialog->OnBlackListChanged("sip:b@ims.test", "sip:other@groups.test", 1, 0);
    m_dialog->OnBlackListChanged("sip:c@ims.test", kGroupURI, 2, 0);  // no such operation
    m_dialog->OnBlackListChanged("sip:c@ims.test", kGroupURI, 1, 2);  // no such kind
    m_dialog->OnBlackListChanged("", kGroupURI, 1, 0);
    m_dialog->OnBlackListChanged("sip:w@ims.test", kGroupURI, 1, 1);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"sip:a@ims.test", "sip:a@ims.test"}));
    EXPECT_EQ(Lines(CTarvolanBlackListDialog::IDC_WHITELIST), std::vector<std::string>{"sip:w@ims.test"});

    m_dialog->OnBlackListChanged("sip:z@ims.test", kGroupURI, 0, 0);  // not listed
    m_dialog->OnBlackListChanged("sip:a@ims.test", "sip:other@groups.test", 0, 0);
    EXPECT_EQ(Lines().size(), 2u);
    m_dialog->OnBlackListChanged("sip:a@ims.test", kGroupURI, 0, 0);
    EXPECT_EQ(Lines(), std::vector<std::string>{"sip:a@ims.test"});
    m_dialog->OnBlackListChanged("sip:a@ims.test", name, 0, 0);
    EXPECT_TRUE(Lines().empty());
    EXPECT_TRUE(m_driver.Prompts().empty());
}

} // namespace
