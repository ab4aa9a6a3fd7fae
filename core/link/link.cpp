// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/link/link.h"
#include "core/link/frames.h"
#include "core/link/waitscale.h"
#include <QEventLoop>
#include <QTimer>

namespace {
// A bad reply may still be trickling in: wait until the line has been quiet this long.
constexpr int QuietMs = 10;
constexpr int SettleMaxMs = 200;
constexpr int ReadyChars = 6;
// A radio that answers after the wait has ended gets this much longer before its silence counts:
// its late answer then belongs to its own request and cannot be taken for the next one's.
constexpr int LateReplyMs = 250;
// After a wait that ended without a byte, how long the answer it was owed may still turn up.
constexpr int OwedReplyMs = 1000;
constexpr QStringView ReadCommand = u"5203";
} // namespace

QString formatTrace(const TraceEvent& event) {
    const char* mark = event.kind == TraceEvent::Sent ? ">" : event.kind == TraceEvent::Received ? "<" : "#";
    return QStringLiteral("%1.%2 %3 %4")
        .arg(event.ms / 1000, 7)
        .arg(event.ms % 1000, 3, 10, QLatin1Char('0'))
        .arg(QLatin1String(mark), event.text);
}

Link::Link(QObject* parent) : QObject(parent) {
    m_clock.start();
}

Link::~Link() {
    if (m_port) m_port->close();
}

void Link::setPort(std::unique_ptr<RadioPort> port) {
    if (m_port) {
        m_port->disconnect(this);
        m_port->close();
    }
    m_port = std::move(port);
    m_portFailed = false;
    m_portError.clear();
    if (!m_port) return;
    connect(m_port.get(), &RadioPort::readyRead, this, &Link::onReadyRead);
    connect(m_port.get(), &RadioPort::failed, this, &Link::onPortFailed);
}

bool Link::openPort() {
    if (!m_port) return false;
    if (!m_port->open()) {
        m_portError = m_port->errorString();
        note(QStringLiteral("open %1 failed: %2").arg(m_port->deviceName(), m_portError));
        return false;
    }
    m_portFailed = false;
    m_portError.clear();
    if (const QString said = m_port->adapterLatency().note; !said.isEmpty()) note(said);
    return true;
}

void Link::closePort() {
    if (m_port && m_port->isOpen()) m_port->close();
}

bool Link::isPortOpen() const {
    return m_port && m_port->isOpen();
}

bool Link::resetPort() {
    closePort();
    // The closed port has nothing left to fail; the pause must be a real one even after a failure.
    m_portFailed = false;
    aSysDelay(0, 150);
    const bool open = openPort();
    aSysDelay(0, 150);
    return open;
}

void Link::trace(TraceEvent::Kind kind, const QString& text) {
    if (m_trace) m_trace(TraceEvent{kind, text, m_clock.elapsed()});
}

bool Link::SendFrame(QStringView hex) {
    const std::optional<QByteArray> frame = Frame::compose(hex);
    if (!frame) {
        note(QStringLiteral("not sent, not a frame: ") + hex.toString());
        return false;
    }
    if (!m_portFailed && isPortOpen()) drain();
    m_echoLength = int(hex.size()) + 2;
    m_receiveText.clear();
    m_judgedChars = 0;
    m_graceUsed = false;
    m_firstReplyNs = -1;
    m_request = hex.toString().toUpper();
    if (m_portFailed || !isPortOpen()) return false;
    // A cancelled transfer sends nothing more but its end frame.
    if (m_cancelled && hex != Frame::End) return false;
    trace(TraceEvent::Sent, Frame::toHex(*frame));
    m_sentNs = m_clock.nsecsElapsed();
    m_sentBytes = int(frame->size());
    m_lineNs = m_port->lineNanos(m_sentBytes);
    if (!m_port->write(*frame)) return false;
    ++m_framesSent;
    return true;
}

void Link::dropStale() {
    if (m_singlePort && m_echoLength != 0) return;
    for (;;) {
        const QStringView rest = QStringView(m_receiveText).mid(m_judgedChars);
        qsizetype stale = 0;
        // Only the handshake is answered with the brand word, and a block read never with "done".
        if (!m_handshaking && rest.startsWith(Frame::HandshakeReply))
            stale = Frame::HandshakeReply.size();
        else if (m_request.startsWith(ReadCommand) && rest.startsWith(Frame::Ready))
            stale = Frame::Ready.size();
        if (stale == 0) return;
        note(QStringLiteral("dropped, an earlier request's: ") + rest.left(stale).toString());
        m_receiveText.remove(m_judgedChars, stale);
    }
}

