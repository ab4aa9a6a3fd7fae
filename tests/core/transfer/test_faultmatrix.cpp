// SPDX-License-Identifier: GPL-3.0-or-later
// Every exchange with the radio against every fault the virtual radio can put on the line: each
// ends with the right result or a clear failure that says what reached the radio, never success
// with wrong data, never a byte changed that the exchange was not asked to change, and always
// with the end frame once the radio has been spoken to.
#include "core/base/messages.h"
#include "core/codeplug/controlnames.h"
#include "core/codeplug/document.h"
#include "core/transfer/alignmentexchange.h"
#include "core/transfer/backup.h"
#include "core/transfer/initialise.h"
#include "core/transfer/readprocedure.h"
#include "core/transfer/safetransfer.h"
#include "core/transfer/usageadjust.h"
#include "core/transfer/writeprocedure.h"
#include "tests/common/bench.h"
#include "tests/common/testwaits.h"
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <cstdio>
#include <vector>
#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {
enum class Exchange {
    Read,
    Write,
    Verify,
    BackupFirst,
    ReadAlign,
    WriteAlign,
    Ident,
    Battery,
    Squelch,
    Usage,
    Initialise
};
enum class Fault {
    None,
    Busy,
    CorruptRead,
    CorruptAll,
    Damage,
    OtherBlock,
    Late,
    VeryLate,
    LateAck,
    Echo,
    Silent,
    DropWrites,
    Password
};
enum class Expect { Ok, Fail, Either };

struct ExchangeRow {
    Exchange exchange;
    const char* name;
    bool writes;
    int lateAddress; // a block the exchange asks for, for the late-reply fault
};
constexpr ExchangeRow Exchanges[] = {
    {Exchange::Read, "read", false, 0x0000},
    {Exchange::Write, "write", true, 0x0180},
    {Exchange::Verify, "verify", true, 0x0190},
    {Exchange::BackupFirst, "backup first", true, 0x0C10},
    {Exchange::ReadAlign, "align read", false, 0x01B0},
    {Exchange::WriteAlign, "align write", true, 0x01B0},
    {Exchange::Ident, "identification", true, 0x0170},
    {Exchange::Battery, "battery", true, 0x01BE},
    {Exchange::Squelch, "squelch entry", true, 0x0310},
    {Exchange::Usage, "usage", true, 0x01B0},
    {Exchange::Initialise, "initialise", true, 0x01A0},
};

struct FaultRow {
    Fault fault;
    const char* name;
};
constexpr FaultRow Faults[] = {
    {Fault::None, "sound"},
    {Fault::Busy, "busy"},
    {Fault::CorruptRead, "corrupt reads"},
    {Fault::CorruptAll, "corrupt acks"},
    {Fault::Damage, "damaged byte"},
    {Fault::OtherBlock, "other address"},
    {Fault::Late, "late reply"},
    {Fault::VeryLate, "very late reply"},
    {Fault::LateAck, "acknowledgement after the program gave up"},
    {Fault::Echo, "echo"},
    {Fault::Silent, "silence"},
    {Fault::DropWrites, "dropped writes"},
    {Fault::Password, "wrong password"},
};

Expect expected(const ExchangeRow& e, Fault f) {
    switch (f) {
    case Fault::Silent:
        return Expect::Fail;
    case Fault::VeryLate:
        // Past the wait for a late answer: a strict request fails, a tolerant one asks again.
        return Expect::Either;
    case Fault::LateAck:
        return e.writes ? Expect::Either : Expect::Ok;
    case Fault::DropWrites:
        // A radio that acknowledges what it does not store is found out only by reading back.
        if (e.exchange == Exchange::Verify) return Expect::Fail;
        return e.writes ? Expect::Either : Expect::Ok;
    case Fault::Password: {
        // Only the transfers compare the password; the alignment exchanges do not ask.
        const Exchange x = e.exchange;
        const bool transfer = x == Exchange::Read || x == Exchange::Write || x == Exchange::Verify ||
                              x == Exchange::BackupFirst || x == Exchange::Initialise;
        return transfer ? Expect::Fail : Expect::Ok;
    }
    default:
        return Expect::Ok;
    }
}

QDateTime fixedNow() {
    return QDateTime(QDate(2024, 3, 3), QTime(10, 20, 30));
}

struct Outcome {
    bool ok = false;
    QString message;
    QByteArray document; // a read: the document it left
};

struct Rig {
    Bench bench;
    std::unique_ptr<Session> session = startedSession(2);
    QTemporaryDir backups;
    QStringList sent; // every frame the link sent, as hex

    Rig() {
        bench.link.setTraceHook([this](const TraceEvent& e) {
            if (e.kind == TraceEvent::Sent) sent << e.text;
        });
        // A usage level the adjustment can change, and a document with a channel to write.
        bench.put(0x01BF, "00");
        ChannelTable& a = session->doc.tableA;
        a.setCell(Col::RxFreq, 4, point("435.12500"));
        a.sendallcell(Col::RxFreq, 4, session->doc.words, systemDecimalPoint());
        session->alignment.menus.second[MenuTables::SquelchEntry] = QStringLiteral("0102030405060708");
    }

