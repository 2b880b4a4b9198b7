// SPDX-License-Identifier: GPL-3.0-or-later
// Parses arbitrary bytes as an INI file, reads every section into the program state as at
// start-up or through one settings-file code, writes a key back, and for one input in sixteen
// all of it, and checks that untouched bytes and written values survive a round trip.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/app_state.h"
#include "fuzz_support.h"
#include "store/ini_file.h"
#include "store/settings_io.h"

namespace {

// One state for the whole run (building it is costly); each input starts from fresh records.
lt::AppState& FreshState()
{
    static lt::fuzz::QuietApp quiet;
    lt::AppState& app = quiet.app;
    app.settings = lt::SearchSettings{};
    app.options = lt::Options{};
    app.exportSettings = lt::ExportSettings{};
    app.anchors = lt::KindAnchors{};
    app.filterWords = lt::FilterWords{};
    app.scan = lt::ScanParams{};
    app.tables.SetUrlLike(false);
    app.listState.kind = lt::kListFileSearch;
    return app;
}

using lt::fuzz::Check;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    lt::IniFile ini;
    if (!ini.LoadBytes(bytes))
        return 0;
    // Nothing is lost or changed by reading.
    Check(ini.ToBytes() == bytes);

    // Each input is read one way, drawn from its length and a middle byte (the fuzzer makes many
    // inputs of a few bytes): at start-up (a quarter of the inputs, a quarter of which then write
    // everything back), or through one settings-file code over fresh records. Every way for every
    // input made the target too slow for long runs; the corpus covers them all.
    const std::size_t way = size == 0 ? 0 : (data[size / 2] ^ size) % 16;
    lt::AppState& app = FreshState();
    if (way < 4) {
        lt::ReadIniAtStartup(app, ini);
    } else {
        static constexpr int kCodes[] = {lt::kSettingsLoad, lt::kSettingsSessionRead,
                                         lt::kSettingsSessionCheck, lt::kSettingsLoadJob};
        lt::ReadSettings(app, ini, kCodes[size % 4]);
    }
    // Settings read from anything stay within their documented ranges.
    Check(app.settings.itemKind >= 0 && app.settings.itemKind <= 7);
    Check(app.settings.ipSumLimit >= 0 && app.settings.ipSumLimit <= 1020);
    Check(app.settings.minimalLength >= 1);
    Check(app.settings.duplicatesPolicy >= 0 && app.settings.duplicatesPolicy <= 3);
    Check(app.exportSettings.order.size() == 6);

    // A key and value taken from the input read back as written.
    const std::size_t split = size / 3;
    std::string key = "K";
    for (char c : bytes.substr(0, std::min<std::size_t>(split, 8)))
        key.push_back(static_cast<char>('a' + static_cast<unsigned char>(c) % 26));
    std::string value(bytes.substr(split, 64));
    lt::IniFile edited = ini;
    edited.SetString("FUZZ", key, value);
    lt::IniFile reread;
    Check(reread.LoadBytes(edited.ToBytes()));
    std::size_t cut = value.find_first_of(std::string_view("\n\0", 2));
    if (cut != std::string::npos) {
        if (cut > 0 && value[cut - 1] == '\r' && value[cut] == '\n')
            --cut;
        value.resize(cut);
    }
    if (edited.HasKey("FUZZ", key))
        Check(reread.GetString("FUZZ", key, "", 4096) == value);

    // Writing everything back and reading it again must be stable. That writes some four hundred
    // keys, most of them the same for every input: one input in sixteen does it.
    if (way != 0)
        return 0;
    app.options.saveSearchOnExit = app.options.saveWindowPositionsOnExit = app.options.savePrinterFontOnExit =
        size % 2 == 0;
    lt::WriteIniAtClose(app, ini);
    lt::WriteSettings(app, ini, lt::kSettingsSaveJob);
    const std::string written = ini.ToBytes();
    lt::IniFile second;
    Check(second.LoadBytes(written, written.size() + 1));
    Check(second.ToBytes() == written);
    const lt::SearchSettings before = app.settings;
    const std::string orderBefore = app.exportSettings.order;
    lt::AppState& again = FreshState();
    lt::ReadIniAtStartup(again, second);
    Check(again.settings.minimalLength == before.minimalLength);
    Check(again.settings.ipSumLimit == before.ipSumLimit);
    Check(again.settings.mustText == before.mustText);
    Check(again.settings.folders == before.folders);
    Check(again.settings.userStrings == before.userStrings);
    Check(again.exportSettings.order == orderBefore);
    return 0;
}
