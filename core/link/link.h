// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "core/link/radioport.h"
#include "core/link/replytiming.h"
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

class QEventLoop;

// One line of the trace: a frame sent, a chunk received, or a note (port failure, bound hit).
struct TraceEvent {
    enum Kind { Sent, Received, Note };
    Kind kind;
    QString text; // upper-case hex for Sent and Received
    qint64 ms;    // milliseconds since the link was made
};
// "   1234.567 > 0206514F5652414E15" style line for a trace file.
QString formatTrace(const TraceEvent& event);

// How a retry pattern treats a reply that is neither the expected one nor "busy".
enum class Tolerance {
    Strict,   // fails the transfer at once
    Tolerant, // asks again once; the second such reply within one block fails
};

// Waits of the handshake. The defaults are those of the read and write procedures; the factory
// alignment exchanges use fewer attempts, shorter waits and a pause between attempts.
struct HandshakeTiming {
    int attempts = 6;
    int replyMs = 150;  // wait for the 18-character reply
    int pauseChars = 0; // wait after a failed attempt (0 ms = none)
    int pauseMs = 0;
    int readyMs = 100; // wait for the answer to the ready query
};

// The radio link: frames out, the receive text in, and the retry patterns built from them.
//
// Everything runs on the one user-interface thread. Waits sleep in a nested event loop (the
// user interface keeps painting, the receive handler keeps appending), so a pattern reads as
// straight-line code. Typical use by a transfer procedure:
//
//     link.resetPort();
//     bool ok = link.runTransfer([&] {
//         auto stamp = link.readBlock(0x0160, 16, Tolerance::Strict, 180);
//         if (!stamp) return false;
//         ...
//         return link.writeBlock(0x0180, block1, Tolerance::Strict);
//     });
//
// runTransfer() sends the end frame whatever happens, also when the handshake fails.
//
// Every reply is judged before a byte of it is used: a block read must carry the address and
// length asked for and a right checksum; an acknowledgement must be exactly "060006" and come
// alone. Anything left on the line is dropped before the next request, and something arriving
// after an acknowledgement puts that acknowledgement in doubt, so the write is sent again. A reply
// that comes after the wait is waited for once more, so that a late answer is taken for its own
// request, not the next one.
//
// Stale replies: the radio answers every request it hears, in order, so a reply can belong to an
// earlier request only while one of those went unanswered in time. Replies that can answer no
// request but their own kind are dropped wherever they turn up (the spare answers of a repeated
// handshake; an acknowledgement in front of a block read), and an acknowledgement that begins
// sooner than its request can have crossed the line is refused, but only while an earlier reply is
// still owed: on a port whose speed the program cannot know (a virtual null-modem, an emulator's
// mapping of a pseudo-terminal) an instant answer is then still taken.
//
// Repeats on "busy" or a damaged reply go on as long as the radio keeps answering that way, but
// never longer than repeatBoundMs() (shortened by WaitScale like the waits) for one request;
// then the request fails like a broken link.
// Once the port reports a failure every pattern fails at once (portFailed()).
class Link : public QObject {
    Q_OBJECT
public:
    explicit Link(QObject* parent = nullptr);
    ~Link() override;

    static constexpr int ReceiveCapChars = 2048; // the 1024-byte input buffer, as hex text
    static constexpr int DefaultRepeatBoundMs = 10000;

    // The link owns its port; a new port replaces (and closes) the old one. Null detaches.
    void setPort(std::unique_ptr<RadioPort> port);
    RadioPort* port() const { return m_port.get(); }
    [[nodiscard]] bool openPort(); // also clears portFailed() on success
    void closePort();
    bool isPortOpen() const;
    // Close, 150 ms, open, 150 ms: empties both directions before a transfer. False when the
    // port cannot be opened again.
    bool resetPort();

    void setSinglePortMode(bool on) { m_singlePort = on; }
    bool singlePortMode() const { return m_singlePort; }
    void setRepeatBoundMs(int ms) { m_repeatBoundMs = ms; }
    int repeatBoundMs() const { return m_repeatBoundMs; }
    bool portFailed() const { return m_portFailed; }
    QString lastPortError() const { return m_portError; }

