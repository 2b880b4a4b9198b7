// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/status_test_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QTime>
#include <QTimer>
#include <QVBoxLayout>
#include <QVariant>

#include "core/app_state.h"
#include "core/job_control.h"
#include "inet/inet_slot.h"
#include "inet/inet_texts.h"
#include "ui/cell_text.h"
#include "ui/job_window_place.h"
#include "ui/main_window.h"
#include "ui/result_table_model.h"

namespace lt {
namespace {

constexpr uint32_t kFirstStatusSlot = 3;
constexpr uint32_t kLastStatusSlot = 15;
constexpr std::size_t kAskBeforeClosingAbove = 8;
constexpr int kDotsWrap = 30;
const char* const kTitle = "Test Url Status";
// Where the main window keeps the place and column widths of the last status window.

std::string Trimmed(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

int NumberIn(const QLineEdit* edit, int fallback)
{
    bool ok = false;
    const int value = edit->text().trimmed().toInt(&ok);
    return ok && value >= 0 ? value : fallback;
}

} // namespace

// Carries the job's reports to the window's thread; a report still queued when the window goes is
// dropped with it.
class StatusTestWindow::Observer : public StatusTestObserver
{
public:
    explicit Observer(StatusTestWindow& window) : m_window(window) {}

    void Caption(const std::string& text, bool) override
    {
        Post([text](StatusTestWindow& w) { w.setWindowTitle(DecodeBytes(text)); });
    }
    void UrlLine(const std::string& url) override
    {
        Post([url](StatusTestWindow& w) { w.m_urlLine->setText(DecodeBytes(url)); });
    }
    void StateLine(const std::string& text) override
    {
        Post([text](StatusTestWindow& w) {
            w.m_stateLine->setText(DecodeBytes(text));
            const bool delaying = text.rfind("Status: Delay", 0) == 0;
            if (delaying && !w.m_delaying)
                w.setWindowTitle(QLatin1String(kTitle));
            w.m_delaying = delaying;
        });
    }
    void CounterLine(const std::string& text) override
    {
        Post([text](StatusTestWindow& w) { w.m_counterLine->setText(DecodeBytes(text)); });
    }
    void RetriesLeft(int retries) override
    {
        Post([retries](StatusTestWindow& w) { w.m_retries->setText(QString::number(retries)); });
    }
    void SelectedNextTaken(std::size_t) override
    {
        Post([](StatusTestWindow& w) { w.m_selectedNext->setChecked(false); });
    }

private:
    template <typename F>
    void Post(F f)
    {
        StatusTestWindow* window = &m_window;
        QMetaObject::invokeMethod(window, [window, f] { f(*window); }, Qt::QueuedConnection);
    }
    StatusTestWindow& m_window;
};

StatusTestWindow* StatusTestWindow::Open(MainWindow& main)
{
    AppState& app = main.App();
    InetSlot* slot = nullptr;
    for (uint32_t i = kFirstStatusSlot; i <= kLastStatusSlot && !slot; ++i) {
        uint32_t expected = kSlotFree;
        if (app.inetSlots[i].state.compare_exchange_strong(expected, kSlotReserved))
            slot = &app.inetSlots[i];
    }
    if (!slot)
        return nullptr;
    slot->retrieved = 0;
    slot->startIndex = 0;
    auto* window = new StatusTestWindow(main, *slot);
    main.SyncSelectionToList();
    if (!app.list.SelectedRows().empty()) {
        AddSelectedRows(window->m_rows, app.list, FindStatusColumn(app.list, app.listState.statusColumn));
        window->m_fromResultList = true;
    } else if (AddLinksFromText(window->m_rows, app.tables, app.ui.ClipboardText(), app.settings.findHttps) == 0) {
        app.ui.ShowMessage("No Urls in Clipboard !", "LinkTrawl", MsgStyle{});
    }
    window->m_model->Refresh();
    window->m_counterLine->setText(DecodeBytes(CounterText(static_cast<long>(window->m_rows.Count()), 0, 2)));
    slot->state = kSlotIdle;
    RestoreJobWindowPlace(app, kStatusWindowRecord, *window, *window->m_view->horizontalHeader());
    window->show();
    return window;
}

StatusTestWindow::StatusTestWindow(MainWindow& main, InetSlot& slot)
    : QWidget(&main, Qt::Window), m_main(main), m_app(main.App()), m_slot(slot),
      m_observer(std::make_unique<Observer>(*this)), m_runner(slot)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QLatin1String(kTitle));
    resize(620, 420);

