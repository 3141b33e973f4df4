// The group conversation window: sending with the property element, the
// input's pictures and codes, the length limit, showing messages, members,
// closing, and incoming group messages (host code 1034).
#include "conversation/TarvolanChatDialog.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QLayout>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTreeWidgetItem>

#include "SignedInTest.h"
#include "UnrtfReader.h"
#include "controls/TreeCtrlEx.h"
#include "conversation/ChatWindows.h"
#include "conversation/EmoticonPicker.h"
#include "conversation/RichMsgEdit.h"
#include "groups/GroupTreeModel.h"
#include "groups/Presence.h"
#include "res/ModuleResources.h"
#include "window/TarvolanDialog.h"
#include "module/TarvolanModule.h"
#include "support/FakeHost.h"

using namespace conversation_test;
using namespace tarvolan;
using testing_support::CFakeHost;

namespace {

class ChatDialogTest : public SignedInTest {
protected:
    void SetUp() override
    {
        SignedInTest::SetUp();
        m_group = AddGroup(Gbk("测试组"), 1);
        m_group->m_csOwnerURI = kMe;
        for (const char* uri : {"sip:ann@x.com", "sip:bob@x.com"}) {
            TMemberSlot slot;
            slot.uri = uri;
            Model().CreateOrUpdateMember(*m_group, slot);
        }
        m_chat = Chats().Open(*m_group);
        ASSERT_NE(m_chat, nullptr);
        m_host.Clear();
    }

    void Type(const QString& text)
    {
        for (QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(m_chat->Input(), &press);
        }
    }
    void PressKey(int key)
    {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(m_chat->Input(), &press);
    }
    CString InputText() const { return m_chat->Input()->GetWindowText(); }
    std::string OutputText() const { return GbkToUtf8(m_chat->Output()->GetWindowText().view()); }
    // The texts of the last group message sent (20008).
    std::vector<std::string> LastSent() const
    {
        const auto sent = m_host.Of(M_GroupMessage);
        return sent.empty() ? std::vector<std::string>() : sent.back().texts;
    }
    void Pick(int index) { m_chat->Picker()->ChooseItem(index); }
    // Delivers what the window queued (the length notice follows the change).
    static void Flush() { QCoreApplication::sendPostedEvents(); }

