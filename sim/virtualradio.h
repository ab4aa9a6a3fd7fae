// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <optional>
#include <utility>

// Faults the virtual radio can put on the line. Counts start at 1; 0 switches a fault off.
struct SimFaults {
    // Which replies the corrupt fault counts and hits: all, or only the data of block reads (a
    // link that repeats damaged reads but fails on a damaged acknowledgement can then be tried).
    enum class Scope { All, Read };

    bool echo = false;    // single-port cable: every byte sent to the radio comes back first
    int busyEvery = 0;    // every Nth reply is "090009" and the request is not carried out
    int corruptEvery = 0; // every Nth reply (in corruptScope) carries a wrong checksum
    int garbageEvery = 0; // every Nth reply is preceded by stray bytes
    int silentAfter = -1; // after this many requests the radio answers nothing (-1 = never)
    int baud = 0;         // wire speed in both directions, 0 = as fast as the host reads
    Scope corruptScope = Scope::All;
    int dropWritesEvery = 0; // every Nth block write is acknowledged but not stored
    int replyDelayMs = 0;    // each reply leaves this long after its request arrived
    int damageEvery = 0;     // every Nth reply has a data byte spoilt, its checksum left wrong
    int otherBlockEvery = 0; // every Nth block read is answered with the next block's address and data
    // The first read or write of this address is answered this much later than the others,
    // after the host has stopped waiting (-1 = never).
    int lateAddress = -1;
    int lateMs = 0;
    // Only a write of lateAddress is answered late (the block is stored at once, its
    // acknowledgement comes late); reads of it are answered in time.
    bool lateWriteOnly = false;
    // The cable's USB serial adapter has a latency timer of this many ms: it holds what the
    // radio sends until the timer runs out, unless a full USB packet is waiting (0 = none).
    int usbLatencyMs = 0;
};

// The radio's side of the programming protocol over an 8 KiB memory. Bytes from the cable go
// in through feed(); what the radio (and an echoing cable) sends back comes out of it. Timing
// on the wire is the job of SimWire.
//
// The radio answers only frames whose length and checksum are right, and only after a
// handshake, until the end-of-transfer frame closes the session. Anything else is skipped byte
// by byte until a frame lines up again, and a frame left half-sent for a while is forgotten.
class VirtualRadio : public QObject {
    Q_OBJECT
public:
    static constexpr int MemorySize = 0x2000;
    // A gap this long (divided by WaitScale, like the link's waits) drops a half-received frame.
    static constexpr int IdleResetMs = 250;

    explicit VirtualRadio(QObject* parent = nullptr);

    // A radio fresh from the factory: identification, alignment defaults, band limits
    // 146/144/440/430 MHz, everything else FF (no password, no channels, no stamps, no FM).
    static QByteArray factoryMemory();

    const QByteArray& memory() const { return m_memory; }
    // Takes exactly MemorySize bytes; false (memory unchanged) for any other size.
    bool setMemory(const QByteArray& image);
    // Loads an image file; the error message on failure.
    std::optional<QString> loadImage(const QString& path);
    std::optional<QString> saveImage(const QString& path) const;
    // Stores a communication password of 0 to 14 digits as the radio keeps it (nibbles, padded
    // with F, then the count; no digits clear it). False, memory unchanged, for anything else.
    bool setPassword(const QString& digits);

    void setFaults(const SimFaults& faults) { m_faults = faults; }
    const SimFaults& faults() const { return m_faults; }
    // Four battery readings returned by the calibration query (default 150 each, which
    // calibrates to the offset 06).
    void setBatteryReadings(const QByteArray& four) { m_battery = four.left(4); }
    // "R1,R2,R3,R4", each 0-255; false (readings unchanged) for anything else.
    bool setBatteryReadings(const QString& text);

    // Bytes from the host; returns the bytes going back (echo first, then any replies).
    QByteArray feed(const QByteArray& bytes);
    // How much later than the others the replies of the last feed() leave (the late-reply
    // fault), once; 0 afterwards.
    int takeLateMs() { return std::exchange(m_lateNow, 0); }

    // What happened, for tests and the console.
    // The most recent well-formed frames received (the last few thousand).
    const QList<QByteArray>& frames() const { return m_frames; }
    int framesReceived() const { return m_frameCount; }
    int repliesSent() const { return m_replies; }
    QByteArray clock() const { return m_clock; } // the 7 bytes of the last clock frame
    bool inSession() const { return m_session; }
    int bytesSkipped() const { return m_skipped; }

signals:
    void transferEnded(); // an end-of-transfer frame arrived

private:
    // Length of a complete frame at the start of m_input, 0 when more bytes are needed, -1
    // when the first byte cannot start a frame.
    int frameLength() const;
    std::optional<QByteArray> answer(const QByteArray& frame);
    QByteArray withFaults(QByteArray reply, bool readData);
    bool busyNow() const; // the reply about to be sent is one the busy fault replaces
    void noteLate(int address, bool write);

    QByteArray m_memory;
    SimFaults m_faults;
    QByteArray m_input;
    QElapsedTimer m_lastByte;
    QList<QByteArray> m_frames;
    QByteArray m_clock;
    QByteArray m_battery;
    int m_replies = 0;
    int m_readReplies = 0;
    int m_blockWrites = 0;
    int m_frameCount = 0;
    int m_skipped = 0;
    int m_blockReads = 0;
    int m_lateNow = 0;
    bool m_lateDone = false;
    bool m_session = false;
};
