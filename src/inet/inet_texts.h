// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lt {

// The texts every internet job shows: status and error tables, state words, counters and the
// transfer line. Pure functions, callable from any thread.

// "403 - Forbidden" and the other 12 entries of the status table; the table ends at "X".
const char* const* HttpStatusTable();
// "12002 - timed out" and the other 17 entries of the error table; the table ends at "X".
const char* const* InetErrorTable();

// When the first three characters of `text` equal those of a status entry, `text` becomes the
// entry and the result is true; otherwise `text` is left alone.
bool LookupStatusText(std::string& text);
// The same over the error table, on five characters.
bool LookupInetErrorText(std::string& text);
// The text of a status code: "%03d" and `after`, or its table entry.
std::string HttpStatusText(int status, const char* after = " !");
// The text of an error number: its decimal digits, or its table entry.
std::string InetErrorText(int number);

// The state word of a job window's status line (index 0..8); "" outside the table.
std::string_view InetStateWord(int index);
// "Status: %s", or for index 0 "Status: %s (HH:MM)" with the given clock time.
std::string JobStateText(int index, int hours, int minutes);
// "Retrieved: %d/%d" (count, total), for kind 2 "Ok Items: %d/%d". A negative count keeps the
// number `previous` shows after its colon.
std::string CounterText(long total, long count, int kind, std::string_view previous = {});

// 2097152 -> "2.097.152".
std::string GroupDigits(uint64_t value);

// Transfer modes of FormatTransferText.
enum TransferMode : int { kTransferPlain = 0, kTransferDone = 1, kTransferCancelled = 2, kTransferSkipped = 3 };
// "Done. 1.023 Bytes ", " 2.05 M (512.0 K/s) (Cancelled)" and the like.
std::string FormatTransferText(double seconds, uint64_t bytes, int mode);

// True for "http" texts of at least 7 characters with "/" seventh and ":" fifth or sixth, and for
// "ftp:" texts longer than 6 characters (both ignoring case).
bool IsUrlText(std::string_view text);
// 1 for "http..." and 2 for "ftp://" (both in any case), 0 otherwise.
int ProtocolOf(std::string_view url);

} // namespace lt
