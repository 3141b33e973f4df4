#include "controls/TreeCtrlEx.h"

CTreeCtrlEx::CTreeCtrlEx(QWidget* parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setRootIsDecorated(true);
}

void CTreeCtrlEx::SetFullRowSelect(bool on)
{
    m_bFullRow = on;
}
