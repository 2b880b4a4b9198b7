// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/messages.h"

#include "core/app_state.h"

namespace lt {

namespace {

constexpr MsgStyle kInformation{MsgButtons::Ok, MsgIcon::Information};

bool IsInformationBox(MsgStyle style)
{
    return style.buttons == MsgButtons::Ok && (style.icon == MsgIcon::Information || style.icon == MsgIcon::None);
}

// "Item" for the item kinds from the user string on and for every list that is not a file
// search, else "Url".
bool CountsItems(const AppState& app)
{
    return app.settings.itemKind >= kItemUser || app.listState.kind != kListFileSearch;
}

std::string Counted(long count, const char* noun, const char* plural)
{
    std::string text = std::to_string(count) + ' ' + noun;
    if (count > 1)
        text += plural;
    return text;
}

} // namespace

MsgAnswer ShowMessage(AppState& app, const std::string& text, const std::string& caption, MsgStyle style)
{
    // An unattended save-and-close run has nobody to press a button: information boxes are
    // dropped; failures and questions still reach the port, which reports or answers them.
    if (app.startup.Unattended() && IsInformationBox(style))
        return MsgAnswer::Ok;
    return app.ui.ShowMessage(text, caption, style);
}

std::string ResultNounText(const AppState& app, long count)
{
    const bool items = CountsItems(app);
    if (count <= 0)
        return items ? "No Items" : "No Url";
    return Counted(count, items ? "Item" : "Url", "s");
}

void ReportResult(AppState& app, long count, bool quiet)
{
    const int kind = app.listState.kind;
    const std::string noun = ResultNounText(app, count);
    const long rows = static_cast<long>(app.list.RowCount());
    if (!quiet && (kind == kListFileList || kind == kListRecentLinks || kind == kListParsedText)) {
        ShowMessage(app, noun + " found !", "LinkTrawl", kInformation);
    } else if (!quiet && kind != kListOldSession) {
        const std::string& caption = app.anchors.caption.empty() ? std::string("LinkTrawl") : app.anchors.caption;
        ShowMessage(app, noun + " found !", caption, kInformation);
    } else if (rows != count) {
        if (quiet)
            ShowMessage(app, noun + " added.", "LinkTrawl", kInformation);
        else
            app.status.SetStatusText(noun + " added.", 0);
    } else {
        ShowMessage(app, noun + " found !", "LinkTrawl", kInformation);
    }
    app.status.ShowRowCount(rows);
}

void ReportFound(AppState& app, long count)
{
    const std::string text = count <= 0 ? std::string("No Items") : Counted(count, "Item", "s");
    ShowMessage(app, text + " found !", "LinkTrawl", kInformation);
}

void ReportInserted(AppState& app, long count)
{
    ShowMessage(app, Counted(count, "Url", "'s") + " inserted !", "LinkTrawl", kInformation);
}

void ReportSaved(AppState& app, long count)
{
    ShowMessage(app, Counted(count, CountsItems(app) ? "Item" : "Url", "s") + " saved !", "LinkTrawl",
                kInformation);
}

} // namespace lt
