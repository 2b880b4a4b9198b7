// SPDX-License-Identifier: GPL-3.0-or-later
// The session, settings-file and text-file-list commands through the window and its dialog hooks.
#include <filesystem>
#include <fstream>

#include "core/command_ids.h"
#include "core/window_messages.h"
#include "store/session_load.h"
#include "window_fixture.h"

namespace lt::test {
namespace {

namespace fs = std::filesystem;

class SessionCommandsTest : public WindowFixture
{
protected:
    std::string Path(const char* name) const { return dir.filePath(QString::fromUtf8(name)).toStdString(); }
    void Answer(const std::string& path)
    {
        window->TestHooks().saveFileName = [path](const QString&) { return QString::fromStdString(path); };
        window->TestHooks().pickFiles = [path] { return QStringList{QString::fromStdString(path)}; };
    }
    bool HasMessage(const std::string& text)
    {
        for (const std::string& m : Messages())
            if (m.find(text) != std::string::npos)
                return true;
        return false;
    }
};

TEST_F(SessionCommandsTest, SaveLoadAndAppendASession)
{
    AddRows({"http://b.example/", "http://a.example/"});
    const std::string ltn = Path("list.ltn");
    Answer(ltn);
    ASSERT_TRUE(window->RunCommand(kCmdSessionSaveAs));
    EXPECT_TRUE(HasMessage("LinkTrawl: Session saved !"));
    EXPECT_EQ(app.options.jobFolder, dir.path().toStdString() + "/");

    app.list.ClearRows();
    ASSERT_TRUE(window->RunCommand(kCmdSessionLoad));
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(app.list.RowCount(), 2u);
    EXPECT_TRUE(HasMessage("found !"));

    ASSERT_TRUE(window->RunCommand(kCmdSessionAppend));
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(app.list.RowCount(), 4u);
    EXPECT_TRUE(HasMessage("added."));

    // A settings file offered as a session changes nothing.
    std::ofstream(Path("s.lts"), std::ios::binary) << "[LTSfile]\r\nU0=2\r\n";
    Answer(Path("s.lts"));
    EXPECT_TRUE(window->RunCommand(kCmdSessionLoad));
    EXPECT_TRUE(HasMessage(kLoadSessionFailed));
    EXPECT_EQ(app.list.RowCount(), 4u);
}

TEST_F(SessionCommandsTest, SettingsSaveAsAndLoad)
{
    app.settings.mustText = "kept filter";
    const std::string lts = Path("search.lts");
    Answer(lts);
    ASSERT_TRUE(window->RunCommand(kCmdSettingsSaveAs));
    EXPECT_TRUE(HasMessage("Search Settings saved !"));
    app.settings.mustText.clear();
    ASSERT_TRUE(window->RunCommand(kCmdSettingsLoad));
    EXPECT_EQ(app.settings.mustText, "kept filter");

    std::ofstream(Path("plain.lts"), std::ios::binary) << "[OTHER]\r\nx=1\r\n";
    Answer(Path("plain.lts"));
    ASSERT_TRUE(window->RunCommand(kCmdSettingsLoad));
    EXPECT_TRUE(HasMessage("No Search Settings found !"));
}

TEST_F(SessionCommandsTest, TextFileBecomesAFileList)
{
    std::ofstream(Path("files.txt"), std::ios::binary) << "/etc/hosts\n\n/etc/passwd\n";
    Answer(Path("files.txt"));
    ASSERT_TRUE(window->RunCommand(kCmdFileListFromText));
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(app.listState.kind, kListFileList);
    EXPECT_EQ(Column0(), (std::vector<std::string>{"/etc/hosts", "/etc/passwd"}));
}

TEST_F(SessionCommandsTest, StartFileAndHandoffSessionsLoad)
{
    AddRows({"http://c.example/"});
    ASSERT_EQ(SaveSessionCommand(app, Path("start.ltn")), 1);
    app.list.ClearRows();
    app.startup.startFile = Path("start.ltn");
    window->OnPost(kMsgOpenStartFile, 0, 3);
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(app.list.RowCount(), 1u);

    app.startup.handoffText = Path("start.ltn");
    window->OnPost(kMsgLoadHandoffSession, 0, 0);
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(app.list.RowCount(), 1u);
    EXPECT_TRUE(fs::exists(Path("start.ltn"))); // not a hand-over file of ours
}

} // namespace
} // namespace lt::test
