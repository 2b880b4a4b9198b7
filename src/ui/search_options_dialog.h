// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QLabel;
class QRadioButton;

namespace lt {

struct AppState;
class HistoryCombo;

// "Search Options": the two filter lines with their histories and any/all choices.
// "&Ok" switches the filters on (off again for two empty lines, or with "Invalid Arguments !"),
// "&Suspend" keeps the texts and switches them off, "&Delete" removes the selected history
// entry of the focused line, "&Cancel" leaves everything as it was.
class SearchOptionsDialog : public QDialog
{
    Q_OBJECT

public:
    SearchOptionsDialog(AppState& app, QWidget* parent = nullptr);

    // The button actions (also reached by the tests).
    bool Confirm(); // false when the dialog stays open
    void Suspend();
    void DeleteEntry();

    HistoryCombo* MustCombo() const { return m_must; }
    HistoryCombo* MustNotCombo() const { return m_mustNot; }
    QRadioButton* MustAllButton() const { return m_mustAll; }
    QRadioButton* MustNotAllButton() const { return m_mustNotAll; }
    QLabel* MustLabel() const { return m_mustLabel; }
    QLabel* MustNotLabel() const { return m_mustNotLabel; }

private:
    AppState& m_app;
    HistoryCombo* m_must = nullptr;
    HistoryCombo* m_mustNot = nullptr;
    HistoryCombo* m_lastFocused = nullptr;
    QRadioButton* m_mustAny = nullptr;
    QRadioButton* m_mustAll = nullptr;
    QRadioButton* m_mustNotAny = nullptr;
    QRadioButton* m_mustNotAll = nullptr;
    QLabel* m_mustLabel = nullptr;
    QLabel* m_mustNotLabel = nullptr;
};

} // namespace lt
