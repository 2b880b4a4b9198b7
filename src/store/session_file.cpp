// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/session_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

#include "core/app_state.h"
#include "list/result_list.h"
#include "platform/regular_file.h"
#include "store/atomic_file.h"
#include "store/settings_io.h"

namespace lt {

namespace {

constexpr const char* kTitleLine = "[LinkTrawl Session file]\r\n";
constexpr std::string_view kRowsLine = "[ROWS]";
constexpr std::size_t kBlock = 1 << 20;
constexpr int kSessionColumns = 6;

// Values and cells never span lines: a CR or LF would read back as a forged key or cell.
std::string OneLine(std::string_view text, std::size_t maxLen = std::string::npos)
{
    std::string out(text.substr(0, std::min(maxLen, text.size())));
    std::replace_if(out.begin(), out.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return out;
}

// The section writer: a header, a key, a value; the next key or header ends the value's line.
void Header(std::string& out, std::string_view name)
{
    out += "\r\n\r\n[";
    out += name;
    out += "]\r\n";
}

void Key(std::string& out, std::string_view key, std::string_view value)
{
    out += "\r\n";
    out += key;
    out += '=';
    out += OneLine(value);
}

bool IsListKind(int kind)
{
    return kind >= kListFileSearch && kind <= kListParsedText && kind != 17;
}

std::string_view WithoutCr(std::string_view line)
{
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

// Gathers cell lines into rows: a "01" line starts a row, a line that is not "01".."06" is
// skipped on its own, a cell of 260 characters or more is dropped.
class RowCollector
{
public:
    explicit RowCollector(const std::function<bool(SessionRow&)>& onRow) : m_onRow(onRow) {}

    // False when the receiver asked to stop.
    bool Line(std::string_view line)
    {
        line = WithoutCr(line);
        if (line.size() < 2 || line[0] != '0' || line[1] < '1' || line[1] > '6')
            return true;
        const int column = line[1] - '1';
        if (column == 0 && !Flush())
            return false;
        const std::string_view text = line.substr(2);
        if (text.size() <= kMaxCellLength) {
            // A stray CR inside a line (a damaged file) must not reach a cell.
            std::string& cell = m_row[static_cast<std::size_t>(column)];
            cell.assign(text);
            std::replace(cell.begin(), cell.end(), '\r', ' ');
        }
        return true;
    }

    bool Flush()
    {
        bool goOn = true;
        const bool any = std::any_of(m_row.begin(), m_row.end(), [](const std::string& c) { return !c.empty(); });
        if (any)
            goOn = m_onRow(m_row);
        for (auto& cell : m_row)
            cell.clear();
        return goOn;
    }

private:
    const std::function<bool(SessionRow&)>& m_onRow;
    SessionRow m_row;
};

// Where the line exactly "[ROWS]" starts in `bytes`, or npos; `after` is set to the first byte
// behind its line end. `complete` says that no more bytes follow.
std::size_t FindRowsLine(std::string_view bytes, std::size_t& after, bool complete)
{
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t lf = bytes.find('\n', start);
        if (lf == std::string_view::npos && !complete)
            return std::string_view::npos;
        const std::size_t end = lf == std::string_view::npos ? bytes.size() : lf;
        if (WithoutCr(bytes.substr(start, end - start)) == kRowsLine) {
            after = lf == std::string_view::npos ? bytes.size() : lf + 1;
            return start;
        }
        start = end + 1;
    }
    return std::string_view::npos;
}

// A session: U0 "3", or, in an older file without U0, a "[ROWS]" line.
bool IsSession(const IniFile& settings, bool hasRows)
{
    if (!settings.HasKey(kSecLtsFile, "U0"))
        return hasRows;
    return settings.GetInt(kSecLtsFile, "U0", 0) == kFileTypeSession;
}

} // namespace

std::string SessionTimeText(std::time_t when)
{
    static constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::tm tm{};
    if (localtime_r(&when, &tm) == nullptr)
        return "0";
    char text[64];
    std::snprintf(text, sizeof text, "%s %s %2d %02d:%02d:%02d %04d", kDays[tm.tm_wday % 7],
                  kMonths[tm.tm_mon % 12], tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, tm.tm_year + 1900);
    return text;
}

std::string SessionSettingsPart(const AppState& app, const ResultList& list, std::time_t when)
{
    std::string out = kTitleLine;
    const int columns = std::min(list.ColumnCount(), kSessionColumns);
    const ListState& ls = app.listState;
    Header(out, kSecLtsFile);
    Key(out, "U0", "3");
    Key(out, "U1", SessionTimeText(when));
    Key(out, "U2", std::to_string(columns));
    Key(out, "U3", std::to_string(ls.statusColumn));
    Key(out, "U4", ls.layoutChanged ? "1" : "0");
    for (int c = 0; c < columns; ++c)
        Key(out, "H" + std::to_string(c), OneLine(list.GetHeaderText(c), kMaxHeaderLength));
    Key(out, "U6", std::to_string(ls.sourceFiles));
    const char* section = nullptr;
    for (const SettingsEntry& e : SessionSettingsEntries(app)) {
        if (section == nullptr || std::strcmp(section, e.section) != 0) {
            section = e.section;
            Header(out, section);
        }
        Key(out, e.key, e.value);
    }
    return out;
}

long WriteList(const AppState& app, const ResultList& list, const std::string& path, int mode, std::string* error,
               std::time_t when)
{
    auto fail = [&](const std::string& text) {
        if (error != nullptr)
            *error = text;
        return -1L;
    };
    const int columns = list.ColumnCount();
    if (columns < 1 || columns > kSessionColumns)
        return 0;
    const bool selectedOnly = mode == kSessionSelectedRows;
    const std::size_t wanted = selectedOnly ? list.SelectedRows().size() : list.RowCount();
    if (wanted == 0)
        return 0;

    AtomicFile file;
    if (!file.Open(path))
        return fail(file.Error());
    std::string out = SessionSettingsPart(app, list, when);
    out += "\r\n\r\n[ROWS]\r\n";
    file.Write(out);

    long written = 0;
    std::string line;
    list.ForEachRowFrom(0, [&](std::size_t, const ResultRow& row) {
        if (selectedOnly && !row.selected)
            return true;
        line.clear();
        for (int c = 0; c < columns; ++c) {
            const std::string& cell = row.Cell(c);
            // The "01" line always starts the row, so an empty first cell keeps its row.
            if (cell.empty() && c != 0)
                continue;
            line += '0';
            line += static_cast<char>('1' + c);
            line += OneLine(cell, kMaxCellLength);
            line += "\r\n";
        }
        ++written;
        return file.Write(line) && static_cast<std::size_t>(written) < wanted;
    });
    if (!file.Commit())
        return fail(file.Error());
    return written;
}

SessionReader::~SessionReader()
{
    Close();
}

void SessionReader::Close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

bool SessionReader::Fill(std::string& error)
{
    if (m_pos > 0) {
        m_buffer.erase(0, m_pos);
        m_pos = 0;
    }
    const std::size_t old = m_buffer.size();
    // A block no larger than what is left (and a byte more, to see the end): zero-filling a
    // whole block for a small file cost more than reading it. A file that grows goes on in
    // small reads.
    const std::size_t want = static_cast<std::size_t>(std::clamp<uint64_t>(m_unread + 1, 4096, kBlock));
    m_buffer.resize(old + want);
    ssize_t got;
    do {
        got = ::read(m_fd, m_buffer.data() + old, want);
    } while (got < 0 && errno == EINTR);
    if (got < 0) {
        m_buffer.resize(old);
        error = "Could not read " + m_path + ": " + std::strerror(errno);
        return false;
    }
    m_buffer.resize(old + static_cast<std::size_t>(got));
    m_unread -= std::min<uint64_t>(m_unread, static_cast<uint64_t>(got));
    m_eof = got == 0;
    return true;
}

bool SessionReader::Open(const std::string& path, std::string& error)
{
    Close();
    m_path = path;
    m_buffer.clear();
    m_pos = 0;
    m_eof = false;
    m_hasRows = false;
    m_fd = OpenRegularFile(path, error);
    if (m_fd < 0)
        return false;
    struct stat st
    {
    };
    m_unread = ::fstat(m_fd, &st) == 0 ? static_cast<uint64_t>(st.st_size) : kBlock;
    // The settings part is small (its values are capped); a file whose "[ROWS]" line is not
    // within the INI reader's limit is not a session.
    std::size_t rowsAt = std::string::npos, after = 0;
    while (true) {
        rowsAt = FindRowsLine(m_buffer, after, m_eof);
        if (rowsAt != std::string::npos || m_eof || m_buffer.size() > IniFile::kMaxBytes)
            break;
        if (!Fill(error)) {
            Close();
            return false;
        }
    }
    m_hasRows = rowsAt != std::string::npos;
    const std::size_t settingsEnd = m_hasRows ? rowsAt : m_buffer.size();
    if (!m_settings.LoadBytes(std::string_view(m_buffer).substr(0, settingsEnd)) ||
        !IsSession(m_settings, m_hasRows)) {
        Close();
        error = path + " is not a session file";
        return false;
    }
    m_pos = m_hasRows ? after : m_buffer.size();
    if (!m_hasRows)
        Close();
    return true;
}

SessionHeader SessionReader::Header() const
{
    SessionHeader h;
    const IniFile& ini = m_settings;
    h.created = ini.GetString(kSecLtsFile, "U1", "0", 259);
    if (const std::size_t eol = h.created.find_first_of("\r\n"); eol != std::string::npos)
        h.created.resize(eol);
    if (h.created == "0")
        h.created.clear();
    h.columns = std::clamp(ini.GetInt(kSecLtsFile, "U2", 0), 0, kMaxColumns);
    h.statusColumn = ini.GetInt(kSecLtsFile, "U3", -1);
    h.layoutChanged = ini.GetInt(kSecLtsFile, "U4", 0) != 0;
    for (int c = 0; c < std::min(h.columns, kSessionColumns); ++c)
        h.headers.push_back(ini.GetString(kSecLtsFile, "H" + std::to_string(c), "", kMaxHeaderLength));
    h.sourceFiles = ini.GetInt(kSecLtsFile, "U6", 2);
    const int kind = ini.GetInt(kSecOptions, "R14", 0);
    h.listKind = IsListKind(kind) ? kind : kListFileSearch;
    return h;
}

bool SessionReader::ReadRows(const std::function<bool(SessionRow&)>& onRow, std::string& error)
{
    RowCollector rows(onRow);
    if (!m_hasRows)
        return true;
    bool goOn = true;
    while (goOn) {
        const std::size_t lf = m_buffer.find('\n', m_pos);
        if (lf == std::string::npos) {
            if (m_eof) {
                if (m_pos < m_buffer.size())
                    goOn = rows.Line(std::string_view(m_buffer).substr(m_pos));
                m_pos = m_buffer.size();
                break;
            }
            if (!Fill(error)) {
                Close();
                return false;
            }
            continue;
        }
        goOn = rows.Line(std::string_view(m_buffer).substr(m_pos, lf - m_pos));
        m_pos = lf + 1;
    }
    if (goOn)
        rows.Flush();
    Close();
    return true;
}

bool ParseSessionBytes(const std::string& bytes, IniFile& settings, std::vector<SessionRow>& rows)
{
    std::size_t after = 0;
    const std::size_t rowsAt = FindRowsLine(bytes, after, true);
    const bool hasRows = rowsAt != std::string::npos;
    if (!settings.LoadBytes(std::string_view(bytes).substr(0, hasRows ? rowsAt : bytes.size())) ||
        !IsSession(settings, hasRows))
        return false;
    if (!hasRows)
        return true;
    const std::function<bool(SessionRow&)> add = [&](SessionRow& row) {
        rows.push_back(row);
        return true;
    };
    RowCollector collector(add);
    std::string_view rest = std::string_view(bytes).substr(after);
    while (!rest.empty()) {
        const std::size_t lf = rest.find('\n');
        collector.Line(rest.substr(0, lf));
        rest = lf == std::string_view::npos ? std::string_view() : rest.substr(lf + 1);
    }
    collector.Flush();
    return true;
}

} // namespace lt
