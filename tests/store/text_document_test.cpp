// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/text_document.h"

#include <filesystem>
#include <string>

#include <unistd.h>

#include <gtest/gtest.h>

#include "program_files.h"
#include "store/text_find.h"
#include "store/text_font.h"

namespace lt {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

struct RoundTrip
{
    const char* name;
    std::string bytes;
    TextEncoding encoding;
    LineEnds style;
    std::string shown;        // what the window gets
    std::string prefix, tail; // the user's edit, around the shown text
    std::string edited;       // what the edited text saves as
    bool widened = false;
};

const RoundTrip kRoundTrips[] = {
    {"crlf", "a\r\nb\r\n", TextEncoding::Utf8, LineEnds::CrLf, "a\nb\n", "X", "", "Xa\r\nb\r\n"},
    {"lone_cr", "a\rb\r", TextEncoding::Utf8, LineEnds::Cr, "a\nb\n", "", "c\n", "a\rb\rc\r"},
    {"lf", "a\nb", TextEncoding::Utf8, LineEnds::Lf, "a\nb", "X", "", "Xa\nb"},
    // The most frequent line end wins in a mixed file.
    {"mixed", "a\r\nb\nc\r\nd\re", TextEncoding::Utf8, LineEnds::Mixed, "a\nb\nc\nd\ne", "X", "",
     "Xa\r\nb\r\nc\r\nd\r\ne"},
    {"mixed_lf_most", "a\nb\nc\r\n", TextEncoding::Utf8, LineEnds::Mixed, "a\nb\nc\n", "", "d", "a\nb\nc\nd"},
    {"cp1252_nbsp", "a\xA0"s "b\r\n", TextEncoding::Windows1252, LineEnds::CrLf, "a\xC2\xA0" "b\n", "X", "",
     "Xa\xA0" "b\r\n"},
    {"utf8_nbsp", "a\xC2\xA0" "b", TextEncoding::Utf8, LineEnds::None, "a\xC2\xA0" "b", "", "\n", "a\xC2\xA0" "b\n"},
    // Euro sign, a byte the code page leaves undefined, e acute.
    {"cp1252_bytes", "\x80\x81\xE9\r\n", TextEncoding::Windows1252, LineEnds::CrLf,
     "\xE2\x82\xAC\xC2\x81\xC3\xA9\n", "X", "", "X\x80\x81\xE9\r\n"},
    {"utf8", "\xC3\xA9\xE2\x82\xAC\r\n", TextEncoding::Utf8, LineEnds::CrLf, "\xC3\xA9\xE2\x82\xAC\n", "",
     "\xC3\xA9", "\xC3\xA9\xE2\x82\xAC\r\n\xC3\xA9"},
    // Invalid UTF-8 (a cut sequence) reads as Windows-1252 and stays those bytes.
    {"invalid_utf8", "x\xC3", TextEncoding::Windows1252, LineEnds::None, "x\xC3\x83", "y", "", "yx\xC3"},
    {"nul", "a\0b\n"s, TextEncoding::Utf8, LineEnds::Lf, "a\0b\n"s, "", "c", "a\0b\nc"s},
    // A character Windows-1252 lacks turns the file into UTF-8 rather than being lost.
    {"widened", "caf\xE9\r\n", TextEncoding::Windows1252, LineEnds::CrLf, "caf\xC3\xA9\n", "", "\xE2\x86\x92",
     "caf\xC3\xA9\r\n\xE2\x86\x92", true},
    // A line separator in the text is a character of the file, not a line end.
    {"separator", "a\xE2\x80\xA8" "b\r\n", TextEncoding::Utf8, LineEnds::CrLf, "a\xE2\x80\xA8" "b\n", "", "\r\n",
     "a\xE2\x80\xA8" "b\r\n\r\n"},
};

class TextDocumentTest : public ::testing::TestWithParam<RoundTrip>
{
};

TEST_P(TextDocumentTest, UneditedKeepsBytesEditedKeepsEncodingAndLineEnds)
{
    const RoundTrip& c = GetParam();
    TextDocument doc(c.bytes);
    EXPECT_EQ(doc.Encoding(), c.encoding);
    EXPECT_EQ(doc.Style(), c.style);
    EXPECT_EQ(doc.Shown(), c.shown);
    EXPECT_EQ(doc.BytesFor(doc.Shown()), c.bytes);
    bool widened = !c.widened;
    EXPECT_EQ(doc.BytesFor(c.prefix + c.shown + c.tail, &widened), c.edited);
    EXPECT_EQ(widened, c.widened);

    // Saved through the file: unedited byte for byte, edited as above; the next edit is written
    // with the same line ends.
    const fs::path dir = fs::temp_directory_path() / ("text_document_test_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string path = (dir / c.name).string();
    std::string error;
    ASSERT_TRUE(doc.Save(path, "ignored", false, error)) << error;
    EXPECT_EQ(testing_support::ReadAll(path), c.bytes);
    ASSERT_TRUE(doc.Save(path, c.prefix + c.shown + c.tail, true, error)) << error;
    EXPECT_EQ(testing_support::ReadAll(path), c.edited);
    EXPECT_EQ(doc.Bytes(), c.edited);
    if (c.style != LineEnds::None && c.style != LineEnds::Mixed) {
        EXPECT_EQ(doc.BytesFor("p\nq"), "p"s + std::string(doc.SavedLineEnd()) + "q");
    }
    fs::remove_all(dir);
}

INSTANTIATE_TEST_SUITE_P(Cases, TextDocumentTest, ::testing::ValuesIn(kRoundTrips),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TextDocumentSave, FailureLeavesTheOldFileAndSaysWhy)
{
    TextDocument doc("new");
    std::string error;
    // A folder below a regular file cannot exist, whoever runs the test.
    EXPECT_FALSE(doc.Save("/proc/self/exe/x.txt", "", false, error));
    EXPECT_NE(error.find("/proc/self/exe/x.txt"), std::string::npos);
}

struct FindCase
{
    const char* text;
    const char* needle;
    std::size_t from;
    bool found, wrapped;
    std::size_t pos;
};

TEST(TextFind, WrapsOnceAndComparesWithoutCase)
{
    const FindCase cases[] = {
        {"abc abc", "ABC", 0, true, false, 0},
        {"abc abc", "ABC", 1, true, false, 4},
        // Only a match before the caret: beep, then the earlier match.
        {"abc abc", "ABC", 5, true, true, 0},
        {"abc", "x", 0, false, false, 0},
        {"abc", "x", 2, false, true, 0},
        {"abc", "", 1, false, false, 0},
        {"abc", "abc", 99, true, true, 0},
        {"a\nb", "A\nB", 0, true, false, 0},
        // Windows-1252 letters fold as their bytes do; the positions stay those of the text.
        {"\xC3\x89lan \xC3\xA9lan", "\xC3\xA9LAN", 1, true, false, 6},
        {"\xC5\x93uvre", "\xC5\x92UVRE", 0, true, false, 0},
        {"\xC3\xBF", "\xC5\xB8", 0, true, false, 0},
        // No folding of letters the code page lacks, and no two-letter forms.
        {"\xCE\xA9mega", "\xCF\x89MEGA", 0, false, false, 0},
        {"stra\xC3\x9F" "e", "STRASSE", 0, false, false, 0},
    };
    for (const FindCase& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " / " + c.needle + " from " + std::to_string(c.from));
        const TextFindResult r = FindNextInText(c.text, c.needle, c.from);
        EXPECT_EQ(r.found, c.found);
        EXPECT_EQ(r.wrapped, c.wrapped);
        if (c.found) {
            EXPECT_EQ(r.pos, c.pos);
            EXPECT_EQ(r.length, std::string(c.needle).size());
        }
    }
}

TEST(TextFont, MissingOrMalformedValuesFallBack)
{
    struct Case
    {
        const char* face;
        const char* fields;
        const char* wantFace;
        const char* wantFields;
    };
    const char* def = "-12;0;400;0;0;3;2;1;49;0;";
    const Case cases[] = {
        {"", "", "Courier New", def},
        {"", "0;", "Courier New", def},
        {"Mono", "-16;0;700;1;0;3;2;1;49;7;", "Mono", "-16;0;700;1;0;3;2;1;49;7;"},
        {"Mono", "abc;", "Mono", def},
        {"Mono", "1;2;3;", "Mono", def},
        {"Mono", "1;2;3;4;5;6;7;8;9;10;11;", "Mono", def},
        {"Mono", "1;2;3;4;5;6;7;8;9;10", "Mono", def},
        {"Mono", "1;2;3;4;5;;7;8;9;10;", "Mono", def},
        {"Mono", "+1;2;3;4;5;6;7;8;9;10;", "Mono", def},
        {"Mono", "99999999999;2;3;4;5;6;7;8;9;10;", "Mono", def},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.face) + " / " + c.fields);
        const TextFont font = ReadTextFont(c.face, c.fields);
        EXPECT_EQ(font.face, c.wantFace);
        EXPECT_EQ(TextFontFieldsText(font), c.wantFields);
    }
    TextFont font = ReadTextFont("", "-16;0;700;5;0;3;2;1;49;0;");
    EXPECT_DOUBLE_EQ(font.Points(), 12.0);
    EXPECT_TRUE(font.Bold());
    font.SetPoints(9.0);
    EXPECT_EQ(font.values[TextFont::kHeight], -12);
}

} // namespace
} // namespace lt
