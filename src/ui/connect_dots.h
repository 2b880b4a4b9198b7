// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QTimer;

namespace lt {

struct AppState;
struct InetSlot;

// Once a second while the slot's request is connecting, the status bar shows "Connect to server"
// with one more " ." (back to one after 40).
class ConnectDots : public QObject
{
    Q_OBJECT

public:
    ConnectDots(AppState& app, InetSlot& slot, QObject* parent);
    void Tick();

private:
    AppState& m_app;
    InetSlot& m_slot;
    QTimer* m_timer = nullptr;
    int m_count = 0;
};

} // namespace lt
