// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/rename_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>

#include "list/result_list.h"
#include "ui/cell_text.h"

namespace lt {

RenameDialog::RenameDialog(const std::string& first, const std::string& second, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Edit"));
    auto* layout = new QFormLayout(this);
    m_first = new QLineEdit(DecodeBytes(first), this);
    m_second = new QLineEdit(DecodeBytes(second), this);
    m_first->setMaxLength(static_cast<int>(kMaxCellLength));
    m_second->setMaxLength(static_cast<int>(kMaxCellLength));
    m_first->setMinimumWidth(420);
    layout->addRow(m_first);
    layout->addRow(m_second);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addRow(buttons);
}

std::string RenameDialog::First() const
{
    return EncodeText(m_first->text());
}

std::string RenameDialog::Second() const
{
    return EncodeText(m_second->text());
}

} // namespace lt
