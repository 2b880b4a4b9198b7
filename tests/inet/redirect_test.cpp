// SPDX-License-Identifier: GPL-3.0-or-later
#include "inet/redirect.h"

#include <gtest/gtest.h>

namespace lt {
namespace {

TEST(Redirect, Classify)
{
    const std::string longPath(600, 'a');
    struct Case { int code; const char* url; std::string location; int result; const char* target; };
    const Case cases[] = {
        // A slash added by the server, absolute or as a path (what common servers send): 506.
        {301, "http://h/dir", "http://h/dir/", 506, "http://h/dir/"},
        {301, "http://h/dir", "/dir/", 506, "http://h/dir/"},
        {302, "http://h/dir/", "http://h/dir", 506, "http://h/dir"},
        {302, "http://h/a", "http://h/a/b.htm", 506, "http://h/a/b.htm"},
        // Self-redirects ignoring case and empty targets keep the code.
        {302, "http://h/a", "HTTP://H/A", 302, ""},
        {301, "http://h/a", "", 301, ""},
        {303, "http://h/a", "   ", 303, ""},
        // Relative targets go to the host root, with or without a leading slash.
        {302, "http://h/d/e/page.htm", "/x", 507, "http://h/x"},
        {302, "http://h/d/e/page.htm", "x", 507, "http://h/x"},
        {302, "http://hh", "x", 506, "http://hh/x"},
        {302, "https://h:8443/d/", "//cdn.example/x", 507, "https://cdn.example/x"},
        {302, "http://h/a", "HTTPS://other/", 507, "HTTPS://other/"},
        {302, "http://h/a", "ftp://f/file", 507, "ftp://f/file"},
        // No host part to join to.
        {302, "h/a", "x", 301, ""},
        {302, "http:", "/x", 301, ""},
        // Targets that would not fit a cell, or that carry markup, are not taken.
        {301, "http://h/a", "/" + longPath, 301, ""},
        {302, "http://h/a", "http://h/--><script>", 302, ""},
        {302, "http://h/a", "http://h/a b", 302, ""},
        // Nor a clean relative target joined to a request URL whose host part is not clean.
        {302, "http://h\x01x/a", "/b", 302, ""},
    };
    for (const Case& c : cases) {
        std::string target = "stale";
        EXPECT_EQ(ClassifyRedirect(c.code, c.url, c.location, target), c.result) << c.url << " -> " << c.location;
        EXPECT_EQ(target, c.target) << c.url << " -> " << c.location;
    }
}

TEST(Redirect, StatusNumbersAndHostRoot)
{
    EXPECT_EQ(NormalizeStatus(307), 302);
    EXPECT_EQ(NormalizeStatus(308), 301);
    EXPECT_EQ(NormalizeStatus(999), 537);
    EXPECT_EQ(NormalizeStatus(99), 537);
    EXPECT_EQ(NormalizeStatus(505), 505);
    EXPECT_EQ(NormalizeStatus(100), 100);
    EXPECT_EQ(HostRoot("http://h/a/b"), "http://h/");
    EXPECT_EQ(HostRoot("http://hh"), "http://hh/");
    EXPECT_EQ(HostRoot("http://"), "");
    EXPECT_EQ(HostRoot("http://a"), "");
    EXPECT_EQ(HostRoot("http://ab"), "http://ab/");
}

} // namespace
} // namespace lt
