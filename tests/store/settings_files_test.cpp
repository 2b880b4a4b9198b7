// SPDX-License-Identifier: GPL-3.0-or-later
// Settings (.lts), job (.ltj) and session files offered to the settings reader and writer.
#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "program_files.h"

#include "core/app_state.h"
#include "recording_ui_port.h"
#include "store/settings_io.h"

namespace lt {
namespace {

using testing_support::ReadAll;

namespace fs = std::filesystem;

class SettingsFilesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("lt-setfiles-" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }
    std::string Put(const std::string& name, const std::string& bytes)
    {
        std::ofstream(m_dir / name, std::ios::binary) << bytes;
        return (m_dir / name).string();
    }

    RecordingUiPort port;
    AppState app{port};
    fs::path m_dir;
};

TEST_F(SettingsFilesTest, EachLoadCodeTakesOnlyItsKindOfFile)
{
    const std::string body = "[OPTIONS]\r\nR1=filter\r\n[INET]\r\nRI1=2\r\nRI3=follow\r\n";
    struct Case
    {
        const char* u0; // nullptr: no LTSfile section
        int code;
        int result;
    } cases[] = {
        {"2", kSettingsLoad, 0},        {"3", kSettingsLoad, 0},   {"4", kSettingsLoad, 0},
        {"5", kSettingsLoad, -1},       {"0", kSettingsLoad, -1},  {nullptr, kSettingsLoad, -1},
        {"2", kSettingsLoadJob, -1},    {"3", kSettingsLoadJob, -1}, {"4", kSettingsLoadJob, 0},
        {"3", kSettingsSessionCheck, 1}, {"0", kSettingsSessionCheck, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.u0 ? c.u0 : "none") + " " + std::to_string(c.code));
        RecordingUiPort p;
        AppState a(p);
        const std::string path =
            Put("f.lts", (c.u0 ? std::string("[LTSfile]\r\nU0=") + c.u0 + "\r\n" : std::string()) + body);
        EXPECT_EQ(ReadSettings(a, path, c.code), c.result);
        const bool applied = c.result == 0;
        // A job brings its filter texts only when its filters are in force (R0), which they are not.
        EXPECT_EQ(a.settings.mustText, applied && c.code != kSettingsLoadJob ? "filter" : "");
        // A job's INET section comes only with the job load.
        EXPECT_EQ(a.options.inet.crawlMode, applied && c.code == kSettingsLoadJob ? 2 : 0);
    }
}

TEST_F(SettingsFilesTest, ForeignTempFolderIsNeitherTakenNorMade)
{
    const fs::path cwd = fs::current_path();
    fs::current_path(m_dir);
    app.options.tempFolder = "/tmp";
    const std::string windows = Put("w.lts", "[LTSfile]\r\nU0=2\r\n[DIRS]\r\nTEMPO=C:\\Temp\r\n");
    EXPECT_EQ(ReadSettings(app, windows, kSettingsLoad), 0);
    EXPECT_EQ(app.options.tempFolder, "/tmp");
    const std::string missing = Put("m.lts", "[LTSfile]\r\nU0=2\r\n[DIRS]\r\nTEMPO=" + (m_dir / "nope").string() + "\r\n");
    EXPECT_EQ(ReadSettings(app, missing, kSettingsLoad), 0);
    EXPECT_EQ(app.options.tempFolder, "/tmp");
    fs::current_path(cwd);
    EXPECT_FALSE(fs::exists(m_dir / "C:\\Temp"));
    EXPECT_FALSE(fs::exists(m_dir / "nope"));
    const std::string good = Put("g.lts", "[LTSfile]\r\nU0=2\r\n[DIRS]\r\nTEMPO=" + m_dir.string() + "\r\n");
    EXPECT_EQ(ReadSettings(app, good, kSettingsLoad), 0);
    EXPECT_EQ(app.options.tempFolder, m_dir.string());
}

TEST_F(SettingsFilesTest, SaveAsWritesAFreshFileAndSaveNowMerges)
{
    const std::string lts = Put("s.lts", "[STALE]\r\nkey=old\r\n");
    app.settings.mustText = "new";
    EXPECT_EQ(WriteSettings(app, lts, kSettingsSaveAs), 0);
    std::string text = ReadAll(lts);
    EXPECT_EQ(text.find("STALE"), std::string::npos);
    EXPECT_NE(text.find("U0=2"), std::string::npos);
    EXPECT_EQ(text.find("[INET]\r\nIU0"), std::string::npos);

    const std::string ltj = Put("j.ltj", "[STALE]\r\nkey=old\r\n");
    app.options.inet.crawlMode = 3;
    app.settings.restrictEnabled = true;
    EXPECT_EQ(WriteSettings(app, ltj, kSettingsSaveJob), 0);
    text = ReadAll(ltj);
    EXPECT_EQ(text.find("STALE"), std::string::npos);
    EXPECT_NE(text.find("U0=4"), std::string::npos);
    RecordingUiPort p;
    AppState other(p);
    EXPECT_EQ(ReadSettings(other, ltj, kSettingsLoadJob), 0);
    EXPECT_EQ(other.options.inet.crawlMode, 3);
    EXPECT_EQ(other.settings.mustText, "new");

    const std::string ini = Put("linktrawl.ini", "[MINE]\r\nkey=kept\r\n");
    EXPECT_EQ(WriteSettings(app, ini, kSettingsSaveNow), 0);
    EXPECT_NE(ReadAll(ini).find("key=kept"), std::string::npos);
}

TEST_F(SettingsFilesTest, OversizedFileIsRefusedWithNothingChanged)
{
    app.settings.mustText = "mine";
    const std::string big = Put("big.lts", "[LTSfile]\r\nU0=2\r\n[OPTIONS]\r\nR1=theirs\r\n" +
                                               std::string(IniFile::kMaxBytes, ';') + "\r\n");
    std::string error;
    EXPECT_EQ(ReadSettings(app, big, kSettingsLoad, &error), -1);
    EXPECT_NE(error, "");
    EXPECT_EQ(app.settings.mustText, "mine");
}

TEST_F(SettingsFilesTest, LargeSessionGivesItsSettingsAndAFifoGivesAnError)
{
    std::string rows;
    while (rows.size() <= IniFile::kMaxBytes)
        rows += "01http://example.com/a/long/enough/path/to/fill/the/file\r\n";
    const std::string ltn =
        Put("big.ltn", "[LinkTrawl Session file]\r\n\r\n\r\n[LTSfile]\r\n\r\nU0=3\r\n\r\n\r\n[OPTIONS]\r\n\r\n"
                       "R1=from session\r\n\r\n\r\n[ROWS]\r\n" + rows);
    EXPECT_EQ(ReadSettings(app, ltn, kSettingsLoad), 0);
    EXPECT_EQ(app.settings.mustText, "from session");
    EXPECT_EQ(app.list.RowCount(), 0u);

    const fs::path fifo = m_dir / "fifo.lts";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string error;
    EXPECT_EQ(ReadSettings(app, fifo.string(), kSettingsLoad, &error), -1);
    EXPECT_NE(error.find("not a regular file"), std::string::npos);
}

} // namespace
} // namespace lt
