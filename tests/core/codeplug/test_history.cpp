// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/codeplug/history.h"
#include "tests/common/docfixture.h"
#include <QtTest>
#include <functional>

// The undo history watches the document: every kind of change comes back byte for byte in the
// saved file, is named for what it did, and the clean point follows saves and undos.
class TestHistory : public QObject {
    Q_OBJECT

    using Edit = std::function<void(Session&)>;

    static std::unique_ptr<Session> recorded() {
        auto s = freshDocument(2); // English step names
        fillRichDocument(*s);
        s->history.start();
        return s;
    }

private slots:
    void eachEditUndoesAndRedoes_data() {
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<QString>("name");
        QTest::newRow("cell") << Edit([](Session& s) { s.doc.tableA.setCell(Col::Name, 4, "X"); })
                              << "edit channel 01 (A)";
        QTest::newRow("vfo") << Edit([](Session& s) { s.doc.tableA.setCell(Col::Power, 1, s.doc.words.mid); })
                             << "edit VFO 136 (A)";
        QTest::newRow("delete row") << Edit([](Session& s) { s.doc.tableB.clearRow(102); })
                                    << "delete channel 99 (B)";
        QTest::newRow("add row") << Edit([](Session& s) {
            s.doc.tableB.setCell(Col::RxFreq, 5, "440");
            s.doc.tableB.sendallcell(Col::RxFreq, 5, s.doc.words, QChar('.'));
        }) << "add channel 02 (B)";
        QTest::newRow("move") << Edit([](Session& s) { s.doc.tableA.swapRows(4, 5); })
                              << "swap channel 01 and channel 02 (A)";
        QTest::newRow("delete all") << Edit([](Session& s) { s.doc.tableA.clearAll(); })
                                    << "delete all channels (A)";
        QTest::newRow("option") << Edit([](Session& s) { s.doc.func.setChecked("CheckBox2", false); })
                                << "edit optional functions";
        QTest::newRow("fm") << Edit([](Session& s) { s.doc.func.setCell(Ctl::FmList, 1, 2, "99.000"); })
                            << "edit FM list";
        QTest::newRow("band") << Edit([](Session& s) { s.doc.main.setIndex(MainCtl::Band1, 0); })
                              << "change model or band";
        QTest::newRow("same model again: no step") << Edit([](Session& s) { changeModel(s); }) << "";
        QTest::newRow("new document") << Edit([](Session& s) {
            HistoryScope step(s.history, "new document");
            newDocument(s);
        }) << "new document";
        QTest::newRow("both tables") << Edit([](Session& s) {
            s.doc.tableA.clearRow(4);
            s.doc.tableB.clearRow(102);
        }) << "edit both channel tables";
    }

    void eachEditUndoesAndRedoes() {
        QFETCH(Edit, edit);
        QFETCH(QString, name);
        auto s = recorded();
        DocumentHistory& h = s->history;
        const QByteArray before = saveDocument(*s);
        edit(*s);
        h.flush();
        const QByteArray after = saveDocument(*s);
        if (!name.isEmpty()) QCOMPARE(h.undoName(), name);
        if (before == after) {
            QVERIFY(!h.canUndo()); // no change, no step
            return;
        }
        QCOMPARE(h.stepCount(), 1);
        QVERIFY(h.isModified());
        h.undo();
        QCOMPARE(saveDocument(*s), before);
        QVERIFY(!h.isModified());
        QVERIFY(!h.canUndo());
        QCOMPARE(h.redoName(), name.isEmpty() ? h.redoName() : name);
        h.redo();
        QCOMPARE(saveDocument(*s), after);
        QVERIFY(h.isModified());
    }

    // What changes within one turn of the event loop is one step; a step that puts everything
    // back is none.
    void oneTurnIsOneStep() {
        auto s = recorded();
        s->doc.tableA.setCell(Col::Name, 4, "ONE");
        s->doc.func.setText("Edit16", "TWO");
        QVERIFY(s->history.isModified());
        QTRY_COMPARE(s->history.stepCount(), 1);
        s->doc.tableA.setCell(Col::Name, 4, "THREE");
        s->doc.tableA.setCell(Col::Name, 4, "ONE");
        QCoreApplication::processEvents();
        QCOMPARE(s->history.stepCount(), 1);
        s->history.undo();
        QCOMPARE(s->doc.tableA.cell(Col::Name, 4), QStringLiteral("REPEAT"));
        QCOMPARE(s->doc.func.text("Edit16"), QStringLiteral("HELLO"));
    }

