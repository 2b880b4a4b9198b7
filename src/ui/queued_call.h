// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <utility>

#include <QMetaObject>
#include <QObject>

// Calls queued to another thread's objects. Qt passes them through its own futex-based locks,
// which ThreadSanitizer cannot see in the uninstrumented Qt libraries: without a mark, every byte a
// worker hands to the window thread this way reads as a race. The marks cost nothing in other
// builds.
#if defined(__SANITIZE_THREAD__)
#define LINKTRAWL_TSAN_MARKS 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define LINKTRAWL_TSAN_MARKS 1
#endif
#endif

#ifdef LINKTRAWL_TSAN_MARKS
extern "C" void __tsan_acquire(void* addr);
extern "C" void __tsan_release(void* addr);
#endif

namespace lt {

// What the calling thread did before a hand-over happens before what the receiving thread does
// after taking it over (the same `token` on both sides).
inline void MarkHandOver([[maybe_unused]] const void* token)
{
#ifdef LINKTRAWL_TSAN_MARKS
    __tsan_release(const_cast<void*>(token));
#endif
}
inline void MarkTakeOver([[maybe_unused]] const void* token)
{
#ifdef LINKTRAWL_TSAN_MARKS
    __tsan_acquire(const_cast<void*>(token));
#endif
}

// The call Qt queues. The worker hands it over once Qt has moved it into the copy it queues;
// Qt frees that copy on whichever thread lets go of it last, often the worker just after the
// window thread has run it, so the free takes over from the run.
template <typename F> class QueuedCall
{
public:
    explicit QueuedCall(F f) : m_f(std::move(f)) {}
    QueuedCall(QueuedCall&& other) : m_f(std::move(other.m_f)) { MarkHandOver(this); }
    QueuedCall(const QueuedCall&) = delete;
    QueuedCall& operator=(const QueuedCall&) = delete;
    QueuedCall& operator=(QueuedCall&&) = delete;
    ~QueuedCall() { MarkTakeOver(this); }

    void operator()()
    {
        MarkTakeOver(this);
        m_f();
        MarkHandOver(this);
    }

private:
    F m_f;
};

// Runs `f` on `receiver`'s thread, later, as Qt::QueuedConnection does.
template <typename F> void QueueCall(QObject* receiver, F&& f)
{
    QMetaObject::invokeMethod(receiver, QueuedCall(std::forward<F>(f)), Qt::QueuedConnection);
}

// Runs `f` on `receiver`'s thread and waits for its answer (Qt::BlockingQueuedConnection), or
// `unanswered` when Qt could not make the call; never from that thread itself.
template <typename F, typename R> R BlockingCall(QObject* receiver, F&& f, R unanswered)
{
    R result = std::move(unanswered);
    QMetaObject::invokeMethod(receiver, QueuedCall([&f, &result] {
                                  result = f();
                                  MarkHandOver(&result);
                              }),
                              Qt::BlockingQueuedConnection);
    MarkTakeOver(&result);
    return result;
}

} // namespace lt
