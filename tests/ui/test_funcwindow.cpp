// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/codeplug/applylanguage.h"
#include "core/codeplug/session.h"
#include "ui/options/funcgridswidgets.h"
#include "ui/options/funcwindow.h"
#include <QAbstractItemView>
#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabWidget>
#include <QtTest>
#include <memory>

class TestFuncWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void everyControlHasItsWidget();
    void keyRules_data();
    void keyRules();
    void typedNumberWarns();
    void storeAndWidgetsFollowEachOther();
    void upDownArrows();
    void calendarWritesDate();
    void fmEditor_data();
    void fmEditor();
    void fmKeyOnListStartsEditor();
    void callListEditor();
    void callListFromTheKeyboard();
    void focusedCellStaysInView();
    void deactivationSettles();
    void languageSwitch();
    void showControlBringsItIntoView();
    void pagesNeverScrollSideways_data();
    void pagesNeverScrollSideways();

private:
    ControlStore& f() { return m_s->doc.func; }
    template <typename T> T* child(const QString& name) {
        T* w = m_w->findChild<T*>(name);
        if (!w) qWarning("no widget %s", qPrintable(name));
        return w;
    }
    void clickCell(FuncGrid* grid, int col, int row) {
        const QRect r = grid->visualRect(grid->model()->index(row, col));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, r.center());
    }

    std::unique_ptr<Session> m_s;
    std::unique_ptr<Tfunc> m_w;
    QStringList m_warnings;
};

void TestFuncWindow::init() {
    m_s = std::make_unique<Session>();
    m_w = std::make_unique<Tfunc>(*m_s);
    m_warnings.clear();
    m_w->warn = [this](const QString&, const QString& text) { m_warnings << text; };
    m_w->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_w.get()));
}

void TestFuncWindow::cleanup() {
    m_w.reset();
    m_s.reset();
}

void TestFuncWindow::everyControlHasItsWidget() {
    for (const QString& name : f().names())
        QVERIFY2(m_w->findChild<QWidget*>(name), qPrintable(name));
    for (const char* name : {"Edit18", "Edit12", "MonthCalendar1"})
        QVERIFY2(m_w->findChild<QWidget*>(name), name);
    // Hidden controls are there but never shown.
    for (const char* name : {"GroupBox16", "Edit21", "UpDown15", "Edit25", "UpDown13"})
        QVERIFY2(!m_w->findChild<QWidget*>(name)->isVisibleTo(m_w.get()), name);
    QCOMPARE(m_w->tabs()->count(), 4);
    QCOMPARE(child<QComboBox>("ComboBox17")->count(), 8);
    QCOMPARE(child<QLineEdit>("Edit16")->maxLength(), 7);
    QCOMPARE(m_w->fmList()->rowCount(), 32); // the 32nd slot's row is carried, not shown
}

void TestFuncWindow::keyRules_data() {
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    QTest::newRow("DTMF individual ID") << "Edit9"
                                        << "ab*#e"
                                        << "AB*#";
    QTest::newRow("DTMF stun code") << "Edit11"
                                    << "1c D9x"
                                    << "1CD9";
    QTest::newRow("DTMF start code") << "Edit23"
                                     << "0123456789ABCDdd#"
                                     << "0123456789ABCDD"; // 15 at most
    QTest::newRow("digit code") << "Edit8"
                                << "12a*#"
                                << "12*#";
    QTest::newRow("password") << "Edit22"
                              << "12345678901234"
                              << "123456789012";
    QTest::newRow("password letters") << "Edit20"
                                      << "1a2*"
                                      << "12*";
    QTest::newRow("power-on text") << "Edit16"
                                   << "A|B c"
                                   << "AB c";
}

void TestFuncWindow::keyRules() {
    QFETCH(QString, edit);
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    auto* e = child<QLineEdit>(edit);
    QVERIFY(e);
    f().setText(edit, QString());
    e->setFocus();
    QTest::keyClicks(e, typed);
    QCOMPARE(e->text(), expected);
    QCOMPARE(f().text(edit), expected);
}

void TestFuncWindow::typedNumberWarns() {
    auto* e = child<QLineEdit>("Edit17");
    e->setFocus();
    e->selectAll();
    QTest::keyClicks(e, "4");
    QCOMPARE(f().position("UpDown11"), 4);
    QTest::keyClicks(e, "x");
    QCOMPARE(f().position("UpDown11"), 4);
    QCOMPARE(m_warnings.size(), 1);
    QVERIFY(m_warnings.first().contains("4x"));
}

