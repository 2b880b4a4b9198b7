// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/settings_io.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include <sys/stat.h>

#include "core/app_state.h"
#include "search/filter_date.h"
#include "search/filter_words.h"
#include "search/item_kind.h"
#include "store/ini_location.h"
#include "store/session_file.h"

namespace lt {

namespace {

constexpr const char* kInitialUserString = "Saved by Linktrawl from:";
constexpr std::size_t kText = 259;

// The window records and how many fields each holds at most (63 characters are read).
constexpr const char* kPositionKeys[] = {"WPS01", "WPS02", "WPS03", "WPS04",
                                         "WPS05", "WPS06", "WPS07", "WPS10"};
constexpr std::size_t kMaxPositionFields = 12;

bool ParseInt(std::string_view s, long long& out)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+'))
        negative = s[i++] == '-';
    if (i >= s.size() || s[i] < '0' || s[i] > '9')
        return false;
    long long n = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i)
        n = std::min<long long>(n * 10 + (s[i] - '0'), LLONG_MAX / 16);
    out = negative ? -n : n;
    return true;
}

bool ParseUnsigned64(std::string_view s, uint64_t& out)
{
    if (s.empty() || s.size() > 20)
        return false;
    uint64_t n = 0;
    for (char c : s) {
        if (c < '0' || c > '9')
            return false;
        const uint64_t d = static_cast<uint64_t>(c - '0');
        if (n > (UINT64_MAX - d) / 10)
            return false;
        n = n * 10 + d;
    }
    out = n;
    return true;
}

// A colour as the "Color:" edit accepts it: hexadecimal after "0x"/"0X", decimal otherwise.
bool ValidColor(std::string_view s)
{
    if (s.empty() || s.size() > 11)
        return false;
    std::string_view digits = s;
    bool hex = false;
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        digits = s.substr(2);
        hex = true;
    }
    return std::all_of(digits.begin(), digits.end(), [&](char c) {
        return (c >= '0' && c <= '9') || (hex && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')));
    });
}

bool IsPermutation(std::string_view s, int n)
{
    if (s.size() != static_cast<std::size_t>(n))
        return false;
    bool seen[10] = {};
    for (char c : s) {
        const int d = c - '0';
        if (d < 1 || d > n || seen[d])
            return false;
        seen[d] = true;
    }
    return true;
}

// R15: the digits give the column at each place; places the value leaves open take the
// remaining columns in their built-in order. Anything that is not part of a permutation of 1..6
// gives the built-in order.
std::string ReadColumnOrder(std::string_view value)
{
    std::string order;
    bool seen[7] = {};
    for (char c : value.substr(0, 6)) {
        const int d = c - '0';
        if (d < 1 || d > 6 || seen[d])
            return "123456";
        seen[d] = true;
        order.push_back(c);
    }
    for (int d = 1; d <= 6; ++d)
        if (!seen[d])
            order.push_back(static_cast<char>('0' + d));
    return order;
}

std::string JoinPath(const std::string& folder, const std::string& name)
{
    if (folder.empty() || folder.back() == '/')
        return folder + name;
    return folder + "/" + name;
}

// Reads keys into fields. `keep` makes a key the document does not hold leave the field as it is
// (loading a file); otherwise the documented default applies (start-up).
class Reader
{
public:
    Reader(const IniFile& ini, bool keep) : m_ini(ini), m_keep(keep) {}

    bool Has(const char* sec, const std::string& key) const { return m_ini.HasKey(sec, key); }

    void Text(const char* sec, const std::string& key, const char* def, std::size_t maxLen,
              std::string& field) const
    {
        if (!Has(sec, key)) {
            if (!m_keep)
                field = def;
            return;
        }
        field = m_ini.GetString(sec, key, def, maxLen);
    }

    // A number outside [lo, hi] or no number at all reads as the default.
    void Int(const char* sec, const std::string& key, int def, int lo, int hi, int& field) const
    {
        if (!Has(sec, key)) {
            if (!m_keep)
                field = def;
            return;
        }
        long long v = 0;
        field =
            ParseInt(m_ini.GetString(sec, key, "", 64), v) && v >= lo && v <= hi ? static_cast<int>(v) : def;
    }

    void Flag(const char* sec, const std::string& key, bool def, bool& field) const
    {
        if (!Has(sec, key)) {
            if (!m_keep)
                field = def;
            return;
        }
        long long v = 0;
        field = ParseInt(m_ini.GetString(sec, key, "", 64), v) ? v != 0 : def;
    }

    // Seven keys prefix0..prefix6. `pack` keeps every non-empty entry, moved to the front;
    // otherwise the list ends at its first empty entry.
    void List(const char* sec, const std::string& prefix, History& list, bool pack = false) const
    {
        bool any = false;
        for (int i = 0; i < kHistorySize && !any; ++i)
            any = Has(sec, prefix + std::to_string(i));
        if (!any && m_keep)
            return;
        History read{};
        std::size_t n = 0;
        for (int i = 0; i < kHistorySize; ++i) {
            std::string v = m_ini.GetString(sec, prefix + std::to_string(i), "", kText);
            if (v.empty()) {
                if (pack)
                    continue;
                break;
            }
            read[n++] = std::move(v);
        }
        list = std::move(read);
    }

    std::string Raw(const char* sec, const std::string& key, std::size_t maxLen = kText) const
    {
        return m_ini.GetString(sec, key, "", maxLen);
    }

private:
    const IniFile& m_ini;
    bool m_keep;
};

