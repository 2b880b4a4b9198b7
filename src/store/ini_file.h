// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace lt {

// An INI document in memory with the private-profile behaviour that the settings files rely on:
// sections and keys are matched without regard to (ASCII) case, the first match wins, values are
// trimmed of blanks and tabs (and of one pair of enclosing quotes), LF and CRLF lines are both read,
// and every line that is not a key this document changes is written back exactly as it was read
// (a leading UTF-8 byte-order mark too, which is not part of the first line).
// New lines end in CRLF unless the file's own lines end in LF.
//
// Not thread-safe; one document per reader or writer.
class IniFile
{
public:
    // Files larger than this are refused rather than read in part: writing back a part would lose
    // the rest.
    static constexpr std::size_t kMaxBytes = 4u << 20;

    IniFile() = default;

    // Replaces the document with the parsed bytes; false (document left empty) when there are more
    // than `maxBytes` of them.
    bool LoadBytes(std::string_view bytes, std::size_t maxBytes = kMaxBytes);
    // Reads the file; a missing file gives an empty document and no error. Returns an error text
    // when the file exists but cannot be read or is too large (the document is then empty).
    std::string Load(const std::string& path, std::size_t maxBytes = kMaxBytes);
    // Whether the last Load found a file.
    bool FileExisted() const { return m_fileExisted; }

    // The trimmed value of the first matching key, cut to `maxLen` bytes (and at a NUL byte);
    // `def` when the section or key is missing.
    std::string GetString(std::string_view section, std::string_view key, std::string_view def,
                          std::size_t maxLen = 259) const;
    // The value read as a decimal integer (leading sign and digits, clamped to int); `def` when the
    // key is missing or its value does not start with a number.
    int GetInt(std::string_view section, std::string_view key, int def) const;
    bool HasKey(std::string_view section, std::string_view key) const;
    bool HasSection(std::string_view section) const;

    // Replaces the value of the first matching key, or adds the key after the section's last
    // line (the section is created at the end when missing). A value cannot span lines: it is
    // cut at the first LF (or NUL, where reading would cut it). Values that trimming or quote removal would
    // change on reading are written inside double quotes, so that every value reads back as written.
    void SetString(std::string_view section, std::string_view key, std::string_view value);
    void SetInt(std::string_view section, std::string_view key, long long value);
    // Removes the first matching key; false when there was none.
    bool DeleteKey(std::string_view section, std::string_view key);

    // The document as file bytes.
    std::string ToBytes() const;
    // Writes the document atomically (see WriteFileAtomically); returns an error text or empty.
    std::string Save(const std::string& path) const;

private:
    // Names match without regard to ASCII case; lookups take views, so none copies a name.
    struct NoCaseHash
    {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const;
    };
    struct NoCaseEqual
    {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const;
    };
    using NameIndex = std::unordered_map<std::string, std::size_t, NoCaseHash, NoCaseEqual>;

    struct Line
    {
        std::string text;                   // without its line ending
        std::string eol;                    // "\r\n", "\n", or "" for a last line without one
        std::size_t eq = std::string::npos; // position of '=' when the line is a key line
    };
    struct Section
    {
        std::string name;
        bool hasHeader = false;
        Line header;
        std::vector<Line> lines;
        NameIndex keys; // key -> first line
    };

    const Line* FindLine(std::string_view section, std::string_view key) const;
    Section* FindSection(std::string_view section);
    void IndexSection(std::size_t sectionIndex);
    void EnsureLastLineEnded();

    std::vector<Section> m_sections; // [0] holds lines before any section
    NameIndex m_sectionIndex;        // name -> first section
    std::string m_eol = "\r\n";
    bool m_fileExisted = false;
    bool m_byteOrderMark = false; // the file began with one; written back with it
};

} // namespace lt
