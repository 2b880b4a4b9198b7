// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/domain_view.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QMenu>
#include <QStackedWidget>
#include <QTableView>
#include <QToolBar>
#include <QTreeView>

#include "core/command_ids.h"
#include "core/window_messages.h"
#include "list/domain_tree.h"
#include "ui/domain_tree_model.h"
#include "ui/history_combo.h"
#include "ui/sort_header_model.h"
#include "ui/status_panes.h"
#include "window_fixture.h"

namespace lt {
namespace {

class DomainViewTest : public test::WindowFixture
{
protected:
    DomainView* View() { return window->Domains(); }

    // Waits until the folder fills have ended and the view shows the folder list.
    void Settle()
    {
        WaitForFolderFills(app);
        test::WaitFor([&] {
            View()->Poll();
            return View()->FolderModel()->rowCount() == static_cast<int>(app.secondList.RowCount());
        });
    }

    std::vector<std::string> FolderRows() const
    {
        std::vector<std::string> rows;
        for (std::size_t r = 0; r < app.secondList.RowCount(); ++r)
            rows.push_back(app.secondList.GetCell(r, 0));
        return rows;
    }

    QModelIndex Child(const QModelIndex& parent, const QString& label)
    {
        DomainTreeModel* model = View()->TreeModel();
        for (int r = 0; r < model->rowCount(parent); ++r) {
            const QModelIndex index = model->index(r, 0, parent);
            if (model->data(index).toString() == label)
                return index;
        }
        return {};
    }
};

TEST_F(DomainViewTest, BuildShowsTheTreeBesideTheFolderAndToggles)
{
    AddRows({"http://h.example/x/1.htm", "http://h.example/x/2.htm", "http://h.example/y.htm",
             "http://k.example/"},
            true);
    EXPECT_EQ(window->Action(1453)->toolTip(), QStringLiteral("Build Domains"));
    ASSERT_TRUE(window->RunCommand(1480));
    Settle();
    EXPECT_TRUE(app.domain.viewShown);
    EXPECT_EQ(window->ShownView(), View());
    EXPECT_TRUE(View()->isVisible());
    EXPECT_EQ(window->Action(1453)->toolTip(), QStringLiteral("Toggle View"));

    const QModelIndex http = Child({}, QStringLiteral("Http"));
    ASSERT_TRUE(http.isValid());
    EXPECT_TRUE(View()->Tree()->isExpanded(http));
    const QModelIndex h = Child(http, QStringLiteral("h.example"));
    ASSERT_TRUE(h.isValid());
    EXPECT_TRUE(Child(h, QStringLiteral("x")).isValid());
    EXPECT_FALSE(Child(http, QStringLiteral("k.example")).isValid());
    // Three images: closed and open folder, and the line.
    const QIcon icon = View()->TreeModel()->data(h, Qt::DecorationRole).value<QIcon>();
    EXPECT_FALSE(icon.isNull());
    EXPECT_FALSE(DomainTreeModel::FolderIcon(kIconLine).isNull());

    // The root is selected; selecting h shows its own rows, not those of its subfolder.
    View()->Tree()->setCurrentIndex(h);
    Settle();
    EXPECT_EQ(FolderRows(), (std::vector<std::string>{"http://h.example/y.htm"}));
    EXPECT_EQ(View()->FolderModel()->rowCount(), 1);

    ASSERT_TRUE(window->RunCommand(1544));
    EXPECT_FALSE(app.domain.viewShown);
    EXPECT_EQ(window->ShownView(), window->View());
    EXPECT_TRUE(window->View()->hasFocus() || !window->isActiveWindow());
    ASSERT_TRUE(window->RunCommand(1453)); // the toolbar button toggles once the tree is there
    EXPECT_TRUE(app.domain.viewShown);
    EXPECT_TRUE(View()->Tree()->hasFocus() || !window->isActiveWindow());

    // Clearing the results goes back to the list and empties the tree.
    ASSERT_TRUE(window->RunCommand(1452));
    EXPECT_FALSE(app.domain.viewShown);
    EXPECT_EQ(View()->TreeModel()->rowCount(), 0);
    EXPECT_EQ(app.secondList.RowCount(), 0u);
}

TEST_F(DomainViewTest, OnlyTheLastOfQuickSelectionsFillsTheList)
{
    std::vector<std::string> urls;
    const int hosts = 6;
    const int perHost = 5000;
    for (int h = 0; h < hosts; ++h)
        for (int i = 0; i < perHost; ++i)
            urls.push_back("http://host" + std::to_string(h) + ".example/dir/page" + std::to_string(10000 + i) + ".htm");
    AddRows(urls, true);
    ASSERT_TRUE(window->RunCommand(1480));
    Settle();
    const QModelIndex http = Child({}, QStringLiteral("Http"));
    ASSERT_EQ(View()->TreeModel()->rowCount(http), hosts);
    for (int round = 0; round < 3; ++round)
        for (int h = 0; h < hosts; ++h)
            View()->Tree()->setCurrentIndex(View()->TreeModel()->index(h, 0, http));
    const QString last = View()->TreeModel()->data(View()->TreeModel()->index(hosts - 1, 0, http)).toString();
    Settle();
    ASSERT_EQ(app.secondList.RowCount(), static_cast<std::size_t>(perHost));
    for (const std::string& row : FolderRows())
        ASSERT_EQ(row.rfind("http://" + last.toStdString() + "/", 0), 0u) << row;
    EXPECT_EQ(View()->FolderModel()->rowCount(), perHost);
    // The fill selects the folder's first row.
    EXPECT_EQ(View()->FolderView()->currentIndex().row(), 0);
}

TEST_F(DomainViewTest, FindGoesAcrossFoldersAndTheFolderListSortsOnItsOwn)
{
    AddRows({"http://a.example/p/1", "http://a.example/p/2", "http://b.example/q/1", "http://b.example/q/2",
             "http://b.example/q/target"},
            true);
    ASSERT_TRUE(window->RunCommand(1480));
    Settle();
    app.find.findText = "target";
    app.find.findColumns = {true, false, false, false, false, false};
    ASSERT_TRUE(window->RunCommand(1515));
    Settle();
    const int node = DomainTreeModel::NodeOf(View()->Tree()->currentIndex());
    ASSERT_GE(node, 0);
    EXPECT_EQ(node, app.domain.selectedNode);
    const QModelIndex current = View()->FolderView()->currentIndex();
    ASSERT_TRUE(current.isValid());
    EXPECT_EQ(app.secondList.GetCell(static_cast<std::size_t>(current.row()), 0), "http://b.example/q/target");
    // No wrap messages in the domain view, and nothing asked.
    EXPECT_TRUE(Messages().empty());

    // A sort command sorts the folder list; the result list keeps its order.
    const std::vector<std::string> before = Column0();
    ASSERT_TRUE(window->RunCommand(1551));
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(FolderRows().front(), "http://b.example/q/target");
    EXPECT_EQ(Column0(), before);

    app.find.findText = "nowhere";
    window->RunCommand(1515);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0], "LinkTrawl: No items found !");
}

