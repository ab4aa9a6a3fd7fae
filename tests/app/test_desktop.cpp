// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/childlayout.h"
#include "app/commandstatus.h"
#include "app/helpmenu.h"
#include "app/mainwindow.h"
#include "core/base/language.h"
#include "core/base/messages.h"
#include "core/base/settingsfile.h"
#include "core/codeplug/document.h"
#include "core/codeplug/session.h"
#include "tests/common/docfixture.h"
#include "tests/common/languagefiles.h"
#include "tests/common/runprocess.h"
#include "ui/channels/channelwindow.h"
#include "ui/options/funcwindow.h"
#include "ui/transfer/portdialog.h"
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>
#include <QtTest>
#include <csignal>

// The main window as a user meets it: texts after language switches, the document caption,
// opening damaged files, and the settings kept however the program ends.
class TestDesktop : public QObject {
    Q_OBJECT
private slots:
    void init();
    void menusAndCaptionFollowEverySwitch();
    void builtinCaptionsWithoutLanguageFiles();
    void openIsAllOrNothing_data();
    void openIsAllOrNothing();
    void settingsKeptOnEveryQuit_data();
    void settingsKeptOnEveryQuit();
    void commandLine_data();
    void commandLine();
    void terminationEndsAnOpenDialog();
    void keysAndRecentFiles();
    void childrenFitTheArea_data();
    void childrenFitTheArea();
    void helpAndAbout();
    void optionsRestoreInsideArea();
    void transferOutcome();

private:
    QStringList menuTitles(const TMainForm& w) const;
    QString programCopy() const;
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestDesktop::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    copyLanguageFiles(m_dir->path());
    QFile ini(m_dir->filePath(QStringLiteral("sysini.ini")));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[Open]\r\ncom=2\r\nlang=3\r\n");
}

QStringList TestDesktop::menuTitles(const TMainForm& w) const {
    // Without the key letters: "文件(&F)" and "&File" are the texts 9 with a mnemonic.
    const QRegularExpression mnemonic(QStringLiteral("\\(&.\\)|&"));
    QStringList titles;
    QMenu* tools = nullptr;
    for (QAction* a : w.menuBar()->actions()) {
        titles << QString(a->text()).remove(mnemonic);
        if (titles.size() == 4) tools = a->menu<QMenu*>();
    }
    // The language submenu of the tools menu.
    for (QAction* a : tools->actions())
        if (a->menu<QMenu*>()) titles << QString(a->text()).remove(mnemonic);
    return titles;
}

// Starting in Traditional Chinese and switching on: every menu title, the caption and the port
// dialog take each new language.
void TestDesktop::menusAndCaptionFollowEverySwitch() {
    Session s;
    s.files = ProgramFiles::besideExecutable(m_dir->path());
    TMainForm w(s);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QString path = m_dir->filePath(QStringLiteral("doc.qv19"));
    QVERIFY(!writeDocumentFile(path, s));
    QVERIFY(QMetaObject::invokeMethod(&w, [&] { w.openDroppedFile(path, Side::A); }));
    const QString caption = QStringLiteral("KT-520RX   [400-470MHz] - doc.qv19");
    QCOMPARE(w.windowTitle(), caption);
    for (int index : {2, 1, 3, 2}) {
        w.selectLanguage(index);
        QCOMPARE(menuTitles(w),
                 QStringList({s.lang.text(9), s.lang.text(Str::EditMenu), s.lang.text(10), s.lang.text(11),
                              s.lang.text(Str::WindowMenu), s.lang.text(12), s.lang.text(23)}));
        QCOMPARE(w.windowTitle(), caption);
        QCOMPARE(w.portDialog()->windowTitle(), s.lang.text(22));
        QCOMPARE(w.portDialog()->findChild<QGroupBox*>()->title(), s.lang.text(22));
        QStringList groups;
        for (QGroupBox* g : w.funcWindow()->findChildren<QGroupBox*>())
            groups << g->title();
        // No language text names the two side groups.
        QVERIFY(groups.contains(QStringLiteral("Channel A")) && groups.contains(QStringLiteral("Channel B")));
    }
    QCOMPARE(menuTitles(w).first(), QStringLiteral("File"));
    // The port button says what it does, not "Write".
    QStringList tips;
    for (QAction* a : w.findChildren<QAction*>())
        tips << a->toolTip();
    QVERIFY(tips.contains(s.lang.text(Str::PortToolTip)));
}

