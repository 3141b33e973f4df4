#include "conversation/BitmapFile.h"

#include <cstdint>

#include <QFile>
#include <QPainter>

namespace tarvolan {

namespace {

constexpr int kPlanes = 1;
constexpr int kBitsPerPixel = 32;
constexpr uint32_t kHeadersSize = 14 + 40;

void Put16(QByteArray& out, uint16_t v)
{
    out.append(static_cast<char>(v & 0xFF));
    out.append(static_cast<char>(v >> 8));
}

void Put32(QByteArray& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i) out.append(static_cast<char>((v >> (8 * i)) & 0xFF));
}

} // namespace

QByteArray BitmapFileBytes(const QImage& source)
{
    // The picture as it is seen on the editor's white background.
    QImage image(source.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.drawImage(0, 0, source);
    }
    const uint32_t width = static_cast<uint32_t>(image.width());
    const uint32_t height = static_cast<uint32_t>(image.height());
    const uint32_t rowBytes = 4 * ((width * kBitsPerPixel + 31) / 32);
    const uint32_t imageSize = height * rowBytes;
    const uint32_t tableSize = 4 * kPlanes;

    QByteArray out;
    out.reserve(static_cast<int>(kHeadersSize + tableSize + imageSize));
    // File header.
    out.append("BM", 2);
    Put32(out, kHeadersSize + tableSize + imageSize);
    Put16(out, 0);
    Put16(out, 0);
    Put32(out, kHeadersSize + tableSize);
    // Information header.
    Put32(out, 40);
    Put32(out, width);
    Put32(out, height);
    Put16(out, 1);
    Put16(out, kBitsPerPixel);
    Put32(out, 0);  // no compression
    Put32(out, imageSize);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    // Colour table: a 32-bit bitmap uses none, its entries stay zero.
    out.append(QByteArray(static_cast<int>(tableSize), '\0'));
    // Pixel rows, bottom row first: blue, green, red and an unused byte.
    for (int y = image.height() - 1; y >= 0; --y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            out.append(static_cast<char>(qBlue(line[x])));
            out.append(static_cast<char>(qGreen(line[x])));
            out.append(static_cast<char>(qRed(line[x])));
            out.append('\0');
        }
    }
    return out;
}

bool WriteBitmapFile(const QString& path, const QImage& image)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    const QByteArray bytes = BitmapFileBytes(image);
    return file.write(bytes) == bytes.size();
}

} // namespace tarvolan
