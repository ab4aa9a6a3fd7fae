// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/base/filesave.h"
#include "core/base/texttable.h"
#include "core/codeplug/controlnames.h"
#include "core/codeplug/document.h"
#include "core/codeplug/documentlines.h"
#include "core/memmap/memorymap.h"
#include "core/transfer/backup.h"
#include "core/transfer/batch.h"
#include "core/transfer/documentdiff.h"
#include "core/transfer/readprocedure.h"
#include "core/transfer/verify.h"
#include "sim/demoradio.h"
#include "tests/common/bench.h"
#include "tests/common/docfixture.h"
#include "tests/common/testwaits.h"
#include <QTemporaryDir>
#include <QTest>

namespace {
const QDateTime Evening(QDate(2026, 12, 7), QTime(21, 30, 5));

// A clock that moves on by the given seconds on every call.
std::function<QDateTime()> steppingClock(int seconds) {
    auto next = std::make_shared<QDateTime>(Evening);
    return [next, seconds] {
        const QDateTime now = *next;
        *next = next->addSecs(seconds);
        return now;
    };
}

QStringList baseNames(const BackupStore& store) {
    QStringList names;
    for (const BackupEntry& e : store.list())
        names << e.baseName;
    return names;
}

RadioImage someImage() {
    RadioImage image;
    image.store(0x0C60, QByteArray(16, 0x12));
    return image;
}
} // namespace

class TestSafeTransfer : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { useTestWaits(); }
    void backupNamesAndPruning_data();
    void backupNamesAndPruning();
    void backupFolderUnwritable();
    void readKeepsBackup();
    void failedReadKeepsPartialBackup();
    void verifyAfterWrite_data();
    void verifyAfterWrite();
    void diffNamesEachPart();
    void threePortsAtOnce();
    void sameDeviceTwice();
};

// Names by date, time and administrator, oldest removed first beyond the count to keep.
void TestSafeTransfer::backupNamesAndPruning_data() {
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("saves");
    QTest::addColumn<int>("keep");
    QTest::addColumn<QString>("administrator");
    QTest::addColumn<bool>("partial");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("one") << 1 << 1 << 200 << "Qovran" << false << QStringList{"2026-12-07_21-30-05_Qovran"};
    QTest::newRow("partial") << 1 << 1 << 200 << "Qovran" << true
                             << QStringList{"2026-12-07_21-30-05_Qovran-partial"};
    QTest::newRow("pruned to keep") << 60 << 4 << 2 << "Qovran" << false
                                    << QStringList{"2026-12-07_21-33-05_Qovran",
                                                   "2026-12-07_21-32-05_Qovran"};
    QTest::newRow("same second") << 0 << 3 << 200 << "Qovran" << false
                                 << QStringList{"2026-12-07_21-30-05_Qovran-3",
                                                "2026-12-07_21-30-05_Qovran-2", "2026-12-07_21-30-05_Qovran"};
    QTest::newRow("pruned in the same second")
        << 0 << 3 << 2 << "Qovran" << false
        << QStringList{"2026-12-07_21-30-05_Qovran-3", "2026-12-07_21-30-05_Qovran-2"};
    QTest::newRow("separator in name")
        << 1 << 1 << 200 << "a/b" << false << QStringList{"2026-12-07_21-30-05_a_b"};
}

void TestSafeTransfer::backupNamesAndPruning() {
    QFETCH(int, step);
    QFETCH(int, saves);
    QFETCH(int, keep);
    QFETCH(QString, administrator);
    QFETCH(bool, partial);
    QFETCH(QStringList, expected);
    QTemporaryDir dir;
    const BackupStore store(dir.filePath(QStringLiteral("backups")), keep, steppingClock(step));
    const Language lang;
    for (int k = 0; k < saves; ++k)
        QVERIFY(store.save("document", someImage(), administrator, partial, lang).ok());
    QCOMPARE(baseNames(store), expected);
    const BackupEntry newest = store.list().first();
    QVERIFY(QFile::exists(newest.documentPath) && QFile::exists(newest.imagePath));
    QCOMPARE(newest.partial, partial);
    QCOMPARE(QDir(store.folder()).entryList(QDir::Files).size(), 2 * expected.size());
}

