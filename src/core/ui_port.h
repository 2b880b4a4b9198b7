// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

namespace lt {

// Icons a message box can carry.
enum class MsgIcon { None, Information, Warning, Error, Question };

// Button sets of the message boxes the engine asks for.
enum class MsgButtons { Ok, YesNo, YesNoCancel, OkCancel, ReplaceAppendCancel, ContinueCancel };

// The button that closed a message box.
enum class MsgAnswer { Ok, Yes, No, Cancel, Replace, Append, Continue };

struct MsgStyle
{
    constexpr MsgStyle(MsgButtons b = MsgButtons::Ok, MsgIcon i = MsgIcon::Information) : buttons(b), icon(i)
    {
    }

    MsgButtons buttons;
    MsgIcon icon;
    // When set, the open box watches this job code and closes itself with the safe answer once it
    // differs from `mootUnless` (a question that the end of the job made moot).
    const std::atomic<int32_t>* watchedJob = nullptr;
    int32_t mootUnless = 0;
    bool Moot() const { return watchedJob != nullptr && watchedJob->load() != mootUnless; }
};

// Small icons of the status-bar panes.
enum class StatusIcon { None, Passed0, Passed1, Connect, Error };

// The one interface through which engine code reaches the screen. Every call may come from the
// window thread or from a worker; the Qt implementation queues calls to the window thread, a
// console implementation serves unattended runs and tests use a recording fake.
// Status-bar *rules* (timers, caption cutting) are engine code (StatusBar); this port only puts
// texts into panes and arms the window's timers.
class UiPort
{
public:
    virtual ~UiPort() = default;

    // Writes the text (Windows-1252 or UTF-8 bytes) into status pane 0..2.
    virtual void SetPaneText(int pane, const std::string& text) = 0;
    virtual void SetPaneIcon(int pane, StatusIcon icon) = 0;
    // Arms (or re-arms) the one-shot window timer `id`; when it fires the window thread calls
    // StatusBar::OnTimer(id).
    virtual void ArmTimer(int id, int milliseconds) = 0;
    virtual void KillTimer(int id) = 0;

    // The progress bar over pane 1 (range 0..100, step 1).
    virtual void ProgressBegin() = 0;
    virtual void ProgressStep() = 0;
    virtual void ProgressEnd() = 0;

    // A modal message box; blocks a worker until answered.
    virtual MsgAnswer ShowMessage(const std::string& text, const std::string& caption, MsgStyle style) = 0;

    virtual void SetWaitCursor(bool on) = 0;
    virtual void SetClipboardText(const std::string& text) = 0;
    virtual std::string ClipboardText() = 0;

    // A private main-window message (numbers 2385..2404), delivered in order on the window thread.
    virtual void Post(int message, std::intptr_t wparam, std::intptr_t lparam) = 0;

    // A file or folder the job could not read ("Could not open PATH ", "Could not read the folder
    // PATH"). The window already shows such texts in the status bar; an unattended run prints them
    // so that a script can tell the result is incomplete.
    virtual void ReportUnreadable(const std::string& line) { (void)line; }
};

} // namespace lt
