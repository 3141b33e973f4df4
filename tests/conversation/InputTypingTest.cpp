// The input's typing state without a window: typed codes, the picture map
// through edits, the length limit and the state after a send. A small model
// of the editor stands in for the input: its window text with one
// placeholder byte per picture, its own picture map, and each edit reported
// as the editor reports it.
#include "conversation/InputTyping.h"

#include <gtest/gtest.h>

using namespace tarvolan;

namespace {

class InputTypingTest : public ::testing::Test {
protected:
    // Replaces removed bytes at start by text whose map bytes are map, in
    // the editor and in the window's state, as one pass begins; returns the
    // selection the pass goes on with (the caret behind the new text).
    TByteRange Edit(int start, int removed, const CString& text, const CString& map)
    {
        m_text.Delete(start, removed);
        m_text.Insert(start, text);
        ChangePictureMap(m_editorMap, start, removed, map);
        TInputChange change{m_text.GetLength(), true, start, text.GetLength()};
        const int caret = start + text.GetLength();
        return m_typing.FollowChange(change, {caret, caret}, EditorMap());
    }
    TByteRange Type(int at, const std::string& text)
    {
        return Edit(at, 0, text, CString(std::string(text.size(), kMapTextByte)));
    }
    // The rest of the pass: a typed code becomes its picture, as the window
    // has the editor do it.
    TByteRange ReplaceCode(TByteRange selection)
    {
        TTypedEmoticon found;
        if (!m_typing.FindTypedCode(m_text, found)) return selection;
        const int pos = static_cast<int>(found.pos);
        const int length = static_cast<int>(found.length);
        m_text.Delete(pos, length);
        m_text.Insert(pos, " ");
        ChangePictureMap(m_editorMap, pos, length, PictureMark(found.index));
        m_typing.CodeReplaced(found, selection);
        return selection;
    }
    CInputTyping::TMapSource EditorMap()
    {
        return [this] {
            ++m_nMapReads;
            return m_editorMap;
        };
    }

