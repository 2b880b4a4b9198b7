// SPDX-License-Identifier: GPL-3.0-or-later
// Parses arbitrary bytes as a text file with column settings taken from the input's first bytes,
// and checks the records: never more than six cells, none longer than a cell may be, and the
// same rows whether the bytes come in one piece or through the file reader's chunks.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "list/parse_text.h"

using lt::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 8)
        return 0;
    // Byte 0: Space boxes, byte 1: Entire Line boxes, byte 2: which columns get a marker,
    // byte 3: start line, byte 4: end line, bytes 5..7: marker texts cut from the input.
    lt::ParseSettings s;
    for (int c = 0; c < 6; ++c) {
        s.spaceMarker[c] = (data[0] >> c) & 1;
        s.entireLine[c] = (data[1] >> c) & 1;
        if ((data[2] >> c) & 1) {
            const std::size_t from = 8 + (data[5 + c % 3] % 16);
            const std::size_t length = 1 + (data[5 + (c + 1) % 3] % 4);
            if (from + length <= size)
                s.startMarker[c] = std::string(reinterpret_cast<const char*>(data) + from, length);
        }
    }
    s.startLine = data[3] % 8;
    s.endLine = data[4] % 16;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 8, size - 8);
    for (const bool folder : {false, true}) {
        const lt::ParsePlan plan = lt::MakeParsePlan(s, folder);
        std::vector<lt::ParseRow> rows;
        lt::ParseBytes(plan, bytes, "/f", [&rows](lt::ParseRow& row) {
            for (const std::string& cell : row)
                Check(cell.size() <= lt::kParseCellLimit);
            rows.push_back(row);
        });
        // Bytes handed over in small pieces give the same records.
        std::vector<lt::ParseRow> again;
        lt::ParseRecords records(plan, "/f", [&again](lt::ParseRow& row) { again.push_back(row); });
        std::size_t lineStart = 0;
        long number = 0;
        bool going = true;
        for (std::size_t i = 0; i <= bytes.size() && going; ++i) {
            const bool end = i == bytes.size();
            if (!end && bytes[i] != '\n' && bytes[i] != '\r')
                continue;
            if (end && lineStart == i)
                break;
            going = records.Line(bytes.substr(lineStart, i - lineStart), ++number);
            if (!end && bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
            lineStart = i + 1;
        }
        records.Finish();
        Check(rows == again);
    }
    return 0;
}
