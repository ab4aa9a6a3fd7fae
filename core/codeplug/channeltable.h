// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "core/base/numbers.h"
#include "core/base/valuewords.h"
#include <QObject>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

// Side A and side B of the radio each keep one table; they differ in raster and default names.
enum class Side { A, B };

// Columns of a channel table row.
namespace Col {
enum : int {
    Label = 0,
    RxFreq = 1,
    RxTone = 2,
    TxFreq = 3,
    TxTone = 4,
    Power = 5,
    Bandwidth = 6,
    Opt7 = 7,
    Opt8 = 8,
    Opt9 = 9,
    Compander = 10,
    Opt11 = 11,
    PttId = 12,
    Dtmf = 13,
    Name = 14,
    Opt15 = 15,
    Reverse = 16,
    Talkaround = 17,
    CtcssFreq = 18
};
}

// One channel table: 19 columns by 103 rows of display text. Row 0 holds the headers, rows 1-3
// the VFO rows of the three bands, rows 4-102 the channels 1-99. Nothing else stores channel
// data: bytes and file lines are made from these texts at the edges.
class ChannelTable : public QObject {
    Q_OBJECT
public:
    static constexpr int Columns = 19;
    static constexpr int Rows = 103;
    static constexpr int ChannelCount = 99;
    static constexpr int LastRow = ChannelCount + 3;
    static constexpr int FirstChannelRow = 4;
    using Cells = std::array<std::array<QString, Columns>, Rows>;

    explicit ChannelTable(Side side, QObject* parent = nullptr);

    Side side() const { return m_side; }
    // Normalisation raster in units of 10 Hz: 2.5 kHz on side A, 5 kHz on side B.
    int raster() const { return m_side == Side::A ? 250 : 500; }
    // A frequency as this table holds it: clamped to 100-550 MHz and moved up onto the table's
    // raster. The one rule for typing, pasting and importing; empty when `text` is no number.
    [[nodiscard]] std::optional<QString> onRaster(const QString& text,
                                                  QChar decimalPoint = systemDecimalPoint()) const;

    QString cell(int col, int row) const;
    void setCell(int col, int row, const QString& text);
    bool rowInUse(int row) const { return !cell(Col::RxFreq, row).isEmpty(); }
    bool rowEmpty(int row) const;

    void clearRow(int row);      // columns 1-18
    void clearRowData(int row);  // columns 2-18 (a row without RX frequency keeps nothing)
    void clearAll();             // columns 1-18 of rows 1-102
    void swapRows(int a, int b); // columns 1-18
    // Every cell at once (the undo history's whole-table steps), reported as one reset.
    const Cells& cells() const { return m_cells; }
    void replaceCells(const Cells& cells);

    // Frequency normalisation of one cell; false (cell unchanged) when its text is not a number.
    bool sendcell(int col, int row, QChar decimalPoint = systemDecimalPoint());
    // Row commit with (col, row) the current cell; false when a frequency is not a number.
    bool sendallcell(int col, int row, const ValueWords& words, QChar decimalPoint = systemDecimalPoint());
    void newChannelDefaults(int row, const ValueWords& words);
    QString defaultName(int row) const;

    // Fixed labels of column 0 and the headers of row 0.
    void setRowLabels();
    void setHeaders(const QStringList& headers);

signals:
    void cellChanged(int col, int row);
    void tableReset();

private:
    Side m_side;
    Cells m_cells;
};

// Frequency normalisation: clamp to 100-550 MHz, cut to whole 100 Hz, then move up to the next
// point of the side's raster or of the 6.25 kHz raster. Empty when the text is not a number.
[[nodiscard]] std::optional<QString> normaliseFrequency(const QString& text, int raster,
                                                        QChar decimalPoint = systemDecimalPoint());

// The 273-entry tone list: OFF, 58 CTCSS tones, 107 DCS codes "N", the same 107 codes "I".
QStringList toneList(const ValueWords& words);
// Entry 0-272 of that list without making the list; empty beyond it.
QString toneListEntry(int entry, const ValueWords& words);
const QStringList& ctcssTones(); // the 58 tones, "56.0" ... "254.1"
const QList<int>& dcsCodes();    // the 107 codes as written (octal digits read as decimal: 17, 23 ...)
QStringList companderList(const ValueWords& words);

// How the write procedure reads a value cell ("Tested as").
[[nodiscard]] bool toneIsOff(const QString& cell, const ValueWords& w); // empty or OFF
enum class Power { Low = 0, Mid = 1, High = 2 };
Power powerOf(const QString& cell, const ValueWords& w);                    // High, then Mid; else Low
[[nodiscard]] bool isWide(const QString& cell, const ValueWords& w);        // Wide; else Narrow
[[nodiscard]] bool isOnUnlessOff(const QString& cell, const ValueWords& w); // columns 7, 8, 11-13, 15-17
[[nodiscard]] bool isOnOnlyIfOn(const QString& cell, const ValueWords& w);  // column 9
int companderIndex(const QString& cell, const ValueWords& w);               // position, 0 when not listed
