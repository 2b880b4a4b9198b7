// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/batch_download_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTime>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/app_state.h"
#include "core/messages.h"
#include "inet/inet_slot.h"
#include "inet/inet_texts.h"
#include "inet/save_names.h"
#include "inet/save_target.h"
#include "ui/cell_text.h"
#include "ui/job_window_place.h"

namespace lt {
namespace {

constexpr const char* kCaption = "Download Urls";

QString Text(const std::string& bytes) { return DecodeBytes(bytes); }

int NumberIn(const QLineEdit* edit)
{
    bool ok = false;
    const int value = edit->text().trimmed().toInt(&ok);
    return ok && value > 0 ? value : 0;
}

} // namespace

// Carries the job's reports to the window thread; the list changes arrive in the order the job
// made them, so the shown list follows the job's.
class BatchDownloadWindow::Observer : public DownloadObserver
{
public:
    explicit Observer(BatchDownloadWindow& window) : m_window(window) {}

    void Caption(const std::string& text, bool) override
    {
        m_window.Post([w = &m_window, text] {
            w->SetConnecting(false);
            w->setWindowTitle(Text(text));
        });
    }
    void UrlLine(const std::string& url) override
    {
        m_window.Post([w = &m_window, url] { w->m_urlLine->setText(Text(url)); });
    }
    void SaveLine(const std::string& path) override
    {
        m_window.Post([w = &m_window, path] { w->m_saveLine->setText(QStringLiteral("Save to: ") + DecodePath(path)); });
    }
    void StateLine(const std::string& text) override
    {
        const bool connecting = text == JobStateText(1, 0, 0);
        m_window.Post([w = &m_window, text, connecting] {
            w->m_status->setText(Text(text));
            w->SetConnecting(connecting);
        });
    }
    void CounterLine(const std::string& text) override
    {
        m_window.Post([w = &m_window, text] { w->m_counter->setText(Text(text)); });
    }
    void RowInfo(std::size_t row, const std::string& text) override
    {
        m_window.Post([w = &m_window, row, text] {
            if (QTreeWidgetItem* item = w->m_list->topLevelItem(static_cast<int>(row)))
                item->setText(1, Text(text));
        });
    }
    void RowRemoved(std::size_t row) override
    {
        m_window.Post([w = &m_window, row] { delete w->m_list->takeTopLevelItem(static_cast<int>(row)); });
    }
    void RetriesLeft(int retries) override
    {
        m_window.Post([w = &m_window, retries] { w->m_retries->setText(QString::number(retries)); });
    }
    bool TakeSelectedNext(std::string& url) override
    {
        {
            std::lock_guard lock(m_window.m_pickMutex);
            if (!m_window.m_pickNext || m_window.m_pickUrl.empty())
                return false;
            m_window.m_pickNext = false;
            url = m_window.m_pickUrl;
        }
        m_window.Post([w = &m_window] { w->m_selectedNext->setChecked(false); });
        return true;
    }
    void Message(const std::string& text, const std::string& caption) override
    {
        ShowMessage(m_window.m_app, text, caption, {MsgButtons::Ok, MsgIcon::Error});
    }

private:
    BatchDownloadWindow& m_window;
};

BatchDownloadWindow::BatchDownloadWindow(AppState& app, InetSlot& slot, const std::vector<std::string>& urls,
                                         QWidget* parent, const DelayClock* clock)
    : QWidget(parent, Qt::Window), m_app(app), m_slot(slot), m_observer(std::make_unique<Observer>(*this)),
      m_runner(slot, clock)
{
    setWindowTitle(QString::fromLatin1(kCaption));
    m_slot.state = kSlotIdle;
    AddDownloadRows(m_rows, urls);
    const InetOptions& inet = app.options.inet;

    auto* layout = new QVBoxLayout(this);
    m_list = new QTreeWidget(this);
    m_list->setColumnCount(2);
    m_list->setHeaderLabels({QStringLiteral("Remote File"), QString()});
    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->header()->resizeSection(0, 420);
    for (const DownloadRow& row : m_rows)
        m_list->addTopLevelItem(new QTreeWidgetItem(QStringList{Text(row.url), Text(row.info)}));
    layout->addWidget(m_list, 1);

    auto* form = new QFormLayout;
    auto* dirRow = new QHBoxLayout;
    m_saveDir = new QLineEdit(DecodePath(DefaultDownloadDir(inet)), this);
    auto* browse = new QPushButton(QStringLiteral("Select Directory"), this);
    dirRow->addWidget(m_saveDir, 1);
    dirRow->addWidget(browse);
    form->addRow(QStringLiteral("Save to directory"), dirRow);
    m_retries = new QLineEdit(QString::number(inet.retries), this);
    m_retries->setValidator(new QIntValidator(0, 9999, m_retries));
    form->addRow(QStringLiteral("Retries"), m_retries);
    m_delay = new QLineEdit(QString::number(inet.delayMinutes), this);
    m_delay->setValidator(new QIntValidator(0, 9999, m_delay));
    form->addRow(QStringLiteral("Delay (min)"), m_delay);
    layout->addLayout(form);

    m_closeWhenFinished = new QCheckBox(QStringLiteral("Close &when finished"), this);
    m_selectedNext = new QCheckBox(QStringLiteral("Selected item &next"), this);
    m_logUrl = new QCheckBox(QStringLiteral("Log &Url"), this);
    m_logUrl->setChecked(app.options.logUrl);
    auto* checks = new QHBoxLayout;
    checks->addWidget(m_closeWhenFinished);
    checks->addWidget(m_selectedNext);
    checks->addWidget(m_logUrl);
    checks->addStretch(1);
    layout->addLayout(checks);

    m_urlLine = new QLabel(this);
    m_saveLine = new QLabel(QStringLiteral("Save to:"), this);
    m_status = new QLabel(QStringLiteral("Status: Idle ..."), this);
    m_counter = new QLabel(QStringLiteral("Retrieved:"), this);
    for (QLabel* line : {m_urlLine, m_saveLine, m_status, m_counter}) {
        line->setTextInteractionFlags(Qt::TextSelectableByMouse);
        layout->addWidget(line);
    }

    auto* buttons = new QHBoxLayout;
    m_ok = new QPushButton(QStringLiteral("&Ok"), this);
    m_cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    m_ok->setDefault(true);
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    layout->addLayout(buttons);
    resize(640, 480);

    m_timer = new QTimer(this);
    m_timer->setInterval(1000);
    connect(m_timer, &QTimer::timeout, this, [this] { OnTick(); });
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString chosen =
            QFileDialog::getExistingDirectory(this, QStringLiteral("Select Directory"), m_saveDir->text());
        if (!chosen.isEmpty())
            m_saveDir->setText(chosen);
    });
    connect(m_ok, &QPushButton::clicked, this, [this] { Ok(); });
    connect(m_cancel, &QPushButton::clicked, this, [this] { Cancel(); });
    connect(m_selectedNext, &QCheckBox::toggled, this, [this] { UpdatePick(); });
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, [this] { UpdatePick(); });
    RestoreJobWindowPlace(m_app, kBatchDownloadWindowRecord, *this, *m_list->header());
}

