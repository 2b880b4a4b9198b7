// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>

namespace lt {

using ByteTable = std::array<uint8_t, 256>;

// The byte tables shared by the scanners and the index-file readers. Fixed Windows-1252 tables,
// independent of the process locale. Built once at start-up; only SetUrlLike changes them later,
// and only while no scan runs.
struct CharTables
{
    ByteTable printableUrlChars{};
    ByteTable itemChars{};
    ByteTable alnumChars{};
    ByteTable emailChars{};
    ByteTable leadTrimMap{};
    ByteTable tailTrimMap{};
    ByteTable sentencePunct{};
    ByteTable caseFoldMap{};
    ByteTable ascii7Map{};
    std::array<uint16_t, 261> repeatLimit{};

    CharTables() { Build(false); }
    // Builds every table; `urlLike` leaves the blank and the double quote out of itemChars.
    void Build(bool urlLike);
    void SetUrlLike(bool urlLike);
};

} // namespace lt
