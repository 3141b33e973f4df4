#include "conversation/EmoticonGrid.h"

#include <iterator>

#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>

#include "common/Emoticons.h"
#include "platform/Window.h"

namespace tarvolan {

namespace {

// In the order of the emoticon indexes, as the pictures show them; source
// texts under the context "EmoticonGrid".
const char* const kMeanings[] = {
    QT_TRANSLATE_NOOP("EmoticonGrid", "微笑"), QT_TRANSLATE_NOOP("EmoticonGrid", "露齿笑"), QT_TRANSLATE_NOOP("EmoticonGrid", "眨眼"), QT_TRANSLATE_NOOP("EmoticonGrid", "吐舌头"), QT_TRANSLATE_NOOP("EmoticonGrid", "戴墨镜"), QT_TRANSLATE_NOOP("EmoticonGrid", "生气"), QT_TRANSLATE_NOOP("EmoticonGrid", "天使"), QT_TRANSLATE_NOOP("EmoticonGrid", "困惑"), QT_TRANSLATE_NOOP("EmoticonGrid", "害羞"), QT_TRANSLATE_NOOP("EmoticonGrid", "难过"),
    QT_TRANSLATE_NOOP("EmoticonGrid", "龇牙"), QT_TRANSLATE_NOOP("EmoticonGrid", "大笑"), QT_TRANSLATE_NOOP("EmoticonGrid", "哭泣"), QT_TRANSLATE_NOOP("EmoticonGrid", "困倦"), QT_TRANSLATE_NOOP("EmoticonGrid", "闭嘴"), QT_TRANSLATE_NOOP("EmoticonGrid", "坏笑"), QT_TRANSLATE_NOOP("EmoticonGrid", "爱慕"), QT_TRANSLATE_NOOP("EmoticonGrid", "大喊"), QT_TRANSLATE_NOOP("EmoticonGrid", "讽刺"), QT_TRANSLATE_NOOP("EmoticonGrid", "担心"),
    QT_TRANSLATE_NOOP("EmoticonGrid", "不高兴"), QT_TRANSLATE_NOOP("EmoticonGrid", "无语"), QT_TRANSLATE_NOOP("EmoticonGrid", "相机"), QT_TRANSLATE_NOOP("EmoticonGrid", "红心"), QT_TRANSLATE_NOOP("EmoticonGrid", "心碎"), QT_TRANSLATE_NOOP("EmoticonGrid", "猫"), QT_TRANSLATE_NOOP("EmoticonGrid", "电影"), QT_TRANSLATE_NOOP("EmoticonGrid", "足球"), QT_TRANSLATE_NOOP("EmoticonGrid", "蛋糕"), QT_TRANSLATE_NOOP("EmoticonGrid", "太阳"),
    QT_TRANSLATE_NOOP("EmoticonGrid", "月亮"), QT_TRANSLATE_NOOP("EmoticonGrid", "星星"), QT_TRANSLATE_NOOP("EmoticonGrid", "玫瑰"), QT_TRANSLATE_NOOP("EmoticonGrid", "枯萎的花"), QT_TRANSLATE_NOOP("EmoticonGrid", "时钟"), QT_TRANSLATE_NOOP("EmoticonGrid", "电视"), QT_TRANSLATE_NOOP("EmoticonGrid", "灯泡"), QT_TRANSLATE_NOOP("EmoticonGrid", "咖啡"), QT_TRANSLATE_NOOP("EmoticonGrid", "电话"), QT_TRANSLATE_NOOP("EmoticonGrid", "邮件"),
};
static_assert(std::size(kMeanings) == kEmoticonCount);

constexpr int kCellPadding = 4;
const QSize kNoPicture(22, 22);

} // namespace

QString EmoticonMeaning(const CString& code)
{
    for (int i = 0; i < kEmoticonCount; ++i)
        if (code == EmoticonCode(i)) return QCoreApplication::translate("EmoticonGrid", kMeanings[i]);
    return ToQt(code);
}

CEmoticonGrid::CEmoticonGrid(int columns, QWidget* parent) : QTableWidget(parent), m_nColumns(columns)
{
    setAccessibleName(QCoreApplication::translate("EmoticonGrid", "表情"));
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
