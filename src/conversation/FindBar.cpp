#include "conversation/FindBar.h"

#include <QBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>

#include "platform/ScreenReading.h"

namespace tarvolan {

namespace {

// The box layout that holds widget as its own item, and where; null when
// no layout under root does.
QBoxLayout* LayoutHolding(QLayout* root, QWidget* widget, int* index)
{
    if (!root) return nullptr;
    for (int i = 0; i < root->count(); ++i) {
        QLayoutItem* item = root->itemAt(i);
        if (item->widget() == widget) {
            *index = i;
            return qobject_cast<QBoxLayout*>(root);
        }
        if (QBoxLayout* inner = LayoutHolding(item->layout(), widget, index)) return inner;
    }
    return nullptr;
}

QPushButton* TextButton(QWidget* parent, int id, const QString& text, const QString& name)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QStringLiteral("id%1").arg(id));
    button->setAccessibleName(name);
    button->setAutoDefault(false);
    return button;
}

} // namespace

// ---- matches in a text ------------------------------------------------------------

int CTextFindTarget::Search(const QString& text)
{
    m_matches.clear();
    QList<QTextEdit::ExtraSelection> highlights;
    if (!text.isEmpty()) {
        QTextCharFormat look;
        QColor colour = m_text.palette().color(QPalette::Highlight);
        colour.setAlpha(140);  // the text stays readable under it
        look.setBackground(colour);
        const QTextDocument* document = m_text.document();
        for (QTextCursor found = document->find(text, 0); !found.isNull(); found = document->find(text, found)) {
            m_matches.append(found);
            highlights.append({found, look});
        }
    }
    m_text.setExtraSelections(highlights);
    return static_cast<int>(m_matches.size());
}

QString CTextFindTarget::ShowMatch(int index)
{
    if (index < 0 || index >= m_matches.size()) return QString();
    const QTextCursor& match = m_matches[index];
    m_text.setTextCursor(match);
    m_text.ensureCursorVisible();
    return match.block().text();
}

void CTextFindTarget::EndSearch()
{
    m_matches.clear();
    m_text.setExtraSelections({});
}

// ---- the bar ------------------------------------------------------------------------

CFindBar::CFindBar(QWidget& window, QWidget& after, std::unique_ptr<IFindTarget> target)
    : QWidget(after.parentWidget()), m_window(window), m_target(std::move(target))
{
    setObjectName(QStringLiteral("findBar"));
    m_pField = new QLineEdit(this);
    m_pField->setObjectName(QStringLiteral("id%1").arg(IDC_FIND_TEXT));
    m_pField->setAccessibleName(tr("查找"));
    m_pField->setPlaceholderText(tr("查找"));
    m_pPrevious = TextButton(this, IDC_FIND_PREVIOUS, tr("上一个"), tr("上一个"));
    m_pNext = TextButton(this, IDC_FIND_NEXT, tr("下一个"), tr("下一个"));
    m_pCount = new QLabel(this);
    m_pCount->setObjectName(QStringLiteral("id%1").arg(IDC_FIND_COUNT));
    m_pCount->setAccessibleName(tr("查找结果"));
    m_pClose = TextButton(this, IDC_FIND_CLOSE, tr("关闭"), tr("关闭查找"));

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(m_pField, 1);
    row->addWidget(m_pPrevious);
    row->addWidget(m_pNext);
    row->addWidget(m_pCount);
    row->addWidget(m_pClose);

    int index = 0;
    if (QBoxLayout* layout = LayoutHolding(after.parentWidget() ? after.parentWidget()->layout() : nullptr, &after, &index))
        layout->insertWidget(index + 1, this);
    // Tab: the text searched, then the bar, then what came after the text.
    QWidget::setTabOrder(&after, m_pField);
    QWidget::setTabOrder(m_pField, m_pPrevious);
    QWidget::setTabOrder(m_pPrevious, m_pNext);
    QWidget::setTabOrder(m_pNext, m_pClose);
    hide();

    connect(m_pField, &QLineEdit::textEdited, this, [this] { Search(); });
    connect(m_pPrevious, &QPushButton::clicked, this, [this] { Previous(); });
    connect(m_pNext, &QPushButton::clicked, this, [this] { Next(); });
    connect(m_pClose, &QPushButton::clicked, this, [this] { Close(); });
    auto* open = new QShortcut(QKeySequence::Find, &window);
    connect(open, &QShortcut::activated, this, [this] { Open(); });
    m_pF3 = new QShortcut(QKeySequence(Qt::Key_F3), &window);
    connect(m_pF3, &QShortcut::activated, this, [this] { Next(); });
    m_pShiftF3 = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3), &window);
    connect(m_pShiftF3, &QShortcut::activated, this, [this] { Previous(); });
    EnableKeys(false);
}

