// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/inet_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <unistd.h>

#include "core/app_state.h"
#include "core/messages.h"
#include "inet/pane_urls.h"
#include "inet/save_names.h"
#include "inet/word_filter.h"
#include "list/find_in_list.h"
#include "store/settings_io.h"
#include "ui/cell_text.h"

namespace lt {
namespace {

const QString kJobFilter = QStringLiteral("LinkTrawl Jobs (*.ltj)");

// An edit with its "any of the words" / "all the words" pair.
QLineEdit* AddWordsRow(QFormLayout* form, const QString& label, QRadioButton*& anyButton, QRadioButton*& allButton,
                       QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    anyButton = new QRadioButton(QStringLiteral("any of the words"), parent);
    allButton = new QRadioButton(QStringLiteral("all the words"), parent);
    auto* group = new QButtonGroup(parent);
    group->addButton(anyButton);
    group->addButton(allButton);
    auto* row = new QHBoxLayout;
    row->addWidget(edit, 1);
    row->addWidget(anyButton);
    row->addWidget(allButton);
    form->addRow(label, row);
    return edit;
}

void SetWords(QLineEdit* edit, QRadioButton* any, QRadioButton* all, const std::string& text, bool allWords)
{
    edit->setText(DecodeBytes(text));
    (allWords ? all : any)->setChecked(true);
}

std::string Text(const QLineEdit* edit) { return EncodeText(edit->text().trimmed()); }

// RI7 names the first target file; the dialog shows its folder.
std::string FolderOf(std::string path)
{
    if (const std::size_t slash = path.rfind('/'); slash != std::string::npos)
        path.erase(slash > 0 ? slash : 1);
    return path;
}

} // namespace

InetDialog::InetDialog(AppState& app, QWidget* parent) : QDialog(parent), m_app(app)
{
    setWindowTitle(QStringLiteral("Read Internet Files"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    layout->addLayout(form);

    m_url = new QComboBox(this);
    m_url->setEditable(true);
    auto* urlRow = new QHBoxLayout;
    urlRow->addWidget(m_url, 1);
    auto* pasteList = new QPushButton(QStringLiteral("&Paste List Url"), this);
    auto* pastePanes = new QPushButton(QStringLiteral("Paste &from Panes"), this);
    urlRow->addWidget(pasteList);
    urlRow->addWidget(pastePanes);
    form->addRow(QStringLiteral("Url:"), urlRow);
    connect(pasteList, &QPushButton::clicked, this, &InetDialog::PasteListUrl);
    connect(pastePanes, &QPushButton::clicked, this, &InetDialog::PasteFromPanes);

    m_follow = new QCheckBox(QStringLiteral("Follow Links:"), this);
    m_level = new QLineEdit(this);
    m_level->setValidator(new QIntValidator(0, 999, m_level));
    auto* followRow = new QHBoxLayout;
    followRow->addWidget(m_follow);
    followRow->addWidget(new QLabel(QStringLiteral("Level:"), this));
    followRow->addWidget(m_level);
    form->addRow(followRow);

    m_urlFileOn = new QCheckBox(QStringLiteral("Urls from File"), this);
    m_urlFile = new QLineEdit(this);
    form->addRow(m_urlFileOn, m_urlFile);

    m_followMust = AddWordsRow(form, QStringLiteral("followed links must contain"), m_followMustAny, m_followMustAll,
                               this);
    m_followMustNot = AddWordsRow(form, QStringLiteral("followed links must not contain"), m_followMustNotAny,
                                  m_followMustNotAll, this);

    m_save = new QCheckBox(QStringLiteral("Save file to disk"), this);
    m_saveDir = new QComboBox(this);
    m_saveDir->setEditable(true);
    form->addRow(m_save, m_saveDir);
    m_saveOnly = new QCheckBox(QStringLiteral("Save only (no search)"), this);
    form->addRow(m_saveOnly);
    m_savedMust = AddWordsRow(form, QStringLiteral("saved links must contain"), m_savedMustAny, m_savedMustAll, this);
    m_savedMustNot = AddWordsRow(form, QStringLiteral("saved links must not contain"), m_savedMustNotAny,
                                 m_savedMustNotAll, this);
    m_enumerate = new QCheckBox(QStringLiteral("Use enumerative file names for saving"), this);
    m_baseName = new QLineEdit(this);
    form->addRow(m_enumerate, m_baseName);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("&Ok"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("&Cancel"), QDialogButtonBox::RejectRole);
    QPushButton* saveJob = buttons->addButton(QStringLiteral("Save &job as"), QDialogButtonBox::ActionRole);
    QPushButton* loadJob = buttons->addButton(QStringLiteral("Load &job"), QDialogButtonBox::ActionRole);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (Confirm())
            accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(saveJob, &QPushButton::clicked, this, &InetDialog::SaveJob);
    connect(loadJob, &QPushButton::clicked, this, &InetDialog::LoadJob);
    Fill();
}

void InetDialog::Fill()
{
    const InetOptions& o = m_app.options.inet;
    m_url->clear();
    for (const std::string& entry : o.urlHistory)
        if (!entry.empty())
            m_url->addItem(DecodeBytes(entry));
    m_url->setEditText(DecodeBytes(o.startUrl));
    m_follow->setChecked(o.crawlMode > 0);
    m_level->setText(QString::number(o.level));
    m_urlFileOn->setChecked(o.urlsFromFile);
    m_urlFile->setText(DecodePath(o.urlFile));
    SetWords(m_followMust, m_followMustAny, m_followMustAll, o.followMust, o.followMustAll);
    SetWords(m_followMustNot, m_followMustNotAny, m_followMustNotAll, o.followMustNot, o.followMustNotAll);
    m_save->setChecked(o.saveToDisk);
    m_saveDir->setEditText(DecodePath(FolderOf(o.savePath)));
    m_saveOnly->setChecked(o.saveOnly);
    SetWords(m_savedMust, m_savedMustAny, m_savedMustAll, o.savedMust, o.savedMustAll);
    SetWords(m_savedMustNot, m_savedMustNotAny, m_savedMustNotAll, o.savedMustNot, o.savedMustNotAll);
    m_enumerate->setChecked(o.enumerativeNames);
    m_baseName->setText(DecodeBytes(o.baseFileName));
}

void InetDialog::Apply()
{
    InetOptions& o = m_app.options.inet;
    const std::string url = EncodeText(m_url->currentText().trimmed());
    const bool follows = m_follow->isChecked();
    o.startUrl = url.size() < 8 ? std::string() : url;
    o.crawlMode = follows ? 2 : 0;
    o.level = m_level->text().toInt();
    o.urlsFromFile = follows && m_urlFileOn->isChecked() && !m_urlFile->text().trimmed().isEmpty();
    o.urlFile = EncodePath(m_urlFile->text().trimmed());
    o.followMust = Text(m_followMust);
    o.followMustAll = m_followMustAll->isChecked();
    o.followMustNot = Text(m_followMustNot);
    o.followMustNotAll = m_followMustNotAll->isChecked();
    o.saveToDisk = m_save->isChecked();
    const std::string dir = EncodePath(m_saveDir->currentText().trimmed());
    if (!dir.empty())
        o.savePath = dir + "/" + (m_enumerate->isChecked() ? Text(m_baseName) : std::string("tmp01.htm"));
    o.saveOnly = m_saveOnly->isChecked();
    o.savedMust = Text(m_savedMust);
    o.savedMustAll = m_savedMustAll->isChecked();
    o.savedMustNot = Text(m_savedMustNot);
    o.savedMustNotAll = m_savedMustNotAll->isChecked();
    o.enumerativeNames = m_enumerate->isChecked();
    o.baseFileName = Text(m_baseName);
}

bool InetDialog::Confirm()
{
    const std::string followMust = Text(m_followMust), followMustNot = Text(m_followMustNot);
    const WordFilter follow =
        MakeWordFilter(followMust, m_followMustAll->isChecked(), followMustNot, m_followMustNotAll->isChecked());
    if (!WordFilterValid(followMust, follow, followMustNot)) {
        ShowMessage(m_app, "Invalid Follow Links Arguments !", "LinkTrawl", {MsgButtons::Ok, MsgIcon::Information});
        return false;
    }
    const bool save = m_save->isChecked();
    const std::string savedMust = Text(m_savedMust), savedMustNot = Text(m_savedMustNot);
    const WordFilter saved =
        MakeWordFilter(savedMust, m_savedMustAll->isChecked(), savedMustNot, m_savedMustNotAll->isChecked());
    if (save && !WordFilterValid(savedMust, saved, savedMustNot)) {
        ShowMessage(m_app, "Invalid Save Files Arguments !", "LinkTrawl", {MsgButtons::Ok, MsgIcon::Information});
        return false;
    }
    const std::string url = EncodeText(m_url->currentText().trimmed());
    const bool follows = m_follow->isChecked();
    const bool fromFile = follows && m_urlFileOn->isChecked() && !m_urlFile->text().trimmed().isEmpty();
    // A short start URL is only a placeholder for a crawl or a list from a file.
    if (url.size() < 8 && !follows && !fromFile)
        return false;
    const std::string dir = EncodePath(m_saveDir->currentText().trimmed());
    if (save) {
        if (dir.empty() || !EnsureDirectory(dir, true)) {
            ShowMessage(m_app, "Can not create/open directory\r\n" + dir + " !", "Error",
                        {MsgButtons::Ok, MsgIcon::Error});
            return false;
        }
        if (m_enumerate->isChecked() && m_baseName->text().trimmed().isEmpty())
            return false;
    }
    Apply();
    // The start URL heads the field's history.
    if (!m_app.options.inet.startUrl.empty())
        AddToHistory(m_app.options.inet.urlHistory, m_app.options.inet.startUrl);
    return true;
}

QString InetDialog::AskJobFile(bool save)
{
    if (m_hooks.jobFile)
        return m_hooks.jobFile(save);
    const QString folder =
        DecodePath(!m_app.options.jobFolder.empty() ? m_app.options.jobFolder : m_app.options.saveFolder);
    QFileDialog dialog(this, save ? QStringLiteral("Save Job as") : QStringLiteral("Load Job"), folder, kJobFilter);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (!save)
        dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("ltj"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().front();
}

void InetDialog::SaveJob()
{
    const QString name = AskJobFile(true);
    if (name.isEmpty())
        return;
    m_app.options.jobFolder = EncodePath(QFileInfo(name).absolutePath() + QLatin1Char('/'));
    Apply();
    if (WriteSettings(m_app, EncodePath(name), kSettingsSaveJob) >= 0)
        ShowMessage(m_app, "Job saved !");
    else
        ShowMessage(m_app, "Could not save Settings to File !", "LinkTrawl", {MsgButtons::Ok, MsgIcon::Warning});
}

void InetDialog::LoadJob()
{
    const QString name = AskJobFile(false);
    if (name.isEmpty())
        return;
    m_app.options.jobFolder = EncodePath(QFileInfo(name).absolutePath() + QLatin1Char('/'));
    if (ReadSettings(m_app, EncodePath(name), kSettingsLoadJob) < 0) {
        ShowMessage(m_app, "No Search Settings found !");
        return;
    }
    Fill();
}

void InetDialog::PasteListUrl()
{
    long row = m_app.list.FocusedRow();
    if (row < 0) {
        const std::vector<std::size_t> selected = m_app.list.SelectedRows();
        if (selected.empty())
            return;
        row = static_cast<long>(selected.front());
    }
    if (static_cast<std::size_t>(row) < m_app.list.RowCount())
        m_url->setEditText(DecodeBytes(m_app.list.GetCell(static_cast<std::size_t>(row), 0)));
}

void InetDialog::PasteFromPanes()
{
    std::unique_ptr<DesktopWindows> desktop = m_hooks.desktop ? m_hooks.desktop() : OpenDesktopWindows();
    if (!desktop)
        return;
    OwnWindows own;
    own.pid = static_cast<uint32_t>(getpid());
    own.windows.push_back(static_cast<DesktopWindowId>(winId()));
    if (QWidget* top = parentWidget() ? parentWidget()->window() : nullptr)
        own.windows.push_back(static_cast<DesktopWindowId>(top->winId()));
    const std::vector<std::string> urls = CollectPaneUrls(*desktop, own);
    if (urls.size() == 1) {
        m_url->setEditText(DecodeBytes(urls.front()));
        return;
    }
    if (urls.empty())
        return;
    QMenu menu(this);
    for (const std::string& url : urls) {
        QAction* entry = menu.addAction(DecodeBytes(PaneMenuText(url)));
        connect(entry, &QAction::triggered, this, [this, url] { m_url->setEditText(DecodeBytes(url)); });
    }
    if (m_hooks.showMenu)
        m_hooks.showMenu(menu);
    else
        menu.exec(QCursor::pos());
}

} // namespace lt
