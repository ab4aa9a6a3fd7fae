// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/common/docfixture.h"
#include "tests/common/runprocess.h"
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {
using Run = ProcessRun;

Run cli(const QStringList& args) {
    return runProcess(QCoreApplication::applicationDirPath() + QStringLiteral("/kt520-cli"), args);
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}
} // namespace

class TestCli : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }
    void newThenCheck_data();
    void newThenCheck();
    void richDocumentChecksClean();
    void damagedFiles_data();
    void damagedFiles();
    void badArguments_data();
    void badArguments();
    void importAndExportSayWhatIsWrong();
    void fileSizeLimitIsAFailureNotASignal();
    void outputs_data();
    void outputs();
    void linkFailureExitsAlike_data();
    void linkFailureExitsAlike();
    void hintsWhereARefusalStood_data();
    void hintsWhereARefusalStood();
    void backupsListedPartialMarked();

private:
    QTemporaryDir m_dir;
};

void TestCli::newThenCheck_data() {
    QTest::addColumn<QString>("lang");
    QTest::newRow("1") << "1";
    QTest::newRow("2") << "2";
    QTest::newRow("3") << "3";
}

void TestCli::newThenCheck() {
    QFETCH(QString, lang);
    const QString path = m_dir.filePath(QStringLiteral("new%1.qv19").arg(lang));
    const Run made =
        cli({QStringLiteral("new"), QStringLiteral("--out"), path, QStringLiteral("--lang"), lang});
    QCOMPARE(made.exitCode, 0);
    const QList<QByteArray> lines = fileLines(readAll(path));
    QCOMPARE(lines.size(), DocumentFormat::LineCount);
    QCOMPARE(lines.at(0), QByteArray("QOVRAN MEMORY CHANNEL"));
    QCOMPARE(lines.at(3), QByteArray("TYPE0 KT-520RX1.05"));
    QVERIFY(lines.at(4).startsWith("BAND "));
    // The same bytes as "新建" then "保存" in the program, given the same language and bands.
    auto s = startedSession(lang.toInt());
    s->doc.main.setItems(MainCtl::Band1, {QString::fromLatin1(lines.at(4).mid(5))});
    s->doc.main.setIndex(MainCtl::Band1, 0);
    newDocument(*s);
    QCOMPARE(readAll(path), saveDocument(*s));

    const Run checked = cli({QStringLiteral("check"), path, QStringLiteral("--lang"), lang});
    QCOMPARE(checked.exitCode, 0);
    QVERIFY2(checked.out.contains(QStringLiteral("no problems")), qPrintable(checked.out));
}

void TestCli::richDocumentChecksClean() {
    auto s = freshDocument(2);
    fillRichDocument(*s);
    const QString path = m_dir.filePath(QStringLiteral("rich.qv19"));
    writeAll(path, saveDocument(*s));
    const Run checked = cli({QStringLiteral("check"), path, QStringLiteral("--lang"), QStringLiteral("2")});
    QCOMPARE(checked.exitCode, 0);
}

void TestCli::damagedFiles_data() {
    QTest::addColumn<QList<int>>("lines");        // lines replaced ...
    QTest::addColumn<QList<QByteArray>>("texts"); // ... by these texts
    QTest::addColumn<int>("cut");                 // bytes kept, -1: all
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("named"); // texts the report must hold
    const QByteArray badRow =
        formatChannelLine(4, {"438.50000", "88.6", "438.50000", "OFF", "High", "Wide", "ON", "OFF", "ON",
                              "OFF", "OFF", "OFF", "OFF", "TOOLONGNAME", "OFF", "OFF", "OFF", "300.0"})
            .toLatin1();
    QTest::newRow("position not a number")
        << QList<int>{33} << QList<QByteArray>{"ab1"} << -1 << 1 << QStringList{"line 33:"};
    QTest::newRow("bad values in a channel row") << QList<int>{144} << QList<QByteArray>{badRow} << -1 << 1
                                                 << QStringList{"line 144:", "88.6", "TOOLONGNAME"};
    QTest::newRow("bad DTMF and date") << QList<int>{77, 99} << QList<QByteArray>{"12E", "2099-13-01"} << -1
                                       << 1 << QStringList{"line 77:", "line 99:"};
    // Channels 01-03 of table A alike, at 145.5 MHz outside the band 400-470 MHz.
    QList<QByteArray> alike;
    for (int row = 4; row <= 6; ++row)
        alike << formatChannelLine(row, {"145.50000", "OFF", "145.50000", "OFF", "High", "Wide", "ON", "OFF",
                                         "ON", "OFF", "OFF", "OFF", "OFF", "", "OFF", "OFF", "OFF", ""})
                     .toLatin1();
    QTest::newRow("what the Problems panel warns of: exit 0")
        << QList<int>{144, 145, 146} << alike << -1 << 0
        << QStringList{"line 144: warning:", "outside the selected band",
                       "line 146: warning: Table A, row 03, column RX Freq: same frequencies and tones as "
                       "channel \"01\""};
    QTest::newRow("band not in the list: warning only")
        << QList<int>{5} << QList<QByteArray>{"BAND 400-480MHz"} << -1 << 0 << QStringList{"line 5: warning"};
    QTest::newRow("truncated") << QList<int>() << QList<QByteArray>() << 3000 << 1 << QStringList{"-344:"};
    QTest::newRow("not a document") << QList<int>{1} << QList<QByteArray>{"QOVRAN MEMORY"} << -1 << 1
                                    << QStringList{"line 1:"};
    QTest::newRow("unknown model") << QList<int>{4} << QList<QByteArray>{"TYPE0 KT-999RX1.05"} << -1 << 1
                                   << QStringList{"line 4:"};
}