void TestFuncWindow::storeAndWidgetsFollowEachOther() {
    auto* squelch = child<QComboBox>("ComboBox2");
    f().setIndex("ComboBox2", 7);
    QCOMPARE(squelch->currentIndex(), 7);

    auto* modeA = child<QComboBox>("ComboBox28");
    modeA->setCurrentIndex(0);
    emit modeA->activated(0); // as a user's pick
    QCOMPARE(f().index("ComboBox28"), 0);
    QCOMPARE(child<QComboBox>("ComboBox27")->currentIndex(), 0);
    QVERIFY(!child<QComboBox>("ComboBox27")->isEnabled());

    auto* reprogram = child<QCheckBox>("CheckBox19");
    QVERIFY(!child<QCheckBox>("CheckBox20")->isEnabled());
    reprogram->click();
    QVERIFY(f().checked("CheckBox19"));
    QVERIFY(child<QCheckBox>("CheckBox20")->isEnabled());

    f().setChecked("CheckBox34", true);
    QCOMPARE(child<QLineEdit>("Edit7")->text(), QString("123"));
    QCOMPARE(child<QLineEdit>("Edit7")->maxLength(), 5);
}

void TestFuncWindow::upDownArrows() {
    auto* arrows = child<QSpinBox>("UpDown1");
    f().setPosition("UpDown1", 5);
    arrows->stepDown();
    QCOMPARE(f().position("UpDown1"), 5);
    QCOMPARE(child<QLineEdit>("Edit1")->text(), QString("0") + systemDecimalPoint() + "5");
    f().setPosition("UpDown1", 25);
    arrows->stepUp();
    QCOMPARE(child<QLineEdit>("Edit1")->text(), QString("2") + systemDecimalPoint() + "5");

    auto* vhfLower = child<QSpinBox>("UpDown8");
    vhfLower->setValue(150);
    QCOMPARE(child<QLineEdit>("Edit14")->text(), QString("151"));
    QCOMPARE(child<QSpinBox>("UpDown9")->minimum(), 151);
    child<QSpinBox>("UpDown5")->stepUp();
    QCOMPARE(child<QLineEdit>("Edit5")->text(), QString("700")); // pre-carrier steps by 100 ms
}

void TestFuncWindow::calendarWritesDate() {
    auto* date = child<QLineEdit>("Edit32");
    QVERIFY(!m_w->calendar()->isVisible());
    QTest::mouseDClick(date, Qt::LeftButton);
    QVERIFY(m_w->calendar()->isVisible());
    QCOMPARE(m_w->calendar()->selectedDate(), QDate(2099, 10, 1));
    m_w->calendar()->setSelectedDate(QDate(2031, 2, 3));
    auto* view = m_w->calendar()->findChild<QAbstractItemView*>();
    QVERIFY(view);
    const QRect cell = view->visualRect(view->currentIndex());
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    QVERIFY(!m_w->calendar()->isVisible());
    QCOMPARE(f().text("Edit32"), QString("2031-02-03"));
    QCOMPARE(date->text(), QString("2031-02-03"));
    // Inside the window, and Escape closes it without choosing.
    QTest::mouseDClick(date, Qt::LeftButton);
    QVERIFY(m_w->rect().contains(m_w->calendar()->geometry()));
    m_w->calendar()->setSelectedDate(QDate(2040, 1, 1));
    m_w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_w.get()));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(!m_w->calendar()->isVisible());
    QCOMPARE(f().text("Edit32"), QString("2031-02-03"));
}

void TestFuncWindow::fmEditor_data() {
    const QString dp = systemDecimalPoint();
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("editor"); // Edit18 before Enter
    QTest::addColumn<QString>("stored");
    QTest::newRow("98.17") << "98" + dp + "17"
                           << "98" + dp + "17"
                           << "98" + dp + "150";
    QTest::newRow("98.13") << "98" + dp + "13"
                           << "98" + dp + "13"
                           << "98" + dp + "100";
    QTest::newRow("87.4") << "87" + dp + "4"
                          << "87" + dp + "4"
                          << "87" + dp + "500";
    QTest::newRow("separator after one digit") << "9" + dp + "9"
                                               << "99"
                                               << "99" + dp + "000";
    QTest::newRow("second separator") << "100" + dp + "1" + dp << "100" + dp + "1"
                                      << "100" + dp + "100";
    QTest::newRow("letters dropped") << "1x0a1"
                                     << "101"
                                     << "101" + dp + "000";
    QTest::newRow("cleared stays empty") << ""
                                         << ""
                                         << "";
}

