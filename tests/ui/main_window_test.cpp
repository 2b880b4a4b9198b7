// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QFile>
#include <QMenu>
#include <QRadioButton>
#include <QTableView>
#include <QHeaderView>
#include <QTemporaryDir>
#include <QTimer>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <atomic>
#include <fstream>
#include <mutex>
#include <sstream>

#include "core/app_state.h"
#include "inet/inet_slot.h"
#include "core/command_ids.h"
#include "list/list_kind.h"
#include "search/search_jobs.h"
#include "test_application.h"
#include "ui/folder_dialog.h"
#include "ui/history_combo.h"
#include "ui/qt_ui_port.h"
#include "ui/result_table_model.h"
#include "ui/search_options_dialog.h"
#include "ui/settings_bridge.h"
#include "ui/status_panes.h"
#include "ui/status_test_window.h"

namespace lt {
namespace {

std::string ReadFile(const QString& path)
{
    std::ifstream in(path.toStdString(), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFile(const QString& path, const std::string& bytes)
{
    std::ofstream out(path.toStdString(), std::ios::binary);
    out << bytes;
}

// A window over a fresh state with a temporary INI file; message boxes are recorded and
// answered from `answer`.
class MainWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        test::Application();
        ASSERT_TRUE(dir.isValid());
        iniPath = dir.filePath(QStringLiteral("linktrawl.ini"));
        port.SetMessageHandler([this](const std::string& text, const std::string& caption, MsgStyle) {
            std::lock_guard lock(mutex);
            messages.push_back(caption + ": " + text);
            return answer.load();
        });
    }

    void Start(const std::string& ini = {})
    {
        if (!ini.empty())
            WriteFile(iniPath, ini);
        app.startup.iniPath = iniPath.toStdString();
        LoadSettingsAtStart(app);
        ApplyListKind(app, 2);
        window = std::make_unique<MainWindow>(app, port);
        window->resize(1000, 600);
        window->show();
    }

    void TearDown() override
    {
        if (window) {
            window->close();
            window.reset();
        }
        JoinWorker(app);
    }

    std::vector<std::string> Messages()
    {
        std::lock_guard lock(mutex);
        return messages;
    }

    QString MakeFolder(const QString& name, int files, const std::string& text)
    {
        const QString folder = dir.filePath(name);
        QDir().mkpath(folder);
        for (int i = 0; i < files; ++i)
            WriteFile(folder + QStringLiteral("/page%1.html").arg(i), text + std::to_string(i) + "/ x\n");
        return folder;
    }

    QTemporaryDir dir;
    QString iniPath;
    QtUiPort port;
    AppState app{port};
    std::unique_ptr<MainWindow> window;
    std::mutex mutex;
    std::vector<std::string> messages;
    std::atomic<MsgAnswer> answer{MsgAnswer::Ok};
};

TEST_F(MainWindowTest, StartsWithTheSettingsOfTheIniFile)
{
    Start("[LTSfile]\r\nU0=1\r\n[DIRS]\r\nD0=/srv/pages\r\nD1=/srv/old\r\n[OPTIONS]\r\nR6=6\r\n");
    EXPECT_EQ(app.settings.itemKind, kItemEmail);
    EXPECT_EQ(app.settings.folders[0], "/srv/pages");
    // Ten menus, the toolbar with its drop-down for the recent files, three panes.
    EXPECT_EQ(window->TopMenus().size(), 10);
    auto* button = window->ToolBar()->findChild<QToolButton*>(QStringLiteral("selectFilesButton"));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->menu(), window->ReopenMenu());
    // E-mail items are no URLs: no URL commands, and the sort menu names items.
    window->UpdateCommandStates();
    EXPECT_EQ(window->SortMenu()->title(), QStringLiteral("&Sort Items"));
    EXPECT_FALSE(window->Action(4223)->isVisible());
    EXPECT_EQ(window->View()->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Item"));

    // The folder dialog offers the remembered folders.
    FolderDialog dialog(app, false, window.get());
    EXPECT_EQ(dialog.FolderCombo()->currentText(), QStringLiteral("/srv/pages"));
    EXPECT_GE(dialog.FolderCombo()->findText(QStringLiteral("/srv/old")), 0);
}

TEST_F(MainWindowTest, FolderSearchThroughTheDialogFillsTheList)
{
    Start();
    const QString folder = MakeFolder(QStringLiteral("pages"), 3, "see http://example.org/p");
    // Each page holds one link, "http://example.org/pN" (the final "/" is trimmed).
    window->TestHooks().execDialog = [&](QDialog& d) {
        auto& dialog = dynamic_cast<FolderDialog&>(d);
        dialog.FolderCombo()->setEditText(folder);
        dialog.ModeButton(0)->setChecked(true);
        dialog.IncludeCombo()->setEditText(QStringLiteral("*.html"));
        return int(QDialog::Accepted);
    };
    ASSERT_TRUE(window->RunCommand(1405));
    ASSERT_TRUE(test::WaitFor([&] { return !app.jobs.Running() && window->Model()->rowCount() == 3; }));
    EXPECT_EQ(window->Model()->data(window->Model()->index(0, 0)).toString(),
              QStringLiteral("http://example.org/p0"));
    EXPECT_EQ(app.settings.folders[0], folder.toStdString());
    EXPECT_EQ(app.settings.includeMasks, "*.html");
    EXPECT_EQ(app.settings.fileTypeMode, 0);
    ASSERT_TRUE(test::WaitFor([&] { return !Messages().empty(); }));
    EXPECT_NE(Messages().back().find("3 Urls found !"), std::string::npos) << Messages().back();
    EXPECT_TRUE(test::WaitFor([&] { return window->Panes()->Text(2) == QStringLiteral("3"); }));
}

TEST_F(MainWindowTest, StopAndSkipWhileASearchRuns)
{
    Start();
    const QString folder = MakeFolder(QStringLiteral("slow"), 4, "http://example.org/s");
    std::atomic<int> started{0};
    std::atomic<int> skipped{0};
    // A scan that holds each file until it is skipped or the job is stopped.
    FileScan scan = [&](const std::string&, const OpenedFile&) {
        app.jobs.skipRequested = false;
        ++started;
        while (app.jobs.ScanGoesOn())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (app.jobs.skipRequested)
            ++skipped;
        return 1;
    };
    SetupFolderSearch(app, folder.toStdString());
    ASSERT_TRUE(StartFolderSearch(app, scan));
    ASSERT_TRUE(test::WaitFor([&] { return started == 1; }));

    // While the job runs: B-guarded commands are ignored, the menus are off, Stop and Skip work.
    EXPECT_FALSE(window->RunCommand(1405));
    EXPECT_FALSE(window->RunCommand(1452));
    ASSERT_TRUE(test::WaitFor([&] { return !window->TopMenus().front()->menuAction()->isEnabled(); }));
    EXPECT_TRUE(window->Action(1460)->isEnabled());
    EXPECT_FALSE(window->Action(1405)->isEnabled());
    EXPECT_EQ(window->Action(1460)->toolTip(), QStringLiteral("Stop Search"));

    EXPECT_TRUE(window->RunCommand(1465));
    ASSERT_TRUE(test::WaitFor([&] { return started == 2; }));
    EXPECT_EQ(skipped, 1);

    // "No" keeps the search running; "Yes" stops it.
    answer = MsgAnswer::No;
    window->RunCommand(1460);
    EXPECT_TRUE(app.jobs.Running());
    answer = MsgAnswer::Yes;
    window->RunCommand(1460);
    EXPECT_NE(Messages().back().find("Stop current Search ?"), std::string::npos);
    ASSERT_TRUE(test::WaitFor([&] { return !app.jobs.Running(); }));
    JoinWorker(app);
    EXPECT_EQ(started, 2);
    EXPECT_TRUE(test::WaitFor([&] { return window->TopMenus().front()->menuAction()->isEnabled(); }));
    EXPECT_TRUE(window->Action(1405)->isEnabled());
}

TEST_F(MainWindowTest, ContextMenuTitlesFollowTheListKind)
{
    Start();
    struct Case
    {
        int kind;
        int item;
        const char* main;
        const char* second;
    };
    const Case cases[] = {
        {kListFileSearch, kItemHttpFtp, "Launch in &Browser", "&Download Url(s)"},
        {kListFileSearch, kItemJavascript, "&View Source", nullptr},
        {kListFileSearch, kItemIp, "&View Context", nullptr},
        {kListAboutUrls, kItemHttpFtp, "&Add new list item", "Save &to Internet Explorer"},
        {kListCookieFiles, kItemHttpFtp, "View &Text file", "&Delete File(s) from Disk"},
        {kListFilesInUse, kItemHttpFtp, "&Sort by Ending", nullptr},
        {kListFileList, kItemHttpFtp, "&Delete File(s) from Disk", "&Compare to Disk Files"},
        {kListRecentLinks, kItemHttpFtp, "&Delete Link(s) from Disk", nullptr},
        {kListParsedText, kItemHttpFtp, "Delete &empty Lines", "&Download Url(s)"},
    };
    for (const Case& c : cases) {
        app.settings.itemKind = c.item;
        SwitchListKind(app, c.kind);
        window->UpdateCommandStates();
        std::unique_ptr<QMenu> menu(window->BuildRowContextMenu());
        const QList<QAction*> actions = menu->actions();
        ASSERT_GE(actions.size(), 2);
        EXPECT_EQ(actions[0]->text(), QLatin1String(c.main)) << c.kind << "/" << c.item;
        if (c.second)
            EXPECT_EQ(actions[1]->text(), QLatin1String(c.second)) << c.kind;
        else
            EXPECT_TRUE(actions[1]->isSeparator()) << c.kind << "/" << c.item;
        // URL commands only while the list holds URLs.
        bool hasUnescape = false;
        for (QAction* a : menu->findChildren<QAction*>())
            hasUnescape = hasUnescape || a->data().toInt() == 4224;
        for (QMenu* sub : menu->findChildren<QMenu*>())
            for (QAction* a : sub->actions())
                hasUnescape = hasUnescape || a->data().toInt() == 4224;
        const bool browserKind = c.kind >= kListNetscapeTyped && c.kind <= kListNetscapeHistory;
        EXPECT_EQ(hasUnescape, browserKind || (c.kind == kListFileSearch && c.item == kItemHttpFtp))
            << c.kind << "/" << c.item;
    }
}

TEST_F(MainWindowTest, DroppedFilesAreSearchedWithTheirNamesAsCaption)
{
    Start();
    const QString folder = MakeFolder(QStringLiteral("drop"), 4, "http://drop.example/d");
    QStringList files;
    for (int i = 0; i < 4; ++i)
        files.push_back(folder + QStringLiteral("/page%1.html").arg(i));
    window->DropFiles(files);
    ASSERT_TRUE(test::WaitFor([&] { return !app.jobs.Running() && window->Model()->rowCount() == 4; }));
    EXPECT_EQ(app.search.droppedCaption, "\"page0.html\" \"page1.html\" \"page2.html\" ...");
}

TEST_F(MainWindowTest, SearchOptionsRefuseContradictingFilters)
{
    Start();
    SearchOptionsDialog dialog(app, window.get());
    dialog.MustCombo()->setEditText(QStringLiteral("news"));
    dialog.MustNotCombo()->setEditText(QStringLiteral("NEWS"));
    EXPECT_FALSE(dialog.Confirm());
    EXPECT_FALSE(app.settings.restrictEnabled);
    EXPECT_NE(Messages().back().find("Invalid Arguments !"), std::string::npos);

    dialog.MustNotCombo()->setEditText(QStringLiteral("ads"));
    EXPECT_TRUE(dialog.Confirm());
    EXPECT_TRUE(app.settings.restrictEnabled);
    EXPECT_EQ(app.settings.mustHistory[0], "news");
    EXPECT_EQ(app.settings.mustNotHistory[0], "ads");

    dialog.Suspend();
    EXPECT_FALSE(app.settings.restrictEnabled);
    EXPECT_EQ(app.settings.mustText, "news");

    dialog.MustCombo()->setEditText(QString());
    dialog.MustNotCombo()->setEditText(QString());
    EXPECT_TRUE(dialog.Confirm());
    EXPECT_FALSE(app.settings.restrictEnabled);
}

TEST_F(MainWindowTest, CopyAndSaveTheList)
{
    Start();
    ResultRow row;
    row.cells = {"http://a.example/", "A", "/f"};
    app.list.InsertRow(row);
    row.cells = {"http://b.example/", "B", "/f"};
    app.list.InsertRow(row);
    window->Model()->Refresh();
    ASSERT_TRUE(window->RunCommand(1422));
    EXPECT_TRUE(test::WaitFor([] { return QGuiApplication::clipboard()->text().contains(QStringLiteral("http://b.example/")); }));

    const QString out = dir.filePath(QStringLiteral("list.csv"));
    window->TestHooks().execDialog = [](QDialog& d) {
        d.findChildren<QRadioButton*>()[2]->setChecked(true); // "&CSV file"
        return int(QDialog::Accepted);
    };
    window->TestHooks().saveFileName = [&](const QString& filter) {
        EXPECT_EQ(filter, QStringLiteral("CSV Files (*.csv)"));
        return out;
    };
    ASSERT_TRUE(window->RunCommand(1420));
    EXPECT_EQ(ReadFile(out), "http://a.example/\r\nhttp://b.example/\r\n");
}

TEST_F(MainWindowTest, HeaderClickAtTheLeftEdgeSortsByTheColumn)
{
    Start();
    app.list.SetAutoSort(AutoSort::Off);
    for (const char* url : {"http://c.example/", "http://a.example/", "http://b.example/"}) {
        ResultRow row;
        row.cells = {url, "", "/f"};
        app.list.InsertRow(row);
    }
    app.sorting.mainSortedByUrl = false;
    window->Model()->Refresh();
    QHeaderView* header = window->View()->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionViewportPosition(0) + 5, 5));
    ASSERT_TRUE(test::WaitFor([&] { return !app.jobs.Running(); }));
    EXPECT_EQ(app.list.GetCell(0, 0), "http://a.example/");
    EXPECT_EQ(app.list.GetCell(2, 0), "http://c.example/");
}