CFindBar::~CFindBar() = default;

void CFindBar::EnableKeys(bool on)
{
    m_pF3->setEnabled(on);
    m_pShiftF3->setEnabled(on);
}

void CFindBar::Open()
{
    if (isHidden()) {
        QWidget* focus = m_window.focusWidget();
        m_pReturnFocus = focus && !isAncestorOf(focus) ? focus : nullptr;
        show();
        EnableKeys(true);
        if (!m_pField->text().isEmpty()) Search();
    }
    m_pField->setFocus(Qt::ShortcutFocusReason);
    m_pField->selectAll();
}

void CFindBar::Close()
{
    if (isHidden()) return;
    hide();
    EnableKeys(false);
    m_target->EndSearch();
    m_nCount = 0;
    m_nCurrent = -1;
    if (m_pReturnFocus && m_pReturnFocus->isVisible()) m_pReturnFocus->setFocus(Qt::OtherFocusReason);
}

void CFindBar::Search()
{
    m_nCount = m_target->Search(m_pField->text());
    m_nCurrent = -1;
    if (m_nCount > 0)
        Go(0, false);
    else if (m_pField->text().isEmpty())
        m_pCount->clear();
    else
        ShowNoMatch();
}

void CFindBar::Refresh()
{
    if (isHidden() || m_pField->text().isEmpty()) return;
    const int current = m_nCurrent;
    m_nCount = m_target->Search(m_pField->text());
    m_nCurrent = m_nCount > 0 ? std::min(std::max(current, 0), m_nCount - 1) : -1;
    m_pCount->setText(CountText());
}

QString CFindBar::CountText() const
{
    return m_nCurrent < 0 ? tr("没有找到") : tr("%1/%2").arg(m_nCurrent + 1).arg(m_nCount);
}

void CFindBar::Next()
{
    Step(1);
}

void CFindBar::Previous()
{
    Step(-1);
}

void CFindBar::Step(int delta)
{
    if (isHidden()) return;
    if (m_nCount == 0) {
        if (!m_pField->text().isEmpty()) ShowNoMatch();
        return;
    }
    Go((m_nCurrent + delta + m_nCount) % m_nCount);  // round the ends
}

void CFindBar::Go(int index, bool again)
{
    // Showing a match may move the focus (the history viewer's list takes
    // it back): whoever had it in the bar keeps it.
    QWidget* focus = m_window.focusWidget();
    const bool inBar = focus && isAncestorOf(focus);
    m_nCurrent = index;
    const QString where = m_target->ShowMatch(index);
    if (inBar) focus->setFocus(Qt::OtherFocusReason);
    const QString count = CountText();
    m_pCount->setText(count);
    const QString said = where.isEmpty() ? count : count + QLatin1Char(' ') + where;
    if (again || said != LastAnnouncement(&m_window)) AnnounceToReaders(&m_window, said);
}

void CFindBar::ShowNoMatch()
{
    m_pCount->setText(CountText());
    AnnounceToReaders(&m_window, m_pCount->text());
}

bool CFindBar::event(QEvent* event)
{
    // Escape and Enter belong to the bar while it has the focus: no shortcut
    // of the window takes them first.
    if (event->type() == QEvent::ShortcutOverride) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter) {
            event->accept();
            return true;
        }
    }
    return QWidget::event(event);
}

void CFindBar::keyPressEvent(QKeyEvent* event)
{
    // Keys the field and the buttons leave alone come here: Escape closes
    // the bar (never the window), Enter in the field moves on.
    switch (event->key()) {
    case Qt::Key_Escape:
        event->accept();
        Close();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        if (event->modifiers() & Qt::ShiftModifier)
            Previous();
        else
            Next();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

} // namespace tarvolan
