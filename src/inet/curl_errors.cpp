// SPDX-License-Identifier: GPL-3.0-or-later
#include "inet/curl_errors.h"

#include <cerrno>

#include <curl/curl.h>

namespace lt {

int InetErrorNumber(int curlCode, long osErrno, bool loginInUse, long tlsVerify)
{
    switch (static_cast<CURLcode>(curlCode)) {
    case CURLE_OPERATION_TIMEDOUT: return 12002;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY: return 12007;
    case CURLE_URL_MALFORMAT: return 12005;
    case CURLE_COULDNT_CONNECT: return 12029;
    case CURLE_RECV_ERROR: return osErrno == ECONNRESET ? 12031 : 12030;
    case CURLE_SEND_ERROR: return 12031;
    case CURLE_LOGIN_DENIED: return loginInUse ? 12014 : 12015;
    case CURLE_ABORTED_BY_CALLBACK: return 12017;
    case CURLE_PEER_FAILED_VERIFICATION:
        // OpenSSL's codes: 10 expired; 0 means the chain was good and the name did not match.
        if (tlsVerify == 10)
            return 12037;
        if (tlsVerify == 0)
            return 12038;
        return 12045;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_INVALIDCERTSTATUS:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
    case CURLE_SSL_CLIENTCERT: return 12157;
    default: return 12152;
    }
}

} // namespace lt
