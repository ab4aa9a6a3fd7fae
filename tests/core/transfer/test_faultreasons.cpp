// SPDX-License-Identifier: GPL-3.0-or-later
// What a failed exchange tells the user: every block that may have reached the radio, and a
// reason the user can act on. And the replies that a slow radio, or a port whose speed the
// program cannot know, leave on the line.
#include "core/base/messages.h"
#include "core/transfer/alignmentexchange.h"
#include "core/transfer/initialise.h"
#include "core/transfer/readprocedure.h"
#include "core/transfer/usageadjust.h"
#include "core/transfer/writeprocedure.h"
#include "tests/common/bench.h"
#include "tests/common/testwaits.h"
#include <QTest>
#include <QTimer>

namespace {
enum class Kind { Read, Write, Usage, Align, AlignMenus, Initialise };

struct Run {
    bool ok = false;
    QString message;
    int written = 0;
    int planned = 0;
};

Run run(Kind kind, Session& s, Link& link) {
    TransferOptions options;
    options.channelRange = QStringLiteral("2");
    options.now = [] { return QDateTime(QDate(2024, 3, 3), QTime(10, 20, 30)); };
    switch (kind) {
    case Kind::Read: {
        const TransferResult r = readRadio(s, link, options);
        return {r.ok(), transferMessage(r, s.lang), 0, 0};
    }
    case Kind::Write: {
        const TransferResult r = writeRadio(s, link, options, formShow(s, TransferMode::Write));
        return {r.ok(), transferMessage(r, s.lang), r.blocksWritten, r.blocksToWrite};
    }
    case Kind::Usage: {
        const UsageResult r = adjustUsage(s, link, 3);
        return {r.ok, r.message, int(r.written), 1};
    }
    case Kind::Align:
    case Kind::AlignMenus: {
        const AlignResult r = writeAlignment(s, link, kind == Kind::AlignMenus);
        return {r.ok(), alignMessage(r, s.lang), r.blocksWritten, r.blocksToWrite};
    }
    case Kind::Initialise: {
        options.initialise = true;
        const Initialisation init =
            beginInitialise(s, link, TransferMode::Write, options, formShow(s, TransferMode::Write));
        const AlignResult& a = *init.alignment;
        return {init.proceed(), init.note(s.lang), a.blocksWritten, a.blocksToWrite};
    }
    }
    return {};
}

// The virtual radio, answering at once, behind a port that claims a 9600-baud line: what a
// virtual null-modem pair or an emulator's mapping of a pseudo-terminal looks like.
class UnknownSpeedPort : public SimPort {
public:
    using SimPort::SimPort;
    qint64 lineNanos(int bytes) const override {
        return qint64(bytes) * 10 * 1'000'000'000 / 9600 / WaitScale::divisor();
    }
};
} // namespace

class TestFaultReasons : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { useTestWaits(); }
    void lateAcknowledgementMayHaveBeenStored_data();
    void lateAcknowledgementMayHaveBeenStored();
    void reasons_data();
    void reasons();
    void repliesOfEarlierRequestsAreDropped_data();
    void repliesOfEarlierRequestsAreDropped();
};

// The radio stores the block and acknowledges it after the program has given up: the failure
// counts it as a block the radio may hold, and never says that nothing was written.
void TestFaultReasons::lateAcknowledgementMayHaveBeenStored_data() {
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<int>("address");
    QTest::newRow("write, programming stamp") << Kind::Write << 0x0160;
    QTest::newRow("write, a name") << Kind::Write << 0x1900;
    QTest::newRow("write, the last block") << Kind::Write << 0x00F0;
    QTest::newRow("usage") << Kind::Usage << 0x01B0;
    QTest::newRow("align write") << Kind::Align << 0x01B0;
    QTest::newRow("align write with the menus") << Kind::AlignMenus << 0x01B0;
    QTest::newRow("initialise") << Kind::Initialise << 0x01A0;
}

