// The module's string table, group menu and tree image strip. The module's
// resource sources are compiled into this test directly (they belong to the
// module library, which this test does not link).
#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <QCoreApplication>
#include <QImage>
#include <QRegularExpression>
#include <QTranslator>
#include <gtest/gtest.h>

#include "res/ModuleStrings.cpp"

using namespace tarvolan;

namespace {

class ModuleStrings : public ::testing::Test {
protected:
    void SetUp() override { AddTarvolanStrings(m_bundle); }
    std::string Utf8(int id) const { return GbkToUtf8(m_bundle.String(id).view()); }
    CResourceBundle m_bundle{"Tarvolan"};
};

TEST_F(ModuleStrings, HoldTheTextsExactly)
{
    EXPECT_EQ(Utf8(38063), " 邀请您加入群组 %s，同意?");
    EXPECT_EQ(Utf8(38049), "查询失败，原因可能是：该群组只有管理员（成员）可见!");
    EXPECT_EQ(Utf8(38060), "删除 %s 群组的 %s 成员吗 ?");
    EXPECT_EQ(Utf8(38016), "组[%s]已经存在");
    EXPECT_EQ(Utf8(38001), "超过最大允许字符数!");
    EXPECT_EQ(Utf8(38017), "群组管理");
    EXPECT_EQ(Utf8(38031), "群组会话");
    EXPECT_EQ(Utf8(38114), "群主 %s 将 %s 群转让给您，是否接受？");
    EXPECT_EQ(Utf8(38116), "%s 拒绝了转让群组 %s 的请求！");
}

TEST_F(ModuleStrings, AreAllWithinTheirRangeAndConvertWithoutLoss)
{
    int count = 0;
    for (const TStringEntry& entry : kStrings) {
        EXPECT_GE(entry.id, 38000);
        EXPECT_LE(entry.id, 38116);
        EXPECT_EQ(Utf8(entry.id), entry.text.utf8) << entry.id;
        ++count;
    }
    EXPECT_EQ(count, 104);
    EXPECT_FALSE(m_bundle.HasString(38000));
}

// The printf conversions of a text, positional ones ("%2$s") by their
// position and plain ones in order: "%s %s" and "%2$s %1$s" both give "1s 2s".
std::vector<std::string> Conversions(const std::string& text)
{
    static const QRegularExpression conversion(QStringLiteral("%(?:(\\d)\\$)?([a-z%])"));
    std::vector<std::string> found;
    int next = 1;
    for (const auto& m : conversion.globalMatch(QString::fromStdString(text))) {
        const int position = m.captured(1).isEmpty() ? next++ : m.captured(1).toInt();
        found.push_back(std::to_string(position) + m.captured(2).toStdString());
    }
    std::sort(found.begin(), found.end());
    return found;
}

// Every text of the table has its English translation, filled from the same
// arguments: the same conversions, reordered only by position.
TEST_F(ModuleStrings, EveryTextHasAnEnglishOneWithTheSameConversions)
{
    QTranslator english;
    ASSERT_TRUE(english.load(QStringLiteral(TARVOLAN_BIN_DIR "/translations/tarvolan_en.qm")));
    QCoreApplication::installTranslator(&english);
    for (const TStringEntry& entry : kStrings) {
        const std::string translated = Utf8(entry.id);
        EXPECT_NE(translated, entry.text.utf8) << entry.id;
        EXPECT_EQ(Conversions(translated), Conversions(entry.text.utf8)) << entry.id << ": " << translated;
    }
    // A translation reorders its arguments by position.
    CString question;
    question.Format(m_bundle.String(38060).c_str(), "Product Team", "Alice");
    EXPECT_EQ(question, CString("Remove member Alice from group Product Team?"));
    QCoreApplication::removeTranslator(&english);
}

TEST(ModuleMenu, HoldsOnePopupWithTheCommandsInOrder)
{
    const TMenuItem menu = TarvolanGroupMenu();
    ASSERT_EQ(menu.children.size(), 1u);
    std::vector<int> ids;
    for (const TMenuItem& item : menu.children[0].children) ids.push_back(item.id);
    const std::vector<int> expected = {13054, 13056, 13058, 13095, 13060, 13071, 0,     13068, 13064,
                                       13079, 13062, 13171, 13066, 0,     32772, 32773, 32771, 13144};
    EXPECT_EQ(ids, expected);
    EXPECT_EQ(GbkToUtf8(menu.children[0].children[1].text.view()), "创建群组(&C)");
    EXPECT_EQ(GbkToUtf8(menu.children[0].children[9].text.view()), "修改我的名字(&N)");
    EXPECT_TRUE(menu.children[0].children[6].text.IsEmpty());
}

TEST(ModuleImages, StripHoldsTwelveCellsOnAWhiteKey)
{
    const QImage strip(QStringLiteral(TARVOLAN_SOURCE_DIR "/src/res/images/tree_images.png"));
    ASSERT_FALSE(strip.isNull());
    EXPECT_EQ(strip.width(), kTreeImageSize * kTreeImageCount);
    EXPECT_EQ(strip.height(), kTreeImageSize);
    for (int cell = 0; cell < kTreeImageCount; ++cell) {
        int drawn = 0;
        for (int y = 0; y < kTreeImageSize; ++y) {
            for (int x = 0; x < kTreeImageSize; ++x) {
                if ((strip.pixel(cell * kTreeImageSize + x, y) & 0xFFFFFF) != 0xFFFFFF) ++drawn;
            }
        }
        EXPECT_GT(drawn, 40) << "cell " << cell;
        EXPECT_EQ(strip.pixel(cell * kTreeImageSize, 0) & 0xFFFFFF, 0xFFFFFFu) << "cell " << cell;
    }

    std::ifstream qrc(TARVOLAN_SOURCE_DIR "/src/res/tarvolan.qrc");
    std::stringstream text;
    text << qrc.rdbuf();
    EXPECT_NE(text.str().find("images/tree_images.png"), std::string::npos);
}

} // namespace
