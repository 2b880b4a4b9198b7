// SPDX-License-Identifier: GPL-3.0-or-later
// Reads arbitrary bytes as a URL-cache index file with both readers, then blanks every listed
// record, and checks that records lie on the block grid inside the file and that blanking keeps
// the file's size.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "sources/index_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const uint8_t mode = data[0];
    // Most inputs are records: put them behind a header and the empty space before the records.
    std::string bytes;
    if (mode & 1) {
        bytes.assign(lt::kIndexRecordArea, '\0');
        const std::string header = mode & 2 ? "WINE URLCache Ver 0.2012001" : "Client UrlCache MMF Ver 5.2";
        bytes.replace(0, header.size(), header);
    }
    bytes.append(reinterpret_cast<const char*>(data + 1), size - 1);

    lt::MemoryByteSource source(bytes);
    lt::IndexScanOptions options;
    options.cookieReader = (mode & 4) != 0;
    options.label = mode & 8 ? "Visited:" : "Cookie:";
    options.kind = 1 + (mode >> 4) % 4;
    options.textFileExists = [](const std::string& name) {
        lt::fuzz::Check(lt::IsPlainFileName(name));
        return (name.size() & 1) != 0;
    };
    std::string blanked = bytes;
    lt::ScanIndexFile(source, options, [&](const lt::IndexRow& row) {
        lt::fuzz::Check(row.offset % lt::kIndexBlock == 0 && row.offset >= lt::kIndexRecordArea);
        lt::fuzz::Check(row.offset + 3 <= bytes.size());
        lt::fuzz::Check(row.url.size() <= 258 && row.user.size() <= 258 && row.textFile.size() <= 259);
        if (row.offset + 16 <= blanked.size())
            lt::fuzz::Check(lt::BlankIndexRecord(blanked, row.offset) || blanked.compare(row.offset, 3, "URL") != 0);
        lt::fuzz::Check(blanked.size() == bytes.size());
    });
    return 0;
}
