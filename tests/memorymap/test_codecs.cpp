#include "codeplug/channeltable.h"
#include "link/tonecodec.h"
#include <QtTest>

// Tone codes and DTMF nibbles against the radio's own encodings.
class TestCodecs : public QObject {
    Q_OBJECT
    const ValueWords zh = ValueWords::simplifiedChinese();
    const ValueWords en = ValueWords::english();

private slots:
    void encodeTone_data();
    void encodeTone();
    void decodeTone_data();
    void decodeTone();
    void everyListEntryRoundTrips();
    void dtmfToHex_data();
    void dtmfToHex();
    void hexToDtmf_data();
    void hexToDtmf();
    void everyDtmfCharacterRoundTrips();
};

void TestCodecs::encodeTone_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QString>("freq");
    QTest::addColumn<QString>("decimalPoint");
    QTest::addColumn<QString>("expected"); // empty = refused

    const int rx = ToneKind::Rx, tx = ToneKind::Tx;
    const QString off = ValueWords::simplifiedChinese().off;
    QTest::newRow("empty cell") << rx << ""
                                << ""
                                << "."
                                << "FF00";
    QTest::newRow("blank cell") << rx << "   "
                                << ""
                                << "."
                                << "FF00";
    QTest::newRow("current OFF word") << tx << off << "107.0"
                                      << "."
                                      << "FF00";
    QTest::newRow("OFF of another language is no tone text") << rx << "OFF"
                                                             << ""
                                                             << "."
                                                             << "";
    QTest::newRow("D023N") << rx << "D023N"
                           << ""
                           << "."
                           << "0202";
    QTest::newRow("D023I") << rx << "D023I"
                           << ""
                           << "."
                           << "0203";
    QTest::newRow("D754I") << rx << "D754I"
                           << ""
                           << "."
                           << "6B03";
    QTest::newRow("D017N first code") << rx << "D017N"
                                      << ""
                                      << "."
                                      << "0102";
    QTest::newRow("DCS TX ignores CTCSS frequency") << tx << "D023N"
                                                    << "107.0"
                                                    << "."
                                                    << "0202";
    QTest::newRow("88.5") << rx << "88.5"
                          << ""
                          << "."
                          << "1101";
    QTest::newRow("100.0") << rx << "100.0"
                           << ""
                           << "."
                           << "1501";
    QTest::newRow("254.1") << rx << "254.1"
                           << ""
                           << "."
                           << "3A01";
    QTest::newRow("56.0 first tone") << rx << "56.0"
                                     << ""
                                     << "."
                                     << "0101";
    QTest::newRow("67.0") << rx << "67.0"
                          << ""
                          << "."
                          << "0901";
    QTest::newRow("padded 88.5") << rx << " 88.5 "
                                 << ""
                                 << "."
                                 << "1101";
    QTest::newRow("TX 88.5 with 107.0") << tx << "88.5"
                                        << "107.0"
                                        << "."
                                        << "1141";
    QTest::newRow("TX 88.5 with 107,0 in a comma locale") << tx << "88.5"
                                                          << "107,0"
                                                          << ","
                                                          << "1141";
    QTest::newRow("RX ignores CTCSS frequency") << rx << "88.5"
                                                << "107.0"
                                                << "."
                                                << "1101";
    QTest::newRow("TX without CTCSS frequency") << tx << "88.5"
                                                << ""
                                                << "."
                                                << "1101";
    QTest::newRow("TX 255.0 Hz") << tx << "88.5"
                                 << "255.0"
                                 << "."
                                 << "1191";
    QTest::newRow("TX 100.1 Hz is 1001 tenths, not 1000") << tx << "100.0"
                                                          << "100.1"
                                                          << "."
                                                          << "1531";
    QTest::newRow("TX 409.5 Hz top of three digits") << tx << "88.5"
                                                     << "409.5"
                                                     << "."
                                                     << "11F1";
    QTest::newRow("unknown DCS code") << rx << "D999N"
                                      << ""
                                      << "."
                                      << "";
    QTest::newRow("short DCS text") << rx << "D2N"
                                    << ""
                                    << "."
                                    << "";
    QTest::newRow("DCS digits not digits") << rx << "DABCI"
                                           << ""
                                           << "."
                                           << "";
    QTest::newRow("unknown CTCSS whole part") << rx << "12.0"
                                              << ""
                                              << "."
                                              << "";
    QTest::newRow("letters") << rx << "abc"
                             << ""
                             << "."
                             << "";
    QTest::newRow("TX frequency not a number") << tx << "88.5"
                                               << "1O7.0"
                                               << "."
                                               << "";
    QTest::newRow("TX frequency beyond three hex digits") << tx << "88.5"
                                                          << "409.6"
                                                          << "."
                                                          << "";
    QTest::newRow("TX frequency negative") << tx << "88.5"
                                           << "-5.0"
                                           << "."
                                           << "";
}

void TestCodecs::encodeTone() {
    QFETCH(int, kind);
    QFETCH(QString, cell);
    QFETCH(QString, freq);
    QFETCH(QString, decimalPoint);
    QFETCH(QString, expected);
    const auto code = writecode(kind, cell, freq, zh, decimalPoint.at(0));
    if (expected.isEmpty()) {
        QVERIFY2(!code, qPrintable(code.value_or(QString())));
    } else {
        QVERIFY(code);
        QCOMPARE(*code, expected);
    }
}