// Without language files the windows keep the captions they were built with.
void TestDesktop::builtinCaptionsWithoutLanguageFiles() {
    QTemporaryDir bare;
    Session s;
    s.files = ProgramFiles::besideExecutable(bare.path());
    TMainForm w(s);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(menuTitles(w).first(), QStringLiteral("文件"));
    QCOMPARE(w.funcWindow()->windowTitle(), QStringLiteral("功能选项"));
    QStringList tabs;
    for (QTabWidget* t : w.funcWindow()->findChildren<QTabWidget*>())
        for (int i = 0; i < t->count(); ++i)
            tabs << t->tabText(i);
    QVERIFY(tabs.contains(QStringLiteral("基本功能")));
    QVERIFY(tabs.contains(QStringLiteral("Band Change")));
    QStringList groups;
    for (QGroupBox* g : w.funcWindow()->findChildren<QGroupBox*>())
        groups << g->title();
    QVERIFY(groups.contains(QStringLiteral("Band Two")));
    QVERIFY(!groups.contains(QStringLiteral("频段二：")));
}

void TestDesktop::openIsAllOrNothing_data() {
    // Bytes of the saved document kept; 0: all but the last 2000 (table B); -1: not a document.
    QTest::addColumn<int>("keep");
    QTest::addColumn<QString>("message");
    QTest::newRow("cut in the header") << 55 << "5-344";
    QTest::newRow("cut in the settings") << 2000 << "-344";
    QTest::newRow("cut in table B") << 0 << "-344";
    QTest::newRow("not a document") << -1 << "junk.qv19";
}

void TestDesktop::openIsAllOrNothing() {
    QFETCH(int, keep);
    QFETCH(QString, message);
    Session s;
    s.files = ProgramFiles::besideExecutable(m_dir->path());
    TMainForm w(s);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    s.doc.tableA.setCell(Col::RxFreq, 9, QStringLiteral("145.00000"));
    s.doc.tableA.newChannelDefaults(9, s.doc.words);
    s.history.setClean(); // as if saved: the open asks nothing before it
    const QByteArray before = saveDocument(s);
    const QString path = m_dir->filePath(QStringLiteral("junk.qv19"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(keep < 0 ? QByteArray("hello\r\nworld\r\n") : before.left(keep ? keep : before.size() - 2000));
    f.close();
    QString shown;
    QTimer::singleShot(0, this, [&shown] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->text();
            box->accept();
        }
    });
    const QString title = w.windowTitle();
    w.openDroppedFile(path, Side::A);
    QVERIFY2(shown.contains(message), qPrintable(shown));
    QCOMPARE(saveDocument(s), before);
    QCOMPARE(w.windowTitle(), title);
}

void TestDesktop::settingsKeptOnEveryQuit_data() {
    QTest::addColumn<int>("signal"); // 0: --exit-after-start
    QTest::newRow("exit after start") << 0;
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGINT") << int(SIGINT);
}

namespace {
// Whether the process has a handler for `signal`, as the kernel reports it.
bool catches(qint64 pid, int signal) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) return false;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("SigCgt:"))
            return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (signal - 1)) & 1;
    return false;
}
} // namespace

