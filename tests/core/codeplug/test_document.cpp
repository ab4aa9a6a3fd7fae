// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/base/gbk.h"
#include "core/base/messages.h"
#include "tests/common/docfixture.h"
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

namespace {
QByteArray gbk(const QString& text) {
    return Gbk().encode(text);
}

QByteArray freshBytes(int language = 1) {
    return saveDocument(*freshDocument(language));
}

QByteArray richBytes(int language = 1) {
    auto s = freshDocument(language);
    fillRichDocument(*s);
    return saveDocument(*s);
}

QList<int> linesOf(const OpenResult& r) {
    QList<int> lines;
    for (const LineProblem& p : r.notApplied)
        lines << p.line;
    return lines;
}

// The state of one control as the edge-case table names it: "index", "checked", "position",
// "text", or "cell" with the grid row after a colon in the control name.
QString stateOf(const Session& s, const QString& control, const QString& what) {
    const ControlStore& f = s.doc.func;
    if (what == QLatin1String("index")) return QString::number(f.index(control));
    if (what == QLatin1String("checked"))
        return f.checked(control) ? QStringLiteral("1") : QStringLiteral("0");
    if (what == QLatin1String("position")) return QString::number(f.position(control));
    if (what == QLatin1String("cell")) {
        const QStringList parts = control.split(QChar(':'));
        return f.cell(parts.at(0), 1, parts.at(1).toInt());
    }
    return f.text(control);
}
} // namespace

class TestDocument : public QObject {
    Q_OBJECT
private slots:
    void freshDocumentLayout();
    void freshDocumentLines_data();
    void freshDocumentLines();
    void chineseTextsAreGbk();
    void channelLineParsing_data();
    void channelLineParsing();
    void channelLabels_data();
    void channelLabels();
    void richRoundTrip_data();
    void richRoundTrip();
    void otherLineEnds_data();
    void otherLineEnds();
    void settingEdgeCases_data();
    void settingEdgeCases();
    void refusedFiles_data();
    void refusedFiles();
    void bandLine_data();
    void bandLine();
    void channelRowsReadInOrder();
    void valueWordsStayAsSaved();
    void truncatedFiles_data();
    void truncatedFiles();
    void linesDeletedFromTheMiddle_data();
    void linesDeletedFromTheMiddle();
    void garbage_data();
    void garbage();
    void fileEdges();
};

void TestDocument::freshDocumentLayout() {
    const QByteArray bytes = freshBytes();
    QCOMPARE(bytes.count("\r\n"), DocumentFormat::LineCount);
    QCOMPARE(bytes.count('\n'), DocumentFormat::LineCount);
    QVERIFY(bytes.endsWith("\r\n"));
    const QList<QByteArray> lines = fileLines(bytes);
    QCOMPARE(lines.size(), DocumentFormat::LineCount);
    for (int row = 1; row <= ChannelTable::LastRow; ++row) {
        const QByteArray empty = QByteArray("CH") + QByteArray::number(row).rightJustified(3, '0') +
                                 QByteArray(" | ").repeated(19);
        QCOMPARE(lines.at(DocumentFormat::FirstChannelLineA - 1 + row - 1), empty);
        QCOMPARE(lines.at(DocumentFormat::FirstChannelLineB - 1 + row - 1), empty);
    }
}