TEST_F(DomainViewTest, ContextMenuConnectsCopyAndSaveOnly)
{
    AddRows({"http://a.example/p/1", "http://a.example/p/2", "http://a.example/p/q/3", "http://a.example/p/q/4"},
            true);
    ASSERT_TRUE(window->RunCommand(1480));
    Settle();
    std::unique_ptr<QMenu> menu(View()->BuildTreeContextMenu());
    QStringList enabled, disabled;
    for (QAction* action : menu->actions()) {
        if (action->isSeparator())
            continue;
        (action->isEnabled() ? enabled : disabled).push_back(action->text());
    }
    EXPECT_EQ(disabled, (QStringList{QStringLiteral("&Add folder to Bookmarks"), QStringLiteral("&Print folder"),
                                     QStringLiteral("&Delete folder")}));
    EXPECT_EQ(enabled.size(), 4);
    // Collapse and expand the subfolders of the root.
    const QModelIndex http = Child({}, QStringLiteral("Http"));
    View()->Tree()->setCurrentIndex(http);
    View()->ExpandSubfolders(false);
    EXPECT_FALSE(View()->Tree()->isExpanded(http));
    View()->ExpandSubfolders(true);
    EXPECT_TRUE(View()->Tree()->isExpanded(http));
    for (int r = 0; r < View()->TreeModel()->rowCount(http); ++r)
        EXPECT_TRUE(View()->Tree()->isExpanded(View()->TreeModel()->index(r, 0, http)) ||
                    View()->TreeModel()->rowCount(View()->TreeModel()->index(r, 0, http)) == 0);
}

