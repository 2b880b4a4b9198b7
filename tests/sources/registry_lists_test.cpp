// SPDX-License-Identifier: GPL-3.0-or-later
#include "sources/registry_lists.h"

#include "list/list_state.h"
#include "sources_fixture.h"

namespace lt {
namespace {

using test::RegHeader;

const std::string kOtherKey = "\n[Software\\\\Other] 1600000000\n#time=1d6a0b0c0d0e0f0\n\"Keep\"=hex:01,02,\\\n  03\n";

std::string TypedUrlsKey(const std::string& values)
{
    return "\n[Software\\\\Microsoft\\\\Internet Explorer\\\\TypedURLs] 1600000000\n#time=1d6a0b0c0d0e0f0\n" + values;
}

class RegistryListsTest : public test::SourcesTest
{
};

TEST_F(RegistryListsTest, TypedUrlsReadAndWrittenBackOverMoreValues)
{
    tree.Write("user.reg", RegHeader() +
                               TypedUrlsKey("\"url1\"=\"http://c.example/\"\n\"url10\"=\"http://j.example/\"\n"
                                            "\"url2\"=\"http://a.example/\"\n\"url3\"=\"http://b.example/\"\n"
                                            "\"url4\"=\"http://d.example/\"\n\"urlx\"=\"http://x.example/\"\n") +
                               kOtherKey);
    app.listState.kind = kListAboutUrls;
    EXPECT_EQ(ReadTypedUrls(app, kListIeTyped), 6);
    EXPECT_EQ(app.listState.kind, kListIeTyped);
    // The list sorts by URL, as it does for every registry list.
    EXPECT_EQ(Column(0), (std::vector<std::string>{"http://a.example/", "http://b.example/", "http://c.example/",
                                                   "http://d.example/", "http://j.example/", "http://x.example/"}));
    EXPECT_EQ(ReadTypedUrls(app, kListFavorites), -1);

    // Three rows over five url<n> values (one of them past a gap): url1..url3 are set and every
    // higher url<n> goes; other values and keys stay byte for byte.
    SetRows({{"http://one/"}, {"http://two/\"q\""}, {"http://three/"}});
    port.QueueAnswer(MsgAnswer::Yes);
    EXPECT_EQ(WriteTypedUrls(app, kListIeTyped), 0);
    const std::string written = tree.Read("user.reg");
    // Rows go in list order, which is the list's sorted order.
    EXPECT_NE(written.find("\"url1\"=\"http://one/\"\n\"url2\"=\"http://three/\"\n\"url3\"=\"http://two/\\\"q\\\"\"\n"
                           "\"urlx\"=\"http://x.example/\"\n"),
              std::string::npos)
        << written;
    EXPECT_EQ(written.find("url4"), std::string::npos) << written;
    EXPECT_EQ(written.find("url10"), std::string::npos);
    EXPECT_EQ(written.substr(written.find("\n[Software\\\\Other]")), kOtherKey);
    EXPECT_EQ(written.substr(0, RegHeader().size()), RegHeader());
    EXPECT_TRUE(MessageTexts().size() == 1); // the question only; no message follows
}

TEST_F(RegistryListsTest, MissingKeyEndsSilentlyAndMissingRegistrySaysWhy)
{
    tree.Write("user.reg", RegHeader() + kOtherKey);
    EXPECT_EQ(ReadTypedUrls(app, kListIeTyped), 0);
    EXPECT_TRUE(port.Messages().empty());
    EXPECT_EQ(ReadTypedUrls(app, kListAboutUrls), -1); // no system.reg
    ASSERT_EQ(port.Messages().size(), 1u);
    EXPECT_NE(port.Messages()[0].text.find("No Wine registry found"), std::string::npos);
    EXPECT_NE(port.Messages()[0].text.find("Windows disk"), std::string::npos);
}

TEST_F(RegistryListsTest, AboutUrlsKeepHomeAsReadAndSkipRowsWithoutName)
{
    const std::string aboutKey = "\n[Software\\\\Microsoft\\\\Internet Explorer\\\\AboutURLs] 1600000000\n";
    for (const std::string& home : {std::string("\"Home\"=\"res://shdoclg.dll/home.htm\"\n"),
                                    std::string("\"Home\"=hex(1):68,00\n"), std::string()}) {
        tree.Write("system.reg", RegHeader() + aboutKey + "\"blank\"=\"res://x/blank.htm\"\n" + home +
                                     "\"NavigationFailure\"=\"res://x/fail.htm\"\n" + kOtherKey);
        EXPECT_EQ(ReadTypedUrls(app, kListAboutUrls), 2) << home;
        EXPECT_EQ(Column(1), (std::vector<std::string>{"blank", "NavigationFailure"}));
        SetRows({{" res://y/blank.htm ", " blank "}, {"res://y/nothing.htm", "  "}, {"res://y/new.htm", "New"}});
        port.QueueAnswer(MsgAnswer::Yes);
        EXPECT_EQ(WriteTypedUrls(app, kListAboutUrls), 0);
        EXPECT_EQ(MessageTexts().back(), "List items saved !");
        const std::string written = tree.Read("system.reg");
        // "Home" comes back with its own type and bytes; a row without a name is not written.
        const std::string values = written.substr(written.find("AboutURLs] "));
        EXPECT_EQ(values.substr(values.find('\n') + 1, values.find("[Software\\\\Other]") - values.find('\n') - 1),
                  "\"blank\"=\"res://y/blank.htm\"\n" + home + "\"New\"=\"res://y/new.htm\"\n\n")
            << home;
    }
}

TEST_F(RegistryListsTest, RunningWineServerRefusesTheWrite)
{
    const std::string before = RegHeader() + TypedUrlsKey("\"url1\"=\"http://a.example/\"\n");
    tree.Write("user.reg", before);
    SetRows({{"http://new/"}});
    WhileWineRuns([&] {
        port.QueueAnswer(MsgAnswer::Yes);
        app.listState.kind = kListIeTyped;
        SaveListToInternetExplorer(app);
    });
    EXPECT_EQ(tree.Read("user.reg"), before);
    ASSERT_EQ(port.Messages().size(), 2u);
    const auto refusal = port.Messages()[1];
    EXPECT_EQ(refusal.caption, "Error");
    EXPECT_EQ(refusal.text.substr(0, refusal.text.find('\n')), "Could not save List to Internet Explorer !");
    EXPECT_NE(refusal.text.find("Wine is running"), std::string::npos);
}

TEST_F(RegistryListsTest, RasAddressesWithDatesAndDeletion)
{
    const std::string addresses = "\n[Software\\\\Microsoft\\\\RAS Autodial\\\\Addresses\\\\";
    tree.Write("user.reg", RegHeader() + addresses + "ftp.example.org] 1\n\"LastModified\"=dword:5f5e1000\n" +
                               addresses + "host.example.com] 1\n\"LastModified\"=hex:00,01\n" + addresses +
                               "h] 1\n@=\"\"\n" + addresses + "www.example.com] 1\n\"LastModified\"=hex:00,e1,f5,05\n" +
                               kOtherKey);
    EXPECT_EQ(ReadRasAutodial(app), 4);
    EXPECT_EQ(app.listState.kind, kListRasAutodial);
    // Only names beginning "www" or "ftp." get a scheme; short names are not cut; the date is
    // local time (the tests run in UTC) and needs four bytes.
    EXPECT_EQ(Rows(), (std::vector<std::vector<std::string>>{{"ftp://ftp.example.org", "2020/09/13, 12:26:40"},
                                                            {"h", ""},
                                                            {"host.example.com", ""},
                                                            {"http://www.example.com", "1973/03/03, 09:46:40"}}));
    app.list.SetSelectedRows({1, 3});
    port.QueueAnswer(MsgAnswer::Yes);
    EXPECT_EQ(DeleteRasAutodial(app), 2);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"ftp://ftp.example.org", "host.example.com"}));
    EXPECT_EQ(MessageTexts().back(), "2 Items deleted !");
    const std::string written = tree.Read("user.reg");
    EXPECT_EQ(written.find("www.example.com"), std::string::npos);
    EXPECT_EQ(written.find("Addresses\\\\h]"), std::string::npos);
    EXPECT_NE(written.find("Addresses\\\\host.example.com] 1\n"), std::string::npos);

    // An edited cell cannot reach beyond one address.
    SetRows({{"..\\..\\Other"}});
    app.list.SetSelectedRows({0});
    port.QueueAnswer(MsgAnswer::Yes);
    EXPECT_EQ(DeleteRasAutodial(app), 0);
    EXPECT_NE(tree.Read("user.reg").find("[Software\\\\Other]"), std::string::npos);
}

} // namespace
} // namespace lt
