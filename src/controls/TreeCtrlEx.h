// The group tree: a QTreeWidget that paints its rows itself, with per-item
// colour and font, bold items, full-row selection with hover tracking, and
// skinned selection and hover rows.
#pragma once

#include <QTreeWidget>

class CTreeCtrlEx : public QTreeWidget {
    Q_OBJECT
public:
    explicit CTreeCtrlEx(QWidget* parent = nullptr);

    void SetFullRowSelect(bool on);
    bool IsFullRowSelect() const { return m_bFullRow; }

private:
    bool m_bFullRow = false;
};
