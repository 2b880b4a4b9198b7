// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/result_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <stdexcept>
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

// Keys that meet the word comparison's edges: long shared starts, keys shorter than or as long
// as a chunk's common start, case pairs, Windows-1252 letters that fold (0x8A/0x9A, 0x9F/0xFF,
// 0xC9/0xE9), zero bytes and empty keys.
std::string HardKey(std::mt19937& rng)
{
    static const std::string kStems[] = {
        "", "http://www.example.com/", "HTTP://WWW.Example.COM/", "http://www.example.com/aaaaaaaaaaaaaaaaaaaa/",
        "http://www.example.co", "\x8A\x9F\xC9", "\x9A\xFF\xE9", std::string("a\0b", 3), "ftp://f"};
    static const char kTail[] = {'a', 'A', 'b', 'z', 'Z', '/', '\0', '\x8A', '\x9A', '\x9F', '\xFF', '\xC9', '\xE9', '0'};
    std::string key = kStems[rng() % std::size(kStems)];
    const std::size_t tail = rng() % 24;
    for (std::size_t i = 0; i < tail; ++i)
        key += kTail[rng() % sizeof kTail];
    if (rng() % 4 == 0)
        key.resize(rng() % (key.size() + 1));
    return key;
}

bool SortsBefore(AutoSort mode, const std::string& a, const std::string& b)
{
    const int c = Cp1252CompareNoCase(a, b);
    return mode == AutoSort::Descending ? c > 0 : c < 0;
}

// A plain model of a sorted list: rows as (key, param), a new row after the rows not behind it.
struct SortedModel
{
    AutoSort mode = AutoSort::Ascending;
    std::vector<std::pair<std::string, uint32_t>> rows;

    std::size_t Insert(const std::string& key, uint32_t param)
    {
        const auto it = std::upper_bound(rows.begin(), rows.end(), key, [&](const std::string& k, const auto& row) {
            return SortsBefore(mode, k, row.first);
        });
        const auto at = static_cast<std::size_t>(it - rows.begin());
        rows.insert(it, {key, param});
        return at;
    }
};

void ExpectListEquals(const ResultList& list, const SortedModel& model)
{
    ASSERT_EQ(list.RowCount(), model.rows.size());
    std::size_t i = 0;
    list.ForEachRow([&](std::size_t, const ResultRow& row) {
        ASSERT_EQ(row.Cell(0), model.rows[i].first) << i;
        ASSERT_EQ(row.param, model.rows[i].second) << i;
        ++i;
    });
}

// Inserts `count` hard keys and checks every returned position against the model.
void InsertAndCompare(ResultList& list, SortedModel& model, std::mt19937& rng, int count, uint32_t& serial)
{
    for (int i = 0; i < count; ++i) {
        const std::string key = HardKey(rng);
        const std::size_t expected = model.Insert(key, serial);
        ASSERT_EQ(list.InsertRow(MakeRow(key, serial)), expected) << "key of " << key.size() << " bytes";
        ++serial;
    }
    ExpectListEquals(list, model);
}

TEST(ResultListTest, SortedInsertionOfHardKeysMatchesAStableSort)
{
    for (const AutoSort mode : {AutoSort::Ascending, AutoSort::Descending}) {
        ResultList list;
        list.SetAutoSort(mode);
        SortedModel model{mode, {}};
        std::mt19937 rng(mode == AutoSort::Ascending ? 21 : 22);
        uint32_t serial = 0;
        InsertAndCompare(list, model, rng, 6000, serial); // several chunk splits
        // The same result as a stable sort of the arrival order: equal keys in arrival order.
        std::vector<std::pair<std::string, uint32_t>> arrival = model.rows;
        std::sort(arrival.begin(), arrival.end(), [](const auto& a, const auto& b) { return a.second < b.second; });
        std::stable_sort(arrival.begin(), arrival.end(),
                         [&](const auto& a, const auto& b) { return SortsBefore(mode, a.first, b.first); });
        EXPECT_EQ(arrival, model.rows);
    }
}

