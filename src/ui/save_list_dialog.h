// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QCheckBox;
class QRadioButton;

namespace lt {

// "Save List as": the file kind (0 text, 1 HTML table, 2 CSV) and "Selected items".
class SaveListDialog : public QDialog
{
    Q_OBJECT

public:
    SaveListDialog(int preset, bool selectedOnly, QWidget* parent = nullptr);

    int Choice() const;
    bool SelectedOnly() const;
    QRadioButton* Button(int choice) const { return m_kind[choice]; }
    QCheckBox* SelectedBox() const { return m_selected; }

private:
    QRadioButton* m_kind[3] = {};
    QCheckBox* m_selected = nullptr;
};

} // namespace lt
