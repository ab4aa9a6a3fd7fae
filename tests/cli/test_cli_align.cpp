// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/common/runprocess.h"
#include "tests/common/simprocess.h"
#include <QDateTime>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {
constexpr int GuardMs = 60000;

// kt520-sim, factory-fresh.
class Sim : public SimProcess {
public:
    explicit Sim(const QTemporaryDir& dir, const QStringList& extra = {})
        : SimProcess(dir.filePath(QStringLiteral("dump.bin")), extra, GuardMs),
          dumpPath(dir.filePath(QStringLiteral("dump.bin"))) {}
    // The memory after the end frame of the exchange that has just returned, as hex. A virtual
    // radio held up by a busy machine may write it after the program has ended: the dump is
    // waited for until it is newer than the program's start (file times run up to a clock tick
    // behind).
    QByteArray settled() const {
        QTest::qWait(150);
        const QDateTime since = started.addMSecs(-20);
        const QDeadlineTimer deadline(GuardMs);
        while (QFileInfo(dumpPath).lastModified() < since && !deadline.hasExpired())
            QTest::qWait(10);
        return dump().toHex().toUpper();
    }
    QString dumpPath;
    mutable QDateTime started; // of the last program run against this radio
};

ProcessRun cli(QStringList args, const Sim& sim) {
    args << QStringLiteral("--port") << sim.device() << QStringLiteral("--lang") << QStringLiteral("2");
    sim.started = QDateTime::currentDateTime();
    return runProcess(QStringLiteral(KT520_CLI_EXE), args, QProcessEnvironment::systemEnvironment(), GuardMs);
}
} // namespace

class TestCliAlign : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void readThenWriteKeepsBlocks();
    void menusBatteryUsage();
    void initialiseWrite();
    void badInput_data();
    void badInput();

private:
    // The file, or `text`, as a.m17 in `dir`.
    QString alignmentFile(const QTemporaryDir& dir, const QByteArray& text = {}) const;
    QByteArray m_alignment; // the file of a factory-fresh radio
    QByteArray m_fresh;     // that radio's memory, as hex
};

// One alignment read of a factory-fresh radio serves every test: the 800 ms that each
// exchange waits after opening the port are paid once.
void TestCliAlign::initTestCase() {
    QTemporaryDir dir;
    Sim sim(dir);
    const QString file = dir.filePath(QStringLiteral("a.m17"));
    const ProcessRun r =
        cli({QStringLiteral("align"), QStringLiteral("read"), QStringLiteral("--out"), file}, sim);
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    QVERIFY(r.out.contains(QStringLiteral("(413): 14")));
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    m_alignment = f.readAll();
    m_fresh = sim.settled();
    QVERIFY(m_alignment.startsWith("PR-300\r\n10W\r\n"));
}

QString TestCliAlign::alignmentFile(const QTemporaryDir& dir, const QByteArray& text) const {
    const QString path = dir.filePath(QStringLiteral("a.m17"));
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(text.isEmpty() ? m_alignment : text);
    return path;
}

// What was read writes back unchanged, and the power class travels in the file: a 25W radio's
// file writes 25W back without --power; an older file without it writes 10W and says so.
void TestCliAlign::readThenWriteKeepsBlocks() {
    QTemporaryDir dir;
    Sim sim(dir);
    for (const QByteArray& power : {QByteArray("25W"), QByteArray()}) {
        const QString file =
            alignmentFile(dir, QByteArray(m_alignment).replace("\r\n10W\r\n", "\r\n" + power + "\r\n"));
        const ProcessRun r =
            cli({QStringLiteral("align"), QStringLiteral("write"), QStringLiteral("--in"), file}, sim);
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        QByteArray memory = sim.settled();
        QCOMPARE(memory.mid(2 * 0x01A0, 2), QByteArray(power.isEmpty() ? "41" : "42"));
        QCOMPARE(r.err.contains(QStringLiteral("no power class")), power.isEmpty());
        memory.replace(2 * 0x01A0, 2, m_fresh.mid(2 * 0x01A0, 2));
        QCOMPARE(memory, m_fresh);
    }
}

