// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/base/gbk.h"
#include "core/base/language.h"
#include "core/base/messages.h"
#include "core/base/texttable.h"
#include "core/base/valuewords.h"
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>
#include <QTest>

namespace {

struct LangFile {
    const char* tag;
    const char* file;
    ValueWords (*words)();
};

const LangFile Files[] = {
    {"Simplified", "cha_dll.dll", &ValueWords::simplifiedChinese},
    {"English", "eng_dll.dll", &ValueWords::english},
    {"Traditional", "ty.dll", &ValueWords::traditionalChinese},
};

QString langPath(const QString& file) {
    return QStringLiteral(KT520_LANG_DIR "/") + file;
}

QByteArray readFile(const QString& file) {
    QFile f(langPath(file));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

StringTable table(const QString& file) {
    return StringTable::parse(readFile(file));
}

// Display width in grid cells of a narrow character; a Chinese character takes two.
int displayWidth(const QString& s) {
    int w = 0;
    for (QChar c : s)
        w += c.unicode() >= 0x2E80 ? 2 : 1;
    return w;
}

QSet<QString> placeholders(const QString& s) {
    QSet<QString> found;
    static const QRegularExpression re(QStringLiteral("%\\d"));
    for (auto it = re.globalMatch(s); it.hasNext();)
        found.insert(it.next().captured());
    return found;
}

void addPerFileRows() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("index");
    for (int i = 0; i < 3; ++i)
        QTest::newRow(Files[i].tag) << QString::fromLatin1(Files[i].file) << i;
}

} // namespace

class TestStrings : public QObject {
    Q_OBJECT
private slots:
    void filesAreWellFormed_data() { addPerFileRows(); }
    void filesAreWellFormed();
    void textsRoundTripInGbk_data() { addPerFileRows(); }
    void textsRoundTripInGbk();
    void usedNumbersExist_data();
    void usedNumbersExist();
    void valueWords_data();
    void valueWords();
    void headerTextsFitColumns_data() { addPerFileRows(); }
    void headerTextsFitColumns();
    void placeholdersKept_data() { addPerFileRows(); }
    void placeholdersKept();
    void listItemsDistinct_data();
    void listItemsDistinct();
    void noFileShowsSimplifiedTexts();
    void captionRulesComposeTheirCaption_data();
    void captionRulesComposeTheirCaption();
    void captionRuleLookup_data();
    void captionRuleLookup();
    void composedCaptions_data();
    void composedCaptions();
    void channelHeaderNumbers_data();
    void channelHeaderNumbers();
};

// Every line is "number<TAB>text", each number once, the numbers exactly those with a built-in
// text, the text valid UTF-8 within the radio software's 253-byte buffer (the parser would cut a
// longer one silently), and the escaped line break restored.
void TestStrings::filesAreWellFormed() {
    QFETCH(QString, file);
    const QByteArray bytes = readFile(file);
    QVERIFY2(!bytes.isEmpty(), qPrintable(file));
    QVERIFY(!bytes.contains('\r'));
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString all = decoder.decode(bytes);
    QVERIFY2(!decoder.hasError(), "not valid UTF-8");

    static const QRegularExpression line(QStringLiteral("^([0-9]+)\t([^\t]*)$"));
    QList<int> numbers;
    for (const QString& l : all.split(u'\n', Qt::SkipEmptyParts)) {
        const auto m = line.match(l);
        QVERIFY2(m.hasMatch(), qPrintable(l));
        QVERIFY2(!m.captured(2).isEmpty(), qPrintable(l));
        QVERIFY2(m.captured(2).trimmed() == m.captured(2), qPrintable(l));
        QString text = m.captured(2);
        text.replace(QStringLiteral("\\n"), QStringLiteral("\n"));
        QVERIFY2(text.toUtf8().size() <= StringTable::MaxTextBytes, qPrintable(l));
        numbers.append(m.captured(1).toInt());
    }
    QCOMPARE(QSet<int>(numbers.begin(), numbers.end()).size(), numbers.size());
    std::sort(numbers.begin(), numbers.end());
    QCOMPARE(numbers, builtinTextNumbers());

    const StringTable t = StringTable::parse(bytes);
    QVERIFY(t.text(Str::LinkFailed)->contains(u'\n'));
    for (int n : numbers)
        QVERIFY2(!t.text(n)->contains(QStringLiteral("\\n")), qPrintable(QString::number(n)));
}

