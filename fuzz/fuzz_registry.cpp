// SPDX-License-Identifier: GPL-3.0-or-later
// Reads arbitrary bytes as a Wine registry file, parses every key, and checks that an untouched
// file is written back as read and that a value set from the input reads back as set.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/registry_file.h"

namespace {

void Check(bool holds)
{
    if (!holds)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    lt::RegistryFile reg;
    std::string error;
    if (!reg.Load(bytes, error))
        return 0;
    reg.ParseAll();
    Check(reg.Serialize(1) == bytes);

    // Every key and value the reader shows can be queried by the names it gave.
    for (const std::string& top : reg.SubKeys(""))
        for (const lt::RegValue& value : reg.Values(top)) {
            lt::RegValue again;
            Check(reg.QueryValue(top, value.name, again));
        }

    const std::string_view tail = std::string_view(bytes).substr(size / 2);
    // The five bytes Windows-1252 leaves undefined have no UTF-16 form to go through.
    auto defined = [](std::string s) {
        for (char& c : s)
            if (c == '\x81' || c == '\x8d' || c == '\x8f' || c == '\x90' || c == '\x9d')
                c = 'x';
        return s;
    };
    const std::string text = defined(std::string(tail.substr(0, 40)));
    std::string name = defined(std::string(tail.substr(0, 8)));
    for (char& c : name)
        if (c == 0)
            c = '_';
    reg.SetString("Fuzz\\Key", name, text);
    reg.SetValue("Fuzz\\Bin", lt::RegValue{name, static_cast<uint32_t>(size % 12), text});
    lt::RegistryFile reread;
    Check(reread.Load(reg.Serialize(2), error));
    std::string back;
    Check(reread.QueryString("Fuzz\\Key", name, back));
    // NUL ends a string; characters are kept otherwise.
    Check(back == text.substr(0, text.find('\0')));
    lt::RegValue bin;
    Check(reread.QueryValue("fuzz\\bin", name, bin));
    return 0;
}
