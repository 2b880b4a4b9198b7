// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lt {

// Up to 34 words of one filter edit (each at most 259 characters), split at blanks.
struct WordList
{
    std::vector<std::string> words;
    bool all = false; // "all the words" rather than "any of the words"
};

WordList MakeWordList(std::string_view text, bool all);

// A followed-links or saved-links filter: must contain, then must not contain.
struct WordFilter
{
    WordList must;
    WordList mustNot;
    bool IsOn() const { return !must.words.empty() || !mustNot.words.empty(); }
};

WordFilter MakeWordFilter(std::string_view must, bool mustAll, std::string_view mustNot, bool mustNotAll);

// Case-insensitive containment tests of a URL (Windows-1252 folding).
bool MustContainPasses(const WordList& list, std::string_view url);
bool MustNotContainPasses(const WordList& list, std::string_view url);
// Both tests; an off filter passes everything.
bool WordFilterPasses(const WordFilter& filter, std::string_view url);

// The dialog's check: false when both edits hold the same text, or when a must list in "all"
// mode (or of one word) shares a word with a non-empty must-not list.
bool WordFilterValid(std::string_view mustText, const WordFilter& filter, std::string_view mustNotText);

} // namespace lt
