// SPDX-License-Identifier: GPL-3.0-or-later
// Reads arbitrary bytes as a session file, both whole and streamed from a file, and checks that
// the two agree, that rows keep the cell limits, and that a list written from the rows reads
// back the same.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <unistd.h>

#include "core/app_state.h"
#include "fuzz_support.h"
#include "list/list_kind.h"
#include "store/session_file.h"
#include "store/settings_io.h"

namespace {

using lt::fuzz::Check;

// TMPDIR may name a tmpfs: every input writes and syncs a file, which is slow on a disk.
std::string TempPath(const char* name)
{
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/fuzz-session-" + std::to_string(::getpid()) + "-" +
           name;
}

std::vector<lt::SessionRow> Stream(const std::string& path, bool& ok)
{
    std::vector<lt::SessionRow> rows;
    lt::SessionReader reader;
    std::string error;
    ok = reader.Open(path, error);
    if (ok)
        ok = reader.ReadRows(
            [&](lt::SessionRow& row) {
                rows.push_back(row);
                return true;
            },
            error);
    return rows;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    lt::IniFile settings;
    std::vector<lt::SessionRow> rows;
    const bool session = lt::ParseSessionBytes(bytes, settings, rows);

    const std::string in = TempPath("in.ltn");
    if (FILE* f = std::fopen(in.c_str(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    bool streamed = false;
    const std::vector<lt::SessionRow> read = Stream(in, streamed);
    ::unlink(in.c_str());
    Check(streamed == session);
    if (!session)
        return 0;
    Check(read == rows);
    for (const lt::SessionRow& row : rows) {
        bool any = false;
        for (const std::string& cell : row) {
            Check(cell.size() <= lt::kMaxCellLength);
            Check(cell.find_first_of("\r\n") == std::string::npos);
            any = any || !cell.empty();
        }
        Check(any);
    }

    // The settings part goes through the settings reader; a list of the rows round-trips.
    static lt::fuzz::QuietApp quiet;
    lt::AppState& app = quiet.app;
    app.settings = lt::SearchSettings{};
    app.options = lt::Options{};
    lt::ReadSettings(app, settings, lt::kSettingsSessionRead);
    app.listState.kind = lt::kListParsedText;
    lt::ClearResultList(app);
    app.list.SetAutoSort(lt::AutoSort::Off);
    for (const lt::SessionRow& row : rows) {
        lt::ResultRow r;
        r.cells.assign(row.begin(), row.end());
        app.list.InsertRow(std::move(r));
    }
    const std::string out = TempPath("out.ltn");
    const long written = lt::WriteList(app, app.list, out, lt::kSessionAllRows);
    Check(written == static_cast<long>(rows.size()));
    if (written > 0) {
        bool ok = false;
        Check(Stream(out, ok) == rows);
        Check(ok);
    }
    ::unlink(out.c_str());
    return 0;
}
