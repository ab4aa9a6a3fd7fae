// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/base/messages.h"
#include "core/codeplug/codeplug.h"
#include "core/codeplug/radioinfo.h"
#include "core/link/frames.h"
#include "core/memmap/channelrecord.h"
#include "core/memmap/dtmffields.h"
#include "core/memmap/radioblocks.h"
#include "core/memmap/settingsblocks.h"
#include <QRandomGenerator>
#include <QtTest>

// The smaller blocks: FM slots, DTMF fields, dates, stamps, password, band two, squelch base,
// power-on message, identification and the clock frame.
class TestRadioBlocks : public QObject {
    Q_OBJECT
    static QString hex(const QByteArray& b) { return QString::fromLatin1(b.toHex().toUpper()); }
    static QByteArray bytes(const char* h) { return QByteArray::fromHex(h); }

private slots:
    void fmSlot_data();
    void fmSlot();
    void fmBlocksKeepUnreadableSlots();
    void dtmfField_data();
    void dtmfField();
    void pttIdCodesRawWithVoiceAnnounce();
    void pttIdCodesReadAsHeld_data();
    void pttIdCodesReadAsHeld();
    void callListBlocks();
    void dates();
    void stamps();
    void password_data();
    void password();
    void bandTwo();
    void squelchAndPowerOnMessage();
    void identificationAndFixedBytes();
    void clockFrame_data();
    void clockFrame();
    void decodersTakeAnyBytes();
};

void TestRadioBlocks::fmSlot_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("slot"); // empty = refused
    QTest::addColumn<QString>("readBack");

    QTest::newRow("108.000") << "108.000"
                             << "10800000"
                             << "108.000";
    QTest::newRow("87.500") << "87.500"
                            << "08750000"
                            << "87.500";
    QTest::newRow("98.150") << "98.150"
                            << "09815000"
                            << "98.150";
    QTest::newRow("empty cell") << ""
                                << "FFFFFFFF"
                                << "";
    QTest::newRow("not a number") << "9a.1"
                                  << ""
                                  << "";
    QTest::newRow("negative") << "-98.1"
                              << ""
                              << "";
    QTest::newRow("beyond 8 digits") << "1000.000"
                                     << ""
                                     << "";
}

void TestRadioBlocks::fmSlot() {
    QFETCH(QString, text);
    QFETCH(QString, slot);
    QFETCH(QString, readBack);
    const auto encoded = encodeFmSlot(text, QChar(','));
    QCOMPARE(bool(encoded), !slot.isEmpty());
    if (!encoded) return;
    QCOMPARE(hex(*encoded), slot);
    QCOMPARE(decodeFmSlot(*encoded, QChar('.')).value_or(QStringLiteral("?")), readBack);
}

void TestRadioBlocks::fmBlocksKeepUnreadableSlots() {
    Codeplug doc;
    const QString fm = QStringLiteral("StringGrid2");
    for (int row = 5; row <= 8; ++row)
        doc.func.setCell(fm, 1, row, QStringLiteral("99.000"));
    doc.func.setCell(fm, 1, 6, {});
    const Encoded e = encodeFmBlock(doc.func, 1, QChar('.'));
    QVERIFY(e.ok());
    QCOMPARE(hex(e.bytes), QStringLiteral("09900000FFFFFFFF0990000009900000"));

    // Slot 5 empty, slot 6 not decimal (kept), slots 7 and 8 read.
    doc.func.setCell(fm, 1, 6, QStringLiteral("95.000"));
    decodeFmBlock(bytes("FF00000008A000001080000008750000"), doc.func, 1, QChar('.'));
    QCOMPARE(doc.func.cell(fm, 1, 5), QString());
    QCOMPARE(doc.func.cell(fm, 1, 6), QStringLiteral("95.000"));
    QCOMPARE(doc.func.cell(fm, 1, 7), QStringLiteral("108.000"));
    QCOMPARE(doc.func.cell(fm, 1, 8), QStringLiteral("87.500"));

    // Slot 32 rides in row 32.
    doc.func.setCell(fm, 1, 32, QStringLiteral("100.000"));
    QCOMPARE(hex(encodeFmBlock(doc.func, 7, QChar('.')).bytes).right(8), QStringLiteral("10000000"));
    doc.func.setCell(fm, 1, 30, QStringLiteral("1O0.000"));
    const Encoded bad = encodeFmBlock(doc.func, 7, QChar('.'));
    QVERIFY(!bad.ok());
    QCOMPARE(bad.bad->row, 30);
    QCOMPARE(bad.bad->reason, int(Str::BadFmFrequency));
}

