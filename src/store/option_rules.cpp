// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/option_rules.h"

#include <algorithm>
#include <charconv>

namespace lt {

namespace {

constexpr int kMaxTimeoutSeconds = 86400;
constexpr std::size_t kProxyHistory = 7;

bool ParseNumber(const std::string& text, long long& value)
{
    if (text.empty())
        return false;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return result.ec == std::errc() && result.ptr == end;
}

} // namespace

std::string ClampOrderDigit(const std::string& text, int n)
{
    long long value = 0;
    if (!ParseNumber(text, value))
        return text;
    if (value > n && value < 10)
        return std::to_string(n);
    if (value < 1)
        return "1";
    return text;
}

bool IsOrderPermutation(const std::string& order, int n)
{
    if (static_cast<int>(order.size()) != n)
        return false;
    std::array<bool, 10> seen{};
    for (const char c : order) {
        const int digit = c - '0';
        if (digit < 1 || digit > n || seen[static_cast<std::size_t>(digit)])
            return false;
        seen[static_cast<std::size_t>(digit)] = true;
    }
    return true;
}

void SwapIntoPermutation(std::vector<int>& digits, std::size_t changed, int before)
{
    const int n = static_cast<int>(digits.size());
    if (changed >= digits.size())
        return;
    const int now = digits[changed];
    if (now == before || now < 1 || now > n || before < 1 || before > n)
        return;
    std::string order;
    for (const int d : digits)
        order.push_back(static_cast<char>('0' + std::clamp(d, 0, 9)));
    if (IsOrderPermutation(order, n))
        return;
    for (std::size_t j = 0; j < digits.size(); ++j)
        if (j != changed && digits[j] == now) {
            digits[j] = before;
            return;
        }
}

std::array<bool, 6> ConfirmedExportColumns(std::array<bool, 6> ticked)
{
    if (std::none_of(ticked.begin(), ticked.end(), [](bool on) { return on; }))
        ticked[0] = true;
    return ticked;
}

std::string ProxyWithPort(const std::string& proxy)
{
    const auto colon = proxy.rfind(':');
    const auto bracket = proxy.rfind(']');
    if (colon != std::string::npos && (bracket == std::string::npos || colon > bracket)) {
        const std::string tail = proxy.substr(colon + 1);
        long long port = 0;
        if (ParseNumber(tail, port) && port > 0 && port <= 65535)
            return proxy;
        // A port that is none ("host:", "host:0") is replaced, not followed by a second one.
        if (tail.find_first_not_of("0123456789") == std::string::npos)
            return proxy.substr(0, colon) + ":80";
    }
    return proxy + ":80";
}

void RememberProxy(std::vector<std::string>& history, const std::string& proxy)
{
    if (proxy.empty())
        return;
    history.erase(std::remove(history.begin(), history.end(), proxy), history.end());
    history.insert(history.begin(), proxy);
    if (history.size() > kProxyHistory)
        history.resize(kProxyHistory);
}

bool ParseTimeout(const std::string& text, int& seconds)
{
    long long value = 0;
    if (!ParseNumber(text, value) || value < 1)
        return false;
    seconds = static_cast<int>(std::min<long long>(value, kMaxTimeoutSeconds));
    return true;
}

} // namespace lt
