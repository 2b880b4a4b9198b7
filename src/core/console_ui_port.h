// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <functional>
#include <iosfwd>
#include <mutex>
#include <string>

#include "core/ui_port.h"

namespace lt {

// The UiPort of unattended runs: no window, no display. Message boxes become "caption: text"
// lines on standard error (ShowMessage has already dropped the information boxes that an
// unattended run suppresses); questions are answered No unless `answerYes` is set; status panes
// are kept silently; the clipboard lives in memory; posted window messages go to a handler.
class ConsoleUiPort : public UiPort
{
public:
    using PostHandler = std::function<void(int message, std::intptr_t wparam, std::intptr_t lparam)>;

    explicit ConsoleUiPort(bool answerYes = false);
    // Writes the message lines to `out` instead of standard error (tests).
    ConsoleUiPort(std::ostream& out, bool answerYes);

    // Set by the composition before any job starts; called on the thread that posts.
    void SetPostHandler(PostHandler handler);

    void SetPaneText(int pane, const std::string& text) override;
    void SetPaneIcon(int pane, StatusIcon icon) override;
    void ArmTimer(int id, int milliseconds) override;
    void KillTimer(int id) override;
    void ProgressBegin() override {}
    void ProgressStep() override {}
    void ProgressEnd() override {}
    MsgAnswer ShowMessage(const std::string& text, const std::string& caption, MsgStyle style) override;
    void SetWaitCursor(bool on) override;
    void SetClipboardText(const std::string& text) override;
    std::string ClipboardText() override;
    void Post(int message, std::intptr_t wparam, std::intptr_t lparam) override;
    // Prints the line after "linktrawl: " and counts it.
    void ReportUnreadable(const std::string& line) override;
    std::size_t UnreadableCount() const;

    std::string PaneText(int pane) const;

private:
    std::ostream* m_out;
    bool m_answerYes;
    mutable std::mutex m_mutex;
    std::array<std::string, 3> m_panes{};
    std::string m_clipboard;
    PostHandler m_post;
    std::size_t m_unreadable = 0;
};

} // namespace lt