    Outcome run(Exchange exchange) {
        Link& link = bench.link;
        Session& s = *session;
        TransferOptions options;
        options.channelRange = QStringLiteral("2");
        options.now = fixedNow;
        const BackupStore store(backups.path(), 10, fixedNow);
        const auto transfer = [&](TransferMode mode, SafetyChoices choices) {
            const WritePreparation prep = formShow(s, mode);
            const SafeTransfer t = runSafeTransfer(s, link, mode, options, prep, choices, store);
            return Outcome{t.ok(), t.failure, saveDocument(s)};
        };
        const auto align = [&](const AlignResult& r) { return Outcome{r.ok(), alignMessage(r, s.lang), {}}; };
        switch (exchange) {
        case Exchange::Read:
            return transfer(TransferMode::Read, {});
        case Exchange::Write:
            return transfer(TransferMode::Write, {});
        case Exchange::Verify:
            return transfer(TransferMode::Write, {false, true});
        case Exchange::BackupFirst:
            return transfer(TransferMode::Write, {true, false});
        case Exchange::ReadAlign:
            return align(readAlignment(s, link));
        case Exchange::WriteAlign:
            return align(writeAlignment(s, link, false));
        case Exchange::Ident:
            return align(writeIdentification(s, link));
        case Exchange::Battery:
            return align(calibrateBattery(s, link));
        case Exchange::Squelch:
            return align(writeMenuEntry17(s, link));
        case Exchange::Usage: {
            const UsageResult r = adjustUsage(s, link, 2);
            return Outcome{r.ok, r.message, {}};
        }
        case Exchange::Initialise: {
            options.initialise = true;
            const WritePreparation prep = formShow(s, TransferMode::Write);
            const Initialisation init = beginInitialise(s, link, TransferMode::Write, options, prep);
            if (!init.proceed())
                return Outcome{false, init.alignment ? alignMessage(*init.alignment, s.lang) : QString(), {}};
            const TransferResult w = writeRadio(s, link, options, prep);
            return Outcome{w.ok(),
                           w.ok() ? QString() : transferMessage(w, s.lang) + QChar('\n') + init.note(s.lang),
                           {}};
        }
        }
        return {};
    }

    void apply(Fault fault, int lateAddress) {
        SimFaults f;
        switch (fault) {
        case Fault::None:
            break;
        case Fault::Busy:
            f.busyEvery = 3;
            break;
        case Fault::CorruptRead:
            f.corruptEvery = 4;
            f.corruptScope = SimFaults::Scope::Read;
            break;
        case Fault::CorruptAll:
            f.corruptEvery = 5;
            break;
        case Fault::Damage:
            f.damageEvery = 4;
            break;
        case Fault::OtherBlock:
            f.otherBlockEvery = 3;
            break;
        case Fault::Late:
        case Fault::VeryLate:
            // After the program's wait (100 ms, 150 ms for the alignment); the second also past
            // its wait for a late answer.
            f.lateAddress = lateAddress;
            f.lateMs = fault == Fault::Late ? 120 : 700;
            break;
        case Fault::LateAck:
            // The block is stored; its acknowledgement comes long after the program gave up.
            f.lateAddress = lateAddress;
            f.lateMs = 1000;
            f.lateWriteOnly = true;
            break;
        case Fault::Echo:
            f.echo = true;
            bench.link.setSinglePortMode(true);
            break;
        case Fault::Silent:
            // The connection opens; the first request after it goes unanswered.
            f.silentAfter = 2;
            break;
        case Fault::DropWrites:
            f.dropWritesEvery = 3;
            break;
        case Fault::Password:
            bench.radio.setPassword(QStringLiteral("1234"));
            break;
        }
        bench.radio.setFaults(f);
    }
};

const QString EndFrame = QStringLiteral("64016F0A");

// The longest stretch of a message text without its placeholders: what any filled-in copy holds.
QString wordsOf(const Language& lang, int text) {
    QString longest;
    for (QString part : lang.text(text).split(QLatin1Char('%'))) {
        while (!part.isEmpty() && part.front().isDigit())
            part.remove(0, 1);
        if (part.trimmed().size() > longest.size()) longest = part.trimmed();
    }
    return longest;
}

