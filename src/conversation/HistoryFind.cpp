#include "conversation/HistoryFind.h"

#include <QTreeWidget>

#include "common/MessageMarkup.h"
#include "conversation/RichMsgEdit.h"
#include "conversation/TarvolanHistoryDialog.h"
#include "platform/Window.h"

namespace tarvolan {

namespace {

// A record's text as its message box shows it, without the format element.
QString MessageText(const TGroupMessage& message)
{
    return ToQt(ReadMessageMarkup(message.body).text);
}

} // namespace

CHistoryFindTarget::CHistoryFindTarget(CTarvolanHistoryDialog& viewer)
    : m_viewer(viewer), m_message(*viewer.MessageText())
{
}

int CHistoryFindTarget::Search(const QString& text)
{
    m_text = text;
    m_rows.clear();
    QTreeWidget* list = m_viewer.MessageList();
    const int rows = list && !text.isEmpty() ? list->topLevelItemCount() : 0;
    for (int row = 0; row < rows; ++row) {
        const TGroupMessage* message = m_viewer.RowMessage(row);
        if (message && MessageText(*message).contains(text, Qt::CaseInsensitive)) m_rows.push_back(row);
    }
    m_message.Search(text);
    return static_cast<int>(m_rows.size());
}

QString CHistoryFindTarget::ShowMatch(int index)
{
    if (index < 0 || index >= static_cast<int>(m_rows.size())) return QString();
    QTreeWidget* list = m_viewer.MessageList();
    QTreeWidgetItem* item = list->topLevelItem(m_rows[index]);
    list->setCurrentItem(item);
    list->scrollToItem(item);
    m_viewer.ShowSelectedMessage();
    m_message.Search(m_text);
    m_message.ShowMatch(0);
    const TGroupMessage* message = m_viewer.RowMessage(m_rows[index]);
    return item->text(1) + QLatin1Char(' ') + (message ? MessageText(*message) : QString());
}

void CHistoryFindTarget::EndSearch()
{
    m_rows.clear();
    m_message.EndSearch();
}

} // namespace tarvolan
