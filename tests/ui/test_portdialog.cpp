// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/base/messages.h"
#include "core/base/settingsfile.h"
#include "core/codeplug/session.h"
#include "core/link/radioport.h"
#include "core/transfer/replydelay.h"
#include "sim/ptyserver.h"
#include "sim/virtualradio.h"
#include "ui/transfer/portdialog.h"
#include "ui/transfer/portstatus.h"
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>

class TestPortDialog : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void controls();
    void probesEveryShowing();
    void selection_data();
    void selection();
    void saysWhyAndTakesADevice();
    void namesTheAdapter();
    void toldOfSlowReplies();

private:
    QString missing(int com) const { return QStringLiteral("/dev/kt520-missing-%1").arg(com); }
    void showAgain(Tcommuny& dialog);

    QTemporaryDir m_dir;
    VirtualRadio m_radio;
    PtyServer* m_server = nullptr;
};

void TestPortDialog::init() {
    m_server = new PtyServer(m_radio);
    QVERIFY(!m_server->start().has_value());
    // Every number mapped here, so the machine's own serial ports do not matter.
    for (int n = PortDirectory::FirstCom; n <= PortDirectory::LastCom; ++n)
        PortDirectory::overrideDevice(n, missing(n));
    PortDirectory::overrideDevice(3, m_server->devicePath());
}

void TestPortDialog::cleanup() {
    PortDirectory::clearOverrides();
    delete m_server;
}

void TestPortDialog::showAgain(Tcommuny& dialog) {
    dialog.hide();
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
}

void TestPortDialog::controls() {
    Session session;
    session.files = ProgramFiles::besideExecutable(m_dir.path());
    session.portNumber = 3;
    PortDirectory::overrideDevice(16, {}); // the system's sixteenth port: on most machines none
    Tcommuny dialog(session);
    QVERIFY(dialog.isModal() && (dialog.windowFlags() & Qt::WindowStaysOnTopHint));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    // All sixteen in their places, a number without a device too: greyed, never left out.
    for (int n = PortDirectory::FirstCom; n <= PortDirectory::LastCom; ++n)
        QVERIFY2(dialog.portButton(n)->isVisibleTo(&dialog), qPrintable(QString::number(n)));
    const PortDirectory directory(session.files.settingsToRead());
    QCOMPARE(dialog.portButton(16)->isEnabled(), directory.state(16) == PortDirectory::State::Free);
    // Four to a row: COM1-COM4 side by side, COM5 under COM1, each device beside its number.
    const auto pos = [&](int n) {
        return dialog.findChild<QRadioButton*>(QStringLiteral("com%1").arg(n))->geometry();
    };
    QCOMPARE(pos(4).y(), pos(1).y());
    QVERIFY(pos(2).x() > pos(1).x());
    QCOMPARE(pos(5).x(), pos(1).x());
    QVERIFY(pos(5).y() > pos(1).y() && pos(16).y() > pos(12).y());
    QCOMPARE(dialog.portButton(16)->text(), QStringLiteral("COM16"));
    QVERIFY(dialog.deviceLabel(3)->text().contains(m_server->devicePath()));
    QVERIFY(dialog.deviceLabel(3)->text().contains(session.lang.text(Str::DemoPort)));
    QVERIFY(dialog.deviceLabel(3)->geometry().x() > pos(3).x());
    dialog.findChild<QPushButton*>(QStringLiteral("Button1"))->click();
    QVERIFY(!dialog.isVisible());
}

