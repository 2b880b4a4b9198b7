// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace lt::test {

// Builds URL-cache index files from the documented layout.
class IndexBuilder
{
public:
    // `wine`: Wine's header; otherwise the browser's with `version` ("5.2", "4.7").
    explicit IndexBuilder(bool wine = true, const std::string& version = "5.2")
    {
        bytes.assign(20480, '\0');
        const std::string header = wine ? "WINE URLCache Ver 0.2012001" : "Client UrlCache MMF Ver " + version;
        bytes.replace(0, header.size(), header);
        major = wine ? 5 : version[0] - '0';
        // Wine keeps a HASH table at the start of the entries.
        bytes.replace(0x4000, 4, "HASH");
    }

    static void Put32(std::string& b, uint64_t at, uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            b[at + i] = static_cast<char>(v >> (8 * i));
    }
    static void Put64(std::string& b, uint64_t at, uint64_t v)
    {
        Put32(b, at, static_cast<uint32_t>(v));
        Put32(b, at + 4, static_cast<uint32_t>(v >> 32));
    }
    // Unix seconds as FILETIME.
    static uint64_t FileTime(int64_t seconds) { return static_cast<uint64_t>(seconds + 11644473600LL) * 10000000ULL; }

    // Appends a record at the next block boundary (or at `at`); returns its offset.
    uint64_t Record(const std::string& text, uint32_t blocks = 3, int hits = 7, uint64_t date1 = FileTime(1700000000),
                    uint64_t date2 = FileTime(1700003600), const std::string& textFile = "", uint64_t at = 0)
    {
        const uint64_t start = at ? at : (bytes.size() + 127) / 128 * 128;
        const uint64_t length = std::max<uint64_t>(uint64_t{blocks} * 128, 128 * 3);
        if (bytes.size() < start + length)
            bytes.resize(start + length, '\0');
        bytes.replace(start, 4, "URL ");
        Put32(bytes, start + 4, blocks);
        Put64(bytes, start + 8, date2);
        Put64(bytes, start + 16, date1);
        const uint64_t textField = major >= 5 ? 52 : 56, nameField = major >= 5 ? 60 : 64;
        bytes[start + textField] = 0x68;
        bytes[start + 84] = static_cast<char>(hits);
        bytes.replace(start + 0x68, text.size() + 1, text + '\0');
        if (!textFile.empty()) {
            const uint64_t nameAt = 0x68 + text.size() + 1;
            bytes[start + nameField] = static_cast<char>(nameAt);
            bytes.replace(start + nameAt, textFile.size() + 1, textFile + '\0');
        }
        return start;
    }
    // A 128-byte-aligned structure that is not a URL record.
    uint64_t Table(const char* signature, uint32_t blocks = 2)
    {
        const uint64_t start = (bytes.size() + 127) / 128 * 128;
        bytes.resize(start + uint64_t{blocks} * 128, '\x5A');
        bytes.replace(start, 4, signature);
        Put32(bytes, start + 4, blocks);
        return start;
    }

    std::string bytes;
    int major = 5;
};

} // namespace lt::test