void TestDocument::freshDocumentLines_data() {
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("text");
    const QString dp = systemDecimalPoint();
    QTest::newRow("header") << 1 << "QOVRAN MEMORY CHANNEL";
    QTest::newRow("empty 2") << 2 << "";
    QTest::newRow("empty 3") << 3 << "";
    QTest::newRow("type") << 4 << "TYPE0 KT-520RX1.05";
    QTest::newRow("band") << 5 << "BAND 400-470MHz";
    QTest::newRow("auto power-off") << 6 << "0 禁用";
    QTest::newRow("time-out after model change") << 9 << "3 30";
    QTest::newRow("step") << 10 << "4 12.5KHz";
    QTest::newRow("power-on text") << 18 << "KT-510";
    QTest::newRow("flag ticked") << 22 << "1 开机提示音";
    QTest::newRow("flag cleared") << 23 << "0 结束提示音";
    QTest::newRow("band extension") << 31 << "0 频段扩展";
    QTest::newRow("band two") << 32 << "1 禁用";
    QTest::newRow("VHF from") << 33 << "144";
    QTest::newRow("UHF to") << 36 << "440";
    QTest::newRow("pre-carrier") << 48 << "600";
    QTest::newRow("PTT ID type") << 54 << "1 发射结束";
    QTest::newRow("announce time") << 59 << "8";
    QTest::newRow("call list 0") << 60 << "1001";
    QTest::newRow("call list 1") << 61 << "1002";
    QTest::newRow("call list 15") << 75 << "";
    QTest::newRow("group ID") << 76 << "0 A";
    QTest::newRow("long-press time") << 87 << "1" + dp + "5";
    QTest::newRow("P1 short") << 89 << "13 A/B";
    QTest::newRow("M short") << 94 << "0 DC";
    QTest::newRow("rental end") << 99 << "2099-10-01";
    QTest::newRow("start code") << 102 << "51099";
    QTest::newRow("calls per minute") << 104 << "0";
    QTest::newRow("VOX off while receiving") << 107 << "0 接收禁止VOX";
    QTest::newRow("first FM") << 108 << "87" + dp + "500";
    QTest::newRow("last FM") << 138 << "";
    QTest::newRow("empty 139") << 139 << "";
    QTest::newRow("empty 140") << 140 << "";
}

void TestDocument::freshDocumentLines() {
    QFETCH(int, line);
    QFETCH(QString, text);
    QCOMPARE(fileLines(freshBytes()).at(line - 1), gbk(text));
}

void TestDocument::chineseTextsAreGbk() {
    // "禁用" in GBK, never UTF-8.
    QCOMPARE(fileLines(freshBytes()).at(5), QByteArray("0 \xBD\xFB\xD3\xC3"));
}

void TestDocument::channelLineParsing_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QStringList>("cells"); // the cells that are not empty, as "column=text"
    const auto line = [](const QStringList& cells) { return formatChannelLine(7, cells); };
    QStringList full;
    for (int c = 1; c <= 18; ++c)
        full << QStringLiteral("v%1").arg(c);
    QStringList fullExpect;
    for (int c = 1; c <= 18; ++c)
        fullExpect << QStringLiteral("%1=v%1").arg(c);
    QStringList columnOneEmpty = full;
    columnOneEmpty[0] = QString();
    QStringList gaps(18);
    gaps[0] = "145.00000";
    gaps[13] = "a b ";
    gaps[17] = "67.0";

    QTest::newRow("empty row") << line(QStringList(18)) << true << QStringList();
    QTest::newRow("all columns") << line(full) << true << fullExpect;
    QTest::newRow("column 1 empty") << line(columnOneEmpty) << true << QStringList();
    QTest::newRow("empty cells and trailing blank kept")
        << line(gaps) << true << QStringList{"1=145.00000", "14=a b ", "18=67.0"};
    QTest::newRow("closing blank trimmed") << line(full).chopped(1) << true << fullExpect;
    QTest::newRow("separator at character 9")
        << "CH007 || 1 | 2 | 3 | 4 | 5 | 6 | 7 | 8 | 9 | 10 | 11 | 12 | 13 | 14 | 15 | 16 | 17 | " << true
        << QStringList();
    QTest::newRow("short line") << "CH007" << true << QStringList();
    QTest::newRow("empty line") << "" << true << QStringList();
    QTest::newRow("separators missing") << "CH007 | 145.00000 | OFF" << false << QStringList();
    QTest::newRow("no separators") << "just some words here" << false << QStringList();
    // A radio keeps "|" in a channel name; written as it is, it would shift every later column.
    QStringList barName = full;
    barName[13] = QStringLiteral("A|B|");
    QStringList barExpect = fullExpect;
    barExpect[13] = QStringLiteral("14=A B ");
    QTest::newRow("name with separators from a radio") << line(barName) << true << barExpect;
    QStringList breakName = full;
    breakName[13] = QStringLiteral("A\r\nB");
    QStringList breakExpect = fullExpect;
    breakExpect[13] = QStringLiteral("14=A  B");
    QTest::newRow("name with a line break") << line(breakName) << true << breakExpect;
    QTest::newRow("Chinese words") << line({"438.50000", "禁用", "438.50000", "禁用", "高功率"}) << true
                                   << QStringList{"1=438.50000", "2=禁用", "3=438.50000", "4=禁用",
                                                  "5=高功率"};
}

