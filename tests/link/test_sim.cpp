#include "link/frames.h"
#include "link/link.h"
#include "sim/ptyserver.h"
#include "sim/virtualradio.h"
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

// A malformed row gives no bytes, which fails its comparison instead of crashing the test.
QByteArray frame(const char* hex) {
    return Frame::compose(QString::fromLatin1(hex)).value_or(QByteArray());
}
QByteArray handshakeFrame() {
    return frame("0206514F5652414E");
}
const QByteArray BrandReply = QByteArray::fromHex("0606716F7672616E15");
const QByteArray ReadyReply = QByteArray::fromHex("060006");
const QByteArray BusyReply = QByteArray::fromHex("090009");

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
    void factoryRadio();
    void answers_data();
    void answers();
    void faults_data();
    void faults();
    void endOfTransfer();
    void resynchronises();
    void halfFrameForgotten();
    void images();
    void pseudoTerminal();
    void linkOverPseudoTerminal_data();
    void linkOverPseudoTerminal();
    void peerGoneFailsLink();
    void executable();
    void executableOptions_data();
    void executableOptions();
};

void TestSim::factoryRadio() {
    const QByteArray m = VirtualRadio::factoryMemory();
    QCOMPARE(m.size(), VirtualRadio::MemorySize);
    QCOMPARE(m.mid(0x0170, 8).toHex().toUpper(), QByteArray("51562D520585FF06"));
    QCOMPARE(m.mid(0x0150, 8), QByteArray(8, char(0xFF)));                    // no password
    QCOMPARE(m.mid(0x0140, 16), QByteArray(16, char(0xFF)));                  // no factory stamp
    QCOMPARE(m.mid(0x0160, 16), QByteArray(16, char(0xFF)));                  // no programming stamp
    QCOMPARE(m.mid(0x0000, 0x80), QByteArray(0x80, char(0xFF)));              // no FM channels
    QCOMPARE(m.mid(0x0C00, 0x1F60 - 0x0C00), QByteArray(0x1360, char(0xFF))); // no channels, no names
    QCOMPARE(m.mid(0x0158, 8).toHex(), QByteArray("1460144044004300"));       // 146/144/440/430 MHz
    QCOMPARE(m.mid(0x01A4, 3).toHex(), QByteArray("2d3e33"));
    QCOMPARE(quint8(m[0x01BE]), quint8(0x0D)); // low-voltage power-off level
}

// Frames fed to a radio fresh from the factory, and what comes back.
void TestSim::answers_data() {
    QTest::addColumn<QByteArrayList>("frames");
    QTest::addColumn<QByteArray>("reply"); // answer to the last frame
    const QByteArray hs = handshakeFrame();
    QTest::newRow("handshake") << QByteArrayList{hs} << BrandReply;
    QTest::newRow("wrong brand") << QByteArrayList{frame("0206514F5652414D")} << QByteArray();
    QTest::newRow("read before handshake") << QByteArrayList{frame("5203017010")} << QByteArray();
    QTest::newRow("ready") << QByteArrayList{hs, frame("0600")} << ReadyReply;
    QTest::newRow("read identification")
        << QByteArrayList{hs, frame("5203017008")} << frame("570A017051562D520585FF06");
    QTest::newRow("write then read") << QByteArrayList{hs, frame("5706076848696768"), frame("5203076804")}
                                     << frame("57060768"
                                              "48696768");
    QTest::newRow("write acknowledged") << QByteArrayList{hs, frame("570501A42D3E33")} << ReadyReply;
    QTest::newRow("clock") << QByteArrayList{hs, frame("550724030310203000")} << ReadyReply;
    QTest::newRow("battery") << QByteArrayList{hs, frame("5503079010")}
                             // 54, four samples of 0x96, padding; 20 bytes in all with the XOR
                             << QByteArray::fromHex("5496969696"
                                                    "0000000000000000000000000000"
                                                    "54");
    QTest::newRow("read past the end") << QByteArrayList{hs, frame("52031FF810")} << QByteArray();
    QTest::newRow("read of nothing") << QByteArrayList{hs, frame("5203000000")} << QByteArray();
    QTest::newRow("write past the end") << QByteArrayList{hs, frame("57061FFE01020304")} << QByteArray();
    QTest::newRow("last byte of memory") << QByteArrayList{hs, frame("52031FFF01")} << frame("57031FFFFF");
    QTest::newRow("length byte out of range") << QByteArrayList{hs, frame("520401701000")} << QByteArray();
    QTest::newRow("bad checksum") << QByteArrayList{hs, QByteArray::fromHex("06000F")} << QByteArray();
    QTest::newRow("unknown command") << QByteArrayList{hs, frame("7700")} << QByteArray();
    QTest::newRow("end then read") << QByteArrayList{hs, frame("64016F"), frame("5203017010")}
                                   << QByteArray();
    QTest::newRow("end is never answered") << QByteArrayList{hs, frame("64016F")} << QByteArray();
}

