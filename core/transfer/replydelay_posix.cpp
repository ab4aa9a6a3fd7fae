// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/base/language.h"
#include "core/base/messages.h"
#include "core/transfer/replydelay.h"

// The package's example rule sets the timer of every FTDI adapter to 1 ms as it is plugged in;
// setserial asks the driver for low latency on the device now, with the rights this program lacks.
QString latencyTimerFix(const ReplyDelay& delay, const Language& lang) {
    return lang.text(Str::LatencyTimerFixLinux)
        .arg(QString::number(delay.timerMs.value_or(0)),
             QStringLiteral("/usr/share/doc/kt520/examples/71-kt520-ftdi-latency.rules"), delay.device);
}
