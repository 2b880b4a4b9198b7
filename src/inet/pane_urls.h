// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/desktop_windows.h"

namespace lt {

inline constexpr std::size_t kMaxPaneUrls = 7;
inline constexpr int kMaxPaneVisits = 3000;
inline constexpr std::size_t kPaneMenuWidth = 52;

// The URL a window's text shows, or empty: at least 10 characters, a URL text that starts with
// "http://", "https://" or "ftp://" in exactly that case, cut at the first byte that is not a URL
// character, and still 10 characters long after the cut.
std::string PaneUrlOf(std::string_view text);

// Which windows are the program's own: they never contribute, whatever they show.
struct OwnWindows
{
    std::vector<DesktopWindowId> windows; // the main window and the dialog
    uint32_t pid = 0;                      // this process
};

// The URLs that other programs' windows show: the top-level windows and three levels of their
// children, at most 3000 windows visited and 7 URLs taken, each once (ignoring case).
std::vector<std::string> CollectPaneUrls(DesktopWindows& desktop, const OwnWindows& own);

// The text a menu entry shows for a URL (52 characters at most, cut at its folders).
std::string PaneMenuText(std::string_view url);

} // namespace lt
