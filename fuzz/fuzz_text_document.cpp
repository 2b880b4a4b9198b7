// SPDX-License-Identifier: GPL-3.0-or-later
// Takes arbitrary bytes as a file shown in the text window: the decoding and the line-end detection
// must give a valid UTF-8 view that saves back byte for byte, an edit must keep every other byte,
// and the find must stay inside the text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "store/text_document.h"
#include "store/text_find.h"
#include "store/utf8_text.h"

using lt::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const lt::TextDocument doc(bytes);
    const std::string shown = doc.Shown();
    Check(lt::utf8::IsValid(shown));
    Check((doc.Encoding() == lt::TextEncoding::Utf8) == lt::utf8::IsValid(bytes));
    const lt::LineEndCounts& counts = doc.Counts();
    std::size_t breaks = 0;
    for (const char c : shown) {
        Check(c != '\r');
        breaks += c == '\n';
    }
    Check(breaks == counts.crlf + counts.lf + counts.cr);
    Check(doc.BytesFor(shown) == bytes);

    // With one kind of line end every byte survives an edit at the end.
    bool widened = true;
    const std::string edited = doc.BytesFor(shown + "x", &widened);
    Check(!widened);
    if (doc.Style() != lt::LineEnds::Mixed)
        Check(edited == bytes + "x");
    // A character Windows-1252 lacks widens such a text to UTF-8, which reads back as the same text.
    const std::string wide = doc.BytesFor(shown + "\xE2\x86\x92", &widened);
    Check(widened == (doc.Encoding() == lt::TextEncoding::Windows1252));
    if (doc.Style() != lt::LineEnds::Mixed)
        Check(lt::TextDocument(wide).Shown() == shown + "\xE2\x86\x92");

    // The find: a needle from the text's own middle is found, inside the text.
    const std::size_t from = size / 3;
    const std::string needle = shown.substr(from, 5);
    const lt::TextFindResult found = lt::FindNextInText(shown, needle, size % (shown.size() + 1));
    Check(!found.found || found.pos + found.length <= shown.size());
    Check(!found.found || lt::FoldForFind(shown.substr(found.pos, found.length)) == lt::FoldForFind(needle));
    Check(lt::FoldForFind(shown).size() == shown.size());
    if (!needle.empty() && lt::utf8::IsValid(needle))
        Check(found.found);
    return 0;
}
