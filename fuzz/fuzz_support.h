// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdlib>
#include <string>
#include <vector>

#include "../bench/bench_support.h"
#include "list/result_list.h"

// Set-up shared by the fuzz targets. Harness state lives in function statics: building engine
// state costs more than most inputs, so each input resets what it uses instead.
namespace lt::fuzz {

using bench::QuietApp;
using bench::ScratchFile;
using bench::ScratchPath;
using bench::SilentUiPort;

// The longest text a list cell holds.
constexpr std::size_t kMaxCell = 259;

// Ends the run (libFuzzer then saves the input) when a property does not hold.
inline void Check(bool holds)
{
    if (!holds)
        std::abort();
}

// The cells of the rows from `first` on, each checked against the cell limit.
inline std::vector<std::vector<std::string>> RowsFrom(const ResultList& list, std::size_t first = 0)
{
    std::vector<std::vector<std::string>> rows;
    list.ForEachRowFrom(first, [&rows](std::size_t, const ResultRow& row) {
        for (const std::string& cell : row.cells)
            Check(cell.size() <= kMaxCell);
        rows.push_back(row.cells);
        return true;
    });
    return rows;
}

// Checks the cell limit over the rows from `first` on without copying them.
inline void CheckCells(const ResultList& list, std::size_t first = 0)
{
    list.ForEachRowFrom(first, [](std::size_t, const ResultRow& row) {
        for (const std::string& cell : row.cells)
            Check(cell.size() <= kMaxCell);
        return true;
    });
}

} // namespace lt::fuzz
