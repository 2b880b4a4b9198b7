// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/run_save.h"

#include <fcntl.h>
#include <ostream>
#include <unistd.h>

#include "core/app_state.h"
#include "export/list_export.h"

namespace lt {

namespace {

bool WriteEmptyFile(const std::string& path)
{
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    return close(fd) == 0;
}

} // namespace

bool SaveRunList(AppState& app, const std::string& path, SaveFormat format, std::ostream& out,
                 std::ostream& err)
{
    const std::size_t rows = app.list.RowCount();
    bool written;
    if (rows == 0)
        written = WriteEmptyFile(path);
    else if (format == SaveFormat::Html)
        written = ExportHtml(app, app.list, path, false, 0);
    else if (format == SaveFormat::Csv)
        written = ExportCsv(app, app.list, path, false, 0);
    else
        written = ExportText(app, app.list, path, false, 0, ExistingFile::Replace);
    if (!written) {
        err << "linktrawl: Could not write " << path << '\n';
        return false;
    }
    out << "Results saved to " << path << " (" << rows << (rows == 1 ? " row" : " rows") << ")\n";
    return true;
}

} // namespace lt
