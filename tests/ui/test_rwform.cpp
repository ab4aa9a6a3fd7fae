// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/base/messages.h"
#include "core/codeplug/document.h"
#include "core/transfer/backup.h"
#include "core/transfer/replydelay.h"
#include "sim/demoradio.h"
#include "tests/common/bench.h"
#include "tests/common/testwaits.h"
#include "ui/transfer/rwform.h"
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {
struct Shown {
    QString caption;
    QString text;
};

// The dialog on the virtual radio, with its warnings collected instead of shown.
struct DialogBench {
    std::unique_ptr<Session> session = startedSession(2);
    VirtualRadio radio;
    TRWForm form{*session};
    QList<Shown> messages;

    DialogBench() {
        form.setPortFactory([this] { return std::make_unique<SimPort>(radio); });
        form.setMessageSink([this](const QString& c, const QString& t) { messages << Shown{c, t}; });
        form.setClock([] { return QDateTime(QDate(2024, 3, 3), QTime(10, 20, 30)); });
        form.link().setRepeatBoundMs(1500);
    }
    template <typename T> T* child(const char* name) { return form.findChild<T*>(QString::fromLatin1(name)); }
    QPushButton* start() { return child<QPushButton>("Button1"); }
    QLineEdit* range() { return child<QLineEdit>("Edit1"); }
    void open(int mode) {
        form.prepareFor(TransferMode(mode), mode == 1 ? QStringLiteral("Read") : QStringLiteral("Write"),
                        mode == 1 ? QStringLiteral("Read") : QStringLiteral("Write"));
        form.show();
    }
};
} // namespace

class TestRWForm : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { useTestWaits(); }
    void rangeKeys_data();
    void rangeKeys();
    void upDown_data();
    void upDown();
    void portHeldWhileShown();
    void readThroughStartButton();
    void refusesToCloseWhileRunning();
    void cancelEndsCleanly();
    void failureWarns_data();
    void failureWarns();
    void emptyRangeBecomes99();
    void writeModeRunsFormShow();
    void traceFile();
    void safeWrite_data();
    void safeWrite();
    void texts_data();
    void texts();
    void longStatusShownWhole();
    void slowRepliesTold();
    void usageOutcomeShown_data();
    void usageOutcomeShown();
    void serviceCommandsNeedServiceMode();
};

void TestRWForm::rangeKeys_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("digits") << "12"
                            << "12";
    QTest::newRow("letters dropped") << "1a2b"
                                     << "12";
    QTest::newRow("hash and star taken") << "#*5"
                                         << "#*5";
    QTest::newRow("signs and blanks dropped") << "-1 +2."
                                              << "12";
}

void TestRWForm::rangeKeys() {
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    DialogBench b;
    b.range()->clear();
    QTest::keyClicks(b.range(), typed);
    QCOMPARE(b.range()->text(), shown);
    QTest::keyClick(b.range(), Qt::Key_Backspace);
    QCOMPARE(b.range()->text(), shown.chopped(1));
}

void TestRWForm::upDown_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("clicks"); // positive up, negative down
    QTest::addColumn<QString>("after");
    QTest::newRow("up from typed number") << "41" << 2 << "43";
    QTest::newRow("stops at 99") << "98" << 3 << "99";
    QTest::newRow("down") << "50" << -1 << "49";
    QTest::newRow("stops at 1") << "2" << -5 << "1";
    QTest::newRow("no number starts at 99") << "#" << -1 << "98";
}

void TestRWForm::upDown() {
    QFETCH(QString, before);
    QFETCH(int, clicks);
    QFETCH(QString, after);
    DialogBench b;
    b.range()->setText(before);
    auto* button = b.child<QToolButton>(clicks > 0 ? "UpDown1Up" : "UpDown1Down");
    for (int i = 0; i < std::abs(clicks); ++i)
        button->click();
    QCOMPARE(b.range()->text(), after);
}