void TestDocument::channelLineParsing() {
    QFETCH(QString, line);
    QFETCH(bool, valid);
    QFETCH(QStringList, cells);
    const auto parsed = parseChannelLine(line);
    QCOMPARE(parsed.has_value(), valid);
    if (!valid) return;
    QCOMPARE(parsed->size(), 18);
    QStringList nonEmpty;
    for (int c = 0; c < 18; ++c)
        if (!parsed->at(c).isEmpty()) nonEmpty << QStringLiteral("%1=%2").arg(c + 1).arg(parsed->at(c));
    QCOMPARE(nonEmpty, cells);
}

// A channel line is read by its position in the file; a label that does not name its row is
// reported (the row is read all the same), an empty row's line cut after its label is not.
void TestDocument::channelLabels_data() {
    QTest::addColumn<QByteArray>("text"); // line 144: table A, channel 1 (row 4)
    QTest::addColumn<bool>("reported");
    const QByteArray used = formatChannelLine(4, {"438.50000"}).toLatin1();
    QTest::newRow("its own label") << used << false;
    QTest::newRow("letters after the number") << QByteArray(used).insert(5, "zz") << true;
    QTest::newRow("byte above ASCII after the number") << QByteArray(used).replace(5, 1, "\xA1") << true;
    QTest::newRow("label of another row") << QByteArray(used).replace(4, 1, "5") << true;
    QTest::newRow("empty row cut after its label") << QByteArray("CH004") << false;
    QTest::newRow("empty line") << QByteArray() << false;
}

void TestDocument::channelLabels() {
    QFETCH(QByteArray, text);
    QFETCH(bool, reported);
    QList<QByteArray> lines = fileLines(freshBytes());
    lines[144 - 1] = text;
    auto s = freshDocument();
    const OpenResult result = openDocument(*s, joinLines(lines));
    QVERIFY(result.accepted());
    QCOMPARE(linesOf(result), reported ? QList<int>{144} : QList<int>());
    if (reported) QCOMPARE(result.notApplied.first().reason, s->lang.text(Str::BadChannelLabel).arg("CH004"));
}

void TestDocument::richRoundTrip_data() {
    QTest::addColumn<int>("language");
    QTest::newRow("Simplified Chinese") << 1;
    QTest::newRow("English") << 2;
    QTest::newRow("Traditional Chinese") << 3;
}

void TestDocument::richRoundTrip() {
    QFETCH(int, language);
    auto source = freshDocument(language);
    fillRichDocument(*source);
    const QByteArray bytes = saveDocument(*source);

    auto target = freshDocument(language);
    const OpenResult result = openDocument(*target, bytes);
    QVERIFY(result.accepted());
    QCOMPARE(linesOf(result), QList<int>());
    QCOMPARE(result.caption, QStringLiteral("KT-520RX   [400-470MHz]"));
    for (Side side : {Side::A, Side::B})
        for (int row = 1; row <= ChannelTable::LastRow; ++row)
            for (int col = 1; col < ChannelTable::Columns; ++col)
                QCOMPARE(target->doc.table(side).cell(col, row), source->doc.table(side).cell(col, row));
    for (const SettingLine& line : settingLines()) {
        const ControlStore& a = source->doc.func;
        const ControlStore& b = target->doc.func;
        QVERIFY2(a.index(line.control) == b.index(line.control) &&
                     a.checked(line.control) == b.checked(line.control) &&
                     a.text(line.control) == b.text(line.control) &&
                     a.cell(line.control, 1, line.gridRow) == b.cell(line.control, 1, line.gridRow),
                 qPrintable(QStringLiteral("line %1 (%2)").arg(line.number).arg(line.control)));
    }
    QCOMPARE(target->doc.func.position(QStringLiteral("UpDown8")), 150);
    QCOMPARE(target->doc.func.position(QStringLiteral("UpDown17")), 470);
    QCOMPARE(saveDocument(*target), bytes);
}

