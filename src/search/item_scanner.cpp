// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/item_scanner.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "core/app_state.h"
#include "core/progress.h"
#include "list/add_result_row.h"
#include "search/block_reader.h"
#include "search/filter_words.h"
#include "search/item_builder.h"
#include "search/page_record.h"

namespace lt {

namespace {

constexpr uint64_t kProgressSize = 809000;
constexpr uint64_t kCheckInterval = 64 * 1024;
constexpr uint64_t kWindow = 1024;
constexpr std::size_t kBuffer = 260;

// Control bytes that do not make data binary.
constexpr bool TextControl(uint8_t c)
{
    return c == '\r' || c == '\n' || c == '\t' || c == 0x15 || c == 0x1B || c == 0x00 || c == 0x0C;
}

// Sixteen bytes compared at once (vector extensions of GCC and Clang, plain SSE2 on x86-64).
using Lanes = uint8_t __attribute__((vector_size(16)));
using LaneMask = int8_t __attribute__((vector_size(16)));

inline Lanes Mask(LaneMask m)
{
    return reinterpret_cast<Lanes>(m);
}

inline void Halves(Lanes v, uint64_t& lo, uint64_t& hi)
{
    uint64_t h[2];
    std::memcpy(h, &v, 16);
    lo = h[0];
    hi = h[1];
}

inline bool Any(Lanes v)
{
    uint64_t lo, hi;
    Halves(v, lo, hi);
    return (lo | hi) != 0;
}

// The number of lanes set (each 0xFF).
inline long CountLanes(Lanes v)
{
    uint64_t lo, hi;
    Halves(v, lo, hi);
    return (__builtin_popcountll(lo) + __builtin_popcountll(hi)) / 8;
}

// The index of the last lane set; at least one is.
inline std::size_t LastLane(Lanes v)
{
    uint64_t lo, hi;
    Halves(v, lo, hi);
    if (hi != 0)
        return 8 + static_cast<std::size_t>(63 - __builtin_clzll(hi)) / 8;
    return static_cast<std::size_t>(63 - __builtin_clzll(lo)) / 8;
}

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

    // The parameters of the running scan (Hex mode adjusts a copy of app.scan).
    ScanParams p;
    std::unique_ptr<ItemBuilder> builder;
    std::string anchor;
    std::size_t anchorLen = 0;
    uint8_t first = 0;      // the anchor's first byte
    int firstAlt = -1;      // the other byte that folds to it, or -1

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
    PageRecord* page = nullptr;
    std::string path;
    Progress* progress = nullptr;
    uint64_t nextCheck = 0;

