// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "inet/job_window_port.h"

namespace lt {

// A JobWindowPort for tests: keeps the lines and the rows as a window would show them, and the
// list of calls in order. Every member locks: the job thread writes while the test reads.
class RecordingJobWindowPort : public JobWindowPort
{
public:
    struct Lines
    {
        std::string caption, url, save, status, counter;
    };

    void SetCaption(const std::string& text) override { Set(&Lines::caption, "caption", text); }
    void SetUrlLine(const std::string& text) override { Set(&Lines::url, "url", text); }
    void SetSaveLine(const std::string& text) override { Set(&Lines::save, "save", text); }
    void SetStatusLine(const std::string& text) override { Set(&Lines::status, "status", text); }
    void SetCounterLine(const std::string& text) override { Set(&Lines::counter, "counter", text); }
    void AddRow(const std::vector<std::string>& cells) override
    {
        std::lock_guard lock(m_mutex);
        m_rows.push_back(cells);
        m_calls.push_back("add " + (cells.empty() ? std::string() : cells.front()));
    }
    void RemoveRow(std::size_t row) override
    {
        std::lock_guard lock(m_mutex);
        if (row < m_rows.size())
            m_rows.erase(m_rows.begin() + static_cast<std::ptrdiff_t>(row));
        m_calls.push_back("remove " + std::to_string(row));
    }
    void SetCell(std::size_t row, int column, const std::string& text) override
    {
        std::lock_guard lock(m_mutex);
        if (row < m_rows.size()) {
            if (m_rows[row].size() <= static_cast<std::size_t>(column))
                m_rows[row].resize(static_cast<std::size_t>(column) + 1);
            m_rows[row][static_cast<std::size_t>(column)] = text;
        }
        m_calls.push_back("cell " + std::to_string(row) + " " + text);
    }
    void ShowRow(std::size_t row) override
    {
        std::lock_guard lock(m_mutex);
        m_calls.push_back("show " + std::to_string(row));
    }
    void Post(int message, std::intptr_t param) override
    {
        std::lock_guard lock(m_mutex);
        m_calls.push_back("post " + std::to_string(message) + " " + std::to_string(param));
    }

    Lines Shown() const
    {
        std::lock_guard lock(m_mutex);
        return m_lines;
    }
    std::vector<std::vector<std::string>> Rows() const
    {
        std::lock_guard lock(m_mutex);
        return m_rows;
    }
    std::vector<std::string> Calls() const
    {
        std::lock_guard lock(m_mutex);
        return m_calls;
    }

private:
    void Set(std::string Lines::*line, const char* name, const std::string& text)
    {
        std::lock_guard lock(m_mutex);
        m_lines.*line = text;
        m_calls.push_back(std::string(name) + " " + text);
    }

    mutable std::mutex m_mutex;
    Lines m_lines;
    std::vector<std::vector<std::string>> m_rows;
    std::vector<std::string> m_calls;
};

} // namespace lt