    CTarvolan* m_group = nullptr;
    CTarvolanChatDialog* m_chat = nullptr;
};

TEST_F(ChatDialogTest, OpensWithTheGroupAndItsMembers)
{
    EXPECT_TRUE(m_chat->isVisible());
    EXPECT_EQ(FromQt(m_chat->windowTitle()), Gbk("群组会话"));
    EXPECT_EQ(m_chat->GetDlgItemText(1224), Gbk("测试组"));
    EXPECT_FALSE(m_chat->SendButton()->isEnabled());
    EXPECT_FALSE(m_chat->GetDlgItem(1814)->isVisible());
    EXPECT_TRUE(m_chat->Output()->isReadOnly());
    EXPECT_EQ(m_chat->Picker()->GetItemCount(), 40);
    EXPECT_EQ(m_chat->Input()->GetLimitText(), 0x7FFFFFFF);
    EXPECT_EQ(m_chat->Picker()->GetItemCode(21), CString(":|"));
    EXPECT_EQ(m_chat->Picker()->GetItemCode(40), CString());
    EXPECT_FALSE(m_chat->Picker()->GetItemBitmap(39).isNull());
    EXPECT_EQ(m_chat->EmoticonCode(39), CString("(E)"));
    EXPECT_EQ(m_chat->EmoticonCode(40), CString());

    QTreeWidgetItem* root = m_chat->MemberTree()->topLevelItem(0);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(FromQt(root->text(0)), Gbk("群组: 测试组"));
    ASSERT_EQ(root->childCount(), 2);
    EXPECT_EQ(root->child(1)->text(0), QString("sip:bob@x.com"));
    EXPECT_TRUE(root->isExpanded());
}

// Enlarging the window enlarges the output and the member pane, whose
// addresses carry their whole text as a tooltip.
TEST_F(ChatDialogTest, EnlargingTheWindowEnlargesOutputAndMemberPane)
{
    const QSize output = m_chat->Output()->size();
    const QSize members = m_chat->MemberTree()->size();
    m_chat->resize(m_chat->width() + 400, m_chat->height() + 200);
    QCoreApplication::sendPostedEvents();
    EXPECT_GT(m_chat->Output()->width(), output.width());
    EXPECT_GT(m_chat->Output()->height(), output.height());
    EXPECT_GT(m_chat->MemberTree()->width(), members.width() + 50);
    EXPECT_EQ(m_chat->MemberTree()->topLevelItem(0)->child(1)->toolTip(0), QString("sip:bob@x.com"));
}

// From the smallest size the window allows up, every control lies inside
// the window, none covers another and none is squeezed below what it needs.
TEST_F(ChatDialogTest, NoControlOverlapsOrIsCutFromTheMinimumSizeUp)
{
    EXPECT_EQ(m_chat->minimumSize(), QSize(420, 320));
    const QSize needs = m_chat->layout()->minimumSize();
    EXPECT_TRUE(needs.width() <= 420 && needs.height() <= 320) << needs.width() << "x" << needs.height();
    const int ids[] = {1224, 1522, 1081, 1085, 1521, 1412, 1088};
    for (const QSize size : {m_chat->minimumSize(), QSize(1600, 1000)}) {
        m_chat->resize(size);
        QCoreApplication::sendPostedEvents();
        ASSERT_EQ(m_chat->size(), size);
        std::vector<QRect> placed;
        for (int id : ids) {
            const QWidget* control = m_chat->GetDlgItem(id);
            ASSERT_NE(control, nullptr);
            const QRect rect(control->mapTo(m_chat, QPoint(0, 0)), control->size());
            SCOPED_TRACE(testing::Message() << "control " << id << " at " << size.width() << "x" << size.height());
            EXPECT_TRUE(m_chat->rect().contains(rect));
            // What the layout holds a control to: its minimum size where one is set, else its hint.
            const QSize hint = control->minimumSizeHint();
            const QSize needed(control->minimumWidth() > 0 ? control->minimumWidth() : hint.width(),
                               control->minimumHeight() > 0 ? control->minimumHeight() : hint.height());
            EXPECT_GE(rect.width(), needed.width());
            EXPECT_GE(rect.height(), needed.height());
            for (const QRect& other : placed) EXPECT_FALSE(rect.intersects(other));
            placed.push_back(rect);
        }
    }
}

TEST_F(ChatDialogTest, MemberImagesFollowPresence)
{
    // Every presence has a picture of the strip, the same one as in the group tree.
    EXPECT_EQ(CTarvolanChatDialog::MemberImageIndex(6, 1), IMG_MEMBER);
    EXPECT_EQ(CTarvolanChatDialog::MemberImageIndex(1, 1), IMG_ONLINE);
    EXPECT_EQ(CTarvolanChatDialog::MemberImageIndex(1, 8), IMG_ONLINE);
    EXPECT_EQ(CTarvolanChatDialog::MemberImageIndex(1, 4), IMG_TALKING);
    EXPECT_EQ(CTarvolanChatDialog::MemberImageIndex(0, 9), IMG_CUSTOM);
    for (int kind = 0; kind <= 12; ++kind) {
        const int image = CTarvolanChatDialog::MemberImageIndex(kind, kind);
        EXPECT_EQ(image, MemberImage(kind, kind));
        EXPECT_LT(image, kTreeImageCount);
    }

    CTarvolanMember* bob = m_group->FindMember("sip:bob@x.com");
    QTreeWidgetItem* root = m_chat->MemberTree()->topLevelItem(0);
    QTreeWidgetItem* item = root->child(1);
    bob->m_nStatus = 1;
    bob->m_nPresenceKind = 2;
    m_chat->UpdateMemberItem(bob);
    EXPECT_EQ(m_chat->MemberTree()->topLevelItem(0)->child(1), item);  // updated in place

    TMemberSlot slot;
    slot.uri = "sip:cat@x.com";
    CTarvolanMember* cat = Model().CreateOrUpdateMember(*m_group, slot);
    m_chat->UpdateMemberItem(cat);  // not in the tree: the tree is filled again
    EXPECT_EQ(m_chat->MemberTree()->topLevelItem(0)->childCount(), 3);

    root = m_chat->MemberTree()->topLevelItem(0);
    root->setExpanded(false);
    EXPECT_FALSE(root->isExpanded());
    root->setExpanded(true);
}

TEST_F(ChatDialogTest, FirstMessageCarriesTheBareElement)
{
    SetAppResetLF(0);
    Type("hi there");
    EXPECT_TRUE(m_chat->SendButton()->isEnabled());
    m_chat->PressButton(1412);
    const auto sent = m_host.Of(M_GroupMessage);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].texts[0], "<property ></property>hi there");
    EXPECT_EQ(sent[0].texts[2], kGroupURI);
    EXPECT_EQ(sent[0].texts[3], "");
    // The summary comes from the text, not from the element.
    EXPECT_EQ(sent[0].texts[4], "hithere");
    EXPECT_TRUE(QString::fromStdString(sent[0].texts[1]).contains(QRegularExpression(" GMT[+-]\\d\\d:\\d\\d$")));
    EXPECT_EQ(sent[0].ints, (std::vector<long>{1, 2, 0}));
    EXPECT_EQ(InputText(), CString());
    EXPECT_FALSE(m_chat->SendButton()->isEnabled());
    EXPECT_NE(OutputText().find("* 你说：\r\nhi there\r\n"), std::string::npos);
}

