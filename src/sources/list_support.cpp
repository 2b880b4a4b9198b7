// SPDX-License-Identifier: GPL-3.0-or-later
#include "sources/list_support.h"

#include "core/app_state.h"
#include "core/cp1252.h"
#include "core/messages.h"
#include "list/add_result_row.h"

namespace lt {

ReadingJob::ReadingJob(AppState& app, int32_t code) : m_app(app)
{
    m_app.jobs.jobCode.store(code);
}

ReadingJob::~ReadingJob()
{
    m_app.jobs.jobCode.store(0);
}

long AddListRow(AppState& app, const std::string& text, const std::string& second)
{
    auto& texts = app.listState.rowTexts;
    for (auto& cell : texts)
        cell.clear();
    texts[1] = second;
    return AddResultRow(app, text);
}

void FinishListReading(AppState& app)
{
    const long rows = static_cast<long>(app.list.RowCount());
    app.status.ShowRowCount(rows);
    if (rows > 0) {
        app.list.SetSelectedRows({0});
        app.list.SetFocusedRow(0);
    } else {
        ReportFound(app, 0);
    }
}

void ShowError(AppState& app, const std::string& text)
{
    ShowMessage(app, text, "Error", MsgStyle{MsgButtons::Ok, MsgIcon::Error});
}

bool AskYesNo(AppState& app, const std::string& text)
{
    return ShowMessage(app, text, "LinkTrawl", MsgStyle{MsgButtons::YesNo, MsgIcon::Question}) == MsgAnswer::Yes;
}

void ShowInformation(AppState& app, const std::string& text)
{
    ShowMessage(app, text, "LinkTrawl", MsgStyle{MsgButtons::Ok, MsgIcon::Information});
}

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && Cp1252EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

} // namespace lt
