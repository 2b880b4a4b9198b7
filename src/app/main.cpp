// SPDX-License-Identifier: GPL-3.0-or-later
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "app/gui_main.h"
#include "app/tool_form.h"
#include "app/unattended_run.h"
#include "core/command_line.h"
#include "core/startup_state.h"
#include "inet/network_init.h"
#include "platform/program_folder.h"
#include "store/ini_file.h"
#include "store/ini_location.h"

namespace {

bool HasDisplay()
{
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    return (x11 && *x11) || (wayland && *wayland) || (platform && *platform);
}

// One line on standard error, whatever bytes the named argument or path holds.
void PrintError(std::string text)
{
    for (char& c : text)
        if (c == '\n' || c == '\r')
            c = ' ';
    std::cerr << "linktrawl: " << text << '\n';
}

// A run without a window whose standard output was closed (a pipe into "head") must still finish
// and report its own status: the result file is what counts, not the status line.
void IgnoreBrokenPipes()
{
    std::signal(SIGPIPE, SIG_IGN);
}

int RunToolForm(const std::vector<std::string>& args, const lt::StartupState& startup)
{
    const lt::ToolForm* form = lt::FindToolForm(args.front());
    if (!form) {
        PrintError("unknown option " + args.front() + " (see linktrawl --help)");
        return lt::kExitUsage;
    }
    lt::ToolInvocation call;
    std::string error;
    if (!lt::ReadToolInvocation(*form, args, lt::SystemPathProbe().currentFolder, call, error)) {
        PrintError(error);
        return lt::kExitUsage;
    }
    IgnoreBrokenPipes();
    return form->run(call, startup, std::cout, std::cerr);
}

} // namespace

int main(int argc, char** argv)
{
    const lt::NetworkInit network;
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    lt::StartupState startup;
    startup.programFolder = lt::ProgramFolder(argc > 0 ? argv[0] : nullptr);
    startup.iniPath = lt::IniPath(startup.programFolder);

    if (!args.empty() && (args.front() == "--help" || args.front() == "-h")) {
        std::cout << lt::HelpText();
        return lt::kExitOk;
    }
    if (struct stat st{}; stat(startup.iniPath.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        // A FIFO would block the start for ever; nothing is read from it or written over it.
        PrintError(startup.iniPath + " is not a regular file: the default settings are used");
        startup.iniPath.clear();
    }
    if (!args.empty() && args.front().size() > 2 && args.front().compare(0, 2, "--") == 0 &&
        args.front() != lt::kThreadsOption)
        return RunToolForm(args, startup);

    // A non-zero OPTIONS/TextWin opens the text window when the command line is empty.
    lt::IniFile ini;
    ini.Load(startup.iniPath);
    const int textWindowMode = ini.GetInt("OPTIONS", "TextWin", 0) != 0 ? 10 : 0;

    const lt::CommandLineResult line = lt::ReadCommandLine(args, lt::SystemPathProbe(), textWindowMode);
    if (!line.error.empty()) {
        PrintError(line.error);
        return lt::kExitUsage;
    }
    lt::ApplyCommandLine(line, startup);
    if (startup.Unattended()) {
        IgnoreBrokenPipes();
        return lt::RunUnattended(startup, std::cout, std::cerr);
    }
    if (!HasDisplay()) {
        std::cerr << "no display: run with FOLDER -save2 FILE, or set DISPLAY\n";
        return lt::kExitUsage;
    }
    return lt::RunGui(argc, argv);
}
