// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/result_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <thread>

#include "core/cp1252.h"

namespace lt {
namespace {

ResultRow MakeRow(std::string text, uint32_t param = 0)
{
    ResultRow row;
    row.cells = {std::move(text)};
    row.param = param;
    return row;
}

std::vector<std::string> Column0(const ResultList& list)
{
    std::vector<std::string> out;
    list.ForEachRow([&](std::size_t, const ResultRow& r) { out.push_back(r.Cell(0)); });
    return out;
}

std::string RandomKey(std::mt19937& rng, int alphabet)
{
    // Few letters in both cases, so that keys equal ignoring case are common.
    std::string key;
    const int len = 1 + static_cast<int>(rng() % 3);
    for (int i = 0; i < len; ++i) {
        const char c = static_cast<char>('a' + rng() % static_cast<unsigned>(alphabet));
        key += (rng() % 2) ? c : static_cast<char>(c - 32);
    }
    return key;
}

TEST(ResultListTest, SortedInsertionKeepsEqualKeysInArrivalOrderAcrossChunks)
{
    for (const AutoSort mode : {AutoSort::Ascending, AutoSort::Descending}) {
        ResultList list;
        list.SetAutoSort(mode);
        std::mt19937 rng(7);
        std::vector<std::pair<std::string, uint32_t>> reference;
        // Enough rows for many chunk splits.
        for (uint32_t i = 0; i < 20000; ++i) {
            const std::string key = RandomKey(rng, 6);
            const std::size_t at = list.InsertRow(MakeRow(key, i));
            ASSERT_EQ(list.Param(at), i);
            reference.emplace_back(key, i);
        }
        std::stable_sort(reference.begin(), reference.end(), [&](const auto& a, const auto& b) {
            const int c = Cp1252CompareNoCase(a.first, b.first);
            return mode == AutoSort::Ascending ? c < 0 : c > 0;
        });
        ASSERT_EQ(list.RowCount(), reference.size());
        for (std::size_t i = 0; i < reference.size(); i += 97) {
            EXPECT_EQ(list.GetCell(i, 0), reference[i].first);
            EXPECT_EQ(list.Param(i), reference[i].second);
        }
        std::size_t i = 0;
        list.ForEachRow([&](std::size_t index, const ResultRow& row) {
            ASSERT_EQ(index, i);
            ASSERT_EQ(row.param, reference[i].second);
            ++i;
        });
    }
}

TEST(ResultListTest, AutoSortOffAppendsAndSwitchingOnDoesNotResort)
{
    ResultList list;
    list.SetAutoSort(AutoSort::Off);
    EXPECT_EQ(list.InsertRow(MakeRow("c")), 0u);
    EXPECT_EQ(list.InsertRow(MakeRow("a")), 1u);
    list.SetAutoSort(AutoSort::Ascending);
    EXPECT_EQ(Column0(list), (std::vector<std::string>{"c", "a"}));
    list.InsertRow(MakeRow("b"));
    EXPECT_EQ(list.RowCount(), 3u);
}

TEST(ResultListTest, CellsAreCutToColumnCountAndCellLength)
{
    ResultList list; // three columns until a kind is applied
    ResultRow row;
    row.cells = {std::string(300, 'x'), "t", "f", "beyond"};
    list.InsertRow(row);
    EXPECT_EQ(list.GetCell(0, 0).size(), kMaxCellLength);
    EXPECT_EQ(list.GetCell(0, 2), "f");
    EXPECT_EQ(list.GetCell(0, 3), "");
    EXPECT_EQ(list.Row(0).cells.size(), 3u);
    list.SetCell(0, 1, std::string(400, 'y'));
    EXPECT_EQ(list.GetCell(0, 1).size(), kMaxCellLength);
    EXPECT_EQ(list.GetCell(5, 0), ""); // out of range reads are harmless
}

// Checks every index read against a plain vector model through random inserts and deletes.
TEST(ResultListTest, IndexReadsMatchAModelThroughInsertsAndDeletes)
{
    ResultList list;
    std::vector<std::string> model;
    std::mt19937 rng(11);
    uint32_t serial = 0;
    for (int step = 0; step < 30000; ++step) {
        const unsigned op = rng() % 10;
        if (op < 7 || model.empty()) {
            const std::string key = RandomKey(rng, 20) + std::to_string(serial++);
            const std::size_t at = list.InsertRow(MakeRow(key));
            model.insert(model.begin() + static_cast<std::ptrdiff_t>(at), key);
            ASSERT_TRUE(at == 0 || Cp1252CompareNoCase(model[at - 1], key) <= 0);
            ASSERT_TRUE(at + 1 == model.size() || Cp1252CompareNoCase(model[at + 1], key) > 0);
        } else if (op < 9) {
            const std::size_t at = rng() % model.size();
            list.DeleteRow(at);
            model.erase(model.begin() + static_cast<std::ptrdiff_t>(at));
        } else {
            std::vector<std::size_t> rows;
            for (int k = 0; k < 5; ++k)
                rows.push_back(rng() % (model.size() + 2)); // some out of range, some twice
            rows.push_back(rows.front());
            list.DeleteRows(rows);
            std::sort(rows.begin(), rows.end());
            rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
            for (auto it = rows.rbegin(); it != rows.rend(); ++it)
                if (*it < model.size())
                    model.erase(model.begin() + static_cast<std::ptrdiff_t>(*it));
        }
        ASSERT_EQ(list.RowCount(), model.size());
        if (!model.empty()) {
            const std::size_t probe = rng() % model.size();
            ASSERT_EQ(list.GetCell(probe, 0), model[probe]);
        }
        if (step % 997 == 0 && !model.empty()) {
            // A ranged read starts at its row, crosses chunk ends and stops when told.
            const std::size_t first = rng() % model.size();
            const std::size_t wanted = 1 + rng() % 3000;
            std::vector<std::string> seen;
            list.ForEachRowFrom(first, [&](std::size_t index, const ResultRow& row) {
                EXPECT_EQ(index, first + seen.size());
                seen.push_back(row.Cell(0));
                return seen.size() < wanted;
            });
            const std::size_t end = std::min(model.size(), first + wanted);
            ASSERT_EQ(seen, std::vector<std::string>(model.begin() + static_cast<std::ptrdiff_t>(first),
                                                     model.begin() + static_cast<std::ptrdiff_t>(end)));
        }
    }
    EXPECT_EQ(Column0(list), model);
    bool visited = false;
    list.ForEachRowFrom(model.size(), [&](std::size_t, const ResultRow&) { return visited = true; });
    EXPECT_FALSE(visited);
}

TEST(ResultListTest, ModifyReordersAndSelectionTravelsWithRows)
{
    ResultList list;
    for (const char* t : {"a", "b", "c"})
        list.InsertRow(MakeRow(t));
    list.SetSelected(0, true);
    list.Modify([](std::vector<ResultRow>& rows) { std::reverse(rows.begin(), rows.end()); });
    EXPECT_EQ(Column0(list), (std::vector<std::string>{"c", "b", "a"}));
    EXPECT_EQ(list.SelectedRows(), (std::vector<std::size_t>{2}));
    list.Modify([](std::vector<ResultRow>& rows) { rows.pop_back(); });
    EXPECT_EQ(list.RowCount(), 2u);
    EXPECT_TRUE(list.SelectedRows().empty());
    const uint64_t before = list.Revision();
    list.InsertRow(MakeRow("z"));
    EXPECT_GT(list.Revision(), before);
}

TEST(ResultListTest, FocusFollowsItsRow)
{
    ResultList list;
    list.InsertRow(MakeRow("m"));
    list.SetFocusedRow(0);
    list.InsertRow(MakeRow("a"));
    EXPECT_EQ(list.FocusedRow(), 1);
    list.DeleteRow(0);
    EXPECT_EQ(list.FocusedRow(), 0);
    list.DeleteRow(0);
    EXPECT_EQ(list.FocusedRow(), -1);
    list.SetFocusedRow(5);
    EXPECT_EQ(list.FocusedRow(), -1);
}

// The duplicate rule against a brute-force search from the top, through sorted and unsorted
// inserts, deletes, reorders and edits of column 0.
TEST(ResultListTest, DuplicateIndexAgreesWithASearchFromTheTop)
{
    // A small alphabet gives many duplicates; a large one grows the index table.
    for (const int alphabet : {4, 26})
    for (const bool caseSensitive : {false, true}) {
        ResultList list;
        std::mt19937 rng(caseSensitive ? 3 : 5);
        for (int step = 0; step < 6000; ++step) {
            const unsigned op = rng() % 20;
            if (op == 0) {
                list.SetAutoSort(static_cast<AutoSort>(rng() % 3));
            } else if (op == 1 && list.RowCount() > 0) {
                list.DeleteRow(rng() % list.RowCount());
            } else if (op == 2 && list.RowCount() > 1) {
                std::mt19937 shuffler(static_cast<unsigned>(step));
                list.Modify([&](std::vector<ResultRow>& rows) { std::shuffle(rows.begin(), rows.end(), shuffler); });
            } else if (op == 3 && list.RowCount() > 0) {
                list.SetCell(rng() % list.RowCount(), 0, RandomKey(rng, alphabet));
            } else {
                const std::string key = RandomKey(rng, alphabet);
                // The expected answer: the first row from the top equal ignoring case.
                const std::vector<std::string> rows = Column0(list);
                long first = -1;
                for (std::size_t i = 0; i < rows.size() && first < 0; ++i)
                    if (Cp1252EqualsNoCase(rows[i], key))
                        first = static_cast<long>(i);
                const bool refuse =
                    first >= 0 && (!caseSensitive || rows[static_cast<std::size_t>(first)] == key);
                ASSERT_EQ(list.FindFirstNoCase(key), first);
                const long at = list.InsertRowUnlessDuplicate(MakeRow(key), caseSensitive);
                ASSERT_EQ(at < 0, refuse) << key;
                ASSERT_EQ(list.RowCount(), rows.size() + (refuse ? 0 : 1));
                if (at >= 0) {
                    ASSERT_EQ(list.GetCell(static_cast<std::size_t>(at), 0), key);
                }
            }
        }
    }
}

TEST(ResultListTest, ClearEmptiesRowsAndTheDuplicateIndex)
{
    ResultList list;
    EXPECT_GE(list.InsertRowUnlessDuplicate(MakeRow("http://a.com"), false), 0);
    EXPECT_EQ(list.InsertRowUnlessDuplicate(MakeRow("HTTP://A.COM"), false), -1);
    list.ClearRows();
    EXPECT_EQ(list.RowCount(), 0u);
    EXPECT_EQ(list.InsertRowUnlessDuplicate(MakeRow("HTTP://A.COM"), false), 0);
}

TEST(ResultListTest, HeadersAndFindColumn)
{
    ResultList list;
    std::vector<ColumnState> cols(7);
    cols[0].header = "Url";
    cols[1].header = "Title";
    cols[6].header = "File";
    list.SetColumns(cols);
    EXPECT_EQ(list.FindColumn(), 1);
    list.SetHeaderText(1, "x");
    EXPECT_EQ(list.FindColumn(), -1); // only the first six columns count
    list.SetHeaderText(3, "remote FILE");
    EXPECT_EQ(list.FindColumn(), 3);
    list.SetHeaderText(0, std::string(100, 'h'));
    EXPECT_EQ(list.GetHeaderText(0).size(), kMaxHeaderLength);
    EXPECT_EQ(list.GetHeaderText(9), "");
    const uint64_t before = list.ColumnRevision();
    list.SetColumnWidth(0, 50);
    EXPECT_EQ(list.Column(0).width, 50);
    EXPECT_GT(list.ColumnRevision(), before);
}

// A producer inserts sorted rows while a reader reads rows by index (run under ThreadSanitizer).
TEST(ResultListTest, ReadersMayReadWhileAProducerInserts)
{
    ResultList list;
    std::atomic<bool> done{false};
    std::thread producer([&] {
        std::mt19937 rng(1);
        for (int i = 0; i < 20000; ++i)
            list.InsertRow(MakeRow("http://host" + std::to_string(rng() % 5000) + ".example/page"));
        done = true;
    });
    std::size_t reads = 0;
    while (!done) {
        const std::size_t n = list.RowCount();
        if (n == 0)
            continue;
        const std::size_t row = reads % n;
        const std::string cell = list.GetCell(row, 0); // may be empty if rows went meanwhile
        EXPECT_TRUE(cell.empty() || cell.rfind("http://host", 0) == 0);
        list.Row(row);
        ++reads;
    }
    producer.join();
    EXPECT_EQ(list.RowCount(), 20000u);
    const auto rows = Column0(list);
    EXPECT_TRUE(std::is_sorted(rows.begin(), rows.end(),
                               [](const std::string& a, const std::string& b) { return Cp1252CompareNoCase(a, b) < 0; }));
}

} // namespace
} // namespace lt
