// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include <memory>
#include <string>

#include "inet/download_job.h"
#include "inet/download_runner.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace lt {

struct AppState;
struct InetSlot;

// "Download Url" (DOWNDLG): one remote file saved under a chosen path, on a slot of its own (3 to
// 15, several windows at once). "&Ok" checks the target (the overwrite question) and starts the
// download job in single mode; the size shows in the "Remote file" label, the progress in the
// caption.
class DownloadUrlWindow : public QWidget
{
    Q_OBJECT

public:
    // `slot` is reserved for the window, which frees it when it goes.
    DownloadUrlWindow(AppState& app, InetSlot& slot, const std::string& url, QWidget* parent = nullptr);
    ~DownloadUrlWindow() override;

    // The propose-name button: a name from the default download directory, cut to 32 characters,
    // renamed past existing files.
    void ProposeName();
    // "&Ok": false when nothing started (a short path, a refused overwrite, a job running).
    bool Ok();
    // "&Cancel": cancels a running download, else closes the window.
    void Cancel();
    bool Running() const;

    QLineEdit* RemoteEdit() const { return m_remote; }
    QLineEdit* SaveToEdit() const { return m_saveTo; }
    QLabel* RemoteLabel() const { return m_remoteLabel; }
    QCheckBox* CloseWhenFinishedBox() const { return m_closeWhenFinished; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    class Observer;
    void Post(std::function<void()> call);
    void OnJobEnded(const DownloadResult& result);
    void EnableFields(bool on);

    AppState& m_app;
    InetSlot& m_slot;
    std::unique_ptr<Observer> m_observer;
    DownloadRunner m_runner;
    QLabel* m_remoteLabel = nullptr;
    QLineEdit* m_remote = nullptr;
    QLineEdit* m_saveTo = nullptr;
    QPushButton* m_browse = nullptr;
    QPushButton* m_propose = nullptr;
    QCheckBox* m_closeWhenFinished = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    QTimer* m_timer = nullptr;
    int m_dots = 0;
};

} // namespace lt
