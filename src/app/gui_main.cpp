// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui_main.h"

#include <QApplication>
#include <QStyleFactory>

#include <string>
#include <unistd.h>
#include <vector>

#include "core/app_state.h"
#include "core/command_line.h"
#include "core/window_messages.h"
#include "list/list_kind.h"
#include "search/item_kind.h"
#include "store/ini_location.h"
#include "ui/main_window.h"
#include "ui/qt_ui_port.h"
#include "ui/settings_bridge.h"
#include "ui/text_window.h"

namespace lt {

namespace {

std::string ExecutableFolder(const char* argv0)
{
    std::string path(4096, '\0');
    const ssize_t length = readlink("/proc/self/exe", path.data(), path.size() - 1);
    path = length > 0 ? path.substr(0, static_cast<std::size_t>(length)) : std::string(argv0 ? argv0 : "");
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

} // namespace

int RunGui(int argc, char** argv)
{
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("LinkTrawl"));
    // One look on every desktop.
    if (QStyle* style = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(style);

    QtUiPort port;
    AppState app(port);
    app.startup.programFolder = ExecutableFolder(argc > 0 ? argv[0] : nullptr);
    app.startup.iniPath = IniPath(app.startup.programFolder);
    LoadSettingsAtStart(app);

    const CommandLineResult line = ReadCommandLine(args, SystemPathProbe(), app.options.textWin ? 10 : 0);
    ApplyCommandLine(line, app.startup);

    if (app.startup.textWindowMode != 0) {
        TextWindow window(app);
        window.show();
        if (!app.startup.handoffText.empty())
            window.LoadAddress();
        return QApplication::exec();
    }

    SelectItemKind(app);
    ApplyListKind(app, 2);
    MainWindow window(app, port);
    RestoreWindowPlacement(app, window);
    window.show();
    port.Post(kMsgBuildMenus, 0, 0);
    const int code = QApplication::exec();
    JoinWorker(app);
    return code;
}

} // namespace lt
