#include "conversation/EmoticonGrid.h"

#include <algorithm>
#include <iterator>

#include <QCoreApplication>
#include <QKeyEvent>

#include "common/Emoticons.h"
#include "platform/Accessibility.h"
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

QString EmoticonMeaning(int index)
{
    return index >= 0 && index < kEmoticonCount ? QCoreApplication::translate("EmoticonGrid", kMeanings[index]) : QString();
}

QString EmoticonMeaning(const CString& code)
{
    for (int i = 0; i < kEmoticonCount; ++i)
        if (code == EmoticonCode(i)) return EmoticonMeaning(i);
    return ToQt(code);
}

CEmoticonGrid::CEmoticonGrid(int columns, QWidget* parent) : QListWidget(parent), m_nColumns(columns)
{
    setAccessibleName(QCoreApplication::translate("EmoticonGrid", "表情"));
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
