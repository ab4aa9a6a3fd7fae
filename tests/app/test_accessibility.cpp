// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/editcommands.h"
#include "app/mainwindow.h"
#include "app/problemspanel.h"
#include "core/base/messages.h"
#include "core/codeplug/document.h"
#include "core/codeplug/session.h"
#include "core/transfer/writeprocedure.h"
#include "tests/common/languagefiles.h"
#include "ui/channels/channelwindow.h"
#include "ui/options/funcwindow.h"
#include "ui/transfer/rwform.h"
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

namespace {
// What a user operates: buttons and check boxes, fields, spin boxes, lists and tables; not the
// parts Qt builds inside them.
bool operated(const QWidget* w) {
    if (w->objectName().startsWith(u"qt_") || qobject_cast<const QScrollBar*>(w)) return false;
    for (const QWidget* p = w->parentWidget(); p; p = p->parentWidget())
        if (qobject_cast<const QComboBox*>(p) || qobject_cast<const QAbstractSpinBox*>(p)) return false;
    if (qobject_cast<const QAbstractItemView*>(w->parentWidget())) return false;
    return qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QLineEdit*>(w) ||
           qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QComboBox*>(w) ||
           qobject_cast<const QAbstractItemView*>(w) || qobject_cast<const QPlainTextEdit*>(w);
}

QStringList nameless(QWidget* window) {
    QStringList out;
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets.prepend(window);
    for (QWidget* w : widgets) {
        if (!operated(w)) continue;
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w);
        const QString name = face ? face->text(QAccessible::Name).trimmed() : QString();
        // Screen readers on Linux name a combo box by its label (Qt gives its current item as its
        // name there); elsewhere by the accessible name.
        bool labelled = false;
        if (face)
            for (const auto& [label, relation] : face->relations(QAccessible::Label))
                labelled = labelled || !label->text(QAccessible::Name).trimmed().isEmpty();
        auto* combo = qobject_cast<QComboBox*>(w);
        if (name.isEmpty() || (combo && !labelled && combo->accessibleName().isEmpty()))
            out << QStringLiteral("%1 %2 (%3)")
                       .arg(w->window()->objectName(), w->objectName(), w->metaObject()->className());
    }
    return out;
}

// The letter after the access mark, or nothing.
QChar accessLetter(const QString& text) {
    const qsizetype at = text.indexOf(u'&');
    return at >= 0 && at + 1 < text.size() ? text.at(at + 1).toUpper() : QChar();
}
} // namespace

class TestAccessibility : public QObject {
    Q_OBJECT
private slots:
    void init();
    void everyControlHasAName_data();
    void everyControlHasAName();
    void everyMenuItemHasAnAccessLetter_data();
    void everyMenuItemHasAnAccessLetter();
    void editMenuActsOnTheChannelTable();
    void rightClickMovesTheCurrentCell();
    void problemsFollowEditsOnce();
    void problemLeadsToItsCell();
    void writeShowsTheProblemsFirst();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Session> m_session;
    std::unique_ptr<TMainForm> m_window;
    TMainForm& started(int language);
};

void TestAccessibility::init() {
    m_window.reset();
    m_session.reset();
    m_dir = std::make_unique<QTemporaryDir>();
    copyLanguageFiles(m_dir->path());
    QFile ini(m_dir->filePath(QStringLiteral("sysini.ini")));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write(
        "[Open]\r\nlang=1\r\n[list0]\r\ncom0bo0=136-174MHz\r\ncom0bo1=220-260MHz\r\ncom0bo2=400-470MHz\r\n"
        "list0now=2\r\n");
}

TMainForm& TestAccessibility::started(int language) {
    m_session = std::make_unique<Session>();
    m_session->files = ProgramFiles::besideExecutable(m_dir->path());
    m_window = std::make_unique<TMainForm>(*m_session);
    m_window->askUnsaved = [] { return UnsavedAnswer::Discard; };
    m_window->showMaximized();
    if (!QTest::qWaitForWindowExposed(m_window.get())) qFatal("the main window is not shown");
    m_window->selectLanguage(language);
    return *m_window;
}

void TestAccessibility::everyControlHasAName_data() {
    addLanguageRows();
}

