// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/text_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFontDialog>
#include <QKeyEvent>
#include <QMimeData>
#include <QDropEvent>
#include <QUrl>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProcess>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolBar>
#include <QVBoxLayout>

#include <condition_variable>
#include <mutex>

#include <unistd.h>

#include "core/app_state.h"
#include "core/command_ids.h"
#include "inet/inet_slot.h"
#include "inet/save_names.h"
#include "platform/regular_file.h"
#include "store/temp_file.h"
#include "store/text_find.h"
#include "store/text_font.h"
#include "store/utf8_text.h"
#include "ui/cell_text.h"
#include "ui/row_icons.h"
#include "ui/text_find_dialog.h"

namespace lt {

namespace {

QString FromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Cuts a UTF-8 text to at most `limit` bytes without splitting a character.
std::string CutUtf8(std::string text, std::size_t limit)
{
    if (text.size() <= limit)
        return text;
    std::size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    text.resize(end);
    return text;
}

QFont QtFontOf(const TextFont& stored)
{
    QFont font(FromUtf8(stored.face));
    // Where the face is missing (no "Courier New" on most Linux systems) fontconfig picks a
    // monospace one.
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    const double points = stored.Points();
    font.setPointSizeF(points > 0 ? points : 9.0);
    const int weight = stored.values[TextFont::kWeight];
    font.setWeight(weight <= 0 ? QFont::Normal : static_cast<QFont::Weight>(std::clamp(weight, 100, 900)));
    const int flags = stored.values[TextFont::kItalicFlags];
    font.setItalic((flags & TextFont::kItalic) != 0);
    font.setUnderline((flags & TextFont::kUnderline) != 0);
    font.setStrikeOut((flags & TextFont::kStrikeOut) != 0);
    return font;
}

} // namespace

// Carries the page reader's calls from its thread to the window.
class TextWindow::Poster : public PageReadObserver
{
public:
    explicit Poster(TextWindow& window) : m_window(&window) {}

    void StatusText(const std::string& text) override
    {
        QPointer<TextWindow> window = m_window;
        QMetaObject::invokeMethod(
            m_window, [window, text] {
                if (window)
                    window->statusBar()->showMessage(DecodeBytes(text));
            },
            Qt::QueuedConnection);
    }

    bool AskRedirect(const std::string& question, InetSlot& slot) override
    {
        struct Answer
        {
            std::mutex lock;
            std::condition_variable done;
            bool answered = false;
            bool abandoned = false; // the job stopped waiting: the question is moot
            bool yes = false;
        };
        auto answer = std::make_shared<Answer>();
        QPointer<TextWindow> window = m_window;
        QMetaObject::invokeMethod(
            m_window, [window, answer, question] {
                {
                    std::lock_guard guard(answer->lock);
                    if (answer->abandoned)
                        return;
                }
                bool yes = false;
                if (window)
                    yes = window->m_app.ui.ShowMessage(question, "LinkTrawl",
                                                        MsgStyle(MsgButtons::YesNo, MsgIcon::Question)) ==
                          MsgAnswer::Yes;
                std::lock_guard guard(answer->lock);
                answer->answered = true;
                answer->yes = yes;
                answer->done.notify_all();
            },
            Qt::QueuedConnection);
        // A cancel (a newer read, the window closing) must not wait for the box.
        std::unique_lock guard(answer->lock);
        while (!answer->answered && !slot.AbortRequested())
            answer->done.wait_for(guard, std::chrono::milliseconds(100));
        answer->abandoned = !answer->answered;
        return answer->answered && answer->yes;
    }

