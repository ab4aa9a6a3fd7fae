// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/base/messages.h"
#include "core/base/numbers.h"
#include "core/codeplug/session.h"
#include "ui/channels/channeleditorwidgets.h"
#include "ui/channels/channelgridwidgets.h"
#include "ui/channels/channelwindow.h"
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QtTest>

// The channel windows driven as a user drives them: mouse presses on the grid's cells, keys
// sent to whatever widget has the keyboard, presses on the buttons.
class TestChannelWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void typedFrequencyFillsNewChannel_data();
    void typedFrequencyFillsNewChannel();
    void separatorAfterTwoDigitsDropped();
    void tenChannelsByKeyboard();
    void clicksStepValues_data();
    void clicksStepValues();
    void keyMovesDoNotStep();
    void emptyRowIgnoresClicks_data();
    void emptyRowIgnoresClicks();
    void toneLeavingClearsCtcss_data();
    void toneLeavingClearsCtcss();
    void unlistedToneSaysSo_data();
    void unlistedToneSaysSo();
    void ctcssEditorClamps_data();
    void ctcssEditorClamps();
    void ctcssEditorOnlyBesideCtcssTone_data();
    void ctcssEditorOnlyBesideCtcssTone();
    void nameEditorRefuses_data();
    void nameEditorRefuses();
    void autoAdd_data();
    void autoAdd();
    void autoAddRepeats();
    void autoAddWithoutBandDoesNothing();
    void moveChannel_data();
    void moveChannel();
    void deleteAll_data();
    void deleteAll();
    void deleteAndBackspaceKeys();
    void badFrequencyWarns();
    void pendingEditCommitted();
    void deactivationCommits();
    void frameDeactivationCommits();
    void editorsSitOverTheirCell_data();
    void editorsSitOverTheirCell();
    void widenAndNarrow();
    void languageWordsFollow();
    void gridTypingOnlyInFrequencyColumns_data();
    void gridTypingOnlyInFrequencyColumns();
    void gridLayout_data();
    void gridLayout();

private:
    ChannelGrid* grid() const { return m_window->findChild<ChannelGrid*>(QStringLiteral("StringGrid1")); }
    template <class T> T* child(const char* name) const {
        return m_window->findChild<T*>(QString::fromLatin1(name));
    }
    ChannelTable& table() const { return m_window->table(); }
    QString cell(int col, int row) const { return table().cell(col, row); }
    void makeWindow(Side side);
    void useRow(int row, const QString& rx = QStringLiteral("438.50000"));
    void click(int col, int row);
    void key(int key);
    void type(const QString& text);
    void pressButton(const char* name);

    std::unique_ptr<Session> m_session;
    std::unique_ptr<ChannelWindow> m_window;
    QStringList m_messages;
    QMessageBox::StandardButton m_answer = QMessageBox::No;
    ValueWords w = ValueWords::simplifiedChinese();
};

Q_DECLARE_METATYPE(Side)

void TestChannelWindow::makeWindow(Side side) {
    m_window.reset();
    m_window = side == Side::A ? std::unique_ptr<ChannelWindow>(new Tchannela(*m_session))
                               : std::unique_ptr<ChannelWindow>(new Tchannelb(*m_session));
    m_window->messageBox = [this](QWidget*, QMessageBox::Icon, const QString& caption, const QString& text,
                                  QMessageBox::StandardButtons) {
        m_messages << caption + QLatin1Char('|') + text;
        return m_answer;
    };
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void TestChannelWindow::init() {
    m_session = std::make_unique<Session>();
    m_session->doc.words = w;
    m_session->doc.main.setItems(MainCtl::Band1, {QStringLiteral("400-470MHz")});
    m_session->doc.main.setIndex(MainCtl::Band1, 0);
    m_messages.clear();
    m_answer = QMessageBox::No;
    makeWindow(Side::A);
}

void TestChannelWindow::cleanup() {
    m_window.reset();
    m_session.reset();
}

void TestChannelWindow::useRow(int row, const QString& rx) {
    table().setCell(Col::RxFreq, row, rx);
    table().newChannelDefaults(row, w);
}

void TestChannelWindow::click(int col, int row) {
    grid()->scrollTo(grid()->cellIndex(col, row));
    QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, grid()->cellRect(col, row).center());
}

void TestChannelWindow::key(int k) {
    QWidget* target = QApplication::focusWidget();
    QVERIFY(target);
    QTest::keyClick(target, Qt::Key(k));
}

