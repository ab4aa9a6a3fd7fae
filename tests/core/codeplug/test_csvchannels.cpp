// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/base/language.h"
#include "core/base/messages.h"
#include "core/codeplug/csvchannels.h"
#include <QStringEncoder>
#include <QtTest>

// CSV import rules line by line, whole-file refusal and options, and export -> import.
class TestCsvChannels : public QObject {
    Q_OBJECT
private slots:
    void importLine_data();
    void importLine();
    void refusedFile();
    void renumberAndReplace();
    void listsOfOtherPrograms_data();
    void listsOfOtherPrograms();
    void numbersBeyondAnyRadio_data();
    void numbersBeyondAnyRadio();
    void duplicatesAndNothingTaken();
    void roundTrip_data();
    void roundTrip();
    void fullTableBenchmark_data();
    void fullTableBenchmark();
};

namespace {
const QChar Dot('.');
const ValueWords W = ValueWords::english();
const QByteArray Header = "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,"
                          "DtcsPolarity,RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,"
                          "RPT1CALL,RPT2CALL,DVCODE\r\n";

// Columns 1-7 and 14 of a row, "|"-joined, with "-" for the OFF word.
QString cells(const ChannelTable& t, int row) {
    QStringList s;
    for (int c : {1, 2, 3, 4, 5, 6, 7, 14})
        s << (t.cell(c, row) == W.off ? QStringLiteral("-") : t.cell(c, row));
    return s.join(u'|');
}
} // namespace

