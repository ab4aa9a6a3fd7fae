// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/link/lowlatency.h"
#include <QTest>
#include <cerrno>

// The serial driver's answers to the low-latency request as drivers give them, without the
// adapter at hand: what is put back at close, the timer the user is told of, and the trace note.
class TestLowLatency : public QObject {
    Q_OBJECT
private slots:
    void decide_data();
    void decide();
};

void TestLowLatency::decide_data() {
    QTest::addColumn<int>("getError");
    QTest::addColumn<bool>("flagWasSet");
    QTest::addColumn<int>("setError");
    QTest::addColumn<int>("timerMs"); // -1: no latency_timer in sysfs
    QTest::addColumn<bool>("ask");
    QTest::addColumn<bool>("restore");
    QTest::addColumn<QString>("note");
    QTest::newRow("pseudo-terminal: no serial flags") << ENOTTY << false << 0 << -1 << false << false << "";
    QTest::newRow("built-in port: set, no timer") << 0 << false << 0 << -1 << true << true << "";
    QTest::newRow("other adapter refuses, no timer") << 0 << false << EPERM << -1 << true << false << "";
    QTest::newRow("FTDI lowered") << 0 << false << 0 << 1 << true << true
                                  << "low latency asked for; adapter latency timer 1 ms";
    QTest::newRow("FTDI driver ignores the flag")
        << 0 << false << 0 << 16 << true << true
        << "low latency asked for; adapter latency timer 16 ms, the driver keeps it";
    QTest::newRow("FTDI refused") << 0 << false << EPERM << 16 << true << false
                                  << "low latency refused (" + QString::fromLocal8Bit(strerror(EPERM)) +
                                         "); adapter latency timer 16 ms";
    // Set by someone else before: theirs to keep, and not taken back at close.
    QTest::newRow("FTDI already low")
        << 0 << true << 0 << 1 << false << false << "low latency already on; adapter latency timer 1 ms";
}

void TestLowLatency::decide() {
    QFETCH(int, getError);
    QFETCH(bool, flagWasSet);
    QFETCH(int, setError);
    QFETCH(int, timerMs);
    QFETCH(bool, ask);
    QFETCH(bool, restore);
    QFETCH(QString, note);
    QCOMPARE(LowLatency::shouldAsk(getError, flagWasSet), ask);
    const std::optional<int> timer = timerMs < 0 ? std::nullopt : std::optional<int>(timerMs);
    const LowLatency::Decision d = LowLatency::decide({getError, flagWasSet, ask ? setError : 0, timer});
    QCOMPARE(d.restore, restore);
    QCOMPARE(d.latency.timerMs, timer);
    QCOMPARE(d.latency.note, note);
}

QTEST_GUILESS_MAIN(TestLowLatency)
#include "test_lowlatency.moc"
