// SPDX-License-Identifier: GPL-3.0-or-later
// The table of the project's unattended forms. Each subsystem's runner lives in its own
// app/*_form.cpp file and is declared in app/tool_runs.h.
#include "app/tool_form.h"
#include "app/tool_runs.h"

namespace lt {

const std::vector<ToolForm>& ToolForms()
{
    static const std::vector<ToolForm> forms = {
        {"--parse", "--parse PARSE_SETTINGS FILE_OR_FOLDER -save2 FILE",
         "cut the lines of a text file (or of every file in a folder) into columns", {}, {}, 2, 2, true,
         RunParseForm},
    };
    return forms;
}

} // namespace lt
