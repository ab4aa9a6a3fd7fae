// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/link/lowlatency.h"
#include <cstring>

bool LowLatency::shouldAsk(int getError, bool flagWasSet) {
    return getError == 0 && !flagWasSet;
}

LowLatency::Decision LowLatency::decide(const Answers& a) {
    Decision d;
    const bool asked = shouldAsk(a.getError, a.flagWasSet);
    d.restore = asked && a.setError == 0;
    d.latency.timerMs = a.timerMs;
    // Without a timer to speak of there is nothing to tell: a pseudo-terminal, a built-in port,
    // an adapter that forwards every byte at once.
    if (!a.timerMs) return d;
    const int timer = *a.timerMs;
    QString asking;
    if (a.getError != 0)
        asking = QStringLiteral("serial flags not available (%1)")
                     .arg(QString::fromLocal8Bit(strerror(a.getError)));
    else if (!asked)
        asking = QStringLiteral("low latency already on");
    else if (a.setError != 0)
        asking = QStringLiteral("low latency refused (%1)").arg(QString::fromLocal8Bit(strerror(a.setError)));
    else
        asking = QStringLiteral("low latency asked for");
    const bool ignored = timer > 1 && (d.restore || a.flagWasSet);
    d.latency.note = QStringLiteral("%1; adapter latency timer %2 ms%3")
                         .arg(asking)
                         .arg(timer)
                         .arg(ignored ? QStringLiteral(", the driver keeps it") : QString());
    return d;
}
