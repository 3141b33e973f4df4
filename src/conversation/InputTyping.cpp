#include "conversation/InputTyping.h"

namespace tarvolan {

namespace {

// A position of the text once code bytes at pos became one picture: behind
// the code it moves back with the text, inside the code it goes behind the
// picture.
int AroundPicture(int p, int pos, int codeLength)
{
    if (p >= pos + codeLength) return p - (codeLength - 1);
    return p > pos ? pos + 1 : p;
}

} // namespace

bool CInputTyping::Excess(const CString& text, int caret, TByteRange& range)
{
    if (text.GetLength() <= kMaxLength) return false;
    range = ExcessRange(text, caret, kMaxLength);
    return true;
}

TByteRange CInputTyping::FollowChange(const TInputChange& change, TByteRange selection, const TMapSource& editorMap)
{
    m_nCaret = selection.start;
    int length = change.length;
    if (m_bPictureInserted) {
        // The window put the picture in itself and marked it already.
    } else if (m_bJustSent && change.length <= m_nLastLength) {
        Reset();
        length = 0;
        selection = TByteRange();
    } else {
        FollowEdit(change, editorMap);
    }
    m_nLastLength = length;
    return selection;
}

void CInputTyping::FollowEdit(const TInputChange& change, const TMapSource& editorMap)
{
    if (change.single) {
        // Where the text changed, the removed bytes go and the new ones are
        // marked as the editor has them.
        const int removed = m_nLastLength - (change.length - change.added);
        ChangePictureMap(m_strPictureMap, change.start, removed, editorMap().Mid(change.start, change.added));
    }
    if (m_strPictureMap.GetLength() != change.length) m_strPictureMap = editorMap();
}

bool CInputTyping::FindTypedCode(const CString& text, TTypedEmoticon& found)
{
    if (!FindTypedEmoticon(text.view(), found)) return false;
    m_nMatchPos = static_cast<int>(found.pos);
    return true;
}

void CInputTyping::CodeReplaced(const TTypedEmoticon& found, TByteRange& selection)
{
    const int pos = static_cast<int>(found.pos);
    const int codeLength = static_cast<int>(found.length);
    ChangePictureMap(m_strPictureMap, pos, codeLength, PictureMark(found.index));
    m_nLastLength += 1 - codeLength;
    selection.start = AroundPicture(selection.start, pos, codeLength);
    selection.end = AroundPicture(selection.end, pos, codeLength);
    m_bPictureInserted = true;
}

void CInputTyping::Trimmed(const TByteRange& range, int length)
{
    ChangePictureMap(m_strPictureMap, range.start, range.end - range.start, CString());
    m_nLastLength = length;
}

bool CInputTyping::FinishChange()
{
    const bool inserted = m_bPictureInserted;
    m_bPictureInserted = false;
    return inserted;
}

void CInputTyping::PicturePicked(const TByteRange& selection, int index, bool shown)
{
    m_bPictureInserted = true;
    ChangePictureMap(m_strPictureMap, selection.start, selection.end - selection.start,
                     shown ? PictureMark(index) : CString());
}

void CInputTyping::Reset()
{
    *this = CInputTyping();
}

} // namespace tarvolan
