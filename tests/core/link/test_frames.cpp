// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/link/frames.h"
#include "core/link/radioport.h"
#include "sim/ptyserver.h"
#include "sim/simwire.h"
#include "sim/virtualradio.h"
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>

namespace {
// One table row of two texts (a literal followed by a literal would be folded by the formatter).
void row(const char* name, const QString& a, const QString& b) {
    QTest::newRow(name) << a << b;
}
} // namespace

class TestFrames : public QObject {
    Q_OBJECT
private slots:
    void compose_data();
    void compose();
    void replyChecksum_data();
    void replyChecksum();
    void frameChars_data();
    void frameChars();
    void readReplyJudged_data();
    void readReplyJudged();
    void ackJudged_data();
    void ackJudged();
    void requests_data();
    void requests();
    void naturalOrder_data();
    void naturalOrder();
    void comMapping_data();
    void comMapping();
    void adapterText_data();
    void adapterText();
    void probe();
};

void TestFrames::compose_data() {
    QTest::addColumn<QString>("hex");
    QTest::addColumn<QString>("frame"); // empty: refused, nothing may be sent
    row("handshake", "0206514F5652414E", "0206514F5652414E11");
    row("ready query", "0600", "060006");
    row("end", "64016F", "64016F0A");
    row("lower case accepted", "570501a42d3e33", "570501A42D3E33D7");
    row("length byte too big", "0206514F5652", "");
    row("length byte too small", "570A0150FFFFFFFFFFFFFFFFFF", "");
    row("typed field one digit short", "570A017051562D520585FF", "");
    row("command alone", "06", "");
    row("empty", "", "");
    row("odd length", "520", "");
    row("not hex", "57XY", "");
    row("blank inside", "06 00", "");
    row("full-width digit", QString::fromUtf8("０600"), "");
}

void TestFrames::compose() {
    QFETCH(QString, hex);
    QFETCH(QString, frame);
    const std::optional<QByteArray> got = Frame::compose(hex);
    QCOMPARE(got.has_value(), !frame.isEmpty());
    if (got) QCOMPARE(Frame::toHex(*got), frame);
}

void TestFrames::replyChecksum_data() {
    QTest::addColumn<QString>("reply");
    QTest::addColumn<bool>("ok");
    QTest::newRow("brand word") << "0606716F7672616E15" << true;
    QTest::newRow("brand word, wrong sum") << "0606716F7672616E16" << false;
    QTest::newRow("busy") << "090009" << true;
    QTest::newRow("letters in the sum") << "570300000F5B" << true;
    QTest::newRow("lower-case sum") << "570300000F5b" << false;
    QTest::newRow("single byte") << "06" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("odd length") << "06000" << false;
    QTest::newRow("not hex") << "0Z000Z" << false;
}

void TestFrames::replyChecksum() {
    QFETCH(QString, reply);
    QFETCH(bool, ok);
    QCOMPARE(Frame::replyChecksumOk(reply), ok);
}

// Where a wait may end early: the length byte says when a shorter reply is whole.
void TestFrames::frameChars_data() {
    QTest::addColumn<QString>("received");
    QTest::addColumn<int>("chars"); // -1: not known yet
    QTest::newRow("busy") << "090009" << 6;
    QTest::newRow("busy, command only") << "09" << -1;
    QTest::newRow("brand word, half") << "0606716F" << 18;
    QTest::newRow("16-byte block, header") << "57120160" << 42;
    QTest::newRow("length not hex") << "09Z0" << -1;
}

void TestFrames::frameChars() {
    QFETCH(QString, received);
    QFETCH(int, chars);
    QCOMPARE(Frame::frameChars(received).value_or(-1), chars);
}

void TestFrames::requests_data() {
    QTest::addColumn<QString>("got");
    QTest::addColumn<QString>("expected");
    row("read 16", Frame::readRequest(0x0160, 16), "5203016010");
    row("read 8 at a name", Frame::readRequest(0x1908, 8), "5203190808");
    row("write 3", Frame::writeRequest(0x01A4, QByteArray("\x2D\x3E\x33")), "570501A42D3E33");
    row("write 8", Frame::writeRequest(0x0150, QByteArray(8, char(0xFF))), "570A0150FFFFFFFFFFFFFFFF");
    row("write 16", Frame::writeRequest(0x0C10, QByteArray(16, 0)).left(8), "57120C10");
    // The weekday counts from Sunday = 0.
    row("clock, Sunday", Frame::clockRequest(QDateTime(QDate(2024, 3, 3), QTime(10, 20, 30))),
        "550724030310203000");
    row("clock, Saturday", Frame::clockRequest(QDateTime(QDate(2024, 3, 2), QTime(23, 59, 9))),
        "550724030223590906");
    row("clock, year 2100", Frame::clockRequest(QDateTime(QDate(2100, 1, 4), QTime(0, 0))),
        "550700010400000001");
}

