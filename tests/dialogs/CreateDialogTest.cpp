// The create and edit dialog: captions, the values handed back, the checks
// of OK with their notices and the edit limits.
#include "dialogs/TarvolanCreateDialog.h"

#include <QLineEdit>
#include <QPlainTextEdit>

#include "DialogsTestSupport.h"

using namespace tarvolan;

using namespace dialogs_test;

namespace {

using Dlg = CTarvolanCreateDialog;

class CreateDialogTest : public DialogTest {
protected:
    // An edit as the group command fills it.
    void FillEdit(Dlg& dialog, int32_t maxMembers = 50)
    {
        dialog.SetGroupName(Gbk("旧群"));
        dialog.SetMyDisplayName(Gbk("老王"));
        dialog.SetSubject("subject");
        dialog.SetBulletin("bulletin");
        dialog.SetDuration(7);
        dialog.SetVisibility(0);
        dialog.SetNeedPermit(0);
        dialog.SetMaxMembers(maxMembers);
    }
};

TEST_F(CreateDialogTest, CreateReturnsTheTypedValuesAndTheDefaultsOfACreate)
{
    Dlg dialog(Link());
    Answer({{Dlg::IDC_GROUP_NAME, "新群"}, {Dlg::IDC_DISPLAY_NAME, "我"}, {Dlg::IDC_SUBJECT, "line 1\nline 2"},
            {Dlg::IDC_BULLETIN, "公告"}});
    ASSERT_EQ(dialog.DoModal(), IDOK);

    EXPECT_EQ(ModalCaption(), "创建群组");
    EXPECT_TRUE(AskedForMediaSkin(&dialog));
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Utf8(dialog.GetGroupName()), "新群");
    EXPECT_EQ(Utf8(dialog.GetMyDisplayName()), "我");
    EXPECT_EQ(Utf8(dialog.GetSubject()), "line 1\nline 2");
    EXPECT_EQ(Utf8(dialog.GetBulletin()), "公告");
    EXPECT_EQ(dialog.GetMaxMembers(), 1000);
    EXPECT_EQ(dialog.GetVisibility(), 2);
    EXPECT_EQ(dialog.GetNeedPermit(), 1);
    EXPECT_EQ(dialog.GetDuration(), 0);
    EXPECT_EQ(dialog.GetApprovalFlag(), 0);
    EXPECT_TRUE(dialog.GetExtraText().IsEmpty());
}

TEST_F(CreateDialogTest, EditShowsTheCallersValuesAndHandsTheHiddenOnesBackUnchanged)
{
    Dlg dialog(Link());
    FillEdit(dialog);
    Answer({}, IDOK, [](CDialog* d) {
        EXPECT_EQ(Utf8(d->GetDlgItemText(Dlg::IDC_GROUP_NAME)), "旧群");
        EXPECT_EQ(Utf8(d->GetDlgItemText(Dlg::IDC_DISPLAY_NAME)), "老王");
        EXPECT_TRUE(d->GetDlgItem(Dlg::IDC_GROUP_NAME)->isVisibleTo(d));
        for (int id : {Dlg::IDC_MAX_MEMBERS, Dlg::IDC_VISIBILITY_ALL, Dlg::IDC_JOIN_AUTO, Dlg::IDC_DURATION,
                       Dlg::IDC_APPROVAL, Dlg::IDC_EXTRA})
            EXPECT_FALSE(d->GetDlgItem(id)->isVisibleTo(d)) << id;
    });
    ASSERT_EQ(dialog.DoModal(), IDOK);

    EXPECT_EQ(ModalCaption(), "编辑群组");
    EXPECT_EQ(Utf8(dialog.GetGroupName()), "旧群");
    EXPECT_EQ(dialog.GetSubject(), "subject");
    EXPECT_EQ(dialog.GetBulletin(), "bulletin");
    EXPECT_EQ(dialog.GetDuration(), 7);
    EXPECT_EQ(dialog.GetVisibility(), 0);
    EXPECT_EQ(dialog.GetNeedPermit(), 0);
    EXPECT_EQ(dialog.GetMaxMembers(), 50);
}

TEST_F(CreateDialogTest, HiddenIndexesOutsideTheirRadioGroupsTravelUnchanged)
{
    // A group whose visibility was 0 (index -1) or beyond the three choices.
    for (int32_t visibility : {-1, 6}) {
        Dlg dialog(Link());
        FillEdit(dialog);
        dialog.SetVisibility(visibility);
        dialog.SetNeedPermit(5);
        Answer({});
        ASSERT_EQ(dialog.DoModal(), IDOK);
        EXPECT_EQ(dialog.GetVisibility(), visibility);
        EXPECT_EQ(dialog.GetNeedPermit(), 5);
    }
}

