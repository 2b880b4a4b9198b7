// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/progress.h"

#include "core/app_state.h"

namespace lt {

namespace {
constexpr int kMaxSteps = 100;
}

Progress::Progress(AppState& app, uint64_t total, bool show) : m_app(&app), m_shown(show), m_total(total)
{
    m_step = static_cast<double>(total) * 0.01;
    m_nextMark = m_step;
    if (m_shown)
        m_app->ui.ProgressBegin();
}

Progress::Progress(Progress&& other) noexcept
    : m_app(other.m_app), m_shown(other.m_shown), m_step(other.m_step), m_nextMark(other.m_nextMark),
      m_steps(other.m_steps), m_total(other.m_total)
{
    other.m_shown = false;
}

Progress::~Progress()
{
    End();
}

void Progress::Advance(uint64_t processed)
{
    if (!m_shown)
        return;
    // The marks are whole percentages of the total, counted in integers so that the last one is
    // reached exactly; the bar never takes more than 100 steps.
    uint64_t reached = kMaxSteps;
    if (m_total > 0 && processed < m_total)
        reached = processed * kMaxSteps / m_total;
    while (m_steps < static_cast<int>(reached)) {
        m_app->ui.ProgressStep();
        ++m_steps;
        m_nextMark += m_step;
    }
}

void Progress::End()
{
    if (!m_shown)
        return;
    m_shown = false;
    m_app->ui.ProgressEnd();
}

} // namespace lt
