// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/registry_file.h"

#include <gtest/gtest.h>

namespace lt {
namespace {

// Every value form Wine writes, continuation lines, escapes in key and value names, comment and
// option lines, a key that exists only through its sub-key, and a CRLF key.
const std::string kFile =
    "WINE REGISTRY Version 2\n"
    ";; All keys relative to \\\\User\\\\S-1-5-21-0-0-0-1000\n"
    "\n"
    "#arch=win64\n"
    "\n"
    "[Software\\\\Microsoft\\\\Internet Explorer\\\\TypedURLs] 1600000000\n"
    "#time=1d6a0b0c0d0e0f0\n"
    "\"url1\"=\"http://a.example/\"\n"
    "\"url10\"=\"http://j.example/\"\n"
    "\"url2\"=\"http://b.example/q?\\\"x\\\"\\\\y\"\n"
    "\n"
    "[Software\\\\Microsoft\\\\RAS Autodial\\\\Addresses\\\\www.example.com] 1600000001\n"
    "\"LastModified\"=hex:00,e1,f5,05\n"
    "\n"
    "[Software\\\\Test\\\\Caf\\xe9] 1600000002\n"
    "#class=\"klass\"\n"
    "@=\"default\"\n"
    "\"Bin\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,17,18,\\\n"
    "  19,1a\n"
    "\"Dw\"=dword:0000002a\n"
    "\"Exp\"=str(2):\"%USERPROFILE%\\\\Desktop\"\n"
    "\"Multi\"=str(7):\"one\\0two\\0\"\n"
    "\"NoTerm\"=hex(1):41,00,42,00\n"
    "\"Tabs\\x263a\"=\"a\\tb\\n\\x20ac\\101\"\n"
    "\"Broken\"=dword:zz\n"
    "\n"
    "[Software\\\\Windows] 1600000003\r\n"
    "#time=1d6a0b0c0d0e0f1\r\n"
    "\"Version\"=\"10\"\r\n";

constexpr const char* kTyped = "Software\\Microsoft\\Internet Explorer\\TypedURLs";
constexpr const char* kTest = "software\\test\\caf\xe9"; // the key's name through \xe9, in another case

std::string Repeat(const std::string& text, int count)
{
    std::string out;
    for (int i = 0; i < count; ++i)
        out += text;
    return out;
}

RegistryFile Loaded(const std::string& text = kFile)
{
    RegistryFile reg;
    std::string error;
    EXPECT_TRUE(reg.Load(text, error)) << error;
    return reg;
}

TEST(RegistryFile, ReadsEveryValueForm)
{
    const RegistryFile reg = Loaded();
    std::string text;
    ASSERT_TRUE(reg.QueryString(kTyped, "URL2", text));
    EXPECT_EQ(text, "http://b.example/q?\"x\"\\y");
    ASSERT_TRUE(reg.QueryString(kTest, "", text));
    EXPECT_EQ(text, "default");
    ASSERT_TRUE(reg.QueryString(kTest, "exp", text));
    EXPECT_EQ(text, "%USERPROFILE%\\Desktop");
    // \x263a (a smiley) has no Windows-1252 byte; \x20ac is the euro sign 0x80; \101 is "A".
    ASSERT_TRUE(reg.QueryString(kTest, "Tabs?", text));
    EXPECT_EQ(text, "a\tb\n\x80" "A");

    RegValue v;
    ASSERT_TRUE(reg.QueryValue(kTest, "Bin", v));
    EXPECT_EQ(v.type, kRegBinary);
    ASSERT_EQ(v.data.size(), 27u);
    EXPECT_EQ(v.data[26], '\x1a');
    ASSERT_TRUE(reg.QueryValue(kTest, "Dw", v));
    EXPECT_EQ(v.type, kRegDword);
    EXPECT_EQ(v.data, std::string("\x2a\0\0\0", 4));
    ASSERT_TRUE(reg.QueryValue(kTest, "Multi", v));
    EXPECT_EQ(v.type, kRegMultiSz);
    EXPECT_EQ(v.data, std::string("o\0n\0e\0\0\0t\0w\0o\0\0\0\0\0", 18));
    ASSERT_TRUE(reg.QueryValue(kTest, "NoTerm", v));
    EXPECT_EQ(v.type, kRegSz);
    EXPECT_EQ(v.data.size(), 4u);
    EXPECT_FALSE(reg.QueryString(kTest, "Dw", text));
    EXPECT_FALSE(reg.QueryValue(kTest, "Broken", v)); // unreadable lines are kept, not shown
    ASSERT_TRUE(reg.QueryString("Software\\Windows", "Version", text));
    EXPECT_EQ(text, "10");

    // Values in file order; sub-keys derived from the sections' paths, implied keys included.
    std::vector<std::string> names;
    for (const RegValue& value : reg.Values(kTyped))
        names.push_back(value.name);
    EXPECT_EQ(names, (std::vector<std::string>{"url1", "url10", "url2"}));
    EXPECT_TRUE(reg.KeyExists("Software\\Microsoft\\RAS Autodial"));
    EXPECT_FALSE(reg.KeyExists("Software\\Microsoft\\RAS"));
    EXPECT_EQ(reg.SubKeys("software\\microsoft\\ras autodial\\addresses"),
              (std::vector<std::string>{"www.example.com"}));
    EXPECT_EQ(reg.SubKeys("Software"), (std::vector<std::string>{"Microsoft", "Test", "Windows"}));
    EXPECT_EQ(reg.KeyCount(), 4u);
}

TEST(RegistryFile, RefusesOtherFiles)
{
    RegistryFile reg;
    std::string error;
    EXPECT_FALSE(reg.Load("REGEDIT4\n[HKEY_CURRENT_USER]\n", error));
    EXPECT_NE(error.find("line 1"), std::string::npos);
    EXPECT_FALSE(reg.Load("WINE REGISTRY Version 20\n", error));
}

TEST(RegistryFile, UntouchedFileSerializesByteForByte)
{
    RegistryFile reg = Loaded();
    reg.ParseAll();
    EXPECT_EQ(reg.Serialize(1700000000), kFile);
    EXPECT_FALSE(reg.Changed());
}

// The file with `from` replaced by `to` once.
std::string Replaced(const std::string& from, const std::string& to)
{
    std::string text = kFile;
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return text.replace(at, from.size(), to);
}

TEST(RegistryFile, ChangesTouchOnlyTheirKey)
{
    const std::string stamp = "1700000000\n#time=1da1747c66d0000\n";
    {
        RegistryFile reg = Loaded();
        reg.SetString(kTyped, "url2", "http://new/\"q\"");
        EXPECT_EQ(reg.Serialize(1700000000),
                  Replaced("1600000000\n#time=1d6a0b0c0d0e0f0\n\"url1\"=\"http://a.example/\"\n\"url10\"=\"http://j.example/\"\n"
                           "\"url2\"=\"http://b.example/q?\\\"x\\\"\\\\y\"\n",
                           stamp + "\"url1\"=\"http://a.example/\"\n\"url10\"=\"http://j.example/\"\n"
                                   "\"url2\"=\"http://new/\\\"q\\\"\"\n"));
    }
    {
        // A new value goes in name order; a deleted one leaves no line; the key keeps its class.
        RegistryFile reg = Loaded();
        reg.SetDword(kTest, "Ab", 7);
        EXPECT_TRUE(reg.DeleteValue(kTest, "DW"));
        EXPECT_FALSE(reg.DeleteValue(kTest, "Dw"));
        const std::string out = reg.Serialize(1700000000);
        EXPECT_NE(out.find("[Software\\\\Test\\\\Caf\\xe9] 1700000000\n#class=\"klass\"\n@=\"default\"\n\"Ab\"=dword:00000007\n\"Bin\"=hex:00,"),
                  std::string::npos);
        EXPECT_EQ(out.find("\"Dw\""), std::string::npos);
        EXPECT_NE(out.find("\"Broken\"=dword:zz\n"), std::string::npos);
        EXPECT_EQ(out.substr(0, out.find("[Software\\\\Test")), kFile.substr(0, kFile.find("[Software\\\\Test")));
        EXPECT_EQ(out.substr(out.find("[Software\\\\Windows]")), kFile.substr(kFile.find("[Software\\\\Windows]")));
    }
    {
        // A CRLF key keeps its line ends.
        RegistryFile reg = Loaded();
        reg.SetString("Software\\Windows", "Version", "11");
        EXPECT_EQ(reg.Serialize(5), Replaced("[Software\\\\Windows] 1600000003\r\n#time=1d6a0b0c0d0e0f1\r\n\"Version\"=\"10\"",
                                             "[Software\\\\Windows] 5\r\n#time=19db1ded8397080\r\n\"Version\"=\"11\""));
    }
}

TEST(RegistryFile, NewAndDeletedKeys)
{
    RegistryFile reg = Loaded();
    EXPECT_TRUE(reg.DeleteKey("Software\\Microsoft\\RAS Autodial"));
    EXPECT_FALSE(reg.KeyExists("Software\\Microsoft\\RAS Autodial\\Addresses"));
    EXPECT_FALSE(reg.DeleteKey("Software\\Microsoft\\RAS Autodial"));
    reg.SetString("Software\\Microsoft\\Internet Explorer\\AboutURLs", "blank", "res://x/\xe9");
    reg.SetValue("Software\\Zed", RegValue{"Long", kRegBinary, std::string(30, '\x11')});
    const std::string out = reg.Serialize(1700000000);
    EXPECT_EQ(out.find("RAS Autodial"), std::string::npos);
    // Keys are placed in Wine's depth-first order; non-ASCII characters are written as \x escapes.
    const std::size_t about = out.find("\n[Software\\\\Microsoft\\\\Internet Explorer\\\\AboutURLs] 1700000000\n"
                                       "#time=1da1747c66d0000\n\"blank\"=\"res://x/\\xe9\"\n\n");
    ASSERT_NE(about, std::string::npos);
    EXPECT_LT(about, out.find("[Software\\\\Microsoft\\\\Internet Explorer\\\\TypedURLs]"));
    // Long data wraps as Wine wraps it: after the comma that passes column 76.
    EXPECT_NE(out.find("\"Long\"=hex:" + Repeat("11,", 22) + "\\\n  " +
                       Repeat("11,", 7) + "11\n"),
              std::string::npos);

    // What was written reads back as set.
    RegistryFile again = Loaded(out);
    std::string text;
    ASSERT_TRUE(again.QueryString("software\\microsoft\\internet explorer\\abouturls", "BLANK", text));
    EXPECT_EQ(text, "res://x/\xe9");
    RegValue v;
    ASSERT_TRUE(again.QueryValue("Software\\Zed", "Long", v));
    EXPECT_EQ(v.data, std::string(30, '\x11'));
    EXPECT_EQ(again.Serialize(1), out);
}

TEST(RegistryFile, StringEscapesRoundTrip)
{
    const std::u16string units = {u'a', 0, u'7', 1, u'\\', u'"', 0x263a, u'b', 0x263a, u'!', 27, u'\r'};
    const std::string escaped = EncodeRegistryString(units, '"');
    EXPECT_EQ(escaped, "a\\0007\\1\\\\\\\"\\x263ab\\x263a!\\e\\r");
    std::u16string back;
    std::size_t used = 0;
    ASSERT_TRUE(DecodeRegistryString(escaped + "\"tail", '"', back, used));
    EXPECT_EQ(back, units);
    EXPECT_EQ(used, escaped.size() + 1);
    EXPECT_FALSE(DecodeRegistryString("no end\\\"", '"', back, used));
}

} // namespace
} // namespace lt