void TestCsvChannels::importLine_data() {
    QTest::addColumn<QByteArray>("line");  // after the header; channel 1 unless it is dropped
    QTest::addColumn<QString>("expected"); // cells(), or empty when the line is dropped
    QTest::addColumn<int>("warnings");

    // Duplex and offset.
    QTest::newRow("simplex") << QByteArray(
                                    "1,Home,145.500000,,0.6,,88.5,88.5,023,NN,,Tone->Tone,FM,5.00,,High,,,,,")
                             << "145.50000|-|145.50000|-|High|Wide|ON|Home" << 0;
    QTest::newRow("plus") << QByteArray("1,R1,438.5,+,7.6,,,,,,,,,,,,,,,,")
                          << "438.50000|-|446.10000|-|High|Wide|ON|R1" << 0;
    QTest::newRow("minus") << QByteArray("1,R2,145.6,-,0.6,,,,,,,,,,,,,,,,")
                           << "145.60000|-|145.00000|-|High|Wide|ON|R2" << 0;
    QTest::newRow("split") << QByteArray("1,X,145.5,split,435.0,,,,,,,,,,,,,,,,")
                           << "145.50000|-|435.00000|-|High|Wide|ON|X" << 0;
    QTest::newRow("off") << QByteArray("1,RxOnly,162.55,off,0,,,,,,,,,,,,,,,,")
                         << "162.55000|-||-|High|Wide|ON|RxOnly" << 0;
    QTest::newRow("normalised to raster A")
        << QByteArray("1,N,438.501,,,,,,,,,,,,,,,,,,") << "438.50250|-|438.50250|-|High|Wide|ON|N" << 1;
    // Tones.
    QTest::newRow("Tone") << QByteArray("1,T,145.5,,,Tone,100,123,,,,,,,,,,,,,")
                          << "145.50000|-|145.50000|100.0|High|Wide|ON|T" << 0;
    QTest::newRow("TSQL") << QByteArray("1,T,145.5,,,TSQL,100,123,,,,,,,,,,,,,")
                          << "145.50000|123.0|145.50000|123.0|High|Wide|ON|T" << 0;
    QTest::newRow("DTCS same code") << QByteArray("1,T,145.5,,,DTCS,,,23,NR,,,,,,,,,,,")
                                    << "145.50000|D023I|145.50000|D023N|High|Wide|ON|T" << 0;
    QTest::newRow("DTCS rx code") << QByteArray("1,T,145.5,,,DTCS,,,023,RN,754,,,,,,,,,,")
                                  << "145.50000|D754N|145.50000|D023I|High|Wide|ON|T" << 0;
    QTest::newRow("Cross Tone->DTCS") << QByteArray("1,T,145.5,,,Cross,67,,,NR,131,Tone->DTCS,,,,,,,,,")
                                      << "145.50000|D131I|145.50000|67.0|High|Wide|ON|T" << 0;
    QTest::newRow("Cross DTCS->Tone") << QByteArray("1,T,145.5,,,Cross,,88.5,65,RN,,DTCS->Tone,,,,,,,,,")
                                      << "145.50000|88.5|145.50000|D065I|High|Wide|ON|T" << 0;
    QTest::newRow("Cross ->Tone") << QByteArray("1,T,145.5,,,Cross,100,91.5,,,,->Tone,,,,,,,,,")
                                  << "145.50000|91.5|145.50000|-|High|Wide|ON|T" << 0;
    QTest::newRow("Cross Tone->Tone") << QByteArray("1,T,145.5,,,Cross,100,91.5,,,,Tone->Tone,,,,,,,,,")
                                      << "145.50000|91.5|145.50000|100.0|High|Wide|ON|T" << 0;
    QTest::newRow("unknown tone is OFF")
        << QByteArray("1,T,145.5,,,TSQL,,69.9,,,,,,,,,,,,,") << "145.50000|-|145.50000|-|High|Wide|ON|T" << 1;
    QTest::newRow("unknown code is OFF") << QByteArray("1,T,145.5,,,DTCS,,,024,NN,,,,,,,,,,,")
                                         << "145.50000|-|145.50000|-|High|Wide|ON|T" << 2;
    // Mode, skip, power.
    QTest::newRow("NFM skip low") << QByteArray("1,T,145.5,,,,,,,,,,NFM,,S,Low,,,,,")
                                  << "145.50000|-|145.50000|-|Low|Narrow|-|T" << 0;
    QTest::newRow("power M") << QByteArray("1,T,145.5,,,,,,,,,,,,,m,,,,,")
                             << "145.50000|-|145.50000|-|Mid|Wide|ON|T" << 0;
    QTest::newRow("power 5.0W") << QByteArray("1,T,145.5,,,,,,,,,,,,,5.0W,,,,,")
                                << "145.50000|-|145.50000|-|High|Wide|ON|T" << 0;
    QTest::newRow("power 2W") << QByteArray("1,T,145.5,,,,,,,,,,,,,2W,,,,,")
                              << "145.50000|-|145.50000|-|Mid|Wide|ON|T" << 0;
    QTest::newRow("power 1.5") << QByteArray("1,T,145.5,,,,,,,,,,,,,1.5,,,,,")
                               << "145.50000|-|145.50000|-|Low|Wide|ON|T" << 0;
    // Names.
    QTest::newRow("long name cut") << QByteArray("1,\"Abc, Defgh\",145.5,,,,,,,,,,,,,,,,,,")
                                   << "145.50000|-|145.50000|-|High|Wide|ON|Abc, De" << 1;
    QTest::newRow("trailing blanks") << QByteArray("1,Ab     X,145.5,,,,,,,,,,,,,,,,,,")
                                     << "145.50000|-|145.50000|-|High|Wide|ON|Ab" << 1;
    QTest::newRow("bad characters") << QByteArray("1,A|B\xc3\xa9,145.5,,,,,,,,,,,,,,,,,,")
                                    << "145.50000|-|145.50000|-|High|Wide|ON|A B" << 1;
    QTest::newRow("empty name default")
        << QByteArray("1,,145.5,,,,,,,,,,,,,,,,,,") << "145.50000|-|145.50000|-|High|Wide|ON|NameA01" << 0;
    // Drops.
    QTest::newRow("location 0: a list counted from 0")
        << QByteArray("0,T,145.5,,,,,,,,,,,,,,,,,,") << "145.50000|-|145.50000|-|High|Wide|ON|T" << 1;
    QTest::newRow("location 100") << QByteArray("100,T,145.5,,,,,,,,,,,,,,,,,,") << QString() << 0;
    QTest::newRow("location text") << QByteArray("a,T,145.5,,,,,,,,,,,,,,,,,,") << QString() << 0;
    QTest::newRow("rx below 100") << QByteArray("1,T,99.9,,,,,,,,,,,,,,,,,,") << QString() << 0;
    QTest::newRow("rx above 550") << QByteArray("1,T,550.1,,,,,,,,,,,,,,,,,,") << QString() << 0;
    QTest::newRow("rx comma decimal") << QByteArray("1,T,\"145,5\",,,,,,,,,,,,,,,,,,") << QString() << 0;
    QTest::newRow("tx out of range") << QByteArray("1,T,545,+,10,,,,,,,,,,,,,,,,") << QString() << 0;
    QTest::newRow("mode AM") << QByteArray("1,T,145.5,,,,,,,,,,AM,,,,,,,,") << QString() << 0;
    QTest::newRow("mode DV") << QByteArray("1,T,145.5,,,,,,,,,,DV,,,,,,,,") << QString() << 0;
}

