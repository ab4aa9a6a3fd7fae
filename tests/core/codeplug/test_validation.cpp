// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/codeplug/validation.h"
#include "tests/common/docfixture.h"
#include <QtTest>

namespace {
// A used row of table A (row 4, channel 1) with valid values, so that one cell can be spoiled.
void validRow(Session& s, Side side, int row) {
    ChannelTable& t = s.doc.table(side);
    t.setCell(Col::RxFreq, row, formatFixed(438.5, 5));
    t.newChannelDefaults(row, s.doc.words);
}

// "line:severity" of every problem, E for errors and W for warnings.
QStringList located(const QList<Problem>& problems) {
    QStringList out;
    for (const Problem& p : problems)
        out << QStringLiteral("%1:%2")
                   .arg(documentLineOf(p))
                   .arg(p.severity == Problem::Severity::Error ? "E" : "W");
    return out;
}
} // namespace

class TestValidation : public QObject {
    Q_OBJECT
private slots:
    void freshAndRichDocumentsPass_data();
    void freshAndRichDocumentsPass();
    void cells_data();
    void cells();
    void unusedRowsAreNotChecked();
    void fields_data();
    void fields();
    void grids_data();
    void grids();
    void listWithoutSelection();
    void bands();
};

void TestValidation::freshAndRichDocumentsPass_data() {
    QTest::addColumn<int>("language");
    QTest::addColumn<bool>("rich");
    for (int language : {1, 2, 3}) {
        QTest::addRow("fresh, language %d", language) << language << false;
        QTest::addRow("rich, language %d", language) << language << true;
    }
}

void TestValidation::freshAndRichDocumentsPass() {
    QFETCH(int, language);
    QFETCH(bool, rich);
    auto s = freshDocument(language);
    if (rich) fillRichDocument(*s);
    QCOMPARE(located(validateDocument(*s)), QStringList());
}

void TestValidation::cells_data() {
    QTest::addColumn<int>("side");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("line"); // 0: no problem expected
    // Table A row 4 is line 144, table B row 1 line 243.
    QTest::newRow("RX without decimals") << 0 << 4 << 1 << "438.5" << 144;
    QTest::newRow("RX below 100 MHz") << 0 << 4 << 1 << "099.00000" << 144;
    QTest::newRow("RX above 550 MHz") << 0 << 4 << 1 << "551.00000" << 144;
    QTest::newRow("RX not a number") << 0 << 4 << 1 << "43x.50000" << 144;
    QTest::newRow("RX with '.' is fine") << 0 << 4 << 1 << "550.00000" << 0;
    QTest::newRow("TX may be empty") << 0 << 4 << 3 << "" << 0;
    QTest::newRow("TX garbage") << 1 << 1 << 3 << "1.2.3" << 243;
    QTest::newRow("tone not listed") << 0 << 4 << 2 << "88.6" << 144;
    QTest::newRow("DCS code not listed") << 0 << 4 << 4 << "D018N" << 144;
    QTest::newRow("tone off in another language") << 0 << 4 << 2 << "OFF" << 144;
    QTest::newRow("empty tone") << 0 << 4 << 2 << "" << 0;
    QTest::newRow("inverted DCS") << 0 << 4 << 4 << "D754I" << 0;
    QTest::newRow("power word of another language") << 0 << 4 << 5 << "High" << 144;
    QTest::newRow("empty bandwidth") << 0 << 4 << 6 << "" << 144;
    QTest::newRow("on/off text") << 1 << 1 << 16 << "yes" << 243;
    QTest::newRow("scrambler TX form") << 0 << 4 << 10 << "TX 扰频" << 0;
    QTest::newRow("compander unknown") << 0 << 4 << 10 << "TX" << 144;
    QTest::newRow("name of 8 characters") << 0 << 4 << 14 << "ABCDEFGH" << 144;
    QTest::newRow("name with Chinese") << 0 << 4 << 14 << "名字" << 144;
    QTest::newRow("name with a tab") << 0 << 4 << 14 << "A\tB" << 144;
    QTest::newRow("name of 7 printable") << 0 << 4 << 14 << "~ |x7Z!" << 0;
    QTest::newRow("CTCSS below 55.0") << 0 << 4 << 18 << "54.9" << 144;
    QTest::newRow("CTCSS above 255.0") << 0 << 4 << 18 << "255.1" << 144;
    QTest::newRow("CTCSS without decimal") << 0 << 4 << 18 << "100" << 144;
    QTest::newRow("CTCSS 255.0") << 0 << 4 << 18 << "255.0" << 0;
}

void TestValidation::cells() {
    QFETCH(int, side);
    QFETCH(int, row);
    QFETCH(int, col);
    QFETCH(QString, text);
    QFETCH(int, line);
    auto s = freshDocument(1);
    const Side which = side == 0 ? Side::A : Side::B;
    validRow(*s, which, row);
    s->doc.table(which).setCell(col, row, text);
    const QList<Problem> problems = validateDocument(*s);
    if (line == 0) {
        QCOMPARE(located(problems), QStringList());
        return;
    }
    QCOMPARE(located(problems), QStringList{QStringLiteral("%1:E").arg(line)});
    QCOMPARE(problems.first().place, Problem::Place::Cell);
    QCOMPARE(problems.first().col, col);
    if (!text.isEmpty())
        QVERIFY2(problems.first().message.contains(text), qPrintable(problems.first().message));
}

