// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/run_save.h"

#include <ostream>

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
