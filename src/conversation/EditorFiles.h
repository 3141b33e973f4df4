// Saving from the rich editor's context menu: the selected picture as a
// bitmap file, the whole content as RTF or as text. The file name is asked
// through the UI driver; a name without an extension of its own gets the
// default one.
#pragma once

#include "common/GbkString.h"
#include "conversation/RtfWriter.h"

class QImage;
class QTextDocument;
class QWidget;

namespace tarvolan {

// The file name chosen for saving, ext appended where it has no extension;
// empty when the user cancelled.
CString AskSaveFileName(QWidget* owner, const char* filter, const char* ext);
// Writes a picture as a bitmap file; tells the user when there is no
// picture to save (a null image) or the file cannot be written.
void SavePictureFile(QWidget* owner, const CString& name, const QImage& picture);
// Writes the window text and a line end when the name ends in ".txt" (in
// any case), else the document as RTF; nothing when the file cannot be
// opened.
void SaveContentFile(const CString& name, const QTextDocument& document, const CString& text,
                     const TRtfPictureSource& pictures);

} // namespace tarvolan