// One cell of the matrix; what is wrong with it, or nothing.
QStringList checkCell(const ExchangeRow& row, Fault f, const std::pair<QByteArray, QByteArray>& sound) {
    const auto& [soundDocument, soundAfter] = sound;
    QStringList wrong;
    Rig rig;
    rig.apply(f, row.lateAddress);
    const QByteArray before = rig.bench.radio.memory();
    const Outcome got = rig.run(row.exchange);
    const QByteArray after = rig.bench.radio.memory();
    const Language& lang = rig.session->lang;

    const Expect expect = expected(row, f);
    if (expect == Expect::Ok && !got.ok) wrong << QStringLiteral("failed: ") + got.message;
    if (expect == Expect::Fail && got.ok) wrong << QStringLiteral("a failure was reported as success");
    if (!got.ok) {
        if (got.message.trimmed().isEmpty()) wrong << QStringLiteral("a failure without a message");
        // A writing exchange says what reached the radio (a read-back that differs says which
        // blocks instead).
        const bool readBack = row.exchange == Exchange::Verify && f == Fault::DropWrites;
        if (row.writes && f != Fault::Password && row.exchange != Exchange::BackupFirst && !readBack) {
            bool says = false;
            for (const int text : {Str::ReachNothing, Str::ReachAll, Str::WriteCutOff,
                                   Str::WriteUnacknowledged, Str::ReachNoDocument})
                says = says || got.message.contains(wordsOf(lang, text));
            if (!says) wrong << QStringLiteral("no word of what reached the radio: ") + got.message;
        }
        // Once a write frame reached the radio it may hold it.
        if (rig.bench.framesTo(0x57) > 0 && got.message.contains(lang.text(Str::ReachNothing)))
            wrong << QStringLiteral("says nothing was written after a write reached the radio");
        if (!rig.bench.link.unacknowledgedWrite().isEmpty() &&
            !got.message.contains(wordsOf(lang, Str::WriteUnacknowledged)))
            wrong << QStringLiteral("an unacknowledged write not named: ") + got.message;
        if (f == Fault::Password && got.message.contains(lang.text(Str::LinkFailed)))
            wrong << QStringLiteral("a refused password blamed on the cable");
    }
    // Never a byte the exchange was not asked to change; a success leaves all it was asked to.
    for (int i = 0; i < after.size(); ++i)
        if (after[i] != before[i] && after[i] != soundAfter[i]) {
            wrong << QStringLiteral("byte 0x%1 changed").arg(i, 4, 16, QLatin1Char('0'));
            break;
        }
    if (got.ok && f != Fault::DropWrites && after != soundAfter)
        wrong << QStringLiteral("the radio lacks data");
    if (got.ok && row.exchange == Exchange::Read && got.document != soundDocument)
        wrong << QStringLiteral("the read brought other data");
    // Once the radio was spoken to, the last frame is the end frame.
    if (!rig.sent.isEmpty() && rig.sent.last() != EndFrame) wrong << QStringLiteral("no end frame");
    return wrong;
}

// What the same exchange does on a sound line (with the password the document knows): the only
// bytes it may ever change, and what a read must bring.
std::pair<QByteArray, QByteArray> soundRun(const ExchangeRow& row, bool password, QStringList& wrong) {
    Rig sound;
    if (password) {
        sound.bench.radio.setPassword(QStringLiteral("1234"));
        sound.session->doc.func.setText(Ctl::Edit22, QStringLiteral("1234"));
    }
    const Outcome reference = sound.run(row.exchange);
    if (!reference.ok)
        wrong << QStringLiteral("%1 fails on a sound line: %2").arg(row.name, reference.message);
    return {reference.document, sound.bench.radio.memory()};
}
} // namespace

class TestFaultMatrix : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { useTestWaits(); }
    void everyExchangeUnderEveryFault();
};

// The exchanges run side by side, one thread each (as transfers on several ports do), so that
// the matrix costs the time of one column of waits.
void TestFaultMatrix::everyExchangeUnderEveryFault() {
    std::vector<QStringList> wrong(std::size(Exchanges));
    std::vector<std::unique_ptr<QThread>> threads;
    for (size_t e = 0; e < std::size(Exchanges); ++e) {
        threads.emplace_back(QThread::create([e, &wrong] {
            const ExchangeRow& row = Exchanges[e];
            const auto sound = soundRun(row, false, wrong[e]);
            const auto soundWithPassword = soundRun(row, true, wrong[e]);
            for (const FaultRow& f : Faults)
                for (const QString& w :
                     checkCell(row, f.fault, f.fault == Fault::Password ? soundWithPassword : sound))
                    wrong[e] << QStringLiteral("%1, %2: %3").arg(row.name, f.name, w);
        }));
        threads.back()->start();
    }
    QStringList all;
    for (size_t e = 0; e < threads.size(); ++e) {
        threads[e]->wait();
        all << wrong[e];
    }
    QVERIFY2(all.isEmpty(), qPrintable(all.join(QChar('\n'))));
}

#ifdef Q_OS_WIN
// The results are written and closed when qExec returns; the process then ends without unloading
// its libraries. After this many threads, the C++ runtime's unload (deleting its thread-exit key)
// can wait for ever on the threads library's key lock, which still counts thread clean-ups that
// finished long before.
int main(int argc, char** argv) {
    int result = 0;
    {
        QCoreApplication app(argc, argv);
        TestFaultMatrix test;
        QTEST_SET_MAIN_SOURCE_PATH
        result = QTest::qExec(&test, argc, argv);
    }
    std::fflush(nullptr);
    TerminateProcess(GetCurrentProcess(), UINT(result));
    return result;
}
#else
QTEST_GUILESS_MAIN(TestFaultMatrix)
#endif
#include "test_faultmatrix.moc"
