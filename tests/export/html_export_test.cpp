// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/list_export.h"

#include <regex>

#include <gtest/gtest.h>

#include "export_fixture.h"

namespace lt {
namespace {

using testing::ExportFixture;

constexpr const char* kPageHead =
    "<meta http-equiv=\"content-type\" content=\"text/html;charset=iso-8859-1\">\r\n"
    "<meta name=\"generator\" content=\"LinkTrawl v2.4\">\r\n"
    "<HTML>\r\n<HEAD><TITLE>LinkTrawl Results</TITLE></HEAD>\r\n"
    "<BODY BGCOLOR=\"#fff8dc\">\r\n"
    "<STYLE> A:link {color:\"#0000FF\"; TEXT-DECORATION:\"none\"}\r\n"
    "        A:visited {color:\"#C000C0\"; TEXT-DECORATION:\"none\"}\r\n"
    "        A:hover {color:\"#000000\"; TEXT-DECORATION:\"none\"}\r\n"
    "</STYLE>\r\n";

class HtmlExport : public ExportFixture
{
protected:
    HtmlExport()
    {
        SetColumns({"Url", "Title", "File"});
        app.listState.kind = kListFileSearch;
        app.search.description = "/data/ (*.htm)";
    }

    // The page with its date line checked and replaced by "DATE".
    std::string Page(const std::string& path)
    {
        std::string page = ReadFile(path);
        const std::regex date("<B>Date: ((Sun|Mon|Tue|Wed|Thu|Fri|Sat) (Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|"
                              "Nov|Dec) [ 123][0-9], [0-2][0-9]:[0-5][0-9], [0-9]{4})</B>");
        std::smatch match;
        if (std::regex_search(page, match, date))
            page.replace(static_cast<std::size_t>(match.position(1)), static_cast<std::size_t>(match.length(1)),
                         "DATE");
        return page;
    }
};

TEST_F(HtmlExport, WholePageWithOneCellPerColumn)
{
    ExportColumns({1, 2});
    AddRow({"http://a.example/", "Alpha", "/f1"});
    AddRow({"http://b.example/", "", "/f2"});
    AddRow({"", "", "/f3"}); // no exported text: left out
    AddRow({"http://c.example/", "Gamma", "/f4"});
    const std::string out = PathOf("out.htm");

    ASSERT_TRUE(ExportHtml(app, app.list, out, false, 0));
    EXPECT_EQ(Page(out), std::string(kPageHead) +
                             "<B>Date: DATE</B><BR>\r\n"
                             "<B>File(s): /data/ (*.htm)</B><BR>\r\n"
                             "<BR>\r\n"
                             "<TABLE BORDER=1 CELLPADDING=1 width=\"100%\" CELLSPACING=0 >\r\n"
                             "<TR BGCOLOR=\"#8fbc8f\">\r\n"
                             "<TD><font color=\"#FFFFFF\" size=\"4\">Url</TD></font>\r\n"
                             "<TD><font color=\"#FFFFFF\" size=\"4\">Title</TD></font>\r\n"
                             "</TR>\r\n"
                             "<TR BGCOLOR=\"#FFFFD0\">\r\n"
                             "<TD><a href=\"http://a.example/\">\r\nhttp://a.example/</A></TD>\r\n"
                             "<TD><a href=\"http://a.example/\">\r\nAlpha</A></TD>\r\n"
                             "</TR>\r\n"
                             "<TR BGCOLOR=\"#C0DCC0\">\r\n"
                             "<TD><a href=\"http://b.example/\">\r\nhttp://b.example/</A></TD>\r\n"
                             "<TD>&nbsp;</TD>\r\n"
                             "</TR>\r\n"
                             "<TR BGCOLOR=\"#FFFFD0\">\r\n"
                             "<TD><a href=\"http://c.example/\">\r\nhttp://c.example/</A></TD>\r\n"
                             "<TD><a href=\"http://c.example/\">\r\nGamma</A></TD>\r\n"
                             "</TR>\r\n"
                             "</TABLE>\r\n"
                             "<P><HR>\r\n"
                             "<I><FONT SIZE=-1>Number of Items: 3\r\n"
                             "<br>\r\n"
                             "</BODY></HTML>");
    EXPECT_EQ(port.LastMessage().text, "3 Urls saved !");
}

TEST_F(HtmlExport, OneCellPerRowAndTheUserStringHeader)
{
    SetColumns({"Item", "Line", "Offset", "File"});
    app.settings.itemKind = kItemUser;
    app.settings.userStrings[0] = "needle";
    app.exportSettings.multipleCells = false;
    ExportColumns({1, 2, 4});
    AddRow({"a needle", "7", "100", "/f"});
    AddRow({"", "8", "", ""});
    const std::string out = PathOf("out.htm");

    ASSERT_TRUE(ExportHtml(app, app.list, out, false, 0));
    EXPECT_EQ(Page(out), std::string(kPageHead) +
                             "<B>Date: DATE</B><BR>\r\n"
                             "<B>File(s): /data/ (*.htm)</B><BR>\r\n"
                             "<B>Search string: \"needle\"</B><BR>\r\n"
                             "<BR>\r\n"
                             "<TABLE BORDER=1 CELLPADDING=1 width=\"100%\" CELLSPACING=0 >\r\n"
                             "<TR BGCOLOR=\"#8fbc8f\">\r\n"
                             "<TD><font color=\"#FFFFFF\" size=\"4\">LinkTrawl Results</font></TD></TR>\r\n"
                             "<TR BGCOLOR=\"#FFFFD0\">\r\n<TD>a needle<br>\r\n7<br>\r\n/f<br>\r\n</TD>\r\n</TR>\r\n"
                             "<TR BGCOLOR=\"#C0DCC0\">\r\n<TD><br>\r\n8<br>\r\n</TD>\r\n</TR>\r\n"
                             "</TABLE>\r\n"
                             "<P><HR>\r\n"
                             "<I><FONT SIZE=-1>Number of Items: 2\r\n"
                             "<br>\r\n"
                             "</BODY></HTML>");
    EXPECT_EQ(port.LastMessage().text, "2 Items saved !");
}

TEST_F(HtmlExport, TitleFollowsItsUrlOnlyWhenTheUrlIsALink)
{
    SetColumns({"Link", "Title"});
    app.exportSettings.multipleCells = false;
    ExportColumns({1, 2});
    AddRow({"http://a.example/", "Linked"});
    AddRow({"not a link", "Plain"});
    const std::string out = PathOf("titles.htm");

    ASSERT_TRUE(ExportHtml(app, app.list, out, false, 0));
    const std::string page = ReadFile(out);
    EXPECT_NE(page.find("<TD><a href=\"http://a.example/\">\r\nhttp://a.example/</A><br>\r\n"
                        "<a href=\"http://a.example/\">\r\nLinked</A><br>\r\n</TD>\r\n"),
              std::string::npos);
    EXPECT_NE(page.find("<TD>not a link<br>\r\nPlain<br>\r\n</TD>\r\n"), std::string::npos);
}

TEST_F(HtmlExport, LinkRuleOutsideAUrlColumn)
{
    SetColumns({"File", "Remote", "Note"});
    app.listState.kind = kListFileList;
    ExportColumns({1, 2, 3});
    AddRow({"www.example.com", "ftp:a", "ftp:/abc"});
    AddRow({"file", "ftp:ab", ""});
    AddRow({"HTTPS://x.example/p", "http:/x", "Http://y"});
    const std::string out = PathOf("links.htm");

    ASSERT_TRUE(ExportHtml(app, app.list, out, false, 0));
    const std::string page = ReadFile(out);
    EXPECT_NE(page.find("<TD><a href=\"www.example.com\">\r\nwww.example.com</A></TD>\r\n"), std::string::npos);
    EXPECT_NE(page.find("<TD>ftp:a</TD>\r\n"), std::string::npos); // too short for a link
    EXPECT_NE(page.find("<TD>ftp:ab</TD>\r\n"), std::string::npos);
    EXPECT_NE(page.find("<TD>file</TD>\r\n"), std::string::npos);
    EXPECT_NE(page.find("<TD><a href=\"ftp:/abc\">\r\nftp:/abc</A></TD>\r\n"), std::string::npos);
    EXPECT_NE(page.find("<TD><a href=\"HTTPS://x.example/p\">"), std::string::npos);
    EXPECT_NE(page.find("<TD>http:/x</TD>\r\n"), std::string::npos);
    EXPECT_NE(page.find("<TD><a href=\"Http://y\">\r\nHttp://y</A></TD>\r\n"), std::string::npos);
    // No File(s) line outside the search lists.
    EXPECT_EQ(page.find("File(s):"), std::string::npos);
}

TEST_F(HtmlExport, HostileTextsAreEscapedEverywhereTheyAppear)
{
    SetColumns({"Url", "Title<b>", "File"});
    app.settings.itemKind = kItemUser;
    app.settings.userStrings[0] = "\"><script>";
    app.search.description = "/tmp/<x> & \"y\"";
    ExportColumns({1, 2, 3});
    AddRow({"http://e.example/?a=1&b=\"><script>alert(1)</script>", "<i>T</i> & co", "/f<1>"});
    const std::string out = PathOf("hostile.htm");

    ASSERT_TRUE(ExportHtml(app, app.list, out, false, 0));
    const std::string page = ReadFile(out);
    EXPECT_EQ(page.find("<script>"), std::string::npos);
    EXPECT_EQ(page.find("<i>"), std::string::npos);
    EXPECT_NE(page.find("<a href=\"http://e.example/?a=1&amp;b=&quot;&gt;&lt;script&gt;alert(1)&lt;/script&gt;\">"
                        "\r\nhttp://e.example/?a=1&amp;b=&quot;&gt;&lt;script&gt;"),
              std::string::npos);
    EXPECT_NE(page.find("<TD><font color=\"#FFFFFF\" size=\"4\">Title&lt;b&gt;</TD></font>\r\n"), std::string::npos);
    // The title is linked to its Url.
    EXPECT_NE(page.find("\r\n&lt;i&gt;T&lt;/i&gt; &amp; co</A></TD>\r\n"), std::string::npos);
    EXPECT_NE(page.find("<TD>/f&lt;1&gt;</TD>\r\n"), std::string::npos);
    EXPECT_NE(page.find("<B>File(s): /tmp/&lt;x&gt; &amp; &quot;y&quot;</B>"), std::string::npos);
    EXPECT_NE(page.find("<B>Search string: \"&quot;&gt;&lt;script&gt;\"</B>"), std::string::npos);
}

TEST_F(HtmlExport, HitRateListWithBoldHitsAndTheirTotal)
{
    SetColumns({"Url", "Hits"});
    app.listState.hitRateMode = 2;
    app.search.description.clear();
    app.exportSettings.multipleCells = false; // a hit-rate list always has cells per column
    ExportColumns({1, 2});
    AddRow({"http://a.example/", "3"}, true);
    AddRow({"http://b.example/", "4"}, true);
    const std::string out = PathOf("hits.htm");

    // Selected rows: no date block, but the footer with the total stays.
    ASSERT_TRUE(ExportHtml(app, app.list, out, true, 0));
    EXPECT_EQ(ReadFile(out), std::string(kPageHead) +
                                 "<TABLE BORDER=1 CELLPADDING=1 width=\"80%\" CELLSPACING=0 >\r\n"
                                 "<TR BGCOLOR=\"#8fbc8f\">\r\n"
                                 "<TD WIDTH=84%><font color=\"#FFFFFF\" size=\"4\">Url</TD></font>\r\n"
                                 "<TD WIDTH=16% align=right><font color=\"#FFFFFF\" size=\"4\">Hits</TD></font>\r\n"
                                 "</TR>\r\n"
                                 "<TR BGCOLOR=\"#FFFFD0\">\r\n"
                                 "<TD WIDTH=84%><a href=\"http://a.example/\">\r\nhttp://a.example/</A></TD>\r\n"
                                 "<TD WIDTH=16% align=right><b>3</TD></b>\r\n"
                                 "</TR>\r\n"
                                 "<TR BGCOLOR=\"#C0DCC0\">\r\n"
                                 "<TD WIDTH=84%><a href=\"http://b.example/\">\r\nhttp://b.example/</A></TD>\r\n"
                                 "<TD WIDTH=16% align=right><b>4</TD></b>\r\n"
                                 "</TR>\r\n"
                                 "</TABLE>\r\n"
                                 "<P><HR>\r\n"
                                 "<I><FONT SIZE=-1>Number of Items: 2\r\n"
                                 "<br>\r\n"
                                 "<BR>\r\n"
                                 "Total number of hits: 7\r\n"
                                 "</BODY></HTML>");
}

TEST_F(HtmlExport, SelectedRowsHaveNoDateAndNoFooter)
{
    ExportColumns({1});
    AddRow({"http://a.example/", "A"});
    AddRow({"http://b.example/", "B"}, true);
    const std::string out = PathOf("sel.htm");

    ASSERT_TRUE(ExportHtml(app, app.list, out, true, 0));
    EXPECT_EQ(ReadFile(out), std::string(kPageHead) +
                                 "<TABLE BORDER=1 CELLPADDING=1 width=\"80%\" CELLSPACING=0 >\r\n"
                                 "<TR BGCOLOR=\"#8fbc8f\">\r\n"
                                 "<TD><font color=\"#FFFFFF\" size=\"4\">Url</TD></font>\r\n"
                                 "</TR>\r\n"
                                 "<TR BGCOLOR=\"#FFFFD0\">\r\n"
                                 "<TD><a href=\"http://b.example/\">\r\nhttp://b.example/</A></TD>\r\n"
                                 "</TR>\r\n"
                                 "</TABLE>\r\n"
                                 "</BODY></HTML>");
    EXPECT_EQ(port.LastMessage().text, "1 Url saved !");
}

TEST_F(HtmlExport, JobWindowTitles)
{
    SetColumns({"Url", "Status"});
    AddRow({"http://a.example/", "200"});
    const std::string out = PathOf("job.htm");
    ASSERT_TRUE(ExportHtml(app, app.list, out, false, 4));
    const std::string page = ReadFile(out);
    EXPECT_NE(page.find("<HEAD><TITLE>Test Url Status</TITLE></HEAD>"), std::string::npos);
    EXPECT_EQ(page.find("Date:"), std::string::npos);
    EXPECT_NE(page.find("<TD>200</TD>\r\n"), std::string::npos);
    EXPECT_NE(page.find("Number of Items: 1\r\n"), std::string::npos);
}

} // namespace
} // namespace lt