// Every window, shown or not, with the service controls of the read/write dialog.
void TestAccessibility::everyControlHasAName() {
    QFETCH(int, language);
    TMainForm& w = started(language == 1 ? 2 : 1);
    w.setServiceMode(true);
    w.selectLanguage(language); // names follow a switch, not only the first showing
    QStringList missing;
    for (QWidget* window : w.windowsInOrder())
        missing << nameless(window);
    missing.removeDuplicates();
    QCOMPARE(missing, QStringList());
    // A field's name is its caption in the current language, and an arrow says what it steps.
    auto* range = w.rwForm()->findChild<QLineEdit*>(QStringLiteral("Edit1"));
    QVERIFY(range);
    const QString rangeName = QAccessible::queryAccessibleInterface(range)->text(QAccessible::Name);
    QVERIFY(!rangeName.isEmpty());
    for (auto* arrow : w.rwForm()->findChildren<QToolButton*>())
        if (arrow->arrowType() != Qt::NoArrow)
            QVERIFY(
                QAccessible::queryAccessibleInterface(arrow)->text(QAccessible::Name).startsWith(rangeName));
}

void TestAccessibility::everyMenuItemHasAnAccessLetter_data() {
    everyControlHasAName_data();
}

void TestAccessibility::everyMenuItemHasAnAccessLetter() {
    QFETCH(int, language);
    TMainForm& w = started(language);
    // An undo step renames the undo item after the letters were given.
    m_session->doc.tableA.setCell(Col::Name, 4, QStringLiteral("X"));
    QTRY_VERIFY(w.editCommands()->undoAction()->isEnabled());
    QStringList faults;
    QString barLetters;
    std::function<void(QMenu*)> walk = [&](QMenu* menu) {
        emit menu->aboutToShow();
        QString letters;
        for (QAction* a : menu->actions()) {
            if (a->isSeparator() || a->text().isEmpty()) continue;
            const QChar letter = accessLetter(a->text());
            if (letter.isNull() || letters.contains(letter)) faults << a->text();
            letters += letter;
            if (a->menu()) walk(a->menu());
        }
    };
    for (QAction* top : w.menuBar()->actions()) {
        const QChar letter = accessLetter(top->text());
        if (letter.isNull() || barLetters.contains(letter)) faults << top->text();
        barLetters += letter;
        walk(top->menu());
    }
    QCOMPARE(faults, QStringList());
}

// Cut, copy, paste, insert and delete channel of the Edit menu act on the table used last, at its
// current cell.
void TestAccessibility::editMenuActsOnTheChannelTable() {
    TMainForm& w = started(2);
    ChannelTable& b = m_session->doc.tableB;
    b.setCell(Col::RxFreq, 5, QStringLiteral("145.50000"));
    b.newChannelDefaults(5, m_session->doc.words);
    w.showChild(w.channelB());
    const QList<QAction*> commands = w.editCommands()->channelActions();
    QCOMPARE(commands.size(), 5);
    auto command = [&](int text) {
        for (QAction* a : commands)
            if (a->data().toInt() == text) return a;
        return static_cast<QAction*>(nullptr);
    };
    w.channelB()->goToCell(Col::Power, 5);
    command(Str::EditCopy)->trigger();
    w.channelB()->goToCell(Col::Power, 9);
    command(Str::EditPaste)->trigger();
    QCOMPARE(b.cell(Col::RxFreq, 9), QStringLiteral("145.50000"));
    command(Str::InsertChannel)->trigger();
    QCOMPARE(b.cell(Col::RxFreq, 10), QStringLiteral("145.50000"));
    QVERIFY(b.rowEmpty(9));
    w.channelB()->goToCell(Col::Power, 5);
    command(Str::DeleteChannel)->trigger();
    QVERIFY(b.rowEmpty(5));
    QVERIFY(m_session->doc.tableA.rowEmpty(5)); // table A was not the one in use
}

void TestAccessibility::rightClickMovesTheCurrentCell() {
    TMainForm& w = started(2);
    w.showChild(w.channelA());
    auto* grid = w.channelA()->findChild<QTableView*>();
    QVERIFY(grid);
    const QRect cell = grid->visualRect(grid->model()->index(7 - 1, Col::Power)); // table row 7
    QTimer::singleShot(50, [] {
        if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    });
    emit grid->customContextMenuRequested(cell.center());
    QCOMPARE(m_session->doc.currentRow, 7);
    QCOMPARE(m_session->doc.currentCol, int(Col::Power));
    QCOMPARE(grid->currentIndex().row(), 6);
}

