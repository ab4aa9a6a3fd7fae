// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/quitsignals.h"
#include <QCoreApplication>
#include <QSocketNotifier>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {
// The handler may only write a byte; the event loop reads it and quits.
int signalPipe[2] = {-1, -1};
bool terminating = false;

void onSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalPipe[1], &byte, 1);
}
} // namespace

void quitOnTerminationSignals() {
    if (signalPipe[0] >= 0 || ::pipe(signalPipe) != 0) return;
    for (int fd : signalPipe)
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    ::fcntl(signalPipe[1], F_SETFL, O_NONBLOCK);
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, QCoreApplication::instance(), [] {
        char byte = 0;
        [[maybe_unused]] const auto got = ::read(signalPipe[0], &byte, 1);
        terminating = true;
        // exit() ends the main loop and every dialog's loop inside it, and makes any dialog
        // opened afterwards (a warning about the settings file) return at once.
        QCoreApplication::exit(0);
    });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(sig, &action, nullptr);
}

bool terminationRequested() {
    return terminating;
}
