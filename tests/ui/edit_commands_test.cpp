// SPDX-License-Identifier: GPL-3.0-or-later
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableView>

#include "core/command_ids.h"
#include "ui/compare_dialog.h"
#include "ui/parse_dialog.h"
#include "ui/replace_dialog.h"
#include "ui/word_match_dialog.h"
#include "window_fixture.h"

namespace lt {
namespace {

TEST(ReplaceDialogRules, ModesEnableTheirBoxes)
{
    test::Application();
    ReplaceParams start;
    start.fromLeft = start.fromRight = true;
    ReplaceDialog d(start, {"Url", "Title"});
    // Exclusive from the start; the boxes past the list's columns are hidden.
    EXPECT_TRUE(d.FromLeftBox()->isChecked());
    EXPECT_FALSE(d.FromRightBox()->isChecked());
    EXPECT_FALSE(d.ColumnBox(1)->isHidden());
    EXPECT_TRUE(d.ColumnBox(2)->isHidden());
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Replace sub string of list items ..."));
    // Replace mode: both sides may be clear; keep and copy boxes are off.
    d.FromLeftBox()->setChecked(false);
    EXPECT_FALSE(d.FromRightBox()->isChecked());
    EXPECT_FALSE(d.KeepLeftBox()->isEnabled());
    EXPECT_FALSE(d.CopyFirstWordBox()->isEnabled());

    d.ModeButton(kEditCutOff)->setChecked(true);
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Cut off at character or substring"));
    EXPECT_FALSE(d.ReplaceEdit()->isEnabled());
    EXPECT_TRUE(d.FromLeftBox()->isChecked()); // one side is always set outside replace mode
    d.FromLeftBox()->setChecked(false);
    EXPECT_TRUE(d.FromLeftBox()->isChecked());
    EXPECT_TRUE(d.KeepRightBox()->isEnabled());
    EXPECT_TRUE(d.CopyFirstWordBox()->isHidden());
    d.KeepRightBox()->setChecked(true);
    EXPECT_FALSE(d.KeepLeftBox()->isChecked());

    d.ModeButton(kEditAppend)->setChecked(true);
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Append"));
    EXPECT_TRUE(d.KeepLeftBox()->isHidden());
    EXPECT_FALSE(d.OppositeSideBox()->isEnabled());
    d.CopyFirstWordBox()->setChecked(true);
    EXPECT_TRUE(d.OppositeSideBox()->isEnabled());
    EXPECT_FALSE(d.FindEdit()->isEnabled());
    const ReplaceParams p = d.Params();
    EXPECT_EQ(p.editMode, kEditAppend);
    EXPECT_TRUE(p.copyFirstWord);
    EXPECT_FALSE(ReplaceRefused(p));
}

class EditCommandsTest : public test::WindowFixture
{
protected:
    template <typename Dialog>
    bool Run(int command, const std::function<void(Dialog&)>& fill)
    {
        window->TestHooks().execDialog = [&](QDialog& dialog) {
            auto* d = dynamic_cast<Dialog*>(&dialog);
            EXPECT_NE(d, nullptr);
            if (!d)
                return int(QDialog::Rejected);
            fill(*d);
            return int(QDialog::Accepted);
        };
        const bool ran = window->RunCommand(command);
        window->TestHooks().execDialog = {};
        return ran;
    }
    std::string WaitMessage(std::size_t count)
    {
        EXPECT_TRUE(test::WaitFor([&] { return Messages().size() >= count; }));
        JoinWorker(app);
        const auto m = Messages();
        return m.size() >= count ? m[count - 1] : std::string();
    }
};

TEST_F(EditCommandsTest, ReplaceRunsAndARefusedOkRunsNothing)
{
    AddRows({"http://a.test/x", "http://b.test/x"}, true);
    ASSERT_TRUE(window->CanRun(kCmdReplaceText));
    ASSERT_TRUE(Run<ReplaceDialog>(kCmdReplaceText, [](ReplaceDialog& d) {
        d.FindEdit()->setText(QStringLiteral("x"));
        d.ReplaceEdit()->setText(QStringLiteral("y"));
    }));
    EXPECT_EQ(WaitMessage(1), "LinkTrawl: 2 items modified !");
    EXPECT_EQ(Column0(), (std::vector<std::string>{"http://a.test/y", "http://b.test/y"}));

    // Equal texts: OK closes the dialog and nothing runs.
    ASSERT_TRUE(Run<ReplaceDialog>(kCmdReplaceText, [](ReplaceDialog& d) {
        d.FindEdit()->setText(QStringLiteral("y"));
        d.ReplaceEdit()->setText(QStringLiteral("Y"));
        d.ReplaceEdit()->setText(QStringLiteral("y"));
    }));
    JoinWorker(app);
    QCoreApplication::processEvents();
    EXPECT_EQ(Messages().size(), 1u);
}

TEST_F(EditCommandsTest, DeleteWithCtrlDAndTheDeleteKey)
{
    AddRows({"http://a.example/keep", "http://b.example/drop", "http://c.example/keep", "http://d.example/"}, true);
    ASSERT_TRUE(Run<WordMatchDialog>(kCmdDeleteAllWith, [](WordMatchDialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Delete all list entries ..."));
        EXPECT_EQ(d.AddToSelectionBox(), nullptr);
        d.ContainingEdit()->setText(QStringLiteral("DROP"));
    }));
    ASSERT_TRUE(test::WaitFor([&] { return app.list.RowCount() == 3 && !app.jobs.Running(); }));
    EXPECT_EQ(Column0(), (std::vector<std::string>{"http://a.example/keep", "http://c.example/keep", "http://d.example/"}));

    window->Model()->Refresh();
    window->View()->selectRow(1);
    QTest::keyClick(window->View(), Qt::Key_Delete);
    EXPECT_EQ(Column0(), (std::vector<std::string>{"http://a.example/keep", "http://d.example/"}));
    EXPECT_EQ(window->View()->currentIndex().row(), 1);
}

TEST_F(EditCommandsTest, CompareNeedsAFileListAndParseFillsColumns)
{
    AddRows({"http://a.example/"});
    window->RunCommand(kCmdCompareListToDisk);
    QCoreApplication::processEvents();
    ASSERT_FALSE(Messages().empty());
    EXPECT_EQ(Messages().back(), "LinkTrawl: Please first create or load a File List !");

    const QString log = dir.filePath(QStringLiteral("a.log"));
    {
        QFile f(log);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("Name: x Age: 5\n");
    }
    const std::size_t before = Messages().size();
    ASSERT_TRUE(Run<ParseDialog>(kCmdParseTextFiles, [&](ParseDialog& d) {
        d.FileEdit()->setText(log);
        d.MarkerEdit(0)->setText(QStringLiteral("Name:"));
        d.MarkerEdit(1)->setText(QStringLiteral("Age:"));
        d.SpaceBox(2)->setChecked(true);
        EXPECT_FALSE(d.MarkerEdit(2)->isEnabled());
        d.SpaceBox(2)->setChecked(false);
    }));
    EXPECT_EQ(WaitMessage(before + 1), "LinkTrawl: 1 Item found !");
    EXPECT_EQ(app.listState.kind, kListParsedText);
    EXPECT_EQ(app.list.GetCell(0, 1), "5");
    EXPECT_EQ(app.list.GetHeaderText(5), "Line");
}

} // namespace
} // namespace lt
