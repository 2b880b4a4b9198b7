// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>

namespace lt {

// Settings of the options page "Export" (INI keys A6, A7, R15).
struct ExportSettings
{
    std::array<bool, 6> columns{true, false, false, false, false, false}; // "&1".."&6"
    std::string order = "123456";  // digits 1..6, each once
    char delimiter = ';';
    bool multipleCells = true;     // HTML: one cell per column
    std::string a7Rest = "00";     // digits 7 and 8 of A7, kept as read
    // The Read Internet Files window's report option; 3 exports its columns 1 to 4 (kind 2).
    int crawlReportOption = 0;
};

} // namespace lt
