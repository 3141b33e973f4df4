#include "conversation/RichMsgEdit.h"

#include <algorithm>
#include <cstdarg>
#include <memory>

#include <QCoreApplication>
#include <QAbstractTextDocumentLayout>
#include <QContextMenuEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextLayout>

#include "clientkit/ClientKit.h"
#include "common/Emoticons.h"
#include "common/TextFunctions.h"
#include "conversation/DocumentBytes.h"
#include "conversation/EditorAccessible.h"
#include "conversation/EditorFiles.h"
#include "conversation/EditorPictures.h"

namespace tarvolan {

namespace {

// Twips per pixel at 96 pixels per inch.
constexpr double kTwipsPerPixel = 15.0;
// The largest character height the editors show: 72 points, the largest size
// a font dialog lists. Larger sizes (a font dialog accepts up to 1638 points,
// a peer's markup any number) made a few thousand characters wrap into a
// document taller than about eight million pixels, where Qt's text layout
// never finishes: the window hung for good.
constexpr int kMaxHeightTwips = 72 * 20;

// GBK text as Qt text with every line break a paragraph break.
QString ToEditorText(const CString& text)
{
    QString result = ToQt(text);
    result.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return result;
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

CRichMsgEdit::CRichMsgEdit(QWidget* parent)
    : QTextEdit(parent), m_pPictures(std::make_unique<CEditorPictures>(this))
{
    InstallEditorAccessible();  // emoticons are read by their meaning
    setAcceptRichText(false);
    setAcceptDrops(true);
    connect(document(), &QTextDocument::contentsChange, this, &CRichMsgEdit::OnContentsChange);
    connect(this, &QTextEdit::textChanged, this, [this] {
        if (m_nQuiet == 0) emit TextChanged();
    });
}

CRichMsgEdit::~CRichMsgEdit() = default;

void CRichMsgEdit::SetReadOnly(bool readOnly)
{
    setReadOnly(readOnly);
    setUndoRedoEnabled(!readOnly);
}

// ---- byte positions -----------------------------------------------------------

CDocumentBytes CRichMsgEdit::Bytes() const
{
    return CDocumentBytes(*document());
}

CString CRichMsgEdit::GetWindowText() const
{
    return Bytes().Text();
}

int CRichMsgEdit::GetWindowTextLength() const
{
    return GetWindowText().GetLength();
}

CString CRichMsgEdit::GetPictureMap() const
{
    return Bytes().PictureMap(&CEditorPictures::IndexOf);
}

void CRichMsgEdit::GetSel(int& start, int& end) const
{
    const TByteRange selection = Bytes().SelectionOf(textCursor());
    start = selection.start;
    end = selection.end;
}

void CRichMsgEdit::SetSel(int start, int end)
{
    QTextCursor cursor = textCursor();
    if (start < 0)
        cursor.clearSelection();
    else
        Bytes().Select(cursor, start, end);
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

QTextCharFormat CRichMsgEdit::FormatBeforeSelectionEnd() const
{
    QTextCursor probe(document());
    probe.setPosition(textCursor().selectionEnd());
    return probe.charFormat();
}

bool CRichMsgEdit::IsSelectionOnePicture() const
{
    const QTextCursor cursor = textCursor();
    return cursor.selectionEnd() - cursor.selectionStart() == 1 && FormatBeforeSelectionEnd().isImageFormat();
}

QImage CRichMsgEdit::SelectedPicture() const
{
    return IsSelectionOnePicture() ? m_pPictures->ImageOf(FormatBeforeSelectionEnd()) : QImage();
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
    const CDocumentBytes bytes = Bytes();
    const QTextBlock last = document()->lastBlock();
    int start = last.position();
    const QTextLayout* layout = last.layout();
    if (layout && layout->lineCount() > 0) start += layout->lineAt(layout->lineCount() - 1).textStart();
    return bytes.Length() - bytes.ByteOf(start);
}

int CRichMsgEdit::PictureCount() const
{
    int count = 0;
    ForEachFragment(*document(), [&count](const QTextFragment& fragment) {
        if (fragment.charFormat().isImageFormat()) count += fragment.length();
    });
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
    const TByteRange bytes = Bytes().BytesOf(m_nChangePos, m_nChangePos + m_nChangeAdded);
    start = bytes.start;
    added = bytes.end - bytes.start;
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
    CompactSoon();
}

void CRichMsgEdit::CompactSoon()
{
    if (m_bCompactPending) return;
    m_bCompactPending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_bCompactPending = false;
            CompactDocument();
        },
        Qt::QueuedConnection);
}

void CRichMsgEdit::CompactDocument()
{
    QTextDocument* doc = document();
    const QTextDocumentFragment content(doc);
    // Positions, not a cursor: the clearing moves every cursor of the document.
    const int anchor = textCursor().anchor(), position = textCursor().position();
    const QTextCharFormat typing = currentCharFormat();
    const int scroll = verticalScrollBar()->value();
    const bool undo = doc->isUndoRedoEnabled();
    {
        CQuietChange quiet(this);
        doc->setUndoRedoEnabled(false);  // the content is no step to undo
        doc->clear();                    // a fresh buffer and format collection
        QTextCursor(doc).insertFragment(content);
        doc->setUndoRedoEnabled(undo);
    }
    m_pPictures->RestoreResources();  // the clearing took the pictures' frames
    QTextCursor now(doc);
    now.setPosition(anchor);
    now.setPosition(position, QTextCursor::KeepAnchor);
    setTextCursor(now);
    if (!now.hasSelection()) setCurrentCharFormat(typing);  // with one, it would format the selection
    // The whole text is laid out now, as appending would have it, so that the
    // view comes back to where it was.
    doc->documentLayout()->blockBoundingRect(doc->lastBlock());
    verticalScrollBar()->setValue(scroll);
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
            pictures = m_pPictures->Insert(cursor, run.picture) || pictures;
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
    return m_pPictures->Path(index);
}

void CRichMsgEdit::UsePictureRatio(qreal dpr)
{
    m_pPictures->UseRatio(dpr);
}

void CRichMsgEdit::AdvancePictures()
{
    m_pPictures->AdvanceAll();
}

QVariant CRichMsgEdit::loadResource(int type, const QUrl& name)
{
    if (type == QTextDocument::ImageResource && CEditorPictures::IsPictureName(name))
        return m_pPictures->Resource(name);
    return QTextEdit::loadResource(type, name);
}

bool CRichMsgEdit::InsertEmoticon(int index)
{
    // Typing after the picture goes on in the format it had before it.
    const QTextCharFormat typing = currentCharFormat();
    QTextCursor cursor = textCursor();
    // The picture goes behind the selection, which stays in the text.
    cursor.setPosition(cursor.selectionEnd());
    if (!m_pPictures->Insert(cursor, index)) return false;
    setTextCursor(cursor);
    setCurrentCharFormat(typing);
    ensureCursorVisible();
    viewport()->update();
    SetTimer(kPictureTimer, kPictureTimerMs);
    setFocus();
    return true;
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
            const int index = CEditorPictures::IndexOf(fragment.charFormat());
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
    const QImage picture = SelectedPicture();
    if (!picture.isNull()) data->setImageData(picture);
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

CEditorMenu::TState CRichMsgEdit::MenuState() const
{
    CEditorMenu::TState state;
    state.readOnly = isReadOnly();
    state.undoAvailable = document()->isUndoAvailable();
    state.selection = textCursor().hasSelection();
    state.onePicture = IsSelectionOnePicture();
    state.canPaste = canPaste();
    state.transfer = m_bTransferSwitch;
    return state;
}

void CRichMsgEdit::ShowContextMenu(const QPoint& globalPos)
{
    setFocus();
    const int chosen = CEditorMenu::Run(this, globalPos, MenuState());
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
    const CString name = AskSaveFileName(this, "bmp File (*.bmp *.BMP)", ".bmp");
    if (name.IsEmpty()) return;
    // The picture is taken straight from the editor: what the user has on
    // the clipboard stays there.
    SavePictureFile(this, name, SelectedPicture());
}

void CRichMsgEdit::SaveAllContent()
{
    const CString filter = FromQt(QCoreApplication::translate("CRichMsgEdit", "RTF File (*.RTF);;Text File (*.TXT)"));
    const CString name = AskSaveFileName(this, filter.c_str(), ".RTF");
    if (name.IsEmpty()) return;
    SaveContentFile(name, *document(), GetWindowText(),
                    [this](const QTextImageFormat& format) { return m_pPictures->ImageOf(format); });
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

bool CRichMsgEdit::event(QEvent* event)
{
    // Shown, or moved to a screen of another pixel ratio: the pictures take
    // the art of the screen.
    if (event->type() == QEvent::Show || event->type() == QEvent::ScreenChangeInternal)
        UsePictureRatio(devicePixelRatioF());
    return QTextEdit::event(event);
}

void CRichMsgEdit::timerEvent(QTimerEvent* event)
{
    if (!HandleTimerEvent(event)) QTextEdit::timerEvent(event);
}

} // namespace tarvolan
