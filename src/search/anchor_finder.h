// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "search/char_tables.h"

namespace lt {

class BlockReader;
struct ScanParams;

// One byte sequence that starts a URL of the URL kinds: an anchor ("http://") or, for kind 0, its
// form with the colon written as a character reference ("http&#58;").
struct AnchorPattern
{
    std::string bytes;   // folded to lower case when the scan folds case
    int which = 1;       // 1, 2 or 3: the anchor it stands for
    bool entity = false; // the colon is "&#58;"
};

// What the next step of a link scan meets.
struct AnchorEvent
{
    enum Kind { kNone, kFound, kBinary };
    Kind kind = kNone;
    uint64_t pos = 0;        // the anchor's first byte, or the binary byte
    std::size_t length = 0;  // bytes of the pattern matched
    int which = 0;
    bool entity = false;
};

// Finds the anchors of a URL kind in a byte stream the way a byte-by-byte matcher with its restart
// rule does (the first anchor start at or after a position), and the binary test's first control
// byte, but skips in wide steps over bytes that cannot start an anchor.
class AnchorFinder
{
public:
    // `binaryStops`: a control byte other than CR, LF, tab, 0x15, 0x1B and NUL ends the scan.
    AnchorFinder(const ScanParams& scan, const CharTables& tables, bool binaryStops);

    // The first anchor that starts in [pos, limit) or the first binary byte there, whichever comes
    // first; kNone when there is neither. Verifying an anchor may read past `limit`.
    AnchorEvent Next(BlockReader& data, uint64_t pos, uint64_t limit);

    const std::vector<AnchorPattern>& Patterns() const { return m_patterns; }
    std::size_t LongestPattern() const { return m_longest; }
    bool FoldsCase() const { return m_foldCase; }

    // The patterns of a kind: anchor 1, anchor 2 (when it differs), anchor 3 (when set) and for
    // kind 0 the character-reference forms of each.
    static std::vector<AnchorPattern> BuildPatterns(const ScanParams& scan);

private:
    bool MatchesAt(BlockReader& data, const uint8_t* direct, std::size_t available, uint64_t pos,
                   AnchorEvent& event) const;
    AnchorEvent Scalar(BlockReader& data, uint64_t pos, uint64_t end);

    std::vector<AnchorPattern> m_patterns;
    std::size_t m_longest = 0;
    std::size_t m_prefix = 0;        // bytes of every pattern looked at by the wide filter (1..4)
    bool m_foldCase = true;
    bool m_binaryStops = false;
    ByteTable m_fold{};              // identity when case is kept
    ByteTable m_isBinary{};
    // Per prefix position: which bytes (after folding) may stand there.
    std::array<ByteTable, 4> m_allowed{};
    // Per prefix position the distinct folded bytes, for the wide filter (at most 4 each).
    std::array<std::array<uint8_t, 4>, 4> m_setBytes{};
    std::array<int, 4> m_setSize{};
};

} // namespace lt