TEST_F(MainWindowTest, ReopenSearchesTheRememberedFileAgain)
{
    Start();
    const QString folder = MakeFolder(QStringLiteral("again"), 1, "http://again.example/r");
    const QString file = folder + QStringLiteral("/page0.html");
    window->TestHooks().pickFiles = [&] { return QStringList{file}; };
    ASSERT_TRUE(window->RunCommand(1400));
    ASSERT_TRUE(test::WaitFor([&] { return !app.jobs.Running() && window->Model()->rowCount() == 1; }));
    EXPECT_EQ(app.options.rfHistory[0], file.toStdString());
    ASSERT_EQ(window->ReopenMenu()->actions().size(), 1);
    EXPECT_TRUE(window->ReopenMenu()->actions()[0]->text().endsWith(file));

    ClearResultList(app);
    window->Model()->Refresh();
    ASSERT_TRUE(window->RunCommand(1600));
    ASSERT_TRUE(test::WaitFor([&] { return !app.jobs.Running() && window->Model()->rowCount() == 1; }));
    // A file that is gone is not searched.
    QFile::remove(file);
    ClearResultList(app);
    EXPECT_TRUE(window->RunCommand(1600));
    EXPECT_FALSE(app.jobs.Running());
}

TEST_F(MainWindowTest, CommandsWithoutAPerformerStayDisabled)
{
    Start();
    // Reading the clipboard has no guard of its own; only its missing performer keeps it off.
    EXPECT_FALSE(window->CanRun(kCmdReadClipboard));
    EXPECT_FALSE(window->Action(kCmdReadClipboard)->isEnabled());
    EXPECT_FALSE(window->RunCommand(kCmdReadClipboard));
    EXPECT_FALSE(window->Action(kCmdPrintList)->isEnabled());
    EXPECT_TRUE(window->Action(kCmdSelectDirectory)->isEnabled());
}

