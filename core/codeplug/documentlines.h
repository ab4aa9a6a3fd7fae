// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "core/codeplug/channeltable.h"
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// The positional line format of a .qv19 document: nothing in a line names its setting, the line
// number alone decides, so the program's reader and writer both walk this one list.
namespace DocumentFormat {
inline constexpr int LineCount = 344;
inline constexpr int FirstSettingLine = 6;
inline constexpr int LastSettingLine = 138;
inline constexpr int FirstChannelLineA = 141; // table A rows 1-102, then table B rows 1-102
inline constexpr int FirstChannelLineB = FirstChannelLineA + ChannelTable::LastRow;
inline constexpr int CallListRows = 16;
inline constexpr int FmRows = 31; // the 32nd FM slot is carried from read to write, never filed
inline const QString Header = QStringLiteral("QOVRAN MEMORY CHANNEL");
inline const QString Version = QStringLiteral("1.05");
} // namespace DocumentFormat

enum class LineKind {
    List,          // "index item": index from the first two characters, blanks trimmed
    ListFirstChar, // "index item": index from the first character only
    Flag,          // "1 caption" or "0 caption": only the first character counts
    Text,          // the whole line is the field's text
    Position,      // an up-down's field: its first three characters give the up-down position
    CallCell,      // column 1 of one call-list row
    FmCell,        // column 1 of one FM list row
};

struct SettingLine {
    int number = 0; // line number in the file, 6-138
    LineKind kind = LineKind::Text;
    QString control; // control of the optional functions window; the grid for cells
    QString upDown;  // Position: the up-down that the field belongs to
    int gridRow = 0; // CallCell, FmCell: row 1-16 or 1-31
};

// Lines 6-138 in file order.
const QList<SettingLine>& settingLines();

// The line that holds a control (with the grid row for the call and FM lists); 0 when the file
// does not hold it.
int settingLineOf(const QString& control, int gridRow = 0);
// The line of a channel table row, 1-102.
int channelLineOf(Side side, int row);

// A channel line: "CH", the row as three digits, then " | " before each of the cells of columns
// 1-18 and a closing " | ". A "|" or line break inside a cell is written as a blank.
QString formatChannelLine(int row, const QStringList& cells);
// The 18 cells of a channel line. A line whose character 9 is a blank (column 1 empty) or that
// is shorter than 9 characters is an empty row; empty when the separators are missing.
[[nodiscard]] std::optional<QStringList> parseChannelLine(const QString& line);

// The label a channel line starts with: "CH" and the row as three digits ("CH004").
QString channelLineLabel(int row);
// Whether a channel line starts with its row's label and the separator after it (an empty line,
// or an empty row's line cut after its label, counts as well). The cells are read by position
// either way; a damaged label is reported, not trusted.
bool channelLineLabelOk(const QString& line, int row);

// "17, 33, 120-344": line numbers in ascending order with runs written as ranges.
QString lineRanges(QList<int> lines);
