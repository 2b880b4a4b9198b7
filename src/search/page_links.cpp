// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/page_links.h"

#include <algorithm>

#include <strings.h>

#include "search/char_tables.h"
#include "search/entities.h"

namespace lt {
namespace {

constexpr std::size_t kMaxValue = 258;

bool IsBlank(unsigned char c) { return c == ' ' || c == '\r' || c == '\n' || c == '\t'; }

bool StartsNoCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && strncasecmp(text.data(), prefix.data(), prefix.size()) == 0;
}

// "name:" before any "/", "?" or "#": a scheme of its own.
std::string_view SchemeOf(std::string_view value)
{
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == ':')
            return i > 0 ? value.substr(0, i) : std::string_view{};
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (i > 0 && ((c >= '0' && c <= '9') ||
                                                                                       c == '+' || c == '-' || c == '.'));
        if (!ok)
            return {};
    }
    return {};
}

std::size_t HostEnd(std::string_view url)
{
    const std::size_t slashes = url.find("//");
    if (slashes == std::string_view::npos)
        return std::string_view::npos;
    return url.find('/', slashes + 2);
}

struct Keyword
{
    std::string text;
    PageKeyword kind;
};

class Reader
{
public:
    Reader(const CharTables& tables, const PageLinkConfig& config, const char* data, std::size_t n)
        : t(tables), c(config), d(reinterpret_cast<const unsigned char*>(data)), n(n)
    {
        for (const std::string& p : config.prefixes)
            if (!p.empty())
                keywords.push_back({p, PageKeyword::Prefix});
        if (config.attributes) {
            keywords.push_back({"href", PageKeyword::Href});
            keywords.push_back({"src", PageKeyword::Src});
            keywords.push_back({"action", PageKeyword::Action});
            if (config.frameSource)
                keywords.push_back({"framesource", PageKeyword::FrameSource});
        }
        for (const Keyword& k : keywords) {
            const auto first = static_cast<unsigned char>(k.text[0]);
            starts[first] = 1;
            if (k.kind != PageKeyword::Prefix || !config.caseSensitive) {
                starts[static_cast<unsigned char>(first & ~0x20)] = 1;
                starts[static_cast<unsigned char>(first | 0x20)] = 1;
            }
        }
    }

    bool Run(std::size_t p, std::size_t limit, const std::function<bool(const PageLinkHit&)>& onHit,
             std::size_t& stopped)
    {
        stopped = p;
        while (p < limit && p < n) {
            const unsigned char b = d[p];
            if (c.binaryGuard && b < 32 && b != '\r' && b != '\n' && b != '\t' && b != 21 && b != 27 && b != 0) {
                stopped = p;
                return false;
            }
            if (!starts[b]) {
                ++p;
                continue;
            }
            std::size_t next = p + 1;
            for (const Keyword& k : keywords) {
                PageLinkHit hit;
                std::size_t resume = 0;
                if (Try(k, p, hit, resume)) {
                    next = resume;
                    if (!hit.value.empty() && !onHit(hit)) {
                        stopped = resume;
                        return true;
                    }
                    break;
                }
            }
            p = next;
        }
        stopped = p;
        return true;
    }

private:
    bool Same(unsigned char b, char k, bool attribute) const
    {
        const auto kc = static_cast<unsigned char>(k);
        if (attribute)
            return c.caseSensitive ? (b == kc || b == (kc & ~0x20)) : t.caseFoldMap[b] == kc;
        return c.caseSensitive ? b == kc : t.caseFoldMap[b] == kc;
    }

    // Matches keyword `k` at `p`; `q` receives the position after its last character.
    bool MatchKeyword(const Keyword& k, std::size_t p, std::size_t& q) const
    {
        const bool attribute = k.kind != PageKeyword::Prefix;
        std::size_t j = p;
        for (std::size_t i = 0; i < k.text.size(); ++i) {
            if (attribute && i > 0)
                while (j < n && (d[j] == ' ' || d[j] == '\r' || d[j] == '\n'))
                    ++j;
            if (j >= n)
                return false;
            // "http&#58;//" in pages that hide their addresses.
            if (!attribute && c.encodedColon && k.text[i] == ':' && j + 5 <= n &&
                std::string_view(reinterpret_cast<const char*>(d + j), 5) == "&#58;") {
                j += 5;
                continue;
            }
            if (!Same(d[j], k.text[i], attribute))
                return false;
            ++j;
        }
        q = j;
        return true;
    }