void TestRWForm::portHeldWhileShown() {
    DialogBench b;
    QVERIFY(!b.form.link().isPortOpen());
    b.open(1);
    QVERIFY(b.form.link().isPortOpen());
    QVERIFY(b.start()->hasFocus() || !QApplication::focusWidget());
    b.form.close();
    QVERIFY(!b.form.link().isPortOpen());
}

void TestRWForm::readThroughStartButton() {
    DialogBench b;
    b.radio.setMemory(demoRadioImage());
    QSignalSpy finished(&b.form, &TRWForm::transferFinished);
    b.open(1);
    b.start()->click();
    QCOMPARE(finished.size(), 1);
    QCOMPARE(finished.first().first().toBool(), true);
    QVERIFY(b.messages.isEmpty());
    QCOMPARE(b.child<QProgressBar>("ProgressBar1")->value(), ProgressMaximum);
    QVERIFY(b.start()->isEnabled());
    QCOMPARE(b.session->doc.tableA.cell(Col::Name, 4), QStringLiteral("RPT-70"));
    QCOMPARE(b.child<QStatusBar>("StatusBar1")->currentMessage().trimmed(),
             b.session->lang.text(Str::ReadDone));
    b.form.close();
    b.open(2); // the write opens on its own state, not the read's "done": the idle line
    QCOMPARE(b.child<QStatusBar>("StatusBar1")->currentMessage(),
             QStringLiteral("     ") + b.session->lang.text(Str::StatusLine));
    b.form.close();
}

// The link's finding about late replies, as a transfer starts: the status line says it while
// the transfer runs and keeps it under the outcome.
void TestRWForm::slowRepliesTold() {
    DialogBench b;
    b.open(1);
    b.range()->setText(QStringLiteral("2"));
    auto* status = b.child<QStatusBar>("StatusBar1");
    const ReplyDelay slow{QStringLiteral("virtual radio"), 16.3, std::nullopt};
    const QString said = replyDelayText(slow, b.session->lang);
    QString during;
    connect(b.child<QProgressBar>("ProgressBar1"), &QProgressBar::valueChanged, &b.form, [&](int value) {
        if (value == 0 || !during.isEmpty()) return;
        emit b.form.link().replyDelayMeasured(slow);
        during = status->currentMessage().trimmed();
    });
    b.start()->click();
    QCOMPARE(during, b.session->lang.text(Str::Transferring) + u'\n' + said);
    QCOMPARE(status->currentMessage().trimmed(), b.session->lang.text(Str::ReadDone) + u'\n' + said);
    b.form.close();
}

void TestRWForm::refusesToCloseWhileRunning() {
    DialogBench b;
    b.open(1);
    bool startEnabledDuring = true;
    bool visibleAfterClose = false;
    bool visibleAfterEscape = false;
    // Fires on the first pass of the event loop, which is already inside the transfer (in the
    // wait of its port reset), however short the waits are.
    QTimer::singleShot(0, &b.form, [&] {
        startEnabledDuring = b.start()->isEnabled();
        b.form.close();
        visibleAfterClose = b.form.isVisible();
        QTest::keyClick(&b.form, Qt::Key_Escape);
        b.child<QPushButton>("Button2")->click();
        visibleAfterEscape = b.form.isVisible();
    });
    b.start()->click();
    QVERIFY(!startEnabledDuring);
    QVERIFY(visibleAfterClose);
    QVERIFY(visibleAfterEscape);
    QVERIFY(b.form.isVisible());
    b.form.close();
    QVERIFY(!b.form.isVisible());
}