    void Finished(const PageReadResult& result) override
    {
        QPointer<TextWindow> window = m_window;
        QMetaObject::invokeMethod(
            m_window, [window, result] {
                if (window)
                    window->OnPageRead(result);
                else if (!result.path.empty())
                    ::unlink(result.path.c_str());
            },
            Qt::QueuedConnection);
    }

private:
    TextWindow* m_window;
};

TextWindow::TextWindow(AppState& app, QWidget* parent)
    : QMainWindow(parent), m_app(app), m_lastActive(std::chrono::steady_clock::now()),
      m_poster(std::make_unique<Poster>(*this))
{
    if (parent)
        setWindowFlag(Qt::Window, true);
    m_ownProcess = parent == nullptr && app.startup.textWindowMode != 0;
    setWindowTitle(QStringLiteral("LinkTrawl"));
    setWindowIcon(AppIcon());
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(2, 2, 2, 2);
    m_address = new QComboBox(central);
    m_address->setObjectName(QStringLiteral("address"));
    m_address->setEditable(true);
    m_address->setMaxCount(7);
    m_address->setInsertPolicy(QComboBox::InsertAtTop);
    m_pane = new QPlainTextEdit(central);
    m_pane->setObjectName(QStringLiteral("textPane"));
    m_pane->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_pane->setContextMenuPolicy(Qt::CustomContextMenu);
    m_pane->installEventFilter(this);
    m_pane->viewport()->installEventFilter(this);
    layout->addWidget(m_address);
    layout->addWidget(m_pane, 1);
    setCentralWidget(central);
    BuildToolbar();
    statusBar();
    connect(m_address->lineEdit(), &QLineEdit::returnPressed, this, [this] { LoadAddress(); });
    connect(m_pane, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        if (QApplication::activeModalWidget())
            return;
        QMenu* menu = BuildPaneMenu();
        menu->exec(m_pane->viewport()->mapToGlobal(pos));
        menu->deleteLater();
    });
    connect(m_pane->document(), &QTextDocument::modificationChanged, this, [this](bool) { UpdateTitle(); });
    if (m_ownProcess && !app.startup.handoffText.empty())
        m_address->setEditText(DecodeBytes(app.startup.handoffText));
    ChooseTextFont(false);
    resize(900, 650);
}

TextWindow::~TextWindow()
{
    m_reader.Cancel();
    m_reader.Join();
    if (!m_tempPath.empty())
        ::unlink(m_tempPath.c_str());
}

void TextWindow::BuildToolbar()
{
    m_toolbar = addToolBar(QStringLiteral("Text window"));
    m_toolbar->setObjectName(QStringLiteral("textToolbar"));
    m_toolbar->setMovable(false);
    m_toolbar->setIconSize(QSize(16, 16));
    struct Button
    {
        int id;
        const char* tip;
    };
    static const Button kButtons[] = {
        {kCmdTextOpenFile, "Open File"},   {kCmdTextSaveAs, "Save as"}, {kCmdTextFind, "Find"},
        {kCmdTextWordBreak, "Toggle Word break"}, {kCmdTextFont, "Font"}, {kCmdTextStop, "Stop current Process"},
        {kCmdTextReload, "Reload"},         {0, nullptr},               {kCmdNewWindow, "New window"},
        {kCmdTextWindow, "Text window"},    {0, nullptr},               {kCmdExit, "Exit"},
    };
    for (const Button& button : kButtons) {
        if (button.id == 0) {
            m_toolbar->addSeparator();
            continue;
        }
        QAction* action = m_toolbar->addAction(CommandIcon(button.id), QString::fromLatin1(button.tip));
        action->setToolTip(QString::fromLatin1(button.tip));
        action->setData(button.id);
        const int id = button.id;
        connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
        m_actions[id] = action;
    }
    m_actions[kCmdTextWordBreak]->setCheckable(true);
    m_actions[kCmdTextWordBreak]->setChecked(true);
    m_actions[kCmdTextStop]->setEnabled(false);
}

