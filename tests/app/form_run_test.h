// SPDX-License-Identifier: GPL-3.0-or-later
// The built program run as a script would run it: no display, an INI file of the test's own in a
// temporary folder, standard output and error caught in files there.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "program_files.h"

namespace lt::test {

class FormRunTest : public ::testing::Test
{
protected:
    explicit FormRunTest(std::string iniText) : m_iniText(std::move(iniText)) {}

    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "lt-form-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
        ini = dir / "test.ini";
        std::ofstream(ini, std::ios::binary) << m_iniText;
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    // The exit status of `linktrawl ARGS` (words already quoted for the shell); -1 when killed.
    int Run(const std::string& args)
    {
        const std::string command = "timeout 60 env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM LINKTRAWL_INI='" +
                                    ini.string() + "' '" + LINKTRAWL_BINARY + "' " + args + " >'" +
                                    (dir / "out.txt").string() + "' 2>'" + (dir / "err.txt").string() +
                                    "' </dev/null";
        const int raw = std::system(command.c_str());
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }
    std::string Out() const { return testing_support::ReadAll(dir / "out.txt"); }
    std::string Err() const { return testing_support::ReadAll(dir / "err.txt"); }

    std::filesystem::path dir, ini;

private:
    std::string m_iniText;
};

} // namespace lt::test