void TestValidation::unusedRowsAreNotChecked() {
    // A row without RX frequency is written as 16 bytes FF whatever else it holds.
    auto s = freshDocument(1);
    s->doc.tableA.setCell(Col::RxTone, 10, QStringLiteral("nonsense"));
    QCOMPARE(located(validateDocument(*s)), QStringList());
}

void TestValidation::fields_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("tick"); // a check box ticked first, or empty
    QTest::addColumn<int>("line");     // -1: no problem expected
    QTest::newRow("DTMF with E") << "Edit9"
                                 << "12E"
                                 << "" << 77;
    QTest::newRow("DTMF lower case") << "Edit23"
                                     << "ab"
                                     << "" << 102;
    QTest::newRow("DTMF of 16") << "Edit11" << QString(16, QChar('1')) << "" << 83;
    QTest::newRow("DTMF all kinds") << "Edit19"
                                    << "0123456789ABCD*#"
                                    << "" << 85; // 16 characters: one too many
    QTest::newRow("DTMF of 15") << "Edit19"
                                << "0123456789ABC*#"
                                << "" << -1;
    QTest::newRow("digit code with star") << "Edit7"
                                          << "12*#"
                                          << "" << -1;
    // The PTT ID edits cannot type letters, but a radio may hold them and a read brings them.
    QTest::newRow("digit code with letter") << "Edit8"
                                            << "12A"
                                            << "" << -1;
    QTest::newRow("digit code with E") << "Edit8"
                                       << "12E"
                                       << "" << 56;
    QTest::newRow("raw ID code with star") << "Edit7"
                                           << "12*"
                                           << "CheckBox34" << 55;
    QTest::newRow("raw ID code of 15 hex digits") << "Edit8"
                                                  << "FFFFFFFFFFFFFFF"
                                                  << "CheckBox34" << -1;
    QTest::newRow("raw ID code of 16") << "Edit8" << QString(16, QChar('1')) << "CheckBox34" << 56;
    QTest::newRow("raw ID code of 5") << "Edit8"
                                      << "12345"
                                      << "CheckBox34" << -1;
    QTest::newRow("password letter") << "Edit22"
                                     << "12a"
                                     << "" << 0;
    QTest::newRow("password of 13") << "Edit22"
                                    << "1234567890123"
                                    << "" << 0;
    QTest::newRow("new password unused") << "Edit20"
                                         << "12*"
                                         << "" << -1;
    QTest::newRow("new password used") << "Edit20"
                                       << "12*"
                                       << "CheckBox35" << 0;
    QTest::newRow("date 30 February") << "Edit32"
                                      << "2099-02-30"
                                      << "" << 99;
    QTest::newRow("date 1999") << "Edit31"
                               << "1999-10-01"
                               << "" << 98;
    QTest::newRow("date other form") << "Edit32"
                                     << "2099-1-1"
                                     << "" << 99;
    QTest::newRow("leap day") << "Edit32"
                              << "2024-02-29"
                              << "" << -1;
    QTest::newRow("calls per minute 256") << "Edit17"
                                          << "256"
                                          << "" << 104;
    QTest::newRow("calls per minute text") << "Edit17"
                                           << "abc"
                                           << "" << 104;
    QTest::newRow("calls per minute empty") << "Edit17"
                                            << ""
                                            << "" << 104;
    QTest::newRow("calls per minute 255") << "Edit17"
                                          << "255"
                                          << "" << -1;
    QTest::newRow("announce time 4") << "Edit24"
                                     << "4"
                                     << "" << 59;
    QTest::newRow("auto reset 121") << "Edit10"
                                    << "121"
                                    << "" << 78;
    // Every number is held to the range of its own up-down: an edge that a neighbour's range
    // would judge the other way.
    QTest::newRow("DTMF duration 49") << "Edit2"
                                      << "49"
                                      << "" << 45;
    QTest::newRow("DTMF interval 201") << "Edit3"
                                       << "201"
                                       << "" << 46;
    QTest::newRow("first-code delay 500") << "Edit4"
                                          << "500"
                                          << "" << -1;
    QTest::newRow("pre-carrier 1000") << "Edit5"
                                      << "1000"
                                      << "" << -1;
    QTest::newRow("star delay 401") << "Edit6"
                                    << "401"
                                    << "" << 49;
    QTest::newRow("VHF lower 136") << "Edit13"
                                   << "136"
                                   << "" << -1;
    QTest::newRow("VHF upper 174") << "Edit14"
                                   << "174"
                                   << "" << -1;
    QTest::newRow("UHF lower 400") << "Edit15"
                                   << "400"
                                   << "" << -1;
    QTest::newRow("UHF upper 470") << "Edit28"
                                   << "470"
                                   << "" << -1;
    QTest::newRow("UHF upper 471") << "Edit28"
                                   << "471"
                                   << "" << 36;
    QTest::newRow("long press 2.6") << "Edit1"
                                    << "2.6"
                                    << "" << 87;
    QTest::newRow("long press 0.5") << "Edit1"
                                    << "0.5"
                                    << "" << -1;
    QTest::newRow("long press text") << "Edit1"
                                     << "x"
                                     << "" << 87;
    QTest::newRow("power-on text Chinese") << "Edit16"
                                           << "你好"
                                           << "" << 18;
    // A radio holds 8 bytes of power-on text; a read can bring 8 back, and they write back.
    QTest::newRow("power-on text of 8") << "Edit16"
                                        << "ABCDEFGH"
                                        << "" << -1;
    QTest::newRow("power-on text of 9") << "Edit16"
                                        << "ABCDEFGHI"
                                        << "" << 18;
    QTest::newRow("power-on text with a line break") << "Edit16"
                                                     << "AB\nC"
                                                     << "" << 18;
    QTest::newRow("power-on text empty") << "Edit16"
                                         << ""
                                         << "" << -1;
}

