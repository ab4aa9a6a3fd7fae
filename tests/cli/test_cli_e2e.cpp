// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/demoradio.h"
#include "tests/common/runprocess.h"
#include "tests/common/simprocess.h"
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

namespace {
// Hang guard only.
constexpr int GuardMs = 60000;

// kt520-sim on a pseudo-terminal, started with the sample codeplug and dumping its memory after
// every end-of-transfer frame.
class Sim : public SimProcess {
public:
    explicit Sim(const QTemporaryDir& dir, const QStringList& extra = {})
        : SimProcess(dir.filePath(QStringLiteral("dump.bin")),
                     QStringList{QStringLiteral("--image"), demoImage(dir)} + extra, GuardMs) {}

private:
    static QString demoImage(const QTemporaryDir& dir) {
        const QString image = dir.filePath(QStringLiteral("image.bin"));
        QFile f(image);
        if (f.open(QIODevice::WriteOnly)) f.write(demoRadioImage());
        return image;
    }
};

using Run = ProcessRun;

Run cli(const QStringList& args) {
    return runProcess(QStringLiteral(KT520_CLI_EXE), args, QProcessEnvironment::systemEnvironment(), GuardMs);
}

QStringList args(std::initializer_list<const char*> list) {
    QStringList out;
    for (const char* a : list)
        out << QString::fromUtf8(a);
    return out;
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

class TestCliE2e : public QObject {
    Q_OBJECT
private slots:
    void infoShowsStamps();
    void readWriteRead();
    void damagedDocumentSendsNothing_data();
    void damagedDocumentSendsNothing();
    void badArguments_data();
    void badArguments();
    void missingPort();
    void readWithTraceOnFullDisk();
    void safeWriteOnTwoRadios();
    void readWithoutBackupFolder();
    void failuresAScriptCanTellApart();
    void newDocumentWrittenComparesEqual();
};

// The program's real waits against a radio on a line as slow as the real one; through a USB
// adapter that holds replies, the transfer says so as it starts, and "where" tells it after.
void TestCliE2e::infoShowsStamps() {
    QTemporaryDir dir;
    Sim sim(dir, {QStringLiteral("--baud"), QStringLiteral("9600"), QStringLiteral("--usb-latency"),
                  QStringLiteral("16")});
    QVERIFY(!sim.device().isEmpty());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), dir.filePath(QStringLiteral("data")));
    const auto run = [&](const QStringList& arguments) {
        return runProcess(QStringLiteral(KT520_CLI_EXE), arguments, env, GuardMs);
    };
    const Run r = run({QStringLiteral("info"), QStringLiteral("--port"), sim.device(),
                       QStringLiteral("--lang"), QStringLiteral("2")});
    QCOMPARE(r.exitCode, 0);
    QVERIFY2(r.out.contains(QStringLiteral("Administrator: DEALER")), qPrintable(r.out));
    QVERIFY(r.out.contains(QStringLiteral("Factory Date: 2024-01-15  14:02:45")));
    QVERIFY(r.out.contains(QStringLiteral("User: DEMO")));
    QVERIFY(r.out.contains(QStringLiteral("Model: --------")));
    // Once, as the transfer starts (the in-process test shows nothing said without the timer);
    // a busy machine adds to the 16 ms, never takes from it.
    static const QRegularExpression said(
        QStringLiteral("^warning: Replies from the cable arrive about (1[4-9]|2[0-9]) ms late each: a full "
                       "read takes about ([6-9]|1[0-3]) s longer\\.\n$"));
    QVERIFY2(said.match(r.err).hasMatch(), qPrintable(r.err));
    const Run where = run({QStringLiteral("where")});
    QVERIFY2(where.out.contains(sim.device() + QStringLiteral(": Replies from the cable")),
             qPrintable(where.out));
}