void TestChannelWindow::type(const QString& text) {
    for (QChar c : text) {
        QWidget* target = QApplication::focusWidget();
        QVERIFY(target);
        // The separator the user types is the system's.
        const QChar typed = c == QChar('.') ? systemDecimalPoint() : c;
        QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(typed), Qt::NoModifier);
    }
}

void TestChannelWindow::pressButton(const char* name) {
    auto* b = child<QPushButton>(name);
    QTest::mousePress(b, Qt::LeftButton);
    QTest::mouseRelease(b, Qt::LeftButton);
}

static QString dp(const char* text) {
    return QString::fromLatin1(text).replace(QChar('.'), systemDecimalPoint());
}

void TestChannelWindow::typedFrequencyFillsNewChannel_data() {
    QTest::addColumn<Side>("side");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("rx");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("clamped"); // the status line hears of it
    QTest::newRow("A") << Side::A << "438.5" << dp("438.50000") << "NameA01" << false;
    QTest::newRow("B raster") << Side::B << "438.501" << dp("438.50500") << "NameB01" << false;
    QTest::newRow("dot dropped, then taken") << Side::A << "43.8.5" << dp("438.50000") << "NameA01" << false;
    QTest::newRow("clamped high") << Side::A << "999" << dp("550.00000") << "NameA01" << true;
    QTest::newRow("clamped low") << Side::B << "12" << dp("100.00000") << "NameB01" << true;
}

void TestChannelWindow::typedFrequencyFillsNewChannel() {
    QFETCH(Side, side);
    QFETCH(QString, typed);
    QFETCH(QString, rx);
    QFETCH(QString, name);
    QFETCH(bool, clamped);
    makeWindow(side);
    QSignalSpy status(m_window.get(), &ChannelWindow::statusMessage);
    click(Col::RxFreq, 4);
    auto* edit1 = child<QLineEdit>("Edit1");
    QVERIFY(edit1->isVisible());
    type(typed);
    QCOMPARE(QApplication::focusWidget(), edit1);
    key(Qt::Key_Return);
    QVERIFY(!edit1->isVisible());
    QCOMPARE(QApplication::focusWidget(), grid());
    const QStringList expected = {rx,    w.off, rx,    w.off, w.high, w.wide, w.on,  w.off, w.on,
                                  w.off, w.off, w.off, w.off, name,   w.off,  w.off, w.off, QString()};
    QStringList cells;
    for (int c = 1; c < ChannelTable::Columns; ++c)
        cells << cell(c, 4);
    QCOMPARE(cells, expected);
    QCOMPARE(status.size(), clamped ? 1 : 0);
    if (clamped)
        QCOMPARE(status.at(0).at(0).toString(), m_session->lang.text(Str::FrequencyClampedOutsideBand)
                                                    .arg(typed, rx, QStringLiteral("400-470MHz")));
}

void TestChannelWindow::separatorAfterTwoDigitsDropped() {
    click(Col::RxFreq, 6);
    type(QStringLiteral("43."));
    QCOMPARE(child<QLineEdit>("Edit1")->text(), QStringLiteral("43"));
    QCOMPARE(cell(Col::RxFreq, 6), QStringLiteral("43"));
}

// A dealer's keyboard round: digits, Enter, Down, ten times; Up/Down from inside the editor
// commits too.
void TestChannelWindow::tenChannelsByKeyboard() {
    click(Col::RxFreq, 4);
    for (int i = 0; i < 10; ++i) {
        type(QStringLiteral("43%1.1").arg(i));
        if (i % 2) key(Qt::Key_Return);
        key(Qt::Key_Down);
    }
    for (int i = 0; i < 10; ++i) {
        QCOMPARE(cell(Col::RxFreq, 4 + i), dp("43%1.10000").arg(i));
        QCOMPARE(cell(Col::Power, 4 + i), w.high);
    }
    QCOMPARE(m_session->doc.currentRow, 14);
    QVERIFY(table().rowEmpty(14));
}

void TestChannelWindow::clicksStepValues_data() {
    QTest::addColumn<int>("col");
    QTest::addColumn<QStringList>("after");
    QTest::newRow("power") << 5 << QStringList{w.mid, w.low, w.high};
    QTest::newRow("bandwidth") << 6 << QStringList{w.narrow, w.wide, w.narrow};
    QTest::newRow("option 7 starts on") << 7 << QStringList{w.off, w.on, w.off};
    QTest::newRow("talkaround starts off") << 17 << QStringList{w.on, w.off, w.on};
}

