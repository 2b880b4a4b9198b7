// SPDX-License-Identifier: GPL-3.0-or-later
#include "sources/index_jobs.h"

#include <sys/stat.h>

#include "core/app_state.h"
#include "core/messages.h"
#include "list/add_result_row.h"
#include "list/list_kind.h"
#include "sources/byte_source.h"
#include "sources/entry_lookup.h"
#include "sources/index_file.h"

namespace lt {

namespace {

constexpr std::size_t kMaxIndexFiles = 255; // the file number is 8 bits; 0 means none

void ReportProblem(AppState& app, const std::string& text)
{
    if (app.sources.errorsToStatus)
        app.status.SetStatusText(text, 0);
    else
        ShowMessage(app, text, "LinkTrawl", {MsgButtons::Ok, MsgIcon::Warning});
}

void SelectFirstRow(AppState& app)
{
    if (app.list.RowCount() == 0)
        return;
    app.list.SetSelectedRows({0});
    app.list.SetFocusedRow(0);
}

bool RegularFileExists(const std::string& path)
{
    struct stat facts {};
    return stat(path.c_str(), &facts) == 0 && S_ISREG(facts.st_mode);
}

std::string FolderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash == 0 ? 1 : slash);
}

// Registers a file read in this run under the next number; 0 when all numbers are taken.
int RegisterIndexFile(AppState& app, const IndexFileRead& read)
{
    auto& files = app.sources.indexFiles;
    if (files.empty())
        files.emplace_back();
    if (files.size() > kMaxIndexFiles)
        return 0;
    files.push_back(read);
    return static_cast<int>(files.size() - 1);
}

void FillRow(AppState& app, const IndexRow& row, bool cookie, const std::string& fileColumn)
{
    ListState& ls = app.listState;
    for (auto& cell : ls.rowTexts)
        cell.clear();
    ls.rowTexts[1] = row.user;
    if (cookie) {
        ls.rowTexts[2] = row.textFile;
        ls.rowTexts[3] = row.hits;
        ls.rowTexts[4] = row.date1;
        ls.rowTexts[5] = row.date2;
    } else {
        ls.rowTexts[2] = row.hits;
        ls.rowTexts[3] = row.date1;
        ls.rowTexts[4] = row.date2;
        if (ls.kind == kListHistoryIndex)
            ls.rowTexts[5] = fileColumn;
    }
    if (ls.indexFileNumber != 0)
        ls.paramCounter = static_cast<long>(row.offset);
    AddResultRow(app, row.url);
}

} // namespace

std::string MainHistoryPath(const std::string& historyFolder)
{
    const std::string ie5 = FindEntryNoCase(historyFolder, "History.IE5");
    if (!ie5.empty()) {
        const std::string index = FindEntryNoCase(ie5, "Index.dat");
        if (!index.empty() && RegularFileExists(index))
            return index;
    }
    const std::string index = FindEntryNoCase(historyFolder, "Index.dat");
    return index.empty() ? JoinPath(historyFolder, "Index.dat") : index;
}

bool ReadIndexFile(AppState& app, const std::string& path, const std::string& label, int kind)
{
    FileByteSource source;
    std::string error;
    if (!source.Open(path, error)) {
        ReportProblem(app, "Could not open " + path + " ");
        return false;
    }
    IndexScanOptions options;
    options.label = label;
    options.kind = kind;
    options.goOn = [&app] { return app.jobs.Code() != 0; };
    long found = static_cast<long>(app.list.RowCount());
    const IndexScanResult result = ScanIndexFile(source, options, [&](const IndexRow& row) {
        FillRow(app, row, false, path);
        ShowRowCount(app, ++found);
    });
    app.status.SetStatusText("MSIE v" + result.versionText, 1);
    return !result.tooShort;
}

