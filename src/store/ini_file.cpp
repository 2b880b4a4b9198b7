// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/ini_file.h"

#include <cerrno>
#include <climits>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/regular_file.h"
#include "store/atomic_write.h"

namespace lt {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

char LowerChar(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

bool IsQuote(char c)
{
    return c == '"' || c == '\'';
}

// Keeps only what can stand in a name of the given kind without changing the line's meaning.
std::string CleanName(std::string_view name, std::string_view forbidden)
{
    // The program's own names need no cleaning: one copy, no byte-by-byte rebuild.
    if (name.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos &&
        name.find_first_of(forbidden) == std::string_view::npos)
        return std::string(Trim(name));
    std::string out;
    for (char c : name)
        if (c != '\r' && c != '\n' && c != '\0' && forbidden.find(c) == std::string_view::npos)
            out.push_back(c);
    return std::string(Trim(out));
}

} // namespace

std::size_t IniFile::NoCaseHash::operator()(std::string_view s) const
{
    // FNV-1a over the lower-cased bytes.
    std::size_t h = 14695981039346656037ULL;
    for (char c : s)
        h = (h ^ static_cast<unsigned char>(LowerChar(c))) * 1099511628211ULL;
    return h;
}

bool IniFile::NoCaseEqual::operator()(std::string_view a, std::string_view b) const
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerChar(a[i]) != LowerChar(b[i]))
            return false;
    return true;
}

bool IniFile::LoadBytes(std::string_view bytes, std::size_t maxBytes)
{
    m_sections.clear();
    m_sectionIndex.clear();
    m_eol = "\r\n";
    m_sections.emplace_back();
    m_byteOrderMark = false;
    if (bytes.size() > maxBytes)
        return false;
    // Editors put a UTF-8 byte-order mark first; read as text it would hide the first section.
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        m_byteOrderMark = true;
        bytes.remove_prefix(kByteOrderMark.size());
    }

    bool eolChosen = false;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::size_t nl = bytes.find('\n', pos);
        Line line;
        if (nl == std::string_view::npos) {
            line.text.assign(bytes.substr(pos));
            pos = bytes.size();
        } else {
            std::size_t end = nl;
            if (end > pos && bytes[end - 1] == '\r') {
                --end;
                line.eol = "\r\n";
            } else {
                line.eol = "\n";
            }
            line.text.assign(bytes.substr(pos, end - pos));
            pos = nl + 1;
            if (!eolChosen) {
                m_eol = line.eol;
                eolChosen = true;
            }
        }

        const std::string_view t = Trim(line.text);
        if (!t.empty() && t.front() == '[') {
            std::string_view name = t.substr(1);
            const std::size_t close = name.find(']');
            if (close != std::string_view::npos)
                name = name.substr(0, close);
            Section s;
            s.name.assign(Trim(name));
            s.hasHeader = true;
            s.header = std::move(line);
            m_sectionIndex.try_emplace(s.name, m_sections.size());
            m_sections.push_back(std::move(s));
            continue;
        }
        if (!t.empty() && t.front() != ';') {
            const std::size_t eq = line.text.find('=');
            if (eq != std::string::npos && !Trim(std::string_view(line.text).substr(0, eq)).empty())
                line.eq = eq;
        }
        m_sections.back().lines.push_back(std::move(line));
    }
    for (std::size_t i = 0; i < m_sections.size(); ++i)
        IndexSection(i);
    return true;
}

std::string IniFile::Load(const std::string& path, std::size_t maxBytes)
{
    m_fileExisted = false;
    LoadBytes({}, maxBytes);
    struct stat st
    {
    };
    if (::stat(path.c_str(), &st) != 0 && (errno == ENOENT || errno == ENOTDIR))
        return {};
    m_fileExisted = true;
    // A FIFO or device named as the INI would block the start or never end.
    std::string error;
    const int fd = OpenRegularFile(path, error);
    if (fd < 0)
        return error;
    std::string bytes;
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int err = errno;
            ::close(fd);
            return "Could not read " + path + ": " + std::strerror(err);
        }
        if (n == 0)
            break;
        if (bytes.size() + static_cast<std::size_t>(n) > maxBytes) {
            ::close(fd);
            return "Could not read " + path + ": the file is too large";
        }
        bytes.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fd);
    LoadBytes(bytes, maxBytes);
    return {};
}

void IniFile::IndexSection(std::size_t sectionIndex)
{
    Section& s = m_sections[sectionIndex];
    s.keys.clear();
    for (std::size_t i = 0; i < s.lines.size(); ++i) {
        const Line& l = s.lines[i];
        if (l.eq != std::string::npos)
            s.keys.try_emplace(std::string(Trim(std::string_view(l.text).substr(0, l.eq))), i);
    }
}

IniFile::Section* IniFile::FindSection(std::string_view section)
{
    const auto it = m_sectionIndex.find(Trim(section));
    return it == m_sectionIndex.end() ? nullptr : &m_sections[it->second];
}

const IniFile::Line* IniFile::FindLine(std::string_view section, std::string_view key) const
{
    const auto sit = m_sectionIndex.find(Trim(section));
    if (sit == m_sectionIndex.end())
        return nullptr;
    const Section& s = m_sections[sit->second];
    const auto kit = s.keys.find(Trim(key));
    return kit == s.keys.end() ? nullptr : &s.lines[kit->second];
}

