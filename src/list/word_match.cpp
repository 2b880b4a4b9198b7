// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/word_match.h"

#include "core/cp1252.h"
#include "list/result_list.h"

namespace lt {
namespace {

std::string Folded(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(Cp1252Lower(static_cast<uint8_t>(c)));
    return out;
}

} // namespace

std::vector<std::string> MatchWords(const std::string& text)
{
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
            ++i;
        const std::size_t start = i;
        while (i < text.size() && text[i] != ' ' && text[i] != '\t')
            ++i;
        if (i > start)
            words.push_back(Folded(std::string_view(text).substr(start, i - start)));
    }
    return words;
}

bool WordMatchRefused(const WordMatchParams& p)
{
    if (p.containing.empty() && p.notContaining.empty())
        return true;
    bool anyColumn = false;
    for (const bool c : p.columns)
        anyColumn |= c;
    if (!anyColumn)
        return true;
    if (MatchWords(p.containing).empty() && MatchWords(p.notContaining).empty())
        return true;
    return Cp1252EqualsNoCase(p.containing, p.notContaining);
}

WordMatcher::WordMatcher(const WordMatchParams& params)
    : m_columns(params.columns), m_containing(MatchWords(params.containing)),
      m_notContaining(MatchWords(params.notContaining))
{
}

bool WordMatcher::ContainsAny(const std::vector<std::string>& folded, const std::vector<std::string>& words) const
{
    for (const std::string& cell : folded)
        for (const std::string& word : words)
            if (cell.find(word) != std::string::npos)
                return true;
    return false;
}

bool WordMatcher::Matches(const ResultRow& row) const
{
    std::vector<std::string> folded;
    for (int c = 0; c < 6; ++c)
        if (m_columns[c] && !row.Cell(c).empty())
            folded.push_back(Folded(row.Cell(c)));
    if (folded.empty())
        return false;
    if (!m_containing.empty() && ContainsAny(folded, m_containing))
        return true;
    return !m_notContaining.empty() && !ContainsAny(folded, m_notContaining);
}

} // namespace lt