    CInputTyping m_typing;
    CString m_text;
    CString m_editorMap;
    int m_nMapReads = 0;
};

TEST_F(InputTypingTest, CodeTypedAtTheEndBecomesItsPicture)
{
    Type(0, "a:");
    const TByteRange selection = ReplaceCode(Type(2, ")"));
    EXPECT_EQ(m_text, CString("a "));
    EXPECT_EQ(m_typing.PictureMap().str(), "E\x01");
    EXPECT_EQ(m_typing.LastLength(), 2);
    EXPECT_EQ(m_typing.MatchPos(), 1);
    EXPECT_EQ(selection.start, 2);  // behind the picture
    EXPECT_EQ(selection.end, 2);
    EXPECT_TRUE(m_typing.FinishChange());
    EXPECT_FALSE(m_typing.FinishChange());
}

TEST_F(InputTypingTest, CodeTypedInTheMiddleKeepsTheTextAroundIt)
{
    Type(0, "ab");
    ReplaceCode(Type(1, "(L"));
    EXPECT_EQ(m_text, CString("a(Lb"));  // no code yet
    const TByteRange selection = ReplaceCode(Type(3, ")"));
    EXPECT_EQ(m_text, CString("a b"));
    EXPECT_EQ(m_typing.PictureMap().str(), "E\x18" "E");
    EXPECT_EQ(selection.start, 2);
    EXPECT_EQ(m_typing.LastLength(), 3);

    // A selection edge inside the code goes behind the picture; one behind
    // the code moves back with the text.
    m_text = "x:)yz";
    m_editorMap = "EEEEE";
    TByteRange wide = m_typing.FollowChange({5, false}, {2, 5}, EditorMap());
    wide = ReplaceCode(wide);
    EXPECT_EQ(wide.start, 2);
    EXPECT_EQ(wide.end, 4);
}

TEST_F(InputTypingTest, CodeSpanningAPictureIsNoCodeUntilThePictureGoes)
{
    Type(0, ":");
    m_typing.PicturePicked({1, 1}, 4, true);  // the picker's picture behind ":"
    Edit(1, 0, " ", PictureMark(4));
    EXPECT_TRUE(m_typing.FinishChange());
    ReplaceCode(Type(2, ")"));
    EXPECT_EQ(m_text, CString(": )"));
    EXPECT_EQ(m_typing.PictureMap().str(), "E\x05" "E");
    EXPECT_FALSE(m_typing.FinishChange());

    // Deleting the picture joins the code, which becomes its picture.
    ReplaceCode(Edit(1, 1, "", ""));
    EXPECT_EQ(m_text, CString(" "));
    EXPECT_EQ(m_typing.PictureMap().str(), "\x01");
    EXPECT_EQ(m_typing.LastLength(), 1);
}

TEST_F(InputTypingTest, MapFollowsDeletionsAndPastesWherever)
{
    Type(0, "abcd");
    // A paste of text and a picture over "bc": the picture's byte is the editor's.
    Edit(1, 2, "x y", CString("E\x0a" "E"));
    EXPECT_EQ(m_typing.PictureMap().str(), "EE\x0a" "EE");
    Edit(0, 2, "", "");  // a deletion before the picture
    EXPECT_EQ(m_typing.PictureMap().str(), "\x0a" "EE");
    EXPECT_EQ(m_typing.LastLength(), 3);

    // Changes that the editor did not see as one: the map is the editor's.
    m_text = "q ";
    m_editorMap = CString("E\x03");
    m_typing.FollowChange({2, false}, {2, 2}, EditorMap());
    EXPECT_EQ(m_typing.PictureMap().str(), "E\x03");
    EXPECT_EQ(m_typing.Caret(), 2);
}

TEST_F(InputTypingTest, PickedPictureIsMarkedOnceAndTheEditorMapIsNotRead)
{
    Type(0, "hello");
    const int reads = m_nMapReads;
    m_typing.PicturePicked({1, 4}, 4, true);  // in place of "ell"
    EXPECT_EQ(m_typing.PictureMap().str(), "E\x05" "E");
    m_editorMap = "wrong";
    m_typing.FollowChange({3, true, 1, 1}, {2, 2}, EditorMap());
    EXPECT_EQ(m_typing.PictureMap().str(), "E\x05" "E");
    EXPECT_EQ(m_nMapReads, reads);
    EXPECT_TRUE(m_typing.FinishChange());

    // No picture shown: only the selection goes.
    m_typing.PicturePicked({0, 1}, 40, false);
    EXPECT_EQ(m_typing.PictureMap().str(), "\x05" "E");
}

TEST_F(InputTypingTest, LimitCutsWholeCharactersBeforeTheCaret)
{
    EXPECT_FALSE(CInputTyping::IsFull(399));
    EXPECT_TRUE(CInputTyping::IsFull(400));
    TByteRange range;
    EXPECT_FALSE(CInputTyping::Excess(CString(std::string(400, 'a')), 400, range));

    Type(0, std::string(399, 'a'));
    const CString wide = Utf8ToGbk("中");
    Edit(399, 0, wide, "EE");  // 401 bytes, the caret behind the character
    ASSERT_TRUE(CInputTyping::Excess(m_text, 401, range));
    EXPECT_EQ(range.start, 399);  // the whole character, not its last byte
    EXPECT_EQ(range.end, 401);
    m_typing.Trimmed(range, 399);
    EXPECT_EQ(m_typing.PictureMap(), CString(std::string(399, 'E')));
    EXPECT_EQ(m_typing.LastLength(), 399);
}

TEST_F(InputTypingTest, SendStartsAnewWithTheChangeThatEmptiesTheInput)
{
    Type(0, "ab");
    m_typing.PicturePicked({2, 2}, 0, true);
    Edit(2, 0, " ", PictureMark(0));
    m_typing.FinishChange();
    m_typing.MessageSent();
    EXPECT_TRUE(m_typing.JustSent());

    m_text.Empty();
    m_editorMap.Empty();
    const TByteRange selection = m_typing.FollowChange({0, true, 0, 0}, {3, 3}, EditorMap());
    EXPECT_EQ(selection.start, 0);
    EXPECT_EQ(selection.end, 0);
    EXPECT_FALSE(m_typing.JustSent());
    EXPECT_TRUE(m_typing.PictureMap().IsEmpty());
    EXPECT_EQ(m_typing.LastLength(), 0);
    EXPECT_EQ(m_typing.Caret(), 0);
    EXPECT_FALSE(m_typing.FinishChange());

    // A change that makes the input longer is typing: the map follows it and
    // the send still waits for the input to empty.
    Type(0, "x");
    m_typing.MessageSent();
    Type(1, "y");
    EXPECT_EQ(m_typing.PictureMap(), CString("EE"));
    EXPECT_TRUE(m_typing.JustSent());
}

} // namespace
