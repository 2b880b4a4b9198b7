// SPDX-License-Identifier: GPL-3.0-or-later
// The "Locations", "Export" and "Misc" pages of the options sheet and its order edits.
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/app_state.h"
#include "store/option_rules.h"
#include "ui/cell_text.h"
#include "ui/options_sheet.h"

namespace lt {

namespace {

constexpr int kProgramLength = 259;
constexpr int kJoinSuffixLength = 31;
constexpr int kJoinNameLength = 63;

int DigitOf(const QLineEdit* edit)
{
    bool ok = false;
    const int value = edit->text().toInt(&ok);
    return ok ? value : 0;
}

// An edit with a small browse button; `browse` returns the chosen path or an empty text.
QHBoxLayout* WithBrowse(QLineEdit* edit, QWidget* parent, std::function<QString()> browse)
{
    auto* row = new QHBoxLayout;
    row->addWidget(edit, 1);
    auto* button = new QPushButton(QStringLiteral("..."), parent);
    button->setMaximumWidth(32);
    QObject::connect(button, &QPushButton::clicked, edit, [edit, browse] {
        const QString chosen = browse();
        if (!chosen.isEmpty())
            edit->setText(chosen);
    });
    row->addWidget(button);
    return row;
}

} // namespace

void OptionsSheet::MakeOrderEdits(OrderEdits& order, std::string digits, int n, QWidget* parent)
{
    if (!IsOrderPermutation(digits, n)) {
        digits.clear();
        for (int d = 1; d <= n; ++d)
            digits.push_back(static_cast<char>('0' + d));
    }
    for (std::size_t i = 0; i < static_cast<std::size_t>(n); ++i) {
        auto* edit = new QLineEdit(parent);
        edit->setMaxLength(2);
        edit->setMaximumWidth(32);
        const int digit = digits[i] - '0';
        edit->setText(QString::number(digit));
        order.edits.push_back(edit);
        order.remembered.push_back(digit);
        connect(edit, &QLineEdit::textEdited, this, [this, &order, i] { OrderEdited(order, i); });
    }
}

void OptionsSheet::OrderEdited(OrderEdits& order, std::size_t changed)
{
    const int n = static_cast<int>(order.edits.size());
    QLineEdit* edit = order.edits[changed];
    const std::string text = EncodeText(edit->text());
    const std::string clamped = ClampOrderDigit(text, n);
    if (clamped != text)
        edit->setText(DecodeBytes(clamped));
    std::vector<int> digits;
    for (const QLineEdit* e : order.edits)
        digits.push_back(DigitOf(e));
    const std::vector<int> typed = digits;
    SwapIntoPermutation(digits, changed, order.remembered[changed]);
    for (std::size_t j = 0; j < digits.size(); ++j)
        if (digits[j] != typed[j]) {
            order.edits[j]->setText(QString::number(digits[j]));
            order.remembered[j] = digits[j];
            order.remembered[changed] = digits[changed];
        }
    std::string now;
    for (const int d : digits)
        now.push_back(static_cast<char>('0' + std::clamp(d, 0, 9)));
    if (IsOrderPermutation(now, n))
        order.remembered = digits;
}

QWidget* OptionsSheet::BuildLocationsPage()
{
    const Options& o = m_app.options;
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    auto folderPicker = [this](const char* title) {
        return [this, title] { return QFileDialog::getExistingDirectory(this, QLatin1String(title)); };
    };
    auto filePicker = [this](const char* filter) {
        return [this, filter] {
            return QFileDialog::getOpenFileName(this, QStringLiteral("Open"), QString(),
                                                QLatin1String(filter));
        };
    };
    const std::string values[5] = {o.msieFavorites, o.netscapeBookmarks, o.operaBookmarks, o.initFolder,
                                   o.tempFolder};
    for (std::size_t i = 0; i < m_locations.size(); ++i) {
        m_locations[i] = new QLineEdit(DecodePath(values[i]), page);
        m_locations[i]->setMaxLength(254);
    }
    auto* bookmarks = new QGroupBox(QStringLiteral("Bookmarks"), page);
    auto* grid = new QGridLayout(bookmarks);
    grid->addWidget(new QLabel(QStringLiteral("Internet Explorer"), bookmarks), 0, 0);
    grid->addLayout(WithBrowse(m_locations[0], bookmarks, folderPicker("Internet Explorer Favorites")), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Netscape"), bookmarks), 1, 0);
    grid->addLayout(WithBrowse(m_locations[1], bookmarks, filePicker("Bookmarks (Bookmark.htm)")), 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Opera"), bookmarks), 2, 0);
    grid->addLayout(WithBrowse(m_locations[2], bookmarks, filePicker("Opera(*.adr) (*.adr)")), 2, 1);
    layout->addWidget(bookmarks);
    layout->addWidget(new QLabel(QStringLiteral("Initial search directory"), page));
    layout->addLayout(WithBrowse(m_locations[3], page, folderPicker("Select Initial Search Directory")));
    layout->addWidget(new QLabel(QStringLiteral("Temporary files"), page));
    layout->addLayout(WithBrowse(m_locations[4], page, folderPicker("Select Directory for temporary files")));
    layout->addStretch(1);
    return page;
}

QWidget* OptionsSheet::BuildExportPage()
{
    const ExportSettings& e = m_app.exportSettings;
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    auto* columns = new QGroupBox(QStringLiteral("Export the following List Columns"), page);
    auto* columnRow = new QHBoxLayout(columns);
    for (std::size_t i = 0; i < m_exportColumns.size(); ++i) {
        m_exportColumns[i] = new QCheckBox(QStringLiteral("&%1").arg(i + 1), columns);
        m_exportColumns[i]->setChecked(e.columns[i]);
        columnRow->addWidget(m_exportColumns[i]);
    }
    columnRow->addStretch(1);
    layout->addWidget(columns);
    auto* order = new QGroupBox(
        QStringLiteral("Export List Columns by the following order (only for text files)"), page);
    auto* orderRow = new QHBoxLayout(order);
    MakeOrderEdits(m_exportOrder, e.order, 6, order);
    for (QLineEdit* edit : m_exportOrder.edits)
        orderRow->addWidget(edit);
    orderRow->addStretch(1);
    layout->addWidget(order);
    auto* csv = new QGroupBox(QStringLiteral("Save as CSV file"), page);
    auto* csvRow = new QHBoxLayout(csv);
    m_delimiter = new QLineEdit(DecodeBytes(std::string(1, e.delimiter)), csv);
    m_delimiter->setMaxLength(1);
    m_delimiter->setMaximumWidth(32);
    csvRow->addWidget(new QLabel(QStringLiteral("Delimiter:"), csv));
    csvRow->addWidget(m_delimiter);
    csvRow->addStretch(1);
    layout->addWidget(csv);
    auto* html = new QGroupBox(QStringLiteral("Save as Html table"), page);
    auto* htmlRow = new QHBoxLayout(html);
    m_multipleCells = new QCheckBox(QStringLiteral("Use multiple cells per row"), html);
    m_multipleCells->setChecked(e.multipleCells);
    htmlRow->addWidget(m_multipleCells);
    layout->addWidget(html);
    layout->addStretch(1);
    return page;
}

QWidget* OptionsSheet::BuildMiscPage()
{
    const Options& o = m_app.options;
    auto* page = new QWidget(this);
    auto* layout = new QGridLayout(page);

    auto* save = new QGroupBox(QStringLiteral("Save on exit"), page);
    auto* saveLayout = new QVBoxLayout(save);
    static const char* const kSave[3] = {"&Search Options", "&Window position", "&Printer font"};
    const bool saved[3] = {o.saveSearchOnExit, o.saveWindowPositionsOnExit, o.savePrinterFontOnExit};
    for (std::size_t i = 0; i < 3; ++i) {
        m_saveOnExit[i] = new QCheckBox(QLatin1String(kSave[i]), save);
        m_saveOnExit[i]->setChecked(saved[i]);
        saveLayout->addWidget(m_saveOnExit[i]);
    }
    layout->addWidget(save, 0, 0);

    auto* launch = new QGroupBox(QStringLiteral("Double click launches"), page);
    auto* launchLayout = new QVBoxLayout(launch);
    m_standardBrowser = new QRadioButton(QStringLiteral("&Standard Browser"), launch);
    m_otherProgram = new QRadioButton(QStringLiteral("&Other"), launch);
    m_program = new QLineEdit(DecodePath(o.launchProgram), launch);
    m_program->setMaxLength(kProgramLength);
    auto* programRow = WithBrowse(m_program, launch, [this] {
        return QFileDialog::getOpenFileName(this, QStringLiteral("Open"), QString(),
                                            QStringLiteral("Application files (*.exe);;All files (*)"));
    });
    m_programBrowse = qobject_cast<QPushButton*>(programRow->itemAt(1)->widget());
    launchLayout->addWidget(m_standardBrowser);
    launchLayout->addWidget(m_otherProgram);
    launchLayout->addLayout(programRow);
    const bool standard = o.standardBrowser || o.launchProgram.empty();
    (standard ? m_standardBrowser : m_otherProgram)->setChecked(true);
    auto followLaunch = [this] {
        const bool other = m_otherProgram->isChecked();
        m_program->setEnabled(other);
        m_programBrowse->setEnabled(other);
    };
    connect(m_otherProgram, &QRadioButton::toggled, this, followLaunch);
    followLaunch();
    layout->addWidget(launch, 0, 1);

    auto* internet = new QGroupBox(QStringLiteral("Internet"), page);
    auto* internetLayout = new QGridLayout(internet);
    m_useProxy = new QCheckBox(QStringLiteral("&Use Proxy"), internet);
    m_useProxy->setChecked(o.inet.useProxy);
    m_proxy = new QComboBox(internet);
    m_proxy->setEditable(true);
    for (const std::string& proxy : o.inet.proxies)
        if (!proxy.empty())
            m_proxy->addItem(DecodeBytes(proxy));
    m_proxy->setEnabled(o.inet.useProxy);
    connect(m_useProxy, &QCheckBox::toggled, m_proxy, &QWidget::setEnabled);
    m_timeout = new QLineEdit(QString::number(o.inet.timeoutSeconds), internet);
    m_timeout->setMaximumWidth(80);
    internetLayout->addWidget(m_useProxy, 0, 0);
    internetLayout->addWidget(m_proxy, 0, 1);
    internetLayout->addWidget(new QLabel(QStringLiteral("Time out seconds:"), internet), 1, 0);
    internetLayout->addWidget(m_timeout, 1, 1);
    m_parallel = new QLineEdit(QString::number(o.inet.parallelRequests), internet);
    m_parallel->setMaximumWidth(80);
    m_parallel->setToolTip(
        QStringLiteral("URLs tested or downloaded at once (at most 4 to one host); 1 takes one after the other"));
    internetLayout->addWidget(new QLabel(QStringLiteral("Parallel requests:"), internet), 2, 0);
    internetLayout->addWidget(m_parallel, 2, 1);
    layout->addWidget(internet, 1, 0);

    auto* join = new QGroupBox(QStringLiteral("Join Internet Explorer Download files"), page);
    auto* joinLayout = new QGridLayout(join);
    m_joinSuffix = new QLineEdit(DecodeBytes(o.joinDirSuffix), join);
    m_joinSuffix->setMaxLength(kJoinSuffixLength);
    m_joinName = new QLineEdit(DecodeBytes(o.joinFileName), join);
    m_joinName->setMaxLength(kJoinNameLength);
    joinLayout->addWidget(new QLabel(QStringLiteral("Directory suffix:"), join), 0, 0);
    joinLayout->addWidget(m_joinSuffix, 0, 1);
    joinLayout->addWidget(new QLabel(QStringLiteral("New file name:"), join), 1, 0);
    joinLayout->addWidget(m_joinName, 1, 1);
    layout->addWidget(join, 1, 1);
    layout->setRowStretch(2, 1);
    return page;
}

void OptionsSheet::ApplyMorePages()
{
    Options& o = m_app.options;
    // "Locations": a new initial search folder is also where the open dialogs start.
    std::string* const locations[5] = {&o.msieFavorites, &o.netscapeBookmarks, &o.operaBookmarks,
                                       &o.initFolder, &o.tempFolder};
    const std::string initBefore = o.initFolder;
    for (std::size_t i = 0; i < m_locations.size(); ++i)
        *locations[i] = EncodePath(m_locations[i]->text().trimmed());
    if (!o.initFolder.empty() && o.initFolder != initBefore)
        o.openFolder = o.initFolder;

    // "Export".
    ExportSettings& e = m_app.exportSettings;
    std::array<bool, 6> ticked{};
    for (std::size_t i = 0; i < ticked.size(); ++i)
        ticked[i] = m_exportColumns[i]->isChecked();
    e.columns = ConfirmedExportColumns(ticked);
    std::string order;
    for (const QLineEdit* edit : m_exportOrder.edits)
        order += EncodeText(edit->text().trimmed());
    if (IsOrderPermutation(order, 6))
        e.order = order;
    const std::string delimiter = EncodeText(m_delimiter->text());
    if (!delimiter.empty())
        e.delimiter = delimiter[0];
    e.multipleCells = m_multipleCells->isChecked();

    // "View": the browser menus' order.
    std::string browsers;
    for (const QLineEdit* edit : m_browserOrder.edits)
        browsers += EncodeText(edit->text().trimmed());
    if (IsOrderPermutation(browsers, 3))
        o.browserOrder = browsers;

    // "Misc".
    o.saveSearchOnExit = m_saveOnExit[0]->isChecked();
    o.saveWindowPositionsOnExit = m_saveOnExit[1]->isChecked();
    o.savePrinterFontOnExit = m_saveOnExit[2]->isChecked();
    o.launchProgram = EncodePath(m_program->text().trimmed()).substr(0, kProgramLength);
    o.standardBrowser = m_standardBrowser->isChecked() || o.launchProgram.empty();
    o.inet.useProxy = m_useProxy->isChecked();
    const std::string proxy = EncodeText(m_proxy->currentText().trimmed());
    if (o.inet.useProxy && !proxy.empty())
        RememberProxy(o.inet.proxies, ProxyWithPort(proxy));
    ParseTimeout(EncodeText(m_timeout->text().trimmed()), o.inet.timeoutSeconds);
    bool parallelOk = false;
    const int parallel = m_parallel->text().trimmed().toInt(&parallelOk);
    if (parallelOk && parallel >= 1 && parallel <= kMaxParallelRequests)
        o.inet.parallelRequests = parallel;
    const std::string suffix = EncodeText(m_joinSuffix->text());
    if (!suffix.empty())
        o.joinDirSuffix = suffix.substr(0, kJoinSuffixLength);
    const std::string name = EncodeText(m_joinName->text());
    if (!name.empty())
        o.joinFileName = name.substr(0, kJoinNameLength);
}

} // namespace lt
