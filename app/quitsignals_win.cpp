// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/quitsignals.h"
#include <QCoreApplication>
#include <QMetaObject>
#include <atomic>
#include <windows.h>

namespace {
std::atomic_bool terminating = false;
std::atomic_bool quitDone = false;

// Windows calls this on a thread of its own: the quit is handed to the event loop's thread.
BOOL WINAPI onConsoleEvent(DWORD event) {
    switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
        break;
    default:
        return FALSE;
    }
    terminating = true;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
    // The system ends the process as soon as this returns from a console's close, a log-off or a
    // shutdown: give the orderly quit the time Windows allows (5 s) to finish first.
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
        for (int waited = 0; waited < 4500 && !quitDone; waited += 50)
            Sleep(50);
    return TRUE;
}
} // namespace

void quitOnTerminationSignals() {
    // Runs when the application object goes, after everything connected to aboutToQuit.
    qAddPostRoutine([] { quitDone = true; });
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

bool terminationRequested() {
    return terminating;
}
