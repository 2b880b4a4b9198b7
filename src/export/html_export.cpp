// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstdlib>
#include <ctime>
#include <string>
#include <string_view>

#include "core/app_state.h"
#include "core/cp1252.h"
#include "core/messages.h"
#include "export/export_columns.h"
#include "export/export_common.h"
#include "export/export_file.h"
#include "export/html_escape.h"
#include "export/list_export.h"

namespace lt {

namespace {

constexpr std::size_t kChunkSize = 16 * 1024;
constexpr std::string_view kHeaderFont = "<font color=\"#FFFFFF\" size=\"4\">";

const char* PageTitle(int kind)
{
    switch (kind) {
    case 0:
    case 1: return "LinkTrawl Results";
    case 2: return "Read Internet file";
    case 3: return "Batch Download";
    case 4: return "Test Url Status";
    default: return "";
    }
}

bool StartsNoCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && Cp1252EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

// Texts that read as web addresses are written as links wherever they stand.
bool LooksLikeLink(std::string_view text)
{
    if (text.size() >= 7 && StartsNoCase(text, "http") && text[6] == '/' && (text[4] == ':' || text[5] == ':'))
        return true;
    if (text.size() > 6 && text.substr(0, 4) == "ftp:")
        return true;
    return StartsNoCase(text, "www.");
}

void AppendLink(std::string& out, std::string_view href, std::string_view text)
{
    out += "<a href=\"";
    AppendHtmlEscaped(out, href);
    out += "\">\r\n";
    AppendHtmlEscaped(out, text);
    out += "</A>";
}

std::string CurrentDateText()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return ExportDateText(local);
}

struct PageShape
{
    const ExportColumns& columns;
    bool hitRate = false;
    bool multipleCells = true;
    bool urlHeader = false;  // the list's first header begins with "U"
    bool titleLinked = false; // column 2 has a "T" header and is linked to the row's Url
};

void AppendHeaderRow(std::string& out, const PageShape& shape, int kind)
{
    out += "<TR BGCOLOR=\"#8fbc8f\">\r\n";
    const std::string_view firstCell = shape.hitRate ? "<TD WIDTH=84%>" : "<TD>";
    if (!shape.multipleCells) {
        out += firstCell;
        out += kHeaderFont;
        out += PageTitle(kind);
        out += "</font></TD></TR>\r\n";
        return;
    }
    for (int column : shape.columns.listOrder) {
        const std::string& header = shape.columns.headers[static_cast<std::size_t>(column)];
        if (column == 0)
            out += firstCell;
        else
            out += header.starts_with('H') ? "<TD WIDTH=16% align=right>" : "<TD>";
        out += kHeaderFont;
        AppendHtmlEscaped(out, header);
        out += "</TD></font>\r\n";
    }
    out += "</TR>\r\n";
}

// Writes one cell's text by the link rule; returns true when it became a link.
bool AppendCellText(std::string& out, const PageShape& shape, int column, const ResultRow& row, bool urlLinked)
{
    const std::string& text = row.Cell(column);
    if (column == 0) {
        if (!text.empty() && (shape.urlHeader || LooksLikeLink(text))) {
            AppendLink(out, text, text);
            return true;
        }
    } else if (column == 1 && shape.titleLinked && urlLinked && !text.empty()) {
        AppendLink(out, row.Cell(0), text);
        return true;
    } else if (LooksLikeLink(text)) {
        AppendLink(out, text, text);
        return true;
    }
    AppendHtmlEscaped(out, text);
    return false;
}

void AppendRow(std::string& out, const PageShape& shape, const ResultRow& row, long rowsWritten)
{
    out += rowsWritten % 2 == 0 ? "<TR BGCOLOR=\"#FFFFD0\">\r\n" : "<TR BGCOLOR=\"#C0DCC0\">\r\n";
    const std::string_view firstCell = shape.hitRate ? "<TD WIDTH=84%>" : "<TD>";
    bool urlLinked = false;
    if (shape.multipleCells) {
        for (int column : shape.columns.listOrder) {
            const std::string& text = row.Cell(column);
            if (column == 0) {
                out += firstCell;
                if (text.empty())
                    out += "&nbsp;";
                else
                    urlLinked = AppendCellText(out, shape, column, row, false);
                out += "</TD>\r\n";
                continue;
            }
            const bool bold = shape.columns.headers[static_cast<std::size_t>(column)].starts_with('H');
            out += bold ? "<TD WIDTH=16% align=right><b>" : "<TD>";
            if (text.empty())
                out += "&nbsp;";
            else
                AppendCellText(out, shape, column, row, urlLinked);
            out += bold ? "</TD></b>\r\n" : "</TD>\r\n";
        }
    } else {
        out += firstCell;
        for (int column : shape.columns.listOrder) {
            const std::string& text = row.Cell(column);
            if (column == 0) {
                if (!text.empty())
                    urlLinked = AppendCellText(out, shape, column, row, false);
                out += "<br>\r\n";
                continue;
            }
            if (text.empty())
                continue;
            AppendCellText(out, shape, column, row, urlLinked);
            out += "<br>\r\n";
        }
        out += "</TD>\r\n";
    }
    out += "</TR>\r\n";
}

} // namespace

