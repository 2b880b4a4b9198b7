// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/parse_text.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <unistd.h>

#include "platform/regular_file.h"

namespace lt {
namespace {

constexpr std::size_t kHistoryLines = 6;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view text)
{
    std::size_t a = 0, b = text.size();
    while (a < b && IsBlank(text[a]))
        ++a;
    while (b > a && IsBlank(text[b - 1]))
        --b;
    return text.substr(a, b - a);
}

// Letters (with the Windows-1252 ones), digits, "_", "/", "%", "#" and every byte from 0x80 (so
// that UTF-8 text keeps its letters).
bool IsWordChar(unsigned char c)
{
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
        return true;
    if (c == '_' || c == '/' || c == '%' || c == '#')
        return true;
    return c >= 0x80 && c != 0xD7 && c != 0xF7;
}

// Word ends lose their punctuation; a closing bracket whose opener is in the cell stays.
void TrimWordEnd(std::string& cell)
{
    while (!cell.empty()) {
        const unsigned char c = static_cast<unsigned char>(cell.back());
        if (IsWordChar(c))
            return;
        if ((c == ']' && cell.find('[') != std::string::npos) || (c == '}' && cell.find('{') != std::string::npos))
            return;
        cell.pop_back();
    }
}

} // namespace

ParsePlan MakeParsePlan(const ParseSettings& s, bool folder)
{
    ParsePlan plan;
    plan.startLine = s.startLine;
    plan.endLine = s.endLine;
    bool anyMarker = false;
    for (int c = 0; c < 6; ++c) {
        plan.marker[c] = s.spaceMarker[c] ? std::string(" ") : s.startMarker[c];
        plan.entireLine[c] = s.entireLine[c];
        plan.used[c] = !plan.marker[c].empty() || plan.entireLine[c];
        anyMarker |= !plan.marker[c].empty();
    }
    int last = -1;
    for (int c = 0; c < 6; ++c)
        if (plan.used[c])
            last = c;
    if (!plan.used[0]) {
        // Word mode: the line is split into words, one a column, up to the last column set
        // (all six when only column A is left open).
        plan.mode = ParseMode::Word;
        plan.marker[0] = " ";
        if (last <= 0)
            last = 5;
        for (int c = 0; c <= last; ++c)
            plan.used[c] = true;
    } else if (!anyMarker) {
        plan.mode = ParseMode::Line;
    }
    plan.lastColumn = last;
    plan.anchorIndex = -1;
    for (int c = 0; c < 6; ++c) {
        if (!plan.used[c])
            continue;
        if (plan.anchorIndex < 0 && !plan.marker[c].empty())
            plan.anchorIndex = static_cast<int>(plan.order.size());
        plan.order.push_back(c);
    }
    if (plan.anchorIndex < 0)
        plan.anchorIndex = 0;
    if (!folder) {
        if (!plan.used[5])
            plan.lineColumn = 5;
    } else if (!plan.used[4] && !plan.used[5]) {
        plan.lineColumn = 4;
        plan.fileColumn = 5;
    } else if (!plan.used[5]) {
        plan.fileColumn = 5;
    }
    plan.keepOrder = plan.mode == ParseMode::Line || folder;
    return plan;
}

std::array<std::string, 6> ParseHeaders(const ParsePlan& plan)
{
    std::array<std::string, 6> headers{"A", "B", "C", "D", "E", "F"};
    if (plan.lineColumn >= 0)
        headers[plan.lineColumn] = "Line";
    if (plan.fileColumn >= 0)
        headers[plan.fileColumn] = "File";
    return headers;
}

ParseRecords::ParseRecords(const ParsePlan& plan, std::string filePath, ParseEmit emit)
    : m_plan(plan), m_path(std::move(filePath)), m_emit(std::move(emit)), m_next(plan.anchorIndex)
{
}

bool ParseRecords::Line(std::string_view line, long number)
{
    if (m_plan.startLine > 0 && number < m_plan.startLine)
        return true;
    if (m_plan.endLine > m_plan.startLine && number > m_plan.endLine)
        return false;
    if (line.size() > kParseLineLimit)
        line = line.substr(0, kParseLineLimit);
    if (m_plan.mode == ParseMode::Line) {
        TextLine(line, number);
        return true;
    }
    std::size_t lead = 0;
    while (lead < line.size() && IsBlank(line[lead]))
        ++lead;
    line.remove_prefix(lead);
    if (m_plan.mode == ParseMode::Word) {
        m_recordLine = number;
        WordLine(line);
        return true;
    }
    MarkerLine(line, number);
    if (m_plan.anchorIndex > 0) {
        m_history.emplace_back(line.substr(0, std::min(line.size(), kParseCellLimit)));
        if (m_history.size() > kHistoryLines)
            m_history.pop_front();
    }
    return true;
}

