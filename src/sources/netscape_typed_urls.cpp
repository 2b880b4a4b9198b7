// SPDX-License-Identifier: GPL-3.0-or-later
#include "sources/netscape_typed_urls.h"

#include <cstdlib>
#include <sys/stat.h>
#include <vector>

#include "core/app_state.h"
#include "core/cp1252.h"
#include "list/list_kind.h"
#include "platform/regular_file.h"
#include "platform/wine_profile.h"
#include "sources/list_support.h"
#include "sources/netscape_profile.h"
#include "sources/prefs_js.h"
#include "store/atomic_write.h"
#include "store/ini_file.h"

namespace lt {

namespace {

constexpr const char* kUrlHistory = "URL History";
constexpr int kMaxIniRows = 31;
constexpr int kMaxIniKeys = 255;
constexpr std::uint64_t kMaxPrefsBytes = 64u << 20;

bool IsFile(const std::string& path)
{
    struct stat st
    {
    };
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool ContainsNoCase(const std::string& text, std::string_view word)
{
    for (std::size_t i = 0; i + word.size() <= text.size(); ++i)
        if (Cp1252EqualsNoCase(std::string_view(text).substr(i, word.size()), word))
            return true;
    return false;
}

bool IsIniFile(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return Cp1252EqualsNoCase(slash == std::string::npos ? path : path.substr(slash + 1), "Netscape.ini");
}

// prefs.js in `folder`, else Unix Netscape's preferences.js; empty when neither is there.
std::string PrefsIn(const std::string& folder)
{
    for (const char* name : {"prefs.js", "preferences.js"}) {
        const std::string path = ResolvePathNoCase(folder, name);
        if (IsFile(path))
            return path;
    }
    return {};
}

std::string ProfilePrefs(const AppState& app)
{
    std::string profile;
    return FindNetscapeProfile(app, profile) ? PrefsIn(profile) : std::string();
}

long Fail(AppState& app, const std::string& message, bool error)
{
    app.browserLists.lastError = message;
    if (error)
        ShowError(app, message);
    else
        ShowInformation(app, message);
    return -1;
}

} // namespace

bool FindNetscapeTypedFile(const AppState& app, std::string& path, std::string& error)
{
    path.clear();
    const std::string location = ProfilePath(app, app.options.netscapeBookmarks);
    if (!location.empty()) {
        const std::size_t slash = location.rfind('/');
        const std::string folder = slash == std::string::npos ? std::string(".") : location.substr(0, slash);
        const bool prefs = ContainsNoCase(location, "Users") || ContainsNoCase(location, "Program") ||
                           !ContainsNoCase(location, "Netscape");
        if (!prefs) {
            path = ResolvePathNoCase(folder, "Netscape.ini");
            return true;
        }
        path = PrefsIn(folder);
        if (path.empty())
            path = ProfilePrefs(app);
        if (path.empty())
            error = "Could not locate Netscape Profiles !";
        return !path.empty();
    }
    std::string profile;
    if (FindNetscapeProfile(app, profile)) {
        path = PrefsIn(profile);
        if (path.empty())
            error = "Could not locate Netscape Profiles !";
        return !path.empty();
    }
    // Unix Netscape keeps its preferences in the home folder.
    if (const char* home = std::getenv("HOME"); home && *home)
        path = PrefsIn(std::string(home) + "/.netscape");
    if (path.empty())
        error = "Please enter location of Netscape Bookmarks at Options !";
    return !path.empty();
}

long ReadNetscapeTypedUrls(AppState& app)
{
    if (app.jobs.Running())
        return -1;
    ReadingJob job(app, kJobRegistry);
    app.browserLists.lastError.clear();
    ClearResultList(app);
    std::string path, error;
    if (!FindNetscapeTypedFile(app, path, error))
        return Fail(app, error, false);
    app.browserLists.netscapeFile = path;
    app.status.SetStatusText(path, 0);
    SwitchListKind(app, kListNetscapeTyped);

    std::vector<std::string> urls;
    if (IsIniFile(path)) {
        IniFile ini;
        if (const std::string failure = ini.Load(path); !failure.empty())
            return Fail(app, failure, true);
        for (int i = 1; i <= kMaxIniKeys; ++i) {
            const std::string url =
                std::string(TrimBlanks(ini.GetString(kUrlHistory, "URL_" + std::to_string(i), "", 255)));
            if (url.empty())
                break;
            urls.push_back(url);
        }
    } else {
        std::string bytes;
        if (!ReadRegularFile(path, kMaxPrefsBytes, bytes, error))
            return Fail(app, "Can not open " + path + " !", true);
        urls = ReadPrefsTypedUrls(bytes);
    }
    for (const std::string& url : urls)
        AddListRow(app, url);
    FinishListReading(app);
    return static_cast<long>(app.list.RowCount());
}

int WriteNetscapeTypedUrls(AppState& app)
{
    app.browserLists.lastError.clear();
    if (!AskYesNo(app, "Save List as 'Typed Urls' to Netscape ?"))
        return 0;
    const std::string& path = app.browserLists.netscapeFile;
    if (path.empty()) {
        Fail(app, "Can not locate Netscape Profiles !", true);
        return 2;
    }
    std::vector<std::string> urls;
    app.list.ForEachRow([&urls](std::size_t, const ResultRow& row) { urls.push_back(row.Cell(0)); });

    if (IsIniFile(path)) {
        IniFile ini;
        if (!IsFile(path) || !ini.Load(path).empty()) {
            Fail(app, "Can not open " + path + " !", true);
            return 2;
        }
        if (ini.GetString(kUrlHistory, "URL_1", "", 255).empty()) {
            Fail(app, "Could not write 'Typed Urls' !", true);
            return 2;
        }
        for (int i = 1; i <= kMaxIniRows; ++i) {
            const std::string key = "URL_" + std::to_string(i);
            if (static_cast<std::size_t>(i) <= urls.size())
                ini.SetString(kUrlHistory, key, urls[static_cast<std::size_t>(i - 1)]);
            else if (!ini.GetString(kUrlHistory, key, "", 255).empty())
                ini.SetString(kUrlHistory, key, "");
        }
        if (const std::string failure = ini.Save(path); !failure.empty()) {
            Fail(app, "Could not write 'Typed Urls' !\n" + failure, true);
            return 2;
        }
        return 0;
    }

    std::string bytes, error, replaced;
    if (!ReadRegularFile(path, kMaxPrefsBytes, bytes, error)) {
        Fail(app, "Can not open " + path + " !", true);
        return 2;
    }
    if (!ReplacePrefsTypedUrls(bytes, urls, replaced)) {
        Fail(app, "Could not write 'Typed Urls' !", true);
        return 2;
    }
    if (const std::string failure = WriteFileAtomically(path, replaced); !failure.empty()) {
        Fail(app, "Could not write 'Typed Urls' !\n" + failure, true);
        return 2;
    }
    return 0;
}

} // namespace lt
