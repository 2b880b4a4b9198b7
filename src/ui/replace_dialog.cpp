// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/replace_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/cell_text.h"

namespace lt {

ReplaceDialog::ReplaceDialog(const ReplaceParams& start, const std::vector<std::string>& headers, QWidget* parent)
    : QDialog(parent)
{
    auto* layout = new QVBoxLayout(this);
    auto* modes = new QHBoxLayout;
    const char* modeTexts[] = {"&Replace", "&Cut off", "&Append"};
    for (int i = 0; i < 3; ++i) {
        m_modes[i] = new QRadioButton(QString::fromLatin1(modeTexts[i]), this);
        modes->addWidget(m_modes[i]);
        connect(m_modes[i], &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                UpdateMode();
        });
    }
    layout->addLayout(modes);

    auto* texts = new QFormLayout;
    m_find = new QLineEdit(DecodeBytes(start.findPart), this);
    m_find->setMaxLength(259);
    m_replace = new QLineEdit(DecodeBytes(start.replacePart), this);
    m_replace->setMaxLength(255);
    texts->addRow(QStringLiteral("Replace"), m_find);
    texts->addRow(QStringLiteral("Replace with"), m_replace);
    layout->addLayout(texts);

    auto* columns = new QGridLayout;
    const char* fallback[] = {"&Url", "&Title", "&File name", "Column 4", "Column 5", "Column 6"};
    for (int c = 0; c < 6; ++c) {
        const QString label = c < static_cast<int>(headers.size()) && !headers[c].empty()
                                  ? QStringLiteral("&") + DecodeBytes(headers[c])
                                  : QString::fromLatin1(fallback[c]);
        m_columns[c] = new QCheckBox(label, this);
        m_columns[c]->setChecked(start.editColumns[c]);
        m_columns[c]->setVisible(c < static_cast<int>(headers.size()));
        columns->addWidget(m_columns[c], c / 3, c % 3);
    }
    layout->addLayout(columns);
    bool anyColumn = false;
    for (const bool c : start.editColumns)
        anyColumn |= c;
    if (!anyColumn)
        m_columns[0]->setChecked(true);

    auto box = [this, layout](const char* text, bool on) {
        auto* b = new QCheckBox(QString::fromLatin1(text), this);
        b->setChecked(on);
        layout->addWidget(b);
        return b;
    };
    m_fromLeft = box("From &left", start.fromLeft);
    // Exclusive from the start.
    m_fromRight = box("From &right", start.fromRight && !start.fromLeft);
    m_keepLeft = box("&Keep left part", start.keepLeft || !start.keepRight);
    m_keepRight = box("&Keep right part", start.keepRight && !start.keepLeft);
    m_keepDelimiter = box("&Keep delimiter", start.keepDelimiter);
    m_copyFirstWord = box("&Copy first word", start.copyFirstWord);
    m_opposite = box("To &opposite side", start.toOppositeSide);
    m_matchCase = box("&Match case", start.matchCase);
    m_selectedOnly = box("&Selected Items only", start.selectedOnly);

    connect(m_fromLeft, &QCheckBox::toggled, this, [this](bool on) { SideToggled(m_fromLeft, on); });
    connect(m_fromRight, &QCheckBox::toggled, this, [this](bool on) { SideToggled(m_fromRight, on); });
    connect(m_keepLeft, &QCheckBox::toggled, this, [this](bool on) { m_keepRight->setChecked(!on); });
    connect(m_keepRight, &QCheckBox::toggled, this, [this](bool on) { m_keepLeft->setChecked(!on); });
    connect(m_copyFirstWord, &QCheckBox::toggled, this, [this](bool) { UpdateMode(); });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    const int mode = start.editMode >= kEditReplace && start.editMode <= kEditAppend ? start.editMode : kEditReplace;
    m_modes[mode - 1]->setChecked(true);
    UpdateMode();
}

int ReplaceDialog::Mode() const
{
    for (int i = 0; i < 3; ++i)
        if (m_modes[i]->isChecked())
            return i + 1;
    return kEditReplace;
}

void ReplaceDialog::SideToggled(QCheckBox* box, bool on)
{
    QCheckBox* other = box == m_fromLeft ? m_fromRight : m_fromLeft;
    if (on) {
        other->setChecked(false);
    } else if (Mode() != kEditReplace && !other->isChecked()) {
        // Outside replace mode one side is always set.
        box->setChecked(true);
    }
}

void ReplaceDialog::UpdateMode()
{
    const int mode = Mode();
    static const char* titles[] = {"Replace sub string of list items ...", "Cut off at character or substring",
                                   "Append"};
    setWindowTitle(QString::fromLatin1(titles[mode - 1]));
    m_replace->setEnabled(mode == kEditReplace);
    if (mode != kEditReplace && !m_fromLeft->isChecked() && !m_fromRight->isChecked())
        m_fromLeft->setChecked(true);

    const bool cut = mode == kEditCutOff, append = mode == kEditAppend;
    for (QCheckBox* b : {m_keepLeft, m_keepRight, m_keepDelimiter}) {
        b->setVisible(!append);
        b->setEnabled(cut);
    }
    m_copyFirstWord->setVisible(!cut);
    m_opposite->setVisible(!cut);
    m_copyFirstWord->setEnabled(append);
    m_opposite->setEnabled(append && m_copyFirstWord->isChecked());
    m_find->setEnabled(!(append && m_copyFirstWord->isChecked()));
}

ReplaceParams ReplaceDialog::Params() const
{
    ReplaceParams p;
    p.editMode = Mode();
    p.findPart = EncodeText(m_find->text());
    p.replacePart = p.editMode == kEditReplace ? EncodeText(m_replace->text()) : std::string();
    for (int c = 0; c < 6; ++c)
        p.editColumns[c] = !m_columns[c]->isHidden() && m_columns[c]->isChecked();
    p.fromLeft = m_fromLeft->isChecked();
    p.fromRight = m_fromRight->isChecked();
    p.keepLeft = m_keepLeft->isChecked();
    p.keepRight = m_keepRight->isChecked();
    p.keepDelimiter = m_keepDelimiter->isChecked();
    p.copyFirstWord = p.editMode == kEditAppend && m_copyFirstWord->isChecked();
    p.toOppositeSide = p.copyFirstWord && m_opposite->isChecked();
    if (p.copyFirstWord)
        p.findPart.clear();
    p.matchCase = m_matchCase->isChecked();
    p.selectedOnly = m_selectedOnly->isChecked();
    return p;
}

} // namespace lt
