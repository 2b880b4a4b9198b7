// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/batch_download_window.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>
#include <unistd.h>

#include "core/app_state.h"
#include "inet/inet_slot.h"
#include "inet/local_server.h"
#include "inet/network_init.h"
#include "recording_ui_port.h"
#include "store/session_file.h"
#include "store/session_load.h"
#include "store/temp_file.h"
#include "test_application.h"
#include "ui/commands/subsystem_commands.h"
#include "ui/download_url_window.h"
#include "window_fixture.h"
#include "core/command_ids.h"

#include <QTableView>

namespace lt {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

class DownloadWindowsTest : public test::RoutesServerTest
{
protected:
    void SetUp() override
    {
        test::Application();
        ASSERT_GT(s_server->Port(), 0);
        std::string pattern = (fs::temp_directory_path() / "lt-dlwin-XXXXXX").string();
        dir = mkdtemp(pattern.data());
        app.options.inet.timeoutSeconds = 2;
        app.options.tempFolder = dir.string();
    }
    void TearDown() override { fs::remove_all(dir); }
    static std::string Url(const std::string& path) { return s_server->Url(path); }

    RecordingUiPort ui;
    AppState app{ui};
    fs::path dir;
};

TEST_F(DownloadWindowsTest, BatchWindowDownloadsTwoUrlsAndCloses)
{
    InetSlot& slot = app.inetSlots[1];
    slot.state = kSlotReserved;
    const fs::path out = dir / "out";
    {
        BatchDownloadWindow window(app, slot, {Url("/dl/size/5000/first.bin"), Url("/dl/size/2097152/second.bin")});
        window.show();
        EXPECT_EQ(slot.state.load(), kSlotIdle);
        EXPECT_EQ(window.StatusLine()->text(), QStringLiteral("Status: Idle ..."));
        window.SaveDirEdit()->setText(QString::fromStdString(out.string()));
        window.LogUrlBox()->setChecked(true);
        window.CloseWhenFinishedBox()->setChecked(true);
        ASSERT_TRUE(window.Ok());
        EXPECT_EQ(window.OkButton()->text(), QStringLiteral("&Skip"));
        ASSERT_TRUE(test::WaitFor([&] { return !window.isVisible(); }, 20000));
        EXPECT_EQ(window.List()->topLevelItemCount(), 0);
        EXPECT_EQ(window.CounterLine()->text(), QStringLiteral("Retrieved: 2/2"));
        EXPECT_TRUE(window.StatusLine()->text().startsWith(QStringLiteral("Status: Idle... (")));
        EXPECT_TRUE(window.windowTitle().startsWith(QStringLiteral("Done. 2.05 M"))) << window.windowTitle().toStdString();
        EXPECT_EQ(window.OkButton()->text(), QStringLiteral("&Ok"));
    }
    EXPECT_EQ(slot.state.load(), kSlotFree);
    EXPECT_EQ(fs::file_size(out / "first.bin"), 5000u);
    EXPECT_EQ(fs::file_size(out / "second.bin"), 2097152u);
    EXPECT_EQ(ReadAll(out / "linktrawl.log"),
              Url("/dl/size/5000/first.bin") + "\r\n" + Url("/dl/size/2097152/second.bin") + "\r\n");
    EXPECT_EQ(app.options.inet.downloadDir, out.string());
}

// The window opens where the last one closed, with its column widths; the record is kept in the
// options, so it also reaches the INI file.
TEST_F(DownloadWindowsTest, BatchWindowKeepsItsPlace)
{
    InetSlot& slot = app.inetSlots[1];
    const QRect place(QPoint(30, 40), QSize(520, 330));
    {
        slot.state = kSlotReserved;
        BatchDownloadWindow window(app, slot, {Url("/dl/size/10/a.bin")});
        window.show();
        window.setGeometry(place);
        window.List()->header()->resizeSection(0, 250);
        window.close();
    }
    const std::vector<int>& record = app.options.positions["WPS04"].values;
    ASSERT_EQ(record.size(), 12u);
    EXPECT_EQ(record[2] - record[0], 520);
    EXPECT_EQ(record[5], 250);
    slot.state = kSlotReserved;
    BatchDownloadWindow again(app, slot, {Url("/dl/size/10/a.bin")});
    again.show();
    EXPECT_EQ(again.geometry(), place);
    EXPECT_EQ(again.List()->header()->sectionSize(0), 250);
    again.close();
}

TEST_F(DownloadWindowsTest, FailedRowStaysWithItsErrorAfterTheRetries)
{
    InetSlot& slot = app.inetSlots[1];
    slot.state = kSlotReserved;
    BatchDownloadWindow window(app, slot, {Url("/status/404/gone.bin"), Url("/dl/size/100/finefile.bin")});
    window.SaveDirEdit()->setText(QString::fromStdString(dir.string()));
    window.RetriesEdit()->setText(QStringLiteral("1"));
    window.DelayEdit()->setText(QStringLiteral("0"));
    window.CloseWhenFinishedBox()->setChecked(true);
    window.show();
    ASSERT_TRUE(window.Ok());
    ASSERT_TRUE(test::WaitFor([&] { return !window.Running() && window.OkButton()->text() == QStringLiteral("&Ok"); },
                              20000));
    ASSERT_EQ(window.List()->topLevelItemCount(), 1);
    EXPECT_EQ(window.List()->topLevelItem(0)->text(1), QStringLiteral("Error 404 - Not Found"));
    EXPECT_EQ(window.RetriesEdit()->text(), QStringLiteral("0"));
    EXPECT_TRUE(window.isVisible()); // a row is left: the window stays
    EXPECT_TRUE(fs::exists(dir / "finefile.bin"));
    EXPECT_FALSE(fs::exists(dir / "gone.bin"));
}

TEST_F(DownloadWindowsTest, HandOverWritesAUniqueListFile)
{
    std::string argument;
    const std::vector<std::string> urls = {Url("/a.bin"), Url("/b.bin")};
    ASSERT_TRUE(HandOverBatch(app, urls, "WP:1:2:300:400", [&](const std::string& a) {
        argument = a;
        return true;
    }));
    const std::string prefix = "WP:1:2:300:400:LS1::CM3:";
    ASSERT_EQ(argument.rfind(prefix, 0), 0u) << argument;
    ASSERT_GE(argument.size(), prefix.size() + 5);
    const std::string path = argument.substr(prefix.size(), argument.size() - prefix.size() - 5);
    EXPECT_EQ(argument.substr(argument.size() - 5), ":LS2:");
    EXPECT_NE(fs::path(path).filename(), "tmpfile.txt");
    EXPECT_TRUE(IsOwnTempFile(path, TempFolder(app.options), kHandoffStem, kHandoffExtension));
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
    IniFile settings;
    std::vector<SessionRow> rows;
    ASSERT_TRUE(ParseSessionBytes(ReadAll(path), settings, rows));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][0], urls[0]);
    EXPECT_EQ(rows[1][0], urls[1]);

    // A program window that does not start leaves no file behind.
    const auto before = std::distance(fs::directory_iterator(dir), fs::directory_iterator());
    EXPECT_FALSE(HandOverBatch(app, urls, "WP:0:0:0:0", [](const std::string&) { return false; }));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), before);
}