void WriteList(IniFile& ini, const char* sec, const std::string& prefix, const History& list)
{
    for (int i = 0; i < kHistorySize; ++i)
        ini.SetString(sec, prefix + std::to_string(i), list[static_cast<std::size_t>(i)]);
}

void WriteFlag(IniFile& ini, const char* sec, const char* key, bool on)
{
    ini.SetString(sec, key, on ? "1" : "0");
}

std::string SizeText(const SizeLimit& limit)
{
    return std::string(limit.on ? "1" : "0") + ";" + std::to_string(limit.bytes);
}

void ReadSize(const Reader& r, const char* key, SizeLimit& limit)
{
    if (!r.Has(kSecSearch, key)) {
        return; // the defaults are those of a fresh record
    }
    const std::string v = r.Raw(kSecSearch, key, 64);
    const std::size_t semi = v.find(';');
    SizeLimit read;
    long long flag = 0;
    if (semi == std::string::npos || !ParseInt(v.substr(0, semi), flag) ||
        !ParseUnsigned64(v.substr(semi + 1), read.bytes)) {
        limit = SizeLimit{};
        return;
    }
    read.on = flag != 0;
    limit = read;
}

void ReadDate(const Reader& r, const char* key, FilterDate& date)
{
    if (!r.Has(kSecSearch, key))
        return;
    if (!ParseFilterDate(r.Raw(kSecSearch, key, 64), date))
        date = FilterDate{};
}

// R11: "min;sum"; a missing ";" keeps the sum; the sum is capped at 1020.
void ReadR11(const Reader& r, SearchSettings& s, bool keep)
{
    if (!r.Has(kSecOptions, "R11")) {
        if (!keep) {
            s.minimalLength = s.previousMinimalLength = 6;
            s.ipSumLimit = 10;
        }
        return;
    }
    const std::string v = r.Raw(kSecOptions, "R11", 64);
    const std::size_t semi = v.find(';');
    long long n = 0;
    const bool ok = ParseInt(v.substr(0, semi), n) && n >= 1 && n <= INT_MAX;
    s.minimalLength = ok ? static_cast<int>(n) : 6;
    s.previousMinimalLength = s.minimalLength;
    if (semi != std::string::npos) {
        const bool sumOk = ParseInt(v.substr(semi + 1), n) && n >= 0;
        s.ipSumLimit = sumOk ? static_cast<int>(std::min<long long>(n, 1020)) : 10;
    }
}

// R12: seven flags; a missing or unreadable position keeps the value it had before reading
// (at start-up the defaults "0000010").
void ReadR12(const Reader& r, AppState& app, bool keep)
{
    SearchSettings& s = app.settings;
    Options& o = app.options;
    if (!keep) {
        s.userUrlLike = false;
        s.userEntireLine = true;
        o.logUrl = false;
        s.userHex = false;
        o.alternateRowColors = true;
        s.r12 = "0000010";
    }
    if (s.r12.size() != 7)
        s.r12 = "0000010";
    if (!r.Has(kSecOptions, "R12"))
        return;
    const std::string v = r.Raw(kSecOptions, "R12", 7);
    for (std::size_t i = 0; i < v.size(); ++i) {
        if (v[i] != '0' && v[i] != '1')
            continue;
        const bool on = v[i] == '1';
        s.r12[i] = v[i];
        switch (i) {
        case 0:
            s.userUrlLike = on;
            break;
        case 1:
            s.userEntireLine = on;
            break;
        case 2:
            o.logUrl = on;
            break;
        case 4:
            s.userHex = on;
            break;
        case 5:
            o.alternateRowColors = on;
            break;
        default:
            break;
        }
    }
}

std::string R12Text(const AppState& app)
{
    std::string r12 = app.settings.r12.size() == 7 ? app.settings.r12 : "0000010";
    r12[0] = app.settings.userUrlLike ? '1' : '0';
    r12[1] = app.settings.userEntireLine ? '1' : '0';
    r12[2] = app.options.logUrl ? '1' : '0';
    r12[4] = app.settings.userHex ? '1' : '0';
    r12[5] = app.options.alternateRowColors ? '1' : '0';
    return r12;
}

void ReadExport(const Reader& r, ExportSettings& e, bool keep)
{
    // A6: the "multiple cells" digit, then the CSV delimiter.
    if (r.Has(kSecOptions, "A6")) {
        const std::string v = r.Raw(kSecOptions, "A6", 2);
        if (!v.empty() && (v[0] == '0' || v[0] == '1'))
            e.multipleCells = v[0] == '1';
        if (v.size() >= 2)
            e.delimiter = v[1];
    } else if (!keep) {
        e.multipleCells = true;
        e.delimiter = ';';
    }
    // A7: six column flags, then two digits of other options.
    if (r.Has(kSecOptions, "A7")) {
        const std::string v = r.Raw(kSecOptions, "A7", 8);
        for (std::size_t i = 0; i < 6 && i < v.size(); ++i)
            if (v[i] == '0' || v[i] == '1')
                e.columns[i] = v[i] == '1';
        std::string rest = e.a7Rest.size() == 2 ? e.a7Rest : "00";
        for (std::size_t i = 6; i < 8 && i < v.size(); ++i)
            if (v[i] == '0' || v[i] == '1')
                rest[i - 6] = v[i];
        e.a7Rest = rest;
    } else if (!keep) {
        e.columns = {true, false, false, false, false, false};
        e.a7Rest = "00";
    }
    if (std::none_of(e.columns.begin(), e.columns.end(), [](bool b) { return b; }))
        e.columns[0] = true;
    if (r.Has(kSecOptions, "R15"))
        e.order = ReadColumnOrder(r.Raw(kSecOptions, "R15", 16));
    else if (!keep)
        e.order = "123456";
}

