// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "list/list_kind.h"
#include "test_application.h"
#include "ui/main_window.h"
#include "ui/qt_ui_port.h"
#include "ui/result_table_model.h"
#include "ui/settings_bridge.h"

namespace lt::test {

// A shown main window over a fresh state with a temporary INI file; message boxes are recorded as
// "caption: text" and answered from `answer`.
class WindowFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Application();
        ASSERT_TRUE(dir.isValid());
        port.SetMessageHandler([this](const std::string& text, const std::string& caption, MsgStyle style) {
            std::lock_guard lock(mutex);
            messages.push_back(caption + ": " + text);
            styles.push_back(style);
            return answer.load();
        });
        app.startup.iniPath = dir.filePath(QStringLiteral("linktrawl.ini")).toStdString();
        LoadSettingsAtStart(app);
        ApplyListKind(app, 2);
        window = std::make_unique<MainWindow>(app, port);
        window->resize(1000, 600);
        window->show();
        window->activateWindow();
        (void)QTest::qWaitForWindowActive(window.get(), 2000);
    }

    void TearDown() override
    {
        if (window) {
            window->close();
            window.reset();
        }
        JoinWorker(app);
        WaitForFolderFills(app);
    }

    // Adds rows (column 0, optional column 1) in the given order, without the sorted insertion.
    void AddRows(const std::vector<std::string>& urls, bool sorted = false)
    {
        app.list.SetAutoSort(sorted ? AutoSort::Ascending : AutoSort::Off);
        for (const std::string& url : urls) {
            ResultRow row;
            row.cells = {url, "", "/data/f" + std::to_string(url.size() % 3)};
            app.list.InsertRow(row);
        }
        app.list.SetAutoSort(AutoSort::Ascending);
        app.sorting.mainSortedByUrl = sorted;
        window->Model()->Refresh();
    }

    std::vector<std::string> Column0() const
    {
        std::vector<std::string> cells;
        for (std::size_t r = 0; r < app.list.RowCount(); ++r)
            cells.push_back(app.list.GetCell(r, 0));
        return cells;
    }

    std::vector<std::string> Messages()
    {
        std::lock_guard lock(mutex);
        return messages;
    }

    bool WaitIdle() { return WaitFor([&] { return !app.jobs.Running(); }); }

    QTemporaryDir dir;
    QtUiPort port;
    AppState app{port};
    std::unique_ptr<MainWindow> window;
    std::mutex mutex;
    std::vector<std::string> messages;
    std::vector<MsgStyle> styles;
    std::atomic<MsgAnswer> answer{MsgAnswer::Ok};
};

} // namespace lt::test
