// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/aboutdialog.h"
#include "app/desktophabits.h"
#include "app/documentdialog.h"
#include "app/mainwindow.h"
#include "app/problemspanel.h"
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
#include <QLabel>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QTableView>
#include <QTemporaryDir>
#include <QTreeWidget>
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
    void aboutBoxLabels();
    void replacingAnotherFileIsAsked_data();
    void replacingAnotherFileIsAsked();
    void problemsDockFitsTheScreen_data();
    void problemsDockFitsTheScreen();

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
    // The first two items speak the current language; the third is fixed.
    QStringList names;
    for (int i = 1; i <= 3; ++i)
        names << withoutMnemonic(w.findChild<QAction*>(QStringLiteral("Language%1").arg(i))->text());
    QCOMPARE(names, QStringList({s.lang.text(56), s.lang.text(57), u"中文(繁體)"_qs}));
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

// The about box's caption and four labels come from the string tables; the version and the
// licence follow on a line of their own.
void TestMainWindow::aboutBoxLabels() {
    Session s;
    s.files = ProgramFiles::besideExecutable(m_dir->path());
    TMainForm w(s);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    for (int index : {1, 2, 3}) {
        w.selectLanguage(index);
        w.aboutBox()->setFacts(s.lang);
        QCOMPARE(w.aboutBox()->windowTitle(), s.lang.text(1) + QStringLiteral("..."));
        const QString expected[] = {s.lang.text(3) + QStringLiteral("7"), s.lang.text(4), s.lang.text(5),
                                    s.lang.text(6)};
        for (int i = 0; i < 4; ++i)
            QCOMPARE(w.aboutBox()->findChild<QLabel*>(QStringLiteral("Label%1").arg(i + 1))->text(),
                     expected[i]);
        const QString facts = w.aboutBox()->findChild<QLabel*>(QStringLiteral("VersionLabel"))->text();
        QVERIFY2(facts.contains(QStringLiteral("GPL-3.0-or-later")), qPrintable(facts));
    }
}

void TestMainWindow::replacingAnotherFileIsAsked_data() {
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("current");
    QTest::addColumn<bool>("asked");
    QTest::newRow("new file") << "new.qv19"
                              << "own.qv19" << false;
    QTest::newRow("own file") << "own.qv19"
                              << "own.qv19" << false;
    QTest::newRow("own file by another path") << "sub/../own.qv19"
                                              << "own.qv19" << false;
    QTest::newRow("another file") << "other.qv19"
                                  << "own.qv19" << true;
    QTest::newRow("document without a file") << "other.qv19"
                                             << "" << true;
}

void TestMainWindow::replacingAnotherFileIsAsked() {
    QFETCH(QString, chosen);
    QFETCH(QString, current);
    QDir(m_dir->path()).mkdir(QStringLiteral("sub"));
    for (const char* name : {"own.qv19", "other.qv19"}) {
        QFile f(m_dir->filePath(QString::fromLatin1(name)));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    QTEST(
        replacesAnotherFile(m_dir->filePath(chosen), current.isEmpty() ? current : m_dir->filePath(current)),
        "asked");
}

// With the Problems dock open the main window stays inside the screen, and the dock shows rows
// enough to read.
void TestMainWindow::problemsDockFitsTheScreen_data() {
    QTest::addColumn<QSize>("screen");
    QTest::newRow("1366x768") << QSize(1366, 768);
    QTest::newRow("1024x768") << QSize(1024, 768);
}

void TestMainWindow::problemsDockFitsTheScreen() {
    QFETCH(QSize, screen);
    Session s;
    s.files = ProgramFiles::besideExecutable(m_dir->path());
    TMainForm w(s);
    // The screen less a panel and a window manager's title bar.
    const QSize available = screen - QSize(0, 60);
    w.resize(available);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.findChild<QAction*>(QStringLiteral("ShowProblems"))->trigger();
    QApplication::processEvents();
    QVERIFY2(w.minimumSizeHint().height() <= available.height(),
             qPrintable(QString::number(w.minimumSizeHint().height())));
    QTRY_VERIFY(w.problemsPanel()->isVisible());
    QCOMPARE(w.height(), available.height());
    const int row = w.problemsPanel()->list()->fontMetrics().height();
    QTRY_VERIFY2(w.problemsPanel()->list()->viewport()->height() >= 8 * row,
                 qPrintable(QString::number(w.problemsPanel()->list()->viewport()->height())));
}

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
