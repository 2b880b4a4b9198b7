// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui_main.h"

#include <QApplication>
#include <QStyleFactory>

#include <string>
#include <vector>

#include "core/app_state.h"
#include "core/command_line.h"
#include "core/window_messages.h"
#include "list/list_kind.h"
#include "platform/program_folder.h"
#include "search/item_kind.h"
#include "sources/profile_folders.h"
#include "store/ini_location.h"
#include "ui/main_window.h"
#include "ui/qt_ui_port.h"
#include "ui/settings_bridge.h"
#include "ui/text_window.h"

namespace lt {

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
    app.startup.programFolder = ProgramFolder(argc > 0 ? argv[0] : nullptr);
    app.startup.iniPath = IniPath(app.startup.programFolder);
    LoadSettingsAtStart(app);
    ApplySpecialFolders(app);

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
