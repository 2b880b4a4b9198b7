// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/item_scanner.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

#include "core/app_state.h"
#include "core/progress.h"
#include "list/add_result_row.h"
#include "search/block_reader.h"
#include "search/filter_words.h"
#include "search/item_builder.h"
#include "search/line_counter.h"
#include "search/page_record.h"
#include "search/start_filter.h"

namespace lt {

namespace {

constexpr uint64_t kProgressSize = 809000;
constexpr uint64_t kCheckInterval = 64 * 1024;
constexpr uint64_t kWindow = 1024;
constexpr std::size_t kBuffer = 260;

// The control bytes that make data binary; the others are found in text files.
constexpr uint32_t kBinaryControls = ControlsExcept({'\r', '\n', '\t', 0x15, 0x1B, 0x00, 0x0C});

bool IsDigit(int c)
{
    return c >= '0' && c <= '9';
}

bool IsAsciiLetter(int c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

std::string OffsetText(uint64_t offset)
{
    char text[24];
    std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(offset));
    return text;
}

} // namespace

struct ItemScanner::Impl
{
    explicit Impl(AppState& state) : app(state) {}

    AppState& app;
    BlockReader reader;
    bool reference = false;
    RowSink sink;

    // The parameters of the running scan (Hex mode adjusts a copy of app.scan).
    ScanParams p;
    ItemBuilder builder{app.tables, p};
    std::string anchor;
    std::size_t anchorLen = 0;
    uint8_t first = 0;      // the anchor's first byte
    StartFilter starts;     // where the anchor may start
    // What the anchor and the filter were made from: most searches scan many files alike.
    std::string preparedFrom;
    int preparedKind = -1;
    int preparedLen = -1;
    bool preparedFold = false;
    bool preparedHex = false;

    // Per-file (per-page) state.
    bool binary = false;
    long lineNo = 1;
    uint64_t lineStartAbs = 0;
    uint64_t seenAbs = 0;
    std::string lastHit, prevHit;

    // Per-run state, positions relative to the data.
    uint64_t base = 0;
    uint64_t pos = 0;
    uint64_t seen = 0;      // bytes below this were counted for lines and the binary test
    uint64_t lineStart = 0;
    std::size_t matched = 0;
    uint64_t restart = 0;
    bool ended = false;
    bool fileMode = true;
    bool stopOnBinary = false;
    // Lines and the binary test are brought up to date only where a candidate needs them (the
    // skipping loop), not after every hit (the loop that reads every byte).
    bool lazyLines = false;
    PageRecord* page = nullptr;
    std::string path;
    Progress* progress = nullptr;
    uint64_t nextCheck = 0;
    // The filter's marks of the 64 positions from chunkAt (see FindStart).
    uint64_t chunkAt = UINT64_MAX;
    uint64_t chunkBits = 0;

