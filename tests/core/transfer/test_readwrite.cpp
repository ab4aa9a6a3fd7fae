// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/base/messages.h"
#include "core/codeplug/document.h"
#include "core/link/radioport.h"
#include "core/transfer/readprocedure.h"
#include "core/transfer/writeprocedure.h"
#include "sim/demoradio.h"
#include "tests/common/bench.h"
#include "tests/common/testwaits.h"
#include <QTest>

namespace {
const QString Fm = QStringLiteral("StringGrid2");
const QString Calls = QStringLiteral("StringGrid1");

// A radio that has seen some use, written down byte by byte so that the expectations below do
// not lean on the encoders under test.
struct Block {
    quint16 address;
    const char* hex;
};
constexpr Block RichImage[] = {
    // Programming stamp: 2023-11-05 08:09:10 by "DEALER"; factory stamp 2023-01-02 for "SHOP".
    {0x0160, "20231105080910FF4445414C4552FF06"},
    {0x0140, "20230102030405FF53484F50FFFFFF04"},
    // Table B, VFO row 1 empty (left FF); channel 1 (row 4) a repeater: RX 438.50000,
    // TX 430.90000, RX tone 88.5, TX tone 88.5 with CTCSS frequency 107.0 (hi digit 4, low
    // byte 2E), all options at their usual sense, opt 7 on, high power, compander.
    {0x0C60, "4385000043090000110111412EFEB1FC"},
    {0x1930, "5250542D55484620"}, // "RPT-UHF "
    // Table A, VFO row 1: RX 145.00625, no TX, RX D023N, no TX tone, narrow, options inverted,
    // power bits 3 (reads high), compander nibble 7 (reads as item 2).
    {0x0C10, "14500625FFFFFFFF0202FF00FF0FC7FF"},
    {0x1908, "4142014320202020"}, // "AB", a control byte, "C": "AB C"
    // Table A, channel 99 (row 102).
    {0x18B0, "46256250462562501501FF00FFF0B0FC"},
    {0x1F58, "4C41535420202020"}, // "LAST"
    // Settings: squelch level 5, band-two selector item 1; long press 2.0 s, pre-carrier 600 ms,
    // band-one selector item 0.
    {0x0180, "63FFFFFF25FF0000000350000000F40A"},
    {0x0190, "1400000000001000000A0A003C00003C"},
    {0x0138, "240229310131FFFF"},
    {0x01C0, "08066006FF17FF170C0F0FFAFA0A141E"},
    {0x0158, "1480136047004000"},
    {0x0000, "0875000010800000FFFFFFFF09815000"},
    {0x0080, "1AA1FFFFFFFFFFF4FFFFFFFFFFFFFFF0"},
    {0x0100, "DEBCFFFFFFFFFFF451A99FFFFFFFFFF5"},
    {0x0900, "48454C4C4F202020"},
    {0x0120, "510FFFFFFFFFFFF3123FFFFFFFFFFFF3"}, // raw PTT ID codes (voice announce on)
};

void loadRichImage(Bench& bench) {
    for (const Block& b : RichImage)
        bench.put(b.address, b.hex);
}

ValueWords wordsOf(int language) {
    return language == 2   ? ValueWords::english()
           : language == 3 ? ValueWords::traditionalChinese()
                           : ValueWords::simplifiedChinese();
}

// Some rows hold something before a read so that "left unchanged" can be told from "emptied".
void prefill(Session& s, int lastRow) {
    for (ChannelTable* t : {&s.doc.tableA, &s.doc.tableB})
        for (int row = 1; row <= lastRow; ++row) {
            t->setCell(Col::RxFreq, row, point("150.00000"));
            t->newChannelDefaults(row, s.doc.words);
            t->setCell(Col::Name, row, QStringLiteral("OLD"));
        }
    s.doc.func.setCell(Fm, 1, 2, point("99.000"));
}

TransferOptions range(const QString& channels) {
    TransferOptions o;
    o.channelRange = channels;
    return o;
}

QDateTime sunday() {
    return QDateTime(QDate(2024, 3, 3), QTime(10, 20, 30));
}

// The document this program would write after the read: the whole state in one comparison.
QByteArray documentOf(const Session& s) {
    return saveDocument(s);
}

// Empty when both documents are the same, else the first line that differs.
QString difference(const QByteArray& expected, const QByteArray& actual) {
    const QList<QByteArray> e = expected.split('\n');
    const QList<QByteArray> a = actual.split('\n');
    for (qsizetype i = 0; i < std::max(e.size(), a.size()); ++i) {
        const QByteArray x = e.value(i), y = a.value(i);
        if (x != y)
            return QStringLiteral("line %1: expected '%2', got '%3'")
                .arg(i + 1)
                .arg(QString::fromLocal8Bit(x.trimmed()), QString::fromLocal8Bit(y.trimmed()));
    }
    return {};
}
#define COMPARE_DOCUMENTS(actual, expected)                                                                  \
    do {                                                                                                     \
        const QString d = difference(expected, actual);                                                      \
        QVERIFY2(d.isEmpty(), qPrintable(d));                                                                \
    } while (false)
} // namespace

class TestReadWrite : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { useTestWaits(); }
    void fullReadOfRichImage_data();
    void fullReadOfRichImage();
    void readFaultsChangeNothing_data();
    void readFaultsChangeNothing();
    void refusedBeforeChannels_data();
    void refusedBeforeChannels();
    void silenceInChannelRows();
    void channelRangeOne();
    void channelRangeRefused_data();
    void channelRangeRefused();
    void debugRows();
    void writeLeavesExpectedBytes();
    void byteFifteen_data();
    void byteFifteen();
    void writeThenReadSameDocument_data();
    void writeThenReadSameDocument();
    void stampRenewedOnce();
    void clockFrame_data();
    void clockFrame();
    void optionalBlocks_data();
    void optionalBlocks();
    void validationStopsEverything_data();
    void validationStopsEverything();
    void badCellBeyondRangeIsNotSent();
    void formShowBandCheck_data();
    void formShowBandCheck();
    void firstNumbersInBlockOne_data();
    void firstNumbersInBlockOne();
    void writeFailsPartWay();
    void failureSaysHowFar_data();
    void failureSaysHowFar();
    void freshRadioWritesBack_data();
    void freshRadioWritesBack();
    void demoRadioReads();
    void demoRadioServesComPort();
};