void TestChannelWindow::clicksStepValues() {
    QFETCH(int, col);
    QFETCH(QStringList, after);
    useRow(5);
    for (const QString& value : after) {
        click(col, 5);
        QCOMPARE(cell(col, 5), value);
    }
}

void TestChannelWindow::keyMovesDoNotStep() {
    useRow(5);
    useRow(6);
    click(Col::TxFreq, 5);
    key(Qt::Key_Right); // tone column
    key(Qt::Key_Right); // power: a move by key never steps
    QCOMPARE(m_session->doc.currentCol, int(Col::Power));
    QCOMPARE(cell(Col::Power, 5), w.high);
    key(Qt::Key_Down);
    QCOMPARE(cell(Col::Power, 6), w.high);
    QVERIFY(m_window->toggleSuppressed());
    // The first click after the arrow keys only clears the suppression; the next one steps.
    click(Col::Power, 6);
    QCOMPARE(cell(Col::Power, 6), w.high);
    QVERIFY(!m_window->toggleSuppressed());
    click(Col::Power, 6);
    QCOMPARE(cell(Col::Power, 6), w.mid);
    // A turn of the wheel in a value column swallows the next click the same way.
    QWheelEvent wheel(QPointF(50, 50), grid()->viewport()->mapToGlobal(QPointF(50, 50)), {}, {0, -120},
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(grid()->viewport(), &wheel);
    QVERIFY(m_window->toggleSuppressed());
    click(Col::Power, 6);
    QCOMPARE(cell(Col::Power, 6), w.mid);
    click(Col::Power, 6);
    QCOMPARE(cell(Col::Power, 6), w.low);
}

void TestChannelWindow::emptyRowIgnoresClicks_data() {
    QTest::addColumn<int>("col");
    for (int c = 2; c < ChannelTable::Columns; ++c)
        QTest::newRow(qPrintable(QStringLiteral("column %1").arg(c))) << c;
}

void TestChannelWindow::emptyRowIgnoresClicks() {
    QFETCH(int, col);
    click(col, 10);
    QVERIFY(table().rowEmpty(10));
    for (const char* name : {"Edit1", "Edit2", "Edit3", "ComboBox1", "ComboBox2"})
        QVERIFY2(!child<QWidget>(name)->isVisible(), name);
    QCOMPARE(m_session->doc.currentCol, col);
    QCOMPARE(m_session->doc.currentRow, 10);
}

void TestChannelWindow::toneLeavingClearsCtcss_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("tone");
    QTest::addColumn<QString>("ctcss");
    QTest::addColumn<bool>("otherWindow"); // left by another program taking the activation
    QTest::newRow("DCS code") << "d023n"
                              << "D023N"
                              << "" << false;
    QTest::newRow("inverted DCS") << "D754I"
                                  << "D754I"
                                  << "" << false;
    QTest::newRow("standard tone keeps it") << "88.5"
                                            << "88.5"
                                            << "100.0" << false;
    QTest::newRow("250.3 clears it") << "250.3"
                                     << "250.3"
                                     << "" << false;
    QTest::newRow("partly typed shows OFF, keeps it") << "88." << w.off << "100.0" << false;
    QTest::newRow("DCS code, other window") << "D023N"
                                            << "D023N"
                                            << "" << true;
    QTest::newRow("standard tone, other window") << "88.5"
                                                 << "88.5"
                                                 << "100.0" << true;
}

void TestChannelWindow::toneLeavingClearsCtcss() {
    QFETCH(QString, typed);
    QFETCH(QString, tone);
    QFETCH(QString, ctcss);
    QFETCH(bool, otherWindow);
    useRow(7);
    table().setCell(Col::TxTone, 7, QStringLiteral("67.0"));
    table().setCell(Col::CtcssFreq, 7, QStringLiteral("100.0"));
    click(Col::TxTone, 7);
    auto* combo = child<ToneCombo>("ComboBox1");
    QVERIFY(combo->isVisible());
    QCOMPARE(combo->currentText(), QStringLiteral("67.0"));
    QTest::mouseClick(combo->lineEdit(), Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), combo);
    key(Qt::Key_End);
    for (int i = 0; i < 6; ++i)
        key(Qt::Key_Backspace); // down to OFF, which the next character replaces
    QCOMPARE(cell(Col::TxTone, 7), w.off);
    for (QChar c : typed)
        QTest::sendKeyEvent(QTest::Click, combo, Qt::Key_unknown, QString(c), Qt::NoModifier);
    QCOMPARE(cell(Col::TxTone, 7), tone);
    QWidget other;
    if (otherWindow) {
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
    } else {
        click(Col::RxFreq, 7); // leaving the combo
    }
    QVERIFY(!combo->isVisible());
    QCOMPARE(cell(Col::CtcssFreq, 7), ctcss);
}

