// The animations of the emoticon pictures: one QMovie per picture file,
// shared by every editor and every occurrence of the picture. An editor that
// shows a picture holds a reference to its animation; the animation runs
// while anyone holds it and goes when the last holder lets it go.
#pragma once

#include <map>

#include <QPixmap>
#include <QString>

class QMovie;

namespace tarvolan {

class CEmoticonMovies {
public:
    static CEmoticonMovies& Instance();

    // The running animation of a picture file; never null. A file that cannot
    // be read gives an animation without frames (the picture shows nothing).
    QMovie* Acquire(const QString& path);
    void Release(QMovie* movie);

    // The frame to show now: the current frame, or a blank picture of the
    // usual size when the file gave none.
    static QPixmap CurrentFrame(QMovie* movie);
    // Size of a picture; the usual size when the file gave none.
    static QSize FrameSize(QMovie* movie);

    // Animations alive now.
    int Count() const { return static_cast<int>(m_Movies.size()); }

private:
    struct TEntry {
        QMovie* movie = nullptr;
        int users = 0;
    };
    std::map<QString, TEntry> m_Movies;
};

} // namespace tarvolan