// Documents carry the texts of the language in use in GBK: each must come back from a save and
// an open exactly, with Windows' code page 936 as with the Linux converter.
void TestStrings::textsRoundTripInGbk() {
    QFETCH(QString, file);
    Gbk gbk;
    int chinese = 0;
    for (const QString& line : QString::fromUtf8(readFile(file)).split(u'\n', Qt::SkipEmptyParts)) {
        const QString text = line.section(u'\t', 1);
        const QByteArray bytes = gbk.encode(text);
        if (bytes.size() == text.size()) continue; // plain ASCII
        ++chinese;
        QVERIFY2(bytes.count('?') == text.count(u'?'), qPrintable(line)); // every character has a code
        QCOMPARE(gbk.decode(bytes), text);
        QCOMPARE(gbk.encode(gbk.decode(bytes)), bytes);
    }
    QVERIFY(file == QLatin1String("eng_dll.dll") || chinese > 500);
    // Two characters whose codes differ between GBK tables: the Linux converter's, which
    // documents from other installations carry.
    QCOMPARE(gbk.encode(QStringLiteral("禁用…—")), QByteArray::fromHex("bdfbd3c3a1ada1aa"));
}

// The numbers the windows, lists, messages and transfer texts ask for, grouped by where they are
// shown; each must have a built-in text and a text in every language file.
void TestStrings::usedNumbersExist_data() {
    QTest::addColumn<QList<int>>("numbers");
    QTest::newRow("main window") << QList<int>{9,  10, 11, 12, 13, 14, 15,  16,  17, 18, 19, 20,
                                               22, 23, 56, 57, 88, 89, 145, 157, 53, 54, 61};
    QTest::newRow("about box") << QList<int>{1, 2, 3, 4, 5, 6};
    QTest::newRow("port and read/write") << QList<int>{2, 22, 142, 61};
    QTest::newRow("radio information") << QList<int>{145, 157, 158, 159, 160, 241, 242, 2};
    QTest::newRow("channel windows") << QList<int>{19, 161, 96, 65, 66, 67};
    QTest::newRow("channel headers") << QList<int>{25, 26, 27, 28,  29,  30,  73,  31, 32,
                                                   76, 77, 33, 101, 175, 176, 177, 178};
    QTest::newRow("value words") << QList<int>{34, 35, 36, 250, 37, 74, 75, 78, 79};
    QTest::newRow("messages") << QList<int>{58, 59, 60, 61, 62, 64};
    QTest::newRow("key functions") << QList<int>{164, 165, 166, 182, 170, 30, 138, 139, 177, 176, 162, 163};
    QTest::newRow("function lists") << QList<int>{51,  52,  118, 119, 120, 104, 105, 209,
                                                  210, 212, 213, 216, 217, 218, 219, 224};
    QTest::newRow("function groups") << QList<int>{20,  100, 184, 85,  89,  106, 121, 124, 140, 188,
                                                   195, 198, 201, 205, 239, 122, 123, 25,  179};
    QTest::newRow("function labels") << QList<int>{
        103, 108, 109, 110, 112, 113, 117, 44,  118, 119, 125, 126, 127, 134, 135, 38,  43,  40,  45,  46, 83,
        81,  162, 163, 152, 249, 186, 187, 191, 202, 203, 207, 208, 211, 214, 215, 220, 221, 222, 223, 240};
    QTest::newRow("function check boxes") << QList<int>{
        114, 115, 116, 128, 129, 130, 173, 39,  42,  47,  153, 154, 183, 185, 189, 190, 192, 193, 194,
        196, 197, 204, 206, 225, 226, 227, 229, 230, 231, 232, 233, 234, 235, 236, 237, 238, 248};
    QTest::newRow("program's own") << QList<int>{Str::NumberConversion,
                                                 Str::LinesNotApplied,
                                                 Str::OverwriteQuestion,
                                                 Str::ValidationFailed,
                                                 Str::ChannelRangeInvalid,
                                                 Str::PasswordInvalid,
                                                 Str::FileError,
                                                 Str::TraceCheck,
                                                 Str::ProblemCell,
                                                 Str::ProblemField,
                                                 Str::BadFrequency,
                                                 Str::BadTone,
                                                 Str::BadCtcssFrequency,
                                                 Str::BadName,
                                                 Str::BadDtmf,
                                                 Str::BadPassword,
                                                 Str::BadFmFrequency,
                                                 Str::BadDate,
                                                 Str::OutOfRange,
                                                 Str::BadText,
                                                 Str::ReadDone,
                                                 Str::Transferring,
                                                 Str::DemoPort,
                                                 Str::LineTooLong,
                                                 Str::DamagedLine,
                                                 Str::BadBandText,
                                                 Str::NothingSelected,
                                                 Str::BadValue,
                                                 Str::NoSpace,
                                                 Str::QuotaExceeded,
                                                 Str::FileTooLarge,
                                                 Str::NoPermission,
                                                 Str::ReadOnlyDisk,
                                                 Str::NoSuchFolder,
                                                 Str::DiskIoError,
                                                 Str::WriteCutOff,
                                                 Str::PortBroke,
                                                 Str::PortNotOpened,
                                                 Str::NoReply,
                                                 Str::RadioBusy,
                                                 Str::DamagedReplies,
                                                 Str::UnexpectedReply};
}

