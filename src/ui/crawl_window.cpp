// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/crawl_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QMetaObject>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "core/app_state.h"
#include "core/cp1252.h"
#include "core/messages.h"
#include "core/window_messages.h"
#include "inet/inet_slot.h"
#include "inet/quick_read.h"
#include "inet/save_names.h"
#include "inet/urls_from_file.h"
#include "ui/cell_text.h"
#include "ui/connect_dots.h"
#include "ui/job_window_place.h"

namespace lt {

namespace {

constexpr int kCloseQuestionRows = 8;
constexpr std::size_t kMinUrl = 5;
const char* const kCaption = "Read Internet Files";

QStringList Decoded(const std::vector<std::string>& cells)
{
    QStringList out;
    for (const std::string& cell : cells)
        out << DecodeBytes(cell);
    return out;
}

} // namespace

CrawlWindow::CrawlWindow(AppState& app, bool crawl, QWidget* parent)
    : QWidget(parent, Qt::Window), m_app(app), m_slot(app.inetSlots[0]), m_crawl(crawl),
      m_report(*this, crawl), m_runner(app, app.inetSlots[0])
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromLatin1(kCaption));
    m_slot.state = kSlotIdle;
    if (m_app.jobs.Code() == kJobIdle)
        m_app.jobs.jobCode = kJobCrawlIdle;
    AttachCrawlStop(m_app);
    m_settings = CrawlSettingsFrom(m_app.options.inet);
    m_settings.followLinks = crawl;

    auto* layout = new QVBoxLayout(this);
    m_list = new QTreeWidget(this);
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setHeaderLabels(Decoded(CrawlListHeaders(crawl)));
    if (crawl)
        m_list->header()->resizeSection(0, 360);
    layout->addWidget(m_list, 1);

    m_urlLine = new QLabel(this);
    m_saveLine = new QLabel(this);
    m_statusLine = new QLabel(this);
    m_counterLine = new QLabel(this);
    for (QLabel* line : {m_urlLine, m_saveLine, m_statusLine, m_counterLine}) {
        line->setTextInteractionFlags(Qt::TextSelectableByMouse);
        layout->addWidget(line);
    }
    if (m_settings.saveToDisk)
        m_saveLine->setText(DecodePath(m_settings.saveDir));
    m_report.StateLine(0);

    auto* controls = new QHBoxLayout;
    controls->addWidget(new QLabel(QStringLiteral("Retries:"), this));
    m_retries = new QLineEdit(QString::number(m_settings.retries), this);
    m_retries->setValidator(new QIntValidator(0, 999, m_retries));
    m_retries->setMaximumWidth(60);
    controls->addWidget(m_retries);
    m_selectedNext = new QCheckBox(QStringLiteral("Selected item &next"), this);
    m_closeWhenFinished = new QCheckBox(QStringLiteral("Close &when finished"), this);
    controls->addWidget(m_selectedNext);
    controls->addWidget(m_closeWhenFinished);
    controls->addStretch(1);
    m_ok = new QPushButton(QStringLiteral("&Ok"), this);
    m_cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    controls->addWidget(m_ok);
    controls->addWidget(m_cancel);
    layout->addLayout(controls);
    connect(m_ok, &QPushButton::clicked, this, &CrawlWindow::OkPressed);
    connect(m_cancel, &QPushButton::clicked, this, &CrawlWindow::CancelPressed);

    new ConnectDots(m_app, m_slot, this);
    resize(720, 420);
    RestoreJobWindowPlace(m_app, kCrawlWindowRecord, *this, *m_list->header());
}

CrawlWindow::~CrawlWindow()
{
    m_runner.Cancel();
    m_runner.Join();
    if (!m_closing) {
        m_slot.state = kSlotFree;
        if (m_app.jobs.Code() == kJobCrawlIdle)
            m_app.jobs.jobCode = kJobIdle;
    }
}

template <typename F> void CrawlWindow::Queue(F f)
{
    QMetaObject::invokeMethod(this, std::move(f), Qt::QueuedConnection);
}

bool CrawlWindow::Running() const { return m_runner.Running(); }

bool CrawlWindow::StartCrawl(const std::string& startUrl, const std::string& urlFile, std::string& error)
{
    if (!startUrl.empty())
        m_queue.Add(startUrl, 0, {});
    if (!urlFile.empty()) {
        std::string first;
        if (UrlsFromFile(m_queue, urlFile, m_app.startup.programFolder, first, error) < 0)
            return false;
    }
    ShowQueue();
    if (m_queue.Rows().empty()) {
        error = "No Urls found in " + urlFile;
        return false;
    }
    return Start();
}

void CrawlWindow::AddUrls(const std::vector<std::string>& urls)
{
    if (Running())
        return;
    for (const std::string& url : urls)
        if (url.size() >= kMinUrl)
            m_queue.Add(url, 0, {});
    // A list read shows its rows sorted; the job reads them in that order.
    if (!m_crawl) {
        std::stable_sort(m_queue.Rows().begin(), m_queue.Rows().end(),
                         [](const CrawlRow& a, const CrawlRow& b) { return Cp1252CompareNoCase(a.url, b.url) < 0; });
    }
    ShowQueue();
}

void CrawlWindow::ShowQueue()
{
    m_list->clear();
    QList<QTreeWidgetItem*> items;
    for (const CrawlRow& row : m_queue.Rows())
        items << new QTreeWidgetItem(Decoded(CrawlRowCells(row, m_crawl)));
    m_list->addTopLevelItems(items);
}