void TestCsvChannels::importLine() {
    QFETCH(QByteArray, line);
    QFETCH(QString, expected);
    QFETCH(int, warnings);
    ChannelTable t(Side::A);
    Language lang;
    const auto report = importChannelsCsv(t, Header + line + "\r\n", W, lang, {}, Dot);
    QVERIFY(!report.refusal);
    QCOMPARE(report.warnings, warnings);
    QCOMPARE(report.imported, expected.isEmpty() ? 0 : 1);
    QCOMPARE(report.dropped, expected.isEmpty() ? 1 : 0);
    QCOMPARE(report.notes.size(), qsizetype(report.dropped + report.warnings));
    for (const CsvNote& n : report.notes)
        QCOMPARE(n.line, 2);
    if (expected.isEmpty())
        for (int row = 4; row <= ChannelTable::LastRow; ++row)
            QVERIFY(!t.rowInUse(row));
    else
        QCOMPARE(cells(t, 4), expected);
}

void TestCsvChannels::refusedFile() {
    ChannelTable t(Side::A);
    t.setCell(Col::RxFreq, 5, QStringLiteral("145.00000"));
    Language lang;
    const auto report =
        importChannelsCsv(t, "Location,Name,Offset\r\n1,A,0\r\n", W, lang, {.replace = true}, Dot);
    QVERIFY(report.refusal);
    // Only the header: nothing to import is no import.
    const auto empty = importChannelsCsv(t, Header + "\r\n\r\n", W, lang, {.replace = true}, Dot);
    QCOMPARE(empty.refusal, lang.text(Str::CsvNoChannelLines));
    QCOMPARE(t.cell(Col::RxFreq, 5), QStringLiteral("145.00000"));
}

