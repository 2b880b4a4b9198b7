// SPDX-License-Identifier: GPL-3.0-or-later
#include "sources/cookie_text.h"

#include <algorithm>
#include <filesystem>
#include <vector>

#include "core/app_state.h"
#include "core/cp1252.h"
#include "core/messages.h"
#include "list/add_result_row.h"
#include "list/list_kind.h"
#include "platform/regular_file.h"
#include "sources/entry_lookup.h"
#include "sources/file_time.h"

namespace lt {

namespace {

constexpr int kMaxRecords = 100;
constexpr std::size_t kMaxShown = 252;

std::string_view StripTrailing(std::string_view s)
{
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\n' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// A time half: 2 to 10 decimal digits holding a 32-bit value.
bool ParseHalf(std::string_view line, uint64_t& value)
{
    line = StripTrailing(line);
    if (line.size() < 2 || line.size() > 10)
        return false;
    value = 0;
    for (char c : line) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + static_cast<uint64_t>(c - '0');
    }
    return value <= 0xFFFFFFFFULL;
}

std::string TimeText(uint64_t low, uint64_t high)
{
    if (low == 0 || high == 0)
        return {};
    LocalTime fields;
    if (!CalendarFields(FileTimeToUnix(high << 32 | low), true, fields))
        return {};
    return DateTextWithin(fields, 1900, 2100);
}

std::string Shown(std::string_view text)
{
    if (text.size() > kMaxShown)
        return std::string(text.substr(0, kMaxShown)) + " ...";
    return std::string(text);
}

bool ParseRecord(std::string_view record, CookieRecord& out)
{
    std::vector<std::string_view> lines;
    for (std::size_t start = 0;;) {
        const std::size_t end = record.find('\n', start);
        lines.push_back(record.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    if (lines.size() < 8)
        return false;
    const std::size_t n = lines.size();
    uint64_t createdHigh, createdLow, expiresHigh, expiresLow;
    if (!ParseHalf(lines[n - 1], createdHigh) || !ParseHalf(lines[n - 2], createdLow) ||
        !ParseHalf(lines[n - 3], expiresHigh) || !ParseHalf(lines[n - 4], expiresLow))
        return false;
    // lines[n - 5] holds the flags.
    std::string_view host = StripTrailing(lines[n - 6]);
    if (host.empty() || host.size() > 259)
        return false;
    if (host.back() == '/')
        host.remove_suffix(1);
    if (host.empty()) // a host of "/" alone names no site
        return false;
    out.domain = std::string(host);
    out.created = TimeText(createdLow, createdHigh);
    out.expires = TimeText(expiresLow, expiresHigh);
    out.data = Shown(StripTrailing(lines[n - 7]));
    // Everything before the value is the name.
    const std::size_t nameLength = static_cast<std::size_t>(lines[n - 7].data() - record.data());
    out.name = Shown(StripTrailing(record.substr(0, nameLength)));
    return true;
}

} // namespace

long ParseCookieText(std::string_view bytes, const std::function<void(const CookieRecord&)>& onRecord)
{
    // Files written with CRLF line ends read as LF.
    std::string text;
    text.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i)
        if (!(bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n'))
            text += bytes[i];
    // Records are separated by lines holding a single "*".
    std::vector<std::string_view> records;
    std::string_view rest(text);
    std::size_t start = 0;
    for (std::size_t pos = 0; pos <= rest.size();) {
        const std::size_t end = std::min(rest.find('\n', pos), rest.size());
        if (rest.substr(pos, end - pos) == "*") {
            records.push_back(rest.substr(start, pos - start));
            start = end + 1;
        }
        pos = end + 1;
    }
    if (start < rest.size() && !StripTrailing(rest.substr(start)).empty())
        records.push_back(rest.substr(start));
    long count = 0;
    for (std::size_t i = records.size(); i-- > 0 && count < kMaxRecords;) {
        const std::string_view record = StripTrailing(records[i]);
        if (record.size() < 20)
            break;
        CookieRecord parsed;
        if (!ParseRecord(record, parsed))
            break;
        onRecord(parsed);
        ++count;
    }
    return count;
}

long CookieTextJob(AppState& app, const std::string& folder)
{
    namespace fs = std::filesystem;
    if (folder.size() < 2 || folder.find('/') == std::string::npos)
        return 0;
    app.status.SetStatusText(folder, 0);
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        const std::string name = it->path().filename().string();
        if (name.size() >= 5 && Cp1252EqualsNoCase(std::string_view(name).substr(name.size() - 4), ".txt") &&
            it->is_regular_file(typeError))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return Cp1252CompareNoCase(a, b) < 0; });
    long rows = 0;
    for (const std::string& name : names) {
        if (app.jobs.Code() == 0)
            break;
        std::string bytes, error;
        // Larger files and files that cannot be read are passed over.
        if (!ReadRegularFile(JoinPath(folder, name), kMaxCookieFileBytes, bytes, error))
            continue;
        ParseCookieText(bytes, [&](const CookieRecord& c) {
            ListState& ls = app.listState;
            for (auto& cell : ls.rowTexts)
                cell.clear();
            ls.rowTexts[1] = c.domain;
            ls.rowTexts[2] = c.created;
            ls.rowTexts[3] = c.expires;
            ls.rowTexts[4] = c.name;
            ls.rowTexts[5] = c.data;
            // Rows of one file keep their order (last cookie first) under the sorted insertion.
            if (AddResultRow(app, name) >= 0)
                ++rows;
        });
        ShowRowCount(app, rows);
    }
    return rows;
}

bool StartCookieTextJob(AppState& app, const std::string& folder)
{
    if (app.jobs.Running())
        return false;
    app.sources.cookieTextFolder = folder;
    SwitchListKind(app, kListCookieFiles);
    app.sources.errorsToStatus = true;
    return StartJob(app, kJobIndexReader, [folder](AppState& a) {
        const long rows = CookieTextJob(a, folder);
        a.sources.errorsToStatus = false;
        if (a.jobs.Code() != 0) {
            ReportFound(a, rows);
            if (rows > 0) {
                a.list.SetSelectedRows({0});
                a.list.SetFocusedRow(0);
            }
        }
        a.jobs.jobCode.store(kJobIdle);
    });
}

} // namespace lt
