// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/text_find_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "store/text_find.h"

namespace lt {

TextFindDialog::TextFindDialog(const QString& last, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Find Text"));
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(QStringLiteral("Search for:"), this);
    m_edit = new QLineEdit(last, this);
    m_edit->setObjectName(QStringLiteral("findText"));
    m_edit->setMaxLength(static_cast<int>(kMaxFindText));
    m_edit->selectAll();
    label->setBuddy(m_edit);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("&Ok"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("&Cancel"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &TextFindDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TextFindDialog::reject);
    layout->addWidget(label);
    layout->addWidget(m_edit);
    layout->addWidget(buttons);
}

QString TextFindDialog::Text() const { return m_edit->text(); }

void TextFindDialog::accept()
{
    if (m_edit->text().isEmpty())
        return;
    QDialog::accept();
}

} // namespace lt