QAction* TextWindow::Action(int id) const
{
    const auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

void TextWindow::RunCommand(int id)
{
    switch (id) {
    case kCmdTextOpenFile: OpenFileCommand(); break;
    case kCmdTextSaveAs: SaveText(); break;
    case kCmdTextFind: FindDialog(); break;
    case kCmdTextWordBreak: ToggleWordBreak(); break;
    case kCmdTextFont: ChooseTextFont(true); break;
    case kCmdTextStop: StopPageRead(); break;
    case kCmdTextReload: Reload(); break;
    case kCmdNewWindow: OpenNewProgramWindow(); break;
    case kCmdTextWindow: {
        auto* window = new TextWindow(m_app, m_ownProcess ? nullptr : parentWidget());
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->m_address->setEditText(QStringLiteral("http://"));
        window->move(pos() + QPoint(24, 24));
        window->show();
        break;
    }
    case kCmdExit:
        if (m_ownProcess)
            m_app.jobs.jobCode.store(0);
        close();
        break;
    case kCmdPaneCopy: m_pane->copy(); break;
    case kCmdPaneCut: m_pane->cut(); break;
    case kCmdPastePane: m_pane->paste(); break;
    case kCmdPaneUndo: m_pane->undo(); break;
    default: break;
    }
}

QMenu* TextWindow::BuildPaneMenu()
{
    auto* menu = new QMenu(this);
    struct Item
    {
        int id;
        const char* text;
    };
    static const Item kItems[] = {
        {kCmdPaneCopy, "&Copy"}, {kCmdPaneCut, "C&ut"}, {kCmdPastePane, "&Paste"}, {kCmdPaneUndo, "&Undo"}};
    const bool selection = m_pane->textCursor().hasSelection();
    for (const Item& item : kItems) {
        QAction* action = menu->addAction(QString::fromLatin1(item.text));
        action->setData(item.id);
        const int id = item.id;
        connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
        if (id == kCmdPaneCopy)
            action->setEnabled(selection);
        else if (id == kCmdPaneCut)
            action->setEnabled(selection && !m_pane->isReadOnly());
        else if (id == kCmdPaneUndo)
            action->setEnabled(m_pane->document()->isUndoAvailable());
    }
    return menu;
}

bool TextWindow::LoadAddress()
{
    if (!ConfirmDiscard())
        return false;
    const std::string text = EncodePath(m_address->currentText());
    const std::uint64_t serial = ++m_serial;
    const PageReadStart start = StartPageRead(m_app, text, m_reader, *m_poster, serial, m_ownProcess);
    if (start.address.kind == AddressKind::LocalFile)
        return LoadFile(start.address.target);
    if (!start.started)
        return false;
    m_pageUrl = start.address.target;
    m_actions[kCmdTextStop]->setEnabled(true);
    if (m_address->findText(m_address->currentText()) < 0)
        m_address->insertItem(0, m_address->currentText());
    return true;
}

bool TextWindow::ReadAddress(const QString& text)
{
    m_address->setEditText(text);
    return LoadAddress();
}

bool TextWindow::LoadFile(const std::string& path)
{
    std::string bytes;
    std::string error;
    if (!ReadRegularFile(path, kTextWindowLimit, bytes, error)) {
        Message(error, "Error");
        return false;
    }
    if (!ShowBytes(std::move(bytes)))
        return false;
    m_currentPath = path;
    m_pageUrl.clear();
    UpdateTitle();
    return true;
}

bool TextWindow::ShowBytes(std::string bytes)
{
    m_document = TextDocument(std::move(bytes));
    m_pane->setPlainText(FromUtf8(m_document.Shown()));
    m_pane->document()->setModified(false);
    m_pane->moveCursor(QTextCursor::Start);
    m_haystackRevision = -1;
    return true;
}

void TextWindow::OnPageRead(const PageReadResult& result)
{
    if (result.serial != m_serial) {
        // A newer read took over: this one's file is nobody's.
        if (!result.path.empty())
            ::unlink(result.path.c_str());
        return;
    }
    m_actions[kCmdTextStop]->setEnabled(false);
    if (result.closing || result.path.empty())
        return;
    std::string bytes;
    std::string error;
    if (!ReadRegularFile(result.path, kTextWindowLimit, bytes, error)) {
        ::unlink(result.path.c_str());
        statusBar()->showMessage(DecodeBytes(error));
        return;
    }
    if (!m_tempPath.empty() && m_tempPath != result.path)
        ::unlink(m_tempPath.c_str());
    m_tempPath = result.path;
    ShowBytes(std::move(bytes));
    m_currentPath = result.path;
    UpdateTitle();
}

std::string TextWindow::ShownText() const
{
    // toPlainText would turn U+00A0 into a blank; the raw text keeps it and marks paragraph
    // breaks with U+2029 (and a Shift+Enter break with U+2028): both are line ends typed here.
    QString raw = m_pane->document()->toRawText();
    raw.replace(QChar(0x2029), QLatin1Char('\n'));
    raw.replace(QChar(0x2028), QLatin1Char('\n'));
    const QByteArray utf8 = raw.toUtf8();
    return std::string(utf8.constData(), static_cast<std::size_t>(utf8.size()));
}

const std::string& TextWindow::FindHaystack()
{
    const int revision = m_pane->document()->revision();
    if (revision != m_haystackRevision) {
        m_haystack = ShownText();
        m_haystackRevision = revision;
    }
    return m_haystack;
}

bool TextWindow::Edited() const { return m_pane->document()->isModified(); }

void TextWindow::FindDialog()
{
    TextFindDialog dialog(FromUtf8(m_findText), this);
    const int result = m_hooks.execDialog ? m_hooks.execDialog(dialog) : dialog.exec();
    if (result != QDialog::Accepted || dialog.Text().isEmpty())
        return;
    const QByteArray utf8 = dialog.Text().toUtf8();
    m_findText = CutUtf8(std::string(utf8.constData(), static_cast<std::size_t>(utf8.size())), kMaxFindText);
    FindNext();
}

void TextWindow::FindNext()
{
    if (m_findText.empty())
        return;
    const std::string& text = FindHaystack();
    QTextCursor cursor = m_pane->textCursor();
    // The caret is in UTF-16 units; the find works on the UTF-8 bytes.
    const QString shown = FromUtf8(text);
    const std::size_t from =
        static_cast<std::size_t>(shown.left(cursor.selectionEnd()).toUtf8().size());
    const TextFindResult found = FindNextInText(text, m_findText, from);
    if (found.wrapped)
        QApplication::beep();
    if (!found.found) {
        Message("Text not found!", "LinkTrawl");
        return;
    }
    const std::string_view view(text);
    const auto start = static_cast<int>(utf8::Utf16Length(view.substr(0, found.pos)));
    const auto length = static_cast<int>(utf8::Utf16Length(view.substr(found.pos, found.length)));
    cursor.setPosition(start);
    cursor.setPosition(start + length, QTextCursor::KeepAnchor);
    m_pane->setTextCursor(cursor);
    m_pane->ensureCursorVisible();
    m_pane->setFocus();
}

std::string TextWindow::ProposedSaveName() const
{
    if (m_pageUrl.empty())
        return m_currentPath;
    std::string folder = m_app.options.saveFolder;
    if (folder.empty())
        folder = QDir::homePath().toStdString();
    const std::string name = MakeSaveName(folder, m_pageUrl);
    return name.empty() ? folder + "/index.htm" : name;
}

bool TextWindow::SaveText()
{
    const QString proposed = DecodePath(ProposedSaveName());
    const QString name = m_hooks.saveFileName
                             ? m_hooks.saveFileName(proposed)
                             : QFileDialog::getSaveFileName(this, QStringLiteral("Save as"), proposed);
    if (name.isEmpty())
        return false;
    const std::string path = EncodePath(name);
    const bool edited = Edited();
    std::string error;
    const bool wasUtf8 = m_document.Encoding() == TextEncoding::Utf8;
    if (!m_document.Save(path, edited ? ShownText() : std::string(), edited, error)) {
        Message(error, "Error");
        return false;
    }
    m_pane->document()->setModified(false);
    m_currentPath = path;
    m_pageUrl.clear();
    if (!wasUtf8 && m_document.Encoding() == TextEncoding::Utf8)
        statusBar()->showMessage(QStringLiteral("Saved as UTF-8: the text holds characters Windows-1252 lacks"));
    UpdateTitle();
    return true;
}

void TextWindow::ChooseTextFont(bool ask)
{
    TextFont stored = ReadTextFont(m_app.options.textFontFace, m_app.options.textFontFields);
    QFont font = QtFontOf(stored);
    if (ask) {
        bool ok = false;
        if (m_hooks.chooseFont) {
            ok = m_hooks.chooseFont(font);
        } else {
            font = QFontDialog::getFont(&ok, font, this, QStringLiteral("Font"));
        }
        if (ok) {
            const QByteArray family = font.family().toUtf8();
            stored.face = CutUtf8(std::string(family.constData(), static_cast<std::size_t>(family.size())), 127);
            if (font.pointSizeF() > 0)
                stored.SetPoints(font.pointSizeF());
            stored.values[TextFont::kWeight] = static_cast<int>(font.weight());
            stored.values[TextFont::kItalicFlags] = (font.italic() ? TextFont::kItalic : 0) |
                                                    (font.underline() ? TextFont::kUnderline : 0) |
                                                    (font.strikeOut() ? TextFont::kStrikeOut : 0);
            m_app.options.textFontFace = stored.face;
            m_app.options.textFontFields = TextFontFieldsText(stored);
            m_app.options.optionsChanged = true;
            font = QtFontOf(stored);
        } else {
            m_pane->setFocus();
            return;
        }
    }
    m_pane->setFont(font);
    m_pane->setFocus();
}

void TextWindow::ToggleWordBreak()
{
    const bool wrap = m_pane->lineWrapMode() == QPlainTextEdit::NoWrap;
    m_pane->setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    m_actions[kCmdTextWordBreak]->setChecked(wrap);
}

void TextWindow::Reload()
{
    if (!ConfirmDiscard())
        return;
    // The question was asked: the reload goes ahead without asking again.
    m_pane->document()->setModified(false);
    if (!m_pageUrl.empty()) {
        ReadAddress(DecodeBytes(m_pageUrl));
        return;
    }
    if (!m_currentPath.empty())
        LoadFile(m_currentPath);
}

void TextWindow::StopPageRead() { m_reader.Cancel(); }

void TextWindow::OpenFileCommand()
{
    const QString name = m_hooks.openFileName ? m_hooks.openFileName()
                                              : QFileDialog::getOpenFileName(this, QStringLiteral("Open File"));
    if (name.isEmpty() || !ConfirmDiscard())
        return;
    if (LoadFile(EncodePath(name)))
        m_address->setEditText(name);
}

void TextWindow::OpenNewProgramWindow()
{
    const QRect frame = frameGeometry();
    const QString where = QStringLiteral("WP:%1:%2:%3:%4")
                              .arg(frame.left())
                              .arg(frame.top())
                              .arg(frame.right())
                              .arg(frame.bottom());
    QProcess::startDetached(QCoreApplication::applicationFilePath(), {where});
}

QString TextWindow::StatusText() const { return statusBar()->currentMessage(); }

void TextWindow::Message(const std::string& text, const std::string& caption)
{
    m_app.ui.ShowMessage(text, caption, MsgStyle(MsgButtons::Ok, caption == "Error" ? MsgIcon::Error
                                                                                   : MsgIcon::Information));
}

void TextWindow::UpdateTitle()
{
    QString title = QStringLiteral("LinkTrawl");
    if (!m_pageUrl.empty())
        title += QStringLiteral(" - ") + DecodeBytes(m_pageUrl);
    else if (!m_currentPath.empty())
        title += QStringLiteral(" - ") + DecodePath(m_currentPath);
    if (Edited())
        title += QStringLiteral(" *");
    setWindowTitle(title);
}

bool TextWindow::ConfirmDiscard()
{
    if (!Edited())
        return true;
    const std::string name = m_currentPath.empty() ? std::string("the text") : m_currentPath;
    const MsgAnswer answer = m_app.ui.ShowMessage("Save changes to " + name + " ?", "LinkTrawl",
                                                  MsgStyle(MsgButtons::YesNoCancel, MsgIcon::Question));
    return answer == MsgAnswer::No || (answer == MsgAnswer::Yes && SaveText());
}

void TextWindow::closeEvent(QCloseEvent* event)
{
    if (!ConfirmDiscard()) {
        event->ignore();
        return;
    }
    m_reader.Cancel();
    event->accept();
}

bool TextWindow::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate) {
        m_lastActive = std::chrono::steady_clock::now();
        m_pane->setFocus();
    }
    return QMainWindow::event(event);
}

bool TextWindow::eventFilter(QObject* watched, QEvent* event)
{
    // A dropped file is loaded (the first one), not pasted as its name.
    if (watched == m_pane->viewport() && (event->type() == QEvent::DragEnter || event->type() == QEvent::Drop)) {
        auto* drop = static_cast<QDropEvent*>(event);
        const QList<QUrl> urls = drop->mimeData() ? drop->mimeData()->urls() : QList<QUrl>();
        if (!urls.isEmpty() && urls.front().isLocalFile()) {
            drop->acceptProposedAction();
            if (event->type() == QEvent::Drop && ConfirmDiscard()) {
                const QString path = urls.front().toLocalFile();
                if (LoadFile(EncodePath(path)))
                    m_address->setEditText(path);
            }
            return true;
        }
    }
    if (watched == m_pane && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool ctrl = key->modifiers() & Qt::ControlModifier;
        if (key->key() == Qt::Key_F3) {
            FindNext();
            return true;
        }
        if (ctrl && key->key() == Qt::Key_F) {
            FindDialog();
            return true;
        }
        if (ctrl && key->key() == Qt::Key_W) {
            OpenNewProgramWindow();
            return true;
        }
        if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
            close();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace lt
