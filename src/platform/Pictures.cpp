#include "platform/Pictures.h"

#include <cmath>

#include <QApplication>
#include <QFileInfo>
#include <QIconEngine>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

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

namespace {

// Qt's own icons pick, for a ratio such as 1.5, the 1x picture and scale it
// up; this one takes the art of the ratio (ArtRatio) and scales it smoothly.
class CArtIconEngine : public QIconEngine {
public:
    CArtIconEngine(const QPixmap& small, const QPixmap& large) : m_small(small), m_large(large) {}

    QIconEngine* clone() const override { return new CArtIconEngine(m_small, m_large); }
    QString key() const override { return QStringLiteral("CArtIconEngine"); }
    bool isNull() override { return m_small.isNull() && m_large.isNull(); }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        const QSize own = Logical();
        return own.width() <= size.width() && own.height() <= size.height() ? own : own.scaled(size, Qt::KeepAspectRatio);
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return {Logical()}; }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return scaledPixmap(size, mode, state, 1.0);
    }
    // QIcon::pixmap(size, ratio) asks for the size in device pixels.
    QPixmap scaledPixmap(const QSize& devicePixels, QIcon::Mode mode, QIcon::State, qreal scale) override
    {
        return Made(devicePixels, scale, mode);
    }
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override
    {
        const qreal scale = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        const QSize logical = actualSize(rect.size(), mode, QIcon::Off);
        const QPixmap picture = Made(logical * scale, scale, mode);
        const QRect place = QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, logical, rect);
        painter->drawPixmap(place.topLeft(), picture);
    }

private:
    QSize Logical() const
    {
        return (m_small.isNull() ? m_large : m_small).deviceIndependentSize().toSize();
    }
    // The art of the ratio at that many device pixels (keeping its shape),
    // marked with the ratio; greyed as a style greys it for other modes.
    QPixmap Made(const QSize& devicePixels, qreal scale, QIcon::Mode mode) const
    {
        const QPixmap& art = (ArtRatio(scale) > 1 && !m_large.isNull()) || m_small.isNull() ? m_large : m_small;
        if (art.isNull() || devicePixels.isEmpty()) return QPixmap();
        QPixmap made = art.size() == art.size().scaled(devicePixels, Qt::KeepAspectRatio)
                           ? art
                           : art.scaled(devicePixels, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        made.setDevicePixelRatio(scale);
        if (mode != QIcon::Normal && QApplication::style()) {
            QStyleOption option;
            option.palette = QApplication::palette();
            made = QApplication::style()->generatedIconPixmap(mode, made, &option);
        }
        return made;
    }

    QPixmap m_small;
    QPixmap m_large;
};

} // namespace

QIcon ArtIcon(const QPixmap& small, const QPixmap& large)
{
    if (small.isNull() && large.isNull()) return QIcon();
    return QIcon(new CArtIconEngine(small, large));
}

QIcon LoadIconFile(const QString& path)
{
    const QPixmap picture(path);
    if (picture.isNull()) return QIcon();
    return ArtIcon(picture, QPixmap(AtRatio(path, 2)));
}

} // namespace tarvolan
