// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/codeplug/codeplug.h"
#include "core/memmap/settingsblocks.h"
#include <QtTest>

// Settings blocks 1 and 2: expected bytes worked out by hand from the radio's layout, round
// trips of a state that differs from the defaults in every control, and the read rules.
class TestSettingsBlocks : public QObject {
    Q_OBJECT

    // A control's value as one number: list position, check state, up-down position. "main:"
    // names a selector of the main window.
    static ControlStore& storeOf(Codeplug& doc, QString& name) {
        if (name.startsWith(QLatin1String("main:"))) {
            name = name.mid(5);
            return doc.main;
        }
        return doc.func;
    }
    static int valueOf(Codeplug& doc, QString name) {
        ControlStore& s = storeOf(doc, name);
        switch (s.state(name).kind) {
        case ControlState::Kind::List:
            return s.index(name);
        case ControlState::Kind::Check:
            return s.checked(name) ? 1 : 0;
        default:
            return s.position(name);
        }
    }
    static void setValue(Codeplug& doc, QString name, int v) {
        ControlStore& s = storeOf(doc, name);
        switch (s.state(name).kind) {
        case ControlState::Kind::List:
            return s.setIndex(name, v);
        case ControlState::Kind::Check:
            return s.setChecked(name, v != 0);
        default:
            return s.setPosition(name, v);
        }
    }
    static void prepareMain(Codeplug& doc) {
        doc.main.setItems(MainCtl::Band1, {"136-174MHz", "245-246MHz", "400-470MHz"});
        doc.main.setIndex(MainCtl::Band1, 0);
        doc.main.setItems(MainCtl::Band2, {"136-174MHz", "400-470MHz", "400-480MHz"});
        doc.main.setIndex(MainCtl::Band2, 1);
    }
    static QString hex(const QByteArray& b) { return QString::fromLatin1(b.toHex().toUpper()); }

    // Every control of both blocks set away from its default, in an order the data rules allow.
    static const QList<QPair<QString, int>>& richState() {
        static const QList<QPair<QString, int>> state = {
            {"ComboBox2", 9},       {"CheckBox2", 1},   {"CheckBox21", 0},  {"CheckBox25", 1},
            {"CheckBox1", 0},       {"CheckBox5", 1},   {"CheckBox15", 1},  {"CheckBox3", 0},
            {"CheckBox16", 1},      {"CheckBox22", 1},  {"CheckBox19", 1},  {"CheckBox20", 1},
            {"CheckBox6", 1},       {"ComboBox19", 0},  {"ComboBox3", 0},   {"CheckBox14", 1},
            {"CheckBox4", 0},       {"ComboBox4", 0},   {"CheckBox23", 1},  {"CheckBox24", 1},
            {"ComboBox9", 1},       {"ComboBox22", 3},  {"CheckBox30", 0},  {"CheckBox18", 0},
            {"ComboBox18", 3},      {"CheckBox28", 0},  {"CheckBox27", 0},  {"ComboBox10", 1},
            {"ComboBox21", 15},     {"ComboBox1", 15},  {"ComboBox5", 12},  {"UpDown11", 255},
            {"ComboBox7", 3},       {"ComboBox6", 7},   {"CheckBox40", 1},  {"CheckBox29", 0},
            {"main:ComboBox26", 2}, {"UpDown12", 35},   {"UpDown1", 25},    {"ComboBox8", 15},
            {"ComboBox119", 0},     {"ComboBox11", 0},  {"ComboBox12", 15}, {"ComboBox13", 9},
            {"ComboBox14", 10},     {"ComboBox15", 10}, {"ComboBox16", 2},  {"ComboBox24", 1},
            {"CheckBox33", 0},      {"ComboBox23", 15}, {"CheckBox11", 1},  {"CheckBox10", 1},
            {"CheckBox9", 1},       {"ComboBox20", 3},  {"CheckBox7", 1},   {"CheckBox8", 0},
            {"CheckBox36", 0},      {"ComboBox25", 1},  {"CheckBox34", 1},  {"CheckBox31", 0},
            {"ComboBox28", 0},      {"ComboBox27", 0},  {"CheckBox26", 0},  {"CheckBox38", 1},
            {"ComboBox17", 7},      {"UpDown2", 200},   {"UpDown3", 50},    {"UpDown4", 500},
            {"UpDown5", 1000},      {"UpDown6", 400},   {"CheckBox32", 0},  {"CheckBox13", 0},
            {"CheckBox17", 0},      {"CheckBox12", 0},  {"CheckBox39", 1},  {"ComboBox26", 0},
            {"main:ComboBand1", 2}, {"UpDown7", 120},
        };
        return state;
    }

private slots:
    void defaultsEncode();
    void richStateEncodesAndRoundTrips();
    void readRules_data();
    void readRules();
    void selectorsWithoutStorableItem();
    void firstChannel_data();
    void firstChannel();
    void firstFmSlot();
};

