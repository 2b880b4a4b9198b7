// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace lt {

// The error number a job shows for a failed libcurl transfer (the numbers of the error-text
// table; TLS failures get numbers outside it). `osErrno` is the transfer's system error,
// `loginInUse` says our configured FTP login was sent, `tlsVerify` is the certificate check's
// result (0 when the check passed or the host name did not match).
int InetErrorNumber(int curlCode, long osErrno, bool loginInUse, long tlsVerify = -1);

// The number of a scheme refused before any request.
inline constexpr int kErrorUnsupportedScheme = 12006;
inline constexpr int kErrorCancelled = 12017;

} // namespace lt
