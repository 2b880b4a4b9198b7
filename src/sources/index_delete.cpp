// SPDX-License-Identifier: GPL-3.0-or-later
#include "sources/index_delete.h"

#include <cstdio>
#include <map>
#include <set>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>

#include "core/app_state.h"
#include "core/messages.h"
#include "platform/file_in_use.h"
#include "platform/regular_file.h"
#include "sources/byte_source.h"
#include "sources/entry_lookup.h"
#include "sources/index_file.h"
#include "store/atomic_write.h"

namespace lt {

namespace {

constexpr uint64_t kMaxIndexBytes = uint64_t{4} << 30;

struct Pending
{
    std::size_t row;
    uint64_t offset;
    std::string url;
    std::string textFile;
};

std::string FolderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash == 0 ? 1 : slash);
}

// Blanks the rows of one file; returns the rows done.
std::vector<std::size_t> BlankInFile(const IndexFileRead& file, const std::vector<Pending>& rows)
{
    std::string bytes, error;
    if (!ReadRegularFile(file.path, kMaxIndexBytes, bytes, error))
        return {};
    // The rows' records as the same reader finds them in the file now.
    std::unordered_map<uint64_t, std::string> urls;
    {
        MemoryByteSource source(bytes);
        IndexScanOptions options;
        options.cookieReader = file.cookieReader;
        options.label = file.label;
        options.kind = file.kind;
        std::set<uint64_t> wanted;
        for (const Pending& p : rows)
            wanted.insert(p.offset);
        ScanIndexFile(source, options, [&](const IndexRow& row) {
            if (wanted.count(row.offset))
                urls.emplace(row.offset, row.url);
        });
    }
    std::vector<std::size_t> done;
    std::vector<std::string> textFiles;
    std::set<uint64_t> blanked;
    for (const Pending& p : rows) {
        const auto found = urls.find(p.offset);
        if (found == urls.end() || found->second != p.url)
            continue;
        if (blanked.count(p.offset) || BlankIndexRecord(bytes, p.offset)) {
            blanked.insert(p.offset);
            done.push_back(p.row);
            textFiles.push_back(p.textFile);
        }
    }
    if (done.empty() || !WriteFileAtomically(file.path, bytes).empty())
        return {};
    if (file.cookieReader) {
        const std::string folder = FolderOf(file.path);
        for (const std::string& name : textFiles) {
            if (name.empty() || name[0] == '*' || !IsPlainFileName(name))
                continue;
            const std::string target = JoinPath(folder, name);
            struct stat facts {};
            if (lstat(target.c_str(), &facts) == 0 && S_ISREG(facts.st_mode))
                unlink(target.c_str());
        }
    }
    return done;
}

} // namespace

long DeleteIndexRecords(AppState& app)
{
    const int kind = app.listState.kind;
    if ((kind != kListHistoryIndex && kind != kListCookieIndex) || app.jobs.Running())
        return -1;
    const std::vector<std::size_t> selected = app.list.SelectedRows();
    if (selected.empty())
        return -1;
    const auto& files = app.sources.indexFiles;
    std::map<uint32_t, std::vector<Pending>> byFile;
    for (std::size_t index : selected) {
        const ResultRow row = app.list.Row(index);
        // Rows restored from a session or read before this list carry no file of this run.
        if (row.fileNumber == 0 || row.fileNumber >= files.size())
            continue;
        const IndexFileRead& file = files[row.fileNumber];
        if (kind == kListHistoryIndex && row.Cell(5) != file.path)
            continue;
        if (kind == kListCookieIndex && !file.cookieReader)
            continue;
        byFile[row.fileNumber].push_back({index, row.recordOffset, row.Cell(0), kind == kListCookieIndex ? row.Cell(2) : ""});
    }
    // Blanking records under a running browser corrupts what it writes back.
    for (const auto& [number, rows] : byFile)
        if (FileInUseByOtherProcess(files[number].path)) {
            ShowMessage(app, "Please close Internet Explorer first !");
            return -1;
        }
    std::string question = "Overwrite selected Url(s)";
    if (kind == kListCookieIndex)
        question += "\r\nand delete corresponding Text file(s)";
    question += " ?";
    if (ShowMessage(app, question, "LinkTrawl", {MsgButtons::YesNo, MsgIcon::Question}) != MsgAnswer::Yes)
        return -1;

    std::vector<std::size_t> removed;
    for (const auto& [number, rows] : byFile)
        for (std::size_t row : BlankInFile(files[number], rows))
            removed.push_back(row);
    app.list.DeleteRows(removed);
    ShowRowCount(app);
    if (removed.size() >= 2)
        ShowMessage(app, std::to_string(removed.size()) + " Items deleted !");
    return static_cast<long>(removed.size());
}

} // namespace lt
