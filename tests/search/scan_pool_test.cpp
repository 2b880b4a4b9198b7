// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/scan_pool.h"

#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "core/job_control.h"
#include "list/list_kind.h"
#include "search/item_kind.h"
#include "search/search_jobs.h"
#include "recording_ui_port.h"
#include "temp_tree.h"

namespace lt {
namespace {

using testing::TempTree;

// A port that lets a test act when a pane text is shown (on the thread that shows it).
class HookPort : public RecordingUiPort
{
public:
    std::function<void(int pane, const std::string& text)> onPane;
    void SetPaneText(int pane, const std::string& text) override
    {
        RecordingUiPort::SetPaneText(pane, text);
        if (onPane)
            onPane(pane, text);
    }
};

// Pages whose links repeat across files and within a file in other letter cases, some with a
// link text found after the bare URL (the title of the last row), e-mail and IP addresses, and
// one file big enough for a progress bar of its own.
void MakeTree(const TempTree& tree, int files)
{
    std::mt19937 rng(7);
    for (int f = 0; f < files; ++f) {
        std::string page;
        const int links = 5 + static_cast<int>(rng() % 40);
        for (int i = 0; i < links; ++i) {
            const int n = static_cast<int>(rng() % 120);
            std::string url = "http://site" + std::to_string(n % 9) + ".example.com/page" + std::to_string(n);
            if (rng() % 4 == 0)
                url[7] = 'S'; // the same link in another case
            switch (rng() % 4) {
            case 0: page += "see " + url + " and "; break;
            case 1: page += "<a href=\"" + url + "\">Page " + std::to_string(n) + "</a>\n"; break;
            case 2: page += url + "\n<a href=\"" + url + "\">Later title " + std::to_string(n) + "</a>\n"; break;
            default:
                page += "mail user" + std::to_string(n) + "@host" + std::to_string(n % 5) + ".org from 192.168." +
                        std::to_string(n) + "." + std::to_string(f) + " ;\n";
            }
        }
        if (f == files / 2)
            page += std::string(900000, 'x') + " http://big.example.org/end\n";
        tree.Write("d" + std::to_string(f % 4) + "/f" + std::to_string(f) + ".htm", page);
    }
}

struct Outcome
{
    std::vector<std::string> rows; // every cell, the icon and the parameter of each row
    long hits = 0;
    std::vector<std::string> panes;
    std::vector<std::string> messages;
    int progressBegins = 0, progressSteps = 0, progressEnds = 0;
    bool operator==(const Outcome&) const = default;
};

struct SearchRun
{
    int threads = 1;
    int itemKind = kItemHttpFtp;
    int duplicatesPolicy = 1;
    bool caseSensitive = false;
    std::function<void(AppState&, int pane, const std::string& text)> onPane;
    std::vector<std::string> picked; // picked files instead of the folder
};

Outcome Search(const TempTree& tree, const SearchRun& run)
{
    HookPort port;
    AppState app(port);
    app.status.SetClock([] { return std::string("12:00:00 "); });
    app.settings.threads = run.threads;
    app.settings.itemKind = run.itemKind;
    app.settings.duplicatesPolicy = run.duplicatesPolicy;
    app.settings.caseSensitive = run.caseSensitive;
    app.settings.includeSubdirectories = true;
    app.listState.fileInfoOption = true;
    ApplyListKind(app, 2);
    if (run.onPane)
        port.onPane = [&](int pane, const std::string& text) { run.onPane(app, pane, text); };
    if (run.picked.empty()) {
        SetupFolderSearch(app, tree.Root());
        EXPECT_TRUE(StartFolderSearch(app));
    } else {
        std::string selection;
        for (const auto& path : run.picked)
            selection += '\0' + path;
        selection += '\0';
        EXPECT_TRUE(SearchPickedFilesCommand(app, selection));
    }
    JoinWorker(app);
    port.onPane = nullptr;

    Outcome out;
    app.list.ForEachRow([&](std::size_t, const ResultRow& row) {
        std::string line;
        for (const auto& cell : row.cells)
            line += cell + '|';
        out.rows.push_back(line + std::to_string(row.icon) + '|' + std::to_string(row.param));
    });
    out.hits = app.search.hitCount.load();
    for (const auto& write : port.PaneWrites())
        out.panes.push_back(std::to_string(write.pane) + ':' + write.text);
    for (const auto& message : port.Messages())
        out.messages.push_back(message.text);
    out.progressBegins = port.ProgressBegins();
    out.progressSteps = port.ProgressSteps();
    out.progressEnds = port.ProgressEnds();
    return out;
}

void ExpectSame(const Outcome& got, const Outcome& want)
{
    EXPECT_EQ(got.rows, want.rows);
    EXPECT_EQ(got.hits, want.hits);
    EXPECT_EQ(got.panes, want.panes);
    EXPECT_EQ(got.messages, want.messages);
    EXPECT_EQ(got.progressBegins, want.progressBegins);
    EXPECT_EQ(got.progressSteps, want.progressSteps);
    EXPECT_EQ(got.progressEnds, want.progressEnds);
}

class ScanPoolTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        setenv("TZ", "UTC", 1);
        tzset();
        MakeTree(tree, 60);
    }
    TempTree tree;
};