void TestStrings::usedNumbersExist() {
    QFETCH(QList<int>, numbers);
    const QList<int> known = builtinTextNumbers();
    for (const LangFile& f : Files) {
        const StringTable t = table(QString::fromLatin1(f.file));
        for (int n : numbers) {
            QVERIFY2(known.contains(n), qPrintable(QStringLiteral("no built-in text %1").arg(n)));
            QVERIFY2(t.text(n).has_value(), qPrintable(QStringLiteral("%1 lacks %2").arg(f.file).arg(n)));
        }
    }
}

void TestStrings::valueWords_data() {
    QTest::addColumn<int>("number");
    QTest::addColumn<QStringList>("expected"); // Simplified, English, Traditional
    QTest::newRow("off") << 34 << QStringList{u"禁用"_qs, u"OFF"_qs, u"禁用"_qs};
    QTest::newRow("on") << 35 << QStringList{u"启用"_qs, u"ON"_qs, u"啟用"_qs};
    QTest::newRow("high") << 36 << QStringList{u"高功率"_qs, u"High"_qs, u"高功率"_qs};
    QTest::newRow("mid") << 250 << QStringList{u"中功率"_qs, u"Mid"_qs, u"中功率"_qs};
    QTest::newRow("low") << 37 << QStringList{u"低功率"_qs, u"Low"_qs, u"低功率"_qs};
    QTest::newRow("wide") << 74 << QStringList{u"宽带"_qs, u"Wide"_qs, u"寬帶"_qs};
    QTest::newRow("narrow") << 75 << QStringList{u"窄带"_qs, u"Narrow"_qs, u"窄帶"_qs};
    QTest::newRow("compander") << 78 << QStringList{u"压扩"_qs, u"Comp"_qs, u"壓擴"_qs};
    QTest::newRow("scrambler") << 79 << QStringList{u"扰频"_qs, u"scrambler"_qs, u"擾頻"_qs};
}

// The words are what cells are compared with when the language changes, so they must be exactly
// these, and agree with the words the core knows for each language.
void TestStrings::valueWords() {
    QFETCH(int, number);
    QFETCH(QStringList, expected);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(table(QString::fromLatin1(Files[i].file)).text(number).value_or(QString()), expected[i]);
        const ValueWords w = Files[i].words();
        const QList<QPair<int, QString>> core{{34, w.off},    {35, w.on},        {36, w.high},
                                              {250, w.mid},   {37, w.low},       {74, w.wide},
                                              {75, w.narrow}, {78, w.compander}, {79, w.scrambler}};
        for (const auto& [n, word] : core)
            if (n == number) QCOMPARE(word, expected[i]);
    }
    QCOMPARE(builtinText(number), expected[0]);
}

// A grid header column is 42-80 pixels wide: ten narrow characters or five Chinese ones.
void TestStrings::headerTextsFitColumns() {
    QFETCH(QString, file);
    const StringTable t = table(file);
    for (int col = 0; col < 19; ++col) {
        const int n = channelHeaderNumber(col);
        if (n == 0) continue;
        const QString text = t.text(n).value_or(QString());
        QVERIFY2(!text.isEmpty() && displayWidth(text) <= 10,
                 qPrintable(QStringLiteral("column %1: \"%2\"").arg(col).arg(text)));
    }
}

// A translation that drops or renumbers a placeholder loses the file name or the bad value.
void TestStrings::placeholdersKept() {
    QFETCH(QString, file);
    const StringTable cha = table(QStringLiteral("cha_dll.dll"));
    const StringTable t = table(file);
    for (int n : builtinTextNumbers())
        QVERIFY2(placeholders(t.text(n).value_or(QString())) == placeholders(cha.text(n).value_or(QString())),
                 qPrintable(QStringLiteral("string %1").arg(n)));
}