void TestReadWrite::fullReadOfRichImage_data() {
    QTest::addColumn<int>("language");
    QTest::newRow("Simplified Chinese") << 1;
    QTest::newRow("English") << 2;
    QTest::newRow("Traditional Chinese") << 3;
}

void TestReadWrite::fullReadOfRichImage() {
    QFETCH(int, language);
    Bench bench;
    loadRichImage(bench);
    auto s = startedSession(language);
    const ValueWords w = wordsOf(language);
    QCOMPARE(s->doc.words.off, w.off);
    prefill(*s, 102);
    QList<int> progress;
    TransferOptions options;
    options.progress = [&](int v) { progress << v; };

    const TransferResult r = readRadio(*s, bench.link, options);
    QVERIFY(r.ok());
    QVERIFY(bench.endedWithEndFrame());
    QCOMPARE(progress.last(), ProgressMaximum);
    QVERIFY(std::is_sorted(progress.begin(), progress.end()));

    // Radio information.
    QCOMPARE(s->radioInfo.administrator, QStringLiteral("DEALER"));
    QCOMPARE(s->radioInfo.salesDate, QStringLiteral("2023-11-05  08:09:10"));
    QCOMPARE(s->radioInfo.factoryDate, QStringLiteral("2023-01-02  03:04:05"));
    QCOMPARE(s->radioInfo.user, QStringLiteral("SHOP"));

    const ChannelTable& a = s->doc.tableA;
    const ChannelTable& b = s->doc.tableB;
    const QStringList b4 = {point("438.50000"),
                            QStringLiteral("88.5"),
                            point("430.90000"),
                            QStringLiteral("88.5"),
                            w.high,
                            w.wide,
                            w.on,
                            w.off,
                            w.on,
                            w.compander,
                            w.off,
                            w.off,
                            w.off,
                            QStringLiteral("RPT-UHF"),
                            w.off,
                            w.off,
                            w.off,
                            point("107.0")};
    const QStringList a1 = {point("145.00625"),
                            QStringLiteral("D023N"),
                            QString(),
                            w.off,
                            w.high,
                            w.narrow,
                            w.off,
                            w.on,
                            w.off,
                            w.scrambler,
                            w.off,
                            w.on,
                            w.on,
                            QStringLiteral("AB C"),
                            w.off,
                            w.on,
                            w.off,
                            QString()};
    for (int col = 1; col < ChannelTable::Columns; ++col) {
        QCOMPARE(b.cell(col, 4), b4.at(col - 1));
        QCOMPARE(a.cell(col, 1), a1.at(col - 1));
    }
    QCOMPARE(a.cell(Col::RxFreq, 102), point("462.56250"));
    QCOMPARE(a.cell(Col::Name, 102), QStringLiteral("LAST"));
    // Never-written rows read empty, name included; labels stay.
    for (int col = 1; col < ChannelTable::Columns; ++col) {
        QCOMPARE(b.cell(col, 1), QString());
        QCOMPARE(a.cell(col, 50), QString());
    }
    QCOMPARE(a.cell(Col::Label, 4), QStringLiteral("01"));

    const ControlStore& f = s->doc.func;
    QCOMPARE(f.index(QStringLiteral("ComboBox2")), 5);
    QCOMPARE(f.index(QStringLiteral("ComboBox10")), 5);
    QCOMPARE(s->doc.main.index(MainCtl::Band2), 1);
    QCOMPARE(s->doc.main.index(MainCtl::Band1), 0);
    QCOMPARE(f.position(QStringLiteral("UpDown1")), 20);
    QCOMPARE(f.position(QStringLiteral("UpDown5")), 600);
    QCOMPARE(f.text(QStringLiteral("Edit32")), QStringLiteral("2024-02-29"));
    QCOMPARE(f.text(QStringLiteral("Edit31")), QStringLiteral("2031-01-31"));
    QCOMPARE(f.position(QStringLiteral("UpDown14")), 10);
    QCOMPARE(f.position(QStringLiteral("UpDown13")), 20);
    QCOMPARE(f.position(QStringLiteral("UpDown16")), 30);
    QCOMPARE(f.position(QStringLiteral("UpDown9")), 148);
    QCOMPARE(f.position(QStringLiteral("UpDown8")), 136);
    QCOMPARE(f.position(QStringLiteral("UpDown17")), 470);
    QCOMPARE(f.position(QStringLiteral("UpDown10")), 400);
    QCOMPARE(f.cell(Fm, 1, 1), point("87.500"));
    QCOMPARE(f.cell(Fm, 1, 2), point("108.000"));
    QCOMPARE(f.cell(Fm, 1, 3), QString());
    QCOMPARE(f.cell(Fm, 1, 4), point("98.150"));
    QCOMPARE(f.cell(Calls, 1, 1), QStringLiteral("1001"));
    QCOMPARE(f.cell(Calls, 1, 2), QString());
    QCOMPARE(f.text(QStringLiteral("Edit9")), QStringLiteral("AB*#"));
    QCOMPARE(f.text(QStringLiteral("Edit23")), QStringLiteral("51099"));
    QCOMPARE(f.text(QStringLiteral("Edit16")), QStringLiteral("HELLO"));
    QVERIFY(f.checked(QStringLiteral("CheckBox34")));
    QCOMPARE(f.text(QStringLiteral("Edit7")), QStringLiteral("510"));
    QCOMPARE(f.text(QStringLiteral("Edit8")), QStringLiteral("123"));
}

void TestReadWrite::readFaultsChangeNothing_data() {
    QTest::addColumn<SimFaults>("faults");
    SimFaults echo;
    echo.echo = true;
    SimFaults busy;
    busy.busyEvery = 3;
    SimFaults corrupt;
    corrupt.corruptEvery = 4;
    QTest::newRow("single-port echo") << echo;
    QTest::newRow("busy every 3rd") << busy;
    QTest::newRow("bad checksum every 4th") << corrupt;
}