    m_model = new ResultTableModel(m_app, m_rows.Rows(), this);
    m_model->SetPollInterval(100);
    m_view = new QTableView(this);
    m_view->setModel(m_model);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_view->verticalHeader()->hide();
    const std::vector<ColumnState> columns = m_rows.Rows().Columns();
    for (std::size_t c = 0; c < columns.size(); ++c)
        m_view->setColumnWidth(static_cast<int>(c), columns[c].width);
    connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { SyncSelection(); });

    m_urlLine = new QLabel(this);
    m_stateLine = new QLabel(this);
    m_counterLine = new QLabel(this);
    m_ok = new QPushButton(QStringLiteral("&OK"), this);
    m_cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    m_deleteOk = new QPushButton(QStringLiteral("Delete Ok&Items"), this);
    m_selectedNext = new QCheckBox(QStringLiteral("Selected item &next"), this);
    const InetOptions& inet = m_app.options.inet;
    m_retries = new QLineEdit(QString::number(inet.retries), this);
    m_retries->setMaximumWidth(60);
    m_delay = new QLineEdit(QString::number(inet.delayMinutes), this);
    m_delay->setMaximumWidth(60);
    m_controls.delayMinutes = inet.delayMinutes;
    connect(m_ok, &QPushButton::clicked, this, &StatusTestWindow::PressOk);
    connect(m_cancel, &QPushButton::clicked, this, &StatusTestWindow::PressCancel);
    connect(m_deleteOk, &QPushButton::clicked, this, &StatusTestWindow::DeleteOkItems);
    connect(m_selectedNext, &QCheckBox::toggled, this, [this](bool on) {
        if (Running())
            m_controls.selectedNext = on;
    });
    // A new delay counts from the next pass on.
    connect(m_delay, &QLineEdit::textChanged, this,
            [this] { m_controls.delayMinutes = NumberIn(m_delay, m_controls.delayMinutes.load()); });

    auto* lines = new QVBoxLayout;
    lines->addWidget(m_urlLine);
    lines->addWidget(m_stateLine);
    lines->addWidget(m_counterLine);
    auto* controls = new QGridLayout;
    controls->addWidget(new QLabel(QStringLiteral("Retries:"), this), 0, 0);
    controls->addWidget(m_retries, 0, 1);
    controls->addWidget(new QLabel(QStringLiteral("Delay (min):"), this), 0, 2);
    controls->addWidget(m_delay, 0, 3);
    controls->addWidget(m_selectedNext, 0, 4);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    buttons->addStretch(1);
    buttons->addWidget(m_deleteOk);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_view, 1);
    layout->addLayout(lines);
    layout->addLayout(controls);
    layout->addLayout(buttons);

    m_timer = new QTimer(this);
    m_timer->setInterval(1000);
    connect(m_timer, &QTimer::timeout, this, &StatusTestWindow::OnTick);
    ShowIdle();
}

StatusTestWindow::~StatusTestWindow()
{
    // Also when the main window goes first: the job ends before the rows it writes.
    m_runner.Cancel();
    m_runner.Join();
    m_slot.state = kSlotFree;
}

