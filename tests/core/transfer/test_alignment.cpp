// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/base/messages.h"
#include "core/memmap/alignmentblocks.h"
#include "core/transfer/alignmentexchange.h"
#include "core/transfer/usageadjust.h"
#include "tests/common/bench.h"
#include "tests/common/testwaits.h"
#include <QTest>

Q_DECLARE_METATYPE(UsageChange::Kind)

namespace {
QByteArray bytes(const char* hex) {
    return QByteArray::fromHex(hex);
}
} // namespace

class TestAlignment : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { useTestWaits(); }
    void fieldForms_data();
    void fieldForms();
    void decoding_data();
    void decoding();
    void refusedValues_data();
    void refusedValues();
    void battery_data();
    void battery();
    void usage_data();
    void usage();
    void alignmentFile();
    void alignmentFileRefused_data();
    void alignmentFileRefused();
    void menuTables();
    void exchanges_data();
    void exchanges();
    void readWriteRoundTrip();
    void usageAgainstRadio_data();
    void usageAgainstRadio();
    void portUnavailable();
};

// A typed text and the byte it becomes in its block.
void TestAlignment::fieldForms_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("address");
    QTest::addColumn<int>("byte");
    QTest::addColumn<QString>("hex");
    QTest::newRow("trim -5") << 413 << "-5" << 0x01B0 << 8 << "7b";
    QTest::newRow("trim -20") << 413 << "-20" << 0x01B0 << 8 << "6c";
    QTest::newRow("trim 127") << 413 << "127" << 0x01B0 << 8 << "ff";
    QTest::newRow("trim -128") << 413 << "-128" << 0x01B0 << 8 << "00";
    QTest::newRow("125 ms cut to 12") << 306 << "125" << 0x01C0 << 8 << "0c";
    QTest::newRow("decimal 255") << 404 << "255" << 0x01B0 << 13 << "ff";
    QTest::newRow("hex as typed") << 201 << "aB" << 0x01A0 << 7 << "aB";
    QTest::newRow("band limit 440") << 5 << "44504350" << 0x0158 << 4 << "44504350";
    QTest::newRow("136 difference") << 3 << "00070000" << 0x01D0 << 4 << "00070000";
}

void TestAlignment::fieldForms() {
    QFETCH(int, field);
    QFETCH(QString, text);
    QFETCH(int, address);
    QFETCH(int, byte);
    QFETCH(QString, hex);
    AlignmentData data;
    data.setText(field, text);
    QVERIFY(data.problems().isEmpty());
    QCOMPARE(alignBlockHex(data, quint16(address)).mid(2 * byte, hex.size()), hex);
}

void TestAlignment::decoding_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("byteHex");
    QTest::addColumn<QString>("text");
    QTest::newRow("signed 0x80") << 413 << "80"
                                 << "0";
    QTest::newRow("signed 0x00") << 413 << "00"
                                 << "-128";
    QTest::newRow("signed 0x8E") << 413 << "8E"
                                 << "14";
    QTest::newRow("ms 0x0C") << 306 << "0C"
                             << "120";
    QTest::newRow("decimal") << 401 << "71"
                             << "113";
    QTest::newRow("hex as it stands") << 210 << "0D"
                                      << "0D";
}

void TestAlignment::decoding() {
    QFETCH(int, field);
    QFETCH(QString, byteHex);
    QFETCH(QString, text);
    const AlignField* f = alignField(field);
    QVERIFY(f);
    AlignmentData data;
    QString block(32, QChar('0'));
    block.replace(2 * f->byte, 2, byteHex);
    decodeAlignBlock(data, quint16(f->address), block);
    QCOMPARE(data.text(field), text);
}

// Values that do not fit their byte are refused, and the power class only knows 10W as 41.
void TestAlignment::refusedValues_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("text");
    QTest::newRow("above 255") << 401 << "256";
    QTest::newRow("above 127") << 309 << "128";
    QTest::newRow("signed below -128") << 413 << "-129";
    QTest::newRow("signed above 127") << 413 << "128";
    QTest::newRow("ms below 50") << 306 << "40";
    QTest::newRow("ms above 500") << 308 << "510";
    QTest::newRow("hex one digit") << 201 << "6";
    QTest::newRow("hex not hex") << 216 << "G0";
    QTest::newRow("limits short") << 4 << "1460144";
    QTest::newRow("empty decimal") << 405 << "";
    QTest::newRow("blank inside") << 405 << "1 0";
}

