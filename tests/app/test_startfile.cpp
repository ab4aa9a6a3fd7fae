// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/mainwindow.h"
#include "app/startfile.h"
#include "core/base/language.h"
#include "core/base/messages.h"
#include "core/base/settingsfile.h"
#include "core/codeplug/document.h"
#include "core/codeplug/session.h"
#include "tests/common/languagefiles.h"
#include "tests/common/modalanswer.h"
#include "ui/service/testform.h"
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// `kt520 FILE`, as a file manager runs it: the file opens at start, or a new document stays
// with a message that names the file and the reason.
class TestStartFile : public QObject {
    Q_OBJECT
private slots:
    void argument_data();
    void argument();
    void opensAtStart_data();
    void opensAtStart();
};

void TestStartFile::argument_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("file");
    QTest::newRow("none") << QStringList{"kt520"} << "";
    QTest::newRow("options only") << QStringList{"kt520", "--demo", "--service"} << "";
    QTest::newRow("document") << QStringList{"kt520", "a.qv19"} << "a.qv19";
    QTest::newRow("after an option") << QStringList{"kt520", "--service", "r.m17"} << "r.m17";
    QTest::newRow("after --") << QStringList{"kt520", "--", "-odd.qv19"} << "-odd.qv19";
}

void TestStartFile::argument() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, file);
    QCOMPARE(startFileArgument(arguments), file);
}

void TestStartFile::opensAtStart_data() {
    QTest::addColumn<QString>("name"); // the file given; "missing" names none that exists
    QTest::addColumn<bool>("service"); // kt520 --service
    QTest::addColumn<int>("message");  // the string number shown, 0 for none
    QTest::addColumn<bool>("opened");  // the document (or the alignment) of the file is shown
    QTest::newRow("document") << "doc.qv19" << false << 0 << true;
    QTest::newRow("document by its first line") << "doc.txt" << false << 0 << true;
    QTest::newRow("missing document") << "missing" << false << int(Str::StartFileNotOpened) << false;
    QTest::newRow("a folder") << "." << false << int(Str::StartFileNotOpened) << false;
    QTest::newRow("alignment with --service") << "radio.m17" << true << 0 << true;
    QTest::newRow("alignment without --service")
        << "radio.m17" << false << int(Str::StartFileAlignment) << false;
}

void TestStartFile::opensAtStart() {
    QFETCH(QString, name);
    QFETCH(bool, service);
    QFETCH(int, message);
    QFETCH(bool, opened);
    QTemporaryDir dir;
    copyLanguageFiles(dir.path());
    Session s;
    s.files = ProgramFiles::besideExecutable(dir.path());
    TMainForm w(s);
    w.showMaximized();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.setServiceMode(service);

    // A saved document with a channel the new document lacks; the alignment file as the radio's.
    const QString path =
        name == u"missing" ? dir.filePath(QStringLiteral("missing.qv19")) : dir.filePath(name);
    const QString channel = QStringLiteral("145.00000");
    if (name.startsWith(u"doc")) {
        s.doc.tableA.setCell(Col::RxFreq, 9, channel);
        s.doc.tableA.newChannelDefaults(9, s.doc.words);
        QVERIFY(!writeDocumentFile(path, s));
        s.doc.tableA.clearRow(9);
        s.history.setClean();
    } else if (name.endsWith(u".m17")) {
        QVERIFY(QFile::copy(QStringLiteral(KT520_ALIGNMENT_FILE), path));
    }
    s.alignment.setText(201, QStringLiteral("00"));

    ModalAnswer box({}, [](QMessageBox* b) { b->accept(); });
    openStartFile(w, path, service);
    QTest::qWait(50);
    QCOMPARE(box.answered(), message != 0);
    if (message) {
        // The text of that number with the file's name; the system's reason follows at %2.
        QString expected = s.lang.text(message).arg(QDir::toNativeSeparators(path));
        expected = expected.left(expected.indexOf(u"%2"));
        QVERIFY2(!expected.isEmpty() && box.text().startsWith(expected), qPrintable(box.text()));
    }
    if (name.endsWith(u".m17")) {
        QCOMPARE(s.alignment.text(201) == u"06", opened);
        QCOMPARE(w.frameOf(w.testForm())->isVisible(), opened);
    } else {
        QCOMPARE(s.doc.tableA.cell(Col::RxFreq, 9) == channel, opened);
        QCOMPARE(s.history.path() == path, opened);
    }
}

QTEST_MAIN(TestStartFile)
#include "test_startfile.moc"
