// CInputTyping: what the conversation window's input remembers from one
// change of its text to the next, and what it decides on each change. It
// works on byte values only: the window reads its editor, hands the values
// in and applies the results to the editor.
//
// It keeps the input's picture map (one byte for every byte of the input's
// window text: kMapTextByte for text, index + 1 for an emoticon picture),
// finds typed emoticon codes that become their pictures, and holds the input
// to kMaxLength bytes. One change of the text is one pass:
//   FollowChange    the map follows the text, or starts anew after a send;
//   FindTypedCode   a code to replace; once the editor shows its picture,
//   CodeReplaced    the map, the length and the selection follow;
//   Excess          the bytes past the limit; once the editor cut them,
//   Trimmed         the map and the length follow;
//   FinishChange    whether a picture went in during the pass.
// A picture from the picker (PicturePicked) and a send (MessageSent) come
// between passes.
#pragma once

#include <functional>

#include "common/Emoticons.h"
#include "common/GbkString.h"
#include "conversation/ChatText.h"

namespace tarvolan {

// A change of the input's text as its editor saw it.
struct TInputChange {
    int length = 0;       // bytes of the window text now
    bool single = false;  // exactly one change since the last pass; then:
    int start = 0;        // where it starts, in bytes of the text now
    int added = 0;        // the bytes it put there
};

class CInputTyping {
public:
    // Longest input, in bytes.
    static constexpr int kMaxLength = 400;
    // The editor's own picture map of its text, read only when the kept map
    // cannot follow a change by itself.
    using TMapSource = std::function<CString()>;

    // An input of length bytes takes no more.
    static bool IsFull(int length) { return length >= kMaxLength; }
    // The bytes of text past the limit, taken before the caret (see
    // ExcessRange); false when the text is within the limit.
    static bool Excess(const CString& text, int caret, TByteRange& range);

    // First step of a pass, with the selection as it is now; returns the
    // selection to go on with (none after a send emptied the input).
    TByteRange FollowChange(const TInputChange& change, TByteRange selection, const TMapSource& editorMap);
    // The code of the lowest emoticon index in the text, at its first
    // occurrence; false when the text holds none.
    bool FindTypedCode(const CString& text, TTypedEmoticon& found);
    // The editor shows the picture of found in place of its code.
    void CodeReplaced(const TTypedEmoticon& found, TByteRange& selection);
    // The editor cut range and has length bytes left.
    void Trimmed(const TByteRange& range, int length);
    // Last step of a pass: whether a picture went in during it.
    bool FinishChange();

    // The picker's picture takes the place of the selection; shown false:
    // the editor had no such picture, only the selection went.
    void PicturePicked(const TByteRange& selection, int index, bool shown);
    // A message went: the change that empties the input starts everything anew.
    void MessageSent() { m_bJustSent = true; }
    void Reset();

    const CString& PictureMap() const { return m_strPictureMap; }
    // Input length after the last change.
    int LastLength() const { return m_nLastLength; }
    // Selection start at the last change.
    int Caret() const { return m_nCaret; }
    // Where the last typed code was found.
    int MatchPos() const { return m_nMatchPos; }
    bool JustSent() const { return m_bJustSent; }

private:
    // The map follows an edit that the window did not make itself.
    void FollowEdit(const TInputChange& change, const TMapSource& editorMap);

    CString m_strPictureMap;
    int m_nLastLength = 0;
    bool m_bPictureInserted = false;  // the window itself put a picture in
    bool m_bJustSent = false;         // the next change may empty the map
    int m_nCaret = 0;
    int m_nMatchPos = 0;
};

} // namespace tarvolan
