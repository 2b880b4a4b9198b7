// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/settings_io.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "program_files.h"

#include "core/app_state.h"
#include "recording_ui_port.h"
#include "search/filter_date.h"

namespace lt {
namespace {

using testing_support::ReadAll;

namespace fs = std::filesystem;

IniFile Ini(const std::string& text)
{
    IniFile ini;
    EXPECT_TRUE(ini.LoadBytes(text));
    return ini;
}

class SettingsIoTest : public ::testing::Test
{
protected:
    void SetUp() override { app.startup.programFolder = "/opt/lt/"; }
    void Startup(const std::string& text) { ReadIniAtStartup(app, Ini(text)); }
    RecordingUiPort port;
    AppState app{port};
};

TEST_F(SettingsIoTest, EmptyIniGivesTheDefaults)
{
    app.settings.itemKind = 5;
    app.options.saveSearchOnExit = true;
    Startup("");
    const SearchSettings& s = app.settings;
    EXPECT_EQ(s.itemKind, 0);
    EXPECT_EQ(s.minimalLength, 6);
    EXPECT_EQ(s.ipSumLimit, 10);
    EXPECT_EQ(s.duplicatesPolicy, 1);
    EXPECT_EQ(s.fileTypeMode, 2);
    EXPECT_TRUE(s.userEntireLine);
    EXPECT_FALSE(s.userHex);
    EXPECT_TRUE(s.findHttps);
    EXPECT_EQ(s.userStrings[0], "Saved by Linktrawl from:");
    EXPECT_FALSE(s.restrictEnabled);
    const Options& o = app.options;
    EXPECT_TRUE(o.standardBrowser); // no program to launch
    EXPECT_EQ(o.rowColor, "0xE6FFFE");
    EXPECT_EQ(o.browserOrder, "123");
    EXPECT_EQ(o.joinDirSuffix, "_files");
    EXPECT_EQ(o.inet.followMustNot, kDefaultFollowMustNot);
    EXPECT_EQ(o.inet.proxies, std::vector<std::string>{kDefaultProxy});
    EXPECT_EQ(o.inet.savePath, "/opt/lt/tmp01.htm");
    EXPECT_EQ(o.inet.timeoutSeconds, 30);
    EXPECT_TRUE(o.inet.followMustAll);
    EXPECT_FALSE(o.saveSearchOnExit);
    EXPECT_EQ(app.exportSettings.order, "123456");
    EXPECT_EQ(app.anchors.anchor1, "http://");
}

TEST_F(SettingsIoTest, WinePrefixIsWrittenOnlyOnceSet)
{
    Startup("[DIRS]\r\nWINEPREFIX= /home/u/.wine-ie \r\n");
    EXPECT_EQ(app.options.winePrefix, "/home/u/.wine-ie");
    IniFile without = Ini("[DIRS]\r\nSAVE=x\r\n");
    Startup(without.ToBytes());
    WriteIniAtClose(app, without);
    EXPECT_FALSE(without.HasKey("DIRS", "WINEPREFIX"));
    app.options.winePrefix = "/p";
    WriteIniAtClose(app, without);
    EXPECT_EQ(without.GetString("DIRS", "WINEPREFIX", ""), "/p");
}

TEST_F(SettingsIoTest, HistoriesEndAtTheFirstEmptyEntryButFoldersArePacked)
{
    Startup("[SEARCH]\nRM0=a\nRM1=b\nRM2=\nRM3=c\n[DIRS]\nD0=\nD1=/x\nD4=/y\n");
    EXPECT_EQ(app.settings.mustHistory, (History{"a", "b"}));
    EXPECT_EQ(app.settings.folders, (History{"/x", "/y"}));
    EXPECT_EQ(app.options.openFolder, "/x");

    Startup("[DIRS]\nOPEN=/o\nINIT=/i\nD0=/x\n");
    EXPECT_EQ(app.options.openFolder, "/i");
}

TEST_F(SettingsIoTest, LengthAndIpSumValueForms)
{
    struct Case
    {
        const char* r11;
        int min, sum;
    };
    for (const Case& c : {Case{"3;2000", 3, 1020}, Case{"7;0", 7, 0}, Case{"-1;5", 6, 5},
                          Case{"abc;x", 6, 10}, Case{"0;12", 6, 12}}) {
        Startup(std::string("[OPTIONS]\nR11=") + c.r11 + "\n");
        EXPECT_EQ(app.settings.minimalLength, c.min) << c.r11;
        EXPECT_EQ(app.settings.previousMinimalLength, c.min) << c.r11;
        EXPECT_EQ(app.settings.ipSumLimit, c.sum) << c.r11;
    }
    // Without ";" the sum keeps its value.
    app.settings.ipSumLimit = 77;
    ReadSettings(app, Ini("[LTSfile]\nU0=2\n[OPTIONS]\nR11=4\n"), kSettingsLoad);
    EXPECT_EQ(app.settings.minimalLength, 4);
    EXPECT_EQ(app.settings.ipSumLimit, 77);
}

TEST_F(SettingsIoTest, DigitStringKeepsDefaultsForMissingOrBadPositions)
{
    Startup("[OPTIONS]\nR12=1\n");
    EXPECT_TRUE(app.settings.userUrlLike);
    EXPECT_TRUE(app.settings.userEntireLine);
    EXPECT_FALSE(app.settings.userHex);
    Startup("[OPTIONS]\nR12=x011110\n");
    EXPECT_FALSE(app.settings.userUrlLike);
    EXPECT_FALSE(app.settings.userEntireLine);
    EXPECT_TRUE(app.options.logUrl);
    EXPECT_TRUE(app.settings.userHex);
    EXPECT_TRUE(app.options.alternateRowColors);
    EXPECT_EQ(app.settings.r12, "0011110");
}

TEST_F(SettingsIoTest, InvalidValuesReadAsFallbacks)
{
    Startup("[OPTIONS]\nR6=9\nR8=7\nR14=40\nA5=112\nRColor=0xZZ\nR15=33\n[SEARCH]\nOT=-1\n[INET]\nRI1="
            "4\nRI12=0\nRI21=65\n");
    EXPECT_EQ(app.settings.itemKind, 0);
    EXPECT_EQ(app.settings.duplicatesPolicy, 1);
    EXPECT_EQ(app.options.savedListKind, 0);
    EXPECT_EQ(app.options.browserOrder, "123");
    EXPECT_EQ(app.options.rowColor, "0xE6FFFE");
    EXPECT_EQ(app.exportSettings.order, "123456");
    EXPECT_EQ(app.settings.fileTypeMode, 2);
    EXPECT_EQ(app.options.inet.crawlMode, 0);
    EXPECT_EQ(app.options.inet.timeoutSeconds, 30);
    EXPECT_EQ(app.options.inet.parallelRequests, 8);

    // Kind 4 needs a user string.
    Startup("[OPTIONS]\nR6=4\nR7=\nSU0=\n");
    EXPECT_EQ(app.settings.itemKind, 0);
    Startup("[OPTIONS]\nR6=4\nR7=needle\n");
    EXPECT_EQ(app.settings.itemKind, 4);
    EXPECT_EQ(app.settings.userStrings[0], "needle");
    EXPECT_EQ(app.anchors.anchor1, "needle");
}

TEST_F(SettingsIoTest, ExportAndInetValueForms)
{
    Startup("[OPTIONS]\nR15=321\nA6=0,\nA7=00000011\n[INET]\nRI4=\nRI17=a:1; b:2;;\n");
    EXPECT_EQ(app.exportSettings.order, "321456");
    EXPECT_FALSE(app.exportSettings.multipleCells);
    EXPECT_EQ(app.exportSettings.delimiter, ',');
    // No column ticked: the first one is.
    EXPECT_EQ(app.exportSettings.columns, (std::array<bool, 6>{true, false, false, false, false, false}));
    EXPECT_EQ(app.exportSettings.a7Rest, "11");
    EXPECT_EQ(app.options.inet.followMustNot, kDefaultFollowMustNot);
    EXPECT_EQ(app.options.inet.proxies, (std::vector<std::string>{"a:1", "b:2"}));
}

TEST_F(SettingsIoTest, FolderDialogSettings)
{
    Startup("[SEARCH]\nSUB=1\nDF=1\nDFLD=2\nDFROM=2020/01/02 03:04:05\nDTO=bad\nSZA=1;5000000000\nSZB=x\n"
            "[OPTIONS]\nHTTPS=0\n");
    const SearchSettings& s = app.settings;
    EXPECT_TRUE(s.includeSubdirectories);
    EXPECT_TRUE(s.dateFilter);
    EXPECT_EQ(s.dateField, 2);
    EXPECT_EQ(s.dateFrom.year, 2020);
    EXPECT_EQ(s.dateFrom.second, 5);
    EXPECT_EQ(s.dateTo.year, 1990);
    EXPECT_TRUE(s.sizeAbove.on);
    EXPECT_EQ(s.sizeAbove.bytes, 5000000000ull);
    EXPECT_FALSE(s.sizeBelow.on);
    EXPECT_FALSE(s.findHttps);
    // The date field only counts while the date filter is on.
    Startup("[SEARCH]\nDF=0\nDFLD=2\n");
    EXPECT_EQ(app.settings.dateField, 1);
}

TEST_F(SettingsIoTest, FileTypeCodeDecidesWhatIsRead)
{
    EXPECT_EQ(ReadSettings(app, Ini("[OPTIONS]\nR6=3\n"), kSettingsLoad), -1);
    EXPECT_EQ(ReadSettings(app, Ini("[LTSfile]\nU0=0\n[OPTIONS]\nR6=3\n"), kSettingsLoad), -1);
    EXPECT_EQ(ReadSettings(app, Ini("[LTSfile]\nU0=junk\n[OPTIONS]\nR6=3\n"), kSettingsLoad), -1);
    EXPECT_EQ(app.settings.itemKind, 0);
    // A session holds search settings too.
    EXPECT_EQ(ReadSettings(app, Ini("[LTSfile]\nU0=3\n[OPTIONS]\nR6=3\n"), kSettingsLoad), 0);
    EXPECT_EQ(app.settings.itemKind, 3);
    // A settings file is not a job.
    EXPECT_EQ(ReadSettings(app, Ini("[LTSfile]\nU0=2\n[OPTIONS]\nR6=1\n"), kSettingsLoadJob), -1);
    EXPECT_EQ(app.settings.itemKind, 3);
    EXPECT_EQ(ReadSettings(app, Ini("[LTSfile]\nU0=3\n[OPTIONS]\nR6=1\n"), kSettingsSessionCheck), 1);
    EXPECT_EQ(app.settings.itemKind, 3);
    // At start-up the code is not checked.
    EXPECT_EQ(ReadSettings(app, Ini("[OPTIONS]\nR6=2\n"), kSettingsStartup), 0);
    EXPECT_EQ(app.settings.itemKind, 2);
    EXPECT_EQ(ReadSettings(app, std::string(), kSettingsLoad), -1);
}

TEST_F(SettingsIoTest, LoadingAFileKeepsWhatTheFileDoesNotHold)
{
    app.options.launchProgram = "/usr/bin/firefox";
    app.options.standardBrowser = false;
    app.options.printerFontFace = "Serif";
    app.settings.mustHistory = {"kept"};
    app.exportSettings.delimiter = '\t';
    ASSERT_EQ(ReadSettings(app, Ini("[LTSfile]\nU0=2\n[OPTIONS]\nR0=1\nR1=abc\n"), kSettingsLoad), 0);
    EXPECT_EQ(app.options.launchProgram, "/usr/bin/firefox");
    EXPECT_FALSE(app.options.standardBrowser);
    EXPECT_EQ(app.options.printerFontFace, "Serif");
    EXPECT_EQ(app.settings.mustHistory[0], "kept");
    EXPECT_EQ(app.exportSettings.delimiter, '\t');
    // The filters are in force and their words are built.
    EXPECT_TRUE(app.settings.restrictEnabled);
    EXPECT_EQ(app.filterWords.must, std::vector<std::string>{"abc"});
}

TEST_F(SettingsIoTest, JobWithFiltersOffReadsItsInetSectionOnly)
{
    ASSERT_EQ(ReadSettings(app,
                           Ini("[LTSfile]\nU0=4\n[OPTIONS]\nR0=0\nR6=3\n[INET]\nRI8=http://a.example/\n"),
                           kSettingsLoadJob),
              0);
    EXPECT_EQ(app.settings.itemKind, 0);
    EXPECT_EQ(app.options.inet.startUrl, "http://a.example/");
}

TEST_F(SettingsIoTest, SettingsFileRoundTrip)
{
    SearchSettings& s = app.settings;
    s.itemKind = 4;
    s.userStrings = {" padded user string ", "second"};
    s.userHex = false;
    s.userUrlLike = true;
    s.userEntireLine = false;
    s.caseSensitive = true;
    s.minimalLength = 3;
    s.ipSumLimit = 500;
    s.duplicatesPolicy = 3;
    s.restrictEnabled = true;
    s.mustText = "a,b";
    s.mustNotText = "\"quoted\"";
    s.mustHistory = {"h1", "h2"};
    s.fileTypeMode = 0;
    s.includeMasks = "*.htm; *.html";
    s.folders = {"/data/one", "/data/two"};
    s.includeSubdirectories = true;
    s.dateFilter = true;
    s.dateField = 0;
    ParseFilterDate("2021/05/06 07:08:09", s.dateTo);
    s.sizeBelow = {true, 1ull << 40};
    s.findHttps = false;
    app.options.saveFolder = "/save";
    app.options.r5 = 42;
    app.exportSettings.order = "654321";
    app.options.inet.followMust = "keep";
    app.listState.kind = kListFileList;

    IniFile ini;
    ASSERT_EQ(WriteSettings(app, ini, kSettingsSaveAs), 0);
    EXPECT_EQ(ini.GetString(kSecLtsFile, "U0", ""), "2");
    EXPECT_EQ(ini.GetString(kSecOptions, "R12", ""), "1000010");
    EXPECT_EQ(ini.GetString(kSecOptions, "R11", ""), "3;500");
    EXPECT_EQ(ini.GetString(kSecSearch, "SZB", ""), "1;1099511627776");
    EXPECT_EQ(ini.GetString(kSecSearch, "DTO", ""), "2021/05/06 07:08:09");

    RecordingUiPort port2;
    AppState other(port2);
    ASSERT_EQ(ReadSettings(other, Ini(ini.ToBytes()), kSettingsLoad), 0);
    const SearchSettings& t = other.settings;
    EXPECT_EQ(t.itemKind, 4);
    EXPECT_EQ(t.userStrings, s.userStrings);
    EXPECT_TRUE(t.userUrlLike);
    EXPECT_FALSE(t.userEntireLine);
    EXPECT_TRUE(t.caseSensitive);
    EXPECT_EQ(t.minimalLength, 3);
    EXPECT_EQ(t.ipSumLimit, 500);
    EXPECT_EQ(t.duplicatesPolicy, 3);
    EXPECT_TRUE(t.restrictEnabled);
    EXPECT_EQ(t.mustText, "a,b");
    EXPECT_EQ(t.mustNotText, "\"quoted\"");
    EXPECT_EQ(t.mustHistory, s.mustHistory);
    EXPECT_EQ(t.fileTypeMode, 0);
    EXPECT_EQ(t.includeMasks, s.includeMasks);
    EXPECT_EQ(t.folders, s.folders);
    EXPECT_TRUE(t.includeSubdirectories);
    EXPECT_EQ(t.dateField, 0);
    EXPECT_EQ(t.dateTo.text, "2021/05/06 07:08:09");
    EXPECT_TRUE(t.sizeBelow.on);
    EXPECT_EQ(t.sizeBelow.bytes, 1ull << 40);
    EXPECT_FALSE(t.findHttps);
    EXPECT_EQ(other.options.saveFolder, "/save");
    EXPECT_EQ(other.options.r5, 42);
    EXPECT_EQ(other.options.savedListKind, kListFileList);
    EXPECT_EQ(other.exportSettings.order, "654321");
    EXPECT_EQ(other.options.inet.followMust, "keep");
    // The item character table follows "Url like".
    EXPECT_FALSE(other.tables.itemChars[' ']);
}

TEST_F(SettingsIoTest, SaveNowKeepsTheIniMarkedAsIni)
{
    IniFile ini;
    EXPECT_EQ(WriteSettings(app, ini, kSettingsSaveNow), 0);
    EXPECT_EQ(ini.GetString(kSecLtsFile, "U0", ""), "1");
    EXPECT_EQ(WriteSettings(app, ini, kSettingsSaveJob), 0);
    EXPECT_EQ(ini.GetString(kSecLtsFile, "U0", ""), "4");
    EXPECT_TRUE(ini.HasKey(kSecInet, "RI17"));
    EXPECT_EQ(WriteSettings(app, ini, kSettingsLoad), -1);
}

TEST_F(SettingsIoTest, PositionRecords)
{
    IniFile ini = Ini("[WPOS]\nWPS01=000100002000030\nWPS02=0001x\nWPS03=00001000020000\n");
    PositionRecord r = ReadPosition(ini, "WPS01");
    EXPECT_EQ(r.values, (std::vector<int>{10, 20, 30}));
    EXPECT_EQ(r.checksum, 60);
    EXPECT_TRUE(ReadPosition(ini, "WPS02").values.empty());
    // A part field at the end is not a value.
    EXPECT_EQ(ReadPosition(ini, "WPS03").values, (std::vector<int>{1, 2}));

    // An unchanged sum is not written again.
    EXPECT_FALSE(WritePosition(ini, "WPS01", r));
    r.values = {30001, -5, 30000, 7};
    EXPECT_TRUE(WritePosition(ini, "WPS01", r));
    EXPECT_EQ(ini.GetString(kSecWpos, "WPS01", ""), "00000000003000000007");
    EXPECT_FALSE(WritePosition(ini, "WPS01", r));
}

class SettingsCloseTest : public SettingsIoTest
{
protected:
    void SetUp() override
    {
        SettingsIoTest::SetUp();
        m_dir = fs::temp_directory_path() / ("settings_close_test_" + std::to_string(::getpid()) + "_" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        m_ini = (m_dir / "cfg" / "linktrawl.ini").string();
    }
    void TearDown() override { fs::remove_all(m_dir); }
    fs::path m_dir;
    std::string m_ini;
};

TEST_F(SettingsCloseTest, NothingWrittenWithoutChangesAndWithoutAFile)
{
    const CloseWriteResult r = WriteIniAtClose(app, m_ini);
    EXPECT_FALSE(r.written);
    EXPECT_EQ(r.error, "");
    EXPECT_FALSE(fs::exists(m_dir / "cfg"));

    app.options.optionsChanged = true;
    EXPECT_TRUE(WriteIniAtClose(app, m_ini).written);
    EXPECT_TRUE(fs::exists(m_ini));
}

// The FTP login is written by hand into the INI file; the close keeps it and the file becomes the
// owner's alone.
TEST_F(SettingsCloseTest, FtpPasswordMakesTheFileTheOwnersOnly)
{
    fs::create_directories(m_dir / "cfg");
    std::ofstream(m_ini, std::ios::binary) << "[INET]\r\nRI19=me\r\nRI20=s3cret\r\n";
    ::chmod(m_ini.c_str(), 0644);
    app.options.inet.ftpPassword = "s3cret";
    ASSERT_TRUE(WriteIniAtClose(app, m_ini).written);
    EXPECT_EQ(fs::status(m_ini).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_NE(ReadAll(m_ini).find("RI20=s3cret"), std::string::npos);
}

TEST_F(SettingsCloseTest, FolderThatIsAFileMeansNeverWrite)
{
    std::ofstream(m_dir / "cfg") << "a file";
    app.options.optionsChanged = true;
    EXPECT_FALSE(WriteIniAtClose(app, m_ini).written);
    EXPECT_EQ(ReadAll(m_dir / "cfg"), "a file");
    EXPECT_EQ(WriteSettings(app, m_ini, kSettingsClose), -1);
}

TEST_F(SettingsCloseTest, CloseKeepsForeignLinesAndWritesOnlyTickedGroups)
{
    fs::create_directories(m_dir / "cfg");
    std::ofstream(m_ini, std::ios::binary) << "; my notes\r\n[OPTIONS]\r\nR6=2\r\nR12=0100000\r\nP4=Old\r\n"
                                              "[FillCols]\r\nFCLINES=3\r\n";
    ReadIniAtStartup(app, m_ini);
    EXPECT_EQ(app.settings.itemKind, 2);
    app.settings.itemKind = 6;
    app.settings.userHex = true;
    app.options.alternateRowColors = true;
    app.options.printerFontFace = "New";
    app.options.textWin = true;
    app.options.positions["WPS01"].values = {1, 2, 3};
    app.exportSettings.delimiter = ' ';

    CloseWriteResult r = WriteIniAtClose(app, m_ini);
    ASSERT_TRUE(r.written) << r.error;
    IniFile back;
    ASSERT_EQ(back.Load(m_ini), "");
    EXPECT_EQ(back.GetString(kSecOptions, "R6", ""), "2");
    // The options-page digit is stored, the search digit is not.
    EXPECT_EQ(back.GetString(kSecOptions, "R12", ""), "0100010");
    EXPECT_EQ(back.GetString(kSecOptions, "P4", ""), "Old");
    EXPECT_EQ(back.GetString(kSecOptions, "TextWin", ""), "1");
    EXPECT_FALSE(back.HasKey(kSecWpos, "WPS01"));
    EXPECT_EQ(back.GetString("fillcols", "fclines", ""), "3");
    EXPECT_EQ(ReadAll(m_ini).rfind("; my notes\r\n[OPTIONS]\r\n", 0), 0u);
    {
        RecordingUiPort port2;
        AppState next(port2);
        EXPECT_EQ(ReadIniAtStartup(next, m_ini), "");
        EXPECT_EQ(next.exportSettings.delimiter, ' ');
        EXPECT_TRUE(next.options.textWin);
    }

    app.options.saveSearchOnExit = true;
    app.options.savePrinterFontOnExit = true;
    app.options.saveWindowPositionsOnExit = true;
    ASSERT_TRUE(WriteIniAtClose(app, m_ini).written);
    ASSERT_EQ(back.Load(m_ini), "");
    EXPECT_EQ(back.GetString(kSecOptions, "R6", ""), "6");
    EXPECT_EQ(back.GetString(kSecOptions, "R12", ""), "0100110");
    EXPECT_EQ(back.GetString(kSecOptions, "P4", ""), "New");
    EXPECT_EQ(back.GetString(kSecWpos, "WPS01", ""), "000010000200003");
}

TEST_F(SettingsCloseTest, UnreadableFileIsNeverReplaced)
{
    fs::create_directories(m_dir / "cfg");
    const std::string big(IniFile::kMaxBytes + 10, 'x');
    std::ofstream(m_ini, std::ios::binary) << big;
    EXPECT_NE(ReadIniAtStartup(app, m_ini), "");
    app.options.optionsChanged = true;
    const CloseWriteResult r = WriteIniAtClose(app, m_ini);
    EXPECT_FALSE(r.written);
    EXPECT_NE(r.error, "");
    EXPECT_EQ(fs::file_size(m_ini), big.size());
    EXPECT_EQ(WriteSettings(app, m_ini, kSettingsSaveNow), -1);
}

TEST_F(SettingsCloseTest, SaveNowAndLoadThroughFiles)
{
    app.settings.itemKind = 7;
    std::string error;
    ASSERT_EQ(WriteSettings(app, m_ini, kSettingsSaveNow, &error), 0) << error;
    const std::string lts = (m_dir / "a.lts").string();
    ASSERT_EQ(WriteSettings(app, lts, kSettingsSaveAs, &error), 0) << error;

    RecordingUiPort port2;
    AppState other(port2);
    EXPECT_EQ(ReadSettings(other, lts, kSettingsLoadJob), -1);
    EXPECT_EQ(ReadSettings(other, lts, kSettingsLoad), 0);
    EXPECT_EQ(other.settings.itemKind, 7);
    EXPECT_EQ(ReadSettings(other, (m_dir / "none.lts").string(), kSettingsLoad, &error), -1);
    EXPECT_NE(error, "");
}

TEST_F(SettingsCloseTest, TemporaryFolderIsMadeWhenMissing)
{
    fs::create_directories(m_dir / "cfg");
    const fs::path temp = m_dir / "tmp" / "lt";
    std::ofstream(m_ini) << "[DIRS]\nTEMPO=" << temp.string() << "\n";
    EXPECT_EQ(ReadIniAtStartup(app, m_ini), "");
    EXPECT_EQ(app.options.tempFolder, temp.string());
    EXPECT_TRUE(fs::is_directory(temp));
}

TEST_F(SettingsCloseTest, MissingIniFileAtStartupIsNoError)
{
    EXPECT_EQ(ReadIniAtStartup(app, m_ini), "");
    EXPECT_EQ(app.settings.minimalLength, 6);
}

} // namespace
} // namespace lt