std::string A7Text(const ExportSettings& e)
{
    std::string a7;
    for (bool c : e.columns)
        a7.push_back(c ? '1' : '0');
    a7 += e.a7Rest.size() == 2 ? e.a7Rest : "00";
    return a7;
}

std::string A6Text(const ExportSettings& e)
{
    return std::string(1, e.multipleCells ? '1' : '0') + e.delimiter;
}

// Step 6 of reading: filters, masks, the other OPTIONS keys, the lists, MISC and two INET keys.
void ReadSearchPart(const Reader& r, AppState& app, bool keep)
{
    SearchSettings& s = app.settings;
    Options& o = app.options;

    r.Text(kSecOptions, "R1", "", kText, s.mustText);
    r.List(kSecSearch, "RM", s.mustHistory);
    r.Text(kSecOptions, "R2", "", kText, s.mustNotText);
    r.List(kSecSearch, "RMN", s.mustNotHistory);
    r.Flag(kSecSearch, "AWM1", false, s.mustAll);
    r.Flag(kSecSearch, "AWM2", false, s.mustNotAll);
    r.Int(kSecSearch, "OT", 2, 0, 2, s.fileTypeMode);
    r.Text(kSecOptions, "R3", "", 255, s.includeMasks);
    r.Text(kSecOptions, "R4", "", 255, s.excludeMasks);

    // The folder dialog's settings.
    r.Flag(kSecSearch, "SUB", false, s.includeSubdirectories);
    r.Flag(kSecSearch, "DF", false, s.dateFilter);
    r.Int(kSecSearch, "DFLD", 1, 0, 2, s.dateField);
    r.Int(kSecSearch, "THREADS", 0, 0, 1024, s.threads);
    if (!s.dateFilter)
        s.dateField = 1;
    ReadDate(r, "DFROM", s.dateFrom);
    ReadDate(r, "DTO", s.dateTo);
    ReadSize(r, "SZA", s.sizeAbove);
    ReadSize(r, "SZB", s.sizeBelow);

    r.Int(kSecOptions, "R5", 0, INT_MIN, INT_MAX, o.r5);
    r.Int(kSecOptions, "R6", 0, 0, 7, s.itemKind);
    r.Int(kSecOptions, "R8", 1, 0, 3, s.duplicatesPolicy);
    r.Flag(kSecOptions, "R9", false, s.userPrefix);
    r.Flag(kSecOptions, "R10", false, s.caseSensitive);
    ReadR11(r, s, keep);
    ReadR12(r, app, keep);
    r.Int(kSecOptions, "R14", 0, 0, 18, o.savedListKind);
    if (o.savedListKind == 17) // no list kind has this number
        o.savedListKind = 0;
    r.Flag(kSecOptions, "R16", false, s.onlyTopLevelDomains);
    r.Flag(kSecOptions, "HTTPS", true, s.findHttps);

    std::string color = o.rowColor;
    r.Text(kSecOptions, "RColor", "0xE6FFFE", 11, color);
    o.rowColor = ValidColor(color) ? color : "0xE6FFFE";
    r.Text(kSecOptions, "A4", "", kText, o.launchProgram);
    r.Flag(kSecOptions, "A3", false, o.standardBrowser);
    if (o.launchProgram.empty())
        o.standardBrowser = true;
    std::string order = o.browserOrder;
    r.Text(kSecOptions, "A5", "123", 3, order);
    o.browserOrder = IsPermutation(order, 3) ? order : "123";
    ReadExport(r, app.exportSettings, keep);
    r.Text(kSecOptions, "P1", "0", 127, o.printerFont1);
    r.Text(kSecOptions, "P2", "0", 127, o.printerFont2);
    r.Text(kSecOptions, "P3", "0", 127, o.printerFont3);
    r.Text(kSecOptions, "P4", "", 127, o.printerFontFace);
    r.Flag(kSecOptions, "StdOpen", true, o.stdOpen);
    r.Flag(kSecOptions, "TextWin", false, o.textWin);

    // The user string: the SU history, with R7 as its current entry.
    History users = s.userStrings;
    r.List(kSecOptions, "SU", users);
    const std::string fallback =
        !users[0].empty() ? users[0] : (keep ? s.userStrings[0] : kInitialUserString);
    std::string current = fallback;
    r.Text(kSecOptions, "R7", fallback.c_str(), kText, current);
    if (!current.empty() && current != users[0]) {
        std::move_backward(users.begin(), users.end() - 1, users.end());
        users[0] = current;
    }
    s.userStrings = users;
    if (s.itemKind == kItemUser && s.userStrings[0].empty())
        s.itemKind = kItemHttpFtp;

    r.List(kSecSearch, "SF", s.includeMaskHistory);
    r.List(kSecSearch, "SNF", s.excludeMaskHistory);
    r.List(kSecSearch, "BU", o.buHistory);
    r.List(kSecSearch, "RF", o.rfHistory);

    r.Text(kSecMisc, "CMI1", "_files", 31, o.joinDirSuffix);
    // The options page accepts 63 characters for the new file name; read back as many.
    r.Text(kSecMisc, "CMI2", "_index.htm", 63, o.joinFileName);
    r.Text(kSecMisc, "CMI3", "", 254, o.miscText);

    r.Text(kSecInet, "RI3", "", 511, o.inet.followMust);
    r.Text(kSecInet, "RI4", kDefaultFollowMustNot, 511, o.inet.followMustNot);
    if (o.inet.followMustNot.empty())
        o.inet.followMustNot = kDefaultFollowMustNot;
}

