// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/domain_view.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeySequence>
#include <QMenu>
#include <QShortcut>
#include <QTableView>
#include <QTreeView>

#include <algorithm>

#include "core/app_state.h"
#include "core/command_ids.h"
#include "list/domain_tree.h"
#include "list/sort_command.h"
#include "ui/domain_tree_model.h"
#include "ui/header_click_filter.h"
#include "ui/sort_header_model.h"

namespace lt {

namespace {

constexpr const char* kLayoutRecord = "WPS06";
constexpr std::size_t kWidthFields = 6;
constexpr std::size_t kTreeWidthField = 6;
constexpr double kDefaultTreeRatio = 0.2;

} // namespace

DomainView::DomainView(AppState& app, QWidget* parent) : QSplitter(Qt::Horizontal, parent), m_app(app)
{
    setObjectName(QStringLiteral("domainView"));
    setChildrenCollapsible(false);

    m_tree = new QTreeView(this);
    m_tree->setObjectName(QStringLiteral("domainTree"));
    m_treeModel = new DomainTreeModel(app.domain.tree, this);
    m_tree->setModel(m_treeModel);
    m_tree->setHeaderHidden(true);
    m_tree->setIconSize(QSize(16, 16));
    m_tree->setUniformRowHeights(true);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tree->setContextMenuPolicy(Qt::CustomContextMenu);
    m_tree->installEventFilter(this);

    m_folderView = new QTableView(this);
    m_folderView->setObjectName(QStringLiteral("domainList"));
    m_folderModel = new SortHeaderModel(app, app.secondList, true, this);
    m_folderView->setModel(m_folderModel);
    m_folderView->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_folderView->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_folderView->setShowGrid(false);
    m_folderView->setWordWrap(false);
    m_folderView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_folderView->setIconSize(QSize(16, 16));
    m_folderView->verticalHeader()->hide();
    m_folderView->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_folderView->verticalHeader()->setDefaultSectionSize(std::max(18, fontMetrics().height() + 4));
    m_folderView->horizontalHeader()->setHighlightSections(false);
    m_folderView->horizontalHeader()->setStretchLastSection(false);
    m_folderView->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // A click (not a drag or a resize) sorts the folder list or fits its columns.
    new HeaderClickFilter(m_folderView->horizontalHeader(),
                          [this](int column, int x) { OnHeaderClicked(column, x); });
    m_folderView->installEventFilter(this);

    addWidget(m_tree);
    addWidget(m_folderView);
    // Without stretch factors a resized window keeps the tree's share of the width.

    connect(m_tree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { OnCurrentFolderChanged(DomainTreeModel::NodeOf(current)); });
    connect(m_tree, &QTreeView::expanded, this, [this](const QModelIndex& index) {
        const int node = DomainTreeModel::NodeOf(index);
        if (node >= 0 && node < static_cast<int>(m_app.domain.tree.Size()))
            m_app.domain.tree.Node(node).expanded = true;
    });
    connect(m_tree, &QTreeView::collapsed, this, [this](const QModelIndex& index) {
        const int node = DomainTreeModel::NodeOf(index);
        if (node >= 0 && node < static_cast<int>(m_app.domain.tree.Size()))
            m_app.domain.tree.Node(node).expanded = false;
    });
    connect(m_tree, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        QMenu* menu = BuildTreeContextMenu();
        menu->popup(m_tree->viewport()->mapToGlobal(pos));
    });
    connect(this, &QSplitter::splitterMoved, this, [this] { RememberLayout(); });
    connect(m_folderModel, &ResultTableModel::ColumnsChanged, this, [this] { ApplyColumnWidths(); });
    connect(m_folderView->horizontalHeader(), &QHeaderView::sectionResized, this, [this] {
        if (!m_applyingWidths)
            RememberLayout();
    });

    auto* expand =
        new QShortcut(QKeySequence(QStringLiteral("Ctrl+X")), m_tree, nullptr, nullptr, Qt::WidgetShortcut);
    connect(expand, &QShortcut::activated, this, [this] { ExpandSubfolders(true); });
    auto* collapse =
        new QShortcut(QKeySequence(QStringLiteral("Ctrl+A")), m_tree, nullptr, nullptr, Qt::WidgetShortcut);
    connect(collapse, &QShortcut::activated, this, [this] { ExpandSubfolders(false); });
}

