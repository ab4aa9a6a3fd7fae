// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/link/frames.h"
#include "core/link/link.h"
#include "core/link/waitscale.h"
#include "sim/simwire.h"
#include "sim/virtualradio.h"
#include "tests/common/cputime.h"
#include "tests/common/testwaits.h"
#include "tests/core/link/scriptport.h"
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

namespace {
// Hang guard only: every exchange below finishes far sooner.
constexpr int GuardMs = 5000;
const QString Brand = QStringLiteral("0606716F7672616E15");

// A whole block-read reply carrying `data`.
QString readReply(quint16 address, const QByteArray& data) {
    const QString hex = QStringLiteral("57%1%2")
                            .arg(data.size() + 2, 2, 16, QLatin1Char('0'))
                            .arg(address, 4, 16, QLatin1Char('0'));
    return Frame::toHex(Frame::compose(hex + Frame::toHex(data)).value_or(QByteArray()));
}
const QString Good = readReply(0x0C00, QByteArray(16, '\x33'));

} // namespace

class TestLink : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { useTestWaits(); }
    void init();
    void cleanup();
    void echoRemoval_data();
    void echoRemoval();
    void splitReply_data();
    void splitReply();
    void scripted_data();
    void scripted();
    void shortReplyWithLuckySum();
    void lateAnswerKeepsItsPlace_data();
    void lateAnswerKeepsItsPlace();
    void acknowledgementInDoubt();
    void acknowledgementTooSoon();
    void repliesOfEarlierRequestsDropped();
    void repeatBound_data();
    void repeatBound();
    void handshake_data();
    void handshake();
    void endFrameAlways_data();
    void endFrameAlways();
    void receiveCap();
    void delayWakesAndSleeps();
    void portFailure();
    void transferAgainstRadio_data();
    void transferAgainstRadio();
    void heldUpHost_data();
    void heldUpHost();

private:
    ScriptPort* useScript(const QStringList& replies = {});
    void useRadio(const SimFaults& faults = {});
    bool run(const QString& operation, int waitMs = 100);
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

ScriptPort* TestLink::useScript(const QStringList& replies) {
    auto* port = new ScriptPort;
    port->script = replies;
    m_link->setPort(std::unique_ptr<RadioPort>(port));
    if (!m_link->openPort()) qFatal("script port refused to open");
    return port;
}

void TestLink::useRadio(const SimFaults& faults) {
    m_radio->setFaults(faults);
    m_link->setPort(std::make_unique<SimPort>(*m_radio));
    if (!m_link->openPort()) qFatal("virtual radio port refused to open");
}

// One pattern by name, as the procedures call them.
bool TestLink::run(const QString& operation, int waitMs) {
    const QByteArray record(16, '\x22');
    if (operation == "read") return m_link->readBlock(0x0C00, 16, Tolerance::Strict, waitMs).has_value();
    if (operation == "tolerant read")
        return m_link->readBlock(0x0C00, 16, Tolerance::Tolerant, waitMs).has_value();
    if (operation == "write") return m_link->writeBlock(0x0C00, record, Tolerance::Strict, waitMs);
    if (operation == "tolerant write") return m_link->writeBlock(0x0C00, record, Tolerance::Tolerant, waitMs);
    return m_link->handshake();
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
    QTest::newRow("echo alone, byte by byte")
        << QStringList{"52", "03", "01", "60", "10", "20"} << "520301601020" << 12;
    QTest::newRow("one reply byte behind") << QStringList{"520301601020", "57"} << "57" << 0;
    QTest::newRow("echo and reply together") << QStringList{"52030160102057120160"} << "57120160" << 0;
    QTest::newRow("reply after removal stays")
        << QStringList{"52030160102057", "12", "0160"} << "57120160" << 0;
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
    QTest::newRow("uneven") << 5 << false;
    QTest::newRow("byte by byte behind an echo") << 1 << true;
}

void TestLink::splitReply() {
    QFETCH(int, chunkBytes);
    QFETCH(bool, singlePort);
    const QByteArray data = QByteArray::fromHex("0102030405060708090A0B0C0D0E0F10");
    ScriptPort* port = useScript({readReply(0x0C00, data)});
    port->chunkBytes = chunkBytes;
    port->echo = singlePort;
    m_link->setSinglePortMode(singlePort);
    QCOMPARE(m_link->readBlock(0x0C00, 16, Tolerance::Strict, GuardMs).value_or(QByteArray()), data);
    QCOMPARE(port->written.size(), 1);
}

