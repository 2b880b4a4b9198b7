// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "inet/download_job.h"
#include "inet/download_runner.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class QTreeWidget;

namespace lt {

struct AppState;
struct InetSlot;

// "Download Urls" (BDOWNDLG): the batch download on slot 1. The list shows each remote file and,
// once its transfer starts, its size (or its error); "&Ok" starts the job and then skips the
// current file, "&Cancel" stops it and, while idle, closes the window. The job's reports arrive on
// its own thread and are posted to this window.
class BatchDownloadWindow : public QWidget
{
    Q_OBJECT

public:
    // `slot` is the reserved slot 1; the window frees it when it goes. `clock` (tests) times the
    // delay between passes.
    BatchDownloadWindow(AppState& app, InetSlot& slot, const std::vector<std::string>& urls,
                        QWidget* parent = nullptr, const DelayClock* clock = nullptr);
    ~BatchDownloadWindow() override;

    // "&Ok": starts the job while idle (false when nothing started), else skips the current file.
    bool Ok();
    // "&Cancel": stops a running job; while idle asks (for more than 8 rows) and closes.
    void Cancel();
    bool Running() const;

    QTreeWidget* List() const { return m_list; }
    QLineEdit* SaveDirEdit() const { return m_saveDir; }
    QLineEdit* RetriesEdit() const { return m_retries; }
    QLineEdit* DelayEdit() const { return m_delay; }
    QCheckBox* CloseWhenFinishedBox() const { return m_closeWhenFinished; }
    QCheckBox* SelectedNextBox() const { return m_selectedNext; }
    QCheckBox* LogUrlBox() const { return m_logUrl; }
    QLabel* StatusLine() const { return m_status; }
    QLabel* CounterLine() const { return m_counter; }
    QLabel* SaveLine() const { return m_saveLine; }
    QPushButton* OkButton() const { return m_ok; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    class Observer;
    void Post(std::function<void()> call);
    void OnJobEnded(const DownloadResult& result);
    void OnTick();
    void SetConnecting(bool on);
    void UpdatePick();
    void ShowIdle();

    AppState& m_app;
    InetSlot& m_slot;
    DownloadList m_rows;
    std::unique_ptr<Observer> m_observer;
    DownloadRunner m_runner;
    QTreeWidget* m_list = nullptr;
    QLineEdit* m_saveDir = nullptr;
    QLineEdit* m_retries = nullptr;
    QLineEdit* m_delay = nullptr;
    QCheckBox* m_closeWhenFinished = nullptr;
    QCheckBox* m_selectedNext = nullptr;
    QCheckBox* m_logUrl = nullptr;
    QLabel* m_urlLine = nullptr;
    QLabel* m_saveLine = nullptr;
    QLabel* m_status = nullptr;
    QLabel* m_counter = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    QTimer* m_timer = nullptr;
    bool m_connecting = false;
    int m_dots = 0;
    // "Selected item &next" as the job thread reads it.
    std::mutex m_pickMutex;
    bool m_pickNext = false;
    std::string m_pickUrl;
};

} // namespace lt
