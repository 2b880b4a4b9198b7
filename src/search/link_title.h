// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace lt {

class BlockReader;

// What the title reader needs to know about the link whose text it reads.
struct LinkTitleContext
{
    std::string_view url;        // the cleaned URL; a text that merely repeats it is no title
    bool quotedHref = false;     // the URL stood in href="...": an image link leaves no title
    bool recordResume = false;   // file mode: remember where the scan may resume
    uint8_t anchorFirst1 = 0;    // first bytes of the two anchors (lower case when case is folded)
    uint8_t anchorFirst2 = 0;
    bool caseSensitive = false;
};

struct LinkTitle
{
    static constexpr uint64_t kNoResume = std::numeric_limits<uint64_t>::max();
    std::string text;
    // The first byte read that may start an anchor; the scan reads it again. kNoResume for none.
    uint64_t resume = kNoResume;
};

// The title reader looks at most this far ahead of the URL, so that data without a ">" cannot make
// a scan quadratic.
inline constexpr uint64_t kTitleLookahead = 8192;

// Reads the text of the HTML link that follows a URL standing in an "href=" attribute, from
// `start` (just after the URL) to at most `end`. Returns the title's length (0 = no title) and
// leaves it in out.text. `source` is an open file or an attached memory buffer. Worker thread.
int ReadLinkTitle(BlockReader& source, uint64_t start, uint64_t end, const LinkTitleContext& context,
                  LinkTitle& out);

// The "<title>" of an HTML page: from the file at `path` (only when its extension holds "htm",
// "asp", "cfm" or "php"), or with `inMemory` from buffer/length; only the first 1024 bytes are
// looked at. Returns the title's length and leaves it in `title` (empty when there is none).
int ReadPageTitle(const std::string& path, const char* buffer, std::size_t length, bool inMemory,
                  std::string& title);

// The address of the first usable <base href="..."> within the first 1024 bytes of a page held in
// memory; empty when there is none. Returns its length.
int ReadBaseHref(const char* buffer, std::size_t length, std::string& out);

} // namespace lt
