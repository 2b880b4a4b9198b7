// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/index_file_dialog.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QFormLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "sources/sources_state.h"
#include "ui/cell_text.h"

namespace lt {

namespace {
constexpr int kMaxLabel = 63;
}

IndexFileDialog::IndexFileDialog(SourcesState& state, QWidget* parent) : QDialog(parent), m_state(state)
{
    setWindowTitle(QStringLiteral("MSIE Index file"));
    auto* layout = new QVBoxLayout(this);
    const char* names[] = {"&Main History file", "&Sub History file", "&Temporary Internet file", "&Cookie file"};
    for (int i = 0; i < 4; ++i) {
        m_kinds[i] = new QRadioButton(QString::fromLatin1(names[i]), this);
        layout->addWidget(m_kinds[i]);
        connect(m_kinds[i], &QRadioButton::toggled, this, [this] { KindChosen(); });
    }
    auto* labels = new QFormLayout;
    m_historyLabel = new QLineEdit(DecodeBytes(state.historyLabel), this);
    m_cookieLabel = new QLineEdit(DecodeBytes(state.dialogCookieLabel), this);
    for (QLineEdit* edit : {m_historyLabel, m_cookieLabel})
        edit->setMaxLength(kMaxLabel);
    labels->addRow(QStringLiteral("Label:"), m_historyLabel);
    labels->addRow(QStringLiteral("Label:"), m_cookieLabel);
    layout->addLayout(labels);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&Ok"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("&Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    const int kind = state.dialogKind >= 1 && state.dialogKind <= 4 ? state.dialogKind : 1;
    m_kinds[kind - 1]->setChecked(true);
    KindChosen();
}

void IndexFileDialog::KindChosen()
{
    m_historyLabel->setEnabled(m_kinds[2]->isChecked());
    m_cookieLabel->setEnabled(m_kinds[3]->isChecked());
}

void IndexFileDialog::accept()
{
    for (int i = 0; i < 4; ++i)
        if (m_kinds[i]->isChecked())
            m_state.dialogKind = i + 1;
    m_state.historyLabel = EncodeText(m_historyLabel->text()).substr(0, kMaxLabel);
    m_state.dialogCookieLabel = EncodeText(m_cookieLabel->text()).substr(0, kMaxLabel);
    QDialog::accept();
}

} // namespace lt
