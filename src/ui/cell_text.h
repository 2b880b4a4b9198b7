// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace lt {

// Shows a byte string of the engine: valid UTF-8 as UTF-8, anything else as Windows-1252.
QString DecodeBytes(std::string_view bytes);

// The bytes of a text typed by the user: Windows-1252 when every character has a byte there
// (so that it matches the files the scanners read), else UTF-8.
std::string EncodeText(const QString& text);

// The bytes of a file path typed or picked by the user (the file system's own encoding).
std::string EncodePath(const QString& path);
QString DecodePath(std::string_view path);

} // namespace lt