TEST(ResultListTest, SortedInsertionAfterEditsDeletesAndModify)
{
    ResultList list;
    SortedModel model;
    std::mt19937 rng(31);
    uint32_t serial = 0;
    InsertAndCompare(list, model, rng, 4000, serial);

    // Column 0 of every row, chunk-first rows among them, changes to a text that keeps the order:
    // the same letters in another case, or a shorter start when it still fits between its
    // neighbours. Later insertions must see the new keys.
    for (std::size_t i = 0; i < model.rows.size(); ++i) {
        std::string text = model.rows[i].first;
        if (rng() % 2) {
            for (char& c : text)
                c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : (c >= 'A' && c <= 'Z' ? c + 32 : c));
        } else {
            text.resize(rng() % (text.size() + 1));
            const bool fits = (i == 0 || !SortsBefore(model.mode, text, model.rows[i - 1].first)) &&
                              (i + 1 == model.rows.size() || !SortsBefore(model.mode, model.rows[i + 1].first, text));
            if (!fits)
                continue;
        }
        list.SetCell(i, 0, text);
        model.rows[i].first = text;
    }
    ExpectListEquals(list, model);
    InsertAndCompare(list, model, rng, 2000, serial);

    // Deleting many rows, chunk-first ones among them, leaves chunks whose words must still hold.
    std::vector<std::size_t> gone;
    for (std::size_t i = 0; i < model.rows.size(); ++i)
        if (rng() % 5 < 2)
            gone.push_back(i);
    list.DeleteRows(gone);
    for (auto it = gone.rbegin(); it != gone.rend(); ++it)
        model.rows.erase(model.rows.begin() + static_cast<std::ptrdiff_t>(*it));
    ExpectListEquals(list, model);
    InsertAndCompare(list, model, rng, 2000, serial);

    // A reorder that keeps the list sorted (equal keys reversed), then more rows.
    list.Modify([](std::vector<ResultRow>& rows) {
        std::reverse(rows.begin(), rows.end());
        std::stable_sort(rows.begin(), rows.end(), [](const ResultRow& a, const ResultRow& b) {
            return Cp1252CompareNoCase(a.Cell(0), b.Cell(0)) < 0;
        });
    });
    std::reverse(model.rows.begin(), model.rows.end());
    std::stable_sort(model.rows.begin(), model.rows.end(), [](const auto& a, const auto& b) {
        return Cp1252CompareNoCase(a.first, b.first) < 0;
    });
    ExpectListEquals(list, model);
    InsertAndCompare(list, model, rng, 2000, serial);
}

// Auto-sort switched on over unsorted rows: any plausible place will do, but every row must be
// kept and reads must find what was inserted.
TEST(ResultListTest, SortedInsertionIntoAnUnsortedListKeepsEveryRow)
{
    ResultList list;
    list.SetAutoSort(AutoSort::Off);
    std::mt19937 rng(41);
    std::vector<std::string> keys;
    for (int i = 0; i < 3000; ++i) {
        keys.push_back(HardKey(rng));
        list.InsertRow(MakeRow(keys.back()));
    }
    for (const AutoSort mode : {AutoSort::Ascending, AutoSort::Descending}) {
        list.SetAutoSort(mode);
        for (int i = 0; i < 3000; ++i) {
            keys.push_back(HardKey(rng));
            const std::size_t at = list.InsertRow(MakeRow(keys.back()));
            ASSERT_LT(at, list.RowCount());
            ASSERT_EQ(list.GetCell(at, 0), keys.back());
        }
    }
    std::vector<std::string> rows = Column0(list);
    std::sort(rows.begin(), rows.end());
    std::sort(keys.begin(), keys.end());
    EXPECT_EQ(rows, keys);
}

// The duplicate index is rebuilt from the rows a Modify leaves, edited texts included.
TEST(ResultListTest, DuplicateRuleFollowsTheRowsAfterModify)
{
    ResultList list;
    for (const char* t : {"http://a.com", "http://b.com", "http://a.com/x"})
        ASSERT_GE(list.InsertRowUnlessDuplicate(MakeRow(t), false), 0);
    EXPECT_EQ(list.InsertRowUnlessDuplicate(MakeRow("HTTP://A.COM"), false), -1);
    list.Modify([](std::vector<ResultRow>& rows) {
        for (ResultRow& row : rows)
            if (row.cells[0] == "http://a.com")
                row.cells[0] = "http://c.com";
        std::reverse(rows.begin(), rows.end());
    });
    EXPECT_EQ(list.FindFirstNoCase("HTTP://A.COM"), -1);
    EXPECT_EQ(list.InsertRowUnlessDuplicate(MakeRow("http://C.com"), false), -1);
    EXPECT_EQ(list.FindFirstNoCase("http://c.COM"), 2); // b.com, a.com/x, c.com after the reversal
    const long at = list.InsertRowUnlessDuplicate(MakeRow("HTTP://A.COM"), false);
    ASSERT_GE(at, 0);
    EXPECT_EQ(list.GetCell(static_cast<std::size_t>(at), 0), "HTTP://A.COM");
    EXPECT_EQ(list.InsertRowUnlessDuplicate(MakeRow("http://a.com"), false), -1);
}

// A writer that throws leaves a usable list with the rows as it left them.
TEST(ResultListTest, ModifyWhoseWriterThrowsKeepsTheRows)
{
    ResultList list;
    for (const char* t : {"c", "a", "b"})
        list.InsertRow(MakeRow(t));
    EXPECT_THROW(list.Modify([](std::vector<ResultRow>& rows) {
        rows.pop_back();
        throw std::runtime_error("writer failed");
    }),
                 std::runtime_error);
    EXPECT_EQ(Column0(list), (std::vector<std::string>{"a", "b"}));
    list.InsertRow(MakeRow("bb"));
    EXPECT_EQ(Column0(list), (std::vector<std::string>{"a", "b", "bb"}));
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
