// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QThread>

namespace lt::test {

// The one QApplication of the UI tests (offscreen platform, set by ctest).
inline QApplication& Application()
{
    static int argc = 1;
    static char name[] = "ui_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    return *app;
}

// Processes events until `done` holds or about `milliseconds` passed.
template <typename F> bool WaitFor(F done, int milliseconds = 5000)
{
    Application();
    for (int waited = 0; waited < milliseconds; waited += 5) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (done())
            return true;
        QThread::msleep(5);
    }
    QCoreApplication::processEvents();
    return done();
}

} // namespace lt::test
