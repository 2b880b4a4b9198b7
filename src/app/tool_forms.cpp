// SPDX-License-Identifier: GPL-3.0-or-later
// The table of the project's unattended forms. Each subsystem's runner lives in its own
// app/*_form.cpp file and is declared in app/tool_runs.h.
#include "app/tool_form.h"
#include "app/tool_runs.h"

namespace lt {

const std::vector<ToolForm>& ToolForms()
{
    static const std::vector<ToolForm> forms = {
        {"--crawl", "--crawl URL [--level N] [--save-dir DIR] -save2 FILE",
         "read URL and the pages it links to (levels 0..N), saving the hits; pages saved into DIR",
         {"--level", "--save-dir"}, {}, 1, 1, true, RunCrawlForm},
    };
    return forms;
}

} // namespace lt