TEST_F(ChatDialogTest, AfterAFontChangeTheElementCarriesTheFormat)
{
    TLogFont font;
    font.lfHeight = -16;
    font.lfWeight = 700;
    font.lfItalic = 1;
    std::strcpy(font.lfFaceName, "Arial");
    m_driver.PushFont(font, 0x000000FF);
    SetAppResetLF(0);
    Type("a");
    m_chat->PressButton(1081);
    EXPECT_EQ(GetAppResetLF(), 1);
    EXPECT_EQ(GetAppCharFormat()->yHeight, 240);
    EXPECT_EQ(GetAppCharFormat()->dwEffects, unsigned(CFE_BOLD | CFE_ITALIC));
    EXPECT_EQ(GetAppLogFont()->lfHeight, -16);
    EXPECT_EQ(m_chat->Input()->currentCharFormat().fontWeight(), QFont::Bold);
    Type("b");
    m_chat->PressButton(1412);
    EXPECT_EQ(LastSent().at(0),
              "<property italic=\"1\" bold=\"1\" size=\"240\" face=\"Arial\" color=\"0x000000ff\" "
              "></property>ab");

    // Cancelled: the format stays.
    m_chat->PressButton(1081);
    EXPECT_EQ(GetAppCharFormat()->yHeight, 240);
}

TEST_F(ChatDialogTest, SummaryIsEscapedAndTakenFromTheText)
{
    Type("<b>&");
    m_chat->OnSend();
    EXPECT_EQ(LastSent().at(4), "&lt;b&gt;&amp;");
    Type("x");
    m_chat->OnSend();
    EXPECT_EQ(LastSent().at(4), "x");
}

TEST_F(ChatDialogTest, TypedCodeBecomesAPictureButNotInAnotherCase)
{
    Type("a:)");
    EXPECT_EQ(InputText(), CString("a "));
    EXPECT_EQ(m_chat->Input()->PictureCount(), 1);
    EXPECT_EQ(m_chat->Typing().PictureMap().str(), std::string("E\x01"));
    EXPECT_EQ(m_chat->Typing().LastLength(), 2);
    Type(":d");
    EXPECT_EQ(InputText(), CString("a :d"));
    EXPECT_EQ(m_chat->Input()->PictureCount(), 1);
    Type("b");
    EXPECT_EQ(m_chat->Typing().PictureMap().str(), std::string("E\x01" "EEE"));
    m_chat->OnSend();
    EXPECT_EQ(LastSent().at(0), "<property ></property>a:):db");
}