// The program itself, copied into a folder of its own, ended without closing its window.
void TestDesktop::settingsKeptOnEveryQuit() {
    QFETCH(int, signal);
    const QString exe = m_dir->filePath(QStringLiteral("kt520"));
    QVERIFY(QFile::copy(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("kt520")), exe));
    QFile::setPermissions(exe, QFile::permissions(exe) | QFile::ExeOwner);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    if (signal == 0) {
        QCOMPARE(runProcess(exe, {QStringLiteral("--exit-after-start")}, env).exitCode, 0);
    } else {
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(exe, {});
        QVERIFY(p.waitForStarted());
        // Once the program catches the signal (its bit in SigCgt), whatever the start-up is doing.
        QTRY_VERIFY_WITH_TIMEOUT(catches(p.processId(), signal), 20000);
        ::kill(pid_t(p.processId()), signal);
        QVERIFY(p.waitForFinished(20000));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    }
    const IniFile ini = IniFile::load(m_dir->filePath(QStringLiteral("sysini.ini")));
    QCOMPARE(ini.integer(QStringLiteral("open"), QStringLiteral("com"), 0), 2);
    QCOMPARE(ini.integer(QStringLiteral("open"), QStringLiteral("M_type"), -5), 0);
    QCOMPARE(ini.integer(QStringLiteral("list0"), QStringLiteral("list0now"), -5), 0);
}

QString TestDesktop::programCopy() const {
    const QString exe = m_dir->filePath(QStringLiteral("kt520"));
    if (!QFile::exists(exe))
        QFile::copy(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("kt520")), exe);
    QFile::setPermissions(exe, QFile::permissions(exe) | QFile::ExeOwner);
    return exe;
}

// The program's own options are known once each; anything else is refused, while the windowing
// system's options still reach it.
void TestDesktop::commandLine_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("said"); // on the error output; empty: nothing but Qt's notes
    QTest::newRow("help") << QStringList{"--help"} << 0 << QString();
    QTest::newRow("where") << QStringList{"--where"} << 0 << QString();
    QTest::newRow("unknown option") << QStringList{"--bogus"} << 2 << "bogus";
    QTest::newRow("a second file") << QStringList{"a.qv19", "b.qv19", "--exit-after-start"} << 2 << "b.qv19";
    QTest::newRow("platform option") << QStringList{"-platform", "offscreen", "--exit-after-start"} << 0
                                     << QString();
}

void TestDesktop::commandLine() {
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, said);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    const ProcessRun r = runProcess(programCopy(), args, env);
    QCOMPARE(r.exitCode, exitCode);
    if (!said.isEmpty()) QVERIFY2(r.err.contains(said), qPrintable(r.err));
    QVERIFY2(!r.err.contains(QStringLiteral("already added")) && !r.err.contains(QStringLiteral("twice")),
             qPrintable(r.err));
}

// A termination signal ends the program after the settings attempt, also while the start-up's
// warning that the settings file cannot be written is open.
void TestDesktop::terminationEndsAnOpenDialog() {
    QFile::remove(m_dir->filePath(QStringLiteral("sysini.ini")));
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("sysini.ini"))); // cannot be written
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(programCopy(), {});
    QVERIFY(p.waitForStarted());
    QTest::qWait(15000 / KT520_TEST_WAIT_DIVISOR);
    ::kill(pid_t(p.processId()), SIGTERM);
    const bool ended = p.waitForFinished(10000);
    if (!ended) p.kill();
    QVERIFY(ended);
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
}