void TestDocument::otherLineEnds_data() {
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray rich = richBytes();
    QByteArray lf = rich;
    lf.replace("\r\n", "\n");
    QByteArray cr = rich;
    cr.replace("\r\n", "\r");
    QByteArray noFinalEnd = rich.chopped(2);
    QByteArray trimmed = rich;
    trimmed.replace(" \r\n", "\r\n"); // an editor that strips trailing blanks
    QTest::newRow("LF") << lf;
    QTest::newRow("CR") << cr;
    QTest::newRow("no line end after line 344") << noFinalEnd;
    QTest::newRow("trailing blanks stripped") << trimmed;
}

void TestDocument::otherLineEnds() {
    QFETCH(QByteArray, bytes);
    auto s = freshDocument();
    const OpenResult result = openDocument(*s, bytes);
    QVERIFY(result.accepted());
    QCOMPARE(linesOf(result), QList<int>());
    QCOMPARE(saveDocument(*s), richBytes());
}

void TestDocument::settingEdgeCases_data() {
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("what");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("applied");
    QTest::newRow("list index 12") << 89 << "12 A/B"
                                   << "ComboBox12"
                                   << "index"
                                   << "12" << true;
    QTest::newRow("unselected list") << 7 << "-1 "
                                     << "ComboBox2"
                                     << "index"
                                     << "-1" << true;
    QTest::newRow("index the list lacks") << 8 << "5 CO"
                                          << "ComboBox4"
                                          << "index"
                                          << "-1" << true;
    QTest::newRow("one-digit index") << 10 << "3 10KHz"
                                     << "ComboBox10"
                                     << "index"
                                     << "3" << true;
    QTest::newRow("list not a number") << 7 << "x2 2"
                                       << "ComboBox2"
                                       << "index"
                                       << "2" << false;
    QTest::newRow("empty list line") << 7 << ""
                                     << "ComboBox2"
                                     << "index"
                                     << "2" << false;
    QTest::newRow("band two: first character") << 32 << "10"
                                               << "ComboBox26"
                                               << "index"
                                               << "1" << true;
    QTest::newRow("band two: ON") << 32 << "0 ON"
                                  << "ComboBox26"
                                  << "index"
                                  << "0" << true;
    QTest::newRow("band two: unselected") << 32 << "-1 "
                                          << "ComboBox26"
                                          << "index"
                                          << "-1" << true;
    QTest::newRow("position 173") << 33 << "173"
                                  << "UpDown8"
                                  << "position"
                                  << "173" << true;
    QTest::newRow("position 1450") << 33 << "1450"
                                   << "UpDown8"
                                   << "position"
                                   << "145" << true;
    QTest::newRow("position 1450 field") << 33 << "1450"
                                         << "Edit13"
                                         << "text"
                                         << "145" << true;
    QTest::newRow("position clamped") << 35 << "999"
                                      << "UpDown10"
                                      << "position"
                                      << "469" << true;
    QTest::newRow("position not a number") << 33 << "ab1"
                                           << "UpDown8"
                                           << "position"
                                           << "144" << false;
    QTest::newRow("flag in another language") << 23 << "1 End tone"
                                              << "CheckBox2"
                                              << "checked"
                                              << "1" << true;
    QTest::newRow("flag cleared") << 22 << "0 开机提示音"
                                  << "CheckBox1"
                                  << "checked"
                                  << "0" << true;
    QTest::newRow("flag digit 2 clears") << 22 << "2"
                                         << "CheckBox1"
                                         << "checked"
                                         << "0" << true;
    QTest::newRow("flag not a digit") << 22 << "x 开机提示音"
                                      << "CheckBox1"
                                      << "checked"
                                      << "1" << false;
    QTest::newRow("empty flag line") << 22 << ""
                                     << "CheckBox1"
                                     << "checked"
                                     << "1" << false;
    QTest::newRow("text is the whole line") << 18 << " A B "
                                            << "Edit16"
                                            << "text"
                                            << " A B " << true;
    QTest::newRow("over-long text line") << 18 << QString(5000, QChar('A')) << "Edit16"
                                         << "text"
                                         << "KT-510" << false;
    QTest::newRow("call list cell") << 64 << "12*#"
                                    << "StringGrid1:5"
                                    << "cell"
                                    << "12*#" << true;
    QTest::newRow("last FM cell") << 138 << "99.000"
                                  << "StringGrid2:31"
                                  << "cell"
                                  << "99.000" << true;
}

