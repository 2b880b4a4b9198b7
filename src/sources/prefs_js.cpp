// SPDX-License-Identifier: GPL-3.0-or-later
#include "sources/prefs_js.h"

#include "core/cp1252.h"

namespace lt {

namespace {

constexpr std::size_t kMaxRows = 256;
constexpr std::size_t kMaxUrl = 259;
constexpr std::string_view kHistoryName = "browser.url_history.URL_";

std::string_view SkipBlanks(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    return text;
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// A double-quoted JavaScript string at the start of `text`; `text` moves past it. False when it
// does not start with a quote or does not end on the line.
bool ReadJsString(std::string_view& text, std::string& value)
{
    value.clear();
    if (text.empty() || text.front() != '"')
        return false;
    std::size_t i = 1;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '"') {
            text.remove_prefix(i + 1);
            return true;
        }
        if (c == '\n' || c == '\r')
            return false;
        if (c != '\\' || i + 1 >= text.size()) {
            value.push_back(c);
            ++i;
            continue;
        }
        const char e = text[i + 1];
        i += 2;
        switch (e) {
        case 'n': value.push_back('\n'); break;
        case 'r': value.push_back('\r'); break;
        case 't': value.push_back('\t'); break;
        case 'x':
        case 'u': {
            const std::size_t digits = e == 'x' ? 2 : 4;
            unsigned code = 0;
            std::size_t k = 0;
            while (k < digits && i + k < text.size() && HexValue(text[i + k]) >= 0)
                code = code * 16 + static_cast<unsigned>(HexValue(text[i + k++]));
            if (k < digits) {
                value.push_back(e); // not an escape after all
                break;
            }
            i += k;
            const uint8_t byte = UnicodeToCp1252(code);
            value.push_back(byte == 0 && code != 0 ? '?' : static_cast<char>(byte));
            break;
        }
        default: value.push_back(e); // \\ \" \' and the rest stand for themselves
        }
    }
    return false;
}

// The preference name and value of a `user_pref("name", "value")` line; false for other lines.
bool ReadPrefLine(std::string_view line, std::string& name, std::string* value)
{
    line = SkipBlanks(line);
    constexpr std::string_view kUserPref = "user_pref(";
    if (line.substr(0, kUserPref.size()) != kUserPref)
        return false;
    line = SkipBlanks(line.substr(kUserPref.size()));
    if (!ReadJsString(line, name))
        return false;
    if (!value)
        return true;
    line = SkipBlanks(line);
    if (line.empty() || line.front() != ',')
        return false;
    line = SkipBlanks(line.substr(1));
    return ReadJsString(line, *value);
}

bool IsHistoryName(std::string_view name)
{
    if (name.size() <= kHistoryName.size() || !Cp1252EqualsNoCase(name.substr(0, kHistoryName.size()), kHistoryName))
        return false;
    for (char c : name.substr(kHistoryName.size()))
        if (c < '0' || c > '9')
            return false;
    return true;
}

std::string Trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return std::string(text.substr(0, kMaxUrl));
}

// Calls `visit(line, lineEnd)` for each line of `text`.
template <typename Visit>
void ForEachLine(std::string_view text, Visit visit)
{
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        const std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
        if (end == std::string_view::npos)
            end = text.size();
        std::size_t contentEnd = end;
        if (end < text.size() && contentEnd > pos && text[contentEnd - 1] == '\r')
            --contentEnd; // CR belongs to the line end only before LF
        visit(text.substr(pos, contentEnd - pos), text.substr(contentEnd, next - contentEnd));
        pos = next;
    }
}

} // namespace

bool IsPrefsHistoryLine(std::string_view line)
{
    std::string name;
    return ReadPrefLine(line, name, nullptr) && IsHistoryName(name);
}

std::vector<std::string> ReadPrefsTypedUrls(std::string_view text)
{
    std::vector<std::string> urls;
    bool ended = false;
    ForEachLine(text, [&](std::string_view line, std::string_view) {
        std::string name, value;
        if (ended || urls.size() >= kMaxRows || !ReadPrefLine(line, name, &value) || !IsHistoryName(name))
            return;
        std::string url = Trimmed(value);
        if (url.empty())
            ended = true;
        else
            urls.push_back(std::move(url));
    });
    return urls;
}

std::string JsStringEscape(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + 8);
    for (char c : text) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '"': out += "\\\""; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default: out.push_back(c);
        }
    }
    return out;
}

bool ReplacePrefsTypedUrls(std::string_view text, const std::vector<std::string>& urls, std::string& out)
{
    std::string result;
    result.reserve(text.size() + 64 * urls.size());
    bool found = false;
    ForEachLine(text, [&](std::string_view line, std::string_view eol) {
        if (!IsPrefsHistoryLine(line)) {
            result.append(line);
            result.append(eol);
            return;
        }
        if (found)
            return;
        found = true;
        // A last line without its line end still ends the lines written for it.
        const std::string_view ending = eol.empty() ? std::string_view("\n") : eol;
        for (std::size_t i = 0; i < urls.size() && !urls[i].empty(); ++i) {
            result += "user_pref(\"browser.url_history.URL_" + std::to_string(i + 1) + "\", \"" +
                      JsStringEscape(urls[i]) + "\");";
            result.append(ending);
        }
    });
    if (!found)
        return false;
    out = std::move(result);
    return true;
}

} // namespace lt
