// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/base/language.h"
#include "core/codeplug/applylanguage.h"
#include "core/codeplug/session.h"
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {
void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray englishTable() {
    return "34\tOFF\n35\tON\n36\tHigh\n250\tMid\n37\tLow\n74\tWide\n75\tNarrow\n78\tComp\n79\tscrambler\n"
           "58\tWarning\n59\tPort busy\n60\tLink failed\n61\tReady\n62\tNew\n64\tStart a new document?\n"
           "118\tTX start\n119\tTX end\n120\tBoth\n";
}
} // namespace

class TestLanguage : public QObject {
    Q_OBJECT
private slots:
    void parseSkipsBadLines();
    void parseCutsLongTexts_data();
    void parseCutsLongTexts();
    void startupRule_data();
    void startupRule();
    void translateCells_data();
    void translateCells();
    void missingLibraryChangesNothing();
    void switchRebuildsListsKeepingSelection();
    void libraryNameIgnoresCase();
};

void TestLanguage::parseSkipsBadLines() {
    QByteArray longText(400, 'x');
    const StringTable t = StringTable::parse("1\tone\n"
                                             "garbage line\n"
                                             "\tno number\n"
                                             "x2\tbad number\n"
                                             "-5\tnegative\n"
                                             "3\ttwo\\nlines\r\n"
                                             "4\t" +
                                             longText +
                                             "\n"
                                             "5\t\xe4\xb8\xad\xe6\x96\x87\n"
                                             "6\t\n");
    QCOMPARE(t.text(1).value_or(QString()), QStringLiteral("one"));
    QVERIFY(!t.text(2));
    QVERIFY(!t.text(-5));
    QCOMPARE(t.text(3).value_or(QString()), QStringLiteral("two\nlines"));
    QCOMPARE(t.text(4).value_or(QString()).toUtf8().size(), StringTable::MaxTextBytes);
    QCOMPARE(t.text(5).value_or(QString()), QStringLiteral("中文"));
    QCOMPARE(t.text(6).value_or(QStringLiteral("missing")), QString());
    // Cutting never splits a character: 90 three-byte characters are cut to 84.
    const StringTable cjk = StringTable::parse("7\t" + QString(90, QChar(0x4E2D)).toUtf8());
    QCOMPARE(cjk.text(7).value_or(QString()).size(), 84);
}

void TestLanguage::parseCutsLongTexts_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("kept");
    const QString emoji = QString::fromUcs4(U"\U0001F4FB");
    QTest::newRow("exactly the limit") << QString(253, 'a') << QString(253, 'a');
    // A damaged file may hold one line of a megabyte: cut at once, not character by character.
    QTest::newRow("a megabyte") << QString(1 << 20, 'x') << QString(253, 'x');
    QTest::newRow("four-byte characters stay whole") << emoji.repeated(70) << emoji.repeated(63);
    QTest::newRow("two-byte after ascii") << QString(252, 'a') + QString(QChar(0xE9)) << QString(252, 'a');
}

void TestLanguage::parseCutsLongTexts() {
    QFETCH(QString, text);
    QFETCH(QString, kept);
    const StringTable t = StringTable::parse("9\t" + text.toUtf8() + "\n10\tnext\n");
    QCOMPARE(t.text(9).value_or(QString()), kept);
    QCOMPARE(t.text(10).value_or(QString()), QStringLiteral("next"));
}

void TestLanguage::startupRule_data() {
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("system");
    QTest::addColumn<int>("expected");
    // A stored 1 or 2 gives way to the system's language; a stored 3 stays.
    QTest::newRow("2 on a PRC system") << 2 << 2052 << 1;
    QTest::newRow("1 elsewhere") << 1 << 1033 << 2;
    QTest::newRow("1 on a PRC system") << 1 << 2052 << 1;
    QTest::newRow("3 on a PRC system") << 3 << 2052 << 3;
    QTest::newRow("3 elsewhere") << 3 << 1033 << 3;
    // Nothing usable stored: the system decides.
    QTest::newRow("none stored, PRC") << 0 << 2052 << 1;
    QTest::newRow("none stored, elsewhere") << 0 << 1033 << 2;
    QTest::newRow("7 falls back, PRC") << 7 << 2052 << 1;
    QTest::newRow("7 falls back, elsewhere") << 7 << 1033 << 2;
}

void TestLanguage::startupRule() {
    QFETCH(int, stored);
    QFETCH(int, system);
    QTEST(startupLanguage(stored, system), "expected");
}