TEST_F(ChatDialogTest, OneChangeWithTwoCodesReplacesBoth)
{
    m_chat->Input()->ReplaceSel("x(L)y:)z");  // as a paste does
    EXPECT_EQ(InputText(), CString("x y z"));
    EXPECT_EQ(m_chat->Typing().PictureMap().str(), std::string("E\x18" "E\x01" "E"));
    int start = 0, end = 0;
    m_chat->Input()->GetSel(start, end);
    EXPECT_EQ(start, 5);  // the caret stays behind the pasted text
    m_chat->OnSend();
    EXPECT_EQ(LastSent().at(0), "<property ></property>x(L)y:)z");
}

TEST_F(ChatDialogTest, PickerCodeIsRestoredAtSend)
{
    Type("ab");
    m_chat->Input()->SetSel(1, 1);
    Pick(23);
    EXPECT_EQ(InputText(), CString("a b"));
    EXPECT_TRUE(m_chat->SendButton()->isEnabled());
    Type("c");
    m_chat->OnSend();
    EXPECT_EQ(LastSent().at(0), "<property ></property>a(L)cb");

    // An input that holds only a picture is sent as its code.
    Pick(0);
    EXPECT_TRUE(m_chat->SendButton()->isEnabled());
    m_chat->OnSend();
    EXPECT_EQ(LastSent().at(0), "<property ></property>:)");
    EXPECT_EQ(LastSent().at(4), ":)");

    // A picture picked over a selection takes its place.
    Type("hello");
    m_chat->Input()->SetSel(1, 4);
    Pick(4);
    EXPECT_EQ(InputText(), CString("h o"));
    m_chat->OnSend();
    EXPECT_EQ(LastSent().at(0), "<property ></property>h(H)o");

    // No choice: nothing changes.
    Pick(-1);
    EXPECT_EQ(InputText(), CString());
}

TEST_F(ChatDialogTest, EditingAroundPicturesKeepsTheMapInStep)
{
    Type("abc");
    Pick(9);  // "abc" + picture
    m_chat->Input()->SetSel(0, 2);
    Type("Z");  // typed over a selection
    EXPECT_EQ(InputText(), CString("Zc "));
    EXPECT_EQ(m_chat->Typing().PictureMap().str(), std::string("EE\x0a"));
    m_chat->Input()->SetSel(3, 3);
    PressKey(Qt::Key_Backspace);  // the picture goes
    EXPECT_EQ(m_chat->Typing().PictureMap(), CString("EE"));
    m_chat->Input()->undo();      // and comes back
    EXPECT_EQ(m_chat->Typing().PictureMap().str(), std::string("EE\x0a"));
    m_chat->OnSend();
    EXPECT_EQ(LastSent().at(0), "<property ></property>Zc:(");
}

TEST_F(ChatDialogTest, InputIsLimitedTo400Bytes)
{
    Type(QString(398, 'a'));
    Type("bc");
    EXPECT_EQ(m_chat->Input()->GetWindowTextLength(), 400);
    EXPECT_TRUE(Messages().empty());
    m_chat->Input()->SetSel(100, 100);
    Type("d");  // the excess before the caret goes: what was just typed
    EXPECT_EQ(InputText(), CString(std::string(398, 'a') + "bc"));
    Flush();
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0], "超过最大允许字符数!");
    int start = 0, end = 0;
    m_chat->Input()->GetSel(start, end);
    EXPECT_EQ(start, 100);

    // A picker choice at 400 bytes inserts nothing.
    Pick(1);
    EXPECT_EQ(Messages().size(), 2u);
    EXPECT_EQ(m_chat->Input()->PictureCount(), 0);

    m_chat->Input()->SetSel(0, 5);
    Type("xyz");  // typed over a selection: shorter, nothing trimmed
    EXPECT_EQ(m_chat->Input()->GetWindowTextLength(), 398);
    EXPECT_EQ(Messages().size(), 2u);
    Pick(1);  // room again: 399 bytes
    EXPECT_EQ(m_chat->Input()->PictureCount(), 1);
    EXPECT_EQ(m_chat->Typing().PictureMap().GetLength(), 399);
}

