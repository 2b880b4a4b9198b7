// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QComboBox>

#include "search/search_settings.h"

namespace lt {

// An editable drop-down over a 7-entry history (entry 0 the current text).
class HistoryCombo : public QComboBox
{
    Q_OBJECT

public:
    explicit HistoryCombo(QWidget* parent = nullptr, bool paths = false);

    void Fill(const History& history, const std::string& current);
    // The edited text as bytes (paths in the file system's encoding).
    std::string Bytes() const;
    // Removes the selected history entry (the "&Delete" buttons).
    void DeleteSelected();

private:
    bool m_paths;
};

// Puts `text` at the top of the history; an equal entry further down is removed, the last
// entry drops out. Empty texts leave the history as it is.
void PutOnTop(History& history, const std::string& text);
// Removes one entry, moving the later ones up.
void RemoveEntry(History& history, const std::string& text);

} // namespace lt