void TestFaultReasons::lateAcknowledgementMayHaveBeenStored() {
    QFETCH(Kind, kind);
    QFETCH(int, address);
    Bench bench;
    auto s = startedSession(2);
    SimFaults faults;
    faults.lateAddress = address;
    // Well past the wait and the wait for a late answer, also where the program runs slowly (an
    // emulated processor): nothing waits for this answer once the exchange has failed.
    faults.lateMs = 5000;
    faults.lateWriteOnly = true;
    bench.radio.setFaults(faults);
    const Run r = run(kind, *s, bench.link);
    const int stored = bench.framesTo(0x57);
    QVERIFY(!r.ok);
    QCOMPARE(r.written + 1, stored);
    const QString unacknowledged = bench.link.unacknowledgedWrite();
    QCOMPARE(unacknowledged.mid(4, 4), QString::number(address, 16).toUpper().rightJustified(4, u'0'));
    QVERIFY2(!r.message.contains(s->lang.text(Str::ReachNothing)), qPrintable(r.message));
    const QString reach = reachText(r.written, r.planned, unacknowledged, s->lang);
    QVERIFY2(r.message.contains(reach), qPrintable(r.message));
    QVERIFY2(reach.contains(QStringLiteral("%1 of %2 blocks written; block %3 (0x%4)")
                                .arg(stored - 1)
                                .arg(std::max(r.planned, stored))
                                .arg(stored)
                                .arg(unacknowledged.mid(4, 4))),
             qPrintable(reach));
}

void TestFaultReasons::reasons_data() {
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("says");
    QTest::addColumn<QString>("never");
    QTest::newRow("pulled cable, read")
        << Kind::Read << "pulled" << int(Str::PortWentAway) << "Unknown error";
    QTest::newRow("pulled cable, write")
        << Kind::Write << "pulled" << int(Str::PortWentAway) << "Unknown error";
    QTest::newRow("pulled cable, align write")
        << Kind::Align << "pulled" << int(Str::PortWentAway) << "Inappropriate ioctl";
    QTest::newRow("busy to everything, read") << Kind::Read << "busy" << int(Str::RadioBusy) << "";
    QTest::newRow("busy to everything, align write") << Kind::Align << "busy" << int(Str::RadioBusy) << "";
}

// The words name what happened and what to check: a port that went away (and which), a radio
// that stayed busy rather than one that did not answer.
void TestFaultReasons::reasons() {
    QFETCH(Kind, kind);
    QFETCH(QString, fault);
    QFETCH(int, says);
    QFETCH(QString, never);
    Bench bench;
    auto s = startedSession(2);
    int sent = 0; // counted by the trace hook while the transfer runs
    if (fault == u"busy") {
        SimFaults faults;
        faults.busyEvery = 1;
        bench.radio.setFaults(faults);
    } else {
        // The cable comes out a few frames after the handshake.
        bench.link.setTraceHook([&](const TraceEvent& e) {
            if (e.kind == TraceEvent::Sent && ++sent == 6)
                QTimer::singleShot(0, &bench.radio, [&bench, never] { bench.port().breakLine(never); });
        });
    }
    const Run r = run(kind, *s, bench.link);
    QVERIFY(!r.ok);
    const QString words = s->lang.text(says).section(u'%', 0, 0);
    QVERIFY2(r.message.contains(words), qPrintable(r.message));
    if (says == Str::PortWentAway)
        QVERIFY2(r.message.contains(s->lang.text(says).arg(QStringLiteral("virtual radio"))),
                 qPrintable(r.message));
    if (!never.isEmpty()) QVERIFY2(!r.message.contains(never), qPrintable(r.message));
    QVERIFY(!r.message.contains(s->lang.text(Str::NoReply)));
}

// A radio that answers every request 300 ms late: the handshake goes out more than once, and
// its spare answers must not be taken for the answers to later requests. A radio that answers
// at once behind a port whose speed is unknown: its answers are taken, however soon they come.
void TestFaultReasons::repliesOfEarlierRequestsAreDropped_data() {
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<bool>("slowRadio");
    QTest::newRow("slow radio, write") << Kind::Write << true;
    QTest::newRow("slow radio, usage") << Kind::Usage << true;
    QTest::newRow("port of unknown speed, read") << Kind::Read << false;
    QTest::newRow("port of unknown speed, write") << Kind::Write << false;
    QTest::newRow("port of unknown speed, align write") << Kind::Align << false;
}

void TestFaultReasons::repliesOfEarlierRequestsAreDropped() {
    QFETCH(Kind, kind);
    QFETCH(bool, slowRadio);
    Bench bench;
    auto s = startedSession(2);
    if (slowRadio) {
        SimFaults faults;
        faults.replyDelayMs = 300;
        bench.radio.setFaults(faults);
    } else {
        bench.link.setPort(std::make_unique<UnknownSpeedPort>(bench.radio));
        QVERIFY(bench.link.openPort());
    }
    const Run r = run(kind, *s, bench.link);
    QVERIFY2(r.ok, qPrintable(r.message));
}

QTEST_GUILESS_MAIN(TestFaultReasons)
#include "test_faultreasons.moc"