    // Every frame sent and every chunk received, with its time; empty to stop tracing.
    void setTraceHook(std::function<void(const TraceEvent&)> hook) { m_trace = std::move(hook); }
    // Every block the radio delivered (a read) or acknowledged (a write frame "57..."), with its
    // address: what backups and the read-back after a write are made of. Empty to stop.
    enum class BlockEvent { Read, Written };
    using BlockHook = std::function<void(BlockEvent event, quint16 address, const QByteArray& data)>;
    void setBlockHook(BlockHook hook) { m_blockHook = std::move(hook); }

    // --- The primitives, as the procedures know them ---

    // Sends the hex text (even length, either case) plus its checksum in one write; clears
    // ReceiveText and sets EchoLength to the hex length + 2. False (nothing sent) for text that
    // is not hex or whose length byte disagrees with its body, a closed or failed port, or a
    // refused write.
    [[nodiscard]] bool SendFrame(QStringView hex);
    // Sleeps until the reply holds `chars` hex characters or `ms` milliseconds have passed since
    // the call, or until a whole shorter frame has come (a busy reply ends a wait for a block
    // at once); 0 characters waits the full time. In single-port mode only characters after the
    // echo count. Returns early when the port fails. Every wait of the link comes through here
    // and is shortened by WaitScale in test runs.
    void aSysDelay(int chars, int ms);
    // Every received byte since the last send, as upper-case hex (echo included until removed).
    const QString& ReceiveText() const { return m_receiveText; }
    int EchoLength() const { return m_echoLength; }
    // The received text that follows the echo of the last frame: ReceiveText itself outside
    // single-port mode, empty while the echo is still incomplete in single-port mode.
    QString reply() const;
    // True when the reply's last byte is the XOR of its others.
    bool ReplyChecksumOk() const;

    // --- The patterns; each returns whether the transfer may go on ---

    // Handshake until the brand word comes back, then the ready query until not busy.
    [[nodiscard]] bool handshake(const HandshakeTiming& timing = {});
    // One block of `count` bytes (8 or 16; 1 to Frame::MaxBlock) at `address`; the data bytes,
    // or empty on failure. A reply for another address or of another length is damaged.
    // The wait is the full reply (2 * (count + 5) characters) or `timeoutMs`.
    [[nodiscard]] std::optional<QByteArray> readBlock(quint16 address, int count, Tolerance tolerance,
                                                      int timeoutMs);
    // One block written; the radio must answer "060006".
    [[nodiscard]] bool writeBlock(quint16 address, const QByteArray& data, Tolerance tolerance,
                                  int timeoutMs = 100);
    // Any request acknowledged like a write ("060006", "090009" = again): literal write frames
    // typed as hex text, the clock frame.
    [[nodiscard]] bool writeFrame(QStringView requestHex, Tolerance tolerance, int timeoutMs = 100,
                                  int chars = 6);
    // A request whose reply has a shape of its own (the battery query): `judge` says what each
    // reply is, and the usual repeats apply. The accepted reply as hex, or empty on failure.
    enum class Verdict {
        Accept,  // the reply is the answer
        Busy,    // ask again (within the repeat bound)
        Damaged, // let the line go quiet, drop what came, ask again (within the repeat bound)
        Pending, // cut short or nothing yet: wait once more for a late answer before judging it
        Refuse,  // not an answer: fails a strict request; a tolerant one asks again once
    };
    using Judge = std::function<Verdict(QStringView reply)>;
    [[nodiscard]] std::optional<QString> ask(QStringView requestHex, int chars, int timeoutMs,
                                             const Judge& judge, Tolerance tolerance = Tolerance::Strict);
    // Before the end frame of a transfer that wrote: a reply that turns up after the last
    // acknowledgement puts that acknowledgement in doubt, and the last write is sent again.
    [[nodiscard]] bool confirmLastWrite();
    // End of transfer: "64016F", then the full wait. Never answered.
    void endTransfer(int chars = 0, int ms = 70);
    // Ends a running transfer at once: the wait under way ends, every further request fails,
    // and runTransfer still sends the end frame. Holds until cleared, so that a cancel during
    // the port reset before the handshake is not lost: clear it before starting a transfer.
    void cancel();
    void clearCancel() { m_cancelled = false; }
    bool cancelled() const { return m_cancelled; }
    // Handshake, `body`, end frame: the end frame goes out whatever happened before it.
    [[nodiscard]] bool runTransfer(const std::function<bool()>& body, const HandshakeTiming& timing = {});

