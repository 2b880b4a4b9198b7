// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace lt {

// The largest file the text window loads whole.
inline constexpr std::uint64_t kTextWindowLimit = 256ULL * 1024 * 1024;

enum class TextEncoding { Utf8, Windows1252 };
enum class LineEnds { None, CrLf, Lf, Cr, Mixed };

// How many line ends of each kind a text holds (a CR before an LF counts once, as CRLF).
struct LineEndCounts
{
    std::size_t crlf = 0, lf = 0, cr = 0;
};

// The bytes shown in the text window, kept as they were loaded. The window shows a decoded copy
// (UTF-8 with every line end as one LF) and hands back its text only when the user edited it; then
// the text is written in the document's own encoding and line ends. A text nobody edited is written
// back byte for byte, so that CRLF, lone CR, U+00A0 and bytes of either encoding survive.
class TextDocument
{
public:
    TextDocument() = default;
    // Takes the bytes and detects their encoding (UTF-8 when well-formed, else Windows-1252) and
    // their line-end style.
    explicit TextDocument(std::string bytes);

    const std::string& Bytes() const { return m_bytes; }
    TextEncoding Encoding() const { return m_encoding; }
    LineEnds Style() const { return m_style; }
    const LineEndCounts& Counts() const { return m_counts; }
    // The line end an edited text gets: the file's own; in a mixed file the most frequent one
    // (CRLF, then LF, then CR on a tie); LF in a file that had none.
    std::string_view SavedLineEnd() const;

    // The text for the window: UTF-8, each CRLF, CR or LF as one LF.
    std::string Shown() const;

    // The bytes to write for the window's text `shown` (UTF-8; LF, CRLF and CR count as line ends,
    // U+2028 and U+2029 are characters like any other): the loaded bytes when it equals Shown(), otherwise the text in the
    // document's encoding and line end. A Windows-1252 text that gained characters the code page
    // lacks is written as UTF-8 (`widened` tells), rather than losing them.
    std::string BytesFor(std::string_view shown, bool* widened = nullptr) const;

    // After `bytes` were written for an edited text: they become the document's bytes; the
    // encoding (UTF-8 after a widening) and the line-end style stay what the file had.
    void Adopt(std::string bytes, bool widened);

    // Writes BytesFor(shown) to `path` atomically. False with `error` set ("Could not write ...").
    bool Save(const std::string& path, std::string_view shown, bool edited, std::string& error);

private:
    std::string m_bytes;
    TextEncoding m_encoding = TextEncoding::Utf8;
    LineEnds m_style = LineEnds::None;
    LineEndCounts m_counts;
};

LineEndCounts CountLineEnds(std::string_view bytes);
LineEnds LineEndStyle(const LineEndCounts& counts);

} // namespace lt