void TestChannelWindow::unlistedToneSaysSo_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("leaveBy");
    QTest::addColumn<bool>("told");
    QTest::newRow("99.9, Enter") << "99.9"
                                 << "enter" << true;
    QTest::newRow("99.9, click elsewhere") << "99.9"
                                           << "click" << true;
    QTest::newRow("listed tone") << "88.5"
                                 << "enter" << false;
    QTest::newRow("nothing typed") << ""
                                   << "click" << false;
}

// A typed tone the list lacks never reaches the cell (it holds OFF, as it did while the tone
// was being typed), and the status line says so.
void TestChannelWindow::unlistedToneSaysSo() {
    QFETCH(QString, typed);
    QFETCH(QString, leaveBy);
    QFETCH(bool, told);
    QStringList notes;
    connect(m_window.get(), &ChannelWindow::statusMessage, this, [&notes](const QString& t) { notes << t; });
    useRow(7);
    table().setCell(Col::RxTone, 7, QStringLiteral("67.0"));
    click(Col::RxTone, 7);
    auto* combo = child<ToneCombo>("ComboBox1");
    for (QChar c : typed)
        QTest::sendKeyEvent(QTest::Click, combo, Qt::Key_unknown, QString(c), Qt::NoModifier);
    if (leaveBy == u"enter")
        key(Qt::Key_Return);
    else
        click(Col::RxFreq, 7);
    QVERIFY(!combo->isVisible());
    const QString kept = typed.isEmpty() ? QStringLiteral("67.0") : told ? w.off : typed;
    QCOMPARE(cell(Col::RxTone, 7), kept);
    QCOMPARE(notes,
             told ? QStringList{m_session->lang.text(Str::ToneNotInList).arg(typed, kept)} : QStringList());
}

void TestChannelWindow::ctcssEditorClamps_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("leaveBy");
    QTest::newRow("300") << "300" << dp("255.0") << "enter";
    QTest::newRow("50") << "50" << dp("55.0") << "click";
    QTest::newRow("in range") << "123.4" << dp("123.4") << "enter";
    QTest::newRow("letters dropped") << "1a2b0" << dp("120.0") << "click";
    // Another program taking the activation hides the editor without a focus change inside the
    // window: the field is still left, and the cell must not keep the raw "300".
    QTest::newRow("300, other window") << "300" << dp("255.0") << "other window";
    QTest::newRow("5, other window") << "5" << dp("55.0") << "other window";
}

void TestChannelWindow::ctcssEditorClamps() {
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QFETCH(QString, leaveBy);
    useRow(8);
    table().setCell(Col::TxTone, 8, QStringLiteral("88.5"));
    click(Col::CtcssFreq, 8);
    auto* edit3 = child<QLineEdit>("Edit3");
    QCOMPARE(QApplication::focusWidget(), edit3);
    type(typed);
    QWidget other;
    if (leaveBy == QLatin1String("enter")) {
        key(Qt::Key_Return);
    } else if (leaveBy == QLatin1String("click")) {
        click(Col::Name, 9);
    } else {
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QVERIFY(!edit3->isVisible());
    }
    QCOMPARE(cell(Col::CtcssFreq, 8), stored);
    QVERIFY(table().rowEmpty(9));
}

void TestChannelWindow::ctcssEditorOnlyBesideCtcssTone_data() {
    QTest::addColumn<QString>("txTone");
    QTest::addColumn<bool>("opens");
    QTest::newRow("CTCSS tone") << "88.5" << true;
    QTest::newRow("no tone") << "" << true;
    QTest::newRow("DCS") << "D023N" << false;
    QTest::newRow("OFF") << w.off << false;
}

void TestChannelWindow::ctcssEditorOnlyBesideCtcssTone() {
    QFETCH(QString, txTone);
    QFETCH(bool, opens);
    useRow(8);
    table().setCell(Col::TxTone, 8, txTone);
    click(Col::CtcssFreq, 8);
    QCOMPARE(child<QLineEdit>("Edit3")->isVisible(), opens);
}

