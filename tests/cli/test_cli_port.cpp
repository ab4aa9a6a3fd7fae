// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/base/settingsfile.h"
#include "sim/ptyserver.h"
#include "sim/virtualradio.h"
#include "tests/common/runprocess.h"
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QtTest>
#include <unistd.h>

// "kt520-cli port" and "where" on settings files of their own: copies of kt520-cli run from a
// plain folder (settings beside them) and from an installed layout (prefix/bin beside
// prefix/share/kt520: settings in $XDG_CONFIG_HOME).
class TestCliPort : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void listStates_data();
    void listStates();
    void setKeepsTheRest();
    void badOptionsChangeNothing_data();
    void badOptionsChangeNothing();
    void installedCopy_data();
    void installedCopy();

private:
    using Run = ProcessRun;
    Run cli(const QString& exe, const QStringList& args, const QString& xdgConfigHome = {});
    QString plainCli() const { return m_dir.filePath(QStringLiteral("plain/kt520-cli")); }
    QString plainIni() const { return m_dir.filePath(QStringLiteral("plain/sysini.ini")); }
    QString installedCli() const { return m_dir.filePath(QStringLiteral("prefix/bin/kt520-cli")); }
    static void write(const QString& path, const QByteArray& bytes);
    static QByteArray read(const QString& path);

    QTemporaryDir m_dir;
};

TestCliPort::Run TestCliPort::cli(const QString& exe, const QStringList& args, const QString& xdgConfigHome) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!xdgConfigHome.isEmpty()) env.insert(QStringLiteral("XDG_CONFIG_HOME"), xdgConfigHome);
    return runProcess(exe, args, env, 60000);
}

void TestCliPort::write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

QByteArray TestCliPort::read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void TestCliPort::initTestCase() {
    QVERIFY(m_dir.isValid());
    const QDir built(QCoreApplication::applicationDirPath());
    QVERIFY(QDir().mkpath(m_dir.filePath(QStringLiteral("plain"))));
    QVERIFY(QDir().mkpath(m_dir.filePath(QStringLiteral("prefix/bin"))));
    QVERIFY(QDir().mkpath(m_dir.filePath(QStringLiteral("prefix/share/kt520"))));
    QVERIFY(QFile::copy(built.filePath(QStringLiteral("kt520-cli")), plainCli()));
    QVERIFY(QFile::copy(built.filePath(QStringLiteral("kt520-cli")), installedCli()));
    QVERIFY(QFile::copy(built.filePath(QStringLiteral("cha_dll.dll")),
                        m_dir.filePath(QStringLiteral("prefix/share/kt520/cha_dll.dll"))));
}

void TestCliPort::init() {
    write(plainIni(), "; kept\r\n[Open]\r\ncom=2\r\nextra=keep me\r\n");
}

void TestCliPort::listStates_data() {
    QTest::addColumn<QString>("device"); // "pty" for a pseudo-terminal, "file" for a regular file
    QTest::addColumn<bool>("held");      // held open through the serial-port layer meanwhile
    QTest::addColumn<int>("mode");       // the file's permission bits, or -1
    QTest::addColumn<QString>("state");
    QTest::newRow("free") << "pty" << false << -1 << "free";
    QTest::newRow("held by another program") << "pty" << true << -1 << "in use";
    QTest::newRow("missing") << "/dev/kt520-no-such-device" << false << -1 << "missing";
    QTest::newRow("not a serial port") << "file" << false << 0600 << "not a serial port";
    QTest::newRow("no permission") << "file" << false << 0 << "no permission";
}

void TestCliPort::listStates() {
    QFETCH(QString, device);
    QFETCH(bool, held);
    QFETCH(int, mode);
    QFETCH(QString, state);
    if (mode == 0 && geteuid() == 0) QSKIP("root opens any file");
    VirtualRadio radio;
    PtyServer server(radio);
    QSerialPort holder;
    if (device == QStringLiteral("pty")) {
        QVERIFY(!server.start().has_value());
        device = server.devicePath();
        holder.setPortName(device);
        if (held) QVERIFY(holder.open(QIODevice::ReadWrite));
    } else if (device == QStringLiteral("file")) {
        device = m_dir.filePath(QStringLiteral("plain/not-a-tty"));
        write(device, "x");
        QVERIFY(QFile::setPermissions(device, QFileDevice::Permissions(mode == 0 ? 0 : 0x6600)));
    }
    write(plainIni(), "[open]\ncom=5\n[ports]\ncom5=" + device.toLocal8Bit() + "\n");
    const Run run = cli(plainCli(), {QStringLiteral("port"), QStringLiteral("--list")});
    QCOMPARE(run.exitCode, 0);
    const QStringList lines = run.out.split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 16 + 3); // sixteen ports, single-port, settings, the last line end
    const QString com5 = lines.at(4);
    QVERIFY2(com5.startsWith(QStringLiteral("* COM5  %1 ").arg(device)), qPrintable(com5));
    QVERIFY2(com5.simplified().endsWith(state + QStringLiteral(" [ports]")), qPrintable(com5));
    QCOMPARE(lines.at(16), QStringLiteral("single-port: off"));
    QCOMPARE(lines.at(17), QStringLiteral("settings: ") + plainIni());
    QFile::setPermissions(m_dir.filePath(QStringLiteral("plain/not-a-tty")), QFileDevice::WriteOwner);
}

