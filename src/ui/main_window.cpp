// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QScrollBar>
#include <QShortcut>
#include <QStackedWidget>
#include <QTableView>
#include <QThread>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "core/app_state.h"
#include "core/command_table.h"
#include "core/messages.h"
#include "core/window_messages.h"
#include "export/list_export.h"
#include "list/add_result_row.h"
#include "list/domain_tree.h"
#include "list/find_in_list.h"
#include "list/hit_rates.h"
#include "list/list_kind.h"
#include "list/sort_command.h"
#include "store/settings_io.h"
#include "search/item_kind.h"
#include "search/remove_dupes.h"
#include "search/search_jobs.h"
#include "ui/cell_text.h"
#include "ui/commands/subsystem_commands.h"
#include "ui/domain_view.h"
#include "ui/find_dialog.h"
#include "ui/folder_dialog.h"
#include "ui/header_click_filter.h"
#include "ui/list_view_ops.h"
#include "ui/options_sheet.h"
#include "ui/qt_ui_port.h"
#include "ui/result_table_model.h"
#include "ui/row_icons.h"
#include "ui/save_list_dialog.h"
#include "ui/search_options_dialog.h"
#include "ui/settings_bridge.h"
#include "ui/sort_header_model.h"
#include "ui/startup_actions.h"
#include "ui/status_panes.h"

