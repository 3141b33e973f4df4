#include "conversation/RichMsgEdit.h"

#include <algorithm>
#include <cstdarg>
#include <memory>

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFile>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QMovie>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QTextLayout>

#include "clientkit/ClientKit.h"
#include "common/Emoticons.h"
#include "common/TextFunctions.h"
#include "conversation/BitmapFile.h"
#include "conversation/EmoticonMovies.h"
#include "conversation/RtfWriter.h"
#include "platform/Resources.h"
#include "platform/UiDriver.h"

namespace {

constexpr const char kPictureScheme[] = "emoticon";
// Twips per pixel at 96 pixels per inch.
constexpr double kTwipsPerPixel = 15.0;
// The largest character height the editors show: 72 points, the largest size
// a font dialog lists. Larger sizes (a font dialog accepts up to 1638 points,
// a peer's markup any number) made a few thousand characters wrap into a
// document taller than about eight million pixels, where Qt's text layout
// never finishes: the window hung for good.
constexpr int kMaxHeightTwips = 72 * 20;

QUrl PictureUrl(int index)
{
    return QUrl(QStringLiteral("%1:%2").arg(QLatin1String(kPictureScheme)).arg(index));
}

// A text of this file's UTF-8 source as GBK.
CString Gbk(const char* utf8)
{
    return Utf8ToGbk(utf8);
}

// GBK text as Qt text with every line break a paragraph break.
QString ToEditorText(const CString& text)
{
    QString result = ToQt(text);
    result.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return result;
}

// The name with ext appended when it has no extension of its own.
CString WithDefaultExtension(const CString& name, const char* ext)
{
    const int slash = name.ReverseFind('/');
    const int dot = name.ReverseFind('.');
    return dot > slash ? name : name + ext;
}

CString ExtensionOf(const CString& name)
{
    const int slash = name.ReverseFind('/');
    const int dot = name.ReverseFind('.');
    return dot > slash ? name.Mid(dot + 1) : CString();
}

// Appends the GBK bytes of a run of text that holds no line separator and
// records where each of its document positions starts.
void AppendRunBytes(const QString& run, int pos, std::string& out, std::vector<int>& byteOfPos)
{
    const CString gbk = FromQt(run);
    const std::string_view bytes = gbk.view();
    int codePoints = 0;
    for (QChar c : run)
        if (!c.isLowSurrogate()) ++codePoints;
    int characters = 0;
    for (size_t b = 0; b < bytes.size(); b += GbkCharLength(bytes, b)) ++characters;

    const size_t base = out.size();
    if (characters == codePoints) {
        // One GBK character for every code point: walk both together.
        size_t b = 0;
        for (int k = 0; k < run.size(); ++k) {
            byteOfPos[static_cast<size_t>(pos + k)] = static_cast<int>(base + b);
            if (run[k].isHighSurrogate() && k + 1 < run.size()) {
                byteOfPos[static_cast<size_t>(pos + k + 1)] = static_cast<int>(base + b);
                ++k;
            }
            b += GbkCharLength(bytes, b);
        }
        out += bytes;
        return;
    }
    // Some code point did not convert to one character: convert one by one,
    // anything that is not a single character becoming '?'.
    for (int k = 0; k < run.size(); ++k) {
        byteOfPos[static_cast<size_t>(pos + k)] = static_cast<int>(out.size());
        int units = 1;
        if (run[k].isHighSurrogate() && k + 1 < run.size()) units = 2;
        const CString one = FromQt(run.mid(k, units));
        const std::string_view v = one.view();
        if (!v.empty() && GbkCharLength(v, 0) == v.size())
            out += v;
        else
            out += '?';
        if (units == 2) {
            byteOfPos[static_cast<size_t>(pos + k + 1)] = byteOfPos[static_cast<size_t>(pos + k)];
            ++k;
        }
    }
}

// Plain text of a fragment: line separators are line breaks too.
void AppendTextBytes(const QString& text, int pos, std::string& out, std::vector<int>& byteOfPos)
{
    int i = 0;
    while (i < text.size()) {
        int j = i;
        while (j < text.size() && text[j] != QChar::LineSeparator) ++j;
        if (j > i) AppendRunBytes(text.mid(i, j - i), pos + i, out, byteOfPos);
        if (j < text.size()) {
            byteOfPos[static_cast<size_t>(pos + j)] = static_cast<int>(out.size());
            out += "\r\n";
            ++j;
        }
        i = j;
    }
}

const QRegularExpression& UrlPattern()
{
    static const QRegularExpression pattern(
        QStringLiteral(R"((?:https?://|ftp://|mailto:|www\.)[^\s<>"]+)"),
        QRegularExpression::CaseInsensitiveOption);
    return pattern;
}

} // namespace

