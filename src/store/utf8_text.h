// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lt::utf8 {

// The length (1..4) of the well-formed UTF-8 sequence at `pos`, with its code point in `cp`; 0 when
// the bytes there are no such sequence (a stray continuation byte, an overlong form, a surrogate, a
// value beyond U+10FFFF or a sequence cut by the end).
std::size_t Decode(std::string_view text, std::size_t pos, char32_t& cp);

// True when the whole text is well-formed UTF-8.
bool IsValid(std::string_view text);

void Append(std::string& out, char32_t cp);

// The number of UTF-16 units the text takes once decoded (the positions of a Qt text); an invalid
// byte counts as one unit, as a replacement character would.
std::size_t Utf16Length(std::string_view text);

} // namespace lt::utf8
