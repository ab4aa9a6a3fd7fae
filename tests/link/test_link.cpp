#include "link/frames.h"
#include "link/link.h"
#include "scriptport.h"
#include "sim/simwire.h"
#include "sim/virtualradio.h"
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <sys/resource.h>

namespace {
// Hang guard only: every exchange below finishes far sooner.
constexpr int GuardMs = 5000;

QString sealed(const QString& hex) {
    return Frame::toHex(Frame::compose(hex).value_or(QByteArray()));
}

// A whole block-read reply carrying `data`.
QString readReply(quint16 address, const QByteArray& data) {
    return sealed(QStringLiteral("57%1%2")
                      .arg(data.size() + 2, 2, 16, QLatin1Char('0'))
                      .arg(address, 4, 16, QLatin1Char('0'))
                      .toUpper() +
                  Frame::toHex(data));
}

qint64 cpuMs() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1000 + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1000;
}
} // namespace

class TestLink : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void echoRemoval_data();
    void echoRemoval();
    void splitReply_data();
    void splitReply();
    void repeatsSameFrame_data();
    void repeatsSameFrame();
    void tolerance_data();
    void tolerance();
    void shortReplyWithLuckySum();
    void repeatBound_data();
    void repeatBound();
    void handshake_data();
    void handshake();
    void endFrameAlways_data();
    void endFrameAlways();
    void receiveCap();
    void delayWakesAndSleeps();
    void portFailure();
    void resetPort();
    void refusesMalformedText();
    void transferAgainstRadio_data();
    void transferAgainstRadio();
    void traceLines();

private:
    ScriptPort* useScript();
    SimPort* useRadio(const SimFaults& faults = {});
    QStringList sentFrames() const;

    Link* m_link = nullptr;
    VirtualRadio* m_radio = nullptr;
    QList<TraceEvent> m_trace;
};

void TestLink::init() {
    m_link = new Link;
    m_radio = new VirtualRadio;
    m_trace.clear();
    m_link->setTraceHook([this](const TraceEvent& e) { m_trace.append(e); });
}

void TestLink::cleanup() {
    delete m_link;
    delete m_radio;
}

ScriptPort* TestLink::useScript() {
    auto* port = new ScriptPort;
    m_link->setPort(std::unique_ptr<RadioPort>(port));
    m_link->openPort();
    return port;
}

SimPort* TestLink::useRadio(const SimFaults& faults) {
    m_radio->setFaults(faults);
    auto* port = new SimPort(*m_radio);
    m_link->setPort(std::unique_ptr<RadioPort>(port));
    m_link->openPort();
    return port;
}

QStringList TestLink::sentFrames() const {
    QStringList frames;
    for (const TraceEvent& e : m_trace)
        if (e.kind == TraceEvent::Sent) frames.append(e.text);
    return frames;
}

// The echo of "5203016010" is 12 characters with its checksum; it is cut off only once a
// character of the reply stands behind it, and the reply is then read from its first character.
void TestLink::echoRemoval_data() {
    QTest::addColumn<QStringList>("chunks"); // hex arriving in separate receive events
    QTest::addColumn<QString>("receiveText");
    QTest::addColumn<int>("echoLength");
    QTest::newRow("echo alone") << QStringList{"520301601020"} << "520301601020" << 12;
    QTest::newRow("echo byte by byte")
        << QStringList{"52", "03", "01", "60", "10", "20"} << "520301601020" << 12;
    QTest::newRow("one reply byte behind") << QStringList{"520301601020", "57"} << "57" << 0;
    QTest::newRow("echo and reply together") << QStringList{"52030160102057120160"} << "57120160" << 0;
    QTest::newRow("reply after removal stays")
        << QStringList{"52030160102057", "12", "0160"} << "57120160" << 0;
    QTest::newRow("short of the echo") << QStringList{"5203016010"} << "5203016010" << 12;
}