// Replies in a row to one pattern. Busy and a bad checksum ask again with the very same frame,
// without counting; any other wrong reply fails a strict pattern at once, and a tolerant one
// on the second such reply.
void TestLink::scripted_data() {
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QStringList>("replies");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("sends");
    QString corrupt = Good;
    corrupt.replace(corrupt.size() - 2, 2, QStringLiteral("00"));
    QTest::newRow("read, busy twice") << "read" << QStringList{"090009", "090009", Good} << true << 3;
    QTest::newRow("read, busy and bad sums")
        << "read" << QStringList{"090009", corrupt, corrupt, Good} << true << 4;
    QTest::newRow("read, stray bytes") << "read" << QStringList{"A5FF00" + Good} << false << 1;
    QTest::newRow("read, silence") << "read" << QStringList{""} << false << 1;
    QTest::newRow("tolerant read, one stray")
        << "tolerant read" << QStringList{"A5FF00" + Good, Good} << true << 2;
    QTest::newRow("tolerant read, two strays")
        << "tolerant read" << QStringList{"", "A5", Good} << false << 2;
    QTest::newRow("tolerant read, busy between strays")
        << "tolerant read" << QStringList{"A5", "090009", "A5"} << false << 3;
    QTest::newRow("write, busy thrice")
        << "write" << QStringList{"090009", "090009", "090009", "060006"} << true << 4;
    QTest::newRow("write, wrong answer") << "write" << QStringList{"0A000A"} << false << 1;
    QTest::newRow("tolerant write, one wrong")
        << "tolerant write" << QStringList{"0A000A", "060006"} << true << 2;
    QTest::newRow("tolerant write, two wrong")
        << "tolerant write" << QStringList{"", "", "060006"} << false << 2;
    QTest::newRow("tolerant write, busy not counted")
        << "tolerant write" << QStringList{"", "090009", "090009", "060006"} << true << 4;
    QTest::newRow("ready query, busy")
        << "handshake" << QStringList{Brand, "090009", "090009", "060006"} << true << 4;
    QTest::newRow("ready query, wrong answer") << "handshake" << QStringList{Brand, "0A000A"} << false << 2;
    // A reply is judged whole before it is used: the block asked for, alone.
    QTest::newRow("read, another block's reply")
        << "read" << QStringList{readReply(0x0C10, QByteArray(16, '\x44')), Good} << true << 2;
    QTest::newRow("read, another length")
        << "read" << QStringList{readReply(0x0C00, QByteArray(8, '\x33')), Good} << true << 2;
    QTest::newRow("read, more behind the block") << "read" << QStringList{Good + "060006", Good} << true << 2;
    QTest::newRow("write, acknowledgement with more behind")
        << "write" << QStringList{"060006090009", "060006"} << true << 2;
    QTest::newRow("write, spoilt acknowledgement") << "write" << QStringList{"068006", "060006"} << true << 2;
    QTest::newRow("ready query, spoilt")
        << "handshake" << QStringList{Brand, "06005C", "060006"} << true << 3;
}

void TestLink::scripted() {
    QFETCH(QString, operation);
    QFETCH(QStringList, replies);
    QFETCH(bool, ok);
    QFETCH(int, sends);
    ScriptPort* port = useScript(replies);
    QCOMPARE(run(operation), ok);
    QCOMPARE(port->written.size(), sends);
    const int first = operation == "handshake" ? 1 : 0; // the ready query follows the brand word
    for (int i = first + 1; i < sends; ++i)
        QCOMPARE(port->written[i], port->written[first]);
}

