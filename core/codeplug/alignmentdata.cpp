// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/codeplug/alignmentdata.h"
#include "core/base/fileread.h"
#include "core/base/filesave.h"
#include "core/base/language.h"
#include "core/base/messages.h"
#include "core/base/settingsfile.h"
#include <QDir>
#include <QFileInfo>

namespace {
using F = AlignForm;
constexpr int A0 = 0x01A0;
constexpr int B0 = 0x01B0;
constexpr int C0 = 0x01C0;
constexpr int Limits = 0x0158;
constexpr int Diff = 0x01D0;

// The file's value lines run over the numbers 201-221, 301-313 and 401-423.
constexpr int FileRanges[][2] = {{201, 221}, {301, 313}, {401, 423}};

const AlignField Fields[] = {
    {201, "TX_MOD 增益粗调", F::Hex, "06", A0, 7},
    {202, "MOD增益细调", F::Hex, "D0", A0, 8},
    {203, "TX_AAF增益", F::Hex, "08"},
    {204, "VOL高位,RX_AAF增益", F::Hex, "C8"},
    {205, "VOL低位", F::Hex, "03"},
    {206, "TX BEEP MOD", F::Hex, "60", C0, 2},
    {207, "TX BEEP Vol 高", F::Hex, "06", C0, 3},
    {208, "TX BEEP Vol 低", F::Hex, "FF", C0, 4},
    {209, "高电压提示电平", F::Hex, "C0", B0, 15},
    {210, "低电压自动关机", F::Hex, "0D", B0, 14},
    {211, "VOX 基值", F::Hex, "20", B0, 2},
    {212, "TX3210压扩", F::Hex, "17", C0, 5},
    {213, "RX3210压扩", F::Hex, "17", C0, 7},
    {214, "RX BEEP HI", F::Hex, "C8"},
    {215, "RX BEEP LOW", F::Hex, "03"},
    {216, "SQL VAL", F::Hex, "30", A0, 3},
    {218, "400差频", F::Hex8, "00500000", Diff, 0},
    {219, "扫描等待", F::Hex, "FA", C0, 11},
    {220, "PTT等待", F::Hex, "FA", C0, 12},
    {221, "DTMF 细调", F::Hex, "D0", B0, 9},
    {301, "省电开启迟时", F::Decimal, "8", C0, 0},
    {302, "扫描开启迟时", F::Decimal, "6", C0, 1},
    {305, "400SQL", F::Decimal, "50", C0, 15},
    {306, "省电开(毫秒)", F::Millis, "120", C0, 8},
    {307, "省电关(毫秒)", F::Millis, "150", C0, 9},
    {308, "扫描时间(毫秒)", F::Millis, "150", C0, 10},
    {309, "1846 MOD 特", F::Decimal, "62", A0, 5, 127},
    {310, "1846 MOD 特", F::Decimal, "51", A0, 6, 127},
    {311, "1846 MOD 基本", F::Decimal, "45", A0, 4, 127},
    {312, "245SQL", F::Decimal, "50", C0, 14},
    {313, "136SQL", F::Decimal, "50", C0, 13},
    {401, "高功率 400", F::Decimal, "113", B0, 10},
    {402, "高功率 470", F::Decimal, "122", B0, 7},
    {403, "低功率 400", F::Decimal, "82", B0, 11},
    {404, "低功率 470", F::Decimal, "78", B0, 13},
    {405, "频偏", F::Decimal, "110", B0, 12},
    {407, "CTC频偏", F::Decimal, "15", A0, 9},
    {408, "DCS频偏", F::Decimal, "10", A0, 10},
    {409, "窄带频偏", F::Decimal, "51", A0, 13},
    {410, "窄带CTC频偏", F::Decimal, "8", A0, 14},
    {411, "窄带DCS频偏", F::Decimal, "6", A0, 15},
    {412, "扰频调整", F::Decimal, "255", C0, 6},
    {413, "频率调整 微调", F::Signed, "14", B0, 8},
    {414, "DTMF基值", F::Hex, "04", A0, 11},
    {415, "DTMF 阶梯", F::Decimal, "1", A0, 12},
    {416, "中功率 400", F::Decimal, "0", B0, 6},
    {417, "中功率 470", F::Decimal, "0", B0, 5},
    {418, "中功率 136", F::Decimal, "0", A0, 2},
    {419, "中功率 174", F::Decimal, "0", A0, 1},
    {420, "高功率 136", F::Decimal, "114", B0, 1},
    {421, "高功率 174", F::Decimal, "123", B0, 0},
    {422, "低功率 136", F::Decimal, "83", B0, 4},
    {423, "低功率 174", F::Decimal, "82", B0, 3},
    {3, "136差频", F::Hex8, "00060000", Diff, 4},
    {4, "144", F::Hex8, "14601440", Limits, 0},
    {5, "440", F::Hex8, "44004300", Limits, 4},
};

const char* const DisplayTexts[] = {
    "自定义",  "全显示", "全空",    "QOVRAN",  "Welcome",  "Waiting", "Debug",   "Day",
    "CHA-",    "Menu",   " (    )", "Vol",     "Call",     "Reset ?", "ALL RES", "FUN RES",
    "CHA DEL", "Send",   " Error",  "TX Stop", " KeyLock", " SEND",   "Welcome", "  DC",
};
const char* const EntryNames[] = {
    "APO",     "APRO",    "BC Lock", "Beep",    "CHASave", "DTMF",    "DW",      "DecType", "DecCode",
    "EncType", "EncCode", "FM",      "FM SCAN", "FM SQL",  "FM DW",   "Font",    "KeyLock", "Keypad",
    "Lamp",    "NameSYS", "NameCHA", "NamEdit", "OpenDIS", "P1 Long", "P1Short", "P2 Long", "P2Short",
    "P3 Long", "P3Short", "Power",   "PTT ID",  "PTT SET", "Roger",   "Reverse", "RPT SET", "RPTType",
    "SaveBat", "SCAN",    "SCNMode", "SCANADD", "SQL",     "Step",    "Tail",    "Talk",    "TOT",
    "TxStop",  "Vox",     "Vox D",   "Vox S",   "VXB",     "WIDNAR",
};
const char* const OptionWords[] = {
    "OFF",  "ON",  "OFF",  "10M",  "20M",  "30M",  "40M",  "50M",  "1H",   "1.5H", "2H",   "4H",   "6H",
    "8H",   "10H", "12H",  "14H",  "16H",  "Narr", "Wide", "OFF",  "Key",  "Cont", "Low",  "Mid",  "High",
    "High", "K+S", "PTT",  "KEY",  "ALL",  "CO",   "TO",   "DC",   "FM",   "MONI", "MOLO", "SQM",  "MUTE",
    "SCAN", "LOW", "EMG",  "V/M",  "DTMF", "CALL", "1750", "A/B",  "Talk", "REV",  "5K",   "6K25", "10K",
    "12K5", "25K", "ALL",  "Time", "User", "SYS",  "1S",   "2S",   "3S",   "4S",   "OFF",  "10S",  "20S",
    "30S",  "40S", "50S",  "60S",  "70S",  "80S",  "90S",  "100S", "110S", "120S", "SING", "-RPT", "+RPT",
    "OFF",  "CTC", "NDCS", "IDCS", "SMAL", "BIG",  "DC",   "FM",   "BAND", "TIME", "MOLO", "MUTE", "SCAN",
    "LOW",  "EMG", "V/M",  "DTMF", "CALL", "1750", "A/B",  "Talk", "REV",  "2K5",  "5K",   "6K25", "10K",
    "12K5", "25K", "OFF",  "Comp", "Scra", "TXSc", "RXSc", "A!=B", "A=B",
};
static_assert(std::size(DisplayTexts) == MenuTables::DisplayCount);
static_assert(std::size(EntryNames) == MenuTables::EntryCount);
static_assert(std::size(OptionWords) == MenuTables::OptionCount);

QStringList listOf(std::span<const char* const> texts) {
    QStringList list;
    for (const char* t : texts)
        list << QString::fromUtf8(t);
    return list;
}

bool isHex(const QString& text, int digits) {
    if (text.size() != digits) return false;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (!((u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F'))) return false;
    }
    return true;
}

// A whole number written with digits only (a minus sign in front where `sign`); no blanks.
std::optional<int> wholeNumber(const QString& text, bool sign) {
    QStringView digits(text);
    if (sign && (digits.startsWith(u'-') || digits.startsWith(u'+'))) digits = digits.mid(1);
    if (digits.isEmpty() || digits.size() > 6) return std::nullopt;
    for (const QChar c : digits)
        if (c < u'0' || c > u'9') return std::nullopt;
    return text.toInt();
}

// What a file line may hold for a field: any number, or hex text of the field's length. The
// range is checked only when the values are sent, so that a file keeps whatever a radio held.
bool fileLineFits(const AlignField& field, const QString& text) {
    switch (field.form) {
    case AlignForm::Hex:
        return isHex(text, 2);
    case AlignForm::Hex8:
        return isHex(text, 8);
    default:
        return wholeNumber(text, true).has_value();
    }
}
} // namespace

std::span<const AlignField> alignFields() {
    return Fields;
}

const AlignField* alignField(int number) {
    for (const AlignField& f : Fields)
        if (f.number == number) return &f;
    return nullptr;
}

QString alignFieldName(const AlignField& field) {
    return QStringLiteral("%1 (%2)").arg(QString::fromUtf8(field.caption)).arg(field.number);
}

AlignReason alignTextProblem(const AlignField& field, const QString& text) {
    switch (field.form) {
    case AlignForm::Decimal: {
        const auto v = wholeNumber(text, false);
        if (v && *v <= field.maximum) return AlignReason::None;
        return field.maximum == 127 ? AlignReason::Decimal127 : AlignReason::Decimal255;
    }
    case AlignForm::Signed: {
        const auto v = wholeNumber(text, true);
        // The byte holds value + 128: 0x00 is -128, which a radio may hold and a read gives.
        return v && *v >= -128 && *v <= 127 ? AlignReason::None : AlignReason::Signed;
    }
    case AlignForm::Millis: {
        const auto v = wholeNumber(text, false);
        return v && *v >= 50 && *v <= 500 ? AlignReason::None : AlignReason::Millis;
    }
    case AlignForm::Hex:
        return isHex(text, 2) ? AlignReason::None : AlignReason::Hex2;
    case AlignForm::Hex8:
        return isHex(text, 8) ? AlignReason::None : AlignReason::Hex8;
    }
    return AlignReason::None;
}

MenuTables::MenuTables()
    : display(listOf(DisplayTexts)), names(listOf(EntryNames)), options(listOf(OptionWords)) {
    for (int i = 0; i < EntryCount; ++i)
        second << QString();
}

void MenuTables::loadSecondHalves(const QString& caiIniPath) {
    const IniFile ini = caiIniPath.isEmpty() ? IniFile() : IniFile::load(caiIniPath);
    for (int i = 0; i < EntryCount; ++i)
        second[i] = ini.text(QStringLiteral("list"), QStringLiteral("ca%1").arg(i)).left(16);
}

QString MenuTables::findCaiIni(const QStringList& dirs) {
    for (const QString& dir : dirs) {
        const QString path = QDir(dir).filePath(QStringLiteral("cai.ini"));
        if (QFileInfo::exists(path)) return path;
    }
    return {};
}

QStringList MenuTables::fixedDisplayHex() {
    return {QStringLiteral("5553455220202020"), QStringLiteral("FFFFFFFFFFFFFFFF"),
            QStringLiteral("2020202020202020")};
}

AlignmentData::AlignmentData() {
    reset();
}

void AlignmentData::reset() {
    for (const AlignField& f : Fields)
        m_texts.insert(f.number, QString::fromLatin1(f.defaultText));
    powerClass = QStringLiteral("10W");
}

void AlignmentData::setText(int field, const QString& text) {
    if (alignField(field)) m_texts.insert(field, text);
}

QList<AlignmentData::Problem> AlignmentData::problems() const {
    QList<Problem> list;
    for (const AlignField& f : Fields) {
        if (f.address == 0) continue; // kept in the file only, never sent
        const QString t = text(f.number);
        if (const AlignReason r = alignTextProblem(f, t); r != AlignReason::None) list.append({&f, r, t});
    }
    return list;
}

QList<int> alignFileNumbers() {
    QList<int> numbers;
    for (const auto& range : FileRanges)
        for (int n = range[0]; n <= range[1]; ++n)
            numbers << (alignField(n) ? n : 0);
    return numbers;
}

QByteArray saveAlignmentFile(const AlignmentData& data) {
    // The power class goes on the second line, which readers pass over unchecked: it travels
    // with the values while the 57 value lines stay where every reader looks for them.
    QStringList lines{QStringLiteral("PR-300"), data.powerClass};
    for (const int n : alignFileNumbers())
        lines << (n ? data.text(n) : QStringLiteral("0"));
    lines << QString() << QString();
    return (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

std::optional<AlignFileProblem> openAlignmentFile(AlignmentData& data, const QByteArray& bytes) {
    QStringList lines = QString::fromUtf8(bytes).split(QLatin1Char('\n'));
    // A file that ends with a line break has no line after it.
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    const QList<int> numbers = alignFileNumbers();
    constexpr int Skipped = 2;
    QHash<int, QString> values;
    for (int i = 0; i < numbers.size(); ++i) {
        const int line = Skipped + i + 1;
        if (line > lines.size()) return AlignFileProblem{line, 0, {}};
        QString text = lines.at(line - 1);
        if (text.endsWith(QLatin1Char('\r'))) text.chop(1);
        text = text.trimmed();
        const int n = numbers.at(i);
        if (n == 0) continue;
        if (!fileLineFits(*alignField(n), text)) return AlignFileProblem{line, n, text};
        values.insert(n, text);
    }
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        data.setText(it.key(), it.value());
    // Files written before the power class was kept have an empty second line.
    const QString power = lines.value(1).trimmed();
    if (power == u"10W" || power == u"25W") data.powerClass = power;
    return std::nullopt;
}

std::optional<QString> readAlignmentFileAt(AlignmentData& data, const QString& path, const Language& lang) {
    const QString name = QDir::toNativeSeparators(path);
    constexpr qint64 MaxBytes = 64 * 1024; // an alignment file is a few hundred bytes
    const FileRead read = readUserFile(path, MaxBytes, lang);
    if (!read.bytes) return read.error;
    const auto problem = openAlignmentFile(data, *read.bytes);
    if (!problem) return std::nullopt;
    if (problem->field == 0) return lang.text(Str::AlignFileShort).arg(name).arg(problem->line);
    return lang.text(Str::AlignFileBadLine)
        .arg(name)
        .arg(problem->line)
        .arg(escapeControls(problem->text), alignFieldName(*alignField(problem->field)));
}

std::optional<QString> writeAlignmentFileAt(const AlignmentData& data, const QString& path,
                                            const Language& lang) {
    return saveUserFile(path, saveAlignmentFile(data), lang);
}
