#include "link/frames.h"
#include "link/radioport.h"
#include "sim/ptyserver.h"
#include "sim/simwire.h"
#include "sim/virtualradio.h"
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>

class TestFrames : public QObject {
    Q_OBJECT
private slots:
    void hexText_data();
    void hexText();
    void compose_data();
    void compose();
    void replyChecksum_data();
    void replyChecksum();
    void requests_data();
    void requests();
    void clock_data();
    void clock();
    void naturalOrder_data();
    void naturalOrder();
    void comMapping_data();
    void comMapping();
    void probe();
};

void TestFrames::hexText_data() {
    QTest::addColumn<QString>("hex");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("upper") << "0A1BFF" << true << QByteArray("\x0A\x1B\xFF", 3);
    QTest::newRow("lower") << "0a1bff" << true << QByteArray("\x0A\x1B\xFF", 3);
    QTest::newRow("empty") << "" << true << QByteArray();
    QTest::newRow("odd length") << "0A1" << false << QByteArray();
    QTest::newRow("not hex") << "0G" << false << QByteArray();
    QTest::newRow("blank inside") << "0A 1B" << false << QByteArray();
    QTest::newRow("sign") << "-1" << false << QByteArray();
    QTest::newRow("full-width digit") << QString::fromUtf8("０1") << false << QByteArray();
}

void TestFrames::hexText() {
    QFETCH(QString, hex);
    QFETCH(bool, valid);
    QFETCH(QByteArray, bytes);
    const std::optional<QByteArray> got = Frame::fromHex(hex);
    QCOMPARE(got.has_value(), valid);
    if (valid) {
        QCOMPARE(*got, bytes);
        QCOMPARE(Frame::toHex(*got), hex.toUpper());
    }
}