// Replies that the patterns repeat or clean up give the same document as a clean line.
void TestReadWrite::readFaultsChangeNothing() {
    QFETCH(SimFaults, faults);
    Bench clean;
    loadRichImage(clean);
    auto expected = startedSession(2);
    QVERIFY(readRadio(*expected, clean.link, range(QStringLiteral("12"))).ok());

    Bench bench;
    loadRichImage(bench);
    bench.radio.setFaults(faults);
    bench.link.setSinglePortMode(faults.echo);
    auto s = startedSession(2);
    const TransferResult r = readRadio(*s, bench.link, range(QStringLiteral("12")));
    QVERIFY(r.ok());
    COMPARE_DOCUMENTS(documentOf(*s), documentOf(*expected));
    QCOMPARE(s->radioInfo.administrator, expected->radioInfo.administrator);
}

void TestReadWrite::refusedBeforeChannels_data() {
    QTest::addColumn<QByteArray>("passwordBlock");
    QTest::addColumn<QByteArray>("identBlock");
    QTest::addColumn<QString>("currentPassword");
    QTest::addColumn<bool>("ok");
    const QByteArray ident = "51562D520585FF06FFFFFFFFFFFFFFFF";
    QTest::newRow("no password, any field") << QByteArray("FFFFFFFFFFFFFFFF") << ident << "999" << true;
    QTest::newRow("password matches") << QByteArray("12FFFFFFFFFFFFF2") << ident << "12" << true;
    QTest::newRow("wrong password") << QByteArray("12FFFFFFFFFFFFF2") << ident << "13" << false;
    QTest::newRow("password missing") << QByteArray("12FFFFFFFFFFFFF2") << ident << "" << false;
    QTest::newRow("other radio") << QByteArray("FFFFFFFFFFFFFFFF")
                                 << QByteArray("51562D520585FF07FFFFFFFFFFFFFFFF") << "" << false;
}

void TestReadWrite::refusedBeforeChannels() {
    QFETCH(QByteArray, passwordBlock);
    QFETCH(QByteArray, identBlock);
    QFETCH(QString, currentPassword);
    QFETCH(bool, ok);
    Bench bench;
    loadRichImage(bench);
    bench.put(Addr::Password, passwordBlock.constData());
    bench.put(Addr::Identification, identBlock.constData());
    auto s = startedSession(1);
    prefill(*s, 5);
    s->doc.func.setText(QStringLiteral("Edit22"), currentPassword);
    const QByteArray before = documentOf(*s);

    const TransferResult r = readRadio(*s, bench.link, range(QStringLiteral("2")));
    QCOMPARE(r.ok(), ok);
    QVERIFY(bench.endedWithEndFrame());
    // The stamps are shown whatever follows them.
    QCOMPARE(s->radioInfo.administrator, QStringLiteral("DEALER"));
    if (!ok) {
        QCOMPARE(r.outcome, TransferResult::Outcome::LinkFailed);
        COMPARE_DOCUMENTS(documentOf(*s), before);
        QCOMPARE(bench.framesTo(0x52, channelRecordAddress(Side::B, 1)), 0);
        // A radio that answered but said no is named as such, not as a cable fault.
        const bool password = passwordBlock != "FFFFFFFFFFFFFFFF";
        QCOMPARE(transferMessage(r, s->lang),
                 s->lang.text(password ? Str::PasswordRefused : Str::NotThisRadio));
    }
}

// The radio falls silent after row 2 and the record of side B of row 3: rows 1-2 are read, row 3
// of side B is emptied and holds what had arrived, everything after it is as it was.
void TestReadWrite::silenceInChannelRows() {
    Bench bench;
    loadRichImage(bench);
    bench.put(channelRecordAddress(Side::B, 3), "44000000FFFFFFFFFF00FF00FFF0B0FC");
    bench.put(channelNameAddress(Side::A, 2), "54574F2020202020");
    const int identification = 6; // handshake, ready query, four identification reads
    SimFaults f;
    f.silentAfter = identification + 2 * 4 + 1;
    bench.radio.setFaults(f);
    auto s = startedSession(2);
    prefill(*s, 6);
    const QString message = s->doc.func.text(QStringLiteral("Edit16"));

    const TransferResult r = readRadio(*s, bench.link, TransferOptions{});
    QCOMPARE(r.outcome, TransferResult::Outcome::LinkFailed);
    QVERIFY(bench.endedWithEndFrame());
    QCOMPARE(s->doc.tableA.cell(Col::RxFreq, 1), point("145.00625"));
    QCOMPARE(s->doc.tableA.cell(Col::Name, 2), QStringLiteral("TWO"));
    QCOMPARE(s->doc.tableB.cell(Col::RxFreq, 2), QString());
    QCOMPARE(s->doc.tableB.cell(Col::RxFreq, 3), point("440.00000"));
    QCOMPARE(s->doc.tableB.cell(Col::Name, 3), QString());
    QCOMPARE(s->doc.tableA.cell(Col::RxFreq, 3), point("150.00000"));
    QCOMPARE(s->doc.tableA.cell(Col::Name, 3), QStringLiteral("OLD"));
    QCOMPARE(s->doc.tableB.cell(Col::Name, 4), QStringLiteral("OLD"));
    QCOMPARE(s->doc.func.cell(Fm, 1, 2), point("99.000"));
    QCOMPARE(s->doc.func.text(QStringLiteral("Edit16")), message);
}