void TestSafeTransfer::backupFolderUnwritable() {
    QTemporaryDir dir;
    QVERIFY(saveFile(dir.filePath(QStringLiteral("file")), "x") == std::nullopt);
    const BackupStore store(dir.filePath(QStringLiteral("file/backups")));
    const auto s = startedSession(2);
    const BackupStore::Saved saved =
        store.save("document", someImage(), QStringLiteral("Qovran"), false, s->lang);
    QVERIFY(!saved.ok());
    QVERIFY2(saved.error.contains(QStringLiteral("backup")), qPrintable(saved.error));
}

// The backup's document is what Save writes after the read; its image holds what the radio sent.
void TestSafeTransfer::readKeepsBackup() {
    QTemporaryDir dir;
    Bench bench;
    QVERIFY(bench.radio.setMemory(demoRadioImage()));
    auto s = startedSession(2);
    const BackupStore store(dir.path(), 200, [] { return Evening; });
    const BackedUpRead read = readRadioWithBackup(*s, bench.link, TransferOptions{}, store);
    QVERIFY(read.result.ok());
    QVERIFY(read.backupError.isEmpty());
    QCOMPARE(QFileInfo(read.backupPath).fileName(), QStringLiteral("2026-12-07_21-30-05_Qovran.qv19"));
    QFile document(read.backupPath);
    QVERIFY(document.open(QIODevice::ReadOnly));
    QCOMPARE(document.readAll(), saveDocument(*s));
    QFile image(store.list().first().imagePath);
    QVERIFY(image.open(QIODevice::ReadOnly));
    const QByteArray bytes = image.readAll();
    QCOMPARE(bytes.size(), RadioImage::Size);
    const QByteArray radio = demoRadioImage();
    for (quint16 address : {Addr::ProgrammingStamp, channelRecordAddress(Side::A, 4), Addr::Settings1})
        QCOMPARE(bytes.mid(address, 16), radio.mid(address, 16));
    // Never read: the alignment data beyond the squelch block.
    QCOMPARE(bytes.mid(0x0200, 16), QByteArray(16, char(0xFF)));
    QCOMPARE(store.list().first().partial, false);
    QVERIFY(channelsInUse(saveDocument(*s)) > 0);
}

void TestSafeTransfer::failedReadKeepsPartialBackup() {
    QTemporaryDir dir;
    Bench bench;
    QVERIFY(bench.radio.setMemory(demoRadioImage()));
    SimFaults faults;
    faults.silentAfter = 40;
    bench.radio.setFaults(faults);
    auto s = startedSession(2);
    const BackedUpRead read = readRadioWithBackup(*s, bench.link, TransferOptions{}, BackupStore(dir.path()));
    QVERIFY(!read.result.ok());
    QVERIFY(read.backupPath.endsWith(QStringLiteral("-partial.qv19")));
    QVERIFY(QFile::exists(read.backupPath));
}

// A radio that acknowledges blocks without keeping them is caught, by the channel it spoils.
void TestSafeTransfer::verifyAfterWrite_data() {
    QTest::addColumn<int>("dropEvery");
    QTest::newRow("sound radio") << 0;
    QTest::newRow("every 3rd write lost") << 3;
    QTest::newRow("every 7th write lost") << 7;
}

void TestSafeTransfer::verifyAfterWrite() {
    QFETCH(int, dropEvery);
    Bench bench;
    QVERIFY(bench.radio.setMemory(demoRadioImage()));
    auto s = startedSession(2);
    QVERIFY(readRadio(*s, bench.link, TransferOptions{}).ok());
    // A factory-fresh radio: a write that is lost leaves FF where the document has data.
    QVERIFY(bench.radio.setMemory(VirtualRadio::factoryMemory()));
    SimFaults faults;
    faults.dropWritesEvery = dropEvery;
    bench.radio.setFaults(faults);
    const WritePreparation first = formShow(*s, TransferMode::Write);
    const VerifiedWrite done = writeRadioVerified(*s, bench.link, TransferOptions{}, first, true);
    QVERIFY(done.write.ok());
    QVERIFY(done.verify.has_value());
    const QString message = verifyMessage(*done.verify, s->lang);
    if (dropEvery == 0) {
        QVERIFY(done.ok());
        QCOMPARE(message, QStringLiteral("verified"));
        return;
    }
    QVERIFY(!done.ok());
    QCOMPARE(done.verify->outcome, VerifyReport::Outcome::Differs);
    QVERIFY2(message.startsWith(QStringLiteral("Verify failed")), qPrintable(message));
    if (dropEvery == 3) {
        QVERIFY2(message.contains(QStringLiteral("VFO 245 (B): the radio holds (empty), the document ") +
                                  point("223.50000")),
                 qPrintable(message));
        QVERIFY2(message.contains(QStringLiteral(", block 0x")), qPrintable(message));
    }
}