namespace lt {

namespace {

QString Q(const std::string& bytes)
{
    return DecodeBytes(bytes);
}

} // namespace

MainWindow::MainWindow(AppState& app, QtUiPort& port, QWidget* parent)
    : QMainWindow(parent), m_app(app), m_port(port)
{
    setWindowTitle(QStringLiteral("LinkTrawl"));
    setWindowIcon(AppIcon());
    setAcceptDrops(true);
    RegisterAllCommands(m_commands);

    m_view = new QTableView(this);
    m_view->setObjectName(QStringLiteral("resultList"));
    m_headerModel = new SortHeaderModel(app, app.list, false, this);
    m_model = m_headerModel;
    m_view->setModel(m_model);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_view->setShowGrid(false);
    m_view->setWordWrap(false);
    m_view->setTextElideMode(Qt::ElideRight);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    m_view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_view->setIconSize(QSize(16, 16));
    m_view->setAlternatingRowColors(false);
    m_view->verticalHeader()->hide();
    // Fixed row heights keep a list of a million rows cheap to scroll and to lay out.
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->verticalHeader()->setDefaultSectionSize(std::max(18, fontMetrics().height() + 4));
    m_view->horizontalHeader()->setHighlightSections(false);
    m_view->horizontalHeader()->setSectionsClickable(true);
    m_view->horizontalHeader()->setStretchLastSection(false);
    m_view->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_view->installEventFilter(this);
    m_stack = new QStackedWidget(this);
    m_stack->addWidget(m_view);
    m_domainView = new DomainView(app, m_stack);
    m_stack->addWidget(m_domainView);
    setCentralWidget(m_stack);
    // A cleared list starts with the natural directions and is in URL order again.
    app.listState.onClear = [&app](int) {
        app.sorting.main.columnDirection.fill(false);
        app.sorting.main.lastSortColumn = -1;
        app.sorting.mainSortedByUrl.store(true);
    };

    m_panes = new StatusPanes(this);
    setStatusBar(m_panes);
    port.SetStatusPanes(m_panes);
    port.SetTimerHandler([this](int id) { m_app.status.OnTimer(id); });
    port.SetPostHandler([this](int message, std::intptr_t w, std::intptr_t l) { OnPost(message, w, l); });

    connect(m_view, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { ShowRowContextMenu(m_view->viewport()->mapToGlobal(pos)); });
    connect(m_view, &QAbstractItemView::activated, this, [this](const QModelIndex&) { RunCommand(4210); });
    // A click (not a drag or a resize) on a header section sorts or fits by the section.
    new HeaderClickFilter(m_view->horizontalHeader(), [this](int column, int x) { OnHeaderClicked(column, x); });
    connect(m_view->horizontalHeader(), &QHeaderView::sectionResized, this, &MainWindow::OnSectionResized);
    connect(m_model, &ResultTableModel::ColumnsChanged, this, [this] {
        ApplyColumnWidths();
        RebuildPerColumnMenu();
    });

    BuildMenus();
    BuildToolbar();
    ApplyColumnWidths();
    RebuildPerColumnMenu();
    Action(1516)->setShortcuts({QKeySequence(Qt::Key_F4), QKeySequence(Qt::CTRL | Qt::Key_F3)});
    // Esc while a sort runs asks whether to stop it.
    auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(esc, &QShortcut::activated, this, [this] { RequestSortStop(m_app); });

    m_pollTimer = new QTimer(this);
    connect(m_pollTimer, &QTimer::timeout, this, &MainWindow::Poll);
    m_pollTimer->start(50);
    UpdateCommandStates();
    m_view->setFocus();
}

MainWindow::~MainWindow()
{
    m_app.listState.onClear = {};
    m_port.SetStatusPanes(nullptr);
    m_port.SetPostHandler({});
    m_port.SetTimerHandler({});
}

QAction* MainWindow::Action(int id) const
{
    const auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

QAction* MainWindow::MakeAction(int id)
{
    if (QAction* existing = Action(id))
        return existing;
    const CommandInfo* command = FindCommand(id);
    auto* action = new QAction(this);
    if (command) {
        action->setText(Q(command->text));
        QList<QKeySequence> keys;
        if (!command->shownKey.empty()) {
            QString shown = Q(command->shownKey);
            if (shown == QStringLiteral("Ctrl+Num+"))
                shown = QStringLiteral("Ctrl+Num++");
            keys.push_back(QKeySequence(shown));
        }
        if (!command->appKey.empty()) {
            const QKeySequence app(Q(command->appKey));
            if (!keys.contains(app))
                keys.push_back(app);
        }
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        if (!command->tooltip.empty())
            action->setToolTip(Q(command->tooltip));
    }
    action->setData(id);
    connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
    addAction(action);
    m_actions[id] = action;
    return action;
}

QMenu* MainWindow::AddMenu(QMenu* parent, const QString& title)
{
    if (parent)
        return parent->addMenu(title);
    QMenu* menu = menuBar()->addMenu(title);
    m_topMenus.push_back(menu);
    return menu;
}

void MainWindow::AddCommands(QMenu* menu, std::initializer_list<int> ids)
{
    for (const int id : ids) {
        if (id == 0)
            menu->addSeparator();
        else
            menu->addAction(MakeAction(id));
    }
}

void MainWindow::BuildMenus()
{
    const bool hasMenu = m_app.startup.textWindowMode == 0 && !m_app.startup.secondaryWindow;

    QMenu* file = AddMenu(nullptr, QStringLiteral("&File"));
    AddCommands(file, {1400});
    if (hasMenu || true) {
        m_reopenMenu = AddMenu(file, QStringLiteral("&Reopen"));
        for (int id = 1600; id <= 1606; ++id)
            MakeAction(id);
    }
    AddCommands(file, {1405, 1454, 1410, 1414, 0, 5201, 1455, 5202, 0, 1415, 0, 1460, 1465, 0, 1450, 1451, 0,
                       1471});

    m_editMenu = AddMenu(nullptr, QStringLiteral("&Edit"));
    AddCommands(m_editMenu, {1440, 1515, 1516, 0, 1501, 1500, 0, 4223, 4225, 1452});

    QMenu* list = AddMenu(nullptr, QStringLiteral("&List"));
    AddCommands(list, {1420, 4221, 1422, 0, 1434, 1435, 0});
    m_bookmarksMenu = AddMenu(list, QStringLiteral("&Add List to Bookmarks"));
    AddCommands(m_bookmarksMenu, {1512, 1511, 1513});
    Action(1512)->setIcon(BrowserIcon(0));
    Action(1511)->setIcon(BrowserIcon(1));
    Action(1513)->setIcon(BrowserIcon(2));
    list->addSeparator();
    AddCommands(list, {1445});

    m_sortMenu = AddMenu(nullptr, QStringLiteral("&Sort Urls"));
    AddCommands(m_sortMenu, {1551, 1552, 1555, 1553, 1554, 0});
    QMenu* hitRates = AddMenu(m_sortMenu, QStringLiteral("Hit &rates"));
    AddCommands(hitRates, {1439});
    m_perColumnMenu = AddMenu(hitRates, QStringLiteral("Per &Column"));
    for (int id = 5800; id <= 5808; ++id)
        MakeAction(id);

    QMenu* domains = AddMenu(nullptr, QStringLiteral("&Domains"));
    AddCommands(domains, {1480, 1544, 0, 1545, 0, 1453});
    Action(1545)->setCheckable(true);
    Action(1545)->setChecked(m_app.options.rebuildDomainsAfterSearch);

    QMenu* fileList = AddMenu(nullptr, QStringLiteral("File Lis&t"));
    AddCommands(fileList, {1474, 1477, 0, 1478, 1475, 1476, 0, 1502});

    QMenu* internet = AddMenu(nullptr, QStringLiteral("&Internet"));
    AddCommands(internet, {1412, 2112, 0, 2100, 2110, 2114, 0, 1503});

    QMenu* misc = AddMenu(nullptr, QStringLiteral("&Misc"));
    QMenu* typed = AddMenu(misc, QStringLiteral("Edit &Typed Urls"));
    AddCommands(typed, {1490, 1494});
    QMenu* history = AddMenu(misc, QStringLiteral("Current &History"));
    AddCommands(history, {5100, 5140});
    AddCommands(misc, {1492, 1493, 0});
    QMenu* cookies = AddMenu(misc, QStringLiteral("List &Cookies"));
    AddCommands(cookies, {5190, 5191});
    AddCommands(misc, {5180, 5160, 0, 5194, 5196, 0, 5200});
    for (int id : {1490, 5100})
        Action(id)->setIcon(BrowserIcon(0));
    for (int id : {1494, 5140})
        Action(id)->setIcon(BrowserIcon(1));

    QMenu* options = AddMenu(nullptr, QStringLiteral("&Options"));
    AddCommands(options, {1456, 0});
    QMenu* settings = AddMenu(options, QStringLiteral("&Search Settings"));
    AddCommands(settings, {5410, 5400, 5420});
    QMenu* session = AddMenu(options, QStringLiteral("S&ession"));
    AddCommands(session, {1530, 1531, 1532});

    QMenu* help = AddMenu(nullptr, QStringLiteral("&Help"));
    AddCommands(help, {1540, 0, 1542});

    // Context-only commands still need actions (and their keys) before the first menu opens.
    for (const CommandInfo& command : CommandTable())
        if ((command.places & kPlaceContext) && !Action(command.id))
            MakeAction(command.id);

    RebuildReopenMenu();
    if (!hasMenu)
        menuBar()->hide();
}

void MainWindow::BuildToolbar()
{
    m_toolbar = addToolBar(QStringLiteral("Toolbar"));
    m_toolbar->setObjectName(QStringLiteral("toolbar"));
    m_toolbar->setMovable(false);
    m_toolbar->setIconSize(QSize(16, 16));
    m_toolbar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (const int id : ToolbarLayout()) {
        if (id == 0) {
            m_toolbar->addSeparator();
            continue;
        }
        QAction* action = MakeAction(id);
        action->setIcon(CommandIcon(id));
        if (id == 1400) {
            // "Select Files" opens the file dialog; its arrow opens the recent files.
            m_selectFilesButton = new QToolButton(m_toolbar);
            m_selectFilesButton->setObjectName(QStringLiteral("selectFilesButton"));
            m_selectFilesButton->setDefaultAction(action);
            m_selectFilesButton->setMenu(m_reopenMenu);
            m_selectFilesButton->setPopupMode(QToolButton::MenuButtonPopup);
            m_selectFilesButton->setAutoRaise(true);
            m_toolbar->addWidget(m_selectFilesButton);
        } else {
            m_toolbar->addAction(action);
        }
    }
}

void MainWindow::RebuildReopenMenu()
{
    if (!m_reopenMenu)
        return;
    m_reopenMenu->clear();
    bool any = false;
    for (int n = 0; n < kHistorySize; ++n) {
        const std::string& entry = m_app.options.rfHistory[static_cast<std::size_t>(n)];
        QAction* action = MakeAction(1600 + n);
        if (entry.empty())
            continue;
        // The multi-selection form lists the folder and the names; the menu shows them readably.
        std::string shown = entry;
        std::replace(shown.begin(), shown.end(), '\0', ' ');
        QString text = DecodePath(shown);
        if (n < 9)
            text = QStringLiteral("&%1 %2").arg(n + 1).arg(text);
        action->setText(text);
        m_reopenMenu->addAction(action);
        any = true;
    }
    m_reopenMenu->setEnabled(any);
}

void MainWindow::RebuildPerColumnMenu()
{
    if (!m_perColumnMenu)
        return;
    m_perColumnMenu->clear();
    const auto columns = m_app.list.Columns();
    for (std::size_t n = 2; n <= columns.size() && n <= 9; ++n) {
        QAction* action = MakeAction(5800 + static_cast<int>(n) - 1);
        action->setText(Q(columns[n - 1].header));
        m_perColumnMenu->addAction(action);
    }
}

void MainWindow::ApplyColumnWidths()
{
    m_applyingWidths = true;
    const auto columns = m_app.list.Columns();
    for (std::size_t i = 0; i < columns.size(); ++i)
        m_view->setColumnWidth(static_cast<int>(i), std::max(10, columns[i].width));
    m_applyingWidths = false;
}

void MainWindow::OnSectionResized(int column, int, int newSize)
{
    if (m_applyingWidths || column < 0 || column >= m_app.list.ColumnCount())
        return;
    if (m_app.list.Column(column).width != newSize)
        m_app.list.SetColumnWidth(column, newSize);
}

void MainWindow::OnHeaderClicked(int column, int xInColumn)
{
    if (column < 0 || column >= m_app.list.ColumnCount())
        return;
    const Qt::KeyboardModifiers mods = QApplication::keyboardModifiers();
    const HeaderClickResult result = ColumnHeaderClick(m_app, column, xInColumn, mods & Qt::ShiftModifier,
                                                       mods & Qt::ControlModifier);
    if (result.action == HeaderAction::Fit)
        ResizeColumnsCommand(result.column, result.fitMode);
    m_model->Refresh();
    m_headerModel->RefreshHeaders();
}

void MainWindow::SyncSelectionToList()
{
    std::vector<std::size_t> rows;
    if (QItemSelectionModel* selection = m_view->selectionModel()) {
        for (const QModelIndex& index : selection->selectedRows())
            rows.push_back(static_cast<std::size_t>(index.row()));
        const QModelIndex current = selection->currentIndex();
        m_app.list.SetFocusedRow(current.isValid() ? current.row() : -1);
    }
    std::sort(rows.begin(), rows.end());
    m_app.list.SetSelectedRows(rows);
}

void MainWindow::SyncSelectionFromList()
{
    m_model->Refresh();
    QItemSelectionModel* selection = m_view->selectionModel();
    if (!selection)
        return;
    QItemSelection chosen;
    for (const std::size_t row : m_app.list.SelectedRows()) {
        if (static_cast<int>(row) < m_model->rowCount())
            chosen.select(m_model->index(static_cast<int>(row), 0),
                          m_model->index(static_cast<int>(row), std::max(0, m_model->columnCount() - 1)));
    }
    selection->select(chosen, QItemSelectionModel::ClearAndSelect);
    const long focused = m_app.list.FocusedRow();
    if (focused >= 0 && focused < m_model->rowCount()) {
        const QModelIndex index = m_model->index(static_cast<int>(focused), 0);
        selection->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
        m_view->scrollTo(index);
    }
}

void MainWindow::Poll()
{
    const bool running = m_app.jobs.Running();
    if (running == m_uiEnabled) {
        EnableUi(!running);
        if (!running)
            OnJobEnded();
    }
    if (m_app.domain.viewShown)
        m_domainView->Poll();
    UpdateCommandStates();
}

void MainWindow::OnJobEnded()
{
    // Jobs that post no message of their own (the hit rates) leave their selection in the list.
    SyncSelectionFromList();
    m_headerModel->RefreshHeaders();
    if (m_app.domain.refreshPending.load()) {
        RefreshDomainTree(m_app);
        m_domainView->Reload();
        if (m_app.domain.viewShown)
            m_domainView->NoteFilled();
    }
}

void MainWindow::EnableUi(bool on)
{
    m_uiEnabled = on;
    // The menus go off and on together while a job runs; Stop and Skip stay reachable through
    // the toolbar and their keys.
    for (QMenu* menu : m_topMenus)
        menu->menuAction()->setEnabled(on);
    m_stateKey = ~0ULL;
}

void MainWindow::UpdateCommandStates()
{
    const AppState& app = m_app;
    const uint64_t key = (app.jobs.Running() ? 1u : 0u) | (app.jobs.listBusy.load() ? 2u : 0u) |
                         (app.domain.viewShown ? 4u : 0u) | (app.list.RowCount() == 0 ? 8u : 0u) |
                         (static_cast<uint64_t>(app.settings.itemKind & 0xFF) << 8) |
                         (static_cast<uint64_t>(app.listState.kind & 0xFF) << 16) |
                         (static_cast<uint64_t>(app.listState.hitRateMode & 0xF) << 24) |
                         (static_cast<uint64_t>(app.jobs.Code() >= 3 ? 1 : 0) << 28) |
                         (static_cast<uint64_t>(app.settings.userUrlLike ? 1 : 0) << 29) |
                         (static_cast<uint64_t>(m_uiEnabled ? 1 : 0) << 30) |
                         (static_cast<uint64_t>(app.sorting.mainSortedByUrl.load() ? 1 : 0) << 31) |
                         (static_cast<uint64_t>(app.domain.exists ? 1 : 0) << 32);
    if (key == m_stateKey)
        return;
    m_stateKey = key;
    const bool running = app.jobs.Running();
    for (const auto& [id, action] : m_actions) {
        bool enabled = CanRun(id);
        const CommandInfo* command = FindCommand(id);
        const bool onToolbar = command && (command->places & kPlaceToolbar);
        // Toolbar buttons follow the job, except resizing, new windows and the domain button.
        if (onToolbar && running && id != 1445 && id != 1450 && id != 1451 && id != 1453 && id != 1460 &&
            id != 1465)
            enabled = false;
        if (id == 1410)
            enabled = false;
        action->setEnabled(enabled);
    }
    for (const int id : {1420, 1422, 1434, 1453, 1460}) {
        if (QAction* action = Action(id))
            action->setToolTip(Q(ToolbarTooltip(app, id)));
    }
    if (QAction* rebuild = Action(1545))
        rebuild->setChecked(app.options.rebuildDomainsAfterSearch);

    // The URL commands exist only while the list holds URLs.
    const int kind = app.listState.kind;
    bool unescape = false;
    bool cutParams = false;
    bool bookmarks = false;
    if (kind == kListFileSearch || kind == kListOldSession || kind == kListInetSaved || kind == kListInetRead) {
        const int item = app.settings.itemKind;
        const bool urlKind = item <= kItemTelnet || (item == kItemUser && app.settings.userUrlLike);
        unescape = urlKind;
        bookmarks = urlKind;
        cutParams = item == kItemHttpFtp || (item == kItemUser && app.settings.userUrlLike);
    } else if ((kind >= kListNetscapeTyped && kind <= kListNetscapeHistory) || kind == kListFavorites) {
        unescape = cutParams = bookmarks = true;
    } else if (kind == kListRasAutodial) {
        unescape = Action(4223)->isVisible();
        cutParams = Action(4225)->isVisible();
        bookmarks = m_bookmarksMenu->menuAction()->isVisible();
    }
    Action(4223)->setVisible(unescape);
    Action(4225)->setVisible(cutParams);
    m_bookmarksMenu->menuAction()->setVisible(bookmarks);
    m_sortMenu->setTitle(cutParams ? QStringLiteral("&Sort Urls") : QStringLiteral("&Sort Items"));
}

int MainWindow::ExecDialog(QDialog& dialog)
{
    if (m_hooks.execDialog)
        return m_hooks.execDialog(dialog);
    return dialog.exec();
}

QString MainWindow::SaveFileName(const QString& filter, const QString& defaultSuffix)
{
    if (m_hooks.saveFileName)
        return m_hooks.saveFileName(filter);
    QFileDialog dialog(this, QStringLiteral("Save List as"), DecodePath(m_app.options.saveFolder), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const QString name = dialog.selectedFiles().front();
    m_app.options.saveFolder = EncodePath(QFileInfo(name).absolutePath() + QLatin1Char('/'));
    return name;
}

bool MainWindow::CanRun(int id) const
{
    // A command runs when the window registered its performer (or it is one the window still
    // performs itself) and its guards allow it now.
    if (m_commands.Has(id))
        return CommandAllowed(m_app, id);
    return CommandEnabled(m_app, id);
}

bool MainWindow::RunCommand(int id)
{
    if (!CanRun(id))
        return false;
    if (m_commands.Run(*this, id)) {
        m_stateKey = ~0ULL;
        UpdateCommandStates();
        return true;
    }
    switch (id) {
    case 1400: SelectFilesCommand(); break;
    case 1405: FolderCommand(false); break;
    case 1474: FolderCommand(true); break;
    case 1415: SearchOptionsCommand(); break;
    case 1456: OptionsCommand(); break;
    case 1420: SaveListCommand(false, -1); break;
    case 4221: SaveListCommand(false, 1); break;
    case 4170: SaveListCommand(true, 0); break;
    case 4222: SaveListCommand(true, 1); break;
    case 4216: SaveListCommand(true, 2); break;
    case 1422: CopyToClipboard(0, 0); break;
    case 4190: CopyToClipboard(1, 0); break;
    case 1452: ClearResultsCommand(); break;
    case 1445: {
        const Qt::KeyboardModifiers mods = QApplication::keyboardModifiers();
        ResizeColumnsCommand(-1, mods & Qt::ShiftModifier ? 1 : (mods & Qt::ControlModifier ? 2 : 0));
        break;
    }
    case 1460: StopJob(m_app); break;
    case 1465: SkipFile(m_app); break;
    case 1471: ExitCommand(); break;
    case 1500: RemoveDupesCommand(m_app); break;
    case 1478: SearchFileListCommand(m_app); break;
    case 5201: RecentFilesCommand(m_app, false); break;
    case 1545:
        m_app.options.rebuildDomainsAfterSearch = !m_app.options.rebuildDomainsAfterSearch;
        m_app.options.optionsChanged = true;
        break;
    case 1542: AboutCommand(); break;
    case 1551:
    case 1552:
    case 1553:
    case 1554:
    case 1555: SortMenuCommand(id); break;
    case 1440: FindDialogCommand(); break;
    case 1515: FindNext(true); break;
    case 1516: FindNext(false); break;
    case 1439: HitRatesCommand(-1); break;
    case 1480: BuildDomains(); break;
    case 1544: ToggleView(); break;
    case 1453:
        if (!m_app.domain.exists || m_app.domain.tree.Empty())
            BuildDomains();
        else
            ToggleView();
        break;
    case 5400: {
        std::string error;
        const bool saved = WriteSettings(m_app, m_app.startup.iniPath, kSettingsSaveNow, &error) >= 0;
        ShowMessage(m_app, saved ? "Search Settings saved !" : "Could not save Settings to File !");
        break;
    }
    case 4160: m_view->selectAll(); break;
    default:
        if (id >= 1600 && id <= 1606) {
            ReopenCommand(id - 1600);
            break;
        }
        if (id >= 5800 && id <= 5808) {
            HitRatesCommand(id - 5800 + 1);
            break;
        }
        return false;
    }
    m_stateKey = ~0ULL;
    UpdateCommandStates();
    return true;
}

void MainWindow::RememberRecentFile(const std::string& selection)
{
    // The list keeps single files: a history entry is one line of the INI file.
    if (selection.empty() || selection.find('\0') != std::string::npos)
        return;
    History& recent = m_app.options.rfHistory;
    auto it = std::find(recent.begin(), recent.end(), selection);
    if (it == recent.end())
        it = recent.end() - 1;
    std::rotate(recent.begin(), it, it + 1);
    recent.front() = selection;
    RebuildReopenMenu();
}

void MainWindow::SelectFilesCommand()
{
    QStringList names;
    if (m_hooks.pickFiles) {
        names = m_hooks.pickFiles();
    } else {
        names = QFileDialog::getOpenFileNames(this, QStringLiteral("Select Files"),
                                              DecodePath(m_app.options.openFolder),
                                              QStringLiteral("All Files (*)"));
    }
    if (names.isEmpty())
        return;
    m_app.options.openFolder = EncodePath(QFileInfo(names.front()).absolutePath() + QLatin1Char('/'));
    const std::string selection = SelectionFromPaths(names);
    if (m_app.listState.kind != kListFileSearch)
        SwitchListKind(m_app, kListFileSearch);
    RememberRecentFile(selection);
    SearchPickedFilesCommand(m_app, selection);
}

void MainWindow::ReopenCommand(int index)
{
    const std::string selection = m_app.options.rfHistory[static_cast<std::size_t>(index)];
    // Nothing happens for a file that is no longer there.
    const std::vector<std::string> paths = SelectionPaths(selection);
    if (paths.empty() || !QFileInfo::exists(DecodePath(paths.front())))
        return;
    if (m_app.listState.kind != kListFileSearch)
        SwitchListKind(m_app, kListFileSearch);
    RememberRecentFile(selection);
    SearchPickedFilesCommand(m_app, selection);
}

void MainWindow::DropFiles(const QStringList& paths)
{
    if (paths.isEmpty() || m_app.jobs.Running())
        return;
    if (m_app.listState.kind == kListFileList) {
        AddFileListRows(m_app, paths);
        return;
    }
    const std::string selection = SelectionFromPaths(paths);
    m_app.search.droppedCaption = DroppedNamesCaption(paths);
    if (m_app.listState.kind != kListFileSearch)
        SwitchListKind(m_app, kListFileSearch);
    SearchPickedFilesCommand(m_app, selection);
    m_app.search.targetText = m_app.search.droppedCaption;
    m_app.status.SetStatusText(m_app.search.droppedCaption, 0);
}

void MainWindow::FolderCommand(bool fileList)
{
    FolderDialog dialog(m_app, fileList, this);
    if (ExecDialog(dialog) != QDialog::Accepted)
        return;
    const std::string folder = dialog.ApplyToSettings();
    if (folder.empty())
        return;
    if (fileList) {
        if (m_app.listState.kind != kListFileList)
            SwitchListKind(m_app, kListFileList);
    } else if (m_app.listState.kind != kListFileSearch && m_app.listState.kind != kListFileList) {
        SwitchListKind(m_app, kListFileSearch);
    }
    SetupFolderSearch(m_app, folder);
    m_app.status.SetStatusText(m_app.search.targetText, 0);
    StartFolderSearch(m_app);
}

void MainWindow::SearchOptionsCommand()
{
    SearchOptionsDialog dialog(m_app, this);
    ExecDialog(dialog);
}

void MainWindow::OptionsCommand()
{
    if (m_optionsOpen)
        return;
    m_optionsOpen = true;
    const bool alternate = m_app.options.alternateRowColors;
    OptionsSheet sheet(m_app, this);
    if (ExecDialog(sheet) == QDialog::Accepted) {
        sheet.Apply();
        ApplyListKind(m_app);
        if (alternate != m_app.options.alternateRowColors)
            m_view->viewport()->update();
    }
    m_optionsOpen = false;
}

void MainWindow::SaveListCommand(bool selectedOnly, int preset)
{
    int choice = preset;
    if (preset < 0) {
        SaveListDialog dialog(m_lastSavePreset, selectedOnly, this);
        if (ExecDialog(dialog) != QDialog::Accepted)
            return;
        choice = dialog.Choice();
        selectedOnly = dialog.SelectedOnly();
        m_lastSavePreset = choice;
    }
    static const char* const kFilters[] = {"Text Files (*.txt)", "Html Files (*.*htm*)", "CSV Files (*.csv)"};
    static const char* const kSuffixes[] = {"txt", "htm", "csv"};
    const QString name = SaveFileName(QLatin1String(kFilters[choice]), QLatin1String(kSuffixes[choice]));
    if (name.isEmpty())
        return;
    SyncSelectionToList();
    const std::string path = EncodePath(name);
    switch (choice) {
    case 0: ExportText(m_app, m_app.list, path, selectedOnly, 0); break;
    case 1: ExportHtml(m_app, m_app.list, path, selectedOnly, 0); break;
    default: ExportCsv(m_app, m_app.list, path, selectedOnly, 0); break;
    }
}

void MainWindow::CopyToClipboard(int rowChoice, int columnKey)
{
    if (m_app.jobs.Running())
        return;
    SyncSelectionToList();
    const std::string text = ListClipboardText(m_app, m_app.list, rowChoice, 0, columnKey);
    if (!text.empty())
        m_app.ui.SetClipboardText(text);
}

void MainWindow::ClearResultsCommand()
{
    const bool domainView = m_app.domain.viewShown;
    ClearResults(m_app);
    // The tree and its folder list go with the rows they were built from.
    if (m_app.domain.exists) {
        WaitForFolderFills(m_app);
        m_app.domain.tree.Clear();
        m_app.domain.selectedNode = -1;
        ++m_app.domain.treeRevision;
        m_app.secondList.ClearRows();
        m_domainView->Reload();
    }
    if (domainView)
        ShowCurrentView();
    m_model->Refresh();
    m_headerModel->RefreshHeaders();
}

QWidget* MainWindow::ShownView() const
{
    return m_app.domain.viewShown ? static_cast<QWidget*>(m_domainView) : static_cast<QWidget*>(m_view);
}

void MainWindow::SortMenuCommand(int id)
{
    const bool domainView = m_app.domain.viewShown;
    if (domainView)
        m_domainView->SyncSelectionToList();
    else
        SyncSelectionToList();
    SortCommand(m_app, id);
    if (domainView) {
        m_domainView->SyncSelectionFromList();
        m_domainView->FolderModel()->RefreshHeaders();
    } else {
        m_model->Refresh();
        m_headerModel->RefreshHeaders();
    }
}

void MainWindow::FindDialogCommand()
{
    if (!CanOpenFindDialog(m_app))
        return;
    const bool domainView = m_app.domain.viewShown;
    m_app.find.dialogOpen = true;
    FindDialog dialog(m_app, domainView ? m_app.secondList : m_app.list, this);
    const int result = ExecDialog(dialog);
    m_app.find.dialogOpen = false;
    if (result != QDialog::Accepted)
        return;
    if (domainView)
        m_domainView->SyncSelectionToList();
    else
        SyncSelectionToList();
    FindDialogAccept(m_app, dialog.Text(), dialog.Columns(), dialog.AddToSelection());
    AfterFind();
}

void MainWindow::FindNext(bool forward)
{
    if (m_app.domain.viewShown)
        m_domainView->SyncSelectionToList();
    else
        SyncSelectionToList();
    FindNextCommand(m_app, forward);
    AfterFind();
}

void MainWindow::AfterFind()
{
    if (m_app.domain.viewShown) {
        // A find across folders may have moved to another folder and filled the list itself.
        m_domainView->SelectNode(m_app.domain.selectedNode);
        m_domainView->NoteFilled();
        m_domainView->SyncSelectionFromList();
    } else {
        SyncSelectionFromList();
    }
}

void MainWindow::HitRatesCommand(int column)
{
    SyncSelectionToList();
    HitRates(m_app, column);
    m_model->Refresh();
    m_headerModel->RefreshHeaders();
}

void MainWindow::BuildDomains()
{
    if (!BuildDomainsCommand(m_app))
        return;
    m_domainView->Reload();
    m_domainView->NoteFilled();
    ShowCurrentView();
}

void MainWindow::ToggleView()
{
    if (ToggleViewCommand(m_app))
        ShowCurrentView();
}

void MainWindow::ShowCurrentView()
{
    const bool domainView = m_app.domain.viewShown;
    m_stack->setCurrentWidget(ShownView());
    if (domainView) {
        m_domainView->EnsureFilled();
        m_domainView->SyncSelectionFromList();
        m_domainView->FocusShown();
    } else {
        m_view->setFocus();
    }
    m_stateKey = ~0ULL;
    UpdateCommandStates();
}

void MainWindow::ResizeColumnsCommand(int column, int mode)
{
    FitListColumns(m_app, *m_view, column, mode);
    ApplyColumnWidths();
}

void MainWindow::ExitCommand()
{
    if (m_app.startup.textWindowMode != 0)
        m_app.jobs.jobCode.store(0);
    close();
}

void MainWindow::AboutCommand()
{
    QMessageBox::about(this, QStringLiteral("About LinkTrawl"),
                       QStringLiteral("<b>LinkTrawl</b><br>Finds URLs, e-mail addresses, IP addresses and other "
                                      "items in files and collects them in one list."));
}

QMenu* MainWindow::BuildRowContextMenu()
{
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const ContextActions titles = ContextActionTexts(m_app);
    QAction* main = Action(4210);
    main->setText(Q(titles.main));
    menu->addAction(main);
    // The second action: for search results only while they are URLs of the http kind.
    const int listKind = m_app.listState.kind;
    const int item = m_app.settings.itemKind;
    bool hasSecond = !titles.second.empty();
    if (listKind == kListFileSearch || listKind == kListOldSession || listKind == kListInetSaved)
        hasSecond = hasSecond && (item == kItemHttpFtp || (item == kItemUser && m_app.settings.userUrlLike));
    if (hasSecond) {
        QAction* second = Action(2100);
        QAction* entry = menu->addAction(Q(titles.second));
        entry->setEnabled(second->isEnabled());
        connect(entry, &QAction::triggered, this, [this] { RunCommand(2100); });
    }
    const int kind = listKind;
    if (kind == kListNetscapeTyped || kind == kListIeTyped) {
        // The entry of the other browser comes first, after a separator.
        menu->addSeparator();
        AddCommands(menu, kind == kListNetscapeTyped ? std::initializer_list<int>{4202, 4206}
                                                    : std::initializer_list<int>{4206, 4202});
    }
    menu->addSeparator();
    QMenu* selected = menu->addMenu(QStringLiteral("Selected &Items"));
    AddCommands(selected, {4190, 4170, 4222, 4180, 4122});
    if (Action(4223)->isVisible()) {
        QMenu* add = selected->addMenu(QStringLiteral("&Add to Bookmarks"));
        AddCommands(add, {4240, 4230, 4250});
        Action(4240)->setIcon(BrowserIcon(0));
        Action(4230)->setIcon(BrowserIcon(1));
        Action(4250)->setIcon(BrowserIcon(2));
        AddCommands(selected, {4224});
        if (Action(4225)->isVisible())
            AddCommands(selected, {4226, 2110, 2112, 2114});
    }
    if (kind == kListFavorites)
        AddCommands(selected, {4138});
    if (kind == kListHistoryIndex || kind == kListCookieIndex)
        AddCommands(selected, {4134});
    if (kind == kListRasAutodial)
        AddCommands(selected, {4136});
    menu->addSeparator();
    AddCommands(menu, {4150, 4160, 4132, 0});
    QMenu* sendTo = menu->addMenu(QStringLiteral("Send &File to"));
    AddCommands(sendTo, {4220, 0, 5460, 5462});
    menu->addSeparator();
    AddCommands(menu, {4120, 4216, 0, 1703, 1704});
    if (!m_uiEnabled) {
        for (QAction* action : menu->actions())
            if (action->menu() == nullptr && action->data().toInt() != 4160)
                action->setEnabled(action->isEnabled() && !m_app.jobs.Running());
    }
    return menu;
}

void MainWindow::ShowRowContextMenu(const QPoint& globalPos)
{
    QMenu* menu = BuildRowContextMenu();
    menu->popup(globalPos);
}

bool MainWindow::ListKeyPressed(QKeyEvent* event)
{
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    const int key = event->key();
    if (mods == Qt::ControlModifier && key >= Qt::Key_1 && key <= Qt::Key_9) {
        const int n = key - Qt::Key_0;
        if (m_app.list.ColumnCount() >= n)
            CopyToClipboard(1, '0' + n);
        return true;
    }
    if (mods == Qt::ControlModifier && key == Qt::Key_C) {
        CopyToClipboard(1, 0);
        return true;
    }
    if (mods == Qt::NoModifier && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
        RunCommand(4210);
        return true;
    }
    if (mods == Qt::NoModifier && key == Qt::Key_Delete) {
        DeleteKeyCommand(*this);
        return true;
    }
    if (mods == Qt::ControlModifier && key == Qt::Key_D) {
        RunCommand(4132);
        return true;
    }
    if (mods == Qt::ControlModifier && key == Qt::Key_N) {
        RunCommand(1450);
        return true;
    }
    if (mods == Qt::ShiftModifier && key == Qt::Key_F10) {
        const QModelIndex current = m_view->currentIndex();
        const QRect rect = current.isValid() ? m_view->visualRect(current) : QRect();
        ShowRowContextMenu(m_view->viewport()->mapToGlobal(rect.isValid() ? rect.bottomLeft() : QPoint(0, 0)));
        return true;
    }
    return false;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_view && event->type() == QEvent::KeyPress) {
        if (ListKeyPressed(static_cast<QKeyEvent*>(event)))
            return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event)
{
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            paths.push_back(url.toLocalFile());
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    DropFiles(paths);
}

void MainWindow::OnPost(int message, std::intptr_t wparam, std::intptr_t lparam)
{
    switch (message) {
    case kMsgFocusList:
        if (m_app.domain.viewShown)
            m_domainView->FocusShown();
        else
            m_view->setFocus();
        break;
    case kMsgBuildMenus:
        RebuildReopenMenu();
        ApplyListKind(m_app);
        SelectItemKind(m_app);
        DispatchStartAction(m_app);
        break;
    case kMsgRestoreCursor:
        m_port.SetWaitCursor(false);
        SyncSelectionFromList();
        m_headerModel->RefreshHeaders();
        if (m_app.domain.viewShown) {
            m_domainView->SyncSelectionFromList();
            m_domainView->FolderModel()->RefreshHeaders();
            m_domainView->FocusShown();
        } else {
            m_view->setFocus();
        }
        break;
    case kMsgOpenStartFile:
        // A settings file named on the command line; sessions and job files come with their readers.
        if (lparam == 2) {
            if (ReadSettings(m_app, m_app.startup.startFile, kSettingsLoad) < 0)
                ShowMessage(m_app, "No Search Settings found !");
            SelectItemKind(m_app);
            ApplyListKind(m_app, 2);
        }
        break;
    case kMsgRunStartSearch:
        RunStartSearch(m_app);
        break;
    case kMsgSearchDone:
        if (FinishStartAction(m_app))
            close();
        break;
    case kMsgRebuildDomains:
        // When the option no longer applies the count message is shown as after any search.
        if (RebuildDomainsAfterSearch(m_app, static_cast<long>(wparam))) {
            m_domainView->Reload();
            if (m_app.domain.viewShown)
                m_domainView->NoteFilled();
        }
        else
            ReportResult(m_app, static_cast<long>(wparam), false);
        break;
    default:
        break;
    }
    m_stateKey = ~0ULL;
}

bool MainWindow::WriteSettingsOnClose()
{
    return SaveSettingsAtClose(m_app, *this);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (m_closing) {
        event->accept();
        return;
    }
    m_closing = true;
    m_port.SetClosing(true);
    m_app.jobs.closing.store(true);
    m_app.jobs.jobCode.store(0);
    m_app.jobs.listBusy.store(false);
    // The worker may be waiting for the window thread; keep serving it until it ends.
    std::atomic<bool> joined{false};
    std::thread joiner([this, &joined] {
        JoinWorker(m_app);
        joined.store(true);
    });
    while (!joined.load()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    joiner.join();
    m_pollTimer->stop();
    m_model->SetPollInterval(0);
    WriteSettingsOnClose();
    event->accept();
}

} // namespace lt