void TestLink::echoRemoval() {
    QFETCH(QStringList, chunks);
    QFETCH(QString, receiveText);
    QFETCH(int, echoLength);
    ScriptPort* port = useScript();
    m_link->setSinglePortMode(true);
    QVERIFY(m_link->SendFrame(u"5203016010"));
    QCOMPARE(m_link->EchoLength(), 12);
    for (const QString& c : chunks)
        port->receiveNow(*Frame::fromHex(c));
    QCOMPARE(m_link->ReceiveText(), receiveText);
    QCOMPARE(m_link->EchoLength(), echoLength);
}

void TestLink::splitReply_data() {
    QTest::addColumn<int>("chunkBytes");
    QTest::addColumn<bool>("singlePort");
    QTest::newRow("byte by byte") << 1 << false;
    QTest::newRow("pairs") << 2 << false;
    QTest::newRow("uneven") << 5 << false;
    QTest::newRow("whole") << 21 << false;
    QTest::newRow("byte by byte behind an echo") << 1 << true;
    QTest::newRow("uneven behind an echo") << 7 << true;
}

void TestLink::splitReply() {
    QFETCH(int, chunkBytes);
    QFETCH(bool, singlePort);
    ScriptPort* port = useScript();
    port->chunkBytes = chunkBytes;
    port->echo = singlePort;
    m_link->setSinglePortMode(singlePort);
    const QByteArray data = QByteArray::fromHex("0102030405060708090A0B0C0D0E0F10");
    port->script = {readReply(0x0C00, data)};
    const std::optional<QByteArray> got = m_link->readBlock(0x0C00, 16, Tolerance::Strict, GuardMs);
    QVERIFY(got.has_value());
    QCOMPARE(*got, data);
    QCOMPARE(port->written.size(), 1);
}

// Busy and a bad checksum ask again with the very same frame.
void TestLink::repeatsSameFrame_data() {
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QStringList>("replies");
    QTest::addColumn<int>("sends");
    const QByteArray data(16, char(0x42));
    const QString good = readReply(0x0180, data);
    QString corrupt = good;
    corrupt.replace(corrupt.size() - 2, 2, QStringLiteral("00"));
    QTest::newRow("read, busy") << "read" << QStringList{"090009", "090009", good} << 3;
    QTest::newRow("read, bad checksum") << "read" << QStringList{corrupt, good} << 2;
    QTest::newRow("read, busy then bad checksum")
        << "read" << QStringList{"090009", corrupt, corrupt, good} << 4;
    QTest::newRow("write, busy") << "write" << QStringList{"090009", "090009", "090009", "060006"} << 4;
    QTest::newRow("tolerant write, busy")
        << "tolerant write" << QStringList{"090009", "090009", "060006"} << 3;
    QTest::newRow("ready query, busy")
        << "handshake" << QStringList{"0606716F7672616E15", "090009", "090009", "060006"} << 4;
}

void TestLink::repeatsSameFrame() {
    QFETCH(QString, operation);
    QFETCH(QStringList, replies);
    QFETCH(int, sends);
    ScriptPort* port = useScript();
    port->script = replies;
    bool ok = false;
    if (operation == "read")
        ok = m_link->readBlock(0x0180, 16, Tolerance::Strict, 150).has_value();
    else if (operation == "write")
        ok = m_link->writeBlock(0x0180, QByteArray(16, '\x11'), Tolerance::Strict);
    else if (operation == "tolerant write")
        ok = m_link->writeBlock(0x0C00, QByteArray(16, '\x11'), Tolerance::Tolerant);
    else
        ok = m_link->handshake();
    QVERIFY(ok);
    QCOMPARE(port->written.size(), sends);
    // Everything after the first frame of the exchange repeats it byte for byte.
    const int first = operation == "handshake" ? 1 : 0;
    for (int i = first + 1; i < sends; ++i)
        QCOMPARE(port->written[i], port->written[first]);
}

