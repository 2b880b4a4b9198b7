// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/cut_params_job.h"

#include "list/result_list.h"
#include "list/view_edit.h"

namespace lt {
namespace {

// Cuts at the last "/" unless it belongs to the scheme's "//".
void CutPageName(std::string& text)
{
    const std::size_t slash = text.rfind('/');
    if (slash == std::string::npos)
        return;
    if ((slash > 0 && text[slash - 1] == '/') || (slash + 1 < text.size() && text[slash + 1] == '/'))
        return;
    text.resize(slash);
}

bool CutAt(std::string& text, std::size_t at)
{
    if (at == std::string::npos)
        return false;
    text.resize(at);
    CutPageName(text);
    return true;
}

} // namespace

bool CutParamsText(std::string& text)
{
    std::string cut = text;
    bool any = CutAt(cut, cut.find('?'));
    std::size_t at = cut.find('=');
    if (at == std::string::npos)
        at = cut.find(';');
    if (CutAt(cut, at)) {
        any = true;
        CutAt(cut, cut.find('&'));
    }
    if (!any || cut.empty() || cut == text)
        return false;
    text = std::move(cut);
    return true;
}

CellPassOutcome CutParamsRows(ResultList& list, bool selectedOnly, bool checkOrder, const StopCheck& stop,
                              const ProgressCheck& progress)
{
    return RunCellPass(
        list, {true, false, false, false, false, false}, selectedOnly,
        [](std::string& cell, int) { return CutParamsText(cell); }, checkOrder, stop, progress);
}

bool StartCutParamsJob(AppState& app, bool selectedOnly)
{
    return StartCellEditJob(
        app,
        [selectedOnly](ResultList& list, bool checkOrder, const StopCheck& stop, const ProgressCheck& progress) {
            return CutParamsRows(list, selectedOnly, checkOrder, stop, progress);
        },
        UrlsModifiedText);
}

} // namespace lt