bool Link::staleArriving() const {
    if (m_singlePort && m_echoLength != 0) return false;
    const QStringView rest = QStringView(m_receiveText).mid(m_judgedChars);
    if (rest.isEmpty()) return false;
    return (!m_handshaking && Frame::HandshakeReply.startsWith(rest)) ||
           (m_request.startsWith(ReadCommand) && Frame::Ready.startsWith(rest));
}

void Link::noteUnanswered() {
    m_owedUntilNs = m_clock.nsecsElapsed() + qint64(WaitScale::scaled(OwedReplyMs)) * 1'000'000;
}

void Link::awaitReply(int chars, int ms) {
    aSysDelay(chars, ms);
    if (!m_portFailed && !m_cancelled && countedChars() == 0) noteUnanswered();
}

bool Link::drain() {
    onReadyRead();
    if (m_receiveText.size() <= m_judgedChars) return false;
    note(QStringLiteral("dropped, after the reply: ") + m_receiveText.mid(m_judgedChars));
    m_judgedChars = int(m_receiveText.size());
    return true;
}

bool Link::beginRequest() {
    if (!drain() || m_lastAck.isEmpty()) return true;
    // The acknowledgement taken for the last write may have been another request's.
    const QString again = std::exchange(m_lastAck, QString());
    note(QStringLiteral("acknowledgement in doubt, sent again: ") + again);
    // Counted already, when its first acknowledgement came.
    return exchange(again, ReadyChars, 100, ackJudge(), Tolerance::Strict);
}

void Link::onReadyRead() {
    if (!m_port) return;
    const QByteArray bytes = m_port->readAll();
    if (bytes.isEmpty()) return;
    m_received += quint64(bytes.size());
    m_lastBytesNs = m_clock.nsecsElapsed();
    const QString hex = Frame::toHex(bytes);
    trace(TraceEvent::Received, hex);
    // Like the cable's input buffer, a full receive text drops what comes after.
    m_receiveText.append(QStringView(hex).left(ReceiveCapChars - m_receiveText.size()));
    if (m_singlePort && m_echoLength != 0 && m_receiveText.size() > m_echoLength) {
        m_receiveText.remove(0, m_echoLength);
        m_echoLength = 0;
    }
    dropStale();
    if (m_firstReplyNs < 0 && countedChars() > 0) m_firstReplyNs = m_clock.nsecsElapsed();
    if (m_wait && waitSatisfied(m_waitChars)) m_wait->quit();
}

void Link::onPortFailed(const QString& message) {
    m_portFailed = true;
    m_portError = message;
    note(QStringLiteral("port failed: ") + message);
    if (m_wait) m_wait->quit();
    emit portError(message);
}

int Link::countedChars() const {
    // In single-port mode the echo of a long request would satisfy a short wait by itself.
    if (m_singlePort && m_echoLength != 0) return 0;
    return int(m_receiveText.size());
}

bool Link::waitSatisfied(int chars) const {
    if (chars <= 0) return false;
    const int have = countedChars();
    if (have >= chars) return true;
    // A shorter frame that is already whole (busy, an acknowledgement, a refusal) ends the wait
    // too: waiting on for the longer reply would only run into the time-out.
    const auto whole = Frame::frameChars(reply());
    return whole && have >= *whole;
}

QString Link::reply() const {
    return countedChars() == 0 ? QString() : m_receiveText;
}

bool Link::ReplyChecksumOk() const {
    return Frame::replyChecksumOk(reply());
}

void Link::aSysDelay(int chars, int ms) {
    if (m_portFailed || m_cancelled || waitSatisfied(chars)) return;
    QEventLoop loop;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    QEventLoop* const outer = m_wait;
    const int outerChars = m_waitChars;
    m_wait = &loop;
    m_waitChars = chars;
    timer.start(WaitScale::scaled(std::max(ms, 0)));
    loop.exec();
    // The time-out can come up before the notice of bytes that arrived while this process was
    // held up by another: a last look at the port takes them, as the radio did answer in time.
    if (!m_portFailed && !waitSatisfied(chars)) {
        m_wait = nullptr;
        onReadyRead();
    }
    m_wait = outer;
    m_waitChars = outerChars;
}

void Link::settle() {
    QElapsedTimer since;
    since.start();
    quint64 seen = m_received;
    do {
        seen = m_received;
        aSysDelay(0, QuietMs);
    } while (m_received != seen && !m_portFailed && since.elapsed() < WaitScale::scaled(SettleMaxMs));
}

bool Link::repeat(QStringView hex, int chars, int ms, const QElapsedTimer& since) {
    if (since.elapsed() >= WaitScale::scaled(m_repeatBoundMs)) {
        note(QStringLiteral("no accepted reply within %1 ms: ").arg(m_repeatBoundMs) + hex.toString());
        return false;
    }
    settle();
    if (!SendFrame(hex)) return false;
    awaitReply(chars, ms);
    return !m_portFailed;
}

