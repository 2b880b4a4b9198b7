// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/ini_location.h"

#include <filesystem>
#include <fstream>

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace lt {
namespace {

namespace fs = std::filesystem;

class IniLocationTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("ini_location_test_" + std::to_string(::getpid()) + "_" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir / "bin");
    }
    void TearDown() override
    {
        ::chmod(m_dir.c_str(), 0755);
        fs::remove_all(m_dir);
    }
    fs::path m_dir;
};

TEST_F(IniLocationTest, OverrideThenBesideProgramThenConfigFolder)
{
    IniEnvironment env;
    env.programFolder = (m_dir / "bin").string() + "/";
    env.home = "/home/u";
    EXPECT_EQ(IniPathFor(env), "/home/u/.config/linktrawl/linktrawl.ini");

    env.xdgConfigHome = "/xdg";
    EXPECT_EQ(IniPathFor(env), "/xdg/linktrawl/linktrawl.ini");
    // A relative XDG folder is not a valid setting.
    env.xdgConfigHome = "relative";
    EXPECT_EQ(IniPathFor(env), "/home/u/.config/linktrawl/linktrawl.ini");

    std::ofstream(m_dir / "bin" / "linktrawl.ini") << "";
    EXPECT_EQ(IniPathFor(env), (m_dir / "bin" / "linktrawl.ini").string());

    env.iniOverride = "/elsewhere/my.ini";
    EXPECT_EQ(IniPathFor(env), "/elsewhere/my.ini");
}

TEST_F(IniLocationTest, FolderNamedLikeTheFileIsNotAPortableInstall)
{
    IniEnvironment env;
    env.programFolder = (m_dir / "bin").string();
    env.home = "/h";
    fs::create_directories(m_dir / "bin" / "linktrawl.ini");
    EXPECT_EQ(IniPathFor(env), "/h/.config/linktrawl/linktrawl.ini");
}

TEST_F(IniLocationTest, WritableWhenTheNearestExistingFolderIs)
{
    EXPECT_TRUE(IniWritable((m_dir / "not" / "yet" / "linktrawl.ini").string()));
    EXPECT_TRUE(IniWritable((m_dir / "linktrawl.ini").string()));
    EXPECT_FALSE(IniWritable(""));
    // A file in the way of a folder.
    std::ofstream(m_dir / "file") << "";
    EXPECT_FALSE(IniWritable((m_dir / "file" / "linktrawl.ini").string()));
    // Read-only by its mode, also for root.
    ::chmod((m_dir / "file").c_str(), 0444);
    EXPECT_FALSE(IniWritable((m_dir / "file").string()));
}

TEST_F(IniLocationTest, ReadOnlyFolderOrFileMeansNeverWrite)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind root";
    const fs::path ini = m_dir / "bin" / "linktrawl.ini";
    std::ofstream(ini) << "";
    ::chmod(ini.c_str(), 0444);
    EXPECT_FALSE(IniWritable(ini.string()));
    ::chmod(ini.c_str(), 0644);
    ::chmod((m_dir / "bin").c_str(), 0555);
    EXPECT_FALSE(IniWritable(ini.string()));
    EXPECT_FALSE(IniWritable((m_dir / "bin" / "sub" / "x.ini").string()));
    ::chmod((m_dir / "bin").c_str(), 0755);
}

} // namespace
} // namespace lt