void TestChannelWindow::nameEditorRefuses_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("name");
    QTest::newRow("bar") << "a|b"
                         << ""
                         << "ab";
    QTest::newRow("Chinese and accents") << u"中é1"_qs << ""
                                         << "1";
    QTest::newRow("pasted text filtered") << "" << u"x|y中z\t"_qs << "xyz";
    QTest::newRow("seven characters") << "ABCDEFGHI"
                                      << ""
                                      << "ABCDEFG";
}

void TestChannelWindow::nameEditorRefuses() {
    QFETCH(QString, typed);
    QFETCH(QString, pasted);
    QFETCH(QString, name);
    useRow(4);
    click(Col::Name, 4);
    auto* edit2 = child<QLineEdit>("Edit2");
    QCOMPARE(QApplication::focusWidget(), edit2);
    QCOMPARE(edit2->text(), QStringLiteral("NameA01"));
    edit2->selectAll();
    key(Qt::Key_Backspace);
    type(typed);
    if (!pasted.isEmpty()) {
        QApplication::clipboard()->setText(pasted);
        QTest::keyClick(edit2, Qt::Key_V, Qt::ControlModifier);
    }
    QCOMPARE(edit2->text(), name);
    QCOMPARE(cell(Col::Name, 4), name);
}

void TestChannelWindow::autoAdd_data() {
    QTest::addColumn<Side>("side");
    QTest::addColumn<int>("step");
    QTest::addColumn<QString>("rx"); // RX of the current row 10; empty: the row is empty
    QTest::addColumn<int>("filledRow");
    QTest::addColumn<QString>("filled");
    QTest::newRow("empty row takes the lower limit") << Side::A << 5 << "" << 10 << dp("400.00000");
    QTest::newRow("wraps at the upper limit") << Side::A << 0 << "470.00000" << 11 << dp("400.00000");
    QTest::newRow("2.5KHz on A") << Side::A << 0 << "438.50000" << 11 << dp("438.50250");
    QTest::newRow("2.5KHz on B's raster") << Side::B << 0 << "438.50000" << 11 << dp("438.50500");
    QTest::newRow("6.25KHz") << Side::B << 2 << "438.50000" << 11 << dp("438.50625");
    QTest::newRow("25KHz adds, never repeats") << Side::A << 5 << "438.50000" << 11 << dp("438.52500");
}

void TestChannelWindow::autoAdd() {
    QFETCH(Side, side);
    QFETCH(int, step);
    QFETCH(QString, rx);
    QFETCH(int, filledRow);
    QFETCH(QString, filled);
    makeWindow(side);
    m_session->doc.func.setIndex(QStringLiteral("ComboBox10"), step);
    if (!rx.isEmpty()) {
        useRow(10, dp(qPrintable(rx)));
        table().setCell(Col::Name, 11, QStringLiteral("Old")); // overwritten whatever it held
    }
    click(Col::RxFreq, 10);
    pressButton("Button1");
    QCOMPARE(cell(Col::RxFreq, filledRow), filled);
    QCOMPARE(cell(Col::TxFreq, filledRow), filled);
    QCOMPARE(cell(Col::Power, filledRow), w.high);
    QCOMPARE(cell(Col::Name, filledRow), table().defaultName(filledRow));
    QCOMPARE(m_session->doc.currentRow, filledRow);
    QCOMPARE(child<QLineEdit>("Edit1")->text(), filled);
    QVERIFY(table().rowEmpty(filledRow + 1));
    QVERIFY(!child<QTimer>("Timer1")->isActive());
}

// Holding the button: a first repeat after a second, then one channel every 200 ms.
void TestChannelWindow::autoAddRepeats() {
    m_session->doc.func.setIndex(QStringLiteral("ComboBox10"), 4);
    useRow(100, QStringLiteral("438.50000"));
    click(Col::Power, 100);
    QCOMPARE(cell(Col::Power, 100), w.mid);
    auto* timer = child<QTimer>("Timer1");
    auto* button = child<QPushButton>("Button1");
    QTest::mousePress(button, Qt::LeftButton);
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 1000);
    QCOMPARE(cell(Col::RxFreq, 101), dp("438.51250"));
    QVERIFY(QMetaObject::invokeMethod(timer, "timeout"));
    QCOMPARE(timer->interval(), 200);
    QCOMPARE(cell(Col::RxFreq, 102), dp("438.52500"));
    QVERIFY(QMetaObject::invokeMethod(timer, "timeout")); // at the last row: nothing
    QCOMPARE(m_session->doc.currentRow, 102);
    QTest::mouseRelease(button, Qt::LeftButton);
    QVERIFY(!timer->isActive());
    // Selecting the new rows' power cells did not step them.
    QCOMPARE(cell(Col::Power, 101), w.high);
    QCOMPARE(cell(Col::Power, 102), w.high);
}

