// SPDX-License-Identifier: GPL-3.0-or-later
// The browser-data commands through the window, against a Wine-like prefix.
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QTableView>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "core/command_ids.h"
#include "search/search_settings.h"
#include "platform/wine_prefix_tree.h"
#include "ui/history_combo.h"
#include "ui/index_file_dialog.h"
#include "window_fixture.h"

namespace lt::test {
namespace {

const std::string kHeader = "WINE REGISTRY Version 2\n;; All keys relative to \\\\User\\\\S-1-5-21-0-0-0-1000\n\n";

class BrowserCommandsTest : public WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        tree.Write("user.reg",
                   kHeader +
                       "\n[Software\\\\Microsoft\\\\Internet Explorer\\\\TypedURLs] 1\n\"url1\"=\"http://typed.example/\"\n"
                       "\n[Software\\\\Microsoft\\\\RAS Autodial\\\\Addresses\\\\www.ras.example] 1\n"
                       "\"LastModified\"=hex:00,e1,f5,05\n"
                       "\n[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Explorer\\\\Shell Folders] 1\n"
                       "\"Favorites\"=\"C:\\\\users\\\\u\\\\Favorites\"\n");
        tree.Write("system.reg", kHeader + "\n[Software\\\\Microsoft\\\\Internet Explorer\\\\AboutURLs] 1\n"
                                           "\"blank\"=\"res://about.example/blank.htm\"\n");
        tree.Write("drive_c/users/u/Favorites/Site.url", "[InternetShortcut]\r\nURL=http://fav.example/x\r\n");
        tree.Write("drive_c/users/u/Favorites/Other.url", "[InternetShortcut]\r\nURL=http://other.example/\r\n");
        app.options.winePrefix = tree.Path();
        answer = MsgAnswer::Yes;
        // The favorites dialog is answered with "fav".
        window->TestHooks().execDialog = [](QDialog& dialog) {
            if (auto* combo = dialog.findChild<HistoryCombo*>())
                combo->setEditText(QStringLiteral("fav"));
            return int(QDialog::Accepted);
        };
    }

    bool Listed(const std::string& text) const
    {
        for (const std::string& cell : Column0())
            if (cell.find(text) != std::string::npos)
                return true;
        return false;
    }

    WinePrefixTree tree;
};

TEST_F(BrowserCommandsTest, CommandsFillTheListFromThePrefix)
{
    struct Case
    {
        int id;
        int kind;
        const char* listed;
        const char* absent;
    };
    const Case cases[] = {
        {kCmdTypedUrlsIe, kListIeTyped, "http://typed.example/", "res://"},
        {kCmdEditAboutUrls, kListAboutUrls, "res://about.example/blank.htm", "typed.example"},
        {kCmdRasAutodial, 13, "http://www.ras.example", "typed.example"},
        {kCmdSearchFavorites, 14, "http://fav.example/x", "other.example"},
    };
    // The favorites search replaces the item kind for its walk only.
    app.settings.itemKind = kItemEmail;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        ASSERT_TRUE(window->RunCommand(c.id));
        ASSERT_TRUE(WaitIdle());
        EXPECT_EQ(app.listState.kind, c.kind);
        EXPECT_TRUE(Listed(c.listed));
        EXPECT_FALSE(Listed(c.absent));
        // The view follows the list, also after a worker job.
        EXPECT_TRUE(WaitFor([&] { return window->Model()->rowCount() == static_cast<int>(app.list.RowCount()); }));
    }
    EXPECT_EQ(app.find.findHistory[0], "fav");
    EXPECT_TRUE(WaitFor([&] { return app.settings.itemKind == kItemEmail; }));
}

TEST_F(BrowserCommandsTest, DeletingAFavoriteFileKeepsTheRowAndRemovesTheFile)
{
    ASSERT_TRUE(window->RunCommand(kCmdSearchFavorites));
    ASSERT_TRUE(WaitIdle());
    ASSERT_EQ(app.list.RowCount(), 1u);
    ASSERT_TRUE(WaitFor([&] { return window->Model()->rowCount() == 1 && window->CanRun(kCmdDeleteUrlFiles); }));
    window->View()->selectRow(0);
    // The favorites list offers its delete in the row menu, enabled now that it has a performer.
    std::unique_ptr<QMenu> menu(window->BuildRowContextMenu());
    bool offered = false;
    for (QMenu* sub : menu->findChildren<QMenu*>())
        for (QAction* action : sub->actions())
            offered = offered || (action->data().toInt() == kCmdDeleteUrlFiles && action->isEnabled());
    for (QAction* action : menu->actions())
        offered = offered || (action->data().toInt() == kCmdDeleteUrlFiles && action->isEnabled());
    EXPECT_TRUE(offered);
    ASSERT_TRUE(window->RunCommand(kCmdDeleteUrlFiles));
    EXPECT_FALSE(std::filesystem::exists(tree.Path("drive_c/users/u/Favorites/Site.url")));
    EXPECT_TRUE(std::filesystem::exists(tree.Path("drive_c/users/u/Favorites/Other.url")));
    EXPECT_EQ(app.list.RowCount(), 1u);
}

