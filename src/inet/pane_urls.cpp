// SPDX-License-Identifier: GPL-3.0-or-later
#include "inet/pane_urls.h"

#include <algorithm>

#include "core/cp1252.h"
#include "core/shorten_at_separators.h"
#include "inet/inet_texts.h"

namespace lt {

namespace {

constexpr std::size_t kMinLength = 10;
constexpr int kLevels = 3;
constexpr int kAncestorLevels = 32;

bool IsUrlByte(unsigned char c)
{
    return c >= 33 && c <= 126 && c != '"' && c != '<' && c != '>' && c != '(' && c != ')';
}

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

class Walk
{
public:
    Walk(DesktopWindows& desktop, const OwnWindows& own) : m_desktop(desktop), m_own(own) {}

    std::vector<std::string> Run()
    {
        for (const DesktopWindowId top : m_desktop.TopLevel()) {
            if (Done())
                break;
            Visit(top, 0);
        }
        return std::move(m_urls);
    }

private:
    bool Done() const { return m_visits > kMaxPaneVisits || m_urls.size() >= kMaxPaneUrls; }

    void Visit(DesktopWindowId window, int level)
    {
        ++m_visits;
        if (Done())
            return;
        Examine(window);
        if (level >= kLevels)
            return;
        for (const DesktopWindowId child : m_desktop.Children(window)) {
            if (Done())
                return;
            Visit(child, level + 1);
        }
    }

    bool IsOwn(DesktopWindowId window)
    {
        DesktopWindowId at = window;
        for (int i = 0; at != 0 && i <= kAncestorLevels; ++i) {
            if (std::find(m_own.windows.begin(), m_own.windows.end(), at) != m_own.windows.end())
                return true;
            if (m_own.pid != 0 && m_desktop.Pid(at) == m_own.pid)
                return true;
            at = m_desktop.Parent(at);
        }
        return false;
    }

    void Examine(DesktopWindowId window)
    {
        const std::string url = PaneUrlOf(m_desktop.Name(window));
        if (url.empty() || IsOwn(window))
            return;
        for (const std::string& taken : m_urls)
            if (Cp1252EqualsNoCase(taken, url))
                return;
        m_urls.push_back(url);
    }

    DesktopWindows& m_desktop;
    const OwnWindows& m_own;
    std::vector<std::string> m_urls;
    int m_visits = 0;
};

} // namespace

std::string PaneUrlOf(std::string_view text)
{
    if (text.size() < kMinLength || !IsUrlText(text))
        return {};
    if (!StartsWith(text, "http://") && !StartsWith(text, "https://") && !StartsWith(text, "ftp://"))
        return {};
    std::size_t end = 0;
    while (end < text.size() && IsUrlByte(static_cast<unsigned char>(text[end])))
        ++end;
    if (end < kMinLength)
        return {};
    return std::string(text.substr(0, end));
}

std::vector<std::string> CollectPaneUrls(DesktopWindows& desktop, const OwnWindows& own)
{
    return Walk(desktop, own).Run();
}

std::string PaneMenuText(std::string_view url) { return ShortenAtSeparators(url, '/', kPaneMenuWidth); }

} // namespace lt
