// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/history_combo.h"

#include <QLineEdit>

#include <algorithm>

#include "ui/cell_text.h"

namespace lt {

HistoryCombo::HistoryCombo(QWidget* parent, bool paths) : QComboBox(parent), m_paths(paths)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxCount(kHistorySize);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(30);
}

void HistoryCombo::Fill(const History& history, const std::string& current)
{
    clear();
    for (const std::string& entry : history)
        if (!entry.empty())
            addItem(m_paths ? DecodePath(entry) : DecodeBytes(entry));
    setEditText(m_paths ? DecodePath(current) : DecodeBytes(current));
}

std::string HistoryCombo::Bytes() const
{
    const QString text = currentText().trimmed();
    return m_paths ? EncodePath(text) : EncodeText(text);
}

void HistoryCombo::DeleteSelected()
{
    const int index = findText(currentText());
    if (index >= 0)
        removeItem(index);
    setEditText(QString());
}

void PutOnTop(History& history, const std::string& text)
{
    if (text.empty())
        return;
    auto it = std::find(history.begin(), history.end(), text);
    if (it == history.end())
        it = history.end() - 1;
    std::rotate(history.begin(), it, it + 1);
    history.front() = text;
}

void RemoveEntry(History& history, const std::string& text)
{
    auto it = std::find(history.begin(), history.end(), text);
    if (it == history.end())
        return;
    std::rotate(it, it + 1, history.end());
    history.back().clear();
}

} // namespace lt