void TestCli::damagedFiles() {
    QFETCH(QList<int>, lines);
    QFETCH(QList<QByteArray>, texts);
    QFETCH(int, cut);
    QFETCH(int, exitCode);
    QFETCH(QStringList, named);
    auto s = freshDocument(2);
    QList<QByteArray> fileText = fileLines(saveDocument(*s));
    for (qsizetype i = 0; i < lines.size(); ++i)
        fileText[lines.at(i) - 1] = texts.at(i);
    QByteArray bytes = joinLines(fileText);
    if (cut >= 0) bytes.truncate(cut);
    const QString path = m_dir.filePath(QStringLiteral("damaged.qv19"));
    writeAll(path, bytes);
    const Run checked = cli({QStringLiteral("check"), path, QStringLiteral("--lang"), QStringLiteral("2")});
    QCOMPARE(checked.exitCode, exitCode);
    for (const QString& text : named)
        QVERIFY2(checked.out.contains(text), qPrintable(checked.out));
}

void TestCli::badArguments_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("said"); // part of standard output or error
    const QString missing = QDir::tempPath() + QStringLiteral("/kt520-no-such-dir/x/y.qv19");
    QTest::newRow("no verb") << QStringList() << 2 << "Usage";
    QTest::newRow("unknown verb") << QStringList{"frobnicate"} << 2 << "unknown verb";
    QTest::newRow("help") << QStringList{"--help"} << 0 << "check";
    QTest::newRow("new help") << QStringList{"new", "--help"} << 0 << "--out";
    QTest::newRow("new without --out") << QStringList{"new"} << 2 << "--out";
    QTest::newRow("language 7") << QStringList{"new", "--out", "x.qv19", "--lang", "7"} << 2 << "--lang";
    QTest::newRow("unknown option") << QStringList{"check", "--fast", "a.qv19"} << 2 << "fast";
    QTest::newRow("check without file") << QStringList{"check"} << 2 << "FILE";
    QTest::newRow("check missing file") << QStringList{"check", missing} << 1 << "y.qv19";
    QTest::newRow("new into missing folder") << QStringList{"new", "--out", missing} << 4 << "y.qv19";
    QTest::newRow("help gives the exit codes")
        << QStringList{"--help"} << 0 << "5  a write failed after the radio took part of it";
    QTest::newRow("a verb's help too")
        << QStringList{"usage", "--help"} << 0 << "3  the port or the exchange";
    QTest::newRow("and align's") << QStringList{"align", "--help"} << 0 << "4  a file could not be written";
}

void TestCli::badArguments() {
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, said);
    const Run r = cli(args);
    QCOMPARE(r.exitCode, exitCode);
    QVERIFY2((r.out + r.err).contains(said), qPrintable(r.out + r.err));
}