void TestChannelWindow::autoAddWithoutBandDoesNothing() {
    m_session->doc.main.setItems(MainCtl::Band1, {QStringLiteral("Band one")});
    click(Col::RxFreq, 10);
    pressButton("Button1");
    QVERIFY(table().rowEmpty(10));
    QVERIFY(m_messages.isEmpty());
}

void TestChannelWindow::moveChannel_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("rowAfter");
    QTest::newRow("channel 98 down") << 101 << "Button4" << 102;
    QTest::newRow("channel 99 down") << 102 << "Button4" << 102;
    QTest::newRow("channel 1 up") << 4 << "Button3" << 4;
    QTest::newRow("channel 2 up") << 5 << "Button3" << 4;
    QTest::newRow("VFO row down") << 3 << "Button4" << 3;
    QTest::newRow("channel 1 down") << 4 << "Button4" << 5;
}

void TestChannelWindow::moveChannel() {
    QFETCH(int, row);
    QFETCH(QString, button);
    QFETCH(int, rowAfter);
    for (int r : {3, 4, 5, 101, 102})
        useRow(r, QStringLiteral("4%1.00000").arg(r % 100, 2, 10, QChar('0')));
    const QString moved = cell(Col::RxFreq, row);
    const QString name = cell(Col::Name, row);
    const QString other = cell(Col::RxFreq, rowAfter);
    click(Col::RxFreq, row);
    pressButton(qPrintable(button));
    QCOMPARE(m_session->doc.currentRow, rowAfter);
    QCOMPARE(cell(Col::RxFreq, rowAfter), moved);
    QCOMPARE(cell(Col::Name, rowAfter), name);
    QCOMPARE(cell(Col::RxFreq, row), other);
    // The frequency editor and the highlight travel with the channel.
    QCOMPARE(child<QLineEdit>("Edit1")->geometry(), grid()->cellRect(Col::RxFreq, rowAfter));
    QCOMPARE(grid()->currentCell(), QPoint(Col::RxFreq, rowAfter));
}

void TestChannelWindow::deleteAll_data() {
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<bool>("emptied");
    QTest::newRow("No") << QMessageBox::No << false;
    QTest::newRow("Yes") << QMessageBox::Yes << true;
}

void TestChannelWindow::deleteAll() {
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(bool, emptied);
    useRow(1);
    useRow(50);
    click(Col::RxFreq, 60);
    type(QStringLiteral("145")); // a channel being typed is committed, not left to the answer
    m_answer = answer;
    pressButton("Button2");
    QVERIFY(!m_window->frequencyEditorVisible());
    QCOMPARE(table().rowEmpty(60), emptied);
    QCOMPARE(m_messages, QStringList{m_session->lang.text(Str::DeleteAllCaption) + QLatin1Char('|') +
                                     m_session->lang.text(Str::DeleteAllQuestion).arg(QStringLiteral("A"))});
    QCOMPARE(table().rowEmpty(1), emptied);
    QCOMPARE(table().rowEmpty(50), emptied);
    QCOMPARE(cell(Col::Label, 50), QStringLiteral("47"));
}

void TestChannelWindow::deleteAndBackspaceKeys() {
    useRow(20);
    useRow(21);
    click(Col::Power, 20);
    key(Qt::Key_Delete);
    QVERIFY(table().rowEmpty(20));
    click(Col::RxFreq, 21);
    key(Qt::Key_Backspace);
    QCOMPARE(cell(Col::RxFreq, 21), QString());
    QCOMPARE(cell(Col::Power, 21), w.high);
    key(Qt::Key_Up); // committing a row without RX frequency empties it
    QVERIFY(table().rowEmpty(21));
    // Delete on the VFO row of band 1 as well.
    useRow(1);
    click(Col::RxFreq, 1);
    key(Qt::Key_Delete);
    QVERIFY(table().rowEmpty(1));
}