// Read, edit the file, write, read again: the edit and the new stamp are in the radio.
void TestCliE2e::readWriteRead() {
    QTemporaryDir dir;
    Sim sim(dir);
    const QString doc = dir.filePath(QStringLiteral("radio.qv19"));
    const QString trace = dir.filePath(QStringLiteral("trace.txt"));
    // Ten channels prove the timing as well as ninety-nine.
    Run r = cli({QStringLiteral("read"), QStringLiteral("--port"), sim.device(), QStringLiteral("--out"), doc,
                 QStringLiteral("--lang"), QStringLiteral("2"), QStringLiteral("--trace"), trace,
                 QStringLiteral("--channels"), QStringLiteral("10")});
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    QByteArray text = readFile(doc);
    QVERIFY(text.startsWith("QOVRAN MEMORY CHANNEL\r\n"));
    QVERIFY(text.contains("RPT-70"));
    const QString frames = QString::fromUtf8(readFile(trace));
    QVERIFY(frames.contains(QStringLiteral("> 0206514F5652414E11")));
    QVERIFY(frames.contains(QStringLiteral("> 64016F0A")));

    text.replace("RPT-70", "EDITED");
    QFile out(doc);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(text);
    out.close();
    r = cli({QStringLiteral("write"), QStringLiteral("--port"), sim.device(), QStringLiteral("--in"), doc,
             QStringLiteral("--lang"), QStringLiteral("2"), QStringLiteral("--channels"),
             QStringLiteral("10")});
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    QTRY_VERIFY_WITH_TIMEOUT(sim.dump().contains("EDITED"), GuardMs);
    QCOMPARE(sim.dump().mid(0x0168, 8), QByteArray("Qovran\xFF\x06", 8));

    const QString again = dir.filePath(QStringLiteral("again.qv19"));
    r = cli({QStringLiteral("read"), QStringLiteral("--port"), sim.device(), QStringLiteral("--out"), again,
             QStringLiteral("--lang"), QStringLiteral("2"), QStringLiteral("--channels"),
             QStringLiteral("5")});
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    QVERIFY(readFile(again).contains("EDITED"));
}

void TestCliE2e::damagedDocumentSendsNothing_data() {
    QTest::addColumn<QByteArray>("from");
    QTest::addColumn<QByteArray>("to");
    QTest::newRow("frequency text") << QByteArray("438.50000") << QByteArray("4x8.50000");
    QTest::newRow("name too long") << QByteArray("RPT-70") << QByteArray("RPT-70-LONG");
    QTest::newRow("not a document") << QByteArray("QOVRAN MEMORY CHANNEL") << QByteArray("SOMETHING ELSE");
}

void TestCliE2e::damagedDocumentSendsNothing() {
    QFETCH(QByteArray, from);
    QFETCH(QByteArray, to);
    QTemporaryDir dir;
    const QString doc = dir.filePath(QStringLiteral("radio.qv19"));
    {
        Sim source(dir);
        QCOMPARE(cli({QStringLiteral("read"), QStringLiteral("--port"), source.device(),
                      QStringLiteral("--out"), doc, QStringLiteral("--lang"), QStringLiteral("2"),
                      QStringLiteral("--channels"), QStringLiteral("3")})
                     .exitCode,
                 0);
    }
    QByteArray text = readFile(doc);
    QVERIFY(text.contains(from));
    text.replace(from, to);
    QFile out(doc);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(text);
    out.close();

    Sim sim(dir); // a fresh radio that dumps its memory after any transfer
    QVERIFY(sim.dump().isEmpty());
    const Run r = cli({QStringLiteral("write"), QStringLiteral("--port"), sim.device(),
                       QStringLiteral("--in"), doc, QStringLiteral("--lang"), QStringLiteral("2"),
                       QStringLiteral("--trace"), dir.filePath(QStringLiteral("t.txt"))});
    QCOMPARE(r.exitCode, 1);
    QVERIFY(!r.err.isEmpty());
    // Not even the handshake went out: the trace holds no frame and the radio saw no end frame.
    QVERIFY(!readFile(dir.filePath(QStringLiteral("t.txt"))).contains(" > "));
    QTest::qWait(100);
    QVERIFY(sim.dump().isEmpty());
}

