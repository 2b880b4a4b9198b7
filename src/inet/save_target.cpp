// SPDX-License-Identifier: GPL-3.0-or-later
#include "inet/save_target.h"

#include <cstdio>

#include <sys/stat.h>
#include <unistd.h>

namespace lt {

SaveTargetState CheckSaveTarget(const std::string& path)
{
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0)
        return SaveTargetState::Free;
    if (S_ISREG(st.st_mode) && ::access(path.c_str(), W_OK) != 0)
        return SaveTargetState::WriteProtected;
    return SaveTargetState::Exists;
}

std::string FreeSaveName(const std::string& path)
{
    if (CheckSaveTarget(path) == SaveTargetState::Free)
        return path;
    const std::size_t slash = path.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < nameStart || path.size() - dot >= 7)
        dot = path.size();
    const std::string base = path.substr(0, dot);
    const std::string extension = path.substr(dot);
    for (long n = 1; n <= 99999; ++n) {
        char number[16];
        std::snprintf(number, sizeof number, n <= 999 ? "_%03ld" : "%ld", n);
        std::string candidate = base + number + extension;
        if (CheckSaveTarget(candidate) == SaveTargetState::Free)
            return candidate;
    }
    return {};
}

std::string TargetDirectory(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return {};
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string WriteProtectedText(const std::string& path) { return path + "\r\nis write protected !"; }

std::string OverwriteQuestionText(const std::string& path)
{
    return path + "\r\nalready exists !  Overwrite file ?";
}

std::string CannotCreateFileText(const std::string& path) { return "Can not create/open file\r\n" + path + " !"; }

std::string CannotCreateDirectoryText(const std::string& path)
{
    return "Can not create/open directory\r\n" + path + " !";
}

} // namespace lt
