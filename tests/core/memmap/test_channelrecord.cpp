// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/memmap/channelrecord.h"
#include <QtTest>

// Channel records and names against the radio's bytes. Rows are written as the 18 cells of
// columns 1-18 separated by "|", in English value words.
class TestChannelRecord : public QObject {
    Q_OBJECT
    const ValueWords en = ValueWords::english();

    static void fill(ChannelTable& t, int row, const QString& cells) {
        const QStringList c = cells.split(QChar('|'));
        for (int col = 1; col <= 18; ++col)
            t.setCell(col, row, c.value(col - 1));
    }
    static QString cellsOf(const ChannelTable& t, int row) {
        QStringList c;
        for (int col = 1; col <= 18; ++col)
            c << (col == Col::Name ? QString() : t.cell(col, row));
        return c.join(QChar('|'));
    }

private slots:
    void addresses();
    void encode_data();
    void encode();
    void decode_data();
    void decode();
    void roundTrip_data();
    void roundTrip();
    void names_data();
    void names();
};

void TestChannelRecord::addresses() {
    // The radio's requests name a record as three hex digits of 2r+190 (B) or 2r+191 (A) and a
    // name as r+399 followed by 0 (B) or 8 (A).
    for (int r = 1; r <= 102; ++r) {
        QCOMPARE(channelRecordAddress(Side::B, r), quint16((2 * r + 190) << 4));
        QCOMPARE(channelRecordAddress(Side::A, r), quint16((2 * r + 191) << 4));
        QCOMPARE(channelNameAddress(Side::B, r), quint16((r + 399) << 4));
        QCOMPARE(channelNameAddress(Side::A, r), quint16(((r + 399) << 4) + 8));
    }
    QCOMPARE(channelRecordAddress(Side::A, 102) + 15, 0x18BF);
    QCOMPARE(channelNameAddress(Side::A, 102) + 7, 0x1F5F);
}

void TestChannelRecord::encode_data() {
    QTest::addColumn<QString>("cells");
    QTest::addColumn<QString>("expected"); // hex, or "col N" for the refused column

    const QString tail = "|OFF|OFF|OFF|"; // options 15, Reverse, Talkaround, no CTCSS frequency
    QTest::newRow("new channel defaults")
        << "436.12500|OFF|436.12500|OFF|High|Wide|ON|OFF|ON|OFF|OFF|OFF|OFF|"
           "NameA01" +
               tail
        << "4361250043612500FF00FF00FFFEB0FC";
    QTest::newRow("every option flipped, TX above RX")
        << "145.00000|D023N|145.60000|88.5|Low|Narrow|OFF|ON|OFF|RX scrambler|ON|ON|ON|x|ON|ON|ON|107.0"
        << "1450000014560000020211412E0104FE";
    QTest::newRow("mid power, compander")
        << "436.12500|OFF|436.12500|OFF|Mid|Wide|ON|OFF|ON|Comp|OFF|OFF|OFF|" + tail
        << "4361250043612500FF00FF00FFFE71FC";
    QTest::newRow("empty TX frequency sorts before RX")
        << "145.00000|OFF||OFF|High|Wide|ON|OFF|ON|OFF|OFF|OFF|OFF|" + tail
        << "14500000FFFFFFFFFF00FF00FFFEB0FD";
    QTest::newRow("CTCSS frequency with a DCS TX tone only in byte 12")
        << "145.00000|OFF|145.00000|D754I|High|Wide|ON|OFF|ON|OFF|OFF|OFF|OFF||OFF|OFF|OFF|107.0"
        << "1450000014500000FF006B032EFEB0FC";
    QTest::newRow("empty RX frequency") << "|OFF|436.12500|D023N|High|||||||||NameA01||||"
                                        << "FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF";
    // Words of another language are not the current words: each is tested as its column says.
    QTest::newRow("Chinese words while English is current")
        << QStringLiteral(
               "145.00000||145.00000||高功率|宽带|禁用|禁用|启用|禁用|禁用|禁用|禁用||禁用|禁用|禁用|")
        << "1450000014500000FF00FF00FF0000FC";
    QTest::newRow("RX frequency not ddd.ddddd") << "436.125|OFF|436.125|OFF|High"
                                                << "col 1";
    QTest::newRow("TX tone outside the list") << "436.12500|OFF|436.12500|12.0|High"
                                              << "col 4";
    QTest::newRow("CTCSS frequency beyond 3 hex digits") << "436.12500|OFF|436.12500|D023N||||||||||||||409.6"
                                                         << "col 18";
}

void TestChannelRecord::encode() {
    QFETCH(QString, cells);
    QFETCH(QString, expected);
    ChannelTable t(Side::A);
    fill(t, 4, cells);
    const Encoded e = encodeChannelRecord(t, 4, en, QChar(','));
    if (expected.startsWith(QLatin1String("col "))) {
        QVERIFY(e.bytes.isEmpty());
        QCOMPARE(e.bad.value_or(BadField{}).column, expected.mid(4).toInt());
        QCOMPARE(e.bad->row, 4);
    } else {
        QVERIFY(e.ok());
        QCOMPARE(QString::fromLatin1(e.bytes.toHex().toUpper()), expected);
    }
}