void TestCliAlign::menusBatteryUsage() {
    QTemporaryDir dir;
    Sim sim(dir, {QStringLiteral("--battery"), QStringLiteral("140,150,150,160")});
    const QString file = alignmentFile(dir);
    // Stored level 1, level 3: the high power at 400 and 470 MHz drops by 20.
    ProcessRun r = cli({QStringLiteral("usage"), QStringLiteral("--level"), QStringLiteral("3")}, sim);
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    QByteArray memory = sim.settled();
    QCOMPARE(memory.mid(2 * 0x01B0, 32), QByteArray("7B722052530000668ED05D526E4E0D03"));
    r = cli({QStringLiteral("align"), QStringLiteral("write"), QStringLiteral("--in"), file,
             QStringLiteral("--menus"), QStringLiteral("--power"), QStringLiteral("25W")},
            sim);
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    memory = sim.settled();
    const auto at = [&memory](int address, int size) { return memory.mid(2 * address, 2 * size); };
    QCOMPARE(at(0x01A0, 1), QByteArray("42"));
    QCOMPARE(at(0x0900, 16), QByteArray("5553455220202020FFFFFFFFFFFFFFFF"));
    QCOMPARE(at(0x0200 + 16 * 50, 8), QByteArray("5749444E41522020")); // "WIDNAR"
    QCOMPARE(at(0x0700 + 4 * 112, 4), QByteArray("20413D42"));         // " A=B"
    r = cli({QStringLiteral("align"), QStringLiteral("battery")}, sim);
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, QStringLiteral("OK !\n"));
    QCOMPARE(sim.settled().mid(2 * 0x01BE, 2), QByteArray("06"));
}

// The alignment of the file first, then the document, with the clock and the factory date.
void TestCliAlign::initialiseWrite() {
    QTemporaryDir dir;
    Sim sim(dir);
    const QString doc = dir.filePath(QStringLiteral("d.qv19"));
    QCOMPARE(runProcess(QStringLiteral(KT520_CLI_EXE), {QStringLiteral("new"), QStringLiteral("--out"), doc})
                 .exitCode,
             0);
    const QString file =
        alignmentFile(dir, QByteArray(m_alignment).replace("\r\n113\r\n", "\r\n100\r\n")); // 401
    const ProcessRun r =
        cli({QStringLiteral("write"), QStringLiteral("--in"), doc, QStringLiteral("--channels"),
             QStringLiteral("3"), QStringLiteral("--initialise"), file, QStringLiteral("--factory-date")},
            sim);
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    const QByteArray memory = sim.settled();
    QCOMPARE(memory.mid(2 * 0x01BA, 2), QByteArray("64"));
    QVERIFY(memory.mid(2 * 0x0140, 16).startsWith("20")); // the factory date, yyyy...
}

void TestCliAlign::badInput_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("exitCode"); // 2 bad arguments, 1 a file that cannot be used
    QTest::newRow("no action") << QStringList{QStringLiteral("align")} << QByteArray() << 2;
    QTest::newRow("short file") << QStringList{QStringLiteral("align"), QStringLiteral("write")}
                                << QByteArray("PR-300\r\n\r\n06\r\n") << 1;
    QTest::newRow("not a value") << QStringList{QStringLiteral("align"), QStringLiteral("write")}
                                 << QByteArray("PR-300\r\n\r\n") + QByteArray("06\r\n").repeated(57) << 1;
    QTest::newRow("control bytes in a value")
        << QStringList{QStringLiteral("align"), QStringLiteral("write")}
        << QByteArray("PR-300\r\n\r\n0\x07\x1b[2J\r\n") + QByteArray("06\r\n").repeated(56) << 1;
    QTest::newRow("level 4") << QStringList{QStringLiteral("usage"), QStringLiteral("--level"),
                                            QStringLiteral("4")}
                             << QByteArray() << 2;
    QTest::newRow("power 5W") << QStringList{QStringLiteral("align"), QStringLiteral("write"),
                                             QStringLiteral("--power"), QStringLiteral("5W")}
                              << QByteArray("x") << 2;
}

void TestCliAlign::badInput() {
    QFETCH(QStringList, args);
    QFETCH(QByteArray, file);
    QFETCH(int, exitCode);
    QTemporaryDir dir;
    Sim sim(dir);
    const QString path = dir.filePath(QStringLiteral("a.m17"));
    if (!file.isEmpty()) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(file);
        f.close();
        args << QStringLiteral("--in") << path;
    }
    const ProcessRun r = cli(args, sim);
    QCOMPARE(r.exitCode, exitCode);
    QVERIFY(!r.err.isEmpty());
    // A line of the file is echoed with its control bytes escaped, never raw to the terminal.
    QVERIFY2(!r.err.contains(QChar(0x07)) && !r.err.contains(QChar(0x1b)), qPrintable(r.err));
    if (file.contains('\x07')) QVERIFY2(r.err.contains(QStringLiteral("0\\x07\\x1b[2J")), qPrintable(r.err));
    QTest::qWait(200);
    QVERIFY(sim.dump().isEmpty()); // nothing was sent
}

QTEST_MAIN(TestCliAlign)
#include "test_cli_align.moc"