    bool Try(const Keyword& k, std::size_t p, PageLinkHit& hit, std::size_t& resume)
    {
        std::size_t q = 0;
        if (!MatchKeyword(k, p, q))
            return false;
        std::size_t v = q;
        bool quoted = false;
        switch (k.kind) {
        case PageKeyword::Prefix:
            v = p;
            break;
        case PageKeyword::Href: {
            int equals = 0;
            std::size_t j = q;
            while (j < q + 8 && j < n && (IsBlank(d[j]) || d[j] == '=')) {
                equals += d[j] == '=';
                ++j;
            }
            if (equals != 1)
                return false;
            v = j;
            if (v >= n)
                return false;
            quoted = d[v] == '"' || (IsBlank(d[v]) && v + 1 < n && d[v + 1] == '"');
            if (d[v] == '"') {
                if (v + 1 >= n || d[v + 1] != '\'')
                    ++v;
            } else if (d[v] == '\'') {
                if (v + 1 >= n || d[v + 1] != '"')
                    ++v;
            } else if (d[v] == '\\') {
                ++v;
                if (v < n && d[v] == '\'')
                    ++v;
            }
            const std::string_view rest(reinterpret_cast<const char*>(d + v), std::min<std::size_t>(n - v, 11));
            if (StartsNoCase(rest, "#") || StartsNoCase(rest, "mailto") || StartsNoCase(rest, "news:"))
                return false;
            if (StartsNoCase(rest, "javascript:") && !c.javascriptHref)
                return false;
            break;
        }
        case PageKeyword::Src:
        case PageKeyword::FrameSource: {
            int others = 0;
            bool found = false;
            for (std::size_t j = q; j < q + 6 && j < n; ++j) {
                const unsigned char b = d[j];
                if (IsBlank(b))
                    continue;
                if (b == '"' || b == '\'') {
                    const bool doubled = j + 1 < n && (d[j + 1] == '"' || d[j + 1] == '\'');
                    if (others == 1 && !doubled) {
                        v = j + 1;
                        found = true;
                        quoted = b == '"';
                    }
                    break;
                }
                if (b != '=' || ++others > 1)
                    break;
            }
            if (!found)
                return false;
            break;
        }
        case PageKeyword::Action: {
            std::size_t j = q;
            while (j < q + 8 && j < n && IsBlank(d[j]))
                ++j;
            if (j >= n || d[j] != '=')
                return false;
            ++j;
            while (j < q + 8 && j < n && IsBlank(d[j]))
                ++j;
            if (j >= n)
                return false;
            if (d[j] == '"' || d[j] == '\'') {
                if (j + 1 < n && (d[j + 1] == '"' || d[j + 1] == '\''))
                    return false;
                quoted = d[j] == '"';
                v = j + 1;
            } else {
                v = j;
            }
            break;
        }
        }

        // The value: URL bytes up to the first other byte (or the closing single quote).
        const bool singleQuoted = v > 0 && d[v - 1] == '\'';
        const bool jsParens = c.javascriptHref && k.kind == PageKeyword::Href &&
                              StartsNoCase(std::string_view(reinterpret_cast<const char*>(d + v), n - v), "javascript:");
        std::string value;
        std::size_t j = v;
        while (j < n && value.size() < kMaxValue) {
            const unsigned char b = d[j];
            if (b == '\r' || b == '\n') {
                // A quoted value may be wrapped; an unquoted one ends at the line's end.
                if (!quoted)
                    break;
                ++j;
                continue;
            }
            if (quoted && b == ' ') {
                if (value.size() + 3 > kMaxValue)
                    break;
                value += "%20";
                ++j;
                continue;
            }
            if (singleQuoted && b == '\'')
                break;
            if (!t.printableUrlChars[b] && !(jsParens && (b == '(' || b == ')')))
                break;
            value += static_cast<char>(b);
            ++j;
        }
        resume = std::max(j, p + 1);
        hit.offset = p;
        hit.end = j;
        hit.keyword = k.kind;
        hit.quoted = quoted;
        Finish(k, std::move(value), hit);
        return true;
    }