TEST_F(MainWindowTest, CloseWritesTheIniFile)
{
    Start("[LTSfile]\r\nU0=1\r\n; kept as it was\r\n");
    app.settings.folders[0] = "/srv/searched";
    app.options.rowColor = "0x00FF00";
    window->close();
    window.reset();
    const std::string ini = ReadFile(iniPath);
    EXPECT_NE(ini.find("; kept as it was"), std::string::npos);
    EXPECT_NE(ini.find("D0=/srv/searched"), std::string::npos) << ini;
    EXPECT_NE(ini.find("RColor=0x00FF00"), std::string::npos) << ini;
}

TEST_F(MainWindowTest, CloseWhileASearchRunsStopsItWaitsAndWritesTheIniFile)
{
    Start("[LTSfile]\r\nU0=1\r\n");
    const QString folder = MakeFolder(QStringLiteral("held"), 50, "http://example.org/h");
    std::atomic<int> started{0};
    // Each file is held until the job is stopped, and the job takes a while to wind down.
    FileScan scan = [&](const std::string&, const OpenedFile&) {
        ++started;
        while (app.jobs.ScanGoesOn())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        return 1;
    };
    SetupFolderSearch(app, folder.toStdString());
    ASSERT_TRUE(StartFolderSearch(app, scan));
    ASSERT_TRUE(test::WaitFor([&] { return started == 1; }));
    ASSERT_TRUE(test::WaitFor([&] { return !window->TopMenus().front()->menuAction()->isEnabled(); }));
    app.settings.folders[0] = "/srv/while-searching";
    // The window stays until the job has ended; a second close meanwhile changes nothing.
    EXPECT_FALSE(window->close());
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->TopMenus().front()->menuAction()->isEnabled());
    ASSERT_TRUE(test::WaitFor([&] { return !window->isVisible(); }, 5000));
    EXPECT_FALSE(window->TopMenus().front()->menuAction()->isEnabled());
    EXPECT_FALSE(app.jobs.Running());
    EXPECT_LE(started.load(), 2);
    EXPECT_NE(ReadFile(iniPath).find("D0=/srv/while-searching"), std::string::npos);
}

