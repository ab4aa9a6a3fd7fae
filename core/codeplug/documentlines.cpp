// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/codeplug/documentlines.h"
#include "core/codeplug/controlnames.h"
#include <algorithm>

namespace {
// One row per setting in file order; a grid row stands for `rows` consecutive lines.
struct LineRule {
    LineKind kind;
    const char* control;
    const char* upDown = nullptr;
    int rows = 1;
};

using K = LineKind;
// clang-format off
const LineRule lineRules[] = {
    {K::List, Ctl::ComboBox1},  {K::List, Ctl::ComboBox2},  {K::List, Ctl::ComboBox4},
    {K::List, Ctl::ComboBox5},  {K::List, Ctl::ComboBox10}, {K::List, Ctl::ComboBox20},
    {K::List, Ctl::ComboBox3},  {K::List, Ctl::ComboBox19}, {K::List, Ctl::ComboBox27},
    {K::List, Ctl::ComboBox28}, {K::List, Ctl::ComboBox21}, {K::List, Ctl::ComboBox18},
    {K::Text, Ctl::Edit16},                                                             // 18
    {K::List, Ctl::ComboBox9},  {K::List, Ctl::ComboBox22}, {K::List, Ctl::ComboBox24},
    {K::Flag, Ctl::CheckBox1},  {K::Flag, Ctl::CheckBox2},  {K::Flag, Ctl::CheckBox24},
    {K::Flag, Ctl::CheckBox15}, {K::Flag, Ctl::CheckBox6},  {K::Flag, Ctl::CheckBox5},
    {K::Flag, Ctl::CheckBox21}, {K::Flag, Ctl::CheckBox29}, {K::Flag, Ctl::CheckBox32},
    {K::Flag, Ctl::CheckBox39},                                                         // 31
    {K::ListFirstChar, Ctl::ComboBox26},                                                // 32
    {K::Position, Ctl::Edit13, Ctl::UpDown8},  {K::Position, Ctl::Edit14, Ctl::UpDown9},
    {K::Position, Ctl::Edit15, Ctl::UpDown10}, {K::Position, Ctl::Edit28, Ctl::UpDown17}, // 36
    {K::Flag, Ctl::CheckBox22}, {K::Flag, Ctl::CheckBox23}, {K::Flag, Ctl::CheckBox25},
    {K::Flag, Ctl::CheckBox18}, {K::Flag, Ctl::CheckBox28}, {K::Flag, Ctl::CheckBox27},
    {K::Flag, Ctl::CheckBox26}, {K::Flag, Ctl::CheckBox30},
    {K::Text, Ctl::Edit2},      {K::Text, Ctl::Edit3},      {K::Text, Ctl::Edit4},
    {K::Text, Ctl::Edit5},      {K::Text, Ctl::Edit6},                                  // 49
    {K::Flag, Ctl::CheckBox7},  {K::Flag, Ctl::CheckBox8},  {K::Flag, Ctl::CheckBox31},
    {K::Flag, Ctl::CheckBox34}, {K::List, Ctl::ComboBox16}, {K::Text, Ctl::Edit7},
    {K::Text, Ctl::Edit8},      {K::List, Ctl::ComboBox15}, {K::List, Ctl::ComboBox25},
    {K::Text, Ctl::Edit24},                                                             // 59
    {K::CallCell, Ctl::CallList, nullptr, DocumentFormat::CallListRows},                // 60-75
    {K::List, Ctl::ComboBox17}, {K::Text, Ctl::Edit9},      {K::Text, Ctl::Edit10},
    {K::Flag, Ctl::CheckBox10}, {K::Flag, Ctl::CheckBox9},  {K::Flag, Ctl::CheckBox11},
    {K::Flag, Ctl::CheckBox13}, {K::Text, Ctl::Edit11},     {K::Flag, Ctl::CheckBox12},
    {K::Text, Ctl::Edit19},     {K::Flag, Ctl::CheckBox17}, {K::Text, Ctl::Edit1},      // 87
    {K::List, Ctl::ComboBox11}, {K::List, Ctl::ComboBox12}, {K::List, Ctl::ComboBox8},
    {K::List, Ctl::ComboBox119}, {K::List, Ctl::ComboBox13}, {K::List, Ctl::ComboBox14},
    {K::List, Ctl::ComboBox23},                                                         // 94
    {K::Flag, Ctl::CheckBox33}, {K::Flag, Ctl::CheckBox16}, {K::Flag, Ctl::CheckBox3},
    {K::Text, Ctl::Edit31},     {K::Text, Ctl::Edit32},
    {K::Flag, Ctl::CheckBox19}, {K::Flag, Ctl::CheckBox14}, {K::Text, Ctl::Edit23},
    {K::Flag, Ctl::CheckBox20}, {K::Text, Ctl::Edit17},     {K::List, Ctl::ComboBox6},
    {K::List, Ctl::ComboBox7},  {K::Flag, Ctl::CheckBox4},                              // 107
    {K::FmCell, Ctl::FmList, nullptr, DocumentFormat::FmRows},                          // 108-138
};
// clang-format on

QList<SettingLine> expand() {
    QList<SettingLine> lines;
    int number = DocumentFormat::FirstSettingLine;
    for (const LineRule& s : lineRules) {
        const bool grid = s.kind == K::CallCell || s.kind == K::FmCell;
        for (int row = 1; row <= s.rows; ++row) {
            SettingLine line;
            line.number = number++;
            line.kind = s.kind;
            line.control = QString::fromLatin1(s.control);
            line.upDown = s.upDown ? QString::fromLatin1(s.upDown) : QString();
            line.gridRow = grid ? row : 0;
            lines << line;
        }
    }
    return lines;
}
} // namespace

