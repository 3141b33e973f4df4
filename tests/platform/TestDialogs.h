// Small dialogs for the driver and window tests.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "scripted/ScriptedUiDriver.h"
#include "platform/Window.h"

using namespace tarvolan;

inline QWidget* Named(QWidget* widget, int id)
{
    widget->setObjectName(QStringLiteral("id%1").arg(id));
    return widget;
}

// A name (1001), a check box (1002), a combo box (1003), a number (1004), a
// list (1005), OK (1), Cancel (2) and an extra button (1010). OK is refused
// with a message box while the name is empty.
class CNameDialog : public CDialog {
public:
    explicit CNameDialog(QWidget* parent = nullptr) : CDialog(parent)
    {
        auto* layout = new QVBoxLayout(this);
        m_name = new QLineEdit(this);
        m_check = new QCheckBox(this);
        m_combo = new QComboBox(this);
        m_combo->addItems({"a", "b", "c"});
        m_number = new QSpinBox(this);
        m_number->setRange(0, 500);
        m_list = new QListWidget(this);
        m_list->addItems({"r0", "r1", "r2"});
        for (QWidget* w : {Named(m_name, 1001), Named(m_check, 1002), Named(m_combo, 1003), Named(m_number, 1004),
                           Named(m_list, 1005), Named(new QPushButton("OK", this), 1),
                           Named(new QPushButton("Cancel", this), 2), Named(new QPushButton("Extra", this), 1010)}) {
            layout->addWidget(w);
        }
        setWindowTitle("name dialog");
    }

    bool OnInitDialog() override
    {
        ++m_initCount;
        if (m_endInInit) EndDialog(m_endInInit);
        return true;
    }
    void OnOK() override
    {
        if (m_name->text().isEmpty()) {
            ShowMessageBox(this, "name missing", "caption", MB_ICONINFORMATION);
            return;
        }
        m_accepted = m_name->text();
        EndDialog(IDOK);
    }
    bool OnCommand(int id, intptr_t lParam) override
    {
        if (id == 1010) {
            ++m_extraPressed;
            return true;
        }
        return CDialog::OnCommand(id, lParam);
    }
    void OnTimer(int id) override { m_timerFired.push_back(id); }

    using CWindowTimers::HandleTimerEvent;

    QLineEdit* m_name;
    QCheckBox* m_check;
    QComboBox* m_combo;
    QSpinBox* m_number;
    QListWidget* m_list;
    QString m_accepted;
    int m_initCount = 0;
    int m_endInInit = 0;
    int m_extraPressed = 0;
    std::vector<int> m_timerFired;
};
