#include "conversation/EmoticonMovies.h"

#include <QMovie>

namespace tarvolan {

namespace {
// Picture size used when a file gives no frame.
constexpr int kUsualPictureSize = 22;
} // namespace

CEmoticonMovies& CEmoticonMovies::Instance()
{
    static CEmoticonMovies movies;
    return movies;
}

QMovie* CEmoticonMovies::Acquire(const QString& path)
{
    TEntry& entry = m_Movies[path];
    if (!entry.movie) {
        entry.movie = new QMovie(path);
        entry.movie->setCacheMode(QMovie::CacheAll);
        if (entry.movie->isValid()) entry.movie->start();
    }
    ++entry.users;
    return entry.movie;
}

void CEmoticonMovies::Release(QMovie* movie)
{
    for (auto it = m_Movies.begin(); it != m_Movies.end(); ++it) {
        if (it->second.movie != movie) continue;
        if (--it->second.users <= 0) {
            delete it->second.movie;
            m_Movies.erase(it);
        }
        return;
    }
}

QPixmap CEmoticonMovies::CurrentFrame(QMovie* movie)
{
    QPixmap frame = movie ? movie->currentPixmap() : QPixmap();
    if (!frame.isNull()) return frame;
    QPixmap blank(FrameSize(movie));
    blank.fill(Qt::transparent);
    return blank;
}

QSize CEmoticonMovies::FrameSize(QMovie* movie)
{
    if (movie && movie->isValid()) {
        const QSize size = movie->frameRect().size();
        if (!size.isEmpty()) return size;
    }
    return QSize(kUsualPictureSize, kUsualPictureSize);
}

} // namespace tarvolan
