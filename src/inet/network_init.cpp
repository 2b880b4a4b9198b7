// SPDX-License-Identifier: GPL-3.0-or-later
#include "inet/network_init.h"

#include <curl/curl.h>

namespace lt {

NetworkInit::NetworkInit() { curl_global_init(CURL_GLOBAL_DEFAULT); }
NetworkInit::~NetworkInit() { curl_global_cleanup(); }

} // namespace lt