TEST_F(DomainViewTest, FolderExportsCopyAndTheCountAfterToggling)
{
    AddRows({"http://a.example/p/1", "http://a.example/p/2", "http://a.example/p/q/3", "http://a.example/p/q/4",
             "http://b.example/r/5"},
            true);
    ASSERT_TRUE(window->RunCommand(kCmdBuildDomains));
    Settle();
    // The folder "q", wherever the tree put it.
    std::function<QModelIndex(const QModelIndex&)> findQ = [&](const QModelIndex& parent) -> QModelIndex {
        for (int r = 0; r < View()->TreeModel()->rowCount(parent); ++r) {
            const QModelIndex index = View()->TreeModel()->index(r, 0, parent);
            if (View()->TreeModel()->data(index).toString() == QStringLiteral("q"))
                return index;
            if (const QModelIndex found = findQ(index); found.isValid())
                return found;
        }
        return {};
    };
    const QModelIndex q = findQ({});
    ASSERT_TRUE(q.isValid());
    View()->Tree()->setCurrentIndex(q);
    Settle();
    ASSERT_EQ(app.secondList.RowCount(), 2u);
    const std::string expected = "q\r\n\r\n  http://a.example/p/q/3\r\n  http://a.example/p/q/4\r\n";

    // The toolbar's Copy copies the folder, as its tooltip says.
    ASSERT_TRUE(window->Action(kCmdCopyList)->isEnabled());
    ASSERT_TRUE(window->RunCommand(kCmdCopyList));
    EXPECT_TRUE(test::WaitFor([&] { return QGuiApplication::clipboard()->text().toStdString() == expected; }));
    ASSERT_FALSE(Messages().empty());
    EXPECT_EQ(Messages().back(), "LinkTrawl: 2 Url(s) copied !");

    // The toolbar's Save writes the folder.
    const QString path = dir.filePath(QStringLiteral("folder.txt"));
    window->TestHooks().saveFileName = [&](const QString&) { return path; };
    ASSERT_TRUE(window->Action(kCmdSaveListAs)->isEnabled());
    ASSERT_TRUE(window->RunCommand(kCmdSaveListAs));
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll().toStdString(), expected);

    // The folder list has a menu of its own; its copy takes the folder list's selection.
    std::unique_ptr<QMenu> menu(window->BuildFolderListContextMenu());
    ASSERT_FALSE(menu->actions().isEmpty());
    View()->FolderView()->selectRow(1);
    ASSERT_TRUE(window->RunCommand(kCmdCopySelected));
    EXPECT_TRUE(test::WaitFor(
        [&] { return QGuiApplication::clipboard()->text().toStdString() == "http://a.example/p/q/4\r\n"; }));

    // Back in the list view the count pane counts the list again.
    ASSERT_TRUE(window->RunCommand(kCmdToggleView));
    EXPECT_TRUE(test::WaitFor([&] { return window->Panes()->Text(2) == QStringLiteral("5"); }));
}

TEST_F(DomainViewTest, TheSplitterPositionIsKeptInItsRecord)
{
    AddRows({"http://a.example/p/1", "http://a.example/p/2"}, true);
    ASSERT_TRUE(window->RunCommand(1480));
    Settle();
    test::WaitFor([&] { return View()->width() > 100; }, 500);
    View()->setSizes({300, View()->width() - 300});
    emit View()->splitterMoved(300, 1);
    const auto& record = app.options.positions.at("WPS06");
    ASSERT_GE(record.values.size(), 7u);
    EXPECT_EQ(record.values[6], View()->sizes().front());
    EXPECT_EQ(View()->TreeWidthFor(1200), View()->sizes().front());
    // Without a record the tree takes a fifth of the width.
    app.options.positions.erase("WPS06");
    EXPECT_EQ(View()->TreeWidthFor(1000), 200);
}

TEST_F(DomainViewTest, RebuildAfterSearchFollowsTheOption)
{
    AddRows({"http://a.example/p/1", "http://a.example/p/2"}, true);
    window->OnPost(kMsgRebuildDomains, 2, 0);
    EXPECT_FALSE(app.domain.exists); // the option is off: only the count message
    EXPECT_EQ(Messages().size(), 1u);

    ASSERT_TRUE(window->RunCommand(1545));
    EXPECT_TRUE(app.options.rebuildDomainsAfterSearch);
    EXPECT_TRUE(window->Action(1545)->isChecked());
    window->OnPost(kMsgRebuildDomains, 2, 0);
    EXPECT_TRUE(app.domain.exists);
    EXPECT_FALSE(app.domain.viewShown);
    EXPECT_GT(View()->TreeModel()->rowCount(), 0);
    EXPECT_EQ(Messages().size(), 2u);
    // The built tree can be shown at once, with the root's folder filled.
    ASSERT_TRUE(window->RunCommand(1544));
    Settle();
    EXPECT_TRUE(app.domain.viewShown);
}

} // namespace
} // namespace lt