std::string FileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Each write-back changes the file it names, and only what it names.
TEST_F(BrowserCommandsTest, WriteBacksReachTheProfileFiles)
{
    tree.Write("drive_c/users/u/Netscape/prefs.js", "user_pref(\"browser.startup.page\", 1);\n"
                                                 "user_pref(\"browser.url_history.URL_1\", \"http://old.example/\");\n");
    tree.Write("drive_c/users/u/Netscape/bookmarks.htm", "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n");
    app.options.netscapeBookmarks = tree.Path("drive_c/users/u/Netscape/bookmarks.htm");

    // Each list is read first: the write-back goes where its list came from.
    ASSERT_TRUE(window->RunCommand(kCmdTypedUrlsIe));
    app.list.DeleteRows({0});
    AddRows({"http://new.example/a", "http://new.example/b"});
    ASSERT_TRUE(window->RunCommand(kCmdSaveToIeTyped));
    const std::string user = FileText(tree.Path("user.reg"));
    EXPECT_NE(user.find("\"url1\"=\"http://new.example/a\""), std::string::npos) << user;
    EXPECT_NE(user.find("\"url2\"=\"http://new.example/b\""), std::string::npos);
    EXPECT_EQ(user.find("typed.example"), std::string::npos);
    EXPECT_NE(user.find("www.ras.example"), std::string::npos) << "other keys are kept";

    ASSERT_TRUE(window->RunCommand(kCmdTypedUrlsNetscape));
    ASSERT_EQ(Column0(), std::vector<std::string>{"http://old.example/"});
    app.list.DeleteRows({0});
    AddRows({"http://new.example/a"});
    ASSERT_TRUE(window->RunCommand(kCmdSaveToNetscapeTyped));
    const std::string prefs = FileText(tree.Path("drive_c/users/u/Netscape/prefs.js"));
    EXPECT_NE(prefs.find("user_pref(\"browser.url_history.URL_1\", \"http://new.example/a\");"), std::string::npos)
        << prefs;
    EXPECT_NE(prefs.find("browser.startup.page"), std::string::npos);

    ASSERT_TRUE(window->RunCommand(kCmdRasAutodial));
    ASSERT_EQ(app.list.RowCount(), 1u);
    ASSERT_TRUE(WaitFor([&] { return window->Model()->rowCount() == 1; }));
    window->View()->selectRow(0);
    ASSERT_TRUE(window->RunCommand(kCmdDeleteFromRegistry));
    EXPECT_EQ(FileText(tree.Path("user.reg")).find("www.ras.example"), std::string::npos);
    EXPECT_EQ(app.list.RowCount(), 0u);
}

// The index-file command asks the kind first; a cancelled dialog reads nothing, the chosen kind
// and labels are kept for the next time.
TEST_F(BrowserCommandsTest, IndexFileDialogChoosesTheKindAndLabels)
{
    int asked = 0;
    window->TestHooks().pickFiles = [&] {
        ++asked;
        return QStringList{QString::fromStdString(tree.Path("missing.dat"))};
    };
    window->TestHooks().execDialog = [](QDialog&) { return int(QDialog::Rejected); };
    ASSERT_TRUE(window->RunCommand(kCmdHistoryIndexFile));
    EXPECT_EQ(asked, 0);

    window->TestHooks().execDialog = [](QDialog& dialog) {
        auto& index = dynamic_cast<IndexFileDialog&>(dialog);
        EXPECT_FALSE(index.HistoryLabelEdit()->isEnabled());
        index.KindButton(3)->setChecked(true);
        EXPECT_TRUE(index.HistoryLabelEdit()->isEnabled());
        EXPECT_FALSE(index.CookieLabelEdit()->isEnabled());
        index.HistoryLabelEdit()->setText(QString(70, QLatin1Char('L')));
        index.accept();
        return int(QDialog::Accepted);
    };
    ASSERT_TRUE(window->RunCommand(kCmdHistoryIndexFile));
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(app.sources.dialogKind, 3);
    EXPECT_EQ(app.sources.historyLabel, std::string(63, 'L'));
    WaitIdle();
}

} // namespace
} // namespace lt::test