    bool Prepare();
    void ResetFile();
    void Run(uint64_t windowEnd, uint64_t hardEnd);
    void RunEveryByte(uint64_t windowEnd, uint64_t hardEnd);
    void RunSkipping();
    bool Advance(uint64_t to);
    void OnBinary();
    bool Checkpoint();
    bool FindStart(uint64_t from, uint64_t end, uint64_t& next);
    void Mismatch();
    void Candidate();
    void Resume(const ForwardRead& fr);
    void Deliver(const std::string& item, const std::string& context, uint64_t offset, const std::string& lineText,
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
    if (anchorLen == 0 || anchorLen >= 248)
        return false;
    if (p.itemKind == kItemIp)
        p.singleAnchorChar = 0;
    builder = std::make_unique<ItemBuilder>(app.tables, p);
    first = static_cast<uint8_t>(anchor[0]);
    firstAlt = -1;
    if (p.foldCase)
        for (int c = 0; c < 256; ++c)
            if (c != first && app.tables.caseFoldMap[c] == first)
                firstAlt = c;
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
// bytes had been read one at a time. False when the scan ends (binary stop, data gone, stop).
bool ItemScanner::Impl::Advance(uint64_t to)
{
    while (seen < to) {
        std::size_t avail = 0;
        const uint8_t* d = reader.Span(seen, avail);
        if (!d) {
            ended = true;
            return false;
        }
        const std::size_t n = static_cast<std::size_t>(std::min<uint64_t>(avail, to - seen));
        std::size_t i = 0;
        while (!binary && i < n) {
            // Sixteen bytes at a time: most hold no control byte, or only line feeds.
            while (i + 16 <= n) {
                Lanes v;
                std::memcpy(&v, d + i, 16);
                const Lanes control = Mask(v < 32);
                if (!Any(control)) {
                    i += 16;
                    continue;
                }
                const Lanes lf = Mask(v == '\n');
                const Lanes text = Mask(v == '\r') | Mask(v == '\t') | Mask(v == 0x15) | Mask(v == 0x1B) |
                                   Mask(v == 0) | Mask(v == 0x0C) | lf;
                if (Any(control & ~text))
                    break; // the binary byte is found one byte at a time below
                if (Any(lf)) {
                    lineNo += CountLanes(lf);
                    lineStart = seen + i + LastLane(lf) + 1;
                }
                i += 16;
            }
            if (i >= n)
                break;
            const std::size_t stop = std::min(n, i + 16);
            while (i < stop) {
                const uint8_t c = d[i++];
                if (c >= 32)
                    continue;
                if (c == '\n') {
                    ++lineNo;
                    lineStart = seen + i;
                } else if (!TextControl(c)) {
                    OnBinary();
                    if (stopOnBinary) {
                        seen += i;
                        ended = true;
                        return false;
                    }
                    break;
                }
            }
        }
        while (i < n) {
            const void* lf = std::memchr(d + i, '\n', n - i);
            if (!lf)
                break;
            i = static_cast<std::size_t>(static_cast<const uint8_t*>(lf) - d) + 1;
            ++lineNo;
            lineStart = seen + i;
        }
        seen += n;
        if (seen >= nextCheck && !Checkpoint())
            return false;
    }
    return true;
}

// The next position in [from, end) holding a byte that can start the anchor, looking at most
// 64 KiB ahead; false (with `next` at the end of the stretch looked at) when there is none.
bool ItemScanner::Impl::FindStart(uint64_t from, uint64_t end, uint64_t& next)
{
    std::size_t avail = 0;
    const uint8_t* d = reader.Span(from, avail);
    next = from;
    if (!d || from >= end)
        return false;
    const std::size_t n =
        static_cast<std::size_t>(std::min<uint64_t>({avail, end - from, static_cast<uint64_t>(kCheckInterval)}));
    const void* hit = std::memchr(d, first, n);
    if (firstAlt >= 0) {
        const std::size_t upTo = hit ? static_cast<std::size_t>(static_cast<const uint8_t*>(hit) - d) : n;
        if (const void* alt = std::memchr(d, firstAlt, upTo))
            hit = alt;
    }
    if (!hit) {
        next = from + n;
        return false;
    }
    next = from + static_cast<std::size_t>(static_cast<const uint8_t*>(hit) - d);
    return true;
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
// next and compares the anchor there. Lines and the binary test are counted up to each match
// (and at least every 64 KiB), which is all the loop above lets anyone observe.
void ItemScanner::Impl::RunSkipping()
{
    const uint8_t* fold = app.tables.caseFoldMap.data();
    const bool folding = p.foldCase;
    const bool ipKind = p.itemKind == kItemIp;
    while (!ended) {
        uint64_t at = 0;
        if (!FindStart(pos, UINT64_MAX, at)) {
            if (at > seen && !Advance(at))
                break;
            if (at == pos)
                break; // end of the data
            pos = at;
            continue;
        }
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
        if (pos > seen && !Advance(pos))
            break;
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
}

// Scanning goes on after a hit: just after a later first byte of the anchor, or after the byte
// that ended the forward part. The bytes passed over are counted for lines and the binary test.
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
    if (pos > seen)
        Advance(pos);
}

void ItemScanner::Impl::Candidate()
{
    if (!app.jobs.ScanGoesOn()) {
        ended = true;
        return;
    }
    const uint64_t anchorStart = pos - anchorLen;
    const int kind = p.itemKind;
    ItemBuilder& b = *builder;
    // The line of the anchor, taken before the forward part moves on.
    const long anchorLine = lineNo;
    const auto lineText = [&] { return (!binary || fileMode) ? std::to_string(anchorLine) : std::string(); };
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
        Deliver(address, context, base + start, lineText(), std::string());
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
        Deliver(item, std::string(), base + anchorStart, lineText(), SpacedHex(fr.bytes));
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
        fr = b.ReadForward(reader, forwardStart, limit, back.size(), binary);
        if (b.FinishForward(fr.bytes))
            item = b.Assemble(back, anchorText, fr.bytes);
    }
    Deliver(item, std::string(), base + anchorStart, lineText(), std::string());
    Resume(fr);
}

void ItemScanner::Impl::Deliver(const std::string& item, const std::string& context, uint64_t offset,
                                const std::string& lineText, const std::string& hexContext)
{
    if (!builder->Acceptable(item))
        return;
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
    if (AddResultRow(app, item) < 0)
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

int ItemScanner::ScanFile(const std::string& path)
{
    Impl& s = *m_impl;
    AppState& app = s.app;
    app.jobs.skipRequested.store(false, std::memory_order_relaxed);
    if (!s.reader.Open(path)) {
        const std::size_t slash = path.find_last_of('/');
        const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
        app.status.SetStatusText("Could not open " + name + " ", 1, 1);
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
