// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/base/appsettings.h"
#include "core/base/language.h"
#include "core/base/messages.h"
#include "core/base/settingsfile.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void defaultsWhenMissing();
    void readValues_data();
    void readValues();
    void bandTwoCountWithMissingEntries();
    void roundTripKeepsOtherLines();
    void noSelectionWrittenAsMinusOne();
    void unwritableFileReportsPath();
    void garbageGivesDefaults();

private:
    Language lang; // no table: the built-in texts
};

void TestSettings::defaultsWhenMissing() {
    const AppSettings s = AppSettings::read(IniFile::load(QStringLiteral("/nonexistent/sysini.ini")));
    QCOMPARE(s.com, 1);
    QCOMPARE(s.coMode, 0);
    QCOMPARE(s.modelIndex, 0);
    QCOMPARE(s.lang, 0); // none stored: the system's language decides
    QCOMPARE(s.band1, QStringList(3, QStringLiteral("400-470MHz")));
    QCOMPARE(s.band1Index, 0);
    QVERIFY(s.band2.isEmpty());
}

void TestSettings::readValues_data() {
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<int>("com");
    QTest::addColumn<int>("lang"); // 0: none stored
    QTest::addColumn<int>("band1Index");
    QTest::newRow("plain") << QByteArray("[Open]\r\ncom=3\r\nlang=2\r\n[list0]\r\nlist0now=1\r\n") << 3 << 2
                           << 1;
    QTest::newRow("case-insensitive")
        << QByteArray("[OPEN]\nCOM=5\nLang=3\n[LIST0]\nLIST0NOW=2\n") << 5 << 3 << 2;
    QTest::newRow("com out of range") << QByteArray("[open]\ncom=17\n") << 1 << 0 << 0;
    QTest::newRow("com zero") << QByteArray("[open]\ncom=0\n") << 1 << 0 << 0;
    QTest::newRow("com not a number") << QByteArray("[open]\ncom=abc\nlang=x\n") << 1 << 0 << 0;
    QTest::newRow("blanks around") << QByteArray("[ open ]\n  com = 4 \n") << 4 << 0 << 0;
}

void TestSettings::readValues() {
    QFETCH(QByteArray, ini);
    const AppSettings s = AppSettings::read(IniFile::parse(ini));
    QTEST(s.com, "com");
    QTEST(s.lang, "lang");
    QTEST(s.band1Index, "band1Index");
}

void TestSettings::bandTwoCountWithMissingEntries() {
    const AppSettings s = AppSettings::read(
        IniFile::parse("[list1]\nlist1count=2\ncom1bo0=400-430MHz\n[list0]\ncom0bo1=136-174MHz\n"));
    QCOMPARE(s.band2, QStringList({QStringLiteral("400-430MHz"), QStringLiteral("400-470MHz")}));
    QCOMPARE(s.band1, QStringList({QStringLiteral("400-470MHz"), QStringLiteral("136-174MHz"),
                                   QStringLiteral("400-470MHz")}));
    // A band text that is not of the band form stays as written.
    QCOMPARE(AppSettings::read(IniFile::parse("[list0]\ncom0bo0=garbage\n")).band1.first(),
             QStringLiteral("garbage"));
    // A negative or absurd count gives a sane list.
    QVERIFY(AppSettings::read(IniFile::parse("[list1]\nlist1count=-4\n")).band2.isEmpty());
    QCOMPARE(AppSettings::read(IniFile::parse("[list1]\nlist1count=99999999\n")).band2.size(), 64);
}

void TestSettings::roundTripKeepsOtherLines() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sysini.ini"));
    const QByteArray original = "; delivered with the radio\r\n[Open]\r\ncom=2\r\nextra=keep me\r\n\r\n"
                                "[list0]\r\ncom0bo0=136-174MHz\r\nlist0count=3\r\nlist0now=1\r\n\r\n"
                                "[ports]\r\ncom3=/dev/ttyUSB0\r\n";
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(original);
    }
    ExitSettings v;
    v.com = 7;
    v.coMode = 1;
    v.modelIndex = 0;
    v.lang = 3;
    v.band1Index = 2;
    v.band2Index = 0;
    QVERIFY(!saveSettings(path, v, lang));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray written = f.readAll();
    QVERIFY(written.startsWith("; delivered with the radio\r\n[Open]\r\ncom=7\r\nextra=keep me\r\n"));
    QVERIFY(written.contains("com0bo0=136-174MHz\r\nlist0count=3\r\nlist0now=2\r\n"));
    QVERIFY(written.contains("[ports]\r\ncom3=/dev/ttyUSB0\r\n"));
    QVERIFY(written.contains("co_mode=1\r\n"));
    QVERIFY(written.contains("lang=3\r\n"));
    QVERIFY(written.contains("list1now=0\r\n"));
    // The band texts and the count are never written.
    QVERIFY(!written.contains("list1count"));
    QVERIFY(!written.contains("com0bo1"));
    const AppSettings back = AppSettings::read(IniFile::parse(written));
    QCOMPARE(back.com, 7);
    QCOMPARE(back.coMode, 1);
    QCOMPARE(back.lang, 3);
    QCOMPARE(back.band1Index, 2);
}

void TestSettings::noSelectionWrittenAsMinusOne() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sysini.ini"));
    ExitSettings v;
    v.band2Index = -1;
    QVERIFY(!saveSettings(path, v, lang));
    const IniFile ini = IniFile::load(path);
    QCOMPARE(ini.integer(QStringLiteral("list1"), QStringLiteral("list1now"), 5), -1);
    QCOMPARE(ini.text(QStringLiteral("OPEN"), QStringLiteral("com")), QStringLiteral("1"));
    for (const char* key : {"com", "co_mode", "M_type", "lang"})
        QVERIFY(ini.contains(QStringLiteral("open"), QString::fromLatin1(key)));
}

void TestSettings::unwritableFileReportsPath() {
    const QString path = QStringLiteral("/nonexistent-dir/sysini.ini");
    const auto error = saveSettings(path, ExitSettings{}, lang);
    QVERIFY(error);
    QCOMPARE(*error, QStringLiteral("Unable to write to %1: ").arg(QDir::toNativeSeparators(path)) +
                         lang.text(Str::NoSuchFolder));
}

void TestSettings::garbageGivesDefaults() {
    QByteArray garbage;
    for (int i = 0; i < 4096; ++i)
        garbage += char((i * 7919) % 256);
    const AppSettings s = AppSettings::read(IniFile::parse(garbage));
    QVERIFY(s.com >= 1 && s.com <= 16);
    QCOMPARE(s.band1.size(), 3);
}

QTEST_GUILESS_MAIN(TestSettings)
#include "test_settings.moc"
