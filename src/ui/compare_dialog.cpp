// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/compare_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace lt {

CompareDialog::CompareDialog(const DiskCompareParams& start, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Compare File List to Disk Files"));
    auto* layout = new QVBoxLayout(this);
    auto* rule = new QHBoxLayout;
    m_equal = new QRadioButton(QStringLiteral("&equal to"), this);
    m_different = new QRadioButton(QStringLiteral("&different from"), this);
    (start.compareDifferent ? m_different : m_equal)->setChecked(true);
    rule->addWidget(m_equal);
    rule->addWidget(m_different);
    layout->addLayout(rule);
    const char* names[] = {"Modified", "Created", "Accessed", "Size"};
    const bool on[] = {start.compareModified, start.compareCreated, start.compareAccessed, start.compareSize};
    for (int i = 0; i < 4; ++i) {
        m_attributes[i] = new QCheckBox(QString::fromLatin1(names[i]), this);
        m_attributes[i]->setChecked(on[i]);
        layout->addWidget(m_attributes[i]);
    }
    m_deleteIfMissing = new QCheckBox(QStringLiteral("Delete from List if File not found"), this);
    m_deleteIfMissing->setChecked(start.deleteIfMissing);
    layout->addWidget(m_deleteIfMissing);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_refresh = buttons->addButton(QStringLiteral("&Refresh"), QDialogButtonBox::ActionRole);
    connect(m_refresh, &QPushButton::clicked, this, [this] {
        m_refreshChosen = true;
        accept();
    });
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        m_refreshChosen = false;
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

DiskCompareParams CompareDialog::Params() const
{
    DiskCompareParams p;
    p.compareDifferent = m_different->isChecked();
    p.compareModified = m_attributes[0]->isChecked();
    p.compareCreated = m_attributes[1]->isChecked();
    p.compareAccessed = m_attributes[2]->isChecked();
    p.compareSize = m_attributes[3]->isChecked();
    p.deleteIfMissing = m_deleteIfMissing->isChecked();
    p.refreshMode = m_refreshChosen;
    return p;
}

} // namespace lt