void TestCliPort::setKeepsTheRest() {
    const Run set = cli(
        plainCli(), {QStringLiteral("port"), QStringLiteral("--set"), QStringLiteral("COM3=/dev/ttyUSB0"),
                     QStringLiteral("--set"), QStringLiteral("com12=/dev/ttyACM0"), QStringLiteral("--com"),
                     QStringLiteral("12"), QStringLiteral("--single-port"), QStringLiteral("on")});
    QCOMPARE(set.exitCode, 0);
    QVERIFY(set.out.isEmpty());
    QCOMPARE(read(plainIni()), QByteArray("; kept\r\n[Open]\r\ncom=12\r\nextra=keep me\r\nco_mode=1\r\n"
                                          "[ports]\r\ncom3=/dev/ttyUSB0\r\ncom12=/dev/ttyACM0\r\n"));
    // An empty device gives the number back to the system's list; --list shows the result.
    const Run back =
        cli(plainCli(), {QStringLiteral("port"), QStringLiteral("--set"), QStringLiteral("COM3="),
                         QStringLiteral("--single-port"), QStringLiteral("off"), QStringLiteral("--list")});
    QCOMPARE(back.exitCode, 0);
    QVERIFY(read(plainIni()).contains("co_mode=0\r\n[ports]\r\ncom3=\r\ncom12=/dev/ttyACM0\r\n"));
    const QStringList lines = back.out.split(QLatin1Char('\n'));
    QVERIFY2(!lines.at(2).contains(QStringLiteral("[ports]")), qPrintable(lines.at(2)));
    QVERIFY2(lines.at(11).startsWith(QStringLiteral("* COM12 /dev/ttyACM0 ")), qPrintable(lines.at(11)));
    QVERIFY(lines.at(11).endsWith(QStringLiteral("[ports]")));
    QCOMPARE(lines.at(16), QStringLiteral("single-port: off"));
}

void TestCliPort::badOptionsChangeNothing_data() {
    QTest::addColumn<QStringList>("options");
    QTest::newRow("COM17") << QStringList{"--set", "COM17=/dev/ttyUSB0"};
    QTest::newRow("one good, one bad")
        << QStringList{"--set", "COM3=/dev/ttyUSB0", "--set", "COM0=/dev/ttyS0"};
    QTest::newRow("--com 0") << QStringList{"--com", "0"};
    QTest::newRow("--single-port yes") << QStringList{"--single-port", "yes"};
    QTest::newRow("stray argument") << QStringList{"COM3=/dev/ttyUSB0"};
}

void TestCliPort::badOptionsChangeNothing() {
    QFETCH(QStringList, options);
    const QByteArray before = read(plainIni());
    const Run run = cli(plainCli(), QStringList{QStringLiteral("port")} + options);
    QCOMPARE(run.exitCode, 2);
    QVERIFY(run.err.startsWith(QStringLiteral("kt520-cli: ")));
    QCOMPARE(read(plainIni()), before);
}

void TestCliPort::installedCopy_data() {
    QTest::addColumn<bool>("configIsAFile"); // the configuration folder cannot be made
    QTest::newRow("first use copies the shared default") << false;
    QTest::newRow("folder that cannot be made") << true;
}

void TestCliPort::installedCopy() {
    QFETCH(bool, configIsAFile);
    QTemporaryDir home;
    const QString config = home.filePath(QStringLiteral("config"));
    if (configIsAFile) write(config, "a file, not a folder");
    const QString settings = config + QStringLiteral("/kt520/sysini.ini");
    const QString shared = m_dir.filePath(QStringLiteral("prefix/share/kt520/sysini.ini"));
    const QByteArray delivered = "[open]\r\ncom=1\r\n[list0]\r\ncom0bo0=136-174MHz\r\n";
    write(shared, delivered);

    const Run where = cli(installedCli(), {QStringLiteral("where")}, config);
    QCOMPARE(where.exitCode, 0);
    QCOMPARE(where.out.section(QLatin1Char('\n'), 0, 2),
             QStringLiteral("settings: %1 (not made yet)\ndefault settings: %2\ncha_dll.dll: %3")
                 .arg(settings, shared, m_dir.filePath(QStringLiteral("prefix/share/kt520/cha_dll.dll"))));

    const Run set =
        cli(installedCli(),
            {QStringLiteral("port"), QStringLiteral("--set"), QStringLiteral("COM3=/dev/ttyUSB0")}, config);
    QCOMPARE(read(shared), delivered);
    if (configIsAFile) {
        QCOMPARE(set.exitCode, 4); // a file not written
        QCOMPARE(set.err, QStringLiteral("Unable to write to %1: Not a directory\n").arg(settings));
        // The delivered default still serves for reading.
        QVERIFY(cli(installedCli(), {QStringLiteral("port")}, config)
                    .out.endsWith(QStringLiteral("(not made yet: read from %1)\n").arg(shared)));
        return;
    }
    QCOMPARE(set.exitCode, 0);
    QCOMPARE(read(settings), delivered + "[ports]\r\ncom3=/dev/ttyUSB0\r\n");
    const Run list = cli(installedCli(), {QStringLiteral("port")}, config);
    QVERIFY(list.out.contains(QStringLiteral("  COM3  /dev/ttyUSB0 ")));
    QVERIFY(list.out.endsWith(QStringLiteral("settings: %1\n").arg(settings)));
}

QTEST_GUILESS_MAIN(TestCliPort)
#include "test_cli_port.moc"
