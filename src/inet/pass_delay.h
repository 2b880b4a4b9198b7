// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>

namespace lt {

// The event a job sleeps on between passes. The window sets it ("&OK", "&Cancel", closing) from
// its own thread; the job resets it before each delay.
class DelayEvent
{
public:
    void Set();
    void Reset();
    bool IsSet() const;
    // Waits at most `span` for the event; true when it is set.
    bool WaitFor(std::chrono::milliseconds span);

private:
    mutable std::mutex m_lock;
    std::condition_variable m_changed;
    bool m_set = false;
};

// The time the delays between passes run on. The program waits in real time; tests pass a clock
// whose ticks pass at once, so that a two-minute delay takes no real minutes.
class PassClock
{
public:
    virtual ~PassClock() = default;
    // Lets one tick of `span` pass, or less when `event` is set: true when it is set.
    virtual bool WaitTick(DelayEvent& event, std::chrono::milliseconds span) = 0;
};

class RealPassClock : public PassClock
{
public:
    bool WaitTick(DelayEvent& event, std::chrono::milliseconds span) override { return event.WaitFor(span); }
};

// Counts out `minutes` in ticks of one second, calling `tick(minutes, seconds)` after each (0:1
// first, minutes:0 last). Ends early when `event` is set or `keepWaiting` says no more. True when
// the whole delay passed.
bool WaitPassDelay(PassClock& clock, DelayEvent& event, int minutes, const std::function<bool()>& keepWaiting,
                   const std::function<void(int minutes, int seconds)>& tick);

} // namespace lt
