// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include <memory>

#include "inet/pass_delay.h"
#include "inet/status_list.h"
#include "inet/status_test_job.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QTimer;

namespace lt {

struct AppState;
struct InetSlot;
class MainWindow;
class ResultTableModel;

// "Test Url Status" (VALIDDLG): a window of its own over one slot of 3..15 that tests the URLs of
// its list. Several can be open at once; each one's buttons and timer act on its own slot only.
// The job runs on a thread of its own; what it reports is posted to this window's thread.
class StatusTestWindow : public QWidget
{
    Q_OBJECT

public:
    // Opens a window on the first free slot of 3..15, filled from the result list's selection or,
    // when nothing is selected, from the clipboard text. Null when every slot is taken.
    static StatusTestWindow* Open(MainWindow& main);

    ~StatusTestWindow() override;

    StatusList& Rows() { return m_rows; }
    InetSlot& Slot() { return m_slot; }
    bool Running() const { return m_runner.Running(); }
    // Tests count their delays on a clock of their own.
    void SetClock(PassClock* clock) { m_clock = clock ? clock : &m_realClock; }

    // The buttons, as the user presses them (tests call them too).
    void PressOk();
    void PressCancel();
    void DeleteOkItems();

    QTableView* View() const { return m_view; }
    QPushButton* OkButton() const { return m_ok; }
    QLabel* UrlLine() const { return m_urlLine; }
    QLabel* StateLine() const { return m_stateLine; }
    QLabel* CounterLine() const { return m_counterLine; }
    QLineEdit* RetriesEdit() const { return m_retries; }
    QLineEdit* DelayEdit() const { return m_delay; }
    QCheckBox* SelectedNextBox() const { return m_selectedNext; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    class Observer;
    StatusTestWindow(MainWindow& main, InetSlot& slot);
    void OnTick();
    void OnJobEnded(const StatusTestResult& result);
    void ShowIdle();
    void SyncSelection();
    void WriteBack();

    MainWindow& m_main;
    AppState& m_app;
    InetSlot& m_slot;
    StatusList m_rows;
    bool m_fromResultList = false;
    StatusTestControls m_controls;
    RealPassClock m_realClock;
    PassClock* m_clock = &m_realClock;
    std::unique_ptr<Observer> m_observer;
    StatusTestRunner m_runner;
    ResultTableModel* m_model = nullptr;
    QTableView* m_view = nullptr;
    QLabel* m_urlLine = nullptr;
    QLabel* m_stateLine = nullptr;
    QLabel* m_counterLine = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_deleteOk = nullptr;
    QCheckBox* m_selectedNext = nullptr;
    QLineEdit* m_retries = nullptr;
    QLineEdit* m_delay = nullptr;
    QTimer* m_timer = nullptr;
    int m_dots = 0;
    bool m_delaying = false;
    bool m_closeAfterJob = false;
};

} // namespace lt
