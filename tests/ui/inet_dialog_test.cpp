// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/inet_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include <filesystem>

#include <gtest/gtest.h>
#include <unistd.h>

#include "core/app_state.h"
#include "recording_ui_port.h"
#include "test_application.h"

namespace lt {
namespace {

class InetDialogTest : public ::testing::Test
{
protected:
    void SetUp() override { test::Application(); }
    RecordingUiPort ui;
    AppState app{ui};
};

TEST_F(InetDialogTest, ChecksFiltersAndWritesTheSettings)
{
    InetDialog dialog(app);
    // The default must-not words are shown.
    EXPECT_EQ(dialog.FollowMustNotEdit()->text().toStdString(), kDefaultFollowMustNot);
    dialog.UrlCombo()->setEditText(QStringLiteral("http://start.example/"));
    dialog.FollowBox()->setChecked(true);
    dialog.LevelEdit()->setText(QStringLiteral("3"));
    dialog.FollowMustEdit()->setText(QStringLiteral(".gif"));
    EXPECT_FALSE(dialog.Confirm());
    EXPECT_EQ(ui.LastMessage().text, "Invalid Follow Links Arguments !");

    dialog.FollowMustEdit()->setText(QStringLiteral("start"));
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("lt-inetdlg-" + std::to_string(getpid())) / "pages";
    dialog.SaveBox()->setChecked(true);
    dialog.SaveDirCombo()->setEditText(QString::fromStdString(dir.string()));
    dialog.SavedMustEdit()->setText(QStringLiteral("a"));
    dialog.SavedMustNotEdit()->setText(QStringLiteral("A"));
    EXPECT_FALSE(dialog.Confirm());
    EXPECT_EQ(ui.LastMessage().text, "Invalid Save Files Arguments !");

    dialog.SavedMustNotEdit()->clear();
    ASSERT_TRUE(dialog.Confirm());
    const InetOptions& o = app.options.inet;
    EXPECT_EQ(o.startUrl, "http://start.example/");
    EXPECT_EQ(o.crawlMode, 2);
    EXPECT_EQ(o.level, 3);
    EXPECT_EQ(o.followMust, "start");
    EXPECT_TRUE(o.saveToDisk);
    EXPECT_TRUE(std::filesystem::is_directory(dir));
    EXPECT_EQ(o.savePath, dir.string() + "/tmp01.htm");
    std::filesystem::remove_all(dir.parent_path());

    // A short URL starts nothing unless links are followed.
    dialog.SaveBox()->setChecked(false);
    dialog.FollowBox()->setChecked(false);
    dialog.UrlCombo()->setEditText(QStringLiteral("x.io"));
    EXPECT_FALSE(dialog.Confirm());
}

} // namespace
} // namespace lt
