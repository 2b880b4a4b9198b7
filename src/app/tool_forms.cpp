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
        {"--ie-history", "--ie-history [HISTORY_FOLDER] -save2 FILE",
         "lists Internet Explorer's main and sub-history index files (of the Windows profile when no folder)", {}, {},
         0, 1, true, RunIeHistoryForm},
        {"--index-file", "--index-file FILE [--index-kind main|sub|cache|cookie] [--label TEXT] -save2 FILE",
         "lists the records of a URL-cache index file (index.dat)", {"--index-kind", "--label"}, {}, 1, 1, true,
         RunIndexFileForm},
        {"--netscape-history", "--netscape-history [FILE_OR_PROFILE_FOLDER] -save2 FILE",
         "lists a Netscape 4.x history file (netscape.hst or history.db; nsreg.dat's profile when none)", {}, {}, 0,
         1, true,
         RunNetscapeHistoryForm},
        {"--cookie-files", "--cookie-files [FOLDER] -save2 FILE",
         "lists the cookies of the cookie text files in a folder (the Windows profile's when none)", {}, {}, 0, 1,
         true, RunCookieFilesForm},
        {"--crawl", "--crawl URL [--level N] [--save-dir DIR] -save2 FILE",
         "read URL and the pages it links to (levels 0..N), saving the hits; pages saved into DIR",
         {"--level", "--save-dir"}, {}, 1, 1, true, RunCrawlForm},
        {"--check-urls", "--check-urls URL_FILE -save2 FILE",
         "test the URLs of a text file (one a line) and save each with its status; exit 1 when some "
         "URL is not Ok", {}, {}, 1, 1, true, RunCheckUrlsForm},
        {"--download", "--download FILE --save-dir DIR",
         "download the URLs of a text file (one a line) into DIR; successes go to DIR/linktrawl.log",
         {"--save-dir"}, {}, 1, 1, false, RunDownloadForm},
    };
    return forms;
}

} // namespace lt
