// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace lt {

using DesktopWindowId = uint32_t;

// The windows of the desktop, as far as the window URL search needs them: the tree below the
// root, each window's name and the process that says it owns it.
class DesktopWindows
{
public:
    virtual ~DesktopWindows() = default;
    // The children of the root, bottom to top.
    virtual std::vector<DesktopWindowId> TopLevel() = 0;
    virtual std::vector<DesktopWindowId> Children(DesktopWindowId window) = 0;
    // 0 for the root and for a window that is gone.
    virtual DesktopWindowId Parent(DesktopWindowId window) = 0;
    // The window's title (_NET_WM_NAME, else WM_NAME), at most 259 bytes.
    virtual std::string Name(DesktopWindowId window) = 0;
    // The _NET_WM_PID the window carries; 0 when it carries none.
    virtual uint32_t Pid(DesktopWindowId window) = 0;
};

// The X11 windows of `display` (the environment's DISPLAY when null); null without a display,
// which makes the search find nothing.
std::unique_ptr<DesktopWindows> OpenDesktopWindows(const char* display = nullptr);

} // namespace lt
