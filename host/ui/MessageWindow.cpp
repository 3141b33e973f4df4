#include "ui/MessageWindow.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace host {

CMessageWindow::CMessageWindow(const QString& uri, const QString& name, int mode, QWidget* parent)
    : QDialog(parent), m_uri(uri), m_name(name.isEmpty() ? uri : name)
{
    setObjectName(QStringLiteral("messageWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_history = new QTextBrowser(this);
    m_input = new QLineEdit(this);
    m_history->setAccessibleName(QStringLiteral("消息记录"));
    m_input->setAccessibleName(QStringLiteral("消息输入"));
    auto* send = new QPushButton(QStringLiteral("发送"), this);
    auto* row = new QHBoxLayout;
    row->addWidget(m_input);
    row->addWidget(send);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_history);
    layout->addLayout(row);
    connect(send, &QPushButton::clicked, this, &CMessageWindow::Send);
    connect(m_input, &QLineEdit::returnPressed, this, &CMessageWindow::Send);
    SetMode(mode);
    resize(360, 300);
    // The first keys typed go into the message, not into the transcript.
    m_input->setFocus();
}

void CMessageWindow::SetMode(int mode)
{
    setWindowTitle(QStringLiteral("%1 — %2 (%3)").arg(mode == 1 ? QStringLiteral("离线消息") : QStringLiteral("即时消息"),
                                                     m_name, m_uri));
}

void CMessageWindow::Send()
{
    const QString text = m_input->text().trimmed();
    if (text.isEmpty()) return;
    m_history->append(QStringLiteral("%1  你说：%2").arg(QDateTime::currentDateTime().toString(QStringLiteral("hh:mm:ss")),
                                                         text.toHtmlEscaped()));
    m_input->clear();
}

} // namespace host
