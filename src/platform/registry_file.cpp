// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/registry_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <unordered_set>

#include "core/cp1252.h"

namespace lt {

namespace {

constexpr std::string_view kSignature = "WINE REGISTRY Version 2";
constexpr int64_t kSeconds1601To1970 = 11644473600LL;

std::string Fold(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(Cp1252Lower(static_cast<uint8_t>(c)));
    return out;
}

std::string UnitsToCp1252(std::u16string_view units)
{
    std::string out;
    out.reserve(units.size());
    for (char16_t u : units) {
        const uint8_t c = UnicodeToCp1252(u);
        out.push_back(c == 0 && u != 0 ? '?' : static_cast<char>(c));
    }
    return out;
}

std::u16string Cp1252ToUnits(std::string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    for (char c : text)
        out.push_back(static_cast<char16_t>(Cp1252ToUnicode(static_cast<uint8_t>(c))));
    return out;
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool StartsWith(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

// The line without its line end.
std::string_view Content(std::string_view line)
{
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.remove_suffix(1);
    return line;
}

std::string_view TrimLeft(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    return text;
}

std::string_view TrimRight(std::string_view text)
{
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

// A hexadecimal number of at most `maxDigits` digits at the start of `text`.
bool ReadHexNumber(std::string_view& text, std::size_t maxDigits, uint32_t& number)
{
    std::size_t i = 0;
    uint32_t n = 0;
    while (i < text.size() && i < maxDigits && HexValue(text[i]) >= 0)
        n = n * 16 + static_cast<uint32_t>(HexValue(text[i++]));
    if (i == 0)
        return false;
    number = n;
    text.remove_prefix(i);
    return true;
}

// "hex:" data: byte pairs separated by commas, continued over lines after a trailing "\".
bool ReadHexBytes(std::string_view text, std::string& bytes)
{
    bytes.clear();
    for (;;) {
        text = TrimLeft(text);
        if (!text.empty() && text.front() == '\\') {
            // A continuation: the rest of this line must be its line end.
            std::string_view rest = text.substr(1);
            if (!rest.empty() && rest.front() == '\r')
                rest.remove_prefix(1);
            if (rest.empty() || rest.front() != '\n')
                return false;
            text = rest.substr(1);
            continue;
        }
        if (text.empty() || text.front() == '\n' || text.front() == '\r')
            return Content(text).empty();
        uint32_t byte = 0;
        if (!ReadHexNumber(text, 2, byte))
            return false;
        bytes.push_back(static_cast<char>(byte));
        text = TrimLeft(text);
        if (!text.empty() && text.front() == ',')
            text.remove_prefix(1);
        else if (!text.empty() && text.front() != '\\' && text.front() != '\n' && text.front() != '\r')
            return false;
    }
}

std::string Utf16Bytes(std::u16string_view units)
{
    std::string out;
    out.reserve(units.size() * 2);
    for (char16_t u : units) {
        out.push_back(static_cast<char>(u & 0xFF));
        out.push_back(static_cast<char>(u >> 8));
    }
    return out;
}

std::u16string Utf16Units(std::string_view data)
{
    std::u16string out;
    out.reserve(data.size() / 2);
    for (std::size_t i = 0; i + 1 < data.size(); i += 2)
        out.push_back(static_cast<char16_t>(static_cast<uint8_t>(data[i]) | (static_cast<uint8_t>(data[i + 1]) << 8)));
    return out;
}

// The data part of a value line ("=" already passed): its type and bytes.
bool ReadData(std::string_view text, RegValue& value)
{
    std::u16string units;
    std::size_t used = 0;
    auto readString = [&](std::string_view quoted, uint32_t type) {
        if (quoted.empty() || quoted.front() != '"')
            return false;
        if (!DecodeRegistryString(quoted.substr(1), '"', units, used))
            return false;
        if (!TrimRight(Content(quoted.substr(1 + used))).empty())
            return false;
        units.push_back(0);
        value.type = type;
        value.data = Utf16Bytes(units);
        return true;
    };
    if (!text.empty() && text.front() == '"')
        return readString(text, kRegSz);
    if (StartsWith(text, "str(")) {
        std::string_view rest = text.substr(4);
        uint32_t type = 0;
        if (!ReadHexNumber(rest, 8, type) || !StartsWith(rest, "):"))
            return false;
        return readString(rest.substr(2), type);
    }
    if (StartsWith(text, "dword:")) {
        std::string_view rest = text.substr(6);
        uint32_t number = 0;
        if (!ReadHexNumber(rest, 8, number) || !TrimRight(Content(rest)).empty())
            return false;
        value.type = kRegDword;
        value.data.assign(4, '\0');
        for (int i = 0; i < 4; ++i)
            value.data[static_cast<std::size_t>(i)] = static_cast<char>((number >> (8 * i)) & 0xFF);
        return true;
    }
    if (StartsWith(text, "hex:")) {
        value.type = kRegBinary;
        return ReadHexBytes(text.substr(4), value.data);
    }
    if (StartsWith(text, "hex(")) {
        std::string_view rest = text.substr(4);
        uint32_t type = 0;
        if (!ReadHexNumber(rest, 8, type) || !StartsWith(rest, "):"))
            return false;
        value.type = type;
        return ReadHexBytes(rest.substr(2), value.data);
    }
    return false;
}

// A value line (with its continuation lines): name, "=", data. `nameText` keeps the name as written.
bool ReadValueLine(std::string_view line, RegValue& value, std::string& nameText)
{
    std::string_view rest;
    if (!line.empty() && line.front() == '@') {
        value.name.clear();
        nameText.clear();
        rest = line.substr(1);
    } else if (!line.empty() && line.front() == '"') {
        std::u16string units;
        std::size_t used = 0;
        if (!DecodeRegistryString(line.substr(1), '"', units, used))
            return false;
        value.name = UnitsToCp1252(units);
        nameText.assign(line.substr(1, used - 1));
        rest = line.substr(1 + used);
    } else {
        return false;
    }
    rest = TrimLeft(rest);
    if (rest.empty() || rest.front() != '=')
        return false;
    return ReadData(TrimLeft(rest.substr(1)), value);
}

bool HexLineContinues(std::string_view line)
{
    const std::string_view content = TrimRight(Content(line));
    if (content.empty() || content.back() != '\\')
        return false;
    const std::size_t eq = content.find("=hex");
    return eq != std::string_view::npos;
}

// Order of key paths as Wine writes them: depth first, children by name, so the separator sorts
// before every other character.
int ComparePaths(std::string_view a, std::string_view b)
{
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const int x = a[i] == '\\' ? -1 : static_cast<uint8_t>(a[i]);
        const int y = b[i] == '\\' ? -1 : static_cast<uint8_t>(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

std::string ValueNameText(const RegValue& value)
{
    return EncodeRegistryString(Cp1252ToUnits(value.name), '"');
}

// A value in the form Wine writes it, with its line end.
std::string FormatValue(const RegValue& value, const std::string& nameText)
{
    std::string out = value.name.empty() && nameText.empty() ? std::string("@=") : "\"" + nameText + "\"=";
    const std::string& d = value.data;
    const bool stringType = value.type == kRegSz || value.type == kRegExpandSz || value.type == kRegMultiSz;
    if (stringType && d.size() >= 2 && d.size() % 2 == 0 && d[d.size() - 1] == 0 && d[d.size() - 2] == 0) {
        std::u16string units = Utf16Units(d);
        units.pop_back();
        if (value.type != kRegSz) {
            char buf[16];
            std::snprintf(buf, sizeof buf, "str(%x):", value.type);
            out += buf;
        }
        out += "\"" + EncodeRegistryString(units, '"') + "\"\n";
        return out;
    }
    if (value.type == kRegDword && d.size() == 4) {
        uint32_t n = 0;
        for (int i = 3; i >= 0; --i)
            n = (n << 8) | static_cast<uint8_t>(d[static_cast<std::size_t>(i)]);
        char buf[24];
        std::snprintf(buf, sizeof buf, "dword:%08x\n", n);
        return out + buf;
    }
    char buf[24];
    if (value.type == kRegBinary)
        out += "hex:";
    else {
        std::snprintf(buf, sizeof buf, "hex(%x):", value.type);
        out += buf;
    }
    std::size_t count = out.size();
    for (std::size_t i = 0; i < d.size(); ++i) {
        std::snprintf(buf, sizeof buf, "%02x", static_cast<uint8_t>(d[i]));
        out += buf;
        count += 2;
        if (i + 1 < d.size()) {
            out.push_back(',');
            if (++count > 76) {
                out += "\\\n  ";
                count = 2;
            }
        }
    }
    out.push_back('\n');
    return out;
}

std::string KeyLine(const std::string& nameText, int64_t nowSeconds, std::string_view eol)
{
    return "[" + nameText + "] " + std::to_string(nowSeconds) + std::string(eol);
}

std::string TimeLine(int64_t nowSeconds, std::string_view eol)
{
    const auto filetime = static_cast<uint64_t>(nowSeconds + kSeconds1601To1970) * 10000000ULL;
    char buf[40];
    std::snprintf(buf, sizeof buf, "#time=%x%08x", static_cast<unsigned>(filetime >> 32),
                  static_cast<unsigned>(filetime & 0xFFFFFFFFu));
    return buf + std::string(eol);
}

std::string_view LineEnd(std::string_view line)
{
    if (line.size() >= 2 && line.substr(line.size() - 2) == "\r\n")
        return "\r\n";
    return "\n";
}

// Generated lines follow the line ends of the key they go into.
std::string WithLineEnds(std::string text, std::string_view eol)
{
    if (eol == "\n")
        return text;
    std::string out;
    out.reserve(text.size() + 8);
    for (char c : text) {
        if (c == '\n')
            out.append(eol);
        else
            out.push_back(c);
    }
    return out;
}

} // namespace

bool DecodeRegistryString(std::string_view text, char quote, std::u16string& units, std::size_t& used)
{
    units.clear();
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == quote) {
            used = i + 1;
            return true;
        }
        if (c == '\n')
            break;
        if (c != '\\' || i + 1 >= text.size()) {
            units.push_back(static_cast<char16_t>(static_cast<uint8_t>(c)));
            ++i;
            continue;
        }
        const char e = text[i + 1];
        i += 2;
        switch (e) {
        case 'n': units.push_back(u'\n'); break;
        case 'r': units.push_back(u'\r'); break;
        case 't': units.push_back(u'\t'); break;
        case 'a': units.push_back(7); break;
        case 'b': units.push_back(8); break;
        case 'v': units.push_back(11); break;
        case 'f': units.push_back(12); break;
        case 'e': units.push_back(27); break;
        case 'x': {
            std::size_t digits = 0;
            uint32_t n = 0;
            while (digits < 4 && i < text.size() && HexValue(text[i]) >= 0) {
                n = n * 16 + static_cast<uint32_t>(HexValue(text[i++]));
                ++digits;
            }
            units.push_back(digits ? static_cast<char16_t>(n) : u'x');
            break;
        }
        default:
            if (e >= '0' && e <= '7') {
                uint32_t n = static_cast<uint32_t>(e - '0');
                for (int k = 0; k < 2 && i < text.size() && text[i] >= '0' && text[i] <= '7'; ++k)
                    n = n * 8 + static_cast<uint32_t>(text[i++] - '0');
                units.push_back(static_cast<char16_t>(n));
            } else {
                units.push_back(static_cast<char16_t>(static_cast<uint8_t>(e)));
            }
        }
    }
    used = i;
    return false;
}

std::string EncodeRegistryString(std::u16string_view units, char special)
{
    static constexpr char kEscapes[32] = {'.', '.', '.', '.', '.', '.', '.', 'a', 'b', 't', 'n', 'v', 'f', 'r', '.', '.',
                                          '.', '.', '.', '.', '.', '.', '.', '.', '.', '.', '.', 'e', '.', '.', '.', '.'};
    std::string out;
    out.reserve(units.size());
    char buf[16];
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t u = units[i];
        const char16_t next = i + 1 < units.size() ? units[i + 1] : 0;
        if (u == '\\' || u == static_cast<char16_t>(special)) {
            out.push_back('\\');
            out.push_back(static_cast<char>(u));
        } else if (u < 32 && kEscapes[u] != '.') {
            out.push_back('\\');
            out.push_back(kEscapes[u]);
        } else if (u < 32) {
            // Three digits when an octal digit follows, so that it is not read as part of the escape.
            std::snprintf(buf, sizeof buf, next >= '0' && next <= '7' ? "\\%03o" : "\\%o", static_cast<unsigned>(u));
            out += buf;
        } else if (u > 127) {
            const bool hexFollows = next < 128 && HexValue(static_cast<char>(next)) >= 0;
            std::snprintf(buf, sizeof buf, hexFollows ? "\\x%04x" : "\\x%x", static_cast<unsigned>(u));
            out += buf;
        } else {
            out.push_back(static_cast<char>(u));
        }
    }
    return out;
}

std::string RegistryFile::StringData(std::string_view text)
{
    std::u16string units = Cp1252ToUnits(text);
    units.push_back(0);
    return Utf16Bytes(units);
}

std::string RegistryFile::StringText(std::string_view data)
{
    std::u16string units = Utf16Units(data);
    const std::size_t nul = units.find(char16_t(0));
    if (nul != std::u16string::npos)
        units.resize(nul);
    return UnitsToCp1252(units);
}

bool RegistryFile::Load(std::string bytes, std::string& error)
{
    m_text = std::move(bytes);
    m_keys.clear();
    m_index.clear();
    m_changed = false;
    m_preambleEnd = m_text.size();
    if (!StartsWith(m_text, kSignature) ||
        (m_text.size() > kSignature.size() && m_text[kSignature.size()] != '\n' && m_text[kSignature.size()] != '\r')) {
        error = "line 1: not a Wine registry file (\"" + std::string(kSignature) + "\" expected)";
        m_text.clear();
        m_preambleEnd = 0;
        return false;
    }
    const std::string_view text = m_text;
    std::size_t pos = 0;
    std::u16string units;
    while (pos < text.size()) {
        const std::size_t nl = text.find('\n', pos);
        const std::size_t next = nl == std::string_view::npos ? text.size() : nl + 1;
        if (text[pos] == '[') {
            std::size_t used = 0;
            if (DecodeRegistryString(text.substr(pos + 1, next - pos - 1), ']', units, used)) {
                if (!m_keys.empty())
                    m_keys.back().end = pos;
                else
                    m_preambleEnd = pos;
                Key key;
                key.path = UnitsToCp1252(units);
                key.folded = Fold(key.path);
                key.nameText.assign(text.substr(pos + 1, used - 1));
                key.begin = pos;
                m_keys.push_back(std::move(key));
            }
        }
        pos = next;
    }
    if (!m_keys.empty())
        m_keys.back().end = text.size();
    RebuildIndex();
    return true;
}

void RegistryFile::RebuildIndex()
{
    m_index.clear();
    m_index.reserve(m_keys.size());
    for (std::size_t i = 0; i < m_keys.size(); ++i)
        if (!m_keys[i].deleted)
            m_index.emplace(m_keys[i].folded, i);
}

void RegistryFile::Parse(const Key& key) const
{
    if (key.parsed)
        return;
    key.parsed = true;
    key.items.clear();
    if (key.isNew)
        return;
    const std::string_view text = std::string_view(m_text).substr(key.begin, key.end - key.begin);
    std::size_t pos = text.find('\n');
    pos = pos == std::string_view::npos ? text.size() : pos + 1; // past the key line
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        end = end == std::string_view::npos ? text.size() : end + 1;
        const char first = text[pos];
        Item item;
        if (first == '"' || first == '@') {
            while (end < text.size() && HexLineContinues(text.substr(pos, end - pos))) {
                const std::size_t more = text.find('\n', end);
                end = more == std::string_view::npos ? text.size() : more + 1;
            }
            item.raw.assign(text.substr(pos, end - pos));
            item.isValue = ReadValueLine(item.raw, item.value, item.nameText);
        } else {
            item.raw.assign(text.substr(pos, end - pos));
        }
        key.items.push_back(std::move(item));
        pos = end;
    }
}

void RegistryFile::ParseAll() const
{
    for (const Key& key : m_keys)
        Parse(key);
}

const RegistryFile::Key* RegistryFile::FindKey(std::string_view path) const
{
    const auto found = m_index.find(Fold(path));
    return found == m_index.end() ? nullptr : &m_keys[found->second];
}

RegistryFile::Key* RegistryFile::FindKey(std::string_view path)
{
    const auto found = m_index.find(Fold(path));
    return found == m_index.end() ? nullptr : &m_keys[found->second];
}

bool RegistryFile::AnyKeyBelow(const std::string& foldedPrefix) const
{
    return std::any_of(m_keys.begin(), m_keys.end(),
                       [&](const Key& k) { return !k.deleted && StartsWith(k.folded, foldedPrefix); });
}

bool RegistryFile::KeyExists(std::string_view path) const
{
    if (path.empty() || FindKey(path))
        return true;
    return AnyKeyBelow(Fold(path) + "\\");
}

std::vector<std::string> RegistryFile::SubKeys(std::string_view path) const
{
    const std::string prefix = path.empty() ? std::string() : Fold(path) + "\\";
    std::vector<std::string> names;
    std::unordered_set<std::string> seen;
    for (const Key& key : m_keys) {
        if (key.deleted || key.folded.size() <= prefix.size() || !StartsWith(key.folded, prefix))
            continue;
        const std::size_t end = key.path.find('\\', prefix.size());
        const std::string name =
            key.path.substr(prefix.size(), end == std::string::npos ? std::string::npos : end - prefix.size());
        if (!name.empty() && seen.insert(Fold(name)).second)
            names.push_back(name);
    }
    return names;
}

std::vector<RegValue> RegistryFile::Values(std::string_view path) const
{
    std::vector<RegValue> values;
    if (const Key* key = FindKey(path)) {
        Parse(*key);
        for (const Item& item : key->items)
            if (item.isValue)
                values.push_back(item.value);
    }
    return values;
}

bool RegistryFile::QueryValue(std::string_view path, std::string_view name, RegValue& value) const
{
    const Key* key = FindKey(path);
    if (!key)
        return false;
    Parse(*key);
    for (const Item& item : key->items) {
        if (item.isValue && Cp1252EqualsNoCase(item.value.name, name)) {
            value = item.value;
            return true;
        }
    }
    return false;
}

bool RegistryFile::QueryString(std::string_view path, std::string_view name, std::string& text) const
{
    RegValue value;
    if (!QueryValue(path, name, value))
        return false;
    const bool stringType = value.type == kRegSz || value.type == kRegExpandSz || value.type == kRegMultiSz;
    if (!stringType || value.data.size() % 2 != 0)
        return false;
    text = StringText(value.data);
    return true;
}

RegistryFile::Key& RegistryFile::CreateKey(std::string_view path)
{
    if (Key* key = FindKey(path))
        return *key;
    Key key;
    key.path.assign(path);
    key.folded = Fold(path);
    key.nameText = EncodeRegistryString(Cp1252ToUnits(path), ']');
    key.isNew = true;
    key.parsed = true;
    key.changed = true;
    std::size_t at = m_keys.size();
    for (std::size_t i = 0; i < m_keys.size(); ++i) {
        if (!m_keys[i].deleted && ComparePaths(m_keys[i].folded, key.folded) > 0) {
            at = i;
            break;
        }
    }
    m_keys.insert(m_keys.begin() + static_cast<std::ptrdiff_t>(at), std::move(key));
    RebuildIndex();
    return m_keys[at];
}

void RegistryFile::SetValue(std::string_view path, const RegValue& value)
{
    Key& key = CreateKey(path);
    Parse(key);
    key.changed = true;
    m_changed = true;
    std::vector<Item>& items = key.items;
    for (Item& item : items) {
        if (item.isValue && Cp1252EqualsNoCase(item.value.name, value.name)) {
            // The stored name keeps its spelling, as the registry keeps it.
            const std::string name = item.value.name;
            item.value = value;
            item.value.name = name;
            item.raw.clear();
            return;
        }
    }
    Item item;
    item.isValue = true;
    item.value = value;
    item.nameText = ValueNameText(value);
    // Wine keeps values sorted by name ignoring case; a key without values takes them after its
    // option lines, before a trailing blank line.
    std::size_t at = items.size();
    std::size_t lastValue = items.size();
    std::size_t lastLine = 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].isValue) {
            lastValue = i;
            if (Cp1252CompareNoCase(items[i].value.name, value.name) > 0) {
                at = i;
                break;
            }
        } else if (!Content(items[i].raw).empty()) {
            lastLine = i + 1;
        }
    }
    if (at == items.size())
        at = lastValue != items.size() ? lastValue + 1 : std::min(lastLine, items.size());
    items.insert(items.begin() + static_cast<std::ptrdiff_t>(at), std::move(item));
}