void TestDocument::settingEdgeCases() {
    QFETCH(int, line);
    QFETCH(QString, text);
    QFETCH(QString, control);
    QFETCH(QString, what);
    QFETCH(QString, expected);
    QFETCH(bool, applied);
    QList<QByteArray> lines = fileLines(freshBytes());
    lines[line - 1] = gbk(text);
    auto s = freshDocument();
    const OpenResult result = openDocument(*s, joinLines(lines));
    QVERIFY(result.accepted());
    QCOMPARE(stateOf(*s, control, what), expected);
    QCOMPARE(linesOf(result), applied ? QList<int>() : QList<int>{line});
}

void TestDocument::refusedFiles_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("accepted");
    const QList<QByteArray> fresh = fileLines(freshBytes());
    const auto withLine = [&](int line, const QByteArray& text) {
        QList<QByteArray> lines = fresh;
        lines[line - 1] = text;
        return joinLines(lines);
    };
    QTest::newRow("header in lower case") << withLine(1, "qovran memory channel") << false;
    QTest::newRow("header with a trailing blank") << withLine(1, "QOVRAN MEMORY CHANNEL ") << false;
    QTest::newRow("byte-order mark, as an editor adds it")
        << withLine(1, "\xEF\xBB\xBFQOVRAN MEMORY CHANNEL") << true;
    QTest::newRow("other model text") << withLine(4, "TYPE0 KT-520RY1.05") << false;
    QTest::newRow("model index the list lacks") << withLine(4, "TYPE1 KT-520RX1.05") << false;
    QTest::newRow("no model selected") << withLine(4, "TYPE-1 KT-520RX1.05") << false;
    QTest::newRow("short model line") << withLine(4, "TYPE0") << false;
    QTest::newRow("empty file") << QByteArray() << false;
    QTest::newRow("header only") << QByteArray("QOVRAN MEMORY CHANNEL\r\n") << false;
    QTest::newRow("version is not compared") << withLine(4, "TYPE0 KT-520RX9.99") << true;
}

void TestDocument::refusedFiles() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, accepted);
    auto s = freshDocument();
    fillRichDocument(*s);
    const QByteArray before = saveDocument(*s);
    const OpenResult result = openDocument(*s, bytes);
    QCOMPARE(result.accepted(), accepted);
    if (!accepted) {
        QVERIFY(result.caption.isEmpty());
        QCOMPARE(saveDocument(*s), before);
    } else {
        QCOMPARE(saveDocument(*s), freshBytes());
    }
}

void TestDocument::bandLine_data() {
    QTest::addColumn<QString>("band");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("applied");
    QTest::newRow("listed band") << "136-174MHz" << 0 << 3 << true;
    QTest::newRow("band not in the list") << "400-480MHz" << 3 << 4 << true;
    QTest::newRow("not a band text") << "bogus" << 2 << 3 << false;
    QTest::newRow("empty band") << "" << 2 << 3 << false;
}

