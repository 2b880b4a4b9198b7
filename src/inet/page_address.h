// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace lt {

enum class AddressKind { Nothing, LocalFile, Url };

struct PageAddress
{
    AddressKind kind = AddressKind::Nothing;
    std::string target; // the path (a leading "~/" made the home folder) or the URL
};

// What the text window's address line names. The text (at most 259 characters) is trimmed; under 7
// characters it names nothing. A URL stays as it is; a text that starts with "/", "~/", "./" or
// "../", or that names an existing file (`isFile`), is a local path; anything else is a host name
// and gets "http://" in front.
PageAddress ReadPageAddress(std::string_view text, const std::function<bool(const std::string&)>& isFile,
                            std::string_view home);

} // namespace lt