void RegistryFile::SetString(std::string_view path, std::string_view name, std::string_view text, uint32_t type)
{
    SetValue(path, RegValue{std::string(name), type, StringData(text)});
}

void RegistryFile::SetDword(std::string_view path, std::string_view name, uint32_t number)
{
    std::string data(4, '\0');
    for (int i = 0; i < 4; ++i)
        data[static_cast<std::size_t>(i)] = static_cast<char>((number >> (8 * i)) & 0xFF);
    SetValue(path, RegValue{std::string(name), kRegDword, data});
}

bool RegistryFile::DeleteValue(std::string_view path, std::string_view name)
{
    Key* key = FindKey(path);
    if (!key)
        return false;
    Parse(*key);
    auto& items = key->items;
    const auto found = std::find_if(items.begin(), items.end(), [&](const Item& item) {
        return item.isValue && Cp1252EqualsNoCase(item.value.name, name);
    });
    if (found == items.end())
        return false;
    items.erase(found);
    key->changed = true;
    m_changed = true;
    return true;
}

bool RegistryFile::DeleteKey(std::string_view path)
{
    if (path.empty())
        return false;
    const std::string folded = Fold(path);
    const std::string below = folded + "\\";
    bool any = false;
    for (Key& key : m_keys) {
        if (!key.deleted && (key.folded == folded || StartsWith(key.folded, below))) {
            key.deleted = true;
            any = true;
        }
    }
    if (any) {
        m_changed = true;
        RebuildIndex();
    }
    return any;
}

