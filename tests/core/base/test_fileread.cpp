// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/base/fileread.h"
#include "core/base/filesave.h"
#include "core/base/language.h"
#include "core/base/messages.h"
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>

// Files the user names are read only when they are regular files of a sensible size; anything
// else is refused at once, by name, with the reason.
class TestFileRead : public QObject {
    Q_OBJECT
private slots:
    void refusals_data();
    void refusals();
    void savesReplaceOnlyRegularFiles_data();
    void savesReplaceOnlyRegularFiles();
};

void TestFileRead::refusals_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("reason"); // string number, or -1 for the system's text; 0 for bytes read
    QTest::newRow("regular file") << "file" << 0;
    QTest::newRow("exactly at the limit") << "limit" << 0;
    QTest::newRow("one byte too many") << "large" << int(Str::FileTooLarge);
    QTest::newRow("pipe without writer") << "fifo" << int(Str::NotARegularFile);
    QTest::newRow("folder") << "dir" << int(Str::NotARegularFile);
    QTest::newRow("endless device") << "/dev/zero" << int(Str::NotARegularFile);
    QTest::newRow("missing") << "missing" << -1;
}

void TestFileRead::refusals() {
    QFETCH(QString, kind);
    QFETCH(int, reason);
    constexpr qint64 Limit = 1024;
    QTemporaryDir dir;
    QString path = kind.startsWith(u'/') ? kind : dir.filePath(kind);
    if (kind == u"file" || kind == u"limit" || kind == u"large") {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(kind == u"file" ? 10 : kind == u"limit" ? Limit : Limit + 1, 'x'));
    }
    if (kind == u"fifo") QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    if (kind == u"dir") QVERIFY(QDir(dir.path()).mkdir(kind));

    Language lang;
    QElapsedTimer timer;
    timer.start();
    const FileRead read = readUserFile(path, Limit, lang);
    QVERIFY(timer.elapsed() < 5000); // a pipe is refused, not waited on
    QCOMPARE(read.bytes.has_value(), reason == 0);
    if (reason == 0) return;
    QVERIFY2(read.error.contains(path), qPrintable(read.error));
    if (reason > 0) QVERIFY2(read.error.contains(lang.text(reason)), qPrintable(read.error));
}

void TestFileRead::savesReplaceOnlyRegularFiles_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("code"); // -1: saved; 0: refused as not a regular file; else errno
    QTest::newRow("regular file") << "file" << -1;
    QTest::newRow("link to a regular file") << "link to file" << -1;
    QTest::newRow("new file") << "new" << -1;
    QTest::newRow("pipe") << "fifo" << 0;
    QTest::newRow("link to a pipe") << "link to fifo" << 0;
    QTest::newRow("folder") << "dir" << 0;
    QTest::newRow("missing folder") << "missing/x" << int(ENOENT);
    QTest::newRow("under a file") << "file/x" << int(ENOTDIR);
}

// A save puts a new file in place of the old one: never in place of a pipe, a device or a
// folder. The check before a long read says the same as the save would.
void TestFileRead::savesReplaceOnlyRegularFiles() {
    QFETCH(QString, kind);
    QFETCH(int, code);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("file"));
    const QString fifo = dir.filePath(QStringLiteral("fifo"));
    QVERIFY(saveFile(file, "old") == std::nullopt);
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("dir")));
    QVERIFY(QFile::link(file, dir.filePath(QStringLiteral("link to file"))));
    QVERIFY(QFile::link(fifo, dir.filePath(QStringLiteral("link to fifo"))));
    const QString path = dir.filePath(kind);

    const auto checked = checkSaveTarget(path);
    const auto saved = saveFile(path, "new");
    QCOMPARE(checked.has_value(), saved.has_value());
    QCOMPARE(saved.has_value(), code >= 0);
    if (code < 0) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("new"));
        return;
    }
    QCOMPARE(saved->notRegularFile, code == 0);
    QCOMPARE(checked->notRegularFile, code == 0);
    if (code > 0) QCOMPARE(checked->code, code);
    QVERIFY(QFileInfo(fifo).isFile() == false && QFileInfo(fifo).exists()); // still the pipe
    QVERIFY(QFileInfo(dir.filePath(QStringLiteral("dir"))).isDir());
    QCOMPARE(
        QDir(dir.path()).entryList(QDir::Files | QDir::System | QDir::Dirs | QDir::NoDotAndDotDot).size(),
        5); // nothing left beside them
    const Language lang;
    if (code == 0) QCOMPARE(failureReason(*saved, lang), lang.text(Str::NotARegularFile));
}

QTEST_GUILESS_MAIN(TestFileRead)
#include "test_fileread.moc"