void TestFuncWindow::fmEditor() {
    QFETCH(QString, typed);
    QFETCH(QString, editor);
    QFETCH(QString, stored);
    FmList* fm = m_w->fmList();
    f().setCell("StringGrid2", 1, 3, "100.000");
    clickCell(fm, 1, 3);
    QLineEdit* e = fm->editor();
    QVERIFY(e->isVisible());
    QCOMPARE(e->text(), QString("100.000"));
    QCOMPARE(fm->targetRow(), 3);
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Backspace);
    QTest::keyClicks(e, typed);
    QCOMPARE(e->text(), editor);
    QTest::keyClick(e, Qt::Key_Return);
    QVERIFY(!e->isVisible());
    QCOMPARE(f().cell("StringGrid2", 1, 3), stored);
    QCOMPARE(fm->targetCol(), 2);                       // no target until the next click
    QCOMPARE(f().cell("StringGrid2", 1, 4), QString()); // nothing else written
}

void TestFuncWindow::fmKeyOnListStartsEditor() {
    FmList* fm = m_w->fmList();
    f().setCell("StringGrid2", 1, 5, "100.000");
    clickCell(fm, 1, 5);
    QTest::keyClick(fm->editor(), Qt::Key_Return); // back on the list, no target
    fm->setFocus();
    QTest::keyClick(fm, Qt::Key_X); // a dropped key opens an empty editor, the cell stays
    QVERIFY(fm->editor()->isVisible());
    QCOMPARE(fm->editor()->text(), QString());
    QCOMPARE(f().cell("StringGrid2", 1, 5), QString("100.000"));
    fm->closeEditor();
    fm->setFocus();
    QTest::keyClick(fm, Qt::Key_9);
    QCOMPARE(fm->editor()->text(), QString("9"));
    QCOMPARE(fm->editor()->cursorPosition(), 1);
    QTest::keyClicks(fm->editor(), "5");
    QCOMPARE(f().cell("StringGrid2", 1, 5), QString("95") + systemDecimalPoint() + "000");
    // A click on a label cell edits nothing.
    clickCell(fm, 0, 6);
    QVERIFY(!fm->editor()->isVisible());
}

void TestFuncWindow::callListEditor() {
    CallList* calls = m_w->callList();
    m_w->tabs()->setCurrentIndex(2);
    clickCell(calls, 1, 4);
    QLineEdit* e = calls->editor();
    QVERIFY(e->isVisible());
    QTest::keyClicks(e, "1a|#");
    QCOMPARE(f().cell("StringGrid1", 1, 4), QString("1A#"));
    e->insert("2\n3"); // a pasted line break is refused whole
    QCOMPARE(e->text(), QString("1A#"));
    clickCell(calls, 0, 4); // label column: no editor
    QVERIFY(!e->isVisible());
}

// Tab reaches the list and leaves it; arrows move, typing starts a new code, F2 and Enter edit.
void TestFuncWindow::callListFromTheKeyboard() {
    m_w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_w.get()));
    m_w->tabs()->setCurrentIndex(2);
    CallList* calls = m_w->callList();
    QWidget* before = calls->previousInFocusChain();
    while (!(before->focusPolicy() & Qt::TabFocus) || !before->isVisible())
        before = before->previousInFocusChain();
    before->setFocus(Qt::TabFocusReason);
    QTest::keyClick(before, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), calls);
    QCOMPARE(calls->currentRow(), 1);
    QTest::keyClick(calls, Qt::Key_Down);
    QTest::keyClick(calls, Qt::Key_Down);
    QTest::keyClick(calls, '1');
    QLineEdit* e = calls->editor();
    QVERIFY(e->hasFocus()); // the keys after the first go to the editor
    QTest::keyClick(e, 'a');
    QCOMPARE(f().cell("StringGrid1", 1, 3), QString("1A"));
    QTest::keyClick(e, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), calls);
    for (Qt::Key key : {Qt::Key_F2, Qt::Key_Return}) {
        QTest::keyClick(calls, key);
        QVERIFY(e->hasFocus());
        QCOMPARE(e->text(), f().cell("StringGrid1", 1, 3)); // the code as it stands, to be changed
        QTest::keyClicks(e, "#");
        QTest::keyClick(e, Qt::Key_Escape);
    }
    QCOMPARE(f().cell("StringGrid1", 1, 3), QString("1A##"));
    QTest::keyClick(calls, Qt::Key_Tab);
    QVERIFY(QApplication::focusWidget() != calls && !calls->isAncestorOf(QApplication::focusWidget()));
}

