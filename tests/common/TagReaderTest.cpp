#include "common/TagReader.h"

#include <gtest/gtest.h>

#include <string>

using namespace tarvolan;

namespace {

TEST(TagReaderTest, AttributesQuotedUnquotedAndSingleQuoted)
{
    CTagReader reader;
    ASSERT_TRUE(reader.Load("<property bold=\"1\" size=240 face='Times New Roman' color=\"0x000000ff\" ></property>"));
    ASSERT_TRUE(reader.FindElement("property"));
    CString value;
    EXPECT_TRUE(reader.GetAttribute("bold", value));
    EXPECT_EQ(value, "1");
    EXPECT_TRUE(reader.GetAttribute("size", value));
    EXPECT_EQ(value, "240");
    EXPECT_TRUE(reader.GetAttribute("face", value));
    EXPECT_EQ(value, "Times New Roman");
    EXPECT_TRUE(reader.GetAttribute("color", value));
    EXPECT_EQ(value, "0x000000ff");
    EXPECT_FALSE(reader.GetAttribute("italic", value));
    EXPECT_EQ(value, "");
    // Names compare case-sensitively; blanks, line breaks and "=" all separate.
    EXPECT_FALSE(reader.GetAttribute("Bold", value));
    ASSERT_TRUE(reader.Load("<a\tx\r\n=\n'v 1' y==2 z>"));
    EXPECT_TRUE(reader.GetAttribute("x", value));
    EXPECT_EQ(value, "v 1");
    EXPECT_TRUE(reader.GetAttribute("y", value));
    EXPECT_EQ(value, "2");
    // A name at the end has an empty value; an unclosed quote runs to the end.
    EXPECT_TRUE(reader.GetAttribute("z", value));
    EXPECT_EQ(value, "");
    ASSERT_TRUE(reader.Load("<a x=\"abc></a>"));
    EXPECT_TRUE(reader.GetAttribute("x", value));
    EXPECT_EQ(value, "abc");
}

TEST(TagReaderTest, FindElementAmongSiblingsOnly)
{
    CTagReader reader;
    ASSERT_TRUE(reader.Load("<?xml version=\"1.0\"?><!-- note --><FromName>Li Lei</FromName>"
                            "<GroupID>sip:g1@host</GroupID><GroupName> Team A </GroupName>"));
    CString text;
    ASSERT_TRUE(reader.FindElement("GroupID"));
    EXPECT_TRUE(reader.GetText(text));
    EXPECT_EQ(text, "sip:g1@host");
    ASSERT_TRUE(reader.FindElement("GroupName"));
    EXPECT_TRUE(reader.GetText(text));
    EXPECT_EQ(text, "Team A");
    // The search only moves forward; ResetPos starts over.
    EXPECT_FALSE(reader.FindElement("FromName"));
    EXPECT_FALSE(reader.GetText(text));
    EXPECT_FALSE(reader.FindElement("GroupName"));
    reader.ResetPos();
    ASSERT_TRUE(reader.FindElement("FromName"));
    EXPECT_TRUE(reader.GetText(text));
    EXPECT_EQ(text, "Li Lei");
}

TEST(TagReaderTest, NestedElementsAndSelfClosing)
{
    CTagReader reader;
    ASSERT_TRUE(reader.Load("<msg><property size=\"300\"></property>hi</msg><b/><c>t</c>"));
    CString value;
    // A nested property element is not found at the top level.
    EXPECT_FALSE(reader.FindElement("property"));
    reader.ResetPos();
    ASSERT_TRUE(reader.FindElement("msg"));
    EXPECT_FALSE(reader.GetText(value));  // has children
    ASSERT_TRUE(reader.IntoElement());
    ASSERT_TRUE(reader.FindElement("property"));
    EXPECT_TRUE(reader.GetAttribute("size", value));
    EXPECT_EQ(value, "300");
    EXPECT_TRUE(reader.OutOfElement());
    EXPECT_FALSE(reader.OutOfElement());
    ASSERT_TRUE(reader.FindElement("b"));  // the "/" is not part of the name
    EXPECT_TRUE(reader.GetText(value));
    EXPECT_EQ(value, "");
    ASSERT_TRUE(reader.FindElement("c"));
    EXPECT_TRUE(reader.GetText(value));
    EXPECT_EQ(value, "t");
    EXPECT_EQ(reader.ElementCount(), 4);
}

TEST(TagReaderTest, BrokenMarkup)
{
    CTagReader reader;
    CString value;
    // "<" without ">": the parse fails and nothing is current.
    EXPECT_FALSE(reader.Load("<property size=\"240\""));
    EXPECT_FALSE(reader.FindElement("property"));
    EXPECT_FALSE(reader.GetAttribute("size", value));
    EXPECT_FALSE(reader.Load("<a>x</a><b"));
    EXPECT_FALSE(reader.FindElement("a"));
    // No element at all is a successful, empty document.
    EXPECT_TRUE(reader.Load("plain text"));
    EXPECT_FALSE(reader.FindElement("a"));
    EXPECT_TRUE(reader.Load(""));
    // End tags close levels whatever their names; a stray one ends the document.
    ASSERT_TRUE(reader.Load("<a><b></x></y></z><c>"));
    EXPECT_TRUE(reader.FindElement("a"));
    EXPECT_FALSE(reader.FindElement("c"));
    ASSERT_TRUE(reader.Load("<a><b><c>"));  // unclosed levels
    ASSERT_TRUE(reader.IntoElement());
    EXPECT_TRUE(reader.FindElement("b"));
    // Empty tags, lone quotes and lone "=" never read outside the tag.
    ASSERT_TRUE(reader.Load("<>< = ' ><\"></>"));
    EXPECT_FALSE(reader.GetAttribute("x", value));
    // Bytes after an embedded zero are part of the counted text.
    ASSERT_TRUE(reader.Load(std::string_view("<a\0b>text</a><c>", 16)));
    EXPECT_TRUE(reader.FindElement("c"));
}

TEST(TagReaderTest, LongTokensAreCut)
{
    const std::string big(30000, 'v');
    CTagReader reader;
    ASSERT_TRUE(reader.Load("<p " + big + "=1 size=\"" + big + "\" face=x>"));
    CString value;
    ASSERT_TRUE(reader.GetAttribute("size", value));
    EXPECT_EQ(static_cast<size_t>(value.GetLength()), CTagReader::kMaxTokenLength);
    ASSERT_TRUE(reader.GetAttribute("face", value));
    EXPECT_EQ(value, "x");
}

TEST(TagReaderTest, PoolBlocksAreKeptAcrossLoads)
{
    std::string many;
    for (int i = 0; i < 2500; ++i) many += "<e/>";
    CTagReader reader;
    EXPECT_EQ(reader.PoolBlockCount(), 0);
    ASSERT_TRUE(reader.Load(many));
    EXPECT_EQ(reader.ElementCount(), 2500);
    EXPECT_EQ(reader.PoolBlockCount(), 3);
    ASSERT_TRUE(reader.Load("<one/>"));
    EXPECT_EQ(reader.ElementCount(), 1);
    EXPECT_EQ(reader.PoolBlockCount(), 3);
    ASSERT_TRUE(reader.Load(many + many));
    EXPECT_EQ(reader.PoolBlockCount(), 5);
    // Deep nesting is read without recursion.
    std::string deep;
    for (int i = 0; i < 100000; ++i) deep += "<d>";
    ASSERT_TRUE(reader.Load(deep));
    EXPECT_EQ(reader.ElementCount(), 100000);
}

} // namespace
