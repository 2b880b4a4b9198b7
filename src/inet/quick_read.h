// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "inet/crawl_job.h"
#include "inet/fetch.h"

namespace lt {

struct AppState;

// The start URL of a quick read: "http://" goes in front unless it names http(s) or ftp.
std::string QuickReadUrl(const std::string& text);

// Makes the result list ready for the hits of a crawl from the main window's thread: the list
// kind for saved (10) or read (11) pages, no sorting while rows arrive, the scanners prepared.
// False when the search settings cannot be used.
bool PrepareCrawlResults(AppState& app, bool saving);

// Every stop of a crawl on slot 0 ("S&top Search" too) reaches its pending transfer at once.
void AttachCrawlStop(AppState& app);

// The quick read: reads `url` on the worker with slot 0 and puts its hits into the result list.
// A redirect elsewhere is offered with a question first; a failure ends with a message; at the
// end the number of hits is reported. The caller has the dialog's settings; false when a job
// runs or the list cannot be prepared.
bool StartQuickRead(AppState& app, const CrawlSettings& settings, const FetchSettings& fetch, const std::string& url);

// The job itself (the worker's body; tests call it on their own thread). Frees slot 0 at its end.
void QuickReadJob(AppState& app, CrawlSettings settings, const FetchSettings& fetch, const std::string& url);

} // namespace lt
