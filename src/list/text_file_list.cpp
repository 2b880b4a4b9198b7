// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/text_file_list.h"

#include <cerrno>
#include <vector>

#include <unistd.h>

#include "core/app_state.h"
#include "core/job_control.h"
#include "core/window_messages.h"
#include "list/add_result_row.h"
#include "list/list_kind.h"
#include "platform/regular_file.h"

namespace lt {

namespace {

constexpr std::size_t kBlock = 1 << 16;

bool Blank(const std::string& line)
{
    return line.find_first_not_of(" \t") == std::string::npos;
}

} // namespace

long ReadFileListLines(AppState& app, int fd)
{
    std::vector<char> block(kBlock);
    std::string line;
    bool cut = false; // the current line has reached its 259 characters
    long added = 0;
    auto endLine = [&] {
        if (!Blank(line) && AddResultRow(app, line) >= 0)
            ++added;
        line.clear();
        cut = false;
    };
    bool goOn = true;
    while (goOn) {
        const ssize_t got = ::read(fd, block.data(), block.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        for (ssize_t i = 0; i < got; ++i) {
            const char c = block[static_cast<std::size_t>(i)];
            if (c == '\r' || c == '\n') {
                endLine();
                continue;
            }
            if (line.size() < kMaxCellLength && !cut)
                line.push_back(c);
            else
                cut = true;
        }
        goOn = app.jobs.ScanGoesOn();
    }
    if (goOn)
        endLine();
    ::close(fd);
    return added;
}

bool StartReadFileList(AppState& app, const std::string& path, std::string* error)
{
    if (app.jobs.Running()) {
        if (error != nullptr)
            *error = "a job is running";
        return false;
    }
    const std::string full = path.find('/') == std::string::npos ? app.startup.programFolder + path : path;
    std::string why;
    const int fd = OpenRegularFile(full, why);
    if (fd < 0) {
        if (error != nullptr)
            *error = why;
        return false;
    }
    SwitchListKind(app, kListFileList);
    app.list.SetAutoSort(AutoSort::Off);
    const bool started = StartJob(app, kJobFileList, [fd](AppState& a) {
        ReadFileListLines(a, fd);
        a.status.ShowRowCount(static_cast<long>(a.list.RowCount()));
        if (a.list.RowCount() > 0) {
            a.list.SetFocusedRow(0);
            a.ui.Post(kMsgFocusList, 0, 0);
        }
        a.ui.Post(kMsgRestoreCursor, 0, 0);
    });
    if (!started) {
        ::close(fd);
        if (error != nullptr)
            *error = "the reading could not start";
    }
    return started;
}

} // namespace lt
