// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/codeplug/problems.h"
#include "tests/common/docfixture.h"
#include <QtTest>

namespace {
QString freq(const char* f) {
    return QString::fromLatin1(f).replace(QChar('.'), systemDecimalPoint());
}

void channel(Session& s, Side side, int row, const char* rx, const char* tx = nullptr) {
    ChannelTable& t = s.doc.table(side);
    t.setCell(Col::RxFreq, row, freq(rx));
    t.newChannelDefaults(row, s.doc.words);
    if (tx) t.setCell(Col::TxFreq, row, freq(tx));
}

// Every VFO row inside its band (136-174, 220-260, 400-470 MHz), so that a case shows only its own.
void vfoRowsInBands(Session& s) {
    for (Side side : {Side::A, Side::B}) {
        channel(s, side, 1, "145.00000");
        channel(s, side, 2, "240.00000");
        channel(s, side, 3, "438.50000");
    }
}

// "A 4 1 W": table, row, column and severity of each cell; "Edit20 W" for a field.
QStringList located(const QList<Problem>& problems) {
    QStringList out;
    for (const Problem& p : problems) {
        const QString severity = p.severity == Problem::Severity::Error ? "E" : "W";
        out << (p.place == Problem::Place::Cell ? QStringLiteral("%1 %2 %3 %4")
                                                      .arg(p.side == Side::A ? "A" : "B")
                                                      .arg(p.row)
                                                      .arg(p.col)
                                                      .arg(severity)
                                                : p.control + u' ' + severity);
    }
    return out;
}
} // namespace

class TestProblems : public QObject {
    Q_OBJECT
private slots:
    void findings_data();
    void findings();
    void wordedInEachLanguage();
};

void TestProblems::findings_data() {
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QStringList>("expected");
    QTest::addRow("nothing to say") << "" << QStringList();
    QTest::addRow("empty VFO row is filled, nothing moves") << "vfo empty" << QStringList();
    QTest::addRow("VFO row outside its band") << "vfo outside" << QStringList{"B 2 1 W"};
    QTest::addRow("upper band limit belongs to the next band") << "vfo upper" << QStringList{"A 3 1 W"};
    QTest::addRow("channel outside the selected band, TX in band two") << "outside" << QStringList{"A 4 1 W"};
    QTest::addRow("TX outside both bands") << "tx outside" << QStringList{"A 4 3 W"};
    QTest::addRow("same channel twice in a table") << "duplicate" << QStringList{"A 6 1 W"};
    QTest::addRow("same frequencies, other tone") << "other tone" << QStringList();
    QTest::addRow("empty name, names shown") << "no name shown" << QStringList{"B 5 14 W"};
    QTest::addRow("empty name, names not shown") << "no name hidden" << QStringList();
    QTest::addRow("new password ticked and empty") << "no password" << QStringList{"Edit20 W"};
    QTest::addRow("new password ticked and typed") << "password" << QStringList();
    QTest::addRow("value the radio cannot take") << "bad power" << QStringList{"A 4 5 E"};
    // A backup of a failed read, told by its name alone.
    QTest::addRow("opened from a partial backup")
        << "/b/2026-12-07_21-30-05_Qovran-partial.qv19" << QStringList{"ComboBox1 W"};
    QTest::addRow("second partial backup of a second")
        << "/b/2026-12-07_21-30-05_Qovran-partial-2.qv19" << QStringList{"ComboBox1 W"};
    QTest::addRow("whole backup") << "/b/2026-12-07_21-30-05_Qovran.qv19" << QStringList();
}

void TestProblems::findings() {
    QFETCH(QString, edit);
    QFETCH(QStringList, expected);
    auto s = freshDocument(2);
    vfoRowsInBands(*s);
    ChannelTable& a = s->doc.tableA;
    ControlStore& func = s->doc.func;
    // Channels inside band one (400-470 MHz) and one in table B that repeats table A's: tables
    // are radios' sides of their own, so that is no repetition.
    channel(*s, Side::A, 4, "438.50000");
    channel(*s, Side::A, 5, "439.00000");
    channel(*s, Side::B, 4, "438.50000");
    channel(*s, Side::B, 5, "439.50000");
    if (edit == u"vfo empty") a.clearRow(2);
    if (edit == u"vfo outside") channel(*s, Side::B, 2, "300.00000");
    if (edit == u"vfo upper") channel(*s, Side::A, 3, "470.00000");
    if (edit == u"outside") channel(*s, Side::A, 4, "145.00000");
    if (edit == u"tx outside") channel(*s, Side::A, 4, "438.50000", "300.00000");
    if (edit == u"duplicate") channel(*s, Side::A, 6, "438.50000");
    if (edit == u"other tone") {
        channel(*s, Side::A, 6, "438.50000");
        a.setCell(Col::TxTone, 6, QStringLiteral("88.5"));
    }
    if (edit.startsWith(u"no name")) {
        func.setChecked(Ctl::CheckBox22, edit.endsWith(u"shown"));
        s->doc.tableB.setCell(Col::Name, 5, {});
    }
    if (edit.endsWith(u"password")) {
        func.setChecked(Ctl::CheckBox35, true);
        func.setText(Ctl::Edit20, edit == u"password" ? QStringLiteral("1234") : QString());
    }
    if (edit == u"bad power") a.setCell(Col::Power, 4, QStringLiteral("loud"));
    if (edit.endsWith(u".qv19")) s->history.setPath(edit);

    const QByteArray before = saveDocument(*s);
    const QList<Problem> problems = documentProblems(*s);
    QCOMPARE(located(problems), expected);
    QCOMPARE(saveDocument(*s), before); // looking changes nothing
    const ProblemCount count = countProblems(problems);
    QCOMPARE(count.errors + count.warnings, int(expected.size()));
}

void TestProblems::wordedInEachLanguage() {
    for (int language : {1, 2, 3}) {
        auto s = freshDocument(language);
        vfoRowsInBands(*s);
        channel(*s, Side::B, 2, "300.00000");
        const QList<Problem> problems = documentProblems(*s);
        QCOMPARE(problems.size(), 1);
        // Table, channel, column and the frequency the write will put there.
        const QString m = problems.first().message;
        QVERIFY2(m.contains(u'B') && m.contains(QStringLiteral("245")) && m.contains(s->lang.text(26)) &&
                     m.contains(freq("220.00000")),
                 qPrintable(m));
    }
}

QTEST_GUILESS_MAIN(TestProblems)
#include "test_problems.moc"