bool IniFile::HasSection(std::string_view section) const
{
    return m_sectionIndex.find(Trim(section)) != m_sectionIndex.end();
}

bool IniFile::HasKey(std::string_view section, std::string_view key) const
{
    return FindLine(section, key) != nullptr;
}

std::string IniFile::GetString(std::string_view section, std::string_view key, std::string_view def,
                               std::size_t maxLen) const
{
    const Line* line = FindLine(section, key);
    std::string_view v = def;
    if (line != nullptr) {
        v = Trim(std::string_view(line->text).substr(line->eq + 1));
        if (v.size() >= 2 && IsQuote(v.front()) && v.back() == v.front())
            v = v.substr(1, v.size() - 2);
    }
    const std::size_t nul = v.find('\0');
    if (nul != std::string_view::npos)
        v = v.substr(0, nul);
    return std::string(v.substr(0, maxLen));
}

int IniFile::GetInt(std::string_view section, std::string_view key, int def) const
{
    if (FindLine(section, key) == nullptr)
        return def;
    const std::string v = GetString(section, key, "", 4096);
    std::size_t i = 0;
    bool negative = false;
    if (i < v.size() && (v[i] == '-' || v[i] == '+')) {
        negative = v[i] == '-';
        ++i;
    }
    if (i >= v.size() || v[i] < '0' || v[i] > '9')
        return def;
    long long n = 0;
    for (; i < v.size() && v[i] >= '0' && v[i] <= '9'; ++i) {
        n = n * 10 + (v[i] - '0');
        if (n > static_cast<long long>(INT_MAX) + 1)
            n = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative)
        n = -n;
    if (n > INT_MAX)
        n = INT_MAX;
    return static_cast<int>(n);
}

void IniFile::EnsureLastLineEnded()
{
    for (auto it = m_sections.rbegin(); it != m_sections.rend(); ++it) {
        Line* last = !it->lines.empty() ? &it->lines.back() : (it->hasHeader ? &it->header : nullptr);
        if (last == nullptr)
            continue;
        if (last->eol.empty())
            last->eol = m_eol;
        return;
    }
}

void IniFile::SetString(std::string_view section, std::string_view key, std::string_view value)
{
    const std::string sectionName = CleanName(section, "[]");
    const std::string keyName = CleanName(key, "=");
    if (sectionName.empty() || keyName.empty() || keyName.front() == '[' || keyName.front() == ';')
        return;
    std::size_t cut = value.find_first_of(std::string_view("\n\0", 2));
    if (cut != std::string_view::npos) {
        if (cut > 0 && value[cut - 1] == '\r' && value[cut] == '\n')
            --cut;
        value = value.substr(0, cut);
    }
    std::string stored(value);
    const bool trimmed = !value.empty() && (IsBlank(value.front()) || IsBlank(value.back()));
    const bool quoted = value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front();
    if (trimmed || quoted)
        stored = '"' + stored + '"';

    Section* s = FindSection(sectionName);
    if (s == nullptr) {
        EnsureLastLineEnded();
        Section ns;
        ns.name = sectionName;
        ns.hasHeader = true;
        ns.header.text = "[" + sectionName + "]";
        ns.header.eol = m_eol;
        m_sectionIndex.emplace(sectionName, m_sections.size());
        m_sections.push_back(std::move(ns));
        s = &m_sections.back();
    }
    const auto kit = s->keys.find(std::string_view(keyName));
    if (kit != s->keys.end()) {
        Line& line = s->lines[kit->second];
        line.text = std::string(Trim(std::string_view(line.text).substr(0, line.eq))) + "=" + stored;
        line.eq = line.text.find('=');
        return;
    }
    // After the section's last non-blank line, so that blank lines before the next section stay
    // where they are (and no indexed key line moves).
    std::size_t at = s->lines.size();
    while (at > 0 && Trim(s->lines[at - 1].text).empty())
        --at;
    if (at == s->lines.size())
        EnsureLastLineEnded();
    Line line;
    line.text = keyName + "=" + stored;
    line.eq = keyName.size();
    line.eol = m_eol;
    s->lines.insert(s->lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
    s->keys.emplace(keyName, at);
}

void IniFile::SetInt(std::string_view section, std::string_view key, long long value)
{
    SetString(section, key, std::to_string(value));
}

bool IniFile::DeleteKey(std::string_view section, std::string_view key)
{
    Section* s = FindSection(section);
    if (s == nullptr)
        return false;
    const auto kit = s->keys.find(Trim(key));
    if (kit == s->keys.end())
        return false;
    const std::size_t at = kit->second;
    const bool wasLast = s->lines[at].eol.empty();
    s->lines.erase(s->lines.begin() + static_cast<std::ptrdiff_t>(at));
    if (wasLast && at > 0)
        s->lines[at - 1].eol.clear();
    IndexSection(static_cast<std::size_t>(s - m_sections.data()));
    return true;
}

std::string IniFile::ToBytes() const
{
    std::string out = m_byteOrderMark ? "\xEF\xBB\xBF" : "";
    for (const Section& s : m_sections) {
        if (s.hasHeader)
            out.append(s.header.text).append(s.header.eol);
        for (const Line& l : s.lines)
            out.append(l.text).append(l.eol);
    }
    return out;
}

std::string IniFile::Save(const std::string& path) const
{
    return WriteFileAtomically(path, ToBytes());
}

} // namespace lt