void TestRadioBlocks::dtmfField_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("raw");
    QTest::addColumn<QString>("field"); // empty = refused

    QTest::newRow("*1#") << "*1#" << false << "B1CFFFFFFFFFFFF3";
    QTest::newRow("empty") << "" << false << "FFFFFFFFFFFFFFF0";
    QTest::newRow("15 characters, count F") << "123456789012345" << false << "123456789A12345F";
    QTest::newRow("16 characters") << "1234567890123456" << false << "";
    QTest::newRow("E has no key") << "12E" << false << "";
    QTest::newRow("raw digits") << "510" << true << "510FFFFFFFFFFFF3";
    QTest::newRow("raw cannot hold *") << "*1" << true << "";
}

void TestRadioBlocks::dtmfField() {
    QFETCH(QString, text);
    QFETCH(bool, raw);
    QFETCH(QString, field);
    const auto encoded = encodeDtmfField(text, raw);
    QCOMPARE(bool(encoded), !field.isEmpty());
    if (!encoded) return;
    QCOMPARE(hex(*encoded), field);
    QCOMPARE(decodeDtmfField(*encoded, raw).value_or(QStringLiteral("?")), text);
}

void TestRadioBlocks::pttIdCodesRawWithVoiceAnnounce() {
    Codeplug doc;
    ControlStore& f = doc.func;
    f.setText(QStringLiteral("Edit7"), QStringLiteral("10"));
    f.setText(QStringLiteral("Edit8"), QStringLiteral("#0"));
    QCOMPARE(hex(encodeDtmfCodeBlock(f, Addr::PttIdCodes).bytes),
             QStringLiteral("1AFFFFFFFFFFFFF2CAFFFFFFFFFFFFF2"));
    f.setChecked(QStringLiteral("CheckBox34"), true); // sets both codes to "123"
    f.setText(QStringLiteral("Edit7"), QStringLiteral("10"));
    QCOMPARE(hex(encodeDtmfCodeBlock(f, Addr::PttIdCodes).bytes),
             QStringLiteral("10FFFFFFFFFFFFF2123FFFFFFFFFFFF3"));
    f.setText(QStringLiteral("Edit8"), QStringLiteral("#0"));
    const Encoded bad = encodeDtmfCodeBlock(f, Addr::PttIdCodes);
    QVERIFY(!bad.ok());
    QCOMPARE(bad.bad->control, QStringLiteral("Edit8"));
    // Other codes never go raw.
    QCOMPARE(hex(encodeDtmfCodeBlock(f, Addr::IdAndStartCode).bytes).left(16),
             QStringLiteral("1AAAFFFFFFFFFFF4"));

    decodeDtmfCodeBlock(bytes("42FFFFFFFFFFFFF2FFFFFFFFFFFFFFF0"), f, Addr::PttIdCodes);
    QCOMPARE(f.text(QStringLiteral("Edit7")), QStringLiteral("42"));
    QCOMPARE(f.text(QStringLiteral("Edit8")), QString());
    f.setChecked(QStringLiteral("CheckBox34"), false);
    decodeDtmfCodeBlock(bytes("B1CFFFFFFFFFFFF31FFFFFFFFFFFFFF1"), f, Addr::StunAndKillCode);
    QCOMPARE(f.text(QStringLiteral("Edit11")), QStringLiteral("*1#"));
    QCOMPARE(f.text(QStringLiteral("Edit19")), QStringLiteral("1"));
    decodeDtmfCodeBlock(bytes("B1CFFFFFFFFFFFF3"), f, Addr::IdAndStartCode); // short: only the first half
    QCOMPARE(f.text(QStringLiteral("Edit9")), QStringLiteral("*1#"));
    QCOMPARE(f.text(QStringLiteral("Edit23")), QStringLiteral("51099"));
}

