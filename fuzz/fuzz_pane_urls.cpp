// SPDX-License-Identifier: GPL-3.0-or-later
// Takes arbitrary bytes as the name another program gives its window: the URL taken from it is
// empty or a URL of the three schemes made of URL characters only, and its menu text stays short.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/shorten_at_separators.h"
#include "fuzz_support.h"
#include "inet/pane_urls.h"

using lt::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string url = lt::PaneUrlOf(text);
    if (!url.empty()) {
        Check(url.size() >= 10 && url.size() <= text.size());
        Check(text.substr(0, url.size()) == url);
        Check(url.rfind("http://", 0) == 0 || url.rfind("https://", 0) == 0 || url.rfind("ftp://", 0) == 0);
        for (const char c : url)
            Check(static_cast<unsigned char>(c) > ' ' && static_cast<unsigned char>(c) < 127 && c != '"' && c != '<');
        // A menu entry fits its width plus the "..." the shortening may add.
        Check(lt::PaneMenuText(url).size() <= lt::kPaneMenuWidth + 3);
    }
    // The shortening never grows a long text and keeps its last part.
    const std::size_t maximum = size % 80;
    const std::string shortened = lt::ShortenAtSeparators(text, '/', maximum);
    Check(shortened.size() <= std::max(text.size(), maximum + 3));
    return 0;
}
