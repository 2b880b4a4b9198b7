// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/file_info.h"

#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>

namespace lt {

int LocalTime::Compare(const LocalTime& other) const
{
    const int mine[6] = {year, month, day, hour, minute, second};
    const int theirs[6] = {other.year, other.month, other.day, other.hour, other.minute, other.second};
    for (int i = 0; i < 6; ++i)
        if (mine[i] != theirs[i])
            return mine[i] < theirs[i] ? -1 : 1;
    return 0;
}

namespace {

bool ReadFileFactsAt(int dirFd, const std::string& path, int extraFlags, FileFacts& facts)
{
    facts = FileFacts{};
    struct statx sx
    {
    };
    const int flags = AT_STATX_SYNC_AS_STAT | extraFlags;
    if (statx(dirFd, path.c_str(), flags, STATX_BASIC_STATS | STATX_BTIME, &sx) != 0)
        return false;
    facts.isRegular = S_ISREG(sx.stx_mode);
    facts.isDirectory = S_ISDIR(sx.stx_mode);
    facts.isSymlink = S_ISLNK(sx.stx_mode);
    facts.size = sx.stx_size;
    facts.writeTime = sx.stx_mtime.tv_sec;
    facts.accessTime = sx.stx_atime.tv_sec;
    facts.creationTime = (sx.stx_mask & STATX_BTIME) ? sx.stx_btime.tv_sec : 0;
    return true;
}

} // namespace

bool ReadFileFacts(int dirFd, const std::string& path, bool follow, FileFacts& facts)
{
    return ReadFileFactsAt(dirFd, path, follow ? 0 : AT_SYMLINK_NOFOLLOW, facts);
}

bool ReadFileFacts(const std::string& path, FileFacts& facts)
{
    return ReadFileFacts(AT_FDCWD, path, true, facts);
}

bool ReadOpenFileFacts(int fd, FileFacts& facts)
{
    static const std::string kNoPath;
    return ReadFileFactsAt(fd, kNoPath, AT_EMPTY_PATH, facts);
}

LocalTime ToLocalTime(int64_t seconds)
{
    const time_t t = static_cast<time_t>(seconds);
    struct tm parts
    {
    };
    localtime_r(&t, &parts);
    return LocalTime{parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
                     parts.tm_hour,        parts.tm_min,     parts.tm_sec};
}

LocalTime LocalNow(int64_t offsetSeconds)
{
    return ToLocalTime(static_cast<int64_t>(time(nullptr)) + offsetSeconds);
}

std::string LocalTimeText(const LocalTime& time)
{
    char text[64];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d, %02d:%02d:%02d", time.year, time.month, time.day,
                  time.hour, time.minute, time.second);
    return text;
}

std::string FileDateText(int64_t seconds)
{
    if (seconds == 0)
        return {};
    return LocalTimeText(ToLocalTime(seconds));
}

} // namespace lt
