// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "inet/network_init.h"

extern char** environ;

namespace lt::test {

// A test server script run by /usr/bin/python3 on 127.0.0.1; it prints "PORT n" when ready.
// The destructor ends the child by its pid.
class LocalServer
{
public:
    explicit LocalServer(const std::vector<std::string>& args)
    {
        int fds[2];
        if (pipe(fds) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        std::vector<std::string> all = {"/usr/bin/python3"};
        all.insert(all.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& a : all)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        if (posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        FILE* out = fdopen(fds[0], "r");
        char line[64] = {};
        if (out && fgets(line, sizeof line, out))
            std::sscanf(line, "PORT %d", &m_port);
        if (out)
            fclose(out);
    }
    ~LocalServer()
    {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
        }
    }
    LocalServer(const LocalServer&) = delete;
    LocalServer& operator=(const LocalServer&) = delete;

    int Port() const { return m_port; }
    std::string Url(const std::string& path, const char* scheme = "http") const
    {
        return std::string(scheme) + "://127.0.0.1:" + std::to_string(m_port) + path;
    }

private:
    pid_t m_pid = -1;
    int m_port = 0;
};

inline std::string ServerScript(const char* name)
{
    return std::string(LINKTRAWL_INET_SERVERS) + "/" + name;
}

// Tests reach only their own servers: the environment's proxies are cleared.
inline void ClearProxyEnvironment()
{
    for (const char* name : {"http_proxy", "https_proxy", "HTTPS_PROXY", "ftp_proxy", "all_proxy", "ALL_PROXY"})
        unsetenv(name);
    setenv("no_proxy", "*", 1);
}

// A suite whose tests share one routes server (http_routes.py) and the network set-up, over the
// suite's own base fixture.
template <class Base = ::testing::Test>
class RoutesServerSuite : public Base
{
protected:
    static void SetUpTestSuite()
    {
        ClearProxyEnvironment();
        s_network = new NetworkInit;
        s_server = new LocalServer({ServerScript("http_routes.py")});
    }
    static void TearDownTestSuite()
    {
        delete s_server;
        delete s_network;
        s_server = nullptr;
        s_network = nullptr;
    }
    static inline NetworkInit* s_network = nullptr;
    static inline LocalServer* s_server = nullptr;
};
using RoutesServerTest = RoutesServerSuite<>;

} // namespace lt::test
