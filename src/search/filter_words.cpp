// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/filter_words.h"

#include "core/app_state.h"
#include "core/cp1252.h"

namespace lt {

namespace {

constexpr std::size_t kMaxWords = 18;
constexpr std::size_t kMaxWordLen = 259;

bool IsBlankOrTab(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view s)
{
    while (!s.empty() && IsBlankOrTab(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlankOrTab(s.back()))
        s.remove_suffix(1);
    return s;
}

std::vector<std::string> SplitLine(const std::string& text)
{
    // Commas separate words like blanks; "\," is a comma that belongs to the word.
    std::string line;
    line.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == ',') {
            line.push_back(',');
            ++i;
        } else if (text[i] == ',') {
            line.push_back(' ');
        } else {
            line.push_back(text[i]);
        }
    }

    std::vector<std::string> words;
    std::string_view rest(line);
    // The rest is trimmed before every word, the first included, so that no empty word is
    // taken: an empty word would match every text.
    while (words.size() < kMaxWords) {
        while (!rest.empty() && IsBlankOrTab(rest.front()))
            rest.remove_prefix(1);
        if (rest.empty())
            break;
        const std::size_t end = rest.find(' ');
        std::string_view word = TrimBlanks(rest.substr(0, end));
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        if (!word.empty())
            words.emplace_back(word.substr(0, kMaxWordLen));
    }
    return words;
}

bool ContainsNoCase(std::string_view text, std::string_view word)
{
    if (word.empty())
        return true;
    if (word.size() > text.size())
        return false;
    const uint8_t first = Cp1252Lower(static_cast<uint8_t>(word[0]));
    for (std::size_t i = 0; i + word.size() <= text.size(); ++i) {
        if (Cp1252Lower(static_cast<uint8_t>(text[i])) != first)
            continue;
        std::size_t k = 1;
        while (k < word.size() &&
               Cp1252Lower(static_cast<uint8_t>(text[i + k])) == Cp1252Lower(static_cast<uint8_t>(word[k])))
            ++k;
        if (k == word.size())
            return true;
    }
    return false;
}

} // namespace

void BuildFilterWords(SearchSettings& settings, FilterWords& words)
{
    words.must = SplitLine(settings.mustText);
    words.mustNot = SplitLine(settings.mustNotText);
    if (words.must.empty() && words.mustNot.empty())
        settings.restrictEnabled = false;
}

bool FiltersValid(const SearchSettings& settings, const FilterWords& words, const CharTables& /*tables*/)
{
    if (Cp1252EqualsNoCase(settings.mustText, settings.mustNotText))
        return false;
    if (!words.mustNot.empty() && (settings.mustAll || words.must.size() == 1)) {
        for (const std::string& m : words.must)
            for (const std::string& n : words.mustNot)
                if (Cp1252EqualsNoCase(m, n))
                    return false;
    }
    return true;
}

bool MustNotPasses(const AppState& app, std::string_view text)
{
    const auto& words = app.filterWords.mustNot;
    if (!app.settings.restrictEnabled || words.empty() || text.empty())
        return true;
    if (!app.settings.mustNotAll) {
        for (const std::string& w : words)
            if (ContainsNoCase(text, w))
                return false;
        return true;
    }
    for (const std::string& w : words)
        if (!ContainsNoCase(text, w))
            return true;
    return false;
}

bool MustPassesWithTitle(const AppState& app, std::string_view item, std::string_view title)
{
    const auto& words = app.filterWords.must;
    if (!app.settings.restrictEnabled || words.empty())
        return true;
    const std::size_t needed = app.settings.mustAll ? words.size() : 1;
    std::size_t count = 0;
    if (!title.empty())
        for (const std::string& w : words)
            if (ContainsNoCase(title, w))
                ++count;
    // A word found in both the title and the item counts twice.
    for (std::size_t i = 0; i < words.size() && count < needed; ++i)
        if (ContainsNoCase(item, words[i]))
            ++count;
    return count >= needed;
}

bool MustPassesItem(const AppState& app, std::string_view item)
{
    const auto& words = app.filterWords.must;
    if (!app.settings.restrictEnabled || words.empty())
        return true;
    const std::size_t needed = app.settings.mustAll ? words.size() : 1;
    std::size_t count = 0;
    for (std::size_t i = 0; i < words.size() && count < needed; ++i)
        if (ContainsNoCase(item, words[i]))
            ++count;
    return count >= needed;
}

} // namespace lt