// ---- formats -----------------------------------------------------------------

QTextCharFormat ToQtCharFormat(const TCharFormat& format)
{
    QTextCharFormat result;
    if (format.dwMask & CFM_BOLD)
        result.setFontWeight((format.dwEffects & CFE_BOLD) ? QFont::Bold : QFont::Normal);
    if (format.dwMask & CFM_ITALIC) result.setFontItalic((format.dwEffects & CFE_ITALIC) != 0);
    if (format.dwMask & CFM_UNDERLINE) result.setFontUnderline((format.dwEffects & CFE_UNDERLINE) != 0);
    if (format.dwMask & CFM_STRIKEOUT) result.setFontStrikeOut((format.dwEffects & CFE_STRIKEOUT) != 0);
    // A height that is not positive keeps the editor's size; a huge one is
    // held to what a rich edit control shows at most.
    if ((format.dwMask & CFM_SIZE) && format.yHeight > 0)
        result.setFontPointSize(std::min(format.yHeight, kMaxHeightTwips) / 20.0);
    if (format.dwMask & CFM_COLOR) result.setForeground(ToQColor(format.crTextColor));
    if (format.dwMask & CFM_FACE) {
        const CString face = CString::FromField(format.szFaceName, sizeof(format.szFaceName));
        if (!face.IsEmpty()) result.setFontFamilies({ToQt(face)});
    }
    return result;
}

// ---- construction ---------------------------------------------------------------

struct CRichMsgEdit::TByteMap {
    CString text;
    std::vector<int> byteOfPos;  // document position -> byte offset in text
};

CRichMsgEdit::CRichMsgEdit(QWidget* parent) : QTextEdit(parent)
{
    setAcceptRichText(false);
    setAcceptDrops(true);
    const CString folder = CString(GetAppPath()) + "emote/gif/";
    m_PicturePaths.resize(kEmoticonCount);
    for (int i = 0; i < kEmoticonCount; ++i) m_PicturePaths[static_cast<size_t>(i)].Format("%s%d.gif", folder.c_str(), i);
    connect(document(), &QTextDocument::contentsChange, this, &CRichMsgEdit::OnContentsChange);
    connect(this, &QTextEdit::textChanged, this, [this] {
        if (m_nQuiet == 0) emit TextChanged();
    });
}

CRichMsgEdit::~CRichMsgEdit()
{
    for (auto& [index, movie] : m_Movies) {
        QObject::disconnect(movie, nullptr, this, nullptr);
        CEmoticonMovies::Instance().Release(movie);
    }
}

void CRichMsgEdit::SetReadOnly(bool readOnly)
{
    setReadOnly(readOnly);
    setUndoRedoEnabled(!readOnly);
}

// ---- byte positions -----------------------------------------------------------

CRichMsgEdit::TByteMap CRichMsgEdit::BuildByteMap() const
{
    TByteMap map;
    const QTextDocument* doc = document();
    const int count = std::max(1, doc->characterCount());
    map.byteOfPos.assign(static_cast<size_t>(count), 0);
    std::string& out = map.text.str();
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        if (block != doc->begin()) {
            map.byteOfPos[static_cast<size_t>(block.position() - 1)] = static_cast<int>(out.size());
            out += "\r\n";
        }
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int pos = fragment.position();
            if (fragment.charFormat().isImageFormat()) {
                for (int i = 0; i < fragment.length(); ++i) {
                    map.byteOfPos[static_cast<size_t>(pos + i)] = static_cast<int>(out.size());
                    out += kPicturePlaceholder;
                }
            } else {
                AppendTextBytes(fragment.text(), pos, out, map.byteOfPos);
            }
        }
    }
    map.byteOfPos.back() = static_cast<int>(out.size());
    return map;
}

