// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "list/parse_settings.h"

namespace lt {

inline constexpr std::size_t kParseLineLimit = 38000;  // longer lines are cut (the rest skipped)
inline constexpr int kParseSegmentLimit = 2048;        // segments taken from one line
inline constexpr std::size_t kParseCellLimit = 260;    // text taken per segment

enum class ParseMode { Marker, Word, Line };

// The settings prepared for parsing.
struct ParsePlan
{
    ParseMode mode = ParseMode::Marker;
    std::array<std::string, 6> marker;  // empty: none (a blank for "Space")
    std::array<bool, 6> entireLine{};
    std::array<bool, 6> used{};         // the column takes text from the file
    std::vector<int> order;             // used columns in order (marker and line modes)
    int anchorIndex = 0;                // index in `order` of the first column with a marker
    int lastColumn = 0;                 // the last used column
    int lineColumn = -1;                // "Line": the record's first line number
    int fileColumn = -1;                // "File": the parsed file's path (folders)
    long startLine = 0;
    long endLine = 0;

    // Rows keep the file's order (no automatic sorting) in line mode and for folders.
    bool keepOrder = false;
};

ParsePlan MakeParsePlan(const ParseSettings& settings, bool folder);

// The column headers: "A".."F", with "Line" and "File" where the plan puts them.
std::array<std::string, 6> ParseHeaders(const ParsePlan& plan);

using ParseRow = std::array<std::string, 6>;
using ParseEmit = std::function<void(ParseRow& row)>;

// Assembles records from lines, one line at a time.
class ParseRecords
{
public:
    ParseRecords(const ParsePlan& plan, std::string filePath, ParseEmit emit);
    // Takes line `number` (1-based; its line end removed). False once the end line is passed.
    bool Line(std::string_view line, long number);
    // At the end of the file: a record that has text but was not completed is added too.
    void Finish();
    long Rows() const { return m_rows; }

private:
    void WordLine(std::string_view line);
    void MarkerLine(std::string_view line, long number);
    void TextLine(std::string_view line, long number);
    void StartRecord(long number);
    void Emit();
    void Append(int column, std::string_view text);

    const ParsePlan& m_plan;
    std::string m_path;
    ParseEmit m_emit;
    ParseRow m_cells;
    std::size_t m_next = 0; // index in m_plan.order of the column to fill
    bool m_started = false;
    long m_recordLine = 0;
    long m_rows = 0;
    // The last lines read, for the columns before an Entire-Line anchor.
    std::deque<std::string> m_history;
};

// Parses bytes as a file's contents (CR, LF or CRLF end a line).
long ParseBytes(const ParsePlan& plan, std::string_view bytes, const std::string& filePath, const ParseEmit& emit,
                const std::function<bool()>& stop = {});

// Parses one file, which is opened only when it is a regular file; a file that cannot be opened
// adds nothing. Returns the rows added.
long ParseFileInto(const ParsePlan& plan, const std::string& path, const ParseEmit& emit,
                   const std::function<bool()>& stop = {});

// The regular files below `folder`, in path order (symbolic links to folders are not followed).
std::vector<std::string> ParseFolderFiles(const std::string& folder);

} // namespace lt