    bool Prepare();
    void ResetFile();
    void Run(uint64_t windowEnd, uint64_t hardEnd);
    void RunEveryByte(uint64_t windowEnd, uint64_t hardEnd);
    void RunSkipping();
    bool Advance(uint64_t to);
    bool Sync(uint64_t to) { return to <= seen || Advance(to); }
    void OnBinary();
    bool Checkpoint();
    bool FindStart(uint64_t from, uint64_t& next);
    bool StartPasses(uint64_t at);
    void Mismatch();
    void Candidate();
    void Resume(const ForwardRead& fr);
    void Deliver(const std::string& item, const std::string& context, uint64_t offset, uint64_t anchorEnd,
                 const std::string& hexContext);
};

bool ItemScanner::Impl::Prepare()
{
    p = app.scan;
    if (p.hexMode) {
        p.prefixMode = true;
        p.foldCase = false;
        p.nonBinaryOnly = false;
        p.entireLineMode = false;
    }
    if (p.itemKind == kItemIp)
        p.singleAnchorChar = 0;
    if (preparedKind == p.itemKind && preparedLen == p.anchorLen && preparedFold == p.foldCase &&
        preparedHex == p.hexMode && preparedFrom == app.scan.anchor1) {
        p.anchor1 = anchor;
        return anchorLen > 0 && anchorLen < 248;
    }
    preparedFrom = app.scan.anchor1;
    preparedKind = p.itemKind;
    preparedLen = p.anchorLen;
    preparedFold = p.foldCase;
    preparedHex = p.hexMode;

    anchor = p.anchor1;
    anchorLen = std::min<std::size_t>(p.anchorLen > 0 ? static_cast<std::size_t>(p.anchorLen) : anchor.size(),
                                      anchor.size());
    if (p.hexMode)
        anchorLen = anchor.size();
    anchor.resize(anchorLen);
    if (p.foldCase)
        for (char& c : anchor)
            c = static_cast<char>(app.tables.caseFoldMap[static_cast<uint8_t>(c)]);
    p.anchor1 = anchor;
    starts = StartFilter();
    if (anchorLen == 0 || anchorLen >= 248)
        return false;
    first = static_cast<uint8_t>(anchor[0]);

    // The bytes that may stand at each of the anchor's first positions, so that the skipping loop
    // passes over the rest; for IP addresses a digit on both sides of the dot and the next dot,
    // for e-mail addresses the byte before "@" (the checks of Candidate, made early).
    const auto folded = [&](uint8_t b) {
        ByteTable t{};
        for (int c = 0; c < 256; ++c)
            t[c] = (p.foldCase ? app.tables.caseFoldMap[c] : c) == b;
        return t;
    };
    starts.Require(0, folded(first));
    if (p.itemKind == kItemIp) {
        ByteTable digits{};
        for (int c = '0'; c <= '9'; ++c)
            digits[c] = 1;
        // The second number has one to three digits and a dot after it.
        ByteTable dot{};
        dot['.'] = 1;
        starts.Require(2, dot, 3);
        starts.Require(-1, digits);
        starts.Require(1, digits);
    } else {
        for (std::size_t k = 1; k < std::min<std::size_t>(anchorLen, 4); ++k)
            starts.Require(static_cast<int>(k), folded(static_cast<uint8_t>(anchor[k])));
        if (p.itemKind == kItemEmail) {
            ByteTable before{};
            for (int c = 0; c < 256; ++c)
                before[c] = IsDigit(c) || IsAsciiLetter(c) || c == '_' || c == '"';
            starts.Require(-1, before);
        }
    }
    return true;
}

void ItemScanner::Impl::ResetFile()
{
    binary = false;
    lineNo = 1;
    lineStartAbs = 0;
    seenAbs = 0;
    lastHit.clear();
    prevHit.clear();
    app.jobs.skipRequested.store(false, std::memory_order_relaxed);
}

// The job code and the skip flag, read at least every 64 KiB and before every candidate.
bool ItemScanner::Impl::Checkpoint()
{
    if (!app.jobs.ScanGoesOn()) {
        ended = true;
        return false;
    }
    if (progress)
        progress->Advance(seen);
    nextCheck = seen + kCheckInterval;
    return true;
}

void ItemScanner::Impl::OnBinary()
{
    binary = true;
    if (!fileMode && page && (p.nonBinaryOnly || page->binaryTest)) {
        page->followLinks = false;
        page->followLinks2 = false;
    }
}

// Counts the line feeds and runs the binary test over the bytes [seen, to) once each, as if the
// bytes had been read one at a time, and looks at the job code after every 64 KiB of them. False
// when the scan ends (binary stop, data gone, stop).
bool ItemScanner::Impl::Advance(uint64_t to)
{
    while (seen < to) {
        std::size_t avail = 0;
        const uint8_t* d = reader.Span(seen, avail);
        if (!d) {
            ended = true;
            return false;
        }
        uint64_t stretch = std::min<uint64_t>(avail, to - seen);
        if (nextCheck > seen)
            stretch = std::min(stretch, nextCheck - seen);
        const auto n = static_cast<std::size_t>(stretch);
        LineStretch counted = CountLines(d, n, binary ? 0 : kBinaryControls);
        lineNo += static_cast<long>(counted.lines);
        if (counted.afterLastLf > 0)
            lineStart = seen + counted.afterLastLf;
        if (counted.binaryAt != LineStretch::kNone) {
            OnBinary();
            const std::size_t after = counted.binaryAt + 1;
            if (stopOnBinary) {
                seen += after;
                ended = true;
                return false;
            }
            counted = CountLines(d + after, n - after, 0);
            lineNo += static_cast<long>(counted.lines);
            if (counted.afterLastLf > 0)
                lineStart = seen + after + counted.afterLastLf;
        }
        seen += n;
        if (seen >= nextCheck && !Checkpoint())
            return false;
    }
    return true;
}

// Whether the anchor may start at `at`, read through the reader: for the few positions whose
// neighbours lie outside the block at hand.
bool ItemScanner::Impl::StartPasses(uint64_t at)
{
    return starts.Passes([&](int offset) {
        if (offset < 0 && at < static_cast<uint64_t>(-offset))
            return -1;
        return reader.At(at + static_cast<uint64_t>(static_cast<int64_t>(offset)));
    });
}

// The next position from `from` on where the anchor may start, looking at most 64 KiB ahead;
// false (with `next` at the end of the stretch looked at) when there is none. The filter marks 64
// positions at a time; the marks not yet used are kept for the next call, since candidates may
// lie a few bytes apart.
bool ItemScanner::Impl::FindStart(uint64_t from, uint64_t& next)
{
    const auto before = static_cast<std::size_t>(starts.Before());
    const auto after = static_cast<std::size_t>(starts.After());
    const uint64_t limit = from + kCheckInterval;
    while (from < limit) {
        if (from >= chunkAt && from - chunkAt < 64) {
            uint64_t bits = chunkBits & (~uint64_t{0} << (from - chunkAt));
            while (bits != 0) {
                const uint64_t at = chunkAt + static_cast<uint64_t>(__builtin_ctzll(bits));
                bits &= bits - 1;
                std::size_t here = 0;
                const uint8_t* p = reader.Span(at, here);
                const bool passes =
                    (p && here > after && reader.Behind(at) >= before) ? starts.PassesAt(p) : StartPasses(at);
                if (passes) {
                    chunkBits = bits;
                    next = at;
                    return true;
                }
            }
            chunkBits = 0;
            from = chunkAt + 64;
            continue;
        }
        std::size_t avail = 0;
        const uint8_t* d = reader.Span(from, avail);
        if (!d)
            break;
        if (reader.Behind(from) < before) {
            // The byte before lies outside the block (or the data): this one position is
            // tested through the reader.
            if (StartPasses(from)) {
                next = from;
                return true;
            }
            ++from;
            continue;
        }
        if (avail >= 64 + after) {
            // Whole groups of 64 positions inside the block, up to the 64 KiB mark.
            const std::size_t chunks = std::min<std::size_t>(
                (avail - after) / 64, static_cast<std::size_t>((limit - from + 63) / 64));
            std::size_t index = 0;
            chunkBits = starts.NextMarks(d, chunks, index);
            from += 64 * index;
            chunkAt = index < chunks ? from : UINT64_MAX; // none marked: go on from there
            continue;
        }
        chunkAt = from;
        if (from + avail >= reader.Size()) {
            // The end of the data: the marks of a padded copy, which the exact test confirms.
            uint8_t padded[StartFilter::kMaxBefore + 64 + StartFilter::kMaxAfter] = {};
            const std::size_t have = std::min<std::size_t>(avail, 64 + after);
            std::memcpy(padded, d - before, before + have);
            std::size_t index = 0;
            chunkBits = starts.NextMarks(padded + before, 1, index);
            if (avail < 64)
                chunkBits &= (uint64_t{1} << avail) - 1;
        } else {
            // The end of a block: the bytes after it are not at hand yet.
            chunkBits = ~uint64_t{0};
        }
    }
    next = from;
    return false;
}

void ItemScanner::Impl::Mismatch()
{
    if (restart > 0) {
        pos = restart;
        matched = 1;
        restart = 0;
    } else {
        matched = 0;
    }
}

void ItemScanner::Impl::Run(uint64_t windowEnd, uint64_t hardEnd)
{
    matched = 0;
    restart = 0;
    pos = 0;
    ended = false;
    chunkAt = UINT64_MAX;
    chunkBits = 0;
    seen = seenAbs > base ? seenAbs - base : 0;
    lineStart = lineStartAbs > base ? lineStartAbs - base : 0;
    nextCheck = seen;
    if (Checkpoint()) {
        if (reference || windowEnd != UINT64_MAX)
            RunEveryByte(windowEnd, hardEnd);
        else
            RunSkipping();
    }
    if (progress)
        progress->Advance(seen);
    seenAbs = base + seen;
    lineStartAbs = base + lineStart;
}

// The matching loop one byte at a time: a mismatch goes back to the first later occurrence of the
// anchor's first byte. Crawler windows use it for their 1024-byte rule.
void ItemScanner::Impl::RunEveryByte(uint64_t windowEnd, uint64_t hardEnd)
{
    while (!ended) {
        if (pos >= windowEnd && matched == 0)
            break;
        if (pos >= hardEnd)
            break;
        int c = reader.At(pos);
        if (c < 0)
            break;
        ++pos;
        if (pos > seen && !Advance(pos))
            break;
        if (p.foldCase)
            c = app.tables.caseFoldMap[c];
        if (matched >= 1 && restart == 0 && c == first)
            restart = pos;
        if (c == static_cast<uint8_t>(anchor[matched])) {
            ++matched;
        } else {
            Mismatch();
            continue;
        }
        // A one-byte anchor that recurs inside a hit is at once the next candidate.
        while (matched == anchorLen && !ended)
            Candidate();
    }
}

// The same matches found faster: going back to the next first byte after every mismatch means
// trying each occurrence of the anchor's first byte in turn, so the loop jumps from one to the
// next and compares the anchor there. It passes over the occurrences where the bytes around
// cannot make a candidate at all (the anchor's next bytes; for IP addresses the digits around
// the dot; for e-mail addresses the byte before "@"): the loop above rejects those without a
// trace. Lines and the binary test are counted up to each match (and at least every 64 KiB),
// which is all the loop above lets anyone observe.
void ItemScanner::Impl::RunSkipping()
{
    const uint8_t* fold = app.tables.caseFoldMap.data();
    const bool folding = p.foldCase;
    const bool ipKind = p.itemKind == kItemIp;
    lazyLines = true;
    while (!ended) {
        uint64_t at = 0;
        if (!FindStart(pos, at)) {
            if (at > seen && !Advance(at))
                break;
            if (at == pos)
                break; // end of the data
            pos = at;
            continue;
        }
        // The job code is read at least every 64 KiB of data, candidates or not.
        if (at >= seen + kCheckInterval && !Advance(at))
            break;
        pos = at + 1;
        if (ipKind && (at == 0 || !IsDigit(reader.At(at - 1))))
            continue;
        // Compare the rest of the anchor, noting a later first byte inside it.
        std::size_t avail = 0;
        const uint8_t* d = reader.Span(at, avail);
        std::size_t i = 1;
        uint64_t inner = 0;
        if (d && avail >= anchorLen) {
            for (; i < anchorLen; ++i) {
                const uint8_t c = folding ? fold[d[i]] : d[i];
                if (inner == 0 && c == first)
                    inner = at + i + 1;
                if (c != static_cast<uint8_t>(anchor[i]))
                    break;
            }
        } else {
            for (; i < anchorLen; ++i) {
                const int got = reader.At(at + i);
                if (got < 0)
                    break;
                const uint8_t c = folding ? fold[got] : static_cast<uint8_t>(got);
                if (inner == 0 && c == first)
                    inner = at + i + 1;
                if (c != static_cast<uint8_t>(anchor[i]))
                    break;
            }
        }
        if (i < anchorLen)
            continue;
        pos = at + anchorLen;
        matched = anchorLen;
        restart = inner;
        while (matched == anchorLen && !ended)
            Candidate();
        if (matched == 1) {
            // Matching goes on from a first byte of the anchor: try that occurrence next.
            --pos;
            matched = 0;
        }
    }
    lazyLines = false;
}

// Scanning goes on after a hit: just after a later first byte of the anchor, or after the byte
// that ended the forward part. The bytes passed over are counted for lines and the binary test
// (by the skipping loop only when a later candidate needs them).
void ItemScanner::Impl::Resume(const ForwardRead& fr)
{
    matched = 0;
    if (restart == 0)
        restart = fr.restart;
    if (restart > 0) {
        pos = restart;
        restart = 0;
        matched = 1;
    } else {
        pos = std::max(pos, fr.end);
    }
    if (!lazyLines && pos > seen)
        Advance(pos);
}

void ItemScanner::Impl::Candidate()
{
    if (!app.jobs.ScanGoesOn()) {
        ended = true;
        return;
    }
    // Lines and the binary test stand at the end of the anchor once Sync(anchorEnd) has run: the
    // forward part and the rows need them, the checks that may reject the candidate before do not.
    const uint64_t anchorEnd = pos;
    const uint64_t anchorStart = pos - anchorLen;
    const int kind = p.itemKind;
    ItemBuilder& b = builder;
    std::string back;

    if (kind == kItemEmail) {
        const int before = anchorStart > 0 ? reader.At(anchorStart - 1) : -1;
        if (!(IsDigit(before) || IsAsciiLetter(before) || before == '_' || before == '"')) {
            Mismatch();
            return;
        }
    }

    if (kind == kItemIp) {
        // The dot at anchorStart follows a digit; read the rest of the address.
        const uint64_t dot = anchorStart;
        if (dot == 0 || !IsDigit(reader.At(dot - 1))) {
            Mismatch();
            return;
        }
        int numbers[4] = {0, 0, 0, 0};
        int group = 0;
        int digits = 0;
        int dots = 1;
        bool bad = false;
        uint64_t end = dot + 1;
        for (uint64_t i = dot + 1; i <= dot + 12; ++i) {
            const int c = reader.At(i);
            if (IsDigit(c)) {
                if (++digits > 3) {
                    bad = true;
                    break;
                }
                numbers[group + 1] = numbers[group + 1] * 10 + (c - '0');
                end = i + 1;
                continue;
            }
            if (digits == 0) {
                bad = true; // a dot after a dot, anything else after a dot, or the end
                break;
            }
            if (c == '.') {
                if (++dots == 4) {
                    if (IsDigit(reader.At(i + 1)))
                        bad = true;
                    break;
                }
                ++group;
                digits = 0;
                continue;
            }
            break;
        }
        if (!bad && digits == 0)
            bad = true;
        if (bad || group < 2 || numbers[1] > 255 || numbers[2] > 255 || numbers[3] > 255) {
            Mismatch();
            return;
        }
        uint64_t start = dot;
        int firstDigits = 0;
        while (start > 0 && firstDigits < 3 && IsDigit(reader.At(start - 1))) {
            --start;
            ++firstDigits;
        }
        for (uint64_t i = start; i < dot; ++i)
            numbers[0] = numbers[0] * 10 + (reader.At(i) - '0');
        const long sum = static_cast<long>(numbers[0]) + numbers[1] + numbers[2] + numbers[3];
        const int lead = start > 0 ? reader.At(start - 1) : -1;
        if (numbers[0] > 255 || sum <= app.settings.ipSumLimit || numbers[0] <= 10 || reader.At(start) == '0' ||
            IsDigit(lead) || IsAsciiLetter(lead) || lead == '.') {
            Mismatch();
            return;
        }
        if (!Sync(anchorEnd))
            return;
        std::string address;
        for (uint64_t i = start; i < end; ++i)
            address += static_cast<char>(reader.At(i));
        // The address with the bytes around it, cut out like any other hit.
        b.BackPart(reader, start, lineStart, address.size(), back);
        const std::size_t fixed = back.size() + address.size();
        ForwardRead fr = b.ReadForward(reader, end, fixed < kBuffer ? kBuffer - fixed : 0, back.size(), binary);
        b.FinishForward(fr.bytes);
        const std::string context = b.Assemble(back, address, fr.bytes);
        pos = end;
        Deliver(address, context, base + start, anchorEnd, std::string());
        Resume(fr);
        return;
    }

    uint64_t forwardStart = pos;
    if (kind == kItemJavascript) {
        while (true) {
            const int c = reader.At(forwardStart);
            if (c != ' ' && c != '\r' && c != '\n' && c != '\t')
                break;
            ++forwardStart;
        }
        if (forwardStart == pos) {
            Mismatch(); // "functionX" is a longer word
            return;
        }
    }

    if (kind == kItemUser && !Sync(anchorEnd))
        return;
    // The anchor as it is written in the data.
    std::string anchorText = anchor;
    if (p.foldCase && kind == kItemUser)
        for (std::size_t i = 0; i < anchorLen; ++i)
            anchorText[i] = static_cast<char>(reader.At(anchorStart + i));

    if (p.hexMode) {
        const std::size_t room = kBuffer - anchorLen;
        ForwardRead fr = b.ReadRaw(reader, pos, std::min<std::size_t>(16, room));
        // The dump shows fewer following bytes, or only the anchor, when a long user string
        // would make it longer than a cell holds.
        std::size_t shown = fr.bytes.size();
        while (shown > 0 && 4 * anchorLen + 4 * shown + 2 > 259)
            --shown;
        std::string item;
        if (shown == 0) {
            item = SpacedHex(anchorText.substr(0, std::min<std::size_t>(anchorLen, 86)));
        } else {
            const std::string following = fr.bytes.substr(0, shown);
            std::string chars = anchorText + following;
            for (char& ch : chars)
                if (static_cast<uint8_t>(ch) < 32 || static_cast<uint8_t>(ch) > 127)
                    ch = '.';
            item = SpacedHex(anchorText) + " " + SpacedHex(following) + " [" + chars + "]";
        }
        Deliver(item, std::string(), base + anchorStart, anchorEnd, SpacedHex(fr.bytes));
        Resume(fr);
        return;
    }

    if (!b.BackPart(reader, anchorStart, lineStart, anchorLen, back)) {
        Mismatch();
        return;
    }
    const std::size_t fixed = back.size() + anchorLen;
    const std::size_t limit = fixed < kBuffer ? kBuffer - fixed : 0;
    std::string item;
    ForwardRead fr;
    if (p.entireLineMode) {
        fr = b.ReadLine(reader, forwardStart, limit);
        item = ItemBuilder::AssembleLine(back, anchorText, fr.bytes);
    } else if (kind == kItemJavascript) {
        fr = b.ReadFunction(reader, forwardStart, limit);
        b.FinishForward(fr.bytes);
        if (std::count(fr.bytes.begin(), fr.bytes.end(), '(') == 1)
            item = fr.bytes;
    } else {
        if (!Sync(anchorEnd))
            return;
        fr = b.ReadForward(reader, forwardStart, limit, back.size(), binary);
        if (b.FinishForward(fr.bytes))
            item = b.Assemble(back, anchorText, fr.bytes);
    }
    Deliver(item, std::string(), base + anchorStart, anchorEnd, std::string());
    Resume(fr);
}

void ItemScanner::Impl::Deliver(const std::string& item, const std::string& context, uint64_t offset,
                                uint64_t anchorEnd, const std::string& hexContext)
{
    if (!builder.Acceptable(item) || !Sync(anchorEnd))
        return;
    const std::string lineText = (!binary || fileMode) ? std::to_string(lineNo) : std::string();
    if (app.settings.duplicatesPolicy != 0) {
        if (item == lastHit || item == prevHit)
            return;
        prevHit = lastHit;
        lastHit = item;
    }
    if (app.settings.restrictEnabled && (!MustNotPasses(app, item) || !MustPassesItem(app, item)))
        return;

    auto& texts = app.listState.rowTexts;
    if (p.itemKind == kItemIp) {
        texts[1] = context;
        texts[2] = lineText;
        texts[3] = OffsetText(offset);
        if (fileMode)
            texts[4] = path;
    } else {
        texts[1] = lineText;
        texts[2] = OffsetText(offset);
        if (fileMode)
            texts[3] = path;
        // The hex of the following bytes rides in the cell after the file, unless the walk
        // fills that cell with the file's date.
        if (!app.search.fileSizeFlag)
            texts[4] = hexContext;
    }
    if ((sink ? sink(app, item) : AddResultRow(app, item)) < 0)
        return;
    const long hits = app.search.hitCount.fetch_add(1) + 1;
    app.status.ShowRowCount(hits);
    if (app.settings.duplicatesPolicy == 3)
        ended = true;
}

ItemScanner::ItemScanner(AppState& app) : m_impl(new Impl(app)) {}

ItemScanner::~ItemScanner()
{
    delete m_impl;
}

void ItemScanner::SetReferencePath(bool on)
{
    m_impl->reference = on;
}

void ItemScanner::SetRowSink(RowSink sink)
{
    m_impl->sink = std::move(sink);
}

int ItemScanner::ScanFile(const std::string& path, const OpenedFile& file)
{
    Impl& s = *m_impl;
    AppState& app = s.app;
    app.jobs.skipRequested.store(false, std::memory_order_relaxed);
    if (file.fd >= 0) {
        s.reader.Borrow(file);
    } else if (!s.reader.Open(path)) {
        const std::size_t slash = path.find_last_of('/');
        const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
        app.status.SetStatusText("Could not open " + name + " ", 1, 1);
        app.ui.ReportUnreadable("Could not open " + path + " ");
        return 0;
    }
    if (app.search.severalFiles)
        app.status.SetStatusText(path, 0);
    const uint64_t size = s.reader.Size();
    Progress progress(app, size, size >= kProgressSize);
    if (s.Prepare()) {
        s.ResetFile();
        s.fileMode = true;
        s.page = nullptr;
        s.path = path;
        s.base = 0;
        s.stopOnBinary = s.p.nonBinaryOnly && app.settings.fileTypeMode == 2;
        s.progress = &progress;
        s.Run(UINT64_MAX, UINT64_MAX);
        s.progress = nullptr;
    }
    s.reader.Close();
    return 1;
}

int ItemScanner::ScanBuffer(const char* data, std::size_t length, uint64_t baseOffset, PageRecord& page)
{
    Impl& s = *m_impl;
    if (!s.Prepare())
        return 1;
    if (page.newPage) {
        s.ResetFile();
        page.newPage = false;
    }
    s.reader.Attach(data, length);
    s.fileMode = false;
    s.page = &page;
    s.base = baseOffset;
    s.stopOnBinary = false;
    s.progress = nullptr;
    if (page.lastBuffer)
        s.Run(UINT64_MAX, UINT64_MAX);
    else
        s.Run(kWindow, kWindow + s.anchorLen);
    s.reader.Close();
    return 1;
}

} // namespace lt
