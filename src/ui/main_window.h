// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMainWindow>
#include <QPoint>

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "ui/commands/command_registry.h"

class QAction;
class QMenu;
class QStackedWidget;
class QTableView;
class QToolBar;
class QToolButton;

namespace lt {

struct AppState;
class DomainView;
class QtUiPort;
class ResultTableModel;
class SortHeaderModel;
class StatusPanes;

// The main window: menus, toolbar, result list and status bar. Every menu item, button, key and
// context-menu item is a numbered command (core/command_ids.h) that RunCommand routes to the
// performer its subsystem registered in ui/commands/; the window itself holds no command logic.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    // Hooks for tests: what a file dialog would return (empty: cancelled).
    struct Hooks
    {
        std::function<QStringList()> pickFiles;
        std::function<QString(const QString& filter)> saveFileName;
        // Runs instead of exec() for the modal dialogs of the commands; the dialog is passed.
        std::function<int(QDialog&)> execDialog;
    };

    MainWindow(AppState& app, QtUiPort& port, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Runs the numbered command when its guards allow it. Returns false when it was ignored.
    bool RunCommand(int id);
    // Whether the command has a performer and its guards allow it now.
    bool CanRun(int id) const;

    // A private window message (2385..2405), as posted by the engine through the port.
    void OnPost(int message, std::intptr_t wparam, std::intptr_t lparam);

    // Dropped files: a file list takes them as rows, otherwise they are searched.
    void DropFiles(const QStringList& paths);

    // The row context menu as it would be shown now (built fresh from the list's kind).
    QMenu* BuildRowContextMenu();
    // The domain view's folder list menu: copying, saving and selecting its rows.
    QMenu* BuildFolderListContextMenu();

    // Brings menus, toolbar, tooltips and the per-kind menu texts in line with the state.
    void UpdateCommandStates();

    QAction* Action(int id) const;
    AppState& App() const { return m_app; }
    QtUiPort& Port() const { return m_port; }
    // Runs a command's modal dialog (tests answer it through the hooks).
    int ExecDialog(QDialog& dialog);
    // Asks for a file to write (tests answer through the hooks); empty when cancelled.
    QString SaveFileName(const QString& filter, const QString& defaultSuffix);
    QTableView* View() const { return m_view; }
    ResultTableModel* Model() const { return m_model; }
    StatusPanes* Panes() const { return m_panes; }
    QToolBar* ToolBar() const { return m_toolbar; }
    DomainView* Domains() const { return m_domainView; }
    // The shown page: the result list or the domain view.
    QWidget* ShownView() const;
    QMenu* ReopenMenu() const { return m_reopenMenu; }
    QMenu* PerColumnMenu() const { return m_perColumnMenu; }
    QMenu* SortMenu() const { return m_sortMenu; }
    QList<QMenu*> TopMenus() const { return m_topMenus; }
    Hooks& TestHooks() { return m_hooks; }

    // Copies the view's selection and focus into the list (before an engine operation reads them).
    void SyncSelectionToList();
    // Copies the list's selection and focus into the view (after a job selected rows).
    void SyncSelectionFromList();

    // Plumbing for the performers of ui/commands/.
    SortHeaderModel* HeaderModel() const { return m_headerModel; }
    // Re-reads the rows and the header texts of the result list.
    void RefreshList();
    // Copies the shown view's selection (result list or folder list) into its list.
    void SyncShownSelectionToList();
    // Shows the page that the domain state asks for and refreshes the commands.
    void ShowCurrentView();
    void RebuildReopenMenu();
    // Sets the view's column widths from the list's columns.
    void ApplyColumnWidths();
    // False while a job runs and the menus are off.
    bool UiEnabled() const { return m_uiEnabled; }

    // Writes the INI file as the close sequence does; false when nothing was written.
    bool WriteSettingsOnClose();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The command a chosen number stands for in the shown view.
    int RoutedId(int id) const;
    void BuildMenus();
    void BuildToolbar();
    QAction* MakeAction(int id);
    QMenu* AddMenu(QMenu* parent, const QString& title);
    void AddCommands(QMenu* menu, std::initializer_list<int> ids);
    void RebuildPerColumnMenu();
    void OnHeaderClicked(int column, int xInColumn);
    void OnSectionResized(int column, int oldSize, int newSize);
    void ShowRowContextMenu(const QPoint& globalPos);
    void Poll();
    void EnableUi(bool on);
    bool ListKeyPressed(QKeyEvent* event);

    void OnJobEnded();
    // The close sequence: stop the job, wait for its end while serving events, write the INI file.
    void BeginClose();
    void FinishClose();

    AppState& m_app;
    QtUiPort& m_port;
    QTableView* m_view = nullptr;
    ResultTableModel* m_model = nullptr;
    SortHeaderModel* m_headerModel = nullptr;
    QStackedWidget* m_stack = nullptr;
    DomainView* m_domainView = nullptr;
    StatusPanes* m_panes = nullptr;
    QToolBar* m_toolbar = nullptr;
    QToolButton* m_selectFilesButton = nullptr;
    std::map<int, QAction*> m_actions;
    QList<QMenu*> m_topMenus;
    QMenu* m_reopenMenu = nullptr;
    QMenu* m_perColumnMenu = nullptr;
    QMenu* m_sortMenu = nullptr;
    QMenu* m_editMenu = nullptr;
    QMenu* m_bookmarksMenu = nullptr;
    QTimer* m_pollTimer = nullptr;
    bool m_uiEnabled = true;
    bool m_applyingWidths = false;
    bool m_closing = false; // the close sequence runs
    bool m_closed = false;  // it ended: the next close goes through
    std::atomic<bool> m_workerJoined{false};
    std::thread m_joiner;
    uint64_t m_stateKey = ~0ULL;
    Hooks m_hooks;
    CommandRegistry m_commands;
};

} // namespace lt
