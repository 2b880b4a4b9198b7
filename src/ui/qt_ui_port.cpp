// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt_ui_port.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>
#include <QThread>
#include <QTimer>

#include "ui/cell_text.h"
#include "ui/queued_call.h"
#include "ui/status_panes.h"

namespace lt {

QtUiPort::QtUiPort(QObject* parent) : QObject(parent) {}

QtUiPort::~QtUiPort()
{
    if (m_waitCursor && qApp)
        QGuiApplication::restoreOverrideCursor();
}

void QtUiPort::SetStatusPanes(StatusPanes* panes)
{
    m_panes = panes;
}
void QtUiPort::SetTimerHandler(std::function<void(int)> handler)
{
    m_timerHandler = std::move(handler);
}
void QtUiPort::SetPostHandler(PostHandler handler)
{
    m_postHandler = std::move(handler);
}
void QtUiPort::SetMessageHandler(MessageHandler handler)
{
    m_messageHandler = std::move(handler);
}
void QtUiPort::SetClosing(bool closing)
{
    m_closing.store(closing);
}

bool QtUiPort::OnWindowThread() const
{
    return QThread::currentThread() == thread();
}

template <typename F> void QtUiPort::Queue(F&& f)
{
    QueueCall(this, std::forward<F>(f));
}

void QtUiPort::SetPaneText(int pane, const std::string& text)
{
    Queue([this, pane, text] {
        if (m_panes)
            m_panes->SetText(pane, DecodeBytes(text));
    });
}

void QtUiPort::SetPaneIcon(int pane, StatusIcon icon)
{
    Queue([this, pane, icon] {
        if (m_panes)
            m_panes->SetIcon(pane, icon);
    });
}

void QtUiPort::ArmTimer(int id, int milliseconds)
{
    Queue([this, id, milliseconds] {
        QTimer*& timer = m_timers[id];
        if (timer == nullptr) {
            timer = new QTimer(this);
            timer->setSingleShot(true);
            connect(timer, &QTimer::timeout, this, [this, id] {
                if (m_timerHandler)
                    m_timerHandler(id);
            });
        }
        timer->start(milliseconds);
    });
}

void QtUiPort::KillTimer(int id)
{
    Queue([this, id] {
        const auto it = m_timers.find(id);
        if (it != m_timers.end())
            it->second->stop();
    });
}

bool QtUiPort::IsArmed(int id) const
{
    const auto it = m_timers.find(id);
    return it != m_timers.end() && it->second->isActive();
}

void QtUiPort::ProgressBegin()
{
    Queue([this] {
        if (m_panes)
            m_panes->ProgressBegin();
    });
}

void QtUiPort::ProgressStep()
{
    Queue([this] {
        if (m_panes)
            m_panes->ProgressStep();
    });
}

void QtUiPort::ProgressEnd()
{
    Queue([this] {
        if (m_panes)
            m_panes->ProgressEnd();
    });
}

MsgAnswer QtUiPort::AnswerMessage(const std::string& text, const std::string& caption, MsgStyle style)
{
    if (m_messageHandler)
        return m_messageHandler(text, caption, style);
    return ShowMessageBox(text, caption, style);
}

MsgAnswer QtUiPort::ShowMessage(const std::string& text, const std::string& caption, MsgStyle style)
{
    if (OnWindowThread())
        return AnswerMessage(text, caption, style);
    const MsgAnswer refused = style.buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::No;
    if (m_closing.load())
        return refused;
    const auto answer = [this, &text, &caption, style, refused] {
        return m_closing.load() ? refused : AnswerMessage(text, caption, style);
    };
    return BlockingCall(this, answer, refused);
}

namespace {

// Room beside a caption in a title bar: the window icon and the close button.
constexpr int kTitleBarExtra = 110;

MsgAnswer SafeAnswer(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::Ok:
        return MsgAnswer::Ok;
    case MsgButtons::YesNo:
        return MsgAnswer::No;
    default:
        return MsgAnswer::Cancel;
    }
}

} // namespace