void ParseRecords::Append(int column, std::string_view text)
{
    text = TrimBlanks(text.substr(0, std::min(text.size(), kParseCellLimit)));
    if (text.empty())
        return;
    std::string& cell = m_cells[column];
    if (cell.size() >= kParseCellLimit)
        return;
    if (!cell.empty())
        cell.push_back(' ');
    cell.append(text.substr(0, std::min(text.size(), kParseCellLimit - std::min(cell.size(), kParseCellLimit))));
}

void ParseRecords::WordLine(std::string_view rest)
{
    for (int c = 0; c <= m_plan.lastColumn; ++c) {
        if (m_plan.entireLine[c]) {
            Append(c, rest);
            continue;
        }
        const std::string& marker = m_plan.marker[c];
        if (c > 0 && !marker.empty() && marker != " ") {
            const std::size_t at = rest.find(marker);
            if (at == std::string_view::npos)
                continue;
            rest.remove_prefix(at + marker.size());
            while (!rest.empty() && IsBlank(rest.front()))
                rest.remove_prefix(1);
        }
        std::size_t end = 0;
        while (end < rest.size() && !IsBlank(rest[end]))
            ++end;
        if (end > 0)
            Append(c, rest.substr(0, end));
        rest.remove_prefix(end);
        while (!rest.empty() && IsBlank(rest.front()))
            rest.remove_prefix(1);
    }
    bool any = false;
    for (int c = 0; c <= m_plan.lastColumn; ++c) {
        if (!m_plan.entireLine[c])
            TrimWordEnd(m_cells[c]);
        any |= !m_cells[c].empty();
    }
    if (any)
        Emit();
    else
        m_cells = {};
}

void ParseRecords::StartRecord(long number)
{
    m_started = true;
    m_recordLine = number;
    // Columns before an Entire-Line anchor take the lines before it, as far as there are any.
    const std::size_t before = static_cast<std::size_t>(m_plan.anchorIndex);
    const std::size_t have = std::min(before, m_history.size());
    for (std::size_t i = 0; i < have; ++i) {
        const std::size_t column = before - have + i;
        m_cells[m_plan.order[column]] = m_history[m_history.size() - have + i];
    }
    if (have > 0)
        m_recordLine = number - static_cast<long>(have);
}

void ParseRecords::MarkerLine(std::string_view line, long number)
{
    const std::vector<int>& order = m_plan.order;
    std::size_t pos = 0;
    for (int segments = 0; segments < kParseSegmentLimit; ++segments) {
        const int column = order[m_next];
        const std::string& marker = m_plan.marker[column];
        if (marker.empty()) {
            // An Entire-Line column without a marker takes the next whole line.
            if (pos > 0)
                return;
            if (!m_started)
                return;
            m_cells[column] = std::string(line.substr(0, std::min(line.size(), kParseCellLimit)));
            pos = line.size();
        } else {
            const std::size_t at = line.find(marker, pos);
            if (at == std::string_view::npos) {
                // A value that runs over several lines.
                if (pos == 0 && m_started && m_next > static_cast<std::size_t>(m_plan.anchorIndex))
                    Append(order[m_next - 1], line);
                return;
            }
            if (!m_started)
                StartRecord(number);
            if (m_plan.entireLine[column]) {
                m_cells[column] = std::string(line.substr(0, std::min(line.size(), kParseCellLimit)));
                pos = line.size();
            } else {
                const std::size_t start = at + marker.size();
                // The value ends where the next column's marker starts; after the last column
                // that is the anchor's marker, so that a line may hold several records.
                std::size_t end = line.size();
                const int following = m_next + 1 < order.size() ? order[m_next + 1] : order[m_plan.anchorIndex];
                const std::string& next = m_plan.marker[following];
                if (!next.empty()) {
                    const std::size_t found = line.find(next, start);
                    if (found != std::string_view::npos)
                        end = found;
                }
                Append(column, line.substr(start, end - start));
                pos = end;
            }
        }
        if (column == m_plan.lastColumn) {
            Emit();
            m_next = static_cast<std::size_t>(m_plan.anchorIndex);
        } else {
            ++m_next;
        }
    }
}

