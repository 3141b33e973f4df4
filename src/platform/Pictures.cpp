#include "platform/Pictures.h"

#include <cmath>

#include <QFileInfo>

namespace tarvolan {

int ArtRatio(qreal dpr)
{
    return dpr > 1.0 ? 2 : 1;
}

QString AtRatio(const QString& path, int ratio)
{
    if (ratio <= 1 || path.isEmpty()) return path;
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const qsizetype at = dot <= 0 ? path.size() : path.size() - name.size() + dot;
    return QString(path).insert(at, QStringLiteral("@%1x").arg(ratio));
}

QString PictureFile(const QString& path, qreal dpr)
{
    const QString art = AtRatio(path, ArtRatio(dpr));
    return (art != path && QFileInfo::exists(art)) ? art : path;
}

QPixmap FitToRatio(const QPixmap& picture, qreal dpr)
{
    if (picture.isNull() || dpr <= 0 || qFuzzyCompare(picture.devicePixelRatio(), dpr)) return picture;
    const QSizeF logical = picture.deviceIndependentSize();
    const QSize size(qRound(logical.width() * dpr), qRound(logical.height() * dpr));
    if (size.isEmpty()) return picture;
    QPixmap fitted = picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    fitted.setDevicePixelRatio(dpr);
    return fitted;
}

QIcon LoadIconFile(const QString& path)
{
    QIcon icon;
    const QPixmap picture(path);
    if (picture.isNull()) return icon;
    icon.addPixmap(picture);
    const QPixmap large(AtRatio(path, 2));
    if (!large.isNull()) icon.addPixmap(large);
    return icon;
}

} // namespace tarvolan