void TestDocument::bandLine() {
    QFETCH(QString, band);
    QFETCH(int, index);
    QFETCH(int, count);
    QFETCH(bool, applied);
    QList<QByteArray> lines = fileLines(freshBytes());
    lines[4] = "BAND " + band.toLatin1();
    auto s = freshDocument();
    const OpenResult result = openDocument(*s, joinLines(lines));
    QVERIFY(result.accepted());
    QCOMPARE(s->doc.main.index(MainCtl::Band1), index);
    QCOMPARE(s->doc.main.items(MainCtl::Band1).size(), count);
    QCOMPARE(linesOf(result), applied ? QList<int>() : QList<int>{5});
    QCOMPARE(result.caption, documentCaption("KT-520RX", s->doc.main.currentItem(MainCtl::Band1)));
    if (applied) QCOMPARE(s->doc.main.currentItem(MainCtl::Band1), band);
}

void TestDocument::channelRowsReadInOrder() {
    // The k-th channel line belongs to row k whatever number it carries after "CH"; the first
    // 102 go to table A.
    QList<QByteArray> lines = fileLines(freshBytes());
    QStringList cells(18);
    cells[0] = QStringLiteral("145.00000");
    lines[DocumentFormat::FirstChannelLineA - 1 + 4] = formatChannelLine(999, cells).toLatin1();
    lines[DocumentFormat::FirstChannelLineB - 1] = formatChannelLine(1, cells).toLatin1();
    auto s = freshDocument();
    fillRichDocument(*s); // rows the file leaves empty must end up empty
    QVERIFY(openDocument(*s, joinLines(lines)).accepted());
    QCOMPARE(s->doc.tableA.cell(Col::RxFreq, 5), QStringLiteral("145.00000"));
    QCOMPARE(s->doc.tableB.cell(Col::RxFreq, 1), QStringLiteral("145.00000"));
    QVERIFY(s->doc.tableA.rowEmpty(4));
    QVERIFY(s->doc.tableB.rowEmpty(102));
}

void TestDocument::valueWordsStayAsSaved() {
    auto english = freshDocument(2);
    fillRichDocument(*english);
    auto chinese = freshDocument(1);
    QVERIFY(openDocument(*chinese, saveDocument(*english)).accepted());
    QCOMPARE(chinese->doc.tableA.cell(Col::Power, 4), QStringLiteral("High"));
    QCOMPARE(chinese->doc.tableA.cell(Col::RxTone, 1), QStringLiteral("OFF"));
    // The settings lists are in the language of the reader: only the positions were read.
    QCOMPARE(chinese->doc.func.currentItem(QStringLiteral("ComboBox1")), QStringLiteral("16H"));
    QCOMPARE(chinese->doc.func.index(QStringLiteral("ComboBox5")), 3);
}

void TestDocument::truncatedFiles_data() {
    QTest::addColumn<int>("cut");
    const QByteArray rich = richBytes();
    for (int cut = 0; cut < rich.size(); cut += 331)
        QTest::addRow("cut at %d", cut) << cut;
    QTest::addRow("cut before the last line end") << int(rich.size() - 2);
}

void TestDocument::truncatedFiles() {
    QFETCH(int, cut);
    const QByteArray part = richBytes().left(cut);
    auto s = freshDocument();
    const OpenResult result = openDocument(*s, part);
    // The line the cut falls in, or the first missing one when the cut follows a line end.
    const int cutLine = int(part.count('\n')) + (part.endsWith('\r') ? 2 : 1);
    if (cutLine <= 4) {
        QVERIFY(!result.accepted());
        return;
    }
    // A last line without line end is complete: files from other editors end that way.
    if (cutLine == DocumentFormat::LineCount) {
        QVERIFY(result.accepted());
        QCOMPARE(linesOf(result), QList<int>());
        return;
    }
    // All or nothing: every line from the cut on is reported, none before it, and the document
    // is as it was (a partial last line is never taken for a whole value).
    QCOMPARE(result.refusal, OpenResult::Refusal::Incomplete);
    QList<int> expected;
    for (int line = cutLine; line <= DocumentFormat::LineCount; ++line)
        expected << line;
    QCOMPARE(linesOf(result), expected);
    QVERIFY(!result.misfit);
    QCOMPARE(saveDocument(*s), saveDocument(*freshDocument()));
}