BatchDownloadWindow::~BatchDownloadWindow()
{
    m_runner.Cancel();
    m_runner.Join();
    if (m_slot.state.load() != kSlotClosing)
        m_slot.state = kSlotFree;
}

void BatchDownloadWindow::Post(std::function<void()> call)
{
    QMetaObject::invokeMethod(this, std::move(call), Qt::QueuedConnection);
}

bool BatchDownloadWindow::Running() const { return m_runner.Running(); }

void BatchDownloadWindow::UpdatePick()
{
    std::string url;
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        if (m_list->topLevelItem(i)->isSelected()) {
            url = EncodeText(m_list->topLevelItem(i)->text(0));
            break;
        }
    }
    std::lock_guard lock(m_pickMutex);
    m_pickNext = m_selectedNext->isChecked();
    m_pickUrl = url;
}

bool BatchDownloadWindow::Ok()
{
    if (Running()) {
        // During a delay "&OK" starts the next pass; during a transfer it skips the file.
        m_runner.EndDelay();
        m_runner.Skip();
        return true;
    }
    if (m_rows.empty())
        return false;
    std::size_t start = 0;
    if (m_selectedNext->isChecked()) {
        for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
            if (m_list->topLevelItem(i)->isSelected()) {
                start = static_cast<std::size_t>(i);
                break;
            }
        }
        m_selectedNext->setChecked(false);
    }
    if (start >= m_rows.size())
        return false;
    const std::string url = m_rows[start].url;
    if (url.find_first_not_of(" \t") == std::string::npos || url.size() < 5)
        return false;
    std::string dir = EncodePath(m_saveDir->text().trimmed());
    while (dir.size() > 1 && dir.back() == '/')
        dir.pop_back();
    if (dir.empty())
        return false;
    if (!EnsureDirectory(dir, true)) {
        ShowMessage(m_app, CannotCreateDirectoryText(dir), "Error", {MsgButtons::Ok, MsgIcon::Error});
        return false;
    }
    m_app.options.inet.downloadDir = dir;
    DownloadSettings settings;
    settings.saveDir = dir;
    settings.retries = NumberIn(m_retries);
    settings.delayMinutes = NumberIn(m_delay);
    settings.logUrl = m_logUrl->isChecked();
    settings.parallel = m_app.options.inet.parallelRequests;
    m_counter->clear();
    UpdatePick();
    const bool started = m_runner.StartBatch(m_rows, settings, FetchSettingsFrom(m_app.options.inet, false), start,
                                             *m_observer, [this](const DownloadResult& result) {
                                                 Post([this, result] { OnJobEnded(result); });
                                             });
    if (started)
        m_ok->setText(QStringLiteral("&Skip"));
    return started;
}

