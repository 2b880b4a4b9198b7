// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/find_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/app_state.h"
#include "list/find_in_list.h"
#include "ui/cell_text.h"
#include "ui/history_combo.h"

namespace lt {

FindDialog::FindDialog(AppState& app, const ResultList& list, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("SEARCHDLG"));
    setWindowTitle(QStringLiteral("Find in List"));
    auto* layout = new QVBoxLayout(this);

    auto* label = new QLabel(QStringLiteral("Fi&nd:"), this);
    m_text = new HistoryCombo(this);
    m_text->Fill(app.find.findHistory, app.find.findText);
    label->setBuddy(m_text);
    layout->addWidget(label);
    layout->addWidget(m_text);

    auto* group = new QGroupBox(QStringLiteral("Look in"), this);
    auto* grid = new QGridLayout(group);
    const std::array<std::string, 6> labels = FindColumnLabels(list);
    const int columnCount = list.ColumnCount();
    for (int c = 0; c < 6; ++c) {
        auto* box = new QCheckBox(DecodeBytes(labels[static_cast<std::size_t>(c)]), group);
        box->setChecked(app.find.findColumns[static_cast<std::size_t>(c)]);
        // Boxes of columns the list does not have stay in place but cannot be used.
        box->setEnabled(columnCount == 0 ? c < 3 : c < columnCount);
        m_columns[static_cast<std::size_t>(c)] = box;
        grid->addWidget(box, c / 3, c % 3);
    }
    layout->addWidget(group);

    m_addToSelection = new QCheckBox(QStringLiteral("&Add to current selection"), this);
    m_addToSelection->setChecked(app.find.addToSelection);
    layout->addWidget(m_addToSelection);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("&Ok"), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    m_text->setFocus();
}

std::string FindDialog::Text() const
{
    return EncodeText(m_text->currentText());
}

std::array<bool, 6> FindDialog::Columns() const
{
    std::array<bool, 6> columns{};
    for (std::size_t c = 0; c < columns.size(); ++c)
        columns[c] = m_columns[c]->isChecked();
    return columns;
}

bool FindDialog::AddToSelection() const
{
    return m_addToSelection->isChecked();
}

} // namespace lt