int DomainView::TreeWidthFor(int windowWidth) const
{
    const auto it = m_app.options.positions.find(kLayoutRecord);
    if (it != m_app.options.positions.end() && it->second.values.size() > kTreeWidthField) {
        const int saved = it->second.values[kTreeWidthField];
        if (saved >= 20 && saved < windowWidth - 40)
            return saved;
    }
    return std::max(60, static_cast<int>(windowWidth * kDefaultTreeRatio));
}

void DomainView::showEvent(QShowEvent* event)
{
    QSplitter::showEvent(event);
    if (!m_sized && width() > 100) {
        m_sized = true;
        const int tree = TreeWidthFor(width());
        setSizes({tree, std::max(40, width() - tree - handleWidth())});
    }
}

void DomainView::RememberLayout()
{
    if (!m_sized)
        return;
    PositionRecord& record = m_app.options.positions[kLayoutRecord];
    if (record.values.size() <= kTreeWidthField)
        record.values.resize(kTreeWidthField + 1, 0);
    const QList<int> parts = sizes();
    if (!parts.isEmpty() && parts.front() > 0)
        record.values[kTreeWidthField] = parts.front();
    const int columns = std::min<int>(m_folderModel->columnCount(), static_cast<int>(kWidthFields));
    for (int c = 0; c < columns; ++c)
        record.values[static_cast<std::size_t>(c)] = m_folderView->columnWidth(c);
}

void DomainView::ApplyColumnWidths()
{
    m_applyingWidths = true;
    const auto it = m_app.options.positions.find(kLayoutRecord);
    const std::vector<ColumnState> columns = m_app.secondList.Columns();
    for (std::size_t c = 0; c < columns.size(); ++c) {
        int width = columns[c].width;
        if (it != m_app.options.positions.end() && c < kWidthFields && c < it->second.values.size() &&
            it->second.values[c] >= 10)
            width = it->second.values[c];
        m_folderView->setColumnWidth(static_cast<int>(c), std::max(10, width));
    }
    m_applyingWidths = false;
}

void DomainView::Reload()
{
    m_programmatic = true;
    m_treeModel->Reload();
    const DomainTree& tree = m_app.domain.tree;
    for (int node : tree.TreeOrder()) {
        if (tree.Node(node).expanded)
            m_tree->setExpanded(m_treeModel->IndexOfNode(node), true);
    }
    m_programmatic = false;
    SelectNode(m_app.domain.selectedNode);
}

void DomainView::SelectNode(int node)
{
    const QModelIndex index = m_treeModel->IndexOfNode(node);
    if (!index.isValid())
        return;
    m_programmatic = true;
    for (QModelIndex up = index.parent(); up.isValid(); up = up.parent())
        m_tree->setExpanded(up, true);
    m_tree->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    m_tree->scrollTo(index);
    m_programmatic = false;
}

void DomainView::OnCurrentFolderChanged(int node)
{
    if (m_programmatic || node < 0)
        return;
    // Each selection starts a fill; a newer one stops the older, so only the last fills the list.
    ShowFolder(m_app, node);
    NoteFilled();
}

void DomainView::NoteFilled()
{
    m_filledRevision = m_app.domain.treeRevision;
}

void DomainView::EnsureFilled()
{
    if (m_filledRevision == m_app.domain.treeRevision || m_app.domain.selectedNode < 0)
        return;
    ShowFolder(m_app, m_app.domain.selectedNode);
    NoteFilled();
}

void DomainView::SyncSelectionToList()
{
    std::vector<std::size_t> rows;
    if (QItemSelectionModel* selection = m_folderView->selectionModel()) {
        for (const QModelIndex& index : selection->selectedRows())
            rows.push_back(static_cast<std::size_t>(index.row()));
        const QModelIndex current = selection->currentIndex();
        m_app.secondList.SetFocusedRow(current.isValid() ? current.row() : -1);
    }
    std::sort(rows.begin(), rows.end());
    m_app.secondList.SetSelectedRows(rows);
    m_listRevision = m_app.secondList.Revision();
}

