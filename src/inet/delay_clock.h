// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>

namespace lt {

// The time a job waits by and measures with: the delay between passes and the transfer rate. The
// program uses the steady clock; a test passes one that jumps, so that minutes of delay take none.
class DelayClock
{
public:
    using TimePoint = std::chrono::steady_clock::time_point;
    virtual ~DelayClock() = default;

    virtual TimePoint Now() const { return std::chrono::steady_clock::now(); }
    // Waits on `wake` (with `lock` held) until `until` or until `done` holds. Returns `done()`.
    virtual bool WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& wake, TimePoint until,
                           const std::function<bool()>& done) const
    {
        return wake.wait_until(lock, until, done);
    }
};

} // namespace lt
