// SPDX-License-Identifier: GPL-3.0-or-later
#include <iostream>
#include <string>
#include <vector>

#include "app/gui_main.h"
#include "app/unattended_run.h"
#include "core/command_line.h"
#include "core/startup_state.h"
#include "platform/program_folder.h"
#include "store/ini_file.h"
#include "store/ini_location.h"

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    lt::StartupState startup;
    startup.programFolder = lt::ProgramFolder(argc > 0 ? argv[0] : nullptr);
    startup.iniPath = lt::IniPath(startup.programFolder);

    // A non-zero OPTIONS/TextWin opens the text window when the command line is empty.
    lt::IniFile ini;
    ini.Load(startup.iniPath);
    const int textWindowMode = ini.GetInt("OPTIONS", "TextWin", 0) != 0 ? 10 : 0;

    const lt::CommandLineResult line = lt::ReadCommandLine(args, lt::SystemPathProbe(), textWindowMode);
    if (!line.error.empty()) {
        std::cerr << "linktrawl: " << line.error << '\n';
        return 2;
    }
    lt::ApplyCommandLine(line, startup);
    if (startup.Unattended())
        return lt::RunUnattended(startup, std::cout, std::cerr);
    return lt::RunGui(argc, argv);
}
