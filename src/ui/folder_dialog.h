// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include <string>

class QCheckBox;
class QDateTimeEdit;
class QLineEdit;
class QRadioButton;
class QToolButton;

namespace lt {

struct AppState;
struct FilterDate;
class HistoryCombo;

// "Select Directory": the folder search dialog (FOLDERDLG) or, with `fileList`, the dialog that
// creates a file list (FILELISTDLG). It collects the folder and the walk's filters; the caller
// stores them and starts the search.
class FolderDialog : public QDialog
{
    Q_OBJECT

public:
    FolderDialog(AppState& app, bool fileList, QWidget* parent = nullptr);

    // Stores the dialog's values in the search settings (the folder and mask texts at the top of
    // their histories) and returns the folder; empty when none was given.
    std::string ApplyToSettings();

    // The date popup's codes, in menu order: 5, 10, 30, 60, 100, 200 minutes/day/week, -1 unknown.
    void ApplyRecentDate(int code);

    HistoryCombo* FolderCombo() const { return m_folder; }
    HistoryCombo* IncludeCombo() const { return m_include; }
    HistoryCombo* ExcludeCombo() const { return m_exclude; }
    QRadioButton* ModeButton(int mode) const { return m_mode[mode]; }
    QCheckBox* SubdirsBox() const { return m_subdirs; }
    QCheckBox* DateBox() const { return m_dateOn; }
    QDateTimeEdit* FromEdit() const { return m_from; }
    QDateTimeEdit* ToEdit() const { return m_to; }
    QCheckBox* AboveBox() const { return m_aboveOn; }
    QCheckBox* BelowBox() const { return m_belowOn; }
    QLineEdit* AboveEdit() const { return m_above; }
    QLineEdit* BelowEdit() const { return m_below; }
    QRadioButton* DateFieldButton(int field) const { return m_field[field]; }

private:
    void Browse();
    void UpdateEnabled();

    AppState& m_app;
    bool m_fileList;
    HistoryCombo* m_folder = nullptr;
    HistoryCombo* m_include = nullptr;
    HistoryCombo* m_exclude = nullptr;
    QRadioButton* m_mode[3] = {};
    QCheckBox* m_subdirs = nullptr;
    QCheckBox* m_dateOn = nullptr;
    QDateTimeEdit* m_from = nullptr;
    QDateTimeEdit* m_to = nullptr;
    QToolButton* m_fromPopup = nullptr;
    QRadioButton* m_field[3] = {};
    QCheckBox* m_aboveOn = nullptr;
    QCheckBox* m_belowOn = nullptr;
    QLineEdit* m_above = nullptr;
    QLineEdit* m_below = nullptr;
};

} // namespace lt