bool IsExistingAbsoluteFolder(const std::string& path)
{
    struct stat st
    {
    };
    return !path.empty() && path.front() == '/' && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool AcceptsFileType(int code, int type)
{
    const bool known = type >= kFileTypeIni && type <= kFileTypeParseColumns;
    switch (code) {
    case kSettingsLoadJob:
        return type == kFileTypeJob;
    // A parse-columns file holds no search settings.
    case kSettingsLoad:
    case kSettingsSessionRead:
        return known && type != kFileTypeParseColumns;
    default:
        return known;
    }
}

void WriteDirs(const AppState& app, IniFile& ini)
{
    const Options& o = app.options;
    ini.SetString(kSecDirs, "SAVE", o.saveFolder);
    ini.SetString(kSecDirs, "OPEN", o.openFolder);
    ini.SetString(kSecDirs, "INIT", o.initFolder);
    ini.SetString(kSecDirs, "TEMPO", o.tempFolder);
    WriteList(ini, kSecDirs, "D", app.settings.folders);
    ini.SetString(kSecDirs, "CK", o.cookieFolder);
    // The folder of the settings and job dialogs is remembered too.
    ini.SetString(kSecDirs, "JB", o.jobFolder);
}

void WriteSearchSection(const AppState& app, IniFile& ini)
{
    const SearchSettings& s = app.settings;
    WriteFlag(ini, kSecSearch, "AWM1", s.mustAll);
    ini.SetInt(kSecSearch, "OT", s.fileTypeMode);
    WriteFlag(ini, kSecSearch, "AWM2", s.mustNotAll);
    WriteList(ini, kSecSearch, "SF", s.includeMaskHistory);
    WriteList(ini, kSecSearch, "SNF", s.excludeMaskHistory);
    WriteList(ini, kSecSearch, "RM", s.mustHistory);
    WriteList(ini, kSecSearch, "RMN", s.mustNotHistory);
    WriteList(ini, kSecSearch, "BU", app.options.buHistory);
    WriteList(ini, kSecSearch, "RF", app.options.rfHistory);
    WriteFlag(ini, kSecSearch, "SUB", s.includeSubdirectories);
    WriteFlag(ini, kSecSearch, "DF", s.dateFilter);
    ini.SetInt(kSecSearch, "DFLD", s.dateField);
    ini.SetInt(kSecSearch, "THREADS", s.threads);
    ini.SetString(kSecSearch, "DFROM", FormatFilterDate(s.dateFrom));
    ini.SetString(kSecSearch, "DTO", FormatFilterDate(s.dateTo));
    ini.SetString(kSecSearch, "SZA", SizeText(s.sizeAbove));
    ini.SetString(kSecSearch, "SZB", SizeText(s.sizeBelow));
}

// The search settings of OPTIONS (what "Save now" and the close with "&Search Options" store).
void WriteSearchOptions(const AppState& app, IniFile& ini)
{
    const SearchSettings& s = app.settings;
    WriteFlag(ini, kSecOptions, "R0", s.restrictEnabled);
    ini.SetString(kSecOptions, "R1", s.mustText);
    ini.SetString(kSecOptions, "R2", s.mustNotText);
    ini.SetString(kSecOptions, "R3", s.includeMasks);
    ini.SetString(kSecOptions, "R4", s.excludeMasks);
    ini.SetInt(kSecOptions, "R5", app.options.r5);
    ini.SetInt(kSecOptions, "R6", s.itemKind);
    ini.SetString(kSecOptions, "R7", s.userStrings[0]);
    ini.SetInt(kSecOptions, "R8", s.duplicatesPolicy);
    WriteFlag(ini, kSecOptions, "R9", s.userPrefix);
    WriteFlag(ini, kSecOptions, "R10", s.caseSensitive);
    ini.SetString(kSecOptions, "A7", A7Text(app.exportSettings));
    ini.SetString(kSecOptions, "R11", std::to_string(s.minimalLength) + ";" + std::to_string(s.ipSumLimit));
    ini.SetString(kSecOptions, "R12", R12Text(app));
    WriteFlag(ini, kSecOptions, "R16", s.onlyTopLevelDomains);
    WriteFlag(ini, kSecOptions, "HTTPS", s.findHttps);
    ini.SetString(kSecOptions, "RColor", app.options.rowColor);
    ini.SetInt(kSecOptions, "R14", app.listState.kind);
    ini.SetString(kSecOptions, "R15", app.exportSettings.order);
    WriteList(ini, kSecOptions, "SU", s.userStrings);
}

void AddList(std::vector<SettingsEntry>& out, const char* sec, const std::string& prefix, const History& list)
{
    for (int i = 0; i < kHistorySize; ++i)
        out.push_back({sec, prefix + std::to_string(i), list[static_cast<std::size_t>(i)]});
}

void ReadFont(const IniFile& ini, Options& o)
{
    o.textFontFace = ini.GetString(kSecTextWin, "FT1", "", 127);
    o.textFontFields = ini.GetString(kSecTextWin, "FT2", "0;", kText);
}

} // namespace

