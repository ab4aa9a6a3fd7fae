#include "link/channelrecord.h"
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
    void roundTripBoundaries();
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
    QTest::addColumn<QString>("decimalPoint");
    QTest::addColumn<QString>("expected"); // hex, or "col N" for the refused column

    QTest::newRow("new channel defaults")
        << "436.12500|OFF|436.12500|OFF|High|Wide|ON|OFF|ON|OFF|OFF|OFF|OFF|NameA01|OFF|OFF|OFF|"
        << "."
        << "4361250043612500FF00FF00FFFEB0FC";
    QTest::newRow("every option flipped, TX above RX")
        << "145.00000|D023N|145.60000|88.5|Low|Narrow|OFF|ON|OFF|RX scrambler|ON|ON|ON|x|ON|ON|ON|107.0"
        << "."
        << "1450000014560000020211412E0104FE";
    QTest::newRow("mid power, compander")
        << "436.12500|OFF|436.12500|OFF|Mid|Wide|ON|OFF|ON|Comp|OFF|OFF|OFF||OFF|OFF|OFF|"
        << "."
        << "4361250043612500FF00FF00FFFE71FC";
    QTest::newRow("empty TX frequency sorts before RX")
        << "145.00000|OFF||OFF|High|Wide|ON|OFF|ON|OFF|OFF|OFF|OFF||OFF|OFF|OFF|"
        << "."
        << "14500000FFFFFFFFFF00FF00FFFEB0FD";
    QTest::newRow("RX below TX gives FE")
        << "145.00000|OFF|145.60000|OFF|High|Wide|ON|OFF|ON|OFF|OFF|OFF|OFF||OFF|OFF|OFF|"
        << "."
        << "1450000014560000FF00FF00FFFEB0FE";
    QTest::newRow("CTCSS frequency with a DCS TX tone only in byte 12")
        << "145.00000|OFF|145.00000|D754I|High|Wide|ON|OFF|ON|OFF|OFF|OFF|OFF||OFF|OFF|OFF|107.0"
        << "."
        << "1450000014500000FF006B032EFEB0FC";
    QTest::newRow("decimal comma")
        << "436,12500|OFF|436,12500|OFF|High|Wide|ON|OFF|ON|OFF|OFF|OFF|OFF||OFF|OFF|OFF|"
        << ","
        << "4361250043612500FF00FF00FFFEB0FC";
    QTest::newRow("empty RX frequency") << "|OFF|436.12500|D023N|High|||||||||NameA01||||"
                                        << "."
                                        << "FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF";
    // Words of another language are not the current words: tested as the "Tested as" rules say.
    QTest::newRow("Chinese words while English is current")
        << QStringLiteral(
               "145.00000||145.00000||高功率|宽带|禁用|禁用|启用|禁用|禁用|禁用|禁用||禁用|禁用|禁用|")
        << "."
        << "1450000014500000FF00FF00FF0000FC";
    QTest::newRow("RX frequency not ddd.ddddd") << "436.125|OFF|436.125|OFF|High|Wide|ON|OFF|ON|OFF|||||||"
                                                << "."
                                                << "col 1";
    QTest::newRow("TX frequency not ddd.ddddd") << "436.12500|OFF|4361.2500|OFF|High|Wide|||||||||||"
                                                << "."
                                                << "col 3";
    QTest::newRow("RX tone outside the list") << "436.12500|D999N|436.12500|OFF|High||||||||||||"
                                              << "."
                                              << "col 2";
    QTest::newRow("TX tone outside the list") << "436.12500|OFF|436.12500|12.0|High||||||||||||"
                                              << "."
                                              << "col 4";
    QTest::newRow("CTCSS frequency not a number") << "436.12500|OFF|436.12500|88.5|High|||||||||||||abc"
                                                  << "."
                                                  << "col 18";
    QTest::newRow("CTCSS frequency beyond 3 hex digits")
        << "436.12500|OFF|436.12500|D023N|High|||||||||||||409.6"
        << "."
        << "col 18";
}

void TestChannelRecord::encode() {
    QFETCH(QString, cells);
    QFETCH(QString, decimalPoint);
    QFETCH(QString, expected);
    ChannelTable t(Side::A);
    fill(t, 4, cells);
    const Encoded e = encodeChannelRecord(t, 4, en, decimalPoint.at(0));
    if (expected.startsWith(QLatin1String("col "))) {
        QVERIFY(!e.ok());
        QVERIFY(e.bytes.isEmpty());
        QCOMPARE(e.bad->column, expected.mid(4).toInt());
        QCOMPARE(e.bad->row, 4);
    } else {
        QVERIFY(e.ok());
        QCOMPARE(QString::fromLatin1(e.bytes.toHex().toUpper()), expected);
    }
}