// A reply that is neither expected nor busy: strict patterns fail at once, tolerant ones ask
// once more and fail on the second such reply within the block.
void TestLink::tolerance_data() {
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QStringList>("replies");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("sends");
    const QString good = readReply(0x0C00, QByteArray(16, '\x33'));
    QTest::newRow("strict read, stray reply") << "strict read" << QStringList{"A5FF00" + good} << false << 1;
    QTest::newRow("strict read, silence") << "strict read" << QStringList{""} << false << 1;
    QTest::newRow("tolerant read, one stray")
        << "tolerant read" << QStringList{"A5FF00" + good, good} << true << 2;
    QTest::newRow("tolerant read, silence once") << "tolerant read" << QStringList{"", good} << true << 2;
    QTest::newRow("tolerant read, two strays")
        << "tolerant read" << QStringList{"A5", "A5", good} << false << 2;
    QTest::newRow("tolerant read, stray busy stray")
        << "tolerant read" << QStringList{"A5", "090009", "A5", good} << false << 3;
    QTest::newRow("strict write, wrong answer") << "strict write" << QStringList{"0A000A"} << false << 1;
    QTest::newRow("strict write, silence") << "strict write" << QStringList{""} << false << 1;
    QTest::newRow("tolerant write, one wrong")
        << "tolerant write" << QStringList{"0A000A", "060006"} << true << 2;
    QTest::newRow("tolerant write, two wrong")
        << "tolerant write" << QStringList{"", "", "060006"} << false << 2;
    QTest::newRow("tolerant write, busy is not counted")
        << "tolerant write" << QStringList{"", "090009", "090009", "060006"} << true << 4;
    QTest::newRow("allowance is per block (first block)")
        << "two tolerant reads" << QStringList{"", good, "", readReply(0x0C20, QByteArray(16, '\x33'))}
        << true << 4;
}

void TestLink::tolerance() {
    QFETCH(QString, operation);
    QFETCH(QStringList, replies);
    QFETCH(bool, ok);
    QFETCH(int, sends);
    ScriptPort* port = useScript();
    port->script = replies;
    const int wait = 100;
    bool got = false;
    const QByteArray record(16, '\x22');
    if (operation == "strict read")
        got = m_link->readBlock(0x0C00, 16, Tolerance::Strict, wait).has_value();
    else if (operation == "tolerant read")
        got = m_link->readBlock(0x0C00, 16, Tolerance::Tolerant, wait).has_value();
    else if (operation == "two tolerant reads")
        got = m_link->readBlock(0x0C00, 16, Tolerance::Tolerant, wait).has_value() &&
              m_link->readBlock(0x0C20, 16, Tolerance::Tolerant, wait).has_value();
    else if (operation == "strict write")
        got = m_link->writeBlock(0x0C00, record, Tolerance::Strict, wait);
    else
        got = m_link->writeBlock(0x0C00, record, Tolerance::Tolerant, wait);
    QCOMPARE(got, ok);
    QCOMPARE(port->written.size(), sends);
}

// Cut short, a reply can still end in the XOR of its other bytes; only a whole reply is data.
void TestLink::shortReplyWithLuckySum() {
    ScriptPort* port = useScript();
    const QByteArray data = QByteArray::fromHex("00112233445566778899AABBCCDDEEFF");
    // 57 12 01 60 00 11 22 and their XOR: a 16-byte reply broken off after two data bytes.
    port->script = {QStringLiteral("57120160001122") +
                        QStringLiteral("%1")
                            .arg(0x57 ^ 0x12 ^ 0x01 ^ 0x60 ^ 0x11 ^ 0x22, 2, 16, QLatin1Char('0'))
                            .toUpper(),
                    readReply(0x0160, data)};
    const std::optional<QByteArray> got = m_link->readBlock(0x0160, 16, Tolerance::Strict, 50);
    QVERIFY(got.has_value());
    QCOMPARE(*got, data);
    QCOMPARE(port->written.size(), 2);
}

// A radio that never stops answering busy (or with bad checksums) ends the request once the
// bound is spent, instead of holding the program for ever.
void TestLink::repeatBound_data() {
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("operation");
    QTest::newRow("busy read") << "busy"
                               << "read";
    QTest::newRow("corrupt read") << "corrupt"
                                  << "read";
    QTest::newRow("busy write") << "busy"
                                << "write";
    QTest::newRow("busy tolerant write") << "busy"
                                         << "tolerant write";
    QTest::newRow("busy ready query") << "busy"
                                      << "ready";
}