void TestAlignment::refusedValues() {
    QFETCH(int, field);
    QFETCH(QString, text);
    AlignmentData data;
    data.setText(field, text);
    const auto problems = data.problems();
    QCOMPARE(problems.size(), 1);
    QCOMPARE(problems.first().field->number, field);
    // The refusal happens before the port is touched.
    auto session = startedSession(2);
    session->alignment = data;
    Link link;
    const AlignResult r = writeAlignment(*session, link, true);
    QCOMPARE(r.outcome, AlignResult::Outcome::Refused);
    QVERIFY(alignMessage(r, session->lang).contains(QStringLiteral("(%1)").arg(field)));

    AlignmentData power;
    QCOMPARE(alignBlockHex(power, 0x01A0).left(2), QStringLiteral("41"));
    for (const char* other : {"25W", "", "10w"}) {
        power.powerClass = QString::fromLatin1(other);
        QCOMPARE(alignBlockHex(power, 0x01A0).left(2), QStringLiteral("42"));
    }
}

void TestAlignment::battery_data() {
    QTest::addColumn<QList<int>>("readings");
    QTest::addColumn<int>("offset"); // -1: "Fail !"
    QTest::newRow("average 150") << QList<int>{140, 150, 150, 160} << 0x06;
    QTest::newRow("average 200") << QList<int>{200, 200, 199, 201} << 0xD4;
    QTest::newRow("average 156") << QList<int>{156, 156, 156, 156} << 0x00;
    QTest::newRow("average 63") << QList<int>{63, 63, 63, 64} << -1;
    QTest::newRow("average 64") << QList<int>{64, 64, 64, 64} << 92;
    QTest::newRow("average 241") << QList<int>{241, 241, 241, 241} << -1;
}

void TestAlignment::battery() {
    QFETCH(QList<int>, readings);
    QFETCH(int, offset);
    QCOMPARE(batteryOffset(readings).value_or(-1), offset);
}

void TestAlignment::usage_data() {
    QTest::addColumn<QByteArray>("block");
    QTest::addColumn<int>("level");
    QTest::addColumn<UsageChange::Kind>("kind");
    QTest::addColumn<QByteArray>("after");
    const QByteArray stored0 = bytes("7B7220525300007A8ED071526E4E0D00");
    QTest::newRow("0 to 3: -30") << stored0 << 3 << UsageChange::Kind::Write
                                 << bytes("7B7220525300005C8ED053526E4E0D03");
    QTest::newRow("2 to 0: +20") << bytes("7B7220525300007A8ED071526E4E0D02") << 0 << UsageChange::Kind::Write
                                 << bytes("7B7220525300008E8ED085526E4E0D00");
    QTest::newRow("byte 14 not 0D") << bytes("7B7220525300007A8ED071526E4E0C00") << 3
                                    << UsageChange::Kind::Unchanged << QByteArray();
    QTest::newRow("stored level 4") << bytes("7B7220525300007A8ED071526E4E0D04") << 0
                                    << UsageChange::Kind::Unchanged << QByteArray();
    QTest::newRow("short reply") << bytes("7B72") << 0 << UsageChange::Kind::Unchanged << QByteArray();
    QTest::newRow("below 0") << bytes("7B722052530000108ED071526E4E0D00") << 3
                             << UsageChange::Kind::OutOfRange << QByteArray();
    QTest::newRow("above 255") << bytes("7B722052530000FA8ED0FA526E4E0D03") << 0
                               << UsageChange::Kind::OutOfRange << QByteArray();
}

void TestAlignment::usage() {
    QFETCH(QByteArray, block);
    QFETCH(int, level);
    QFETCH(UsageChange::Kind, kind);
    QFETCH(QByteArray, after);
    const UsageChange change = usageChange(block, level);
    QCOMPARE(change.kind, kind);
    if (kind == UsageChange::Kind::Write) QCOMPARE(change.block.toHex(), after.toHex());
}

void TestAlignment::alignmentFile() {
    AlignmentData data;
    data.setText(413, QStringLiteral("-20"));
    data.setText(216, QStringLiteral("3a"));
    data.setText(218, QStringLiteral("00510000"));
    data.setText(203, QStringLiteral("09"));
    data.powerClass = QStringLiteral("25W");
    const QByteArray file = saveAlignmentFile(data);
    const QList<QByteArray> lines = file.split('\n');
    QCOMPARE(lines.size(), 2 + 57 + 2 + 1);
    QCOMPARE(lines.at(0), QByteArray("PR-300\r"));
    QCOMPARE(lines.at(1), QByteArray("25W\r"));
    QCOMPARE(lines.at(2 + 16), QByteArray("0\r")); // number 217 has no field
    QCOMPARE(lines.at(2 + 21 + 13 + 12), QByteArray("-20\r"));

    AlignmentData opened;
    QVERIFY(!openAlignmentFile(opened, file));
    for (const AlignField& f : alignFields())
        QCOMPARE(opened.text(f.number), data.text(f.number));
    QCOMPARE(opened.powerClass, QStringLiteral("25W"));
    // A file of the older form, with an empty second line, leaves the power class as it was.
    AlignmentData older;
    older.powerClass = QStringLiteral("25W");
    QVERIFY(!openAlignmentFile(older, QByteArray(file).replace("\r\n25W\r\n", "\r\n\r\n")));
    QCOMPARE(older.powerClass, QStringLiteral("25W"));
    QCOMPARE(older.text(413), QStringLiteral("-20"));
    // Line ends of another system and the missing trailing lines do no harm.
    AlignmentData unix;
    QVERIFY(
        !openAlignmentFile(unix, QByteArray(file).replace("\r\n", "\n").left(file.indexOf("\r\n\r\n\r\n"))));
    QCOMPARE(unix.text(413), QStringLiteral("-20"));
}