// Lists as other programs write them: counted from 0, an unclosed quote, long names, channels
// outside the selected band, the older 18-column layout.
void TestCsvChannels::listsOfOtherPrograms_data() {
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<bool>("keepNumbers");
    QTest::addColumn<QString>("band");
    QTest::addColumn<QList<int>>("totals"); // imported, dropped, warnings
    QTest::addColumn<QString>("channel1");  // its name
    QTest::addColumn<QString>("note");      // a note that must be there, whole
    Language lang;
    const QByteArray zero = Header + "0,Zero,145.5\r\n1,One,145.6\r\n98,Last,145.7\r\n99,Over,145.8\r\n";
    QTest::newRow("counted from 0") << zero << false << QString() << QList<int>{3, 1, 1} << "Zero"
                                    << lang.text(Str::CsvBeyondLastChannel).arg(99).arg(100);
    QTest::newRow("counted from 0, numbers kept")
        << zero << true << QString() << QList<int>{3, 1, 0} << "One" << lang.text(Str::CsvBadLocation).arg(0);
    QTest::newRow("unclosed quote")
        << Header +
               "1,One,145.5\r\n3,\"Three,446.200000,,,,,,,,,,,,,,,,,,\r\n4,Four,145.7\r\n5,\"Five\",145.8\r\n"
        << false << QString() << QList<int>{3, 1, 0} << "One" << lang.text(Str::CsvUnclosedQuote);
    QTest::newRow("name longer than 7")
        << Header + "1,UHF CALL,445.5\r\n"
        << false << QString() << QList<int>{1, 0, 1} << "UHF CAL"
        << lang.text(Str::CsvNameCut).arg(QStringLiteral("UHF CALL")).arg(7).arg(QStringLiteral("UHF CAL"));
    QTest::newRow("name of 100000 characters") << Header + "1," + QByteArray(100000, 'N') + ",445.5\r\n"
                                               << false << QString() << QList<int>{1, 0, 1} << "NNNNNNN"
                                               << lang.text(Str::CsvNameCut)
                                                      .arg(QString(40, u'N') + QChar(0x2026))
                                                      .arg(7)
                                                      .arg(QStringLiteral("NNNNNNN"));
    QTest::newRow("outside the selected band")
        << Header + "1,Vhf,145.5\r\n2,Uhf,445.5\r\n"
        << false << QStringLiteral("400-470MHz") << QList<int>{2, 0, 1} << "Vhf"
        << lang.text(Str::ProblemOutsideBand) + QStringLiteral(" \"400-470MHz\"");
    QTest::newRow("older 18 columns, byte-order mark, quoted comment, 8.33 step")
        << QByteArray("\xef\xbb\xbfLocation,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,"
                      "DtcsPolarity,Mode,TStep,Skip,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\r\n"
                      "1,Rpt,438.5,-,7.6,Tone,88.5,88.5,023,NN,NFM,8.33,,\"a, b, c\",,,,\r\n"
                      "2,Air,127.5,,0,,88.5,88.5,023,NN,AM,8.33,,,,,,\r\n")
        << false << QString() << QList<int>{1, 1, 0} << "Rpt"
        << lang.text(Str::CsvBadMode).arg(QStringLiteral("AM"));
    // Spreadsheets and older programs: another separator, decimal commas, CR line ends, UTF-16.
    // Each list's one channel is off the raster, which its line tells.
    const QString moved =
        lang.text(Str::CsvMovedToRaster).arg(QStringLiteral("438.501"), QStringLiteral("438.50250"));
    const QString list = QStringLiteral("Location,Name,Frequency\r\n1,One,438.501\r\n");
    QTest::newRow("separated by ';', decimal commas")
        << QByteArray("Location;Name;Frequency\r\n1;One;438,501\r\n") << false << QString()
        << QList<int>{1, 0, 1} << "One" << moved;
    QTest::newRow("separated by tabs, CR line ends")
        << QByteArray("Location\tName\tFrequency\r1\tOne\t438.501\r") << false << QString()
        << QList<int>{1, 0, 1} << "One" << moved;
    QTest::newRow("UTF-16 with its mark")
        << QByteArray(QStringEncoder(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom)(list))
        << false << QString() << QList<int>{1, 0, 1} << "One" << moved;
    QTest::newRow("UTF-16 big-endian without a mark")
        << QByteArray(QStringEncoder(QStringConverter::Utf16BE)(list)) << false << QString()
        << QList<int>{1, 0, 1} << "One" << moved;
}

