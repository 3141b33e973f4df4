// CRichMsgEdit: the rich editor behind the conversation output, the message
// input and the history text. A QTextEdit with a byte-position interface over
// GBK: its window text is the document's text in GBK with "\r\n" between
// paragraphs and exactly one placeholder byte for each embedded picture, and
// selections are byte ranges of that text.
//
// It appends formatted text with emoticon codes turned into animated
// pictures, embeds pictures at the selection, offers a context menu with the
// clipboard commands, saves a selected picture as a bitmap file and saves the
// whole content as RTF or plain text. It uses a CDocumentBytes for the byte
// view of its document, a CEditorPictures for the pictures and their
// animations, a CEditorMenu for the context menu and the functions of
// EditorFiles.h for saving.
#pragma once

#include <cstdint>
#include <memory>

#include <QTextCharFormat>
#include <QTextEdit>

#include "common/GbkString.h"
#include "common/TextFormat.h"
#include "conversation/EditorMenu.h"
#include "platform/Window.h"

class QImage;

namespace tarvolan {

class CDocumentBytes;
class CEditorPictures;

// A character format record as a Qt format: only the fields its mask gives.
QTextCharFormat ToQtCharFormat(const TCharFormat& format);

class CRichMsgEdit : public QTextEdit, public CWindowTimers, public CCommandTarget {
    Q_OBJECT
public:
    // Context menu commands (ID_UNDO ... ID_SEND_WAV).
    using enum CEditorMenu::ECommand;
    // Commands posted to the owner window by 110 and 111.
    enum : int { kSendBmpCommand = 333333, kSendWavCommand = 444444 };
    // Longest text that AppendMessageText shows at once.
    static constexpr int kMessageBufferSize = 20480;
    // Started for 100 ms after a picture was embedded.
    static constexpr int kPictureTimer = 0;
    static constexpr int kPictureTimerMs = 100;
    // Text limit before and after the editor is attached to its dialog item.
    static constexpr int kDefaultTextLimit = 32767;
    static constexpr int kAttachedTextLimit = 0x7FFFFFFF;

    explicit CRichMsgEdit(QWidget* parent = nullptr);
    ~CRichMsgEdit() override;

    // The window that receives the transfer commands; the editor's top-level
    // window when none is set.
    void SetOwner(QWidget* owner) { m_pOwner = owner; }
    // When on, the context menu offers the two transfer entries.
    void SetTransferSwitch(bool on) { m_bTransferSwitch = on; }
    // Called when the editor becomes its dialog's item: raises the limit.
    void AttachToDialog() { m_nTextLimit = kAttachedTextLimit; }
    void LimitText(int bytes) { m_nTextLimit = bytes; }
    int GetLimitText() const { return m_nTextLimit; }
    // Read-only editors keep no undo history.
    void SetReadOnly(bool readOnly);

    // ---- text and selection in bytes ----------------------------------------
    CString GetWindowText() const;
    int GetWindowTextLength() const;
    // For every byte of the window text: 'E' for text, index + 1 for a picture
    // of that emoticon index (0x7F for a picture of no known emoticon).
    CString GetPictureMap() const;
    void GetSel(int& start, int& end) const;
    // Selects bytes start..end (end -1: to the end of the text; start -1:
    // no selection, the caret stays). Positions are clamped to the text; a
    // position inside a character moves to its start (start) or end (end).
    void SetSel(int start, int end);
    // Replaces the selection by text (GBK; "\r\n" makes a new paragraph) in
    // the format at the caret; the caret ends behind it.
    void ReplaceSel(const CString& text);
    // Deletes the selection.
    void Clear();
    bool CanPaste() const;
    // Whether the selection is exactly one embedded picture.
    bool IsSelectionOnePicture() const;
    // Lines as laid out (a paragraph not laid out yet counts as one line).
    int GetLineCount() const;
    // Byte length of the last line.
    int LastLineLength() const;
    // Number of embedded pictures.
    int PictureCount() const;

    // Applies a character format to the selection (and to typing at the caret).
    void SetSelectionCharFormat(const TCharFormat& format);
    // Applies a character format to the whole text and to typing; the
    // document is touched (and an undo step made) only where the text does
    // not have the format yet. The selection stays.
    void ApplyCharFormatToAll(const TCharFormat& format);
    // Shows addresses (http://, https://, ftp://, mailto:, www.) in appended
    // text as links.
    void SetAutoUrlDetect(bool on) { m_bAutoUrl = on; }

