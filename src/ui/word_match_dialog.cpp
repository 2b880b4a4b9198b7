// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/word_match_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "ui/cell_text.h"

namespace lt {

WordMatchDialog::WordMatchDialog(bool deleting, const WordMatchParams& start, const std::vector<std::string>& headers,
                                 QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(deleting ? QStringLiteral("Delete all list entries ...") : QStringLiteral("Select all list entries ..."));
    auto* layout = new QVBoxLayout(this);
    auto* texts = new QFormLayout;
    m_containing = new QLineEdit(DecodeBytes(start.containing), this);
    m_notContaining = new QLineEdit(DecodeBytes(start.notContaining), this);
    m_containing->setMaxLength(259);
    m_notContaining->setMaxLength(259);
    texts->addRow(QStringLiteral("containing"), m_containing);
    texts->addRow(QStringLiteral("not containing"), m_notContaining);
    layout->addLayout(texts);
    auto* columns = new QGridLayout;
    for (int c = 0; c < 6; ++c) {
        const bool shown = c < static_cast<int>(headers.size());
        m_columns[c] = new QCheckBox(shown ? QStringLiteral("&") + DecodeBytes(headers[c]) : QString(), this);
        m_columns[c]->setChecked(start.columns[c]);
        m_columns[c]->setHidden(!shown);
        columns->addWidget(m_columns[c], c / 3, c % 3);
    }
    layout->addLayout(columns);
    if (!deleting) {
        m_add = new QCheckBox(QStringLiteral("&Add to current selection"), this);
        m_add->setChecked(start.addToSelection);
        layout->addWidget(m_add);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

WordMatchParams WordMatchDialog::Params() const
{
    WordMatchParams p;
    p.containing = EncodeText(m_containing->text());
    p.notContaining = EncodeText(m_notContaining->text());
    for (int c = 0; c < 6; ++c)
        p.columns[c] = !m_columns[c]->isHidden() && m_columns[c]->isChecked();
    p.addToSelection = m_add && m_add->isChecked();
    return p;
}

} // namespace lt
