// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/unescape_job.h"

#include "core/cp1252.h"
#include "list/result_list.h"
#include "list/view_edit.h"

namespace lt {
namespace {

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace

bool UnescapeText(std::string& text)
{
    if (text.find('%') == std::string::npos)
        return false;
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            const int hi = HexValue(text[i + 1]);
            const int lo = HexValue(text[i + 2]);
            const int byte = hi * 16 + lo;
            if (hi >= 0 && lo >= 0 && byte >= 0x20 && byte != 0x7F) {
                out.push_back(static_cast<char>(byte));
                i += 2;
                continue;
            }
        }
        out.push_back(text[i]);
    }
    if (Cp1252EqualsNoCase(out, text))
        return false;
    text = std::move(out);
    return true;
}

CellPassOutcome UnescapeRows(ResultList& list, bool selectedOnly, bool checkOrder, const StopCheck& stop,
                             const ProgressCheck& progress)
{
    return RunCellPass(
        list, {true, false, false, false, false, false}, selectedOnly,
        [](std::string& cell, int) { return UnescapeText(cell); }, checkOrder, stop, progress);
}

bool StartUnescapeJob(AppState& app, bool selectedOnly)
{
    return StartCellEditJob(
        app,
        [selectedOnly](ResultList& list, bool checkOrder, const StopCheck& stop, const ProgressCheck& progress) {
            return UnescapeRows(list, selectedOnly, checkOrder, stop, progress);
        },
        UrlsModifiedText);
}

} // namespace lt
