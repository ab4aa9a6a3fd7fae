// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/codeplug/channeltable.h"
#include "core/memmap/tonecodec.h"
#include <QtTest>

// Tone codes and DTMF nibbles against the radio's own encodings.
class TestCodecs : public QObject {
    Q_OBJECT
    const ValueWords zh = ValueWords::simplifiedChinese();

private slots:
    void encodeTone_data();
    void encodeTone();
    void decodeTone_data();
    void decodeTone();
    void everyListEntryRoundTrips();
    void dtmf_data();
    void dtmf();
};

void TestCodecs::encodeTone_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QString>("freq");
    QTest::addColumn<QString>("expected"); // empty = refused

    const int rx = ToneKind::Rx, tx = ToneKind::Tx;
    QTest::newRow("empty cell") << rx << ""
                                << ""
                                << "FF00";
    QTest::newRow("current OFF word") << tx << ValueWords::simplifiedChinese().off << "107.0"
                                      << "FF00";
    QTest::newRow("OFF of another language") << rx << "OFF"
                                             << ""
                                             << "";
    QTest::newRow("D023N") << rx << "D023N"
                           << ""
                           << "0202";
    QTest::newRow("D023I") << rx << "D023I"
                           << ""
                           << "0203";
    QTest::newRow("D754I") << rx << "D754I"
                           << ""
                           << "6B03";
    QTest::newRow("88.5") << rx << "88.5"
                          << ""
                          << "1101";
    QTest::newRow("100.0") << rx << "100.0"
                           << ""
                           << "1501";
    QTest::newRow("254.1") << rx << "254.1"
                           << ""
                           << "3A01";
    QTest::newRow("TX 88.5 with 107.0") << tx << "88.5"
                                        << "107.0"
                                        << "1141";
    QTest::newRow("TX with 107,0 in a comma locale") << tx << "88.5"
                                                     << "107,0"
                                                     << "1141";
    QTest::newRow("RX ignores CTCSS frequency") << rx << "88.5"
                                                << "107.0"
                                                << "1101";
    QTest::newRow("TX 100.1 Hz is 1001 tenths") << tx << "100.0"
                                                << "100.1"
                                                << "1531";
    QTest::newRow("DCS TX ignores CTCSS frequency") << tx << "D023N"
                                                    << "107.0"
                                                    << "0202";
    QTest::newRow("unknown DCS code") << rx << "D999N"
                                      << ""
                                      << "";
    QTest::newRow("short DCS text") << rx << "D2N"
                                    << ""
                                    << "";
    QTest::newRow("unknown CTCSS whole part") << rx << "12.0"
                                              << ""
                                              << "";
    QTest::newRow("TX frequency not a number") << tx << "88.5"
                                               << "1O7.0"
                                               << "";
    QTest::newRow("TX frequency beyond 3 hex digits") << tx << "88.5"
                                                      << "409.6"
                                                      << "";
}

void TestCodecs::encodeTone() {
    QFETCH(int, kind);
    QFETCH(QString, cell);
    QFETCH(QString, freq);
    QFETCH(QString, expected);
    const auto code = writecode(kind, cell, freq, zh, QChar(','));
    QCOMPARE(code.value_or(QString()), expected);
}

void TestCodecs::decodeTone_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("expected"); // empty = the current OFF word

    QTest::newRow("1141 ignores digit 3") << "1141"
                                          << "88.5";
    QTest::newRow("0203") << "0203"
                          << "D023I";
    QTest::newRow("6B02 last N code") << "6B02"
                                      << "D754N";
    QTest::newRow("FF00") << "FF00"
                          << "";
    QTest::newRow("DCS number 0 is no code") << "0002"
                                             << "";
    QTest::newRow("CTCSS beyond the list") << "3B01"
                                           << "";
    QTest::newRow("unknown kind") << "1104"
                                  << "";
    QTest::newRow("not hex") << "ZZ01"
                             << "";
    QTest::newRow("short") << "110"
                           << "";
}

void TestCodecs::decodeTone() {
    QFETCH(QString, code);
    QFETCH(QString, expected);
    QCOMPARE(sendCTC(code, zh), expected.isEmpty() ? zh.off : expected);
}

void TestCodecs::everyListEntryRoundTrips() {
    for (const QString& entry : toneList(zh)) {
        const auto code = writecode(ToneKind::Rx, entry, {}, zh);
        QVERIFY2(code && code->size() == 4, qPrintable(entry));
        QCOMPARE(sendCTC(*code, zh), entry);
    }
    QCOMPARE(CAL_ctc(89), QString());
    QCOMPARE(CAL_dcs(18), QString());
}

void TestCodecs::dtmf_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("hex"); // empty = refused

    QTest::newRow("*1#") << "*1#" << 3 << "B1C";
    QTest::newRow("whole table") << "0123456789ABCD*#" << 16 << "A123456789DEF0BC";
    QTest::newRow("lower-case a-d") << "abcd" << 4 << "DEF0";
    QTest::newRow("first count characters") << "12345" << 2 << "12";
    QTest::newRow("E has no key") << "1E" << 2 << "";
    QTest::newRow("letter outside the set") << "12x" << 3 << "";
    QTest::newRow("count beyond the text") << "12" << 3 << "";
}

void TestCodecs::dtmf() {
    QFETCH(QString, text);
    QFETCH(int, count);
    QFETCH(QString, hex);
    QCOMPARE(DTMFToHex(text, count).value_or(QString()), hex);
    if (!hex.isEmpty())
        QCOMPARE(HexToDTMF(hex, int(hex.size())).value_or(QString()), text.left(count).toUpper());
    QVERIFY(!HexToDTMF(QStringLiteral("1G"), 2));
    QVERIFY(!HexToDTMF(QStringLiteral("12"), 3));
}

QTEST_GUILESS_MAIN(TestCodecs)
#include "test_codecs.moc"
