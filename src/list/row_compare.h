// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace lt {

// What a sort orders by; set by the command before the sort starts.
enum SortMode : int { kSortColumn = 0, kSortLength = 1, kSortEnding = 2, kSortTrailing = 3, kSortSymbol = 4 };

// The locale comparison of the sorts: an ICU collator for the user's locale (the root locale when
// none is set), tertiary strength so that case counts. Cells are decoded first: valid UTF-8 as
// UTF-8, anything else as Windows-1252; full-width ASCII forms compare as their plain forms.
// Created once per sort; Compare and SortKey may be called from the sorting thread only.
class LocaleCollator
{
public:
    // `locale` is an ICU or POSIX locale name ("de_DE.UTF-8"); empty, "C" and "POSIX" mean root.
    explicit LocaleCollator(const std::string& locale = "");
    ~LocaleCollator();
    LocaleCollator(const LocaleCollator&) = delete;
    LocaleCollator& operator=(const LocaleCollator&) = delete;

    // The user's locale from LC_ALL, LC_COLLATE or LANG.
    static std::string UserLocale();

    int Compare(std::string_view a, std::string_view b) const; // -1, 0 or 1
    // A byte string whose plain byte order is the collation order of the cells.
    std::string SortKey(std::string_view text) const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

// Decodes a cell to UTF-16 the way the collator sees it.
std::u16string DecodeCellText(std::string_view text);
bool IsValidUtf8(std::string_view text);

// The leading number of a cell as atoi reads it (blanks, sign, digits), as a 64-bit value that
// saturates instead of wrapping.
int64_t CellNumber(std::string_view text);
// The digits of the trailing number: the digit run at the end of the text, or the last digit run
// before the end when the text does not end in a digit. Empty when the text has no digit.
std::string_view TrailingDigits(std::string_view text);
// Orders two digit runs by value, whatever their length: -1, 0 or 1.
int CompareDigitRuns(std::string_view a, std::string_view b);
// The four numbers of a dotted IP text; missing parts are 0.
void DottedNumbers(std::string_view text, int64_t out[4]);

// The fixed part of a comparison sort, copied from the sort state when the sort starts.
struct CompareParams
{
    int mode = kSortColumn;
    int column = 0;          // the sort column
    int columnType = 0;      // its ColumnType
    bool hitsHeader = false; // its header begins with 'H'
    bool lengthReversed = false;
    bool endingReversed = false;
    bool trailingReversed = false;
    bool symbolReversed = false;
    bool directionReversed = false; // the column's ColumnDirection
};

// True when a comparison with these parameters ends in the locale comparison, so that a sort can
// prepare collation keys once per row instead of decoding cells on every comparison.
bool UsesLocaleComparison(const CompareParams& params);

// The comparison of two cells of the comparison sort (negative: a first). `aIcon`/`bIcon` are the
// rows' icons, used by the symbol order only. `localeCompare` is the locale comparison of the two
// (already reversed, in ending mode) cells; it is called only when UsesLocaleComparison holds.
template <typename LocaleCompare>
int CompareCellsWith(const CompareParams& p, std::string_view a, std::string_view b, int aIcon, int bIcon,
                     LocaleCompare&& localeCompare);

// The same with a collator for the locale comparison.
int CompareCells(const CompareParams& params, const LocaleCollator& collator, std::string_view a,
                 std::string_view b, int aIcon = 1, int bIcon = 1);

// Internal steps shared by the template; exposed for it only.
namespace detail {
int CompareBeforeLocale(const CompareParams& p, std::string_view a, std::string_view b, int aIcon, int bIcon,
                        bool& decided);
int FinishLocale(const CompareParams& p, int localeResult);
std::string Reversed(std::string_view text);
} // namespace detail

template <typename LocaleCompare>
int CompareCellsWith(const CompareParams& p, std::string_view a, std::string_view b, int aIcon, int bIcon,
                     LocaleCompare&& localeCompare)
{
    bool decided = false;
    const int early = detail::CompareBeforeLocale(p, a, b, aIcon, bIcon, decided);
    if (decided)
        return early;
    return detail::FinishLocale(p, localeCompare());
}

} // namespace lt
