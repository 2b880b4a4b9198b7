// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/startup_actions.h"

#include "core/app_state.h"
#include "core/window_messages.h"
#include "export/list_export.h"
#include "list/list_kind.h"
#include "search/search_jobs.h"

namespace lt {

void DispatchStartAction(AppState& app)
{
    const StartupState& s = app.startup;
    if (s.handoffKind == 2) {
        app.ui.Post(kMsgLoadHandoffSession, 0, 0);
        return;
    }
    if (s.handoffKind == 3) {
        app.ui.Post(kMsgOpenHandoffUrl, 0, 0);
        return;
    }
    if (s.startFileKind != 0) {
        app.ui.Post(kMsgOpenStartFile, 0, s.startFileKind);
        return;
    }
    switch (s.startAction) {
    case kStartSearchFiles:
    case kStartSearchFilesSaveText:
    case kStartSearchFilesSaveHtml:
    case kStartSearchFolder:
    case kStartSearchFolderSaveText:
    case kStartSearchFolderSaveHtml:
        app.ui.Post(kMsgRunStartSearch, 0, 0);
        break;
    default:
        break;
    }
}

bool RunStartSearch(AppState& app)
{
    const StartupState& s = app.startup;
    if (s.searchTarget.empty())
        return false;
    if (app.listState.kind != kListFileSearch)
        SwitchListKind(app, kListFileSearch);
    switch (s.startAction) {
    case kStartSearchFolder:
    case kStartSearchFolderSaveText:
    case kStartSearchFolderSaveHtml:
        SetupFolderSearch(app, s.searchTarget);
        app.status.SetStatusText(app.search.targetText, 0);
        return StartFolderSearch(app);
    case kStartSearchFiles:
    case kStartSearchFilesSaveText:
    case kStartSearchFilesSaveHtml:
        return SearchPickedFilesCommand(app, s.searchTarget);
    default:
        return false;
    }
}

bool FinishStartAction(AppState& app)
{
    const StartupState& s = app.startup;
    switch (s.startAction) {
    case kStartSearchFilesSaveText:
    case kStartSearchFolderSaveText:
    case kStartJobSaveText:
        ExportText(app, app.list, s.saveOutputPath, false, 0, ExistingFile::Replace);
        return true;
    case kStartSearchFilesSaveHtml:
    case kStartSearchFolderSaveHtml:
    case kStartJobSaveHtml:
        ExportHtml(app, app.list, s.saveOutputPath, false, 0);
        return true;
    default:
        return false;
    }
}

} // namespace lt
