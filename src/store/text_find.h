// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lt {

// The longest find text the text window keeps.
inline constexpr std::size_t kMaxFindText = 254;

struct TextFindResult
{
    bool found = false;
    // The search went round to the beginning (the window beeps).
    bool wrapped = false;
    std::size_t pos = 0;    // byte offset of the match in the text
    std::size_t length = 0; // its length in bytes
};

// The text window's find-next over a UTF-8 text: `needle` is looked for from byte `from` on without
// regard to case (each character upper-cased as its Windows-1252 byte would be, characters the code
// page lacks compared as they are); when it is not found and the search did not start at the
// beginning, it runs once more from the beginning. An empty needle finds nothing and does not wrap.
TextFindResult FindNextInText(std::string_view text, std::string_view needle, std::size_t from);

// The upper-cased form FindNextInText compares; every character keeps its byte length.
std::string FoldForFind(std::string_view text);

} // namespace lt
