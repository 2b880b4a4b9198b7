// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace lt {

struct AppState;

// The progress rule of the jobs: a bar only when `show` holds, stepped once per 1 % of `total`
// (at most 100 steps), destroyed when the object ends.
class Progress
{
public:
    Progress(AppState& app, uint64_t total, bool show);
    // For row jobs: a bar for more than 100 rows.
    static Progress ForRows(AppState& app, uint64_t rows) { return Progress(app, rows, rows > 100); }
    Progress(Progress&& other) noexcept;
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;
    ~Progress();

    // Steps the bar for every mark that `processed` has reached.
    void Advance(uint64_t processed);
    void End();

private:
    AppState* m_app;
    bool m_shown;
    double m_step = 0;
    double m_nextMark = 0;
    int m_steps = 0;
    uint64_t m_total = 0;
};

} // namespace lt
