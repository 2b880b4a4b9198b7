// SPDX-License-Identifier: GPL-3.0-or-later
// The text, CSV and HTML writers fed hostile cells: rows and cells cut from the input (0x02 ends
// a row, 0x01 a cell), written to a scratch file. No cell may add a line to the text or CSV file,
// and none may add a row or cell to the HTML table.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "core/app_state.h"
#include "export/list_export.h"
#include "fuzz_support.h"

namespace {

struct Harness
{
    lt::fuzz::QuietApp quiet;
    lt::AppState& app = quiet.app;
    std::string path = lt::fuzz::ScratchPath("fuzz_exports", ".txt");

    Harness()
    {
        app.list.SetColumns(std::vector<lt::ColumnState>{{"Url", lt::kColText, 100},
                                                         {"Title", lt::kColText, 100},
                                                         {"File", lt::kColText, 100}});
        app.list.SetAutoSort(lt::AutoSort::Off);
        app.listState.kind = lt::kListFileSearch;
        app.exportSettings.columns = {true, true, true, false, false, false};
    }
    ~Harness() { std::remove(path.c_str()); }

    std::string Written() const
    {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
};

std::size_t Count(std::string_view text, std::string_view part)
{
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string_view::npos; at = text.find(part, at + part.size()))
        ++n;
    return n;
}

// Every line ends in CRLF and no CR or LF stands alone.
bool OnlyCrlfLines(std::string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'))
            return false;
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            return false;
    }
    return true;
}

using lt::fuzz::Check;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    static Harness h;
    if (size < 2)
        return 0;
    lt::AppState& app = h.app;
    app.exportSettings.multipleCells = data[0] & 1;
    app.exportSettings.delimiter = static_cast<char>(data[1]) == '\r' || data[1] == '\n' ? ';' : static_cast<char>(data[1]);
    app.search.description = std::string(reinterpret_cast<const char*>(data), std::min<std::size_t>(size, 16));

    if (app.list.RowCount() > 0)
        app.list.ClearRows();
    const std::string_view input(reinterpret_cast<const char*>(data + 2), size - 2);
    std::size_t rowsWithText = 0;
    std::size_t start = 0;
    while (start <= input.size()) {
        std::size_t end = input.find('\x02', start);
        if (end == std::string_view::npos)
            end = input.size();
        lt::ResultRow row;
        const std::string_view line = input.substr(start, end - start);
        std::size_t cellStart = 0;
        while (row.cells.size() < 3) {
            const std::size_t cellEnd = std::min(line.find('\x01', cellStart), line.size());
            row.cells.emplace_back(line.substr(cellStart, std::min<std::size_t>(cellEnd - cellStart, 259)));
            if (cellEnd >= line.size())
                break;
            cellStart = cellEnd + 1;
        }
        row.cells.resize(3);
        if (!row.cells[0].empty() || !row.cells[1].empty() || !row.cells[2].empty())
            ++rowsWithText;
        app.list.InsertRow(std::move(row));
        start = end + 1;
    }

    // One format per input, drawn from the first byte: writing all three made the target slow.
    switch ((data[0] >> 1) % 3) {
    case 0: {
        Check(lt::ExportText(app, app.list, h.path, false, 0, lt::ExistingFile::Replace));
        const std::string text = h.Written();
        Check(OnlyCrlfLines(text));
        // The description, an empty line, then at most one line per cell.
        Check(Count(text, "\r\n") <= 2 + 3 * app.list.RowCount());
        break;
    }
    case 1:
        Check(lt::ExportCsv(app, app.list, h.path, false, 0) || rowsWithText == 0);
        if (rowsWithText > 0) {
            const std::string csv = h.Written();
            Check(OnlyCrlfLines(csv));
            Check(Count(csv, "\r\n") <= app.list.RowCount());
        }
        break;
    default: {
        Check(lt::ExportHtml(app, app.list, h.path, false, 0));
        const std::string html = h.Written();
        Check(Count(html, "<TR") == 1 + rowsWithText);
        Check(Count(html, "</TR>") == 1 + rowsWithText);
        Check(Count(html, "<TABLE") == 1);
        break;
    }
    }
    return 0;
}
