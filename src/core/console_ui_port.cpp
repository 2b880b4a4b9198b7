// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/console_ui_port.h"

#include <iostream>

namespace lt {

ConsoleUiPort::ConsoleUiPort(bool answerYes) : ConsoleUiPort(std::cerr, answerYes) {}

ConsoleUiPort::ConsoleUiPort(std::ostream& out, bool answerYes) : m_out(&out), m_answerYes(answerYes) {}

void ConsoleUiPort::SetPostHandler(PostHandler handler)
{
    std::lock_guard lock(m_mutex);
    m_post = std::move(handler);
}

void ConsoleUiPort::SetPaneText(int pane, const std::string& text)
{
    std::lock_guard lock(m_mutex);
    if (pane >= 0 && pane < 3)
        m_panes[static_cast<std::size_t>(pane)] = text;
}

void ConsoleUiPort::SetPaneIcon(int, StatusIcon) {}
void ConsoleUiPort::ArmTimer(int, int) {}
void ConsoleUiPort::KillTimer(int) {}
void ConsoleUiPort::SetWaitCursor(bool) {}

MsgAnswer ConsoleUiPort::ShowMessage(const std::string& text, const std::string& caption, MsgStyle style)
{
    {
        std::lock_guard lock(m_mutex);
        // Message texts may carry line breaks; each box stays one line so scripts can grep it.
        std::string line = caption + ": " + text;
        for (char& c : line)
            if (c == '\n' || c == '\r')
                c = ' ';
        *m_out << line << '\n';
        m_out->flush();
    }
    switch (style.buttons) {
    case MsgButtons::Ok: return MsgAnswer::Ok;
    case MsgButtons::YesNo:
    case MsgButtons::YesNoCancel: return m_answerYes ? MsgAnswer::Yes : MsgAnswer::No;
    case MsgButtons::OkCancel: return m_answerYes ? MsgAnswer::Ok : MsgAnswer::Cancel;
    case MsgButtons::ContinueCancel: return m_answerYes ? MsgAnswer::Continue : MsgAnswer::Cancel;
    case MsgButtons::ReplaceAppendCancel: return m_answerYes ? MsgAnswer::Replace : MsgAnswer::Cancel;
    }
    return MsgAnswer::Ok;
}

void ConsoleUiPort::ReportUnreadable(const std::string& line)
{
    std::lock_guard lock(m_mutex);
    std::string text = "linktrawl: " + line;
    for (char& c : text)
        if (c == '\n' || c == '\r')
            c = ' ';
    *m_out << text << '\n';
    m_out->flush();
    ++m_unreadable;
}

std::size_t ConsoleUiPort::UnreadableCount() const
{
    std::lock_guard lock(m_mutex);
    return m_unreadable;
}

void ConsoleUiPort::SetClipboardText(const std::string& text)
{
    std::lock_guard lock(m_mutex);
    m_clipboard = text;
}

std::string ConsoleUiPort::ClipboardText()
{
    std::lock_guard lock(m_mutex);
    return m_clipboard;
}

void ConsoleUiPort::Post(int message, std::intptr_t wparam, std::intptr_t lparam)
{
    PostHandler handler;
    {
        std::lock_guard lock(m_mutex);
        handler = m_post;
    }
    if (handler)
        handler(message, wparam, lparam);
}

std::string ConsoleUiPort::PaneText(int pane) const
{
    std::lock_guard lock(m_mutex);
    return pane >= 0 && pane < 3 ? m_panes[static_cast<std::size_t>(pane)] : std::string();
}

} // namespace lt
