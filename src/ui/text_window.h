// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMainWindow>

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "inet/page_read_job.h"
#include "store/text_document.h"

class QAction;
class QComboBox;
class QDialog;
class QPlainTextEdit;
class QToolBar;

namespace lt {

struct AppState;

// The text window: an address line above a text pane, with its own toolbar and status bar. The
// address names a local file (opened directly) or a URL (read by the page reader into a temporary
// file). The pane shows a decoded copy of the loaded bytes; what is saved is the loaded bytes
// themselves unless the user edited the text (TextDocument).
class TextWindow : public QMainWindow
{
    Q_OBJECT

public:
    // Hooks for tests: what the dialogs would return.
    struct Hooks
    {
        std::function<QString(const QString& proposed)> saveFileName; // empty: cancelled
        std::function<QString()> openFileName;
        std::function<int(QDialog&)> execDialog;
        std::function<bool(QFont&)> chooseFont; // false: cancelled
    };

    explicit TextWindow(AppState& app, QWidget* parent = nullptr);
    ~TextWindow() override;

    // Reads what the address line names: a local file is loaded, a URL starts the page reader.
    // False when nothing was loaded or started.
    bool LoadAddress();
    // Sets the address line and reads it.
    bool ReadAddress(const QString& text);
    // Loads a regular file of at most 256 MiB; a message names the reason when it cannot.
    bool LoadFile(const std::string& path);

    // The find dialog "Find Text", then the find.
    void FindDialog();
    // Finds the next occurrence from the caret (beeps when it goes round).
    void FindNext();
    // Asks for a name (the current one offered) and writes the text; false when not written.
    bool SaveText();
    // Applies the stored font; with `ask` the user may change it first.
    void ChooseTextFont(bool ask);
    void ToggleWordBreak();
    void Reload();
    void StopPageRead();
    // Runs one of the window's commands (toolbar and pane menu).
    void RunCommand(int id);

    bool Edited() const;
    // With unsaved edits: "Save changes to %s ?"; false when the user keeps the text (Cancel, or a
    // save that did not happen).
    bool ConfirmDiscard();
    const TextDocument& Document() const { return m_document; }
    const std::string& CurrentPath() const { return m_currentPath; }
    const std::string& FindText() const { return m_findText; }
    void SetFindText(const std::string& text) { m_findText = text; }
    QString StatusText() const;
    bool PageReadRunning() const { return m_reader.Running(); }
    std::chrono::steady_clock::time_point LastActive() const { return m_lastActive; }

    QComboBox* Address() const { return m_address; }
    QPlainTextEdit* Pane() const { return m_pane; }
    QToolBar* ToolBar() const { return m_toolbar; }
    QAction* Action(int id) const;
    QMenu* BuildPaneMenu();
    Hooks& TestHooks() { return m_hooks; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

private:
    class Poster;

    void BuildToolbar();
    void OpenFileCommand();
    void OpenNewProgramWindow();
    void OnPageRead(const PageReadResult& result);
    bool ShowBytes(std::string bytes);
    // The window's text as UTF-8 (U+00A0 kept, paragraph breaks as LF).
    std::string ShownText() const;
    // The text the find runs over, re-read only after edits.
    const std::string& FindHaystack();
    std::string ProposedSaveName() const;
    void Message(const std::string& text, const std::string& caption);
    void UpdateTitle();

    AppState& m_app;
    QComboBox* m_address = nullptr;
    QPlainTextEdit* m_pane = nullptr;
    QToolBar* m_toolbar = nullptr;
    std::map<int, QAction*> m_actions;
    Hooks m_hooks;
    TextDocument m_document;
    std::string m_currentPath; // the file shown (a local file or the page's temporary file)
    std::string m_pageUrl;     // the URL of a page read, empty for a local file
    std::string m_tempPath;    // our temporary file of the last page read
    std::string m_findText;
    std::string m_haystack;
    int m_haystackRevision = -1;
    std::uint64_t m_serial = 0;
    bool m_ownProcess = false;
    std::chrono::steady_clock::time_point m_lastActive;
    // The poster outlives the reader: the reader's thread is joined first.
    std::unique_ptr<Poster> m_poster;
    PageReader m_reader;
};

} // namespace lt
