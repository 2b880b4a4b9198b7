// SPDX-License-Identifier: GPL-3.0-or-later
#include "sources/favorites_search.h"

#include <filesystem>

#include "core/job_control.h"
#include "list/list_state.h"
#include "sources_fixture.h"

namespace lt {
namespace {

class FavoritesSearchTest : public test::SourcesTest
{
protected:
    FavoritesSearchTest()
    {
        tree.Write("user.reg", test::RegHeader() +
                                   "\n[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Explorer\\\\Shell Folders] 1\n"
                                   "\"Favorites\"=\"C:\\\\users\\\\u\\\\Favorites\"\n");
        const std::string fav = "drive_c/users/u/Favorites/";
        tree.Write(fav + "Alpha.url", "[InternetShortcut]\r\nURL=http://a.example/page\r\n"
                                      "IconFile=http://a.example/favicon.ico\r\n");
        tree.Write(fav + "Sub/Beta.URL", "[InternetShortcut]\r\nURL=https://b.example/\r\n");
        tree.Write(fav + "Sub/ftp.url", "[InternetShortcut]\r\nURL=ftp://files.example/pub\r\n");
        tree.Write(fav + "Link.lnk", std::string("L\0\0\0", 4) + "http://lnk.example/");
        tree.Write(fav + "notes.txt", "http://txt.example/");
        folder = tree.Path("dosdevices/c:/users/u/Favorites");
    }

    void Search(const std::string& text)
    {
        ASSERT_TRUE(SearchFavorites(app, text));
        JoinWorker(app);
        RunAfterJob(app);
    }

    std::string folder;
};

TEST_F(FavoritesSearchTest, ListsEveryShortcutUrlAndRestoresTheSettings)
{
    app.settings.itemKind = kItemEmail;
    app.settings.restrictEnabled = true;
    app.settings.mustText = "nothing";
    app.settings.mustNotText = "example";
    app.filterWords.must = {"nothing"};
    app.filterWords.mustNot = {"example"};
    EXPECT_EQ(FavoritesFolder(app), folder);
    Search("");
    EXPECT_EQ(app.listState.kind, kListFavorites);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"ftp://files.example/pub", "http://a.example/favicon.ico",
                                                   "http://a.example/page", "https://b.example"}));
    // A favorite in a sub-folder is named relative to the favorites folder with "/".
    EXPECT_EQ(Column(2), (std::vector<std::string>{"Sub/ftp.url", "Alpha.url", "Alpha.url", "Sub/Beta.URL"}));
    EXPECT_EQ(Column(1)[3], "Beta");
    EXPECT_FALSE(Column(3)[0].empty()); // the file's date
    EXPECT_EQ(app.settings.itemKind, kItemEmail);
    EXPECT_TRUE(app.settings.restrictEnabled);
    EXPECT_EQ(app.settings.mustNotText, "example");
    EXPECT_EQ(app.filterWords.must, (std::vector<std::string>{"nothing"}));
    EXPECT_EQ(app.find.findHistory[0], "");

    Search("B.EXAMPLE");
    EXPECT_EQ(Column(0), (std::vector<std::string>{"https://b.example"}));
    EXPECT_EQ(app.find.findHistory[0], "B.EXAMPLE");
}

TEST_F(FavoritesSearchTest, TooShortFolderStartsNothing)
{
    tree.Write("user.reg", test::RegHeader());
    app.options.msieFavorites = "/x";
    EXPECT_FALSE(SearchFavorites(app, ""));
    EXPECT_EQ(app.jobs.Code(), 0);
}

TEST_F(FavoritesSearchTest, DeletesOnlyUrlFilesInsideTheFolder)
{
    Search("");
    // Two rows of one file delete it once; both get the deleted icon.
    app.list.SetSelectedRows({1, 2});
    port.QueueAnswer(MsgAnswer::Yes);
    EXPECT_EQ(DeleteFavoriteFiles(app), 1);
    EXPECT_FALSE(std::filesystem::exists(folder + "/Alpha.url"));
    EXPECT_EQ(app.list.Icon(1), kIconDeleted);
    EXPECT_EQ(app.list.Icon(2), kIconDeleted);
    EXPECT_EQ(MessageTexts().back(), "1 File(s) deleted !");

    // Edited File cells never reach files outside the folder or files that are not shortcuts.
    tree.Write("drive_c/users/u/outside.url", "x");
    std::filesystem::create_directory_symlink(tree.Path("drive_c/users/u"), folder + "/Linked");
    SetRows({{"http://x/", "", "../outside.url"},
             {"http://x/", "", "Linked/outside.url"},
             {"http://x/", "", "notes.txt"},
             {"http://x/", "", "Sub"}});
    app.list.SetSelectedRows({0, 1, 2, 3});
    port.QueueAnswer(MsgAnswer::Yes);
    EXPECT_EQ(DeleteFavoriteFiles(app), 0);
    EXPECT_TRUE(std::filesystem::exists(tree.Path("drive_c/users/u/outside.url")));
    EXPECT_TRUE(std::filesystem::exists(folder + "/notes.txt"));
    EXPECT_EQ(FavoritePath("/f", "sub\\x.URL"), "/f/sub/x.URL");
    EXPECT_EQ(FavoritePath("/f", "/etc/x.url"), "");
    EXPECT_EQ(FavoritePath("/f", "a/../x.url"), "");
}

} // namespace
} // namespace lt
