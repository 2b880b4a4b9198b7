// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/save_list_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace lt {

SaveListDialog::SaveListDialog(int preset, bool selectedOnly, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Save List as"));
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox(this);
    auto* groupLayout = new QVBoxLayout(group);
    m_kind[0] = new QRadioButton(QStringLiteral("&Text file"), group);
    m_kind[1] = new QRadioButton(QStringLiteral("&Html file"), group);
    m_kind[2] = new QRadioButton(QStringLiteral("&CSV file"), group);
    for (QRadioButton* b : m_kind)
        groupLayout->addWidget(b);
    m_kind[std::clamp(preset, 0, 2)]->setChecked(true);
    layout->addWidget(group);
    m_selected = new QCheckBox(QStringLiteral("Selected items"), this);
    m_selected->setChecked(selectedOnly);
    layout->addWidget(m_selected);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

int SaveListDialog::Choice() const
{
    return m_kind[1]->isChecked() ? 1 : (m_kind[2]->isChecked() ? 2 : 0);
}

bool SaveListDialog::SelectedOnly() const
{
    return m_selected->isChecked();
}

} // namespace lt