// Closing while a download runs asks first; "Yes" marks the transferring slots so that their jobs
// end at once (an idle slot keeps its state).
TEST_F(MainWindowTest, CloseAsksBeforeCancellingDownloads)
{
    Start();
    app.inetSlots[1].state = kSlotRunning;
    app.inetSlots[3].state = kSlotSkip;
    app.inetSlots[4].state = kSlotIdle;
    answer = MsgAnswer::No;
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(app.inetSlots[1].state.load(), kSlotRunning);
    answer = MsgAnswer::Yes;
    window->close();
    EXPECT_EQ(app.inetSlots[1].state.load(), kSlotClosing);
    EXPECT_EQ(app.inetSlots[3].state.load(), kSlotClosing);
    EXPECT_TRUE(app.inetSlots[3].stopped.load());
    EXPECT_EQ(app.inetSlots[4].state.load(), kSlotIdle);
    std::lock_guard lock(mutex);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0], "LinkTrawl: Cancel current Download(s) ?");
}

// A job window still open when the main window closes keeps its place for the next opening.
TEST_F(MainWindowTest, CloseStoresThePlaceOfAnOpenJobWindow)
{
    Start();
    StatusTestWindow* status = StatusTestWindow::Open(*window);
    ASSERT_NE(status, nullptr);
    status->setGeometry(QRect(QPoint(40, 50), QSize(610, 300)));
    window->close();
    const std::vector<int>& record = app.options.positions["WPS03"].values;
    ASSERT_EQ(record.size(), 12u);
    EXPECT_EQ(record[0], 40);
    EXPECT_EQ(record[2] - record[0], 610);
}

TEST_F(MainWindowTest, FirstCloseWritesTheDefaultFlagsOfR12)
{
    Start();
    app.options.optionsChanged = true;
    window->close();
    window.reset();
    const std::string ini = ReadFile(iniPath);
    // "Entire Line" (digit 2) stays on as the user found it; alternate rows (digit 6) too.
    EXPECT_NE(ini.find("R12=0100010"), std::string::npos) << ini;
}

TEST_F(MainWindowTest, CloseWritesNothingWithoutIniFileAndChanges)
{
    Start();
    window->close();
    window.reset();
    EXPECT_FALSE(QFile::exists(iniPath));
}

} // namespace
} // namespace lt