// Two equal items in one drop-down list (or two equal value words) would make positions
// indistinguishable to the user and to the cell tests.
void TestStrings::listItemsDistinct_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("items"); // "#n" is string n, "prefix#n" a prefixed string
    const QStringList lists[] = {
        {u"DC"_qs, u"Fm"_qs, u"#164"_qs, u"#165"_qs, u"#166"_qs, u"#182"_qs, u"#170"_qs, u"#30"_qs,
         u"#138"_qs, u"VFO/MR"_qs, u"DTMF"_qs, u"CALL"_qs, u"#139"_qs, u"A/B"_qs, u"#177"_qs, u"#176"_qs},
        {u"DC"_qs, u"Fm"_qs, u"BandChange"_qs, u"Time"_qs, u"#165"_qs, u"#182"_qs, u"#170"_qs, u"#30"_qs,
         u"#138"_qs, u"VFO/MR"_qs, u"DTMF"_qs, u"CALL"_qs, u"#139"_qs, u"A/B"_qs, u"#177"_qs, u"#176"_qs},
        {u"#51"_qs, u"#52"_qs},
        {u"#118"_qs, u"#119"_qs, u"#120"_qs},
        {u"CTC/DCS"_qs, u"DTMF"_qs, u"#104"_qs, u"#105"_qs},
        {u"#209"_qs, u"#210"_qs},
        {u"#212"_qs, u"#213"_qs},
        {u"#216"_qs, u"#217"_qs, u"#218"_qs, u"#219"_qs},
        {u"#34"_qs, u"#78"_qs, u"#79"_qs, u"TX #79"_qs, u"RX #79"_qs},
        {u"#34"_qs, u"#35"_qs},
        {u"#36"_qs, u"#250"_qs, u"#37"_qs},
        {u"#74"_qs, u"#75"_qs},
        {u"#162"_qs, u"#163"_qs},
    };
    for (const LangFile& f : Files) {
        int i = 0;
        for (const QStringList& l : lists)
            QTest::addRow("%s list %d", f.tag, ++i) << QString::fromLatin1(f.file) << l;
    }
}

void TestStrings::listItemsDistinct() {
    QFETCH(QString, file);
    QFETCH(QStringList, items);
    const StringTable t = table(file);
    QSet<QString> seen;
    for (const QString& item : items) {
        const int hash = item.indexOf(u'#');
        QString text = item;
        if (hash >= 0) {
            const auto word = t.text(item.mid(hash + 1).toInt());
            QVERIFY2(word && !word->isEmpty(), qPrintable(item));
            text = item.left(hash) + *word;
        }
        QVERIFY2(!seen.contains(text), qPrintable(QStringLiteral("\"%1\" twice").arg(text)));
        seen.insert(text);
    }
}

// With no language file beside the program every text is the Simplified file's, compiled in; a
// stale or damaged copy of the file in the program (a changed line, a mangled character) shows here.
void TestStrings::noFileShowsSimplifiedTexts() {
    const StringTable cha = table(QStringLiteral("cha_dll.dll"));
    const Language noFile;
    for (int n : cha.numbers())
        QCOMPARE(noFile.text(n), *cha.text(n));
}

// Every rule, applied to the built-in texts, gives back its own caption, except where elements
// share a string whose built-in text is another element's caption, or where the rule composes.
// A typo in a caption key or a wrong number shows up here.
void TestStrings::captionRulesComposeTheirCaption_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("composed");
    const QHash<QString, QString> differs{
        {u"功能选项"_qs, u"可选功能"_qs}, {u"基本功能"_qs, u"可选功能"_qs},
        {u"频段选择"_qs, u"频段扩展"_qs}, {u"Band Change"_qs, u"频段扩展"_qs},
        {u"Band Two"_qs, u"频段二："_qs}, {u"型号："_qs, u"机型"_qs},
        {u"退 出"_qs, u"确定"_qs},        {u"解码 "_qs, u"解码"_qs},
        {u"关于"_qs, u"关于..."_qs},      {u"KT-520 编程软件 V1."_qs, u"KT-520 编程软件 V1.7"_qs},
        {u"P1长键"_qs, u"P1 长键"_qs},    {u"P2长键"_qs, u"P2 长键"_qs},
        {u"P3长键"_qs, u"P3 长键"_qs},    {u"P1短键"_qs, u"P1 短键"_qs},
        {u"P2短键"_qs, u"P2 短键"_qs},    {u"P3短键"_qs, u"P3 短键"_qs},
    };
    const QStringList captions = captionRuleCaptions();
    QCOMPARE(QSet<QString>(captions.begin(), captions.end()).size(), captions.size());
    for (const QString& c : captions)
        QTest::newRow(qPrintable(c)) << c << differs.value(c, c);
    for (auto it = differs.begin(); it != differs.end(); ++it)
        QVERIFY2(captions.contains(it.key()), qPrintable(it.key()));
}