std::string RegistryFile::Serialize(int64_t nowSeconds) const
{
    std::string out;
    out.reserve(m_text.size() + 256);
    out.append(m_text, 0, m_preambleEnd);
    const std::string_view text = m_text;
    for (const Key& key : m_keys) {
        if (key.deleted)
            continue;
        if (!key.changed) {
            out.append(text.substr(key.begin, key.end - key.begin));
            continue;
        }
        if (!out.empty() && out.back() != '\n')
            out.push_back('\n');
        std::string_view eol = "\n";
        if (key.isNew) {
            if (out.size() < 2 || out.compare(out.size() - 2, 2, "\n\n") != 0)
                out.push_back('\n');
            out += KeyLine(key.nameText, nowSeconds, eol);
            out += TimeLine(nowSeconds, eol);
        } else {
            const std::string_view section = text.substr(key.begin, key.end - key.begin);
            const std::size_t nl = section.find('\n');
            eol = nl == std::string_view::npos ? std::string_view("\n") : LineEnd(section.substr(0, nl + 1));
            out += KeyLine(key.nameText, nowSeconds, eol);
        }
        for (const Item& item : key.items) {
            if (!out.empty() && out.back() != '\n')
                out.push_back('\n');
            if (!item.isValue && StartsWith(item.raw, "#time="))
                out += TimeLine(nowSeconds, LineEnd(item.raw));
            else if (!item.raw.empty())
                out += item.raw;
            else
                out += WithLineEnds(FormatValue(item.value, item.nameText), eol);
        }
        if (key.isNew)
            out.push_back('\n');
    }
    return out;
}

} // namespace lt
