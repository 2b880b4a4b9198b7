// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/crawl_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTreeWidget>

#include <chrono>
#include <fstream>
#include <map>

#include "core/command_ids.h"
#include "inet/local_server.h"
#include "inet/network_init.h"
#include "ui/inet_dialog.h"
#include "window_fixture.h"

namespace lt {
namespace {

using namespace std::chrono_literals;

class CrawlWindowTest : public test::RoutesServerSuite<test::WindowFixture>
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        ASSERT_GT(s_server->Port(), 0);
        app.settings.itemKind = 0;
        app.options.inet.timeoutSeconds = 2;
        app.options.inet.level = 1;
        app.options.inet.saveToDisk = false;
    }
    std::string Url(const std::string& path) const { return s_server->Url(path); }
    static std::string Text(const QLabel* label) { return label->text().toStdString(); }
    static std::vector<std::string> Row(const QTreeWidget* list, int row)
    {
        std::vector<std::string> cells;
        const QTreeWidgetItem* item = list->topLevelItem(row);
        for (int c = 0; item && c < list->columnCount(); ++c)
            cells.push_back(item->text(c).toStdString());
        return cells;
    }

};

TEST_F(CrawlWindowTest, ACrawlShowsItsRowsAndEnds)
{
    QPointer<CrawlWindow> crawl = new CrawlWindow(app, true, window.get());
    crawl->show();
    EXPECT_EQ(app.inetSlots[0].state.load(), kSlotIdle);
    std::string error;
    ASSERT_TRUE(crawl->StartCrawl(Url("/site/index.htm"), {}, error)) << error;
    EXPECT_EQ(crawl->OkButton()->text(), QStringLiteral("&Skip"));
    ASSERT_TRUE(test::WaitFor([&] { return !crawl->Running() && crawl->OkButton()->text() == QStringLiteral("&Ok"); }));
    // The page that failed stays with its status; the others went as they were read.
    ASSERT_EQ(crawl->List()->topLevelItemCount(), 1);
    EXPECT_EQ(Row(crawl->List(), 0),
              (std::vector<std::string>{Url("/site/missing.htm"), "1", Url("/site/index.htm"), "Error: 404 - Not Found"}));
    EXPECT_EQ(Text(crawl->CounterLine()), "Retrieved: 4/5");
    EXPECT_EQ(Text(crawl->StatusLine()).rfind("Status: Idle... (", 0), 0u) << Text(crawl->StatusLine());
    EXPECT_EQ(crawl->windowTitle(), QStringLiteral("Read Internet Files"));
    // The hits went into the main list, the slot waits for the next start.
    EXPECT_GT(app.list.RowCount(), 0u);
    EXPECT_EQ(app.inetSlots[0].state.load(), kSlotIdle);
    EXPECT_EQ(app.jobs.Code(), kJobCrawlIdle);

    // Cancel while idle closes the window (few rows: no question) and frees the slot.
    crawl->CancelPressed();
    ASSERT_TRUE(test::WaitFor([&] { return crawl.isNull(); }));
    EXPECT_EQ(app.inetSlots[0].state.load(), kSlotFree);
    EXPECT_EQ(app.jobs.Code(), kJobIdle);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(CrawlWindowTest, CancelWhileARequestIsPendingEndsWithinASecond)
{
    app.options.inet.timeoutSeconds = 30;
    QPointer<CrawlWindow> list = new CrawlWindow(app, false, window.get());
    // Sorted, the stalling row comes first.
    list->AddUrls({Url("/trickle"), Url("/stall")});
    ASSERT_EQ(list->List()->topLevelItemCount(), 2);
    list->OkPressed();
    ASSERT_TRUE(list->Running());
    ASSERT_TRUE(test::WaitFor([&] { return Text(list->StatusLine()) == "Status: Connecting..."; }));
    const auto started = std::chrono::steady_clock::now();
    list->CancelPressed();
    ASSERT_TRUE(test::WaitFor([&] { return !list->Running() && list->OkButton()->text() == QStringLiteral("&Ok"); }));
    EXPECT_LT(std::chrono::steady_clock::now() - started, 1s);
    // Nothing was read: both rows stay, and the window stays open.
    EXPECT_EQ(list->List()->topLevelItemCount(), 2);
    EXPECT_FALSE(list.isNull());
    list->close();
}

TEST_F(CrawlWindowTest, TheMenuRunsTheQuickReadFromTheDialog)
{
    window->TestHooks().execDialog = [&](QDialog& dialog) {
        auto& inet = dynamic_cast<InetDialog&>(dialog);
        inet.UrlCombo()->setEditText(QString::fromStdString(Url("/site/a.htm")));
        inet.FollowBox()->setChecked(false);
        return inet.Confirm() ? int(QDialog::Accepted) : int(QDialog::Rejected);
    };
    ASSERT_TRUE(window->RunCommand(kCmdReadInternetFile));
    ASSERT_TRUE(WaitIdle());
    ASSERT_TRUE(test::WaitFor([&] { return !Messages().empty(); }));
    EXPECT_EQ(Messages().back(), "Search for: http, ftp: 2 Items found !");
    EXPECT_EQ(app.list.RowCount(), 2u);
    EXPECT_EQ(app.inetSlots[0].state.load(), kSlotFree);

    // With Follow Links the dialog opens the crawl window instead, which starts by itself.
    window->TestHooks().execDialog = [&](QDialog& dialog) {
        auto& inet = dynamic_cast<InetDialog&>(dialog);
        inet.UrlCombo()->setEditText(QString::fromStdString(Url("/site/c.htm")));
        inet.FollowBox()->setChecked(true);
        return inet.Confirm() ? int(QDialog::Accepted) : int(QDialog::Rejected);
    };
    ASSERT_TRUE(window->RunCommand(kCmdReadInternetFile));
    QPointer<CrawlWindow> crawl = window->findChild<CrawlWindow*>();
    ASSERT_FALSE(crawl.isNull());
    ASSERT_TRUE(test::WaitFor([&] { return !crawl->Running() && crawl->List()->topLevelItemCount() == 0; }));
    crawl->close();
    ASSERT_TRUE(test::WaitFor([&] { return crawl.isNull(); }));
    // A cancelled dialog frees the slot again.
    window->TestHooks().execDialog = [](QDialog&) { return int(QDialog::Rejected); };
    window->RunCommand(kCmdReadInternetFile);
    EXPECT_EQ(app.inetSlots[0].state.load(), kSlotFree);
    EXPECT_EQ(app.jobs.Code(), kJobIdle);
}

TEST_F(CrawlWindowTest, JobsAreSavedAndLoadedFromTheDialog)
{
    const QString path = dir.filePath(QStringLiteral("night.ltj"));
    InetDialog dialog(app);
    dialog.TestHooks().jobFile = [&](bool) { return path; };
    dialog.UrlCombo()->setEditText(QStringLiteral("http://saved.example/start.htm"));
    dialog.FollowBox()->setChecked(true);
    dialog.LevelEdit()->setText(QStringLiteral("3"));
    dialog.FollowMustEdit()->setText(QStringLiteral("saved"));
    dialog.SaveJob();
    EXPECT_EQ(Messages().back(), "LinkTrawl: Job saved !");

    dialog.UrlCombo()->setEditText(QStringLiteral("http://other.example/"));
    dialog.LevelEdit()->setText(QStringLiteral("0"));
    dialog.FollowMustEdit()->clear();
    dialog.LoadJob();
    EXPECT_EQ(dialog.UrlCombo()->currentText(), QStringLiteral("http://saved.example/start.htm"));
    EXPECT_EQ(dialog.LevelEdit()->text(), QStringLiteral("3"));
    EXPECT_EQ(dialog.FollowMustEdit()->text(), QStringLiteral("saved"));
    EXPECT_TRUE(dialog.FollowBox()->isChecked());

    // A settings file is not a job.
    std::ofstream(dir.filePath(QStringLiteral("s.lts")).toStdString()) << "[LTSfile]\r\nU0=2\r\n";
    dialog.TestHooks().jobFile = [&](bool) { return dir.filePath(QStringLiteral("s.lts")); };
    dialog.LoadJob();
    EXPECT_EQ(Messages().back(), "LinkTrawl: No Search Settings found !");
}

// A desktop of two levels held in memory.
class TwoLevelDesktop : public DesktopWindows
{
public:
    explicit TwoLevelDesktop(std::vector<std::string> names) : m_names(std::move(names)) {}
    std::vector<DesktopWindowId> TopLevel() override
    {
        std::vector<DesktopWindowId> ids;
        for (std::size_t i = 0; i < m_names.size(); ++i)
            ids.push_back(static_cast<DesktopWindowId>(i + 1));
        return ids;
    }
    std::vector<DesktopWindowId> Children(DesktopWindowId) override { return {}; }
    DesktopWindowId Parent(DesktopWindowId) override { return 0; }
    std::string Name(DesktopWindowId w) override { return m_names[w - 1]; }
    uint32_t Pid(DesktopWindowId) override { return 1; }

private:
    std::vector<std::string> m_names;
};

TEST_F(CrawlWindowTest, PasteFromPanesTakesOneUrlOrOffersAMenu)
{
    const std::string longUrl = "http://www.example.com/alpha/beta/gamma/delta/epsilon/zeta/index.html";
    struct Case
    {
        std::vector<std::string> names;
        std::vector<std::string> menu; // empty: no menu
        std::string field;
    };
    const Case cases[] = {
        {{"Editor", "http://one.example/page"}, {}, "http://one.example/page"},
        {{"Editor"}, {}, "unchanged"},
        {{"http://one.example/page", longUrl},
         {"http://one.example/page", "http://www.example.com/alpha/beta/gamma.../index.html"},
         longUrl},
    };
    for (const Case& c : cases) {
        InetDialog dialog(app);
        dialog.UrlCombo()->setEditText(QStringLiteral("unchanged"));
        dialog.TestHooks().desktop = [&] { return std::make_unique<TwoLevelDesktop>(c.names); };
        std::vector<std::string> shown;
        dialog.TestHooks().showMenu = [&](QMenu& menu) {
            for (QAction* action : menu.actions())
                shown.push_back(action->text().toStdString());
            menu.actions().back()->trigger();
        };
        dialog.PasteFromPanes();
        EXPECT_EQ(shown, c.menu);
        EXPECT_EQ(dialog.UrlCombo()->currentText().toStdString(), c.field);
    }
}

} // namespace
} // namespace lt
