// SPDX-License-Identifier: GPL-3.0-or-later
#include "inet/status_texts.h"

#include <cstdio>

#include "core/cp1252.h"
#include "inet/inet_texts.h"
#include "inet/redirect.h"

namespace lt {
namespace {

bool StartsNoCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (Cp1252Lower(static_cast<unsigned char>(text[i])) != Cp1252Lower(static_cast<unsigned char>(prefix[i])))
            return false;
    return true;
}

} // namespace

std::string StatusErrorText(int number)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%03d ", number);
    std::string text = buffer;
    if (LookupInetErrorText(text))
        return text;
    return "Error " + text;
}

std::string StatusAnswerText(int status, std::string_view url, std::string_view target)
{
    if (status == kStatusOk)
        return kStatusOkText;
    if (status == kStatusRedirectInside || status == kStatusRedirectElsewhere) {
        if (status == kStatusRedirectInside && !url.empty() && target.size() + 1 == url.size() &&
            StartsNoCase(url, target))
            return kStatusOkText;
        return "Redirected:  " + std::string(target);
    }
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%03d !", status);
    std::string text = buffer;
    if (LookupStatusText(text))
        return text;
    return "Error " + text;
}

bool IsFinishedStatus(std::string_view status)
{
    for (const std::string_view prefix : {"Ok", "120", "404", "Error", "Redirected"})
        if (StartsNoCase(status, prefix))
            return true;
    return false;
}

bool IsOkStatus(std::string_view status)
{
    return status.size() == 2 && StartsNoCase(status, "ok");
}

} // namespace lt