void DomainView::SyncSelectionFromList()
{
    m_folderModel->Refresh();
    m_listRevision = m_app.secondList.Revision();
    QItemSelectionModel* selection = m_folderView->selectionModel();
    if (!selection)
        return;
    const int columns = std::max(0, m_folderModel->columnCount() - 1);
    QItemSelection chosen;
    for (const std::size_t row : m_app.secondList.SelectedRows()) {
        if (static_cast<int>(row) < m_folderModel->rowCount())
            chosen.select(m_folderModel->index(static_cast<int>(row), 0),
                          m_folderModel->index(static_cast<int>(row), columns));
    }
    selection->select(chosen, QItemSelectionModel::ClearAndSelect);
    const long focused = m_app.secondList.FocusedRow();
    if (focused >= 0 && focused < m_folderModel->rowCount()) {
        const QModelIndex index = m_folderModel->index(static_cast<int>(focused), 0);
        selection->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
        m_folderView->scrollTo(index);
    } else if (m_folderModel->rowCount() > 0) {
        m_folderView->scrollToTop();
    }
}

void DomainView::Poll()
{
    if (m_app.secondList.Revision() != m_listRevision)
        SyncSelectionFromList();
}

void DomainView::FocusShown()
{
    if (m_app.domain.treeFocus)
        m_tree->setFocus();
    else
        m_folderView->setFocus();
}

void DomainView::ExpandSubfolders(bool expand)
{
    const QModelIndex current = m_tree->currentIndex();
    if (!current.isValid())
        return;
    if (expand) {
        m_tree->expandRecursively(current);
        return;
    }
    // Collapse the subfolders, then the folder itself.
    std::vector<QModelIndex> pending{current};
    while (!pending.empty()) {
        const QModelIndex index = pending.back();
        pending.pop_back();
        for (int r = 0; r < m_treeModel->rowCount(index); ++r)
            pending.push_back(m_treeModel->index(r, 0, index));
        m_tree->collapse(index);
    }
}

void DomainView::SetCommandRunner(std::function<bool(int)> run, std::function<bool(int)> canRun)
{
    m_runCommand = std::move(run);
    m_canRunCommand = std::move(canRun);
}

QMenu* DomainView::BuildTreeContextMenu()
{
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // Bookmarks, printing and deleting a folder come with their writers; until then their entries
    // are shown disabled.
    auto command = [this, menu](const char* text, int id) {
        QAction* action = menu->addAction(QString::fromLatin1(text));
        action->setEnabled(id != 0 && m_canRunCommand && m_canRunCommand(id));
        if (id != 0)
            connect(action, &QAction::triggered, this, [this, id] { m_runCommand(id); });
    };
    command("&Copy folder to Clipboard", kCmdCopyFolder);
    command("&Add folder to Bookmarks", 0);
    command("&Save folder as...", kCmdSaveFolder);
    command("&Print folder", 0);
    menu->addSeparator();
    menu->addAction(QStringLiteral("&Delete folder"))->setEnabled(false);
    menu->addSeparator();
    QAction* expand = menu->addAction(QStringLiteral("E&xpand subfolders\tCtrl+X"));
    connect(expand, &QAction::triggered, this, [this] { ExpandSubfolders(true); });
    QAction* collapse = menu->addAction(QStringLiteral("Coll&apse subfolders\tCtrl+A"));
    connect(collapse, &QAction::triggered, this, [this] { ExpandSubfolders(false); });
    const bool any = m_tree->currentIndex().isValid();
    expand->setEnabled(any);
    collapse->setEnabled(any);
    return menu;
}

void DomainView::OnHeaderClicked(int column, int xInColumn)
{
    if (column < 0 || column >= m_app.secondList.ColumnCount())
        return;
    SyncSelectionToList();
    const Qt::KeyboardModifiers mods = QApplication::keyboardModifiers();
    const HeaderClickResult result =
        ColumnHeaderClick(m_app, column, xInColumn, mods & Qt::ShiftModifier, mods & Qt::ControlModifier);
    if (result.action == HeaderAction::Fit) {
        if (result.column >= 0) {
            m_folderView->resizeColumnToContents(result.column);
        } else {
            for (int c = 0; c < m_folderModel->columnCount(); ++c)
                m_folderView->resizeColumnToContents(c);
        }
        RememberLayout();
    }
    m_folderModel->RefreshHeaders();
}

bool DomainView::eventFilter(QObject* watched, QEvent* event)
{
    // The tree's events arrive while the folder list is still being made.
    if (!m_folderView || !m_folderModel)
        return QSplitter::eventFilter(watched, event);
    if (event->type() == QEvent::FocusIn) {
        if (watched == m_tree)
            m_app.domain.treeFocus = true;
        else if (watched == m_folderView)
            m_app.domain.treeFocus = false;
    }
    return QSplitter::eventFilter(watched, event);
}

} // namespace lt
