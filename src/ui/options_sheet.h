// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QRadioButton;
class QSpinBox;
class QTabWidget;

namespace lt {

struct AppState;
class HistoryCombo;

// The "Options" sheet. Its pages read the current values when it opens and store them only on
// confirmation (Apply).
class OptionsSheet : public QDialog
{
    Q_OBJECT

public:
    OptionsSheet(AppState& app, QWidget* parent = nullptr);

    // Stores every page's values; marks the options changed so that the INI file is written.
    void Apply();

    QTabWidget* Pages() const { return m_tabs; }
    QRadioButton* KindButton(int kind) const { return m_kind[kind]; }
    QCheckBox* PrefixBox() const { return m_prefix; }
    QCheckBox* UrlLikeBox() const { return m_urlLike; }
    QCheckBox* EntireLineBox() const { return m_entireLine; }
    QRadioButton* HexButton() const { return m_hex; }
    QCheckBox* CaseBox() const { return m_case; }
    QLineEdit* MinimalLengthEdit() const { return m_minimal; }
    QLineEdit* IpSumEdit() const { return m_ipSum; }
    QRadioButton* DuplicatesButton(int policy) const { return m_dupes[policy]; }
    HistoryCombo* UserStringCombo() const { return m_user; }
    QCheckBox* AlternateRowsBox() const { return m_alternate; }
    QLineEdit* RowColorEdit() const { return m_color; }

private:
    QWidget* BuildSearchForPage();
    QWidget* BuildViewPage();

    AppState& m_app;
    QTabWidget* m_tabs = nullptr;
    QRadioButton* m_kind[8] = {};
    HistoryCombo* m_user = nullptr;
    QCheckBox* m_prefix = nullptr;
    QCheckBox* m_urlLike = nullptr;
    QCheckBox* m_entireLine = nullptr;
    QRadioButton* m_ascii = nullptr;
    QRadioButton* m_hex = nullptr;
    QCheckBox* m_case = nullptr;
    QLineEdit* m_minimal = nullptr;
    QLineEdit* m_ipSum = nullptr;
    QRadioButton* m_dupes[4] = {};
    QCheckBox* m_topLevel = nullptr;
    QCheckBox* m_stdOpen = nullptr;
    QCheckBox* m_textWin = nullptr;
    QCheckBox* m_alternate = nullptr;
    QLineEdit* m_color = nullptr;
};

// The colour text of the "Color:" edit in the stored hexadecimal form ("0x%06X"), or empty when
// it is not a number (hexadecimal after "0x", decimal otherwise) of up to 11 characters.
std::string NormalizedRowColor(const std::string& text);

} // namespace lt
