// SPDX-License-Identifier: GPL-3.0-or-later
#include "sources/index_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "core/cp1252.h"
#include "sources/file_time.h"

namespace lt {

namespace {

constexpr std::string_view kMsieHeader = "Client UrlCache MMF Ver";
constexpr std::string_view kWineHeader = "WINE URLCache Ver ";
constexpr std::size_t kMaxText = 256;
constexpr std::size_t kNoAt = 260; // the user boundary before an "@" was seen
constexpr uint64_t kMaxFileTimeHalf = 0xFFFFFFFFULL;

bool IsUrlChar(int c)
{
    return c >= 33 && c <= 126 && c != '"' && c != '<' && c != '>' && c != '(' && c != ')';
}

void TrimTrailing(std::string& text, std::size_t keep)
{
    while (text.size() > keep) {
        const char last = text.back();
        if (last == '/' || last == '[' || last == '{' || last == ',' || last == '.' || last == '\'' ||
            last == '`' || last == '\\')
            text.pop_back();
        else if (last == ']' && text.find('[') == std::string::npos)
            text.pop_back();
        else if (last == '}' && text.find('{') == std::string::npos)
            text.pop_back();
        else
            break;
    }
}

// The layout a file's header selects.
struct Layout
{
    int major = 0;
    uint64_t textField = 56, nameField = 64;
    bool hits = false;
};

// One time stamp: its cell and, when it was converted, its calendar fields.
bool ConvertStamp(uint64_t stamp, bool local, std::string& cell, LocalTime& fields)
{
    if ((stamp & kMaxFileTimeHalf) == 0 || (stamp >> 32) == 0)
        return false;
    if (!CalendarFields(FileTimeToUnix(stamp), local, fields))
        return false;
    cell = DateTextWithin(fields, 1900, 2100);
    return true;
}

class IndexScanner
{
public:
    IndexScanner(ByteSource& source, const IndexScanOptions& options,
                 const std::function<void(const IndexRow&)>& onRow)
        : m_in(source), m_options(options), m_onRow(onRow)
    {
    }

    IndexScanResult Run()
    {
        IndexScanResult result;
        const std::string_view header = m_in.Bytes(0, 32);
        result.versionText = std::string(m_in.Bytes(24, 3));
        const bool wine = header.substr(0, kWineHeader.size()) == kWineHeader;
        // Wine writes its own header but the records of version 5.
        m_layout.major = wine ? 5 : (header.size() > 24 && header[24] >= '0' && header[24] <= '9' ? header[24] - '0' : 0);
        if (m_layout.major >= 5) {
            m_layout.textField = 52;
            m_layout.nameField = 60;
            m_layout.hits = true;
        }
        if (m_options.cookieReader && !wine &&
            (header.size() < kMsieHeader.size() || !Cp1252EqualsNoCase(header.substr(0, kMsieHeader.size()), kMsieHeader) ||
             m_layout.major < 4)) {
            result.formatValid = false;
            return result;
        }
        const uint64_t size = m_in.Size();
        if (size < kIndexRecordArea) {
            result.tooShort = true;
            return result;
        }
        uint64_t pos = kIndexRecordArea;
        uint64_t previousEnd = 0;
        while (pos < size && size - pos >= 3) {
            if (m_options.goOn && !m_options.goOn())
                break;
            const std::string_view sig = m_in.Bytes(pos, 3);
            if (sig != "URL" || pos < previousEnd) {
                pos += kIndexBlock;
                continue;
            }
            const uint64_t blocks = m_in.U32(pos + 4);
            const uint64_t end = std::min(size, pos + kIndexBlock * blocks);
            uint64_t stopped = pos + 1;
            const Verdict verdict = ReadRecord(pos, end, stopped);
            if (verdict == Verdict::Listed)
                ++result.rows;
            previousEnd = verdict == Verdict::DateRejected ? 0 : end;
            // Scanning goes on from where the reading stopped, at the next block boundary.
            stopped = std::max(stopped, pos + 1);
            pos = std::max(previousEnd, (stopped + kIndexBlock - 1) / kIndexBlock * kIndexBlock);
        }
        return result;
    }

private:
    enum class Verdict { Listed, Skipped, DateRejected };

