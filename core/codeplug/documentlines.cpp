#include "core/codeplug/documentlines.h"
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
    {K::List, "ComboBox1"},  {K::List, "ComboBox2"},  {K::List, "ComboBox4"},  {K::List, "ComboBox5"},
    {K::List, "ComboBox10"}, {K::List, "ComboBox20"}, {K::List, "ComboBox3"},  {K::List, "ComboBox19"},
    {K::List, "ComboBox27"}, {K::List, "ComboBox28"}, {K::List, "ComboBox21"}, {K::List, "ComboBox18"},
    {K::Text, "Edit16"},                                                              // 18
    {K::List, "ComboBox9"},  {K::List, "ComboBox22"}, {K::List, "ComboBox24"},
    {K::Flag, "CheckBox1"},  {K::Flag, "CheckBox2"},  {K::Flag, "CheckBox24"}, {K::Flag, "CheckBox15"},
    {K::Flag, "CheckBox6"},  {K::Flag, "CheckBox5"},  {K::Flag, "CheckBox21"}, {K::Flag, "CheckBox29"},
    {K::Flag, "CheckBox32"}, {K::Flag, "CheckBox39"},                                 // 31
    {K::ListFirstChar, "ComboBox26"},                                                 // 32
    {K::Position, "Edit13", "UpDown8"}, {K::Position, "Edit14", "UpDown9"},
    {K::Position, "Edit15", "UpDown10"}, {K::Position, "Edit28", "UpDown17"},         // 36
    {K::Flag, "CheckBox22"}, {K::Flag, "CheckBox23"}, {K::Flag, "CheckBox25"}, {K::Flag, "CheckBox18"},
    {K::Flag, "CheckBox28"}, {K::Flag, "CheckBox27"}, {K::Flag, "CheckBox26"}, {K::Flag, "CheckBox30"},
    {K::Text, "Edit2"}, {K::Text, "Edit3"}, {K::Text, "Edit4"}, {K::Text, "Edit5"}, {K::Text, "Edit6"}, // 49
    {K::Flag, "CheckBox7"},  {K::Flag, "CheckBox8"},  {K::Flag, "CheckBox31"}, {K::Flag, "CheckBox34"},
    {K::List, "ComboBox16"}, {K::Text, "Edit7"}, {K::Text, "Edit8"},
    {K::List, "ComboBox15"}, {K::List, "ComboBox25"}, {K::Text, "Edit24"},            // 59
    {K::CallCell, "StringGrid1", nullptr, DocumentFormat::CallListRows},              // 60-75
    {K::List, "ComboBox17"}, {K::Text, "Edit9"}, {K::Text, "Edit10"},
    {K::Flag, "CheckBox10"}, {K::Flag, "CheckBox9"}, {K::Flag, "CheckBox11"}, {K::Flag, "CheckBox13"},
    {K::Text, "Edit11"}, {K::Flag, "CheckBox12"}, {K::Text, "Edit19"}, {K::Flag, "CheckBox17"},
    {K::Text, "Edit1"},                                                               // 87
    {K::List, "ComboBox11"}, {K::List, "ComboBox12"}, {K::List, "ComboBox8"}, {K::List, "ComboBox119"},
    {K::List, "ComboBox13"}, {K::List, "ComboBox14"}, {K::List, "ComboBox23"},        // 94
    {K::Flag, "CheckBox33"}, {K::Flag, "CheckBox16"}, {K::Flag, "CheckBox3"},
    {K::Text, "Edit31"}, {K::Text, "Edit32"},
    {K::Flag, "CheckBox19"}, {K::Flag, "CheckBox14"}, {K::Text, "Edit23"}, {K::Flag, "CheckBox20"},
    {K::Text, "Edit17"}, {K::List, "ComboBox6"}, {K::List, "ComboBox7"}, {K::Flag, "CheckBox4"}, // 107
    {K::FmCell, "StringGrid2", nullptr, DocumentFormat::FmRows},                      // 108-138
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
    line += u"CH";
    line += QString::number(row).rightJustified(3, QChar('0')); // "%.3d" of a table row
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
