// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/parse_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/cell_text.h"

namespace lt {

ParseDialog::ParseDialog(const ParseSettings& start, FileChoices choices, QWidget* parent)
    : QDialog(parent), m_choices(std::move(choices))
{
    setWindowTitle(QStringLiteral("Parse Text files"));
    auto* layout = new QVBoxLayout(this);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(new QLabel(QStringLiteral("File:"), this));
    m_file = new QLineEdit(this);
    m_file->setMinimumWidth(360);
    fileRow->addWidget(m_file);
    auto* directory = new QPushButton(QStringLiteral("&Directory"), this);
    fileRow->addWidget(directory);
    layout->addLayout(fileRow);
    connect(directory, &QPushButton::clicked, this, [this] {
        if (m_choices.folderName)
            if (const QString folder = m_choices.folderName(); !folder.isEmpty())
                m_file->setText(folder);
    });

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Starts after"), this), 0, 1);
    for (int c = 0; c < 6; ++c) {
        grid->addWidget(new QLabel(QString(QChar(u'A' + c)), this), c + 1, 0);
        m_markers[c] = new QLineEdit(this);
        m_markers[c]->setMaxLength(259);
        m_spaces[c] = new QCheckBox(QStringLiteral("Space"), this);
        m_lines[c] = new QCheckBox(QStringLiteral("Entire Line"), this);
        grid->addWidget(m_markers[c], c + 1, 1);
        grid->addWidget(m_spaces[c], c + 1, 2);
        grid->addWidget(m_lines[c], c + 1, 3);
        QLineEdit* marker = m_markers[c];
        connect(m_spaces[c], &QCheckBox::toggled, this, [marker](bool on) { marker->setEnabled(!on); });
    }
    layout->addLayout(grid);

    auto* range = new QHBoxLayout;
    m_startLine = new QLineEdit(this);
    m_endLine = new QLineEdit(this);
    for (QLineEdit* e : {m_startLine, m_endLine})
        e->setValidator(new QIntValidator(0, 99999999, e));
    range->addWidget(new QLabel(QStringLiteral("Start Line:"), this));
    range->addWidget(m_startLine);
    range->addWidget(new QLabel(QStringLiteral("End Line:"), this));
    range->addWidget(m_endLine);
    layout->addLayout(range);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* save = buttons->addButton(QStringLiteral("&Save as"), QDialogButtonBox::ActionRole);
    QPushButton* load = buttons->addButton(QStringLiteral("&Load"), QDialogButtonBox::ActionRole);
    QPushButton* clear = buttons->addButton(QStringLiteral("C&lear"), QDialogButtonBox::ActionRole);
    connect(save, &QPushButton::clicked, this, &ParseDialog::SaveAs);
    connect(load, &QPushButton::clicked, this, &ParseDialog::Load);
    connect(clear, &QPushButton::clicked, this, &ParseDialog::Clear);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    SetSettings(start);
}

void ParseDialog::SetSettings(const ParseSettings& s)
{
    m_file->setText(DecodePath(s.parseFile));
    for (int c = 0; c < 6; ++c) {
        m_markers[c]->setText(DecodeBytes(s.startMarker[c]));
        m_spaces[c]->setChecked(s.spaceMarker[c]);
        m_markers[c]->setEnabled(!s.spaceMarker[c]);
        m_lines[c]->setChecked(s.entireLine[c]);
    }
    m_startLine->setText(s.startLine > 0 ? QString::number(s.startLine) : QString());
    m_endLine->setText(s.endLine > 0 ? QString::number(s.endLine) : QString());
}

ParseSettings ParseDialog::Settings() const
{
    ParseSettings s;
    s.parseFile = EncodePath(m_file->text());
    for (int c = 0; c < 6; ++c) {
        s.startMarker[c] = EncodeText(m_markers[c]->text());
        s.spaceMarker[c] = m_spaces[c]->isChecked();
        s.entireLine[c] = m_lines[c]->isChecked();
    }
    s.startLine = m_startLine->text().toLong();
    s.endLine = m_endLine->text().toLong();
    return s;
}

void ParseDialog::SaveAs()
{
    const QString name = m_choices.saveName ? m_choices.saveName() : QString();
    if (name.isEmpty())
        return;
    const std::string error = SaveParseSettingsFile(EncodePath(name), Settings());
    if (!error.empty() && m_choices.report)
        m_choices.report(DecodeBytes(error));
}

void ParseDialog::Load()
{
    const QString name = m_choices.openName ? m_choices.openName() : QString();
    if (name.isEmpty())
        return;
    ParseSettings s = Settings();
    const std::string error = LoadParseSettingsFile(EncodePath(name), s);
    if (!error.empty()) {
        if (m_choices.report)
            m_choices.report(DecodeBytes(error));
        return;
    }
    SetSettings(s);
}

void ParseDialog::Clear()
{
    ParseSettings empty;
    empty.parseFile = EncodePath(m_file->text());
    SetSettings(empty);
}

} // namespace lt
