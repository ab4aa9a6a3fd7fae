// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QList>
#include <QString>
#include <QtGlobal>
#include <optional>

// How late the radio's replies reach the program beyond their time on the line. A USB serial
// adapter with a latency timer (FTDI: 16 ms unless lowered) holds a short reply until its timer
// runs out, and a read is some 440 short exchanges. The first exchanges of a transfer tell: each
// reply's last byte against the moment its request left, less what request and reply take on
// the line at 9600 baud.
class ReplyTiming {
public:
    // The handshake, the ready query and the four identification reads that every read and
    // write begins with.
    static constexpr int Samples = 6;
    // Above this a user notices: a full read then takes a second or more longer.
    static constexpr double SlowMs = 3.0;

    void restart() { m_excessMs.clear(); }
    // One reply that answered its request at the first sending: `elapsedNs` from the request
    // leaving to the reply's last byte, at the real line speed. True when it completes the set.
    bool add(qint64 elapsedNs, int requestBytes, int replyBytes);
    bool complete() const { return m_excessMs.size() >= Samples; }
    // The median of the set; a single slow reply (a radio still waking up) does not count.
    double medianExcessMs() const;

    // 10 bits a byte (start, 8 data, stop) at the radio's 9600 baud.
    static qint64 lineNanos(int bytes);

private:
    QList<double> m_excessMs;
};

// What one transfer found, for the user: how late, and what the system tells of the adapter.
struct ReplyDelay {
    QString device;             // as the port names it ("/dev/ttyUSB0", "COM3")
    double excessMs = 0;        // median lateness of a reply beyond its time on the line
    std::optional<int> timerMs; // the adapter's latency timer where the system keeps one (FTDI)
    bool slow() const { return excessMs > ReplyTiming::SlowMs; }
};
