// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include <array>
#include <string>
#include <vector>

#include "list/word_match.h"

class QCheckBox;
class QLineEdit;

namespace lt {

// "Select all list entries ..." (SELECTDLG) and "Delete all list entries ..." (DELETEDLG): the
// words a row must contain or lack and the columns looked at; selecting adds "&Add to current
// selection". It only collects values.
class WordMatchDialog : public QDialog
{
    Q_OBJECT

public:
    WordMatchDialog(bool deleting, const WordMatchParams& start, const std::vector<std::string>& headers,
                    QWidget* parent = nullptr);

    QLineEdit* ContainingEdit() const { return m_containing; }
    QLineEdit* NotContainingEdit() const { return m_notContaining; }
    QCheckBox* ColumnBox(int column) const { return m_columns[static_cast<std::size_t>(column)]; }
    QCheckBox* AddToSelectionBox() const { return m_add; } // null when deleting

    WordMatchParams Params() const;

private:
    QLineEdit* m_containing = nullptr;
    QLineEdit* m_notContaining = nullptr;
    std::array<QCheckBox*, 6> m_columns{};
    QCheckBox* m_add = nullptr;
};

} // namespace lt
