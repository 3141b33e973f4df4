// CFindBar: the find bar of a conversation window and of the history viewer.
// Ctrl+F opens it below the text it searches: a field for the text, "上一个"
// and "下一个" (also Shift+Enter and Enter in the field, Shift+F3 and F3 in
// the window), the number of the current match of all ("2/5") or "没有找到",
// and "关闭" (also Escape, which closes the bar and nothing else). Every match
// is highlighted; moving to one selects it and tells a screen reader where it
// is. The text searched for is Unicode: the GBK limits of the texts sent to
// the host do not apply to it.
#pragma once

#include <memory>

#include <QList>
#include <QPointer>
#include <QString>
#include <QTextCursor>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QShortcut;
class QTextEdit;

namespace tarvolan {

// What a find bar searches.
class IFindTarget {
public:
    virtual ~IFindTarget() = default;
    // Looks for the text (case ignored), highlights every match and gives
    // their number; an empty text finds nothing.
    virtual int Search(const QString& text) = 0;
    // Makes the match of that index (from 0) the current one and shows it;
    // gives what a reader hears of it.
    virtual QString ShowMatch(int index) = 0;
    // The search is over: no highlights.
    virtual void EndSearch() = 0;
};

// The matches in one text: highlighted with extra selections in the
// palette's highlight colour, the current one selected (the caret at its end).
class CTextFindTarget : public IFindTarget {
public:
    explicit CTextFindTarget(QTextEdit& text) : m_text(text) {}
    int Search(const QString& text) override;
    QString ShowMatch(int index) override;
    void EndSearch() override;

private:
    QTextEdit& m_text;
    QList<QTextCursor> m_matches;
};

class CFindBar : public QWidget {
    Q_OBJECT
public:
    enum : int {
        IDC_FIND_TEXT = 1901,
        IDC_FIND_PREVIOUS = 1902,
        IDC_FIND_NEXT = 1903,
        IDC_FIND_COUNT = 1904,
        IDC_FIND_CLOSE = 1905,
    };

    // A hidden bar in the layout of after (a control of window), just below
    // it and after it in the Tab order; Ctrl+F in the window opens it.
    CFindBar(QWidget& window, QWidget& after, std::unique_ptr<IFindTarget> target);
    ~CFindBar() override;

    // Shows the bar with the focus in its field, its text selected.
    void Open();
    // Hides the bar, ends the highlights and gives the focus back to where
    // it was before Open.
    void Close();
    void Next();
    void Previous();
    // What is searched changed: the matches are counted again, the current
    // one kept where it can be, without moving the view.
    void Refresh();

    int MatchCount() const { return m_nCount; }
    // The current match from 0; -1 when none.
    int CurrentMatch() const { return m_nCurrent; }
    QLineEdit* Field() const { return m_pField; }
    QLabel* CountLabel() const { return m_pCount; }

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Search();
    // One match on (1) or back (-1); "没有找到" again when there is none.
    void Step(int delta);
    // Makes the match current and says so; a typed letter that leaves the
    // same match current (again false) says nothing new.
    void Go(int index, bool again = true);
    void ShowNoMatch();
    // "2/5" for the current match of all, "没有找到" when none is current.
    QString CountText() const;
    void EnableKeys(bool on);

    QWidget& m_window;
    std::unique_ptr<IFindTarget> m_target;
    QLineEdit* m_pField = nullptr;
    QPushButton* m_pPrevious = nullptr;
    QPushButton* m_pNext = nullptr;
    QLabel* m_pCount = nullptr;
    QPushButton* m_pClose = nullptr;
    QShortcut* m_pF3 = nullptr;
    QShortcut* m_pShiftF3 = nullptr;
    QPointer<QWidget> m_pReturnFocus;
    int m_nCount = 0;
    int m_nCurrent = -1;
};

} // namespace tarvolan
