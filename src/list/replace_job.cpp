// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/replace_job.h"

#include "core/cp1252.h"
#include "core/job_control.h"
#include "list/result_list.h"
#include "list/view_edit.h"

namespace lt {
namespace {

constexpr std::size_t kNotFound = std::string::npos;
constexpr int kMaxReplacements = 260;

bool SameByte(char a, char b, bool matchCase)
{
    return matchCase ? a == b : Cp1252Lower(static_cast<uint8_t>(a)) == Cp1252Lower(static_cast<uint8_t>(b));
}

bool MatchAt(const std::string& text, std::size_t at, const std::string& word, bool matchCase)
{
    if (at + word.size() > text.size())
        return false;
    for (std::size_t i = 0; i < word.size(); ++i)
        if (!SameByte(text[at + i], word[i], matchCase))
            return false;
    return true;
}

std::size_t FindFirst(const std::string& text, const std::string& word, std::size_t from, bool matchCase)
{
    if (word.empty() || word.size() > text.size())
        return kNotFound;
    for (std::size_t p = from; p + word.size() <= text.size(); ++p)
        if (MatchAt(text, p, word, matchCase))
            return p;
    return kNotFound;
}

std::size_t FindLast(const std::string& text, const std::string& word, bool matchCase)
{
    if (word.empty() || word.size() > text.size())
        return kNotFound;
    for (std::size_t p = text.size() - word.size() + 1; p-- > 0;)
        if (MatchAt(text, p, word, matchCase))
            return p;
    return kNotFound;
}

bool StartsWith(const std::string& text, const std::string& word, bool matchCase)
{
    return MatchAt(text, 0, word, matchCase);
}

bool EndsWith(const std::string& text, const std::string& word, bool matchCase)
{
    return word.size() <= text.size() && MatchAt(text, text.size() - word.size(), word, matchCase);
}

bool Fits(std::size_t length)
{
    return length < kMaxCellLength;
}

std::string Trimmed(std::string_view text)
{
    std::size_t a = 0, b = text.size();
    while (a < b && (text[a] == ' ' || text[a] == '\t'))
        ++a;
    while (b > a && (text[b - 1] == ' ' || text[b - 1] == '\t'))
        --b;
    return std::string(text.substr(a, b - a));
}

bool Insert(std::string& cell, const ReplaceParams& p)
{
    const std::string& r = p.replacePart;
    if (cell.empty()) {
        cell = r;
        return !r.empty();
    }
    if (p.fromLeft) {
        if (StartsWith(cell, r, false) || !Fits(cell.size() + r.size()))
            return false;
        cell.insert(0, r);
        return true;
    }
    if (p.fromRight) {
        if (EndsWith(cell, r, false) || !Fits(cell.size() + r.size()))
            return false;
        cell += r;
        return true;
    }
    return false;
}

bool CopyFirstWord(std::string& cell, const ReplaceParams& p)
{
    std::string word;
    if (p.fromLeft) {
        const std::size_t blank = cell.find(' ');
        if (blank == kNotFound)
            return false;
        word = Trimmed(std::string_view(cell).substr(0, std::min<std::size_t>(blank, 260)));
    } else {
        const std::size_t blank = cell.rfind(' ');
        if (blank == kNotFound)
            return false;
        word = Trimmed(std::string_view(cell).substr(blank + 1));
    }
    if (word.empty() || !Fits(cell.size() + 1 + word.size()))
        return false;
    // From the left the word goes to the front, from the right to the end; the opposite side
    // swaps that.
    const bool toFront = p.fromLeft != p.toOppositeSide;
    cell = toFront ? word + " " + cell : cell + " " + word;
    return true;
}

bool Append(std::string& cell, const ReplaceParams& p)
{
    const std::string& w = p.findPart;
    if (p.fromLeft) {
        if (StartsWith(cell, w, p.matchCase) || !Fits(cell.size() + w.size()))
            return false;
        cell.insert(0, w);
        return true;
    }
    if (EndsWith(cell, w, p.matchCase) || !Fits(cell.size() + w.size()))
        return false;
    cell += w;
    return true;
}

bool CutOff(std::string& cell, const ReplaceParams& p)
{
    const std::string& w = p.findPart;
    const std::size_t at = p.fromLeft ? FindFirst(cell, w, 0, p.matchCase) : FindLast(cell, w, p.matchCase);
    if (at == kNotFound)
        return false;
    std::string result;
    if (p.keepRight) {
        std::size_t from = p.keepDelimiter ? at : at + w.size();
        while (from < cell.size() && (cell[from] == ' ' || cell[from] == '\t'))
            ++from;
        result = cell.substr(from);
    } else {
        result = cell.substr(0, p.keepDelimiter ? at + w.size() : at);
    }
    // An edit that would empty the cell leaves it alone.
    if (result.empty() || result == cell)
        return false;
    cell = std::move(result);
    return true;
}

bool Replace(std::string& cell, const ReplaceParams& p)
{
    const std::string& w = p.findPart;
    const std::string& r = p.replacePart;
    if (p.fromLeft || p.fromRight) {
        const std::size_t at = p.fromLeft ? FindFirst(cell, w, 0, p.matchCase) : FindLast(cell, w, p.matchCase);
        if (at == kNotFound || !Fits(cell.size() - w.size() + r.size()))
            return false;
        cell.replace(at, w.size(), r);
        return true;
    }
    // Left to right without overlaps: each search goes on just after the inserted text, so
    // that a replacement is never matched again.
    bool changed = false;
    std::size_t from = 0;
    for (int n = 0; n < kMaxReplacements; ++n) {
        const std::size_t at = FindFirst(cell, w, from, p.matchCase);
        if (at == kNotFound || !Fits(cell.size() - w.size() + r.size()) || at + r.size() >= 260)
            break;
        cell.replace(at, w.size(), r);
        changed = true;
        from = at + r.size();
    }
    return changed;
}

} // namespace

bool ReplaceRefused(const ReplaceParams& p)
{
    bool anyColumn = false;
    for (const bool c : p.editColumns)
        anyColumn |= c;
    if (!anyColumn)
        return true;
    switch (p.editMode) {
    case kEditReplace:
        if (p.findPart == p.replacePart)
            return true;
        return p.findPart.empty() && !p.fromLeft && !p.fromRight;
    case kEditCutOff:
        return p.findPart.empty() || (!p.fromLeft && !p.fromRight) || p.keepLeft == p.keepRight;
    case kEditAppend:
        return (p.findPart.empty() && !p.copyFirstWord) || (!p.fromLeft && !p.fromRight);
    default:
        return true;
    }
}

bool ReplaceCellText(std::string& cell, const ReplaceParams& p)
{
    if (p.editMode == kEditReplace && p.findPart.empty())
        return Insert(cell, p);
    if (cell.empty())
        return false;
    switch (p.editMode) {
    case kEditAppend: return p.copyFirstWord ? CopyFirstWord(cell, p) : Append(cell, p);
    case kEditCutOff: return CutOff(cell, p);
    case kEditReplace: return Replace(cell, p);
    default: return false;
    }
}

CellPassOutcome ReplaceRows(ResultList& list, const ReplaceParams& params, bool checkOrder, const StopCheck& stop,
                            const ProgressCheck& progress)
{
    if (ReplaceRefused(params))
        return {};
    return RunCellPass(
        list, params.editColumns, params.selectedOnly,
        [&params](std::string& cell, int) { return ReplaceCellText(cell, params); }, checkOrder, stop, progress);
}

bool StartReplaceJob(AppState& app, const ReplaceParams& params)
{
    if (ReplaceRefused(params))
        return false;
    return StartCellEditJob(
        app,
        [params](ResultList& list, bool checkOrder, const StopCheck& stop, const ProgressCheck& progress) {
            return ReplaceRows(list, params, checkOrder, stop, progress);
        },
        ItemsModifiedText);
}

} // namespace lt
