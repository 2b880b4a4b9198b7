// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace lt {

struct AppState;

// Registry places of the lists (relative to their root's file).
inline constexpr const char* kTypedUrlsKey = "Software\\Microsoft\\Internet Explorer\\TypedURLs";
inline constexpr const char* kAboutUrlsKey = "Software\\Microsoft\\Internet Explorer\\AboutURLs";
inline constexpr const char* kRasAddressesKey = "Software\\Microsoft\\RAS Autodial\\Addresses";

// The result of WriteTypedUrls when the registry could not be written.
inline constexpr int kRegistryWriteFailed = 2;

// Reads Internet Explorer's typed URLs (kind 2, ListKind 2) or AboutURLs (kind 3, ListKind 3,
// the value name in "Title", "Home" remembered and not listed) into the list. Window thread; job
// code 101 while it reads. Returns the row count; -1 when refused (another kind, a job runs) or
// when the profile has no registry (the message says why). A missing key ends silently with 0.
long ReadTypedUrls(AppState& app, int kind);

// Writes the list back as typed URLs (values "url1".."urlN", higher "url<n>" values deleted) or
// as AboutURLs (rows with a name in column 2, "Home" as it was read), after asking. Returns 0, or
// kRegistryWriteFailed with the reason in app.browserLists.lastError (a running wineserver, a
// missing registry, a file error); the file is then unchanged.
int WriteTypedUrls(AppState& app, int kind);

// Command 4202: WriteTypedUrls of the list's kind and "Could not save List to Internet Explorer !"
// (with the reason) when it fails.
void SaveListToInternetExplorer(AppState& app);

// The RAS autodial addresses (ListKind 13): one row per sub-key of the addresses key, "http://" or
// "ftp://" put before names beginning "www" or "ftp.", "Last modified" from "LastModified".
// Returns the row count, or -1 as ReadTypedUrls.
long ReadRasAutodial(AppState& app);

// Command 4136 "Delete from &Registry": deletes the sub-keys of the selected rows after asking,
// then removes those rows. Returns the rows removed, -1 when the registry could not be written
// (message shown, rows kept).
long DeleteRasAutodial(AppState& app);

} // namespace lt
