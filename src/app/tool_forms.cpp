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
        {"--typed-urls", "--typed-urls ie|netscape -save2 FILE", "list the typed URLs of Internet Explorer or Netscape",
         {}, {}, 1, 1, true, RunTypedUrlsForm},
        {"--about-urls", "--about-urls -save2 FILE", "list Internet Explorer's AboutURLs", {}, {}, 0, 0, true,
         RunAboutUrlsForm},
        {"--ras", "--ras -save2 FILE", "list the RAS autodial addresses", {}, {}, 0, 0, true, RunRasForm},
        {"--favorites", "--favorites [TEXT] -save2 FILE",
         "list the URLs of the Internet Explorer favorites (containing TEXT)", {}, {}, 0, 1, true, RunFavoritesForm},
    };
    return forms;
}

} // namespace lt
