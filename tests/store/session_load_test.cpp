// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/session_load.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include <gtest/gtest.h>

#include "core/app_state.h"
#include "list/list_kind.h"
#include "recording_ui_port.h"
#include "store/session_file.h"
#include "store/settings_io.h"
#include "store/temp_file.h"

namespace lt {
namespace {

namespace fs = std::filesystem;

void WriteAll(const fs::path& p, const std::string& bytes)
{
    std::ofstream(p, std::ios::binary) << bytes;
}

class SessionLoadTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("lt-sload-" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
        app.options.tempFolder = m_dir.string();
        SwitchListKind(app, kListFileSearch);
    }
    void TearDown() override
    {
        JoinWorker(app);
        fs::remove_all(m_dir);
    }
    // A session of `kind` with rows "r0".."r{n-1}" (second cell "t" + number), saved from a
    // second program state so that this one stays as it was.
    fs::path Saved(const std::string& name, int kind, int n, const std::string& first = "r")
    {
        RecordingUiPort otherPort;
        AppState other(otherPort);
        SwitchListKind(other, kind);
        other.list.SetAutoSort(AutoSort::Off);
        other.settings.mustText = "saved filter";
        for (int i = 0; i < n; ++i) {
            ResultRow row;
            row.cells = {first + std::to_string(i), "t" + std::to_string(i)};
            other.list.InsertRow(std::move(row));
        }
        const fs::path p = m_dir / name;
        EXPECT_EQ(WriteList(other, other.list, p.string(), kSessionAllRows), n);
        return p;
    }
    bool Load(const fs::path& p, bool append, SessionSource source = SessionSource::User)
    {
        const bool started = StartLoadSession(app, p.string(), append, source);
        JoinWorker(app);
        return started;
    }
    void AddRow(const std::string& text)
    {
        ResultRow row;
        row.cells = {text};
        app.list.InsertRow(std::move(row));
    }

