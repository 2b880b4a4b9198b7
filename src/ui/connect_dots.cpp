// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/connect_dots.h"

#include <QTimer>

#include "core/app_state.h"
#include "inet/inet_slot.h"

namespace lt {

namespace {
constexpr int kMaxDots = 40;
}

ConnectDots::ConnectDots(AppState& app, InetSlot& slot, QObject* parent) : QObject(parent), m_app(app), m_slot(slot)
{
    m_timer = new QTimer(this);
    connect(m_timer, &QTimer::timeout, this, &ConnectDots::Tick);
    m_timer->start(1000);
}

void ConnectDots::Tick()
{
    if (m_slot.state.load() != kSlotRunning || m_slot.connectTicks.load() < 0) {
        m_count = 0;
        return;
    }
    m_count = m_count >= kMaxDots ? 1 : m_count + 1;
    std::string text = "Connect to server";
    for (int i = 0; i < m_count; ++i)
        text += " .";
    m_app.status.SetStatusText(text, 1, 0);
}

} // namespace lt
