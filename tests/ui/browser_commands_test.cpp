// SPDX-License-Identifier: GPL-3.0-or-later
// The browser-data commands through the window, against a Wine-like prefix.
#include <QDialog>
#include <QMenu>
#include <QTableView>

#include <filesystem>
#include <memory>

#include "core/command_ids.h"
#include "platform/wine_prefix_tree.h"
#include "ui/history_combo.h"
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

} // namespace
} // namespace lt::test
