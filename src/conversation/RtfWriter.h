// A small RTF writer for the conversation editors: paragraphs, fonts, sizes,
// colours, bold, italic, underline and strike-out, and embedded pictures as
// PNG. Text leaves as Unicode escapes with a \'3f ('?') fallback, so any
// reader shows it whatever its code page; font names leave as GBK bytes.
#pragma once

#include <functional>

#include <QByteArray>
#include <QImage>

class QTextDocument;
class QTextImageFormat;

namespace tarvolan {

// The picture that stands for an embedded object; a null image leaves the
// object out.
using TRtfPictureSource = std::function<QImage(const QTextImageFormat&)>;

QByteArray DocumentToRtf(const QTextDocument& document, const TRtfPictureSource& picture);

} // namespace tarvolan