void TestPortDialog::probesEveryShowing() {
    Session session;
    session.files = ProgramFiles::besideExecutable(m_dir.path());
    Tcommuny dialog(session);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(dialog.portButton(3)->isEnabled());
    for (int n : {1, 2, 4, 16})
        QVERIFY(!dialog.portButton(n)->isEnabled());
    {
        // Held by another program, the port is not offered.
        QSerialPort holder;
        holder.setPortName(m_server->devicePath());
        QVERIFY(holder.open(QIODevice::ReadWrite));
        showAgain(dialog);
        QVERIFY(!dialog.portButton(3)->isEnabled());
    }
    showAgain(dialog);
    QVERIFY(dialog.portButton(3)->isEnabled());
    // A port that appears between two showings is offered at the next one.
    VirtualRadio other;
    PtyServer second(other);
    QVERIFY(!second.start().has_value());
    PortDirectory::overrideDevice(7, second.devicePath());
    QVERIFY(!dialog.portButton(7)->isEnabled());
    showAgain(dialog);
    QVERIFY(dialog.portButton(7)->isEnabled());
}

void TestPortDialog::selection_data() {
    QTest::addColumn<int>("stored"); // port number in the session before showing
    QTest::addColumn<bool>("storedSingle");
    QTest::addColumn<int>("click");        // radio button clicked, 0 = none
    QTest::addColumn<bool>("clickSingle"); // the single-port box clicked
    QTest::addColumn<int>("port");
    QTest::addColumn<bool>("single");
    QTest::newRow("nothing clicked keeps the choice") << 5 << true << 0 << false << 5 << true;
    QTest::newRow("a port clicked") << 1 << false << 3 << false << 3 << false;
    QTest::newRow("single-port ticked") << 3 << false << 0 << true << 3 << true;
    QTest::newRow("single-port cleared") << 3 << true << 0 << true << 3 << false;
    QTest::newRow("both") << 16 << false << 3 << true << 3 << true;
}

void TestPortDialog::selection() {
    QFETCH(int, stored);
    QFETCH(bool, storedSingle);
    QFETCH(int, click);
    QFETCH(bool, clickSingle);
    QFETCH(int, port);
    QFETCH(bool, single);
    Session session;
    session.files = ProgramFiles::besideExecutable(m_dir.path());
    session.portNumber = stored;
    session.singlePortMode = storedSingle;
    Tcommuny dialog(session);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(dialog.portButton(stored)->isChecked());
    QCOMPARE(dialog.singlePortBox()->isChecked(), storedSingle);
    if (click) QTest::mouseClick(dialog.portButton(click), Qt::LeftButton);
    if (clickSingle) QTest::mouseClick(dialog.singlePortBox(), Qt::LeftButton);
    QCOMPARE(session.portNumber, port);
    QCOMPARE(session.singlePortMode, single);
}

// A greyed port says why; a device typed for the chosen number is kept in section "ports".
void TestPortDialog::saysWhyAndTakesADevice() {
    Session session;
    session.files = ProgramFiles::besideExecutable(m_dir.path());
    session.portNumber = 5;
    PortDirectory::overrideDevice(5, {}); // COM5 follows the settings file
    Tcommuny dialog(session);
    QSerialPort holder;
    holder.setPortName(m_server->devicePath());
    QVERIFY(holder.open(QIODevice::ReadWrite));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(dialog.deviceLabel(3)->text().contains(session.lang.text(Str::PortStateInUse)));
    QVERIFY(dialog.deviceLabel(1)->text().contains(session.lang.text(Str::PortStateMissing)));
    const auto problem = portOpenProblem(session, 3);
    QVERIFY(problem && problem->contains(m_server->devicePath()) &&
            problem->contains(session.lang.text(Str::PortStateInUse)));
    holder.close();
    QCOMPARE(portOpenProblem(session, 3), std::nullopt);

    QVERIFY(dialog.deviceField()->isEnabled());
    dialog.deviceField()->setText(QStringLiteral("/dev/kt520-typed"));
    dialog.findChild<QPushButton*>(QStringLiteral("Button1"))->click();
    QVERIFY(!dialog.isVisible());
    const IniFile ini = IniFile::load(session.files.settingsFile);
    QCOMPARE(ini.text(QStringLiteral("ports"), QStringLiteral("com5")), QStringLiteral("/dev/kt520-typed"));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(dialog.deviceLabel(5)->text().contains(QStringLiteral("/dev/kt520-typed")));
    QCOMPARE(dialog.deviceField()->text(), QStringLiteral("/dev/kt520-typed"));
    // A demo port is not the settings file's to change.
    QTest::mouseClick(dialog.portButton(3), Qt::LeftButton);
    QVERIFY(!dialog.deviceField()->isEnabled());
}

