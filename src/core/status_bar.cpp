// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/status_bar.h"

#include <cstdio>
#include <ctime>

#include "core/app_state.h"

namespace lt {

namespace {

constexpr int kShortMessageMs = 2000;
constexpr int kClearIfSameMs = 4000;
const std::string kBlank = " ";

} // namespace

std::string TimeOfDayText()
{
    // The standard date-time text ("Wed Jun 30 21:49:08 1993"); the time is the 9 characters that
    // begin two before its first ':'.
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[64];
    std::strftime(text, sizeof text, "%a %b %d %H:%M:%S %Y", &local);
    const std::string full(text);
    const auto colon = full.find(':');
    if (colon == std::string::npos || colon < 2)
        return full;
    return full.substr(colon - 2, 9);
}

StatusBar::StatusBar(UiPort& ui) : m_ui(ui), m_timeOfDay(TimeOfDayText)
{
    m_panes.fill(std::string());
    m_icons.fill(StatusIcon::None);
}

void StatusBar::SetClock(std::function<std::string()> timeOfDay)
{
    std::lock_guard lock(m_mutex);
    m_timeOfDay = std::move(timeOfDay);
}

std::string StatusBar::PaneText(int pane) const
{
    std::lock_guard lock(m_mutex);
    return pane >= 0 && pane < 3 ? m_panes[static_cast<std::size_t>(pane)] : std::string();
}

void StatusBar::DivertTexts(Divert divert)
{
    std::lock_guard lock(m_mutex);
    m_divert = std::move(divert);
}

void StatusBar::SetStatusText(const std::string& text, int pane, int mode)
{
    if (pane < 0 || pane > 2)
        return;
    if (m_divert) {
        m_divert(text, pane, mode);
        return;
    }
    std::lock_guard lock(m_mutex);
    m_panes[static_cast<std::size_t>(pane)] = text;
    m_ui.SetPaneText(pane, text);
    if (pane == 1)
        m_clearIfSame = false;
    if (mode == 1 && !m_restoreArmed) {
        m_restoreArmed = true;
        m_ui.ArmTimer(kTimerRestore, kShortMessageMs);
    } else if (mode == 2) {
        m_clearIfSame = true;
        m_ui.ArmTimer(kTimerClearIfSame, kClearIfSameMs);
    }
}

void StatusBar::ClearStatus(int pane)
{
    std::lock_guard lock(m_mutex);
    for (int p = 0; p < 3; ++p) {
        if (pane != -1 && pane != p)
            continue;
        m_panes[static_cast<std::size_t>(p)] = kBlank;
        m_icons[static_cast<std::size_t>(p)] = StatusIcon::None;
        m_ui.SetPaneText(p, kBlank);
        m_ui.SetPaneIcon(p, StatusIcon::None);
        if (p == 1) {
            m_clearIfSame = false;
            m_showingStart = false;
        }
    }
}

void StatusBar::ShowRowCount(long count)
{
    char text[32];
    if (count == 0)
        std::snprintf(text, sizeof text, "%s", "            ");
    else
        std::snprintf(text, sizeof text, "%ld", count);
    SetStatusText(text, 2);
}

void ShowRowCount(AppState& app, long count)
{
    app.status.ShowRowCount(count == -1 ? static_cast<long>(app.list.RowCount()) : count);
}

void StatusBar::ShowStartTime(int mode)
{
    std::string text;
    {
        std::lock_guard lock(m_mutex);
        if (mode == 0) {
            m_startTime = m_timeOfDay();
            text = " Start: " + m_startTime;
            m_showingStart = true;
        } else if (mode == 1) {
            text = " Start: " + m_startTime + "       End: " + m_timeOfDay();
        } else if (mode == 2) {
            text = " Start: " + m_startTime;
            m_showingStart = true;
        } else {
            return;
        }
    }
    SetStatusText(text, 1);
}

void StatusBar::ShowFindWrap(int which)
{
    switch (which) {
    case 1:
    case 2: {
        SetStatusText(which == 1 ? "Search passed end of list." : "Search passed beginning of list.", 1);
        std::lock_guard lock(m_mutex);
        const StatusIcon icon = which == 1 ? StatusIcon::Passed0 : StatusIcon::Passed1;
        m_icons[1] = icon;
        m_ui.SetPaneIcon(1, icon);
        // Re-arming keeps one timer; the message goes 2 seconds after the last one.
        m_ui.ArmTimer(kTimerFindWrap, kShortMessageMs);
        break;
    }
    case 3: SetStatusText("Deleting current list ...", 0); break;
    case 4: ClearStatus(1); break;
    default: break;
    }
}

void StatusBar::OnTimer(int id)
{
    switch (id) {
    case kTimerRestore: {
        std::string restore;
        {
            std::lock_guard lock(m_mutex);
            m_restoreArmed = false;
            m_ui.KillTimer(kTimerRestore);
            if (m_showingStart)
                restore = " Start: " + m_startTime;
        }
        if (!restore.empty()) {
            SetStatusText(restore, 1);
        } else {
            ClearStatus(1);
        }
        break;
    }
    case kTimerFindWrap: {
        std::lock_guard lock(m_mutex);
        m_ui.KillTimer(kTimerFindWrap);
        m_panes[1] = kBlank;
        m_icons[1] = StatusIcon::None;
        m_clearIfSame = false;
        m_ui.SetPaneText(1, kBlank);
        m_ui.SetPaneIcon(1, StatusIcon::None);
        break;
    }
    case kTimerClearIfSame: {
        std::lock_guard lock(m_mutex);
        m_ui.KillTimer(kTimerClearIfSame);
        if (m_clearIfSame) {
            m_clearIfSame = false;
            m_panes[1] = kBlank;
            m_icons[1] = StatusIcon::None;
            m_ui.SetPaneText(1, kBlank);
            m_ui.SetPaneIcon(1, StatusIcon::None);
        }
        break;
    }
    default: break;
    }
}

} // namespace lt