TEST_F(ScanPoolTest, SeveralWorkersGiveTheListAndMessagesOfOne)
{
    struct Case
    {
        const char* name;
        int itemKind, policy;
        bool caseSensitive;
    };
    const Case cases[] = {
        {"keep all", kItemHttpFtp, 0, false},
        {"file duplicates", kItemHttpFtp, 1, false},
        {"omit all duplicates", kItemHttpFtp, 2, false},
        {"omit all duplicates, case sensitive", kItemHttpFtp, 2, true},
        {"one hit per file", kItemHttpFtp, 3, false},
        {"e-mail, omit all duplicates", kItemEmail, 2, false},
        {"IP addresses", kItemIp, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SearchRun run;
        run.itemKind = c.itemKind;
        run.duplicatesPolicy = c.policy;
        run.caseSensitive = c.caseSensitive;
        const Outcome one = Search(tree, run);
        ASSERT_FALSE(one.rows.empty());
        EXPECT_EQ(one.progressBegins, 1); // the big file
        for (const int threads : {2, 5}) {
            run.threads = threads;
            SCOPED_TRACE(threads);
            ExpectSame(Search(tree, run), one);
        }
    }
}

TEST_F(ScanPoolTest, PickedFilesKeepTheirOrderAndTheCouldNotOpenText)
{
    SearchRun run;
    for (int f = 0; f < 12; ++f)
        run.picked.push_back(tree.Path("d" + std::to_string(f % 4) + "/f" + std::to_string(f) + ".htm"));
    run.picked.insert(run.picked.begin() + 5, tree.Path("missing.htm"));
    const Outcome one = Search(tree, run);
    run.threads = 3;
    const Outcome three = Search(tree, run);
    ExpectSame(three, one);
    EXPECT_NE(std::find(three.panes.begin(), three.panes.end(), "1:Could not open missing.htm "), three.panes.end());
}

// Skip and stop act on the file the status bar names while later files are being scanned.
TEST_F(ScanPoolTest, SkipAndStopEndTheFileTheStatusBarNames)
{
    std::vector<std::string> order; // the files as the walk meets them
    for (const auto& pane : Search(tree, SearchRun{}).panes)
        if (pane.compare(0, 2 + tree.Root().size(), "1:" + tree.Root()) == 0)
            order.push_back(pane.substr(2));
    ASSERT_EQ(order.size(), 60u);
    const std::string skipped = order[10];
    const std::string stopAt = order[40];
    SearchRun run;
    run.duplicatesPolicy = 2;
    run.onPane = [&](AppState& app, int pane, const std::string& text) {
        if (pane != 1)
            return;
        if (text == skipped)
            SkipFile(app);
        else if (text == stopAt)
            app.jobs.jobCode.store(0);
    };
    const Outcome one = Search(tree, run);
    for (const auto& row : one.rows) {
        EXPECT_EQ(row.find(skipped), std::string::npos) << row;
        EXPECT_EQ(row.find(stopAt), std::string::npos) << row;
    }
    // Files after the skipped one still gave rows.
    EXPECT_TRUE(std::any_of(one.panes.begin(), one.panes.end(), [&](const std::string& p) { return p == "1:" + skipped; }));
    EXPECT_EQ(one.messages, std::vector<std::string>{}); // a stopped search shows no count
    run.threads = 4;
    ExpectSame(Search(tree, run), one);
}

// A slow first file makes the others wait instead of piling up their rows.
TEST_F(ScanPoolTest, RowsWaitingBehindAnEarlierFileStayBounded)
{
    TempTree wide;
    std::string many;
    for (int i = 0; i < 3000; ++i)
        many += "http://host" + std::to_string(i) + ".example.net/a/long/enough/path/" + std::to_string(i) + "\n";
    wide.Write("a0.txt", std::string(30 << 20, 'y'));
    for (int f = 1; f < 40; ++f)
        wide.Write("a" + std::to_string(f) + ".txt", many);

    HookPort port;
    AppState app(port);
    app.settings.duplicatesPolicy = 0;
    ApplyListKind(app, 2);
    ASSERT_TRUE(PrepareScan(app));
    app.jobs.jobCode.store(kJobPickedFiles);
    app.search.severalFiles = true;
    constexpr std::size_t kLimit = 64 * 1024;
    {
        ScanPool pool(app, 3, kLimit);
        for (int f = 0; f < 40; ++f)
            pool.Submit(wide.Path("a" + std::to_string(f) + ".txt"), {}, app.listState.rowTexts);
        pool.Drain();
        // One file's records are under 1 MB, all of them over 25 MB: beyond the limit only the
        // file being replayed may grow.
        EXPECT_LT(pool.PeakBufferedBytes(), kLimit + (2u << 20));
    }
    app.jobs.jobCode.store(0);
    EXPECT_EQ(app.list.RowCount(), 39u * 3000u);
    EXPECT_EQ(app.search.hitCount.load(), 39 * 3000);
}

} // namespace
} // namespace lt