std::vector<SettingsEntry> SessionSettingsEntries(const AppState& app)
{
    const Options& o = app.options;
    const SearchSettings& s = app.settings;
    auto flag = [](bool on) { return std::string(on ? "1" : "0"); };
    std::vector<SettingsEntry> out;
    out.push_back({kSecDirs, "SAVE", o.saveFolder});
    out.push_back({kSecDirs, "OPEN", o.openFolder});
    out.push_back({kSecDirs, "INIT", o.initFolder});
    out.push_back({kSecDirs, "CK", o.cookieFolder});
    out.push_back({kSecDirs, "TEMPO", o.tempFolder});
    AddList(out, kSecDirs, "D", s.folders);

    out.push_back({kSecSearch, "AWM1", flag(s.mustAll)});
    out.push_back({kSecSearch, "OT", std::to_string(s.fileTypeMode)});
    out.push_back({kSecSearch, "AWM2", flag(s.mustNotAll)});
    AddList(out, kSecSearch, "SF", s.includeMaskHistory);
    AddList(out, kSecSearch, "SNF", s.excludeMaskHistory);
    AddList(out, kSecSearch, "RM", s.mustHistory);
    AddList(out, kSecSearch, "RMN", s.mustNotHistory);
    AddList(out, kSecSearch, "BU", o.buHistory);
    AddList(out, kSecSearch, "RF", o.rfHistory);
    out.push_back({kSecSearch, "SUB", flag(s.includeSubdirectories)});
    out.push_back({kSecSearch, "DF", flag(s.dateFilter)});
    out.push_back({kSecSearch, "DFLD", std::to_string(s.dateField)});
    out.push_back({kSecSearch, "DFROM", FormatFilterDate(s.dateFrom)});
    out.push_back({kSecSearch, "DTO", FormatFilterDate(s.dateTo)});
    out.push_back({kSecSearch, "SZA", SizeText(s.sizeAbove)});
    out.push_back({kSecSearch, "SZB", SizeText(s.sizeBelow)});

    out.push_back({kSecInet, "RI3", o.inet.followMust});
    out.push_back({kSecInet, "RI4", o.inet.followMustNot});

    out.push_back({kSecOptions, "R0", flag(s.restrictEnabled)});
    out.push_back({kSecOptions, "R1", s.mustText});
    out.push_back({kSecOptions, "R2", s.mustNotText});
    out.push_back({kSecOptions, "R3", s.includeMasks});
    out.push_back({kSecOptions, "R4", s.excludeMasks});
    out.push_back({kSecOptions, "R5", std::to_string(o.r5)});
    out.push_back({kSecOptions, "R6", std::to_string(s.itemKind)});
    out.push_back({kSecOptions, "R7", s.userStrings[0]});
    out.push_back({kSecOptions, "R8", std::to_string(s.duplicatesPolicy)});
    out.push_back({kSecOptions, "R10", flag(s.caseSensitive)});
    out.push_back({kSecOptions, "A7", A7Text(app.exportSettings).substr(0, 6)}); // the six column flags
    out.push_back({kSecOptions, "R11", std::to_string(s.minimalLength) + ";" + std::to_string(s.ipSumLimit)});
    out.push_back({kSecOptions, "R12", R12Text(app)});
    out.push_back({kSecOptions, "R16", flag(s.onlyTopLevelDomains)});
    out.push_back({kSecOptions, "R14", std::to_string(app.listState.kind)});
    out.push_back({kSecOptions, "R15", app.exportSettings.order});
    out.push_back({kSecOptions, "R9", flag(s.userPrefix)});
    AddList(out, kSecOptions, "SU", s.userStrings);
    out.push_back({kSecOptions, "HTTPS", flag(s.findHttps)});
    return out;
}

int ReadSettings(AppState& app, const IniFile& ini, int code)
{
    SearchSettings& s = app.settings;
    Options& o = app.options;
    const bool keep = code != kSettingsStartup;
    const Reader r(ini, keep);

    if (code != kSettingsStartup) {
        long long type = 0;
        if (!ParseInt(ini.GetString(kSecLtsFile, "U0", "0", 16), type) || type == kFileTypeNone)
            return -1;
        if (!AcceptsFileType(code, static_cast<int>(type)))
            return -1;
        if (code == kSettingsSessionCheck)
            return 1;
    }

    r.Text(kSecDirs, "SAVE", "", kText, o.saveFolder);
    if (code != kSettingsLoadJob) {
        r.Text(kSecDirs, "OPEN", "", kText, o.openFolder);
        // A loaded file may come from another system ("C:\\WINDOWS\\TEMP") or another user: its
        // folder is taken only when it already exists under an absolute path.
        const std::string temp = r.Raw(kSecDirs, "TEMPO");
        if (!temp.empty() && (code == kSettingsStartup || IsExistingAbsoluteFolder(temp)))
            o.tempFolder = temp;
        r.Text(kSecDirs, "INIT", "", kText, o.initFolder);
        if (!o.initFolder.empty())
            o.openFolder = o.initFolder;
        r.List(kSecDirs, "D", s.folders, true);
        if (o.openFolder.empty())
            o.openFolder = s.folders[0];
    }
    if (code != kSettingsSessionRead)
        r.Text(kSecDirs, "JB", "", kText, o.jobFolder);
    r.Text(kSecDirs, "CK", "", kText, o.cookieFolder);

    if (code != kSettingsStartup)
        r.Flag(kSecOptions, "R0", false, s.restrictEnabled);

    if (code != kSettingsLoadJob || s.restrictEnabled) {
        ReadSearchPart(r, app, keep);
        app.tables.SetUrlLike(s.userUrlLike);
    }
    if (s.restrictEnabled)
        BuildFilterWords(s, app.filterWords);
    if (code == kSettingsLoadJob)
        ReadInetSettings(app, ini, true);
    SelectItemKind(app);
    return 0;
}