TEST_F(DownloadWindowsTest, DownloadUrlWindowAsksBeforeOverwriting)
{
    app.options.inet.downloadDir = dir.string();
    InetSlot& slot = app.inetSlots[3];
    slot.state = kSlotReserved;
    DownloadUrlWindow window(app, slot, Url("/dl/size/3000/averyveryverylongnameofadownoadedfile.bin"));
    window.show();
    // Opening proposes the whole name; the button cuts it to 32 characters and numbers past a file.
    EXPECT_EQ(window.SaveToEdit()->text().toStdString(),
              (dir / "averyveryverylongnameofadownoadedfile.bin").string());
    std::ofstream(dir / "averyveryverylongnameofadown.bin") << "old";
    window.ProposeName();
    EXPECT_EQ(window.SaveToEdit()->text().toStdString(), (dir / "averyveryverylongnameofadown_001.bin").string());

    const fs::path target = dir / "averyveryverylongnameofadown.bin";
    window.SaveToEdit()->setText(QString::fromStdString(target.string()));
    ui.QueueAnswer(MsgAnswer::No);
    EXPECT_FALSE(window.Ok());
    EXPECT_NE(ui.LastMessage().text.find("already exists !  Overwrite file ?"), std::string::npos);
    EXPECT_EQ(ReadAll(target), "old");

    ui.QueueAnswer(MsgAnswer::Yes);
    window.CloseWhenFinishedBox()->setChecked(true);
    ASSERT_TRUE(window.Ok());
    ASSERT_TRUE(test::WaitFor([&] { return !window.isVisible(); }, 20000));
    EXPECT_EQ(fs::file_size(target), 3000u);
    EXPECT_EQ(window.RemoteLabel()->text(), QStringLiteral("Remote file:  3000 Bytes "));
    EXPECT_TRUE(window.windowTitle().startsWith(QStringLiteral("Done."))) << window.windowTitle().toStdString();
}

class DownloadCommandsTest : public test::WindowFixture
{
};

TEST_F(DownloadCommandsTest, DownloadFileOpensTheWindowThatFits)
{
    AddRows({"http://a.example/one.bin", "http://b.example/two.bin"});
    window->View()->selectAll();
    ASSERT_TRUE(window->RunCommand(kCmdDownloadFile));
    auto batches = window->findChildren<BatchDownloadWindow*>();
    ASSERT_EQ(batches.size(), 1);
    EXPECT_EQ(batches[0]->List()->topLevelItemCount(), 2);
    EXPECT_EQ(app.inetSlots[1].state.load(), kSlotIdle);
    batches[0]->close();
    ASSERT_TRUE(test::WaitFor([&] { return window->findChildren<BatchDownloadWindow*>().isEmpty(); }));
    EXPECT_EQ(app.inetSlots[1].state.load(), kSlotFree);

    window->View()->clearSelection();
    window->View()->selectRow(1);
    ASSERT_TRUE(window->RunCommand(kCmdDownloadFile));
    auto singles = window->findChildren<DownloadUrlWindow*>();
    ASSERT_EQ(singles.size(), 1);
    EXPECT_EQ(singles[0]->RemoteEdit()->text().toStdString(), app.list.GetCell(1, 0));
    EXPECT_EQ(app.inetSlots[3].state.load(), kSlotIdle);
    // A second one takes the next slot.
    ASSERT_TRUE(window->RunCommand(kCmdDownloadFile));
    EXPECT_EQ(app.inetSlots[4].state.load(), kSlotIdle);
}

} // namespace
} // namespace lt
