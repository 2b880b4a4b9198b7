// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/ini_file.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "program_files.h"

namespace lt {
namespace {

using testing_support::ReadAll;

IniFile Parse(std::string_view bytes)
{
    IniFile ini;
    EXPECT_TRUE(ini.LoadBytes(bytes));
    return ini;
}

// A mark left by an editor must not hide the first section, nor make a write add a second copy.
TEST(IniFileTest, ByteOrderMarkIsSkippedOnReadingAndKeptOnWriting)
{
    IniFile ini = Parse("\xEF\xBB\xBF[OPTIONS]\r\nR6=5\r\n");
    EXPECT_EQ(ini.GetInt("OPTIONS", "R6", -1), 5);
    ini.SetInt("OPTIONS", "R6", 7);
    EXPECT_EQ(ini.ToBytes(), "\xEF\xBB\xBF[OPTIONS]\r\nR6=7\r\n");
    EXPECT_EQ(Parse("[A]\r\nk=v\r\n").ToBytes(), "[A]\r\nk=v\r\n");
}

TEST(IniFileTest, MatchesSectionsAndKeysWithoutCaseAndFirstMatchWins)
{
    const IniFile ini = Parse("[Options]\r\nr6 = 5\r\nR6=7\r\n[OPTIONS]\r\nR8=2\r\n[search]\r\nOT=\t1 \r\n");
    EXPECT_EQ(ini.GetString("OPTIONS", "R6", "x"), "5");
    EXPECT_EQ(ini.GetString("options", "r6", "x"), "5");
    // Keys of a second section of the same name are not seen.
    EXPECT_EQ(ini.GetString("OPTIONS", "R8", "d"), "d");
    EXPECT_EQ(ini.GetString("SEARCH", "ot", "d"), "1");
    EXPECT_EQ(ini.GetString("SEARCH", "missing", "def"), "def");
    EXPECT_EQ(ini.GetString("NOSECTION", "OT", "def"), "def");
}

TEST(IniFileTest, ReadsLfAndCrlfAndIgnoresKeysOutsideSections)
{
    const IniFile ini = Parse("R1=outside\n[A]\nx=1\r\ny = two words  \nz\n;c=3\n[B]\nx=last");
    EXPECT_EQ(ini.GetString("A", "R1", "d"), "d");
    EXPECT_EQ(ini.GetString("A", "x", ""), "1");
    EXPECT_EQ(ini.GetString("A", "y", ""), "two words");
    EXPECT_FALSE(ini.HasKey("A", "z"));
    EXPECT_FALSE(ini.HasKey("A", ";c"));
    EXPECT_EQ(ini.GetString("B", "x", ""), "last");
}

TEST(IniFileTest, CutsValuesAndStripsOneQuotePair)
{
    const IniFile ini = Parse("[S]\nlong=abcdefgh\nq=\"  padded \"\nq2='x'\nhalf=\"open\n");
    EXPECT_EQ(ini.GetString("S", "long", "", 3), "abc");
    EXPECT_EQ(ini.GetString("S", "q", ""), "  padded ");
    EXPECT_EQ(ini.GetString("S", "q2", ""), "x");
    EXPECT_EQ(ini.GetString("S", "half", ""), "\"open");
}

TEST(IniFileTest, NulBytesAndBinaryGarbageKeepTheRest)
{
    std::string bytes = "[S]\nnul=ab";
    bytes.push_back('\0');
    static constexpr char kTail[] = "cd\n\xff\xfe\x01garbage\0\0\n[T]\nk=v\n";
    bytes += std::string(kTail, sizeof kTail - 1);
    bytes.push_back('\0');
    const IniFile ini = Parse(bytes);
    EXPECT_EQ(ini.GetString("S", "nul", ""), "ab");
    EXPECT_EQ(ini.GetString("T", "k", ""), "v");
    EXPECT_EQ(ini.ToBytes(), bytes);
}

TEST(IniFileTest, GetIntReadsLeadingNumberElseDefault)
{
    const IniFile ini = Parse("[S]\na=12abc\nb=-3\nc=abc\nd=\ne=99999999999999\n");
    EXPECT_EQ(ini.GetInt("S", "a", 7), 12);
    EXPECT_EQ(ini.GetInt("S", "b", 7), -3);
    EXPECT_EQ(ini.GetInt("S", "c", 7), 7);
    EXPECT_EQ(ini.GetInt("S", "d", 7), 7);
    EXPECT_EQ(ini.GetInt("S", "e", 7), INT_MAX);
    EXPECT_EQ(ini.GetInt("S", "none", 7), 7);
}

TEST(IniFileTest, UntouchedBytesSurviveAnEditExactly)
{
    const std::string original = "; comment\r\n\r\n[A]\r\nk = old \r\nodd line\r\n\r\n[B]\r\nx=1\r\n";
    IniFile ini = Parse(original);
    EXPECT_EQ(ini.ToBytes(), original);
    ini.SetString("a", "K", "new");
    ini.SetString("A", "added", "v");
    EXPECT_EQ(ini.ToBytes(), "; comment\r\n\r\n[A]\r\nk=new\r\nodd line\r\nadded=v\r\n\r\n[B]\r\nx=1\r\n");
}

TEST(IniFileTest, NewLinesFollowTheFileLineEnding)
{
    IniFile lf = Parse("[A]\nx=1");
    lf.SetString("A", "y", "2");
    lf.SetString("C", "z", "3");
    EXPECT_EQ(lf.ToBytes(), "[A]\nx=1\ny=2\n[C]\nz=3\n");

    IniFile fresh;
    fresh.SetString("LTSfile", "U0", "1");
    fresh.SetString("DIRS", "SAVE", "/tmp");
    EXPECT_EQ(fresh.ToBytes(), "[LTSfile]\r\nU0=1\r\n[DIRS]\r\nSAVE=/tmp\r\n");
}

TEST(IniFileTest, ValuesReadBackAsWritten)
{
    IniFile ini;
    for (const std::string v :
         {" lead", "trail ", "\"quoted\"", "'single'", "\t", "a\"b", "", "=x=", "1 ", "a\rb", "cr\r"}) {
        ini.SetString("S", "k", v);
        IniFile again = Parse(ini.ToBytes());
        EXPECT_EQ(again.GetString("S", "k", "?", 4096), v) << "value [" << v << "]";
    }
}

TEST(IniFileTest, ValueCannotInjectLines)
{
    IniFile ini;
    ini.SetString("OPTIONS", "R1", "abc\r\n[OPTIONS]\r\nR6=7");
    ini.SetString("OPTIONS", "bad\nkey=", "1");
    const IniFile again = Parse(ini.ToBytes());
    EXPECT_EQ(again.GetString("OPTIONS", "R1", ""), "abc");
    EXPECT_FALSE(again.HasKey("OPTIONS", "R6"));
    EXPECT_EQ(again.GetString("OPTIONS", "badkey", ""), "1");
}

TEST(IniFileTest, DeleteKeyRevealsNothingElseAndKeepsTheRest)
{
    IniFile ini = Parse("[A]\nk=1\nk=2\nm=3");
    EXPECT_TRUE(ini.DeleteKey("a", "K"));
    EXPECT_EQ(ini.GetString("A", "k", ""), "2");
    EXPECT_EQ(ini.GetString("A", "m", ""), "3");
    EXPECT_TRUE(ini.DeleteKey("A", "m"));
    EXPECT_EQ(ini.ToBytes(), "[A]\nk=2");
    EXPECT_FALSE(ini.DeleteKey("A", "m"));
    EXPECT_FALSE(ini.DeleteKey("Z", "m"));
}

TEST(IniFileTest, HugeLinesAndOversizedInput)
{
    std::string big = "[S]\nk=" + std::string(1 << 20, 'x') + "\nafter=1\n";
    const IniFile ini = Parse(big);
    EXPECT_EQ(ini.GetString("S", "k", "").size(), 259u);
    EXPECT_EQ(ini.GetString("S", "after", ""), "1");

    IniFile small;
    EXPECT_FALSE(small.LoadBytes(big, 1000));
    EXPECT_EQ(small.ToBytes(), "");
}

class IniFileDiskTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir = std::filesystem::temp_directory_path() /
                ("ini_file_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }
    std::filesystem::path m_dir;
};

TEST_F(IniFileDiskTest, MissingFileIsEmptyAndSaveCreatesIt)
{
    IniFile ini;
    EXPECT_EQ(ini.Load((m_dir / "none.ini").string()), "");
    EXPECT_FALSE(ini.FileExisted());
    ini.SetString("A", "k", "v");
    EXPECT_EQ(ini.Save((m_dir / "none.ini").string()), "");
    EXPECT_EQ(ReadAll(m_dir / "none.ini"), "[A]\r\nk=v\r\n");

    IniFile back;
    EXPECT_EQ(back.Load((m_dir / "none.ini").string()), "");
    EXPECT_TRUE(back.FileExisted());
    EXPECT_EQ(back.GetString("A", "K", ""), "v");
}

TEST_F(IniFileDiskTest, FolderOrTooLargeFileIsAnError)
{
    IniFile ini;
    EXPECT_NE(ini.Load(m_dir.string()), "");
    {
        std::ofstream(m_dir / "big.ini") << std::string(2000, 'a');
    }
    EXPECT_NE(ini.Load((m_dir / "big.ini").string(), 1000), "");
    EXPECT_EQ(ini.ToBytes(), "");

    // A FIFO without a writer would block the start for ever.
    const std::string fifo = (m_dir / "fifo.ini").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_NE(ini.Load(fifo).find("not a regular file"), std::string::npos);
    EXPECT_NE(ini.Load("/dev/zero").find("not a regular file"), std::string::npos);
    EXPECT_EQ(ini.ToBytes(), "");
}

} // namespace
} // namespace lt