namespace {

// A temporary folder named by the file is made when it is missing; one that cannot be made is
// reported by whatever writes there later.
void MakeParentFolder(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos || slash == 0)
        return;
    std::error_code ec;
    std::filesystem::create_directories(path.substr(0, slash), ec); // a failure shows in the write
}

void MakeTempFolder(const AppState& app)
{
    if (app.options.tempFolder.empty())
        return;
    std::error_code ec;
    std::filesystem::create_directories(app.options.tempFolder, ec);
}

} // namespace

int ReadSettings(AppState& app, const std::string& path, int code, std::string* error)
{
    if (path.empty())
        return -1;
    IniFile ini;
    std::string err = ini.Load(path);
    if (err.empty() && !ini.FileExisted())
        err = "Could not open " + path;
    // A session too large for the INI reader still has its small settings part before the rows.
    SessionReader session;
    std::string sessionError;
    if (!err.empty() && ini.FileExisted() && code != kSettingsStartup && session.Open(path, sessionError)) {
        ini = session.Settings();
        err.clear();
    }
    if (!err.empty()) {
        if (error != nullptr)
            *error = err;
        return -1;
    }
    // A temporary folder is made only for the INI file at start-up, never for a loaded file.
    const int result = ReadSettings(app, ini, code);
    if (result >= 0 && code == kSettingsStartup)
        MakeTempFolder(app);
    return result;
}

void ReadInetSettings(AppState& app, const IniFile& ini, bool fromJob)
{
    InetOptions& n = app.options.inet;
    const Reader r(ini, fromJob);
    r.List(kSecInet, "IU", n.urlHistory);
    r.List(kSecInet, "IF", n.fileHistory);
    r.List(kSecInet, "IRE", n.ireHistory);
    r.Flag(kSecInet, "RI0", false, n.saveToDisk);
    r.Int(kSecInet, "RI1", 0, 0, 3, n.crawlMode);
    r.Text(kSecInet, "RI3", "", 511, n.followMust);
    r.Text(kSecInet, "RI4", kDefaultFollowMustNot, 511, n.followMustNot);
    if (n.followMustNot.empty())
        n.followMustNot = kDefaultFollowMustNot;
    r.Flag(kSecInet, "RI5", false, n.enumerativeNames);
    r.Text(kSecInet, "RI6", "", 243, n.baseFileName);
    const Options& o = app.options;
    const std::string savePath =
        JoinPath(!o.saveFolder.empty() ? o.saveFolder : app.startup.programFolder, "tmp01.htm");
    if (n.savePath.empty())
        n.savePath = savePath;
    r.Text(kSecInet, "RI7", savePath.c_str(), 243, n.savePath);
    r.Text(kSecInet, "RI8", "", 243, n.startUrl);
    r.Text(kSecInet, "RI9", "", 503, n.savedMust);
    r.Text(kSecInet, "RI10", "", 503, n.savedMustNot);
    r.Flag(kSecInet, "RI11", false, n.saveOnly);
    r.Int(kSecInet, "RI12", 30, 1, INT_MAX, n.timeoutSeconds);
    r.Flag(kSecInet, "RI14", false, n.urlsFromFile);
    r.Text(kSecInet, "RI15", "", 243, n.urlFile);
    r.Flag(kSecInet, "RI16", false, n.useProxy);
    if (r.Has(kSecInet, "RI17") || !fromJob) {
        const std::string v = r.Raw(kSecInet, "RI17", 519);
        n.proxies.clear();
        std::size_t pos = 0;
        while (pos <= v.size()) {
            std::size_t semi = v.find(';', pos);
            if (semi == std::string::npos)
                semi = v.size();
            std::string entry = v.substr(pos, semi - pos);
            entry.erase(0, entry.find_first_not_of(" \t"));
            entry.erase(entry.find_last_not_of(" \t") + 1);
            if (!entry.empty())
                n.proxies.push_back(entry);
            pos = semi + 1;
        }
        if (n.proxies.empty())
            n.proxies.push_back(kDefaultProxy);
    }
    r.Flag(kSecInet, "AWL1", true, n.followMustAll);
    r.Flag(kSecInet, "AWL2", false, n.followMustNotAll);
    r.Flag(kSecInet, "AWS1", true, n.savedMustAll);
    r.Flag(kSecInet, "AWS2", false, n.savedMustNotAll);
    r.Int(kSecInet, "RI2", 1, 0, 999, n.level);
    r.Int(kSecInet, "RI13", 0, 0, 999, n.retries);
    r.Int(kSecInet, "RI18", 0, 0, 9999, n.delayMinutes);
    r.Int(kSecInet, "RI21", 8, 1, kMaxParallelRequests, n.parallelRequests);
    // The FTP login is read only: it is written by hand into a file only its owner can read.
    r.Text(kSecInet, "RI19", "", 64, n.ftpUser);
    r.Text(kSecInet, "RI20", "", 64, n.ftpPassword);
}

