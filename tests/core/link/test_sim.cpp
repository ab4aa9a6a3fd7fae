// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/link/frames.h"
#include "core/link/link.h"
#include "sim/ptyserver.h"
#include "sim/virtualradio.h"
#include "tests/common/runprocess.h"
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QSerialPort>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {
constexpr int GuardMs = 5000;

// Hex text of frames separated by blanks, each given its checksum ("" = nothing).
QByteArray frames(const QString& hexFrames) {
    QByteArray bytes;
    for (const QString& f : hexFrames.split(' ', Qt::SkipEmptyParts))
        bytes += Frame::compose(f).value_or(QByteArrayLiteral("malformed row"));
    return bytes;
}
const QByteArray Handshake = frames("0206514F5652414E");
const QByteArray Brand = QByteArray::fromHex("0606716F7672616E15");
const QByteArray Ready = QByteArray::fromHex("060006");

// Writes `request` to an open serial port and collects `expected` bytes of answer, keeping the
// event loop running (the radio may be served by this very process).
QByteArray exchange(QSerialPort& port, const QByteArray& request, int expected) {
    port.write(request);
    port.flush();
    QByteArray got;
    [[maybe_unused]] const bool complete = QTest::qWaitFor(
        [&] {
            got += port.readAll();
            return got.size() >= expected;
        },
        GuardMs);
    return got;
}
} // namespace

class TestSim : public QObject {
    Q_OBJECT
private slots:
    void answers_data();
    void answers();
    void resynchronises();
    void halfFrameForgotten();
    void linkOverPseudoTerminal_data();
    void linkOverPseudoTerminal();
    void peerGoneFailsLink();
    void executable();
    void executableOptions_data();
    void executableOptions();
    void executablePasswordDelayExit();
};

// Requests fed to a radio fresh from the factory, and its answer to each, as hex text.
void TestSim::answers_data() {
    QTest::addColumn<SimFaults>("faults");
    QTest::addColumn<QStringList>("requests"); // frames without their checksum
    QTest::addColumn<QStringList>("answers");  // with their checksum
    const QString hs = QStringLiteral("0206514F5652414E"), brand = Brand.toHex().toUpper(), ok = "060006";
    const SimFaults none;
    QTest::newRow("identification, no password")
        << none << QStringList{hs, "0600", "5203017008", "5203015008"}
        << QStringList{brand, ok, "570A017051562D520585FF062D", "570A0150FFFFFFFFFFFFFFFF0C"};
    QTest::newRow("write, read back, clock")
        << none << QStringList{hs, "5706076848696768", "5203076808", "550724030310203000"}
        << QStringList{brand, ok, "570A076848696768FFFFFFFF1C", ok};
    // The battery reading: 54, four samples of 0x96, padding to 20 bytes with the XOR.
    QTest::newRow("battery") << none << QStringList{hs, "5503079010"}
                             << QStringList{brand, "5496969696" + QString(28, '0') + "54"};
    QTest::newRow("nothing before the handshake")
        << none << QStringList{"5203017010", "0600", "0206514F5652414D"} << QStringList{"", "", ""};
    QTest::newRow("beyond the memory")
        << none << QStringList{hs, "52031FF810", "57061FFE01020304", "5203000000", "52031FF808"}
        << QStringList{brand, "", "", "", "570A1FF8FFFFFFFFFFFFFFFFBA"};
    // Only the block sizes of the protocol are answered.
    QTest::newRow("strict sizes") << none
                                  << QStringList{hs, "5203076804", "5203076820", "57040768AABB",
                                                 "5707076801020304AA"}
                                  << QStringList{brand, "", "", "", ""};
    QTest::newRow("unknown and malformed")
        << none << QStringList{hs, "7700", "52040170100000"} << QStringList{brand, "", ""};
    QTest::newRow("end closes the session")
        << none << QStringList{hs, "64016F", "0600"} << QStringList{brand, "", ""};
    QTest::newRow("busy every 2nd: the write is not done")
        << SimFaults{false, 2, 0, 0, -1, 0} << QStringList{hs, "5706076801020304", "5203076808", "0600"}
        << QStringList{brand, "090009", "570A0768FFFFFFFFFFFFFFFF32", "090009"};
    QTest::newRow("bad checksum every 2nd")
        << SimFaults{false, 0, 2, 0, -1, 0} << QStringList{hs, "0600", "0600"}
        << QStringList{brand, "06005C", ok};
    QTest::newRow("garbage every 2nd")
        << SimFaults{false, 0, 0, 2, -1, 0} << QStringList{hs, "0600"} << QStringList{brand, "A5FF00060006"};
    QTest::newRow("silent after 2") << SimFaults{false, 0, 0, 0, 2, 0} << QStringList{hs, "0600", "0600"}
                                    << QStringList{brand, ok, ""};
    QTest::newRow("bad checksum every 2nd read, acknowledgements spared")
        << SimFaults{.corruptEvery = 2, .corruptScope = SimFaults::Scope::Read}
        << QStringList{hs, "5203017008", "0600", "0600", "5203015008"}
        << QStringList{brand, "570A017051562D520585FF062D", ok, ok, "570A0150FFFFFFFFFFFFFFFF56"};
    QTest::newRow("every 2nd write acknowledged, not stored")
        << SimFaults{.dropWritesEvery = 2}
        << QStringList{hs, "5706076801020304", "5706076805060708", "5203076808"}
        << QStringList{brand, ok, ok, "570A076801020304FFFFFFFF36"};
    QTest::newRow("echo") << SimFaults{true, 0, 0, 0, -1, 0} << QStringList{hs, "0600", "64016F"}
                          << QStringList{Frame::toHex(Handshake) + brand, "060006" + ok, "64016F0A"};
}

