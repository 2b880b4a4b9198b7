// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/folder_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QToolButton>
#include <QVBoxLayout>

#include <ctime>

#include "core/app_state.h"
#include "search/filter_date.h"
#include "search/search_jobs.h"
#include "ui/cell_text.h"
#include "ui/history_combo.h"

namespace lt {

namespace {

const QString kMyComputer = QStringLiteral("My Computer");

QDateTime ToQt(const FilterDate& d)
{
    return QDateTime(QDate(d.year, d.month, d.day), QTime(d.hour, d.minute, d.second));
}

FilterDate FromQt(const QDateTime& t)
{
    FilterDate d;
    d.year = t.date().year();
    d.month = t.date().month();
    d.day = t.date().day();
    d.hour = t.time().hour();
    d.minute = t.time().minute();
    d.second = t.time().second();
    d.text = FormatFilterDate(d);
    return d;
}

QDateTimeEdit* MakeDateEdit(QWidget* parent)
{
    auto* edit = new QDateTimeEdit(parent);
    edit->setDisplayFormat(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
    edit->setCalendarPopup(true);
    edit->setMinimumDate(QDate(1970, 1, 1));
    return edit;
}

} // namespace

FolderDialog::FolderDialog(AppState& app, bool fileList, QWidget* parent)
    : QDialog(parent), m_app(app), m_fileList(fileList)
{
    setWindowTitle(QStringLiteral("Select Directory"));
    setObjectName(fileList ? QStringLiteral("FILELISTDLG") : QStringLiteral("FOLDERDLG"));
    const SearchSettings& s = app.settings;
    auto* layout = new QVBoxLayout(this);

    auto* folderRow = new QHBoxLayout;
    m_folder = new HistoryCombo(this, true);
    m_folder->Fill(s.folders, s.folders[0]);
    if (m_folder->findText(kMyComputer) < 0)
        m_folder->addItem(kMyComputer);
    if (m_folder->currentText().isEmpty() && !app.options.initFolder.empty())
        m_folder->setEditText(DecodePath(app.options.initFolder));
    auto* browse = new QPushButton(QStringLiteral("&Browse..."), this);
    connect(browse, &QPushButton::clicked, this, &FolderDialog::Browse);
    auto* folderLabel = new QLabel(QStringLiteral("&Folder:"), this);
    folderLabel->setBuddy(m_folder);
    folderRow->addWidget(folderLabel);
    folderRow->addWidget(m_folder, 1);
    folderRow->addWidget(browse);
    layout->addLayout(folderRow);

    auto* types = new QGroupBox(this);
    auto* typeGrid = new QGridLayout(types);
    auto* modes = new QButtonGroup(this);
    m_mode[0] = new QRadioButton(QStringLiteral("Search all files of type"), types);
    m_mode[1] = new QRadioButton(QStringLiteral("Search all files except"), types);
    m_mode[2] = new QRadioButton(QStringLiteral("Search all non binary files"), types);
    m_include = new HistoryCombo(types);
    m_include->Fill(s.includeMaskHistory, s.includeMasks);
    m_exclude = new HistoryCombo(types);
    m_exclude->Fill(s.excludeMaskHistory, s.excludeMasks);
    for (int i = 0; i < 3; ++i)
        modes->addButton(m_mode[i], i);
    typeGrid->addWidget(m_mode[0], 0, 0);
    typeGrid->addWidget(m_include, 0, 1);
    typeGrid->addWidget(m_mode[1], 1, 0);
    typeGrid->addWidget(m_exclude, 1, 1);
    typeGrid->addWidget(m_mode[2], 2, 0, 1, 2);
    int mode = std::clamp(s.fileTypeMode, 0, 2);
    if (fileList) {
        // A file list is built from names alone: its dialog has no binary test.
        m_mode[2]->hide();
        if (mode == 2)
            mode = 0;
    }
    m_mode[mode]->setChecked(true);
    connect(modes, &QButtonGroup::idClicked, this, &FolderDialog::UpdateEnabled);
    layout->addWidget(types);

    m_subdirs = new QCheckBox(QStringLiteral("Include subdirectories"), this);
    m_subdirs->setChecked(s.includeSubdirectories);
    layout->addWidget(m_subdirs);

    auto* dates = new QGroupBox(this);
    auto* dateGrid = new QGridLayout(dates);
    m_dateOn = new QCheckBox(QStringLiteral("Date between "), dates);
    m_dateOn->setChecked(s.dateFilter);
    m_from = MakeDateEdit(dates);
    m_to = MakeDateEdit(dates);
    m_from->setDateTime(ToQt(s.dateFrom));
    m_to->setDateTime(s.dateTo.year > 1990 ? ToQt(s.dateTo) : QDateTime::currentDateTime());
    m_fromPopup = new QToolButton(dates);
    m_fromPopup->setText(QStringLiteral("..."));
    m_fromPopup->setPopupMode(QToolButton::InstantPopup);
    auto* popup = new QMenu(m_fromPopup);
    const std::pair<const char*, int> kRecent[] = {
        {"Previous &5 minutes", 5}, {"Previous &10 minutes", 10}, {"Previous &30 minutes", 30},
        {"Previous &hour", 60},     {"Previous &day", 100},       {"Previous &week", 200},
        {"&Unknown", kRecentUnknown}};
    int menuId = 2811;
    for (const auto& [text, code] : kRecent) {
        QAction* action = popup->addAction(QLatin1String(text));
        action->setData(menuId++);
        const int c = code;
        connect(action, &QAction::triggered, this, [this, c] { ApplyRecentDate(c); });
    }
    m_fromPopup->setMenu(popup);
    dateGrid->addWidget(m_dateOn, 0, 0);
    dateGrid->addWidget(m_from, 0, 1);
    dateGrid->addWidget(m_fromPopup, 0, 2);
    dateGrid->addWidget(new QLabel(QStringLiteral("and"), dates), 0, 3);
    dateGrid->addWidget(m_to, 0, 4);
    auto* fields = new QButtonGroup(this);
    m_field[0] = new QRadioButton(QStringLiteral("&Created"), dates);
    m_field[1] = new QRadioButton(QStringLiteral("&Modified"), dates);
    m_field[2] = new QRadioButton(QStringLiteral("&Accessed"), dates);
    auto* fieldRow = new QHBoxLayout;
    for (int i = 0; i < 3; ++i) {
        fields->addButton(m_field[i], i);
        fieldRow->addWidget(m_field[i]);
    }
    fieldRow->addStretch(1);
    dateGrid->addLayout(fieldRow, 1, 1, 1, 4);
    m_field[s.dateFilter ? std::clamp(s.dateField, 0, 2) : 1]->setChecked(true);
    connect(m_dateOn, &QCheckBox::toggled, this, &FolderDialog::UpdateEnabled);
    layout->addWidget(dates);

    auto* sizes = new QGroupBox(this);
    auto* sizeGrid = new QGridLayout(sizes);
    auto* digits = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,19}")), this);
    m_aboveOn = new QCheckBox(QStringLiteral("Size larger than"), sizes);
    m_belowOn = new QCheckBox(QStringLiteral("Size smaller than"), sizes);
    m_above = new QLineEdit(sizes);
    m_below = new QLineEdit(sizes);
    m_above->setValidator(digits);
    m_below->setValidator(digits);
    m_aboveOn->setChecked(s.sizeAbove.on);
    m_belowOn->setChecked(s.sizeBelow.on);
    m_above->setText(QString::number(s.sizeAbove.bytes));
    m_below->setText(QString::number(s.sizeBelow.bytes));
    sizeGrid->addWidget(m_aboveOn, 0, 0);
    sizeGrid->addWidget(m_above, 0, 1);
    sizeGrid->addWidget(new QLabel(QStringLiteral("Bytes"), sizes), 0, 2);
    sizeGrid->addWidget(m_belowOn, 1, 0);
    sizeGrid->addWidget(m_below, 1, 1);
    sizeGrid->addWidget(new QLabel(QStringLiteral("Bytes"), sizes), 1, 2);
    connect(m_aboveOn, &QCheckBox::toggled, this, &FolderDialog::UpdateEnabled);
    connect(m_belowOn, &QCheckBox::toggled, this, &FolderDialog::UpdateEnabled);
    layout->addWidget(sizes);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("&Cancel"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    UpdateEnabled();
}

void FolderDialog::UpdateEnabled()
{
    m_include->setEnabled(m_mode[0]->isChecked());
    m_exclude->setEnabled(m_mode[1]->isChecked());
    const bool dates = m_dateOn->isChecked();
    m_from->setEnabled(dates);
    m_to->setEnabled(dates);
    m_fromPopup->setEnabled(dates);
    for (QRadioButton* field : m_field)
        field->setEnabled(dates);
    m_above->setEnabled(m_aboveOn->isChecked());
    m_below->setEnabled(m_belowOn->isChecked());
}

void FolderDialog::Browse()
{
    QString start = m_folder->currentText();
    if (start == kMyComputer)
        start = QStringLiteral("/");
    const QString folder = QFileDialog::getExistingDirectory(this, QStringLiteral("Select Directory"), start);
    if (!folder.isEmpty())
        m_folder->setEditText(folder);
}

void FolderDialog::ApplyRecentDate(int code)
{
    FilterDate date;
    SetRecentDate(date, code, std::time(nullptr));
    m_from->setDateTime(ToQt(date));
    m_to->setDateTime(QDateTime::currentDateTime());
}

std::string FolderDialog::ApplyToSettings()
{
    SearchSettings& s = m_app.settings;
    const std::string folder = m_folder->Bytes();
    if (folder.empty())
        return {};
    PutOnTop(s.folders, folder);

    s.fileTypeMode = m_mode[0]->isChecked() ? 0 : (m_mode[1]->isChecked() ? 1 : 2);
    const std::string include = StoredMaskText(m_include->Bytes());
    const std::string exclude = StoredMaskText(m_exclude->Bytes());
    if (s.fileTypeMode == 0 || !include.empty()) {
        s.includeMasks = include;
        PutOnTop(s.includeMaskHistory, include);
    }
    if (s.fileTypeMode == 1 || !exclude.empty()) {
        s.excludeMasks = exclude;
        PutOnTop(s.excludeMaskHistory, exclude);
    }
    s.includeSubdirectories = m_subdirs->isChecked();
    s.dateFilter = m_dateOn->isChecked();
    s.dateField = s.dateFilter ? (m_field[0]->isChecked() ? 0 : (m_field[2]->isChecked() ? 2 : 1)) : 1;
    s.dateFrom = FromQt(m_from->dateTime());
    s.dateTo = FromQt(m_to->dateTime());
    s.sizeAbove.on = m_aboveOn->isChecked();
    s.sizeAbove.bytes = m_above->text().toULongLong();
    s.sizeBelow.on = m_belowOn->isChecked();
    s.sizeBelow.bytes = m_below->text().toULongLong();
    return folder;
}

} // namespace lt