bool Link::fail(Failure failure) {
    m_failure = m_portFailed || !isPortOpen() ? Failure::PortFailed
                : m_cancelled                 ? Failure::Cancelled
                                              : failure;
    return false;
}

bool Link::answeredTooSoon() const {
    return m_firstReplyNs >= 0 && m_firstReplyNs < m_owedUntilNs && m_firstReplyNs - m_sentNs < m_lineNs;
}

Link::Judge Link::ackJudge() const {
    return [this](QStringView text) {
        switch (Frame::checkAck(text)) {
        case Frame::AckReply::Done:
            // An acknowledgement that began before the request was all out answers something else.
            return answeredTooSoon() ? Verdict::Damaged : Verdict::Accept;
        case Frame::AckReply::Busy:
            return Verdict::Busy;
        case Frame::AckReply::Silent:
            return Verdict::Pending;
        case Frame::AckReply::Damaged:
            // A reply still arriving may yet be whole.
            return text.size() < ReadyChars ? Verdict::Pending : Verdict::Damaged;
        case Frame::AckReply::Unexpected:
            break;
        }
        return Verdict::Refuse;
    };
}

bool Link::exchange(QStringView requestHex, int chars, int timeoutMs, const Judge& judge,
                    Tolerance tolerance) {
    m_failure = Failure::None;
    int allowance = tolerance == Tolerance::Tolerant ? 2 : 1;
    QElapsedTimer since;
    since.start();
    bool staleSettled = false;
    bool resent = false;
    if (!SendFrame(requestHex)) return fail(Failure::PortFailed);
    awaitReply(chars, timeoutMs);
    for (;;) {
        if (m_portFailed || m_cancelled) return fail(Failure::PortFailed);
        // An earlier request's answer still coming in is let in whole, to be dropped.
        if (!staleSettled && staleArriving()) {
            staleSettled = true;
            settle();
            continue;
        }
        const QString text = reply();
        Verdict verdict = judge(text);
        if (verdict == Verdict::Pending && !m_graceUsed) {
            m_graceUsed = true;
            awaitReply(chars, LateReplyMs);
            continue;
        }
        // Still nothing after the late wait is silence; still cut short is a damaged reply.
        if (verdict == Verdict::Pending) verdict = text.isEmpty() ? Verdict::Refuse : Verdict::Damaged;
        switch (verdict) {
        case Verdict::Accept:
            m_judgedChars = int(text.size());
            if (!resent) sampleReplyTime();
            return true;
        case Verdict::Busy:
            resent = true;
            if (!repeat(requestHex, chars, timeoutMs, since)) return fail(Failure::Busy);
            continue;
        case Verdict::Damaged:
            resent = true;
            note(QStringLiteral("damaged reply, asked again: ") + text);
            if (!repeat(requestHex, chars, timeoutMs, since)) return fail(Failure::Damaged);
            continue;
        case Verdict::Pending:
        case Verdict::Refuse:
            if (--allowance <= 0) return fail(text.isEmpty() ? Failure::NoReply : Failure::Unexpected);
            resent = true;
            settle();
            if (!SendFrame(requestHex)) return fail(Failure::PortFailed);
            awaitReply(chars, timeoutMs);
            continue;
        }
    }
}

bool Link::handshake(const HandshakeTiming& timing) {
    const int replyChars = int(Frame::HandshakeReply.size());
    m_unacknowledged.clear();
    bool answered = false;
    bool busy = false;
    QElapsedTimer since;
    since.start();
    m_replyTiming.restart();
    m_handshaking = true;
    for (int attempt = 0; attempt < timing.attempts && !answered; ++attempt) {
        if (!SendFrame(Frame::Handshake)) break;
        awaitReply(replyChars, timing.replyMs);
        answered = reply() == Frame::HandshakeReply;
        if (!answered && reply() == Frame::Busy) {
            // The radio is there but not free: asked again like any busy request, without using
            // up an attempt, until the repeat bound.
            busy = true;
            if (since.elapsed() >= WaitScale::scaled(m_repeatBoundMs)) break;
            settle();
            --attempt;
            continue;
        }
        if (!answered && timing.pauseMs > 0) aSysDelay(timing.pauseChars, timing.pauseMs);
        if (m_portFailed) break;
    }
    m_handshaking = false;
    if (m_portFailed || !isPortOpen()) return fail(Failure::PortFailed);
    // A radio that said busy is there, just not free for programming.
    if (!answered) return fail(busy ? Failure::Busy : Failure::NoReply);
    m_judgedChars = int(m_receiveText.size());
    sampleReplyTime();
    m_acknowledged = 0;
    m_lastAck.clear();
    // The ready query is answered like a write: "060006" ready, "090009" busy.
    return ask(Frame::ReadyQuery, ReadyChars, timing.readyMs, ackJudge()).has_value();
}

