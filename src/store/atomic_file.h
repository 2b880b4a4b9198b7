// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lt {

// A file replaced as a whole, written piece by piece: the bytes go to a new file beside the target
// (created exclusively), and only Commit() flushes it to disk and renames it over the target. Until
// then, and after any failure, the old file is untouched; a writer destroyed without a successful
// Commit() removes its temporary file. An existing target keeps its owner, group and permission
// bits; one whose mode says read-only is refused; a symbolic link keeps pointing at the file it
// names, which is the one replaced; a hard-linked file is overwritten from the complete new file,
// so that every name keeps seeing it.
//
// Writes are buffered; the first failure is kept and every later call returns false at once, so a
// caller may check only Commit(). Used by sessions, settings and job files, exports and every other
// file the program replaces. Not thread-safe: one writer per thread.
class AtomicFile
{
public:
    AtomicFile() = default;
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Creates the temporary file beside `path`. False with Error() set when it cannot.
    bool Open(const std::string& path);
    bool Write(std::string_view bytes);
    bool Write(char c) { return Write(std::string_view(&c, 1)); }
    // Flushes, syncs and renames over the target. False with Error() set on any failure, in which
    // case the temporary file is gone and the target is as it was.
    bool Commit();
    // Gives up: removes the temporary file and leaves the target as it was.
    void Abort();

    bool IsOpen() const { return m_fd >= 0; }
    bool Failed() const { return !m_error.empty(); }
    // What failed, naming the target ("Could not write /x/y: No space left on device").
    const std::string& Error() const { return m_error; }
    std::size_t BytesWritten() const { return m_written; }

private:
    bool Flush();
    bool CopyOverTarget();
    bool Fail(const char* what, int err);

    std::string m_path;   // as given
    std::string m_target; // the file renamed over (a link resolved)
    std::string m_temp;
    std::string m_folder;
    std::string m_error;
    std::string m_buffer;
    std::size_t m_written = 0;
    int m_fd = -1;
    bool m_inPlace = false; // a hard-linked target
};

} // namespace lt
