// SPDX-License-Identifier: GPL-3.0-or-later
#include "inet/save_names.h"

#include <filesystem>

#include <gtest/gtest.h>
#include <unistd.h>

#include "inet/word_filter.h"

namespace lt {
namespace {

TEST(SaveNames, MakeSaveName)
{
    const std::string name300(300, 'n');
    struct Case { std::string url; std::string path; };
    const Case cases[] = {
        {"http://www.example.com/", "/d/example.htm"},
        {"http://h.example/dl/get.cgi?file=prog.exe&id=7", "/d/prog.exe"},
        {"http://h.example/docs/a.htm", "/d/docs_a.htm"},
        {"http://h.example/docs/manual.html", "/d/manual.html"},
        {"http://h.example/x/script.js", "/d/script.js"},
        {"http://h.example/x/archive.tar.gz", "/d/archive.tar.gz"},
        {"http://h.example/x/readme", "/d/readme.htm"},
        {"http://h.example/x/page.php?a=1", "/d/page.php a=1.htm"},
        {"http://h.example/x/a.b", "/d/x_a.b"},
        {"http://h.example/x/..", "/d/x_...htm"},
        {"http://h.example/%2e%2e", "/d/%2e%2e.htm"},
        {"http://h.example/x/li\x01ne.htm", "/d/x_li ne.htm"},
        {"http://h.example/x/" + name300 + ".htm", "/d/" + std::string(196, 'n') + ".htm"},
        {"http://ab", ""},
        {"no-slash-at-all", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MakeSaveName("/d", c.url, 200), c.path) << c.url;
    EXPECT_EQ(MakeSaveName("", "http://h.example/a.htm"), "");
}

TEST(SaveNames, EnumeratedNames)
{
    EXPECT_EQ(NextEnumeratedName("/d/name.htm"), "/d/name_001.htm");
    EXPECT_EQ(NextEnumeratedName("/d/name_007.htm"), "/d/name_008.htm");
    EXPECT_EQ(NextEnumeratedName("/d/name_999.htm"), "/d/name1000.htm");
    EXPECT_EQ(NextEnumeratedName("/d/name_99999"), "");
    EXPECT_EQ(NextEnumeratedName("/d.x/base"), "/d.x/base_001");
}

TEST(SaveNames, CreateNeverReplacesOrFollows)
{
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / ("lt-save-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    std::string first = (dir / "page.htm").string();
    int fd = CreateSaveFile(first, true);
    ASSERT_GE(fd, 0);
    close(fd);
    std::string second = first;
    fd = CreateSaveFile(second, true);
    ASSERT_GE(fd, 0);
    close(fd);
    EXPECT_EQ(second, (dir / "page_001.htm").string());
    std::string refused = first;
    EXPECT_EQ(CreateSaveFile(refused, false), -1);
    // A dangling link is taken, not followed.
    std::filesystem::create_symlink(dir / "elsewhere.htm", dir / "link.htm");
    std::string link = (dir / "link.htm").string();
    fd = CreateSaveFile(link, true);
    ASSERT_GE(fd, 0);
    close(fd);
    EXPECT_EQ(link, (dir / "link_001.htm").string());
    EXPECT_FALSE(std::filesystem::exists(dir / "elsewhere.htm"));
    EXPECT_TRUE(EnsureDirectory((dir / "new" / "deeper").string(), true));
    EXPECT_FALSE(EnsureDirectory((dir / "page.htm").string(), true));
    std::filesystem::remove_all(dir);
}

TEST(WordFilter, AnyAllAndValidity)
{
    struct Case { const char* must; bool mustAll; const char* mustNot; bool mustNotAll; const char* url; bool passes; };
    const Case cases[] = {
        {"", true, "", false, "http://a/x.gif", true},
        {"", true, ".gif .jpg", false, "http://a/X.GIF", false},
        {"", true, ".gif .jpg", true, "http://a/x.gif", true},
        {"", true, ".gif x.", true, "http://a/x.gif", false},
        {"a/ x.", true, "", false, "http://a/x.htm", true},
        {"a/ y.", true, "", false, "http://a/x.htm", false},
        {"a/ y.", false, "", false, "http://a/x.htm", true},
        {"a", false, "", false, "", false},
        {"", false, ".gif", false, "", true},
    };
    for (const Case& c : cases) {
        const WordFilter f = MakeWordFilter(c.must, c.mustAll, c.mustNot, c.mustNotAll);
        EXPECT_EQ(WordFilterPasses(f, c.url), c.passes) << c.must << " / " << c.mustNot << " : " << c.url;
    }
    std::string many;
    for (int i = 0; i < 40; ++i)
        many += " w" + std::to_string(i);
    EXPECT_EQ(MakeWordList(many, false).words.size(), 34u);
    auto valid = [](const char* must, bool all, const char* mustNot) {
        return WordFilterValid(must, MakeWordFilter(must, all, mustNot, false), mustNot);
    };
    EXPECT_FALSE(valid(".gif", true, ".GIF"));
    EXPECT_FALSE(valid("a b", true, "c b"));
    EXPECT_TRUE(valid("a b", false, "c b"));
    EXPECT_FALSE(valid("b", false, "c b"));
    EXPECT_TRUE(valid("", true, ""));
}

} // namespace
} // namespace lt

#include <fstream>

#include "inet/crawl_job.h"
#include "inet/urls_from_file.h"

namespace lt {
namespace {

TEST(UrlsFromFile, TakesUrlLinesOnce)
{
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / ("lt-urls-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "urls.txt", std::ios::binary)
        << "  http://a.example/x \r\nHTTP://A.EXAMPLE/X\r\nnot a url\r\nftp://f.example/file\n\nhttp:/bad\n"
           "http://b.example/\nhttp://a.example/x\n";
    CrawlQueue queue;
    std::string first, error;
    EXPECT_EQ(UrlsFromFile(queue, "urls.txt", dir.string(), first, error), 3);
    EXPECT_EQ(first, "http://a.example/x");
    ASSERT_EQ(queue.Rows().size(), 3u);
    EXPECT_EQ(queue.Rows()[1].url, "ftp://f.example/file");
    EXPECT_EQ(queue.Rows()[2].level, 0);
    EXPECT_EQ(UrlsFromFile(queue, (dir / "missing.txt").string(), "", first, error), -1);
    EXPECT_FALSE(error.empty());
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace lt
