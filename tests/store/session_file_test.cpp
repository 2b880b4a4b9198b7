// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/session_file.h"

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "program_files.h"

#include "core/app_state.h"
#include "list/list_kind.h"
#include "recording_ui_port.h"
#include "store/settings_io.h"

namespace lt {
namespace {

using testing_support::ReadAll;

namespace fs = std::filesystem;

void WriteAll(const fs::path& p, const std::string& bytes)
{
    std::ofstream(p, std::ios::binary) << bytes;
}

// 2024-06-05 09:03:01 UTC.
constexpr std::time_t kWhen = 1717578181;

class SessionFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        setenv("TZ", "UTC", 1);
        tzset();
        m_dir = fs::temp_directory_path() / ("lt-session-" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
        app.list.SetAutoSort(AutoSort::Off);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    void Columns(const std::vector<std::string>& headers)
    {
        std::vector<ColumnState> cols;
        for (const auto& h : headers) {
            ColumnState c;
            c.header = h;
            cols.push_back(c);
        }
        app.list.SetColumns(cols);
    }
    void Row(std::vector<std::string> cells)
    {
        ResultRow row;
        row.cells = std::move(cells);
        app.list.InsertRow(std::move(row));
    }
    std::vector<SessionRow> Load(const fs::path& p, SessionHeader* header = nullptr)
    {
        SessionReader reader;
        std::string error;
        std::vector<SessionRow> rows;
        EXPECT_TRUE(reader.Open(p.string(), error)) << error;
        if (header != nullptr)
            *header = reader.Header();
        EXPECT_TRUE(reader.ReadRows(
            [&](SessionRow& r) {
                rows.push_back(r);
                return true;
            },
            error));
        return rows;
    }
    fs::path File(const std::string& name) const { return m_dir / name; }

    RecordingUiPort port;
    AppState app{port};
    fs::path m_dir;
};

// The settings part of a hand-made session with the given rows block.
std::string Session(const std::string& settings, const std::string& rows)
{
    return "[LinkTrawl Session file]\r\n\r\n\r\n[LTSfile]\r\n\r\nU0=3\r\nU2=2" + settings + "\r\n\r\n[ROWS]\r\n" + rows;
}

TEST_F(SessionFileTest, SmallListMatchesTheGoldenFile)
{
    Columns({"Url", "Title", "File"});
    app.listState.kind = kListFileSearch;
    app.settings.mustText = "linux";
    Row({"http://a.example/", "A page", "/home/u/a.htm"});
    Row({"ftp://b.example/x.zip", "", "/home/u/b.txt"});
    Row({"", "Title only", ""});
    const fs::path out = File("small.ltn");
    ASSERT_EQ(WriteList(app, app.list, out.string(), kSessionAllRows, nullptr, kWhen), 3);
    const std::string golden = ReadAll(fs::path(LINKTRAWL_TEST_DATA) / "sessions" / "small.ltn");
    if (std::getenv("LT_UPDATE_GOLDEN") != nullptr)
        WriteAll(fs::path(LINKTRAWL_TEST_DATA) / "sessions" / "small.ltn", ReadAll(out));
    EXPECT_EQ(ReadAll(out), golden);
}

TEST_F(SessionFileTest, TimeTextHasTheAsctimeForm)
{
    EXPECT_EQ(SessionTimeText(kWhen), "Wed Jun  5 09:03:01 2024");
    EXPECT_EQ(SessionTimeText(kWhen + 10 * 86400).size(), 24u);
}

TEST_F(SessionFileTest, RowsAndHeadersComeBackForEveryColumnCount)
{
    for (int n : {1, 3, 6}) {
        SCOPED_TRACE(n);
        std::vector<std::string> headers, cells;
        for (int c = 0; c < n; ++c) {
            headers.push_back("H" + std::to_string(c));
            cells.push_back("cell " + std::to_string(c));
        }
        app.list.ClearRows();
        Columns(headers);
        Row(cells);
        Row({"only first"});
        const fs::path out = File("n.ltn");
        ASSERT_EQ(WriteList(app, app.list, out.string(), kSessionAllRows), 2);
        SessionHeader h;
        const auto rows = Load(out, &h);
        EXPECT_EQ(h.columns, n);
        EXPECT_EQ(h.headers, headers);
        ASSERT_EQ(rows.size(), 2u);
        for (int c = 0; c < 6; ++c)
            EXPECT_EQ(rows[0][static_cast<std::size_t>(c)], c < n ? cells[static_cast<std::size_t>(c)] : "");
        EXPECT_EQ(rows[1][0], "only first");
    }
}

TEST_F(SessionFileTest, EveryListKindsColumnSetComesBack)
{
    for (int kind = 0; kind <= kListParsedText; ++kind) {
        if (kind == 17)
            continue;
        SCOPED_TRACE(kind);
        SwitchListKind(app, kind);
        if (app.list.ColumnCount() > 6 || app.list.ColumnCount() < 1)
            continue;
        const int n = app.list.ColumnCount();
        std::vector<std::string> cells;
        for (int c = 0; c < n; ++c)
            cells.push_back("k" + std::to_string(kind) + "c" + std::to_string(c));
        Row(cells);
        const fs::path out = File("kind.ltn");
        ASSERT_EQ(WriteList(app, app.list, out.string(), kSessionAllRows), 1);
        SessionHeader h;
        const auto rows = Load(out, &h);
        EXPECT_EQ(h.listKind, kind);
        ASSERT_EQ(h.headers.size(), static_cast<std::size_t>(n));
        for (int c = 0; c < n; ++c)
            EXPECT_EQ(h.headers[static_cast<std::size_t>(c)], app.list.GetHeaderText(c).substr(0, 63));
        ASSERT_EQ(rows.size(), 1u);
        for (int c = 0; c < n; ++c)
            EXPECT_EQ(rows[0][static_cast<std::size_t>(c)], cells[static_cast<std::size_t>(c)]);
    }
}

TEST_F(SessionFileTest, NothingIsWrittenForNoColumnsTooManyColumnsOrNoRows)
{
    const fs::path out = File("old.ltn");
    WriteAll(out, "old");
    Columns({});
    EXPECT_EQ(WriteList(app, app.list, out.string(), kSessionAllRows), 0);
    Columns({"1", "2", "3", "4", "5", "6", "7"});
    Row({"a"});
    EXPECT_EQ(WriteList(app, app.list, out.string(), kSessionAllRows), 0);
    Columns({"Url"});
    EXPECT_EQ(WriteList(app, app.list, out.string(), kSessionSelectedRows), 0); // none selected
    app.list.ClearRows();
    EXPECT_EQ(WriteList(app, app.list, out.string(), kSessionAllRows), 0);
    EXPECT_EQ(ReadAll(out), "old");
    EXPECT_EQ(fs::directory_iterator(m_dir)->path(), out); // no temporary left behind
}

TEST_F(SessionFileTest, SelectedRowsOnly)
{
    Columns({"Url"});
    for (const char* t : {"a", "b", "c", "d"})
        Row({t});
    app.list.SetSelectedRows({1, 3});
    const fs::path out = File("sel.ltn");
    ASSERT_EQ(WriteList(app, app.list, out.string(), kSessionSelectedRows), 2);
    const auto rows = Load(out);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][0], "b");
    EXPECT_EQ(rows[1][0], "d");
}

