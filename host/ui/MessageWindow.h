// A simple one-to-one message window, opened when the module asks the host
// for one (slot 6: RelayToHost4(8, 102, record, 1)). One-to-one messages are
// not the group module's business: the window only keeps what is typed.
#pragma once

#include <QDialog>

class QTextBrowser;
class QLineEdit;

namespace host {

class CMessageWindow : public QDialog {
    Q_OBJECT
public:
    // mode 0 instant message, 1 offline message.
    CMessageWindow(const QString& uri, const QString& name, int mode, QWidget* parent = nullptr);

    void SetMode(int mode);
    QString Uri() const { return m_uri; }

private:
    void Send();

    QString m_uri;
    QString m_name;
    QTextBrowser* m_history = nullptr;
    QLineEdit* m_input = nullptr;
};

} // namespace host
