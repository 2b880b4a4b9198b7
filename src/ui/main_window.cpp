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
#include "core/command_ids.h"
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
#include "store/session_load.h"
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
#include "ui/job_window_place.h"
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
    // The last column reaches the window's edge; its stored width stays what the user gave it.
    m_view->horizontalHeader()->setStretchLastSection(true);
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
    connect(m_view, &QAbstractItemView::activated, this,
            [this](const QModelIndex&) { RunCommand(kCmdLaunchRow); });
    // A click (not a drag or a resize) on a header section sorts or fits by the section.
    new HeaderClickFilter(m_view->horizontalHeader(),
                          [this](int column, int x) { OnHeaderClicked(column, x); });
    connect(m_view->horizontalHeader(), &QHeaderView::sectionResized, this, &MainWindow::OnSectionResized);
    connect(m_model, &ResultTableModel::ColumnsChanged, this, [this] {
        ApplyColumnWidths();
        RebuildPerColumnMenu();
    });

    m_domainView->SetCommandRunner([this](int id) { return RunCommand(id); },
                                   [this](int id) { return CanRun(id); });
    QTableView* folderView = m_domainView->FolderView();
    folderView->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(folderView, &QWidget::customContextMenuRequested, this, [this, folderView](const QPoint& pos) {
        BuildFolderListContextMenu()->popup(folderView->viewport()->mapToGlobal(pos));
    });

    BuildMenus();
    BuildToolbar();
    ApplyColumnWidths();
    RebuildPerColumnMenu();
    Action(kCmdFindPrevious)->setShortcuts({QKeySequence(Qt::Key_F4), QKeySequence(Qt::CTRL | Qt::Key_F3)});
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
    // Destroyed before the close sequence ended (tests do): the worker may still need the
    // window thread to answer it.
    while (m_joiner.joinable() && !m_workerJoined.load())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    if (m_joiner.joinable())
        m_joiner.join();
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
    AddCommands(file, {kCmdSelectFiles});
    if (hasMenu || true) {
        m_reopenMenu = AddMenu(file, QStringLiteral("&Reopen"));
        for (int id = kCmdReopenFirst; id <= kCmdReopenLast; ++id)
            MakeAction(id);
    }
    AddCommands(file, {kCmdSelectDirectory, kCmdSearchFavorites, kCmdReadClipboard, kCmdExtractByBaseUrl, 0,
                       kCmdFilesLast8Minutes, kCmdIeCacheLastHour, kCmdRecentLinks, 0, kCmdSearchOptions, 0,
                       kCmdStop, kCmdSkipFile, 0, kCmdNewWindow, kCmdTextWindow, 0, kCmdExit});

    m_editMenu = AddMenu(nullptr, QStringLiteral("&Edit"));
    AddCommands(m_editMenu, {kCmdFind, kCmdFindNext, kCmdFindPrevious, 0, kCmdReplaceText, kCmdRemoveDupes, 0,
                             kCmdUnescapeUrls, kCmdCutParameters, kCmdClearResults});

    QMenu* list = AddMenu(nullptr, QStringLiteral("&List"));
    AddCommands(list, {kCmdSaveListAs, kCmdSaveListHtml, kCmdCopyList, 0, kCmdPrintList, kCmdPrinterFont, 0});
    m_bookmarksMenu = AddMenu(list, QStringLiteral("&Add List to Bookmarks"));
    AddCommands(m_bookmarksMenu, {kCmdListBookmarksIe, kCmdListBookmarksNetscape, kCmdListBookmarksOpera});
    Action(kCmdListBookmarksIe)->setIcon(BrowserIcon(0));
    Action(kCmdListBookmarksNetscape)->setIcon(BrowserIcon(1));
    Action(kCmdListBookmarksOpera)->setIcon(BrowserIcon(2));
    list->addSeparator();
    AddCommands(list, {kCmdResizeColumns});

    m_sortMenu = AddMenu(nullptr, QStringLiteral("&Sort Urls"));
    AddCommands(m_sortMenu, {kCmdSortLength, kCmdSortEnding, kCmdSortSymbol, kCmdSortFileNumber,
                             kCmdSortRemoteNumber, 0});
    QMenu* hitRates = AddMenu(m_sortMenu, QStringLiteral("Hit &rates"));
    AddCommands(hitRates, {kCmdHitRatesOverAll});
    m_perColumnMenu = AddMenu(hitRates, QStringLiteral("Per &Column"));
    for (int id = kCmdHitRatesColumnFirst; id <= kCmdHitRatesColumnLast; ++id)
        MakeAction(id);

    QMenu* domains = AddMenu(nullptr, QStringLiteral("&Domains"));
    AddCommands(domains, {kCmdBuildDomains, kCmdToggleView, 0, kCmdRebuildDomainsAfterSearch, 0,
                          kCmdBuildOrToggleDomains});
    Action(kCmdRebuildDomainsAfterSearch)->setCheckable(true);
    Action(kCmdRebuildDomainsAfterSearch)->setChecked(m_app.options.rebuildDomainsAfterSearch);

    QMenu* fileList = AddMenu(nullptr, QStringLiteral("File Lis&t"));
    AddCommands(fileList, {kCmdCreateFileList, kCmdFileListFromText, 0, kCmdSearchFileList,
                           kCmdCompareListToDisk, kCmdMultiunzipBatch, 0, kCmdParseTextFiles});

    QMenu* internet = AddMenu(nullptr, QStringLiteral("&Internet"));
    AddCommands(internet, {kCmdReadInternetFile, kCmdReadInternetFiles, 0, kCmdDownloadFile,
                           kCmdBatchDownload, kCmdTestUrlStatus, 0, kCmdGenerateUrls});

    QMenu* misc = AddMenu(nullptr, QStringLiteral("&Misc"));
    QMenu* typed = AddMenu(misc, QStringLiteral("Edit &Typed Urls"));
    AddCommands(typed, {kCmdTypedUrlsIe, kCmdTypedUrlsNetscape});
    QMenu* history = AddMenu(misc, QStringLiteral("Current &History"));
    AddCommands(history, {kCmdHistoryIe, kCmdHistoryNetscape});
    AddCommands(misc, {kCmdEditAboutUrls, kCmdRasAutodial, 0});
    QMenu* cookies = AddMenu(misc, QStringLiteral("List &Cookies"));
    AddCommands(cookies, {kCmdCookiesIndexFile, kCmdCookiesTextFiles});
    AddCommands(misc, {kCmdHistoryIndexFile, kCmdNetscapeHistoryFile, 0, kCmdJoinIeDownloads,
                       kCmdReduceHtmlFiles, 0, kCmdFilesInUse});
    for (int id : {kCmdTypedUrlsIe, kCmdHistoryIe})
        Action(id)->setIcon(BrowserIcon(0));
    for (int id : {kCmdTypedUrlsNetscape, kCmdHistoryNetscape})
        Action(id)->setIcon(BrowserIcon(1));

    QMenu* options = AddMenu(nullptr, QStringLiteral("&Options"));
    AddCommands(options, {kCmdEditOptions, 0});
    QMenu* settings = AddMenu(options, QStringLiteral("&Search Settings"));
    AddCommands(settings, {kCmdSettingsSaveAs, kCmdSettingsSaveNow, kCmdSettingsLoad});
    QMenu* session = AddMenu(options, QStringLiteral("S&ession"));
    AddCommands(session, {kCmdSessionSaveAs, kCmdSessionLoad, kCmdSessionAppend});

    QMenu* help = AddMenu(nullptr, QStringLiteral("&Help"));
    AddCommands(help, {kCmdHelp, 0, kCmdAbout});

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
        if (id == kCmdSelectFiles) {
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
        QAction* action = MakeAction(kCmdReopenFirst + n);
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
        QAction* action = MakeAction(kCmdHitRatesColumnFirst + static_cast<int>(n) - 1);
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
    if (column == m_app.list.ColumnCount() - 1 && m_view->horizontalHeader()->stretchLastSection())
        return;
    if (m_app.list.Column(column).width != newSize)
        m_app.list.SetColumnWidth(column, newSize);
}

