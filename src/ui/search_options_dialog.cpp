// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/search_options_dialog.h"

#include <QApplication>
#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/app_state.h"
#include "core/messages.h"
#include "search/filter_words.h"
#include "ui/history_combo.h"

namespace lt {

SearchOptionsDialog::SearchOptionsDialog(AppState& app, QWidget* parent) : QDialog(parent), m_app(app)
{
    setWindowTitle(QStringLiteral("Search Options"));
    const SearchSettings& s = app.settings;
    QString mustText = QStringLiteral("Url or title must contain");
    QString mustNotText = QStringLiteral("Url and title must not contain");
    if (app.listState.kind == kListFileList) {
        mustText = QStringLiteral("First level subdir must contain");
        mustNotText = QStringLiteral("First level subdir must not contain");
    } else if (s.itemKind >= kItemUser) {
        mustText = QStringLiteral("Item must contain");
        mustNotText = QStringLiteral("Item must not contain");
    }
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    m_mustLabel = new QLabel(mustText, this);
    m_must = new HistoryCombo(this);
    m_must->Fill(s.mustHistory, s.mustText);
    m_mustNotLabel = new QLabel(mustNotText, this);
    m_mustNot = new HistoryCombo(this);
    m_mustNot->Fill(s.mustNotHistory, s.mustNotText);
    m_mustAny = new QRadioButton(QStringLiteral("a&ny of the words"), this);
    m_mustAll = new QRadioButton(QStringLiteral("a&ll the words"), this);
    m_mustNotAny = new QRadioButton(QStringLiteral("an&y of the words"), this);
    m_mustNotAll = new QRadioButton(QStringLiteral("all &the words"), this);
    auto* mustGroup = new QButtonGroup(this);
    mustGroup->addButton(m_mustAny);
    mustGroup->addButton(m_mustAll);
    auto* mustNotGroup = new QButtonGroup(this);
    mustNotGroup->addButton(m_mustNotAny);
    mustNotGroup->addButton(m_mustNotAll);
    (s.mustAll ? m_mustAll : m_mustAny)->setChecked(true);
    (s.mustNotAll ? m_mustNotAll : m_mustNotAny)->setChecked(true);
    grid->addWidget(m_mustLabel, 0, 0, 1, 3);
    grid->addWidget(m_must, 1, 0);
    grid->addWidget(m_mustAny, 1, 1);
    grid->addWidget(m_mustAll, 1, 2);
    grid->addWidget(m_mustNotLabel, 2, 0, 1, 3);
    grid->addWidget(m_mustNot, 3, 0);
    grid->addWidget(m_mustNotAny, 3, 1);
    grid->addWidget(m_mustNotAll, 3, 2);
    grid->setColumnStretch(0, 1);
    layout->addLayout(grid);

    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton(QStringLiteral("&Ok"), this);
    auto* suspend = new QPushButton(QStringLiteral("&Suspend"), this);
    auto* remove = new QPushButton(QStringLiteral("&Delete"), this);
    auto* cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    ok->setDefault(true);
    remove->setAutoDefault(false);
    buttons->addStretch(1);
    for (QPushButton* b : {ok, suspend, remove, cancel})
        buttons->addWidget(b);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, [this] {
        if (Confirm())
            accept();
    });
    connect(suspend, &QPushButton::clicked, this, [this] {
        Suspend();
        accept();
    });
    connect(remove, &QPushButton::pressed, this, &SearchOptionsDialog::DeleteEntry);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    // "&Delete" takes the focus when pressed; remember which line had it before.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        for (HistoryCombo* combo : {m_must, m_mustNot})
            if (now && (now == combo || combo->isAncestorOf(now)))
                m_lastFocused = combo;
    });
    m_lastFocused = m_must;
}

bool SearchOptionsDialog::Confirm()
{
    SearchSettings& s = m_app.settings;
    s.restrictEnabled = true;
    s.mustText = m_must->Bytes();
    s.mustNotText = m_mustNot->Bytes();
    s.mustAll = m_mustAll->isChecked();
    s.mustNotAll = m_mustNotAll->isChecked();
    if (s.mustText.empty() && s.mustNotText.empty()) {
        s.restrictEnabled = false;
        m_app.filterWords = {};
        return true;
    }
    BuildFilterWords(s, m_app.filterWords);
    if (!FiltersValid(s, m_app.filterWords, m_app.tables)) {
        s.restrictEnabled = false;
        ShowMessage(m_app, "Invalid Arguments !", "LinkTrawl", {MsgButtons::Ok, MsgIcon::Warning});
        return false;
    }
    PutOnTop(s.mustHistory, s.mustText);
    PutOnTop(s.mustNotHistory, s.mustNotText);
    return true;
}

void SearchOptionsDialog::Suspend()
{
    SearchSettings& s = m_app.settings;
    s.mustText = m_must->Bytes();
    s.mustNotText = m_mustNot->Bytes();
    s.mustAll = m_mustAll->isChecked();
    s.mustNotAll = m_mustNotAll->isChecked();
    s.restrictEnabled = false;
}

void SearchOptionsDialog::DeleteEntry()
{
    HistoryCombo* combo = m_lastFocused ? m_lastFocused : m_must;
    History& history = combo == m_must ? m_app.settings.mustHistory : m_app.settings.mustNotHistory;
    RemoveEntry(history, combo->Bytes());
    combo->DeleteSelected();
}

} // namespace lt
