// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMainWindow>

class QComboBox;
class QPlainTextEdit;

namespace lt {

struct AppState;

// The text-window mode's window: an address box above a text pane. Local files named in the
// address box are loaded into the pane.
class TextWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit TextWindow(AppState& app, QWidget* parent = nullptr);

    // Loads the file named in the address box; false when it cannot be read.
    bool LoadAddress();
    QComboBox* Address() const { return m_address; }
    QPlainTextEdit* Pane() const { return m_pane; }

private:
    AppState& m_app;
    QComboBox* m_address = nullptr;
    QPlainTextEdit* m_pane = nullptr;
};

} // namespace lt
