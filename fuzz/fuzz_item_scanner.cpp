// SPDX-License-Identifier: GPL-3.0-or-later
// Drives the item scanner with every kind and option drawn from the input's first bytes, over the
// rest of the input as a file, as one buffer and as crawler windows. Checks that no cell exceeds
// 259 bytes and that skipping to the anchor gives the rows of byte-by-byte reading.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

#include "core/app_state.h"
#include "search/item_kind.h"
#include "search/item_scanner.h"
#include "search/page_record.h"

namespace {

class NullUiPort : public lt::UiPort
{
public:
    void SetPaneText(int, const std::string&) override {}
    void SetPaneIcon(int, lt::StatusIcon) override {}
    void ArmTimer(int, int) override {}
    void KillTimer(int) override {}
    void ProgressBegin() override {}
    void ProgressStep() override {}
    void ProgressEnd() override {}
    lt::MsgAnswer ShowMessage(const std::string&, const std::string&, lt::MsgStyle) override
    {
        return lt::MsgAnswer::Ok;
    }
    void SetWaitCursor(bool) override {}
    void SetClipboardText(const std::string&) override {}
    std::string ClipboardText() override { return {}; }
    void Post(int, std::intptr_t, std::intptr_t) override {}
};

struct Harness
{
    NullUiPort ui;
    lt::AppState app{ui};
    std::string path;
    lt::ItemScanner scanner{app};

    Harness()
    {
        // tmpfs when there is one: the file is rewritten for every input.
        const char* dir = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        path = std::string(dir) + "/fuzz_item_scanner." + std::to_string(::getpid());
        app.list.SetColumns(std::vector<lt::ColumnState>(6));
        app.list.SetAutoSort(lt::AutoSort::Off);
    }
    ~Harness() { ::unlink(path.c_str()); }

    // The rows added since the last call. The list is emptied only now and then: clearing it
    // for every input would cost more than the scan.
    std::vector<std::vector<std::string>> TakeRows()
    {
        std::vector<std::vector<std::string>> rows;
        for (std::size_t i = m_taken; i < app.list.RowCount(); ++i) {
            rows.push_back(app.list.Row(i).cells);
            for (const std::string& cell : rows.back())
                if (cell.size() > 259)
                    std::abort();
        }
        m_taken = app.list.RowCount();
        if (m_taken > 20000 || app.settings.duplicatesPolicy == 2)
            Clear();
        return rows;
    }
    void Clear()
    {
        app.list.ClearRows();
        app.listState.rowSerial = -1;
        app.listState.paramCounter = -1;
        m_taken = 0;
    }

private:
    std::size_t m_taken = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    static Harness h;
    if (size < 6)
        return 0;
    lt::AppState& app = h.app;
    lt::SearchSettings& s = app.settings;
    const uint8_t kindByte = data[0];
    const uint8_t flags = data[1];
    const uint8_t more = data[2];
    const std::size_t userLen = data[3] % 40;
    s.itemKind = 4 + kindByte % 4;
    s.userHex = flags & 1;
    s.userPrefix = flags & 2;
    s.userEntireLine = flags & 4;
    s.userUrlLike = flags & 8;
    s.caseSensitive = flags & 16;
    s.duplicatesPolicy = (flags >> 5) & 3;
    s.minimalLength = 1 + more % 12;
    s.ipSumLimit = (more >> 4) * 64;
    s.fileTypeMode = (kindByte >> 2) % 3;
    s.restrictEnabled = kindByte & 0x80;
    app.filterWords.must.clear();
    app.filterWords.mustNot.clear();
    if (s.restrictEnabled) {
        app.filterWords.mustNot.push_back(std::string(1, static_cast<char>('a' + data[4] % 26)));
        if (data[4] & 0x80)
            app.filterWords.must.push_back(".");
    }
    app.tables.SetUrlLike(s.userUrlLike);

    std::size_t at = 5;
    const std::size_t take = std::min(userLen, size - at);
    std::string user(reinterpret_cast<const char*>(data + at), take);
    at += take;
    if (s.userHex) {
        // Hex mode types hex text; make some of it valid.
        static const char kDigits[] = "0123456789abcdefABCDEF";
        for (char& c : user)
            c = kDigits[static_cast<uint8_t>(c) % 22];
    }
    if (user.empty())
        user = "x";
    s.userStrings[0] = user;
    if (!lt::PrepareScan(app))
        return 0;
    app.scan.nonBinaryOnly = s.fileTypeMode == 2;
    app.jobs.jobCode.store(lt::kJobFolderSearch);

    const char* body = reinterpret_cast<const char*>(data + at);
    const std::size_t bodyLen = size - at;
    FILE* f = std::fopen(h.path.c_str(), "wb");
    if (!f)
        return 0;
    std::fwrite(body, 1, bodyLen, f);
    std::fclose(f);

    // "Omit all duplicates" compares with the whole list, so each scan needs an empty one.
    if (s.duplicatesPolicy == 2)
        h.Clear();
    lt::ItemScanner& scanner = h.scanner;
    scanner.SetReferencePath(false);
    scanner.ScanFile(h.path);
    h.TakeRows();

    // One buffer read with skipping and byte by byte, then crawler windows of 1024 bytes.
    lt::PageRecord page;
    page.lastBuffer = true;
    page.binaryTest = flags & 0x80;
    scanner.ScanBuffer(body, bodyLen, 0, page);
    const auto fast = h.TakeRows();
    if (s.duplicatesPolicy == 2)
        h.Clear();
    scanner.SetReferencePath(true);
    page.newPage = true;
    scanner.ScanBuffer(body, bodyLen, 0, page);
    const auto slow = h.TakeRows();
    if (fast != slow)
        std::abort();
    scanner.SetReferencePath(false);

    lt::PageRecord windows;
    for (std::size_t w = 0; w < bodyLen || w == 0; w += 1024) {
        windows.lastBuffer = w + 1024 >= bodyLen;
        scanner.ScanBuffer(body + w, bodyLen - w, w, windows);
        if (windows.lastBuffer)
            break;
    }
    h.TakeRows();
    return 0;
}
