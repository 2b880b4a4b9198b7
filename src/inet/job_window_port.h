// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace lt {

// The one interface through which an internet job reaches its own window: the caption, the four
// text lines, the rows of the window's list and the end message. Calls come from the job's thread;
// the Qt window queues them to its own thread, in order. Tests use a recording fake.
class JobWindowPort
{
public:
    virtual ~JobWindowPort() = default;

    virtual void SetCaption(const std::string& text) = 0;
    virtual void SetUrlLine(const std::string& text) = 0;
    virtual void SetSaveLine(const std::string& text) = 0;
    virtual void SetStatusLine(const std::string& text) = 0;
    virtual void SetCounterLine(const std::string& text) = 0;

    // The window's list: rows are appended, removed by index and changed cell by cell.
    virtual void AddRow(const std::vector<std::string>& cells) = 0;
    virtual void RemoveRow(std::size_t row) = 0;
    virtual void SetCell(std::size_t row, int column, const std::string& text) = 0;
    // The row being worked on: selected and scrolled into view.
    virtual void ShowRow(std::size_t row) = 0;

    // A private window message (2391 at the job's end, its parameter whether anything was read).
    virtual void Post(int message, std::intptr_t param) = 0;
};

} // namespace lt