int CRichMsgEdit::PositionOfByte(const TByteMap& map, int byte, bool roundUp) const
{
    const std::vector<int>& v = map.byteOfPos;
    byte = std::clamp(byte, 0, v.back());
    const auto it = std::lower_bound(v.begin(), v.end(), byte);
    const int pos = static_cast<int>(it - v.begin());
    if (*it == byte) return pos;
    return roundUp ? pos : pos - 1;  // inside the character that starts at pos - 1
}

CString CRichMsgEdit::GetWindowText() const
{
    return BuildByteMap().text;
}

int CRichMsgEdit::GetWindowTextLength() const
{
    return GetWindowText().GetLength();
}

CString CRichMsgEdit::GetPictureMap() const
{
    const TByteMap map = BuildByteMap();
    std::string shadow(static_cast<size_t>(map.text.GetLength()), 'E');
    const QTextDocument* doc = document();
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat()) continue;
            const int index = PictureIndex(fragment.charFormat());
            const char mark = static_cast<char>(index >= 0 ? index + 1 : 0x7F);
            for (int i = 0; i < fragment.length(); ++i)
                shadow[static_cast<size_t>(map.byteOfPos[static_cast<size_t>(fragment.position() + i)])] = mark;
        }
    }
    return CString(std::move(shadow));
}

void CRichMsgEdit::GetSel(int& start, int& end) const
{
    const TByteMap map = BuildByteMap();
    const QTextCursor cursor = textCursor();
    const int last = static_cast<int>(map.byteOfPos.size()) - 1;
    start = map.byteOfPos[static_cast<size_t>(std::min(cursor.selectionStart(), last))];
    end = map.byteOfPos[static_cast<size_t>(std::min(cursor.selectionEnd(), last))];
}

void CRichMsgEdit::SetSel(int start, int end)
{
    QTextCursor cursor = textCursor();
    if (start < 0) {
        cursor.clearSelection();
        setTextCursor(cursor);
        return;
    }
    const TByteMap map = BuildByteMap();
    const int total = map.text.GetLength();
    if (end < 0 || end > total) end = total;
    start = std::min(start, total);
    const int anchor = PositionOfByte(map, start, start > end);
    const int position = PositionOfByte(map, end, end >= start);
    cursor.setPosition(anchor);
    cursor.setPosition(position, QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

void CRichMsgEdit::ReplaceSel(const CString& text)
{
    CString insert = text;
    if (m_nTextLimit != kAttachedTextLimit) {
        int start = 0, end = 0;
        GetSel(start, end);
        const int room = m_nTextLimit - (GetWindowTextLength() - (end - start));
        insert = CString(GbkPrefix(insert.view(), static_cast<size_t>(std::max(room, 0))));
    }
    QTextCursor cursor = textCursor();
    cursor.insertText(ToEditorText(insert));
    setTextCursor(cursor);
}

void CRichMsgEdit::Clear()
{
    if (isReadOnly()) return;
    QTextCursor cursor = textCursor();
    cursor.removeSelectedText();
    setTextCursor(cursor);
}

bool CRichMsgEdit::CanPaste() const
{
    return canPaste();
}

bool CRichMsgEdit::IsSelectionOnePicture() const
{
    const QTextCursor cursor = textCursor();
    if (cursor.selectionEnd() - cursor.selectionStart() != 1) return false;
    QTextCursor probe(document());
    probe.setPosition(cursor.selectionEnd());
    return probe.charFormat().isImageFormat();  // the format of the character before
}

int CRichMsgEdit::GetLineCount() const
{
    int lines = 0;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        const QTextLayout* layout = block.layout();
        lines += (layout && layout->lineCount() > 0) ? layout->lineCount() : 1;
    }
    return lines;
}

int CRichMsgEdit::LastLineLength() const
{
    const TByteMap map = BuildByteMap();
    const QTextBlock last = document()->lastBlock();
    int start = last.position();
    const QTextLayout* layout = last.layout();
    if (layout && layout->lineCount() > 0) start += layout->lineAt(layout->lineCount() - 1).textStart();
    start = std::min(start, static_cast<int>(map.byteOfPos.size()) - 1);
    return map.text.GetLength() - map.byteOfPos[static_cast<size_t>(start)];
}

int CRichMsgEdit::PictureCount() const
{
    int count = 0;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().isImageFormat()) count += it.fragment().length();
        }
    }
    return count;
}