TEST_F(SessionFileTest, EmptyFirstCellKeepsItsRowAndLineBreaksInCellsAreBlanked)
{
    Columns({"Url", "Title"});
    Row({"a", "first"});
    Row({"", "second"});
    Row({"x\r\n02forged", "t\nu"});
    app.settings.mustText = "m\r\n[ROWS]\r\n01forged";
    const fs::path out = File("cells.ltn");
    ASSERT_EQ(WriteList(app, app.list, out.string(), kSessionAllRows), 3);
    const auto rows = Load(out);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1][0], "");
    EXPECT_EQ(rows[1][1], "second");
    EXPECT_EQ(rows[2][0], "x  02forged");
    EXPECT_EQ(rows[2][1], "t u");
}

TEST_F(SessionFileTest, ReaderToleratesWhatOldAndDamagedFilesHold)
{
    const std::string cell259(259, 'x');
    const std::string cell260(260, 'y');
    struct Case
    {
        const char* name;
        std::string bytes;
        std::vector<std::string> firstCells; // column 0 of each row read
        std::vector<std::string> secondCells;
    } cases[] = {
        // A settings value holding "[ROWS]" does not start the rows.
        {"rows in value", Session("\r\n\r\n[OPTIONS]\r\n\r\nR1=[ROWS]\r\n01forged", "01a\r\n"), {"a"}, {""}},
        // A line numbered outside 1..6 is skipped alone.
        {"07 line", Session("", "01a\r\n07junk\r\n02t\r\n01b\r\nzz\r\n02u\r\n"), {"a", "b"}, {"t", "u"}},
        {"LF only", Session("", "01a\n02t\n01b\n"), {"a", "b"}, {"t", ""}},
        {"stray CR", Session("", "01a\rb\r\n02t\r\r\n"), {"a b"}, {"t "}},
        {"no final line end", Session("", "01a\r\n01b"), {"a", "b"}, {"", ""}},
        {"259 and 260", Session("", "01" + cell259 + "\r\n01" + cell260 + "\r\n02t\r\n"), {cell259, ""}, {"", "t"}},
        // Files of the older program: only "01" starts a row, so cells merge as they did.
        {"no 01 line", Session("", "01a\r\n02t\r\n02u\r\n"), {"a"}, {"u"}},
        {"no rows", Session("", ""), {}, {}},
        {"older file without U0", "[X]\r\nk=v\r\n[ROWS]\r\n01a\r\n", {"a"}, {""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path p = File("case.ltn");
        WriteAll(p, c.bytes);
        const auto rows = Load(p);
        ASSERT_EQ(rows.size(), c.firstCells.size());
        for (std::size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(rows[i][0], c.firstCells[i]);
            EXPECT_EQ(rows[i][1], c.secondCells[i]);
        }
        IniFile ini;
        std::vector<SessionRow> parsed;
        EXPECT_TRUE(ParseSessionBytes(c.bytes, ini, parsed));
        EXPECT_EQ(parsed, rows);
    }
}

TEST_F(SessionFileTest, FilesThatAreNotSessionsAreRefused)
{
    const std::string refused[] = {
        "[LTSfile]\r\nU0=2\r\n[OPTIONS]\r\nR1=x\r\n",            // a settings file
        "[LTSfile]\r\nU0=4\r\n[ROWS]\r\n01a\r\n",                // a job file, even with rows
        "[OPTIONS]\r\nR1=x\r\n",                                 // any INI file
        "",                                                      // empty
    };
    for (const std::string& bytes : refused) {
        const fs::path p = File("not.ltn");
        WriteAll(p, bytes);
        SessionReader reader;
        std::string error;
        EXPECT_FALSE(reader.Open(p.string(), error)) << bytes;
        EXPECT_NE(error, "");
    }
    SessionReader reader;
    std::string error;
    EXPECT_FALSE(reader.Open("/dev/zero", error));
    EXPECT_FALSE(reader.Open(File("missing.ltn").string(), error));
}

TEST_F(SessionFileTest, LargeSessionStreamsThrough)
{
    Columns({"Url", "Title", "File"});
    app.list.Modify([](std::vector<ResultRow>& rows) {
        for (int i = 0; i < 100000; ++i) {
            ResultRow r;
            r.cells = {"http://www.example.com/some/long/path/page" + std::to_string(i) + ".htm",
                       "A title for page " + std::to_string(i), "/home/user/documents/file.htm"};
            rows.push_back(std::move(r));
        }
    });
    const fs::path out = File("large.ltn");
    ASSERT_EQ(WriteList(app, app.list, out.string(), kSessionAllRows), 100000);
    EXPECT_GT(fs::file_size(out), 10u << 20); // past the INI reader's limit and the block size
    const auto rows = Load(out);
    ASSERT_EQ(rows.size(), 100000u);
    EXPECT_EQ(rows[99999][0], "http://www.example.com/some/long/path/page99999.htm");
    EXPECT_EQ(rows[99999][1], "A title for page 99999");
}

// A write that fails half way (the file-size limit of a child process) leaves the old session.
TEST_F(SessionFileTest, FailedWriteKeepsTheOldFile)
{
    Columns({"Url"});
    app.list.Modify([](std::vector<ResultRow>& rows) {
        for (int i = 0; i < 20000; ++i) {
            ResultRow r;
            r.cells = {"http://example.com/" + std::to_string(i)};
            rows.push_back(std::move(r));
        }
    });
    const fs::path out = File("keep.ltn");
    WriteAll(out, "old session");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{100000, 100000};
        setrlimit(RLIMIT_FSIZE, &limit);
        std::string error;
        const long result = WriteList(app, app.list, out.string(), kSessionAllRows, &error);
        _exit(result == -1 && !error.empty() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(ReadAll(out), "old session");
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 1);
}

} // namespace
} // namespace lt
