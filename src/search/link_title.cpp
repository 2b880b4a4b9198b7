// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/link_title.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include "core/cp1252.h"
#include "search/block_reader.h"
#include "search/entities.h"

namespace lt {

namespace {

constexpr std::size_t kMaxTitle = 259;
constexpr std::size_t kMaxTagKept = 254;
constexpr std::size_t kMaxTextTag = 260;
constexpr int kMaxTags = 20;
constexpr int kMaxPassedInRow = 16;
constexpr std::size_t kPageHead = 1024;

char AsciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

std::string AsciiLowerCopy(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = AsciiLower(c);
    return out;
}

bool ContainsNoCase(std::string_view text, std::string_view lowerNeedle)
{
    return AsciiLowerCopy(text).find(lowerNeedle) != std::string::npos;
}

bool StartsWithNoCase(std::string_view text, std::string_view lowerPrefix)
{
    if (text.size() < lowerPrefix.size())
        return false;
    for (std::size_t i = 0; i < lowerPrefix.size(); ++i)
        if (AsciiLower(text[i]) != lowerPrefix[i])
            return false;
    return true;
}

std::string_view LastBytes(std::string_view text, std::size_t n)
{
    return text.size() > n ? text.substr(text.size() - n) : text;
}

// Tags after a URL that say the text that follows is not the link's own.
bool TagGivesUp(std::string_view tag)
{
    const std::string lower = AsciiLowerCopy(tag);
    const std::size_t n = lower.size();
    if (n >= 4 && lower.find("/map") != std::string::npos)
        return true;
    if (n >= 6 && LastBytes(lower, 6).find("title>") != std::string::npos)
        return true;
    if (n >= 6 && lower.find("write(") != std::string::npos)
        return true;
    if (n >= 8 && (lower.find("function ") != std::string::npos || lower.find("bgcolor=") != std::string::npos))
        return true;
    if (n >= 11 && lower.find("area shape=") != std::string::npos)
        return true;
    if (n >= 12 && lower.find("area coords=") != std::string::npos)
        return true;
    if (n >= 12 && LastBytes(lower, 12).find("javascript") != std::string::npos)
        return true;
    return false;
}

// Inline tags passed over inside a link text.
bool IsPassedTag(std::string_view lowerTag)
{
    static constexpr std::array<std::string_view, 11> kPassed = {
        "<i>", "</i>", "<b>", "</b>", "<big>", "</big>", "<small>", "</small>", "<strong>", "</strong>", "</font>"};
    return std::find(kPassed.begin(), kPassed.end(), lowerTag) != kPassed.end() || lowerTag.starts_with("<font");
}

void TrimBlanks(std::string& text, bool tabsToo)
{
    auto blank = [&](char c) { return c == ' ' || (tabsToo && c == '\t'); };
    std::size_t b = 0;
    while (b < text.size() && blank(text[b]))
        ++b;
    std::size_t e = text.size();
    while (e > b && blank(text[e - 1]))
        --e;
    text = text.substr(b, e - b);
}

void TrimWhite(std::string& text)
{
    auto white = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    std::size_t b = 0;
    while (b < text.size() && white(text[b]))
        ++b;
    std::size_t e = text.size();
    while (e > b && white(text[e - 1]))
        --e;
    text = text.substr(b, e - b);
}

// True when the title only repeats the URL's beginning (ASCII case and every "-" ignored).
bool RepeatsUrl(std::string_view title, std::string_view url)
{
    std::size_t t = 0;
    std::size_t u = 0;
    bool compared = false;
    for (;;) {
        while (t < title.size() && title[t] == '-')
            ++t;
        while (u < url.size() && url[u] == '-')
            ++u;
        if (t >= title.size() || u >= url.size())
            return compared;
        if (AsciiLower(title[t]) != AsciiLower(url[u]))
            return false;
        compared = true;
        ++t;
        ++u;
    }
}

class TitleSource
{
public:
    TitleSource(BlockReader& source, uint64_t start, uint64_t end, const LinkTitleContext& context, LinkTitle& out)
        : m_source(source), m_pos(start), m_end(std::min(end, start + kTitleLookahead)), m_context(context),
          m_out(out)
    {
    }

