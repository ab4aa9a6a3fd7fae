// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/link/frames.h"
#include "core/link/link.h"
#include "core/link/radioport.h"
#include <QElapsedTimer>
#include <QTest>
#include <algorithm>
#include <vector>

// The Windows line against a peer that sends every byte straight back (scripts/windows-test.sh
// maps such a pseudo-terminal as the COM port in KT520_TEST_COM): how long the link's wait goes
// on after the answer has come. A line served on the system's 15.6 ms clock tick would show it
// here.
class TestWinLine : public QObject {
    Q_OBJECT
private slots:
    void waitEndsSoonAfterTheBytes();
};

void TestWinLine::waitEndsSoonAfterTheBytes() {
    const QString com = qEnvironmentVariable("KT520_TEST_COM");
    if (com.isEmpty()) QSKIP("no echoing COM port given (KT520_TEST_COM)");
    Link link;
    link.setPort(std::make_unique<SerialRadioPort>(com));
    QVERIFY2(link.openPort(), qPrintable(link.lastPortError()));
    const QString frame = Frame::Handshake.toString(); // 9 bytes with its checksum
    std::vector<qint64> micros;
    for (int round = 0; round < 200; ++round) {
        QVERIFY(link.SendFrame(frame));
        QElapsedTimer since;
        since.start();
        link.aSysDelay(link.EchoLength(), 1000);
        micros.push_back(since.nsecsElapsed() / 1000);
        QCOMPARE(link.ReceiveText().size(), link.EchoLength());
    }
    std::sort(micros.begin(), micros.end());
    const qint64 median = micros[micros.size() / 2];
    qInfo("the link's wait after an echo: median %.2f ms, slowest %.2f ms", double(median) / 1000,
          double(micros.back()) / 1000);
    QVERIFY2(median <= 2000, qPrintable(QStringLiteral("median %1 us").arg(median)));
}

QTEST_GUILESS_MAIN(TestWinLine)
#include "test_winline.moc"
