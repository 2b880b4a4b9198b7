// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>
#include <unistd.h>

#include <gtest/gtest.h>

#include "core/app_state.h"
#include "recording_ui_port.h"

namespace lt::testing {

// A fresh program state, a temporary folder and helpers to fill the result list.
class ExportFixture : public ::testing::Test
{
protected:
    ExportFixture()
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_dir = std::filesystem::temp_directory_path() /
                ("lt-export-" + std::string(info->test_suite_name()) + "-" + info->name() + "-" +
                 std::to_string(::getpid()));
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
    }
    ~ExportFixture() override { std::filesystem::remove_all(m_dir); }

    std::string PathOf(const std::string& name) const { return (m_dir / name).string(); }

    // Columns by header; rows are kept in the order given.
    void SetColumns(std::initializer_list<const char*> headers)
    {
        std::vector<ColumnState> columns;
        for (const char* h : headers)
            columns.push_back(ColumnState{h, kColText, 100});
        app.list.SetColumns(columns);
        app.list.SetAutoSort(AutoSort::Off);
    }
    void AddRow(std::vector<std::string> cells, bool selected = false)
    {
        ResultRow row;
        row.cells = std::move(cells);
        row.selected = selected;
        app.list.InsertRow(std::move(row));
    }
    void ExportColumns(std::initializer_list<int> oneBased)
    {
        app.exportSettings.columns.fill(false);
        for (int c : oneBased)
            app.exportSettings.columns[static_cast<std::size_t>(c - 1)] = true;
    }

    static std::string ReadFile(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static void WriteFile(const std::string& path, const std::string& bytes)
    {
        std::ofstream out(path, std::ios::binary);
        out << bytes;
    }

    RecordingUiPort port;
    AppState app{port};

private:
    std::filesystem::path m_dir;
};

} // namespace lt::testing
