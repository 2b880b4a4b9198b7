// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/folder_walk.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

#include "core/app_state.h"
#include "list/add_result_row.h"
#include "platform/mounts.h"
#include "search/item_scanner.h"
#include "search/link_scanner.h"
#include "search/filter_date.h"
#include "search/masks.h"
#include "search/scan_pool.h"

namespace lt {

namespace {

bool StartsWith(const std::string& text, std::string_view prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

// The pseudo file systems are never entered, even from a walk of "/".
bool IsSystemFolder(const std::string& folder)
{
    return folder == "/proc/" || folder == "/sys/" || folder == "/dev/";
}

int64_t ChosenTime(const FileFacts& facts, int field)
{
    switch (field) {
    case 0:
        return facts.creationTime;
    case 2:
        return facts.accessTime;
    default:
        return facts.writeTime;
    }
}

// Where the date and size cells go: after the file column of the kind. Kind 7 rows have no
// room for them (their file column is the last), so they get none.
int DateCellFor(int itemKind)
{
    if (itemKind <= kItemTelnet)
        return 3;
    if (itemKind <= kItemEmail)
        return 4;
    return -1;
}

struct DirCloser
{
    void operator()(DIR* dir) const { closedir(dir); }
};

} // namespace

WalkOptions WalkOptionsFromSettings(const AppState& app, const std::string& folder)
{
    const SearchSettings& s = app.settings;
    WalkOptions o;
    o.itemKind = app.scan.itemKind;
    o.fileTypeMode = s.fileTypeMode;
    if (s.fileTypeMode == 0)
        ParseMasks(s.includeMasks, o.masks);
    else if (s.fileTypeMode == 1)
        ParseMasks(s.excludeMasks, o.masks);
    // An empty "files of type" list asks for no restriction; an empty "except" list excludes nothing.
    o.allFiles = s.fileTypeMode == 2 || HasAllFilesMask(o.masks) || (s.fileTypeMode == 0 && o.masks.empty());
    o.sizeAbove = s.sizeAbove;
    o.sizeBelow = s.sizeBelow;
    o.dateFilter = s.dateFilter;
    o.dateField = s.dateFilter ? s.dateField : 1;
    o.dateFrom = s.dateFrom;
    o.dateTo = s.dateTo;
    o.fileList = app.listState.kind == kListFileList;
    o.fileSizeCells = app.search.fileSizeFlag;
    o.recursiveDrives = s.includeSubdirectories;
    if (StartsWith(folder, "My Computer")) {
        o.source = kSourceAllDrives;
    } else {
        o.source = s.includeSubdirectories ? kSourceRecursive : kSourceOneFolder;
        o.root = folder;
        if (o.root.empty() || o.root.back() != '/')
            o.root.push_back('/');
    }
    return o;
}

FileScan DefaultFileScan(AppState& app)
{
    if (app.scan.itemKind <= kItemTelnet) {
        auto scanner = std::make_shared<LinkScanner>(app);
        return [scanner](const std::string& path, const OpenedFile& file) { return scanner->ScanLinks(path, file); };
    }
    auto scanner = std::make_shared<ItemScanner>(app);
    return [scanner](const std::string& path, const OpenedFile& file) { return scanner->ScanFile(path, file); };
}

FolderWalk::FolderWalk(AppState& app, WalkOptions options, FileScan scan)
    : m_app(app), m_options(std::move(options)), m_scan(std::move(scan))
{
    const WalkOptions& o = m_options;
    m_openFirst = !o.fileList && !o.sizeAbove.on && !o.sizeBelow.on && !o.dateFilter && !o.dateOpenEnd;
    // Rows are cut to the list's columns: without a date column no file needs its facts.
    const int dateCell = DateCellFor(o.itemKind);
    m_factsShown = dateCell > 0 && app.list.ColumnCount() > dateCell;
}

bool FolderWalk::Stopped() const
{
    return m_app.jobs.Code() == 0;
}

void FolderWalk::Run()
{
    if (m_options.source != kSourceAllDrives) {
        WalkRoot(m_options.root, m_options.source == kSourceRecursive);
        return;
    }
    std::vector<std::string> drives = m_options.drives.empty() ? LocalDrives() : m_options.drives;
    if (drives.size() > kMaxDrives)
        drives.resize(kMaxDrives);
    // Mount points nest on Linux; each drive is walked on its own device only, so that "/"
    // does not walk "/home" a second time.
    m_sameDevice = true;
    for (const auto& drive : drives) {
        if (Stopped())
            break;
        if (m_pool)
            m_pool->Drain();
        m_app.status.SetStatusText(drive, 0);
        WalkRoot(drive, m_options.recursiveDrives);
    }
    m_sameDevice = false;
}

void FolderWalk::WalkRoot(const std::string& root, bool recursive)
{
    std::string folder = root;
    if (folder.empty() || folder.back() != '/')
        folder.push_back('/');
    m_currentRoot = folder;
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    struct stat st
    {
    };
    const uint64_t device = fstat(fd, &st) == 0 ? static_cast<uint64_t>(st.st_dev) : 0;
    WalkFolder(fd, folder, 0, recursive, device);
}

void FolderWalk::WalkFolder(int dirFd, const std::string& folder, int depth, bool recursive, uint64_t device)
{
    std::unique_ptr<DIR, DirCloser> dir(fdopendir(dirFd));
    if (!dir) {
        close(dirFd);
        return;
    }
    if (m_options.fileList && recursive) {
        if (m_pool)
            m_pool->Drain();
        m_app.status.SetStatusText(folder, 0);
    }

    while (!Stopped()) {
        errno = 0;
        const dirent* entry = readdir(dir.get());
        if (!entry)
            break;
        const char* name = entry->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
            continue;

        FileFacts facts;
        unsigned char type = entry->d_type;
        if (type == DT_UNKNOWN) {
            if (!ReadFileFacts(dirfd(dir.get()), name, false, facts))
                continue;
            type = facts.isDirectory ? DT_DIR : facts.isSymlink ? DT_LNK : facts.isRegular ? DT_REG : DT_FIFO;
        }

        if (type == DT_DIR) {
            if (!recursive || depth + 1 >= kMaxWalkDepth)
                continue;
            std::string sub = folder + name + '/';
            if (sub.size() >= kMaxFolderPath || IsSystemFolder(sub))
                continue;
            const int subFd = openat(dirfd(dir.get()), name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (subFd < 0) {
                // Passed over; one that vanished meanwhile was never part of the result.
                if (errno != ENOENT)
                    m_app.ui.ReportUnreadable("Could not read the folder " + sub);
                continue;
            }
            if (IsSystemFileSystem(subFd)) {
                close(subFd);
                continue;
            }
            if (m_sameDevice) {
                struct stat st
                {
                };
                if (fstat(subFd, &st) != 0 || static_cast<uint64_t>(st.st_dev) != device) {
                    close(subFd);
                    continue;
                }
            }
            WalkFolder(subFd, sub, depth + 1, recursive, device);
            continue;
        }
        if (type != DT_REG && type != DT_LNK)
            continue; // FIFOs, sockets and devices are never read
        if (type == DT_REG && m_openFirst && OpenedAndDecided(dirfd(dir.get()), folder, name))
            continue;
        // A link is judged by what it points to: files are taken, folders are not followed.
        if (!ReadFileFacts(dirfd(dir.get()), name, true, facts) || !facts.isRegular)
            continue;
        DecideFile(folder + name, name, facts);
    }
}

bool FolderWalk::PassesDate(const FileFacts& facts) const
{
    const auto time = static_cast<std::time_t>(ChosenTime(facts, m_options.dateField));
    if (m_options.dateOpenEnd) {
        static const FilterDate kLatest{9999, 12, 31, 23, 59, 59, 0, 0, "9999/12/31 23:59:59"};
        return DateInRange(time, m_options.dateFrom, kLatest);
    }
    return DateInRange(time, m_options.dateFrom, m_options.dateTo);
}

bool FolderWalk::DecideFile(const std::string& path, const std::string& name, const FileFacts& facts,
                            const OpenedFile& file)
{
    const WalkOptions& o = m_options;
    if (o.sizeAbove.on && facts.size < o.sizeAbove.bytes)
        return false;
    if (o.sizeBelow.on && facts.size > o.sizeBelow.bytes)
        return false;
    if ((o.dateFilter || o.dateOpenEnd) && !PassesDate(facts))
        return false;

    if (!NameTaken(name))
        return false;
    OpenedFile taken = file;
    if (m_pool && file.fd >= 0)
        taken.fd = ::fcntl(file.fd, F_DUPFD_CLOEXEC, 0); // the caller closes its own
    if (!TakeFile(path, facts, taken) && taken.fd >= 0 && taken.fd != file.fd)
        ::close(taken.fd);
    return true;
}

bool FolderWalk::TakeFile(const std::string& path, const FileFacts& facts, const OpenedFile& file)
{
    const WalkOptions& o = m_options;
    ++m_filesTaken;
    if (o.fileList) {
        AddFileListRow(path, facts);
        return false;
    }

    auto& texts = m_app.listState.rowTexts;
    const int dateCell = DateCellFor(o.itemKind);
    if (dateCell > 0 && file.fd >= 0 && file.size == OpenedFile::kUnknownSize) {
        // Facts not read: the list has no columns for them.
        texts[dateCell].clear();
        texts[dateCell + 1].clear();
    } else if (dateCell > 0) {
        texts[dateCell] = FileDateText(facts.writeTime);
        texts[dateCell + 1] = o.fileSizeCells ? std::to_string(facts.size) : std::string();
    }
    if (m_pool) {
        m_pool->Submit(path, file, texts);
        return true;
    }
    if (m_scan)
        m_scan(path, file);
    return false;
}

bool FolderWalk::NameTaken(const std::string& name) const
{
    const WalkOptions& o = m_options;
    const bool match = o.allFiles || MatchesAnyMask(o.masks, name);
    return (o.fileTypeMode == 0 && match) || (o.fileTypeMode == 1 && !match) || o.fileTypeMode == 2;
}

// The walk of a regular file without size and date filters: the name decides first, then the file
// is opened relative to its folder and handed to the scan open. False when it could not be opened
// so (the caller then takes the path, and the scan reports a file it cannot open).
bool FolderWalk::OpenedAndDecided(int dirFd, const std::string& folder, const char* name)
{
    const std::string file = name;
    if (!NameTaken(file))
        return true;
    // O_NOFOLLOW: an entry replaced by a link since the folder was read goes the careful way.
    const int fd = openat(dirFd, name, O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
    if (fd < 0)
        return false;
    FileFacts facts;
    if (!m_factsShown) {
        // The folder said it is a regular file and the scan learns its size from reading it.
        facts.isRegular = true;
        if (TakeFile(folder + file, facts, OpenedFile{fd, OpenedFile::kUnknownSize}))
            return true;
    } else if (ReadOpenFileFacts(fd, facts) && facts.isRegular) {
        if (TakeFile(folder + file, facts, OpenedFile{fd, facts.size}))
            return true;
    }
    close(fd);
    return true;
}

void FolderWalk::AddFileListRow(const std::string& path, const FileFacts& facts)
{
    auto& texts = m_app.listState.rowTexts;
    for (auto& text : texts)
        text.clear();
    texts[1] = FileDateText(facts.writeTime);
    texts[2] = FileDateText(facts.creationTime);
    texts[3] = FileDateText(facts.accessTime);
    texts[4] = std::to_string(facts.size);
    std::string shown = path;
    if (m_options.relativePaths && StartsWith(path, m_currentRoot))
        shown = path.substr(m_currentRoot.size());
    AddResultRow(m_app, shown);
    const long hits = m_app.search.hitCount.fetch_add(1) + 1;
    m_app.status.ShowRowCount(hits);
}

} // namespace lt
