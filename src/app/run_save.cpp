// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/run_save.h"

#include <cerrno>
#include <cstring>
#include <ostream>

#include <sys/stat.h>
#include <unistd.h>

#include "core/app_state.h"
#include "export/list_export.h"
#include "store/atomic_file.h"

namespace lt {

namespace {

// Replaced like any other output, so a run that fails here leaves the old file whole.
bool WriteEmptyFile(const std::string& path)
{
    AtomicFile file;
    return file.Open(path) && file.Commit();
}

} // namespace

bool SavePathUsable(const std::string& path, std::string& error)
{
    struct stat st{};
    if (::stat(path.c_str(), &st) == 0) {
        // The writer leaves a read-only file alone (also when run by root): refuse it now.
        if (S_ISREG(st.st_mode) && (st.st_mode & 0222) != 0 && ::access(path.c_str(), W_OK) == 0)
            return true;
        if (S_ISREG(st.st_mode)) {
            error = "Could not write " + path + ": " + std::strerror(EACCES);
            return false;
        }
        error = "Could not write " + path + (S_ISDIR(st.st_mode) ? ": it is a folder" : ": not a regular file");
        return false;
    }
    if (errno != ENOENT) {
        error = "Could not write " + path + ": " + std::strerror(errno);
        return false;
    }
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    int err = 0;
    if (::stat(folder.c_str(), &st) != 0)
        err = errno;
    else if (!S_ISDIR(st.st_mode))
        err = ENOTDIR;
    else if (::access(folder.c_str(), W_OK | X_OK) != 0)
        err = errno;
    if (err != 0)
        error = "Could not write " + path + ": " + std::strerror(err);
    return err == 0;
}

bool SaveRunList(AppState& app, const std::string& path, SaveFormat format, std::ostream& out,
                 std::ostream& err, int exportKind)
{
    const std::size_t rows = app.list.RowCount();
    bool written;
    if (rows == 0)
        written = WriteEmptyFile(path);
    else if (format == SaveFormat::Html)
        written = ExportHtml(app, app.list, path, false, exportKind);
    else if (format == SaveFormat::Csv)
        written = ExportCsv(app, app.list, path, false, exportKind);
    else
        written = ExportText(app, app.list, path, false, exportKind, ExistingFile::Replace);
    if (!written) {
        err << "linktrawl: Could not write " << path << '\n';
        return false;
    }
    out << "Results saved to " << path << " (" << rows << (rows == 1 ? " row" : " rows") << ")\n";
    return true;
}

} // namespace lt
