// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/search_caption.h"

#include "core/app_state.h"

namespace lt {

std::string CutSearchCaption(const std::string& caption)
{
    if (caption.empty() || caption[0] != '"')
        return caption;
    std::size_t quotes = 0;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] != '"' || ++quotes < 8)
            continue;
        if (caption.size() - (i + 1) > 6)
            return caption.substr(0, i + 1) + " ...";
        break;
    }
    return caption;
}

void ShowSearchCaption(AppState& app)
{
    if (app.listState.kind == kListOldSession)
        return;
    const SearchState& s = app.search;
    const std::string& caption = s.targetText.empty() ? s.droppedCaption : s.targetText;
    app.status.SetStatusText(CutSearchCaption(caption), 0);
    app.status.SetStatusText(s.severalTargets ? std::string(" ") : s.singleTargetText, 1);
}

} // namespace lt