std::optional<QString> Link::ask(QStringView requestHex, int chars, int timeoutMs, const Judge& judge,
                                 Tolerance tolerance) {
    if (!beginRequest()) return std::nullopt;
    m_lastAck.clear();
    if (!exchange(requestHex, chars, timeoutMs, judge, tolerance)) return std::nullopt;
    return reply();
}

std::optional<QByteArray> Link::readBlock(quint16 address, int count, Tolerance tolerance, int timeoutMs) {
    if (count < 1 || count > Frame::MaxBlock) return std::nullopt;
    const auto judge = [&](QStringView text) {
        switch (Frame::checkReadReply(text, address, count)) {
        case Frame::ReadReply::Whole:
            return Verdict::Accept;
        case Frame::ReadReply::Busy:
            return Verdict::Busy;
        case Frame::ReadReply::NotABlock:
            return text.isEmpty() ? Verdict::Pending : Verdict::Refuse;
        case Frame::ReadReply::Incomplete:
            return Verdict::Pending;
        case Frame::ReadReply::Damaged:
        case Frame::ReadReply::OtherBlock:
            break;
        }
        return Verdict::Damaged;
    };
    const std::optional<QString> text =
        ask(Frame::readRequest(address, count), Frame::readReplyChars(count), timeoutMs, judge, tolerance);
    if (!text) return std::nullopt;
    std::optional<QByteArray> data = Frame::fromHex(QStringView(*text).mid(8, 2 * count));
    if (data && m_blockHook) m_blockHook(BlockEvent::Read, address, *data);
    return data;
}

bool Link::writeBlock(quint16 address, const QByteArray& data, Tolerance tolerance, int timeoutMs) {
    if (data.isEmpty() || data.size() > Frame::MaxBlock) return false;
    return writeFrame(Frame::writeRequest(address, data), tolerance, timeoutMs);
}

void Link::noteWritten(QStringView requestHex) {
    // A write frame is "57", the data count + 2, the address high byte first, then the data;
    // other acknowledged frames (the clock) carry no block.
    if (!requestHex.startsWith(QLatin1String("57"))) return;
    const std::optional<QByteArray> bytes = Frame::fromHex(requestHex);
    if (!bytes || bytes->size() < 5 || quint8(bytes->at(1)) != bytes->size() - 2) return;
    ++m_acknowledged;
    if (!m_blockHook) return;
    const auto address = quint16((quint8(bytes->at(2)) << 8) | quint8(bytes->at(3)));
    m_blockHook(BlockEvent::Written, address, bytes->mid(4));
}

bool Link::writeFrame(QStringView requestHex, Tolerance tolerance, int timeoutMs, int chars) {
    m_unacknowledged.clear();
    if (!beginRequest()) return false;
    m_lastAck.clear();
    const quint64 sentBefore = m_framesSent;
    if (!exchange(requestHex, chars, timeoutMs, ackJudge(), tolerance)) {
        // Sent and never acknowledged: the radio may have stored it all the same.
        if (m_framesSent != sentBefore) m_unacknowledged = requestHex.toString().toUpper();
        return false;
    }
    noteWritten(requestHex);
    m_lastAck = requestHex.toString();
    return true;
}

bool Link::confirmLastWrite() {
    if (m_lastAck.isEmpty() || m_portFailed || m_cancelled) return true;
    // Long enough for a reply that was on its way behind the last acknowledgement.
    aSysDelay(0, QuietMs);
    return beginRequest();
}

void Link::endTransfer(int chars, int ms) {
    if (SendFrame(Frame::End)) aSysDelay(chars, ms);
}

bool Link::runTransfer(const std::function<bool()>& body, const HandshakeTiming& timing) {
    const bool ok = handshake(timing) && body() && !m_cancelled;
    endTransfer();
    return ok;
}

void Link::sampleReplyTime() {
    // Waits shortened for a test run would magnify every hiccup of the machine into lateness:
    // replies are timed at the real timing only, which is all the program itself ever runs.
    if (WaitScale::divisor() != 1 || m_replyTiming.complete() || m_lastBytesNs < m_sentNs || !m_port) return;
    if (!m_replyTiming.add(m_lastBytesNs - m_sentNs, m_sentBytes, countedChars() / 2)) return;
    const ReplyDelay delay{m_port->deviceName(), m_replyTiming.medianExcessMs(),
                           m_port->adapterLatency().timerMs};
    note(QStringLiteral("replies %1 ms late beyond their time on the line").arg(delay.excessMs, 0, 'f', 1));
    emit replyDelayMeasured(delay);
}

void Link::cancel() {
    if (m_cancelled) return;
    m_cancelled = true;
    note(QStringLiteral("cancelled"));
    if (m_wait) m_wait->quit();
}