    RecordingUiPort port;
    AppState app{port};
    fs::path m_dir;
};

TEST_F(SessionLoadTest, LoadReplacesListKindAndSettings)
{
    AddRow("old");
    const fs::path p = Saved("fav.ltn", kListFavorites, 3);
    ASSERT_TRUE(Load(p, false));
    EXPECT_EQ(app.listState.kind, kListFavorites);
    ASSERT_EQ(app.list.RowCount(), 3u);
    EXPECT_EQ(app.list.GetCell(0, 0), "r0");
    EXPECT_EQ(app.list.GetCell(2, 1), "t2");
    EXPECT_EQ(app.list.GetHeaderText(3), "Date");
    EXPECT_EQ(app.settings.mustText, "saved filter");
    EXPECT_EQ(port.LastMessage().text, "3 Items found !");
    EXPECT_EQ(port.Pane(0), p.string());
    EXPECT_EQ(port.Pane(1).rfind("Session from ", 0), 0u);
    EXPECT_EQ(app.jobs.Code(), kJobIdle);
}

TEST_F(SessionLoadTest, AppendKeepsKindAndColumnsAndAddsAtTheEnd)
{
    app.list.SetAutoSort(AutoSort::Off);
    AddRow("zz-old");
    const fs::path p = Saved("append.ltn", kListFavorites, 2);
    ASSERT_TRUE(Load(p, true));
    EXPECT_EQ(app.listState.kind, kListFileSearch);
    EXPECT_EQ(app.list.ColumnCount(), 3);
    ASSERT_EQ(app.list.RowCount(), 3u);
    EXPECT_EQ(app.list.GetCell(0, 0), "zz-old");
    EXPECT_EQ(app.list.GetCell(2, 0), "r1");
    EXPECT_NE(port.LastMessage().text.find("added."), std::string::npos);
    EXPECT_NE(app.settings.mustText, "saved filter");
}

TEST_F(SessionLoadTest, FileThatIsNotASessionChangesNothing)
{
    AddRow("keep me");
    app.settings.mustText = "mine";
    const fs::path lts = m_dir / "settings.lts";
    WriteAll(lts, "[LTSfile]\r\nU0=2\r\n[OPTIONS]\r\nR1=theirs\r\nR14=15\r\n");
    for (bool append : {false, true}) {
        EXPECT_FALSE(Load(lts, append));
        EXPECT_EQ(port.LastMessage().text, kLoadSessionFailed);
        EXPECT_EQ(app.list.RowCount(), 1u);
        EXPECT_EQ(app.settings.mustText, "mine");
        EXPECT_EQ(app.listState.kind, kListFileSearch);
    }
    EXPECT_FALSE(Load(m_dir / "missing.ltn", false));
    EXPECT_EQ(port.LastMessage().text, "Could Not Open or Create File " + (m_dir / "missing.ltn").string() + " !");
    EXPECT_EQ(app.list.RowCount(), 1u);
}

TEST_F(SessionLoadTest, SessionWithoutRowsGivesAnEmptyListAndNoCount)
{
    AddRow("old");
    const fs::path p = m_dir / "empty.ltn";
    WriteAll(p, "[LinkTrawl Session file]\r\n\r\n\r\n[LTSfile]\r\n\r\nU0=3\r\n\r\n\r\n[ROWS]\r\n");
    const std::size_t before = port.MessageCount();
    ASSERT_TRUE(Load(p, false));
    EXPECT_EQ(app.list.RowCount(), 0u);
    EXPECT_EQ(port.MessageCount(), before);
}

TEST_F(SessionLoadTest, UnknownKindLoadsAsFileSearchAndForeignTempFolderIsIgnored)
{
    const fs::path p = m_dir / "odd.ltn";
    WriteAll(p, "[LTSfile]\r\nU0=3\r\nU2=1\r\nH0=X\r\n[DIRS]\r\nTEMPO=C:\\WINDOWS\\TEMP\r\n[OPTIONS]\r\nR14=17\r\n"
                "[ROWS]\r\n01b\r\n01a\r\n");
    const std::string temp = app.options.tempFolder;
    const fs::path cwd = fs::current_path();
    fs::current_path(m_dir);
    app.list.SetAutoSort(AutoSort::Off);
    app.sorting.mainSortedByUrl.store(true);
    ASSERT_TRUE(Load(p, false));
    fs::current_path(cwd);
    EXPECT_EQ(app.listState.kind, kListFileSearch);
    EXPECT_EQ(app.options.tempFolder, temp);
    EXPECT_FALSE(fs::exists(m_dir / "C:\\WINDOWS\\TEMP"));
    // Rows loaded out of order turn the domain commands' order flag off.
    EXPECT_FALSE(app.sorting.mainSortedByUrl.load());
}

TEST_F(SessionLoadTest, OnlyOwnHandoffFilesAreDeleted)
{
    const fs::path users = Saved("users.ltn", kListFileSearch, 2);
    ASSERT_TRUE(Load(users, false, SessionSource::Handoff));
    EXPECT_EQ(app.list.RowCount(), 2u);
    EXPECT_TRUE(fs::exists(users));

    std::string path, error;
    const int fd = CreateTempFile(app.options.tempFolder, kHandoffStem, kHandoffExtension, path, error);
    ASSERT_GE(fd, 0) << error;
    ::close(fd);
    fs::copy_file(users, path, fs::copy_options::overwrite_existing);
    const std::size_t before = port.MessageCount();
    ASSERT_TRUE(Load(path, false, SessionSource::HandoffBatch));
    EXPECT_FALSE(fs::exists(path));
    EXPECT_EQ(port.MessageCount(), before); // no count box for a hand-over
    bool batch = false;
    for (const auto& post : port.Posts())
        batch = batch || post.message == 2402;
    EXPECT_TRUE(batch);
}

TEST_F(SessionLoadTest, StopEndsALongLoadWithoutTheCountMessage)
{
    const fs::path p = Saved("long.ltn", kListFileSearch, 300000);
    const std::size_t before = port.MessageCount();
    ASSERT_TRUE(StartLoadSession(app, p.string(), false));
    app.jobs.jobCode.store(kJobIdle); // what "S&top Search" does to a list job
    JoinWorker(app);
    EXPECT_LT(app.list.RowCount(), 300000u);
    EXPECT_EQ(port.MessageCount(), before);
}

TEST_F(SessionLoadTest, SaveReportsSuccessAndFailure)
{
    AddRow("a");
    const fs::path p = m_dir / "saved.ltn";
    EXPECT_EQ(SaveSessionCommand(app, p.string()), 1);
    EXPECT_EQ(port.LastMessage().text, kSessionSaved);
    EXPECT_EQ(SaveSessionCommand(app, (m_dir / "saved.ltn" / "x.ltn").string()), -1); // parent is a file
    EXPECT_EQ(port.LastMessage().text, kSaveSessionFailed);
}

} // namespace
} // namespace lt
