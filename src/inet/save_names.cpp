// SPDX-License-Identifier: GPL-3.0-or-later
#include "inet/save_names.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include "inet/redirect.h"

namespace lt {
namespace {

std::string JoinDir(std::string_view directory, std::string_view name)
{
    std::string path(directory);
    if (!path.empty() && path.back() != '/')
        path += '/';
    return path + std::string(name);
}

// The extension of a name: from its last "." (empty when there is none).
std::string_view ExtensionOf(std::string_view name)
{
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view{} : name.substr(dot);
}

bool EqualNoCase(std::string_view a, const char* b)
{
    return a.size() == std::strlen(b) && strncasecmp(a.data(), b, a.size()) == 0;
}

} // namespace

std::string MakeSaveName(std::string_view directory, std::string_view url, std::size_t maxName)
{
    if (directory.empty() || url.size() < 10)
        return {};
    std::string copy(url);
    for (const char* archive : {".exe", ".zip", ".rar"}) {
        const std::size_t at = copy.find(archive);
        if (at != std::string::npos && at > 8) {
            copy.erase(at + 4);
            break;
        }
    }
    // "http://host/dir/" is named after "dir".
    if (copy.size() > 1 && copy.back() == '/')
        copy.pop_back();
    std::size_t last = copy.rfind('/');
    if (last == std::string::npos)
        return {};
    std::string name = copy.substr(last + 1);
    if (const std::size_t www = name.find("www."); www != std::string::npos)
        name.erase(0, www + 4);

    std::size_t letters = 0;
    for (const char ch : name) {
        if (ch == '.')
            break;
        letters += static_cast<unsigned char>(ch) >= 'A';
    }
    if (letters < 5 && name.size() < 10) {
        // A short name takes its folder's name in front: "docs_a.htm".
        const std::size_t slashes = copy.find("//");
        const std::size_t hostEnd = slashes == std::string::npos ? std::string::npos : copy.find('/', slashes + 2);
        if (hostEnd != std::string::npos && last > hostEnd) {
            const std::size_t before = copy.rfind('/', last - 1);
            name = copy.substr(before + 1, last - before - 1) + "_" + name;
        }
    }
    if (const std::size_t file = name.find("file="); file != std::string::npos && name.size() - file > 10) {
        name.erase(0, file + 5);
        const std::size_t amp = name.find('&');
        if (amp != std::string::npos && amp > 4)
            name.erase(amp);
    }
    if (maxName > 0 && name.size() > maxName) {
        const std::string extension(ExtensionOf(name));
        name.erase(maxName);
        while (!name.empty() && name.back() == '.')
            name.pop_back();
        if (!extension.empty() && extension.size() < 6 && name.size() > extension.size())
            name.replace(name.size() - extension.size(), extension.size(), extension);
    }
    std::string clean;
    for (const char ch : name) {
        const auto c = static_cast<unsigned char>(ch);
        const bool bad = c < 32 || c == 127 || ch == '\\' || ch == '/' || ch == ':' || ch == '?' || ch == '*' ||
                         ch == '"' || ch == '<' || ch == '>' || ch == '|';
        const char out = bad ? ' ' : ch;
        if (out == ' ' && (clean.empty() || clean.back() == ' '))
            continue;
        clean += out;
    }
    // Names of only dots would name the folder itself or its parent.
    if (clean.empty() || clean.find_first_not_of('.') == std::string::npos)
        clean = "temp01.htm";

    std::string path = JoinDir(directory, clean);
    const std::string_view e = ExtensionOf(clean);
    if (e.empty()) {
        path += ".htm";
    } else if (e.size() == 2) {
    } else if (e.size() >= 4 && e.size() <= 7) {
        if (EqualNoCase(e, ".com") || EqualNoCase(e, ".org"))
            path.replace(path.size() - 4, 4, ".htm");
    } else if (e.size() >= 8) {
        if (path.size() > 252)
            path.erase(252);
        path += ".htm";
    } else if (!(EqualNoCase(e, ".js") || EqualNoCase(e, ".pl") || EqualNoCase(e, ".gz"))) {
        path += ".htm";
    }
    return path;
}

std::string NextEnumeratedName(std::string_view path, bool keep)
{
    const std::size_t slash = path.rfind('/');
    std::string_view extension = ExtensionOf(path.substr(slash == std::string_view::npos ? 0 : slash + 1));
    if (extension.size() >= 7)
        extension = {};
    std::string base(path.substr(0, path.size() - extension.size()));
    long number = 0;
    const std::size_t underscore = base.rfind('_');
    if (underscore != std::string::npos && (slash == std::string_view::npos || underscore > slash)) {
        const std::string digits = base.substr(underscore + 1);
        if (!digits.empty() && digits.find_first_not_of("0123456789") == std::string::npos) {
            number = std::strtol(digits.c_str(), nullptr, 10);
            base.erase(underscore);
        } else if (!keep && digits.empty()) {
            base.erase(underscore);
        }
    }
    const long next = number < 1 ? 1 : number + 1;
    char buffer[32];
    if (next <= 999)
        std::snprintf(buffer, sizeof buffer, "_%03ld", next);
    else if (next <= 99999)
        std::snprintf(buffer, sizeof buffer, "%ld", next);
    else
        return {};
    return base + buffer + std::string(extension);
}

int CreateSaveFile(std::string& path, bool rename)
{
    const int flags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
    int fd = ::open(path.c_str(), flags, 0644);
    if (fd >= 0 || errno != EEXIST || !rename)
        return fd;
    const std::size_t slash = path.rfind('/');
    std::string_view extension =
        ExtensionOf(std::string_view(path).substr(slash == std::string::npos ? 0 : slash + 1));
    if (extension.size() >= 7)
        extension = {};
    const std::string base = path.substr(0, path.size() - extension.size());
    const std::string ext(extension);
    for (long n = 1; n <= 99999; ++n) {
        char number[16];
        std::snprintf(number, sizeof number, n <= 999 ? "_%03ld" : "%ld", n);
        std::string candidate = base + number + ext;
        fd = ::open(candidate.c_str(), flags, 0644);
        if (fd >= 0) {
            path = std::move(candidate);
            return fd;
        }
        if (errno != EEXIST)
            return -1;
    }
    errno = EEXIST;
    return -1;
}

bool EnsureDirectory(const std::string& path, bool create)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0)
        return S_ISDIR(st.st_mode);
    if (!create || path.size() < 4)
        return false;
    if (::mkdir(path.c_str(), 0755) == 0)
        return true;
    const std::size_t slash = path.find_last_of('/', path.size() - 2);
    if (errno != ENOENT || slash == std::string::npos || slash <= 4)
        return false;
    const std::string parent = path.substr(0, slash);
    if (::mkdir(parent.c_str(), 0755) != 0 && errno != EEXIST)
        return false;
    return ::mkdir(path.c_str(), 0755) == 0;
}

std::string SavedPageHeader(std::string_view url)
{
    // A URL that could close the comment is left out of it.
    const std::string shown = IsCleanUrlText(url) ? std::string(url) : std::string("(address not shown)");
    return "<!-- Saved by LinkTrawl from: " + shown + " -->\r\n";
}

} // namespace lt
