// The invite dialog: the account typed, its checks and the URI handed back.
#include "dialogs/TarvolanInviteDialog.h"

#include "DialogsTestSupport.h"

using namespace tarvolan;

using namespace dialogs_test;

namespace {

using Dlg = CTarvolanInviteDialog;

class InviteDialogTest : public DialogTest {
protected:
    // Runs the dialog with the account typed; the invitee URI or "" when it
    // did not end with OK.
    std::string Invite(const char* account)
    {
        Dlg dialog(Link());
        Answer({{Dlg::IDC_ACCOUNT, account}});
        return dialog.DoModal() == IDOK ? dialog.GetInviteeURI().str() : std::string();
    }
};

TEST_F(InviteDialogTest, ABareAccountGetsSchemeAndMyDomain)
{
    Dlg dialog(Link());
    Answer({{Dlg::IDC_ACCOUNT, "bob"}});
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.GetInviteeURI(), "sip:bob@ims.test");
    EXPECT_EQ(dialog.GetAccount(), "bob");
    EXPECT_EQ(ModalCaption(), "邀请某人");
    EXPECT_TRUE(AskedForMediaSkin(&dialog));
    EXPECT_TRUE(Messages().empty());
}

TEST_F(InviteDialogTest, SchemeAndDomainAreAddedOnlyWhereMissingAndLetterCaseIsKept)
{
    EXPECT_EQ(Invite("SIP:Bob@Other.com"), "SIP:Bob@Other.com");
    EXPECT_EQ(Invite("Sip:Bob"), "Sip:Bob@ims.test");
    EXPECT_EQ(Invite("Bob@other.com"), "sip:Bob@other.com");
    EXPECT_EQ(Invite("sipbob"), "sip:sipbob@ims.test");
    EXPECT_EQ(Invite("  bob  "), "sip:bob@ims.test");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(InviteDialogTest, ABlankAccountIsRefusedWithAWarning)
{
    Dlg dialog(Link());
    Answer({{Dlg::IDC_ACCOUNT, " \t "}});
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);  // stayed open until the script ran out
    ASSERT_EQ(Messages(), (std::vector<std::string>{"您输入字符为空，请重新输入!"}));
    const TPrompt box = PromptsOf("message").at(0);
    EXPECT_EQ(box.caption, "Velora");
    EXPECT_EQ(box.flags, unsigned(MB_ICONEXCLAMATION));
    EXPECT_TRUE(dialog.GetInviteeURI().IsEmpty());
}

TEST_F(InviteDialogTest, TheCompletedURIMayNotExceed64Bytes)
{
    // 64 bytes exactly: "sip:" + 51 + "@ims.test".
    EXPECT_EQ(Invite(std::string(51, 'a').c_str()), "sip:" + std::string(51, 'a') + "@ims.test");

    // 60 bytes fit into the edit, but not once completed.
    const std::string account(60, 'b');
    Dlg dialog(Link());
    Answer({{Dlg::IDC_ACCOUNT, account.c_str()}});
    Answer({{Dlg::IDC_ACCOUNT, "bob"}});
    ASSERT_EQ(dialog.DoModal(), IDOK);
    const std::string uri = "sip:" + account + "@ims.test";
    ASSERT_EQ(Messages(), (std::vector<std::string>{"帐号 \"" + uri + "\" 长度不能大于 64 字节."}));
    EXPECT_EQ(PromptsOf("message").at(0).flags, unsigned(MB_ICONEXCLAMATION));
    EXPECT_EQ(dialog.GetInviteeURI(), "sip:bob@ims.test");
}

TEST_F(InviteDialogTest, TheEditTakesAtMost64Bytes)
{
    const std::string full = "sip:" + std::string(50, 'c') + "@ims.test";  // 63 bytes
    EXPECT_EQ(Invite((full + "xyz").c_str()), full + "x");
}

TEST_F(InviteDialogTest, CompleteURIWorksWithoutAWindow)
{
    EXPECT_EQ(Dlg::CompleteURI(" ann ", "d.org"), "sip:ann@d.org");
    EXPECT_EQ(Dlg::CompleteURI("sip:", "d.org"), "sip:@d.org");
    EXPECT_EQ(Dlg::CompleteURI(Gbk("张三"), "d.org"), Gbk("sip:张三@d.org"));
}

} // namespace
