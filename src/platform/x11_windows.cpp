// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop's windows over xcb: the tree through xcb_query_tree, names from _NET_WM_NAME
// (UTF8_STRING) or WM_NAME.
#include <cstdlib>
#include <cstring>

#include <xcb/xcb.h>

#include "platform/desktop_windows.h"

namespace lt {

namespace {

constexpr std::size_t kMaxName = 259;

class X11Windows : public DesktopWindows
{
public:
    X11Windows(xcb_connection_t* connection, xcb_window_t root) : m_connection(connection), m_root(root)
    {
        m_netWmName = Atom("_NET_WM_NAME");
        m_utf8 = Atom("UTF8_STRING");
        m_netWmPid = Atom("_NET_WM_PID");
    }
    ~X11Windows() override { xcb_disconnect(m_connection); }

    std::vector<DesktopWindowId> TopLevel() override { return Tree(m_root, nullptr); }
    std::vector<DesktopWindowId> Children(DesktopWindowId window) override { return Tree(window, nullptr); }
    DesktopWindowId Parent(DesktopWindowId window) override
    {
        xcb_window_t parent = 0;
        Tree(window, &parent);
        return parent == m_root ? 0 : parent;
    }
    std::string Name(DesktopWindowId window) override
    {
        std::string name;
        if (m_netWmName != XCB_ATOM_NONE && m_utf8 != XCB_ATOM_NONE)
            name = Property(window, m_netWmName, m_utf8);
        if (name.empty())
            name = Property(window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING);
        if (name.size() > kMaxName)
            name.resize(kMaxName);
        return name;
    }
    uint32_t Pid(DesktopWindowId window) override
    {
        if (m_netWmPid == XCB_ATOM_NONE)
            return 0;
        const std::string value = Property(window, m_netWmPid, XCB_ATOM_CARDINAL);
        uint32_t pid = 0;
        if (value.size() >= sizeof pid)
            std::memcpy(&pid, value.data(), sizeof pid);
        return pid;
    }

private:
    xcb_atom_t Atom(const char* name)
    {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            m_connection, xcb_intern_atom(m_connection, 1, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
        const xcb_atom_t atom = reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
        std::free(reply);
        return atom;
    }

    std::vector<DesktopWindowId> Tree(xcb_window_t window, xcb_window_t* parent)
    {
        std::vector<DesktopWindowId> children;
        xcb_query_tree_reply_t* reply = xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, window), nullptr);
        if (!reply)
            return children;
        if (parent)
            *parent = reply->parent;
        const xcb_window_t* list = xcb_query_tree_children(reply);
        children.assign(list, list + xcb_query_tree_children_length(reply));
        std::free(reply);
        return children;
    }

    // The bytes of a property of the given type, at most a little more than a name may hold.
    std::string Property(xcb_window_t window, xcb_atom_t property, xcb_atom_t type)
    {
        xcb_get_property_reply_t* reply = xcb_get_property_reply(
            m_connection, xcb_get_property(m_connection, 0, window, property, type, 0, (kMaxName + 4) / 4), nullptr);
        std::string value;
        if (reply && reply->type == type) {
            const auto* data = static_cast<const char*>(xcb_get_property_value(reply));
            value.assign(data, static_cast<std::size_t>(xcb_get_property_value_length(reply)));
        }
        std::free(reply);
        return value;
    }

    xcb_connection_t* m_connection;
    xcb_window_t m_root;
    xcb_atom_t m_netWmName = XCB_ATOM_NONE;
    xcb_atom_t m_utf8 = XCB_ATOM_NONE;
    xcb_atom_t m_netWmPid = XCB_ATOM_NONE;
};

} // namespace

std::unique_ptr<DesktopWindows> OpenDesktopWindows(const char* display)
{
    const char* name = display ? display : std::getenv("DISPLAY");
    if (!name || !*name)
        return nullptr;
    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(name, &screenNumber);
    if (!connection || xcb_connection_has_error(connection)) {
        if (connection)
            xcb_disconnect(connection);
        return nullptr;
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber && it.rem; ++i)
        xcb_screen_next(&it);
    if (!it.rem) {
        xcb_disconnect(connection);
        return nullptr;
    }
    return std::make_unique<X11Windows>(connection, it.data->root);
}

} // namespace lt
