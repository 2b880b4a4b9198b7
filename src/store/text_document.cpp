// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/text_document.h"

#include "core/cp1252.h"
#include "store/atomic_write.h"
#include "store/utf8_text.h"

namespace lt {
namespace {

// The bytes Windows-1252 leaves undefined stand for the C1 controls of the same value both ways.
bool IsUndefinedCp1252(char32_t u)
{
    return u == 0x81 || u == 0x8D || u == 0x8F || u == 0x90 || u == 0x9D;
}

// The Windows-1252 byte of `u`; false when the code page has none.
bool ToCp1252(char32_t u, unsigned char& byte)
{
    if (u == 0 || IsUndefinedCp1252(u)) {
        byte = static_cast<unsigned char>(u);
        return true;
    }
    byte = UnicodeToCp1252(u);
    return byte != 0;
}

bool IsLineBreak(char32_t cp) { return cp == '\n' || cp == '\r'; }

} // namespace

LineEndCounts CountLineEnds(std::string_view bytes)
{
    LineEndCounts counts;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r') {
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n') {
                ++counts.crlf;
                ++i;
            } else {
                ++counts.cr;
            }
        } else if (bytes[i] == '\n') {
            ++counts.lf;
        }
    }
    return counts;
}

LineEnds LineEndStyle(const LineEndCounts& counts)
{
    const int kinds = (counts.crlf != 0) + (counts.lf != 0) + (counts.cr != 0);
    if (kinds == 0)
        return LineEnds::None;
    if (kinds > 1)
        return LineEnds::Mixed;
    return counts.crlf ? LineEnds::CrLf : counts.lf ? LineEnds::Lf : LineEnds::Cr;
}

TextDocument::TextDocument(std::string bytes) : m_bytes(std::move(bytes))
{
    m_encoding = utf8::IsValid(m_bytes) ? TextEncoding::Utf8 : TextEncoding::Windows1252;
    m_counts = CountLineEnds(m_bytes);
    m_style = LineEndStyle(m_counts);
}

std::string_view TextDocument::SavedLineEnd() const
{
    switch (m_style) {
    case LineEnds::CrLf: return "\r\n";
    case LineEnds::Cr: return "\r";
    case LineEnds::None:
    case LineEnds::Lf: return "\n";
    case LineEnds::Mixed: break;
    }
    if (m_counts.crlf >= m_counts.lf && m_counts.crlf >= m_counts.cr)
        return "\r\n";
    return m_counts.lf >= m_counts.cr ? "\n" : "\r";
}

std::string TextDocument::Shown() const
{
    std::string out;
    out.reserve(m_bytes.size() + m_bytes.size() / 8);
    const std::size_t n = m_bytes.size();
    for (std::size_t i = 0; i < n; ++i) {
        const char c = m_bytes[i];
        if (c == '\r') {
            if (i + 1 < n && m_bytes[i + 1] == '\n')
                ++i;
            out += '\n';
        } else if (m_encoding == TextEncoding::Utf8 || static_cast<unsigned char>(c) < 0x80) {
            out += c;
        } else {
            utf8::Append(out, Cp1252ToUnicode(static_cast<unsigned char>(c)));
        }
    }
    return out;
}

std::string TextDocument::BytesFor(std::string_view shown, bool* widened) const
{
    if (widened)
        *widened = false;
    if (shown == Shown())
        return m_bytes;
    const std::string_view lineEnd = SavedLineEnd();
    // Pass 1 decides the encoding: a character Windows-1252 lacks makes the text UTF-8.
    bool asUtf8 = m_encoding == TextEncoding::Utf8;
    char32_t cp = 0;
    if (!asUtf8) {
        for (std::size_t pos = 0; pos < shown.size();) {
            std::size_t n = utf8::Decode(shown, pos, cp);
            unsigned char byte = 0;
            if (n == 0) {
                n = 1;
            } else if (!IsLineBreak(cp) && !ToCp1252(cp, byte)) {
                asUtf8 = true;
                break;
            }
            pos += n;
        }
        if (asUtf8 && widened)
            *widened = true;
    }
    std::string out;
    out.reserve(shown.size() + shown.size() / 8);
    for (std::size_t pos = 0; pos < shown.size();) {
        std::size_t n = utf8::Decode(shown, pos, cp);
        if (n == 0) {
            // Not from the window (it hands over valid UTF-8); kept as the byte it is.
            out += shown[pos++];
            continue;
        }
        if (IsLineBreak(cp)) {
            if (cp == '\r' && pos + 1 < shown.size() && shown[pos + 1] == '\n')
                ++n;
            out += lineEnd;
        } else if (asUtf8 || cp < 0x80) {
            out.append(shown.substr(pos, n));
        } else {
            unsigned char byte = 0;
            ToCp1252(cp, byte);
            out += static_cast<char>(byte);
        }
        pos += n;
    }
    return out;
}

void TextDocument::Adopt(std::string bytes, bool widened)
{
    m_bytes = std::move(bytes);
    if (widened)
        m_encoding = TextEncoding::Utf8;
    // A file that had no line ends takes the ones it was given; otherwise the style stays, so that
    // the next edit is written as the file was.
    if (m_style == LineEnds::None) {
        m_counts = CountLineEnds(m_bytes);
        m_style = LineEndStyle(m_counts);
    }
}

bool TextDocument::Save(const std::string& path, std::string_view shown, bool edited, std::string& error)
{
    bool widened = false;
    std::string bytes = edited ? BytesFor(shown, &widened) : m_bytes;
    error = WriteFileAtomically(path, bytes);
    if (!error.empty())
        return false;
    if (edited)
        Adopt(std::move(bytes), widened);
    return true;
}

} // namespace lt
