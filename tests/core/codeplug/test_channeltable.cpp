// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/codeplug/channeltable.h"
#include <QtTest>

// Frequency normalisation and row commit of the channel tables. Texts use "." as the decimal
// separator unless a row says otherwise, so the results do not depend on the test machine.
class TestChannelTable : public QObject {
    Q_OBJECT
private slots:
    void sendcell_data();
    void sendcell();
    void newRowCommit_data();
    void newRowCommit();
    void commitOfUsedRow_data();
    void commitOfUsedRow();
};

namespace {
const QChar Dot('.');

// The cells a new channel receives, columns 2-18, with `name` in column 14 and the RX
// frequency copied into column 3.
QStringList newChannel(const QString& rx, const QString& name) {
    const ValueWords w = ValueWords::simplifiedChinese();
    return {w.off, rx,    w.off, w.high, w.wide, w.on,  w.off, w.on,     w.off,
            w.off, w.off, w.off, name,   w.off,  w.off, w.off, QString()};
}

QStringList rowCells(const ChannelTable& t, int row) {
    QStringList cells;
    for (int c = 2; c < ChannelTable::Columns; ++c)
        cells << t.cell(c, row);
    return cells;
}
} // namespace

void TestChannelTable::sendcell_data() {
    QTest::addColumn<Side>("side");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QChar>("decimalPoint");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("expected");

    QTest::newRow("A raster 2.5 kHz") << Side::A << "438.501" << Dot << true << "438.50250";
    QTest::newRow("B raster 5 kHz") << Side::B << "438.501" << Dot << true << "438.50500";
    QTest::newRow("6.25 kHz point A") << Side::A << "145.00625" << Dot << true << "145.00625";
    QTest::newRow("6.25 kHz point B") << Side::B << "145.00625" << Dot << true << "145.00625";
    QTest::newRow("five decimals added") << Side::A << "462.5625" << Dot << true << "462.56250";
    QTest::newRow("moves up, never down A") << Side::A << "433.0003" << Dot << true << "433.00250";
    QTest::newRow("moves up, never down B") << Side::B << "433.0003" << Dot << true << "433.00500";
    QTest::newRow("below 100 Hz cut off") << Side::A << "438.50009" << Dot << true << "438.50000";
    QTest::newRow("clamped to 100") << Side::A << "99" << Dot << true << "100.00000";
    QTest::newRow("clamped to 550") << Side::B << "600" << Dot << true << "550.00000";
    QTest::newRow("whole MHz") << Side::A << "400" << Dot << true << "400.00000";
    QTest::newRow("comma separator") << Side::A << "438,501" << QChar(',') << true << "438,50250";
    QTest::newRow("not a number keeps text") << Side::A << "43a.5" << Dot << false << "43a.5";
    QTest::newRow("empty is no number") << Side::A << "" << Dot << false << "";
}

void TestChannelTable::sendcell() {
    QFETCH(Side, side);
    QFETCH(QString, input);
    QFETCH(QChar, decimalPoint);
    QFETCH(bool, ok);
    QFETCH(QString, expected);
    ChannelTable t(side);
    t.setCell(Col::RxFreq, 10, input);
    QCOMPARE(t.sendcell(Col::RxFreq, 10, decimalPoint), ok);
    QCOMPARE(t.cell(Col::RxFreq, 10), expected);
}

void TestChannelTable::newRowCommit_data() {
    QTest::addColumn<Side>("side");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("rx");
    QTest::addColumn<QString>("name");

    QTest::newRow("channel 1 A") << Side::A << 4 << "438.5"
                                 << "438.50000"
                                 << "NameA01";
    QTest::newRow("channel 7 B") << Side::B << 10 << "438.501"
                                 << "438.50500"
                                 << "NameB07";
    QTest::newRow("channel 99 A") << Side::A << 102 << "145"
                                  << "145.00000"
                                  << "NameA99";
    QTest::newRow("VFO row without name") << Side::A << 2 << "245.1"
                                          << "245.10000"
                                          << "";
}

void TestChannelTable::newRowCommit() {
    QFETCH(Side, side);
    QFETCH(int, row);
    QFETCH(QString, typed);
    QFETCH(QString, rx);
    QFETCH(QString, name);
    ChannelTable t(side);
    t.setCell(Col::RxFreq, row, typed);
    QVERIFY(t.sendallcell(Col::RxFreq, row, ValueWords::simplifiedChinese(), Dot));
    QCOMPARE(t.cell(Col::RxFreq, row), rx);
    QCOMPARE(rowCells(t, row), newChannel(rx, name));
    QCOMPARE(t.defaultName(row), name);
}

void TestChannelTable::commitOfUsedRow_data() {
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("rx");
    QTest::addColumn<QString>("tx");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("rxAfter");
    QTest::addColumn<QString>("txAfter");
    QTest::addColumn<bool>("rowEmptied");

    QTest::newRow("TX typed is normalised") << 3 << "438.50000"
                                            << "438.6" << true << "438.50000"
                                            << "438.60000" << false;
    QTest::newRow("RX typed is normalised") << 1 << "145.0001"
                                            << "438.50000" << true << "145.00250"
                                            << "438.50000" << false;
    QTest::newRow("cleared RX empties the row") << 1 << ""
                                                << "438.50000" << true << ""
                                                << "" << true;
    QTest::newRow("commit from a word column") << 5 << "438.50000"
                                               << "438.6" << true << "438.50000"
                                               << "438.6" << false;
    QTest::newRow("text from elsewhere fails") << 1 << "abc"
                                               << "438.50000" << false << "abc"
                                               << "438.50000" << false;
}

void TestChannelTable::commitOfUsedRow() {
    QFETCH(int, col);
    QFETCH(QString, rx);
    QFETCH(QString, tx);
    QFETCH(bool, ok);
    QFETCH(QString, rxAfter);
    QFETCH(QString, txAfter);
    QFETCH(bool, rowEmptied);
    const ValueWords w = ValueWords::simplifiedChinese();
    ChannelTable t(Side::A);
    t.setCell(Col::RxFreq, 20, QStringLiteral("438.50000"));
    t.newChannelDefaults(20, w);
    t.setCell(Col::RxFreq, 20, rx);
    t.setCell(Col::TxFreq, 20, tx);
    QCOMPARE(t.sendallcell(col, 20, w, Dot), ok);
    QCOMPARE(t.cell(Col::RxFreq, 20), rxAfter);
    QCOMPARE(t.cell(Col::TxFreq, 20), txAfter);
    QCOMPARE(t.rowEmpty(20), rowEmptied);
    if (!rowEmptied) QCOMPARE(t.cell(Col::Name, 20), QStringLiteral("NameA17"));
}

QTEST_GUILESS_MAIN(TestChannelTable)
#include "test_channeltable.moc"
