// Bitmap files as the conversation window saves a picture: a 14-byte file
// header, a 40-byte information header, one colour-table entry of 4 bytes
// per plane and the pixel rows at 32 bits per pixel, bottom row first.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace tarvolan {

// The whole file for an image (transparent pixels are written white).
QByteArray BitmapFileBytes(const QImage& image);
// Writes the file; false when it cannot be opened for writing.
bool WriteBitmapFile(const QString& path, const QImage& image);

} // namespace tarvolan