void TestCsvChannels::listsOfOtherPrograms() {
    QFETCH(QByteArray, csv);
    QFETCH(bool, keepNumbers);
    QFETCH(QString, band);
    QFETCH(QList<int>, totals);
    QFETCH(QString, channel1);
    QFETCH(QString, note);
    ChannelTable t(Side::A);
    Language lang;
    const auto report =
        importChannelsCsv(t, csv, W, lang,
                          {.keepNumbers = keepNumbers,
                           .band = band,
                           .bandTwo = band.isEmpty() ? QString() : QStringLiteral("136-174MHz")},
                          Dot);
    QVERIFY(!report.refusal);
    QCOMPARE((QList<int>{report.imported, report.dropped, report.warnings}), totals);
    QCOMPARE(t.cell(Col::Name, ChannelTable::FirstChannelRow), channel1);
    bool found = false;
    for (const CsvNote& n : report.notes)
        found = found || n.reason == note;
    QVERIFY2(found, qPrintable(report.lines(lang).join(u'\n')));
}

// Header found by name in any order and case, BOM and LF accepted; line numbers count blank
// lines and quoted line breaks; renumbering skips dropped lines; replace empties the rest.
void TestCsvChannels::renumberAndReplace() {
    ChannelTable t(Side::B);
    for (int row : {1, 30})
        t.setCell(Col::RxFreq, row, QStringLiteral("145.00000"));
    Language lang;
    const QByteArray csv = "\xef\xbb\xbf"
                           "frequency,MODE,location,name\n"
                           "145.5,FM,50,\"a\nb\"\n"
                           "\n"
                           "145.6,AM,51,c\n"
                           "438.501,NFM,7,d\n";
    const auto report = importChannelsCsv(t, csv, W, lang, {.renumber = true, .replace = true}, Dot);
    QCOMPARE(report.imported, 2);
    QCOMPARE(report.dropped, 1);
    QCOMPARE(report.warnings, 2); // the line break in the name, 438.501 on side B's raster
    QCOMPARE(report.notes.size(), 3);
    QCOMPARE(report.notes.at(0).line, 2);
    QCOMPARE(report.notes.at(1).line, 5);
    QCOMPARE(cells(t, 4), QStringLiteral("145.50000|-|145.50000|-|High|Wide|ON|a b"));
    QCOMPARE(cells(t, 5), QStringLiteral("438.50500|-|438.50500|-|High|Narrow|ON|d"));
    QVERIFY(!t.rowInUse(30));
    QVERIFY(t.rowInUse(1)); // VFO rows are never touched
}

// Numbers far beyond any band are dropped and named as the file writes them, not as a wrapped
// sum of them.
void TestCsvChannels::numbersBeyondAnyRadio_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("named");
    QTest::newRow("offset near the long long limit")
        << QByteArray("1,T,145.5,-,92233720368547.75807,,,,,,,,,,,,,,,,") << "92233720368547.75807";
    QTest::newRow("split far away") << QByteArray("1,T,145.5,split,99999999999999999999,,,,,,,,,,,,,,,,")
                                    << "99999999999999999999";
}

void TestCsvChannels::numbersBeyondAnyRadio() {
    QFETCH(QByteArray, line);
    QFETCH(QString, named);
    ChannelTable t(Side::A);
    Language lang;
    const auto report = importChannelsCsv(t, Header + line + "\r\n", W, lang, {}, Dot);
    QCOMPARE(report.dropped, 1);
    QVERIFY2(report.notes.first().reason.contains(named), qPrintable(report.notes.first().reason));
}

// A later line for a location already taken is dropped, naming the earlier one; a file whose
// every line is dropped leaves the table as it was, even with replace.
void TestCsvChannels::duplicatesAndNothingTaken() {
    ChannelTable t(Side::A);
    t.setCell(Col::RxFreq, 30, QStringLiteral("145.00000"));
    Language lang;
    const QByteArray dup = Header + "5,A,145.5\r\n6,B,145.6\r\n5,C,145.7\r\n5,D,145.8\r\n";
    const auto report = importChannelsCsv(t, dup, W, lang, {}, Dot);
    QCOMPARE(report.imported, 2);
    QCOMPARE(report.dropped, 2);
    QCOMPARE(report.notes.at(0).line, 4);
    QCOMPARE(report.notes.at(0).reason, lang.text(Str::CsvDuplicateLocation).arg(5).arg(2));
    QCOMPARE(report.notes.at(1).line, 5);
    QCOMPARE(t.cell(Col::Name, 8), QStringLiteral("A"));

    const auto none = importChannelsCsv(t, Header + "0,X,145.5\r\n1,Y,600\r\n", W, lang,
                                        {.replace = true, .keepNumbers = true}, Dot);
    QCOMPARE(none.imported, 0);
    QCOMPARE(none.dropped, 2);
    QVERIFY(t.rowInUse(30));
    QVERIFY(t.rowInUse(8));
}

