// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <atomic>
#include <functional>
#include <map>

#include "core/ui_port.h"

class QTimer;

namespace lt {

class StatusPanes;

// The UiPort of the desktop program. Every call is carried to the window thread in order through
// queued calls; a message box or a clipboard read asked for by a worker blocks that worker until
// the window thread has answered. Lives on the window thread.
class QtUiPort : public QObject, public UiPort
{
    Q_OBJECT

public:
    using MessageHandler = std::function<MsgAnswer(const std::string&, const std::string&, MsgStyle)>;
    using PostHandler = std::function<void(int, std::intptr_t, std::intptr_t)>;

    explicit QtUiPort(QObject* parent = nullptr);
    ~QtUiPort() override;

    // The status bar that shows the panes and the progress bar (may be null, e.g. before the window).
    void SetStatusPanes(StatusPanes* panes);
    // Called on the window thread when an armed timer fires.
    void SetTimerHandler(std::function<void(int)> handler);
    // Receives the private window messages on the window thread.
    void SetPostHandler(PostHandler handler);
    // Replaces the message box (tests answer through it); null restores the box.
    void SetMessageHandler(MessageHandler handler);
    // While the window closes, workers asking questions get "No" at once instead of waiting for a
    // window thread that waits for them.
    void SetClosing(bool closing);

    void SetPaneText(int pane, const std::string& text) override;
    void SetPaneIcon(int pane, StatusIcon icon) override;
    void ArmTimer(int id, int milliseconds) override;
    void KillTimer(int id) override;
    void ProgressBegin() override;
    void ProgressStep() override;
    void ProgressEnd() override;
    MsgAnswer ShowMessage(const std::string& text, const std::string& caption, MsgStyle style) override;
    void SetWaitCursor(bool on) override;
    void SetClipboardText(const std::string& text) override;
    std::string ClipboardText() override;
    void Post(int message, std::intptr_t wparam, std::intptr_t lparam) override;

    // The standard message box.
    static MsgAnswer ShowMessageBox(const std::string& text, const std::string& caption, MsgStyle style);

    bool IsArmed(int id) const;

private:
    bool OnWindowThread() const;
    template <typename F> void Queue(F&& f);
    MsgAnswer AnswerMessage(const std::string& text, const std::string& caption, MsgStyle style);

    StatusPanes* m_panes = nullptr;
    std::function<void(int)> m_timerHandler;
    PostHandler m_postHandler;
    MessageHandler m_messageHandler;
    std::map<int, QTimer*> m_timers;
    std::atomic<bool> m_closing{false};
    bool m_waitCursor = false;
};

} // namespace lt
