// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "core/app_state.h"
#include "platform/wine_prefix_tree.h"
#include "platform/wine_server.h"
#include "recording_ui_port.h"

namespace lt::test {

// The first lines of a registry file as Wine writes them.
inline std::string RegHeader()
{
    return "WINE REGISTRY Version 2\n;; All keys relative to \\\\User\\\\S-1-5-21-0-0-0-1000\n\n#arch=win64\n";
}

// An engine state reading the Windows profile of a Wine-like prefix made for the test.
class SourcesTest : public ::testing::Test
{
protected:
    SourcesTest()
    {
        app.options.winePrefix = tree.Path();
        app.browserLists.wineServerRoot = tree.Path("tmp");
    }

    std::vector<std::vector<std::string>> Rows() const
    {
        std::vector<std::vector<std::string>> rows;
        const int columns = app.list.ColumnCount();
        app.list.ForEachRow([&rows, columns](std::size_t, const ResultRow& row) {
            std::vector<std::string> cells;
            for (int c = 0; c < columns; ++c)
                cells.push_back(row.Cell(c));
            rows.push_back(cells);
        });
        return rows;
    }
    std::vector<std::string> Column(int column) const
    {
        std::vector<std::string> cells;
        app.list.ForEachRow([&](std::size_t, const ResultRow& row) { cells.push_back(row.Cell(column)); });
        return cells;
    }
    std::vector<std::string> MessageTexts() const
    {
        std::vector<std::string> texts;
        for (const auto& m : port.Messages())
            texts.push_back(m.text);
        return texts;
    }
    void SetRows(const std::vector<std::vector<std::string>>& rows)
    {
        app.list.ClearRows();
        for (const auto& cells : rows) {
            ResultRow row;
            row.cells = cells;
            app.list.InsertRow(row);
        }
    }

    // Runs `body` while a child process holds the wineserver lock of the prefix.
    template <typename Body>
    void WhileWineRuns(Body body)
    {
        const std::string folder = WineServerFolder(tree.Path(), tree.Path("tmp"));
        std::filesystem::create_directories(folder);
        tree.Write(folder.substr(tree.Path().size() + 1) + "/lock", "");
        int ready[2], release[2];
        ASSERT_EQ(::pipe(ready), 0);
        ASSERT_EQ(::pipe(release), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const int fd = ::open((folder + "/lock").c_str(), O_RDWR);
            struct flock lock
            {
            };
            lock.l_type = F_WRLCK;
            lock.l_whence = SEEK_SET;
            lock.l_len = 1;
            ::fcntl(fd, F_SETLK, &lock);
            (void)!::write(ready[1], "y", 1);
            char c;
            (void)!::read(release[0], &c, 1);
            ::_exit(0);
        }
        char c;
        ASSERT_EQ(::read(ready[0], &c, 1), 1);
        body();
        (void)!::write(release[1], "x", 1);
        ::waitpid(child, nullptr, 0);
        for (int fd : {ready[0], ready[1], release[0], release[1]})
            ::close(fd);
    }

    WinePrefixTree tree;
    RecordingUiPort port;
    AppState app{port};
};

} // namespace lt::test