void TestFrames::requests() {
    QFETCH(QString, got);
    QFETCH(QString, expected);
    QCOMPARE(got, expected);
    QVERIFY(got.size() == 8 || Frame::compose(got).has_value());
}

void TestFrames::naturalOrder_data() {
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    row("2 before 10", "/dev/ttyS2", "/dev/ttyS10");
    row("letters first", "/dev/ttyACM9", "/dev/ttyS0");
    row("leading zero ties by text", "/dev/ttyS01", "/dev/ttyS1");
    row("prefix first", "/dev/ttyS", "/dev/ttyS0");
    row("digit runs beyond 64 bits", "/dev/tty99999999999999999999", "/dev/tty100000000000000000000");
}

void TestFrames::naturalOrder() {
    QFETCH(QString, a);
    QFETCH(QString, b);
    QVERIFY(naturalLess(a, b));
    QVERIFY(!naturalLess(b, a));
    QVERIFY(!naturalLess(a, a));
}

void TestFrames::comMapping_data() {
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<int>("com");
    QTest::addColumn<QString>("device"); // "#n" = the n-th system device, "" = none
    QTest::newRow("configured") << QByteArray("[open]\ncom=3\n[ports]\ncom3=/dev/ttyUSB0\n") << 3
                                << "/dev/ttyUSB0";
    QTest::newRow("any letter case") << QByteArray("[PORTS]\r\nCOM16=/dev/ttyACM7\r\n") << 16
                                     << "/dev/ttyACM7";
    QTest::newRow("blank value: system list") << QByteArray("[ports]\ncom1=  \n") << 1 << "#1";
    QTest::newRow("no file: system list") << QByteArray() << 2 << "#2";
    QTest::newRow("number 17") << QByteArray("[ports]\ncom17=/dev/ttyUSB0\n") << 17 << "";
}