void TestSim::answers() {
    QFETCH(SimFaults, faults);
    QFETCH(QStringList, requests);
    QFETCH(QStringList, answers);
    VirtualRadio radio;
    radio.setFaults(faults);
    for (int i = 0; i < requests.size(); ++i)
        QCOMPARE(Frame::toHex(radio.feed(frames(requests[i]))), answers[i]);
}

// Whatever arrives, the radio never crashes and answers the next well-formed frame.
void TestSim::resynchronises() {
    VirtualRadio radio;
    QRandomGenerator random(520);
    for (int round = 0; round < 200; ++round) {
        QByteArray noise(int(random.bounded(1, 80)), Qt::Uninitialized);
        for (char& c : noise)
            c = char(random.bounded(256));
        radio.feed(noise);
        // A partial frame left by the noise may swallow the start of what follows; a few
        // attempts line the parser up again.
        QByteArray answer;
        for (int attempt = 0; attempt < 40 && !answer.contains(Brand); ++attempt)
            answer += radio.feed(Handshake);
        QVERIFY2(answer.contains(Brand), qPrintable(QStringLiteral("round %1").arg(round)));
    }
    // Split at every position, a frame is still one frame.
    const QByteArray read = frames("5203017008");
    for (int cut = 1; cut < read.size(); ++cut) {
        QVERIFY(radio.feed(read.left(cut)).isEmpty());
        QCOMPARE(radio.feed(read.mid(cut)), frames("570A017051562D520585FF06"));
    }
}

void TestSim::halfFrameForgotten() {
    VirtualRadio radio;
    radio.feed(Handshake);
    // A write cut off in the middle, then a pause: its rest must not be taken for a new frame.
    radio.feed(frames("57120C0000112233445566778899AABBCCDDEEFF").left(6));
    QTest::qWait(VirtualRadio::IdleResetMs + 100);
    QCOMPARE(radio.feed(frames("0600")), Ready);
    QCOMPARE(radio.memory().mid(0x0C00, 16), QByteArray(16, char(0xFF)));
}

// The link through the serial-port layer to the radio on a real pseudo-terminal.
void TestSim::linkOverPseudoTerminal_data() {
    QTest::addColumn<SimFaults>("faults");
    QTest::newRow("unpaced") << SimFaults{};
    QTest::newRow("9600 baud, single-port cable") << SimFaults{true, 0, 0, 0, -1, 9600};
}

void TestSim::linkOverPseudoTerminal() {
    QFETCH(SimFaults, faults);
    VirtualRadio radio;
    radio.setFaults(faults);
    PtyServer server(radio);
    QVERIFY(!server.start().has_value());
    Link link;
    link.setSinglePortMode(faults.echo);
    link.setPort(std::make_unique<SerialRadioPort>(server.devicePath()));
    QStringList notes;
    link.setTraceHook([&](const TraceEvent& e) {
        if (e.kind == TraceEvent::Note) notes << e.text;
    });
    QVERIFY(link.resetPort());
    const QByteArray stamp = QByteArray::fromHex("20240303102030FF5176726176616E06");
    std::optional<QByteArray> back;
    QVERIFY(link.runTransfer([&] {
        return link.writeBlock(0x0160, stamp, Tolerance::Strict) &&
               (back = link.readBlock(0x0160, 16, Tolerance::Strict, 180)).has_value();
    }));
    QCOMPARE(*back, stamp);
    QCOMPARE(radio.memory().mid(0x0160, 16), stamp);
    // A pseudo-terminal has no serial flags and no adapter timer: the request for low latency
    // is refused and nothing is said of it.
    QVERIFY(!link.port()->adapterLatency().timerMs);
    QVERIFY(link.port()->adapterLatency().note.isEmpty());
    QVERIFY2(notes.filter(QStringLiteral("low latency")).isEmpty(), qPrintable(notes.join(u'\n')));
}

// The radio's end of the line disappears while the link waits: the wait ends at once and the
// link reports the failure instead of spinning on the broken device.
void TestSim::peerGoneFailsLink() {
    VirtualRadio radio;
    auto* server = new PtyServer(radio);
    QVERIFY(!server->start().has_value());
    Link link;
    QSignalSpy errors(&link, &Link::portError);
    link.setPort(std::make_unique<SerialRadioPort>(server->devicePath()));
    QVERIFY(link.openPort());
    QVERIFY(link.handshake());
    radio.setFaults(SimFaults{false, 0, 0, 0, 0, 0});
    QTimer::singleShot(30, [server] { delete server; });
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!link.readBlock(0x0170, 16, Tolerance::Strict, 4 * GuardMs).has_value());
    QVERIFY2(clock.elapsed() < GuardMs, "the link kept waiting on a dead device");
    QVERIFY(link.portFailed());
    QCOMPARE(errors.size(), 1);
    QVERIFY(!link.isPortOpen());
}

