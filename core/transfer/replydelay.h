// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "core/link/replytiming.h"
#include <QList>
#include <QString>
#include <optional>

class Language;

// Replies a full read waits for: handshake, ready query, four identification blocks, two
// blocks for each table of 102 rows, and 25 blocks of settings, FM list, DTMF, power-on
// message and call list. Each pays a reply's lateness once.
inline constexpr int FullReadReplies = 439;

// Seconds a full read loses to replies `excessMs` late each.
double fullReadCostSeconds(double excessMs);

// What the user is told of slow replies: how late, what a full read loses, and where the
// adapter is known to have a timer, this system's way to lower it. Empty when they came in time.
QString replyDelayText(const ReplyDelay& delay, const Language& lang);
// The same for a port's listing, as what its last transfer found; empty when nothing was slow.
QString lastTransferText(const ReplyDelay& delay, const Language& lang);
// This system's way to lower the adapter's timer (replydelay_posix.cpp, replydelay_win.cpp).
QString latencyTimerFix(const ReplyDelay& delay, const Language& lang);

// The last measurement of each device, kept between runs in the user's data folder beside the
// backups: the port dialog and "kt520-cli port"/"where" show it once a transfer has measured it.
// It is what the program found, not a setting, so it stays out of sysini.ini.
class ReplyDelayStore {
public:
    explicit ReplyDelayStore(QString file = defaultFile()) : m_file(std::move(file)) {}
    static QString defaultFile();
    QString file() const { return m_file; }

    // A new measurement replaces the device's last one; the error message when it cannot be kept.
    std::optional<QString> remember(const ReplyDelay& delay) const;
    std::optional<ReplyDelay> recall(const QString& device) const;
    // Every device measured slow at its last transfer.
    QList<ReplyDelay> slowDevices() const;

private:
    QString m_file;
};