// Cut short, a reply can still end in the XOR of its other bytes; only a whole reply is data.
void TestLink::shortReplyWithLuckySum() {
    const QByteArray data = QByteArray::fromHex("00112233445566778899AABBCCDDEEFF");
    const int sum = 0x57 ^ 0x12 ^ 0x01 ^ 0x60 ^ 0x11 ^ 0x22;
    ScriptPort* port =
        useScript({QStringLiteral("57120160001122%1").arg(sum, 2, 16).toUpper(), readReply(0x0160, data)});
    QCOMPARE(m_link->readBlock(0x0160, 16, Tolerance::Strict, 50).value_or(QByteArray()), data);
    QCOMPARE(port->written.size(), 2);
}

// A reply that comes after the wait is still taken for its own request, so the next request does
// not get it; one that never comes is silence.
void TestLink::lateAnswerKeepsItsPlace_data() {
    QTest::addColumn<bool>("reading");
    QTest::addColumn<int>("lateMs");
    QTest::addColumn<bool>("ok");
    QTest::newRow("read, late") << true << 140 << true;
    QTest::newRow("write, late") << false << 140 << true;
    QTest::newRow("read, later than the late wait") << true << 600 << false;
    QTest::newRow("write, later than the late wait") << false << 600 << false;
}

void TestLink::lateAnswerKeepsItsPlace() {
    QFETCH(bool, reading);
    QFETCH(int, lateMs);
    QFETCH(bool, ok);
    SimFaults f;
    f.lateAddress = 0x0180;
    f.lateMs = lateMs;
    useRadio(f);
    QVERIFY(m_link->handshake());
    const QByteArray block(16, '\x5A');
    const bool done = reading ? m_link->readBlock(0x0180, 16, Tolerance::Strict, 100).has_value()
                              : m_link->writeBlock(0x0180, block, Tolerance::Strict);
    QCOMPARE(done, ok);
    // The next request gets its own answer whatever came late before it.
    QTest::qWait(WaitScale::scaled(lateMs));
    const auto next = m_link->readBlock(0x0190, 16, Tolerance::Strict, 100);
    QVERIFY(next);
    QCOMPARE(*next, m_radio->memory().mid(0x0190, 16));
}

// Something arriving after an acknowledgement was taken means it may have been another
// request's: the write is sent again before the next request.
void TestLink::acknowledgementInDoubt() {
    ScriptPort* port = useScript({"060006", "060006", Good});
    QVERIFY(m_link->writeBlock(0x0180, QByteArray(16, '\x01'), Tolerance::Strict));
    port->deliver(QByteArray::fromHex("090009"));
    QTest::qWait(5);
    QVERIFY(m_link->readBlock(0x0C00, 16, Tolerance::Strict, 100));
    QCOMPARE(port->written.size(), 3);
    QCOMPARE(port->written[1], port->written[0]);
}

// The radio cannot answer a request before all of it has crossed the line, but a port may not
// know its line's speed (a virtual null-modem, an emulator's mapping of a pseudo-terminal): an
// acknowledgement however soon is taken while no earlier answer is owed. Once a request went
// unanswered, one that comes sooner than its request crossed the line is that one's, and refused.
void TestLink::acknowledgementTooSoon() {
    ScriptPort* port = useScript(QStringList(500, QStringLiteral("060006")));
    port->lineNs = 200'000'000;
    const QByteArray block(16, '\x01');
    QVERIFY(m_link->writeBlock(0x0180, block, Tolerance::Strict));
    port->script.prepend(QString());
    QVERIFY(!m_link->writeBlock(0x0180, block, Tolerance::Strict));
    QCOMPARE(m_link->lastFailure(), Link::Failure::NoReply);
    m_link->setRepeatBoundMs(200);
    QVERIFY(!m_link->writeBlock(0x0180, block, Tolerance::Strict));
    QCOMPARE(m_link->lastFailure(), Link::Failure::Damaged);
}

// A slow radio answers the first handshake while the second is out; the second's answer then
// comes with the ready query's, and a spare "done" in front of a block: neither is taken for the
// answer to the request under way.
void TestLink::repliesOfEarlierRequestsDropped() {
    const QString ready = QStringLiteral("060006");
    ScriptPort* port = useScript({QString(), Brand, Brand + ready, ready + Good});
    QVERIFY(m_link->handshake());
    QCOMPARE(port->written.size(), 3);
    const auto block = m_link->readBlock(0x0C00, 16, Tolerance::Strict, 100);
    QVERIFY(block);
    QCOMPARE(*block, QByteArray(16, '\x33'));
    QCOMPARE(port->written.size(), 4);
}

