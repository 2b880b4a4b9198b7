// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/shell_link.h"

#include <climits>
#include <cstdlib>
#include <sys/stat.h>

#include "core/cp1252.h"
#include "platform/regular_file.h"
#include "platform/wine_profile.h"

namespace lt {

namespace {

constexpr uint32_t kHeaderSize = 0x4C;
constexpr uint8_t kLinkClsid[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                    0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
constexpr uint32_t kHasIdList = 0x1, kHasLinkInfo = 0x2, kIsUnicode = 0x80, kForceNoLinkInfo = 0x100;
constexpr uint32_t kInfoLocal = 0x1, kInfoNetwork = 0x2;
constexpr std::size_t kMaxTarget = 259;
constexpr std::uint64_t kMaxLinkBytes = 1u << 20;

// Little-endian reads that fail past the end instead of reading it.
class Bytes
{
public:
    explicit Bytes(std::string_view data) : m_data(data) {}
    std::size_t Size() const { return m_data.size(); }
    bool U16(std::size_t at, uint32_t& value) const
    {
        if (at > m_data.size() || m_data.size() - at < 2)
            return false;
        value = Byte(at) | Byte(at + 1) << 8;
        return true;
    }
    bool U32(std::size_t at, uint32_t& value) const
    {
        if (at > m_data.size() || m_data.size() - at < 4)
            return false;
        value = Byte(at) | Byte(at + 1) << 8 | Byte(at + 2) << 16 | Byte(at + 3) << 24;
        return true;
    }
    // A NUL-terminated ANSI string starting at `at` and ending before `limit`.
    bool CString(std::size_t at, std::size_t limit, std::string& text) const
    {
        limit = std::min(limit, m_data.size());
        if (at >= limit)
            return false;
        const std::size_t nul = m_data.find('\0', at);
        if (nul == std::string_view::npos || nul >= limit)
            return false;
        text.assign(m_data.substr(at, nul - at));
        return true;
    }
    uint32_t Byte(std::size_t at) const { return static_cast<uint8_t>(m_data[at]); }
    std::string_view Slice(std::size_t at, std::size_t n) const { return m_data.substr(at, n); }

private:
    std::string_view m_data;
};

bool Fail(std::string& error, const char* what, std::size_t offset)
{
    error = std::string(what) + " at offset " + std::to_string(offset);
    return false;
}

bool ReadLinkInfo(const Bytes& b, std::size_t start, ShellLink& link, std::size_t& size, std::string& error)
{
    uint32_t infoSize = 0, headerSize = 0, flags = 0, localOffset = 0, networkOffset = 0, suffixOffset = 0;
    if (!b.U32(start, infoSize) || infoSize < 0x1C || infoSize > b.Size() - start)
        return Fail(error, "bad LinkInfo size", start);
    if (!b.U32(start + 4, headerSize) || headerSize < 0x1C || headerSize > infoSize || !b.U32(start + 8, flags) ||
        !b.U32(start + 16, localOffset) || !b.U32(start + 20, networkOffset) || !b.U32(start + 24, suffixOffset))
        return Fail(error, "bad LinkInfo header", start);
    const std::size_t end = start + infoSize;
    std::string suffix;
    if (suffixOffset != 0 && !b.CString(start + suffixOffset, end, suffix))
        return Fail(error, "bad common path suffix", start + 24);
    if (flags & kInfoLocal) {
        std::string base;
        if (!b.CString(start + localOffset, end, base))
            return Fail(error, "bad local base path", start + 16);
        link.localPath = base + suffix;
    }
    if (flags & kInfoNetwork) {
        const std::size_t net = start + networkOffset;
        uint32_t netSize = 0, netNameOffset = 0;
        if (networkOffset < headerSize || !b.U32(net, netSize) || netSize < 0x14 || netSize > end - std::min(end, net) ||
            !b.U32(net + 8, netNameOffset))
            return Fail(error, "bad network link", start + 20);
        std::string share;
        if (!b.CString(net + netNameOffset, net + netSize, share))
            return Fail(error, "bad network share name", net + 8);
        link.uncPath = suffix.empty() ? share : share + "\\" + suffix;
    }
    size = infoSize;
    return true;
}

bool ReadStringData(const Bytes& b, std::size_t& pos, bool unicode, std::string& text, std::string& error)
{
    uint32_t count = 0;
    if (!b.U16(pos, count))
        return Fail(error, "string data cut off", pos);
    const std::size_t bytes = unicode ? 2 * static_cast<std::size_t>(count) : count;
    if (bytes > b.Size() - pos - 2)
        return Fail(error, "string data longer than the file", pos);
    text.clear();
    for (std::size_t i = 0; i < count; ++i) {
        if (unicode) {
            const uint32_t unit = b.Byte(pos + 2 + 2 * i) | b.Byte(pos + 3 + 2 * i) << 8;
            const uint8_t c = UnicodeToCp1252(unit);
            text.push_back(c == 0 && unit != 0 ? '?' : static_cast<char>(c));
        } else {
            text.push_back(static_cast<char>(b.Byte(pos + 2 + i)));
        }
    }
    pos += 2 + bytes;
    return true;
}

} // namespace

std::string ShellLink::Target() const
{
    if (!uncPath.empty())
        return uncPath;
    if (!localPath.empty())
        return localPath;
    return relativePath;
}

bool ReadShellLink(std::string_view data, ShellLink& link, std::string& error)
{
    link = ShellLink{};
    const Bytes b(data);
    uint32_t headerSize = 0;
    if (!b.U32(0, headerSize) || headerSize != kHeaderSize || data.size() < kHeaderSize)
        return Fail(error, "not a shell link (header size)", 0);
    for (std::size_t i = 0; i < 16; ++i)
        if (b.Byte(4 + i) != kLinkClsid[i])
            return Fail(error, "not a shell link (class identifier)", 4);
    b.U32(0x14, link.flags);
    b.U32(0x18, link.fileAttributes);
    std::size_t pos = kHeaderSize;
    if (link.flags & kHasIdList) {
        uint32_t idListSize = 0;
        if (!b.U16(pos, idListSize) || idListSize > data.size() - pos - 2)
            return Fail(error, "ID list longer than the file", pos);
        pos += 2 + idListSize;
    }
    if ((link.flags & kHasLinkInfo) && !(link.flags & kForceNoLinkInfo)) {
        std::size_t size = 0;
        if (!ReadLinkInfo(b, pos, link, size, error))
            return false;
        pos += size;
    }
    const bool unicode = (link.flags & kIsUnicode) != 0;
    std::string* strings[] = {&link.name, &link.relativePath, &link.workingDir, &link.arguments, &link.iconLocation};
    for (uint32_t bit = 0; bit < 5; ++bit)
        if ((link.flags & (0x4u << bit)) && !ReadStringData(b, pos, unicode, *strings[bit], error))
            return false;
    return true;
}

int ResolveShortcut(const std::string& prefix, const std::string& path, std::string& target)
{
    target.clear();
    struct stat st
    {
    };
    if (::lstat(path.c_str(), &st) != 0)
        return 0;
    if (S_ISLNK(st.st_mode)) {
        char buffer[PATH_MAX];
        if (!::realpath(path.c_str(), buffer) || ::stat(buffer, &st) != 0)
            return 0;
        target = std::string(buffer).substr(0, kMaxTarget);
        return S_ISDIR(st.st_mode) ? 2 : 1;
    }
    std::string bytes, error;
    ShellLink link;
    if (!ReadRegularFile(path, kMaxLinkBytes, bytes, error) || !ReadShellLink(bytes, link, error))
        return 0;
    const std::string text = link.Target();
    if (text.empty())
        return 0;
    target = text.substr(0, kMaxTarget);
    const std::string mapped = MapWindowsPath(prefix, text);
    if (!mapped.empty() && ::stat(mapped.c_str(), &st) == 0)
        return S_ISDIR(st.st_mode) ? 2 : 1;
    return link.TargetIsFolder() ? 2 : 1;
}

} // namespace lt