void TestSettingsBlocks::defaultsEncode() {
    Codeplug doc;
    prepareMain(doc);
    QCOMPARE(hex(encodeSettingsBlock1(doc, {1, 2, 0xFF})), QStringLiteral("630201FF22FFEC6FF287540300"
                                                                          "22F50A"));
    QCOMPARE(hex(encodeSettingsBlock2(doc)), QStringLiteral("0F371D650590"
                                                            "18D3000A0A003C00E33C"));
}

void TestSettingsBlocks::richStateEncodesAndRoundTrips() {
    Codeplug doc;
    prepareMain(doc);
    Codeplug fresh;
    prepareMain(fresh);
    for (const auto& [name, v] : richState()) {
        setValue(doc, name, v);
        QVERIFY2(valueOf(doc, name) == v, qPrintable(name));
        QVERIFY2(valueOf(fresh, name) != v, qPrintable(name + " does not differ from its default"));
    }
    const QByteArray b1 = encodeSettingsBlock1(doc, {99, 0x10, 30});
    const QByteArray b2 = encodeSettingsBlock2(doc);
    QCOMPARE(hex(b1), QStringLiteral("6310631E29FF13900DFB1FFCFF375823"));
    QCOMPARE(hex(b2), QStringLiteral("19F00F9A0A6FF72C07140532642818F0"));

    decodeSettingsBlock1(b1, fresh, QChar('.'));
    decodeSettingsBlock2(b2, fresh, QChar('.'));
    QStringList covered;
    for (const auto& [name, v] : richState()) {
        QVERIFY2(valueOf(fresh, name) == v, qPrintable(name));
        covered << (name.startsWith(QLatin1String("main:")) ? name.mid(5) : name);
    }
    for (int block : {1, 2})
        for (const QString& name : settingsBlockControls(block))
            QVERIFY2(covered.contains(name), qPrintable(name + " is not exercised"));
    QCOMPARE(fresh.func.text(QStringLiteral("Edit1")), QStringLiteral("2.5"));
    QCOMPARE(fresh.func.text(QStringLiteral("Edit2")), QStringLiteral("200"));
    QCOMPARE(fresh.func.text(QStringLiteral("Edit10")), QStringLiteral("120"));
    QCOMPARE(fresh.func.text(QStringLiteral("Edit24")), QStringLiteral("35"));
}

