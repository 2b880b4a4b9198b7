// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace lt {

// Opens `path` for reading only when it is a regular file (never a FIFO, device, socket or folder,
// which could hang or never end), without following it into a FIFO planted between check and open.
// Returns the descriptor, or -1 with a one-line `error` ("... is not a regular file").
int OpenRegularFile(const std::string& path, std::string& error);

// Reads a whole regular file of at most `maxBytes` bytes into `bytes`. False with a one-line
// `error` when the file is not regular, cannot be read, or is larger than the limit.
bool ReadRegularFile(const std::string& path, std::uint64_t maxBytes, std::string& bytes, std::string& error);

} // namespace lt