void TestFrames::comMapping() {
    QFETCH(QByteArray, ini);
    QFETCH(int, com);
    QFETCH(QString, device);
    QTemporaryDir dir;
    QString path;
    if (!ini.isEmpty()) {
        path = dir.filePath(QStringLiteral("sysini.ini"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(ini) == ini.size());
    }
    if (device.startsWith('#')) {
        const QStringList system = PortDirectory::systemDevices();
        const int n = device.mid(1).toInt();
        device = n <= system.size() ? system.at(n - 1) : QString();
    }
    const PortDirectory ports(path);
    QCOMPARE(ports.device(com), device);
    QCOMPARE(ports.create(com) != nullptr, !device.isEmpty());
    // An in-process override comes before the file.
    PortDirectory::overrideDevice(com, QStringLiteral("/dev/pts/77"));
    QCOMPARE(ports.device(com), com <= PortDirectory::LastCom ? QStringLiteral("/dev/pts/77") : QString());
    PortDirectory::clearOverrides();
}

void TestFrames::adapterText_data() {
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("manufacturer");
    QTest::addColumn<QString>("hardwareId");
    QTest::addColumn<QString>("text");
    const auto add = [](const char* name, const char* description, const char* maker, const char* id,
                        const char* text) {
        QTest::newRow(name) << QString::fromUtf8(description) << QString::fromUtf8(maker)
                            << QString::fromUtf8(id) << QString::fromUtf8(text);
    };
    add("nothing known", "", "", "", "");
    add("all three", "USB-SERIAL CH340", "wch.cn", "1a86:7523", "USB-SERIAL CH340, wch.cn, 1a86:7523");
    add("Windows' names", "USB-SERIAL CH340 (COM3)", "wch.cn", "USB\\VID_1A86&PID_7523&REV_0264",
        "USB-SERIAL CH340, wch.cn, 1a86:7523");
    add("maker inside the description", "FTDI FT232R USB UART", "ftdi", "0403:6001",
        "FTDI FT232R USB UART, 0403:6001");
    add("maker known by its number", "USB2.0-Serial", "1a86", "1a86:7523", "USB2.0-Serial, 1a86:7523");
    add("description inside the maker", "Prolific", "Prolific Technology Inc.", "",
        "Prolific Technology Inc.");
    add("one text twice", "Silicon Labs", "SILICON LABS", "", "Silicon Labs");
    add("maker only", "", "Silicon Labs", "", "Silicon Labs");
    add("port name only", "(COM4)", "", "", "");
    add("blanks and line ends", "  USB \n Serial\t", " ", "\n", "USB Serial");
    add("long texts cut", "Intel(R) Active Management Technology - SOL (COM3)", "",
        "BTHENUM\\{00001101-0000-1000-8000-00805f9b34fb}_LOCALMFG&0002",
        "Intel(R) Active Management Technology -\u2026, BTHENUM\\{00001101-0000-\u2026");
}

void TestFrames::adapterText() {
    QFETCH(QString, description);
    QFETCH(QString, manufacturer);
    QFETCH(QString, hardwareId);
    QFETCH(QString, text);
    QCOMPARE((PortAdapter{description, manufacturer, hardwareId}.text()), text);
}

void TestFrames::probe() {
    VirtualRadio radio;
    PtyServer server(radio);
    QVERIFY(!server.start().has_value());
    PortDirectory::overrideDevice(5, server.devicePath());
    const PortDirectory ports;
    QVERIFY(ports.probe(5));
    QVERIFY(!PortDirectory::probeDevice(QStringLiteral("/dev/kt520-no-such-port")));
    // The system names no adapter under a pseudo-terminal, nor under a device that is not there.
    QCOMPARE(PortDirectory::systemAdapters(
                 {server.devicePath(), QString(), QStringLiteral("/dev/kt520-no-such-port")}),
             QList<PortAdapter>(3));
    {
        // Held by another program (through the same locking), the port is not available.
        QSerialPort holder;
        holder.setPortName(server.devicePath());
        QVERIFY(holder.open(QIODevice::ReadWrite));
        QVERIFY(!ports.probe(5));
    }
    QVERIFY(ports.probe(5));
    PortDirectory::overrideFactory(6, QStringLiteral("virtual radio"),
                                   [&radio] { return std::unique_ptr<RadioPort>(new SimPort(radio)); });
    QVERIFY(ports.probe(6));
    QVERIFY(ports.create(6) != nullptr);
    PortDirectory::clearOverrides();
}

void TestFrames::readReplyJudged_data() {
    QTest::addColumn<QString>("reply");
    QTest::addColumn<int>("judged");
    const QString whole = Frame::toHex(*Frame::compose(QStringLiteral("570A0160") + QString(16, QChar('3'))));
    QTest::newRow("whole") << whole << int(Frame::ReadReply::Whole);
    QTest::newRow("busy") << "090009" << int(Frame::ReadReply::Busy);
    QTest::newRow("nothing") << "" << int(Frame::ReadReply::NotABlock);
    QTest::newRow("stray first") << "A5" + whole << int(Frame::ReadReply::NotABlock);
    QTest::newRow("cut") << whole.left(20) << int(Frame::ReadReply::Incomplete);
    QTest::newRow("length byte of another size")
        << whole.left(4).replace(2, 2, "12") << int(Frame::ReadReply::Damaged);
    QTest::newRow("wrong sum") << whole.left(whole.size() - 2) + "00" << int(Frame::ReadReply::Damaged);
    QTest::newRow("more behind") << whole + "06" << int(Frame::ReadReply::Damaged);
    const QString other = Frame::toHex(*Frame::compose(QStringLiteral("570A0168") + QString(16, QChar('3'))));
    QTest::newRow("another address") << other << int(Frame::ReadReply::OtherBlock);
}

void TestFrames::readReplyJudged() {
    QFETCH(QString, reply);
    QFETCH(int, judged);
    QCOMPARE(int(Frame::checkReadReply(reply, 0x0160, 8)), judged);
}

void TestFrames::ackJudged_data() {
    QTest::addColumn<QString>("reply");
    QTest::addColumn<int>("judged");
    QTest::newRow("done") << "060006" << int(Frame::AckReply::Done);
    QTest::newRow("busy") << "090009" << int(Frame::AckReply::Busy);
    QTest::newRow("nothing") << "" << int(Frame::AckReply::Silent);
    QTest::newRow("two answers") << "060006090009" << int(Frame::AckReply::Damaged);
    QTest::newRow("spoilt") << "068006" << int(Frame::AckReply::Damaged);
    QTest::newRow("cut") << "0600" << int(Frame::AckReply::Damaged);
    QTest::newRow("a block") << "570A" << int(Frame::AckReply::Unexpected);
}

void TestFrames::ackJudged() {
    QFETCH(QString, reply);
    QFETCH(int, judged);
    QCOMPARE(int(Frame::checkAck(reply)), judged);
}

QTEST_GUILESS_MAIN(TestFrames)
#include "test_frames.moc"