void TestChannelWindow::badFrequencyWarns() {
    useRow(30);
    table().setCell(Col::RxFreq, 30, QStringLiteral("4x8.5"));
    click(Col::RxFreq, 30);
    click(Col::RxFreq, 31);
    QCOMPARE(m_messages.size(), 1);
    QVERIFY(m_messages.first().contains(QStringLiteral("4x8.5")));
    QCOMPARE(cell(Col::RxFreq, 30), QStringLiteral("4x8.5"));
}

void TestChannelWindow::pendingEditCommitted() {
    click(Col::RxFreq, 12);
    type(QStringLiteral("145"));
    QVERIFY(m_window->frequencyEditorVisible());
    m_window->commitPendingEdit();
    m_window->hideEditors();
    QVERIFY(!m_window->frequencyEditorVisible());
    QCOMPARE(cell(Col::RxFreq, 12), dp("145.00000"));
    QCOMPARE(cell(Col::Name, 12), QStringLiteral("NameA09"));
}

// Another window taking the keyboard commits the frequency being typed and closes the editors.
void TestChannelWindow::deactivationCommits() {
    useRow(13);
    click(Col::Compander, 13);
    QVERIFY(child<QWidget>("ComboBox2")->isVisible());
    click(Col::RxFreq, 12);
    type(QStringLiteral("145"));
    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QVERIFY(!m_window->frequencyEditorVisible());
    QCOMPARE(cell(Col::RxFreq, 12), dp("145.00000"));
    QCOMPARE(cell(Col::Power, 12), w.high);
}

// Inside the main window the frame loses the activation to another child window.
void TestChannelWindow::frameDeactivationCommits() {
    m_window->hide();
    QMdiArea area;
    QMdiSubWindow* frame = area.addSubWindow(m_window.get());
    QMdiSubWindow* otherFrame = area.addSubWindow(new QWidget);
    area.resize(900, 600);
    area.show();
    area.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&area));
    frame->show();
    otherFrame->show();
    area.setActiveSubWindow(frame);
    click(Col::RxFreq, 14);
    type(QStringLiteral("4385"));
    QVERIFY(m_window->frequencyEditorVisible());
    area.setActiveSubWindow(otherFrame);
    QVERIFY(!m_window->frequencyEditorVisible());
    QCOMPARE(cell(Col::RxFreq, 14), dp("550.00000"));
    frame->setWidget(nullptr);
    m_window->setParent(nullptr);
}

void TestChannelWindow::editorsSitOverTheirCell_data() {
    QTest::addColumn<int>("col");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("editor");
    QTest::newRow("RX top") << 1 << 4 << "Edit1";
    QTest::newRow("TX middle") << 3 << 55 << "Edit1";
    QTest::newRow("tone bottom") << 4 << 102 << "ComboBox1";
    QTest::newRow("compander") << 10 << 70 << "ComboBox2";
    QTest::newRow("name, scrolled right") << 14 << 30 << "Edit2";
    QTest::newRow("CTCSS, far right") << 18 << 90 << "Edit3";
}

void TestChannelWindow::editorsSitOverTheirCell() {
    QFETCH(int, col);
    QFETCH(int, row);
    QFETCH(QString, editor);
    useRow(row);
    table().setCell(Col::TxTone, row, QStringLiteral("88.5"));
    click(col, row);
    QWidget* e = child<QWidget>(qPrintable(editor));
    QVERIFY(e->isVisible());
    QCOMPARE(e->parentWidget(), grid()->viewport());
    const QRect placed = grid()->cellRect(col, row);
    QCOMPARE(e->geometry(), placed);
    // Scrolled a little sideways, the editor keeps its place and stays: its top still lines up
    // with the current cell's.
    QScrollBar* across = grid()->horizontalScrollBar();
    across->setValue(across->value() > 40 ? across->value() - 40 : across->value() + 40);
    QTest::qWait(20);
    QVERIFY(e->isVisible());
    QCOMPARE(e->geometry(), placed);
    // Scrolled by a few rows, it is left behind over another channel and goes.
    QScrollBar* down = grid()->verticalScrollBar();
    down->setValue(down->value() > 3 ? down->value() - 3 : down->value() + 3);
    QCOMPARE(e->geometry(), placed);
    QTRY_VERIFY(!e->isVisible());
    QCOMPARE(grid()->currentCell(), QPoint(col, row));
}

