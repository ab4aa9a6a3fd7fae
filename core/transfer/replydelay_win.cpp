// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/base/language.h"
#include "core/base/messages.h"
#include "core/transfer/replydelay.h"

// Only an administrator may change the driver's setting: the user is told where it is.
QString latencyTimerFix(const ReplyDelay& delay, const Language& lang) {
    return lang.text(Str::LatencyTimerFixWindows)
        .arg(QString::number(delay.timerMs.value_or(0)), delay.device);
}