void TestCsvChannels::roundTrip_data() {
    QTest::addColumn<Side>("side");
    QTest::newRow("A") << Side::A;
    QTest::newRow("B") << Side::B;
}

void TestCsvChannels::roundTrip() {
    QFETCH(Side, side);
    const QStringList tones = toneList(W);
    ChannelTable t(side);
    for (int ch = 1; ch <= ChannelTable::ChannelCount; ++ch) {
        const int row = ch + 3;
        const long long rx = 10000000 + ch * 437500LL; // 100 MHz upwards on both rasters
        t.setCell(Col::RxFreq, row, QString::asprintf("%lld.%05lld", rx / 100000, rx % 100000));
        t.newChannelDefaults(row, W);
        const QString txs[] = {
            t.cell(1, row), QString(), QStringLiteral("550.00000"),
            QString::asprintf("%lld.%05lld", (rx - 60000) / 100000, (rx - 60000) % 100000)};
        t.setCell(Col::TxFreq, row, txs[ch % 4]);
        t.setCell(Col::RxTone, row, tones.at((ch * 7) % tones.size()));
        t.setCell(Col::TxTone, row,
                  tones.at(ch % 3 == 0 ? (ch * 7) % tones.size() : (ch * 11) % tones.size()));
        t.setCell(Col::Power, row, (QStringList{W.high, W.mid, W.low}).at(ch % 3));
        t.setCell(Col::Bandwidth, row, ch % 2 ? W.wide : W.narrow);
        t.setCell(Col::Opt7, row, ch % 5 ? W.on : W.off);
        t.setCell(Col::Name, row, QStringLiteral("C,\"%1").arg(ch));
    }
    const QByteArray csv = exportChannelsCsv(t, W, Dot);
    ChannelTable back(side);
    Language lang;
    const auto report = importChannelsCsv(back, csv, W, lang, {}, Dot);
    QCOMPARE(report.imported, ChannelTable::ChannelCount);
    QCOMPARE(report.warnings + report.dropped, 0);
    for (int row = 4; row <= ChannelTable::LastRow; ++row)
        QCOMPARE(cells(back, row), cells(t, row));
}

// Not a timed test: prints the time of one import or export of 99 channels (-tickcounter etc.).
void TestCsvChannels::fullTableBenchmark_data() {
    QTest::addColumn<bool>("importing");
    QTest::newRow("export") << false;
    QTest::newRow("import") << true;
}

void TestCsvChannels::fullTableBenchmark() {
    QFETCH(bool, importing);
    ChannelTable t(Side::A);
    for (int row = 4; row <= ChannelTable::LastRow; ++row) {
        t.setCell(Col::RxFreq, row, QStringLiteral("438.50000"));
        t.newChannelDefaults(row, W);
        t.setCell(Col::TxTone, row, QStringLiteral("D023N"));
    }
    const QByteArray csv = exportChannelsCsv(t, W, Dot);
    Language lang;
    if (importing) {
        QBENCHMARK {
            importChannelsCsv(t, csv, W, lang, {.replace = true}, Dot);
        }
    } else {
        QBENCHMARK {
            QVERIFY(!exportChannelsCsv(t, W, Dot).isEmpty());
        }
    }
}

QTEST_GUILESS_MAIN(TestCsvChannels)
#include "test_csvchannels.moc"