void TestSettingsBlocks::readRules_data() {
    QTest::addColumn<int>("block");
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("expected");

    QTest::newRow("squelch level above 9 -> 2") << 1 << 4 << 0x2A << "ComboBox2" << 7 << 2;
    QTest::newRow("step above 5 -> 5") << 1 << 10 << 0x74 << "ComboBox10" << 0 << 5;
    QTest::newRow("time-out above 12 -> 3") << 1 << 11 << 0x0D << "ComboBox5" << 0 << 3;
    QTest::newRow("VOX delay 4 -> 2") << 1 << 13 << 0x42 << "ComboBox7" << 0 << 2;
    QTest::newRow("VOX sensitivity 8 -> 4") << 1 << 13 << 0x28 << "ComboBox6" << 0 << 4;
    QTest::newRow("rental 5 ticks") << 1 << 14 << 0x55 << "CheckBox40" << 0 << 1;
    QTest::newRow("rental F leaves ticked") << 1 << 14 << 0xF5 << "CheckBox40" << 1 << 1;
    QTest::newRow("band two selector 3 leaves it") << 1 << 14 << 0xFD << "main:ComboBox26" << 0 << 0;
    QTest::newRow("announce time 0 clamps to 5") << 1 << 15 << 0x00 << "UpDown12" << 20 << 5;
    QTest::newRow("long press below 5 -> 15") << 2 << 0 << 0x04 << "UpDown1" << 20 << 15;
    QTest::newRow("long press 5") << 2 << 0 << 0x05 << "UpDown1" << 20 << 5;
    QTest::newRow("end timer 13 -> 13 mod 9") << 2 << 4 << 0x0D << "ComboBox15" << 0 << 4;
    QTest::newRow("end timer 1000 ms stays 10") << 2 << 4 << 0x0A << "ComboBox15" << 0 << 10;
    QTest::newRow("PTT ID type 3 names no item") << 2 << 5 << 0xB0 << "ComboBox16" << 1 << 1;
    QTest::newRow("group code # stays") << 2 << 8 << 0x07 << "ComboBox17" << 0 << 7;
    QTest::newRow("group code 9 -> A") << 2 << 8 << 0x09 << "ComboBox17" << 3 << 0;
    QTest::newRow("DTMF duration x10 clamps") << 2 << 9 << 0xFF << "UpDown2" << 100 << 200;
    QTest::newRow("auto reset / 2 cut") << 2 << 15 << 0x07 << "UpDown7" << 30 << 3;
    QTest::newRow("auto reset 61 -> 30") << 2 << 15 << 0x3D << "UpDown7" << 100 << 30;
    QTest::newRow("band one selector 3 leaves it") << 2 << 14 << 0xEF << "main:ComboBand1" << 1 << 1;
}

void TestSettingsBlocks::readRules() {
    QFETCH(int, block);
    QFETCH(int, byte);
    QFETCH(int, value);
    QFETCH(QString, control);
    QFETCH(int, before);
    QFETCH(int, expected);
    Codeplug doc;
    prepareMain(doc);
    QByteArray bytes = block == 1 ? encodeSettingsBlock1(doc, {}) : encodeSettingsBlock2(doc);
    bytes[byte] = char(value);
    setValue(doc, control, before);
    QCOMPARE(valueOf(doc, control), before);
    (block == 1 ? decodeSettingsBlock1 : decodeSettingsBlock2)(bytes, doc, QChar('.'));
    QCOMPARE(valueOf(doc, control), expected);
    // An up-down's edit shows what the up-down now holds.
    if (control == QLatin1String("UpDown1"))
        QCOMPARE(doc.func.text(QStringLiteral("Edit1")), QString::number(expected / 10.0, 'f', 1));
    // A block too short to be one changes nothing.
    setValue(doc, control, before);
    (block == 1 ? decodeSettingsBlock1 : decodeSettingsBlock2)(bytes.left(15), doc, QChar('.'));
    QCOMPARE(valueOf(doc, control), before);
}

