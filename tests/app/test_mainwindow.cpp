// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/desktophabits.h"
#include "app/mainwindow.h"
#include "core/base/language.h"
#include "core/base/settingsfile.h"
#include "core/codeplug/document.h"
#include "core/codeplug/session.h"
#include "tests/common/languagefiles.h"
#include "ui/channels/channelwindow.h"
#include "ui/options/funcwindow.h"
#include "ui/service/radioinfowindow.h"
#include "ui/service/testform.h"
#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

// Runs the program's windows in a folder of their own, with the language files beside them.
class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void windowsCreatedInOrder();
    void startUpShowsEditors();
    void languageSwitchFollowsEverywhere();
    void exitWritesSettings();
    void droppedDocumentOpens();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestMainWindow::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    copyLanguageFiles(m_dir->path());
    QFile ini(m_dir->filePath(QStringLiteral("sysini.ini")));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[Open]\r\ncom=2\r\nlang=3\r\nnote=kept\r\n[list1]\r\nlist1count=2\r\ncom1bo0=400-430MHz\r\n");
}

// A document dropped on the grid of table B is opened.
void TestMainWindow::droppedDocumentOpens() {
    Session s;
    s.files = ProgramFiles::besideExecutable(m_dir->path());
    TMainForm w(s);
    w.showMaximized();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    s.doc.tableB.setCell(Col::RxFreq, 9, QStringLiteral("145.00000"));
    s.doc.tableB.newChannelDefaults(9, s.doc.words);
    const QString path = m_dir->filePath(QStringLiteral("dropped.qv19"));
    QVERIFY(!writeDocumentFile(path, s));
    s.doc.tableB.clearRow(9);
    w.askUnsaved = [] { return UnsavedAnswer::Discard; }; // the edits above are unsaved changes

    auto* view = w.channelB()->findChild<QTableView*>();
    QVERIFY(view);
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(path)});
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    // As the window system does: enter, then drop, on the nearest widget that takes drops.
    QWidget* target = view->viewport();
    while (target && !target->acceptDrops())
        target = target->parentWidget();
    QVERIFY(target);
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QVERIFY(enter.isAccepted());
    QApplication::sendEvent(target, &drop);
    QVERIFY(drop.isAccepted());
    QTRY_COMPARE(s.doc.tableB.cell(Col::RxFreq, 9), QStringLiteral("145.00000"));
}

void TestMainWindow::windowsCreatedInOrder() {
    Session s;
    s.files = ProgramFiles::besideExecutable(m_dir->path());
    TMainForm w(s);
    QStringList classes;
    for (QWidget* window : w.windowsInOrder())
        classes << QString::fromLatin1(window->metaObject()->className());
    QCOMPARE(classes, QStringList({"TMainForm", "TAboutBox", "TRWForm", "Tfunc", "Tchannelb", "Tchannela",
                                   "Tcommuny", "Taddmessage", "TTestForm"}));
    QCOMPARE(w.windowTitle(), QStringLiteral("KT-520"));
}

void TestMainWindow::startUpShowsEditors() {
    Session s;
    s.files = ProgramFiles::besideExecutable(m_dir->path());
    TMainForm w(s);
    w.showMaximized();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(w.frameOf(w.funcWindow())->isVisible());
    QVERIFY(w.frameOf(w.channelA())->isVisible());
    QVERIFY(w.frameOf(w.channelB())->isVisible());
    QVERIFY(!w.frameOf(w.radioInfoWindow())->isVisible());
    QVERIFY(!w.frameOf(w.testForm())->isVisible());
    // Only kt520 --service shows the alignment tool button, which opens the alignment window.
    auto* alignment = w.findChild<QAction*>(QStringLiteral("AlignmentTool"));
    QVERIFY(alignment && !alignment->isVisible());
    w.setServiceMode(true);
    QVERIFY(alignment->isVisible());
    alignment->trigger();
    QVERIFY(w.frameOf(w.testForm())->isVisible());
    QCOMPARE(s.portNumber, 2);
    QCOMPARE(s.lang.index, 3); // a stored 3 always selects Traditional Chinese
    QCOMPARE(w.windowTitle(), QStringLiteral("KT-520RX"));
    QCOMPARE(s.doc.main.items(MainCtl::Band2),
             QStringList({QStringLiteral("400-430MHz"), QStringLiteral("400-470MHz")}));
    QCOMPARE(s.doc.main.items(MainCtl::Band1).size(), 3);
    QCOMPARE(s.doc.tableA.cell(0, 4), QStringLiteral("01"));
    QCOMPARE(s.doc.tableB.cell(0, 3), QStringLiteral("400"));
    // Closing table B and choosing channel edit brings back table A only.
    w.frameOf(w.channelB())->close();
    QVERIFY(!w.frameOf(w.channelB())->isVisible());
    w.showChild(w.channelA());
    QVERIFY(!w.frameOf(w.channelB())->isVisible());
    QVERIFY(w.frameOf(w.channelA())->isVisible());
}

void TestMainWindow::languageSwitchFollowsEverywhere() {
    Session s;
    s.files = ProgramFiles::besideExecutable(m_dir->path());
    TMainForm w(s);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.selectLanguage(2);
    QCOMPARE(s.lang.index, 2);
    QCOMPARE(s.doc.words.off, QStringLiteral("OFF"));
    // Each language is named in itself, so that the way back is legible in any of them.
    QStringList names;
    for (int i = 1; i <= 3; ++i)
        names << withoutMnemonic(w.findChild<QAction*>(QStringLiteral("Language%1").arg(i))->text());
    QCOMPARE(names, QStringList({u"简体中文"_qs, u"English"_qs, u"繁體中文"_qs}));
    const QString englishCaption = s.lang.text(19) + QStringLiteral(" A");
    QCOMPARE(w.channelA()->windowTitle(), englishCaption);
    QCOMPARE(s.doc.tableA.cell(1, 0), s.lang.text(26));
    w.selectLanguage(1);
    QCOMPARE(s.doc.words.off, u"禁用"_qs);
    QCOMPARE(w.channelA()->windowTitle(), s.lang.text(19) + QStringLiteral(" A"));
    QVERIFY(w.channelA()->windowTitle() != englishCaption);
}

void TestMainWindow::exitWritesSettings() {
    {
        Session s;
        s.files = ProgramFiles::besideExecutable(m_dir->path());
        TMainForm w(s);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        s.doc.main.setIndex(MainCtl::Band2, -1);
        w.askUnsaved = [] { return UnsavedAnswer::Discard; }; // the selection is part of the document
        w.close();
    }
    const IniFile ini = IniFile::load(m_dir->filePath(QStringLiteral("sysini.ini")));
    QCOMPARE(ini.integer(QStringLiteral("open"), QStringLiteral("com"), 0), 2);
    QCOMPARE(ini.integer(QStringLiteral("open"), QStringLiteral("lang"), 0), 3);
    QCOMPARE(ini.integer(QStringLiteral("list1"), QStringLiteral("list1now"), 0), -1);
    QCOMPARE(ini.integer(QStringLiteral("list0"), QStringLiteral("list0now"), -5), 0);
    QCOMPARE(ini.text(QStringLiteral("open"), QStringLiteral("note")), QStringLiteral("kept"));
    QVERIFY(!ini.contains(QStringLiteral("list0"), QStringLiteral("com0bo0")));
}

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
