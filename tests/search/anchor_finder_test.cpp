// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/anchor_finder.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "search/block_reader.h"
#include "search/scan_params.h"
#include "temp_tree.h"

namespace lt {
namespace {

// The link scanner's matcher one byte at a time: anchors chosen by their first byte, a restart
// position at a later first byte, and for kind 0 the colon written as "&#58;".
class ByteMatcher
{
public:
    ByteMatcher(const ScanParams& scan, const CharTables& tables, bool binaryStops)
        : m_scan(scan), m_tables(tables), m_binaryStops(binaryStops)
    {
    }

    AnchorEvent Next(const std::string& data, std::size_t from) const
    {
        static constexpr std::string_view kRef = "#58;";
        const std::string* anchors[4] = {nullptr, &m_scan.anchor1, &m_scan.anchor2, &m_scan.anchor3};
        std::size_t matched = 0, restart = 0, start = 0, entity = 0;
        int which = 0, restartWhich = 0;
        std::size_t pos = from;
        while (pos < data.size()) {
            auto c = static_cast<uint8_t>(data[pos]);
            ++pos;
            if (m_binaryStops && c < 32 && c != '\r' && c != '\n' && c != '\t' && c != 0x15 && c != 0x1B && c != 0)
                return {AnchorEvent::kBinary, pos - 1, 0, 0, false};
            if (m_scan.foldCase)
                c = m_tables.caseFoldMap[c];
            // A reference colon that breaks off is a mismatch like any other byte.
            bool brokenRef = false;
            if (entity > 0) {
                if (c == kRef[entity - 1]) {
                    if (++entity == 5)
                        return {AnchorEvent::kFound, start, pos - start, which, true};
                    continue;
                }
                entity = 0;
                brokenRef = true;
            } else if (m_scan.itemKind == 0 && c == '&' && matched > 0 &&
                       matched == anchors[which]->find(':')) {
                entity = 1;
                continue;
            }
            const bool first1 = c == static_cast<uint8_t>((*anchors[1])[0]);
            const bool first2 = c == static_cast<uint8_t>((*anchors[2])[0]);
            if (matched >= 1 && restart == 0 && (first1 || first2)) {
                restart = pos;
                restartWhich = first1 ? 1 : 2;
            }
            if (!brokenRef && matched == 0) {
                which = first1 ? 1 : (first2 ? 2 : 0);
                if (which != 0) {
                    matched = 1;
                    start = pos - 1;
                }
                continue;
            }
            if (!brokenRef && c == static_cast<uint8_t>((*anchors[which])[matched])) {
                ++matched;
                if (matched == anchors[which]->size())
                    return {AnchorEvent::kFound, start, matched, which, false};
                continue;
            }
            if (!brokenRef && which == 1 && !anchors[3]->empty() &&
                       anchors[3]->compare(0, matched, *anchors[1], 0, matched) == 0 &&
                       c == static_cast<uint8_t>((*anchors[3])[matched])) {
                which = 3; // "https" parts from "http" at its fifth byte
                ++matched;
                continue;
            }
            // A mismatch: go back to the later first byte, or start over.
            if (restart > 0) {
                pos = restart;
                start = restart - 1;
                which = restartWhich;
                matched = 1;
                restart = 0;
            } else {
                matched = 0;
                which = 0;
            }
        }
        return {};
    }

private:
    const ScanParams& m_scan;
    const CharTables& m_tables;
    bool m_binaryStops;
};

ScanParams Params(int kind, bool foldCase, bool https)
{
    static const char* kAnchors[4][2] = {
        {"http://", "ftp://"}, {"mailto:", "news:"}, {"gopher://", "wais://"}, {"telnet://", "telnet://"}};
    ScanParams p;
    p.itemKind = kind;
    p.anchor1 = kAnchors[kind][0];
    p.anchor2 = kAnchors[kind][1];
    p.anchor3 = (kind == 0 && https) ? "https://" : "";
    p.anchorLen = static_cast<int>(p.anchor1.size());
    p.foldCase = foldCase;
    return p;
}

// Text made of anchor pieces, their upper-case forms, the reference colon and control bytes, so
// that partial matches, restarts and binary bytes are frequent.
std::string Generate(std::mt19937& rng, std::size_t size)
{
    static const char* kPieces[] = {"http", "https", "HTTP", "Https", "ftp", "FTP", "://", ":/", "&#58;", "&#5",
                                    "&", "h", "f", "t", "p", "s", "mailto", "news", "MAILTO", ":", "gopher", "wais",
                                    "telnet", "telne", "TELNET", "x", " ", "\n", "\x01", "\x0C", "\t", "/", "\x1B"};
    std::uniform_int_distribution<std::size_t> pick(0, std::size(kPieces) - 1);
    std::string out;
    while (out.size() < size)
        out += kPieces[pick(rng)];
    out.resize(size);
    return out;
}

// Walks the data with both matchers, resuming after each hit at a random point as the scanner
// does, with limits of random width; every event must agree.
void Compare(const std::string& data, BlockReader& reader, const ScanParams& scan, bool binary, std::mt19937& rng)
{
    CharTables tables;
    AnchorFinder finder(scan, tables, binary);
    ByteMatcher reference(scan, tables, binary);
    std::uniform_int_distribution<uint64_t> width(1, 300);
    std::size_t pos = 0;
    while (pos < data.size()) {
        const AnchorEvent want = reference.Next(data, pos);
        AnchorEvent got;
        uint64_t at = pos;
        while (at < data.size()) {
            const uint64_t limit = std::min<uint64_t>(data.size(), at + width(rng));
            got = finder.Next(reader, at, limit);
            if (got.kind != AnchorEvent::kNone)
                break;
            at = limit;
        }
        ASSERT_EQ(got.kind, want.kind) << "from " << pos;
        if (want.kind == AnchorEvent::kNone || want.kind == AnchorEvent::kBinary) {
            if (want.kind == AnchorEvent::kBinary) {
                ASSERT_EQ(got.pos, want.pos);
            }
            return;
        }
        ASSERT_EQ(got.pos, want.pos) << "from " << pos << " text " << data.substr(want.pos, 12);
        ASSERT_EQ(got.length, want.length);
        ASSERT_EQ(got.which, want.which);
        ASSERT_EQ(got.entity, want.entity);
        pos = want.pos + 1 + std::uniform_int_distribution<std::size_t>(0, want.length + 3)(rng);
    }
}

TEST(AnchorFinder, AgreesWithTheByteMatcherOnGeneratedText)
{
    std::mt19937 rng(20240607);
    for (int round = 0; round < 40; ++round) {
        const std::string data = Generate(rng, 2000 + static_cast<std::size_t>(round) * 97);
        BlockReader reader;
        reader.Attach(data.data(), data.size());
        for (int kind = 0; kind < 4; ++kind)
            for (const bool fold : {true, false})
                for (const bool https : {true, false})
                    for (const bool binary : {false, true}) {
                        SCOPED_TRACE(::testing::Message() << "round " << round << " kind " << kind << " fold " << fold
                                                        << " https " << https << " binary " << binary);
                        Compare(data, reader, Params(kind, fold, https), binary, rng);
                    }
    }
}

TEST(AnchorFinder, AgreesAcrossTheBlocksOfAFile)
{
    std::mt19937 rng(77);
    const std::string data = Generate(rng, BlockReader::kBlockSize * 2 + 12345);
    testing::TempTree tree;
    const std::string path = tree.Write("data.bin", data);
    for (const bool binary : {false, true}) {
        BlockReader reader;
        ASSERT_TRUE(reader.Open(path));
        Compare(data, reader, Params(0, true, true), binary, rng);
    }
}

TEST(AnchorFinder, PatternsOfTheKinds)
{
    const auto patterns = AnchorFinder::BuildPatterns(Params(0, true, true));
    ASSERT_EQ(patterns.size(), 6u);
    EXPECT_EQ(patterns[1].bytes, "http&#58;");
    EXPECT_TRUE(patterns[1].entity);
    EXPECT_EQ(patterns[5].bytes, "https&#58;");
    EXPECT_EQ(patterns[5].which, 3);
    EXPECT_EQ(AnchorFinder::BuildPatterns(Params(0, true, false)).size(), 4u);
    EXPECT_EQ(AnchorFinder::BuildPatterns(Params(1, true, true)).size(), 2u);
    EXPECT_EQ(AnchorFinder::BuildPatterns(Params(3, true, true)).size(), 1u);
}

} // namespace
} // namespace lt