// Arrows to the last FM slot in a small window: the page scrolls so that the cell shows.
void TestFuncWindow::focusedCellStaysInView() {
    m_w->resize(320, 260);
    m_w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_w.get()));
    FmList* fm = m_w->fmList();
    auto* page = qobject_cast<QScrollArea*>(m_w->tabs()->currentWidget());
    QVERIFY(page && page->isAncestorOf(fm));
    fm->setFocus(Qt::TabFocusReason);
    for (int i = 0; i < 40; ++i)
        QTest::keyClick(fm, Qt::Key_Down);
    const QRect cell = fm->visualRect(fm->currentIndex());
    const QRect shown(fm->viewport()->mapTo(page->viewport(), cell.topLeft()), cell.size());
    QVERIFY2(page->viewport()->rect().contains(shown), qPrintable(QString::number(shown.y())));
}

void TestFuncWindow::deactivationSettles() {
    f().setText("Edit1", "0.2");
    clickCell(m_w->fmList(), 1, 2);
    QVERIFY(m_w->fmList()->editor()->isVisible());
    m_w->deactivated();
    QCOMPARE(f().text("Edit1"), QString("0") + systemDecimalPoint() + "5");
    QCOMPARE(f().position("UpDown1"), 5);
    QVERIFY(!m_w->fmList()->editor()->isVisible());
}

void TestFuncWindow::languageSwitch() {
    f().setIndex("ComboBox16", 2);
    m_s->lang.index = 2;
    if (!applyLanguage(*m_s, Language::baseName(2))) QSKIP("no English language file beside the test");
    auto* type = child<QComboBox>("ComboBox16");
    QCOMPARE(type->itemText(0), m_s->lang.text(118));
    QCOMPARE(type->currentIndex(), 2);
    auto* write = child<QCheckBox>("CheckBox41");
    QVERIFY(write->text().startsWith(m_s->lang.text(54) + " "));
    QVERIFY(write->text().endsWith(m_s->lang.text(89)));
    QCOMPARE(m_w->tabs()->tabText(3), m_s->lang.text(85));
}

// A problem's field is shown to the user wherever it lies: its tab in front, its page scrolled.
void TestFuncWindow::showControlBringsItIntoView() {
    m_w->resize(320, 260);
    m_w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_w.get()));
    QVERIFY(!m_w->showControl(QStringLiteral("NoSuchControl")));
    for (const char* name : {"Edit20", "CheckBox29", "ComboBox14", "Edit28"}) {
        QVERIFY(m_w->showControl(QString::fromLatin1(name)));
        auto* field = child<QWidget>(QString::fromLatin1(name));
        auto* page = qobject_cast<QScrollArea*>(m_w->tabs()->currentWidget());
        QVERIFY2(page && page->isAncestorOf(field), name);
        const QRect shown(field->mapTo(page->viewport(), QPoint()), field->size());
        QVERIFY2(page->viewport()->rect().contains(shown), name);
        QVERIFY2(QApplication::focusWidget() == field, name);
    }
}

void TestFuncWindow::pagesNeverScrollSideways_data() {
    QTest::addColumn<int>("language");
    QTest::addColumn<QSize>("size");
    // The room the window has inside its frame: at 1024x768 beside the channel tables at
    // start-up, and maximised; at 1366x768 likewise.
    const std::pair<const char*, QSize> sizes[] = {{"1024 start-up", {312, 560}},
                                                   {"1024 maximised", {1016, 600}},
                                                   {"1366 start-up", {570, 560}},
                                                   {"1366 maximised", {1358, 600}}};
    for (int language : {1, 2, 3})
        for (const auto& [name, size] : sizes)
            QTest::addRow("%s, language %d", name, language) << language << size;
}

// The blocks of every page flow into the columns the width holds: the pages scroll up and down
// at most, never sideways.
void TestFuncWindow::pagesNeverScrollSideways() {
    QFETCH(int, language);
    QFETCH(QSize, size);
    m_s->lang.index = language;
    if (!applyLanguage(*m_s, Language::baseName(language))) QSKIP("no language files beside the test");
    m_w->resize(size);
    for (int t = 0; t < m_w->tabs()->count(); ++t) {
        m_w->tabs()->setCurrentIndex(t);
        auto* page = qobject_cast<QScrollArea*>(m_w->tabs()->currentWidget());
        QVERIFY(page);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QVERIFY2(page->widget()->width() <= page->viewport()->width(),
                 qPrintable(QStringLiteral("tab %1: %2 > %3")
                                .arg(t)
                                .arg(page->widget()->width())
                                .arg(page->viewport()->width())));
        QVERIFY2(!page->horizontalScrollBar()->isVisible(), qPrintable(QString::number(t)));
    }
    QCOMPARE(m_w->width(), size.width()); // the window takes the size it is given
}

QTEST_MAIN(TestFuncWindow)
#include "test_funcwindow.moc"
