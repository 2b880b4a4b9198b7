// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

namespace lt {

// Slot states of an internet job.
enum SlotState : uint32_t {
    kSlotFree = 0,
    kSlotReserved = 1221,
    kSlotIdle = 1222,
    kSlotRunning = 1223,
    kSlotCancel = 1224,
    kSlotSkip = 1225,
    kSlotClosing = 1230,
};

// The record of one internet job. The job thread alone writes the plain fields; the window writes
// only the atomics (state, skipped, stopped) and wakes the job's pending transfer through Wake.
// The window never touches a transfer handle: the job thread opens and closes them all.
struct InetSlot
{
    uint32_t index = 0;
    std::atomic<uint32_t> state{kSlotFree};
    std::atomic<bool> timedOut{false};
    std::atomic<bool> skipped{false};
    std::atomic<bool> stopped{false};
    std::atomic<int> connectTicks{-1}; // read by the window's dots timer
    std::atomic<uint32_t> retrieved{0};

    uint32_t level = 0;
    std::string currentUrl; // the URL taken from the job list
    std::string url;        // the URL being requested (redirects rewrite it)
    std::string savePath;
    std::string saveDir;
    std::string baseUrl;
    std::string pageTitle;
    int protocol = 0;            // 1 HTTP(S), 2 FTP
    uint64_t ftpFileSize = 0;    // 64-bit: a 4 GiB file must not read as empty
    bool ftpFileSizeKnown = false;
    int ftpLogin = 0;            // 0 none configured, 1 configured and not in use, 2 in use

    bool pageIsHtml = false;
    bool followLinks = true;
    bool saveToDisk = false;
    bool saveThisPage = true;
    bool saveFileOpen = false;
    bool selectedNext = false;
    bool enumerativeNames = false;
    bool closeWhenFinished = true;
    bool firstChunk = true;
    bool binaryCheck = false;
    uint32_t startIndex = 0;

    // The job asks for a cancel or skip to reach its pending transfer at once.
    void RequestCancel()
    {
        stopped = true;
        state = kSlotCancel;
        Wake();
    }
    void RequestSkip()
    {
        skipped = true;
        state = kSlotSkip;
        Wake();
    }
    // True when the job must abandon the current item (cancel, skip or a closing window).
    bool AbortRequested() const
    {
        return state.load() != kSlotRunning || skipped.load() || stopped.load();
    }
    // The job thread registers how to wake its transfer loop; the window calls Wake. The lock
    // keeps the job from freeing the transfer while a wake is under way.
    void AttachWaker(void (*wake)(void*), void* context)
    {
        std::lock_guard<std::mutex> lock(m_wakeLock);
        m_wake = wake;
        m_wakeContext = context;
    }
    void DetachWaker() { AttachWaker(nullptr, nullptr); }
    void Wake()
    {
        std::lock_guard<std::mutex> lock(m_wakeLock);
        if (m_wake)
            m_wake(m_wakeContext);
    }

private:
    std::mutex m_wakeLock;
    void (*m_wake)(void*) = nullptr;
    void* m_wakeContext = nullptr;
};

// The 16 fixed slots: 0 the crawler, 1 the batch download, 3..15 status tests and single downloads.
struct InetSlotTable
{
    InetSlotTable()
    {
        for (uint32_t i = 0; i < m_slots.size(); ++i)
            m_slots[i].index = i;
    }
    std::array<InetSlot, 16> m_slots;
    InetSlot& operator[](std::size_t i) { return m_slots[i]; }

    // True while a job of some slot is transferring (running, or skipping its current item).
    bool AnyTransferring() const
    {
        for (const InetSlot& slot : m_slots) {
            const uint32_t state = slot.state.load();
            if (state == kSlotRunning || state == kSlotSkip)
                return true;
        }
        return false;
    }
    // The main window closes: every transferring job ends at once (its pending request is woken)
    // and keeps the mark, so that it reports to the main window rather than its own.
    void MarkClosing()
    {
        for (InetSlot& slot : m_slots) {
            uint32_t state = slot.state.load();
            while ((state == kSlotRunning || state == kSlotSkip) &&
                   !slot.state.compare_exchange_weak(state, kSlotClosing)) {
            }
            if (slot.state.load() == kSlotClosing) {
                slot.stopped = true;
                slot.Wake();
            }
        }
    }
};

// Before each item: clears the per-item flags and texts; the binary check follows Save only.
void ResetSlot(InetSlot& slot, bool saveOnly);

} // namespace lt