void TestLanguage::translateCells_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::newRow("off") << 7 << "OFF" << u"禁用"_qs;
    QTest::newRow("power") << 5 << "High" << u"高功率"_qs;
    QTest::newRow("mid") << 5 << "Mid" << u"中功率"_qs;
    QTest::newRow("wide") << 6 << "Wide" << u"宽带"_qs;
    QTest::newRow("traditional narrow") << 6 << u"窄帶"_qs << u"窄带"_qs;
    QTest::newRow("on") << 17 << "ON" << u"启用"_qs;
    QTest::newRow("traditional on") << 9 << u"啟用"_qs << u"启用"_qs;
    QTest::newRow("tone off") << 2 << "OFF" << u"禁用"_qs;
    QTest::newRow("tone on untouched") << 4 << "ON"
                                       << "ON";
    QTest::newRow("tone value untouched") << 2 << "67.0"
                                          << "67.0";
    QTest::newRow("scrambler") << 10 << "scrambler" << u"扰频"_qs;
    QTest::newRow("TX scrambler kept") << 10 << "TX scrambler"
                                       << "TX scrambler";
    QTest::newRow("compander") << 10 << "Comp" << u"压扩"_qs;
    QTest::newRow("name untouched") << 14 << "OFF"
                                    << "OFF";
    QTest::newRow("ctcss untouched") << 18 << "OFF"
                                     << "OFF";
    QTest::newRow("power word in wrong column") << 7 << "High"
                                                << "High";
}

void TestLanguage::translateCells() {
    QFETCH(int, column);
    QFETCH(QString, before);
    Codeplug doc;
    doc.words = ValueWords::simplifiedChinese();
    for (int row : {1, 50, ChannelTable::LastRow}) {
        doc.tableA.setCell(column, row, before);
        doc.tableB.setCell(column, row, before);
    }
    ::translateCells(doc);
    for (int row : {1, 50, ChannelTable::LastRow}) {
        QTEST(doc.tableA.cell(column, row), "after");
        QTEST(doc.tableB.cell(column, row), "after");
    }
}

void TestLanguage::missingLibraryChangesNothing() {
    QTemporaryDir dir;
    Session s;
    s.files = ProgramFiles::besideExecutable(dir.path());
    s.doc.tableA.setCell(7, 5, QStringLiteral("OFF"));
    QVERIFY(!applyLanguage(s, QStringLiteral("eng_dll")));
    QVERIFY(s.lang.words.off.isEmpty());
    QVERIFY(s.lang.messages.linkFailed.isEmpty());
    QCOMPARE(s.doc.tableA.cell(7, 5), QStringLiteral("OFF"));
    QVERIFY(s.doc.tableA.cell(1, 0).isEmpty());
}

void TestLanguage::switchRebuildsListsKeepingSelection() {
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("eng_dll.dll")), englishTable());
    Session s;
    s.files = ProgramFiles::besideExecutable(dir.path());
    s.doc.func.setIndex(QStringLiteral("ComboBox16"), 2);
    s.doc.tableB.setCell(Col::Power, 9, u"高功率"_qs);
    QSignalSpy applied(&s.lang, &Language::applied);
    QVERIFY(applyLanguage(s, QStringLiteral("eng_dll")));
    QCOMPARE(applied.count(), 1);
    QCOMPARE(s.lang.words.off, QStringLiteral("OFF"));
    QCOMPARE(s.doc.words.scrambler, QStringLiteral("scrambler"));
    QCOMPARE(s.lang.messages.newQuestion, QStringLiteral("Start a new document?"));
    QCOMPARE(s.doc.tableB.cell(Col::Power, 9), QStringLiteral("High"));
    QCOMPARE(s.doc.func.items(QStringLiteral("ComboBox16")),
             QStringList({QStringLiteral("TX start"), QStringLiteral("TX end"), QStringLiteral("Both")}));
    QCOMPARE(s.doc.func.index(QStringLiteral("ComboBox16")), 2);
    QCOMPARE(s.doc.func.items(QStringLiteral("ComboBox26")),
             QStringList({QStringLiteral("ON"), QStringLiteral("OFF")}));
    QCOMPARE(s.doc.tableA.cell(Col::PttId, 0), QStringLiteral("PTT ID"));
    QCOMPARE(s.doc.tableA.cell(Col::Dtmf, 0), QStringLiteral("DTMF"));
}

void TestLanguage::libraryNameIgnoresCase() {
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("CHA_DLL.DLL")), "34\tx\n");
    QVERIFY(!Language::libraryPath(dir.path(), QStringLiteral("cha_dll")).isEmpty());
    QVERIFY(Language::libraryPath(dir.path(), QStringLiteral("ty")).isEmpty());
}

QTEST_GUILESS_MAIN(TestLanguage)
#include "test_language.moc"