void CRichMsgEdit::SetSelectionCharFormat(const TCharFormat& format)
{
    mergeCurrentCharFormat(ToQtCharFormat(format));
}

void CRichMsgEdit::ApplyCharFormatToAll(const TCharFormat& format)
{
    const QTextCharFormat wanted = ToQtCharFormat(format);
    const QMap<int, QVariant> properties = wanted.properties();
    bool differs = false;
    for (QTextBlock block = document()->begin(); block.isValid() && !differs; block = block.next()) {
        for (auto it = block.begin(); !it.atEnd() && !differs; ++it) {
            const QTextCharFormat have = it.fragment().charFormat();
            if (have.isImageFormat()) continue;
            for (auto p = properties.constBegin(); p != properties.constEnd(); ++p) {
                if (have.property(p.key()) != p.value()) {
                    differs = true;
                    break;
                }
            }
        }
    }
    if (differs) {
        QTextCursor all(document());
        all.select(QTextCursor::Document);
        all.mergeCharFormat(wanted);
    }
    QTextCharFormat typing = currentCharFormat();
    typing.merge(wanted);
    setCurrentCharFormat(typing);
}

void CRichMsgEdit::OnContentsChange(int position, int removed, int added)
{
    if (m_nQuiet > 0) return;
    ++m_nChanges;
    m_nChangePos = position;
    m_nChangeAdded = added;
}

bool CRichMsgEdit::TakeLastChange(int& start, int& added)
{
    const bool single = m_nChanges == 1;
    m_nChanges = 0;
    if (!single) return false;
    const TByteMap map = BuildByteMap();
    const int last = static_cast<int>(map.byteOfPos.size()) - 1;
    const int from = std::clamp(m_nChangePos, 0, last);
    const int to = std::clamp(m_nChangePos + m_nChangeAdded, from, last);
    start = map.byteOfPos[static_cast<size_t>(from)];
    added = map.byteOfPos[static_cast<size_t>(to)] - start;
    return true;
}

// ---- appending --------------------------------------------------------------------

void CRichMsgEdit::MoveCaretToEnd(const QTextCursor& end)
{
    QTextCursor caret = end;
    caret.clearSelection();
    setTextCursor(caret);
    // Typing after an appended message does not continue its format.
    setCurrentCharFormat(QTextCharFormat());
}

void CRichMsgEdit::InsertRun(QTextCursor& cursor, const QString& text, const QTextCharFormat& format)
{
    if (!m_bAutoUrl) {
        cursor.insertText(text, format);
        return;
    }
    int done = 0;
    auto matches = UrlPattern().globalMatch(text);
    while (matches.hasNext()) {
        const QRegularExpressionMatch match = matches.next();
        if (match.capturedStart() > done) cursor.insertText(text.mid(done, match.capturedStart() - done), format);
        QTextCharFormat link = format;
        QString href = match.captured();
        if (href.startsWith(QLatin1String("www."), Qt::CaseInsensitive)) href.prepend(QLatin1String("http://"));
        link.setAnchor(true);
        link.setAnchorHref(href);
        link.setFontUnderline(true);
        link.setForeground(QColor(Qt::blue));
        cursor.insertText(match.captured(), link);
        done = match.capturedEnd();
    }
    if (done < text.size()) cursor.insertText(text.mid(done), format);
}