void TestChannelWindow::widenAndNarrow() {
    auto* b6 = child<QPushButton>("Button6");
    QCOMPARE(grid()->width(), 753);
    QCOMPARE(b6->x(), 686);
    QTest::mouseClick(b6, Qt::LeftButton);
    QCOMPARE(grid()->width(), 1146);
    QCOMPARE(m_window->width(), 1170);
    QCOMPARE(b6->text(), QStringLiteral("<<"));
    QCOMPARE(b6->x(), 1079);
    QCOMPARE(grid()->horizontalScrollBar()->maximum(), 0); // every column shows
    QTest::mouseClick(b6, Qt::LeftButton);
    QCOMPARE(grid()->width(), 753);
    QCOMPARE(m_window->width(), 778);
    QCOMPARE(b6->text(), QStringLiteral(">>"));
}

void TestChannelWindow::languageWordsFollow() {
    auto* tone = child<ToneCombo>("ComboBox1");
    auto* compander = child<CompanderCombo>("ComboBox2");
    tone->setCurrentIndex(60);
    compander->setCurrentIndex(2);
    m_session->doc.words = ValueWords::english();
    emit m_session->lang.applied();
    QCOMPARE(tone->itemText(0), QStringLiteral("OFF"));
    QCOMPARE(tone->count(), 273);
    QCOMPARE(tone->currentIndex(), 60);
    QCOMPARE(compander->count(), 5);
    QCOMPARE(compander->itemText(4), QStringLiteral("RX scrambler"));
    QCOMPARE(compander->currentIndex(), 2);
}

void TestChannelWindow::gridTypingOnlyInFrequencyColumns_data() {
    QTest::addColumn<int>("col");
    QTest::addColumn<bool>("used");
    QTest::addColumn<bool>("starts");
    QTest::newRow("RX of an empty row") << 1 << false << true;
    QTest::newRow("RX of a used row") << 1 << true << true;
    QTest::newRow("TX of a used row") << 3 << true << true;
    QTest::newRow("TX of an empty row") << 3 << false << false;
    QTest::newRow("power") << 5 << true << false;
    QTest::newRow("CTCSS") << 18 << true << false;
}

// A digit typed on the grid starts a new frequency in the frequency columns and nowhere else.
void TestChannelWindow::gridTypingOnlyInFrequencyColumns() {
    QFETCH(int, col);
    QFETCH(bool, used);
    QFETCH(bool, starts);
    if (used) useRow(15);
    click(col, 15);
    const QString before = cell(col, 15);
    grid()->setFocus();
    QTest::keyClick(grid(), Qt::Key_4);
    auto* edit1 = child<QLineEdit>("Edit1");
    QCOMPARE(edit1->isVisible() && QApplication::focusWidget() == edit1, starts);
    QCOMPARE(cell(col, 15), starts ? QStringLiteral("4") : before);
}

void TestChannelWindow::gridLayout_data() {
    QTest::addColumn<Side>("side");
    QTest::addColumn<QColor>("vfo");
    QTest::newRow("A light blue") << Side::A << QColor(166, 202, 240);
    QTest::newRow("B light green") << Side::B << QColor(192, 220, 192);
}

void TestChannelWindow::gridLayout() {
    QFETCH(Side, side);
    QFETCH(QColor, vfo);
    makeWindow(side);
    const int widths[] = {70, 69, 70, 70, 61, 59, 57, 56, 54, 57, 42, 51, 49, 64, 54, 49, 61, 80};
    for (int c = 1; c < ChannelTable::Columns; ++c)
        QCOMPARE(grid()->columnWidth(c), widths[c - 1]);
    QCOMPARE(grid()->verticalHeader()->width(), 30);
    QCOMPARE(grid()->rowHeight(50), 20);
    QAbstractItemModel* model = grid()->model();
    for (int row : {1, 3})
        QCOMPARE(model->data(grid()->cellIndex(18, row), Qt::BackgroundRole).value<QColor>(), vfo);
    QVERIFY(!model->data(grid()->cellIndex(1, 4), Qt::BackgroundRole).isValid());
    QCOMPARE(model->data(grid()->cellIndex(5, 60), Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));
    // Row 0 and column 0 of the table are the headers of the view.
    table().setCell(Col::Power, 0, QStringLiteral("Power"));
    QCOMPARE(model->headerData(Col::Power, Qt::Horizontal).toString(), QStringLiteral("Power"));
    QCOMPARE(model->headerData(ChannelTableModel::modelRow(102), Qt::Vertical).toString(),
             QStringLiteral("99"));
    QCOMPARE(model->headerData(ChannelTableModel::modelRow(2), Qt::Vertical).toString(),
             QStringLiteral("245"));
}

QTEST_MAIN(TestChannelWindow)
#include "test_channelwindow.moc"
