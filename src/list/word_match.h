// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "list/cell_pass.h"

namespace lt {

struct ResultRow;

// The settings of "Select all list entries ..." and "Delete all list entries ..." (each dialog has
// its own copy).
struct WordMatchParams
{
    std::string containing;
    std::string notContaining;
    ColumnMask columns{true, false, false, false, false, false};
    bool addToSelection = false; // selecting only
};

// The words of a text, split at blanks and tabs, case-folded.
std::vector<std::string> MatchWords(const std::string& text);

// The refusal rules: both texts empty, no column, no word in either text, or the two texts equal
// ignoring case.
bool WordMatchRefused(const WordMatchParams& params);

// The prepared test.
class WordMatcher
{
public:
    explicit WordMatcher(const WordMatchParams& params);
    // A row contains a word when any of its set, non-empty cells does. It matches when it contains
    // one of the "containing" words, or when "not containing" words are given and it contains
    // none of them. A row whose set cells are all empty is never tested.
    bool Matches(const ResultRow& row) const;

private:
    bool ContainsAny(const std::vector<std::string>& folded, const std::vector<std::string>& words) const;

    ColumnMask m_columns;
    std::vector<std::string> m_containing;
    std::vector<std::string> m_notContaining;
};

} // namespace lt
