// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/find_dialog.h"

#include <QCheckBox>
#include <QTableView>

#include "ui/history_combo.h"
#include "ui/status_panes.h"
#include "window_fixture.h"

namespace lt {
namespace {

class FindTest : public test::WindowFixture
{
protected:
    // Runs "&Find in list" with the dialog filled in by `fill`.
    void Find(const std::function<void(FindDialog&)>& fill)
    {
        window->TestHooks().execDialog = [&](QDialog& dialog) {
            auto* find = dynamic_cast<FindDialog*>(&dialog);
            EXPECT_NE(find, nullptr);
            if (!find)
                return int(QDialog::Rejected);
            fill(*find);
            return int(QDialog::Accepted);
        };
        EXPECT_TRUE(window->RunCommand(1440));
        window->TestHooks().execDialog = {};
    }

    int CurrentRow() const { return window->View()->currentIndex().row(); }
};

TEST_F(FindTest, FindsForwardWrapsBothWaysAndShowsTheWrapIcons)
{
    AddRows({"http://a.example/match", "http://b.example/", "http://c.example/MATCH"}, true);
    Find([](FindDialog& d) {
        d.TextCombo()->setEditText(QStringLiteral("match"));
        d.ColumnBox(0)->setChecked(true);
    });
    EXPECT_EQ(app.find.findText, "match");
    EXPECT_EQ(CurrentRow(), 0);

    ASSERT_TRUE(window->RunCommand(1515));
    EXPECT_EQ(CurrentRow(), 2); // upper and lower case are the same
    ASSERT_TRUE(window->RunCommand(1515));
    EXPECT_EQ(CurrentRow(), 0);
    QCoreApplication::processEvents(); // the panes are written through the window's queue
    EXPECT_EQ(window->Panes()->Text(1), QStringLiteral("Search passed beginning of list."));
    EXPECT_EQ(window->Panes()->Icon(1), StatusIcon::Passed1);

    ASSERT_TRUE(window->RunCommand(1516));
    EXPECT_EQ(CurrentRow(), 2);
    QCoreApplication::processEvents();
    EXPECT_EQ(window->Panes()->Text(1), QStringLiteral("Search passed end of list."));
    EXPECT_EQ(window->Panes()->Icon(1), StatusIcon::Passed0);
    const auto selected = window->View()->selectionModel()->selectedRows();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(selected.front().row(), 2);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(FindTest, NothingFoundKeepsTheSelection)
{
    AddRows({"http://a.example/", "http://b.example/"}, true);
    window->View()->selectRow(1);
    Find([](FindDialog& d) { d.TextCombo()->setEditText(QStringLiteral("nowhere")); });
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0], "LinkTrawl: No items found !");
    EXPECT_EQ(CurrentRow(), 1);
    EXPECT_EQ(window->View()->selectionModel()->selectedRows().size(), 1);
}

TEST_F(FindTest, BoxesAreNamedAfterTheHeadersAndTheHistoryIsKept)
{
    AddRows({"http://a.example/one", "http://b.example/two"}, true);
    app.list.SetCell(1, 1, "Second title");
    window->View()->selectRow(0);
    Find([&](FindDialog& d) {
        EXPECT_EQ(d.ColumnBox(0)->text(), QStringLiteral("&") + window->Model()->headerData(0, Qt::Horizontal).toString());
        EXPECT_FALSE(d.ColumnBox(5)->isEnabled());
        d.TextCombo()->setEditText(QStringLiteral("title"));
        d.ColumnBox(0)->setChecked(false);
        d.ColumnBox(1)->setChecked(true);
        d.AddToSelectionBox()->setChecked(true);
    });
    // Added to the selection: both rows are selected now.
    EXPECT_EQ(CurrentRow(), 1);
    EXPECT_EQ(window->View()->selectionModel()->selectedRows().size(), 2);
    EXPECT_EQ(app.find.findHistory[0], "title");

    // The next dialog offers the settings and the remembered texts.
    Find([](FindDialog& d) {
        EXPECT_EQ(d.TextCombo()->currentText(), QStringLiteral("title"));
        EXPECT_TRUE(d.ColumnBox(1)->isChecked());
        EXPECT_FALSE(d.ColumnBox(0)->isChecked());
        EXPECT_TRUE(d.AddToSelectionBox()->isChecked());
        d.TextCombo()->setEditText(QStringLiteral("two"));
        d.ColumnBox(0)->setChecked(true);
    });
    EXPECT_EQ(app.find.findHistory[0], "two");
    EXPECT_EQ(app.find.findHistory[1], "title");
}

TEST_F(FindTest, TheDialogNeedsRowsAndOpensOnce)
{
    EXPECT_FALSE(window->RunCommand(1440) && app.find.dialogOpen);
    AddRows({"http://a.example/"}, true);
    int opened = 0;
    window->TestHooks().execDialog = [&](QDialog&) {
        ++opened;
        // A second find while this one is open does nothing.
        window->RunCommand(1440);
        return int(QDialog::Rejected);
    };
    window->RunCommand(1440);
    EXPECT_EQ(opened, 1);
    EXPECT_FALSE(app.find.dialogOpen);
}

} // namespace
} // namespace lt