void TestRadioBlocks::pttIdCodesReadAsHeld_data() {
    QTest::addColumn<bool>("voiceAnnounce");
    QTest::addColumn<QString>("block");
    QTest::addColumn<QString>("edit7");
    QTest::addColumn<QString>("edit8");
    QTest::newRow("never written") << false << QString(32, QChar('F')) << QString(15, QChar('C'))
                                   << QString(15, QChar('C'));
    QTest::newRow("never written, voice announce")
        << true << QString(32, QChar('F')) << QString(15, QChar('F')) << QString(15, QChar('F'));
    QTest::newRow("digit codes") << false << "B1CFFFFFFFFFFFF3A9FFFFFFFFFFFFF2"
                                 << "*1#"
                                 << "09";
    QTest::newRow("DTMF letters") << false << "DEF0FFFFFFFFFFF4123FFFFFFFFFFFF3"
                                  << "ABCD"
                                  << "123";
    QTest::newRow("voice announce: hex letters") << true << "A0FFFFFFFFFFFFF245FFFFFFFFFFFFF2"
                                                 << "A0"
                                                 << "45";
    QTest::newRow("voice announce: more than 5 digits") << true << "123456FFFFFFFFF6FFFFFFFFFFFFFFF0"
                                                        << "123456"
                                                        << "";
}

// The PTT ID codes are read as the radio holds them, also where their edits' keys could not type
// them, and encode back to the same bytes.
void TestRadioBlocks::pttIdCodesReadAsHeld() {
    QFETCH(bool, voiceAnnounce);
    QFETCH(QString, block);
    QFETCH(QString, edit7);
    QFETCH(QString, edit8);
    Codeplug doc;
    ControlStore& f = doc.func;
    f.setChecked(QStringLiteral("CheckBox34"), voiceAnnounce);
    decodeDtmfCodeBlock(bytes(block.toLatin1().constData()), f, Addr::PttIdCodes);
    QCOMPARE(f.text(QStringLiteral("Edit7")), edit7);
    QCOMPARE(f.text(QStringLiteral("Edit8")), edit8);
    QCOMPARE(hex(encodeDtmfCodeBlock(f, Addr::PttIdCodes).bytes), block);
}

void TestRadioBlocks::callListBlocks() {
    Codeplug doc;
    const QString list = QStringLiteral("StringGrid1");
    QCOMPARE(hex(encodeCallListBlock(doc.func, 0).bytes), QStringLiteral("1AA1FFFFFFFFFFF41AA2FFFFFFFFFFF4"));
    QCOMPARE(hex(encodeCallListBlock(doc.func, 1).bytes), QStringLiteral("FFFFFFFFFFFFFFF0FFFFFFFFFFFFFFF0"));
    doc.func.setCell(list, 1, 16, QStringLiteral("12F"));
    const Encoded bad = encodeCallListBlock(doc.func, 7);
    QVERIFY(!bad.ok());
    QCOMPARE(bad.bad->control, list);
    QCOMPARE(bad.bad->row, 16);
    decodeCallListBlock(bytes("D0FFFFFFFFFFFFF2FFFFFFFFFFFFFFFF"), doc.func, 7);
    QCOMPARE(doc.func.cell(list, 1, 15), QStringLiteral("AD"));
    QCOMPARE(doc.func.cell(list, 1, 16), QStringLiteral("CCCCCCCCCCCCCCC"));
    QCOMPARE(callListBlockAddress(7), quint16(0x00F0));
    QCOMPARE(fmBlockAddress(7), quint16(0x0070));
}

void TestRadioBlocks::dates() {
    Codeplug doc;
    ControlStore& f = doc.func;
    QCOMPARE(hex(encodeDates(f).bytes), QStringLiteral("991001991001"));
    f.setText(QStringLiteral("Edit31"), QStringLiteral("2024-03-15"));
    QCOMPARE(hex(encodeDates(f).bytes), QStringLiteral("991001240315"));
    f.setText(QStringLiteral("Edit32"), QStringLiteral("20x9-10-01"));
    QCOMPARE(encodeDates(f).bad->control, QStringLiteral("Edit32"));
    f.setText(QStringLiteral("Edit32"), QStringLiteral("2099"));
    QVERIFY(!encodeDates(f).ok());

    decodeDates(bytes("FF1001240315FFFF"), f); // never written: both kept
    QCOMPARE(f.text(QStringLiteral("Edit32")), QStringLiteral("2099"));
    QCOMPARE(f.text(QStringLiteral("Edit31")), QStringLiteral("2024-03-15"));
    decodeDates(bytes("2512310A0101FFFF"), f); // second date not decimal: kept
    QCOMPARE(f.text(QStringLiteral("Edit32")), QStringLiteral("2025-12-31"));
    QCOMPARE(f.text(QStringLiteral("Edit31")), QStringLiteral("2024-03-15"));
}

