// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "core/ui_port.h"

namespace lt {

// A UiPort for tests: records every call and answers message boxes from a queue of pre-set
// answers (Ok for boxes without a Yes button, No for questions when the queue is empty).
// Every member locks, so workers may call it while the test thread reads it.
class RecordingUiPort : public UiPort
{
public:
    struct Message
    {
        std::string text;
        std::string caption;
        MsgStyle style;
        MsgAnswer answer = MsgAnswer::Ok;
    };
    struct PostedMessage
    {
        int message = 0;
        std::intptr_t wparam = 0;
        std::intptr_t lparam = 0;
    };
    struct PaneWrite
    {
        int pane = 0;
        std::string text;
    };

    // Answers for the next message boxes, in order.
    void QueueAnswer(MsgAnswer answer)
    {
        std::lock_guard lock(m_mutex);
        m_answers.push_back(answer);
    }

    void SetPaneText(int pane, const std::string& text) override
    {
        std::lock_guard lock(m_mutex);
        if (pane >= 0 && pane < 3)
            m_panes[pane] = text;
        m_paneWrites.push_back({pane, text});
    }
    void SetPaneIcon(int pane, StatusIcon icon) override
    {
        std::lock_guard lock(m_mutex);
        if (pane >= 0 && pane < 3)
            m_icons[pane] = icon;
    }
    void ArmTimer(int id, int milliseconds) override
    {
        std::lock_guard lock(m_mutex);
        m_armed[id] = milliseconds;
        m_timerArms.push_back(id);
    }
    void KillTimer(int id) override
    {
        std::lock_guard lock(m_mutex);
        m_armed.erase(id);
        m_timerKills.push_back(id);
    }

    void ProgressBegin() override
    {
        std::lock_guard lock(m_mutex);
        ++m_progressBegins;
        m_progressOpen = true;
    }
    void ProgressStep() override
    {
        std::lock_guard lock(m_mutex);
        ++m_progressSteps;
    }
    void ProgressEnd() override
    {
        std::lock_guard lock(m_mutex);
        ++m_progressEnds;
        m_progressOpen = false;
    }

    MsgAnswer ShowMessage(const std::string& text, const std::string& caption, MsgStyle style) override
    {
        std::lock_guard lock(m_mutex);
        MsgAnswer answer;
        if (!m_answers.empty()) {
            answer = m_answers.front();
            m_answers.pop_front();
        } else {
            answer = DefaultAnswer(style.buttons);
        }
        m_messages.push_back({text, caption, style, answer});
        return answer;
    }

    void SetWaitCursor(bool on) override
    {
        std::lock_guard lock(m_mutex);
        m_waitCursor = on;
        m_cursorChanges.push_back(on);
    }
    void SetClipboardText(const std::string& text) override
    {
        std::lock_guard lock(m_mutex);
        m_clipboard = text;
    }
    std::string ClipboardText() override
    {
        std::lock_guard lock(m_mutex);
        return m_clipboard;
    }

    void Post(int message, std::intptr_t wparam, std::intptr_t lparam) override
    {
        std::lock_guard lock(m_mutex);
        m_posts.push_back({message, wparam, lparam});
    }

    // Read-back for the test.
    std::string Pane(int pane) const
    {
        std::lock_guard lock(m_mutex);
        return pane >= 0 && pane < 3 ? m_panes[pane] : std::string();
    }
    StatusIcon Icon(int pane) const
    {
        std::lock_guard lock(m_mutex);
        return pane >= 0 && pane < 3 ? m_icons[pane] : StatusIcon::None;
    }
    std::vector<PaneWrite> PaneWrites() const
    {
        std::lock_guard lock(m_mutex);
        return m_paneWrites;
    }
    bool TimerArmed(int id) const
    {
        std::lock_guard lock(m_mutex);
        return m_armed.count(id) != 0;
    }
    int TimerPeriod(int id) const
    {
        std::lock_guard lock(m_mutex);
        const auto it = m_armed.find(id);
        return it == m_armed.end() ? 0 : it->second;
    }
    std::vector<int> TimerArms() const
    {
        std::lock_guard lock(m_mutex);
        return m_timerArms;
    }
    std::vector<int> TimerKills() const
    {
        std::lock_guard lock(m_mutex);
        return m_timerKills;
    }
    int ProgressBegins() const
    {
        std::lock_guard lock(m_mutex);
        return m_progressBegins;
    }
    int ProgressSteps() const
    {
        std::lock_guard lock(m_mutex);
        return m_progressSteps;
    }
    int ProgressEnds() const
    {
        std::lock_guard lock(m_mutex);
        return m_progressEnds;
    }
    bool ProgressOpen() const
    {
        std::lock_guard lock(m_mutex);
        return m_progressOpen;
    }
    std::vector<Message> Messages() const
    {
        std::lock_guard lock(m_mutex);
        return m_messages;
    }
    // The last message box, or an empty one.
    Message LastMessage() const
    {
        std::lock_guard lock(m_mutex);
        return m_messages.empty() ? Message{} : m_messages.back();
    }
    std::size_t MessageCount() const
    {
        std::lock_guard lock(m_mutex);
        return m_messages.size();
    }
    std::vector<PostedMessage> Posts() const
    {
        std::lock_guard lock(m_mutex);
        return m_posts;
    }
    bool WasPosted(int message) const
    {
        std::lock_guard lock(m_mutex);
        for (const auto& p : m_posts)
            if (p.message == message)
                return true;
        return false;
    }
    bool WaitCursor() const
    {
        std::lock_guard lock(m_mutex);
        return m_waitCursor;
    }
    std::vector<bool> CursorChanges() const
    {
        std::lock_guard lock(m_mutex);
        return m_cursorChanges;
    }
    void ClearRecords()
    {
        std::lock_guard lock(m_mutex);
        m_paneWrites.clear();
        m_timerArms.clear();
        m_timerKills.clear();
        m_messages.clear();
        m_posts.clear();
        m_cursorChanges.clear();
        m_progressBegins = m_progressSteps = m_progressEnds = 0;
    }

    static MsgAnswer DefaultAnswer(MsgButtons buttons)
    {
        switch (buttons) {
        case MsgButtons::YesNo:
        case MsgButtons::YesNoCancel: return MsgAnswer::No;
        case MsgButtons::OkCancel:
        case MsgButtons::ContinueCancel:
        case MsgButtons::ReplaceAppendCancel: return MsgAnswer::Cancel;
        case MsgButtons::Ok: break;
        }
        return MsgAnswer::Ok;
    }

private:
    mutable std::mutex m_mutex;
    std::deque<MsgAnswer> m_answers;
    std::array<std::string, 3> m_panes{};
    std::array<StatusIcon, 3> m_icons{};
    std::vector<PaneWrite> m_paneWrites;
    std::map<int, int> m_armed;
    std::vector<int> m_timerArms;
    std::vector<int> m_timerKills;
    int m_progressBegins = 0;
    int m_progressSteps = 0;
    int m_progressEnds = 0;
    bool m_progressOpen = false;
    std::vector<Message> m_messages;
    std::vector<PostedMessage> m_posts;
    bool m_waitCursor = false;
    std::vector<bool> m_cursorChanges;
    std::string m_clipboard;
};

} // namespace lt
