// SPDX-License-Identifier: GPL-3.0-or-later
// Small helpers of the tests: whole files and shell quoting.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace lt::testing_support {

inline std::string ReadAll(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// `text` as one word for /bin/sh.
inline std::string Quoted(const std::string& text)
{
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

} // namespace lt::testing_support