void TestValidation::fields() {
    QFETCH(QString, control);
    QFETCH(QString, text);
    QFETCH(QString, tick);
    QFETCH(int, line);
    auto s = freshDocument(1);
    if (!tick.isEmpty()) s->doc.func.setChecked(tick, true);
    s->doc.func.setText(control, text);
    const QList<Problem> problems = validateDocument(*s);
    if (line < 0) {
        QCOMPARE(located(problems), QStringList());
        return;
    }
    QCOMPARE(located(problems), QStringList{QStringLiteral("%1:E").arg(line)});
    QCOMPARE(problems.first().control, control);
    // The user is told the field's caption, never the control's internal name.
    QString caption = s->lang.caption(s->doc.func.state(control).caption);
    caption.remove(QChar(0xFF1A)).remove(QChar(':'));
    const QString message = problems.first().message;
    QVERIFY2(message.contains(caption) && !message.contains(control), qPrintable(message));
}

void TestValidation::grids_data() {
    QTest::addColumn<QString>("grid");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("line");
    const QString dp = systemDecimalPoint();
    QTest::newRow("call code with X") << "StringGrid1" << 5 << "12X" << 64;
    QTest::newRow("call code empty") << "StringGrid1" << 16 << "" << -1;
    QTest::newRow("FM above 108") << "StringGrid2" << 3 << "120" + dp + "000" << 110;
    QTest::newRow("FM below 87.5") << "StringGrid2" << 31 << "87" + dp + "400" << 138;
    QTest::newRow("FM two decimals") << "StringGrid2" << 2 << "98" + dp + "13" << 109;
    QTest::newRow("FM 108.000") << "StringGrid2" << 2 << "108" + dp + "000" << -1;
    QTest::newRow("FM 32nd slot") << "StringGrid2" << 32 << "abc" << 0;
}

void TestValidation::grids() {
    QFETCH(QString, grid);
    QFETCH(int, row);
    QFETCH(QString, text);
    QFETCH(int, line);
    auto s = freshDocument(1);
    s->doc.func.setCell(grid, 1, row, text);
    const QList<Problem> problems = validateDocument(*s);
    QCOMPARE(located(problems), line < 0 ? QStringList() : QStringList{QStringLiteral("%1:E").arg(line)});
}

void TestValidation::listWithoutSelection() {
    // A list read from a file with an index it lacks has no position to write.
    auto s = freshDocument(1);
    s->doc.func.setIndex(QStringLiteral("ComboBox2"), -1);
    s->doc.func.setIndex(QStringLiteral("ComboBox23"), -1);
    QCOMPARE(located(validateDocument(*s)), (QStringList{"7:E", "94:E"}));
}

void TestValidation::bands() {
    auto s = freshDocument(1);
    ControlStore& main = s->doc.main;
    // A band appended by opening a file is beyond the radio's three: the radio keeps its own.
    main.setItems(MainCtl::Band1, main.items(MainCtl::Band1) << QStringLiteral("400-480MHz"));
    main.setIndex(MainCtl::Band1, 3);
    QCOMPARE(located(validateDocument(*s)), QStringList{"5:W"});
    QVERIFY(!hasErrors(validateDocument(*s)));
    main.setIndex(MainCtl::Band1, -1);
    QCOMPARE(located(validateDocument(*s)), QStringList{"5:E"});
    // A band entry of sysini.ini that is no band text: not a line of the file.
    main.setItems(MainCtl::Band1,
                  {QStringLiteral("136-174MHz"), QStringLiteral("abc"), QStringLiteral("400-470MHz")});
    main.setIndex(MainCtl::Band1, 0);
    QCOMPARE(located(validateDocument(*s)), QStringList{"0:E"});
    QVERIFY(hasErrors(validateDocument(*s)));
}

QTEST_GUILESS_MAIN(TestValidation)
#include "test_validation.moc"
