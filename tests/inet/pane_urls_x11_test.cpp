// SPDX-License-Identifier: GPL-3.0-or-later
// The window URL search over a real X server: an Xvfb of the test's own, windows made with xcb.
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include "inet/pane_urls.h"

extern char** environ;

namespace lt {
namespace {

constexpr const char* kXvfb = "/usr/bin/Xvfb";

// An Xvfb of the test's own on a free display, connected to; ended by its pid.
class OwnXServer
{
public:
    OwnXServer()
    {
        if (access(kXvfb, X_OK) != 0)
            return;
        // Displays far from the usual ones; a number another server holds makes ours exit.
        for (int number = 100 + getpid() % 400, tries = 0; tries < 8 && !m_connection; ++number, ++tries)
            TryDisplay(number);
    }
    ~OwnXServer()
    {
        if (m_connection)
            xcb_disconnect(m_connection);
        Stop();
    }
    const std::string& Display() const { return m_display; }
    xcb_connection_t* Connection() const { return m_connection; }

private:
    void TryDisplay(int number)
    {
        const std::string display = ":" + std::to_string(number);
        std::vector<std::string> args = {kXvfb, display, "-nolisten", "tcp", "-screen", "0", "320x240x24"};
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        if (posix_spawn(&m_pid, kXvfb, &actions, nullptr, argv.data(), environ) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        for (int waited = 0; m_pid > 0 && waited < 5000; waited += 20) {
            if (waitpid(m_pid, nullptr, WNOHANG) == m_pid) {
                m_pid = -1; // the display is taken
                return;
            }
            xcb_connection_t* c = xcb_connect(display.c_str(), nullptr);
            if (!xcb_connection_has_error(c)) {
                m_connection = c;
                m_display = display;
                return;
            }
            xcb_disconnect(c);
            usleep(20000);
        }
        Stop();
    }
    void Stop()
    {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
        }
        m_pid = -1;
    }

    pid_t m_pid = -1;
    std::string m_display;
    xcb_connection_t* m_connection = nullptr;
};

xcb_atom_t Atom(xcb_connection_t* c, const char* name)
{
    xcb_intern_atom_reply_t* r =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = r->atom;
    std::free(r);
    return atom;
}

TEST(PaneUrlsX11Test, FindsTheNamesOfOtherWindowsOnARealServer)
{
    if (access(kXvfb, X_OK) != 0 || access("/usr/bin/xvfb-run", X_OK) != 0)
        GTEST_SKIP() << "Xvfb is not installed (apt-get install xvfb): the X window search is not tested";
    OwnXServer server;
    ASSERT_FALSE(server.Display().empty());
    ASSERT_NE(server.Connection(), nullptr) << "Xvfb did not start";
    xcb_connection_t* c = server.Connection();
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_atom_t netName = Atom(c, "_NET_WM_NAME"), utf8 = Atom(c, "UTF8_STRING"), netPid = Atom(c, "_NET_WM_PID");

    // A window below `parent` named through WM_NAME, or _NET_WM_NAME when `utf8Name`.
    auto make = [&](xcb_window_t parent, const std::string& name, bool utf8Name = false) {
        const xcb_window_t w = xcb_generate_id(c);
        xcb_create_window(c, XCB_COPY_FROM_PARENT, w, parent, 0, 0, 10, 10, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                          screen->root_visual, 0, nullptr);
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, utf8Name ? netName : static_cast<xcb_atom_t>(XCB_ATOM_WM_NAME),
                            utf8Name ? utf8 : static_cast<xcb_atom_t>(XCB_ATOM_STRING), 8, static_cast<uint32_t>(name.size()), name.data());
        return w;
    };
    const xcb_window_t browser = make(screen->root, "Browser");
    const xcb_window_t l1 = make(browser, "http://a.example/x/y");
    const xcb_window_t l2 = make(l1, "HTTP://caps.example/");
    const xcb_window_t l3 = make(l2, "https://s.example/\xe2\x80\xa6", true);
    make(l3, "http://deep.example/too-far");
    const std::string longUrl = "http://long.example/" + std::string(300, 'z');
    make(screen->root, longUrl);
    const xcb_window_t ours = make(screen->root, "http://own.example/");
    const uint32_t pid = static_cast<uint32_t>(getpid());
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, ours, netPid, XCB_ATOM_CARDINAL, 32, 1, &pid);
    xcb_flush(c);

    std::unique_ptr<DesktopWindows> desktop = OpenDesktopWindows(server.Display().c_str());
    ASSERT_TRUE(desktop);
    EXPECT_EQ(desktop->Parent(l2), l1);
    EXPECT_EQ(desktop->Parent(browser), 0u);
    EXPECT_EQ(desktop->Pid(ours), pid);
    EXPECT_EQ(desktop->Name(browser), "Browser");
    const std::vector<std::string> urls = CollectPaneUrls(*desktop, {{}, pid});
    // The caps scheme, the window four levels down and our own are not taken; the long name is
    // read up to 259 bytes; the UTF-8 name is cut at its first byte that is no URL character.
    EXPECT_EQ(urls, (std::vector<std::string>{"http://a.example/x/y", "https://s.example/", longUrl.substr(0, 259)}));
}

TEST(PaneUrlsX11Test, WithoutADisplayNothingIsFound)
{
    EXPECT_EQ(OpenDesktopWindows(""), nullptr);
    EXPECT_EQ(OpenDesktopWindows(":987654"), nullptr);
}

} // namespace
} // namespace lt