    Verdict ReadRecord(uint64_t start, uint64_t end, uint64_t& stopped)
    {
        IndexRow row;
        row.offset = start;
        LocalTime fields;
        bool converted = false;
        const bool utcDate2 = !m_options.cookieReader && m_options.kind == kIndexSubHistory;
        converted |= ConvertStamp(m_in.U64(start + 16), true, row.date1, fields);
        converted |= ConvertStamp(m_in.U64(start + 8), !utcDate2, row.date2, fields);
        if (m_layout.hits && m_in.At(start + 84) >= 0) {
            char hits[16];
            std::snprintf(hits, sizeof hits, "%3u", static_cast<unsigned>(m_in.At(start + 84)));
            row.hits = hits;
        }
        int textOffset = m_in.At(start + m_layout.textField);
        if (textOffset < 96 || textOffset > 104)
            textOffset = 96;
        const uint64_t textPos = start + static_cast<uint64_t>(textOffset);

        std::string text;
        std::size_t boundary = 0;
        bool hasAt = false;
        const bool ok = m_options.cookieReader ? ReadCookieText(textPos, text, boundary, hasAt, stopped)
                                               : ReadHistoryText(textPos, text, boundary, hasAt, stopped);
        if (!ok)
            return Verdict::Skipped;
        TrimTrailing(text, !m_options.cookieReader && m_labelMode ? m_options.label.size() : 0);
        if (text.empty())
            return Verdict::Skipped;
        if (hasAt && boundary < text.size()) {
            row.user = text.substr(0, boundary);
            row.url = text.substr(boundary + 1);
            if (!m_options.cookieReader && !row.url.empty() && row.url[0] == ':')
                row.url.erase(0, 1);
        } else {
            row.url = text;
        }
        if (converted) {
            const bool good = m_options.cookieReader
                                  ? fields.year >= 1900 && fields.year <= 2100
                                  : fields.year >= 1900 && fields.year <= 2100 && fields.month >= 1 &&
                                        fields.month <= 12 && fields.hour <= 24 && fields.minute <= 60;
            if (!good)
                return Verdict::DateRejected;
        }
        if (m_options.cookieReader)
            row.textFile = TextFileName(start, end);
        m_onRow(row);
        ++m_rowsAdded;
        return Verdict::Listed;
    }

    // The history and temporary-files reader's text rules.
    bool ReadHistoryText(uint64_t textPos, std::string& text, std::size_t& boundary, bool& hasAt, uint64_t& stopped)
    {
        const std::string& label = m_options.label;
        uint64_t pos = textPos;
        if (m_labelMode) {
            const std::string_view read = m_in.Bytes(textPos, label.size());
            if (read.size() == label.size() && Cp1252EqualsNoCase(read, label)) {
                pos = textPos + label.size();
                stopped = pos;
            } else if (m_rowsAdded == 0) {
                m_labelMode = false;
                const std::string_view seven = m_in.Bytes(textPos, 7);
                m_cookieMode = seven.size() == 7 && Cp1252EqualsNoCase(seven, "Cookie:");
            } else {
                stopped = textPos + read.size();
                return false;
            }
        }
        if (!IsUrlChar(m_in.At(m_labelMode ? textPos : pos)))
            return false;

        bool dated = false;
        boundary = m_labelMode ? kNoAt : 0;
        // The sub-history key ":yyyymmddyyyymmdd: " stands at the start of the text.
        if (m_in.At(pos) == ':' && ((m_in.At(pos + 1) == '2' && m_in.At(pos + 2) == '0') ||
                                    (m_in.At(pos + 1) == '1' && m_in.At(pos + 2) == '9'))) {
            dated = true;
            boundary = kNoAt;
            pos += 19;
        }
        const bool loose = dated || m_cookieMode; // a blank after the boundary is kept
        for (std::size_t count = 0; count < kMaxText && text.size() < kMaxText; ++count, ++pos) {
            const int c = m_in.At(pos);
            if (c < 0 || c == 0 || c == 255)
                break;
            if (c == '\r' || c == '\n')
                continue;
            if (c == '@' && boundary == kNoAt) {
                boundary = text.size();
                hasAt = true;
                text += '@';
                continue;
            }
            const bool after = boundary != kNoAt && (text.size() > boundary || !hasAt);
            if (!after) {
                text += static_cast<char>(c);
                continue;
            }
            if (c == ' ') {
                if (!loose)
                    break;
                text += ' ';
            } else if (!IsUrlChar(c)) {
                if (!m_labelMode)
                    break;
                static constexpr char kHex[] = "0123456789ABCDEF";
                text += '%';
                text += kHex[(c >> 4) & 15];
                text += kHex[c & 15];
            } else {
                text += static_cast<char>(c);
            }
        }
        stopped = pos;
        if (text.size() > kMaxText)
            text.resize(kMaxText);
        return true;
    }