void TestAlignment::alignmentFileRefused_data() {
    QTest::addColumn<int>("line");
    QTest::addColumn<QByteArray>("replacement"); // for that line; empty cuts the file there
    QTest::addColumn<int>("field");
    QTest::newRow("ends early") << 59 << QByteArray() << 0;
    QTest::newRow("hex field") << 3 << QByteArray("6Z") << 201;
    QTest::newRow("number field") << 2 + 21 + 1 << QByteArray("eight") << 301;
    QTest::newRow("difference") << 2 + 18 << QByteArray("0050") << 218;
}

void TestAlignment::alignmentFileRefused() {
    QFETCH(int, line);
    QFETCH(QByteArray, replacement);
    QFETCH(int, field);
    QList<QByteArray> lines = saveAlignmentFile(AlignmentData()).split('\n');
    if (replacement.isEmpty())
        lines = lines.mid(0, line - 1);
    else
        lines[line - 1] = replacement;
    AlignmentData data;
    data.setText(405, QStringLiteral("99"));
    const auto problem = openAlignmentFile(data, lines.join('\n'));
    QVERIFY(problem);
    QCOMPARE(problem->line, line);
    QCOMPARE(problem->field, field);
    QCOMPARE(data.text(405), QStringLiteral("99")); // nothing changed
}

void TestAlignment::menuTables() {
    MenuTables menus;
    QCOMPARE(menuTextHex(QStringLiteral("OFF"), 4, true).value(), QStringLiteral("204f4646"));
    QCOMPARE(menuTextHex(QStringLiteral("Vol"), 8, false).value(), QStringLiteral("566f6c2020202020"));
    QVERIFY(!menuTextHex(QStringLiteral("TooLongX9"), 8, false));
    QVERIFY(!menuTextHex(QStringLiteral("频"), 8, false));
    const MenuPlan plan = planMenuTables(menus);
    QVERIFY(plan.problems.isEmpty());
    QCOMPARE(plan.requests.size(), 24 + 51 + 113);
    QCOMPARE(plan.requests.first(), QStringLiteral("570a09005553455220202020"));
    // Without cai.ini a menu entry is its name alone, so the radio keeps its second half.
    QCOMPARE(plan.requests.at(24 + 17), QStringLiteral("570a03104b65797061642020"));
    menus.second[17] = QStringLiteral("0102030405060708");
    QCOMPARE(planMenuEntry(menus, 17).requests.value(0),
             QStringLiteral("571203104b657970616420200102030405060708"));
    menus.second[17] = QStringLiteral("01020304");
    QCOMPARE(planMenuEntry(menus, 17).problems.size(), 1);
}

// Each exchange against the virtual radio, with every third reply busy.
void TestAlignment::exchanges_data() {
    QTest::addColumn<QString>("exchange");
    QTest::addColumn<int>("address");
    QTest::addColumn<QString>("memory"); // hex at `address` afterwards
    QTest::newRow("identification") << "ident" << 0x0170 << "51562D520585FF06";
    QTest::newRow("battery 140-160") << "battery" << 0x01BE << "06";
    QTest::newRow("menus") << "menus" << 0x0310 << "4B65797061642020FFFFFFFFFFFFFFFF";
    QTest::newRow("menu options") << "menus" << 0x0700 << "204F4646";
    QTest::newRow("menu display") << "menus" << 0x0918 << "514F5652414E2020";
    QTest::newRow("entry 17") << "entry17" << 0x0310 << "4B65797061642020AABBCCDDEEFF0011";
}

