// SPDX-License-Identifier: GPL-3.0-or-later
#include "sources/netscape_profile.h"

#include "core/app_state.h"
#include "core/cp1252.h"
#include "platform/regular_file.h"
#include "platform/wine_profile.h"
#include "sources/windows_registry.h"

namespace lt {

namespace {

constexpr std::string_view kProfileLocation = "ProfileLocation";
constexpr std::size_t kTailBytes = 2048;
constexpr std::size_t kMaxFolder = 260;
constexpr std::uint64_t kMaxNsregBytes = 16u << 20;

} // namespace

std::string_view NsregTail(std::string_view file)
{
    if (file.size() > kTailBytes)
        return file.substr(file.size() - kTailBytes);
    return file.empty() ? file : file.substr(0, file.size() - 1);
}

std::string NsregProfileLocation(std::string_view tail)
{
    const std::size_t n = tail.size();
    for (std::size_t i = 0; i + kProfileLocation.size() + 4 < n; ++i) {
        if (!Cp1252EqualsNoCase(tail.substr(i, kProfileLocation.size()), kProfileLocation))
            continue;
        const std::size_t start = i + kProfileLocation.size() + 1;
        std::size_t end = start;
        while (end < n && end - start < kMaxFolder && tail[end] != '\0')
            ++end;
        return std::string(tail.substr(start, end - start));
    }
    return {};
}

std::string ProfilePath(const AppState& app, const std::string& path)
{
    if (path.size() >= 2 && path[1] == ':')
        return MapWindowsPath(ProfilePrefix(app), path);
    return path;
}

bool FindNetscapeProfile(const AppState& app, std::string& folder)
{
    folder.clear();
    const std::string prefix = ProfilePrefix(app);
    if (prefix.empty())
        return false;
    const std::string path = MapWindowsPath(prefix, "C:\\windows\\nsreg.dat");
    std::string bytes, error;
    if (path.empty() || !ReadRegularFile(path, kMaxNsregBytes, bytes, error) || bytes.empty())
        return false;
    const std::string location = NsregProfileLocation(NsregTail(bytes));
    if (location.empty())
        return false;
    folder = ProfilePath(app, location);
    while (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\'))
        folder.pop_back();
    return !folder.empty();
}

} // namespace lt