void CRichMsgEdit::DropOldestText(int limit, int keep)
{
    QTextDocument* doc = document();
    const int count = doc->characterCount();
    if (count <= limit) return;
    const int cut = std::clamp(count - keep, 0, count - 1);
    const QTextBlock block = doc->findBlock(cut);
    const bool lineStart = block.position() == cut || !block.next().isValid();
    QTextCursor cursor(doc);
    cursor.setPosition(lineStart ? cut : block.next().position(), QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
}

void CRichMsgEdit::AppendFormatted(const TCharFormat* format, const CString& text)
{
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    InsertRun(cursor, ToEditorText(text), format ? ToQtCharFormat(*format) : QTextCharFormat());
    MoveCaretToEnd(cursor);
}

void CRichMsgEdit::AppendWithPictures(const TCharFormat* format, const CString& text)
{
    const QTextCharFormat textFormat = format ? ToQtCharFormat(*format) : QTextCharFormat();
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    const CKestUser* user = GetUserData();
    const bool showPictures = user && user->m_bShowEmoticon;
    bool pictures = false;
    // One edit: the document is laid out once for the whole text, however
    // many pictures it holds.
    cursor.beginEditBlock();
    if (!showPictures) {
        InsertRun(cursor, ToEditorText(text), textFormat);
    } else {
        ForEachEmoticonRun(text.view(), [&](const TEmoticonRun& run) {
            if (run.picture < 0) {
                InsertRun(cursor, ToEditorText(CString(text.view().substr(run.pos, run.length))), textFormat);
                return;
            }
            m_nLastEmoticon = run.picture;
            pictures = InsertPictureAt(cursor, run.picture) || pictures;
        });
    }
    cursor.endEditBlock();
    MoveCaretToEnd(cursor);
    if (pictures) SetTimer(kPictureTimer, kPictureTimerMs);
}

void CRichMsgEdit::AppendMessageText(CRichMsgEdit* editor, const TCharFormat* format, int indent,
                                     const char* pattern, ...)
{
    if (!editor || !pattern) return;
    CString text;
    va_list args;
    va_start(args, pattern);
    text.FormatV(pattern, args);
    va_end(args);
    // The shown text is cut to the buffer, never inside a character.
    if (text.GetLength() > kMessageBufferSize)
        text = CString(GbkPrefix(text.view(), static_cast<size_t>(kMessageBufferSize)));
    text.Replace("$CRLF", "\r\n");

    QTextCursor cursor(editor->document());
    cursor.movePosition(QTextCursor::End);
    QTextBlockFormat indented;
    if (indent != 0) {
        indented.setLeftMargin(indent * 24 / kTwipsPerPixel);
        cursor.mergeBlockFormat(indented);
    }
    editor->AppendWithPictures(format, text);
    if (indent != 0) {
        cursor.movePosition(QTextCursor::End);
        indented.setLeftMargin(0);
        cursor.mergeBlockFormat(indented);
    }
}

// ---- pictures -----------------------------------------------------------------------

CString CRichMsgEdit::PicturePath(int index) const
{
    if (index < 0 || index >= static_cast<int>(m_PicturePaths.size())) return CString();
    return m_PicturePaths[static_cast<size_t>(index)];
}

int CRichMsgEdit::PictureIndex(const QTextCharFormat& format)
{
    if (!format.isImageFormat()) return -1;
    const QUrl url(format.toImageFormat().name());
    if (url.scheme() != QLatin1String(kPictureScheme)) return -1;
    bool ok = false;
    const int index = url.path().toInt(&ok);
    return (ok && index >= 0 && index < kEmoticonCount) ? index : -1;
}

void CRichMsgEdit::WatchPicture(int index)
{
    if (m_Movies.count(index)) return;
    QMovie* movie = CEmoticonMovies::Instance().Acquire(ToQt(PicturePath(index)));
    m_Movies[index] = movie;
    document()->addResource(QTextDocument::ImageResource, PictureUrl(index), CEmoticonMovies::CurrentFrame(movie));
    connect(movie, &QMovie::frameChanged, this, [this, index] { OnPictureFrame(index); });
}

void CRichMsgEdit::OnPictureFrame(int index)
{
    const auto it = m_Movies.find(index);
    if (it == m_Movies.end()) return;
    // The new frame replaces the document's picture resource; every
    // occurrence draws it at the next paint. The layout stays as it is: the
    // frames of a picture all have one size.
    document()->addResource(QTextDocument::ImageResource, PictureUrl(index),
                            CEmoticonMovies::CurrentFrame(it->second));
    viewport()->update();
}

void CRichMsgEdit::AdvancePictures()
{
    for (auto& [index, movie] : m_Movies) movie->jumpToNextFrame();
}

QVariant CRichMsgEdit::loadResource(int type, const QUrl& name)
{
    if (type == QTextDocument::ImageResource && name.scheme() == QLatin1String(kPictureScheme)) {
        bool ok = false;
        const int index = name.path().toInt(&ok);
        if (ok && index >= 0 && index < kEmoticonCount) {
            WatchPicture(index);
            return CEmoticonMovies::CurrentFrame(m_Movies[index]);
        }
        return QVariant();
    }
    return QTextEdit::loadResource(type, name);
}

bool CRichMsgEdit::InsertPictureAt(QTextCursor& cursor, int index)
{
    if (index < 0 || index >= kEmoticonCount) return false;
    WatchPicture(index);
    const QSize size = CEmoticonMovies::FrameSize(m_Movies[index]);
    QTextImageFormat image;
    image.setName(PictureUrl(index).toString());
    image.setWidth(size.width());
    image.setHeight(size.height());
    cursor.insertImage(image);
    return true;
}

bool CRichMsgEdit::InsertEmoticon(int index)
{
    // Typing after the picture goes on in the format it had before it.
    const QTextCharFormat typing = currentCharFormat();
    QTextCursor cursor = textCursor();
    // The picture goes behind the selection, which stays in the text.
    cursor.setPosition(cursor.selectionEnd());
    if (!InsertPictureAt(cursor, index)) return false;
    setTextCursor(cursor);
    setCurrentCharFormat(typing);
    ensureCursorVisible();
    viewport()->update();
    SetTimer(kPictureTimer, kPictureTimerMs);
    setFocus();
    return true;
}

QImage CRichMsgEdit::PictureImage(int index) const
{
    auto* self = const_cast<CRichMsgEdit*>(this);
    self->WatchPicture(index);
    return CEmoticonMovies::CurrentFrame(self->m_Movies[index]).toImage();
}

// ---- clipboard -------------------------------------------------------------------------

QString CRichMsgEdit::PlainTextOf(int from, int to) const
{
    QString text;
    const QTextDocument* doc = document();
    for (QTextBlock block = doc->findBlock(from); block.isValid() && block.position() < to; block = block.next()) {
        if (block.position() > from) text += QLatin1Char('\n');
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int a = std::max(from, fragment.position());
            const int b = std::min(to, fragment.position() + fragment.length());
            if (a >= b) continue;
            const int index = PictureIndex(fragment.charFormat());
            if (fragment.charFormat().isImageFormat()) {
                // A picture copies as its emoticon code, which the input turns
                // back into the picture.
                for (int i = a; i < b; ++i) text += index >= 0 ? QString::fromLatin1(EmoticonCode(index)) : QString();
            } else {
                text += fragment.text().mid(a - fragment.position(), b - a);
            }
        }
    }
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}

