// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include <array>
#include <string>

class QCheckBox;

namespace lt {

struct AppState;
class HistoryCombo;
class ResultList;

// "Find in List" (SEARCHDLG): the text with its history, the columns to look at and whether a hit
// is added to the selection. Accepting stores the settings and searches forward.
class FindDialog : public QDialog
{
    Q_OBJECT

public:
    // `list` is the list searched (the result list, or the folder list in the domain view); it names
    // the column boxes.
    FindDialog(AppState& app, const ResultList& list, QWidget* parent = nullptr);

    HistoryCombo* TextCombo() const { return m_text; }
    QCheckBox* ColumnBox(int column) const { return m_columns[static_cast<std::size_t>(column)]; }
    QCheckBox* AddToSelectionBox() const { return m_addToSelection; }

    // What the dialog holds now.
    std::string Text() const;
    std::array<bool, 6> Columns() const;
    bool AddToSelection() const;

private:
    HistoryCombo* m_text = nullptr;
    std::array<QCheckBox*, 6> m_columns{};
    QCheckBox* m_addToSelection = nullptr;
};

} // namespace lt
