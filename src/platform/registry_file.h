// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace lt {

// Value types as the registry numbers them.
enum RegType : uint32_t {
    kRegNone = 0,
    kRegSz = 1,
    kRegExpandSz = 2,
    kRegBinary = 3,
    kRegDword = 4,
    kRegMultiSz = 7,
};

// One value: its name (Windows-1252, empty for the default value), type and data as the registry
// holds them (strings as UTF-16LE with their terminator, DWORDs as 4 little-endian bytes).
struct RegValue
{
    std::string name;
    uint32_t type = kRegSz;
    std::string data;
};

// One of Wine's text registry files ("user.reg" for HKEY_CURRENT_USER, "system.reg" for
// HKEY_LOCAL_MACHINE) held in memory. Key paths are relative to the file's root, with backslashes
// ("Software\Microsoft\Internet Explorer\TypedURLs"); key and value names compare ignoring case.
//
// The file as Wine's server writes it:
//   WINE REGISTRY Version 2
//   ;; comment lines, #arch=win64 and other option lines
//   [Key\\Path] 1700000000          key line: escaped path, Unix seconds of its last change
//   #time=1da0f1e2c3b4a59           the same moment as a hexadecimal FILETIME
//   #class="..." / #link            further option lines of the key
//   @="text"                        the default value
//   "name"="text"                   REG_SZ (the terminator is implied)
//   "name"=str(2):"%USERPROFILE%"   a string of another type (2 EXPAND_SZ, 7 MULTI_SZ with \0)
//   "name"=dword:0000002a           REG_DWORD
//   "name"=hex:01,02,\              REG_BINARY, continued on the next line after "\"
//     03,04                         (continuation lines are indented by two blanks)
//   "name"=hex(N):..                any other type, and strings without their terminator
// Strings escape \\ \" \n \r \t \a \b \v \f \e, octal \ooo and \xHHHH (one UTF-16 unit; Wine
// writes every character above 127 so). A key without values may have no section when it has
// sub-keys: it exists through its sub-keys' paths.
//
// Reading splits the file into key sections and parses a key's values only when it is first used,
// so that a 50 MB file of a long-used prefix loads quickly. Writing keeps every key it did not
// change byte for byte; a changed key keeps its other lines and gets a new time stamp.
class RegistryFile
{
public:
    // Replaces the contents with `bytes`. False with `error` (naming the line) when the bytes are
    // not a Wine registry file (no "WINE REGISTRY Version 2" first line); the document is then empty.
    bool Load(std::string bytes, std::string& error);

    bool KeyExists(std::string_view path) const;
    // The names of the direct sub-keys of `path` ("" for the root), in file order, each once,
    // including keys that exist only through deeper paths.
    std::vector<std::string> SubKeys(std::string_view path) const;
    // The values of the key in file order (Wine keeps them sorted by name); empty for a missing key.
    std::vector<RegValue> Values(std::string_view path) const;
    bool QueryValue(std::string_view path, std::string_view name, RegValue& value) const;
    // A string value (REG_SZ, EXPAND_SZ, or any type whose data is UTF-16 text) as Windows-1252
    // bytes up to its first NUL; unmappable characters become '?'. False when the value is missing
    // or holds no string (a DWORD or an odd number of bytes).
    bool QueryString(std::string_view path, std::string_view name, std::string& text) const;

    // Sets (or adds, in name order) a value, creating the key and the file's sections it needs.
    void SetValue(std::string_view path, const RegValue& value);
    void SetString(std::string_view path, std::string_view name, std::string_view text, uint32_t type = kRegSz);
    void SetDword(std::string_view path, std::string_view name, uint32_t number);
    // False when the key or value is missing.
    bool DeleteValue(std::string_view path, std::string_view name);
    // Deletes the key with all its sub-keys; false when nothing of it exists.
    bool DeleteKey(std::string_view path);

    // Whether anything was changed since Load.
    bool Changed() const { return m_changed; }
    // The file's bytes: untouched keys exactly as read; changed and new keys stamped with
    // `nowSeconds` (Unix time) in their key line and "#time=" line.
    std::string Serialize(int64_t nowSeconds) const;

    // Parses every key's values (the fuzz target and tests check the whole reader with it).
    void ParseAll() const;
    std::size_t KeyCount() const { return m_keys.size(); }

    // The UTF-16LE data of a Windows-1252 string with its terminator, and the way back.
    static std::string StringData(std::string_view text);
    static std::string StringText(std::string_view data);

private:
    struct Item
    {
        bool isValue = false;
        std::string raw;         // the item's lines as read (with their line ends); empty when generated
        std::string nameText;    // a value's name as escaped in the file
        RegValue value;
    };
    struct Key
    {
        std::string path;        // decoded, Windows-1252
        std::string folded;      // lower case, for look-ups
        std::string nameText;    // the path as escaped between the brackets
        std::size_t begin = 0;   // the section's bytes in m_text: its key line up to the next one
        std::size_t end = 0;
        mutable bool parsed = false;
        mutable std::vector<Item> items; // the lines after the key line, once parsed
        bool changed = false;
        bool deleted = false;
        bool isNew = false;
    };

    const Key* FindKey(std::string_view path) const;
    Key* FindKey(std::string_view path);
    Key& CreateKey(std::string_view path);
    void Parse(const Key& key) const;
    void RebuildIndex();
    bool AnyKeyBelow(const std::string& foldedPrefix) const;

    std::string m_text;
    std::size_t m_preambleEnd = 0;
    std::vector<Key> m_keys;
    std::unordered_map<std::string, std::size_t> m_index; // folded path -> index in m_keys
    bool m_changed = false;
};

// Decodes a registry string in Wine's escaped form up to the closing `quote` into UTF-16 units;
// `used` receives the bytes consumed including the closing character. False when the text ends
// before the closing character.
bool DecodeRegistryString(std::string_view text, char quote, std::u16string& units, std::size_t& used);
// Escapes UTF-16 units the way Wine writes them; `special` is the extra character to escape.
std::string EncodeRegistryString(std::u16string_view units, char special);

} // namespace lt