    // ---- appending and pictures -------------------------------------------------
    // Appends text at the end; with a format the text takes it, and typing
    // after it continues in the default format.
    void AppendFormatted(const TCharFormat* format, const CString& text);
    // printf-style text appended with emoticon codes shown as pictures (when
    // the signed-in user's emoticon switch is on). The result is cut to
    // kMessageBufferSize bytes and "$CRLF" becomes a line break. Callers pass
    // shown text as an argument of "%s", never as the pattern.
    static void AppendMessageText(CRichMsgEdit* editor, const TCharFormat* format, int indent,
                                  const char* pattern, ...) __attribute__((format(printf, 4, 5)));
    // Past limit characters, drops the oldest text until about keep are
    // left: whole lines, unless the text is one line. The document is then
    // rebuilt from what is left (CompactDocument) once the caller's edit is
    // over, at the next turn of the event loop.
    void DropOldestText(int limit, int keep);
    // Rebuilds the document from its own content: the same text, formats,
    // pictures, selection and scroll position. Qt keeps every character once
    // appended in the document's buffer and every format once used (each link
    // has a format of its own) until the document is cleared, so an output
    // that only dropped its oldest text would still hold hours of messages.
    void CompactDocument();
    // Embeds picture index (0..39) at the end of the selection and starts
    // the picture timer; false (nothing inserted) for another index.
    bool InsertEmoticon(int index);
    // Index of the last picture that AppendMessageText showed; -1 before.
    int LastEmoticon() const { return m_nLastEmoticon; }
    // The picture file of emoticon index; empty for another index.
    CString PicturePath(int index) const;
    // Shows the pictures with the art for a screen of device pixel ratio
    // dpr; the editor calls it when it is shown and when its window moves to
    // another screen.
    void UsePictureRatio(qreal dpr);
    // Moves every animated picture of the editor one frame on, as its timer
    // would (benchmarks and tests).
    void AdvancePictures();

    // ---- commands -----------------------------------------------------------------
    bool OnCommand(int id, intptr_t lParam) override;
    void OnTimer(int) override {}
    // Builds the context menu with its enabling rules and runs it through the
    // UI driver; the command chosen is carried out.
    void ShowContextMenu(const QPoint& globalPos);
    // 106: saves the selected picture as a bitmap file.
    void SaveSelectedPicture();
    // 109: saves everything as RTF, or as text when the name ends in ".txt".
    void SaveAllContent();

    void ScrollToBottom();
    void ScrollPageDown();

signals:
    // The text changed (typing, paste, a command, undo): every change except
    // those made inside a CQuietChange.
    void TextChanged();

public:
    // Changes made while one lives do not emit TextChanged.
    class CQuietChange {
    public:
        explicit CQuietChange(CRichMsgEdit* edit) : m_pEdit(edit) { ++m_pEdit->m_nQuiet; }
        ~CQuietChange() { --m_pEdit->m_nQuiet; }
        CQuietChange(const CQuietChange&) = delete;
        CQuietChange& operator=(const CQuietChange&) = delete;

    private:
        CRichMsgEdit* m_pEdit;
    };

    // Where the document last changed, in bytes of the current window text:
    // the change starts at start and the new text there is added bytes long.
    // False when no change or more than one was reported since the last call.
    bool TakeLastChange(int& start, int& added);

protected:
    QObject* TimerObject() override { return this; }
    void timerEvent(QTimerEvent* event) override;
    bool event(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    QMimeData* createMimeDataFromSelection() const override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
    QVariant loadResource(int type, const QUrl& name) override;

private:
    // The document as bytes, as it is now.
    CDocumentBytes Bytes() const;
    // The format of the character before the end of the selection.
    QTextCharFormat FormatBeforeSelectionEnd() const;
    // The image of the emoticon picture that is the whole selection; a null
    // image when the selection is no such picture.
    QImage SelectedPicture() const;
    CEditorMenu::TState MenuState() const;
    // Appends one text with emoticon substitution at the end.
    void AppendWithPictures(const TCharFormat* format, const CString& text);
    // Inserts plain text at the cursor, addresses as links when detection is on.
    void InsertRun(QTextCursor& cursor, const QString& text, const QTextCharFormat& format);
    // Plain text of a document range, pictures as their emoticon codes.
    QString PlainTextOf(int from, int to) const;
    void OnContentsChange(int position, int removed, int added);
    void MoveCaretToEnd(const QTextCursor& end);
    // CompactDocument at the next turn of the event loop, once however many
    // trims ask for it: never inside an edit block of the caller.
    void CompactSoon();

    QWidget* m_pOwner = nullptr;
    bool m_bTransferSwitch = false;
    int m_nTextLimit = kDefaultTextLimit;
    int m_nLastEmoticon = -1;
    std::unique_ptr<CEditorPictures> m_pPictures;
    bool m_bAutoUrl = false;
    int m_nQuiet = 0;
    int m_nChanges = 0;                // changes reported since TakeLastChange
    int m_nChangePos = 0;              // document position of the last change
    int m_nChangeAdded = 0;            // characters it added
    bool m_bCompactPending = false;    // CompactSoon has queued a rebuild
};

} // namespace tarvolan