    void Finish(const Keyword& k, std::string value, PageLinkHit& hit)
    {
        if (c.encodedColon && k.kind == PageKeyword::Prefix)
            DecodeNumericRefs(value);
        const bool script = StartsNoCase(value, "javascript:");
        if (script && !(c.javascriptHref && k.kind == PageKeyword::Href))
            return;
        if (k.kind != PageKeyword::Prefix && !value.empty() && !StartsNoCase(value, "http") &&
            !StartsNoCase(value, "ftp:") && !script) {
            value = JoinPageUrl(c.baseUrl, c.pageUrl, value);
        } else if (k.kind != PageKeyword::Prefix && StartsNoCase(value, "http")) {
            // "httpdocs/x.htm" is a path, not an address.
            const std::string_view scheme = SchemeOf(value);
            if (scheme.empty())
                value = JoinPageUrl(c.baseUrl, c.pageUrl, value);
        }
        if (c.cutFragment) {
            const std::size_t hash = value.find('#');
            if (hash != std::string::npos)
                value.erase(hash);
        }
        const std::size_t need = std::max(c.minLength, k.text.size() + 4);
        if (value.size() < need)
            return;
        CleanUrl(value, 0);
        while (!value.empty()) {
            const auto last = static_cast<unsigned char>(value.back());
            const bool cut = (last == ']' && value.find('[') == std::string::npos) ||
                             (last == '}' && value.find('{') == std::string::npos) || t.tailTrimMap[last] == 0;
            if (!cut)
                break;
            value.pop_back();
        }
        if (value.size() < need)
            return;
        if (c.repeatTest) {
            for (const std::string& seen : recent) {
                if (seen.size() == value.size() && strncasecmp(seen.data(), value.data(), value.size()) == 0)
                    return;
            }
            recent[1] = std::move(recent[0]);
            recent[0] = value;
        }
        hit.value = std::move(value);
    }

    const CharTables& t;
    const PageLinkConfig& c;
    const unsigned char* d;
    std::size_t n;
    std::vector<Keyword> keywords;
    unsigned char starts[256] = {};
    std::string recent[2];
};

} // namespace

std::string PageBaseFolder(std::string_view url)
{
    const std::size_t hostEnd = HostEnd(url);
    if (hostEnd == std::string_view::npos)
        return std::string(url) + "/";
    const std::size_t query = url.find_first_of("?#", hostEnd);
    const std::string_view path = url.substr(0, query);
    return std::string(path.substr(0, path.rfind('/') + 1));
}

std::string JoinPageUrl(std::string_view baseUrl, std::string_view pageUrl, std::string_view value)
{
    if (baseUrl.empty() || value.empty())
        return {};
    if (value.substr(0, 2) == "//") {
        const std::size_t colon = baseUrl.find(':');
        if (colon == std::string_view::npos)
            return {};
        return std::string(baseUrl.substr(0, colon + 1)) + std::string(value);
    }
    const std::string_view scheme = SchemeOf(value);
    if (!scheme.empty()) {
        if (StartsNoCase(scheme, "http") || StartsNoCase(scheme, "ftp"))
            return std::string(value);
        return {};
    }
    if (value.front() == '?') {
        std::string_view page = pageUrl.empty() ? baseUrl : pageUrl;
        page = page.substr(0, page.find_first_of("?#"));
        return std::string(page) + std::string(value);
    }
    std::string w(baseUrl);
    const std::size_t hostEnd = HostEnd(w);
    const std::size_t rootLength = hostEnd == std::string::npos ? w.size() : hostEnd + 1;
    if (value.substr(0, 3) == "../") {
        for (int i = 0; i < 3 && value.substr(0, 3) == "../"; ++i) {
            // Never climb above the host: a value with more "../" than folders keeps the rest.
            if (w.size() <= rootLength)
                break;
            if (w.back() == '/')
                w.pop_back();
            w.erase(w.rfind('/') + 1);
            if (w.size() < rootLength)
                w.erase(rootLength);
            value.remove_prefix(3);
        }
    } else if (value.substr(0, 2) == "./") {
        w.erase(w.rfind('/') + 1);
        value.remove_prefix(2);
    } else if (value.front() == '/' && hostEnd != std::string::npos) {
        w.erase(hostEnd);
    }
    if (value.front() != '/') {
        if (w.empty() || w.back() != '/')
            w += '/';
    } else if (!w.empty() && w.back() == '/') {
        w.pop_back();
    }
    return w + std::string(value);
}

bool ReadPageLinks(const CharTables& tables, const PageLinkConfig& config, const char* data, std::size_t length,
                   std::size_t chunkLength, bool lastBuffer, const std::function<bool(const PageLinkHit&)>& onHit,
                   std::size_t start, std::size_t* stoppedAt)
{
    Reader reader(tables, config, data, length);
    std::size_t stopped = 0;
    const bool clean = reader.Run(start, lastBuffer ? length : std::min(chunkLength, length), onHit, stopped);
    if (stoppedAt)
        *stoppedAt = stopped;
    return clean;
}

} // namespace lt