void StatusTestWindow::PressOk()
{
    if (Running()) {
        m_runner.Skip();
        return;
    }
    if (m_rows.Count() == 0)
        return;
    std::size_t start = 0;
    if (m_selectedNext->isChecked()) {
        SyncSelection();
        const std::vector<std::size_t> selected = m_rows.Rows().SelectedRows();
        if (!selected.empty())
            start = selected.front();
        m_selectedNext->setChecked(false);
    }
    if (Trimmed(m_rows.Url(start)).size() < 5)
        return;
    InetOptions& inet = m_app.options.inet;
    inet.retries = NumberIn(m_retries, inet.retries);
    inet.delayMinutes = NumberIn(m_delay, inet.delayMinutes);
    StatusTestSettings settings;
    settings.retries = inet.retries;
    settings.parallel = inet.parallelRequests;
    settings.fetch = FetchSettingsFrom(inet, false);
    m_controls.delayMinutes = inet.delayMinutes;
    m_controls.selectedNext = false;
    m_controls.delayEvent.Reset();
    m_slot.startIndex = static_cast<uint32_t>(start);
    m_counterLine->setText(QStringLiteral("OK Items:"));
    setWindowTitle(QLatin1String(kTitle));
    setWindowIcon(QIcon());
    m_ok->setText(QStringLiteral("&Skip"));
    m_deleteOk->setEnabled(false);
    m_dots = 0;
    m_delaying = false;
    const bool started = m_runner.Start(m_rows, m_controls, settings, *m_clock, *m_observer,
                                        [this](const StatusTestResult& result) {
                                            QMetaObject::invokeMethod(
                                                this, [this, result] { OnJobEnded(result); }, Qt::QueuedConnection);
                                        });
    if (started)
        m_timer->start();
}

void StatusTestWindow::PressCancel()
{
    if (Running()) {
        m_runner.Cancel();
        return;
    }
    close();
}

void StatusTestWindow::closeEvent(QCloseEvent* event)
{
    if (!Running() && m_rows.Count() > kAskBeforeClosingAbove &&
        m_app.ui.ShowMessage("Close Test Url Status Window ?", "LinkTrawl",
                             MsgStyle{MsgButtons::YesNo, MsgIcon::Question}) != MsgAnswer::Yes) {
        event->ignore();
        return;
    }
    m_runner.Cancel();
    m_runner.Join();
    WriteBack();
    StoreJobWindowPlace(m_app, kStatusWindowRecord, *this, *m_view->horizontalHeader());
    m_slot.state = kSlotFree;
    event->accept();
}

void StatusTestWindow::DeleteOkItems()
{
    if (Running())
        return;
    m_rows.DeleteOkRows();
    m_slot.retrieved = 0;
    m_counterLine->setText(DecodeBytes(CounterText(static_cast<long>(m_rows.Count()), 0, 2)));
    m_model->Refresh();
}

void StatusTestWindow::OnTick()
{
    if (!Running() || m_delaying)
        return;
    m_dots = m_dots % kDotsWrap + 1;
    QString caption = QStringLiteral("Connect to server");
    for (int i = 0; i < m_dots; ++i)
        caption += QStringLiteral(" .");
    setWindowTitle(caption);
}

void StatusTestWindow::OnJobEnded(const StatusTestResult& result)
{
    m_runner.Join();
    m_timer->stop();
    m_delaying = false;
    m_ok->setText(QStringLiteral("&OK"));
    m_deleteOk->setEnabled(true);
    if (!result.error.empty()) {
        setWindowTitle(DecodeBytes(result.error));
        setWindowIcon(style()->standardIcon(QStyle::SP_MessageBoxCritical));
    } else {
        setWindowTitle(QLatin1String(kTitle));
    }
    ShowIdle();
    m_model->Refresh();
    WriteBack();
}

void StatusTestWindow::ShowIdle()
{
    const QTime now = QTime::currentTime();
    m_stateLine->setText(DecodeBytes(JobStateText(0, now.hour(), now.minute())));
}

void StatusTestWindow::SyncSelection()
{
    std::vector<std::size_t> rows;
    for (const QModelIndex& index : m_view->selectionModel()->selectedRows())
        rows.push_back(static_cast<std::size_t>(index.row()));
    std::sort(rows.begin(), rows.end());
    m_rows.Rows().SetSelectedRows(rows);
}

void StatusTestWindow::WriteBack()
{
    // The result list takes the statuses only while no job adds rows to it; the next end or the
    // closing of this window tries again.
    const int32_t code = m_app.jobs.Code();
    if (!m_fromResultList || m_app.jobs.listBusy.load() || (code != 0 && code != kJobCrawlIdle))
        return;
    if (WriteStatusesBack(m_rows, m_app.list, m_app.listState) > 0) {
        m_main.RefreshList();
        m_main.ApplyColumnWidths();
    }
}

} // namespace lt