void TestStrings::captionRulesComposeTheirCaption() {
    QFETCH(QString, caption);
    QFETCH(QString, composed);
    const auto rule = captionRule(caption);
    QVERIFY(rule);
    QVERIFY(builtinTextNumbers().contains(rule->number));
    QCOMPARE(rule->prefix + builtinText(rule->number) + rule->suffix, composed);
}

void TestStrings::captionRuleLookup_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("number"); // -1: no rule
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("suffix");
    QTest::newRow("first decode group") << u"解码"_qs << 124 << QString() << QString();
    QTest::newRow("second decode group") << u"解码 "_qs << 140 << QString() << QString();
    QTest::newRow("password group and label") << u"通信密码"_qs << 201 << QString() << QString();
    QTest::newRow("M short press") << u"M 短键"_qs << 163 << u"M "_qs << QString();
    QTest::newRow("channel window B") << u"信道编辑 B"_qs << 19 << QString() << u" B"_qs;
    QTest::newRow("menu item 关于") << u"关于"_qs << 1 << QString() << u"..."_qs;
    QTest::newRow("fixed PTT ID group") << u"PTT ID"_qs << -1 << QString() << QString();
    QTest::newRow("fixed VOX group") << u"VOX"_qs << -1 << QString() << QString();
    QTest::newRow("fixed Traditional menu item") << u"中文(繁體)"_qs << -1 << QString() << QString();
    QTest::newRow("fixed Write Band Two") << u"Write Band Two"_qs << -1 << QString() << QString();
    QTest::newRow("empty") << QString() << -1 << QString() << QString();
    QTest::newRow("caption with extra blank") << u"文件 "_qs << -1 << QString() << QString();
}

void TestStrings::captionRuleLookup() {
    QFETCH(QString, caption);
    QFETCH(int, number);
    QFETCH(QString, prefix);
    QFETCH(QString, suffix);
    const auto rule = captionRule(caption);
    QCOMPARE(rule.has_value(), number >= 0);
    if (rule) {
        QCOMPARE(rule->number, number);
        QCOMPARE(rule->prefix, prefix);
        QCOMPARE(rule->suffix, suffix);
    }
}

// What a window shows after a switch, through the language's own lookup; a language file that
// lacks a number falls back to the built-in text.
void TestStrings::composedCaptions_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("expected");
    QTest::newRow("P2 short, English") << u"eng_dll.dll"_qs << u"P2短键"_qs << u"P2 Short"_qs;
    QTest::newRow("P3 long, Traditional") << u"ty.dll"_qs << u"P3长键"_qs << u"P3 長鍵"_qs;
    QTest::newRow("channel B, English") << u"eng_dll.dll"_qs << u"信道编辑 B"_qs << u"Channel Edit B"_qs;
    QTest::newRow("about, English") << u"eng_dll.dll"_qs << u"关于"_qs << u"About..."_qs;
    QTest::newRow("version, English")
        << u"eng_dll.dll"_qs << u"KT-520 编程软件 V1."_qs << u"KT-520 Programming Software V1.7"_qs;
    QTest::newRow("decode groups differ") << u"eng_dll.dll"_qs << u"解码 "_qs << u"Stun/Kill Decode"_qs;
    QTest::newRow("fixed caption") << u"eng_dll.dll"_qs << u"PTT ID"_qs << u"PTT ID"_qs;
    QTest::newRow("missing file falls back") << u"no such file"_qs << u"P1短键"_qs << u"P1 短键"_qs;
}

void TestStrings::composedCaptions() {
    QFETCH(QString, file);
    QFETCH(QString, caption);
    QFETCH(QString, expected);
    Language lang;
    lang.table = StringTable::load(langPath(file)).value_or(StringTable());
    QCOMPARE(lang.caption(caption), expected);
}

void TestStrings::channelHeaderNumbers_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("number");
    const int expected[] = {25, 26, 27, 28, 29, 30, 73, 31, 32, 76, 77, 33, 0, 0, 101, 175, 176, 177, 178};
    for (int c = 0; c < 19; ++c)
        QTest::addRow("column %d", c) << c << expected[c];
    QTest::newRow("before the table") << -1 << 0;
    QTest::newRow("after the table") << 19 << 0;
    QTest::newRow("far outside") << 1000 << 0;
}

void TestStrings::channelHeaderNumbers() {
    QFETCH(int, column);
    QFETCH(int, number);
    QCOMPARE(channelHeaderNumber(column), number);
}

QTEST_GUILESS_MAIN(TestStrings)
#include "test_strings.moc"
