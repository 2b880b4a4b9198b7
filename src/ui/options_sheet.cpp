// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/options_sheet.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <cstdio>

#include "core/app_state.h"
#include "search/item_kind.h"
#include "ui/cell_text.h"
#include "ui/history_combo.h"

namespace lt {

std::string NormalizedRowColor(const std::string& text)
{
    if (text.empty() || text.size() > 11)
        return {};
    unsigned long long value = 0;
    std::size_t start = 0;
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        start = 2;
    }
    if (start >= text.size())
        return {};
    for (std::size_t i = start; i < text.size(); ++i) {
        const char ch = text[i];
        int digit;
        if (ch >= '0' && ch <= '9')
            digit = ch - '0';
        else if (base == 16 && ch >= 'a' && ch <= 'f')
            digit = ch - 'a' + 10;
        else if (base == 16 && ch >= 'A' && ch <= 'F')
            digit = ch - 'A' + 10;
        else
            return {};
        value = value * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
        if (value > 0xFFFFFFFFULL)
            return {};
    }
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%06llX", value);
    return buffer;
}

OptionsSheet::OptionsSheet(AppState& app, QWidget* parent) : QDialog(parent), m_app(app)
{
    setWindowTitle(QStringLiteral("Options"));
    auto* layout = new QVBoxLayout(this);
    m_tabs = new QTabWidget(this);
    m_tabs->addTab(BuildSearchForPage(), QStringLiteral("Search for"));
    m_tabs->addTab(BuildLocationsPage(), QStringLiteral("Locations"));
    m_tabs->addTab(BuildExportPage(), QStringLiteral("Export"));
    m_tabs->addTab(BuildViewPage(), QStringLiteral("View"));
    m_tabs->addTab(BuildMiscPage(), QStringLiteral("Misc"));
    layout->addWidget(m_tabs);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

QWidget* OptionsSheet::BuildSearchForPage()
{
    const SearchSettings& s = m_app.settings;
    auto* page = new QWidget(this);
    auto* layout = new QHBoxLayout(page);

    auto* kinds = new QGroupBox(QStringLiteral("Search for"), page);
    auto* kindGrid = new QGridLayout(kinds);
    static const char* const kCaptions[8] = {"&http, ftp", "&mailto, news", "&gopher, wais", "&telnet",
                                             "&User defined", "&Javascript functions", "&emails",
                                             "&IP's,  sum  >"};
    auto* kindGroup = new QButtonGroup(this);
    for (int k = 0; k < 8; ++k) {
        m_kind[k] = new QRadioButton(QLatin1String(kCaptions[k]), kinds);
        kindGroup->addButton(m_kind[k], k);
    }
    for (int k = 0; k < 4; ++k)
        kindGrid->addWidget(m_kind[k], k, 0);
    kindGrid->addWidget(m_kind[5], 0, 1);
    kindGrid->addWidget(m_kind[6], 1, 1);
    auto* ipRow = new QHBoxLayout;
    m_ipSum = new QLineEdit(QString::number(s.ipSumLimit), kinds);
    m_ipSum->setValidator(new QIntValidator(0, 99999, m_ipSum));
    m_ipSum->setMaximumWidth(60);
    ipRow->addWidget(m_kind[7]);
    ipRow->addWidget(m_ipSum);
    ipRow->addStretch(1);
    kindGrid->addLayout(ipRow, 2, 1);
    kindGrid->addWidget(m_kind[4], 4, 0);
    m_user = new HistoryCombo(kinds);
    m_user->Fill(s.userStrings, s.userStrings[0]);
    kindGrid->addWidget(m_user, 5, 0, 1, 2);
    m_prefix = new QCheckBox(QStringLiteral("Prefix"), kinds);
    m_urlLike = new QCheckBox(QStringLiteral("Url like"), kinds);
    m_entireLine = new QCheckBox(QStringLiteral("Entire Line"), kinds);
    auto* userRow = new QHBoxLayout;
    m_ascii = new QRadioButton(QStringLiteral("&Ascii"), kinds);
    m_hex = new QRadioButton(QStringLiteral("&Hex"), kinds);
    auto* codeGroup = new QButtonGroup(this);
    codeGroup->addButton(m_ascii);
    codeGroup->addButton(m_hex);
    for (QWidget* w : std::initializer_list<QWidget*>{m_prefix, m_urlLike, m_entireLine, m_ascii, m_hex})
        userRow->addWidget(w);
    userRow->addStretch(1);
    kindGrid->addLayout(userRow, 6, 0, 1, 2);
    m_kind[std::clamp(s.itemKind, 0, 7)]->setChecked(true);
    m_prefix->setChecked(s.userPrefix);
    m_urlLike->setChecked(s.userUrlLike);
    m_entireLine->setChecked(s.userEntireLine);
    (s.userHex ? m_hex : m_ascii)->setChecked(true);
    // "Entire Line" excludes the other two.
    connect(m_entireLine, &QCheckBox::toggled, this, [this](bool on) {
        if (on) {
            m_prefix->setChecked(false);
            m_urlLike->setChecked(false);
        }
    });
    for (QCheckBox* box : {m_prefix, m_urlLike})
        connect(box, &QCheckBox::toggled, this, [this](bool on) {
            if (on)
                m_entireLine->setChecked(false);
        });
    layout->addWidget(kinds, 3);

    auto* right = new QVBoxLayout;
    auto* general = new QGroupBox(page);
    auto* generalLayout = new QVBoxLayout(general);
    m_case = new QCheckBox(QStringLiteral("&Case sensitive"), general);
    m_case->setChecked(s.caseSensitive);
    auto* minimalRow = new QHBoxLayout;
    m_minimal = new QLineEdit(QString::number(s.minimalLength), general);
    m_minimal->setValidator(new QIntValidator(0, 259, m_minimal));
    m_minimal->setMaximumWidth(60);
    minimalRow->addWidget(new QLabel(QStringLiteral("Minimal Length:"), general));
    minimalRow->addWidget(m_minimal);
    minimalRow->addStretch(1);
    m_topLevel = new QCheckBox(QStringLiteral("&Only top level domain names"), general);
    m_topLevel->setChecked(s.onlyTopLevelDomains);
    generalLayout->addWidget(m_case);
    generalLayout->addLayout(minimalRow);
    generalLayout->addWidget(m_topLevel);
    right->addWidget(general);

    auto* dupes = new QGroupBox(QStringLiteral("Duplicates"), page);
    auto* dupesLayout = new QVBoxLayout(dupes);
    static const char* const kDupes[4] = {"Do &not omit duplicates", "Omit close duplicates within same &file",
                                          "Omit &all duplicates", "Only &1 hit per file"};
    auto* dupesGroup = new QButtonGroup(this);
    for (int p = 0; p < 4; ++p) {
        m_dupes[p] = new QRadioButton(QLatin1String(kDupes[p]), dupes);
        dupesGroup->addButton(m_dupes[p], p);
        dupesLayout->addWidget(m_dupes[p]);
    }
    m_dupes[std::clamp(s.duplicatesPolicy, 0, 3)]->setChecked(true);
    right->addWidget(dupes);
    right->addStretch(1);
    layout->addLayout(right, 2);
    return page;
}

QWidget* OptionsSheet::BuildViewPage()
{
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    m_stdOpen = new QCheckBox(QStringLiteral("&Standard Open File dialogs (may need system restart)"), page);
    m_stdOpen->setChecked(m_app.options.stdOpen);
    m_textWin = new QCheckBox(QStringLiteral("&Start with Text window"), page);
    m_textWin->setChecked(m_app.options.textWin);
    auto* colorRow = new QHBoxLayout;
    m_alternate = new QCheckBox(QStringLiteral("&Alternate Row Colors"), page);
    m_alternate->setChecked(m_app.options.alternateRowColors);
    m_color = new QLineEdit(DecodeBytes(m_app.options.rowColor), page);
    m_color->setMaxLength(11);
    m_color->setMaximumWidth(100);
    colorRow->addWidget(m_alternate);
    colorRow->addWidget(new QLabel(QStringLiteral("Color:"), page));
    colorRow->addWidget(m_color);
    colorRow->addStretch(1);
    layout->addWidget(m_stdOpen);
    layout->addWidget(m_textWin);
    layout->addLayout(colorRow);
    auto* browsers = new QGroupBox(QStringLiteral("Browser Menues' Order (needs program restart)"), page);
    auto* browserRow = new QHBoxLayout(browsers);
    MakeOrderEdits(m_browserOrder, m_app.options.browserOrder, 3, browsers);
    static const char* const kBrowsers[3] = {"Internet Explorer:", "Netscape:", "Opera:"};
    for (std::size_t i = 0; i < 3; ++i) {
        browserRow->addWidget(new QLabel(QLatin1String(kBrowsers[i]), browsers));
        browserRow->addWidget(m_browserOrder.edits[i]);
    }
    browserRow->addStretch(1);
    layout->addWidget(browsers);
    layout->addStretch(1);
    return page;
}

void OptionsSheet::Apply()
{
    SearchSettings& s = m_app.settings;
    int kind = 0;
    for (int k = 0; k < 8; ++k)
        if (m_kind[k]->isChecked())
            kind = k;
    s.minimalLength = std::max(1, m_minimal->text().toInt());
    s.ipSumLimit = std::clamp(m_ipSum->text().toInt(), 0, 1020);
    const bool urlLike = m_urlLike->isChecked();
    if (urlLike != s.userUrlLike) {
        s.userUrlLike = urlLike;
        // Only while no scan runs: the scanners read the table.
        if (!m_app.jobs.Running())
            m_app.tables.SetUrlLike(urlLike);
    }
    s.userPrefix = m_prefix->isChecked();
    s.userEntireLine = m_entireLine->isChecked();
    s.userHex = m_hex->isChecked();
    s.caseSensitive = m_case->isChecked();
    s.onlyTopLevelDomains = m_topLevel->isChecked();
    for (int p = 0; p < 4; ++p)
        if (m_dupes[p]->isChecked())
            s.duplicatesPolicy = p;
    const std::string user = m_user->Bytes();
    if (!user.empty())
        PutOnTop(s.userStrings, user);
    // A user-defined search without a string searches URLs instead.
    s.itemKind = (kind == kItemUser && s.userStrings[0].empty()) ? kItemHttpFtp : kind;
    SelectItemKind(m_app);

    m_app.options.stdOpen = m_stdOpen->isChecked();
    m_app.options.textWin = m_textWin->isChecked();
    m_app.options.alternateRowColors = m_alternate->isChecked();
    const std::string color = NormalizedRowColor(EncodeText(m_color->text().trimmed()));
    if (!color.empty())
        m_app.options.rowColor = color;
    ApplyMorePages();
    m_app.options.optionsChanged = true;
}

} // namespace lt