// A burst of edits is looked at once, after the event loop's turn; the status bar shows the count.
void TestAccessibility::problemsFollowEditsOnce() {
    TMainForm& w = started(2);
    ProblemsPanel* panel = w.problemsPanel();
    QTRY_VERIFY(!panel->refreshPending());
    QSignalSpy refreshed(panel, &ProblemsPanel::refreshed);
    ChannelTable& a = m_session->doc.tableA;
    for (int row = 4; row < 24; ++row) {
        a.setCell(Col::RxFreq, row, QStringLiteral("438.50000"));
        a.newChannelDefaults(row, m_session->doc.words);
    }
    QVERIFY(panel->refreshPending());
    QTRY_COMPARE(refreshed.count(), 1);
    QTest::qWait(20);
    QCOMPARE(refreshed.count(), 1);
    // Channels 2-20 repeat channel 1.
    QCOMPARE(countProblems(panel->problems()).warnings, 19);
    QCOMPARE(panel->list()->topLevelItemCount(), 19);
    QCOMPARE(panel->countLabel()->text(), QStringLiteral("0 error(s), 19 warning(s)"));
    QVERIFY(w.statusBar()->isAncestorOf(panel->countLabel()));
    w.selectLanguage(1);
    QTRY_COMPARE(panel->countLabel()->text(), m_session->lang.text(Str::ProblemsStatus).arg(0).arg(19));
    QVERIFY(panel->problems().first().message.contains(m_session->lang.text(26)));
}

// Enter (or a double-click) on a problem brings its table forward with the cell current.
void TestAccessibility::problemLeadsToItsCell() {
    TMainForm& w = started(2);
    ChannelTable& b = m_session->doc.tableB;
    b.setCell(Col::RxFreq, 8, QStringLiteral("145.00000")); // outside band 400-470
    b.newChannelDefaults(8, m_session->doc.words);
    w.showChild(w.channelA());
    ProblemsPanel* panel = w.problemsPanel();
    panel->refreshNow();
    panel->show();
    QTreeWidget* list = panel->list();
    QCOMPARE(list->topLevelItemCount(), 2); // outside the selected band, and so its TX frequency
    list->setCurrentItem(list->topLevelItem(0));
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(w.frameOf(w.channelB()), w.findChild<QMdiArea*>()->activeSubWindow());
    QCOMPARE(m_session->doc.currentRow, 8);
    QCOMPARE(m_session->doc.currentCol, int(Col::RxFreq));
    // The editor open there is named after its cell.
    QCOMPARE(w.channelB()->findChild<QLineEdit*>(QStringLiteral("Edit1"))->accessibleName(),
             QStringLiteral("RX Freq 05"));
    // A field of the options: its tab comes to the front.
    m_session->doc.func.setChecked(Ctl::CheckBox35, true);
    m_session->doc.func.setText(Ctl::Edit20, {});
    panel->refreshNow();
    QCOMPARE(list->topLevelItemCount(), 3);
    list->setCurrentItem(list->topLevelItem(2));
    QTest::keyClick(list, Qt::Key_Return);
    auto* tabs = w.funcWindow()->findChild<QTabWidget*>();
    QVERIFY(tabs->currentWidget()->isAncestorOf(w.funcWindow()->findChild<QWidget*>(Ctl::Edit20)));
}

// The VFO frequency the panel names is the one the write's band check puts there, and the write
// shows the warnings left before it sends anything.
void TestAccessibility::writeShowsTheProblemsFirst() {
    TMainForm& w = started(2);
    ChannelTable& a = m_session->doc.tableA;
    for (int row : {2, 4, 5}) {
        // VFO row 2 (band 220-260) at 300 MHz; channel 2 repeats channel 1.
        a.setCell(Col::RxFreq, row, row == 2 ? QStringLiteral("300.00000") : QStringLiteral("438.50000"));
        a.newChannelDefaults(row, m_session->doc.words);
    }
    ProblemsPanel* panel = w.problemsPanel();
    panel->refreshNow();
    QCOMPARE(panel->problems().size(), 2);
    const QString vfo = panel->problems().first().message;
    (void)formShow(*m_session, TransferMode::Write);
    QVERIFY2(vfo.contains(u'"' + a.cell(Col::RxFreq, 2) + u'"'), qPrintable(vfo));

    QList<Problem> shown;
    panel->ask = [&](QWidget*, const QList<Problem>& problems) {
        shown = problems;
        return false;
    };
    w.rwForm()->prepareFor(TransferMode::Write, QStringLiteral("Write"), QStringLiteral("Write"));
    const QByteArray before = saveDocument(*m_session);
    w.rwForm()->Button1Click();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().row, 5);
    QVERIFY(!w.rwForm()->transferRunning());
    QCOMPARE(saveDocument(*m_session), before);
}

QTEST_MAIN(TestAccessibility)
#include "test_accessibility.moc"
