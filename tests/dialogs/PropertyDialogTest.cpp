// The properties dialog: what it shows, and the reload of its group from the
// registry on command 987656666 while it runs.
#include "dialogs/TarvolanPropertyDialog.h"

#include <memory>

#include <QAbstractButton>

#include "DialogsTestSupport.h"
#include "groups/GroupData.h"

using namespace tarvolan;

using namespace dialogs_test;

namespace {

using Dlg = CTarvolanPropertyDialog;
constexpr const char kGroupURI[] = "sip:g1@ims.test";

bool IsChecked(CDialog* dialog, int id)
{
    auto* button = qobject_cast<QAbstractButton*>(dialog->GetDlgItem(id));
    return button && button->isChecked();
}

class PropertyDialogTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        m_registry = std::make_unique<CGroupData>();
    }

    // The group as the host reported it; me a member named myName ("" none).
    void PutGroup(const char* uri, const char* myName)
    {
        TGroupListEntry entry;
        entry.uri = uri;
        entry.name = Gbk("新名字");
        entry.kind = GROUP_PUBLIC;
        entry.owner = "sip:owner@ims.test";
        entry.creator = "sip:creator@ims.test";
        entry.visibility = 3;
        entry.duration = 30;
        entry.needPermit = 0;
        entry.maxMembers = 200;
        entry.subject = "new subject";
        entry.bulletin = "new bulletin";
        m_registry->GroupList().AddOrUpdate(entry);
        CGroupRecord* record = m_registry->GroupTable().Add(uri);
        ASSERT_NE(record, nullptr);
        record->kind = GROUP_PUBLIC;
        std::vector<TMemberSlot> members(1);
        members[0].uri = "sip:owner@ims.test";
        members[0].displayName = "Owner";
        if (*myName) {
            members.emplace_back();
            members.back().uri = kMe;
            members.back().displayName = Gbk(myName);
        }
        record->SetMembers(members);
    }

    // As the group command fills it for a group I joined.
    void Fill(Dlg& dialog)
    {
        dialog.SetGroupURI(kGroupURI);
        dialog.SetGroupName(Gbk("旧名字"));
        dialog.SetCreator("creator@ims.test");
        dialog.SetOwner("owner@ims.test");
        dialog.SetRole(Dlg::ROLE_INDEX_MEMBER);
        dialog.SetMyDisplayName("old me");
        dialog.SetSubject("subject");
        dialog.SetBulletin("bulletin");
        dialog.SetVisibility(1);
        dialog.SetNeedPermit(1);
        dialog.SetMaxMembers(100);
        dialog.SetDuration(10);
    }

    // Sends the refresh as the group information handler does: to the window
    // captioned "群组属性".
    static bool SendRefresh(intptr_t lParam = 0)
    {
        QWidget* window = FindWindowByCaption(LoadResString(IDS_PROPERTY_CAPTION));
        return window && SendCommand(window, Dlg::kRefreshCommand, lParam);
    }

    std::unique_ptr<CGroupData> m_registry;
};

