// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace lt {

struct CharTables;

// Which link attribute or prefix found a value.
enum class PageKeyword { Prefix, Href, Src, Action, FrameSource };

// How one reading of a page's links is steered (the link follower and the page item scanner
// differ only in these).
struct PageLinkConfig
{
    std::vector<std::string> prefixes; // "http://", "ftp://", "https://": lower case unless caseSensitive
    bool attributes = true;            // href, src, action
    bool frameSource = false;          // also "framesource"
    bool caseSensitive = false;        // prefixes exact; attributes still found in lower or upper case
    bool encodedColon = false;         // "&#58;" stands for the colon of a prefix
    bool javascriptHref = false;       // take "javascript:" href values, "(" and ")" inside them
    bool cutFragment = true;           // drop "#..." from values
    bool binaryGuard = false;          // a control byte ends the reading
    bool repeatTest = true;            // drop a value equal to one of the last two
    std::size_t minLength = 5;         // besides the keyword's length plus 4
    std::string baseUrl;               // folder URL that relative values join to (ends in "/")
    std::string pageUrl;               // the page itself (query-only values join to it)
};

struct PageLinkHit
{
    std::string value;      // absolute, cleaned and trimmed
    PageKeyword keyword = PageKeyword::Prefix;
    std::size_t offset = 0; // where the keyword starts in the buffer
    std::size_t end = 0;    // just after the raw value
    bool quoted = false;
};

// Reads the links of `data[0, length)`: keywords may start only in the first `chunkLength` bytes
// unless `lastBuffer` (the rest is look-ahead so that a value starting in the chunk is read whole).
// Calls `onHit` for each value in order; its false ends the reading. Returns false when the binary
// guard fired. Pure byte code: callable from any thread.
// `start` is where the reading begins; `stoppedAt` (when given) receives where it ended.
bool ReadPageLinks(const CharTables& tables, const PageLinkConfig& config, const char* data, std::size_t length,
                   std::size_t chunkLength, bool lastBuffer, const std::function<bool(const PageLinkHit&)>& onHit,
                   std::size_t start = 0, std::size_t* stoppedAt = nullptr);

// Makes the attribute value `value` absolute against `baseUrl` (a folder URL) and `pageUrl`:
// "../" climbs at most three folders and never above the host, "./" and plain names join the
// folder, "/x" the host root, "//host/x" takes the base's scheme, "?q" the page without its query.
// Empty when the value cannot be joined (another scheme such as "data:", no base).
std::string JoinPageUrl(std::string_view baseUrl, std::string_view pageUrl, std::string_view value);

// The base folder of a page URL: cut after its last "/" when that stands behind the host, else
// the URL with "/" appended ("http://host" -> "http://host/").
std::string PageBaseFolder(std::string_view url);

} // namespace lt
