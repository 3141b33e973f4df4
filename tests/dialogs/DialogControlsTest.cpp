// The control helpers of the dialogs: byte limits on edits, integer edits
// and radio groups.
#include "dialogs/DialogControls.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTextCursor>
#include <QVBoxLayout>

#include "DialogsTestSupport.h"

using namespace tarvolan;

using namespace dialogs_test;

namespace {

class DialogControlsTest : public ::testing::Test {
protected:
    DialogControlsTest()
    {
        auto* layout = new QVBoxLayout(&m_dialog);
        m_line = new QLineEdit(&m_dialog);
        m_line->setObjectName("id10");
        m_plain = new QPlainTextEdit(&m_dialog);
        m_plain->setObjectName("id11");
        layout->addWidget(m_line);
        layout->addWidget(m_plain);
        for (int id : {20, 21, 22}) {
            auto* radio = new QRadioButton(&m_dialog);
            radio->setObjectName(QStringLiteral("id%1").arg(id));
            layout->addWidget(radio);
        }
    }
    std::string Line() const { return m_line->text().toStdString(); }

    CDialog m_dialog;
    QLineEdit* m_line;
    QPlainTextEdit* m_plain;
};

TEST_F(DialogControlsTest, WhatDoesNotFitOfAnInsertionIsLeftOut)
{
    LimitTextBytes(m_line, 8);
    EXPECT_EQ(TextByteLimit(m_line), 8);
    m_line->setText("abcdef");
    m_line->setCursorPosition(3);
    m_line->insert("XYZ");  // room for two
    EXPECT_EQ(Line(), "abcXYdef");
    EXPECT_EQ(m_line->cursorPosition(), 5);
    m_line->insert("Q");  // no room at all: the text stays
    EXPECT_EQ(Line(), "abcXYdef");
}

TEST_F(DialogControlsTest, CutsFallOnCharacterBoundaries)
{
    LimitTextBytes(m_line, 5);
    m_line->setText(QString::fromUtf8("中文字"));  // 6 bytes
    EXPECT_EQ(m_line->text(), QString::fromUtf8("中文"));
    // A character outside GBK is never cut in half.
    m_line->setText(QString::fromUtf8("ab😀😀😀😀"));
    ASSERT_FALSE(m_line->text().isEmpty());
    EXPECT_FALSE(m_line->text().back().isHighSurrogate());
    EXPECT_LE(FromQt(m_line->text()).GetLength(), 5);
}

TEST_F(DialogControlsTest, ALongerTextThereBeforeTheLimitStaysButTakesNothingMore)
{
    m_plain->setPlainText("0123456789");
    LimitTextBytes(m_plain, 6);
    EXPECT_EQ(m_plain->toPlainText().toStdString(), "0123456789");
    m_plain->moveCursor(QTextCursor::End);
    m_plain->insertPlainText("X");
    EXPECT_EQ(m_plain->toPlainText().toStdString(), "0123456789");
    m_plain->setPlainText("line\nline\n");  // a new text counts as typed
    EXPECT_EQ(m_plain->toPlainText().toStdString(), "line\nl");
    LimitTextBytes(m_plain, 3);
    EXPECT_EQ(TextByteLimit(m_plain), 3);
    EXPECT_EQ(m_plain->toPlainText().toStdString(), "line\nl");
    EXPECT_EQ(TextByteLimit(nullptr), 0);
}

TEST_F(DialogControlsTest, IntegerEditsReadOnlyWholeNumbers)
{
    int32_t value = 7;
    SetDlgItemInt32(m_dialog, 10, -42);
    EXPECT_EQ(Line(), "-42");
    for (const char* bad : {"", " ", "1x", "+", "2147483648", "-2147483649", "1.5"}) {
        m_line->setText(bad);
        EXPECT_FALSE(GetDlgItemInt32(m_dialog, 10, value)) << bad;
        EXPECT_EQ(value, 7);
    }
    m_line->setText(" -2147483648 ");
    EXPECT_TRUE(GetDlgItemInt32(m_dialog, 10, value));
    EXPECT_EQ(value, INT32_MIN);
    m_line->setText("+2147483647");
    EXPECT_TRUE(GetDlgItemInt32(m_dialog, 10, value));
    EXPECT_EQ(value, INT32_MAX);
}

TEST_F(DialogControlsTest, RadioGroupsByIndex)
{
    SetRadioIndex(m_dialog, {20, 21, 22}, 1);
    EXPECT_EQ(GetRadioIndex(m_dialog, {20, 21, 22}), 1);
    SetRadioIndex(m_dialog, {20, 21, 22}, 2);
    EXPECT_EQ(GetRadioIndex(m_dialog, {20, 21, 22}), 2);
    for (int32_t outside : {-1, 3}) {
        SetRadioIndex(m_dialog, {20, 21, 22}, outside);
        EXPECT_EQ(GetRadioIndex(m_dialog, {20, 21, 22}), -1);
    }
    EXPECT_TRUE(qobject_cast<QRadioButton*>(m_dialog.GetDlgItem(20))->autoExclusive());
}

} // namespace
