// SPDX-License-Identifier: GPL-3.0-or-later
#include "inet/word_filter.h"

#include "core/cp1252.h"

namespace lt {
namespace {

constexpr std::size_t kMaxWords = 34;
constexpr std::size_t kMaxWord = 259;

bool ContainsNoCase(std::string_view text, std::string_view word)
{
    if (word.empty())
        return true;
    if (word.size() > text.size())
        return false;
    for (std::size_t i = 0; i + word.size() <= text.size(); ++i) {
        std::size_t j = 0;
        while (j < word.size() && Cp1252Lower(static_cast<uint8_t>(text[i + j])) ==
                                      Cp1252Lower(static_cast<uint8_t>(word[j])))
            ++j;
        if (j == word.size())
            return true;
    }
    return false;
}

bool EqualNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && ContainsNoCase(a, b);
}

} // namespace

WordList MakeWordList(std::string_view text, bool all)
{
    WordList list;
    list.all = all;
    std::size_t i = 0;
    while (i < text.size() && list.words.size() < kMaxWords) {
        while (i < text.size() && text[i] == ' ')
            ++i;
        const std::size_t start = i;
        while (i < text.size() && text[i] != ' ')
            ++i;
        if (i > start)
            list.words.emplace_back(text.substr(start, std::min(i - start, kMaxWord)));
    }
    return list;
}

WordFilter MakeWordFilter(std::string_view must, bool mustAll, std::string_view mustNot, bool mustNotAll)
{
    return {MakeWordList(must, mustAll), MakeWordList(mustNot, mustNotAll)};
}

bool MustContainPasses(const WordList& list, std::string_view url)
{
    if (list.words.empty())
        return true;
    if (url.empty())
        return false;
    for (const std::string& word : list.words) {
        const bool found = ContainsNoCase(url, word);
        if (list.all && !found)
            return false;
        if (!list.all && found)
            return true;
    }
    return list.all;
}

bool MustNotContainPasses(const WordList& list, std::string_view url)
{
    if (list.words.empty() || url.empty())
        return true;
    for (const std::string& word : list.words) {
        const bool found = ContainsNoCase(url, word);
        if (!list.all && found)
            return false;
        if (list.all && !found)
            return true;
    }
    return !list.all;
}

bool WordFilterPasses(const WordFilter& filter, std::string_view url)
{
    return MustContainPasses(filter.must, url) && MustNotContainPasses(filter.mustNot, url);
}

bool WordFilterValid(std::string_view mustText, const WordFilter& filter, std::string_view mustNotText)
{
    if (!mustText.empty() && EqualNoCase(mustText, mustNotText))
        return false;
    if ((filter.must.all || filter.must.words.size() == 1) && !filter.mustNot.words.empty()) {
        for (const std::string& a : filter.must.words)
            for (const std::string& b : filter.mustNot.words)
                if (EqualNoCase(a, b))
                    return false;
    }
    return true;
}

} // namespace lt
