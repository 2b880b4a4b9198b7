// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/command_table.h"

#include <gtest/gtest.h>

#include <set>

#include "core/app_state.h"
#include "recording_ui_port.h"

namespace lt {
namespace {

TEST(CommandTable, IdsAreUniqueAndEveryMenuCommandHasAText)
{
    std::set<int> ids;
    for (const CommandInfo& command : CommandTable()) {
        EXPECT_TRUE(ids.insert(command.id).second) << "duplicate id " << command.id;
        const bool dynamic = (command.id >= 1600 && command.id <= 1606) ||
                             (command.id >= 5800 && command.id <= 5808) ||
                             (command.id >= 4300 && command.id <= 4318);
        if (!dynamic) {
            EXPECT_FALSE(command.text.empty()) << command.id;
        }
    }
    EXPECT_EQ(FindCommand(99999), nullptr);
    ASSERT_NE(FindCommand(1420), nullptr);
    EXPECT_EQ(MenuText(*FindCommand(1420)), "S&ave List as\tCtrl+S");
    EXPECT_EQ(MenuText(*FindCommand(1471)), "E&xit");
}

TEST(CommandTable, AcceleratorTableBindsTheDocumentedKeys)
{
    const std::pair<const char*, int> kAccel[] = {
        {"Ctrl+B", 1410}, {"Ctrl+H", 1501}, {"Ctrl+I", 1412}, {"Ctrl+L", 1452}, {"Ctrl+M", 1480},
        {"Ctrl+O", 1400}, {"Shift+O", 1405}, {"Ctrl+P", 1434}, {"Ctrl+Q", 1460}, {"Shift+Q", 1465},
        {"Ctrl+R", 1500}, {"Ctrl+S", 1420}, {"Ctrl+T", 1415}, {"F1", 1540},    {"Alt+F3", 1440}};
    for (const auto& [key, id] : kAccel) {
        int found = 0;
        for (const CommandInfo& command : CommandTable())
            if (command.appKey == key) {
                found = command.id;
                break;
            }
        EXPECT_EQ(found, id) << key;
    }
    // The find command shows the list's own key in its menu text.
    EXPECT_EQ(FindCommand(1440)->shownKey, "Ctrl+F");
}

TEST(CommandTable, ToolbarHasThe32DocumentedButtonsInOrder)
{
    std::vector<int> buttons;
    for (const int id : ToolbarLayout())
        if (id != 0)
            buttons.push_back(id);
    const std::vector<int> expected = {1400, 1405, 1412, 1455, 1454, 1410, 1414, 1502, 1415, 1420, 1422,
                                       1434, 4221, 1440, 1453, 1445, 1456, 1450, 1451, 1452, 1460, 1465,
                                       1471};
    EXPECT_EQ(buttons, expected);
    // Separators never double up or end the bar.
    const auto& layout = ToolbarLayout();
    for (std::size_t i = 1; i < layout.size(); ++i)
        EXPECT_FALSE(layout[i] == 0 && layout[i - 1] == 0);
    EXPECT_NE(layout.back(), 0);
    for (const int id : buttons)
        EXPECT_FALSE(FindCommand(id)->tooltip.empty()) << id;
}

class CommandGuards : public ::testing::Test
{
protected:
    RecordingUiPort port;
    AppState app{port};

    void AddRow()
    {
        ResultRow row;
        row.cells = {"http://a.example/"};
        app.list.InsertRow(row);
    }
};

TEST_F(CommandGuards, RunningJobBlocksBGuardedCommandsOnly)
{
    AddRow();
    EXPECT_TRUE(CommandAllowed(app, 1405));
    EXPECT_TRUE(CommandAllowed(app, 1420));
    app.jobs.jobCode = kJobFolderSearch;
    EXPECT_FALSE(CommandAllowed(app, 1405)); // B
    EXPECT_FALSE(CommandAllowed(app, 1420)); // B, L, D, E
    EXPECT_TRUE(CommandAllowed(app, 1460));  // Stop has no guard
    EXPECT_TRUE(CommandAllowed(app, 1465));
    EXPECT_TRUE(CommandAllowed(app, 1445));
    app.jobs.jobCode = 0;
    app.jobs.listBusy = true;
    EXPECT_TRUE(CommandAllowed(app, 1405));  // B only
    EXPECT_FALSE(CommandAllowed(app, 1500)); // B, L
}

TEST_F(CommandGuards, DomainViewAndEmptyList)
{
    EXPECT_FALSE(CommandAllowed(app, 1420)); // E: nothing to save
    EXPECT_TRUE(CommandAllowed(app, 1422));  // copying an empty list is only refused later
    AddRow();
    EXPECT_TRUE(CommandAllowed(app, 1420));
    app.domain.viewShown = true;
    EXPECT_FALSE(CommandAllowed(app, 1420));
    EXPECT_FALSE(CommandAllowed(app, 1422));
    EXPECT_FALSE(GuardsAllow(app, kGuardD));
    EXPECT_TRUE(GuardsAllow(app, kGuardB | kGuardL | kGuardE));
}

TEST_F(CommandGuards, ReopenEntriesNeedARememberedFile)
{
    EXPECT_FALSE(CommandAllowed(app, 1600));
    app.options.rfHistory[0] = "/tmp/a.html";
    EXPECT_TRUE(CommandAllowed(app, 1600));
    EXPECT_FALSE(CommandAllowed(app, 1601));
}

TEST_F(CommandGuards, DomainCommandsFollowKindAndItem)
{
    EXPECT_TRUE(DomainCommandsApply(app));
    app.listState.kind = kListFileList;
    EXPECT_FALSE(DomainCommandsApply(app));
    app.listState.kind = kListFavorites;
    EXPECT_TRUE(DomainCommandsApply(app));
    app.settings.itemKind = kItemEmail;
    EXPECT_FALSE(DomainCommandsApply(app));
}

TEST_F(CommandGuards, SearchListsBuildDomainsOnlyInUrlOrder)
{
    app.sorting.mainSortedByUrl = false;
    EXPECT_FALSE(DomainCommandsApply(app));
    // The way back from a shown domain view stays open.
    app.domain.viewShown = true;
    EXPECT_TRUE(DomainCommandsApply(app));
    app.domain.viewShown = false;
    // Favorites are built whatever their order.
    app.listState.kind = kListFavorites;
    EXPECT_TRUE(DomainCommandsApply(app));
}

TEST_F(CommandGuards, TooltipsFollowDomainViewAndJobCode)
{
    EXPECT_EQ(ToolbarTooltip(app, 1420), "Save list as Text file");
    EXPECT_EQ(ToolbarTooltip(app, 1453), "Build Domains");
    app.domain.viewShown = true;
    EXPECT_EQ(ToolbarTooltip(app, 1420), "Save folder to file");
    EXPECT_EQ(ToolbarTooltip(app, 1422), "Copy folder to Clipboard");
    EXPECT_EQ(ToolbarTooltip(app, 1434), "Print folder");
    EXPECT_EQ(ToolbarTooltip(app, 1453), "Toggle View");
    EXPECT_EQ(ToolbarTooltip(app, 1460), "Stop Search");
    app.jobs.jobCode = kJobFileList;
    EXPECT_EQ(ToolbarTooltip(app, 1460), "Stop current Process");
    app.jobs.jobCode = 0;
    EXPECT_EQ(StopTooltip(2), "Stop Search");
    EXPECT_EQ(StopTooltip(1101), "Stop current Process");
}

} // namespace
} // namespace lt