void TestReadWrite::channelRangeOne() {
    Bench bench;
    loadRichImage(bench);
    bench.put(channelRecordAddress(Side::A, 5), "14600000146000000101FF00FFF0B0FC");
    auto s = startedSession(2);
    prefill(*s, 6);
    QVERIFY(readRadio(*s, bench.link, range(QStringLiteral("1"))).ok());
    QCOMPARE(s->doc.tableB.cell(Col::Name, 4), QStringLiteral("RPT-UHF"));
    QCOMPARE(s->doc.tableA.cell(Col::RxFreq, 5), point("150.00000"));
    QCOMPARE(s->doc.tableA.cell(Col::Name, 5), QStringLiteral("OLD"));
    QCOMPARE(bench.framesTo(0x52, channelRecordAddress(Side::A, 4)), 1);
    QCOMPARE(bench.framesTo(0x52, channelRecordAddress(Side::A, 5)), 0);
    QCOMPARE(bench.framesTo(0x52, channelNameAddress(Side::B, 5)), 0);

    // A write of one channel sends rows 1-4 only.
    Bench target;
    formShow(*s, TransferMode::Write);
    const TransferResult written =
        writeRadio(*s, target.link, range(QStringLiteral("1")), firstNumbers(s->doc));
    QVERIFY2(written.ok(), qPrintable(written.problems.join(QChar('\n'))));
    QCOMPARE(target.framesTo(0x57, channelRecordAddress(Side::B, 4)), 1);
    QCOMPARE(target.framesTo(0x57, channelRecordAddress(Side::A, 5)), 0);
    QCOMPARE(target.hexAt(channelRecordAddress(Side::A, 5), 16), QString(32, QChar('F')));
}

void TestReadWrite::channelRangeRefused_data() {
    QTest::addColumn<QString>("channels");
    QTest::addColumn<bool>("write");
    for (const char* text : {"0", "100", "#", "*", "1#", "-5", "+5", "5 5", "999999999999"}) {
        QTest::addRow("read %s", text) << QString::fromLatin1(text) << false;
        QTest::addRow("write %s", text) << QString::fromLatin1(text) << true;
    }
}

void TestReadWrite::channelRangeRefused() {
    QFETCH(QString, channels);
    QFETCH(bool, write);
    Bench bench;
    auto s = startedSession(2);
    const int opens = bench.port().opens();
    const TransferResult r = write ? writeRadio(*s, bench.link, range(channels), firstNumbers(s->doc))
                                   : readRadio(*s, bench.link, range(channels));
    QCOMPARE(r.outcome, TransferResult::Outcome::ChannelRangeInvalid);
    QCOMPARE(bench.radio.framesReceived(), 0);
    QCOMPARE(bench.port().opens(), opens);
    QCOMPARE(transferMessage(r, s->lang), s->lang.text(Str::ChannelRangeInvalid));
}

void TestReadWrite::debugRows() {
    QCOMPARE(transferRows(QStringLiteral("99"), true), std::optional<int>(DebugTransferRows));
    QCOMPARE(transferRows(QString(), false), std::optional<int>(MaxTransferRows));
    QCOMPARE(transferRows(QStringLiteral("099"), false), std::optional<int>(MaxTransferRows));
    Bench bench;
    auto s = startedSession(2);
    TransferOptions o;
    o.debugRows = true;
    QVERIFY(readRadio(*s, bench.link, o).ok());
    QCOMPARE(bench.framesTo(0x52, channelRecordAddress(Side::A, 20)), 1);
    QCOMPARE(bench.framesTo(0x52, channelRecordAddress(Side::B, 21)), 0);
}

void TestReadWrite::writeLeavesExpectedBytes() {
    auto s = startedSession(2);
    const ValueWords& w = s->doc.words;
    ChannelTable& a = s->doc.tableA;
    a.setCell(Col::RxFreq, 4, point("438.50000"));
    a.newChannelDefaults(4, w);
    a.setCell(Col::TxFreq, 4, point("430.90000"));
    a.setCell(Col::RxTone, 4, QStringLiteral("88.5"));
    a.setCell(Col::TxTone, 4, QStringLiteral("88.5"));
    a.setCell(Col::CtcssFreq, 4, point("107.0"));
    a.setCell(Col::Compander, 4, w.compander);
    a.setCell(Col::Name, 4, QStringLiteral("RPT-UHF"));
    ControlStore& f = s->doc.func;
    f.setCell(Fm, 1, 2, point("108.000"));
    f.setCell(Fm, 1, 4, point("98.150"));
    f.setCell(Calls, 1, 2, QString());
    f.setText(QStringLiteral("Edit9"), QStringLiteral("AB*#"));
    f.setText(QStringLiteral("Edit16"), QStringLiteral("HELLO"));
    f.setText(QStringLiteral("Edit32"), QStringLiteral("2024-02-29"));
    f.setText(QStringLiteral("Edit31"), QStringLiteral("2031-01-31"));
    Bench bench;
    TransferOptions o;
    o.now = sunday;
    QVERIFY(writeRadio(*s, bench.link, o, formShow(*s, TransferMode::Write)).ok());
    QVERIFY(bench.endedWithEndFrame());

    // Record byte 13: opt 9 on, wide, DTMF and PTT ID off (F); opt 7 on, others off (E).
    // Byte 14: opt 8 and reverse off, high power (B); compander (1). RX after TX: FD.
    QCOMPARE(bench.hexAt(channelRecordAddress(Side::A, 4), 16),
             QStringLiteral("4385000043090000110111412EFEB1FD"));
    QCOMPARE(bench.hexAt(channelNameAddress(Side::A, 4), 8), QStringLiteral("5250542D55484620"));
    QCOMPARE(bench.hexAt(channelRecordAddress(Side::B, 4), 16), QString(32, QChar('F')));
    QCOMPARE(bench.hexAt(Addr::FmChannels, 16), QStringLiteral("0875000010800000FFFFFFFF09815000"));
    QCOMPARE(bench.hexAt(Addr::CallList, 16), QStringLiteral("1AA1FFFFFFFFFFF4FFFFFFFFFFFFFFF0"));
    QCOMPARE(bench.hexAt(Addr::IdAndStartCode, 8), QStringLiteral("DEBCFFFFFFFFFFF4"));
    QCOMPARE(bench.hexAt(Addr::PowerOnMessage, 8), QStringLiteral("48454C4C4F202020"));
    // Six bytes of dates: what follows them is left alone.
    QCOMPARE(bench.hexAt(Addr::Dates, 8), QStringLiteral("240229310131FFFF"));
    QCOMPARE(bench.hexAt(Addr::FixedAlignment, 3), QStringLiteral("2D3E33"));
    QCOMPARE(bench.hexAt(Addr::FixedHigh, 4), QStringLiteral("48696768"));
    // A never-programmed radio gets this program's stamp; nothing ticked writes nothing else.
    QCOMPARE(bench.hexAt(Addr::ProgrammingStamp, 16), QStringLiteral("20240303102030FF516F7672616EFF06"));
    QCOMPARE(bench.hexAt(Addr::FactoryStamp, 16), QString(32, QChar('F')));
    QCOMPARE(bench.hexAt(Addr::Password, 8), QString(16, QChar('F')));
    QCOMPARE(bench.hexAt(Addr::BandTwo, 8), QStringLiteral("1460144044004300"));
    QVERIFY(bench.radio.clock().isEmpty());
}

