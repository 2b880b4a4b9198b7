// SPDX-License-Identifier: GPL-3.0-or-later
#include "inet/inet_texts.h"

#include <gtest/gtest.h>

namespace lt {
namespace {

TEST(InetTexts, StatusAndErrorLookups)
{
    struct Case { int number; const char* text; };
    const Case statuses[] = {
        {403, "403 - Forbidden"}, {404, "404 - Not Found"}, {504, "504 - Timed out"},
        {302, "302 - Moved Temporarily"}, {999, "999 !"}, {7, "007 !"}, {537, "537 !"},
    };
    for (const Case& c : statuses)
        EXPECT_EQ(HttpStatusText(c.number), c.text) << c.number;

    const Case errors[] = {
        {12002, "12002 - timed out"}, {12164, "12164 - server unreachable"},
        {12152, "12152 - invalid server response"}, {12045, "12045"}, {1, "1"},
    };
    for (const Case& c : errors)
        EXPECT_EQ(InetErrorText(c.number), c.text) << c.number;

    // The lookups compare a fixed prefix width and leave short or unknown texts alone.
    std::string text = "40";
    EXPECT_FALSE(LookupStatusText(text));
    EXPECT_EQ(text, "40");
    text = "404 anything";
    EXPECT_TRUE(LookupStatusText(text));
    EXPECT_EQ(text, "404 - Not Found");
    text = "X";
    EXPECT_FALSE(LookupInetErrorText(text));
    int count = 0;
    for (const char* const* e = InetErrorTable(); std::string(*e) != "X"; ++e)
        ++count;
    EXPECT_EQ(count, 18);
    count = 0;
    for (const char* const* e = HttpStatusTable(); std::string(*e) != "X"; ++e)
        ++count;
    EXPECT_EQ(count, 13);
}

TEST(InetTexts, TransferText)
{
    struct Case { double seconds; uint64_t bytes; int mode; const char* text; };
    const Case cases[] = {
        {0.2, 1023, kTransferDone, "Done. 1.023 Bytes "},
        {0.0, 0, kTransferPlain, " 0 Bytes "},
        {0.5, 1024, kTransferPlain, " 1.0 K (1.0 K/s) "},
        {2.0, 1048575, kTransferCancelled, " 1023.0 K (511.5 K/s) (Cancelled)"},
        {1.0, 1048576, kTransferSkipped, " 1.02 M (1024.0 K/s) (Skipped)"},
        {4.0, 2097152, kTransferPlain, " 2.05 M (512.0 K/s) "},
        {-3.0, 2048, 7, " 2.0 K (2.0 K/s) "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatTransferText(c.seconds, c.bytes, c.mode), c.text) << c.bytes;
    EXPECT_EQ(GroupDigits(2097152), "2.097.152");
    EXPECT_EQ(GroupDigits(999), "999");
    EXPECT_EQ(GroupDigits(1000), "1.000");
    EXPECT_EQ(GroupDigits(18446744073709551615ull), "18.446.744.073.709.551.615");
}

TEST(InetTexts, StateAndCounterLines)
{
    EXPECT_EQ(JobStateText(0, 9, 5), "Status: Idle... (09:05)");
    EXPECT_EQ(JobStateText(2, 9, 5), "Status: Receiving...");
    EXPECT_EQ(InetStateWord(8), "Test Url Status");
    EXPECT_EQ(InetStateWord(9), "");
    EXPECT_EQ(CounterText(10, 3, 0), "Retrieved: 3/10");
    EXPECT_EQ(CounterText(10, 4, 2), "Ok Items: 4/10");
    EXPECT_EQ(CounterText(12, -1, 0, "Retrieved: 7/10"), "Retrieved: 7/12");
}

TEST(InetTexts, UrlTextAndProtocol)
{
    struct Case { const char* text; bool isUrl; int protocol; };
    const Case cases[] = {
        {"http://a", true, 1},   {"HTTPS://host/", true, 1}, {"https:/", true, 1},
        {"http:/", false, 1},    {"httpx//", false, 1},      {"http:x/y", true, 1},
        {"ftp:x", false, 0},     {"ftp://h", true, 2},       {"FTP://host/f", true, 2},
        {"ftp:abc", true, 0},    {"gopher://x", false, 0},   {"", false, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsUrlText(c.text), c.isUrl) << c.text;
        EXPECT_EQ(ProtocolOf(c.text), c.protocol) << c.text;
    }
}

} // namespace
} // namespace lt
