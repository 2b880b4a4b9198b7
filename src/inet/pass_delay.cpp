// SPDX-License-Identifier: GPL-3.0-or-later
#include "inet/pass_delay.h"

namespace lt {

void DelayEvent::Set()
{
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_set = true;
    }
    m_changed.notify_all();
}

void DelayEvent::Reset()
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_set = false;
}

bool DelayEvent::IsSet() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_set;
}

bool DelayEvent::WaitFor(std::chrono::milliseconds span)
{
    std::unique_lock<std::mutex> lock(m_lock);
    return m_changed.wait_for(lock, span, [this] { return m_set; });
}

bool WaitPassDelay(PassClock& clock, DelayEvent& event, int minutes, const std::function<bool()>& keepWaiting,
                   const std::function<void(int, int)>& tick)
{
    if (minutes <= 0)
        return true;
    for (long elapsed = 1;; ++elapsed) {
        if (event.IsSet() || !keepWaiting())
            return false;
        if (clock.WaitTick(event, std::chrono::seconds(1)))
            return false;
        const int m = static_cast<int>(elapsed / 60);
        const int s = static_cast<int>(elapsed % 60);
        if (tick)
            tick(m, s);
        if (m >= minutes)
            return true;
    }
}

} // namespace lt
