// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/text_window.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTableView>
#include <QTextCursor>
#include <QToolBar>

#include <filesystem>
#include <fstream>

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "core/command_ids.h"
#include "inet/network_init.h"
#include "local_server.h"
#include "program_files.h"
#include "recording_ui_port.h"
#include "test_application.h"
#include "ui/text_find_dialog.h"
#include "window_fixture.h"

namespace lt {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

class TextWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        test::Application();
        dir = fs::temp_directory_path() / ("text_window_test_" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        window = std::make_unique<TextWindow>(app);
        window->show();
    }
    void TearDown() override
    {
        window.reset();
        fs::remove_all(dir);
    }
    std::string Write(const char* name, const std::string& bytes)
    {
        const std::string path = (dir / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    std::string SaveTo(const char* name)
    {
        const std::string path = (dir / name).string();
        window->TestHooks().saveFileName = [path](const QString&) { return QString::fromStdString(path); };
        EXPECT_TRUE(window->SaveText());
        return testing_support::ReadAll(path);
    }
    std::string LastMessage() const
    {
        const auto messages = ui.Messages();
        return messages.empty() ? std::string() : messages.back().caption + ": " + messages.back().text;
    }

    RecordingUiPort ui;
    AppState app{ui};
    fs::path dir;
    std::unique_ptr<TextWindow> window;
};

TEST_F(TextWindowTest, LoadFindEditSaveKeepsBytesTheUserNeverTouched)
{
    const std::string original = "first line\r\nneedle one\r\nmiddle\xA0text\r\nlast\r\n";
    ASSERT_TRUE(window->LoadFile(Write("page.txt", original)));
    EXPECT_EQ(window->Document().Encoding(), TextEncoding::Windows1252);

    // Unedited: byte for byte, CRLF and 0xA0 included.
    EXPECT_EQ(SaveTo("unedited.txt"), original);

    // A find from the middle that matches only before the caret goes round to the earlier match.
    QPlainTextEdit* pane = window->Pane();
    QTextCursor cursor = pane->textCursor();
    cursor.setPosition(pane->toPlainText().indexOf(QStringLiteral("middle")));
    pane->setTextCursor(cursor);
    window->SetFindText("NEEDLE");
    window->FindNext();
    EXPECT_EQ(pane->textCursor().selectedText(), QStringLiteral("needle"));
    EXPECT_TRUE(ui.Messages().empty());
    // Across the non-breaking space, through the dialog; then a text that is not there.
    window->TestHooks().execDialog = [](QDialog& dialog) {
        dialog.findChild<QLineEdit*>(QStringLiteral("findText"))->setText(QString::fromUtf8("e\xC2\xA0T"));
        return int(QDialog::Accepted);
    };
    window->FindDialog();
    EXPECT_EQ(pane->textCursor().selectedText(), QString::fromUtf8("e\xC2\xA0t"));
    window->SetFindText("absent");
    window->FindNext();
    EXPECT_EQ(LastMessage(), "LinkTrawl: Text not found!");

    // An edit: the file keeps its encoding, its CRLF and the untouched 0xA0.
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(QString::fromUtf8("caf\xC3\xA9"));
    cursor.insertBlock();
    pane->setTextCursor(cursor);
    EXPECT_TRUE(window->Edited());

    // Esc with unsaved edits asks first; Cancel keeps the window.
    ui.QueueAnswer(MsgAnswer::Cancel);
    QTest::keyClick(pane, Qt::Key_Escape);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(LastMessage().rfind("LinkTrawl: Save changes to ", 0), 0u);

    EXPECT_EQ(SaveTo("edited.txt"), original + "caf\xE9\r\n");
    EXPECT_FALSE(window->Edited());
    // Saved: Esc closes without a question.
    const std::size_t asked = ui.Messages().size();
    QTest::keyClick(pane, Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(ui.Messages().size(), asked);
}

TEST_F(TextWindowTest, RefusesWhatIsNoRegularFileOrTooLarge)
{
    const std::string fifo = (dir / "fifo").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(window->LoadFile(fifo));
    EXPECT_NE(LastMessage().find("is not a regular file"), std::string::npos) << LastMessage();
    const std::string big = Write("big.txt", "x");
    fs::resize_file(big, kTextWindowLimit + 1);
    EXPECT_FALSE(window->LoadFile(big));
    EXPECT_NE(LastMessage().find("is too large"), std::string::npos) << LastMessage();
    EXPECT_EQ(window->Pane()->toPlainText(), QString());
}

TEST_F(TextWindowTest, FindDialogStaysOpenWithoutText)
{
    TextFindDialog dialog(QStringLiteral("last"));
    EXPECT_EQ(dialog.Edit()->selectedText(), QStringLiteral("last"));
    dialog.Edit()->clear();
    dialog.show();
    dialog.accept();
    EXPECT_TRUE(dialog.isVisible());
    dialog.Edit()->setText(QStringLiteral("x"));
    dialog.accept();
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(TextWindowTest, FontFromTheStoredValuesAndTheChooser)
{
    EXPECT_EQ(window->Pane()->font().family(), QStringLiteral("Courier New"));
    EXPECT_DOUBLE_EQ(window->Pane()->font().pointSizeF(), 9.0);
    window->TestHooks().chooseFont = [](QFont& font) {
        font.setFamily(QStringLiteral("DejaVu Sans Mono"));
        font.setPointSizeF(12);
        font.setBold(true);
        font.setItalic(true);
        return true;
    };
    window->RunCommand(kCmdTextFont);
    EXPECT_EQ(app.options.textFontFace, "DejaVu Sans Mono");
    EXPECT_EQ(app.options.textFontFields, "-16;0;700;1;0;3;2;1;49;0;");
    EXPECT_TRUE(app.options.optionsChanged);
    EXPECT_TRUE(window->Pane()->font().bold());
}

TEST_F(TextWindowTest, ToolbarWordBreakAndReload)
{
    std::vector<std::string> tips;
    for (QAction* action : window->ToolBar()->actions()) {
        if (!action->isSeparator())
            tips.push_back(action->toolTip().toStdString());
    }
    EXPECT_EQ(tips, (std::vector<std::string>{"Open File", "Save as", "Find", "Toggle Word break", "Font",
                                              "Stop current Process", "Reload", "New window", "Text window",
                                              "Exit"}));
    window->RunCommand(kCmdTextWordBreak);
    EXPECT_EQ(window->Pane()->lineWrapMode(), QPlainTextEdit::NoWrap);
    window->RunCommand(kCmdTextWordBreak);
    EXPECT_EQ(window->Pane()->lineWrapMode(), QPlainTextEdit::WidgetWidth);

    const std::string path = Write("r.txt", "one");
    ASSERT_TRUE(window->ReadAddress(QString::fromStdString(path)));
    Write("r.txt", "two\r\n");
    window->RunCommand(kCmdTextReload);
    EXPECT_EQ(window->Document().Bytes(), "two\r\n");
}

TEST_F(TextWindowTest, ReadsPagesThroughTheAddressLine)
{
    test::ClearProxyEnvironment();
    NetworkInit network;
    test::LocalServer server({test::ServerScript("http_routes.py")});
    ASSERT_GT(server.Port(), 0);
    const fs::path temp = dir / "temp";
    fs::create_directories(temp);
    app.options.tempFolder = temp.string();
    app.options.inet.timeoutSeconds = 5;
    const auto shows = [&](const std::string& bytes) {
        return test::WaitFor([&] { return window->Document().Bytes() == bytes && !window->PageReadRunning(); });
    };

    // A read still waiting for its server is cancelled by the next one, whose page is shown.
    ASSERT_TRUE(window->ReadAddress(QString::fromStdString(server.Url("/stall"))));
    ASSERT_TRUE(window->ReadAddress(QString::fromStdString(server.Url("/site/d.htm"))));
    ASSERT_TRUE(shows("<html><body>leaf d</body></html>"));
    EXPECT_TRUE(test::WaitFor([&] { return window->StatusText().startsWith(QStringLiteral("Done. ")); }));
    // The redirect question, answered through the window.
    ui.QueueAnswer(MsgAnswer::Yes);
    ASSERT_TRUE(window->ReadAddress(QString::fromStdString(server.Url("/r/abs"))));
    ASSERT_TRUE(shows("<html><body>leaf c</body></html>"));
    EXPECT_EQ(ui.Messages().back().text.rfind("Redirected to:\r\n", 0), 0u);
    // One temporary file: the page shown; it goes with the window.
    EXPECT_TRUE(test::WaitFor([&] { return std::distance(fs::directory_iterator(temp), {}) == 1; }));
    EXPECT_EQ(window->CurrentPath(), fs::directory_iterator(temp)->path().string());
    window.reset();
    EXPECT_EQ(std::distance(fs::directory_iterator(temp), {}), 0);
    for (std::size_t i = 0; i < 16; ++i)
        EXPECT_EQ(app.inetSlots[i].state.load(), kSlotFree) << i;
}

class TextCommandsTest : public test::WindowFixture
{
};

TEST_F(TextCommandsTest, ReadInNewWindowThenLoadSourceIntoIt)
{
    const std::string a = dir.filePath(QStringLiteral("a.txt")).toStdString();
    const std::string b = dir.filePath(QStringLiteral("b.txt")).toStdString();
    std::ofstream(a) << "alpha";
    std::ofstream(b) << "beta";
    AddRows({a, b});
    const auto textWindows = [&] { return window->findChildren<TextWindow*>(); };
    window->View()->selectRow(0);
    ASSERT_TRUE(window->RunCommand(kCmdReadInNewWindow));
    ASSERT_EQ(textWindows().size(), 1);
    EXPECT_EQ(textWindows()[0]->Document().Bytes(), "alpha");
    window->View()->selectRow(1);
    ASSERT_TRUE(window->RunCommand(kCmdLoadSource));
    ASSERT_EQ(textWindows().size(), 1);
    EXPECT_EQ(textWindows()[0]->Document().Bytes(), "beta");
    ASSERT_TRUE(window->RunCommand(kCmdReadInNewWindow));
    EXPECT_EQ(textWindows().size(), 2);

    // Unsaved edits in a text window hold the main window open until the user lets them go.
    TextWindow* edited = textWindows()[0];
    edited->Pane()->appendPlainText(QStringLiteral("more"));
    answer = MsgAnswer::Cancel;
    window->close();
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(edited->isVisible());
    EXPECT_EQ(Messages().back().rfind("LinkTrawl: Save changes to ", 0), 0u);
    answer = MsgAnswer::No;
    window->close();
    EXPECT_TRUE(test::WaitFor([&] { return !window->isVisible(); }));
    EXPECT_EQ(testing_support::ReadAll(a), "alpha");
}

} // namespace
} // namespace lt