void BatchDownloadWindow::Cancel()
{
    if (Running()) {
        m_runner.Cancel();
        return;
    }
    if (m_rows.size() > 8 &&
        ShowMessage(m_app, "Close Batch Download Window ?", "LinkTrawl", {MsgButtons::YesNo, MsgIcon::Question}) !=
            MsgAnswer::Yes)
        return;
    close();
}

void BatchDownloadWindow::closeEvent(QCloseEvent* event)
{
    // A running job ends first; its files are left as a cancel leaves them.
    m_runner.Cancel();
    m_runner.Join();
    StoreJobWindowPlace(m_app, kBatchDownloadWindowRecord, *this, *m_list->header());
    event->accept();
}

void BatchDownloadWindow::SetConnecting(bool on)
{
    m_connecting = on;
    m_dots = 0;
    if (on) {
        setWindowTitle(QStringLiteral("Connect to server"));
        m_timer->start();
    } else {
        m_timer->stop();
    }
}

void BatchDownloadWindow::OnTick()
{
    if (!m_connecting)
        return;
    m_dots = m_dots >= 30 ? 1 : m_dots + 1;
    setWindowTitle(QStringLiteral("Connect to server") + QStringLiteral(" .").repeated(m_dots));
}

void BatchDownloadWindow::ShowIdle()
{
    const QTime now = QTime::currentTime();
    m_status->setText(Text(JobStateText(0, now.hour(), now.minute())));
}

void BatchDownloadWindow::OnJobEnded(const DownloadResult& result)
{
    m_runner.Join();
    SetConnecting(false);
    m_ok->setText(QStringLiteral("&Ok"));
    if (result.cancelled)
        setWindowTitle(QString::fromLatin1(kCaption));
    ShowIdle();
    if (result.retrieved > 0 && m_rows.empty() && m_closeWhenFinished->isChecked())
        close();
}

} // namespace lt
