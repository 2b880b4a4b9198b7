// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a row's page into a text window of this process: "Read in &New Window" and "&Load Source".
#include <algorithm>
#include <string>

#include <QCloseEvent>

#include "core/app_state.h"
#include "core/command_ids.h"
#include "list/list_state.h"
#include "list/result_list.h"
#include "ui/cell_text.h"
#include "ui/commands/command_registry.h"
#include "ui/commands/subsystem_commands.h"
#include "ui/main_window.h"
#include "ui/text_window.h"

namespace lt {

namespace {

// The URL of the focused row (else the first selected one): column 0, in a list of pages read the
// column headed "Url".
std::string RowUrl(MainWindow& window)
{
    window.SyncSelectionToList();
    const ResultList& list = window.App().list;
    long row = list.FocusedRow();
    if (row < 0 || static_cast<std::size_t>(row) >= list.RowCount()) {
        const std::vector<std::size_t> selected = list.SelectedRows();
        if (selected.empty())
            return {};
        row = static_cast<long>(selected.front());
    }
    int column = 0;
    if (window.App().listState.kind == kListInetRead) {
        for (int c = 0; c < list.ColumnCount(); ++c) {
            if (list.GetHeaderText(c) == "Url") {
                column = c;
                break;
            }
        }
    }
    return list.GetCell(static_cast<std::size_t>(row), column);
}

// Closing the main window closes its text windows first, each asking about unsaved edits; one
// the user keeps open keeps the main window open too.
class TextWindowCloser : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Close)
            return false;
        for (TextWindow* text : watched->findChildren<TextWindow*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (text->isVisible() && !text->close()) {
                event->ignore();
                return true;
            }
        }
        return false;
    }
};

TextWindow* NewTextWindow(MainWindow& window)
{
    if (!window.findChild<QObject*>(QStringLiteral("textWindowCloser"), Qt::FindDirectChildrenOnly)) {
        auto* closer = new TextWindowCloser(&window);
        closer->setObjectName(QStringLiteral("textWindowCloser"));
        window.installEventFilter(closer);
    }
    auto* text = new TextWindow(window.App(), &window);
    text->setAttribute(Qt::WA_DeleteOnClose);
    text->move(window.pos() + QPoint(40, 40));
    text->show();
    return text;
}

// The text window the user used last.
TextWindow* CurrentTextWindow(MainWindow& window)
{
    TextWindow* current = nullptr;
    for (TextWindow* text : window.findChildren<TextWindow*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (text->isVisible() && (!current || text->LastActive() > current->LastActive()))
            current = text;
    }
    return current;
}

void ReadRow(MainWindow& window, bool intoCurrent)
{
    const std::string url = RowUrl(window);
    if (url.empty())
        return;
    TextWindow* text = intoCurrent ? CurrentTextWindow(window) : nullptr;
    if (!text)
        text = NewTextWindow(window);
    text->raise();
    text->activateWindow();
    text->ReadAddress(DecodeBytes(url));
}

} // namespace

void RegisterTextCommands(CommandRegistry& registry)
{
    registry.Add(kCmdReadInNewWindow, [](MainWindow& window, int) { ReadRow(window, false); });
    registry.Add(kCmdLoadSource, [](MainWindow& window, int) { ReadRow(window, true); });
}

} // namespace lt
