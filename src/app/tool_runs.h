// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <iosfwd>

namespace lt {

struct StartupState;
struct ToolInvocation;

// The runners of the forms listed in ToolForms(), one per form, each in its subsystem's file.

// app/edits_form.cpp
int RunParseForm(const ToolInvocation& call, const StartupState& startup, std::ostream& out, std::ostream& err);
// app/browser_form.cpp
int RunTypedUrlsForm(const ToolInvocation& call, const StartupState& startup, std::ostream& out, std::ostream& err);
int RunAboutUrlsForm(const ToolInvocation& call, const StartupState& startup, std::ostream& out, std::ostream& err);
int RunRasForm(const ToolInvocation& call, const StartupState& startup, std::ostream& out, std::ostream& err);
int RunFavoritesForm(const ToolInvocation& call, const StartupState& startup, std::ostream& out, std::ostream& err);
// app/sources_form.cpp
int RunIeHistoryForm(const ToolInvocation& call, const StartupState& startup, std::ostream& out, std::ostream& err);
int RunIndexFileForm(const ToolInvocation& call, const StartupState& startup, std::ostream& out, std::ostream& err);
int RunNetscapeHistoryForm(const ToolInvocation& call, const StartupState& startup, std::ostream& out,
                           std::ostream& err);
int RunCookieFilesForm(const ToolInvocation& call, const StartupState& startup, std::ostream& out, std::ostream& err);
// app/inet_form.cpp
int RunCrawlForm(const ToolInvocation& call, const StartupState& startup, std::ostream& out, std::ostream& err);
// app/status_form.cpp
int RunCheckUrlsForm(const ToolInvocation& call, const StartupState& startup, std::ostream& out,
                     std::ostream& err);
// app/download_form.cpp
int RunDownloadForm(const ToolInvocation& call, const StartupState& startup, std::ostream& out, std::ostream& err);
// The job file of "-job FILE -save2 FILE" (start actions 36 and 38): its crawl, then its hits saved.
int RunJobUnattended(const StartupState& startup, std::ostream& out, std::ostream& err);

} // namespace lt
