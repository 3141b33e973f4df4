#include "conversation/EmoticonGrid.h"

#include <algorithm>
#include <iterator>

#include <QKeyEvent>

#include "common/Emoticons.h"
#include "platform/Accessibility.h"
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

QString EmoticonMeaning(int index)
{
    return index >= 0 && index < kEmoticonCount ? QString::fromUtf8(kMeanings[index]) : QString();
}

QString EmoticonMeaning(const CString& code)
{
    for (int i = 0; i < kEmoticonCount; ++i)
        if (code == EmoticonCode(i)) return EmoticonMeaning(i);
    return ToQt(code);
}

CEmoticonGrid::CEmoticonGrid(int columns, QWidget* parent) : QListWidget(parent), m_nColumns(columns)
{
    setAccessibleName(tr("表情"));
    // Pictures in rows of columns cells, left to right.
    setViewMode(IconMode);
    setFlow(LeftToRight);
    setWrapping(true);
    setMovement(Static);
    setResizeMode(Adjust);
    setUniformItemSizes(true);
    setSpacing(0);
    setEditTriggers(NoEditTriggers);
    setSelectionMode(SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(this, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { emit picked(row(item)); });
}

void CEmoticonGrid::AddCell(const QIcon& picture, const QSize& size, const CString& code)
{
    auto* cell = new QListWidgetItem(picture, QString());
    cell->setToolTip(ToQt(code));
    cell->setData(Qt::AccessibleTextRole, EmoticonMeaning(code));
    cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    addItem(cell);
    if (!size.isEmpty()) setIconSize(iconSize().expandedTo(size));
    ++m_nCount;
}

void CEmoticonGrid::Finish()
{
    const QSize picture = iconSize().isValid() && !iconSize().isEmpty() ? iconSize() : kNoPicture;
    const QSize cell = picture + QSize(2 * kCellPadding, 2 * kCellPadding);
    setGridSize(cell);
    const int rows = (m_nCount + m_nColumns - 1) / m_nColumns;
    const int frame = 2 * frameWidth();
    setFixedSize(m_nColumns * cell.width() + frame, std::max(rows, 1) * cell.height() + frame);
    SetCurrentIndex(0);
}

void CEmoticonGrid::SetCurrentIndex(int index)
{
    if (index < 0 || index >= m_nCount) return;
    setCurrentRow(index);
    if (hasFocus()) ReportCurrentItemSoon(this);  // the item alone, not its row
}

// When the popup opens (and whenever the list gets the focus back) the
// reader speaks the list and its highlighted item.
void CEmoticonGrid::focusInEvent(QFocusEvent* event)
{
    QListWidget::focusInEvent(event);
    ReportCurrentItemSoon(this);
}

bool CEmoticonGrid::event(QEvent* event)
{
    if (event->type() == QEvent::WindowDeactivate && isWindow() && isVisible()) close();
    return QListWidget::event(event);
}

void CEmoticonGrid::keyPressEvent(QKeyEvent* event)
{
    const int current = currentRow();
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
    default: QListWidget::keyPressEvent(event); return;
    }
    event->accept();
}

} // namespace tarvolan