    // Typing a frequency and the row commit it causes are one step, and a channel whose frequency
    // was emptied and whose row was then left comes back whole with one undo.
    void typingAndEmptiedRowAreOneStepEach() {
        auto s = recorded();
        DocumentHistory& h = s->history;
        ChannelTable& a = s->doc.tableA;
        const QByteArray start = saveDocument(*s);
        for (const char* typed : {"4", "43", "439", "439.1"}) {
            a.setCell(Col::RxFreq, 6, QString::fromLatin1(typed));
            h.flush();
        }
        QCOMPARE(h.stepCount(), 1);
        QCOMPARE(h.undoName(), QStringLiteral("add channel 03 (A)"));
        a.sendallcell(Col::RxFreq, 6, s->doc.words, QChar('.'));
        h.flush();
        QCOMPARE(h.stepCount(), 1);
        QCOMPARE(h.undoName(), QStringLiteral("add channel 03 (A)"));
        const QByteArray filled = saveDocument(*s);

        a.setCell(Col::RxFreq, 6, {}); // Backspace on the whole frequency
        h.flush();
        a.sendallcell(Col::RxFreq, 6, s->doc.words, QChar('.')); // the row is left
        h.flush();
        QVERIFY(a.rowEmpty(6));
        QCOMPARE(h.stepCount(), 2);
        QCOMPARE(h.undoName(), QStringLiteral("delete channel 03 (A)"));
        h.undo();
        QCOMPARE(saveDocument(*s), filled);
        h.undo(); // no half-made channel in between: the row is empty again
        QCOMPARE(saveDocument(*s), start);
        QVERIFY(!h.isModified());
        h.redo();
        QCOMPARE(saveDocument(*s), filled);
        h.undo();

        // A new frequency typed over a channel's, then normalised by the commit: one step back.
        for (const char* typed : {"", "1", "14", "145"}) {
            a.setCell(Col::RxFreq, 4, QString::fromLatin1(typed));
            h.flush();
        }
        a.sendallcell(Col::RxFreq, 4, s->doc.words, QChar('.'));
        h.flush();
        QCOMPARE(a.cell(Col::RxFreq, 4), QStringLiteral("145.00000"));
        h.undo();
        QCOMPARE(saveDocument(*s), start);

        // Typing into a cell of the call list and into a text field, key by key.
        for (const char* typed : {"5", "55", "555"}) {
            s->doc.func.setCell(Ctl::CallList, 1, 3, QString::fromLatin1(typed));
            h.flush();
        }
        for (const char* typed : {"5", "55", "555"}) {
            s->doc.func.setText("Edit16", QString::fromLatin1(typed));
            h.flush();
        }
        QCOMPARE(h.stepCount(), 2);                                    // the steps undone above are gone
        s->doc.func.setCell(Ctl::CallList, 1, 4, QStringLiteral("5")); // another cell
        h.flush();
        QCOMPARE(h.stepCount(), 3);
    }

    // The clean point follows saving, undo and redo; a new edit after undo drops the redo steps,
    // and a clean point among them can no longer be reached. An Open's path is undone with it.
    void cleanPointAndPath() {
        auto s = recorded();
        DocumentHistory& h = s->history;
        s->doc.tableA.setCell(Col::Name, 4, "A1");
        h.flush();
        {
            HistoryScope open(h, "open x.qv19");
            s->doc.tableA.setCell(Col::Name, 4, "A2");
            h.setPath("/tmp/x.qv19");
        }
        h.setClean();
        QVERIFY(!h.isModified());
        h.undo();
        QVERIFY(h.isModified());
        QCOMPARE(h.path(), QString());
        QCOMPARE(h.redoName(), QStringLiteral("open x.qv19"));
        h.redo();
        QVERIFY(!h.isModified());
        QCOMPARE(h.path(), QStringLiteral("/tmp/x.qv19"));
        h.undo();
        s->doc.tableA.setCell(Col::Name, 4, "A3");
        h.flush();
        QVERIFY(!h.canRedo());
        h.undo();
        h.undo();
        QVERIFY(h.isModified()); // the saved document is gone from the history
    }

    // A language switch rewrites the value words: no step, the history is emptied, and the
    // document stays as modified as it was.
    void languageSwitch() {
        auto s = recorded();
        s->doc.tableA.setCell(Col::Name, 4, "X");
        s->history.flush();
        applyLanguage(*s, Language::baseName(1));
        QVERIFY(!s->history.canUndo());
        QVERIFY(s->history.isModified());
        s->history.setClean();
        applyLanguage(*s, Language::baseName(2));
        QVERIFY(!s->history.isModified());
    }
};

QTEST_GUILESS_MAIN(TestHistory)
#include "test_history.moc"
