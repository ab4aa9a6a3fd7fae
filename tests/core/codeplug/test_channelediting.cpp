// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/codeplug/channelediting.h"
#include "core/codeplug/channeltable.h"
#include <QtTest>

// The widget-free rules of the channel editor: stepping words, typed frequency characters and
// the auto-add frequency arithmetic at the band limits.
class TestChannelEditing : public QObject {
    Q_OBJECT
private slots:
    void steppedValue_data();
    void steppedValue();
    void frequencyChar_data();
    void frequencyChar();
    void nextAutoAdd_data();
    void nextAutoAdd();
};

void TestChannelEditing::steppedValue_data() {
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QString>("next"); // empty: the column does not step
    const ValueWords w = ValueWords::simplifiedChinese();
    QTest::newRow("power high") << 5 << w.high << w.mid;
    QTest::newRow("power mid") << 5 << w.mid << w.low;
    QTest::newRow("power low") << 5 << w.low << w.high;
    QTest::newRow("power English word") << 5 << "Mid" << w.high;
    QTest::newRow("wide") << 6 << w.wide << w.narrow;
    QTest::newRow("narrow") << 6 << w.narrow << w.wide;
    QTest::newRow("option on") << 7 << w.on << w.off;
    QTest::newRow("option off") << 17 << w.off << w.on;
    QTest::newRow("option empty") << 12 << "" << w.off;
    QTest::newRow("tone column") << 2 << w.off << "";
    QTest::newRow("name column") << 14 << "NameA01"
                                 << "";
    QTest::newRow("compander column") << 10 << w.off << "";
}

void TestChannelEditing::steppedValue() {
    QFETCH(int, col);
    QFETCH(QString, cell);
    QFETCH(QString, next);
    const auto stepped = ::steppedValue(col, cell, ValueWords::simplifiedChinese());
    QCOMPARE(stepped.has_value(), !next.isEmpty());
    QCOMPARE(isSteppingColumn(col), !next.isEmpty());
    if (stepped) QCOMPARE(*stepped, next);
}

void TestChannelEditing::frequencyChar_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QChar>("typed");
    QTest::addColumn<int>("minBefore");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("digit") << "43" << QChar('8') << 3 << true;
    QTest::newRow("dot after two digits, MHz") << "43" << QChar('.') << 3 << false;
    QTest::newRow("dot after three digits") << "438" << QChar('.') << 3 << true;
    QTest::newRow("second dot") << "438.5" << QChar('.') << 3 << false;
    QTest::newRow("dot after two digits, Hz") << "88" << QChar('.') << 2 << true;
    QTest::newRow("dot after one digit, Hz") << "8" << QChar('.') << 2 << false;
    QTest::newRow("comma is not this separator") << "438" << QChar(',') << 3 << false;
    QTest::newRow("letter") << "438" << QChar('e') << 3 << false;
    QTest::newRow("minus") << "" << QChar('-') << 3 << false;
}

void TestChannelEditing::frequencyChar() {
    QFETCH(QString, text);
    QFETCH(QChar, typed);
    QFETCH(int, minBefore);
    QFETCH(bool, accepted);
    QCOMPARE(frequencyCharAccepted(text, typed, QChar('.'), minBefore), accepted);
}

void TestChannelEditing::nextAutoAdd_data() {
    QTest::addColumn<QString>("step");
    QTest::addColumn<QString>("rx");
    QTest::addColumn<QString>("next");
    QTest::newRow("2.5KHz") << "2.5KHz"
                            << "438.50000"
                            << "438.50250";
    QTest::newRow("5KHz") << "5KHz"
                          << "438.50000"
                          << "438.50500";
    QTest::newRow("6.25KHz") << "6.25KHz"
                             << "438.50000"
                             << "438.50625";
    QTest::newRow("10KHz") << "10KHz"
                           << "438.50000"
                           << "438.51000";
    QTest::newRow("12.5KHz") << "12.5KHz"
                             << "438.50000"
                             << "438.51250";
    QTest::newRow("25KHz") << "25KHz"
                           << "438.50000"
                           << "438.52500";
    QTest::newRow("reaches the limit exactly") << "2.5KHz"
                                               << "469.99750"
                                               << "470.00000";
    QTest::newRow("passes the limit") << "25KHz"
                                      << "469.99000"
                                      << "400.00000";
    QTest::newRow("at the limit wraps") << "2.5KHz"
                                        << "470.00000"
                                        << "400.00000";
    QTest::newRow("not a number") << "25KHz"
                                  << "abc"
                                  << "";
    QTest::newRow("empty") << "25KHz"
                           << ""
                           << "";
}

void TestChannelEditing::nextAutoAdd() {
    QFETCH(QString, step);
    QFETCH(QString, rx);
    QFETCH(QString, next);
    const auto increment = stepIncrement(step);
    QVERIFY(increment);
    QCOMPARE(nextAutoAddFrequency(rx, *increment, 400, 470, QChar('.')).value_or(QString()), next);
}

QTEST_GUILESS_MAIN(TestChannelEditing)
#include "test_channelediting.moc"
