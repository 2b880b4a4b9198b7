// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include <array>
#include <string>
#include <vector>

#include "list/replace_job.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace lt {

// "Replace sub string of list items ..." (REPLACEDLG) with its three modes. It only collects
// values; the caller runs the job when ReplaceRefused allows.
class ReplaceDialog : public QDialog
{
    Q_OBJECT

public:
    // `headers` label the column boxes; boxes beyond them are hidden.
    ReplaceDialog(const ReplaceParams& start, const std::vector<std::string>& headers, QWidget* parent = nullptr);

    ReplaceParams Params() const;

    QRadioButton* ModeButton(int mode) const { return m_modes[static_cast<std::size_t>(mode - 1)]; }
    QLineEdit* FindEdit() const { return m_find; }
    QLineEdit* ReplaceEdit() const { return m_replace; }
    QCheckBox* ColumnBox(int column) const { return m_columns[static_cast<std::size_t>(column)]; }
    QCheckBox* FromLeftBox() const { return m_fromLeft; }
    QCheckBox* FromRightBox() const { return m_fromRight; }
    QCheckBox* KeepLeftBox() const { return m_keepLeft; }
    QCheckBox* KeepRightBox() const { return m_keepRight; }
    QCheckBox* KeepDelimiterBox() const { return m_keepDelimiter; }
    QCheckBox* CopyFirstWordBox() const { return m_copyFirstWord; }
    QCheckBox* OppositeSideBox() const { return m_opposite; }
    QCheckBox* MatchCaseBox() const { return m_matchCase; }
    QCheckBox* SelectedOnlyBox() const { return m_selectedOnly; }

private:
    int Mode() const;
    void UpdateMode();
    void SideToggled(QCheckBox* box, bool on);

    std::array<QRadioButton*, 3> m_modes{};
    QLineEdit* m_find = nullptr;
    QLineEdit* m_replace = nullptr;
    std::array<QCheckBox*, 6> m_columns{};
    QCheckBox* m_fromLeft = nullptr;
    QCheckBox* m_fromRight = nullptr;
    QCheckBox* m_keepLeft = nullptr;
    QCheckBox* m_keepRight = nullptr;
    QCheckBox* m_keepDelimiter = nullptr;
    QCheckBox* m_copyFirstWord = nullptr;
    QCheckBox* m_opposite = nullptr;
    QCheckBox* m_matchCase = nullptr;
    QCheckBox* m_selectedOnly = nullptr;
};

} // namespace lt