void TestReadWrite::byteFifteen_data() {
    QTest::addColumn<QString>("rx");
    QTest::addColumn<QString>("tx");
    QTest::addColumn<QString>("byte15");
    QTest::newRow("TX above RX") << point("145.00000") << point("145.60000") << "FE";
    QTest::newRow("equal") << point("145.00000") << point("145.00000") << "FC";
    QTest::newRow("no TX") << point("145.00000") << QString() << "FD";
    QTest::newRow("TX below RX") << point("438.50000") << point("430.90000") << "FD";
}

void TestReadWrite::byteFifteen() {
    QFETCH(QString, rx);
    QFETCH(QString, tx);
    QFETCH(QString, byte15);
    auto s = startedSession(2);
    ChannelTable& b = s->doc.tableB;
    b.setCell(Col::RxFreq, 7, rx);
    b.newChannelDefaults(7, s->doc.words);
    b.setCell(Col::TxFreq, 7, tx);
    Bench bench;
    QVERIFY(writeRadio(*s, bench.link, range(QStringLiteral("4")), formShow(*s, TransferMode::Write)).ok());
    QCOMPARE(bench.hexAt(channelRecordAddress(Side::B, 7) + 15, 1), byte15);
    if (tx.isEmpty())
        QCOMPARE(bench.hexAt(channelRecordAddress(Side::B, 7) + 4, 4), QStringLiteral("FFFFFFFF"));
}

void TestReadWrite::writeThenReadSameDocument_data() {
    QTest::addColumn<int>("language");
    QTest::newRow("Simplified Chinese") << 1;
    QTest::newRow("English") << 2;
}

void TestReadWrite::writeThenReadSameDocument() {
    QFETCH(int, language);
    auto s = startedSession(language);
    const ValueWords& w = s->doc.words;
    // Every value word, both tables, first and last rows, and controls away from their defaults.
    const QStringList row = {point("438.50000"),
                             QStringLiteral("D023N"),
                             point("445.00000"),
                             QStringLiteral("88.5"),
                             w.mid,
                             w.narrow,
                             w.off,
                             w.on,
                             w.off,
                             QStringLiteral("RX ") + w.scrambler,
                             w.on,
                             w.on,
                             w.on,
                             QStringLiteral("A-1 z"),
                             w.on,
                             w.on,
                             w.on,
                             point("123.4")};
    for (int col = 1; col < ChannelTable::Columns; ++col) {
        s->doc.tableA.setCell(col, 102, row.at(col - 1));
        s->doc.tableB.setCell(col, 4, row.at(col - 1));
    }
    s->doc.tableA.setCell(Col::RxFreq, 1, point("145.00625"));
    s->doc.tableA.newChannelDefaults(1, w);
    s->doc.tableB.setCell(Col::RxFreq, 3, point("462.56250"));
    s->doc.tableB.newChannelDefaults(3, w);
    s->doc.tableB.setCell(Col::TxFreq, 3, QString());
    ControlStore& f = s->doc.func;
    f.setIndex(QStringLiteral("ComboBox2"), 7);
    f.setIndex(QStringLiteral("ComboBox1"), 15);
    f.setChecked(QStringLiteral("CheckBox2"), true);
    f.setChecked(QStringLiteral("CheckBox25"), true);
    f.setIndex(QStringLiteral("ComboBox17"), 5);
    f.setPosition(QStringLiteral("UpDown5"), 300);
    f.setText(QStringLiteral("Edit5"), QStringLiteral("300"));
    f.setText(QStringLiteral("Edit16"), QStringLiteral("HI 520"));
    f.setText(QStringLiteral("Edit11"), QStringLiteral("0123"));
    f.setText(QStringLiteral("Edit19"), QStringLiteral("D#"));
    for (int r = 1; r <= 16; ++r)
        f.setCell(Calls, 1, r, QString::number(9000 + r));
    f.setCell(Fm, 1, 17, point("98.150"));
    f.setCell(Fm, 1, 31, point("107.900"));
    s->doc.main.setIndex(MainCtl::Band1, 1);
    s->doc.main.setIndex(MainCtl::Band2, 1);

    Bench bench;
    QVERIFY(writeRadio(*s, bench.link, TransferOptions{}, formShow(*s, TransferMode::Write)).ok());
    auto back = startedSession(language);
    QVERIFY(readRadio(*back, bench.link, TransferOptions{}).ok());
    const QList<QByteArray> written = documentOf(*s).split('\n');
    const QList<QByteArray> read = documentOf(*back).split('\n');
    QCOMPARE(read.size(), written.size());
    for (int i = 0; i < written.size(); ++i)
        QVERIFY2(read.at(i) == written.at(i), qPrintable(QStringLiteral("line %1: wrote '%2', read '%3'")
                                                             .arg(i + 1)
                                                             .arg(QString::fromLocal8Bit(written.at(i)),
                                                                  QString::fromLocal8Bit(read.at(i)))));
}