void TestLink::repeatBound() {
    QFETCH(QString, fault);
    QFETCH(QString, operation);
    m_link->setRepeatBoundMs(300);
    QElapsedTimer clock;
    bool ok = true;
    if (operation == "ready") {
        // The brand word comes back, then the radio stays busy.
        ScriptPort* port = useScript();
        port->script =
            QStringList{QStringLiteral("0606716F7672616E15")} + QStringList(1000, QStringLiteral("090009"));
        clock.start();
        ok = m_link->handshake();
    } else {
        useRadio();
        QVERIFY(m_link->handshake());
        SimFaults faults;
        (fault == "busy" ? faults.busyEvery : faults.corruptEvery) = 1;
        m_radio->setFaults(faults);
        clock.start();
        if (operation == "read")
            ok = m_link->readBlock(0x0170, 16, Tolerance::Strict, 150).has_value();
        else
            ok = m_link->writeBlock(0x0C00, QByteArray(16, '\x01'),
                                    operation == "write" ? Tolerance::Strict : Tolerance::Tolerant);
    }
    QVERIFY(!ok);
    QVERIFY2(clock.elapsed() < GuardMs, "the repeat bound did not end the request");
    QVERIFY(sentFrames().size() > 3);
    QVERIFY(!m_link->portFailed());
}

void TestLink::handshake_data() {
    QTest::addColumn<int>("silentAfter");
    QTest::addColumn<int>("busyEvery");
    QTest::addColumn<bool>("echo");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("handshakes"); // frames 0206... sent
    QTest::newRow("answered") << -1 << 0 << false << true << 1;
    QTest::newRow("answered through an echoing cable") << -1 << 0 << true << true << 1;
    QTest::newRow("silent radio") << 0 << 0 << false << false << 6;
    QTest::newRow("silent radio behind an echoing cable") << 0 << 0 << true << false << 6;
    // The echo of "0600" is "060006" itself: it must not pass for the radio's answer.
    QTest::newRow("silent after the handshake, echoing cable") << 1 << 0 << true << false << 1;
    QTest::newRow("silent after the handshake") << 1 << 0 << false << false << 1;
}

void TestLink::handshake() {
    QFETCH(int, silentAfter);
    QFETCH(int, busyEvery);
    QFETCH(bool, echo);
    QFETCH(bool, ok);
    QFETCH(int, handshakes);
    SimFaults faults;
    faults.silentAfter = silentAfter;
    faults.busyEvery = busyEvery;
    faults.echo = echo;
    faults.baud = 9600;
    useRadio(faults);
    m_link->setSinglePortMode(echo);
    QCOMPARE(m_link->handshake(), ok);
    QCOMPARE(sentFrames().filter(QStringLiteral("0206514F5652414E")).size(), handshakes);
    QCOMPARE(m_radio->inSession(), silentAfter != 0);
}

// However the transfer goes, its last frame is the end frame.
void TestLink::endFrameAlways_data() {
    QTest::addColumn<int>("silentAfter");
    QTest::addColumn<bool>("bodyOk");
    QTest::addColumn<bool>("bodyRuns");
    QTest::newRow("handshake never answered") << 0 << true << false;
    QTest::newRow("ready query unanswered") << 1 << true << false;
    QTest::newRow("body fails") << -1 << false << true;
    QTest::newRow("success") << -1 << true << true;
}

void TestLink::endFrameAlways() {
    QFETCH(int, silentAfter);
    QFETCH(bool, bodyOk);
    QFETCH(bool, bodyRuns);
    SimFaults faults;
    faults.silentAfter = silentAfter;
    useRadio(faults);
    bool ran = false;
    const bool ok = m_link->runTransfer([&] {
        ran = true;
        return bodyOk;
    });
    QCOMPARE(ok, bodyOk && bodyRuns);
    QCOMPARE(ran, bodyRuns);
    QCOMPARE(sentFrames().last(), QStringLiteral("64016F0A"));
}