void TestDocument::linesDeletedFromTheMiddle_data() {
    QTest::addColumn<int>("first"); // the first line deleted
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("misfit"); // "line, its label, the label it should have"; empty: none
    QTest::newRow("in table A") << 200 << 10 << "200 CH070 CH060";
    QTest::newRow("among the settings: the first channel line tells") << 20 << 10 << "141 CH011 CH001";
    QTest::newRow("in table B") << 300 << 3 << "300 CH061 CH058";
    QTest::newRow("the last lines: a file cut short") << 335 << 10 << "";
}

// The first line out of place is named, not the lines a short file lacks at its end.
void TestDocument::linesDeletedFromTheMiddle() {
    QFETCH(int, first);
    QFETCH(int, count);
    QFETCH(QString, misfit);
    QList<QByteArray> lines = fileLines(richBytes());
    lines.remove(first - 1, count);
    auto s = freshDocument();
    const OpenResult result = openDocument(*s, lines.join("\r\n") + "\r\n");
    QCOMPARE(result.refusal, OpenResult::Refusal::Incomplete);
    const QStringList m = misfit.split(u' ');
    QCOMPARE(result.misfit, misfit.isEmpty()
                                ? std::nullopt
                                : std::optional<QString>(
                                      s->lang.text(Str::DocLineMisfit).arg(m[0]).arg(m[1], m[2]).arg(count)));
}

void TestDocument::garbage_data() {
    QTest::addColumn<QByteArray>("bytes");
    QRandomGenerator random(520);
    const QByteArray head = fileLines(freshBytes()).mid(0, 5).join("\r\n") + "\r\n";
    for (int i = 0; i < 12; ++i) {
        QByteArray noise(int(random.bounded(1, 20000)), Qt::Uninitialized);
        for (char& c : noise)
            c = char(random.bounded(256));
        QTest::addRow("noise %d", i) << noise;
        QTest::addRow("noise after a valid head %d", i) << head + noise;
    }
    QTest::newRow("zero bytes") << head + QByteArray(5000, '\0');
    QTest::newRow("lone GBK lead bytes at line ends")
        << head + QByteArray("\x81\r\n\xFE\r\n\xA1").repeated(400);
    QTest::newRow("only separators") << head + QByteArray("|||| | \r\n").repeated(400);
    QTest::newRow("one line of a megabyte") << head + QByteArray(1 << 20, 'x');
    QTest::newRow("many empty lines") << head + QByteArray(100000, '\n');
}

void TestDocument::garbage() {
    QFETCH(QByteArray, bytes);
    auto s = freshDocument();
    const OpenResult result = openDocument(*s, bytes);
    const QList<int> lines = linesOf(result);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QVERIFY(lines.at(i) >= 5 && lines.at(i) <= DocumentFormat::LineCount);
        QVERIFY(i == 0 || lines.at(i) > lines.at(i - 1));
    }
    // Whatever was read, the document can be saved again as a complete file.
    QCOMPARE(fileLines(saveDocument(*s)).size(), DocumentFormat::LineCount);
}

void TestDocument::fileEdges() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    auto s = freshDocument();
    fillRichDocument(*s);
    const QString path = dir.filePath(QStringLiteral("radio.qv19"));
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(200000, 'z')); // a longer file is replaced, not overwritten in part
    }
    QCOMPARE(writeDocumentFile(path, *s), std::nullopt);
    const FileRead read = readDocumentFile(path, *s);
    QVERIFY(read.bytes);
    QCOMPARE(*read.bytes, saveDocument(*s));

    const QString missingDir = dir.filePath(QStringLiteral("no/such/dir/radio.qv19"));
    const auto writeError = writeDocumentFile(missingDir, *s);
    QVERIFY(writeError);
    QVERIFY(writeError->contains(QStringLiteral("radio.qv19")));
    const FileRead missing = readDocumentFile(dir.filePath(QStringLiteral("absent.qv19")), *s);
    QVERIFY(!missing.bytes);
    QVERIFY(missing.error.contains(QStringLiteral("absent.qv19")));
}

QTEST_GUILESS_MAIN(TestDocument)
#include "test_document.moc"