// A radio that never stops answering busy (or with bad checksums) ends the request once the
// bound is spent, instead of holding the program for ever.
void TestLink::repeatBound_data() {
    QTest::addColumn<bool>("busy");
    QTest::addColumn<QString>("operation");
    QTest::newRow("busy read") << true << "read";
    QTest::newRow("bad checksums to a read") << false << "read";
    QTest::newRow("busy write") << true << "write";
    QTest::newRow("busy tolerant write") << true << "tolerant write";
}

void TestLink::repeatBound() {
    QFETCH(bool, busy);
    QFETCH(QString, operation);
    // Room for a few repeats of the 150 ms wait, even when this process is held up a while.
    m_link->setRepeatBoundMs(600);
    useRadio();
    QVERIFY(m_link->handshake());
    SimFaults faults;
    (busy ? faults.busyEvery : faults.corruptEvery) = 1;
    m_radio->setFaults(faults);
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!run(operation, 150));
    QVERIFY2(clock.elapsed() < GuardMs, "the repeat bound did not end the request");
    QVERIFY(sentFrames().size() > 3); // handshake, ready query, the request and its repeats
    // The ready query is bounded the same way.
    useScript(QStringList{Brand} + QStringList(1000, QStringLiteral("090009")));
    clock.restart();
    QVERIFY(!m_link->handshake());
    QVERIFY(clock.elapsed() < GuardMs);
}

void TestLink::handshake_data() {
    QTest::addColumn<int>("silentAfter");
    QTest::addColumn<bool>("echo");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("handshakes"); // frames 0206... sent
    QTest::newRow("answered") << -1 << false << true << 1;
    QTest::newRow("answered through an echoing cable") << -1 << true << true << 1;
    QTest::newRow("silent radio") << 0 << false << false << 6;
    QTest::newRow("silent radio behind an echoing cable") << 0 << true << false << 6;
    // The echo of "0600" is "060006" itself: it must not pass for the radio's answer.
    QTest::newRow("silent after the handshake, echoing cable") << 1 << true << false << 1;
}

void TestLink::handshake() {
    QFETCH(int, silentAfter);
    QFETCH(bool, echo);
    QFETCH(bool, ok);
    QFETCH(int, handshakes);
    useRadio(SimFaults{echo, 0, 0, 0, silentAfter, 9600});
    m_link->setSinglePortMode(echo);
    QCOMPARE(m_link->handshake(), ok);
    QCOMPARE(sentFrames().filter(QStringLiteral("0206514F5652414E")).size(), handshakes);
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
    QCOMPARE(m_link->runTransfer([&] { return (ran = true) && bodyOk; }), bodyOk && bodyRuns);
    QCOMPARE(ran, bodyRuns);
    QCOMPARE(sentFrames().last(), QStringLiteral("64016F0A"));
}

void TestLink::receiveCap() {
    ScriptPort* port = useScript();
    QVERIFY(m_link->SendFrame(u"0600"));
    port->receiveNow(QByteArray(700, '\x55'));
    port->receiveNow(QByteArray(700, '\x66'));
    port->receiveNow(QByteArray(10, '\x77'));
    // Like a full input buffer: the first 1024 bytes stay, what follows is dropped.
    QCOMPARE(m_link->ReceiveText().size(), Link::ReceiveCapChars);
    QVERIFY(m_link->ReceiveText().startsWith(QStringLiteral("5555")));
    QVERIFY(m_link->ReceiveText().endsWith(QStringLiteral("6666")));
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
    // Zero characters waits the whole time, and a silent wait sleeps instead of spinning.
    const qint64 cpuBefore = processCpuMs();
    clock.restart();
    m_link->aSysDelay(0, 300);
    QVERIFY(clock.elapsed() >= WaitScale::scaled(300));
    QVERIFY2(processCpuMs() - cpuBefore < WaitScale::scaled(150),
             "aSysDelay used the processor while waiting");
}

