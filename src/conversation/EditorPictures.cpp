#include "conversation/EditorPictures.h"

#include <QMovie>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextImageFormat>

#include "clientkit/ClientKit.h"
#include "common/Emoticons.h"
#include "conversation/EmoticonMovies.h"
#include "platform/Pictures.h"
#include "platform/Window.h"

namespace tarvolan {

namespace {
constexpr const char kPictureScheme[] = "emoticon";
} // namespace

CEditorPictures::CEditorPictures(QTextEdit* editor) : m_pEditor(editor), m_ratio(editor->devicePixelRatioF())
{
    const CString folder = CString(GetAppPath()) + "emote/gif/";
    m_Paths.resize(kEmoticonCount);
    for (int i = 0; i < kEmoticonCount; ++i) m_Paths[static_cast<size_t>(i)].Format("%s%d.gif", folder.c_str(), i);
}

CEditorPictures::~CEditorPictures()
{
    for (auto& [index, movie] : m_Movies) Unwatch(index, movie);
}

void CEditorPictures::Unwatch(int, QMovie* movie)
{
    QObject::disconnect(movie, nullptr, m_pEditor, nullptr);
    CEmoticonMovies::Instance().Release(movie);
}

void CEditorPictures::UseRatio(qreal dpr)
{
    if (qFuzzyCompare(dpr, m_ratio)) return;
    const bool otherArt = ArtRatio(dpr) != ArtRatio(m_ratio);
    m_ratio = dpr;
    std::vector<int> shown;
    for (auto& [index, movie] : m_Movies) {
        shown.push_back(index);
        if (otherArt) Unwatch(index, movie);
    }
    if (otherArt) m_Movies.clear();
    for (int index : shown) {
        Watch(index);
        AddFrame(index, m_Movies[index]);
    }
    m_pEditor->viewport()->update();
}

QUrl CEditorPictures::NameOf(int index)
{
    return QUrl(QStringLiteral("%1:%2").arg(QLatin1String(kPictureScheme)).arg(index));
}

bool CEditorPictures::IsPictureName(const QUrl& name)
{
    return name.scheme() == QLatin1String(kPictureScheme);
}

int CEditorPictures::IndexOf(const QUrl& name)
{
    if (!IsPictureName(name)) return -1;
    bool ok = false;
    const int index = name.path().toInt(&ok);
    return (ok && index >= 0 && index < kEmoticonCount) ? index : -1;
}

int CEditorPictures::IndexOf(const QTextCharFormat& format)
{
    return format.isImageFormat() ? IndexOf(QUrl(format.toImageFormat().name())) : -1;
}

CString CEditorPictures::Path(int index) const
{
    if (index < 0 || index >= static_cast<int>(m_Paths.size())) return CString();
    return m_Paths[static_cast<size_t>(index)];
}

void CEditorPictures::Watch(int index)
{
    if (m_Movies.count(index)) return;
    QMovie* movie = CEmoticonMovies::Instance().Acquire(PictureFile(ToQt(Path(index)), m_ratio));
    m_Movies[index] = movie;
    AddFrame(index, movie);
    QObject::connect(movie, &QMovie::frameChanged, m_pEditor, [this, index] { OnFrame(index); });
}

void CEditorPictures::OnFrame(int index)
{
    const auto it = m_Movies.find(index);
    if (it == m_Movies.end()) return;
    // The new frame replaces the document's picture resource; every
    // occurrence draws it at the next paint. The layout stays as it is: the
    // frames of a picture all have one size.
    AddFrame(index, it->second);
    m_pEditor->viewport()->update();
}

QPixmap CEditorPictures::Frame(QMovie* movie) const
{
    return FitToRatio(CEmoticonMovies::CurrentFrame(movie), m_ratio);
}

void CEditorPictures::AddFrame(int index, QMovie* movie)
{
    m_pEditor->document()->addResource(QTextDocument::ImageResource, NameOf(index), Frame(movie));
}

void CEditorPictures::RestoreResources()
{
    for (const auto& [index, movie] : m_Movies) AddFrame(index, movie);
}

void CEditorPictures::AdvanceAll()
{
    for (auto& [index, movie] : m_Movies) movie->jumpToNextFrame();
}

QVariant CEditorPictures::Resource(const QUrl& name)
{
    const int index = IndexOf(name);
    if (index < 0) return QVariant();
    Watch(index);
    return Frame(m_Movies[index]);
}

bool CEditorPictures::Insert(QTextCursor& cursor, int index)
{
    if (index < 0 || index >= kEmoticonCount) return false;
    Watch(index);
    // The picture's size in the text is its 1x size, whatever art it shows.
    const QSize size = Frame(m_Movies[index]).deviceIndependentSize().toSize();
    QTextImageFormat image;
    image.setName(NameOf(index).toString());
    image.setWidth(size.width());
    image.setHeight(size.height());
    cursor.insertImage(image);
    return true;
}

QImage CEditorPictures::ImageOf(const QTextCharFormat& format)
{
    const int index = IndexOf(format);
    if (index < 0) return QImage();
    Watch(index);
    QMovie* shown = m_Movies[index];
    if (ArtRatio(m_ratio) == 1) return CEmoticonMovies::CurrentFrame(shown).toImage();
    // The 1x file at the frame the editor shows now.
    QMovie* small = CEmoticonMovies::Instance().Acquire(ToQt(Path(index)));
    if (small->currentFrameNumber() != shown->currentFrameNumber()) small->jumpToFrame(shown->currentFrameNumber());
    const QImage image = CEmoticonMovies::CurrentFrame(small).toImage();
    CEmoticonMovies::Instance().Release(small);
    return image;
}

} // namespace tarvolan
