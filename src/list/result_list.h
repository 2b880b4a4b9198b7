// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <vector>

namespace lt {

inline constexpr int kMaxColumns = 9;
inline constexpr std::size_t kMaxCellLength = 259;
inline constexpr std::size_t kMaxHeaderLength = 63;

// One row of the result list: up to nine byte-string cells (Windows-1252 or UTF-8 bytes as found),
// an icon index into the 18 standard row icons (or one added behind them) and a 32-bit parameter.
struct ResultRow
{
    std::vector<std::string> cells; // cells.size() <= kMaxColumns; missing cells are empty
    int icon = 1;
    uint32_t param = 0;
    bool selected = false;

    const std::string& Cell(int column) const;
};

// Width class and sort class of a column.
enum ColumnType : int {
    kColText = 0,
    kColTitle = 1,
    kColPath = 2,
    kColUser = 3,
    kColHits = 4,
    kColDate = 5,
    kColOffset = 6,
    kColLine = 7,
    kColIp = 8,
    kColSize = 9,
    kColParsed = 10,
};

struct ColumnState
{
    std::string header; // at most 63 characters
    int type = kColText;
    int width = 240;      // pixels
    bool fitted = false;  // fitted to its contents; `savedWidth` holds the width before
    int savedWidth = 0;
    bool directionFlag = false;
};

// Auto-sort modes of a list.
enum class AutoSort { Off = 0, Ascending = 1, Descending = 2 };

// The engine's model of a list view: rows in list order plus the column set. Safe for one producer
// thread and any number of readers: every member locks; bulk work goes through Read/Modify.
// With auto-sort on, an inserted row is placed by a case-insensitive comparison of column 0
// (Windows-1252 case folding), after rows with an equal key.
class ResultList
{
public:
    ResultList();

    std::size_t RowCount() const;
    std::string GetCell(std::size_t row, int column) const;
    void SetCell(std::size_t row, int column, std::string text);
    int Icon(std::size_t row) const;
    void SetIcon(std::size_t row, int icon);
    uint32_t Param(std::size_t row) const;
    ResultRow Row(std::size_t row) const;

    // Inserts the row (cut to the column count and 259 bytes a cell) and returns its index.
    std::size_t InsertRow(ResultRow row);
    void DeleteRow(std::size_t row);
    void DeleteRows(const std::vector<std::size_t>& rows); // any order; duplicates ignored
    void ClearRows();

    void SetAutoSort(AutoSort mode);
    AutoSort GetAutoSort() const;

    // Columns.
    int ColumnCount() const;
    ColumnState Column(int column) const;
    std::vector<ColumnState> Columns() const;
    void SetColumns(std::vector<ColumnState> columns); // cells beyond the new count are kept hidden
    void SetHeaderText(int column, std::string text);
    std::string GetHeaderText(int column) const;
    void SetColumnWidth(int column, int width);
    // The index of the first of the first six columns named "File", "Remote File", "Title" or
    // "Offset" (ignoring case), or -1.
    int FindColumn() const;

    // Selection and focus mirror the view's; the UI copies them in before an engine operation
    // that needs them and reads them back afterwards.
    std::vector<std::size_t> SelectedRows() const;
    void SetSelectedRows(const std::vector<std::size_t>& rows);
    void SetSelected(std::size_t row, bool on);
    long FocusedRow() const; // -1 for none
    void SetFocusedRow(long row);

    // Bulk access under the lock. `ForEachRow` visits the rows in list order; `Modify` hands the
    // rows over as one vector that the writer may reorder, edit or shorten (selection flags travel
    // with the rows). Neither may call back into the list.
    void ForEachRow(const std::function<void(std::size_t, const ResultRow&)>& visit) const;
    void Modify(const std::function<void(std::vector<ResultRow>&)>& writer);

    // Raised on every change; the Qt model polls it to refresh at most ~20 times a second.
    uint64_t Revision() const { return m_revision.load(std::memory_order_acquire); }
    // Raised when the column set changes.
    uint64_t ColumnRevision() const { return m_columnRevision.load(std::memory_order_acquire); }

private:
    void Touch() { m_revision.fetch_add(1, std::memory_order_acq_rel); }

    mutable std::shared_mutex m_mutex;
    // Rows in list order, held in chunks so that a sorted insertion into a list of a million rows
    // moves at most one chunk.
    std::vector<std::vector<ResultRow>> m_chunks;
    std::vector<std::size_t> m_chunkStart; // index of each chunk's first row
    std::size_t m_rowCount = 0;
    std::vector<ColumnState> m_columns;
    AutoSort m_autoSort = AutoSort::Ascending;
    long m_focused = -1;
    std::atomic<uint64_t> m_revision{0};
    std::atomic<uint64_t> m_columnRevision{0};
};

} // namespace lt
