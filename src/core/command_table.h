// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace lt {

struct AppState;

// When a command is ignored: B a job runs, L a list operation must not be interrupted, D the
// domain view is shown, E the result list is empty.
enum CommandGuard : unsigned {
    kGuardNone = 0,
    kGuardB = 1u << 0,
    kGuardL = 1u << 1,
    kGuardD = 1u << 2,
    kGuardE = 1u << 3,
    // Extra conditions of single commands.
    kGuardHttpKind = 1u << 4,  // ItemKind 0 only (the domain tree)
    kGuardHitRates = 1u << 5,  // hit rates are shown
    kGuardDomainKind = 1u << 6 // ListKind 0, 7, 10, 11 or 14 with ItemKind 0
};

// Where a command lives in the window.
enum CommandPlace : unsigned {
    kPlaceMenu = 1u << 0,
    kPlaceToolbar = 1u << 1,
    kPlaceContext = 1u << 2
};

// One numbered command: its menu text (with the '&' mnemonic), the key shown in the menu, the key of
// the window-wide accelerator table (empty when none) and its guards. Whether it can run at all
// follows from the window's registered performers (ui/commands/).
// Keys use the portable names "Ctrl+O", "Shift+Q", "Alt+F3", "F1", "Ctrl+Num++".
struct CommandInfo
{
    int id = 0;
    std::string text;
    std::string shownKey;  // the key named in the menu text
    std::string appKey;    // the window-wide accelerator
    unsigned guards = kGuardNone;
    unsigned places = kPlaceMenu;
    std::string tooltip;   // toolbar tooltip, empty when the command has no button
};

// Every command of the main window, including the numbered ranges (1600..1606 "&Reopen",
// 5800..5808 "Per &Column", the context-menu items). Built once.
const std::vector<CommandInfo>& CommandTable();
// The entry of `id`, or nullptr.
const CommandInfo* FindCommand(int id);

// The menu text of a command with its key after a tab ("S&ave List as\tCtrl+S").
std::string MenuText(const CommandInfo& command);

// True when the guards of the command do not forbid it in the current state.
bool GuardsAllow(const AppState& app, unsigned guards);
// True when the command exists and its guards allow it now; whether a performer exists is the
// window's registry's business.
bool CommandAllowed(const AppState& app, int id);

// Whether the domain commands (1453, 1480, 1544, 1545) apply to the list's contents.
bool DomainCommandsApply(const AppState& app);

// The ids of the toolbar, left to right, with 0 for a separator.
const std::vector<int>& ToolbarLayout();
// The tooltip of a toolbar button in the current state (the domain-view and job-code variants).
std::string ToolbarTooltip(const AppState& app, int id);

// "Stop current Process" for job codes of 3 and above, else "Stop Search".
std::string StopTooltip(int jobCode);

} // namespace lt
