// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include <array>
#include <functional>

#include "list/parse_settings.h"

class QCheckBox;
class QLineEdit;

namespace lt {

// "Parse Text files": the file (or folder), the "Starts after" text, "Space" and "Entire Line" of
// columns A to F, "Start Line:" and "End Line:", with "&Save as", "&Load" and "C&lear". It only
// collects values; the file names for saving and loading come from the callbacks (empty:
// cancelled), and their messages go to `report`.
class ParseDialog : public QDialog
{
    Q_OBJECT

public:
    struct FileChoices
    {
        std::function<QString()> saveName;
        std::function<QString()> openName;
        std::function<QString()> folderName;
        std::function<void(const QString& message)> report;
    };

    ParseDialog(const ParseSettings& start, FileChoices choices, QWidget* parent = nullptr);

    ParseSettings Settings() const;
    void SetSettings(const ParseSettings& settings);

    QLineEdit* FileEdit() const { return m_file; }
    QLineEdit* MarkerEdit(int column) const { return m_markers[static_cast<std::size_t>(column)]; }
    QCheckBox* SpaceBox(int column) const { return m_spaces[static_cast<std::size_t>(column)]; }
    QCheckBox* EntireLineBox(int column) const { return m_lines[static_cast<std::size_t>(column)]; }
    QLineEdit* StartLineEdit() const { return m_startLine; }
    QLineEdit* EndLineEdit() const { return m_endLine; }

    void SaveAs();
    void Load();
    void Clear();

private:
    FileChoices m_choices;
    QLineEdit* m_file = nullptr;
    std::array<QLineEdit*, 6> m_markers{};
    std::array<QCheckBox*, 6> m_spaces{};
    std::array<QCheckBox*, 6> m_lines{};
    QLineEdit* m_startLine = nullptr;
    QLineEdit* m_endLine = nullptr;
};

} // namespace lt