void TestChannelRecord::decode_data() {
    QTest::addColumn<QString>("record");
    QTest::addColumn<QString>("expected");

    QTest::newRow("defaults")
        << "4361250043612500FF00FF00FFFEB0FC"
        << "436.12500|OFF|436.12500|OFF|High|Wide|ON|OFF|ON|OFF|OFF|OFF|OFF||OFF|OFF|OFF|";
    QTest::newRow("flipped")
        << "1450000014560000020211412E0104FE"
        << "145.00000|D023N|145.60000|88.5|Low|Narrow|OFF|ON|OFF|RX scrambler|ON|ON|ON||ON|ON|"
           "ON|107.0";
    QTest::newRow("empty channel") << "FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF"
                                   << "|||||||||||||||||";
    QTest::newRow("RX digits not decimal") << "4361250A43612500FF00FF00FFFEB0FC"
                                           << "|||||||||||||||||";
    QTest::newRow("TX FFFFFFFF") << "14500000FFFFFFFFFF00FF00FFFEB0FD"
                                 << "145.00000|OFF||OFF|High|Wide|ON|OFF|ON|OFF|OFF|OFF|OFF||OFF|OFF|OFF|";
    QTest::newRow("power bits 3 read as High")
        << "1450000014500000FF00FF00FF00F0FC"
        << "145.00000|OFF|145.00000|OFF|High|Narrow|ON|OFF|OFF|OFF|ON|ON|ON||"
           "ON|OFF|ON|";
    QTest::newRow("compander nibble 7 is item 2")
        << "1450000014500000FF00FF00FF0007FC"
        << "145.00000|OFF|145.00000|OFF|Low|Narrow|ON|ON|OFF|scrambler|ON|"
           "ON|ON||ON|ON|ON|";
    QTest::newRow("CTCSS top digit F means none")
        << "1450000014500000FF0011F12EFEB0FC"
        << "145.00000|OFF|145.00000|88.5|High|Wide|ON|OFF|ON|OFF|OFF|OFF|"
           "OFF||OFF|OFF|OFF|";
    QTest::newRow("tone codes outside the list read OFF")
        << "1450000014500000000240FFFFFEB0FC"
        << "145.00000|OFF|145.00000|OFF|High|Wide|ON|OFF|ON|OFF|"
           "OFF|OFF|OFF||OFF|OFF|OFF|";
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

void TestChannelRecord::roundTripBoundaries() {
    const ValueWords zh = ValueWords::simplifiedChinese();
    const QStringList tones = toneList(zh);
    const QStringList comp = companderList(zh);
    const QString rows[] = {
        "100.00000|" + tones.at(1) + "|550.00000|" + tones.at(58) + "|" + zh.high + "|" + zh.wide + "|" +
            zh.on + "|" + zh.off + "|" + zh.on + "|" + comp.at(0) + "|" + zh.off + "|" + zh.on + "|" +
            zh.off + "||" + zh.on + "|" + zh.off + "|" + zh.on + "|55.0",
        "550.00000|" + tones.at(272) + "|100.00000|" + tones.at(57) + "|" + zh.mid + "|" + zh.narrow + "|" +
            zh.off + "|" + zh.on + "|" + zh.off + "|" + comp.at(4) + "|" + zh.on + "|" + zh.off + "|" +
            zh.on + "||" + zh.off + "|" + zh.on + "|" + zh.off + "|255.0",
        "136.00625|" + tones.at(59) + "|174.99375|" + tones.at(1) + "|" + zh.low + "|" + zh.wide + "|" +
            zh.on + "|" + zh.on + "|" + zh.on + "|" + comp.at(3) + "|" + zh.on + "|" + zh.on + "|" + zh.on +
            "||" + zh.on + "|" + zh.on + "|" + zh.on + "|383.9",
        "462.56250|" + tones.at(165) + "|462.56250|" + tones.at(166) + "|" + zh.high + "|" + zh.narrow + "|" +
            zh.off + "|" + zh.off + "|" + zh.off + "|" + comp.at(2) + "|" + zh.off + "|" + zh.off + "|" +
            zh.off + "||" + zh.off + "|" + zh.off + "|" + zh.off + "|",
    };
    for (const QString& cells : rows) {
        ChannelTable from(Side::A), to(Side::A);
        fill(from, 50, cells);
        const Encoded e = encodeChannelRecord(from, 50, zh, QChar('.'));
        QVERIFY2(e.ok(), qPrintable(cells));
        QCOMPARE(e.bytes.size(), 16);
        QVERIFY(decodeChannelRecord(e.bytes, to, 50, zh, QChar('.')));
        QCOMPARE(cellsOf(to, 50), cellsOf(from, 50));
    }
}

void TestChannelRecord::names_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("bytes"); // empty = refused

    QTest::newRow("default name") << "NameA01"
                                  << "4E616D6541303120";
    QTest::newRow("empty") << ""
                           << "2020202020202020";
    QTest::newRow("DEL is a radio character") << "A\x7f"
                                              << "417F202020202020";
    QTest::newRow("eight characters") << "ABCDEFGH"
                                      << "";
    QTest::newRow("Chinese") << QStringLiteral("名字") << "";
    QTest::newRow("control character") << "A\tB"
                                       << "";
}

void TestChannelRecord::names() {
    QFETCH(QString, name);
    QFETCH(QString, bytes);
    ChannelTable t(Side::B);
    t.setCell(Col::Name, 9, name);
    const Encoded e = encodeChannelName(t, 9);
    QCOMPARE(e.ok(), !bytes.isEmpty());
    if (!e.ok()) {
        QCOMPARE(e.bad->column, int(Col::Name));
        return;
    }
    QCOMPARE(QString::fromLatin1(e.bytes.toHex().toUpper()), bytes);
    ChannelTable back(Side::B);
    QVERIFY(decodeChannelName(e.bytes, back, 9));
    QCOMPARE(back.cell(Col::Name, 9), name);

    // Reading: bytes below 0x20 and above 0x7F are blanks, trailing blanks go, byte 8 is unused.
    const struct {
        const char* hex;
        const char* text;
    } reads[] = {{"411F42804320FF5A", "A B C"},
                 {"2020202020202041", ""},
                 {"FFFFFFFFFFFFFFFF", ""},
                 {"2041424344454647", " ABCDEF"}};
    for (const auto& r : reads) {
        QVERIFY(decodeChannelName(QByteArray::fromHex(r.hex), back, 9));
        QCOMPARE(back.cell(Col::Name, 9), QString::fromLatin1(r.text));
    }
}

QTEST_GUILESS_MAIN(TestChannelRecord)
#include "test_channelrecord.moc"