// The first write renews the stamp of a dealer's radio; the second (which reads the stamps
// again first) finds this program's name and leaves it.
void TestReadWrite::stampRenewedOnce() {
    Bench bench;
    loadRichImage(bench);
    auto s = startedSession(2);
    TransferOptions o;
    o.now = sunday;
    QVERIFY(writeRadio(*s, bench.link, o, formShow(*s, TransferMode::Write)).ok());
    QCOMPARE(bench.framesTo(0x57, Addr::ProgrammingStamp), 1);
    QCOMPARE(bench.hexAt(Addr::ProgrammingStamp, 16), QStringLiteral("20240303102030FF516F7672616EFF06"));
    QCOMPARE(s->radioInfo.administrator, QStringLiteral("DEALER")); // as read before the stamp

    o.now = [] { return QDateTime(QDate(2025, 1, 1), QTime(0, 0, 0)); };
    QVERIFY(writeRadio(*s, bench.link, o, formShow(*s, TransferMode::Write)).ok());
    QCOMPARE(bench.framesTo(0x57, Addr::ProgrammingStamp), 1);
    QCOMPARE(s->radioInfo.administrator, QStringLiteral("Qovran"));
    QCOMPARE(bench.hexAt(Addr::ProgrammingStamp, 7), QStringLiteral("20240303102030"));
}

void TestReadWrite::clockFrame_data() {
    QTest::addColumn<bool>("timeOfSystem");
    QTest::addColumn<bool>("initialise");
    QTest::addColumn<bool>("set");
    QTest::newRow("box ticked") << true << false << true;
    QTest::newRow("initialise command") << false << true << true;
    QTest::newRow("neither") << false << false << false;
}

void TestReadWrite::clockFrame() {
    QFETCH(bool, timeOfSystem);
    QFETCH(bool, initialise);
    QFETCH(bool, set);
    auto s = startedSession(2);
    s->doc.func.setChecked(QStringLiteral("CheckBox42"), timeOfSystem);
    Bench bench;
    TransferOptions o;
    o.now = sunday;
    o.initialise = initialise;
    QVERIFY(writeRadio(*s, bench.link, o, formShow(*s, TransferMode::Write)).ok());
    QCOMPARE(bench.framesTo(0x55), set ? 1 : 0);
    if (set) {
        const QByteArray frame = *std::find_if(bench.radio.frames().cbegin(), bench.radio.frames().cend(),
                                               [](const QByteArray& f) { return quint8(f[0]) == 0x55; });
        QCOMPARE(Frame::toHex(frame.left(9)), QStringLiteral("550724030310203000"));
        QCOMPARE(quint8(frame.at(9)), Frame::checksum(frame.left(9)));
    }
}

void TestReadWrite::optionalBlocks_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("address");
    QTest::addColumn<QString>("expected");
    QTest::newRow("band two") << "CheckBox41" << int(Addr::BandTwo) << "1500144047004300";
    QTest::newRow("new password") << "CheckBox35" << int(Addr::Password) << "2580FFFFFFFFFFF4";
    QTest::newRow("squelch base") << "CheckBox37" << int(Addr::SquelchBase) << "0A141E";
    QTest::newRow("factory date") << "" << int(Addr::FactoryStamp) << "20240303102030FF";
}

void TestReadWrite::optionalBlocks() {
    QFETCH(QString, box);
    QFETCH(int, address);
    QFETCH(QString, expected);
    auto s = startedSession(2);
    ControlStore& f = s->doc.func;
    f.setPosition(QStringLiteral("UpDown9"), 150);
    f.setPosition(QStringLiteral("UpDown17"), 470);
    f.setText(QStringLiteral("Edit20"), QStringLiteral("2580"));
    f.setPosition(QStringLiteral("UpDown14"), 10);
    f.setPosition(QStringLiteral("UpDown13"), 20);
    f.setPosition(QStringLiteral("UpDown16"), 30);
    Bench bench;
    const QString before = bench.hexAt(quint16(address), int(expected.size() / 2));
    TransferOptions o;
    o.now = sunday;
    // Unticked, nothing of it is sent.
    QVERIFY(writeRadio(*s, bench.link, o, formShow(*s, TransferMode::Write)).ok());
    QCOMPARE(bench.framesTo(0x57, address), 0);
    QCOMPARE(bench.hexAt(quint16(address), int(expected.size() / 2)), before);
    if (box.isEmpty())
        o.writeFactoryDate = true;
    else
        f.setChecked(box, true);
    QVERIFY(writeRadio(*s, bench.link, o, formShow(*s, TransferMode::Write)).ok());
    QCOMPARE(bench.framesTo(0x57, address), 1);
    QCOMPARE(bench.hexAt(quint16(address), int(expected.size() / 2)), expected);
}

void TestReadWrite::validationStopsEverything_data() {
    QTest::addColumn<QString>("what");
    QTest::newRow("frequency text") << "freq";
    QTest::newRow("tone not in list") << "tone";
    QTest::newRow("name too long") << "name";
    QTest::newRow("new password with star") << "password";
    QTest::newRow("DTMF letter") << "dtmf";
}

void TestReadWrite::validationStopsEverything() {
    QFETCH(QString, what);
    auto s = startedSession(2);
    ChannelTable& a = s->doc.tableA;
    a.setCell(Col::RxFreq, 4, point("438.50000"));
    a.newChannelDefaults(4, s->doc.words);
    if (what == QLatin1String("freq")) a.setCell(Col::RxFreq, 4, QStringLiteral("4x8.5"));
    if (what == QLatin1String("tone")) a.setCell(Col::TxTone, 4, QStringLiteral("88.6"));
    if (what == QLatin1String("name")) a.setCell(Col::Name, 4, QStringLiteral("TOOLONG8"));
    if (what == QLatin1String("password")) {
        s->doc.func.setChecked(QStringLiteral("CheckBox35"), true);
        s->doc.func.setText(QStringLiteral("Edit20"), QStringLiteral("12*"));
    }
    if (what == QLatin1String("dtmf")) s->doc.func.setText(QStringLiteral("Edit11"), QStringLiteral("12E"));
    Bench bench;
    const int opens = bench.port().opens();
    const TransferResult r = writeRadio(*s, bench.link, TransferOptions{}, formShow(*s, TransferMode::Write));
    QCOMPARE(r.outcome, TransferResult::Outcome::ValidationFailed);
    QVERIFY(!r.problems.isEmpty());
    QCOMPARE(bench.radio.framesReceived(), 0);
    QCOMPARE(bench.port().opens(), opens);
    const QString message = transferMessage(r, s->lang);
    QVERIFY(message.startsWith(s->lang.text(Str::ValidationFailed)));
    QVERIFY(message.contains(r.problems.first()));
}