TEST_F(CreateDialogTest, NameAndDisplayNameAreCheckedTrimmedButReturnedAsTyped)
{
    Dlg dialog(Link());
    Answer({{Dlg::IDC_GROUP_NAME, "   "}, {Dlg::IDC_DISPLAY_NAME, " \t"}});  // both blank: the name first
    Answer({{Dlg::IDC_GROUP_NAME, "abc "}});                                  // display name still blank
    Answer({{Dlg::IDC_DISPLAY_NAME, " me "}});
    ASSERT_EQ(dialog.DoModal(), IDOK);

    EXPECT_EQ(Messages(), (std::vector<std::string>{Str(IDS_GROUP_NAME_EMPTY), Str(IDS_DISPLAY_NAME_EMPTY)}));
    EXPECT_EQ(Messages().at(0), "群组名不能为空!");
    EXPECT_EQ(Messages().at(1), "显示名称不能为空");
    for (const TPrompt& p : PromptsOf("message")) {
        EXPECT_EQ(p.caption, "Velora");
        EXPECT_EQ(p.flags, unsigned(MB_ICONINFORMATION));
        EXPECT_EQ(p.owner, &dialog);
    }
    EXPECT_EQ(dialog.GetGroupName(), "abc ");
    EXPECT_EQ(dialog.GetMyDisplayName(), " me ");
}

TEST_F(CreateDialogTest, AnEditedGroupWithFewerThanTwoMembersIsRefusedUntilCancelled)
{
    for (int32_t maxMembers : {0, 1}) {
        m_driver.ClearPrompts();
        Dlg dialog(Link());
        FillEdit(dialog, maxMembers);
        Answer({});
        Answer({{Dlg::IDC_GROUP_NAME, "changed"}});
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
        EXPECT_EQ(Messages(), (std::vector<std::string>(2, "最大成员数不能小于2!")));
    }
}

TEST_F(CreateDialogTest, AnEmptyOrUnreadableMemberCountIsRefusedBeforeAnythingElse)
{
    for (const char* count : {"", "many"}) {
        m_driver.ClearPrompts();
        Dlg dialog(Link());
        Answer({{Dlg::IDC_MAX_MEMBERS, count}});  // the name is empty too
        Answer({{Dlg::IDC_MAX_MEMBERS, "3"}, {Dlg::IDC_GROUP_NAME, "g"}, {Dlg::IDC_DISPLAY_NAME, "me"}});
        ASSERT_EQ(dialog.DoModal(), IDOK);
        EXPECT_EQ(Messages(), (std::vector<std::string>{Str(IDS_MAX_MEMBERS_TOO_SMALL)}));
        EXPECT_EQ(dialog.GetMaxMembers(), 3);
    }
}

TEST_F(CreateDialogTest, CancelLeavesTheCallersValues)
{
    Dlg dialog(Link());
    FillEdit(dialog);
    Answer({{Dlg::IDC_GROUP_NAME, "other"}}, IDCANCEL);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(Utf8(dialog.GetGroupName()), "旧群");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(CreateDialogTest, EditsTakeNoMoreBytesThanTheirFields)
{
    const std::string longName(70, 'n');
    std::string chinese;
    for (int i = 0; i < 40; ++i) chinese += "字";  // 80 bytes
    const std::string longText(250, 't');
    Dlg dialog(Link());
    Answer({{Dlg::IDC_GROUP_NAME, CString("a") + chinese.c_str()},
            {Dlg::IDC_DISPLAY_NAME, longName.c_str()},
            {Dlg::IDC_SUBJECT, longText.c_str()},
            {Dlg::IDC_BULLETIN, chinese.c_str()}});
    ASSERT_EQ(dialog.DoModal(), IDOK);
    // "a" and 31 characters: the 32nd would need a 65th byte.
    EXPECT_EQ(dialog.GetGroupName().GetLength(), 63);
    EXPECT_EQ(dialog.GetGroupName(), Gbk(("a" + chinese.substr(0, 31 * 3)).c_str()));
    EXPECT_EQ(dialog.GetMyDisplayName(), CString(std::string(32, 'n')));
    EXPECT_EQ(dialog.GetSubject().GetLength(), 200);
    EXPECT_EQ(dialog.GetBulletin().GetLength(), 80);
}

TEST_F(CreateDialogTest, AnEditedGroupsLongerTextsAreHandedBackWhole)
{
    // My display name in the group may be longer than the edit takes: kept
    // as it is, so that the command sees no change of it.
    const CString longName(std::string(40, 'm'));
    Dlg dialog(Link());
    FillEdit(dialog);
    dialog.SetMyDisplayName(longName);
    Answer({});
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.GetMyDisplayName(), longName);
}

} // namespace