QMimeData* CRichMsgEdit::createMimeDataFromSelection() const
{
    const QTextCursor cursor = textCursor();
    auto* data = new QMimeData;
    data->setText(PlainTextOf(cursor.selectionStart(), cursor.selectionEnd()));
    if (IsSelectionOnePicture()) {
        QTextCursor probe(document());
        probe.setPosition(cursor.selectionEnd());
        const int index = PictureIndex(probe.charFormat());
        if (index >= 0) data->setImageData(PictureImage(index));
    }
    return data;
}

bool CRichMsgEdit::canInsertFromMimeData(const QMimeData* source) const
{
    return source && source->hasText();
}

void CRichMsgEdit::insertFromMimeData(const QMimeData* source)
{
    if (!source || !source->hasText() || isReadOnly()) return;
    QTextCursor cursor = textCursor();
    cursor.insertText(source->text());
    setTextCursor(cursor);
    ensureCursorVisible();
}

// ---- context menu and commands ---------------------------------------------------------------

void CRichMsgEdit::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        ShowContextMenu(event->globalPosition().toPoint());
        event->accept();
        return;
    }
    QTextEdit::mouseReleaseEvent(event);
}

void CRichMsgEdit::contextMenuEvent(QContextMenuEvent* event)
{
    // The mouse opens the menu when the right button is released.
    if (event->reason() != QContextMenuEvent::Mouse) ShowContextMenu(event->globalPos());
    event->accept();
}