    // Why the last pattern failed, as the link saw it.
    enum class Failure {
        None,
        PortFailed, // the port failed or is not open
        NoReply,    // silence, also after the wait for a late answer
        Busy,       // "090009" until the repeat bound
        Damaged,    // damaged, cut or stray replies until the repeat bound
        Unexpected, // a reply that is no answer to the request (`reply()` holds it)
        Cancelled,
    };
    Failure lastFailure() const { return m_failure; }
    // Write frames the radio acknowledged since the last handshake: what reached the radio.
    int writesAcknowledged() const { return m_acknowledged; }
    // The write frame (hex) of the last failed write when it left for the radio and was never
    // acknowledged: the radio may have stored it. Empty when the last write was acknowledged or
    // never sent; cleared by every write and handshake.
    const QString& unacknowledgedWrite() const { return m_unacknowledged; }

signals:
    void portError(const QString& message);
    // Once a transfer's first replies have shown how late they come (ReplyTiming), fast or slow.
    // Only time stamps the link takes anyway go into it: the transfer's timing stays as it is.
    void replyDelayMeasured(const ReplyDelay& delay);

private:
    void onReadyRead();
    void onPortFailed(const QString& message);
    void trace(TraceEvent::Kind kind, const QString& text);
    void note(const QString& text) { trace(TraceEvent::Note, text); }
    void noteWritten(QStringView requestHex);
    int countedChars() const;
    // Whether a wait for `chars` characters is over: that many have come, or a whole frame.
    bool waitSatisfied(int chars) const;
    // After a bad reply, lets the rest of it arrive so it cannot spoil the next one.
    void settle();
    // Sends and waits again; false once the repeat bound for this request is spent.
    bool repeat(QStringView hex, int chars, int ms, const QElapsedTimer& since);
    // Takes what is still on the line before a new request; true when anything came after the
    // reply that was last accepted.
    bool drain();
    // drain(), and the last acknowledged write sent again when something came after it.
    bool beginRequest();
    // The one loop every request runs: send, wait, judge, repeat.
    bool exchange(QStringView requestHex, int chars, int timeoutMs, const Judge& judge, Tolerance tolerance);
    bool fail(Failure failure);
    Judge ackJudge() const;
    // The reply began to arrive before the request could have reached the radio whole, while an
    // earlier request's reply was still owed.
    bool answeredTooSoon() const;
    // A request's wait ended without a byte: its answer may still come, behind the next request.
    void noteUnanswered();
    // aSysDelay, noting a wait that ended without a byte.
    void awaitReply(int chars, int ms);
    // Takes replies off the front of the unjudged text that cannot answer the request under way.
    void dropStale();
    // The unjudged text is the beginning of such a reply.
    bool staleArriving() const;
    // The reply just accepted answered its request at the first sending: one more sample.
    void sampleReplyTime();

    std::unique_ptr<RadioPort> m_port;
    bool m_singlePort = false;
    bool m_portFailed = false;
    bool m_cancelled = false;
    bool m_handshaking = false;
    QString m_portError;
    int m_repeatBoundMs = DefaultRepeatBoundMs;
    QString m_receiveText;
    int m_echoLength = 0;
    quint64 m_received = 0; // bytes ever received, to notice any arrival while settling
    int m_judgedChars = 0;  // the receive text that the last accepted reply took
    bool m_graceUsed = false;
    QString m_lastAck; // the write frame last acknowledged, while nothing else has been asked
    int m_acknowledged = 0;
    quint64 m_framesSent = 0; // frames handed to the port
    QString m_unacknowledged;
    QString m_request;         // the request under way, as sent
    qint64 m_owedUntilNs = -1; // until then a reply to an unanswered request may still come
    Failure m_failure = Failure::None;
    qint64 m_sentNs = 0;        // when the last frame was handed to the port
    qint64 m_lineNs = 0;        // how long it takes on the line
    qint64 m_firstReplyNs = -1; // when the first byte of its reply came
    qint64 m_lastBytesNs = -1;  // when the last bytes came
    int m_sentBytes = 0;        // the last frame's size
    ReplyTiming m_replyTiming;

    QEventLoop* m_wait = nullptr;
    int m_waitChars = 0;

    std::function<void(const TraceEvent&)> m_trace;
    BlockHook m_blockHook;
    QElapsedTimer m_clock;
};