void TestSim::answers() {
    QFETCH(QByteArrayList, frames);
    QFETCH(QByteArray, reply);
    VirtualRadio radio;
    QByteArray last;
    for (const QByteArray& f : frames)
        last = radio.feed(f);
    QCOMPARE(last.toHex().toUpper(), reply.toHex().toUpper());
}

void TestSim::faults_data() {
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("n");
    QTest::addColumn<QByteArrayList>("replies"); // to handshake, write 0x0768, read 0x0768, ready
    const QByteArray written = frame("57060768"
                                     "01020304");
    const QByteArray fresh = frame("57060768"
                                   "FFFFFFFF");
    QTest::newRow("clean") << "" << 0 << QByteArrayList{BrandReply, ReadyReply, written, ReadyReply};
    QTest::newRow("busy every 2nd: write not carried out")
        << "busy" << 2 << QByteArrayList{BrandReply, BusyReply, fresh, BusyReply};
    QTest::newRow("busy every 3rd") << "busy" << 3
                                    << QByteArrayList{BrandReply, ReadyReply, BusyReply, ReadyReply};
    QTest::newRow("corrupt every 2nd")
        << "corrupt" << 2
        << QByteArrayList{BrandReply, QByteArray::fromHex("06005C"), written, QByteArray::fromHex("06005C")};
    QTest::newRow("garbage every 3rd")
        << "garbage" << 3
        << QByteArrayList{BrandReply, ReadyReply, QByteArray::fromHex("A5FF00") + written, ReadyReply};
    QTest::newRow("silent after 2") << "silent" << 2
                                    << QByteArrayList{BrandReply, ReadyReply, QByteArray(), QByteArray()};
    QTest::newRow("silent from the start")
        << "silent" << 0 << QByteArrayList{QByteArray(), QByteArray(), QByteArray(), QByteArray()};
    QTest::newRow("echo") << "echo" << 1
                          << QByteArrayList{handshakeFrame() + BrandReply,
                                            frame("5706076801020304") + ReadyReply,
                                            frame("5203076804") + written, frame("0600") + ReadyReply};
}

void TestSim::faults() {
    QFETCH(QString, fault);
    QFETCH(int, n);
    QFETCH(QByteArrayList, replies);
    SimFaults f;
    if (fault == "busy")
        f.busyEvery = n;
    else if (fault == "corrupt")
        f.corruptEvery = n;
    else if (fault == "garbage")
        f.garbageEvery = n;
    else if (fault == "silent")
        f.silentAfter = n;
    else if (fault == "echo")
        f.echo = true;
    VirtualRadio radio;
    radio.setFaults(f);
    const QByteArrayList requests{handshakeFrame(), frame("5706076801020304"), frame("5203076804"),
                                  frame("0600")};
    for (int i = 0; i < requests.size(); ++i)
        QCOMPARE(radio.feed(requests[i]).toHex().toUpper(), replies[i].toHex().toUpper());
}