void CRichMsgEdit::ShowContextMenu(const QPoint& globalPos)
{
    setFocus();
    TMenuItem root;
    auto add = [&root](int id, const char* utf8) { root.children.push_back({id, Gbk(utf8), {}}); };
    auto separator = [&root] { root.children.push_back({}); };
    add(ID_UNDO, "撤消(&U)");
    separator();
    add(ID_CUT, "剪切(&T)");
    add(ID_COPY, "复制(&C)");
    add(ID_PASTE, "粘贴(&P)");
    add(ID_CLEAR, "清除(&D)");
    add(ID_SAVE_PICTURE, "另存为(&S)");
    separator();
    add(ID_SELECT_ALL, "全部选定(&A)");
    separator();
    add(ID_SAVE_ALL, "全部另存为(&L)...");
    if (m_bTransferSwitch) {
        add(ID_SEND_BMP, "传送bmp图片(&B)...");
        add(ID_SEND_WAV, "传送wav文件(&W)...");
    }
    std::unique_ptr<QMenu> menu(CreatePopupMenu(root, this));
    const bool selection = textCursor().hasSelection();
    EnableMenuAction(menu.get(), ID_UNDO, !isReadOnly() && document()->isUndoAvailable());
    EnableMenuAction(menu.get(), ID_SAVE_PICTURE, IsSelectionOnePicture());
    EnableMenuAction(menu.get(), ID_COPY, selection);
    EnableMenuAction(menu.get(), ID_CUT, !isReadOnly() && selection);
    EnableMenuAction(menu.get(), ID_CLEAR, !isReadOnly() && selection);
    EnableMenuAction(menu.get(), ID_PASTE, canPaste());
    const int chosen = GetUiDriver()->TrackPopupMenu(menu.get(), this, globalPos);
    menu.reset();
    if (chosen != 0) OnCommand(chosen, 0);
}

bool CRichMsgEdit::OnCommand(int id, intptr_t)
{
    QWidget* owner = m_pOwner ? m_pOwner : window();
    switch (id) {
    case ID_UNDO: undo(); return true;
    case ID_CUT: cut(); return true;
    case ID_COPY: copy(); return true;
    case ID_PASTE: paste(); return true;
    case ID_CLEAR: Clear(); return true;
    case ID_SAVE_PICTURE: SaveSelectedPicture(); return true;
    case ID_SELECT_ALL: selectAll(); return true;
    case ID_SAVE_ALL: SaveAllContent(); return true;
    case ID_SEND_BMP: PostCommand(owner, kSendBmpCommand); return true;
    case ID_SEND_WAV: PostCommand(owner, kSendWavCommand); return true;
    default: return false;
    }
}

void CRichMsgEdit::SaveSelectedPicture()
{
    const CString chosen = GetUiDriver()->GetSaveFileName(this, CString(), "bmp File (*.bmp *.BMP)");
    if (chosen.IsEmpty()) return;
    const CString name = WithDefaultExtension(chosen, ".bmp");
    int index = -1;
    if (IsSelectionOnePicture()) {
        QTextCursor probe(document());
        probe.setPosition(textCursor().selectionEnd());
        index = PictureIndex(probe.charFormat());
    }
    if (index < 0) {
        ShowMessageBox(this, Gbk("保存失败，请选择正确的图片内容！"), GetMsgTitle(), MB_ICONINFORMATION);
        return;
    }
    // The picture is taken straight from the editor: what the user has on
    // the clipboard stays there.
    if (!WriteBitmapFile(ToQt(name), PictureImage(index)))
        ShowMessageBox(this, Gbk("保存失败，目标文件文件可能正在使用中！"), GetMsgTitle(), MB_ICONINFORMATION);
}

void CRichMsgEdit::SaveAllContent()
{
    const CString chosen =
        GetUiDriver()->GetSaveFileName(this, CString(), "RTF File (*.RTF);;Text File (*.TXT)");
    if (chosen.IsEmpty()) return;
    const CString name = WithDefaultExtension(chosen, ".RTF");
    QFile file(ToQt(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return;
    if (ExtensionOf(name).EqualsNoCase("txt")) {
        const CString text = GetWindowText() + "\n";
        file.write(text.c_str(), text.GetLength());
        return;
    }
    file.write(DocumentToRtf(*document(), [this](const QTextImageFormat& format) {
        const int index = PictureIndex(format);
        return index >= 0 ? PictureImage(index) : QImage();
    }));
}

// ---- scrolling and timers ---------------------------------------------------------------------

void CRichMsgEdit::ScrollToBottom()
{
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

void CRichMsgEdit::ScrollPageDown()
{
    verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
}

void CRichMsgEdit::timerEvent(QTimerEvent* event)
{
    if (!HandleTimerEvent(event)) QTextEdit::timerEvent(event);
}