    // The next byte, or -1 at the end of what may be read.
    int Get()
    {
        if (m_pos >= m_end)
            return -1;
        const int c = m_source.At(m_pos);
        if (c < 0)
            return -1;
        if (m_context.recordResume && m_out.resume == LinkTitle::kNoResume) {
            const auto b = static_cast<uint8_t>(m_context.caseSensitive ? c : (c | 0x20));
            if (b == m_context.anchorFirst1 || b == m_context.anchorFirst2)
                m_out.resume = m_pos;
        }
        ++m_pos;
        return c;
    }
    uint64_t Pos() const { return m_pos; }

private:
    BlockReader& m_source;
    uint64_t m_pos;
    uint64_t m_end;
    const LinkTitleContext& m_context;
    LinkTitle& m_out;
};

enum class TextEnd { kGiveUp, kCloseLink, kOtherTag, kImage, kControl, kFull };

// Reads the link text after a tag's ">": inline tags are passed over, "</a>" ends it.
TextEnd ReadText(TitleSource& in, const LinkTitleContext& context, std::string& text)
{
    int passedInRow = 0;
    for (;;) {
        if (text.size() >= kMaxTitle)
            return TextEnd::kFull;
        const int c = in.Get();
        if (c < 0)
            return TextEnd::kGiveUp;
        if (c == '<') {
            std::string tag = "<";
            for (;;) {
                const int t = in.Get();
                if (t < 0)
                    return TextEnd::kGiveUp;
                if (tag.size() < kMaxTextTag)
                    tag.push_back(static_cast<char>(t));
                if (t == '>')
                    break;
            }
            const std::string lower = AsciiLowerCopy(tag);
            if (lower == "</a>")
                return TextEnd::kCloseLink;
            const bool isBreak = lower == "<br>";
            const bool isImage = lower.starts_with("<img src");
            if (isImage && context.quotedHref) {
                text.clear();
                return TextEnd::kImage;
            }
            if (!isBreak && !isImage && !IsPassedTag(lower))
                return TextEnd::kOtherTag;
            if (++passedInRow > kMaxPassedInRow)
                return TextEnd::kOtherTag;
            if (isBreak)
                text.push_back(' ');
            continue;
        }
        passedInRow = 0;
        if (c == '\n' || c == '\t')
            text.push_back(' ');
        else if (c == '\r')
            continue;
        else if (c < 32)
            return TextEnd::kControl;
        else
            text.push_back(static_cast<char>(c));
    }
}

} // namespace

int ReadLinkTitle(BlockReader& source, uint64_t start, uint64_t end, const LinkTitleContext& context,
                  LinkTitle& out)
{
    out.text.clear();
    out.resume = LinkTitle::kNoResume;
    TitleSource in(source, start, end, context, out);
    std::string title;
    bool textPending = false; // an image link left the text after it for another attempt
    for (int tags = 0; tags < kMaxTags; ++tags) {
        if (!textPending) {
            std::string tag;
            int prev = -1;
            for (;;) {
                const int c = in.Get();
                if (c < 0 || c == 0xFF)
                    return 0;
                if (prev == '/' && (c == 'a' || c == 'A'))
                    return 0; // a closing link tag: the link has no text of its own
                if (tag.size() < kMaxTagKept)
                    tag.push_back(static_cast<char>(c));
                if (c == '>')
                    break;
                prev = c;
            }
            if (TagGivesUp(tag))
                return 0;
        }
        textPending = false;
        title.clear();
        const TextEnd ending = ReadText(in, context, title);
        if (ending == TextEnd::kGiveUp)
            return 0;
        TrimBlanks(title, true);
        if ((title.size() > 8 && ContainsNoCase(title, "img src=\"")) || title == "&nbsp;")
            title.clear();
        if (!title.empty())
            break;
        if (ending == TextEnd::kImage)
            textPending = true;
        else if (ending != TextEnd::kOtherTag)
            return 0;
    }
    if (title.find("document.write") != std::string::npos)
        title.clear();
    if (title.size() > 4 && RepeatsUrl(title, context.url))
        title.clear();
    CleanUrl(title, 1);
    TrimBlanks(title, false);
    out.text = title;
    return static_cast<int>(out.text.size());
}

int ReadPageTitle(const std::string& path, const char* buffer, std::size_t length, bool inMemory,
                  std::string& title)
{
    title.clear();
    std::string head;
    if (inMemory) {
        if (buffer != nullptr)
            head.assign(buffer, std::min(length, kPageHead));
    } else {
        const std::size_t slash = path.rfind('/');
        const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
        const std::size_t dot = name.rfind('.');
        if (dot == std::string::npos)
            return 0;
        const std::string ext = AsciiLowerCopy(std::string_view(name).substr(dot + 1));
        if (ext.find("htm") == std::string::npos && ext.find("asp") == std::string::npos &&
            ext.find("cfm") == std::string::npos && ext.find("php") == std::string::npos)
            return 0;
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0)
            return 0;
        head.resize(kPageHead);
        std::size_t have = 0;
        while (have < kPageHead) {
            const ssize_t n = ::read(fd, head.data() + have, kPageHead - have);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            have += static_cast<std::size_t>(n);
        }
        ::close(fd);
        head.resize(have);
    }
    for (std::size_t lt = head.find('<'); lt != std::string::npos; lt = head.find('<', lt + 1)) {
        if (!StartsWithNoCase(std::string_view(head).substr(lt), "<title>"))
            continue;
        const std::size_t from = lt + 7;
        const std::size_t to = std::min(head.find('<', from), head.size());
        if (to > from) {
            title = head.substr(from, std::min<std::size_t>(to - from, 255));
            break;
        }
    }
    if (title.empty())
        return 0;
    CleanUrl(title, 1);
    TrimWhite(title);
    return static_cast<int>(title.size());
}

int ReadBaseHref(const char* buffer, std::size_t length, std::string& out)
{
    out.clear();
    if (buffer == nullptr)
        return 0;
    const std::string_view head(buffer, std::min(length, kPageHead));
    constexpr std::string_view kTag = "<base href=\"";
    for (std::size_t lt = head.find('<'); lt != std::string_view::npos; lt = head.find('<', lt + 1)) {
        if (!StartsWithNoCase(head.substr(lt), kTag))
            continue;
        const std::size_t from = lt + kTag.size();
        const std::size_t to = head.find('"', from);
        if (to == std::string_view::npos || to == from)
            continue;
        const std::string_view value = head.substr(from, to - from);
        if (!StartsWithNoCase(value, "http") && !StartsWithNoCase(value, "ftp://"))
            continue;
        out.assign(value.substr(0, std::min<std::size_t>(value.size(), kMaxTitle)));
        TrimWhite(out);
        break;
    }
    return static_cast<int>(out.size());
}

} // namespace lt
