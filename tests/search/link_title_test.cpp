// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/link_title.h"

#include <gtest/gtest.h>

#include <string>

#include "search/block_reader.h"
#include "temp_tree.h"

namespace lt {
namespace {

constexpr const char* kUrl = "http://www.example.org/page.html";

// Reads the title from `bytes` as it follows the URL; `quoted` as after href="...".
LinkTitle Title(const std::string& bytes, bool quoted = true, bool record = false, std::string_view url = kUrl)
{
    BlockReader reader;
    reader.Attach(bytes.data(), bytes.size());
    LinkTitleContext context;
    context.url = url;
    context.quotedHref = quoted;
    context.recordResume = record;
    context.anchorFirst1 = 'h';
    context.anchorFirst2 = 'f';
    LinkTitle out;
    const int length = ReadLinkTitle(reader, 0, reader.Size(), context, out);
    EXPECT_EQ(length, static_cast<int>(out.text.size()));
    return out;
}

std::string Text(const std::string& bytes, bool quoted = true) { return Title(bytes, quoted).text; }

TEST(ReadLinkTitle, TakesTheLinkTextUpToTheClosingTag)
{
    EXPECT_EQ(Text("\">The &amp; page</a>"), "The & page");
    EXPECT_EQ(Text("\" target=\"_blank\">  Two\r\n\tlines  </a>"), "Two lines");
    EXPECT_EQ(Text("\"><b>Bold</b> and <i>italic</i> <FONT color=red>red</font></A>"), "Bold and italic red");
    EXPECT_EQ(Text("\">First<br>Second</a>"), "First Second");
    EXPECT_EQ(Text("\">Caf&eacute; &nbspMenu &#8364;5</a>"), "Caf\xE9 Menu \x80" "5");
    EXPECT_EQ(Text("\">Home<span>more</span></a>"), "Home"); // any other tag ends the text
    EXPECT_EQ(Text("\">Bell\x07rings</a>"), "Bell");
}

TEST(ReadLinkTitle, GivesUpWhereTheTextIsNotTheLinks)
{
    EXPECT_EQ(Text("\"></a>"), "");
    EXPECT_EQ(Text("\" onclick=\"x\"/a>Text</a>"), "");             // "/a" inside the tag
    EXPECT_EQ(Text("\" onClick=\"javascript\">Run</a>"), "");         // Javascript at the tag's end
    EXPECT_EQ(Text("\" bgcolor=\"#fff\">Coloured</a>"), "");
    EXPECT_EQ(Text("\">\n<title>Page title</title>"), "");            // a link in the head
    EXPECT_EQ(Text("\">document.write(x)</a>"), "");
    EXPECT_EQ(Text("\">Unfinished"), "");                             // the end of the data
    EXPECT_EQ(Text(std::string("\"\xFF>Text</a>")), "");
    EXPECT_EQ(Text("\">&nbsp;</a>"), "");
    EXPECT_EQ(Text("\">www.example.org</a>"), "www.example.org");     // not the URL's beginning
    EXPECT_EQ(Text("\">HTTP://WWW.EXAMPLE-ORG.example.org</a>", true), "HTTP://WWW.EXAMPLE-ORG.example.org");
    EXPECT_EQ(Text("\">http://www.exam-ple.org/page.html/more</a>"), ""); // repeats, "-" ignored
}

TEST(ReadLinkTitle, ImageLinks)
{
    // In href="..." an image empties the text before it; the text after it is taken.
    EXPECT_EQ(Text("\">Logo <img src=\"logo.gif\"> Home</a>"), "Home");
    EXPECT_EQ(Text("\"><img src=\"logo.gif\"></a>"), "");
    // Otherwise the image is passed over like an inline tag.
    EXPECT_EQ(Text(">Logo <img src=logo.gif> Home</a>", false), "Logo Home");
    EXPECT_EQ(Text("\">see img src=\"x\" here</a>"), "");
}

TEST(ReadLinkTitle, PassesAtMostSixteenTagsInARow)
{
    std::string tags;
    for (int i = 0; i < 16; ++i)
        tags += "<b>";
    EXPECT_EQ(Text("\">" + tags + "Deep</a>"), "Deep");
    EXPECT_EQ(Text("\">" + tags + "<b>Deeper</a>"), "");
}

TEST(ReadLinkTitle, TitlesStayWithin259Bytes)
{
    const std::string title = Text("\">" + std::string(400, 'w') + "</a>");
    EXPECT_EQ(title, std::string(259, 'w'));
    // A page without any ">" after the URL is not read to its end.
    EXPECT_EQ(Text("\" " + std::string(100000, 'q')), "");
}

TEST(ReadLinkTitle, RecordsWhereTheScanResumes)
{
    EXPECT_EQ(Title("\">Home</a>", true, true).resume, 2u);
    EXPECT_EQ(Title("\" class=Foo>Go</a>", true, true).resume, 8u); // "F" counts as "f"
    EXPECT_EQ(Title("\">Go</a> ftp://x", true, true).resume, LinkTitle::kNoResume); // never read
    EXPECT_EQ(Title("\">Home</a>", true, false).resume, LinkTitle::kNoResume);
}

TEST(ReadPageTitle, FromMemoryAndFromHtmlFiles)
{
    std::string title;
    const std::string page = "<html><head><TITLE>  Caf&eacute;  &amp;  Bar </title></head>";
    EXPECT_EQ(ReadPageTitle("", page.data(), page.size(), true, title), 10);
    EXPECT_EQ(title, "Caf\xE9 & Bar");
    const std::string empty = "<title></title><p><title>Second</title>";
    ReadPageTitle("", empty.data(), empty.size(), true, title);
    EXPECT_EQ(title, "Second");
    const std::string late = std::string(1020, ' ') + "<title>Too late</title>";
    EXPECT_EQ(ReadPageTitle("", late.data(), late.size(), true, title), 0);

    testing::TempTree tree;
    EXPECT_GT(ReadPageTitle(tree.Write("a.shtml", page), nullptr, 0, false, title), 0);
    EXPECT_GT(ReadPageTitle(tree.Write("b.PHP3", page), nullptr, 0, false, title), 0);
    EXPECT_EQ(ReadPageTitle(tree.Write("c.txt", page), nullptr, 0, false, title), 0);
    EXPECT_EQ(ReadPageTitle(tree.Write("html", page), nullptr, 0, false, title), 0);
    EXPECT_EQ(ReadPageTitle(tree.Path("missing.htm"), nullptr, 0, false, title), 0);
    const std::string longTitle = "<title>" + std::string(400, 't') + "</title>";
    EXPECT_EQ(ReadPageTitle("", longTitle.data(), longTitle.size(), true, title), 255);
}

TEST(ReadBaseHref, TakesTheFirstUsableBaseTag)
{
    std::string out;
    const std::string page = "<base href=\"\"><BASE HREF=\"/rel/\"><base href=\" http://www.example.org/docs/ \">";
    EXPECT_EQ(ReadBaseHref(page.data(), page.size(), out), 0); // " http" does not begin with http
    const std::string good = "<head><base href=\"/x\"><Base Href=\"FTP://ftp.example.org/pub/\"></head>";
    ReadBaseHref(good.data(), good.size(), out);
    EXPECT_EQ(out, "FTP://ftp.example.org/pub/");
    const std::string unterminated = "<base href=\"http://www.example.org/";
    EXPECT_EQ(ReadBaseHref(unterminated.data(), unterminated.size(), out), 0);
    const std::string late = std::string(1000, ' ') + "<base href=\"http://www.example.org/\">";
    EXPECT_EQ(ReadBaseHref(late.data(), late.size(), out), 0);
}

} // namespace
} // namespace lt
