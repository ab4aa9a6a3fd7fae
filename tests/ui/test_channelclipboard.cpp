// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/base/messages.h"
#include "core/base/numbers.h"
#include "core/codeplug/session.h"
#include "ui/channels/channelgridwidgets.h"
#include "ui/channels/channelwindow.h"
#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QtTest>

// Whole channels through the clipboard and the right-click commands, and typing into a tone
// cell right after a click, as a user does it with tables A and B side by side.
class TestChannelClipboard : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void copyAndPasteBetweenTables_data();
    void copyAndPasteBetweenTables();
    void insertShiftsOrRefuses();
    void toneTakesTypingAfterClick();
    void columnsFitTheirHeaders();

private:
    ChannelGrid* grid(ChannelWindow* w) const {
        return w->findChild<ChannelGrid*>(QStringLiteral("StringGrid1"));
    }
    void command(ChannelWindow* w, int text, int row);
    void useRow(ChannelTable& t, int row, const QString& rx) {
        t.setCell(Col::RxFreq, row, rx);
        t.newChannelDefaults(row, m_session->doc.words);
    }
    static QString dp(const char* text) {
        return QString::fromLatin1(text).replace(QChar('.'), systemDecimalPoint());
    }

    std::unique_ptr<Session> m_session;
    std::unique_ptr<ChannelWindow> m_a, m_b;
    QStringList m_messages;
};

void TestChannelClipboard::init() {
    m_session = std::make_unique<Session>();
    m_session->doc.words = ValueWords::simplifiedChinese();
    m_a = std::make_unique<Tchannela>(*m_session);
    m_b = std::make_unique<Tchannelb>(*m_session);
    m_messages.clear();
    for (ChannelWindow* w : {m_a.get(), m_b.get()}) {
        w->messageBox = [this](QWidget*, QMessageBox::Icon, const QString&, const QString& text,
                               QMessageBox::StandardButtons) {
            m_messages << text;
            return QMessageBox::Ok;
        };
        w->show();
    }
    QVERIFY(QTest::qWaitForWindowExposed(m_b.get()));
}

void TestChannelClipboard::cleanup() {
    m_a.reset();
    m_b.reset();
    m_session.reset();
}

// A command of the grid's menu, on `row` selected.
void TestChannelClipboard::command(ChannelWindow* w, int text, int row) {
    ChannelGrid* g = grid(w);
    g->selectCell(Col::Power, row);
    g->setFocus();
    for (QAction* a : g->actions())
        if (a->data().toInt() == text) {
            a->trigger();
            return;
        }
    QFAIL("no such command");
}

void TestChannelClipboard::copyAndPasteBetweenTables_data() {
    QTest::addColumn<bool>("toB");
    QTest::addColumn<QString>("rx");
    QTest::addColumn<QString>("pasted"); // on the target table's raster
    QTest::newRow("A to B: 5 kHz raster") << true << dp("438.50250") << dp("438.50500");
    QTest::newRow("A to A") << false << dp("438.50250") << dp("438.50250");
}

void TestChannelClipboard::copyAndPasteBetweenTables() {
    QFETCH(bool, toB);
    QFETCH(QString, rx);
    QFETCH(QString, pasted);
    ChannelTable& a = m_session->doc.tableA;
    ChannelTable& target = toB ? m_session->doc.tableB : a;
    useRow(a, 4, rx);
    useRow(a, 5, dp("145.00000"));
    a.setCell(Col::Name, 4, QStringLiteral("HOME"));
    grid(m_a.get())->selectionModel()->clear();
    command(m_a.get(), Str::EditCopy, 4);
    command(toB ? m_b.get() : m_a.get(), Str::EditPaste, 20);
    QCOMPARE(target.cell(Col::RxFreq, 20), pasted);
    QCOMPARE(target.cell(Col::TxFreq, 20), pasted);
    QCOMPARE(target.cell(Col::Name, 20), QStringLiteral("HOME"));
    QCOMPARE(target.cell(Col::Power, 20), a.cell(Col::Power, 4));
    QVERIFY(target.rowEmpty(21));
    // Cut empties the channel; what was cut pastes back whole.
    command(m_a.get(), Str::EditCut, 5);
    QVERIFY(a.rowEmpty(5));
    command(m_a.get(), Str::EditPaste, 5);
    QCOMPARE(a.cell(Col::RxFreq, 5), dp("145.00000"));
    QVERIFY(m_messages.isEmpty());
}

void TestChannelClipboard::insertShiftsOrRefuses() {
    ChannelTable& a = m_session->doc.tableA;
    useRow(a, 4, dp("430.00000"));
    useRow(a, 5, dp("431.00000"));
    command(m_a.get(), Str::InsertChannel, 4);
    QVERIFY(a.rowEmpty(4));
    QCOMPARE(a.cell(Col::RxFreq, 5), dp("430.00000"));
    QCOMPARE(a.cell(Col::RxFreq, 6), dp("431.00000"));
    QCOMPARE(a.cell(Col::Name, 6), QStringLiteral("NameA02")); // names move with their channel
    // Channel 99 in use: nothing moves, the user is told.
    useRow(a, ChannelTable::LastRow, dp("439.00000"));
    command(m_a.get(), Str::InsertChannel, 5);
    QCOMPARE(a.cell(Col::RxFreq, 5), dp("430.00000"));
    QCOMPARE(m_messages, QStringList{m_session->lang.text(Str::InsertRefused)});
    // VFO rows take no insert.
    command(m_a.get(), Str::InsertChannel, 2);
    QCOMPARE(m_messages.size(), 2);
}

void TestChannelClipboard::toneTakesTypingAfterClick() {
    ChannelTable& a = m_session->doc.tableA;
    useRow(a, 4, dp("430.00000"));
    m_a->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_a.get()));
    ChannelGrid* g = grid(m_a.get());
    for (const auto& [typed, cell, listed] :
         {std::tuple{"88.5", "88.5", "88.5"}, std::tuple{"D0", "禁用", "D017N"}}) {
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->cellRect(Col::RxTone, 4).center());
        auto* tone = m_a->findChild<QComboBox*>(QStringLiteral("ComboBox1"));
        QVERIFY(tone->isVisible());
        for (const char* c = typed; *c; ++c) {
            const QChar ch = *c == '.' ? QChar('.') : QChar(QLatin1Char(*c));
            QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key_unknown, QString(ch),
                                Qt::NoModifier);
        }
        QCOMPARE(a.cell(Col::RxTone, 4), QString::fromUtf8(cell));
        QCOMPARE(tone->view()->currentIndex().data().toString(), QString::fromLatin1(listed));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    }
}

// A header longer than its column widens the column; a short one leaves the least width.
void TestChannelClipboard::columnsFitTheirHeaders() {
    ChannelGrid* g = grid(m_a.get());
    const int least = g->columnWidth(Col::Bandwidth);
    QStringList headers(ChannelTable::Columns, QStringLiteral("X"));
    headers[Col::Bandwidth] = QStringLiteral("A very long bandwidth header");
    m_session->doc.tableA.setHeaders(headers);
    QVERIFY(g->columnWidth(Col::Bandwidth) >=
            g->horizontalHeader()->fontMetrics().horizontalAdvance(headers.at(Col::Bandwidth)));
    headers[Col::Bandwidth] = QStringLiteral("B");
    m_session->doc.tableA.setHeaders(headers);
    QCOMPARE(g->columnWidth(Col::Bandwidth), least);
}

QTEST_MAIN(TestChannelClipboard)
#include "test_channelclipboard.moc"