void TestReadWrite::badCellBeyondRangeIsNotSent() {
    auto s = startedSession(2);
    s->doc.tableB.setCell(Col::RxFreq, 60, QStringLiteral("garbage"));
    Bench bench;
    QVERIFY(writeRadio(*s, bench.link, range(QStringLiteral("10")), formShow(*s, TransferMode::Write)).ok());
    QVERIFY(!writeRadio(*s, bench.link, range(QStringLiteral("57")), formShow(*s, TransferMode::Write)).ok());
}

void TestReadWrite::formShowBandCheck_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("after");
    QTest::addColumn<bool>("defaults"); // the row was committed afresh
    QTest::newRow("inside band") << 1 << point("145.00000") << 2 << point("145.00000") << false;
    QTest::newRow("empty row") << 2 << QString() << 2 << point("220.00000") << true;
    QTest::newRow("below band") << 3 << point("145.00000") << 2 << point("400.00000") << true;
    QTest::newRow("upper limit is outside") << 3 << point("470.00000") << 2 << point("400.00000") << true;
    QTest::newRow("lower limit is inside") << 3 << point("400.00000") << 2 << point("400.00000") << false;
    QTest::newRow("not a number") << 1 << QStringLiteral("abc") << 2 << point("136.00000") << true;
    QTest::newRow("reading leaves it") << 3 << point("145.00000") << 1 << point("145.00000") << false;
}

void TestReadWrite::formShowBandCheck() {
    QFETCH(int, row);
    QFETCH(QString, before);
    QFETCH(int, mode);
    QFETCH(QString, after);
    QFETCH(bool, defaults);
    auto s = startedSession(2);
    for (Side side : {Side::A, Side::B}) {
        ChannelTable& t = s->doc.table(side);
        t.setCell(Col::RxFreq, row, before);
        if (!before.isEmpty()) {
            t.setCell(Col::Power, row, s->doc.words.low);
            t.setCell(Col::RxTone, row, QStringLiteral("88.5"));
        }
    }
    s->doc.func.setCell(Fm, 1, 1, QString());
    s->doc.func.setCell(Fm, 1, 5, point("98.13"));
    formShow(*s, TransferMode(mode));
    for (Side side : {Side::A, Side::B}) {
        const ChannelTable& t = s->doc.table(side);
        QCOMPARE(t.cell(Col::RxFreq, row), after);
        if (defaults) {
            QCOMPARE(t.cell(Col::Power, row), s->doc.words.high);
            QCOMPARE(t.cell(Col::RxTone, row), s->doc.words.off);
        } else if (!before.isEmpty()) {
            QCOMPARE(t.cell(Col::Power, row), s->doc.words.low);
        }
    }
    // Every showing completes the FM list.
    QCOMPARE(s->doc.func.cell(Fm, 1, 1), point("87.500"));
    QCOMPARE(s->doc.func.cell(Fm, 1, 5), point("98.100"));
}

void TestReadWrite::firstNumbersInBlockOne_data() {
    QTest::addColumn<int>("rowA");
    QTest::addColumn<QString>("freqA");
    QTest::addColumn<int>("fmRow");
    QTest::addColumn<QString>("bytes1to3");
    QTest::newRow("nothing in any band") << 10 << point("300.00000") << 0 << "FFFFFF";
    QTest::newRow("channel 5 in band three") << 8 << point("430.00000") << 0 << "FF05FF";
    QTest::newRow("channel 99, FM row 3") << 102 << point("150.00000") << 3 << "FF6302";
}

void TestReadWrite::firstNumbersInBlockOne() {
    QFETCH(int, rowA);
    QFETCH(QString, freqA);
    QFETCH(int, fmRow);
    QFETCH(QString, bytes1to3);
    auto s = startedSession(2);
    s->doc.tableA.setCell(Col::RxFreq, rowA, freqA);
    s->doc.tableA.newChannelDefaults(rowA, s->doc.words);
    if (fmRow > 0) s->doc.func.setCell(Fm, 1, fmRow, point("100.000"));
    Bench bench;
    QVERIFY(writeRadio(*s, bench.link, TransferOptions{}, formShow(*s, TransferMode::Write)).ok());
    QCOMPARE(bench.hexAt(Addr::Settings1 + 1, 3), bytes1to3);
}

// Two bad replies to one channel record stop the write there; the end frame still goes out.
void TestReadWrite::writeFailsPartWay() {
    auto s = startedSession(2);
    Bench bench;
    SimFaults f;
    f.silentAfter = 6 + 1 + 4 * 3; // identification, stamp, three rows
    bench.radio.setFaults(f);
    const TransferResult r = writeRadio(*s, bench.link, TransferOptions{}, formShow(*s, TransferMode::Write));
    QCOMPARE(r.outcome, TransferResult::Outcome::LinkFailed);
    QVERIFY(bench.endedWithEndFrame());
    QCOMPARE(bench.framesTo(0x57, channelRecordAddress(Side::B, 4)), 2);
    QCOMPARE(bench.framesTo(0x57, channelNameAddress(Side::B, 4)), 0);
    QCOMPARE(bench.framesTo(0x57, Addr::Settings1), 0);
}

void TestReadWrite::failureSaysHowFar_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("silentAfter"); // requests answered: 6 open the connection
    QTest::addColumn<int>("blocksWritten");
    QTest::addColumn<QString>("unacknowledged"); // the block sent into the silence, if any
    QTest::newRow("write cut off") << int(TransferMode::Write) << 6 + 5 << 5 << "0x0C20";
    QTest::newRow("write stopped at its first block") << int(TransferMode::Write) << 6 << 0 << "0x0160";
    QTest::newRow("write stopped before any block") << int(TransferMode::Write) << 5 << 0 << "";
    QTest::newRow("read") << int(TransferMode::Read) << 6 + 2 << 0 << "";
}

