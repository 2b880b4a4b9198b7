// SPDX-License-Identifier: GPL-3.0-or-later
#include "inet/pane_urls.h"

#include <map>

#include <gtest/gtest.h>

namespace lt {
namespace {

TEST(PaneUrlsTest, OnlyExactSchemesOfTenCharactersAreTaken)
{
    struct Case
    {
        const char* text;
        const char* url;
    };
    const Case cases[] = {
        {"http://a.example/x/y", "http://a.example/x/y"},
        {"https://s.example/page", "https://s.example/page"},
        {"ftp://f.example/file.zip", "ftp://f.example/file.zip"},
        // The scheme must be written as it is.
        {"HTTP://caps.example/", ""},
        {"Http://mixed.example/", ""},
        // Too short before or after the cut.
        {"http://a.", ""},
        {"http://a.b", "http://a.b"},
        {"http://ab and more", ""},
        // Cut at the first byte that is not a URL character.
        {"http://a.example/x y", "http://a.example/x"},
        {"http://a.example/(title)", "http://a.example/"},
        {"http://a.example/\"q\"", "http://a.example/"},
        // Not a URL text at all.
        {"Mozilla Firefox", ""},
        {"news://group.example/", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PaneUrlOf(c.text), c.url) << c.text;
}

// A desktop held in memory: window 0 is the root.
class FakeDesktop : public DesktopWindows
{
public:
    DesktopWindowId Add(DesktopWindowId parent, const std::string& name, uint32_t pid = 0)
    {
        const DesktopWindowId id = ++m_last;
        m_parent[id] = parent;
        m_children[parent].push_back(id);
        m_name[id] = name;
        m_pid[id] = pid;
        return id;
    }
    std::vector<DesktopWindowId> TopLevel() override { return m_children[0]; }
    std::vector<DesktopWindowId> Children(DesktopWindowId w) override { return m_children[w]; }
    DesktopWindowId Parent(DesktopWindowId w) override { return m_parent[w]; }
    std::string Name(DesktopWindowId w) override { return m_name[w]; }
    uint32_t Pid(DesktopWindowId w) override { return m_pid[w]; }

private:
    DesktopWindowId m_last = 0;
    std::map<DesktopWindowId, DesktopWindowId> m_parent;
    std::map<DesktopWindowId, std::vector<DesktopWindowId>> m_children;
    std::map<DesktopWindowId, std::string> m_name;
    std::map<DesktopWindowId, uint32_t> m_pid;
};

TEST(PaneUrlsTest, TheWalkGoesThreeLevelsDownAndSkipsOwnWindows)
{
    FakeDesktop desktop;
    const DesktopWindowId browser = desktop.Add(0, "Browser");
    const DesktopWindowId l1 = desktop.Add(browser, "http://one.example/1");
    const DesktopWindowId l2 = desktop.Add(l1, "toolbar");
    const DesktopWindowId l3 = desktop.Add(l2, "http://three.example/3");
    desktop.Add(l3, "http://four.example/too-deep");
    // The same address again, in other case: taken once.
    desktop.Add(browser, "http://ONE.example/1");
    // Our own windows: by id (and what lies below them) and by process.
    const DesktopWindowId main = desktop.Add(0, "http://own.example/main");
    desktop.Add(main, "http://own.example/child");
    desktop.Add(0, "http://own.example/pid", 4242);
    desktop.Add(0, "https://other.example/x");

    const OwnWindows own{{main}, 4242};
    EXPECT_EQ(CollectPaneUrls(desktop, own),
              (std::vector<std::string>{"http://one.example/1", "http://three.example/3", "https://other.example/x"}));
}

TEST(PaneUrlsTest, TheWalkStopsAtSevenUrlsAndAfterThreeThousandVisits)
{
    FakeDesktop many;
    for (int i = 0; i < 10; ++i)
        many.Add(0, "http://u" + std::to_string(i) + ".example/");
    EXPECT_EQ(CollectPaneUrls(many, {}).size(), kMaxPaneUrls);

    FakeDesktop crowded;
    for (int i = 0; i < kMaxPaneVisits; ++i)
        crowded.Add(0, "window " + std::to_string(i));
    crowded.Add(0, "http://late.example/");
    EXPECT_TRUE(CollectPaneUrls(crowded, {}).empty());
}

TEST(PaneUrlsTest, MenuTextsAreCutAtTheirFolders)
{
    EXPECT_EQ(PaneMenuText("http://www.example.com/alpha/beta/gamma/delta/epsilon/zeta/index.html"),
              "http://www.example.com/alpha/beta/gamma.../index.html");
    EXPECT_EQ(PaneMenuText("http://short.example/"), "http://short.example/");
}

} // namespace
} // namespace lt