void TestCodecs::decodeTone_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("expected"); // "OFF" = the current off word

    QTest::newRow("1141 ignores digit 3") << "1141"
                                          << "88.5";
    QTest::newRow("0203") << "0203"
                          << "D023I";
    QTest::newRow("0202") << "0202"
                          << "D023N";
    QTest::newRow("FF00") << "FF00"
                          << "OFF";
    QTest::newRow("0101 first tone") << "0101"
                                     << "56.0";
    QTest::newRow("3A01 last tone") << "3A01"
                                    << "254.1";
    QTest::newRow("6B02 last N code") << "6B02"
                                      << "D754N";
    QTest::newRow("6B03 last I code") << "6B03"
                                      << "D754I";
    QTest::newRow("lower-case hex") << "6b03"
                                    << "D754I";
    QTest::newRow("CTCSS number 0") << "0001"
                                    << "OFF";
    QTest::newRow("CTCSS beyond the list") << "3B01"
                                           << "OFF";
    QTest::newRow("DCS number 0 is not a tone") << "0002"
                                                << "OFF";
    QTest::newRow("DCS beyond the list") << "6C02"
                                         << "OFF";
    QTest::newRow("unknown kind") << "1104"
                                  << "OFF";
    QTest::newRow("not hex") << "ZZ01"
                             << "OFF";
    QTest::newRow("short") << "110"
                           << "OFF";
    QTest::newRow("never-written FFFF") << "FFFF"
                                        << "OFF";
}

void TestCodecs::decodeTone() {
    QFETCH(QString, code);
    QFETCH(QString, expected);
    QCOMPARE(sendCTC(code, en), expected);
}

void TestCodecs::everyListEntryRoundTrips() {
    const QStringList list = toneList(zh);
    QCOMPARE(list.size(), 273);
    for (const QString& entry : list) {
        const auto code = writecode(ToneKind::Rx, entry, {}, zh);
        QVERIFY2(code && code->size() == 4, qPrintable(entry));
        QCOMPARE(sendCTC(*code, zh), entry);
    }
    QCOMPARE(CAL_ctc(88), QStringLiteral("11"));
    QCOMPARE(CAL_ctc(89), QString());
    QCOMPARE(CAL_dcs(754), QStringLiteral("6B"));
    QCOMPARE(CAL_dcs(18), QString());
}

void TestCodecs::dtmfToHex_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("ok");

    QTest::newRow("*1#") << "*1#" << 3 << "B1C" << true;
    QTest::newRow("whole table") << "0123456789ABCD*#" << 16 << "A123456789DEF0BC" << true;
    QTest::newRow("lower-case a-d") << "abcd" << 4 << "DEF0" << true;
    QTest::newRow("first count characters") << "12345" << 2 << "12" << true;
    QTest::newRow("count 0") << "123" << 0 << "" << true;
    QTest::newRow("E has no key") << "1E" << 2 << "" << false;
    QTest::newRow("F has no key") << "F" << 1 << "" << false;
    QTest::newRow("blank") << "1 2" << 3 << "" << false;
    QTest::newRow("letter outside the set") << "12x" << 3 << "" << false;
    QTest::newRow("count beyond the text") << "12" << 3 << "" << false;
    QTest::newRow("negative count") << "12" << -1 << "" << false;
}

void TestCodecs::dtmfToHex() {
    QFETCH(QString, text);
    QFETCH(int, count);
    QFETCH(QString, expected);
    QFETCH(bool, ok);
    const auto hex = DTMFToHex(text, count);
    QCOMPARE(bool(hex), ok);
    if (ok) QCOMPARE(*hex, expected);
}

void TestCodecs::hexToDtmf_data() {
    QTest::addColumn<QString>("hex");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("ok");

    QTest::newRow("B1C") << "B1C" << 3 << "*1#" << true;
    QTest::newRow("whole table") << "0123456789ABCDEF" << 16 << "D1234567890*#ABC" << true;
    QTest::newRow("lower-case hex") << "b1c" << 3 << "*1#" << true;
    QTest::newRow("first count nibbles") << "123FFF" << 3 << "123" << true;
    QTest::newRow("not hex") << "1G" << 2 << "" << false;
    QTest::newRow("count beyond the text") << "12" << 5 << "" << false;
}

void TestCodecs::hexToDtmf() {
    QFETCH(QString, hex);
    QFETCH(int, count);
    QFETCH(QString, expected);
    QFETCH(bool, ok);
    const auto text = HexToDTMF(hex, count);
    QCOMPARE(bool(text), ok);
    if (ok) QCOMPARE(*text, expected);
}

void TestCodecs::everyDtmfCharacterRoundTrips() {
    const QString all = QStringLiteral("0123456789ABCD*#");
    const auto hex = DTMFToHex(all, int(all.size()));
    QVERIFY(hex);
    QCOMPARE(HexToDTMF(*hex, int(hex->size())).value_or(QString()), all);
}

QTEST_GUILESS_MAIN(TestCodecs)
#include "test_codecs.moc"
