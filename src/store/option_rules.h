// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>
#include <vector>

namespace lt {

// The rules of the option pages' edits, apart from their widgets.

// An order edit's text after a change: a number above `n` becomes n (only for one digit), one
// below 1 becomes 1; other texts (empty, not a number) stay as they are.
std::string ClampOrderDigit(const std::string& text, int n);
// True when `order` holds each digit 1..n exactly once.
bool IsOrderPermutation(const std::string& order, int n);
// Edit `changed` of the order edits went from `before` to digits[changed]: when both are in 1..n
// and the digits are no longer a permutation, the other edit holding the new digit takes the old
// one (the two swap). Digits are 0 for an edit without a number.
void SwapIntoPermutation(std::vector<int>& digits, std::size_t changed, int before);

// The export column boxes on confirmation: with none ticked the first column is ticked.
std::array<bool, 6> ConfirmedExportColumns(std::array<bool, 6> ticked);

// The proxy as stored: kept when it ends in ":" and a port of 1..65535; a port that is none
// ("host:0", "host:") becomes ":80", and a proxy without one gets ":80".
std::string ProxyWithPort(const std::string& proxy);
// Puts `proxy` at the head of the history without repeating it; at most seven entries.
void RememberProxy(std::vector<std::string>& history, const std::string& proxy);

// The request time-out from the "Time out seconds:" text: a positive number, at most one day;
// false (and `seconds` unchanged) for 0 or a text that is no number.
bool ParseTimeout(const std::string& text, int& seconds);

} // namespace lt