void TestSim::endOfTransfer() {
    VirtualRadio radio;
    QSignalSpy ended(&radio, &VirtualRadio::transferEnded);
    radio.feed(handshakeFrame());
    QVERIFY(radio.inSession());
    radio.feed(frame("64016F"));
    QCOMPARE(ended.size(), 1);
    QVERIFY(!radio.inSession());
    radio.feed(frame("64016E")); // not the end byte
    radio.feed(frame("64016F")); // outside a session
    QCOMPARE(ended.size(), 1);
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
        for (int attempt = 0; attempt < 40 && !answer.contains(BrandReply); ++attempt)
            answer += radio.feed(handshakeFrame());
        QVERIFY2(answer.contains(BrandReply), qPrintable(QStringLiteral("round %1").arg(round)));
    }
    // Split at every position, a frame is still one frame.
    const QByteArray read = frame("5203017008");
    for (int cut = 1; cut < read.size(); ++cut) {
        QByteArray answer = radio.feed(read.left(cut));
        QVERIFY(answer.isEmpty());
        answer = radio.feed(read.mid(cut));
        QCOMPARE(answer, frame("570A017051562D520585FF06"));
    }
}

void TestSim::halfFrameForgotten() {
    VirtualRadio radio;
    radio.feed(handshakeFrame());
    // A write cut off in the middle, then a pause: its rest must not be taken for a new frame.
    const QByteArray write = frame("5712"
                                   "0C00"
                                   "00112233445566778899AABBCCDDEEFF");
    radio.feed(write.left(6));
    QTest::qWait(VirtualRadio::IdleResetMs + 100);
    QCOMPARE(radio.feed(frame("0600")), ReadyReply);
    QCOMPARE(radio.memory().mid(0x0C00, 16), QByteArray(16, char(0xFF)));
}

void TestSim::images() {
    QTemporaryDir dir;
    VirtualRadio radio;
    QByteArray image(VirtualRadio::MemorySize, '\0');
    image[0x0170] = 0x51;
    const QString good = dir.filePath(QStringLiteral("good.img"));
    const QString shortFile = dir.filePath(QStringLiteral("short.img"));
    {
        QFile f(good);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(image);
        QFile s(shortFile);
        QVERIFY(s.open(QIODevice::WriteOnly));
        s.write(image.left(100));
    }
    QVERIFY(radio.loadImage(shortFile).has_value());
    QCOMPARE(radio.memory(), VirtualRadio::factoryMemory());
    QVERIFY(radio.loadImage(dir.filePath(QStringLiteral("missing.img"))).has_value());
    QVERIFY(!radio.loadImage(good).has_value());
    QCOMPARE(radio.memory(), image);
    const QString saved = dir.filePath(QStringLiteral("saved.img"));
    QVERIFY(!radio.saveImage(saved).has_value());
    VirtualRadio other;
    QVERIFY(!other.loadImage(saved).has_value());
    QCOMPARE(other.memory(), image);
    QVERIFY(radio.saveImage(dir.filePath(QStringLiteral("no/such/dir/x.img"))).has_value());
}

// The radio on a real pseudo-terminal, driven through the serial-port layer.
void TestSim::pseudoTerminal() {
    VirtualRadio radio;
    PtyServer server(radio);
    QVERIFY(!server.start().has_value());
    QVERIFY(server.devicePath().startsWith(QStringLiteral("/dev/")));
    for (int session = 0; session < 2; ++session) { // the device can be opened again after a close
        QSerialPort port;
        port.setPortName(server.devicePath());
        QVERIFY(port.open(QIODevice::ReadWrite));
        QCOMPARE(exchange(port, handshakeFrame(), BrandReply.size()), BrandReply);
        QCOMPARE(exchange(port, frame("0600"), 3), ReadyReply);
        QCOMPARE(exchange(port, frame("5203017010"), 21), frame("5712017051562D520585FF06FFFFFFFFFFFFFFFF"));
        port.write(frame("64016F"));
        port.flush();
        port.close();
        QTRY_VERIFY(!radio.inSession());
    }
}

void TestSim::linkOverPseudoTerminal_data() {
    QTest::addColumn<bool>("echo");
    QTest::addColumn<int>("baud");
    QTest::newRow("unpaced") << false << 0;
    QTest::newRow("9600 baud, single-port cable") << true << 9600;
}

