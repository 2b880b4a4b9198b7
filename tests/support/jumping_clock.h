// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "inet/delay_clock.h"

namespace lt::test {

// A clock that never sleeps: each wait moves its time on to the deadline at once.
class JumpingClock : public DelayClock
{
public:
    TimePoint Now() const override { return m_now; }
    bool WaitUntil(std::unique_lock<std::mutex>&, std::condition_variable&, TimePoint until,
                   const std::function<bool()>& done) const override
    {
        if (done())
            return true;
        if (until > m_now)
            m_now = until;
        return done();
    }

private:
    mutable TimePoint m_now{};
};

} // namespace lt::test