void TestChannelRecord::decode_data() {
    QTest::addColumn<QString>("record");
    QTest::addColumn<QString>("expected");

    const QString defaults = "ON|OFF|ON|OFF|OFF|OFF|OFF||OFF|OFF|OFF|"; // columns 7-18 of a new channel
    QTest::newRow("empty channel") << "FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF"
                                   << "|||||||||||||||||";
    QTest::newRow("RX digits not decimal") << "4361250A43612500FF00FF00FFFEB0FC"
                                           << "|||||||||||||||||";
    QTest::newRow("TX FFFFFFFF") << "14500000FFFFFFFFFF00FF00FFFEB0FD"
                                 << "145.00000|OFF||OFF|High|Wide|" + defaults;
    QTest::newRow("power bits 3 read as High")
        << "1450000014500000FF00FF00FF00F0FC"
        << "145.00000|OFF|145.00000|OFF|High|Narrow|ON|OFF|OFF|OFF|ON|ON|ON||"
           "ON|OFF|ON|";
    QTest::newRow("compander nibble 7 is item 2")
        << "1450000014500000FF00FF00FF0007FC"
        << "145.00000|OFF|145.00000|OFF|Low|Narrow|ON|ON|OFF|scrambler|ON|"
           "ON|ON||ON|ON|ON|";
    QTest::newRow("CTCSS top digit F means none") << "1450000014500000FF0011F12EFEB0FC"
                                                  << "145.00000|OFF|145.00000|88.5|High|Wide|" + defaults;
    QTest::newRow("tone codes outside the list read OFF")
        << "1450000014500000000240FFFFFEB0FC"
        << "145.00000|OFF|145.00000|OFF|High|Wide|" + defaults;
}

void TestChannelRecord::decode() {
    QFETCH(QString, record);
    QFETCH(QString, expected);
    ChannelTable t(Side::B);
    // Whatever the row held before is replaced, the name is left to its own block.
    fill(t, 7, "100.00000|88.5|100.00000|88.5|Low|Narrow|ON|ON|ON|Comp|ON|ON|ON|KEEP|ON|ON|ON|99.9");
    QVERIFY(decodeChannelRecord(QByteArray::fromHex(record.toLatin1()), t, 7, en, QChar('.')));
    QCOMPARE(cellsOf(t, 7), expected);
    QCOMPARE(t.cell(Col::Name, 7), QStringLiteral("KEEP"));
    QVERIFY(!decodeChannelRecord(QByteArray::fromHex("43612500"), t, 7, en, QChar('.')));
    QCOMPARE(cellsOf(t, 7), expected);
}

void TestChannelRecord::roundTrip_data() {
    QTest::addColumn<QString>("cells");
    QTest::newRow("lowest frequency, first tones")
        << "100.00000|56.0|550.00000|254.1|High|Wide|ON|OFF|ON|OFF|OFF|ON|OFF||ON|OFF|ON|55.0";
    QTest::newRow("highest frequency, last codes")
        << "550.00000|D754I|100.00000|250.3|Mid|Narrow|OFF|ON|OFF|RX scrambler|ON|OFF|ON||OFF|ON|OFF|255.0";
    QTest::newRow("6.25 kHz raster, top CTCSS digit E")
        << "136.00625|D017N|174.99375|56.0|Low|Wide|ON|ON|ON|TX scrambler|ON|ON|ON||ON|ON|ON|383.9";
    QTest::newRow("all options off")
        << "462.56250|D754N|462.56250|D017I|High|Narrow|OFF|OFF|OFF|scrambler|OFF|OFF|"
           "OFF||OFF|OFF|OFF|";
}

void TestChannelRecord::roundTrip() {
    QFETCH(QString, cells);
    ChannelTable from(Side::A), to(Side::A);
    fill(from, 50, cells);
    const Encoded e = encodeChannelRecord(from, 50, en, QChar('.'));
    QVERIFY(e.ok());
    QVERIFY(decodeChannelRecord(e.bytes, to, 50, en, QChar('.')));
    QCOMPARE(cellsOf(to, 50), cellsOf(from, 50));
}

void TestChannelRecord::names_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("bytes"); // empty = the name is refused
    QTest::addColumn<bool>("written");  // false: only read from these bytes

    QTest::newRow("default name") << "NameA01"
                                  << "4E616D6541303120" << true;
    QTest::newRow("empty") << ""
                           << "2020202020202020" << true;
    QTest::newRow("DEL is a radio character") << "A\x7f"
                                              << "417F202020202020" << true;
    QTest::newRow("bytes below 0x20 and above 0x7F read as blanks") << "A B C"
                                                                    << "411F42804320FF5A" << false;
    QTest::newRow("seven blanks, byte 8 unused") << ""
                                                 << "2020202020202041" << false;
    QTest::newRow("leading blank kept") << " ABCDEF"
                                        << "2041424344454647" << false;
    QTest::newRow("eight characters") << "ABCDEFGH"
                                      << "" << true;
    QTest::newRow("Chinese") << QStringLiteral("名字") << "" << true;
    QTest::newRow("control character") << "A\tB"
                                       << "" << true;
}

void TestChannelRecord::names() {
    QFETCH(QString, name);
    QFETCH(QString, bytes);
    QFETCH(bool, written);
    ChannelTable t(Side::B);
    if (written) {
        t.setCell(Col::Name, 9, name);
        const Encoded e = encodeChannelName(t, 9);
        QCOMPARE(QString::fromLatin1(e.bytes.toHex().toUpper()), bytes);
        QCOMPARE(e.bad.value_or(BadField{}).column, bytes.isEmpty() ? int(Col::Name) : -1);
    }
    if (bytes.isEmpty()) return;
    t.setCell(Col::Name, 9, QStringLiteral("old"));
    QVERIFY(decodeChannelName(QByteArray::fromHex(bytes.toLatin1()), t, 9));
    QCOMPARE(t.cell(Col::Name, 9), name);
    QVERIFY(!decodeChannelName(QByteArray::fromHex("414243"), t, 9));
    QCOMPARE(t.cell(Col::Name, 9), name);
}

QTEST_GUILESS_MAIN(TestChannelRecord)
#include "test_channelrecord.moc"
