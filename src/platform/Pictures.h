// Pictures for the screen's pixel ratio. Every picture file of the client and
// the module comes twice: the 1x file and, beside it, the same picture drawn
// at twice the width and height, named with "@2x" before the extension
// (tree_images@2x.png, emote/gif/0@2x.gif). Qt reads such a file with a
// device pixel ratio of 2, so it is drawn at its 1x size in logical pixels.
// Screens of a ratio above 1 (1.25, 1.5, 2, ...) use the 2x art, scaled down
// smoothly where the ratio is below 2; files the user saves keep the 1x art.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

#include "platform/Export.h"

namespace tarvolan {

// The art for a screen of device pixel ratio dpr: 2 above 1, else 1.
TARVOLAN_EXPORT int ArtRatio(qreal dpr);
// The file of a picture drawn at art ratio: path itself at 1, else path with
// "@2x" before its extension.
TARVOLAN_EXPORT QString AtRatio(const QString& path, int ratio);
// The file to read on a screen of ratio dpr: the 2x file when the screen
// wants it and it exists, else path.
TARVOLAN_EXPORT QString PictureFile(const QString& path, qreal dpr);
// A picture made ready for a screen of ratio dpr: scaled smoothly to its
// logical size times dpr and marked with that ratio. A picture that has the
// ratio already, or a null one, comes back as it is.
TARVOLAN_EXPORT QPixmap FitToRatio(const QPixmap& picture, qreal dpr);
// An icon of a picture at 1x and, when there is one, at 2x (a pixmap of
// device pixel ratio 2): drawn or asked for at a ratio above 1 it gives the
// 2x picture, scaled down smoothly to the device pixels wanted (1.5: 26
// pixels for 17), at 1 the 1x picture; never a 1x picture scaled up.
TARVOLAN_EXPORT QIcon ArtIcon(const QPixmap& small, const QPixmap& large);
// The ArtIcon of a picture file and, when it exists, its 2x file.
TARVOLAN_EXPORT QIcon LoadIconFile(const QString& path);

} // namespace tarvolan