// An import that takes no line (every line dropped, the file's numbers kept, only a header)
// writes nothing and fails; an export of a document that "check" rejects does its job and warns
// with the same findings.
void TestCli::importAndExportSayWhatIsWrong() {
    const QString csv = m_dir.filePath(QStringLiteral("bad.csv"));
    const QString imported = m_dir.filePath(QStringLiteral("imported.qv19"));
    const QByteArray header = "Location,Frequency\r\n";
    const struct {
        QByteArray lines;
        const char* option;
        const char* said;
    } cases[] = {{"0,145.5\r\n1,600\r\n", "--keep-numbers", "line 3:"},
                 {"100,145.5\r\n1,600\r\n", "--replace", "line 3:"},
                 {"", "--replace", "no channel lines"}};
    for (const auto& c : cases) {
        writeAll(csv, header + c.lines);
        const Run r =
            cli({QStringLiteral("import"), QStringLiteral("--csv"), csv, QStringLiteral("--out"), imported,
                 QString::fromLatin1(c.option), QStringLiteral("--lang"), QStringLiteral("2")});
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.contains(QLatin1String(c.said)), qPrintable(r.err));
        QVERIFY(!QFile::exists(imported));
    }
    Run r;

    auto s = freshDocument(2);
    QList<QByteArray> lines = fileLines(saveDocument(*s));
    lines[33 - 1] = "ab1";
    const QString doc = m_dir.filePath(QStringLiteral("rejected.qv19"));
    writeAll(doc, joinLines(lines));
    const QString exported = m_dir.filePath(QStringLiteral("exported.csv"));
    r = cli({QStringLiteral("export"), QStringLiteral("--in"), doc, QStringLiteral("--csv"), exported,
             QStringLiteral("--lang"), QStringLiteral("2")});
    QCOMPARE(r.exitCode, 0);
    QVERIFY(QFile::exists(exported));
    QVERIFY2(r.err.contains(QStringLiteral("line 33: warning:")), qPrintable(r.err));
}

// Past the user's file-size limit (ulimit -f) the save says "File too large" and fails with
// exit status 4; the system's SIGXFSZ does not end the program.
void TestCli::fileSizeLimitIsAFailureNotASignal() {
    const QString path = m_dir.filePath(QStringLiteral("limited.qv19"));
    QProcess p;
    p.setChildProcessModifier([] {
        const rlimit fsize{1000, 1000};
        setrlimit(RLIMIT_FSIZE, &fsize);
    });
    startProgram(p, QCoreApplication::applicationDirPath() + QStringLiteral("/kt520-cli"),
                 {QStringLiteral("new"), QStringLiteral("--out"), path, QStringLiteral("--lang"),
                  QStringLiteral("2")});
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), 4);
    const QString err = QString::fromUtf8(p.readAllStandardError());
    QVERIFY2(err.contains(QStringLiteral("File too large")), qPrintable(err));
    QVERIFY(!QFile::exists(path));
}

// Outputs onto a pipe, a folder or a missing folder are refused by path and reason, and leave
// them as they were; "-" and /dev/stdout write to standard output. A read's or an alignment
// read's --out is looked at before the port.
void TestCli::outputs_data() {
    QTest::addColumn<QStringList>("args"); // FIFO, DIR, DOC, CSV and MISSING stand for files
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("said"); // starts standard output when the exit code is 0
    const QString refused = QStringLiteral("not a regular file");
    QTest::newRow("new onto a pipe") << QStringList{"new", "--out", "FIFO"} << 4 << refused;
    QTest::newRow("import onto a pipe")
        << QStringList{"import", "--csv", "CSV", "--out", "FIFO"} << 4 << refused;
    QTest::newRow("export onto a folder")
        << QStringList{"export", "--in", "DOC", "--csv", "DIR"} << 4 << refused;
    QTest::newRow("print onto a pipe")
        << QStringList{"print", "--in", "DOC", "--pdf", "FIFO"} << 4 << refused;
    QTest::newRow("read into a missing folder")
        << QStringList{"read", "--port", "/dev/null", "--out", "MISSING"} << 4 << "No such file or folder";
    QTest::newRow("alignment read onto a pipe")
        << QStringList{"align", "read", "--port", "/dev/null", "--out", "FIFO"} << 4 << refused;
    QTest::newRow("new to standard output")
        << QStringList{"new", "--out", "-"} << 0 << "QOVRAN MEMORY CHANNEL\r\n";
    QTest::newRow("import to standard output, notes on the error output")
        << QStringList{"import", "--csv", "CSV", "--out", "/dev/stdout"} << 0 << "QOVRAN MEMORY CHANNEL\r\n";
    QTest::newRow("export to standard output")
        << QStringList{"export", "--in", "DOC", "--csv", "/dev/stdout"} << 0 << "Location,Name,Frequency";
}

void TestCli::outputs() {
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, said);
    const QString fifo = m_dir.filePath(QStringLiteral("fifo"));
    const QString folder = m_dir.filePath(QStringLiteral("folder"));
    const QString doc = m_dir.filePath(QStringLiteral("out.qv19"));
    const QString csv = m_dir.filePath(QStringLiteral("out.csv"));
    if (!QFileInfo::exists(fifo)) {
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("folder")));
        writeAll(doc, saveDocument(*freshDocument(2)));
        writeAll(csv, "Location,Frequency\r\n1,145.5\r\n");
    }
    for (QString& a : args)
        a = a == u"FIFO"      ? fifo
            : a == u"DIR"     ? folder
            : a == u"DOC"     ? doc
            : a == u"CSV"     ? csv
            : a == u"MISSING" ? m_dir.filePath(QStringLiteral("missing/x.qv19"))
                              : a;
    const Run r = cli(args << QStringLiteral("--lang") << QStringLiteral("2"));
    QCOMPARE(r.exitCode, exitCode);
    if (exitCode == 0)
        QVERIFY2(r.out.startsWith(said), qPrintable(r.out.left(200)));
    else
        QVERIFY2(r.err.contains(said) && !r.err.contains(QStringLiteral("serial")), qPrintable(r.err));
    QVERIFY(QFileInfo(fifo).exists() && !QFileInfo(fifo).isFile());
    QVERIFY(QFileInfo(folder).isDir());
}