// Cancel in the middle of a read: the port closes, the status says so, and the document is as
// it was before the read.
void TestRWForm::cancelEndsCleanly() {
    DialogBench b;
    b.radio.setMemory(demoRadioImage());
    const QByteArray before = saveDocument(*b.session);
    QSignalSpy finished(&b.form, &TRWForm::transferFinished);
    b.open(1);
    auto* progress = b.child<QProgressBar>("ProgressBar1");
    auto* exit = b.child<QPushButton>("Button2");
    QString duringText;
    QTimer poll;
    connect(&poll, &QTimer::timeout, &b.form, [&] {
        if (progress->value() < ProgressMaximum / 3) return;
        poll.stop();
        duringText = exit->text();
        exit->click();
    });
    poll.start(5);
    b.start()->click();
    QCOMPARE(duringText, b.session->lang.text(Str::CancelButton));
    QCOMPARE(finished.size(), 1);
    QCOMPARE(finished.first().first().toBool(), false);
    QVERIFY(b.messages.isEmpty());
    QVERIFY(!b.form.link().isPortOpen());
    QCOMPARE(b.child<QStatusBar>("StatusBar1")->currentMessage().trimmed(),
             b.session->lang.text(Str::TransferCancelled));
    QCOMPARE(saveDocument(*b.session), before);
    QCOMPARE(exit->text(), b.session->lang.text(2));
    b.form.close();
}

void TestRWForm::failureWarns_data() {
    QTest::addColumn<QString>("range");
    QTest::addColumn<bool>("silent");
    QTest::addColumn<int>("message");
    QTest::newRow("radio silent") << "99" << true << int(Str::LinkFailed);
    QTest::newRow("range not a number") << "#" << false << int(Str::ChannelRangeInvalid);
    QTest::newRow("range too large") << "120" << false << int(Str::ChannelRangeInvalid);
}

void TestRWForm::failureWarns() {
    QFETCH(QString, range);
    QFETCH(bool, silent);
    QFETCH(int, message);
    DialogBench b;
    SimFaults f;
    f.silentAfter = silent ? 0 : -1;
    b.radio.setFaults(f);
    b.open(1);
    b.range()->setText(range);
    b.start()->click();
    QCOMPARE(b.messages.size(), 1);
    QCOMPARE(b.messages.first().caption, b.session->lang.text(Str::WarnCaption));
    // A failed read names the reason after the message.
    QVERIFY(b.messages.first().text.startsWith(b.session->lang.text(message)));
    QVERIFY(b.start()->isEnabled());
    if (!silent) QCOMPARE(b.radio.framesReceived(), 0);
    b.form.close();
}

void TestRWForm::emptyRangeBecomes99() {
    DialogBench b;
    b.open(1);
    b.range()->clear();
    b.start()->click();
    QCOMPARE(b.range()->text(), QStringLiteral("99"));
    QVERIFY(b.messages.isEmpty());
    b.form.close();
}

void TestRWForm::writeModeRunsFormShow() {
    DialogBench b;
    ChannelTable& a = b.session->doc.tableA;
    a.setCell(Col::RxFreq, 1, point("440.00000")); // outside 136-174 of band item 1
    a.setCell(Col::RxFreq, 9, point("150.00000")); // channel 6 inside band item 1
    a.newChannelDefaults(9, b.session->doc.words);
    b.open(2);
    QCOMPARE(a.cell(Col::RxFreq, 1), point("136.00000"));
    QCOMPARE(b.form.preparation().channelA, 6);
    QCOMPARE(b.form.preparation().channelB, 0xFF);
    b.start()->click();
    QVERIFY(b.messages.isEmpty());
    QCOMPARE(Frame::toHex(b.radio.memory().mid(Addr::Settings1 + 1, 2)), QStringLiteral("FF06"));
    // A value the radio cannot take is named, and nothing is sent.
    a.setCell(Col::Name, 9, QStringLiteral("EIGHT CH"));
    const int frames = b.radio.framesReceived();
    b.start()->click();
    QCOMPARE(b.messages.size(), 1);
    QVERIFY(b.messages.first().text.startsWith(b.session->lang.text(Str::ValidationFailed)));
    QVERIFY(b.messages.first().text.contains(QStringLiteral("EIGHT CH")));
    QCOMPARE(b.radio.framesReceived(), frames);
    b.form.close();
}

