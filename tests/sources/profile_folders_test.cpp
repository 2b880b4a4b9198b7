// SPDX-License-Identifier: GPL-3.0-or-later
#include "sources/profile_folders.h"

#include "sources_fixture.h"

namespace lt {
namespace {

class SpecialFoldersTest : public test::SourcesTest
{
};

TEST_F(SpecialFoldersTest, FoundOnceEachAndFillingTheEmptyHistoryPlaces)
{
    const std::string shell = "\n[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Explorer\\\\Shell Folders] 1\n";
    tree.Write("user.reg", test::RegHeader() + shell + "\"Cookies\"=\"C:\\\\users\\\\u\\\\Favorites\"\n"
                                                       "\"Favorites\"=\"C:\\\\users\\\\u\\\\Favorites\"\n"
                                                       "\"Recent\"=\"C:\\\\users\\\\u\\\\Recent\"\n");
    ::setenv("HOME", tree.Path("home").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", tree.Path("home/.config").c_str(), 1);
    const SpecialFolders found = FindSpecialFolders(app);
    const std::string fav = tree.Path("dosdevices/c:/users/u/Favorites");
    const std::string recent = tree.Path("dosdevices/c:/users/u/Recent");
    EXPECT_EQ(found.favorites, fav);
    EXPECT_EQ(found.cookies, fav);
    EXPECT_EQ(found.historyLabel, "Visited:");
    // Personal falls back to the XDG documents folder, which this home does not have.
    EXPECT_EQ(found.table, (std::vector<std::string>{fav, recent}));

    History folders{"/data", "", recent, ""};
    FillFolderHistory(folders, found.table);
    EXPECT_EQ(folders, (History{"/data", fav, recent, "", "", "", ""}));
}

} // namespace
} // namespace lt