void WriteInetSettings(const AppState& app, IniFile& ini)
{
    const InetOptions& n = app.options.inet;
    WriteList(ini, kSecInet, "IU", n.urlHistory);
    WriteList(ini, kSecInet, "IF", n.fileHistory);
    WriteList(ini, kSecInet, "IRE", n.ireHistory);
    WriteFlag(ini, kSecInet, "RI0", n.saveToDisk);
    ini.SetInt(kSecInet, "RI1", n.crawlMode);
    ini.SetString(kSecInet, "RI3", n.followMust);
    ini.SetString(kSecInet, "RI4", n.followMustNot);
    WriteFlag(ini, kSecInet, "RI5", n.enumerativeNames);
    ini.SetString(kSecInet, "RI6", n.baseFileName);
    ini.SetString(kSecInet, "RI7", n.savePath);
    ini.SetString(kSecInet, "RI8", n.startUrl);
    ini.SetString(kSecInet, "RI9", n.savedMust);
    ini.SetString(kSecInet, "RI10", n.savedMustNot);
    WriteFlag(ini, kSecInet, "RI11", n.saveOnly);
    ini.SetInt(kSecInet, "RI12", n.timeoutSeconds);
    WriteFlag(ini, kSecInet, "RI14", n.urlsFromFile);
    ini.SetString(kSecInet, "RI15", n.urlFile);
    WriteFlag(ini, kSecInet, "RI16", n.useProxy);
    std::string proxies;
    for (const std::string& p : n.proxies) {
        std::string entry;
        for (char c : p)
            if (c != ';')
                entry.push_back(c);
        if (!entry.empty())
            proxies += entry + ";";
    }
    ini.SetString(kSecInet, "RI17", proxies);
    WriteFlag(ini, kSecInet, "AWL1", n.followMustAll);
    WriteFlag(ini, kSecInet, "AWL2", n.followMustNotAll);
    WriteFlag(ini, kSecInet, "AWS1", n.savedMustAll);
    WriteFlag(ini, kSecInet, "AWS2", n.savedMustNotAll);
    ini.SetInt(kSecInet, "RI2", n.level);
    ini.SetInt(kSecInet, "RI13", n.retries);
    ini.SetInt(kSecInet, "RI18", n.delayMinutes);
    ini.SetInt(kSecInet, "RI21", n.parallelRequests);
}

int WriteSettings(AppState& app, IniFile& ini, int code)
{
    int type = 0;
    switch (code) {
    // "Save now" writes into the INI file, which stays marked as the INI file.
    case kSettingsSaveNow:
    case kSettingsClose:
        type = kFileTypeIni;
        break;
    case kSettingsSaveAs:
        type = kFileTypeSettings;
        break;
    case kSettingsSaveJob:
        type = kFileTypeJob;
        break;
    default:
        return -1;
    }
    ini.SetInt(kSecLtsFile, "U0", type);
    WriteDirs(app, ini);
    ini.SetString(kSecInet, "RI3", app.options.inet.followMust);
    ini.SetString(kSecInet, "RI4", app.options.inet.followMustNot);
    WriteSearchSection(app, ini);
    WriteSearchOptions(app, ini);
    if (code == kSettingsSaveJob)
        WriteInetSettings(app, ini);
    return 0;
}

int WriteSettings(AppState& app, const std::string& path, int code, std::string* error)
{
    auto fail = [&](const std::string& text) {
        if (error != nullptr)
            *error = text;
        return -1;
    };
    if (path.empty())
        return fail("No file name given");
    if (code == kSettingsClose && !IniWritable(path))
        return -1;
    IniFile ini;
    // "Save as" (settings and jobs) makes a fresh file: the user confirmed the replacement, and
    // nothing of an old file may linger in it. The INI file is merged.
    const bool fresh = code == kSettingsSaveAs || code == kSettingsSaveJob;
    if (!fresh) {
        if (std::string err = ini.Load(path); !err.empty())
            return fail(err); // never replace a file that could not be read whole
    }
    if (WriteSettings(app, ini, code) < 0)
        return -1;
    if (code == kSettingsSaveNow || code == kSettingsClose)
        MakeParentFolder(path); // the INI folder of a first run may not exist yet
    if (std::string err = ini.Save(path); !err.empty())
        return fail(err);
    return 0;
}

PositionRecord ReadPosition(const IniFile& ini, std::string_view key)
{
    PositionRecord rec;
    const std::string v = ini.GetString(kSecWpos, key, "", 63);
    for (std::size_t pos = 0; pos + 5 <= v.size() && rec.values.size() < kMaxPositionFields; pos += 5) {
        int n = 0;
        for (std::size_t i = pos; i < pos + 5; ++i) {
            if (v[i] < '0' || v[i] > '9')
                return rec.checksum = -1, rec.values.clear(), rec; // a damaged record is not used
            n = n * 10 + (v[i] - '0');
        }
        rec.values.push_back(n);
    }
    if (!rec.values.empty()) {
        rec.checksum = 0;
        for (int n : rec.values)
            rec.checksum += n;
    }
    return rec;
}

std::string FormatPosition(const PositionRecord& record)
{
    std::string out;
    char buf[8];
    for (std::size_t i = 0; i < record.values.size() && i < kMaxPositionFields; ++i) {
        const int v = record.values[i];
        std::snprintf(buf, sizeof buf, "%05d", (v < 0 || v > 30000) ? 0 : v);
        out += buf;
    }
    return out;
}

bool WritePosition(IniFile& ini, std::string_view key, PositionRecord& record)
{
    if (record.values.empty())
        return false;
    long long sum = 0;
    for (int v : record.values)
        sum += v;
    if (sum == record.checksum)
        return false;
    ini.SetString(kSecWpos, key, FormatPosition(record));
    record.checksum = sum;
    return true;
}

