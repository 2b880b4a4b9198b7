// SPDX-License-Identifier: GPL-3.0-or-later
#include <filesystem>
#include <fstream>

#include "form_run_test.h"
#include "sources/index_fixture.h"

namespace lt {
namespace {

using testing_support::ReadAll;

namespace fs = std::filesystem;

// Runs the browser-data forms of the built program with no display, over files made here in a
// Wine-like prefix.
class SourcesFormTest : public test::FormRunTest
{
protected:
    // Export every column so that the saved file shows them all.
    SourcesFormTest() : FormRunTest("[OPTIONS]\r\nR6=0\r\nA7=11111100\r\n") {}
    void SetUp() override
    {
        FormRunTest::SetUp();
        users = dir / "prefix/drive_c/users/u/AppData/Local/Microsoft/Windows";
    }

    void Write(const fs::path& path, const std::string& bytes)
    {
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }

    struct Result
    {
        int status = -1;
        std::string out, err, saved;
    };
    Result Run(const std::string& args)
    {
        const fs::path saved = dir / "saved.txt";
        fs::remove(saved);
        Result r;
        r.status = FormRunTest::Run(args + " -save2 '" + saved.string() + "'");
        r.out = Out();
        r.err = Err();
        r.saved = ReadAll(saved);
        return r;
    }

    fs::path users;
};

TEST_F(SourcesFormTest, ListsHistoryAndIndexFiles)
{
    test::IndexBuilder main;
    main.Record("Visited: u@http://main.example/page");
    Write(users / "History/History.IE5/index.dat", main.bytes);
    test::IndexBuilder sub;
    sub.Record(":2024010120240108: u@http://sub.example/");
    Write(users / "History/History.IE5/MSHist012024010120240108/index.dat", sub.bytes);

    Result r = Run("--ie-history '" + (users / "History").string() + "'");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.saved.find("http://main.example/page"), std::string::npos) << r.saved;
    EXPECT_NE(r.saved.find("http://sub.example"), std::string::npos);
    // Without a folder the Windows profile's own history folder is read; a profile without one
    // says so.
    const std::string prefix = " --wine-prefix '" + (dir / "prefix").string() + "'";
    r = Run("--ie-history" + prefix);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("no history folder in the Windows profile"), std::string::npos) << r.err;
    Write(dir / "prefix/user.reg",
          "WINE REGISTRY Version 2\n\n[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Explorer\\\\Shell Folders] 1\n"
          "\"History\"=\"C:\\\\users\\\\u\\\\AppData\\\\Local\\\\Microsoft\\\\Windows\\\\History\"\n");
    r = Run("--ie-history" + prefix);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.saved.find("http://sub.example"), std::string::npos) << r.saved;

    test::IndexBuilder cache;
    cache.Record("http://cache.example/a.gif");
    Write(users / "INetCache/Content.IE5/index.dat", cache.bytes);
    r = Run("--index-file '" + (users / "INetCache/Content.IE5/index.dat").string() + "' --index-kind cache");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.saved.find("http://cache.example/a.gif"), std::string::npos);

    r = Run("--index-file '" + (users / "INetCache/Content.IE5/index.dat").string() + "' --index-kind odd");
    EXPECT_EQ(r.status, 2);
    r = Run("--index-file '" + (dir / "missing.dat").string() + "'");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Could not open"), std::string::npos);
}

TEST_F(SourcesFormTest, ListsCookieIndexAndCookieFiles)
{
    test::IndexBuilder cookies;
    cookies.Record("Cookie:u@example.com/", 3, 1, test::IndexBuilder::FileTime(1700000000), 0, "ABCD1234.txt");
    Write(users / "INetCookies/index.dat", cookies.bytes);
    Write(users / "INetCookies/ABCD1234.txt",
          "session\nvalue42\nexample.com/\n1024\n3329032192\n31070023\n3329032192\n31070023\n*\n");
    Result r = Run("--index-file '" + (users / "INetCookies/index.dat").string() + "' --index-kind cookie");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.saved.find("example.com"), std::string::npos);
    EXPECT_NE(r.saved.find("ABCD1234.txt"), std::string::npos);

    r = Run("--cookie-files '" + (users / "INetCookies").string() + "'");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.saved.find("value42"), std::string::npos) << r.saved;

    test::IndexBuilder foreign(false, "3.2");
    Write(dir / "old.dat", foreign.bytes);
    r = Run("--index-file '" + (dir / "old.dat").string() + "' --index-kind cookie");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("File format not valid !"), std::string::npos);
}

} // namespace
} // namespace lt
