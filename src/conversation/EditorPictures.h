// CEditorPictures: the emoticon pictures of one rich editor's document. A
// picture is an image named "emoticon:<index>" whose frames come from the
// shared animation of its picture file (emote/gif/<index>.gif in the client
// folder). Once the editor shows a picture it holds the animation, and every
// new frame replaces the document's resource of that name and repaints the
// editor; the animations are let go with the editor.
//
// The editor shows the art of its screen's pixel ratio: on a screen above 1x
// the frames come from the picture's 2x file (emote/gif/<index>@2x.gif), fitted
// to the ratio, and are drawn at the 1x size; a move to a screen of another
// ratio swaps the animations (UseRatio). Pictures taken out of the editor
// (saved as a bitmap, written into RTF) are always the 1x frames.
#pragma once

#include <map>
#include <vector>

#include <QImage>
#include <QPixmap>
#include <QTextCharFormat>
#include <QUrl>
#include <QVariant>

#include "common/GbkString.h"

class QMovie;
class QTextCursor;
class QTextEdit;

namespace tarvolan {

class CEditorPictures {
public:
    explicit CEditorPictures(QTextEdit* editor);
    ~CEditorPictures();
    CEditorPictures(const CEditorPictures&) = delete;
    CEditorPictures& operator=(const CEditorPictures&) = delete;

    // The emoticon index that a document picture shows; -1 when none.
    static int IndexOf(const QTextCharFormat& format);
    // Whether a resource name is a picture's, known emoticon or not.
    static bool IsPictureName(const QUrl& name);

    // The picture file of emoticon index; empty for another index.
    CString Path(int index) const;
    // Shows the art for a screen of device pixel ratio dpr from now on,
    // swapping the animations when the art changes.
    void UseRatio(qreal dpr);
    qreal Ratio() const { return m_ratio; }
    // Inserts picture index at the cursor; false for an index out of range.
    bool Insert(QTextCursor& cursor, int index);
    // The document resource of a picture name: the picture's current frame,
    // nothing for a name of no emoticon.
    QVariant Resource(const QUrl& name);
    // The current frame of the emoticon that a document picture shows, from
    // its 1x file; a null image for a picture of none.
    QImage ImageOf(const QTextCharFormat& format);
    // Moves every animation one frame on, as its timer would.
    void AdvanceAll();
    // Gives a cleared document the current frame of every picture it shows.
    void RestoreResources();

private:
    static QUrl NameOf(int index);
    static int IndexOf(const QUrl& name);
    // Makes the picture's frames reach the document from now on.
    void Watch(int index);
    // The picture's current frame as the document's resource of its name.
    void AddFrame(int index, QMovie* movie);
    // The current frame fitted to the editor's ratio.
    QPixmap Frame(QMovie* movie) const;
    // Lets go of the animation of a picture.
    void Unwatch(int index, QMovie* movie);
    void OnFrame(int index);

    QTextEdit* m_pEditor;
    std::vector<CString> m_Paths;
    std::map<int, QMovie*> m_Movies;  // emoticon index -> shared animation
    qreal m_ratio = 1.0;              // the screen ratio the frames are made for
};

} // namespace tarvolan