void TestRWForm::traceFile() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("trace.txt"));
    DialogBench b;
    b.form.setTracePathChooser([&](const QString&) { return path; });
    b.open(1);
    b.child<QToolButton>("TraceFile")->click();
    auto* box = b.child<QCheckBox>("TraceCheck");
    QVERIFY(box->isChecked());
    QCOMPARE(b.form.tracePath(), path);
    QVERIFY(b.child<QStatusBar>("StatusBar1")->currentMessage().contains(path));
    b.range()->setText(QStringLiteral("1"));
    b.start()->click();
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString trace = QString::fromUtf8(file.readAll());
    QVERIFY(trace.contains(QStringLiteral("> 0206514F5652414E11")));
    QVERIFY(trace.contains(QStringLiteral("< 0606716F7672616E15")));
    QVERIFY(trace.contains(QStringLiteral("> 64016F0A")));
    // Unticked, the next transfer adds nothing.
    box->setChecked(false);
    const qint64 size = file.size();
    b.start()->click();
    QCOMPARE(QFileInfo(path).size(), size);
    b.form.close();
}

// A write may back up the radio first and read back what it wrote; the choices show for writes.
void TestRWForm::safeWrite_data() {
    QTest::addColumn<int>("dropEvery");
    QTest::addColumn<bool>("verify");
    QTest::newRow("backup, no verify") << 1 << false;
    QTest::newRow("backup and verify") << 0 << true;
    QTest::newRow("lost writes found") << 1 << true;
}

void TestRWForm::safeWrite() {
    QFETCH(int, dropEvery);
    QFETCH(bool, verify);
    DialogBench b;
    b.radio.setMemory(demoRadioImage());
    b.open(1);
    QVERIFY(!b.child<QCheckBox>("VerifyCheck")->isVisible());
    b.start()->click();
    b.form.close();
    b.session->doc.tableA.setCell(Col::Name, 4, QStringLiteral("EDITED"));
    const int backups = int(backupStoreFor(*b.session).list().size());
    SimFaults f;
    f.dropWritesEvery = dropEvery;
    b.radio.setFaults(f);
    b.open(2);
    QVERIFY(b.child<QCheckBox>("VerifyCheck")->isVisible());
    b.child<QCheckBox>("BackupFirstCheck")->setChecked(true);
    b.child<QCheckBox>("VerifyCheck")->setChecked(verify);
    b.start()->click();
    QCOMPARE(int(backupStoreFor(*b.session).list().size()), std::min(backups + 1, BackupStore::DefaultKeep));
    const QString status = b.child<QStatusBar>("StatusBar1")->currentMessage().trimmed();
    if (verify && dropEvery == 1) {
        QCOMPARE(b.messages.size(), 1);
        QVERIFY2(
            b.messages.first().text.contains(QStringLiteral("channel 01 (A): the radio holds Name RPT-70, "
                                                            "the document Name EDITED")),
            qPrintable(b.messages.first().text));
    } else {
        QVERIFY(b.messages.isEmpty());
        QCOMPARE(status, verify ? QStringLiteral("verified") : b.session->lang.text(Str::ReadDone));
    }
    b.form.close();
}

void TestRWForm::texts_data() {
    QTest::addColumn<int>("language");
    QTest::newRow("Simplified Chinese") << 1;
    QTest::newRow("English") << 2;
    QTest::newRow("Traditional Chinese") << 3;
}

// The exit button takes string 2 like the other dialogs; the range label is the radio's own
// wording in every language.
void TestRWForm::texts() {
    QFETCH(int, language);
    DialogBench b;
    b.session->lang.index = language;
    applyLanguage(*b.session, Language::baseName(language));
    QCOMPARE(b.child<QPushButton>("Button2")->text(), b.session->lang.text(2));
    QVERIFY(!b.session->lang.text(2).isEmpty());
    QCOMPARE(b.child<QLabel>("Label1")->text(),
             QStringLiteral("Limite the range of channels to read and written"));
}