// Every verb that talks to a radio exits alike when it cannot, and says why in words of its own.
void TestCli::linkFailureExitsAlike_data() {
    QTest::addColumn<QStringList>("args");
    QTest::newRow("info") << QStringList{"info"};
    QTest::newRow("read") << QStringList{"read", "--out", "x.qv19"};
    QTest::newRow("write") << QStringList{"write", "--in", "DOC"};
    QTest::newRow("diff") << QStringList{"diff", "--in", "DOC"};
    QTest::newRow("align battery") << QStringList{"align", "battery"};
    QTest::newRow("usage") << QStringList{"usage", "--level", "1"};
}

void TestCli::linkFailureExitsAlike() {
    QFETCH(QStringList, args);
    const QString doc = m_dir.filePath(QStringLiteral("link.qv19"));
    writeAll(doc, saveDocument(*freshDocument(2)));
    args.replaceInStrings(QStringLiteral("DOC"), doc);
    const Run r = cli(args << QStringLiteral("--port") << QStringLiteral("/dev/null")
                           << QStringLiteral("--lang") << QStringLiteral("2"));
    QCOMPARE(r.exitCode, 3);
    QVERIFY2(r.err.contains(QStringLiteral("/dev/null: not a serial port")), qPrintable(r.err));
}

// Files other programs and editors make: read, or named for what they are.
void TestCli::hintsWhereARefusalStood_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("said");
    const QByteArray doc = saveDocument(*freshDocument(2));
    QList<QByteArray> lines = fileLines(doc);
    lines.remove(199, 10);
    QTest::newRow("partial backup") << "2026-12-07_21-30-05_Qovran-partial.qv19" << doc << 1
                                    << "is a partial backup";
    QTest::newRow("byte-order mark") << "bom.qv19"
                                     << "\xEF\xBB\xBF" + doc << 0 << "no problems";
    QTest::newRow("ten lines deleted")
        << "short.qv19" << joinLines(lines) << 1 << "Line 200 does not fit there";
    QTest::newRow("list separated by ';'")
        << "list.csv" << QByteArray("Location;Frequency\r\n1;439,123456\r\n") << 0
        << "line 2: frequency 439.123456 moved onto the channel raster: 439.12500";
}

void TestCli::hintsWhereARefusalStood() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(int, exitCode);
    QFETCH(QString, said);
    const QString path = m_dir.filePath(name);
    writeAll(path, bytes);
    const QStringList args = name.endsWith(u".csv") ? QStringList{"import", "--csv", path, "--out",
                                                                  m_dir.filePath("imported.qv19")}
                                                    : QStringList{"check", path};
    const Run r = cli(args + QStringList{"--lang", "2"});
    QCOMPARE(r.exitCode, exitCode);
    QVERIFY2(r.out.contains(said), qPrintable(r.out + r.err));
}

void TestCli::backupsListedPartialMarked() {
    const QString folder = m_dir.filePath(QStringLiteral("data/kt520/backups"));
    QVERIFY(QDir().mkpath(folder));
    const QByteArray doc = saveDocument(*freshDocument(2));
    for (const char* name : {"2026-12-07_21-30-05_Qovran.qv19", "2026-12-08_09-00-00_Qovran-partial.qv19"})
        writeAll(folder + u'/' + QString::fromLatin1(name), doc);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), m_dir.filePath(QStringLiteral("data")));
    const Run r = runProcess(QCoreApplication::applicationDirPath() + QStringLiteral("/kt520-cli"),
                             {QStringLiteral("backups"), QStringLiteral("--lang"), QStringLiteral("2")}, env);
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out,
             QStringLiteral("2026-12-08 09:00:00 (partial)\t0\t%1/2026-12-08_09-00-00_Qovran-partial.qv19\n"
                            "2026-12-07 21:30:05\t0\t%1/2026-12-07_21-30-05_Qovran.qv19\n")
                 .arg(folder));
}

QTEST_GUILESS_MAIN(TestCli)
#include "test_cli.moc"
