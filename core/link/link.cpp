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
    m_echoLength = int(hex.size()) + 2;
    m_receiveText.clear();
    if (m_portFailed || !isPortOpen()) return false;
    // A cancelled transfer sends nothing more but its end frame.
    if (m_cancelled && hex != Frame::End) return false;
    trace(TraceEvent::Sent, Frame::toHex(*frame));
    return m_port->write(*frame);
}

void Link::onReadyRead() {
    if (!m_port) return;
    const QByteArray bytes = m_port->readAll();
    if (bytes.isEmpty()) return;
    m_received += quint64(bytes.size());
    const QString hex = Frame::toHex(bytes);
    trace(TraceEvent::Received, hex);
    // Like the cable's input buffer, a full receive text drops what comes after.
    m_receiveText.append(QStringView(hex).left(ReceiveCapChars - m_receiveText.size()));
    if (m_singlePort && m_echoLength != 0 && m_receiveText.size() > m_echoLength) {
        m_receiveText.remove(0, m_echoLength);
        m_echoLength = 0;
    }
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
    aSysDelay(chars, ms);
    return !m_portFailed;
}

bool Link::handshake(const HandshakeTiming& timing) {
    const int replyChars = int(Frame::HandshakeReply.size());
    bool answered = false;
    for (int attempt = 0; attempt < timing.attempts && !answered; ++attempt) {
        if (!SendFrame(Frame::Handshake)) return false;
        aSysDelay(replyChars, timing.replyMs);
        answered = reply() == Frame::HandshakeReply;
        if (!answered && timing.pauseMs > 0) aSysDelay(timing.pauseChars, timing.pauseMs);
        if (m_portFailed) return false;
    }
    if (!answered) return false;
    const std::optional<QString> ready = askUntilNotBusy(Frame::ReadyQuery, ReadyChars, timing.readyMs);
    return ready && *ready == Frame::Ready;
}

std::optional<QString> Link::askUntilNotBusy(QStringView requestHex, int chars, int timeoutMs) {
    QElapsedTimer since;
    since.start();
    if (!SendFrame(requestHex)) return std::nullopt;
    aSysDelay(chars, timeoutMs);
    while (reply() == Frame::Busy) {
        if (!repeat(requestHex, chars, timeoutMs, since)) return std::nullopt;
    }
    if (m_portFailed) return std::nullopt;
    return reply();
}

std::optional<QByteArray> Link::readBlock(quint16 address, int count, Tolerance tolerance, int timeoutMs) {
    if (count < 1 || count > Frame::MaxBlock) return std::nullopt;
    const QString request = Frame::readRequest(address, count);
    const int chars = Frame::readReplyChars(count);
    int allowance = tolerance == Tolerance::Tolerant ? 2 : 1;
    QElapsedTimer since;
    since.start();
    if (!SendFrame(request)) return std::nullopt;
    aSysDelay(chars, timeoutMs);
    for (;;) {
        if (m_portFailed) return std::nullopt;
        const QString text = reply();
        if (text == Frame::Busy) {
            if (!repeat(request, chars, timeoutMs, since)) return std::nullopt;
            continue;
        }
        if (!text.startsWith(QLatin1String("57"))) {
            if (--allowance <= 0) return std::nullopt;
            settle();
            if (!SendFrame(request)) return std::nullopt;
            aSysDelay(chars, timeoutMs);
            continue;
        }
        // A reply cut short can carry a matching last byte by chance; only a whole one counts.
        if (text.size() != chars || !Frame::replyChecksumOk(text)) {
            if (!repeat(request, chars, timeoutMs, since)) return std::nullopt;
            continue;
        }
        std::optional<QByteArray> data = Frame::fromHex(QStringView(text).mid(8, 2 * count));
        if (data && m_blockHook) m_blockHook(BlockEvent::Read, address, *data);
        return data;
    }
}

bool Link::writeBlock(quint16 address, const QByteArray& data, Tolerance tolerance, int timeoutMs) {
    if (data.isEmpty() || data.size() > Frame::MaxBlock) return false;
    return writeFrame(Frame::writeRequest(address, data), tolerance, timeoutMs);
}

void Link::noteWritten(QStringView requestHex) {
    // A write frame is "57", the data count + 2, the address high byte first, then the data;
    // other acknowledged frames (the clock) carry no block.
    if (!m_blockHook || !requestHex.startsWith(QLatin1String("57"))) return;
    const std::optional<QByteArray> bytes = Frame::fromHex(requestHex);
    if (!bytes || bytes->size() < 5 || quint8(bytes->at(1)) != bytes->size() - 2) return;
    const auto address = quint16((quint8(bytes->at(2)) << 8) | quint8(bytes->at(3)));
    m_blockHook(BlockEvent::Written, address, bytes->mid(4));
}

bool Link::writeFrame(QStringView requestHex, Tolerance tolerance, int timeoutMs, int chars) {
    int allowance = tolerance == Tolerance::Tolerant ? 2 : 1;
    QElapsedTimer since;
    since.start();
    if (!SendFrame(requestHex)) return false;
    aSysDelay(chars, timeoutMs);
    for (;;) {
        if (m_portFailed) return false;
        const QString text = reply();
        if (text == Frame::Ready) {
            noteWritten(requestHex);
            return true;
        }
        if (text == Frame::Busy) {
            if (!repeat(requestHex, chars, timeoutMs, since)) return false;
            continue;
        }
        if (--allowance <= 0) return false;
        settle();
        if (!SendFrame(requestHex)) return false;
        aSysDelay(chars, timeoutMs);
    }
}

void Link::endTransfer(int chars, int ms) {
    if (SendFrame(Frame::End)) aSysDelay(chars, ms);
}

bool Link::runTransfer(const std::function<bool()>& body, const HandshakeTiming& timing) {
    const bool ok = handshake(timing) && body() && !m_cancelled;
    endTransfer();
    return ok;
}

void Link::cancel() {
    if (m_cancelled) return;
    m_cancelled = true;
    note(QStringLiteral("cancelled"));
    if (m_wait) m_wait->quit();
}
