// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "store/atomic_file.h"

namespace lt {

// An output file of the list writers, written as bytes and replaced as a whole: the new contents go
// to a file beside the target, and only a Close() after every byte was written renames it over the
// old file. A full disk, a size limit or a signal half way leaves the old file whole, and two runs
// saving to one path leave one run's complete file, never a mix. Appending copies the old contents
// first, so a failed append loses nothing either. Only regular files are written: a path that names
// a folder, a FIFO or a device is refused at Open. A file destroyed without Close() is not written.
class ExportFile
{
public:
    enum class Mode { Replace, Append };

    ExportFile() = default;
    ExportFile(const ExportFile&) = delete;
    ExportFile& operator=(const ExportFile&) = delete;

    // Starts the new file (with the old contents when appending); false when the target is not a
    // regular file or its folder takes no new file.
    bool Open(const std::string& path, Mode mode);
    void Write(std::string_view bytes) { m_file.Write(bytes); }
    // Syncs the new file and puts it in place; true when every byte reached it.
    bool Close() { return m_file.IsOpen() && m_file.Commit(); }

    bool IsOpen() const { return m_file.IsOpen(); }
    bool Failed() const { return m_file.Failed(); }

private:
    AtomicFile m_file;
};

// True when `path` names an existing regular file (through symbolic links).
bool RegularFileExists(const std::string& path);

} // namespace lt
