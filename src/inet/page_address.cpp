// SPDX-License-Identifier: GPL-3.0-or-later
#include "inet/page_address.h"

#include "inet/inet_texts.h"
#include "inet/redirect.h"

namespace lt {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool StartsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

} // namespace

PageAddress ReadPageAddress(std::string_view text, const std::function<bool(const std::string&)>& isFile,
                            std::string_view home)
{
    PageAddress address;
    text = text.substr(0, kMaxUrlLength);
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    if (text.size() < 7)
        return address;
    const std::string whole(text);
    if (IsUrlText(text)) {
        address.kind = AddressKind::Url;
        address.target = whole;
        return address;
    }
    // A host name may contain "/" ("www.x.com/page"), so only these forms count as paths.
    if (StartsWith(text, "~/")) {
        address.kind = AddressKind::LocalFile;
        address.target = std::string(home) + whole.substr(1);
        return address;
    }
    if (StartsWith(text, "/") || StartsWith(text, "./") || StartsWith(text, "../") || (isFile && isFile(whole))) {
        address.kind = AddressKind::LocalFile;
        address.target = whole;
        return address;
    }
    address.kind = AddressKind::Url;
    address.target = "http://" + whole;
    return address;
}

} // namespace lt