void TestCliE2e::badArguments_data() {
    QTest::addColumn<QStringList>("args");
    QTest::newRow("no port") << QStringList{QStringLiteral("info")};
    QTest::newRow("channels 0") << QStringList{QStringLiteral("read"),      QStringLiteral("--port"),
                                               QStringLiteral("/dev/null"), QStringLiteral("--out"),
                                               QStringLiteral("x.qv19"),    QStringLiteral("--channels"),
                                               QStringLiteral("0")};
    QTest::newRow("channels #") << QStringList{QStringLiteral("info"), QStringLiteral("--port"),
                                               QStringLiteral("COM1"), QStringLiteral("--channels"),
                                               QStringLiteral("#")};
    QTest::newRow("COM17") << QStringList{QStringLiteral("info"), QStringLiteral("--port"),
                                          QStringLiteral("COM17")};
    QTest::newRow("write without file")
        << QStringList{QStringLiteral("write"), QStringLiteral("--port"), QStringLiteral("COM1")};
    QTest::newRow("language 4") << QStringList{QStringLiteral("info"), QStringLiteral("--port"),
                                               QStringLiteral("COM1"), QStringLiteral("--lang"),
                                               QStringLiteral("4")};
}

void TestCliE2e::badArguments() {
    QFETCH(QStringList, args);
    const Run r = cli(args);
    QCOMPARE(r.exitCode, 2);
    QVERIFY(r.err.startsWith(QStringLiteral("kt520-cli: ")));
}

void TestCliE2e::missingPort() {
    const Run r =
        cli({QStringLiteral("info"), QStringLiteral("--port"), QStringLiteral("/dev/kt520-no-such-port"),
             QStringLiteral("--lang"), QStringLiteral("2")});
    QCOMPARE(r.exitCode, 3);
    QVERIFY(r.err.contains(QStringLiteral("/dev/kt520-no-such-port")));
}

// Two radios written at once with a backup first and a read-back: the radio that loses writes is
// named and fails alone; compare then tells the document from a radio and from another file.
void TestCliE2e::safeWriteOnTwoRadios() {
    QTemporaryDir dir;
    QTemporaryDir other;
    Sim sound(dir);
    Sim failing(other, {QStringLiteral("--drop-writes-every"), QStringLiteral("1")});
    const QString doc = dir.filePath(QStringLiteral("radio.qv19"));
    Run r = cli(args({"read", "--lang", "2", "--channels", "3", "--out"})
                << doc << QStringLiteral("--port") << sound.device());
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    QByteArray text = readFile(doc);
    text.replace("RPT-70", "EDITED");
    const QString edited = dir.filePath(QStringLiteral("edited.qv19"));
    QFile out(edited);
    QVERIFY(out.open(QIODevice::WriteOnly) && out.write(text) == text.size());
    out.close();

    r = cli(args({"diff", "--lang", "2"}) << doc << edited);
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.out.contains(QStringLiteral(": RPT-70 \u2192 EDITED")), qPrintable(r.out));

    r = cli(args({"write", "--lang", "2", "--channels", "3", "--verify", "--backup-first", "--in"})
            << edited << QStringLiteral("--port") << sound.device() << QStringLiteral("--port")
            << failing.device());
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.out.contains(sound.device() + QStringLiteral(": verified")), qPrintable(r.out));
    QVERIFY2(r.err.contains(failing.device() + QStringLiteral(": Verify failed")), qPrintable(r.err));
    QTRY_VERIFY_WITH_TIMEOUT(sound.dump().contains("EDITED"), GuardMs);

    r = cli(args({"diff", "--lang", "2", "--channels", "3", "--in"})
            << edited << QStringLiteral("--port") << sound.device());
    QVERIFY2(r.exitCode == 0, qPrintable(r.out + r.err));

    r = cli(args({"write", "--in"}) << edited << QStringLiteral("--port") << sound.device()
                                    << QStringLiteral("--port") << sound.device());
    QCOMPARE(r.exitCode, 2);
    QVERIFY(r.err.contains(QStringLiteral("same device")));
}

