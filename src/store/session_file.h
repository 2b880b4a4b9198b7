// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "store/ini_file.h"

namespace lt {

struct AppState;
class ResultList;

// What a session file holds besides its rows and search settings (section LTSfile).
struct SessionHeader
{
    std::string created;              // U1, the asctime form; empty when missing or "0"
    int columns = 0;                  // U2
    int statusColumn = -1;            // U3
    bool layoutChanged = false;       // U4
    std::vector<std::string> headers; // H0.. (as many as U2, at most 6, up to 63 characters)
    int sourceFiles = 2;              // U6: 1 for a list from a single file, else the number given
    int listKind = 0;                 // OPTIONS/R14, 0 when it names no list kind
};

// Modes of WriteList.
enum SessionWriteMode : int {
    kSessionAllRows = 0,
    kSessionSelectedRows = 1,
};

// "Wed Jun  5 09:03:01 2024": the C library's asctime form in local time with English names,
// whatever the locale.
std::string SessionTimeText(std::time_t when);

// The title line and settings part of a session (everything before "[ROWS]"), in write order.
std::string SessionSettingsPart(const AppState& app, const ResultList& list, std::time_t when);

// Writes the list as a session file, replacing `path` atomically. Returns the number of rows
// written; 0 (no file touched) when the list has no columns, more than six, or no (selected) rows;
// -1 when the file could not be written, `error` then says why and an old file is as it was.
long WriteList(const AppState& app, const ResultList& list, const std::string& path, int mode,
               std::string* error = nullptr, std::time_t when = std::time(nullptr));

// One row as read: the six cell texts in column order.
using SessionRow = std::array<std::string, 6>;

// Reads a session file: Open() reads the settings part (the bytes before the line that is
// exactly "[ROWS]") and checks that the file is a session; ReadRows() then streams the rows,
// never holding more than a block of the file in memory.
class SessionReader
{
public:
    SessionReader() = default;
    ~SessionReader();
    SessionReader(const SessionReader&) = delete;
    SessionReader& operator=(const SessionReader&) = delete;

    // False with `error` set when the file cannot be read or is not a session (U0 other than
    // "3", or, in a file without U0, no "[ROWS]" line).
    bool Open(const std::string& path, std::string& error);
    const IniFile& Settings() const { return m_settings; }
    SessionHeader Header() const;
    // Calls `onRow` for every row that has a non-empty cell, in file order, until it returns
    // false. Returns false with `error` set when reading failed.
    bool ReadRows(const std::function<bool(SessionRow&)>& onRow, std::string& error);
    void Close();

private:
    bool Fill(std::string& error); // reads the next block behind what is left; false on error
    int m_fd = -1;
    std::string m_path;
    IniFile m_settings;
    std::string m_buffer; // unread bytes from m_pos on
    std::size_t m_pos = 0;
    bool m_eof = false;
    uint64_t m_unread = 0; // what the file's size says is left to read
    bool m_hasRows = false;
};

// Parses a whole session held in memory (for the fuzz target and small files): the settings part
// and every row. False when the bytes are not a session.
bool ParseSessionBytes(const std::string& bytes, IniFile& settings, std::vector<SessionRow>& rows);

} // namespace lt
