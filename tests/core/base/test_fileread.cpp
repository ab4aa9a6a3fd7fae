// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/base/fileread.h"
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

QTEST_GUILESS_MAIN(TestFileRead)
#include "test_fileread.moc"