void TestFrames::compose_data() {
    QTest::addColumn<QString>("hex");
    QTest::addColumn<QString>("frame"); // empty: refused
    QTest::newRow("handshake") << "0206514F5652414E"
                               << "0206514F5652414E11";
    QTest::newRow("ready query") << "0600"
                                 << "060006";
    QTest::newRow("end") << "64016F"
                         << "64016F0A";
    QTest::newRow("read 0x0160") << "5203016010"
                                 << "520301601020";
    QTest::newRow("lower-case fixed bytes") << "570501a42d3e33"
                                            << "570501A42D3E33D7";
    QTest::newRow("radio's brand reply") << "0606716F7672616E"
                                         << "0606716F7672616E15";
    QTest::newRow("clock") << "550724030310203000"
                           << "55072403031020300076";
    QTest::newRow("length byte too big") << "0206514F5652"
                                         << "";
    QTest::newRow("length byte too small") << "570A0150FFFFFFFFFFFFFFFFFF"
                                           << "";
    QTest::newRow("typed field one digit short") << "570A017051562D520585FF"
                                                 << "";
    QTest::newRow("command alone") << "06"
                                   << "";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("odd") << "520"
                         << "";
    QTest::newRow("typed junk") << "57XY"
                                << "";
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
    QTest::newRow("ready") << "060006" << true;
    QTest::newRow("busy") << "090009" << true;
    QTest::newRow("block") << "570A0150FFFFFFFFFFFFFFFF0C" << true;
    QTest::newRow("block, lower-case sum") << "570300000F5b" << false;
    QTest::newRow("block, letters in the sum") << "570300000F5B" << true;
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

void TestFrames::requests_data() {
    QTest::addColumn<QString>("got");
    QTest::addColumn<QString>("expected");
    QTest::newRow("read 16 at 0x0160") << Frame::readRequest(0x0160, 16) << "5203016010";
    QTest::newRow("read 8 at a table A name") << Frame::readRequest(0x1908, 8) << "5203190808";
    QTest::newRow("read first table A record") << Frame::readRequest(0x0C10, 16) << "52030C1010";
    QTest::newRow("write 3") << Frame::writeRequest(0x01A4, QByteArray("\x2D\x3E\x33")) << "570501A42D3E33";
    QTest::newRow("write 4") << Frame::writeRequest(0x0768, QByteArray("High")) << "5706076848696768";
    QTest::newRow("write 8") << Frame::writeRequest(0x0150, QByteArray(8, char(0xFF)))
                             << "570A0150FFFFFFFFFFFFFFFF";
    QTest::newRow("write 16") << Frame::writeRequest(0x0000, QByteArray(16, '\0')).left(8) << "57120000";
}

void TestFrames::requests() {
    QFETCH(QString, got);
    QFETCH(QString, expected);
    QCOMPARE(got, expected);
}

void TestFrames::clock_data() {
    QTest::addColumn<QDateTime>("when");
    QTest::addColumn<QString>("frame");
    QTest::newRow("Sunday") << QDateTime(QDate(2024, 3, 3), QTime(10, 20, 30))
                            << "5507240303102030"
                               "00";
    QTest::newRow("Saturday") << QDateTime(QDate(2024, 3, 2), QTime(23, 59, 59))
                              << "5507240302235959"
                                 "06";
    QTest::newRow("Monday, year 2100") << QDateTime(QDate(2100, 1, 4), QTime(0, 0, 0))
                                       << "5507000104000000"
                                          "01";
}

void TestFrames::clock() {
    QFETCH(QDateTime, when);
    QFETCH(QString, frame);
    QCOMPARE(Frame::clockRequest(when), frame);
    QVERIFY(Frame::compose(frame).has_value());
}

void TestFrames::naturalOrder_data() {
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<bool>("less");
    QTest::newRow("2 before 10") << "/dev/ttyS2"
                                 << "/dev/ttyS10" << true;
    QTest::newRow("10 not before 2") << "/dev/ttyS10"
                                     << "/dev/ttyS2" << false;
    QTest::newRow("by letters") << "/dev/ttyACM0"
                                << "/dev/ttyS0" << true;
    QTest::newRow("USB1 after USB0") << "/dev/ttyUSB1"
                                     << "/dev/ttyUSB0" << false;
    QTest::newRow("equal") << "/dev/ttyS1"
                           << "/dev/ttyS1" << false;
    QTest::newRow("leading zero ties by text") << "/dev/ttyS01"
                                               << "/dev/ttyS1" << true;
    QTest::newRow("prefix first") << "/dev/ttyS"
                                  << "/dev/ttyS0" << true;
    QTest::newRow("long digit run") << "/dev/tty99999999999999999999"
                                    << "/dev/tty100000000000000000000" << true;
}

void TestFrames::naturalOrder() {
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(bool, less);
    QCOMPARE(naturalLess(a, b), less);
}

void TestFrames::comMapping_data() {
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<int>("com");
    QTest::addColumn<QString>("overrideDevice");
    QTest::addColumn<QString>("device"); // "#n" = the n-th system device, "" = none
    QTest::newRow("configured") << QByteArray("[open]\r\ncom=3\r\n[ports]\r\ncom3=/dev/ttyUSB0\r\n") << 3
                                << ""
                                << "/dev/ttyUSB0";
    QTest::newRow("section and key in any case")
        << QByteArray("[PORTS]\r\nCOM16=/dev/ttyACM7\r\n") << 16 << ""
        << "/dev/ttyACM7";
    QTest::newRow("blank value falls back") << QByteArray("[ports]\r\ncom1=  \r\n") << 1 << ""
                                            << "#1";
    QTest::newRow("other key untouched") << QByteArray("[ports]\r\ncom2=/dev/ttyUSB9\r\n") << 1 << ""
                                         << "#1";
    QTest::newRow("no file") << QByteArray() << 2 << ""
                             << "#2";
    QTest::newRow("override first") << QByteArray("[ports]\r\ncom4=/dev/ttyUSB0\r\n") << 4 << "/dev/pts/77"
                                    << "/dev/pts/77";
    QTest::newRow("number 0") << QByteArray("[ports]\r\ncom0=/dev/ttyUSB0\r\n") << 0 << ""
                              << "";
    QTest::newRow("number 17") << QByteArray("[ports]\r\ncom17=/dev/ttyUSB0\r\n") << 17 << ""
                               << "";
}

void TestFrames::comMapping() {
    QFETCH(QByteArray, ini);
    QFETCH(int, com);
    QFETCH(QString, overrideDevice);
    QFETCH(QString, device);
    QTemporaryDir dir;
    QString path;
    if (!ini.isEmpty()) {
        path = dir.filePath(QStringLiteral("sysini.ini"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(ini);
    }
    PortDirectory::clearOverrides();
    if (!overrideDevice.isEmpty()) PortDirectory::overrideDevice(com, overrideDevice);
    const PortDirectory ports(path);
    if (device.startsWith('#')) {
        const QStringList system = PortDirectory::systemDevices();
        const int n = device.mid(1).toInt();
        device = n <= system.size() ? system.at(n - 1) : QString();
    }
    QCOMPARE(ports.device(com), device);
    QCOMPARE(ports.create(com) != nullptr, !device.isEmpty());
    PortDirectory::clearOverrides();
}

void TestFrames::probe() {
    VirtualRadio radio;
    PtyServer server(radio);
    QVERIFY(!server.start().has_value());
    PortDirectory::overrideDevice(5, server.devicePath());
    const PortDirectory ports;
    QVERIFY(ports.probe(5));
    QVERIFY(!PortDirectory::probeDevice(QStringLiteral("/dev/kt520-no-such-port")));
    {
        // Another program holding the port makes it unavailable; its release makes it free again.
        QSerialPort holder;
        holder.setPortName(server.devicePath());
        QVERIFY(holder.open(QIODevice::ReadWrite));
        QVERIFY(!ports.probe(5));
    }
    QVERIFY(ports.probe(5));
    PortDirectory::overrideFactory(6, QStringLiteral("virtual radio"),
                                   [&radio] { return std::unique_ptr<RadioPort>(new SimPort(radio)); });
    QCOMPARE(ports.device(6), QStringLiteral("virtual radio"));
    QVERIFY(ports.probe(6));
    QVERIFY(ports.create(6) != nullptr);
    PortDirectory::clearOverrides();
    QVERIFY(ports.device(5) != server.devicePath());
}

QTEST_GUILESS_MAIN(TestFrames)
#include "test_frames.moc"
