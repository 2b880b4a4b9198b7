// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace lt {

class BlockReader;
struct CharTables;
struct ScanParams;

// How a forward part was read: where reading ended and where the anchor's first byte recurred.
struct ForwardRead
{
    std::string bytes;
    uint64_t end = 0;     // position after the last byte read (the stopping byte included)
    uint64_t restart = 0; // position after the first byte equal to the anchor's first byte, or 0
};

// Cuts an item out of the bytes around an anchor: the back part before it and the forward part
// after it, with their stop rules, bracket balance, quote rules and trims. Reads through the
// block reader; never past the end of the data, never more than 260 bytes a part.
class ItemBuilder
{
public:
    ItemBuilder(const CharTables& tables, const ScanParams& params) : m_t(tables), m_p(params) {}

    // The back part of the anchor at `anchorStart` (reading order, decoded, balanced, trimmed).
    // `lineStart` serves the Entire Line mode. False when kind 6 rules reject the candidate.
    bool BackPart(BlockReader& r, uint64_t anchorStart, uint64_t lineStart, std::size_t anchorLen,
                  std::string& back) const;

    // Reads the raw forward part from `start`, at most `limit` bytes, with the rules of the kind.
    // `binary` is the state of the data at the anchor.
    ForwardRead ReadForward(BlockReader& r, uint64_t start, std::size_t limit, std::size_t backLen,
                            bool binary) const;
    // Kind 5: the name and its argument list; empty when the rules empty it.
    ForwardRead ReadFunction(BlockReader& r, uint64_t start, std::size_t limit) const;
    // Entire Line: the bytes up to the next carriage return or line feed.
    ForwardRead ReadLine(BlockReader& r, uint64_t start, std::size_t limit) const;
    // Hex mode: up to `count` bytes as they are.
    ForwardRead ReadRaw(BlockReader& r, uint64_t start, std::size_t count) const;

    // The clean-up of a read forward part; false when kind 6 rules reject it.
    bool FinishForward(std::string& forward) const;

    // Assembly of back + anchor + forward with the trailing-byte rule (normal and Prefix modes).
    std::string Assemble(const std::string& back, const std::string& anchor, std::string forward) const;
    // Entire Line assembly: cut to 257 bytes and trimmed at both ends.
    static std::string AssembleLine(const std::string& back, const std::string& anchor,
                                    const std::string& forward);

    // The checks of a finished item before it is added (length, e-mail shape).
    bool Acceptable(const std::string& item) const;

    // Helpers shared with the tests.
    static void PercentDecode(std::string& text);
    void BalanceBrackets(std::string& text) const;
    void LeadTrim(std::string& text) const;
    void TailTrim(std::string& text) const;

private:
    int PairOf(uint8_t c, bool& opening) const;
    bool Restarts(uint8_t c) const;

    const CharTables& m_t;
    const ScanParams& m_p;
};

// "%02X " per byte without the final blank ("4A 6F").
std::string SpacedHex(const std::string& bytes);

} // namespace lt