void TestLink::portFailure() {
    auto* port = new SimPort(*m_radio);
    m_link->setPort(std::unique_ptr<RadioPort>(port));
    QVERIFY(m_link->openPort());
    QSignalSpy errors(m_link, &Link::portError);
    QVERIFY(m_link->handshake());
    m_radio->setFaults(SimFaults{false, 0, 0, 0, 0, 0});
    QTimer::singleShot(20, port, [port] { port->breakLine(QStringLiteral("cable pulled")); });
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!m_link->readBlock(0x0170, 16, Tolerance::Strict, 20 * GuardMs).has_value());
    QVERIFY2(clock.elapsed() < GuardMs, "the wait went on after the port failed");
    QVERIFY(m_link->portFailed());
    QCOMPARE(errors.size(), 1);
    QCOMPARE(m_link->lastPortError(), QStringLiteral("cable pulled"));
    QVERIFY(!m_link->SendFrame(Frame::End)); // nothing goes out until the port is opened again
    m_radio->setFaults({});
    QVERIFY(m_link->resetPort());
    QVERIFY(!m_link->portFailed());
    QVERIFY(m_link->handshake());
    port->setRefuseOpen(true);
    QVERIFY(!m_link->resetPort());
    QVERIFY(!m_link->runTransfer([] { return true; }));
}

// Whole exchanges with the virtual radio, clean and with the faults the patterns are made for.
void TestLink::transferAgainstRadio_data() {
    QTest::addColumn<SimFaults>("faults");
    QTest::newRow("clean, unpaced") << SimFaults{};
    QTest::newRow("single-port cable, 9600 baud") << SimFaults{true, 0, 0, 0, -1, 9600};
    QTest::newRow("busy every 3rd") << SimFaults{false, 3, 0, 0, -1, 0};
    QTest::newRow("bad checksum every 4th, echo") << SimFaults{true, 0, 4, 0, -1, 9600};
    QTest::newRow("garbage every 5th, 9600 baud") << SimFaults{false, 0, 0, 5, -1, 9600};
}

void TestLink::transferAgainstRadio() {
    QFETCH(SimFaults, faults);
    useRadio(SimFaults{faults.echo, 0, 0, 0, -1, faults.baud}); // the cable, radio still well
    m_link->setSinglePortMode(faults.echo);
    QByteArray records;
    for (int r = 0; r < 6; ++r)
        records += QByteArray(16, char(0x10 + r));
    const QDateTime sunday(QDate(2024, 3, 3), QTime(10, 20, 30));
    const bool ok = m_link->runTransfer([&] {
        m_radio->setFaults(faults);
        for (int r = 0; r < 6; ++r)
            if (!m_link->writeBlock(quint16(0x0C00 + r * 0x20), records.mid(r * 16, 16), Tolerance::Tolerant))
                return false;
        if (!m_link->writeFrame(Frame::clockRequest(sunday), Tolerance::Tolerant)) return false;
        for (int r = 0; r < 6; ++r)
            if (m_link->readBlock(quint16(0x0C00 + r * 0x20), 16, Tolerance::Tolerant, 200) !=
                records.mid(r * 16, 16))
                return false;
        return true;
    });
    QVERIFY(ok);
    QCOMPARE(m_radio->memory().mid(0x0CA0, 16), records.mid(80, 16));
    QCOMPARE(m_radio->clock(), QByteArray::fromHex("24030310203000"));
    QVERIFY(!m_radio->inSession()); // the end frame arrived
}

// Another program has the processor as a request goes out, for longer than the wait for the
// reply. The radio answered in time all the same, so the reply is there when the wait ends.
void TestLink::heldUpHost_data() {
    QTest::addColumn<SimFaults>("faults");
    QTest::newRow("unpaced") << SimFaults{};
    QTest::newRow("single-port cable, 9600 baud") << SimFaults{true, 0, 0, 0, -1, 9600};
}

void TestLink::heldUpHost() {
    QFETCH(SimFaults, faults);
    useRadio(faults);
    m_link->setSinglePortMode(faults.echo);
    QVERIFY(m_link->handshake());
    QTimer::singleShot(0, [] { QThread::msleep(WaitScale::scaled(300)); });
    QVERIFY(m_link->readBlock(0x0170, 16, Tolerance::Strict, 100).has_value());
}

QTEST_GUILESS_MAIN(TestLink)
#include "test_link.moc"