TEST_F(ChatDialogTest, TrimNeverSplitsADoubleByteCharacter)
{
    Type(QString(399, 'a'));
    Type(QString::fromUtf8("中"));
    const CString text = InputText();
    EXPECT_EQ(text.GetLength(), 399);
    EXPECT_EQ(text, CString(std::string(399, 'a')));
    EXPECT_EQ(m_chat->Typing().PictureMap().GetLength(), 399);
    Flush();
    EXPECT_EQ(Messages().size(), 1u);
}

TEST_F(ChatDialogTest, TrimWithTheCaretNearTheStartStaysInTheText)
{
    // A long text arrives at once with the caret at its start.
    m_chat->Input()->setPlainText(QString(500, 'a'));
    EXPECT_EQ(m_chat->Input()->GetWindowTextLength(), 400);
    EXPECT_EQ(m_chat->Typing().PictureMap().GetLength(), 400);
    EXPECT_EQ(m_chat->Typing().LastLength(), 400);
    int start = 0, end = 0;
    m_chat->Input()->GetSel(start, end);
    EXPECT_EQ(start, 0);
}

TEST_F(ChatDialogTest, BannedWordsKeepTheInput)
{
    clientkit::SetBannedWords({"bad"});
    Type("so bad");
    Pick(23);
    m_chat->OnSend();
    EXPECT_EQ(m_host.Count(M_GroupMessage), 0u);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0], "您要发送的内容包含敏感词汇！");
    EXPECT_EQ(m_driver.Prompts().back().flags, unsigned(MB_ICONEXCLAMATION));
    EXPECT_EQ(InputText(), CString("so bad "));
    EXPECT_EQ(m_chat->Output()->GetWindowTextLength(), 0);

    // Editing on keeps the picture: it is still sent as its code.
    clientkit::SetBannedWords({});
    m_chat->Input()->SetSel(0, 3);
    PressKey(Qt::Key_Delete);
    m_chat->OnSend();
    EXPECT_EQ(LastSent().at(0), "<property ></property>bad(L)");
}