void TestSettingsBlocks::selectorsWithoutStorableItem() {
    // A main-window selector on an appended fourth band, or on nothing, is written as 3, which
    // the radio reads back as "leave the selector as it is".
    Codeplug doc;
    prepareMain(doc);
    doc.main.setItems(MainCtl::Band1, {"136-174MHz", "245-246MHz", "400-470MHz", "144-146MHz"});
    doc.main.setIndex(MainCtl::Band1, 3);
    QCOMPARE(quint8(encodeSettingsBlock2(doc).at(14)) & 0x0C, 0x0C);
    doc.main.setIndex(MainCtl::Band2, -1);
    QCOMPARE(quint8(encodeSettingsBlock1(doc, {}).at(14)) & 0x0C, 0x0C);
    // A list with nothing selected is written as its first item.
    doc.func.setIndex(QStringLiteral("ComboBox1"), -1);
    QCOMPARE(quint8(encodeSettingsBlock1(doc, {}).at(11)) >> 4, 0);
}

void TestSettingsBlocks::firstChannel_data() {
    QTest::addColumn<QString>("bands");
    QTest::addColumn<QString>("rows"); // row=frequency, ...
    QTest::addColumn<int>("expected");

    const QString uhf = "400-470MHz;400-470MHz;400-470MHz";
    QTest::newRow("none") << uhf << "" << 0xFF;
    QTest::newRow("channel 1 inside") << uhf << "4=438.50000" << 1;
    QTest::newRow("lower limit inside") << uhf << "4=145.00000,10=400.00000" << 7;
    QTest::newRow("upper limit outside") << uhf << "4=470.00000" << 0xFF;
    QTest::newRow("VFO rows do not count") << uhf << "1=438.50000,3=438.50000" << 0xFF;
    QTest::newRow("second band") << "400-470MHz;136-174MHz;400-470MHz"
                                 << "4=480.00000,5=145.00000" << 2;
    QTest::newRow("fourth band is not one of the three") << uhf + ";136-174MHz"
                                                         << "4=145.00000" << 0xFF;
    QTest::newRow("unreadable band text holds nothing") << "abc;136-174MHz"
                                                        << "4=145.00000,5=150.00000" << 1;
    QTest::newRow("last channel") << uhf << "102=400.00000" << 99;
    QTest::newRow("decimal comma") << uhf << "6=438,50000" << 3;
}

void TestSettingsBlocks::firstChannel() {
    QFETCH(QString, bands);
    QFETCH(QString, rows);
    QFETCH(int, expected);
    ChannelTable t(Side::A);
    for (const QString& r : rows.split(QChar(','), Qt::SkipEmptyParts))
        t.setCell(Col::RxFreq, r.section(QChar('='), 0, 0).toInt(), r.section(QChar('='), 1));
    QCOMPARE(firstChannelInBands(t, bands.split(QChar(';')), QChar(',')), expected);

    Codeplug doc;
    doc.main.setItems(MainCtl::Band1, bands.split(QChar(';')));
    for (int row = 1; row <= ChannelTable::LastRow; ++row)
        doc.tableB.setCell(Col::RxFreq, row, t.cell(Col::RxFreq, row));
    const FirstNumbers first = firstNumbers(doc, QChar(','));
    QCOMPARE(first.channelB, expected);
    QCOMPARE(first.channelA, 0xFF);
    QCOMPARE(quint8(encodeSettingsBlock1(doc, first).at(1)), quint8(expected));
}

void TestSettingsBlocks::firstFmSlot() {
    Codeplug doc;
    const QString fm = QStringLiteral("StringGrid2");
    QCOMPARE(::firstFmSlot(doc.func), 0xFF); // row 1 alone does not count
    doc.func.setCell(fm, 1, 32, QStringLiteral("100.000"));
    QCOMPARE(::firstFmSlot(doc.func), 0xFF);
    doc.func.setCell(fm, 1, 31, QStringLiteral("100.000"));
    QCOMPARE(::firstFmSlot(doc.func), 30);
    doc.func.setCell(fm, 1, 5, QStringLiteral("90.000"));
    QCOMPARE(::firstFmSlot(doc.func), 4);
}

QTEST_GUILESS_MAIN(TestSettingsBlocks)
#include "test_settingsblocks.moc"
