// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace lt {

// A moment as local calendar fields, comparable field by field with the folder dialog's dates.
struct LocalTime
{
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;

    // <0, 0 or >0, comparing year, month, day, hour, minute and second in that order.
    int Compare(const LocalTime& other) const;
};

// What the folder walk needs to know about one file.
struct FileFacts
{
    bool isRegular = false;
    bool isDirectory = false;
    bool isSymlink = false; // the entry itself is a symbolic link (only when not following)
    uint64_t size = 0;
    // Seconds since the epoch; 0 when the file system does not record the time.
    int64_t writeTime = 0;
    int64_t creationTime = 0; // birth time
    int64_t accessTime = 0;
};

// Reads the facts of `path` (relative to the open folder `dirFd`, or AT_FDCWD). With `follow` a
// symbolic link reports what it points to. False (errno set) when the entry cannot be examined,
// as for a dangling link or a link loop.
bool ReadFileFacts(int dirFd, const std::string& path, bool follow, FileFacts& facts);
bool ReadFileFacts(const std::string& path, FileFacts& facts);
// The facts of the file open as `fd`.
bool ReadOpenFileFacts(int fd, FileFacts& facts);

// The local calendar fields of a moment (seconds since the epoch), in the process's time zone.
LocalTime ToLocalTime(int64_t seconds);
// The current local time, moved by `offsetSeconds`.
LocalTime LocalNow(int64_t offsetSeconds = 0);

// The program's date text: "YYYY/MM/DD, HH:MM:SS"; empty for the time 0.
std::string FileDateText(int64_t seconds);
std::string LocalTimeText(const LocalTime& time);

} // namespace lt
