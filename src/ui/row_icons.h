// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>

#include "core/ui_port.h"

namespace lt {

inline constexpr int kStandardRowIcons = 18;

// The 18 standard row icons (index 0 "ICO_FOLDCL" to 17 "ICO_CPP"); other indexes give the link icon.
QIcon RowIcon(int index);
// The small icons of the status panes.
QIcon StatusIconFor(StatusIcon icon);
// The icon of a toolbar command: the desktop's icon theme first, the program's own icon otherwise.
QIcon CommandIcon(int id);
// The browser icons of the menus: 0 Internet Explorer, 1 Netscape, 2 Opera.
QIcon BrowserIcon(int browser);
QIcon AppIcon();

} // namespace lt