// Every failure says why it stopped; a write also says how many of its blocks the radio took,
// and the one it was sent and may hold; "nothing" only when no block left the program.
void TestReadWrite::failureSaysHowFar() {
    QFETCH(int, mode);
    QFETCH(int, silentAfter);
    QFETCH(int, blocksWritten);
    QFETCH(QString, unacknowledged);
    auto s = startedSession(1);
    Bench bench;
    SimFaults f;
    f.silentAfter = silentAfter;
    bench.radio.setFaults(f);
    const TransferResult r =
        mode == int(TransferMode::Write)
            ? writeRadio(*s, bench.link, range(QStringLiteral("1")), formShow(*s, TransferMode::Write))
            : readRadio(*s, bench.link, range(QStringLiteral("1")));
    QCOMPARE(r.outcome, TransferResult::Outcome::LinkFailed);
    // The stamp, 4 rows of record and name on both sides, 25 blocks of settings, FM and DTMF.
    const int blocks = silentAfter > 5 ? 1 + 4 * 4 + 25 : 0;
    for (int language : {1, 2, 3}) {
        applyLanguage(*s, Language::baseName(language));
        const Language& lang = s->lang;
        QString expected = lang.text(Str::LinkFailed) + QChar('\n') + lang.text(Str::NoReply);
        if (mode == int(TransferMode::Write))
            expected +=
                QStringLiteral("\n\n") + (!unacknowledged.isEmpty() ? lang.text(Str::WriteUnacknowledged)
                                                                          .arg(blocksWritten)
                                                                          .arg(blocks)
                                                                          .arg(blocksWritten + 1)
                                                                          .arg(unacknowledged)
                                                                    : lang.text(Str::ReachNothing));
        QCOMPARE(transferMessage(r, lang), expected);
    }
    // The Chinese texts name the total first.
    if (blocksWritten > 0) QVERIFY(transferMessage(r, s->lang).contains(QStringLiteral("42 塊中的 5 塊")));
}

// A radio fresh from the factory holds FF almost everywhere: what a read makes of it must be
// a document that the radio takes back.
// A radio read and written back keeps its PTT ID codes byte for byte, also those the edits'
// keys could not type (a never-written radio's FF, DTMF letters).
void TestReadWrite::freshRadioWritesBack_data() {
    QTest::addColumn<QByteArray>("pttIdCodes"); // hex of 0x0120, empty: as the fresh radio holds it
    QTest::addColumn<QString>("edit7");
    QTest::newRow("never written") << QByteArray() << QString(15, QChar('C'));
    QTest::newRow("DTMF letters") << QByteArray("DEF0FFFFFFFFFFF41AFFFFFFFFFFFFF2") << QStringLiteral("ABCD");
}

void TestReadWrite::freshRadioWritesBack() {
    QFETCH(QByteArray, pttIdCodes);
    QFETCH(QString, edit7);
    Bench bench;
    if (!pttIdCodes.isEmpty()) bench.put(0x0120, pttIdCodes.constData());
    const QString held = bench.hexAt(0x0120, 16);
    auto s = startedSession(2);
    QVERIFY(readRadio(*s, bench.link, TransferOptions{}).ok());
    QCOMPARE(s->doc.func.text(QStringLiteral("Edit7")), edit7);
    bench.put(0x0120, "00000000000000000000000000000000");
    formShow(*s, TransferMode::Write);
    const TransferResult written = writeRadio(*s, bench.link, TransferOptions{}, firstNumbers(s->doc));
    QVERIFY2(written.ok(), qPrintable(written.problems.join(QChar('\n'))));
    QCOMPARE(bench.hexAt(0x0120, 16), held);
}

void TestReadWrite::demoRadioReads() {
    Bench bench;
    QVERIFY(bench.radio.setMemory(demoRadioImage()));
    auto s = startedSession(2);
    QVERIFY(readRadio(*s, bench.link, TransferOptions{}).ok());
    QCOMPARE(s->radioInfo.administrator, QStringLiteral("DEALER"));
    QCOMPARE(s->doc.tableA.cell(Col::Name, 4), QStringLiteral("RPT-70"));
    QCOMPARE(s->doc.tableA.cell(Col::TxTone, 4), QStringLiteral("88.5"));
    QCOMPARE(s->doc.tableB.cell(Col::RxTone, 6), QStringLiteral("D754I"));
    QCOMPARE(s->doc.tableB.cell(Col::Name, 13), QStringLiteral("TEN"));
    QCOMPARE(s->doc.func.cell(Calls, 1, 4), QStringLiteral("A5B"));
    QCOMPARE(s->doc.func.cell(Fm, 1, 2), point("98.150"));
    // What the demo shows can be written back and read again unchanged.
    QVERIFY(writeRadio(*s, bench.link, TransferOptions{}, formShow(*s, TransferMode::Write)).ok());
    const QByteArray shown = documentOf(*s);
    auto again = startedSession(2);
    QVERIFY(readRadio(*again, bench.link, TransferOptions{}).ok());
    COMPARE_DOCUMENTS(documentOf(*again), shown);
}

// The demo maps a COM number to its pseudo-terminal for as long as it runs, and a read through
// that COM number goes over a real serial device.
void TestReadWrite::demoRadioServesComPort() {
    const RealWaits real;
    PortDirectory ports;
    const QString before = ports.device(3);
    {
        auto started = DemoRadio::start(3);
        QVERIFY(std::holds_alternative<std::unique_ptr<DemoRadio>>(started));
        DemoRadio& demo = *std::get<std::unique_ptr<DemoRadio>>(started);
        QCOMPARE(ports.device(3), demo.devicePath());
        QVERIFY(ports.probe(3));
        Link link;
        link.setPort(ports.create(3));
        auto s = startedSession(2);
        QVERIFY(readRadio(*s, link, range(QStringLiteral("2"))).ok());
        QCOMPARE(s->radioInfo.user, QStringLiteral("DEMO"));
        link.closePort();
    }
    QCOMPARE(ports.device(3), before);
}

QTEST_MAIN(TestReadWrite)
#include "test_readwrite.moc"
