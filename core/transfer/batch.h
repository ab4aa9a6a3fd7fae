// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "core/link/replytiming.h"
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// What one port's transfer came to: an exit status (0 for success) and the text for the user,
// with how late the cable's replies came where the first exchanges measured it.
struct PortOutcome {
    int status = 0;
    QString message;
    std::optional<ReplyDelay> replyDelay = std::nullopt;
};

// Runs every job at the same time, each on a thread of its own, and returns their outcomes in
// the jobs' order once all have ended. A job makes its own session, link and port on its
// thread: a link's waits are nested event loops, which cannot take turns on one thread.
QList<PortOutcome> runOnOwnThreads(const QList<std::function<PortOutcome()>>& jobs);

// The first device named twice (after following links such as /dev/serial/by-id/...), if any.
std::optional<QString> deviceNamedTwice(const QStringList& devices);