void TestRadioBlocks::stamps() {
    const QDateTime when(QDate(2024, 3, 3), QTime(10, 20, 30));
    const QByteArray stamp = programmingStamp(when, QStringLiteral("Qovran"));
    QCOMPARE(hex(stamp), QStringLiteral("20240303102030FF51") + QStringLiteral("6F7672616EFF06"));
    QCOMPARE(stampDateText(hex(stamp)), QStringLiteral("2024-03-03  10:20:30"));
    QCOMPARE(stampNameText(hex(stamp)), QStringLiteral("Qovran"));
    const QByteArray longName = programmingStamp(when, QStringLiteral("Administrator"));
    QCOMPARE(longName.size(), 16);
    QCOMPARE(stampNameText(hex(longName)), QStringLiteral("Adminis"));
    QCOMPARE(hex(factoryDateBytes(QDateTime(QDate(1999, 12, 31), QTime(23, 59, 58)))),
             QStringLiteral("19991231235958FF"));
}

void TestRadioBlocks::password_data() {
    QTest::addColumn<QString>("digits");
    QTest::addColumn<QString>("block"); // empty = refused

    QTest::newRow("none") << ""
                          << "FFFFFFFFFFFFFFF0";
    QTest::newRow("1234") << "1234"
                          << "1234FFFFFFFFFFF4";
    QTest::newRow("twelve digits") << "123456789012"
                                   << "123456789012FFFC";
    QTest::newRow("star") << "12*4"
                          << "";
    QTest::newRow("hash") << "12#"
                          << "";
    QTest::newRow("hex letter") << "12a"
                                << "";
    QTest::newRow("thirteen digits") << "1234567890123"
                                     << "";
}

void TestRadioBlocks::password() {
    QFETCH(QString, digits);
    QFETCH(QString, block);
    const auto encoded = encodePassword(digits);
    QCOMPARE(bool(encoded), !block.isEmpty());
    if (!encoded) return;
    QCOMPARE(hex(*encoded), block);
    QVERIFY(passwordMatches(*encoded, digits));
    QVERIFY(!passwordMatches(*encoded, digits + QChar('9')));
    // A radio without password (count F) takes any current password.
    QVERIFY(passwordMatches(bytes("FFFFFFFFFFFFFFFF"), digits + QChar('9')));
    QVERIFY(!passwordMatches(encoded->left(7), digits));
}

void TestRadioBlocks::bandTwo() {
    Codeplug doc;
    ControlStore& f = doc.func;
    QCOMPARE(hex(encodeBandTwo(f).bytes), QStringLiteral("1460144044004300"));
    // A previous read left VHF 150-151: the upper limit's minimum is 151. Reading 144-146 must not
    // clamp the upper limit to that old minimum.
    f.setPosition(QStringLiteral("UpDown8"), 150);
    QCOMPARE(f.position(QStringLiteral("UpDown9")), 151);
    decodeBandTwo(bytes("1460144044004300"), f);
    QCOMPARE(f.position(QStringLiteral("UpDown8")), 144);
    QCOMPARE(f.position(QStringLiteral("UpDown9")), 146);
    QCOMPARE(f.text(QStringLiteral("Edit14")), QStringLiteral("146"));
    // A never-written radio (FF) and a half-written block keep what cannot be read.
    decodeBandTwo(bytes("FFFFFFFFFFFFFFFF"), f);
    QCOMPARE(hex(encodeBandTwo(f).bytes), QStringLiteral("1460144044004300"));
    decodeBandTwo(bytes("1700FFFF4690FF00"), f);
    QCOMPARE(hex(encodeBandTwo(f).bytes), QStringLiteral("1700144046904300"));
    QCOMPARE(f.text(QStringLiteral("Edit28")), QStringLiteral("469"));
}