bool ReadCookieIndex(AppState& app, const std::string& path, const std::string& label)
{
    SwitchListKind(app, kListCookieIndex);
    app.sources.indexFiles.clear();
    app.status.SetStatusText(path, 0);
    FileByteSource source;
    std::string error;
    if (!source.Open(path, error)) {
        ReportProblem(app, "Could not open " + path + " ");
        return false;
    }
    app.listState.indexFileNumber = RegisterIndexFile(app, {path, label, kIndexCookies, true});
    const std::string folder = FolderOf(path);
    IndexScanOptions options;
    options.cookieReader = true;
    options.label = label;
    options.kind = kIndexCookies;
    options.textFileExists = [&folder](const std::string& name) { return RegularFileExists(JoinPath(folder, name)); };
    long found = 0;
    const IndexScanResult result = ScanIndexFile(source, options, [&](const IndexRow& row) {
        FillRow(app, row, true, path);
        ShowRowCount(app, ++found);
    });
    app.listState.indexFileNumber = 0;
    if (!result.formatValid) {
        ShowMessage(app, "File format not valid !", "LinkTrawl", {MsgButtons::Ok, MsgIcon::Warning});
        return false;
    }
    app.status.SetStatusText("MSIE v" + result.versionText, 1);
    if (result.tooShort)
        return true;
    if (app.list.RowCount() > 0)
        SelectFirstRow(app);
    else
        ShowMessage(app, "No items found !");
    return true;
}

bool StartCurrentHistory(AppState& app, const std::string& historyFolder)
{
    if (app.jobs.Running())
        return false;
    const std::string mainPath = MainHistoryPath(historyFolder);
    SwitchListKind(app, kListHistoryIndex);
    app.sources.indexFiles.clear();
    app.sources.errorsToStatus = true;
    return StartJob(app, kJobIndexReader, [mainPath](AppState& a) {
        const std::string folder = FolderOf(mainPath);
        a.status.SetStatusText(folder, 0);
        const std::string& label = a.sources.historyLabel;
        a.listState.indexFileNumber = RegisterIndexFile(a, {mainPath, label, kIndexMainHistory, false});
        ReadIndexFile(a, mainPath, label, kIndexMainHistory);
        for (const std::string& name : SubFolderNames(folder)) {
            if (a.jobs.Code() == 0)
                break;
            if (name.empty() || name[0] == '.')
                continue;
            const std::string index = FindEntryNoCase(JoinPath(folder, name), "index.dat");
            if (index.empty() || !RegularFileExists(index))
                continue;
            const int number = RegisterIndexFile(a, {index, label, kIndexSubHistory, false});
            if (number == 0)
                break; // more folders than file numbers
            a.listState.indexFileNumber = number;
            ReadIndexFile(a, index, label, kIndexSubHistory);
        }
        a.listState.indexFileNumber = 0;
        a.sources.errorsToStatus = false;
        if (a.jobs.Code() != 0) {
            const long rows = static_cast<long>(a.list.RowCount());
            ReportFound(a, rows);
            SelectFirstRow(a);
        }
        a.jobs.jobCode.store(kJobIdle);
    });
}

bool StartIndexFileJob(AppState& app, const std::string& path, const std::string& label, int kind)
{
    if (app.jobs.Running())
        return false;
    ClearResultList(app);
    app.sources.errorsToStatus = false;
    {
        FileByteSource probe;
        std::string error;
        if (!probe.Open(path, error)) {
            ShowMessage(app, "Could not open " + path + " ", "LinkTrawl", {MsgButtons::Ok, MsgIcon::Warning});
            return false;
        }
    }
    SwitchListKind(app, kListCacheIndex);
    app.sources.indexFiles.clear();
    app.listState.indexFileNumber = 0;
    return StartJob(app, kJobIndexReader, [path, label, kind](AppState& a) {
        const bool read = ReadIndexFile(a, path, label, kind);
        if (a.jobs.Code() != 0 && read) {
            ReportFound(a, static_cast<long>(a.list.RowCount()));
            SelectFirstRow(a);
        }
        a.jobs.jobCode.store(kJobIdle);
    });
}

} // namespace lt