bool CrawlWindow::Start()
{
    auto& rows = m_queue.Rows();
    if (Running() || rows.empty())
        return false;
    m_counterLine->clear();
    std::size_t start = 0;
    if (m_selectedNext->isChecked()) {
        int first = -1;
        for (QTreeWidgetItem* item : m_list->selectedItems()) {
            const int at = m_list->indexOfTopLevelItem(item);
            if (at >= 0 && (first < 0 || at < first))
                first = at;
        }
        if (first >= 0)
            start = static_cast<std::size_t>(first);
        m_selectedNext->setChecked(false);
    }
    if (start >= rows.size() || rows[start].url.size() < kMinUrl)
        return false;
    if (m_settings.saveToDisk && !EnsureDirectory(m_settings.saveDir, true)) {
        ShowMessage(m_app, "Can not create/open directory\r\n" + m_settings.saveDir + " !", "Error",
                    {MsgButtons::Ok, MsgIcon::Error});
        return false;
    }
    m_settings.retries = m_retries->text().toInt();
    if (!m_settings.saveOnly && !PrepareCrawlResults(m_app, m_settings.saveToDisk)) {
        ShowMessage(m_app, "The search settings cannot be used (check the item kind)", "LinkTrawl",
                    {MsgButtons::Ok, MsgIcon::Warning});
        return false;
    }
    // The main list names where its rows come from.
    m_app.status.SetStatusText(rows[start].url + (m_crawl ? ", ..." : ""), 0);
    m_slot.startIndex = static_cast<uint32_t>(start);
    m_ok->setText(QStringLiteral("&Skip"));
    const bool started =
        m_runner.Start(m_settings, FetchSettingsFrom(m_app.options.inet, true), m_queue, m_report,
                       [this](const CrawlResult& result) {
                           const int left = result.retriesLeft;
                           Queue([this, left] { m_retries->setText(QString::number(left)); });
                           m_report.JobEnded(result);
                       });
    if (!started)
        m_ok->setText(QStringLiteral("&Ok"));
    return started;
}

void CrawlWindow::OkPressed()
{
    if (Running())
        m_runner.Skip();
    else
        Start();
}

void CrawlWindow::CancelPressed()
{
    if (Running()) {
        m_cancelled = true;
        m_runner.Cancel();
        return;
    }
    if (m_queue.Rows().size() > kCloseQuestionRows &&
        ShowMessage(m_app, "Close Read Internet Files Window ?", "LinkTrawl", {MsgButtons::YesNo, MsgIcon::Question}) !=
            MsgAnswer::Yes)
        return;
    close();
}

void CrawlWindow::OnJobEnded(bool retrieved)
{
    m_ok->setText(QStringLiteral("&Ok"));
    if (m_cancelled)
        setWindowTitle(QString::fromLatin1(kCaption));
    m_cancelled = false;
    if (retrieved && m_queue.Rows().empty() && m_closeWhenFinished->isChecked())
        close();
}

void CrawlWindow::closeEvent(QCloseEvent* event)
{
    // The crawl ends before the window goes: its calls must find the window.
    m_runner.Cancel();
    m_runner.Join();
    m_closing = true;
    StoreJobWindowPlace(m_app, kCrawlWindowRecord, *this, *m_list->header());
    m_slot.state = kSlotFree;
    const int32_t code = m_app.jobs.Code();
    if (code == kJobCrawlIdle || code == kJobInetStop)
        m_app.jobs.jobCode = kJobIdle;
    event->accept();
}

void CrawlWindow::SetCaption(const std::string& text)
{
    Queue([this, text] { setWindowTitle(DecodeBytes(text)); });
}

void CrawlWindow::SetUrlLine(const std::string& text)
{
    Queue([this, text] { m_urlLine->setText(DecodeBytes(text)); });
}

void CrawlWindow::SetSaveLine(const std::string& text)
{
    Queue([this, text] { m_saveLine->setText(DecodePath(text)); });
}

void CrawlWindow::SetStatusLine(const std::string& text)
{
    Queue([this, text] { m_statusLine->setText(DecodeBytes(text)); });
}

void CrawlWindow::SetCounterLine(const std::string& text)
{
    Queue([this, text] { m_counterLine->setText(DecodeBytes(text)); });
}

void CrawlWindow::AddRow(const std::vector<std::string>& cells)
{
    Queue([this, cells] { m_list->addTopLevelItem(new QTreeWidgetItem(Decoded(cells))); });
}

void CrawlWindow::RemoveRow(std::size_t row)
{
    Queue([this, row] { delete m_list->takeTopLevelItem(static_cast<int>(row)); });
}

void CrawlWindow::SetCell(std::size_t row, int column, const std::string& text)
{
    Queue([this, row, column, text] {
        if (QTreeWidgetItem* item = m_list->topLevelItem(static_cast<int>(row)))
            item->setText(column, DecodeBytes(text));
    });
}

void CrawlWindow::ShowRow(std::size_t row)
{
    Queue([this, row] {
        if (QTreeWidgetItem* item = m_list->topLevelItem(static_cast<int>(row))) {
            m_list->setCurrentItem(item);
            m_list->scrollToItem(item);
        }
    });
}

void CrawlWindow::Post(int message, std::intptr_t param)
{
    if (message == kMsgCloseIfIdle)
        Queue([this, param] { OnJobEnded(param != 0); });
}

} // namespace lt