void MainWindow::OnHeaderClicked(int column, int xInColumn)
{
    if (column < 0 || column >= m_app.list.ColumnCount())
        return;
    const Qt::KeyboardModifiers mods = QApplication::keyboardModifiers();
    const HeaderClickResult result =
        ColumnHeaderClick(m_app, column, xInColumn, mods & Qt::ShiftModifier, mods & Qt::ControlModifier);
    if (result.action == HeaderAction::Fit) {
        FitListColumns(m_app, *m_view, result.column, result.fitMode);
        ApplyColumnWidths();
    }
    RefreshList();
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
        if (onToolbar && running && id != kCmdResizeColumns && id != kCmdNewWindow && id != kCmdTextWindow &&
            id != kCmdBuildOrToggleDomains && id != kCmdStop && id != kCmdSkipFile)
            enabled = false;
        action->setEnabled(enabled);
    }
    for (const int id : {kCmdSaveListAs, kCmdCopyList, kCmdPrintList, kCmdBuildOrToggleDomains, kCmdStop}) {
        if (QAction* action = Action(id))
            action->setToolTip(Q(ToolbarTooltip(app, id)));
    }
    if (QAction* rebuild = Action(kCmdRebuildDomainsAfterSearch))
        rebuild->setChecked(app.options.rebuildDomainsAfterSearch);

    // The URL commands exist only while the list holds URLs.
    const int kind = app.listState.kind;
    bool unescape = false;
    bool cutParams = false;
    bool bookmarks = false;
    if (kind == kListFileSearch || kind == kListOldSession || kind == kListInetSaved ||
        kind == kListInetRead) {
        const int item = app.settings.itemKind;
        const bool urlKind = item <= kItemTelnet || (item == kItemUser && app.settings.userUrlLike);
        unescape = urlKind;
        bookmarks = urlKind;
        cutParams = item == kItemHttpFtp || (item == kItemUser && app.settings.userUrlLike);
    } else if ((kind >= kListNetscapeTyped && kind <= kListNetscapeHistory) || kind == kListFavorites) {
        unescape = cutParams = bookmarks = true;
    } else if (kind == kListRasAutodial) {
        unescape = Action(kCmdUnescapeUrls)->isVisible();
        cutParams = Action(kCmdCutParameters)->isVisible();
        bookmarks = m_bookmarksMenu->menuAction()->isVisible();
    }
    Action(kCmdUnescapeUrls)->setVisible(unescape);
    Action(kCmdCutParameters)->setVisible(cutParams);
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

