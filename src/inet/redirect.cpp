// SPDX-License-Identifier: GPL-3.0-or-later
#include "inet/redirect.h"

#include "core/cp1252.h"

namespace lt {
namespace {

bool StartsNoCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (Cp1252Lower(static_cast<uint8_t>(text[i])) != Cp1252Lower(static_cast<uint8_t>(prefix[i])))
            return false;
    }
    return true;
}

bool HasOwnScheme(std::string_view target)
{
    return StartsNoCase(target, "http:") || StartsNoCase(target, "https:") || StartsNoCase(target, "ftp:");
}

} // namespace

int NormalizeStatus(long code)
{
    if (code == 307)
        return 302;
    if (code == 308)
        return 301;
    if (code < 100 || code > 505)
        return kStatusOutOfRange;
    return static_cast<int>(code);
}

std::string HostRoot(std::string_view url)
{
    const std::size_t slashes = url.find("//");
    if (slashes == std::string_view::npos || url.size() - slashes < 4)
        return {};
    const std::size_t path = url.find('/', slashes + 2);
    if (path == std::string_view::npos)
        return std::string(url) + "/";
    return std::string(url.substr(0, path + 1));
}

std::string TrimmedUrl(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

bool IsHttpUrl(std::string_view url)
{
    auto starts = [url](std::string_view prefix) {
        return url.size() >= prefix.size() && Cp1252EqualsNoCase(url.substr(0, prefix.size()), prefix);
    };
    return starts("http://") || starts("https://");
}

bool IsCleanUrlText(std::string_view text)
{
    for (const char ch : text) {
        const auto c = static_cast<uint8_t>(ch);
        if (c < 33 || c > 126 || c == '"' || c == '<' || c == '>')
            return false;
    }
    return true;
}

int ClassifyRedirect(int code, std::string_view url, std::string_view location, std::string& target)
{
    target.clear();
    // A server's Location may be padded; what stands around the text is not part of it.
    while (!location.empty() && (location.back() == ' ' || location.back() == '\t'))
        location.remove_suffix(1);
    while (!location.empty() && (location.front() == ' ' || location.front() == '\t'))
        location.remove_prefix(1);
    if (location.empty() || !IsCleanUrlText(location))
        return code;

    std::string absolute;
    if (HasOwnScheme(location)) {
        absolute = location;
    } else if (location.substr(0, 2) == "//") {
        const std::size_t colon = url.find(':');
        if (colon == std::string_view::npos)
            return 301;
        absolute = std::string(url.substr(0, colon + 1)) + std::string(location);
    } else {
        const std::string root = HostRoot(url);
        if (root.empty())
            return 301;
        if (location.front() == '/')
            location.remove_prefix(1);
        absolute = root + std::string(location);
    }
    // A cut target would request another URL: such a target is not taken. Nor is one whose scheme
    // or host part, taken from the request URL, holds bytes no URL may (a list cell can).
    if (absolute.size() > kMaxUrlLength || !IsCleanUrlText(absolute))
        return code;

    const std::size_t t = absolute.size();
    const std::size_t u = url.size();
    if ((t > u && StartsNoCase(absolute, url)) || (t + 1 == u && StartsNoCase(url, absolute))) {
        target = absolute;
        return kStatusRedirectInside;
    }
    if (t == u && StartsNoCase(absolute, url))
        return code;
    target = absolute;
    return kStatusRedirectElsewhere;
}

} // namespace lt