// Six VFO rows moved into their bands make a status line several times the dialog's width: it
// wraps, and the dialog grows to show every line.
void TestRWForm::longStatusShownWhole() {
    DialogBench b;
    for (ChannelTable* t : {&b.session->doc.tableA, &b.session->doc.tableB})
        for (int row = 1; row <= 3; ++row)
            t->setCell(Col::RxFreq, row, point("999.00000"));
    b.open(2);
    auto* status = b.child<QStatusBar>("StatusBar1");
    const QString text = status->currentMessage();
    QVERIFY(text.contains(point("136.00000")));
    QVERIFY(status->fontMetrics().horizontalAdvance(text) > 2 * status->width());
    const QRect needed =
        status->fontMetrics().boundingRect(QRect(0, 0, status->width() - 6, 10000), Qt::TextWordWrap, text);
    QVERIFY2(status->height() >= needed.height(),
             qPrintable(QStringLiteral("%1 < %2").arg(status->height()).arg(needed.height())));
    QVERIFY(b.form.rect().contains(QRect(status->mapTo(&b.form, QPoint()), status->size())));
    if (const QString shots = qEnvironmentVariable("KT520_SHOTS"); !shots.isEmpty())
        QVERIFY(b.form.grab().save(QDir(shots).filePath(QStringLiteral("rwform-long-status.png"))));
    // A short message gives the lines back.
    const int tall = status->height();
    status->showMessage(QStringLiteral("ok"));
    QTRY_VERIFY(status->height() < tall);
    b.form.close();
}

void TestRWForm::usageOutcomeShown_data() {
    QTest::addColumn<bool>("alignmentHoldsLevel");
    QTest::addColumn<int>("message");
    QTest::newRow("level changed") << true << int(Str::StatusUsageChanged);
    QTest::newRow("nothing to change") << false << int(Str::StatusUsageUnchanged);
}

void TestRWForm::usageOutcomeShown() {
    QFETCH(bool, alignmentHoldsLevel);
    QFETCH(int, message);
    DialogBench b;
    QByteArray memory = VirtualRadio::factoryMemory();
    if (!alignmentHoldsLevel) memory[0x01BE] = char(0x00); // byte 14 of 0x01B0 is not 0D
    b.radio.setMemory(memory);
    b.form.setQuestionHook([](QWidget*, QMessageBox::Icon, const QString&, const QString&,
                              QMessageBox::StandardButtons) { return QMessageBox::Yes; });
    b.form.setServiceMode(true);
    b.open(1);
    b.child<QComboBox>("ComboBox1")->setCurrentIndex(3);
    b.child<QPushButton>("Button5")->click();
    QVERIFY(b.messages.isEmpty());
    const QString status = b.child<QStatusBar>("StatusBar1")->currentMessage().trimmed();
    const QString expected = b.session->lang.text(message);
    QVERIFY2(status.startsWith(expected.left(expected.indexOf(QLatin1Char('%')))), qPrintable(status));
    if (alignmentHoldsLevel) QVERIFY(status.contains(QStringLiteral("超常发射")));
    // The initialise command: the alignment written, then the read, and both said.
    b.child<QPushButton>("Button3")->click();
    QVERIFY2(b.messages.isEmpty(), qPrintable(b.messages.value(0).text));
    const QString initialised =
        b.session->lang.text(Str::StatusInitialised).arg(b.session->lang.text(Str::ReadDone));
    QCOMPARE(b.child<QStatusBar>("StatusBar1")->currentMessage().trimmed(), initialised);
    b.form.close();
}

// Without service mode the commands neither ask nor talk to the radio, whoever calls them.
void TestRWForm::serviceCommandsNeedServiceMode() {
    DialogBench b;
    int asked = 0;
    b.form.setQuestionHook(
        [&](QWidget*, QMessageBox::Icon, const QString&, const QString&, QMessageBox::StandardButtons) {
            ++asked;
            return QMessageBox::Yes;
        });
    b.open(1);
    b.form.Button3Click();
    b.form.Button5Click();
    // Nor is there a button to press: the service controls are not in the dialog.
    for (const char* name : {"Button3", "Button5"})
        QVERIFY(!b.child<QPushButton>(name));
    QCOMPARE(asked, 0);
    QCOMPARE(b.radio.framesReceived(), 0);
    b.form.close();
}

QTEST_MAIN(TestRWForm)
#include "test_rwform.moc"
