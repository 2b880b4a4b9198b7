// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/options_sheet.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include "core/app_state.h"
#include "recording_ui_port.h"
#include "store/ini_file.h"
#include "store/settings_io.h"
#include "test_application.h"

namespace lt {
namespace {

class OptionsPagesTest : public ::testing::Test
{
protected:
    void SetUp() override { test::Application(); }

    // Types `text` into the edit as a user would (replacing what it holds).
    static void Type(QLineEdit* edit, const QString& text)
    {
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }

    static QString Digits(const std::function<QLineEdit*(int)>& edit, int n)
    {
        QString digits;
        for (int i = 0; i < n; ++i)
            digits += edit(i)->text();
        return digits;
    }

    RecordingUiPort port;
    AppState app{port};
};

TEST_F(OptionsPagesTest, TheSheetHasItsFivePages)
{
    OptionsSheet sheet(app);
    QStringList titles;
    for (int i = 0; i < sheet.Pages()->count(); ++i)
        titles << sheet.Pages()->tabText(i);
    EXPECT_EQ(titles,
              (QStringList{QStringLiteral("Search for"), QStringLiteral("Locations"),
                           QStringLiteral("Export"), QStringLiteral("View"), QStringLiteral("Misc")}));
}

TEST_F(OptionsPagesTest, OrderEditsSwapToStayAPermutation)
{
    OptionsSheet sheet(app);
    auto browser = [&](int i) { return sheet.BrowserOrderEdit(i); };
    Type(sheet.BrowserOrderEdit(0), QStringLiteral("3"));
    EXPECT_EQ(Digits(browser, 3), QStringLiteral("321"));
    Type(sheet.BrowserOrderEdit(1), QStringLiteral("9")); // above the count: clamped to 3, swapped
    EXPECT_EQ(Digits(browser, 3), QStringLiteral("231"));

    auto exported = [&](int i) { return sheet.ExportOrderEdit(i); };
    Type(sheet.ExportOrderEdit(5), QStringLiteral("0")); // below 1: clamped to 1, swapped
    EXPECT_EQ(Digits(exported, 6), QStringLiteral("623451"));
    sheet.Apply();
    EXPECT_EQ(app.options.browserOrder, "231");
    EXPECT_EQ(app.exportSettings.order, "623451");

    // A broken permutation on confirmation leaves the stored order.
    OptionsSheet again(app);
    again.BrowserOrderEdit(2)->setText(QString());
    again.Apply();
    EXPECT_EQ(app.options.browserOrder, "231");
}

TEST_F(OptionsPagesTest, ExportColumnsDelimiterAndCellsAreStoredInTheIniFile)
{
    OptionsSheet sheet(app);
    for (int i = 0; i < 6; ++i)
        sheet.ExportColumnBox(i)->setChecked(false);
    sheet.DelimiterEdit()->setText(QStringLiteral(","));
    sheet.MultipleCellsBox()->setChecked(false);
    sheet.Apply();
    EXPECT_TRUE(app.exportSettings.columns[0]); // none ticked: the first stays
    EXPECT_EQ(app.exportSettings.delimiter, ',');
    EXPECT_TRUE(app.options.optionsChanged);

    OptionsSheet second(app);
    EXPECT_TRUE(second.ExportColumnBox(0)->isChecked());
    second.ExportColumnBox(0)->setChecked(false);
    second.ExportColumnBox(2)->setChecked(true);
    second.Apply();
    IniFile ini;
    WriteIniAtClose(app, ini);
    EXPECT_EQ(ini.GetString("OPTIONS", "A7", "", 16).substr(0, 6), "001000");
    EXPECT_EQ(ini.GetString("OPTIONS", "A6", "", 16), "0,");
}

TEST_F(OptionsPagesTest, MiscProxyTimeoutLaunchAndJoinNames)
{
    app.options.inet.timeoutSeconds = 30;
    OptionsSheet sheet(app);
    EXPECT_FALSE(sheet.ProxyCombo()->isEnabled());
    sheet.UseProxyBox()->setChecked(true);
    EXPECT_TRUE(sheet.ProxyCombo()->isEnabled());
    sheet.ProxyCombo()->setEditText(QStringLiteral("proxy.example"));
    sheet.TimeoutEdit()->setText(QStringLiteral("0"));
    EXPECT_TRUE(sheet.StandardBrowserButton()->isChecked());
    EXPECT_FALSE(sheet.ProgramEdit()->isEnabled());
    sheet.OtherProgramButton()->setChecked(true);
    EXPECT_TRUE(sheet.ProgramEdit()->isEnabled());
    sheet.ProgramEdit()->setText(QStringLiteral("/usr/bin/firefox"));
    sheet.JoinSuffixEdit()->setText(QString());
    sheet.JoinNameEdit()->setText(QStringLiteral("joined.htm"));
    sheet.SaveOnExitBox(1)->setChecked(true);
    sheet.Apply();
    ASSERT_FALSE(app.options.inet.proxies.empty());
    EXPECT_EQ(app.options.inet.proxies.front(), "proxy.example:80");
    EXPECT_EQ(app.options.inet.proxies.size(), 2u); // after the default entry, not instead of it
    EXPECT_EQ(app.options.inet.timeoutSeconds, 30);
    EXPECT_EQ(app.options.launchProgram, "/usr/bin/firefox");
    EXPECT_FALSE(app.options.standardBrowser);
    EXPECT_EQ(app.options.joinDirSuffix, "_files");
    EXPECT_EQ(app.options.joinFileName, "joined.htm");
    EXPECT_TRUE(app.options.saveWindowPositionsOnExit);

    OptionsSheet again(app);
    again.TimeoutEdit()->setText(QStringLiteral("1000000"));
    again.UseProxyBox()->setChecked(true);
    again.ProxyCombo()->setEditText(QStringLiteral("proxy.example:80"));
    again.Apply();
    EXPECT_EQ(app.options.inet.timeoutSeconds, 86400);
    EXPECT_EQ(app.options.inet.proxies.size(), 2u); // the same proxy is not repeated
    IniFile ini;
    WriteIniAtClose(app, ini);
    EXPECT_EQ(ini.GetString("INET", "RI12", "", 16), "86400");
}

TEST_F(OptionsPagesTest, LocationsAndTheFolderToOpen)
{
    app.options.openFolder = "/old/";
    OptionsSheet sheet(app);
    sheet.LocationEdit(0)->setText(QStringLiteral("/home/u/Favorites"));
    sheet.LocationEdit(3)->setText(QStringLiteral("/srv/start/"));
    sheet.Apply();
    EXPECT_EQ(app.options.msieFavorites, "/home/u/Favorites");
    EXPECT_EQ(app.options.initFolder, "/srv/start/");
    EXPECT_EQ(app.options.openFolder, "/srv/start/");
}

} // namespace
} // namespace lt
