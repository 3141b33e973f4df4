#include "dialogs/DialogControls.h"

#include <algorithm>

#include <QAbstractButton>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextCursor>

#include "platform/Window.h"

namespace tarvolan {

namespace {

int GbkLength(const QString& text)
{
    return FromQt(text).GetLength();
}

// Never ends a cut in the middle of a surrogate pair.
int CharBoundaryBefore(const QString& text, int pos)
{
    if (pos > 0 && pos < text.size() && text.at(pos - 1).isHighSurrogate() && text.at(pos).isLowSurrogate())
        --pos;
    return pos;
}

// The longest leading part of text, in UTF-16 units, that takes at most
// bytes of GBK. A character takes at least a byte and at most two units (a
// surrogate pair), so the search looks only at the first 2 * bytes units
// however long a pasted text is.
int FittingPrefix(const QString& text, int bytes)
{
    if (bytes <= 0) return 0;
    int low = 0, high = static_cast<int>(std::min<qsizetype>(text.size(), 2 * static_cast<qsizetype>(bytes)));
    while (low < high) {
        const int mid = (low + high + 1) / 2;
        if (GbkLength(text.left(mid)) <= bytes) low = mid;
        else high = mid - 1;
    }
    return CharBoundaryBefore(text, low);
}

// Watches one edit and keeps its text within the limit. The edit owns it.
class CEditByteLimiter : public QObject {
public:
    CEditByteLimiter(QWidget* edit, int limit) : QObject(edit), m_pEdit(edit), m_nLimit(limit)
    {
        setObjectName(QStringLiteral("byteLimiter"));
        m_previous = Text();
        if (auto* line = qobject_cast<QLineEdit*>(edit))
            connect(line, &QLineEdit::textChanged, this, [this] { Enforce(); });
        else if (auto* plain = qobject_cast<QPlainTextEdit*>(edit))
            connect(plain, &QPlainTextEdit::textChanged, this, [this] { Enforce(); });
    }

    int Limit() const { return m_nLimit; }
    // As a new limit of a Windows edit: the text already there stays, even
    // when it is longer; only what is added later counts.
    void SetLimit(int limit)
    {
        m_nLimit = limit;
        m_previous = Text();
    }

private:
    QString Text() const
    {
        if (auto* line = qobject_cast<QLineEdit*>(m_pEdit)) return line->text();
        if (auto* plain = qobject_cast<QPlainTextEdit*>(m_pEdit)) return plain->toPlainText();
        return QString();
    }

    void Replace(const QString& text, int cursor)
    {
        if (auto* line = qobject_cast<QLineEdit*>(m_pEdit)) {
            line->setText(text);
            line->setCursorPosition(cursor);
        } else if (auto* plain = qobject_cast<QPlainTextEdit*>(m_pEdit)) {
            plain->setPlainText(text);
            QTextCursor position = plain->textCursor();
            position.setPosition(cursor);
            plain->setTextCursor(position);
        }
    }

    // The change from m_previous to the new text is taken as one insertion
    // between an unchanged beginning and end; only that insertion is cut, so
    // a longer text that the edit already held is never cut.
    void Enforce()
    {
        if (m_bBusy || !m_pEdit) return;
        const QString text = Text();
        if (GbkLength(text) <= m_nLimit) {
            m_previous = text;
            return;
        }
        const int length = static_cast<int>(text.size());
        const int oldLength = static_cast<int>(m_previous.size());
        int head = 0;
        while (head < std::min(length, oldLength) && text.at(head) == m_previous.at(head)) ++head;
        int tail = 0;
        while (tail < std::min(length, oldLength) - head &&
               text.at(length - 1 - tail) == m_previous.at(oldLength - 1 - tail))
            ++tail;
        head = CharBoundaryBefore(text, head);
        if (tail > 0 && text.at(length - tail).isLowSurrogate()) --tail;
        const QString before = text.left(head);
        const QString after = text.right(tail);
        const QString inserted = text.mid(head, length - head - tail);
        const int room = m_nLimit - GbkLength(before) - GbkLength(after);
        const QString kept = inserted.left(FittingPrefix(inserted, room));
        m_previous = before + kept + after;
        if (kept.size() == inserted.size()) return;  // nothing was added: a shortened long text
        m_bBusy = true;
        Replace(m_previous, static_cast<int>(before.size() + kept.size()));
        m_bBusy = false;
    }

    QPointer<QWidget> m_pEdit;
    int m_nLimit;
    QString m_previous;
    bool m_bBusy = false;
};

CEditByteLimiter* FindLimiter(const QWidget* edit)
{
    return edit ? edit->findChild<CEditByteLimiter*>(QStringLiteral("byteLimiter"), Qt::FindDirectChildrenOnly)
                : nullptr;
}

// A decimal number with an optional sign; blanks around it allowed.
bool ParseInt32(const CString& text, int32_t& value)
{
    CString trimmed = text;
    trimmed.Trim();
    const std::string& s = trimmed.str();
    size_t i = (!s.empty() && (s[0] == '-' || s[0] == '+')) ? 1 : 0;
    if (i == s.size()) return false;
    int64_t number = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9') return false;
        number = number * 10 + (s[i] - '0');
        if (number > 2147483648LL) return false;
    }
    if (s[0] == '-') number = -number;
    if (number > INT32_MAX || number < INT32_MIN) return false;
    value = static_cast<int32_t>(number);
    return true;
}

} // namespace

void LimitTextBytes(QWidget* edit, int limit)
{
    if (!edit) return;
    if (CEditByteLimiter* limiter = FindLimiter(edit)) {
        limiter->SetLimit(limit);
        return;
    }
    if (!qobject_cast<QLineEdit*>(edit) && !qobject_cast<QPlainTextEdit*>(edit)) return;
    new CEditByteLimiter(edit, limit);
}

int TextByteLimit(const QWidget* edit)
{
    const CEditByteLimiter* limiter = FindLimiter(edit);
    return limiter ? limiter->Limit() : 0;
}

void SetRadioIndex(const CDialog& dialog, std::initializer_list<int> ids, int32_t index)
{
    int32_t i = 0;
    for (int id : ids) {
        if (auto* radio = qobject_cast<QAbstractButton*>(dialog.GetDlgItem(id))) {
            // Without exclusivity for a moment, so that every button can be off.
            const bool exclusive = radio->autoExclusive();
            radio->setAutoExclusive(false);
            radio->setChecked(i == index);
            radio->setAutoExclusive(exclusive);
        }
        ++i;
    }
}

int32_t GetRadioIndex(const CDialog& dialog, std::initializer_list<int> ids)
{
    int32_t i = 0;
    for (int id : ids) {
        auto* radio = qobject_cast<QAbstractButton*>(dialog.GetDlgItem(id));
        if (radio && radio->isChecked()) return i;
        ++i;
    }
    return -1;
}

void SetDlgItemInt32(CDialog& dialog, int id, int32_t value)
{
    CString text;
    text.Format("%d", value);
    dialog.SetDlgItemText(id, text);
}

bool GetDlgItemInt32(const CDialog& dialog, int id, int32_t& value)
{
    return ParseInt32(dialog.GetDlgItemText(id), value);
}

void DisableControls(const CDialog& dialog, std::initializer_list<int> ids)
{
    for (int id : ids) {
        if (QWidget* control = dialog.GetDlgItem(id)) control->setEnabled(false);
    }
}

bool IsBlank(const CString& text)
{
    CString trimmed = text;
    trimmed.Trim();
    return trimmed.IsEmpty();
}

} // namespace tarvolan