void ParseRecords::TextLine(std::string_view line, long number)
{
    if (!m_started) {
        m_started = true;
        m_recordLine = number;
    }
    const int column = m_plan.order[m_next];
    m_cells[column] = std::string(line.substr(0, std::min(line.size(), kParseCellLimit)));
    if (column == m_plan.lastColumn) {
        Emit();
        m_next = 0;
    } else {
        ++m_next;
    }
}

void ParseRecords::Emit()
{
    if (m_plan.lineColumn >= 0)
        m_cells[m_plan.lineColumn] = std::to_string(m_recordLine);
    if (m_plan.fileColumn >= 0)
        m_cells[m_plan.fileColumn] = m_path;
    m_emit(m_cells);
    ++m_rows;
    m_cells = {};
    m_started = false;
}

void ParseRecords::Finish()
{
    bool any = false;
    for (int c = 0; c < 6; ++c)
        any |= c != m_plan.lineColumn && c != m_plan.fileColumn && !m_cells[c].empty();
    if (any && m_started)
        Emit();
    m_cells = {};
    m_started = false;
    m_next = static_cast<std::size_t>(m_plan.anchorIndex);
}

namespace {

// Splits a stream of bytes into lines: CR, LF and CRLF end a line; a line longer than the limit
// is cut and the rest skipped up to its end, so that it stays one line.
class LineSplitter
{
public:
    explicit LineSplitter(ParseRecords& records) : m_records(records) {}

    // False once the records want no more lines.
    bool Feed(std::string_view bytes)
    {
        std::size_t i = 0;
        while (i < bytes.size() && m_going) {
            if (m_afterCr) {
                m_afterCr = false;
                if (bytes[i] == '\n') {
                    ++i;
                    continue;
                }
            }
            std::size_t end = i;
            while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r')
                ++end;
            const std::string_view piece = bytes.substr(i, end - i);
            if (end == bytes.size()) {
                Keep(piece);
                return m_going;
            }
            if (m_partial.empty() && !m_skipping) {
                EndLine(piece);
            } else {
                Keep(piece);
                EndLine(m_partial);
            }
            m_afterCr = bytes[end] == '\r';
            i = end + 1;
        }
        return m_going;
    }
    void Finish()
    {
        if (m_going && (!m_partial.empty() || m_skipping))
            EndLine(m_partial);
    }

private:
    void Keep(std::string_view piece)
    {
        if (m_skipping)
            return;
        const std::size_t room = kParseLineLimit - std::min(m_partial.size(), kParseLineLimit);
        m_partial.append(piece.substr(0, std::min(piece.size(), room)));
        if (piece.size() > room)
            m_skipping = true;
    }
    void EndLine(std::string_view line)
    {
        if (line.size() > kParseLineLimit)
            line = line.substr(0, kParseLineLimit);
        m_going = m_records.Line(line, ++m_number);
        m_partial.clear();
        m_skipping = false;
    }

    ParseRecords& m_records;
    std::string m_partial;
    bool m_skipping = false;
    bool m_afterCr = false;
    bool m_going = true;
    long m_number = 0;
};

} // namespace

long ParseBytes(const ParsePlan& plan, std::string_view bytes, const std::string& filePath, const ParseEmit& emit,
                const std::function<bool()>& stop)
{
    ParseRecords records(plan, filePath, emit);
    LineSplitter lines(records);
    constexpr std::size_t kStep = 1 << 16;
    for (std::size_t at = 0; at < bytes.size(); at += kStep) {
        if (stop && stop())
            return records.Rows();
        if (!lines.Feed(bytes.substr(at, std::min(kStep, bytes.size() - at))))
            break;
    }
    lines.Finish();
    records.Finish();
    return records.Rows();
}

long ParseFileInto(const ParsePlan& plan, const std::string& path, const ParseEmit& emit,
                   const std::function<bool()>& stop)
{
    std::string error;
    const int fd = OpenRegularFile(path, error);
    if (fd < 0)
        return 0;
    ParseRecords records(plan, path, emit);
    LineSplitter lines(records);
    std::vector<char> buffer(1 << 20);
    for (;;) {
        if (stop && stop())
            break;
        const ssize_t got = ::read(fd, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        if (!lines.Feed(std::string_view(buffer.data(), static_cast<std::size_t>(got))))
            break;
    }
    ::close(fd);
    lines.Finish();
    records.Finish();
    return records.Rows();
}

std::vector<std::string> ParseFolderFiles(const std::string& folder)
{
    namespace fs = std::filesystem;
    std::vector<std::string> files;
    std::error_code ec;
    fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec);
    for (const fs::recursive_directory_iterator end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (it->is_regular_file(typeError) && !it->is_symlink(typeError))
            files.push_back(it->path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace lt
