// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include <string>
#include <vector>

#include "inet/crawl_job.h"
#include "inet/crawl_runner.h"
#include "inet/crawl_window_report.h"
#include "inet/job_window_port.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class QTreeWidget;

namespace lt {

struct AppState;
struct InetSlot;

// The "Read Internet Files" job window: the queue of a crawl (or the list of a list read), the
// URL, save, status and counter lines, Retries and the two switches. It holds slot 0 while it is
// open and runs the crawl through CrawlRunner; the crawl's calls arrive on the job thread and are
// queued to this window's thread, in order.
class CrawlWindow : public QWidget, public JobWindowPort
{
    Q_OBJECT

public:
    // `crawl` follows links (the columns "Links", "Level", "Parent", "Status"); otherwise the
    // window reads a list ("Remote File", sorted). Takes slot 0 in its idle state.
    CrawlWindow(AppState& app, bool crawl, QWidget* parent = nullptr);
    ~CrawlWindow() override;

    // A crawl from the dialog's settings: the start URL at level 0 and the URLs of the file (when
    // named), then the crawl starts by itself. False, with `error`, when nothing could start.
    bool StartCrawl(const std::string& startUrl, const std::string& urlFile, std::string& error);
    // Adds URLs to the list of a list read (each once).
    void AddUrls(const std::vector<std::string>& urls);

    // The buttons (also reached by the tests).
    void OkPressed();
    void CancelPressed();
    bool Running() const;

    QTreeWidget* List() const { return m_list; }
    QLabel* UrlLine() const { return m_urlLine; }
    QLabel* SaveLine() const { return m_saveLine; }
    QLabel* StatusLine() const { return m_statusLine; }
    QLabel* CounterLine() const { return m_counterLine; }
    QLineEdit* RetriesEdit() const { return m_retries; }
    QCheckBox* SelectedNextBox() const { return m_selectedNext; }
    QCheckBox* CloseWhenFinishedBox() const { return m_closeWhenFinished; }
    QPushButton* OkButton() const { return m_ok; }

    // JobWindowPort (any thread).
    void SetCaption(const std::string& text) override;
    void SetUrlLine(const std::string& text) override;
    void SetSaveLine(const std::string& text) override;
    void SetStatusLine(const std::string& text) override;
    void SetCounterLine(const std::string& text) override;
    void AddRow(const std::vector<std::string>& cells) override;
    void RemoveRow(std::size_t row) override;
    void SetCell(std::size_t row, int column, const std::string& text) override;
    void ShowRow(std::size_t row) override;
    void Post(int message, std::intptr_t param) override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // "&Ok" while idle: reads the list from its start row (or the first selected one).
    bool Start();
    void OnJobEnded(bool retrieved);
    void ShowQueue();
    void Tick();
    template <typename F> void Queue(F f);

    AppState& m_app;
    InetSlot& m_slot;
    bool m_crawl;
    bool m_closing = false;
    bool m_cancelled = false;
    int m_dots = 0;
    CrawlQueue m_queue;
    CrawlSettings m_settings;
    QTreeWidget* m_list = nullptr;
    QLabel* m_urlLine = nullptr;
    QLabel* m_saveLine = nullptr;
    QLabel* m_statusLine = nullptr;
    QLabel* m_counterLine = nullptr;
    QLineEdit* m_retries = nullptr;
    QCheckBox* m_selectedNext = nullptr;
    QCheckBox* m_closeWhenFinished = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    QTimer* m_timer = nullptr;
    CrawlWindowReport m_report;
    // Last: ends (and joins) the crawl before anything it uses goes.
    CrawlRunner m_runner;
};

} // namespace lt
