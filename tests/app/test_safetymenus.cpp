// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/backupsdialog.h"
#include "app/desktophabits.h"
#include "app/mainwindow.h"
#include "app/safetymenus.h"
#include "core/codeplug/document.h"
#include "core/codeplug/session.h"
#include "core/transfer/backup.h"
#include "tests/common/languagefiles.h"
#include "ui/channels/channelgridwidgets.h"
#include "ui/channels/channelwindow.h"
#include <QAction>
#include <QDir>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

// The main window's backup and compare commands, on the program's files in a folder of their own.
class TestSafetyMenus : public QObject {
    Q_OBJECT
private slots:
    void init();
    void commandsAndPlaces();
    void backupsListedNewestFirst();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestSafetyMenus::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    copyLanguageFiles(m_dir->path());
}

// The commands follow the language; a channel's difference is shown on its cell.
void TestSafetyMenus::commandsAndPlaces() {
    Session s;
    s.files = ProgramFiles::besideExecutable(m_dir->path());
    TMainForm w(s);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.selectLanguage(2);
    // Menu items carry their key letters.
    QCOMPARE(withoutMnemonic(w.findChild<QAction*>(QStringLiteral("CompareWithRadio"))->text()),
             QStringLiteral("Compare with radio…"));
    QCOMPARE(withoutMnemonic(w.findChild<QAction*>(QStringLiteral("RadioBackups"))->text()),
             QStringLiteral("Radio backups…"));
    DocumentDifference d;
    d.side = Side::B;
    d.row = 9;
    d.column = Col::TxFreq;
    w.findChild<SafetyMenus*>()->showPlace(d);
    QCOMPARE(w.channelB()->findChild<ChannelGrid*>()->currentCell(), QPoint(Col::TxFreq, 9));
}

void TestSafetyMenus::backupsListedNewestFirst() {
    Session s;
    s.files = ProgramFiles::besideExecutable(m_dir->path());
    TMainForm w(s);
    QDateTime now(QDate(2026, 12, 7), QTime(21, 30, 5));
    const BackupStore store(m_dir->filePath(QStringLiteral("backups")), 200, [&now] { return now; });
    QVERIFY(store.save(saveDocument(s), RadioImage(), QStringLiteral("Qovran"), true, s.lang).ok());
    s.doc.tableA.setCell(Col::RxFreq, 4, QStringLiteral("145.00000"));
    now = now.addSecs(60);
    QVERIFY(store.save(saveDocument(s), RadioImage(), QStringLiteral("Qovran"), false, s.lang).ok());
    QString opened;
    BackupsDialog dialog(s, store, [&opened](const QString& path) { opened = path; });
    QTableWidget* table = dialog.table();
    QCOMPARE(table->rowCount(), 2);
    QCOMPARE(table->item(0, 0)->text(), QStringLiteral("2026-12-07 21:31:05"));
    QVERIFY(table->item(1, 0)->text().startsWith(QStringLiteral("2026-12-07 21:30:05 (")));
    QCOMPARE(table->item(0, 2)->text().toInt(), table->item(1, 2)->text().toInt() + 1);
    dialog.openSelected();
    QCOMPARE(QFileInfo(opened).fileName(), QStringLiteral("2026-12-07_21-31-05_Qovran.qv19"));
}

QTEST_MAIN(TestSafetyMenus)
#include "test_safetymenus.moc"