TEST_F(PropertyDialogTest, ShowsTheValuesForReadingOnly)
{
    Dlg dialog(Link(), m_registry.get());
    Fill(dialog);
    Answer({}, IDOK, [](CDialog* d) {
        EXPECT_EQ(Utf8(d->GetDlgItemText(Dlg::IDC_GROUP_NAME)), "旧名字");
        EXPECT_EQ(d->GetDlgItemText(Dlg::IDC_CREATOR), "creator@ims.test");
        EXPECT_EQ(d->GetDlgItemText(Dlg::IDC_OWNER), "owner@ims.test");
        EXPECT_EQ(d->GetDlgItemText(Dlg::IDC_DISPLAY_NAME), "old me");
        EXPECT_EQ(d->GetDlgItemText(Dlg::IDC_SUBJECT), "subject");
        EXPECT_EQ(d->GetDlgItemText(Dlg::IDC_BULLETIN), "bulletin");
        EXPECT_FALSE(IsChecked(d, Dlg::IDC_ROLE_CREATOR));
        EXPECT_TRUE(IsChecked(d, Dlg::IDC_ROLE_MEMBER));
        EXPECT_TRUE(IsChecked(d, Dlg::IDC_VISIBILITY_MEMBERS));
        EXPECT_TRUE(IsChecked(d, Dlg::IDC_JOIN_CONFIRM));
        EXPECT_EQ(d->GetDlgItemText(Dlg::IDC_MAX_MEMBERS), "100");
        EXPECT_EQ(d->GetDlgItemText(Dlg::IDC_DURATION), "10");
        for (int id : {Dlg::IDC_GROUP_NAME, Dlg::IDC_ROLE_CREATOR, Dlg::IDC_ROLE_MEMBER, Dlg::IDC_CREATOR,
                       Dlg::IDC_OWNER, Dlg::IDC_DISPLAY_NAME, Dlg::IDC_SUBJECT, Dlg::IDC_BULLETIN}) {
            EXPECT_TRUE(d->GetDlgItem(id)->isVisibleTo(d)) << id;
            EXPECT_FALSE(d->GetDlgItem(id)->isEnabled()) << id;
        }
        for (int id : {Dlg::IDC_VISIBILITY_ADMIN, Dlg::IDC_JOIN_AUTO, Dlg::IDC_MAX_MEMBERS, Dlg::IDC_DURATION})
            EXPECT_FALSE(d->GetDlgItem(id)->isVisibleTo(d)) << id;
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(ModalCaption(), "群组属性");
    EXPECT_TRUE(AskedForMediaSkin(&dialog));
}

TEST_F(PropertyDialogTest, NoRoleChecksNeitherRole)
{
    Dlg dialog(Link());
    Answer({}, IDCANCEL, [](CDialog* d) {
        EXPECT_FALSE(IsChecked(d, Dlg::IDC_ROLE_CREATOR));
        EXPECT_FALSE(IsChecked(d, Dlg::IDC_ROLE_MEMBER));
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

TEST_F(PropertyDialogTest, RefreshReloadsTheGroupAndShowsTheStoredURIs)
{
    PutGroup(kGroupURI, "新的我");
    {
    Dlg dialog(Link(), m_registry.get());
    Fill(dialog);
    Answer({}, IDOK, [](CDialog* d) {
        ASSERT_TRUE(SendRefresh());
        EXPECT_EQ(Utf8(d->GetDlgItemText(Dlg::IDC_GROUP_NAME)), "新名字");
        EXPECT_EQ(d->GetDlgItemText(Dlg::IDC_CREATOR), "sip:creator@ims.test");
        EXPECT_EQ(d->GetDlgItemText(Dlg::IDC_OWNER), "sip:owner@ims.test");
        EXPECT_EQ(Utf8(d->GetDlgItemText(Dlg::IDC_DISPLAY_NAME)), "新的我");
        EXPECT_EQ(d->GetDlgItemText(Dlg::IDC_SUBJECT), "new subject");
        EXPECT_EQ(d->GetDlgItemText(Dlg::IDC_BULLETIN), "new bulletin");
        EXPECT_TRUE(IsChecked(d, Dlg::IDC_VISIBILITY_ALL));
        EXPECT_TRUE(IsChecked(d, Dlg::IDC_JOIN_AUTO));
        EXPECT_EQ(d->GetDlgItemText(Dlg::IDC_MAX_MEMBERS), "200");
        EXPECT_EQ(d->GetDlgItemText(Dlg::IDC_DURATION), "30");
        EXPECT_TRUE(IsChecked(d, Dlg::IDC_ROLE_MEMBER));  // the role stays
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.GetRole(), Dlg::ROLE_INDEX_MEMBER);
    EXPECT_EQ(dialog.GetVisibility(), 2);
    }
    // Gone with its command: a later refresh finds no window.
    EXPECT_FALSE(SendRefresh());
}

TEST_F(PropertyDialogTest, RefreshForAGroupThatNoLongerHasMeEmptiesMyDisplayName)
{
    PutGroup(kGroupURI, "");
    Dlg dialog(Link(), m_registry.get());
    Fill(dialog);
    Answer({}, IDOK, [](CDialog* d) {
        SendRefresh();
        EXPECT_TRUE(d->GetDlgItemText(Dlg::IDC_DISPLAY_NAME).IsEmpty());
    });
    dialog.DoModal();
    EXPECT_TRUE(dialog.GetMyDisplayName().IsEmpty());
}

TEST_F(PropertyDialogTest, WhatCannotBeFoundLeavesTheValues)
{
    // Only a table record: the attributes stay, my display name follows it.
    CGroupRecord* record = m_registry->GroupTable().Add(kGroupURI);
    TMemberSlot me;
    me.uri = kMe;
    me.displayName = "table me";
    record->SetMembers({me});
    Dlg dialog(Link(), m_registry.get());
    Fill(dialog);
    dialog.Refresh();
    EXPECT_EQ(Utf8(dialog.GetGroupName()), "旧名字");
    EXPECT_EQ(dialog.GetOwner(), "owner@ims.test");
    EXPECT_EQ(dialog.GetMyDisplayName(), "table me");

    // Another group only: nothing changes.
    Dlg other(Link(), m_registry.get());
    Fill(other);
    other.SetGroupURI("sip:unknown@ims.test");
    other.Refresh();
    EXPECT_EQ(other.GetMyDisplayName(), "old me");
    EXPECT_EQ(other.GetMaxMembers(), 100);
}

TEST_F(PropertyDialogTest, OnlyTheRefreshCommandWithoutParameterReloads)
{
    PutGroup(kGroupURI, "x");
    Dlg dialog(Link(), m_registry.get());
    Fill(dialog);
    dialog.OnCommand(Dlg::kRefreshCommand, 1);
    dialog.OnCommand(Dlg::kRefreshCommand + 1, 0);
    EXPECT_EQ(dialog.GetMaxMembers(), 100);
    EXPECT_TRUE(dialog.OnCommand(Dlg::kRefreshCommand, 0));
    EXPECT_EQ(dialog.GetMaxMembers(), 200);
}

TEST_F(PropertyDialogTest, AnEmptyGroupURIMatchesNoContactListAndNoRegistryIsHarmless)
{
    TGroupListEntry contacts;  // the usage-3 contact list has no URI
    contacts.name = "contacts";
    contacts.kind = GROUP_CONTACT_LIST;
    contacts.usage = 3;
    contacts.maxMembers = 999;
    m_registry->GroupList().AddOrUpdate(contacts);
    Dlg dialog(Link(), m_registry.get());
    dialog.SetGroupName("g");
    dialog.Refresh();
    EXPECT_EQ(dialog.GetGroupName(), "g");
    EXPECT_EQ(dialog.GetMaxMembers(), 0);

    Dlg orphan(Link());
    Fill(orphan);
    orphan.Refresh();
    EXPECT_EQ(orphan.GetMaxMembers(), 100);
}

} // namespace