void TestAlignment::exchanges() {
    QFETCH(QString, exchange);
    QFETCH(int, address);
    QFETCH(QString, memory);
    auto session = startedSession();
    Bench bench;
    bench.put(0x0170, "0000000000000000");
    bench.radio.setBatteryReadings(QByteArray("\x8C\x96\x96\xA0", 4));
    bench.radio.setFaults(SimFaults{.busyEvery = 3});
    session->alignment.menus.second[17] = QStringLiteral("AABBCCDDEEFF0011");
    AlignResult r;
    if (exchange == "ident") r = writeIdentification(*session, bench.link);
    if (exchange == "battery") r = calibrateBattery(*session, bench.link);
    if (exchange == "menus") {
        session->alignment.menus.second[17].clear();
        r = writeAlignment(*session, bench.link, true);
    }
    if (exchange == "entry17") r = writeMenuEntry17(*session, bench.link);
    QVERIFY2(r.ok(), qPrintable(alignMessage(r, session->lang)));
    QCOMPARE(bench.hexAt(quint16(address), int(memory.size() / 2)), memory);
    QVERIFY(bench.endedWithEndFrame());
    QVERIFY(!bench.link.isPortOpen());
    if (exchange == "battery") QCOMPARE(r.battery, QStringLiteral("OK !"));
}

// Reading fills the fields; writing them back leaves the blocks as they were. An identification
// of another radio stops the read before any field changes.
void TestAlignment::readWriteRoundTrip() {
    auto session = startedSession();
    Bench bench;
    bench.radio.setFaults(SimFaults{.busyEvery = 4});
    bench.put(0x01B0, "7B7220525300007A00D071526E4E0D01");
    bench.put(0x01A0, "420000302D3E3306D00F0A0401330806");
    const QByteArray before = bench.radio.memory();
    AlignResult r = readAlignment(*session, bench.link);
    QVERIFY2(r.ok(), qPrintable(alignMessage(r, session->lang)));
    QCOMPARE(session->alignment.text(413), QStringLiteral("-128"));
    QCOMPARE(session->alignment.text(209), QStringLiteral("01"));
    QCOMPARE(session->alignment.powerClass, QStringLiteral("25W"));
    QVERIFY(r.caption);
    // The trim byte 0x00 (-128) goes back as it came.
    r = writeAlignment(*session, bench.link, false);
    QVERIFY2(r.ok(), qPrintable(alignMessage(r, session->lang)));
    QCOMPARE(bench.radio.memory().toHex(), before.toHex());

    bench.put(0x0170, "51562D5205850000");
    session->alignment.setText(401, QStringLiteral("7"));
    r = readAlignment(*session, bench.link);
    QCOMPARE(r.outcome, AlignResult::Outcome::LinkFailed);
    QCOMPARE(session->alignment.text(401), QStringLiteral("7"));
    QVERIFY(bench.endedWithEndFrame());
    // The initialise command's write leaves the connection without its end frame.
    const int ends = bench.framesTo(0x64);
    bench.put(0x0170, "51562D520585FF06");
    QVERIFY(writeAlignment(*session, bench.link, false, false).ok());
    QCOMPARE(bench.framesTo(0x64), ends);
}

void TestAlignment::usageAgainstRadio_data() {
    QTest::addColumn<QString>("block");
    QTest::addColumn<int>("level");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("after");
    QTest::newRow("stored 1, level 3")
        << "7B7220525300007A8ED071526E4E0D01" << 3 << true << "7B722052530000668ED05D526E4E0D03";
    QTest::newRow("not 0D: nothing written")
        << "7B7220525300007A8ED071526E4EC001" << 0 << true << "7B7220525300007A8ED071526E4EC001";
    QTest::newRow("would pass 255: refused")
        << "7B722052530000FF8ED071526E4E0D03" << 0 << false << "7B722052530000FF8ED071526E4E0D03";
}

void TestAlignment::usageAgainstRadio() {
    QFETCH(QString, block);
    QFETCH(int, level);
    QFETCH(bool, ok);
    QFETCH(QString, after);
    auto session = startedSession();
    Bench bench;
    bench.radio.setFaults(SimFaults{.busyEvery = 3});
    bench.put(0x01B0, block.toLatin1().constData());
    const UsageResult r = adjustUsage(*session, bench.link, level);
    QCOMPARE(r.ok, ok);
    QCOMPARE(r.message.isEmpty(), ok);
    QCOMPARE(bench.hexAt(0x01B0, 16), after);
    QVERIFY(bench.endedWithEndFrame());
}

void TestAlignment::portUnavailable() {
    auto session = startedSession();
    Bench bench;
    bench.port().setRefuseOpen(true);
    const AlignResult r = readAlignment(*session, bench.link);
    QCOMPARE(r.outcome, AlignResult::Outcome::PortUnavailable);
    QCOMPARE(alignMessage(r, session->lang), session->lang.text(Str::AlignPortFailed));
    QVERIFY(bench.radio.frames().isEmpty());
}

QTEST_GUILESS_MAIN(TestAlignment)
#include "test_alignment.moc"
