// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <functional>
#include <mutex>
#include <string>

#include "core/ui_port.h"

namespace lt {

// Timer ids of the main window used by the status bar.
enum StatusTimer : int { kTimerRestore = 980, kTimerFindWrap = 981, kTimerClearIfSame = 982, kTimerDots = 983 };

// The rules of the three status panes: texts, transient messages, the start time and the timers.
// Callable from any thread; the UiPort carries the results to the window. The window calls
// OnTimer on its own thread when an armed timer fires.
class StatusBar
{
public:
    explicit StatusBar(UiPort& ui);

    // mode 0 plain, 1 arms timer 980 (unless armed), 2 arms 982 and clears pane 1 when it fires.
    void SetStatusText(const std::string& text, int pane, int mode = 0);
    // -1 clears all panes (text " " and no icon); 0..2 clear one pane and its icon.
    void ClearStatus(int pane);
    // Pane 2: "%d" of the count, or 12 blanks for 0.
    void ShowRowCount(long count);
    // 0 start now, 1 end now (" Start: %s       End: %s"), 2 show the start again.
    void ShowStartTime(int mode);
    // 1 end of list, 2 beginning of list, 3 "Deleting current list ...", 4 clears pane 1.
    // (0, the search caption, is ShowSearchCaption.)
    void ShowFindWrap(int which);
    void OnTimer(int id);

    std::string PaneText(int pane) const;
    // The clock used for the start and end times; tests replace it.
    void SetClock(std::function<std::string()> timeOfDay);
    // Hands every later SetStatusText (and row count) to `divert` instead of the panes: the status
    // bar of a scan worker, whose texts are shown later in the order of the files.
    using Divert = std::function<void(const std::string& text, int pane, int mode)>;
    void DivertTexts(Divert divert);

private:
    UiPort& m_ui;
    mutable std::mutex m_mutex;
    std::array<std::string, 3> m_panes{};
    std::array<StatusIcon, 3> m_icons{};
    bool m_restoreArmed = false;
    bool m_clearIfSame = false;
    std::string m_startTime;
    bool m_showingStart = false;
    std::function<std::string()> m_timeOfDay;
    Divert m_divert;
};

struct AppState;
// Pane 2 with `count`, or with the result list's row count when `count` is -1.
void ShowRowCount(AppState& app, long count = -1);

// The current time of day as " HH:MM:SS " cut the documented way from the standard date text.
std::string TimeOfDayText();

} // namespace lt
