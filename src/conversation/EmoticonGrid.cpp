#include "conversation/EmoticonGrid.h"

#include <iterator>

#include <QHeaderView>
#include <QKeyEvent>

#include "common/Emoticons.h"
#include "platform/Window.h"

namespace tarvolan {

namespace {

// In the order of the emoticon indexes, as the pictures show them.
const char* const kMeanings[] = {
    "微笑", "露齿笑", "眨眼", "吐舌头", "戴墨镜", "生气", "天使", "困惑", "害羞", "难过",
    "龇牙", "大笑", "哭泣", "困倦", "闭嘴", "坏笑", "爱慕", "大喊", "讽刺", "担心",
    "不高兴", "无语", "相机", "红心", "心碎", "猫", "电影", "足球", "蛋糕", "太阳",
    "月亮", "星星", "玫瑰", "枯萎的花", "时钟", "电视", "灯泡", "咖啡", "电话", "邮件",
};
static_assert(std::size(kMeanings) == kEmoticonCount);

constexpr int kCellPadding = 4;
const QSize kNoPicture(22, 22);

} // namespace

QString EmoticonMeaning(const CString& code)
{
    for (int i = 0; i < kEmoticonCount; ++i)
        if (code == EmoticonCode(i)) return QString::fromUtf8(kMeanings[i]);
    return ToQt(code);
}

CEmoticonGrid::CEmoticonGrid(int columns, QWidget* parent) : QTableWidget(parent), m_nColumns(columns)
{
    setAccessibleName(QStringLiteral("表情"));
    setColumnCount(columns);
    setHorizontalHeaderLabels(QStringList(columns, QString()));  // no column numbers to announce
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setShowGrid(false);
    setEditTriggers(NoEditTriggers);
    setSelectionMode(SingleSelection);
    setTabKeyNavigation(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(this, &QTableWidget::cellClicked, this, [this](int row, int column) {
        if (const int index = IndexOf(row, column); index >= 0) emit picked(index);
    });
}

void CEmoticonGrid::AddCell(const QIcon& picture, const QSize& size, const CString& code)
{
    const int row = m_nCount / m_nColumns;
    if (row >= rowCount()) {
        setRowCount(row + 1);
        setVerticalHeaderItem(row, new QTableWidgetItem);
    }
    auto* cell = new QTableWidgetItem;
    cell->setIcon(picture);
    cell->setToolTip(ToQt(code));
    cell->setData(Qt::AccessibleTextRole, EmoticonMeaning(code));
    cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    setItem(row, m_nCount % m_nColumns, cell);
    if (!size.isEmpty()) setIconSize(iconSize().expandedTo(size));
    ++m_nCount;
}

void CEmoticonGrid::Finish()
{
    const QSize picture = iconSize().isValid() && !iconSize().isEmpty() ? iconSize() : kNoPicture;
    const QSize cell = picture + QSize(2 * kCellPadding, 2 * kCellPadding);
    horizontalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setDefaultSectionSize(cell.width());
    verticalHeader()->setDefaultSectionSize(cell.height());
    const int frame = 2 * frameWidth();
    setFixedSize(m_nColumns * cell.width() + frame, rowCount() * cell.height() + frame);
    SetCurrentIndex(0);
}

int CEmoticonGrid::IndexOf(int row, int column) const
{
    const int index = row * m_nColumns + column;
    return row >= 0 && column >= 0 && column < m_nColumns && index < m_nCount ? index : -1;
}

void CEmoticonGrid::SetCurrentIndex(int index)
{
    if (index < 0 || index >= m_nCount) return;
    setCurrentCell(index / m_nColumns, index % m_nColumns);
}

bool CEmoticonGrid::event(QEvent* event)
{
    if (event->type() == QEvent::WindowDeactivate && isWindow() && isVisible()) close();
    return QTableWidget::event(event);
}

void CEmoticonGrid::keyPressEvent(QKeyEvent* event)
{
    const int current = IndexOf(currentRow(), currentColumn());
    switch (event->key()) {
    case Qt::Key_Home: SetCurrentIndex(0); break;
    case Qt::Key_End: SetCurrentIndex(m_nCount - 1); break;
    case Qt::Key_Right: SetCurrentIndex(current + 1); break;  // on to the next row at the end of one
    case Qt::Key_Left: SetCurrentIndex(current - 1); break;
    case Qt::Key_Up: SetCurrentIndex(current - m_nColumns); break;
    case Qt::Key_Down: SetCurrentIndex(current + m_nColumns); break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (current >= 0) emit picked(current);
        break;
    case Qt::Key_Escape: close(); break;
    default: QTableWidget::keyPressEvent(event); return;
    }
    event->accept();
}

} // namespace tarvolan
