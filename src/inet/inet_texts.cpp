// SPDX-License-Identifier: GPL-3.0-or-later
#include "inet/inet_texts.h"

#include <array>
#include <cstdio>
#include <cstring>

#include "core/cp1252.h"

namespace lt {
namespace {

constexpr const char* kStatusTable[] = {
    "403 - Forbidden",           "404 - Not Found",        "204 - No Content",
    "301 - Moved Permanently",   "302 - Moved Temporarily", "304 - Not Modified",
    "400 - Bad Request",         "401 - Unauthorized",      "500 - Internal Server Error",
    "501 - Not Implemented",     "502 - Bad Gateway",       "503 - Service Unavailable",
    "504 - Timed out",           "X",
};

constexpr const char* kErrorTable[] = {
    "12002 - timed out",
    "12003 - extended error",
    "12004 - internal error",
    "12005 - invalid Url",
    "12006 - Url scheme not supported",
    "12007 - not resolved",
    "12008 - protocol not located",
    "12014 - incorrect password",
    "12015 - login failed",
    "12017 - operation cancelled",
    "12020 - request cannot be made via a proxy",
    "12027 - invalid request",
    "12029 - no connection",
    "12030 - connection aborted",
    "12031 - connection reset",
    "12152 - invalid server response",
    "12163 - internet disconnected",
    "12164 - server unreachable",
    "X",
};

constexpr std::array<std::string_view, 9> kStateWords = {
    "Idle...", "Connecting...", "Receiving...", "Delay", "LinkTrawl Results", "LinkTrawl Results",
    "Read Internet file", "Batch Download", "Test Url Status",
};

bool LookupIn(const char* const* table, std::size_t width, std::string& text)
{
    if (text.size() < width)
        return false;
    for (const char* const* entry = table; std::strcmp(*entry, "X") != 0; ++entry) {
        if (std::strncmp(*entry, text.data(), width) == 0) {
            text = *entry;
            return true;
        }
    }
    return false;
}

bool StartsNoCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (Cp1252Lower(static_cast<unsigned char>(text[i])) != Cp1252Lower(static_cast<unsigned char>(prefix[i])))
            return false;
    }
    return true;
}

} // namespace

const char* const* HttpStatusTable() { return kStatusTable; }
const char* const* InetErrorTable() { return kErrorTable; }

bool LookupStatusText(std::string& text) { return LookupIn(kStatusTable, 3, text); }
bool LookupInetErrorText(std::string& text) { return LookupIn(kErrorTable, 5, text); }

std::string HttpStatusText(int status, const char* after)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%03d%s", status, after);
    std::string text = buffer;
    LookupStatusText(text);
    return text;
}

std::string InetErrorText(int number)
{
    std::string text = std::to_string(number);
    LookupInetErrorText(text);
    return text;
}

std::string_view InetStateWord(int index)
{
    if (index < 0 || index >= static_cast<int>(kStateWords.size()))
        return {};
    return kStateWords[static_cast<std::size_t>(index)];
}

std::string JobStateText(int index, int hours, int minutes)
{
    std::string text = "Status: ";
    text += InetStateWord(index);
    if (index == 0) {
        char clock[16];
        std::snprintf(clock, sizeof clock, " (%02d:%02d)", hours % 100, minutes % 100);
        text += clock;
    }
    return text;
}

std::string CounterText(long total, long count, int kind, std::string_view previous)
{
    std::string countText;
    if (count < 0) {
        const std::size_t colon = previous.find(':');
        if (colon != std::string_view::npos) {
            std::size_t i = colon + 1;
            while (i < previous.size() && previous[i] == ' ')
                ++i;
            while (i < previous.size() && previous[i] >= '0' && previous[i] <= '9')
                countText += previous[i++];
        }
        if (countText.empty())
            countText = "0";
    } else {
        countText = std::to_string(count);
    }
    return std::string(kind == 2 ? "Ok Items: " : "Retrieved: ") + countText + "/" + std::to_string(total);
}

std::string GroupDigits(uint64_t value)
{
    const std::string digits = std::to_string(value);
    std::string out;
    out.reserve(digits.size() + digits.size() / 3);
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += '.';
        out += digits[i];
    }
    return out;
}

std::string FormatTransferText(double seconds, uint64_t bytes, int mode)
{
    if (!(seconds >= 1.0))
        seconds = 1.0;
    const char* prefix = mode == kTransferDone ? "Done." : "";
    const char* suffix = mode == kTransferCancelled ? "(Cancelled)" : mode == kTransferSkipped ? "(Skipped)" : "";
    const uint64_t kib = bytes / 1024;
    const double rate = static_cast<double>(kib) / seconds;
    char buffer[128];
    if (bytes < 1024) {
        std::snprintf(buffer, sizeof buffer, "%s %s Bytes %s", prefix, GroupDigits(bytes).c_str(), suffix);
    } else if (bytes >= 1048576) {
        std::snprintf(buffer, sizeof buffer, "%s %.2f M (%.1f K/s) %s", prefix, static_cast<double>(kib) * 0.001,
                      rate, suffix);
    } else {
        std::snprintf(buffer, sizeof buffer, "%s %.1f K (%.1f K/s) %s", prefix, static_cast<double>(kib), rate,
                      suffix);
    }
    return buffer;
}

bool IsUrlText(std::string_view text)
{
    if (StartsNoCase(text, "http"))
        return text.size() >= 7 && text[6] == '/' && (text[4] == ':' || text[5] == ':');
    return StartsNoCase(text, "ftp:") && text.size() > 6;
}

int ProtocolOf(std::string_view url)
{
    if (StartsNoCase(url, "http"))
        return 1;
    // Schemes are case-insensitive: "FTP://" must not be refused as an unknown scheme.
    if (StartsNoCase(url, "ftp://"))
        return 2;
    return 0;
}

} // namespace lt
