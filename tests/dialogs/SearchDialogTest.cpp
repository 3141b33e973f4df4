// The search dialog: the two modes and what switching empties, the byte
// limits, the domain combo and its hidden row, the silent OK, and the
// creator-URI completion the search command applies.
#include <QComboBox>
#include <QLineEdit>

#include "dialogs/DialogControls.h"
#include "dialogs/DialogsTestSupport.h"
#include "dialogs/TarvolanSearchDialog.h"

namespace dialogs_test {
namespace {

using Dlg = CTarvolanSearchDialog;

class SearchDialogTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        clientkit::TIdentity me;
        me.uri = kMe;
        me.domain = kDomain;
        me.domains = {"zeta.test", "alpha.test"};
        clientkit::SetIdentity(me);
    }
};

TEST_F(SearchDialogTest, StartsByNameWithOwnDomainFirstAndLimits)
{
    Dlg dialog(Link(), 0);
    dialog.InitialiseOnce();
    EXPECT_EQ(Utf8(FromQt(dialog.windowTitle())), Str(IDS_SEARCH_CAPTION));
    EXPECT_TRUE(AskedForMediaSkin(&dialog));
    EXPECT_EQ(GetRadioIndex(dialog, {Dlg::IDC_BY_NAME, Dlg::IDC_BY_CREATOR}), 0);
    EXPECT_TRUE(dialog.GetDlgItem(Dlg::IDC_KEYWORD)->isEnabled());
    EXPECT_FALSE(dialog.GetDlgItem(Dlg::IDC_CREATOR)->isEnabled());
    EXPECT_EQ(TextByteLimit(dialog.GetDlgItem(Dlg::IDC_KEYWORD)), 32);
    EXPECT_EQ(TextByteLimit(dialog.GetDlgItem(Dlg::IDC_CREATOR)), 32);

    auto* combo = qobject_cast<QComboBox*>(dialog.GetDlgItem(Dlg::IDC_DOMAIN));
    ASSERT_NE(combo, nullptr);
    ASSERT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->itemText(0).toStdString(), kDomain);
    EXPECT_EQ(combo->itemText(1).toStdString(), "alpha.test");
    EXPECT_EQ(combo->currentIndex(), 0);
    EXPECT_FALSE(combo->isHidden());
}

TEST_F(SearchDialogTest, ShowFlagHidesTheDomainRow)
{
    Dlg dialog(Link(), 1);
    dialog.InitialiseOnce();
    EXPECT_TRUE(dialog.GetDlgItem(Dlg::IDC_DOMAIN)->isHidden());
    EXPECT_TRUE(dialog.GetDlgItem(Dlg::IDC_DOMAIN_LABEL)->isHidden());
    EXPECT_EQ(dialog.GetDlgItemText(Dlg::IDC_DOMAIN).str(), kDomain);  // searches still go there
}

TEST_F(SearchDialogTest, SwitchingModesEmptiesTexts)
{
    Dlg dialog(Link(), 0);
    dialog.InitialiseOnce();
    dialog.SetDlgItemText(Dlg::IDC_KEYWORD, "chess");
    dialog.PressButton(Dlg::IDC_BY_CREATOR);  // both texts go
    EXPECT_EQ(dialog.GetDlgItemText(Dlg::IDC_KEYWORD), "");
    EXPECT_TRUE(dialog.GetDlgItem(Dlg::IDC_CREATOR)->isEnabled());
    EXPECT_FALSE(dialog.GetDlgItem(Dlg::IDC_KEYWORD)->isEnabled());
    dialog.SetDlgItemText(Dlg::IDC_CREATOR, "bob");
    dialog.SetDlgItemText(Dlg::IDC_KEYWORD, "kept");
    dialog.PressButton(Dlg::IDC_BY_NAME);  // the URI goes, the keyword stays
    EXPECT_EQ(dialog.GetDlgItemText(Dlg::IDC_CREATOR), "");
    EXPECT_EQ(dialog.GetDlgItemText(Dlg::IDC_KEYWORD), "kept");
}

TEST_F(SearchDialogTest, OkWithoutTextStaysOpenSilently)
{
    Dlg dialog(Link(), 0);
    Answer({}, IDOK);
    Answer({{Dlg::IDC_KEYWORD, "读书"}}, IDOK);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(dialog.GetMode(), Dlg::MODE_NAME);
    EXPECT_EQ(Utf8(dialog.GetKeyword()), "读书");
    EXPECT_EQ(dialog.GetDomain().str(), kDomain);

    Dlg creator(Link(), 0);
    Answer({{Dlg::IDC_CREATOR, "bob"}, {Dlg::IDC_BY_CREATOR, "1"}}, IDOK);
    EXPECT_EQ(creator.DoModal(), IDOK);
    EXPECT_EQ(creator.GetMode(), Dlg::MODE_CREATOR);
    EXPECT_EQ(creator.GetCreatorURI(), "bob");
}

TEST(SearchCreatorURI, CompletionLooksForTheTextsOnly)
{
    EXPECT_EQ(Dlg::CompleteCreatorURI("bob", "ims.test"), "sip:bob@ims.test");
    EXPECT_EQ(Dlg::CompleteCreatorURI("bob@host", "ims.test"), "sip:bob@host");
    EXPECT_EQ(Dlg::CompleteCreatorURI("sip:bob@host", "ims.test"), "sip:bob@host");
    EXPECT_EQ(Dlg::CompleteCreatorURI("sip:bob", "ims.test"), "sip:bob@ims.test");
    EXPECT_EQ(Dlg::CompleteCreatorURI("tel:123", "ims.test"), "sip:tel:123@ims.test");
    EXPECT_EQ(Dlg::CompleteCreatorURI("SIP:bob@host", "ims.test"), "sip:SIP:bob@host");
    // "\x81\x40" is one double-byte character whose trail byte is '@'.
    EXPECT_EQ(Dlg::CompleteCreatorURI("\x81\x40", "ims.test"), "sip:\x81\x40@ims.test");
}

} // namespace
} // namespace dialogs_test