// Alt+letter, F10 and the command keys reach the menus; documents opened go to Recent files.
void TestDesktop::keysAndRecentFiles() {
    Session s;
    s.files = ProgramFiles::besideExecutable(m_dir->path());
    TMainForm w(s);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.selectLanguage(2);
    QStringList titles;
    for (QAction* a : w.menuBar()->actions())
        titles << a->text();
    QCOMPARE(titles.mid(0, 3),
             QStringList({QStringLiteral("&File"), QStringLiteral("&Edit"), QStringLiteral("&Program")}));
    w.selectLanguage(1);
    QCOMPARE(w.menuBar()->actions().first()->text(), QStringLiteral("文件(&F)"));
    QTest::keyClick(&w, Qt::Key_F10);
    QTRY_VERIFY(w.menuBar()->activeAction());
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
    QMap<QString, QString> keys;
    for (QAction* a : w.findChildren<QAction*>())
        if (!a->shortcut().isEmpty()) keys.insert(a->shortcut().toString(), a->text());
    for (const char* key : {"Ctrl+N", "Ctrl+O", "Ctrl+S", "Ctrl+R", "Ctrl+Shift+W"})
        QVERIFY2(keys.contains(QString::fromLatin1(key)), key);

    QStringList paths;
    for (const char* name : {"one.qv19", "two.qv19", "one.qv19"}) {
        const QString path = m_dir->filePath(QString::fromLatin1(name));
        QVERIFY(!writeDocumentFile(path, s));
        w.openDroppedFile(path, Side::A);
    }
    auto* recent = w.findChild<QMenu*>(QStringLiteral("RecentFilesMenu"));
    QVERIFY(recent);
    emit recent->aboutToShow();
    QStringList shown;
    for (QAction* a : recent->actions())
        shown << a->text();
    QCOMPARE(shown.size(), 4); // two files, a separator, "clear"
    QVERIFY(shown.at(0).startsWith(QStringLiteral("&1")) && shown.at(0).endsWith(QStringLiteral("one.qv19")));
    QVERIFY(shown.at(1).endsWith(QStringLiteral("two.qv19")));
}

void TestDesktop::childrenFitTheArea_data() {
    QTest::addColumn<QSize>("area");
    QTest::addColumn<QSize>("options"); // the options window's whole size in some language
    QTest::newRow("1366x768, English") << QSize(1366, 679) << QSize(960, 540);
    QTest::newRow("1600x1000") << QSize(1600, 911) << QSize(874, 528);
    QTest::newRow("wide screen") << QSize(2400, 1300) << QSize(960, 540);
    QTest::newRow("1024x600") << QSize(1024, 520) << QSize(960, 540);
    QTest::newRow("1024x768, Chinese") << QSize(1024, 679) << QSize(900, 540);
    QTest::newRow("800x600: too small for both") << QSize(800, 520) << QSize(960, 540);
}

// Every window inside the work area, and the options beside table A, not under it.
void TestDesktop::childrenFitTheArea() {
    QFETCH(QSize, area);
    QFETCH(QSize, options);
    const ChildGeometry g = placeChildren(area, QSize(786, 700), options);
    const QRect whole(QPoint(0, 0), area);
    for (const QRect& r : {g.tableA, g.tableB, g.options})
        QVERIFY(whole.contains(r));
    QVERIFY(g.options.width() >= std::min(options.width(), MinOptionsWidth));
    if (area.width() >= MinTableWidth + 8 + MinOptionsWidth) QVERIFY(!g.options.intersects(g.tableA));
    if (area.width() >= 786 + 8 + options.width()) QCOMPARE(g.options.size(), options);
}