void TestSim::linkOverPseudoTerminal() {
    QFETCH(bool, echo);
    QFETCH(int, baud);
    VirtualRadio radio;
    radio.setFaults(SimFaults{echo, 0, 0, 0, -1, baud});
    PtyServer server(radio);
    QVERIFY(!server.start().has_value());
    Link link;
    link.setSinglePortMode(echo);
    link.setPort(std::make_unique<SerialRadioPort>(server.devicePath()));
    QVERIFY(link.resetPort());
    const QByteArray stamp = QByteArray::fromHex("20240303102030FF5176726176616E06");
    std::optional<QByteArray> back;
    QVERIFY(link.runTransfer([&] {
        if (!link.writeBlock(0x0160, stamp, Tolerance::Strict)) return false;
        back = link.readBlock(0x0160, 16, Tolerance::Strict, 180);
        return back.has_value();
    }));
    QCOMPARE(*back, stamp);
    QCOMPARE(radio.memory().mid(0x0160, 16), stamp);
    link.closePort();
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
    SimFaults silent;
    silent.silentAfter = 0;
    radio.setFaults(silent);
    QTimer::singleShot(30, [server] { delete server; });
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!link.readBlock(0x0170, 16, Tolerance::Strict, 4 * GuardMs).has_value());
    QVERIFY2(clock.elapsed() < GuardMs, "the link kept waiting on a dead device");
    QVERIFY(link.portFailed());
    QCOMPARE(errors.size(), 1);
    QVERIFY(!link.isPortOpen());
}

void TestSim::executable() {
    QTemporaryDir dir;
    const QString dump = dir.filePath(QStringLiteral("dump.img"));
    QProcess sim;
    sim.start(QStringLiteral(KT520_SIM_EXE), {QStringLiteral("--dump"), dump});
    QVERIFY(sim.waitForStarted(GuardMs));
    QVERIFY(sim.waitForReadyRead(GuardMs));
    QTRY_VERIFY_WITH_TIMEOUT(sim.canReadLine(), GuardMs);
    const QString device = QString::fromLocal8Bit(sim.readLine()).trimmed();
    QVERIFY(device.startsWith(QStringLiteral("/dev/")));
    {
        QSerialPort port;
        port.setPortName(device);
        QVERIFY(port.open(QIODevice::ReadWrite));
        QCOMPARE(exchange(port, handshakeFrame(), BrandReply.size()), BrandReply);
        QCOMPARE(exchange(port, frame("0600"), 3), ReadyReply);
        QCOMPARE(exchange(port, frame("5203017008"), 13), frame("570A017051562D520585FF06"));
        QCOMPARE(exchange(port, frame("570A0150123456FFFFFFFFF6"), 3), ReadyReply);
        port.write(frame("64016F"));
        port.flush();
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(dump), GuardMs);
    }
    sim.terminate();
    QVERIFY(sim.waitForFinished(GuardMs));
    QFile f(dump);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray image = f.readAll();
    QCOMPARE(image.size(), VirtualRadio::MemorySize);
    QCOMPARE(image.mid(0x0150, 8).toHex().toUpper(), QByteArray("123456FFFFFFFFF6"));
}

void TestSim::executableOptions_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("output"); // expected in stdout or stderr
    QTest::newRow("help") << QStringList{"--help"} << 0 << "--garbage-every";
    QTest::newRow("help names every option") << QStringList{"--help"} << 0 << "--silent-after";
    QTest::newRow("count not a number") << QStringList{"--busy-every", "x"} << 2 << "--busy-every";
    QTest::newRow("count zero") << QStringList{"--corrupt-every", "0"} << 2 << "--corrupt-every";
    QTest::newRow("negative baud") << QStringList{"--baud", "-9600"} << 2 << "--baud";
    QTest::newRow("image missing") << QStringList{"--image", "/nonexistent/radio.img"} << 2 << "cannot read";
    QTest::newRow("stray argument") << QStringList{"radio.img"} << 2 << "radio.img";
}

void TestSim::executableOptions() {
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, output);
    QProcess sim;
    sim.start(QStringLiteral(KT520_SIM_EXE), arguments);
    QVERIFY(sim.waitForFinished(GuardMs));
    QCOMPARE(sim.exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.exitCode(), exitCode);
    const QString text = QString::fromLocal8Bit(sim.readAllStandardOutput() + sim.readAllStandardError());
    QVERIFY2(text.contains(output), qPrintable(text));
}

QTEST_GUILESS_MAIN(TestSim)
#include "test_sim.moc"
