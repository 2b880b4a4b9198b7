// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QSplitter>

#include <cstdint>
#include <functional>

class QMenu;
class QTableView;
class QTreeView;

namespace lt {

struct AppState;
class DomainTreeModel;
class SortHeaderModel;

// The domain view: the folder tree on the left, the rows of the selected folder on the right,
// with a splitter between them whose position and the folder list's column widths are kept in
// the position record WPS06 (six column widths, then the tree width).
class DomainView : public QSplitter
{
    Q_OBJECT

public:
    explicit DomainView(AppState& app, QWidget* parent = nullptr);

    QTreeView* Tree() const { return m_tree; }
    QTableView* FolderView() const { return m_folderView; }
    DomainTreeModel* TreeModel() const { return m_treeModel; }
    SortHeaderModel* FolderModel() const { return m_folderModel; }

    // After the tree was built, rebuilt or refreshed: shows it anew with its expanded folders and
    // the engine's selected folder, without starting another fill.
    void Reload();
    // Shows `node` as the selected folder without filling the list again (the engine did).
    void SelectNode(int node);
    // The view's selection of the folder list into the list, and back.
    void SyncSelectionToList();
    void SyncSelectionFromList();
    // Called by the window's poll: brings the folder list and its selection up to date.
    void Poll();
    // The folder list shows the selected folder of the tree as it is now (the engine filled it).
    void NoteFilled();
    // Fills the folder list again when the tree changed since its last fill.
    void EnsureFilled();
    // Gives the focus to the tree or to the folder list, whichever should have it.
    void FocusShown();

    // The tree's context menu as it would be shown now.
    QMenu* BuildTreeContextMenu();
    // How the tree's menu runs the window's folder commands (and asks whether they may run).
    void SetCommandRunner(std::function<bool(int)> run, std::function<bool(int)> canRun);
    void ExpandSubfolders(bool expand);

    // The tree width to use for a window of `windowWidth` pixels.
    int TreeWidthFor(int windowWidth) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void OnCurrentFolderChanged(int node);
    void OnHeaderClicked(int column, int xInColumn);
    void ApplyColumnWidths();
    void RememberLayout();

    AppState& m_app;
    QTreeView* m_tree = nullptr;
    QTableView* m_folderView = nullptr;
    DomainTreeModel* m_treeModel = nullptr;
    SortHeaderModel* m_folderModel = nullptr;
    std::function<bool(int)> m_runCommand;
    std::function<bool(int)> m_canRunCommand;
    bool m_programmatic = false;
    bool m_applyingWidths = false;
    bool m_sized = false;
    uint64_t m_listRevision = ~0ULL;
    uint64_t m_filledRevision = ~0ULL;
};

} // namespace lt