// kt520-sim prints its device first, answers a hand-made handshake and block read there, can
// be opened again after a close, and dumps its memory at every end of transfer.
void TestSim::executable() {
    QTemporaryDir dir;
    const QString dump = dir.filePath(QStringLiteral("dump.img"));
    QProcess sim;
    startProgram(sim, QStringLiteral(KT520_SIM_EXE), {QStringLiteral("--dump"), dump});
    QVERIFY(sim.waitForStarted(GuardMs));
    QTRY_VERIFY_WITH_TIMEOUT(sim.canReadLine(), GuardMs);
    const QString device = QString::fromLocal8Bit(sim.readLine()).trimmed();
    QVERIFY(device.startsWith(QStringLiteral("/dev/")));
    for (const char* password : {"123456FFFFFFFFF6", "FFFFFFFFFFFFFFFF"}) {
        QFile::remove(dump);
        QSerialPort port;
        port.setPortName(device);
        QVERIFY(port.open(QIODevice::ReadWrite));
        QCOMPARE(exchange(port, Handshake, Brand.size()), Brand);
        QCOMPARE(exchange(port, frames("0600"), 3), Ready);
        QCOMPARE(exchange(port, frames("5203017008"), 13), frames("570A017051562D520585FF06"));
        QCOMPARE(exchange(port, frames(QStringLiteral("570A0150") + password), 3), Ready);
        port.write(frames("64016F"));
        port.flush();
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(dump), GuardMs);
        QFile f(dump);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray image = f.readAll();
        QCOMPARE(image.size(), VirtualRadio::MemorySize);
        QCOMPARE(Frame::toHex(image.mid(0x0150, 8)), QString::fromLatin1(password));
    }
    sim.terminate();
    QVERIFY(sim.waitForFinished(GuardMs));
}

void TestSim::executableOptions_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("output"); // expected in stdout or stderr
    QTest::newRow("help") << QStringList{"--help"} << 0 << "--garbage-every";
    QTest::newRow("count not a number") << QStringList{"--busy-every", "x"} << 2 << "--busy-every";
    QTest::newRow("count zero") << QStringList{"--corrupt-every", "0"} << 2 << "--corrupt-every";
    QTest::newRow("image missing") << QStringList{"--image", "/nonexistent/radio.img"} << 2 << "cannot read";
    QTest::newRow("image of the wrong size") << QStringList{"--image", KT520_SIM_EXE} << 2 << "8192";
    QTest::newRow("scope unknown") << QStringList{"--corrupt-scope", "acks"} << 2 << "--corrupt-scope";
    QTest::newRow("password not digits") << QStringList{"--password", "12a4"} << 2 << "--password";
}

void TestSim::executableOptions() {
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, output);
    QProcess sim;
    startProgram(sim, QStringLiteral(KT520_SIM_EXE), arguments);
    QVERIFY(sim.waitForFinished(GuardMs));
    QCOMPARE(sim.exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.exitCode(), exitCode);
    const QString text = QString::fromLocal8Bit(sim.readAllStandardOutput() + sim.readAllStandardError());
    QVERIFY2(text.contains(output), qPrintable(text));
}

// The radio of a test script: a password set, slow replies, gone after the first transfer.
void TestSim::executablePasswordDelayExit() {
    constexpr int DelayMs = 40;
    QProcess sim;
    startProgram(sim, QStringLiteral(KT520_SIM_EXE),
                 {QStringLiteral("--password"), QStringLiteral("1234"), QStringLiteral("--reply-delay-ms"),
                  QString::number(DelayMs), QStringLiteral("--exit-after-end")});
    QVERIFY(sim.waitForStarted(GuardMs));
    QTRY_VERIFY_WITH_TIMEOUT(sim.canReadLine(), GuardMs);
    QSerialPort port;
    port.setPortName(QString::fromLocal8Bit(sim.readLine()).trimmed());
    QVERIFY(port.open(QIODevice::ReadWrite));
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(exchange(port, Handshake, Brand.size()), Brand);
    QVERIFY(clock.elapsed() >= DelayMs);
    QCOMPARE(exchange(port, frames("0600"), 3), Ready);
    QCOMPARE(exchange(port, frames("5203015008"), 13), frames("570A01501234FFFFFFFFFFF4"));
    QCOMPARE(sim.state(), QProcess::Running);
    port.write(frames("64016F"));
    port.flush();
    QVERIFY(sim.waitForFinished(GuardMs));
    QCOMPARE(sim.exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.exitCode(), 0);
}

QTEST_GUILESS_MAIN(TestSim)
#include "test_sim.moc"