// Help > Help opens the guide; About shows its labels, then version, Qt and licence, without empty lines.
void TestDesktop::helpAndAbout() {
    Session s;
    s.files = ProgramFiles::besideExecutable(m_dir->path());
    TMainForm w(s);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.selectLanguage(2);
    QMenu* help = w.menuBar()->actions().last()->menu<QMenu*>();
    QStringList seen;
    for (int item : {0, 1}) {
        QTimer::singleShot(0, this, [&seen] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal) return;
            QStringList texts{modal->objectName()};
            for (QTextBrowser* b : modal->findChildren<QTextBrowser*>())
                texts << b->toPlainText();
            for (QLabel* l : modal->findChildren<QLabel*>())
                if (l->isVisible()) texts << l->text();
            seen << texts.join(QLatin1Char('|'));
            modal->close();
        });
        help->actions().at(item)->trigger();
    }
    QCOMPARE(seen.size(), 2);
    QVERIFY(seen.at(0).startsWith(QStringLiteral("UserGuide|")) &&
            seen.at(0).contains(QStringLiteral("dialout")));
    QVERIFY(seen.at(0).contains(s.lang.text(11) + QStringLiteral(" > ") + s.lang.text(22))); // as the menu
    // Each system's own way to the cable: no Linux group on Windows, no Device Manager on Linux.
    for (int language = 1; language <= 3; ++language) {
        const QString forLinux = builtInGuide(language, false), forWindows = builtInGuide(language, true);
        QVERIFY(forLinux.contains(QStringLiteral("dialout")) && !forLinux.contains(QStringLiteral("COM17")));
        QVERIFY(!forWindows.contains(QStringLiteral("dialout")) &&
                forWindows.contains(QStringLiteral("COM17")));
    }
    QVERIFY(seen.at(1).contains(QString::fromLatin1(qVersion())) &&
            seen.at(1).contains(QStringLiteral("Licence")));
    QVERIFY(!seen.at(1).contains(QStringLiteral("||")));
    // The radio software's four labels, then the build's version on a line of its own.
    QVERIFY(seen.at(1).contains(
        s.lang.text(Str::AboutVersion).arg(QStringLiteral(KT520_TEST_VERSION), qVersion())));
    for (const QString& label :
         {s.lang.text(3) + QStringLiteral("7"), s.lang.text(4), s.lang.text(5), s.lang.text(6)})
        QVERIFY2(seen.at(1).contains(label), qPrintable(label));

    // Every option and every channel column explains itself in the current language.
    QStringList without;
    for (QWidget* c : w.funcWindow()->findChildren<QWidget*>())
        if ((qobject_cast<QCheckBox*>(c) || qobject_cast<QComboBox*>(c) || qobject_cast<QLineEdit*>(c)) &&
            c->objectName().contains(QRegularExpression(QStringLiteral("^(CheckBox|ComboBox|Edit)\\d+$"))) &&
            c->toolTip().isEmpty())
            without << c->objectName();
    // The in-place editors of the FM and call lists are cells, not options.
    without.removeAll(QStringLiteral("Edit12"));
    without.removeAll(QStringLiteral("Edit18"));
    QVERIFY2(without.isEmpty(), qPrintable(without.join(QLatin1Char(' '))));
    QCOMPARE(s.lang.text(Str::TipColBandwidth).left(9), QStringLiteral("Channel b"));
}

// At 1366x768 in English: the options window beside table A, and after maximise and restore no
// wider than the work area.
void TestDesktop::optionsRestoreInsideArea() {
    Session s;
    s.files = ProgramFiles::besideExecutable(m_dir->path());
    TMainForm w(s);
    w.setGeometry(0, 0, 1366, 768);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.selectLanguage(2);
    QMdiSubWindow* f = w.frameOf(w.funcWindow());
    QMdiSubWindow* a = w.frameOf(w.channelA());
    QTRY_VERIFY(!f->geometry().intersects(a->geometry()));
    const QRect area = f->mdiArea()->viewport()->rect();
    QVERIFY(area.contains(f->geometry()));
    f->showMaximized();
    f->showNormal();
    QVERIFY(f->width() <= area.width());
    QVERIFY(area.contains(f->geometry()));
}

// A write that stopped names its first reason when the document holds a value the radio cannot
// take; otherwise it only says it did not complete.
void TestDesktop::transferOutcome() {
    const auto session = freshDocument(2);
    Session& s = *session;
    auto stopped = [&s](bool cancelled) {
        return ::transferOutcome(s, TransferMode::Write, false, cancelled);
    };
    QCOMPARE(stopped(false), s.lang.text(Str::StatusWriteIncomplete));
    s.doc.tableA.setCell(Col::RxFreq, 4, QStringLiteral("4x8.5"));
    s.doc.tableA.newChannelDefaults(4, s.doc.words);
    const QString refused = stopped(false);
    QVERIFY2(refused.startsWith(s.lang.text(Str::StatusWriteRefused).arg(QString())) &&
                 refused.contains(u"4x8.5"),
             qPrintable(refused));
    QCOMPARE(stopped(true), s.lang.text(Str::TransferCancelled));
}

QTEST_MAIN(TestDesktop)
#include "test_desktop.moc"
