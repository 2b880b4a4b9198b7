// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <sys/types.h>

namespace lt {

// An output file of the list writers, written as bytes. Only regular files are written: a path
// that names a folder, a FIFO or a device is refused at Open. Writes are buffered; the first
// failing write (disk full, file size limit, I/O error) is remembered and Close reports it.
// An appended file whose write failed is cut back to its old length, so that it loses nothing.
class ExportFile
{
public:
    enum class Mode { Replace, Append };

    ExportFile() = default;
    ExportFile(const ExportFile&) = delete;
    ExportFile& operator=(const ExportFile&) = delete;
    ~ExportFile();

    // Opens (creating) the file; false when it cannot be opened or is not a regular file.
    bool Open(const std::string& path, Mode mode);
    void Write(std::string_view bytes);
    // Flushes and closes; true when every byte reached the file.
    bool Close();

    bool IsOpen() const { return m_fd >= 0; }
    bool Failed() const { return m_failed; }

private:
    void Flush();

    int m_fd = -1;
    bool m_failed = false;
    bool m_append = false;
    off_t m_oldSize = 0;
    std::string m_buffer;
};

// True when `path` names an existing regular file (through symbolic links).
bool RegularFileExists(const std::string& path);

} // namespace lt