const QList<SettingLine>& settingLines() {
    static const QList<SettingLine> lines = expand();
    return lines;
}

int settingLineOf(const QString& control, int gridRow) {
    for (const SettingLine& line : settingLines())
        if ((line.control == control || (!line.upDown.isEmpty() && line.upDown == control)) &&
            line.gridRow == gridRow)
            return line.number;
    return 0;
}

int channelLineOf(Side side, int row) {
    if (row < 1 || row > ChannelTable::LastRow) return 0;
    return (side == Side::A ? DocumentFormat::FirstChannelLineA : DocumentFormat::FirstChannelLineB) + row -
           1;
}

QString formatChannelLine(int row, const QStringList& cells) {
    constexpr QStringView Separator = u" | ";
    // Built in one string: a document has 204 of these lines, saved on every save.
    QString line;
    line.reserve(64 + 8 * cells.size());
    line += channelLineLabel(row); // "%.3d" of a table row
    for (int col = 0; col < ChannelTable::Columns - 1; ++col) {
        line += Separator;
        const qsizetype start = line.size();
        if (col < cells.size()) line += cells.at(col);
        // The editors refuse "|" and line breaks, but a name read from a radio may hold "|":
        // written as it is it would shift every later cell of the row, so it goes as a blank,
        // as the radio's unshowable characters do.
        for (qsizetype i = start; i < line.size(); ++i)
            if (line.at(i) == QChar('|') || line.at(i) == QChar('\r') || line.at(i) == QChar('\n'))
                line[i] = QChar(' ');
    }
    return line += Separator;
}

std::optional<QStringList> parseChannelLine(const QString& line) {
    constexpr int DataColumns = ChannelTable::Columns - 1;
    constexpr int FirstCellChar = 8; // character 9: the first character of column 1
    if (line.size() <= FirstCellChar || line.at(FirstCellChar) == QChar(' ')) return QStringList(DataColumns);
    QString rest = line.mid(FirstCellChar);
    // The closing blank; a line whose trailing blank was trimmed by an editor still reads.
    if (rest.endsWith(QChar(' '))) rest.chop(1);
    QStringList cells;
    qsizetype pos = 0;
    for (int col = 0; col < DataColumns; ++col) {
        const qsizetype bar = pos <= rest.size() ? rest.indexOf(QChar('|'), pos) : -1;
        if (bar < 0) return std::nullopt;
        // The cell ends before the blank that precedes the separator.
        cells << rest.mid(pos, std::max<qsizetype>(0, bar - 1 - pos));
        pos = bar + 2;
    }
    // A row without RX frequency keeps no other value, as when the editor commits it; a line
    // such as "CH001 ||..." would otherwise bring back a row that reads as used only here.
    if (cells.first().isEmpty()) return QStringList(DataColumns);
    return cells;
}

QString channelLineLabel(int row) {
    return QStringLiteral("CH") + QString::number(row).rightJustified(3, QChar('0'));
}

bool channelLineLabelOk(const QString& line, int row) {
    const QString label = channelLineLabel(row);
    const QString start = label + QStringLiteral(" |");
    if (line.isEmpty() || line.startsWith(start)) return true;
    // An editor that trims trailing blanks leaves "CH004" or "CH004 |" of an empty row.
    return line.size() < start.size() && line.startsWith(label) && start.startsWith(line);
}

QString lineRanges(QList<int> lines) {
    std::sort(lines.begin(), lines.end());
    lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
    QStringList parts;
    for (qsizetype i = 0; i < lines.size();) {
        qsizetype j = i;
        while (j + 1 < lines.size() && lines.at(j + 1) == lines.at(j) + 1)
            ++j;
        parts << (j == i ? QString::number(lines.at(i))
                         : QStringLiteral("%1-%2").arg(lines.at(i)).arg(lines.at(j)));
        i = j + 1;
    }
    return parts.join(QStringLiteral(", "));
}