TEST_F(ChatDialogTest, EmptyInputSendsNothing)
{
    m_chat->OnSend();
    EXPECT_EQ(m_host.Count(M_GroupMessage), 0u);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(ChatDialogTest, HeaderWithAnEmptyTimeShowsTheLocalTime)
{
    m_chat->ShowMessageHeader("", "Bob", 0, "", 0);
    EXPECT_TRUE(QString::fromStdString(OutputText())
                    .contains(QRegularExpression("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\* Bob说：\r\n$")));
    m_chat->ShowMessageHeader("12:00", "Bob", 0, "me", 1);
    EXPECT_NE(OutputText().find("12:00* Bob悄悄地对你说：\r\n"), std::string::npos);
    m_chat->ShowMessageHeader("12:01", "Bob", 1, "sip:zed@x.com", 0);
    EXPECT_NE(OutputText().find("12:01* 你对zed说：\r\n"), std::string::npos);
}

TEST_F(ChatDialogTest, BodyShowsTheSendersFormatLineBreaksAndPercentSigns)
{
    m_chat->ShowMessageBody("<property bold=\"1\" color=\"0x000000ff\" ></property>50% %s %n$CRLFnext :d");
    EXPECT_EQ(OutputText(), "50% %s %n\r\nnext  \r\n");
    EXPECT_EQ(m_chat->Output()->PictureCount(), 1);
    EXPECT_EQ(m_chat->Output()->LastEmoticon(), 1);  // a received ":d" is picture 1
    QTextCursor probe(m_chat->Output()->document());
    probe.setPosition(2);
    EXPECT_EQ(probe.charFormat().fontWeight(), QFont::Bold);
    EXPECT_EQ(probe.charFormat().foreground().color(), QColor(255, 0, 0));

    m_chat->ShowMessageBodyPreset("plain", 3);
    probe.movePosition(QTextCursor::End);
    probe.movePosition(QTextCursor::Left, QTextCursor::MoveAnchor, 2);
    EXPECT_EQ(probe.charFormat().foreground().color(), QColor(255, 0, 0));  // preset 3 shows red
}

TEST_F(ChatDialogTest, LongConversationKeepsItsLatestLinesWithinWhatQtCanLayOut)
{
    m_chat->Output()->resize(m_chat->Output()->minimumSize());
    CString wide;
    for (int i = 0; i < 9000; ++i) wide += Gbk("测");  // the largest size shows 2-3 a line
    for (int i = 0; i < 14; ++i) {
        m_chat->ShowMessageHeader("12:00", "Bob", 0, "", 0);
        m_chat->ShowMessageBody("<property size=\"32767\" ></property>" + std::to_string(i) + wide.str());
    }
    QApplication::processEvents();  // the output rebuilt from what it kept
    QTextDocument* doc = m_chat->Output()->document();
    EXPECT_LE(doc->characterCount(), CTarvolanChatDialog::kOutputLimit);
    EXPECT_GE(doc->characterCount(), CTarvolanChatDialog::kOutputKept - 10000);
    EXPECT_EQ(doc->firstBlock().text().left(9), QString("12:00* Bo"));  // whole lines went
    EXPECT_TRUE(doc->lastBlock().previous().text().startsWith("13"));
    EXPECT_LT(doc->size().height(), 4.0e6);
}

TEST_F(ChatDialogTest, OwnMessageShowsTypedPercentSigns)
{
    Type("100% %d");
    m_chat->OnSend();
    EXPECT_NE(OutputText().find("\r\n100% %d\r\n"), std::string::npos);
}

TEST_F(ChatDialogTest, RecentMessagesAreShownGrey)
{
    m_group->m_MsgListRecent.push_back({"1", kMe, "09:00", "<property bold=\"1\" ></property>mine"});
    m_group->m_MsgListRecent.push_back({"2", "sip:ann@x.com", "09:01", "theirs &lt;"});
    m_chat->LoadRecentMessage();
    EXPECT_EQ(OutputText(), "09:00* 你说：\r\nmine\r\n09:01* ann说：\r\ntheirs &lt;\r\n"
                            "=======================================\r\n");
    QTextCursor probe(m_chat->Output()->document());
    probe.setPosition(3);
    EXPECT_EQ(probe.charFormat().foreground().color(), QColor(0x80, 0x80, 0x80));

    m_group->m_MsgListRecent.clear();
    m_chat->LoadRecentMessage();  // nothing more
    EXPECT_NE(OutputText().find("====\r\n"), std::string::npos);
}

TEST_F(ChatDialogTest, CloseAsksTheOwnerOfEdition3AndDeletesOnYes)
{
    clientkit::SetEdition(0, 3, 0, 0);
    m_driver.PushAnswer(IDYES);
    m_chat->close();
    ASSERT_EQ(m_driver.Prompts().size(), 1u);
    EXPECT_EQ(GbkToUtf8(m_driver.Prompts()[0].text.view()), "您确定要删除 sip:g1@x.com 组?");
    EXPECT_EQ(m_driver.Prompts()[0].flags, unsigned(MB_YESNO | MB_ICONQUESTION));
    const auto deletes = m_host.Of(M_DeleteGroup);
    ASSERT_EQ(deletes.size(), 1u);
    EXPECT_EQ(deletes[0].texts[0], Gbk("测试组").str());
    EXPECT_EQ(Chats().Find(*m_group), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST_F(ChatDialogTest, CloseWithoutTheQuestionAndEscapeJustClose)
{
    clientkit::SetEdition(0, 1, 0, 0);
    m_chat->close();
    EXPECT_TRUE(m_driver.Prompts().empty());
    EXPECT_EQ(Chats().Find(*m_group), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    auto* again = Chats().Open(*m_group);
    ASSERT_NE(again, nullptr);
    clientkit::SetEdition(0, 3, 0, 0);
    m_driver.PushAnswer(IDNO);
    again->close();
    EXPECT_EQ(m_host.Count(M_DeleteGroup), 0u);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    auto* third = Chats().Open(*m_group);
    third->OnCancel();  // Escape
    EXPECT_EQ(Chats().Find(*m_group), nullptr);
    EXPECT_TRUE(m_driver.Prompts().size() == 1u);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// What the input held when the window closed comes back with the group's
// next window (tests/scenarios/draft.json: Escape, pictures, sending); a
// sent input leaves nothing, and the draft goes with the group.
TEST_F(ChatDialogTest, UnsentDraftSurvivesClosingAndGoesWithTheGroup)
{
    auto reopen = [this] {
        m_chat->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        m_chat = Chats().Open(*m_group);
    };
    clientkit::SetEdition(0, 1, 0, 0);
    Type(QString::fromUtf8("草稿"));
    Pick(9);
    reopen();
    EXPECT_EQ(InputText(), Gbk("草稿 "));
    EXPECT_EQ(m_chat->Typing().PictureMap().str(), std::string("EEEE\x0a"));
    EXPECT_TRUE(m_chat->SendButton()->isEnabled());
    m_chat->OnSend();
    reopen();
    EXPECT_EQ(InputText(), CString());

    Type("x");
    m_chat->close();
    Model().RemoveGroup(kGroupURI);
    TGroupListEntry entry;
    entry.uri = kGroupURI;
    entry.kind = 2;
    m_group = Model().CreateOrUpdateGroup(entry);
    EXPECT_EQ(m_group->m_pDraft, nullptr);
}

TEST_F(ChatDialogTest, TheGroupGoingWhileTheQuestionIsOpenIsSafe)
{
    clientkit::SetEdition(0, 3, 0, 0);
    m_driver.onPrompt = [this](const TPrompt&) { Model().RemoveGroup(kGroupURI); };
    m_chat->close();
    m_driver.onPrompt = nullptr;
    EXPECT_EQ(Model().FindGroup(kGroupURI), nullptr);
    EXPECT_EQ(m_host.Count(M_DeleteGroup), 0u);
}

TEST_F(ChatDialogTest, GroupNameLineTakesNoInput)
{
    QWidget* name = m_chat->GetDlgItem(1224);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, "x");
    QApplication::sendEvent(name, &press);
    EXPECT_EQ(m_chat->GetDlgItemText(1224), Gbk("测试组"));
    EXPECT_EQ(name->focusPolicy(), Qt::NoFocus);
}

// ---- the conversation saved as RTF -------------------------------------------------------

// The output saved from its menu as a person saves it, read back by unrtf:
// the senders' texts in their colours and fonts, the Chinese text and the
// emoticon picture survive.
TEST_F(ChatDialogTest, SavedConversationReadsBackInUnrtf)
{
    m_chat->ShowMessageHeader("12:00", "Bob", 0, "", 0);
    m_chat->ShowMessageBody("<property bold=\"1\" size=\"240\" face=\"Arial\" color=\"0x000000ff\" ></property>"
                            "red words :d");
    m_chat->ShowMessageHeader("12:01", Gbk("李娜"), 0, "", 0);
    m_chat->ShowMessageBody(Gbk("<property italic=\"1\" face=\"Courier New\" color=\"0x00ff0000\" ></property>"
                                "读到第二部了。"));
    ASSERT_EQ(m_chat->Output()->PictureCount(), 1);
    const CString name = TempPath("talk");
    m_driver.PushFileName(name);
    m_chat->Output()->OnCommand(CRichMsgEdit::ID_SAVE_ALL, 0);

    QTemporaryDir folder;
    const QByteArray html = UnrtfHtml(ToQt(name + ".RTF"), folder.path());
    if (HasFailure()) return;
    SCOPED_TRACE(html.toStdString());
    // unrtf writes text other than ASCII as one &#N; per UTF-16 unit.
    auto entities = [](const char* utf8) {
        QByteArray out;
        for (QChar c : QString::fromUtf8(utf8)) out += "&#" + QByteArray::number(c.unicode()) + ';';
        return out;
    };
    EXPECT_TRUE(html.contains("<font color=\"#007f7f\">12:01* " + entities("李娜说：") + "<br>"));
    EXPECT_TRUE(html.contains("<font face=\"Arial\"><font size=\"3\"><font color=\"#ff0000\"><b>red words "));
    EXPECT_TRUE(html.contains("<font face=\"Courier New\"><font color=\"#0000ff\"><i>" + entities("读到第二部了。")));

    // The picture comes out as the emoticon it was, pixel for pixel (premultiplied:
    // a transparent pixel keeps no colour of its own).
    EXPECT_TRUE(html.contains("<img src=\"pict001.png\">"));
    EXPECT_FALSE(QFile::exists(folder.filePath("pict002.png")));
    const QImage picture(folder.filePath("pict001.png"));
    const QImage emoticon(ToQt(m_chat->Output()->PicturePath(1)));
    ASSERT_FALSE(emoticon.isNull());
    EXPECT_EQ(picture.convertToFormat(QImage::Format_ARGB32_Premultiplied),
              emoticon.convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

// ---- incoming group messages ---------------------------------------------------------

class GroupMessageTest : public SignedInTest {
protected:
    void SetUp() override
    {
        SignedInTest::SetUp();
        m_group = AddGroup("g1", 2);
        m_host.Clear();
    }
    // Sends code 1034 and returns word 4.
    Word Receive(const char* address, const char* sender, const char* text, int type = 2)
    {
        Word record[5] = {type, reinterpret_cast<Word>(address), reinterpret_cast<Word>(sender),
                          reinterpret_cast<Word>(text), 0};
        m_module->OnMessage(0, H_GroupMessage, record);
        return record[4];
    }

    CTarvolan* m_group = nullptr;
};

TEST_F(GroupMessageTest, OwnMessagesAreDroppedAsHandled)
{
    EXPECT_EQ(Receive("sip:g1@x.com/chat", kMe, "hello"), 1);
    EXPECT_EQ(Chats().Find(*m_group), nullptr);
    const auto requests = m_host.Of(M_RequestGroupInfo);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].texts[0], "sip:g1@x.com/chat");
}

TEST_F(GroupMessageTest, AMessageOpensTheGroupsWindowAndRequestsItsInformationOnce)
{
    EXPECT_EQ(Receive("sip:g1@x.com/chat", "sip:ann@x.com", "hi :)"), 1);
    auto* chat = Chats().Find(*m_group);
    ASSERT_NE(chat, nullptr);
    EXPECT_TRUE(chat->isVisible());
    const std::string shown = GbkToUtf8(chat->Output()->GetWindowText().view());
    EXPECT_NE(shown.find("* ann说：\r\nhi  \r\n"), std::string::npos);
    EXPECT_EQ(chat->Output()->PictureCount(), 1);

    EXPECT_EQ(Receive("sip:g1@x.com/chat", "sip:bob@x.com", "again"), 1);
    EXPECT_EQ(Chats().Find(*m_group), chat);
    EXPECT_EQ(m_host.Count(M_RequestGroupInfo), 1u);
    EXPECT_EQ(m_host.Count(M_GroupMessage), 0u);
}

TEST_F(GroupMessageTest, UnknownGroupsOtherTypesAndNullTextsAreNotHandled)
{
    EXPECT_EQ(Receive("sip:other@x.com", "sip:ann@x.com", "x"), 0);
    EXPECT_EQ(Receive("sip:g1@x.com", "sip:ann@x.com", "x", 1), 0);
    EXPECT_EQ(m_host.Count(M_RequestGroupInfo), 0u);
    EXPECT_EQ(Receive(nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(Receive(kGroupURI, nullptr, nullptr), 1);  // shown from nobody, with no text
    ASSERT_NE(Chats().Find(*m_group), nullptr);
    m_module->OnMessage(0, H_GroupMessage, nullptr);
}

} // namespace