bool ExportHtml(AppState& app, const ResultList& list, const std::string& path, bool selectedOnly, int kind)
{
    if (!ExportMayStart(app, list, path, selectedOnly, kind))
        return false;
    const ExportColumns columns = PlanExportColumns(app.exportSettings, list, kind);
    PageShape shape{columns};
    shape.hitRate = IsHitRateExport(app, kind);
    shape.multipleCells = app.exportSettings.multipleCells || shape.hitRate;
    shape.urlHeader = columns.firstHeader.starts_with('U');
    shape.titleLinked = columns.Has(0) && columns.Has(1) && columns.headers[1].starts_with('T');

    ExportFile file;
    if (!file.Open(path, ExportFile::Mode::Replace)) {
        ReportCannotOpen(app, path);
        return false;
    }

    std::string out;
    out += "<meta http-equiv=\"content-type\" content=\"text/html;charset=iso-8859-1\">";
    out += "\r\n<meta name=\"generator\" content=\"LinkTrawl v2.4\">\r\n";
    out += "<HTML>\r\n<HEAD><TITLE>";
    out += PageTitle(kind);
    out += "</TITLE></HEAD>\r\n";
    out += "<BODY BGCOLOR=\"#fff8dc\">\r\n";
    out += "<STYLE> A:link {color:\"#0000FF\"; TEXT-DECORATION:\"none\"}\r\n";
    out += "        A:visited {color:\"#C000C0\"; TEXT-DECORATION:\"none\"}\r\n";
    out += "        A:hover {color:\"#000000\"; TEXT-DECORATION:\"none\"}\r\n";
    out += "</STYLE>\r\n";
    if (!selectedOnly && kind <= 1) {
        out += "<B>Date: ";
        out += CurrentDateText();
        out += "</B><BR>\r\n";
        const int listKind = app.listState.kind;
        if ((listKind == kListFileSearch || listKind == kListInetSaved || listKind == kListInetRead) &&
            !app.search.description.empty()) {
            out += "<B>File(s): ";
            AppendHtmlEscaped(out, app.search.description);
            out += "</B><BR>\r\n";
        }
        if (listKind == kListFileSearch && app.settings.itemKind == kItemUser) {
            out += "<B>Search string: \"";
            AppendHtmlEscaped(out, app.settings.userStrings[0]);
            out += "\"</B><BR>\r\n";
        }
        out += "<BR>\r\n";
    }
    out += "<TABLE BORDER=1 CELLPADDING=1 ";
    out += columns.Count() > 1 && !shape.hitRate ? "width=\"100%\"" : "width=\"80%\"";
    out += " CELLSPACING=0 >\r\n";
    AppendHeaderRow(out, shape, kind);

    long rowsWritten = 0;
    long long hitSum = 0;
    list.ForEachRow([&](std::size_t, const ResultRow& row) {
        if (selectedOnly && !row.selected)
            return;
        bool hasText = false;
        for (int column : columns.listOrder)
            hasText = hasText || !row.Cell(column).empty();
        if (!hasText)
            return;
        AppendRow(out, shape, row, rowsWritten);
        ++rowsWritten;
        if (shape.hitRate && columns.Has(1))
            hitSum += std::strtoll(row.Cell(1).c_str(), nullptr, 10);
        if (out.size() >= kChunkSize) {
            file.Write(out);
            out.clear();
        }
    });

    out += "</TABLE>\r\n";
    if (!selectedOnly || shape.hitRate) {
        out += "<P><HR>\r\n";
        out += "<I><FONT SIZE=-1>Number of Items: " + std::to_string(rowsWritten) + "\r\n";
        out += "<br>";
        out += "\r\n";
        if (shape.hitRate && columns.Has(1) && hitSum > 0) {
            out += "<BR>\r\n";
            out += "Total number of hits: " + std::to_string(hitSum) + "\r\n";
        }
    }
    out += "</BODY></HTML>";
    file.Write(out);
    if (!file.Close()) {
        ReportCannotWrite(app, path);
        return false;
    }
    if (rowsWritten > 0)
        ReportSaved(app, rowsWritten);
    return true;
}

} // namespace lt