void TestLink::receiveCap() {
    ScriptPort* port = useScript();
    QVERIFY(m_link->SendFrame(u"0600"));
    port->receiveNow(QByteArray(700, '\x55'));
    port->receiveNow(QByteArray(700, '\x66'));
    QCOMPARE(m_link->ReceiveText().size(), Link::ReceiveCapChars);
    QVERIFY(m_link->ReceiveText().startsWith(QStringLiteral("5555")));
    QVERIFY(m_link->ReceiveText().endsWith(QStringLiteral("6666")));
    port->receiveNow(QByteArray(10, '\x77'));
    QCOMPARE(m_link->ReceiveText().size(), Link::ReceiveCapChars);
    QVERIFY(!m_link->ReceiveText().contains(QStringLiteral("77")));
    // A new frame starts a fresh text.
    QVERIFY(m_link->SendFrame(u"0600"));
    port->receiveNow(QByteArray("\x06\x00\x06", 3));
    QCOMPARE(m_link->ReceiveText(), QStringLiteral("060006"));
}

void TestLink::delayWakesAndSleeps() {
    ScriptPort* port = useScript();
    QVERIFY(m_link->SendFrame(u"0600"));
    // The reply arrives a little later: the wait ends with it, not with its time-out.
    QTimer::singleShot(30, port, [port] { port->receiveNow(QByteArray("\x06\x00\x06", 3)); });
    QElapsedTimer clock;
    clock.start();
    m_link->aSysDelay(6, 20 * GuardMs);
    QVERIFY2(clock.elapsed() < GuardMs, "aSysDelay did not wake on the reply");
    QCOMPARE(m_link->ReceiveText(), QStringLiteral("060006"));

    // Zero characters waits the whole time, and a silent wait sleeps instead of spinning.
    const qint64 cpuBefore = cpuMs();
    clock.restart();
    m_link->aSysDelay(0, 300);
    QVERIFY(clock.elapsed() >= 300);
    QVERIFY2(cpuMs() - cpuBefore < 150, "aSysDelay used the processor while waiting");
}

void TestLink::portFailure() {
    SimPort* port = useRadio();
    QSignalSpy errors(m_link, &Link::portError);
    QVERIFY(m_link->handshake());
    SimFaults silent;
    silent.silentAfter = 0;
    m_radio->setFaults(silent);
    QTimer::singleShot(20, port, [port] { port->breakLine(QStringLiteral("cable pulled")); });
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!m_link->readBlock(0x0170, 16, Tolerance::Strict, 20 * GuardMs).has_value());
    QVERIFY2(clock.elapsed() < GuardMs, "the wait went on after the port failed");
    QVERIFY(m_link->portFailed());
    QCOMPARE(errors.size(), 1);
    QCOMPARE(m_link->lastPortError(), QStringLiteral("cable pulled"));
    // Nothing more goes out until the port is opened again.
    QVERIFY(!m_link->SendFrame(Frame::End));
    QVERIFY(!m_link->handshake());
    m_radio->setFaults({});
    QVERIFY(m_link->resetPort());
    QVERIFY(!m_link->portFailed());
    QVERIFY(m_link->handshake());
}

void TestLink::resetPort() {
    SimPort* port = useRadio();
    const int opens = port->opens();
    QVERIFY(m_link->resetPort());
    QCOMPARE(port->opens(), opens + 1);
    QVERIFY(m_link->isPortOpen());
    port->setRefuseOpen(true);
    QVERIFY(!m_link->resetPort());
    QVERIFY(!m_link->isPortOpen());
    QVERIFY(!m_link->runTransfer([] { return true; }));
}

void TestLink::refusesMalformedText() {
    ScriptPort* port = useScript();
    QVERIFY(!m_link->SendFrame(u"52030160G0"));
    QVERIFY(!m_link->SendFrame(u"520"));
    QVERIFY(!m_link->SendFrame(u""));
    QVERIFY(!m_link->writeFrame(u"570a0170xx", Tolerance::Strict));
    QVERIFY(!m_link->writeFrame(u"570a01705156", Tolerance::Strict)); // length byte says 8 data bytes
    QVERIFY(!m_link->writeBlock(0x0C00, QByteArray(), Tolerance::Strict));
    QVERIFY(!m_link->writeBlock(0x0C00, QByteArray(251, 'x'), Tolerance::Strict));
    QVERIFY(!m_link->readBlock(0x0C00, 0, Tolerance::Strict, 10).has_value());
    QVERIFY(port->written.isEmpty());
}

