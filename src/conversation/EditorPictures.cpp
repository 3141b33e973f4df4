#include "conversation/EditorPictures.h"

#include <QMovie>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextImageFormat>

#include "clientkit/ClientKit.h"
#include "common/Emoticons.h"
#include "conversation/EmoticonMovies.h"
#include "platform/Window.h"

namespace tarvolan {

namespace {
constexpr const char kPictureScheme[] = "emoticon";
} // namespace

CEditorPictures::CEditorPictures(QTextEdit* editor) : m_pEditor(editor)
{
    const CString folder = CString(GetAppPath()) + "emote/gif/";
    m_Paths.resize(kEmoticonCount);
    for (int i = 0; i < kEmoticonCount; ++i) m_Paths[static_cast<size_t>(i)].Format("%s%d.gif", folder.c_str(), i);
}

CEditorPictures::~CEditorPictures()
{
    for (auto& [index, movie] : m_Movies) {
        QObject::disconnect(movie, nullptr, m_pEditor, nullptr);
        CEmoticonMovies::Instance().Release(movie);
    }
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
    QMovie* movie = CEmoticonMovies::Instance().Acquire(ToQt(Path(index)));
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

void CEditorPictures::AddFrame(int index, QMovie* movie)
{
    m_pEditor->document()->addResource(QTextDocument::ImageResource, NameOf(index),
                                       CEmoticonMovies::CurrentFrame(movie));
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
    return CEmoticonMovies::CurrentFrame(m_Movies[index]);
}

bool CEditorPictures::Insert(QTextCursor& cursor, int index)
{
    if (index < 0 || index >= kEmoticonCount) return false;
    Watch(index);
    const QSize size = CEmoticonMovies::FrameSize(m_Movies[index]);
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
    return CEmoticonMovies::CurrentFrame(m_Movies[index]).toImage();
}

} // namespace tarvolan