MsgAnswer QtUiPort::ShowMessageBox(const std::string& text, const std::string& caption, MsgStyle style)
{
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(DecodeBytes(caption));
    box.setText(DecodeBytes(text));
    switch (style.icon) {
    case MsgIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MsgIcon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case MsgIcon::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case MsgIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case MsgIcon::None:
        break;
    }
    std::map<QAbstractButton*, MsgAnswer> answers;
    QPushButton* first = nullptr;
    auto add = [&](const QString& label, QMessageBox::ButtonRole role, MsgAnswer answer) {
        QPushButton* button = box.addButton(label, role);
        if (first == nullptr)
            first = button;
        answers[button] = answer;
    };
    switch (style.buttons) {
    case MsgButtons::Ok:
        add(QStringLiteral("OK"), QMessageBox::AcceptRole, MsgAnswer::Ok);
        break;
    case MsgButtons::YesNo:
        add(QStringLiteral("&Yes"), QMessageBox::YesRole, MsgAnswer::Yes);
        add(QStringLiteral("&No"), QMessageBox::NoRole, MsgAnswer::No);
        break;
    case MsgButtons::YesNoCancel:
        add(QStringLiteral("&Yes"), QMessageBox::YesRole, MsgAnswer::Yes);
        add(QStringLiteral("&No"), QMessageBox::NoRole, MsgAnswer::No);
        add(QStringLiteral("Cancel"), QMessageBox::RejectRole, MsgAnswer::Cancel);
        break;
    case MsgButtons::OkCancel:
        add(QStringLiteral("OK"), QMessageBox::AcceptRole, MsgAnswer::Ok);
        add(QStringLiteral("Cancel"), QMessageBox::RejectRole, MsgAnswer::Cancel);
        break;
    case MsgButtons::ReplaceAppendCancel:
        add(QStringLiteral("Replace"), QMessageBox::AcceptRole, MsgAnswer::Replace);
        add(QStringLiteral("Append"), QMessageBox::AcceptRole, MsgAnswer::Append);
        add(QStringLiteral("Cancel"), QMessageBox::RejectRole, MsgAnswer::Cancel);
        break;
    case MsgButtons::ContinueCancel:
        add(QStringLiteral("Continue"), QMessageBox::AcceptRole, MsgAnswer::Continue);
        add(QStringLiteral("Cancel"), QMessageBox::RejectRole, MsgAnswer::Cancel);
        break;
    }
    // The first button answers Return, as the box takes the keyboard when it opens.
    box.setDefaultButton(first);
    // The caption must fit the title bar: its text plus room for the icon and the close button.
    const int captionWidth =
        QFontMetrics(QApplication::font("QMdiSubWindowTitleBar")).horizontalAdvance(box.windowTitle()) +
        kTitleBarExtra;
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(captionWidth, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    QTimer mootCheck;
    if (style.watchedJob) {
        if (style.Moot())
            return SafeAnswer(style.buttons);
        QObject::connect(&mootCheck, &QTimer::timeout, &box, [&box, &style] {
            if (style.Moot())
                box.reject();
        });
        mootCheck.start(20);
    }
    QTimer::singleShot(0, &box, [&box] {
        box.raise();
        box.activateWindow();
    });
    box.exec();
    mootCheck.stop();
    const auto it = answers.find(box.clickedButton());
    if (it != answers.end())
        return it->second;
    // Closed with Escape, the title bar or because it became moot: the safe answer.
    return SafeAnswer(style.buttons);
}

void QtUiPort::SetWaitCursor(bool on)
{
    Queue([this, on] {
        if (on == m_waitCursor)
            return;
        m_waitCursor = on;
        if (on)
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QGuiApplication::restoreOverrideCursor();
    });
}

void QtUiPort::SetClipboardText(const std::string& text)
{
    Queue([text] {
        if (QClipboard* clipboard = QGuiApplication::clipboard())
            clipboard->setText(DecodeBytes(text));
    });
}

std::string QtUiPort::ClipboardText()
{
    auto read = [] {
        QClipboard* clipboard = QGuiApplication::clipboard();
        return clipboard ? EncodeText(clipboard->text()) : std::string();
    };
    if (OnWindowThread())
        return read();
    if (m_closing.load())
        return {};
    return BlockingCall(this, read, std::string());
}

void QtUiPort::Post(int message, std::intptr_t wparam, std::intptr_t lparam)
{
    Queue([this, message, wparam, lparam] {
        if (m_postHandler)
            m_postHandler(message, wparam, lparam);
    });
}

} // namespace lt