int MainWindow::RoutedId(int id) const
{
    // In the domain view the list's Save and Copy act on the selected folder.
    if (m_app.domain.viewShown) {
        if (id == kCmdSaveListAs)
            return kCmdSaveFolder;
        if (id == kCmdCopyList)
            return kCmdCopyFolder;
    }
    return id;
}

bool MainWindow::CanRun(int requested) const
{
    const int id = RoutedId(requested);
    // A command runs when its subsystem registered a performer and its guards allow it now.
    return m_commands.Has(id) && CommandAllowed(m_app, id);
}

bool MainWindow::RunCommand(int requested)
{
    const int id = RoutedId(requested);
    if (!CanRun(id) || !m_commands.Run(*this, id))
        return false;
    m_stateKey = ~0ULL;
    UpdateCommandStates();
    return true;
}

void MainWindow::DropFiles(const QStringList& paths)
{
    SearchDroppedFiles(*this, paths);
}

void MainWindow::RefreshList()
{
    m_model->Refresh();
    m_headerModel->RefreshHeaders();
}

void MainWindow::SyncShownSelectionToList()
{
    if (m_app.domain.viewShown)
        m_domainView->SyncSelectionToList();
    else
        SyncSelectionToList();
}

QWidget* MainWindow::ShownView() const
{
    return m_app.domain.viewShown ? static_cast<QWidget*>(m_domainView) : static_cast<QWidget*>(m_view);
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

QMenu* MainWindow::BuildRowContextMenu()
{
    // A job may have ended since the last update: the entries show what can run now.
    UpdateCommandStates();
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const ContextActions titles = ContextActionTexts(m_app);
    QAction* main = Action(kCmdLaunchRow);
    main->setText(Q(titles.main));
    menu->addAction(main);
    // The second action: for search results only while they are URLs of the http kind.
    const int listKind = m_app.listState.kind;
    const int item = m_app.settings.itemKind;
    bool hasSecond = !titles.second.empty();
    if (listKind == kListFileSearch || listKind == kListOldSession || listKind == kListInetSaved)
        hasSecond = hasSecond && (item == kItemHttpFtp || (item == kItemUser && m_app.settings.userUrlLike));
    if (hasSecond) {
        QAction* second = Action(kCmdDownloadFile);
        QAction* entry = menu->addAction(Q(titles.second));
        entry->setEnabled(second->isEnabled());
        connect(entry, &QAction::triggered, this, [this] { RunCommand(kCmdDownloadFile); });
    }
    const int kind = listKind;
    if (kind == kListNetscapeTyped || kind == kListIeTyped) {
        // The entry of the other browser comes first, after a separator.
        menu->addSeparator();
        AddCommands(menu, kind == kListNetscapeTyped
                              ? std::initializer_list<int>{kCmdSaveToIeTyped, kCmdSaveToNetscapeTyped}
                              : std::initializer_list<int>{kCmdSaveToNetscapeTyped, kCmdSaveToIeTyped});
    }
    menu->addSeparator();
    QMenu* selected = menu->addMenu(QStringLiteral("Selected &Items"));
    AddCommands(selected, {kCmdCopySelected, kCmdSaveSelectedText, kCmdSaveSelectedHtml, kCmdPrintSelected,
                           kCmdOpenInNewWindow});
    if (Action(kCmdUnescapeUrls)->isVisible()) {
        QMenu* add = selected->addMenu(QStringLiteral("&Add to Bookmarks"));
        AddCommands(add,
                    {kCmdSelectedBookmarksIe, kCmdSelectedBookmarksNetscape, kCmdSelectedBookmarksOpera});
        Action(kCmdSelectedBookmarksIe)->setIcon(BrowserIcon(0));
        Action(kCmdSelectedBookmarksNetscape)->setIcon(BrowserIcon(1));
        Action(kCmdSelectedBookmarksOpera)->setIcon(BrowserIcon(2));
        AddCommands(selected, {kCmdUnescapeSelected});
        if (Action(kCmdCutParameters)->isVisible())
            AddCommands(selected, {kCmdCutParametersSelected, kCmdBatchDownload, kCmdReadInternetFiles,
                                   kCmdTestUrlStatus});
    }
    if (kind == kListFavorites)
        AddCommands(selected, {kCmdDeleteUrlFiles});
    if (kind == kListHistoryIndex || kind == kListCookieIndex)
        AddCommands(selected, {kCmdDeleteFromIndexFile});
    if (kind == kListRasAutodial)
        AddCommands(selected, {kCmdDeleteFromRegistry});
    menu->addSeparator();
    AddCommands(menu, {kCmdSelectAllWith, kCmdSelectAll, kCmdDeleteAllWith, 0});
    QMenu* sendTo = menu->addMenu(QStringLiteral("Send &File to"));
    AddCommands(sendTo, {kCmdAssociatedViewer, 0, kCmdCopyFilesTo, kCmdCopyFilesWithPathTo});
    menu->addSeparator();
    AddCommands(menu, {kCmdEditListEntry, kCmdSaveSelectedCsv, 0, kCmdReadInNewWindow, kCmdLoadSource});
    if (!m_uiEnabled) {
        for (QAction* action : menu->actions())
            if (action->menu() == nullptr && action->data().toInt() != kCmdSelectAll)
                action->setEnabled(action->isEnabled() && !m_app.jobs.Running());
    }
    return menu;
}

QMenu* MainWindow::BuildFolderListContextMenu()
{
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    AddCommands(menu, {kCmdCopySelected, kCmdSaveSelectedText, kCmdSaveSelectedHtml, kCmdSaveSelectedCsv, 0,
                       kCmdSelectAll});
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
            CopyRowsToClipboard(*this, 1, '0' + n);
        return true;
    }
    if (mods == Qt::ControlModifier && key == Qt::Key_C) {
        CopyRowsToClipboard(*this, 1, 0);
        return true;
    }
    if (mods == Qt::NoModifier && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
        RunCommand(kCmdLaunchRow);
        return true;
    }
    if (mods == Qt::NoModifier && key == Qt::Key_Delete) {
        DeleteKeyCommand(*this);
        return true;
    }
    if (mods == Qt::ControlModifier && key == Qt::Key_D) {
        RunCommand(kCmdDeleteAllWith);
        return true;
    }
    if (mods == Qt::ControlModifier && key == Qt::Key_N) {
        RunCommand(kCmdNewWindow);
        return true;
    }
    if (mods == Qt::ShiftModifier && key == Qt::Key_F10) {
        const QModelIndex current = m_view->currentIndex();
        const QRect rect = current.isValid() ? m_view->visualRect(current) : QRect();
        ShowRowContextMenu(
            m_view->viewport()->mapToGlobal(rect.isValid() ? rect.bottomLeft() : QPoint(0, 0)));
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
        // A settings, session or job file named on the command line.
        if (lparam == 2) {
            if (ReadSettings(m_app, m_app.startup.startFile, kSettingsLoad) < 0)
                ShowMessage(m_app, "No Search Settings found !");
            SelectItemKind(m_app);
            ApplyListKind(m_app, 2);
        } else if (lparam == 3) {
            StartLoadSession(m_app, m_app.startup.startFile, false);
        } else if (lparam == 4) {
            OpenInternetJobFile(*this, m_app.startup.startFile);
        }
        break;
    case kMsgLoadHandoffSession:
        StartLoadSession(m_app, m_app.startup.handoffText, false,
                         m_app.startup.secondaryWindow ? SessionSource::HandoffBatch : SessionSource::Handoff);
        break;
    case kMsgRunStartSearch:
        RunStartSearch(m_app);
        break;
    case kMsgStartBatchDownload:
        StartHandedOverBatch(*this);
        break;
    case kMsgSearchDone:
        RunAfterJob(m_app);
        if (FinishStartAction(m_app))
            close();
        break;
    case kMsgRebuildDomains:
        // When the option no longer applies the count message is shown as after any search.
        if (RebuildDomainsAfterSearch(m_app, static_cast<long>(wparam))) {
            m_domainView->Reload();
            if (m_app.domain.viewShown)
                m_domainView->NoteFilled();
        } else
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
    if (m_closed) {
        event->accept();
        return;
    }
    // A close that arrives while an earlier one still waits for the job is the same request.
    event->ignore();
    if (!m_closing) {
        if (m_app.inetSlots.AnyTransferring()) {
            if (m_app.ui.ShowMessage("Cancel current Download(s) ?", "LinkTrawl",
                                     MsgStyle{MsgButtons::YesNo, MsgIcon::Question}) != MsgAnswer::Yes)
                return;
            m_app.inetSlots.MarkClosing();
        }
        BeginClose();
    }
    if (m_workerJoined.load()) {
        FinishClose();
        event->accept();
    }
}

void MainWindow::BeginClose()
{
    m_closing = true;
    // The menus stay off until the window is gone: the job's end must not bring them back.
    m_pollTimer->stop();
    EnableUi(false);
    m_port.SetClosing(true);
    m_app.jobs.closing.store(true);
    if (m_app.jobs.Running())
        StopCurrent(m_app);
    m_app.jobs.jobCode.store(0);
    m_app.jobs.listBusy.store(false);
    if (!m_app.jobs.worker.joinable()) {
        JoinWorker(m_app);
        m_workerJoined.store(true);
        return;
    }
    // The worker may be waiting for the window thread: the event loop keeps serving it while a
    // helper thread waits for its end; the window closes once it has ended.
    m_joiner = std::thread([this] {
        JoinWorker(m_app);
        m_workerJoined.store(true);
    });
    auto* check = new QTimer(this);
    connect(check, &QTimer::timeout, this, [this, check] {
        if (!m_workerJoined.load())
            return;
        check->stop();
        close();
    });
    check->start(10);
}

void MainWindow::FinishClose()
{
    if (m_joiner.joinable())
        m_joiner.join();
    m_model->SetPollInterval(0);
    RunAfterJob(m_app);
    StoreOpenJobWindowPlaces(m_app, *this);
    WriteSettingsOnClose();
    m_closed = true;
}

} // namespace lt
