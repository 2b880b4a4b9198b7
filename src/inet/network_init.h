// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace lt {

// Sets up the network library for the process. Call once from main before any thread starts
// (libcurl's set-up is not thread-safe); the object's end releases it.
class NetworkInit
{
public:
    NetworkInit();
    ~NetworkInit();
    NetworkInit(const NetworkInit&) = delete;
    NetworkInit& operator=(const NetworkInit&) = delete;
};

} // namespace lt