// Whole exchanges with the virtual radio, clean and with the faults the patterns are made for.
void TestLink::transferAgainstRadio_data() {
    QTest::addColumn<bool>("echo");
    QTest::addColumn<int>("busyEvery");
    QTest::addColumn<int>("corruptEvery");
    QTest::addColumn<int>("garbageEvery");
    QTest::addColumn<int>("baud");
    QTest::newRow("clean, unpaced") << false << 0 << 0 << 0 << 0;
    QTest::newRow("clean, 9600 baud") << false << 0 << 0 << 0 << 9600;
    QTest::newRow("single-port cable, 9600 baud") << true << 0 << 0 << 0 << 9600;
    QTest::newRow("busy every 3rd") << false << 3 << 0 << 0 << 0;
    QTest::newRow("bad checksum every 4th, echo") << true << 0 << 4 << 0 << 9600;
    QTest::newRow("garbage every 5th on tolerant reads") << false << 0 << 0 << 5 << 9600;
}

void TestLink::transferAgainstRadio() {
    QFETCH(bool, echo);
    QFETCH(int, busyEvery);
    QFETCH(int, corruptEvery);
    QFETCH(int, garbageEvery);
    QFETCH(int, baud);
    SimFaults faults{echo, busyEvery, corruptEvery, garbageEvery, -1, baud};
    SimFaults cable; // the line as it is, without the radio's misbehaviour
    cable.echo = echo;
    cable.baud = baud;
    useRadio(cable);
    m_link->setSinglePortMode(echo);

    QByteArray records;
    for (int r = 0; r < 6; ++r)
        records += QByteArray(16, char(0x10 + r));
    const bool ok = m_link->runTransfer([&] {
        m_radio->setFaults(faults);
        for (int r = 0; r < 6; ++r)
            if (!m_link->writeBlock(quint16(0x0C00 + r * 0x20), records.mid(r * 16, 16), Tolerance::Tolerant))
                return false;
        if (!m_link->writeFrame(Frame::clockRequest(QDateTime(QDate(2024, 3, 3), QTime(10, 20, 30))),
                                Tolerance::Tolerant))
            return false;
        for (int r = 0; r < 6; ++r) {
            const std::optional<QByteArray> back =
                m_link->readBlock(quint16(0x0C00 + r * 0x20), 16, Tolerance::Tolerant, 200);
            if (!back || *back != records.mid(r * 16, 16)) return false;
        }
        return true;
    });
    QVERIFY(ok);
    QCOMPARE(m_radio->memory().mid(0x0C00, 16), records.left(16));
    QCOMPARE(m_radio->memory().mid(0x0CA0, 16), records.mid(80, 16));
    QCOMPARE(m_radio->clock(), QByteArray::fromHex("24030310203000"));
    QVERIFY(!m_radio->inSession()); // the end frame arrived
}

void TestLink::traceLines() {
    useRadio();
    QVERIFY(m_link->handshake());
    QVERIFY(m_trace.size() >= 4);
    QCOMPARE(m_trace[0].kind, TraceEvent::Sent);
    QCOMPARE(m_trace[0].text, QStringLiteral("0206514F5652414E11"));
    QString received;
    for (const TraceEvent& e : m_trace)
        if (e.kind == TraceEvent::Received) received += e.text;
    QCOMPARE(received, QStringLiteral("0606716F7672616E15060006"));
    for (int i = 1; i < m_trace.size(); ++i)
        QVERIFY(m_trace[i].ms >= m_trace[i - 1].ms);
    const QString line = formatTrace(TraceEvent{TraceEvent::Sent, QStringLiteral("060006"), 12345});
    QVERIFY(line.endsWith(QStringLiteral("12.345 > 060006")));
}

QTEST_GUILESS_MAIN(TestLink)
#include "test_link.moc"
