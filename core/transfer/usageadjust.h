// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "core/transfer/transfer.h"
#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

class Link;
class Session;

// The transmit-usage levels of the read/write dialog's list: 0 "不常发射" to 3 "超常发射".
inline constexpr int UsageLevels = 4;

// What the adjustment does to block 0x01B0 as read: with byte 14 = 0D and a stored level L
// (byte 15) below 4, bytes 7 and 10 move by (L - level) x 10 and byte 15 becomes the level.
struct UsageChange {
    enum class Kind {
        Unchanged,  // byte 14 is not 0D or L is 4 or more: nothing to write, and that is success
        Write,      // `block` is the new block
        OutOfRange, // byte 7 or 10 would leave 0-255: refused, nothing written
    };
    Kind kind = Kind::Unchanged;
    QByteArray block;
    int byte = 0;  // OutOfRange: which byte (7 or 10)
    int value = 0; // OutOfRange: its value
};
UsageChange usageChange(const QByteArray& block, int level);

struct UsageResult {
    bool ok = false;
    bool written = false;
    int storedLevel = -1; // L as read, -1 when the reply gave none
    QString message;      // for a failure, in the current language
    bool refused = false; // the failure: the radio's value would leave its range, nothing written
};

// Button5Click: port reset, handshake, 0x01B0 read and checked like every block read (silence
// or a reply that never comes right is a failure and nothing is written), the new block written
// back, end frame. `progress` gets 0 at the start and ProgressMaximum at a success.
UsageResult adjustUsage(Session& session, Link& link, int level,
                        const std::function<void(int)>& progress = {});
