// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/list_export.h"

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "export_fixture.h"

namespace lt {
namespace {

using testing::ExportFixture;

class TextExport : public ExportFixture
{
protected:
    TextExport()
    {
        SetColumns({"Url", "Title", "File"});
        app.listState.kind = kListFileSearch;
        app.search.description = "/data/pages/ (*.htm)";
    }
};

TEST_F(TextExport, SortedUrlsComeOutGroupedWithTheirTitlesBeneath)
{
    ExportColumns({1, 2});
    AddRow({"http://a.example/", "First", "/x/1.htm"});
    AddRow({"http://a.example/", "Second", "/x/2.htm"});
    AddRow({"http://a.example/", "Third", "/x/3.htm"});
    AddRow({"http://b.example/", "", "/x/4.htm"});
    AddRow({"http://c.example/", "Other", "/x/5.htm"});
    const std::string out = PathOf("out.txt");

    ASSERT_TRUE(ExportText(app, app.list, out, false, 0));
    EXPECT_EQ(ReadFile(out), "/data/pages/ (*.htm)\r\n\r\n"
                             "http://a.example/\r\n  First\r\n  Second\r\n  Third\r\n"
                             "http://b.example/\r\n"
                             "http://c.example/\r\n  Other\r\n");
    EXPECT_EQ(port.LastMessage().text, "5 Item(s) saved !");
}

TEST_F(TextExport, MoreThanTwoColumnsCarryTheirHeaders)
{
    ExportColumns({1, 2, 3});
    AddRow({"http://a.example/", "First", "/x/1.htm"});
    AddRow({"http://a.example/", "First", "/x/2.htm"});
    AddRow({"http://b.example/", "First", "/x/2.htm"});
    const std::string out = PathOf("out.txt");

    ASSERT_TRUE(ExportText(app, app.list, out, false, 0));
    // A further column is repeated under a new first column, and written alone when it changed.
    EXPECT_EQ(ReadFile(out), "/data/pages/ (*.htm)\r\n\r\n"
                             "http://a.example/\r\n  Title: First\r\n  File: /x/1.htm\r\n"
                             "  File: /x/2.htm\r\n"
                             "http://b.example/\r\n  Title: First\r\n  File: /x/2.htm\r\n");
}

TEST_F(TextExport, ColumnOrderDecidesTheGroupingColumn)
{
    ExportColumns({1, 3});
    app.exportSettings.order = "321";
    AddRow({"http://a.example/", "T", "/x/1.htm"});
    AddRow({"http://b.example/", "T", "/x/1.htm"});
    AddRow({"http://c.example/", "T", "/x/2.htm"});
    app.listState.kind = kListFileList; // no description header
    const std::string out = PathOf("out.txt");

    ASSERT_TRUE(ExportText(app, app.list, out, false, 0));
    EXPECT_EQ(ReadFile(out), "/x/1.htm\r\n  http://a.example/\r\n  http://b.example/\r\n"
                             "/x/2.htm\r\n  http://c.example/\r\n");
}

TEST_F(TextExport, OneColumnWritesEveryRowEvenRepeatedOnesButNoEmptyOnes)
{
    ExportColumns({1});
    AddRow({"same"});
    AddRow({"same"});
    AddRow({""});
    AddRow({"next"});
    app.listState.kind = kListCookieFiles;
    const std::string out = PathOf("out.txt");

    ASSERT_TRUE(ExportText(app, app.list, out, false, 0));
    EXPECT_EQ(ReadFile(out), "same\r\nsame\r\nnext\r\n");
    EXPECT_EQ(port.LastMessage().text, "3 Item(s) saved !");
}

TEST_F(TextExport, ParsedTextFileModeKeepsEmptyLines)
{
    ExportColumns({1});
    SetColumns({"A", "B", "C", "D", "E", "F"});
    AddRow({"one"});
    AddRow({""});
    AddRow({"two"});
    app.listState.kind = kListParsedText;
    app.listState.parseTextFileMode = true;
    const std::string out = PathOf("out.txt");

    ASSERT_TRUE(ExportText(app, app.list, out, false, 0));
    EXPECT_EQ(ReadFile(out), "one\r\n\r\ntwo\r\n");
}

TEST_F(TextExport, ExistingFileIsReplacedAppendedOrKeptAsAnswered)
{
    ExportColumns({1});
    app.listState.kind = kListFileList;
    AddRow({"row"});
    const std::string out = PathOf("a-rather-long-folder-name-for-wrapping/list.txt");
    std::filesystem::create_directories(std::filesystem::path(out).parent_path());
    WriteFile(out, "old\r\n");

    port.QueueAnswer(MsgAnswer::Cancel);
    EXPECT_FALSE(ExportText(app, app.list, out, false, 0));
    EXPECT_EQ(ReadFile(out), "old\r\n");
    const auto question = port.LastMessage();
    EXPECT_EQ(question.caption, "Save as");
    EXPECT_EQ(question.style.buttons, MsgButtons::ReplaceAppendCancel);
    EXPECT_NE(question.text.find("\nalready exists !"), std::string::npos);

    port.QueueAnswer(MsgAnswer::Append);
    ASSERT_TRUE(ExportText(app, app.list, out, false, 0));
    EXPECT_EQ(ReadFile(out), "old\r\n\r\nrow\r\n");

    port.QueueAnswer(MsgAnswer::Replace);
    ASSERT_TRUE(ExportText(app, app.list, out, false, 0));
    EXPECT_EQ(ReadFile(out), "row\r\n");

    // The callers that decided already are not asked.
    const std::size_t before = port.MessageCount();
    ASSERT_TRUE(ExportText(app, app.list, out, false, 0, ExistingFile::Append));
    ASSERT_TRUE(ExportText(app, app.list, out, false, 0, ExistingFile::Append));
    EXPECT_EQ(ReadFile(out), "row\r\n\r\nrow\r\n\r\nrow\r\n");
    const auto messages = port.Messages();
    for (std::size_t i = before; i < messages.size(); ++i)
        EXPECT_NE(messages[i].caption, "Save as");
}

TEST_F(TextExport, UnattendedRunReplacesSilentlyButStillReportsFailures)
{
    ExportColumns({1});
    app.startup.startAction = kStartSearchFolderSaveText;
    AddRow({"http://a.example/"});
    const std::string out = PathOf("unattended.txt");
    WriteFile(out, "old\r\n");

    ASSERT_TRUE(ExportText(app, app.list, out, false, 0));
    EXPECT_EQ(ReadFile(out), "/data/pages/ (*.htm)\r\n\r\nhttp://a.example/\r\n");
    EXPECT_EQ(port.MessageCount(), 0u);

    EXPECT_FALSE(ExportText(app, app.list, PathOf("missing/x.txt"), false, 0));
    EXPECT_EQ(port.MessageCount(), 1u);
    EXPECT_EQ(port.LastMessage().style.icon, MsgIcon::Error);
}

TEST_F(TextExport, AppendToAMissingFileStartsWithoutAnEmptyLine)
{
    ExportColumns({1});
    app.listState.kind = kListFileList;
    AddRow({"row"});
    const std::string out = PathOf("new.txt");
    ASSERT_TRUE(ExportText(app, app.list, out, false, 0, ExistingFile::Append));
    EXPECT_EQ(ReadFile(out), "row\r\n");
}

// A file name holding line breaks must not add lines that read as found items.
TEST_F(TextExport, LineBreaksInsideCellsNeverStartALine)
{
    ExportColumns({1, 3});
    app.search.description = "/data/odd\nhttp://forged.example/\r";
    AddRow({"http://a.example/", "", "/data/odd\nhttp://forged.example/\r\nx.htm"});
    const std::string text = PathOf("cells.txt"), csv = PathOf("cells.csv"), html = PathOf("cells.htm");
    ASSERT_TRUE(ExportText(app, app.list, text, false, 0, ExistingFile::Replace));
    EXPECT_EQ(ReadFile(text), "/data/odd http://forged.example/ \r\n\r\nhttp://a.example/\r\n"
                              "  /data/odd http://forged.example/  x.htm\r\n");
    ASSERT_TRUE(ExportCsv(app, app.list, csv, false, 0));
    EXPECT_EQ(ReadFile(csv), "http://a.example/;/data/odd http://forged.example/  x.htm\r\n");
    ASSERT_TRUE(ExportHtml(app, app.list, html, false, 0));
    const std::string page = ReadFile(html);
    EXPECT_EQ(page.find("\nhttp://forged"), std::string::npos);
    EXPECT_NE(page.find("/data/odd http://forged.example/  x.htm"), std::string::npos);
}

TEST_F(TextExport, SelectedItemsOnly)
{
    ExportColumns({1, 2});
    AddRow({"http://a.example/", "A"});
    AddRow({"http://b.example/", "B"}, true);
    const std::string out = PathOf("sel.txt");

    ASSERT_TRUE(ExportText(app, app.list, out, true, 0));
    EXPECT_EQ(ReadFile(out), "/data/pages/ (*.htm)\r\n\r\nhttp://b.example/\r\n  B\r\n");
    // No count message for a selection.
    EXPECT_EQ(port.MessageCount(), 0u);
}

TEST_F(TextExport, NothingIsWrittenWithoutRowsSelectionOrFileName)
{
    ExportColumns({1});
    const std::string out = PathOf("none.txt");
    EXPECT_FALSE(ExportText(app, app.list, out, false, 0)); // no rows
    AddRow({"http://a.example/"});
    EXPECT_FALSE(ExportText(app, app.list, out, true, 0)); // none selected
    EXPECT_FALSE(ExportText(app, app.list, "", false, 0));
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_EQ(port.MessageCount(), 0u);
}

TEST_F(TextExport, MissingExportColumnIsReportedAndNothingWritten)
{
    ExportColumns({5});
    AddRow({"http://a.example/"});
    const std::string out = PathOf("cols.txt");
    EXPECT_FALSE(ExportText(app, app.list, out, false, 0));
    EXPECT_EQ(port.LastMessage().text, "Please check Columns to export (see Options) !");
    EXPECT_FALSE(std::filesystem::exists(out));
    // The job windows' kinds have fixed columns and skip the check.
    EXPECT_TRUE(ExportText(app, app.list, out, false, 3));
}

TEST_F(TextExport, ResultListWaitsForTheRunningJobButJobWindowsDoNot)
{
    ExportColumns({1});
    AddRow({"http://a.example/"});
    const std::string out = PathOf("job.txt");
    app.jobs.jobCode = kJobFolderSearch;
    EXPECT_FALSE(ExportText(app, app.list, out, false, 0));
    EXPECT_FALSE(ExportText(app, app.list, out, false, 1));
    EXPECT_TRUE(ExportText(app, app.list, out, false, 4));
    app.jobs.jobCode = 0;
}

TEST_F(TextExport, JobWindowKindsUseTheirFixedColumnsAndOrder)
{
    ExportColumns({3});
    app.exportSettings.order = "654321";
    SetColumns({"Url", "Status", "Size", "Date", "More"});
    AddRow({"http://a.example/", "200 OK", "12", "today", "x"});
    const std::string out = PathOf("kind.txt");

    ASSERT_TRUE(ExportText(app, app.list, out, false, 4));
    EXPECT_EQ(ReadFile(out), "http://a.example/\r\n  200 OK\r\n");
    ASSERT_TRUE(ExportText(app, app.list, out, false, 2, ExistingFile::Replace));
    EXPECT_EQ(ReadFile(out), "http://a.example/\r\n");
    app.exportSettings.crawlReportOption = 3;
    ASSERT_TRUE(ExportText(app, app.list, out, false, 2, ExistingFile::Replace));
    EXPECT_EQ(ReadFile(out), "http://a.example/\r\n  Status: 200 OK\r\n  Size: 12\r\n  Date: today\r\n");
}

TEST_F(TextExport, PathsThatAreNoRegularFileFailCleanly)
{
    ExportColumns({1});
    AddRow({"http://a.example/"});
    const std::string folder = PathOf("folder");
    std::filesystem::create_directory(folder);
    EXPECT_FALSE(ExportText(app, app.list, folder, false, 0));
    EXPECT_EQ(port.LastMessage().text, "Could Not Open or Create File " + folder + " !");
    EXPECT_EQ(port.LastMessage().caption, "Error");

    // A FIFO without a reader would block an ordinary open.
    const std::string fifo = PathOf("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(ExportText(app, app.list, fifo, false, 0, ExistingFile::Replace));
    EXPECT_EQ(port.LastMessage().text, "Could Not Open or Create File " + fifo + " !");

    EXPECT_FALSE(ExportText(app, app.list, PathOf("no/such/folder/x.txt"), false, 0));
    EXPECT_EQ(port.LastMessage().caption, "Error");
}

// Writes beyond a file size limit fail as a full disk does.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

TEST_F(TextExport, AFailedWriteIsReportedAndAnAppendedFileKeepsItsOldBytes)
{
    ExportColumns({1});
    app.listState.kind = kListFileList;
    for (int i = 0; i < 2000; ++i)
        AddRow({"http://example.com/a/fairly/long/path/to/page" + std::to_string(i) + ".htm"});
    const std::string out = PathOf("full.txt");
    WriteFile(out, "keep me\r\n");
    {
        FileSizeLimit limit(4096);
        EXPECT_FALSE(ExportText(app, app.list, out, false, 0, ExistingFile::Append));
    }
    EXPECT_EQ(port.LastMessage().text, "Could Not Write File " + out + " !");
    EXPECT_EQ(port.LastMessage().caption, "Error");
    EXPECT_EQ(ReadFile(out), "keep me\r\n");
    {
        FileSizeLimit limit(4096);
        EXPECT_FALSE(ExportText(app, app.list, out, false, 0, ExistingFile::Replace));
    }
    EXPECT_EQ(ReadFile(out), "keep me\r\n");
    for (const auto& m : port.Messages())
        EXPECT_EQ(m.text.find("saved"), std::string::npos);
}

// "Save List as" and the unattended runs share these writers: a replace that fails half way must
// not leave a cut file where the previous one was, nor a stray temporary file beside it.
TEST_F(TextExport, EveryWriterKeepsTheOldFileWhenTheWriteFailsHalfWay)
{
    ExportColumns({1});
    app.listState.kind = kListFileList;
    for (int i = 0; i < 2000; ++i)
        AddRow({"http://example.com/a/fairly/long/path/to/page" + std::to_string(i) + ".htm"});
    const std::string folder = PathOf("out");
    std::filesystem::create_directory(folder);
    const std::string out = folder + "/list";
    using Writer = bool (*)(AppState&, const ResultList&, const std::string&);
    const Writer writers[] = {
        [](AppState& a, const ResultList& l, const std::string& p) {
            return ExportText(a, l, p, false, 0, ExistingFile::Replace);
        },
        [](AppState& a, const ResultList& l, const std::string& p) { return ExportCsv(a, l, p, false, 0); },
        [](AppState& a, const ResultList& l, const std::string& p) { return ExportHtml(a, l, p, false, 0); },
    };
    for (const Writer write : writers) {
        WriteFile(out, "previous export\r\n");
        {
            FileSizeLimit limit(20000);
            EXPECT_FALSE(write(app, app.list, out));
        }
        EXPECT_EQ(ReadFile(out), "previous export\r\n");
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
        ASSERT_TRUE(write(app, app.list, out));
        EXPECT_GT(ReadFile(out).size(), 20000u);
    }
}

} // namespace
} // namespace lt