// One line per differing place, named as the windows show it.
void TestSafeTransfer::diffNamesEachPart() {
    auto a = freshDocument(2);
    auto b = freshDocument(2);
    b->doc.tableA.setCell(Col::RxFreq, 60, point("145.12500"));
    b->doc.func.setCell(Ctl::FmList, 1, 4, point("98.100"));
    b->doc.func.setCell(Ctl::CallList, 1, 3, QStringLiteral("123"));
    const QString edit = QStringLiteral("Edit7"); // a text field the file keeps
    b->doc.func.setText(edit, b->doc.func.text(edit) + QStringLiteral("9"));
    QStringList lines;
    for (const DocumentDifference& d : compareDocuments(*a, *b))
        lines << d.line();
    QCOMPARE(lines.size(), 4);
    QCOMPARE(lines[0], QStringLiteral("A 57 ") + a->lang.text(channelHeaderNumber(Col::RxFreq)) +
                           QStringLiteral(": (empty) \u2192 ") + point("145.12500"));
    QVERIFY2(lines.filter(QStringLiteral("Options \u203A ")).size() == 1, qPrintable(lines.join('\n')));
    QVERIFY(lines.contains(QStringLiteral("FM 4: (empty) \u2192 ") + point("98.100")));
    QVERIFY(lines.contains(QStringLiteral("Call list 2: (empty) \u2192 123")));
    QVERIFY(compareDocuments(*a, *a).isEmpty());
}

// Three radios written at once, each on its own thread with its own link, all read back sound.
void TestSafeTransfer::threePortsAtOnce() {
    auto source = startedSession(2);
    {
        Bench bench;
        QVERIFY(bench.radio.setMemory(demoRadioImage()));
        QVERIFY(readRadio(*source, bench.link, TransferOptions{}).ok());
    }
    const QByteArray document = saveDocument(*source);
    QList<std::function<PortOutcome()>> jobs;
    for (int k = 0; k < 3; ++k)
        jobs << [document, k] {
            VirtualRadio radio;
            if (k == 1) radio.setFaults(SimFaults{.silentAfter = 12});
            Link link;
            link.setPort(std::make_unique<SimPort>(radio));
            link.setRepeatBoundMs(1500);
            if (!link.openPort()) return PortOutcome{3, QStringLiteral("open")};
            auto s = startedSession(2);
            if (!openDocument(*s, document).accepted()) return PortOutcome{3, QStringLiteral("document")};
            const VerifiedWrite done =
                writeRadioVerified(*s, link, TransferOptions{}, formShow(*s, TransferMode::Write), true);
            return done.ok() ? PortOutcome{} : PortOutcome{1, transferMessage(done.write, s->lang)};
        };
    const QList<PortOutcome> outcomes = runOnOwnThreads(jobs);
    QCOMPARE(outcomes.size(), 3);
    QCOMPARE(outcomes[0].status, 0);
    QCOMPARE(outcomes[1].status, 1); // a silent radio fails alone
    QCOMPARE(outcomes[2].status, 0);
}

void TestSafeTransfer::sameDeviceTwice() {
#ifdef Q_OS_WIN
    QSKIP("device links (/dev/serial/by-id) are Linux's; Windows names a port once");
#endif
    QTemporaryDir dir;
    const QString device = dir.filePath(QStringLiteral("ttyUSB0"));
    QVERIFY(saveFile(device, "") == std::nullopt);
    QVERIFY(QFile::link(device, dir.filePath(QStringLiteral("by-id"))));
    QCOMPARE(deviceNamedTwice({device, dir.filePath(QStringLiteral("other"))}), std::nullopt);
    QCOMPARE(deviceNamedTwice({device, dir.filePath(QStringLiteral("by-id"))}),
             std::optional<QString>(dir.filePath(QStringLiteral("by-id"))));
}

QTEST_GUILESS_MAIN(TestSafeTransfer)
#include "test_safetransfer.moc"