void TestRadioBlocks::squelchAndPowerOnMessage() {
    Codeplug doc;
    ControlStore& f = doc.func;
    QCOMPARE(hex(encodeSquelchBase(f)), QStringLiteral("646432"));
    decodeSquelchBase(bytes("000000000000000000000000000A141E"), f);
    QCOMPARE(hex(encodeSquelchBase(f)), QStringLiteral("0A141E"));
    QCOMPARE(f.text(QStringLiteral("Edit26")), QStringLiteral("10"));
    decodeSquelchBase(bytes("0A141E"), f); // short block: kept
    QCOMPARE(f.position(QStringLiteral("UpDown16")), 30);

    QCOMPARE(hex(encodePowerOnMessage(f).bytes), QStringLiteral("5553455220202020"));
    f.setText(QStringLiteral("Edit16"), QString());
    QCOMPARE(hex(encodePowerOnMessage(f).bytes), QStringLiteral("2020202020202020"));
    f.setText(QStringLiteral("Edit16"), QStringLiteral("开机"));
    QCOMPARE(encodePowerOnMessage(f).bad->control, QStringLiteral("Edit16"));
    decodePowerOnMessage(bytes("48454C4C4F018020"), f);
    QCOMPARE(f.text(QStringLiteral("Edit16")), QStringLiteral("HELLO"));
    decodePowerOnMessage(bytes("4142434445464748"), f); // all 8 bytes are read
    QCOMPARE(f.text(QStringLiteral("Edit16")), QStringLiteral("ABCDEFGH"));
    QCOMPARE(hex(encodePowerOnMessage(f).bytes), QStringLiteral("4142434445464748"));
    f.setText(QStringLiteral("Edit16"), QStringLiteral("ABCDEFGHI"));
    QVERIFY(!encodePowerOnMessage(f).ok());
}

void TestRadioBlocks::identificationAndFixedBytes() {
    QVERIFY(identificationMatches(bytes("51562D520585FF06FFFFFFFFFFFFFFFF")));
    QVERIFY(!identificationMatches(bytes("51562D520585FF07FFFFFFFFFFFFFFFF")));
    QVERIFY(!identificationMatches(bytes("51562D520585FF")));
    QCOMPARE(hex(fixedAlignmentBytes()), QStringLiteral("2D3E33"));
    QCOMPARE(hex(fixedHighBytes()), QStringLiteral("48696768"));
}

void TestRadioBlocks::clockFrame_data() {
    QTest::addColumn<QDateTime>("when");
    QTest::addColumn<QString>("body");
    QTest::newRow("Sunday") << QDateTime(QDate(2024, 3, 3), QTime(10, 20, 30)) << "550724030310203000";
    QTest::newRow("Saturday") << QDateTime(QDate(2024, 3, 9), QTime(23, 59, 59)) << "550724030923595906";
    QTest::newRow("Monday 2000") << QDateTime(QDate(2000, 1, 3), QTime(0, 0, 0)) << "550700010300000001";
}

void TestRadioBlocks::clockFrame() {
    QFETCH(QDateTime, when);
    QFETCH(QString, body);
    QCOMPARE(Frame::clockRequest(when), body);
}

void TestRadioBlocks::decodersTakeAnyBytes() {
    // A radio can hold anything: every decoder takes any bytes of any length, and what it leaves
    // in the document stays writable.
    Codeplug doc;
    ControlStore& f = doc.func;
    QRandomGenerator random(520);
    for (int round = 0; round < 2000; ++round) {
        QByteArray b(int(random.bounded(20)), '\0');
        for (char& c : b) // mostly the values a radio really holds, now and then anything
            c = char(random.bounded(4) == 0   ? 0xFF
                     : random.bounded(3) == 0 ? random.bounded(10) * 0x11
                                              : random.bounded(256));
        QCOMPARE(decodeChannelRecord(b, doc.tableA, 4, doc.words), b.size() >= 16);
        QCOMPARE(decodeChannelName(b, doc.tableA, 4), b.size() >= 7);
        decodeFmBlock(b, f, 0);
        decodeDtmfCodeBlock(b, f, Addr::PttIdCodes);
        decodeCallListBlock(b, f, 0);
        decodeDates(b, f);
        decodeBandTwo(b, f);
        decodeSquelchBase(b, f);
        decodePowerOnMessage(b, f);
        decodeSettingsBlock1(b, doc);
        decodeSettingsBlock2(b, doc);
        (void)passwordMatches(b, QStringLiteral("1234"));
        f.setChecked(QStringLiteral("CheckBox34"), random.bounded(2) == 1);
    }
    QVERIFY(encodeBandTwo(f).ok());
    QVERIFY(f.position(QStringLiteral("UpDown9")) > f.position(QStringLiteral("UpDown8")));
    QVERIFY(f.position(QStringLiteral("UpDown17")) > f.position(QStringLiteral("UpDown10")));
    QVERIFY(encodeDates(f).ok());
    QVERIFY(encodeFmBlock(f, 0).ok());
    QVERIFY(encodeCallListBlock(f, 0).ok());
    QVERIFY(encodePowerOnMessage(f).ok());
}

QTEST_GUILESS_MAIN(TestRadioBlocks)
#include "test_radioblocks.moc"