// The adapter's name on pointing at a port and under the field for the chosen one; a long name
// does not widen the dialog past a small screen.
void TestPortDialog::namesTheAdapter() {
    const PortAdapter cable{QStringLiteral("USB-SERIAL CH340"), QStringLiteral("wch.cn"),
                            QStringLiteral("1a86:7523")};
    const PortAdapter wordy{QStringLiteral("Standard Serial over Bluetooth link with a long name (COM9)"),
                            QStringLiteral("Microsoft Corporation of Redmond"),
                            QStringLiteral("BTHENUM\\{00001101-0000-1000-8000-00805f9b34fb}_LOCALMFG&0002")};
    for (int n = PortDirectory::FirstCom; n < PortDirectory::LastCom; ++n)
        PortDirectory::overrideDevice(n, QStringLiteral("/dev/k%1").arg(n), wordy);
    PortDirectory::overrideDevice(3, m_server->devicePath(), cable);
    Session session;
    session.files = ProgramFiles::besideExecutable(m_dir.path());
    session.portNumber = 16; // the missing device of COM16 has no adapter told of it
    Tcommuny dialog(session);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(!dialog.adapterLabel()->isVisible());
    QVERIFY(!dialog.portButton(16)->toolTip().contains(QLatin1Char('\n')));
    const QString text = cable.text();
    QVERIFY(dialog.portButton(3)->toolTip().contains(text));
    QVERIFY(dialog.portButton(3)->accessibleDescription().contains(text));
    QVERIFY(dialog.portButton(1)->toolTip().contains(wordy.text()));
    QTest::mouseClick(dialog.portButton(3), Qt::LeftButton);
    QVERIFY(dialog.adapterLabel()->isVisible());
    QCOMPARE(dialog.adapterLabel()->text(), text);
    session.portNumber = 1;
    showAgain(dialog);
    QCOMPARE(dialog.adapterLabel()->text(), wordy.text());
    QVERIFY2(dialog.width() <= 1024, qPrintable(QString::number(dialog.width())));
}

// What the chosen port's last transfer found of its replies, under the field; nothing for the
// demo's virtual radio.
void TestPortDialog::toldOfSlowReplies() {
    const QString device = m_dir.filePath(QStringLiteral("ttyUSB-slow"));
    const ReplyDelay slow{device, 16.2, 16};
    QCOMPARE(ReplyDelayStore().remember(slow), std::nullopt);
    Session session;
    session.files = ProgramFiles::besideExecutable(m_dir.path());
    IniFile ini;
    ini.setText(QStringLiteral("ports"), QStringLiteral("com5"), device);
    QCOMPARE(ini.save(session.files.settingsFile), std::nullopt);
    PortDirectory::overrideDevice(5, {});
    session.portNumber = 5;
    Tcommuny dialog(session);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(dialog.replyDelayLabel()->isVisible());
    QCOMPARE(dialog.replyDelayLabel()->text(), lastTransferText(slow, session.lang));
    QTest::mouseClick(dialog.portButton(3), Qt::LeftButton);
    QVERIFY(!dialog.replyDelayLabel()->isVisible());
    QCOMPARE(ReplyDelayStore().remember({device, 0.6, 1}), std::nullopt);
    session.portNumber = 5;
    showAgain(dialog);
    QVERIFY(!dialog.replyDelayLabel()->isVisible());
}

QTEST_MAIN(TestPortDialog)
#include "test_portdialog.moc"
