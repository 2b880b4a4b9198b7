// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/download_url_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "core/app_state.h"
#include "core/messages.h"
#include "inet/inet_slot.h"
#include "inet/save_names.h"
#include "inet/save_target.h"
#include "ui/cell_text.h"

namespace lt {
namespace {

constexpr const char* kCaption = "Download Url";
constexpr std::size_t kProposedNameLimit = 32;

} // namespace

// Carries the job's reports to the window thread. The redirect question blocks the job until the
// user has answered it on the window thread (the port does that).
class DownloadUrlWindow::Observer : public DownloadObserver
{
public:
    explicit Observer(DownloadUrlWindow& window) : m_window(window) {}

    void Caption(const std::string& text, bool) override
    {
        const bool connecting = text == "Connect to server";
        m_window.Post([w = &m_window, text, connecting] {
            w->setWindowTitle(DecodeBytes(text));
            w->m_dots = 0;
            if (connecting)
                w->m_timer->start();
            else
                w->m_timer->stop();
        });
    }
    void RemoteFileLabel(const std::string& text) override
    {
        m_window.Post([w = &m_window, text] { w->m_remoteLabel->setText(DecodeBytes(text)); });
    }
    bool AskRedirect(const std::string& target) override
    {
        return ShowMessage(m_window.m_app, "Redirected to:\r\n" + target + "\r\nRead redirected page ?", "LinkTrawl",
                           {MsgButtons::YesNo, MsgIcon::Question}) == MsgAnswer::Yes;
    }
    void Message(const std::string& text, const std::string& caption) override
    {
        ShowMessage(m_window.m_app, text, caption, {MsgButtons::Ok, MsgIcon::Error});
    }

private:
    DownloadUrlWindow& m_window;
};

DownloadUrlWindow::DownloadUrlWindow(AppState& app, InetSlot& slot, const std::string& url, QWidget* parent)
    : QWidget(parent, Qt::Window), m_app(app), m_slot(slot), m_observer(std::make_unique<Observer>(*this)),
      m_runner(slot)
{
    setWindowTitle(QString::fromLatin1(kCaption));
    m_slot.state = kSlotIdle;
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    m_remoteLabel = new QLabel(QStringLiteral("Remote file"), this);
    m_remote = new QLineEdit(DecodeBytes(url), this);
    form->addRow(m_remoteLabel, m_remote);
    auto* saveRow = new QHBoxLayout;
    const std::string proposed = MakeSaveName(DefaultDownloadDir(app.options.inet), url);
    m_saveTo = new QLineEdit(DecodePath(proposed), this);
    m_browse = new QPushButton(QStringLiteral("..."), this);
    m_propose = new QPushButton(QStringLiteral("&Propose name"), this);
    saveRow->addWidget(m_saveTo, 1);
    saveRow->addWidget(m_browse);
    saveRow->addWidget(m_propose);
    form->addRow(QStringLiteral("Save to"), saveRow);
    layout->addLayout(form);
    m_closeWhenFinished = new QCheckBox(QStringLiteral("Close &when finished"), this);
    layout->addWidget(m_closeWhenFinished);
    auto* buttons = new QHBoxLayout;
    m_ok = new QPushButton(QStringLiteral("&Ok"), this);
    m_cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    m_ok->setDefault(true);
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    layout->addLayout(buttons);
    resize(560, 150);

    m_timer = new QTimer(this);
    m_timer->setInterval(1000);
    connect(m_timer, &QTimer::timeout, this, [this] {
        m_dots = m_dots >= 30 ? 1 : m_dots + 1;
        setWindowTitle(QStringLiteral("Connect to server") + QStringLiteral(" .").repeated(m_dots));
    });
    connect(m_browse, &QPushButton::clicked, this, [this] {
        const QString chosen = QFileDialog::getSaveFileName(this, QStringLiteral("Save to"), m_saveTo->text());
        if (!chosen.isEmpty())
            m_saveTo->setText(chosen);
    });
    connect(m_propose, &QPushButton::clicked, this, [this] { ProposeName(); });
    connect(m_ok, &QPushButton::clicked, this, [this] { Ok(); });
    connect(m_cancel, &QPushButton::clicked, this, [this] { Cancel(); });
}

DownloadUrlWindow::~DownloadUrlWindow()
{
    m_runner.Cancel();
    m_runner.Join();
    if (m_slot.state.load() != kSlotClosing)
        m_slot.state = kSlotFree;
}

void DownloadUrlWindow::Post(std::function<void()> call)
{
    QMetaObject::invokeMethod(this, std::move(call), Qt::QueuedConnection);
}

bool DownloadUrlWindow::Running() const { return m_runner.Running(); }

void DownloadUrlWindow::ProposeName()
{
    const std::string url = EncodeText(m_remote->text().trimmed());
    const std::string name = MakeSaveName(DefaultDownloadDir(m_app.options.inet), url, kProposedNameLimit);
    if (name.empty())
        return;
    const std::string free = FreeSaveName(name);
    if (!free.empty())
        m_saveTo->setText(DecodePath(free));
}

bool DownloadUrlWindow::Ok()
{
    if (Running())
        return false;
    const std::string url = EncodeText(m_remote->text().trimmed());
    const std::string path = EncodePath(m_saveTo->text().trimmed());
    if (url.empty() || path.size() < 4)
        return false;
    const std::string dir = TargetDirectory(path);
    if (dir.empty() || !EnsureDirectory(dir, true)) {
        ShowMessage(m_app, CannotCreateDirectoryText(dir), "Error", {MsgButtons::Ok, MsgIcon::Error});
        return false;
    }
    bool replace = false;
    switch (CheckSaveTarget(path)) {
    case SaveTargetState::WriteProtected:
        ShowMessage(m_app, WriteProtectedText(path), "Error", {MsgButtons::Ok, MsgIcon::Error});
        return false;
    case SaveTargetState::Exists:
        if (ShowMessage(m_app, OverwriteQuestionText(path), "LinkTrawl", {MsgButtons::YesNo, MsgIcon::Question}) !=
            MsgAnswer::Yes)
            return false;
        replace = true;
        break;
    case SaveTargetState::Free:
        break;
    }
    m_app.options.inet.downloadDir = dir;
    SingleDownload download{url, path, replace, m_app.options.logUrl};
    const bool started = m_runner.StartSingle(download, FetchSettingsFrom(m_app.options.inet, false), *m_observer,
                                              [this](const DownloadResult& result) {
                                                  Post([this, result] { OnJobEnded(result); });
                                              });
    if (started)
        EnableFields(false);
    return started;
}

void DownloadUrlWindow::EnableFields(bool on)
{
    for (QWidget* w : std::initializer_list<QWidget*>{m_remote, m_saveTo, m_browse, m_propose, m_ok})
        w->setEnabled(on);
}

void DownloadUrlWindow::Cancel()
{
    if (Running()) {
        m_runner.Cancel();
        return;
    }
    close();
}

void DownloadUrlWindow::closeEvent(QCloseEvent* event)
{
    m_runner.Cancel();
    m_runner.Join();
    event->accept();
}

void DownloadUrlWindow::OnJobEnded(const DownloadResult& result)
{
    m_runner.Join();
    m_timer->stop();
    EnableFields(true);
    if (result.retrieved > 0 && m_closeWhenFinished->isChecked())
        close();
}

} // namespace lt
