// The text input dialog: label, limit and the text handed back as typed.
#include "dialogs/InputTextDialog.h"

#include "DialogsTestSupport.h"

using namespace tarvolan;

using namespace dialogs_test;

namespace {

using Dlg = CInputTextDialog;

class InputTextDialogTest : public DialogTest {};

TEST_F(InputTextDialogTest, ShowsTheLabelKeepsItsCaptionAndReturnsTheTextUntrimmed)
{
    Dlg dialog(Link());
    dialog.SetLabel(LoadResString(IDS_DISPLAY_NAME));
    dialog.SetMaxLength(32);
    Answer({{Dlg::IDC_INPUT, " 新 名 "}}, IDOK,
           [](CDialog* d) { EXPECT_EQ(Utf8(d->GetDlgItemText(Dlg::IDC_LABEL)), "显示名"); });
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(Utf8(dialog.GetText()), " 新 名 ");
    EXPECT_EQ(ModalCaption(), "InputText");
    EXPECT_TRUE(AskedForMediaSkin(&dialog));
}

TEST_F(InputTextDialogTest, AnEmptyInputStillEndsWithOK)
{
    Dlg dialog(Link());
    Answer({});
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(dialog.GetText().IsEmpty());
    EXPECT_TRUE(Messages().empty());
}

TEST_F(InputTextDialogTest, CancelHandsNothingBack)
{
    Dlg dialog(Link());
    Answer({{Dlg::IDC_INPUT, "typed"}}, IDCANCEL);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_TRUE(dialog.GetText().IsEmpty());
}

TEST_F(InputTextDialogTest, TheLimitIsInBytesAnd260UnlessSet)
{
    Dlg unlimited(Link());
    Answer({{Dlg::IDC_INPUT, std::string(300, 'x').c_str()}});
    ASSERT_EQ(unlimited.DoModal(), IDOK);
    EXPECT_EQ(unlimited.GetText().GetLength(), 260);

    Dlg nonPositive(Link());
    nonPositive.SetMaxLength(0);
    EXPECT_EQ(nonPositive.GetMaxLength(), 260);

    std::string chinese;
    for (int i = 0; i < 20; ++i) chinese += "名";
    Dlg rename(Link());
    rename.SetMaxLength(32);
    Answer({{Dlg::IDC_INPUT, chinese.c_str()}});
    ASSERT_EQ(rename.DoModal(), IDOK);
    EXPECT_EQ(Utf8(rename.GetText()), chinese.substr(0, 16 * 3));
}

} // namespace