void ReadIniAtStartup(AppState& app, const IniFile& ini)
{
    Options& o = app.options;
    ReadSettings(app, ini, kSettingsStartup);
    ReadInetSettings(app, ini, false);
    o.netscapeBookmarks = ini.GetString(kSecBookmarks, "Netscape", "", 254);
    o.msieFavorites = ini.GetString(kSecBookmarks, "MSIE", "", 254);
    o.operaBookmarks = ini.GetString(kSecBookmarks, "Opera", "", 254);
    o.winePrefix = ini.GetString(kSecDirs, "WINEPREFIX", "", 254);
    o.positions.clear();
    for (const char* key : kPositionKeys) {
        PositionRecord rec = ReadPosition(ini, key);
        if (!rec.values.empty())
            o.positions[key] = std::move(rec);
    }
    ReadFont(ini, o);
    o.saveSearchOnExit = o.saveWindowPositionsOnExit = o.savePrinterFontOnExit = false;
    o.optionsChanged = false;
}

std::string ReadIniAtStartup(AppState& app, const std::string& iniPath)
{
    IniFile ini;
    std::string err = ini.Load(iniPath);
    ReadIniAtStartup(app, ini); // with a failed load the document is empty: the defaults
    MakeTempFolder(app);
    return err;
}

void WriteIniAtClose(AppState& app, IniFile& ini)
{
    const Options& o = app.options;
    ini.SetInt(kSecLtsFile, "U0", kFileTypeIni);
    WriteDirs(app, ini);
    WriteSearchSection(app, ini);

    ini.SetString(kSecOptions, "R1", app.settings.mustText);
    ini.SetString(kSecOptions, "R2", app.settings.mustNotText);
    ini.SetString(kSecOptions, "R3", app.settings.includeMasks);
    ini.SetString(kSecOptions, "R4", app.settings.excludeMasks);
    ini.SetString(kSecOptions, "RColor", o.rowColor);
    WriteFlag(ini, kSecOptions, "StdOpen", o.stdOpen);
    WriteFlag(ini, kSecOptions, "TextWin", o.textWin);
    WriteFlag(ini, kSecOptions, "A3", o.standardBrowser);
    ini.SetString(kSecOptions, "A4", o.launchProgram);
    ini.SetString(kSecOptions, "A5", o.browserOrder);
    ini.SetString(kSecOptions, "A6", A6Text(app.exportSettings));
    ini.SetString(kSecOptions, "A7", A7Text(app.exportSettings));
    ini.SetString(kSecOptions, "R15", app.exportSettings.order);
    // R12 mixes search flags with options-page flags: the search digits stay as stored unless the
    // search settings are saved too.
    std::string r12 = R12Text(app);
    if (!o.saveSearchOnExit) {
        // Without a stored R12 the search digits are the fields' defaults ("Entire Line" on).
        constexpr const char* kSearchDefaults = "0100010";
        std::string stored = ini.GetString(kSecOptions, "R12", kSearchDefaults, 7);
        stored.resize(7, '0');
        for (std::size_t i : {0u, 1u, 4u})
            r12[i] = (stored[i] == '0' || stored[i] == '1') ? stored[i] : kSearchDefaults[i];
    }
    ini.SetString(kSecOptions, "R12", r12);

    ini.SetString(kSecBookmarks, "Netscape", o.netscapeBookmarks);
    ini.SetString(kSecBookmarks, "MSIE", o.msieFavorites);
    ini.SetString(kSecBookmarks, "Opera", o.operaBookmarks);
    // Written only once set, so that an INI without it keeps following $WINEPREFIX.
    if (!o.winePrefix.empty() || ini.HasKey(kSecDirs, "WINEPREFIX"))
        ini.SetString(kSecDirs, "WINEPREFIX", o.winePrefix);
    ini.SetString(kSecMisc, "CMI1", o.joinDirSuffix);
    ini.SetString(kSecMisc, "CMI2", o.joinFileName);
    ini.SetString(kSecMisc, "CMI3", o.miscText);
    WriteInetSettings(app, ini);
    ini.SetString(kSecTextWin, "FT1", o.textFontFace);
    ini.SetString(kSecTextWin, "FT2", o.textFontFields);

    if (o.savePrinterFontOnExit) {
        ini.SetString(kSecOptions, "P1", o.printerFont1);
        ini.SetString(kSecOptions, "P2", o.printerFont2);
        ini.SetString(kSecOptions, "P3", o.printerFont3);
        ini.SetString(kSecOptions, "P4", o.printerFontFace);
    }
    if (o.saveWindowPositionsOnExit) {
        const bool textMode = app.startup.textWindowMode != 0;
        for (auto& [key, rec] : app.options.positions) {
            const bool textRecord = key == "WPS10";
            const bool listRecord = key == "WPS05" || key == "WPS06";
            if (listRecord || textRecord == textMode)
                WritePosition(ini, key, rec);
        }
    }
    if (o.saveSearchOnExit)
        WriteSettings(app, ini, kSettingsClose);
}

CloseWriteResult WriteIniAtClose(AppState& app, const std::string& iniPath)
{
    CloseWriteResult result;
    if (!IniWritable(iniPath))
        return result;
    struct stat st
    {
    };
    const bool exists = ::stat(iniPath.c_str(), &st) == 0;
    if (!app.options.optionsChanged && !exists)
        return result;
    IniFile ini;
    if (std::string err = ini.Load(iniPath); !err.empty()) {
        result.error = err; // never replace a file that could not be read whole
        return result;
    }
    WriteIniAtClose(app, ini);
    MakeParentFolder(iniPath);
    result.error = ini.Save(iniPath);
    result.written = result.error.empty();
    // An FTP password makes the file a secret: no one but its owner may read it.
    if (result.written && !app.options.inet.ftpPassword.empty() && ::stat(iniPath.c_str(), &st) == 0 &&
        (st.st_mode & 077) != 0)
        ::chmod(iniPath.c_str(), st.st_mode & 0700);
    return result;
}

} // namespace lt