    // The cookie index reader's text rules.
    bool ReadCookieText(uint64_t textPos, std::string& text, std::size_t& boundary, bool& hasAt, uint64_t& stopped)
    {
        const std::string& label = m_options.label;
        uint64_t pos = textPos;
        const std::string_view read = m_in.Bytes(textPos, label.size());
        const bool labelled = read.size() == label.size() && read == label;
        if (labelled) {
            pos += label.size();
            boundary = kNoAt;
        } else {
            if (!IsUrlChar(m_in.At(textPos))) {
                stopped = textPos + 1;
                return false;
            }
            boundary = 0;
        }
        for (std::size_t count = 0; count < kMaxText; ++count, ++pos) {
            const int c = m_in.At(pos);
            if (c < 0 || c == 0 || c == 255)
                break;
            const bool after = boundary != kNoAt && (text.size() > boundary || !hasAt);
            if (after && c < 32)
                break;
            if (!after && (c == '\r' || c == '\n'))
                continue;
            if (c == '@' && boundary == kNoAt) {
                boundary = text.size();
                hasAt = true;
            }
            text += static_cast<char>(c);
        }
        stopped = pos;
        return true;
    }

    // The cookie text-file name of a record, "**" + name when no such file lies beside the index.
    std::string TextFileName(uint64_t start, uint64_t end)
    {
        const int offset = m_in.At(start + m_layout.nameField);
        if (offset < 96 || start + static_cast<uint64_t>(offset) >= end)
            return {};
        std::string name;
        for (uint64_t pos = start + static_cast<uint64_t>(offset); pos < end && name.size() < kMaxText; ++pos) {
            const int c = m_in.At(pos);
            if (c <= 0 || c == 255 || c < 32)
                break;
            name += static_cast<char>(c);
        }
        if (name.empty())
            return {};
        const bool present = IsPlainFileName(name) && m_options.textFileExists && m_options.textFileExists(name);
        if (!present)
            name = ("**" + name).substr(0, 259);
        return name;
    }

    SourceWindow m_in;
    const IndexScanOptions& m_options;
    const std::function<void(const IndexRow&)>& m_onRow;
    Layout m_layout;
    bool m_labelMode = true;
    bool m_cookieMode = false;
    long m_rowsAdded = 0;
};

} // namespace

IndexScanResult ScanIndexFile(ByteSource& source, const IndexScanOptions& options,
                              const std::function<void(const IndexRow&)>& onRow)
{
    IndexScanner scanner(source, options, onRow);
    return scanner.Run();
}

bool IsPlainFileName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
           name.find('\\') == std::string::npos && name.find('\0') == std::string::npos;
}

bool BlankIndexRecord(std::string& bytes, uint64_t offset)
{
    constexpr uint64_t kLine = 16;
    const uint64_t size = bytes.size();
    if (size < kIndexRecordArea || offset < kIndexRecordArea || offset > size - kLine)
        return false;
    if (bytes.compare(offset, 3, "URL") != 0)
        return false;
    const auto* p = reinterpret_cast<const uint8_t*>(bytes.data() + offset + 4);
    const uint64_t blocks = p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint64_t>(p[3]) << 24;
    uint64_t length = blocks * kIndexBlock;
    if (blocks == 0 || length > size - offset) {
        // No usable block count: count the record's lines up to the next structure.
        uint64_t lines = 1;
        bool met = false;
        for (; lines < 299 && offset + lines * kLine <= size - kLine; ++lines) {
            const std::string_view line(bytes.data() + offset + lines * kLine, 4);
            if (line == "URL " || line == "REDR" || line == "LEAK" || line == "HASH") {
                met = true;
                break;
            }
        }
        if (!met && lines >= 31)
            lines = 16;
        length = lines * kLine;
    }
    static constexpr uint8_t kFill[4] = {0x0D, 0xF0, 0xAD, 0x0B};
    for (uint64_t i = 0; i < length; ++i)
        bytes[offset + i] = static_cast<char>(kFill[i % 4]);
    return true;
}

} // namespace lt
