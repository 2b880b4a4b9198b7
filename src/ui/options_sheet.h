// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include <array>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
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
    // "Locations": 0 Internet Explorer, 1 Netscape, 2 Opera, 3 initial search folder, 4 temporary files.
    QLineEdit* LocationEdit(int i) const { return m_locations[static_cast<std::size_t>(i)]; }
    QCheckBox* ExportColumnBox(int i) const { return m_exportColumns[static_cast<std::size_t>(i)]; }
    QLineEdit* ExportOrderEdit(int i) const { return m_exportOrder.edits[static_cast<std::size_t>(i)]; }
    QLineEdit* DelimiterEdit() const { return m_delimiter; }
    QCheckBox* MultipleCellsBox() const { return m_multipleCells; }
    QLineEdit* BrowserOrderEdit(int i) const { return m_browserOrder.edits[static_cast<std::size_t>(i)]; }
    // "Misc": 0 search options, 1 window position, 2 printer font.
    QCheckBox* SaveOnExitBox(int i) const { return m_saveOnExit[static_cast<std::size_t>(i)]; }
    QRadioButton* StandardBrowserButton() const { return m_standardBrowser; }
    QRadioButton* OtherProgramButton() const { return m_otherProgram; }
    QLineEdit* ProgramEdit() const { return m_program; }
    QCheckBox* UseProxyBox() const { return m_useProxy; }
    QComboBox* ProxyCombo() const { return m_proxy; }
    QLineEdit* TimeoutEdit() const { return m_timeout; }
    QLineEdit* ParallelEdit() const { return m_parallel; }
    QLineEdit* JoinSuffixEdit() const { return m_joinSuffix; }
    QLineEdit* JoinNameEdit() const { return m_joinName; }

private:
    // One-digit edits that together hold a permutation of 1..n (the export and browser orders).
    struct OrderEdits
    {
        std::vector<QLineEdit*> edits;
        std::vector<int> remembered;
    };

    QWidget* BuildSearchForPage();
    QWidget* BuildLocationsPage();
    QWidget* BuildExportPage();
    QWidget* BuildViewPage();
    QWidget* BuildMiscPage();
    void MakeOrderEdits(OrderEdits& order, std::string digits, int n, QWidget* parent);
    void OrderEdited(OrderEdits& order, std::size_t changed);
    void ApplyMorePages();

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
    std::array<QLineEdit*, 5> m_locations{};
    std::array<QCheckBox*, 6> m_exportColumns{};
    OrderEdits m_exportOrder;
    QLineEdit* m_delimiter = nullptr;
    QCheckBox* m_multipleCells = nullptr;
    OrderEdits m_browserOrder;
    std::array<QCheckBox*, 3> m_saveOnExit{};
    QRadioButton* m_standardBrowser = nullptr;
    QRadioButton* m_otherProgram = nullptr;
    QLineEdit* m_program = nullptr;
    QPushButton* m_programBrowse = nullptr;
    QCheckBox* m_useProxy = nullptr;
    QComboBox* m_proxy = nullptr;
    QLineEdit* m_timeout = nullptr;
    QLineEdit* m_parallel = nullptr;
    QLineEdit* m_joinSuffix = nullptr;
    QLineEdit* m_joinName = nullptr;
};

// The colour text of the "Color:" edit in the stored hexadecimal form ("0x%06X"), or empty when
// it is not a number (hexadecimal after "0x", decimal otherwise) of up to 11 characters.
std::string NormalizedRowColor(const std::string& text);

} // namespace lt
