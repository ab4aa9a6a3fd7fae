// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/base/messages.h"
#include "core/codeplug/session.h"
#include "tests/common/modalanswer.h"
#include "ui/channels/channelgridwidgets.h"
#include "ui/channels/channelwindow.h"
#include <QHeaderView>
#include <QPushButton>
#include <QtTest>

// The one-key traps of the channel window, with real mouse and key events and real message boxes.
class TestChannelTraps : public QObject {
    Q_OBJECT

    std::unique_ptr<Session> m_session;
    std::unique_ptr<Tchannelb> m_window;

    ChannelTable& table() const { return m_session->doc.tableB; }
    ChannelGrid* grid() const { return m_window->findChild<ChannelGrid*>(QStringLiteral("StringGrid1")); }
    void useRow(int row) {
        table().setCell(Col::RxFreq, row, QStringLiteral("438.50000"));
        table().newChannelDefaults(row, m_session->doc.words);
    }

private slots:
    void init() {
        m_session = std::make_unique<Session>();
        m_session->doc.words = ValueWords::simplifiedChinese();
        m_window = std::make_unique<Tchannelb>(*m_session);
        m_window->show();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    }
    void cleanup() {
        m_window.reset();
        m_session.reset();
    }

    // A click on the label "05" makes channel 05 current, and Delete then empties channel 05,
    // not the channel that was current before.
    void rowLabelClickThenDelete() {
        useRow(4);
        useRow(8);
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, grid()->cellRect(Col::Power, 4).center());
        QCOMPARE(m_session->doc.currentRow, 4);
        QHeaderView* labels = grid()->verticalHeader();
        const int y =
            labels->sectionViewportPosition(ChannelTableModel::modelRow(8)) + ChannelGrid::RowHeight / 2;
        QTest::mouseClick(labels->viewport(), Qt::LeftButton, {}, QPoint(labels->width() / 2, y));
        QCOMPARE(m_session->doc.currentRow, 8);
        QCOMPARE(grid()->currentCell(), QPoint(Col::Power, 8));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
        QVERIFY(table().rowEmpty(8));
        QVERIFY(!table().rowEmpty(4));
    }

    // "Delete all" asks in the current language with No as the default: Enter and Escape keep
    // every channel, VFO rows included; only Yes empties the table.
    void deleteAllAsks_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("emptied");
        QTest::newRow("Enter") << int(Qt::Key_Return) << false;
        QTest::newRow("Escape") << int(Qt::Key_Escape) << false;
        QTest::newRow("Yes clicked") << int(Qt::Key_Y) << true;
    }
    void deleteAllAsks() {
        QFETCH(int, key);
        QFETCH(bool, emptied);
        useRow(1);
        useRow(50);
        ModalAnswer answer({}, [key](QMessageBox* box) {
            if (key == Qt::Key_Y)
                box->button(QMessageBox::Yes)->click();
            else
                QTest::keyClick(box, Qt::Key(key));
        });
        auto* button = m_window->findChild<QPushButton*>(QStringLiteral("Button2"));
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(answer.answered());
        QCOMPARE(answer.text(), m_session->lang.text(Str::DeleteAllQuestion).arg(QStringLiteral("B")));
        QCOMPARE(table().rowEmpty(1), emptied);
        QCOMPARE(table().rowEmpty(50), emptied);
    }
};

QTEST_MAIN(TestChannelTraps)
#include "test_channeltraps.moc"
