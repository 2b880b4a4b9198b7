// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include <array>

class QLineEdit;
class QRadioButton;

namespace lt {

struct SourcesState;

// "MSIE Index file": which kind of index the next file is, and the labels its texts start with.
// The history label is editable for the temporary-files kind only, the cookie label for the
// cookie kind only; "&Ok" stores the kind and both labels.
class IndexFileDialog : public QDialog
{
public:
    IndexFileDialog(SourcesState& state, QWidget* parent = nullptr);

    void accept() override;
    // Kinds 1..4 (IndexFileKind).
    QRadioButton* KindButton(int kind) const { return m_kinds.at(kind - 1); }
    QLineEdit* HistoryLabelEdit() const { return m_historyLabel; }
    QLineEdit* CookieLabelEdit() const { return m_cookieLabel; }

private:
    void KindChosen();

    SourcesState& m_state;
    std::array<QRadioButton*, 4> m_kinds{};
    QLineEdit* m_historyLabel = nullptr;
    QLineEdit* m_cookieLabel = nullptr;
};

} // namespace lt
