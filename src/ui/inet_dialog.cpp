// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/inet_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/app_state.h"
#include "core/messages.h"
#include "inet/save_names.h"
#include "inet/word_filter.h"
#include "ui/cell_text.h"

namespace lt {
namespace {

// An edit with its "any of the words" / "all the words" pair.
QLineEdit* AddWordsRow(QFormLayout* form, const QString& label, const std::string& text, bool all,
                       QRadioButton*& allButton, QWidget* parent)
{
    auto* edit = new QLineEdit(DecodeBytes(text), parent);
    auto* any = new QRadioButton(QStringLiteral("any of the words"), parent);
    allButton = new QRadioButton(QStringLiteral("all the words"), parent);
    auto* group = new QButtonGroup(parent);
    group->addButton(any);
    group->addButton(allButton);
    (all ? allButton : any)->setChecked(true);
    auto* row = new QHBoxLayout;
    row->addWidget(edit, 1);
    row->addWidget(any);
    row->addWidget(allButton);
    form->addRow(label, row);
    return edit;
}

std::string Text(const QLineEdit* edit) { return EncodeText(edit->text().trimmed()); }

} // namespace

InetDialog::InetDialog(AppState& app, QWidget* parent) : QDialog(parent), m_app(app)
{
    setWindowTitle(QStringLiteral("Read Internet Files"));
    const InetOptions& o = app.options.inet;
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    layout->addLayout(form);

    m_url = new QComboBox(this);
    m_url->setEditable(true);
    for (const std::string& entry : o.urlHistory)
        if (!entry.empty())
            m_url->addItem(DecodeBytes(entry));
    m_url->setEditText(DecodeBytes(o.startUrl));
    form->addRow(QStringLiteral("Url:"), m_url);

    m_follow = new QCheckBox(QStringLiteral("Follow Links:"), this);
    m_follow->setChecked(o.crawlMode > 0);
    m_level = new QLineEdit(QString::number(o.level), this);
    m_level->setValidator(new QIntValidator(0, 999, m_level));
    auto* followRow = new QHBoxLayout;
    followRow->addWidget(m_follow);
    followRow->addWidget(new QLabel(QStringLiteral("Level:"), this));
    followRow->addWidget(m_level);
    form->addRow(followRow);

    m_urlFileOn = new QCheckBox(QStringLiteral("Urls from File"), this);
    m_urlFileOn->setChecked(o.urlsFromFile);
    m_urlFile = new QLineEdit(DecodePath(o.urlFile), this);
    form->addRow(m_urlFileOn, m_urlFile);

    m_followMust = AddWordsRow(form, QStringLiteral("followed links must contain"), o.followMust, o.followMustAll,
                               m_followMustAll, this);
    m_followMustNot = AddWordsRow(form, QStringLiteral("followed links must not contain"), o.followMustNot,
                                  o.followMustNotAll, m_followMustNotAll, this);

    m_save = new QCheckBox(QStringLiteral("Save file to disk"), this);
    m_save->setChecked(o.saveToDisk);
    m_saveDir = new QComboBox(this);
    m_saveDir->setEditable(true);
    std::string dir = o.savePath;
    // RI7 names the first target file; the dialog shows its folder.
    if (const std::size_t slash = dir.rfind('/'); slash != std::string::npos)
        dir.erase(slash > 0 ? slash : 1);
    m_saveDir->setEditText(DecodePath(dir));
    form->addRow(m_save, m_saveDir);
    m_saveOnly = new QCheckBox(QStringLiteral("Save only (no search)"), this);
    m_saveOnly->setChecked(o.saveOnly);
    form->addRow(m_saveOnly);
    m_savedMust = AddWordsRow(form, QStringLiteral("saved links must contain"), o.savedMust, o.savedMustAll,
                              m_savedMustAll, this);
    m_savedMustNot = AddWordsRow(form, QStringLiteral("saved links must not contain"), o.savedMustNot,
                                 o.savedMustNotAll, m_savedMustNotAll, this);
    m_enumerate = new QCheckBox(QStringLiteral("Use enumerative file names for saving"), this);
    m_enumerate->setChecked(o.enumerativeNames);
    m_baseName = new QLineEdit(DecodeBytes(o.baseFileName), this);
    form->addRow(m_enumerate, m_baseName);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("&Ok"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("&Cancel"), QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (Confirm())
            accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
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

    InetOptions& o = m_app.options.inet;
    o.startUrl = url.size() < 8 ? std::string() : url;
    o.crawlMode = follows ? 2 : 0;
    o.level = m_level->text().toInt();
    o.urlsFromFile = fromFile;
    o.urlFile = EncodePath(m_urlFile->text().trimmed());
    o.followMust = followMust;
    o.followMustAll = m_followMustAll->isChecked();
    o.followMustNot = followMustNot;
    o.followMustNotAll = m_followMustNotAll->isChecked();
    o.saveToDisk = save;
    if (!dir.empty())
        o.savePath = dir + "/" + (m_enumerate->isChecked() ? Text(m_baseName) : std::string("tmp01.htm"));
    o.saveOnly = m_saveOnly->isChecked();
    o.savedMust = savedMust;
    o.savedMustAll = m_savedMustAll->isChecked();
    o.savedMustNot = savedMustNot;
    o.savedMustNotAll = m_savedMustNotAll->isChecked();
    o.enumerativeNames = m_enumerate->isChecked();
    o.baseFileName = Text(m_baseName);
    return true;
}

} // namespace lt