// A backup folder that cannot be made: the read still saves its document and warns why.
void TestCliE2e::readWithoutBackupFolder() {
    QTemporaryDir dir;
    Sim sim(dir);
    const QString blocker = dir.filePath(QStringLiteral("not-a-folder"));
    QFile file(blocker);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), blocker);
    const QString doc = dir.filePath(QStringLiteral("radio.qv19"));
    const Run r = runProcess(QStringLiteral(KT520_CLI_EXE),
                             args({"read", "--lang", "2", "--channels", "3", "--out"})
                                 << doc << QStringLiteral("--port") << sim.device(),
                             env, GuardMs);
    QCOMPARE(r.exitCode, 0);
    QVERIFY(readFile(doc).contains("RPT-70"));
    QVERIFY2(r.err.contains(QStringLiteral("The backup of the radio could not be saved")) &&
                 r.err.contains(QStringLiteral("not-a-folder")),
             qPrintable(r.err));
}

// A read whose document cannot be kept sends no frame, nor does a trace that cannot be written; a write that
// a radio took part of before it fell silent exits apart from one that never reached it.
void TestCliE2e::failuresAScriptCanTellApart() {
    QTemporaryDir dir;
    {
        Sim sim(dir);
        const Run r =
            cli(args({"read", "--lang", "2", "--out"}) << dir.filePath(QStringLiteral("missing/radio.qv19"))
                                                       << QStringLiteral("--port") << sim.device());
        QCOMPARE(r.exitCode, 4);
        // A trace onto a pipe nobody reads is refused at once, not waited on.
        const QString fifo = dir.filePath(QStringLiteral("fifo"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QCOMPARE(cli(args({"info", "--trace"}) << fifo << QStringLiteral("--port") << sim.device()).exitCode,
                 4);
        QTest::qWait(100);
        QVERIFY(sim.dump().isEmpty()); // not even an end frame
    }
    const QString doc = dir.filePath(QStringLiteral("new.qv19"));
    QCOMPARE(cli(args({"new", "--out"}) << doc).exitCode, 0);
    Sim fading(dir, {QStringLiteral("--silent-after"), QStringLiteral("12")});
    const Run r = cli(args({"write", "--lang", "2", "--channels", "3", "--in"})
                      << doc << QStringLiteral("--port") << fading.device());
    QCOMPARE(r.exitCode, 5);
    QVERIFY2(r.err.startsWith(QStringLiteral("Communication with the radio failed!")), qPrintable(r.err));
}

// A new document's VFO rows are filled by the write's band check: the radio is compared with
// what the write left, so a radio just written from the file equals it.
void TestCliE2e::newDocumentWrittenComparesEqual() {
    QTemporaryDir dir;
    Sim sim(dir);
    const QString doc = dir.filePath(QStringLiteral("new.qv19"));
    QCOMPARE(cli(args({"new", "--out"}) << doc).exitCode, 0);
    Run r = cli(args({"write", "--lang", "2", "--channels", "1", "--verify", "--in"})
                << doc << QStringLiteral("--port") << sim.device());
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    r = cli(args({"diff", "--lang", "2", "--channels", "1", "--in"})
            << doc << QStringLiteral("--port") << sim.device());
    QVERIFY2(r.exitCode == 0, qPrintable(r.out + r.err));
    QVERIFY(r.out.contains(QStringLiteral("VFO rows")));
}

// A trace that cannot be written (a full disk) is a warning: the read and its document stand.
void TestCliE2e::readWithTraceOnFullDisk() {
    QTemporaryDir dir;
    Sim sim(dir);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), dir.filePath(QStringLiteral("data")));
    const QString doc = dir.filePath(QStringLiteral("radio.qv19"));
    const Run r = runProcess(QStringLiteral(KT520_CLI_EXE),
                             args({"read", "--lang", "2", "--channels", "1", "--trace", "/dev/full", "--out"})
                                 << doc << QStringLiteral("--port") << sim.device(),
                             env, GuardMs);
    QCOMPARE(r.exitCode, 0);
    QVERIFY(readFile(doc).startsWith("QOVRAN MEMORY CHANNEL"));
    QVERIFY2(r.err.contains(QStringLiteral("warning:")) && r.err.contains(QStringLiteral("/dev/full")),
             qPrintable(r.err));
}

QTEST_MAIN(TestCliE2e)
#include "test_cli_e2e.moc"
