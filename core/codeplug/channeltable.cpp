// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/codeplug/channeltable.h"
#include <cmath>

ChannelTable::ChannelTable(Side side, QObject* parent) : QObject(parent), m_side(side) {
    setRowLabels();
}

QString ChannelTable::cell(int col, int row) const {
    if (col < 0 || col >= Columns || row < 0 || row >= Rows) return {};
    return m_cells[row][col];
}

void ChannelTable::setCell(int col, int row, const QString& text) {
    if (col < 0 || col >= Columns || row < 0 || row >= Rows) return;
    if (m_cells[row][col] == text) return;
    m_cells[row][col] = text;
    emit cellChanged(col, row);
}

bool ChannelTable::rowEmpty(int row) const {
    for (int c = 1; c < Columns; ++c)
        if (!cell(c, row).isEmpty()) return false;
    return true;
}

void ChannelTable::clearRow(int row) {
    for (int c = 1; c < Columns; ++c)
        setCell(c, row, {});
}

void ChannelTable::clearRowData(int row) {
    for (int c = 2; c < Columns; ++c)
        setCell(c, row, {});
}

void ChannelTable::clearAll() {
    for (int r = 1; r <= LastRow; ++r)
        for (int c = 1; c < Columns; ++c)
            m_cells[r][c].clear();
    emit tableReset();
}

void ChannelTable::replaceCells(const Cells& cells) {
    m_cells = cells;
    emit tableReset();
}

void ChannelTable::swapRows(int a, int b) {
    if (a < 1 || b < 1 || a > LastRow || b > LastRow || a == b) return;
    for (int c = 1; c < Columns; ++c) {
        const QString t = m_cells[a][c];
        setCell(c, a, m_cells[b][c]);
        setCell(c, b, t);
    }
}

void ChannelTable::setRowLabels() {
    static const char* vfo[] = {"136", "245", "400"};
    for (int r = 1; r <= 3; ++r)
        setCell(Col::Label, r, QString::fromLatin1(vfo[r - 1]));
    // "%.2d" of the channel number, made once: labelling was most of a new table's cost.
    static const QStringList labels = [] {
        QStringList out;
        for (int channel = 1; channel <= ChannelCount; ++channel)
            out << QString::number(channel).rightJustified(2, QChar('0'));
        return out;
    }();
    for (int r = FirstChannelRow; r <= LastRow; ++r)
        setCell(Col::Label, r, labels.at(r - FirstChannelRow));
}

void ChannelTable::setHeaders(const QStringList& headers) {
    for (int c = 0; c < Columns && c < headers.size(); ++c)
        setCell(c, 0, headers.at(c));
}

QString ChannelTable::defaultName(int row) const {
    if (row < FirstChannelRow) return {};
    return QString::fromLatin1(m_side == Side::A ? "NameA" : "NameB") + QString::asprintf("%.2d", row - 3);
}

std::optional<QString> ChannelTable::onRaster(const QString& text, QChar decimalPoint) const {
    return normaliseFrequency(text, raster(), decimalPoint);
}

bool ChannelTable::sendcell(int col, int row, QChar decimalPoint) {
    const auto normalised = onRaster(cell(col, row), decimalPoint);
    if (!normalised) return false;
    setCell(col, row, *normalised);
    return true;
}

void ChannelTable::newChannelDefaults(int row, const ValueWords& w) {
    setCell(Col::RxTone, row, w.off);
    setCell(Col::TxFreq, row, cell(Col::RxFreq, row));
    setCell(Col::TxTone, row, w.off);
    setCell(Col::Power, row, w.high);
    setCell(Col::Bandwidth, row, w.wide);
    setCell(Col::Opt7, row, w.on);
    setCell(Col::Opt8, row, w.off);
    setCell(Col::Opt9, row, w.on);
    setCell(Col::Compander, row, w.off);
    for (int c : {Col::Opt11, Col::PttId, Col::Dtmf, Col::Opt15, Col::Reverse, Col::Talkaround})
        setCell(c, row, w.off);
    setCell(Col::Name, row, defaultName(row));
    setCell(Col::CtcssFreq, row, {});
}

bool ChannelTable::sendallcell(int col, int row, const ValueWords& words, QChar decimalPoint) {
    if (row < 1 || row > LastRow) return true;
    const bool isFreqCol = col == Col::RxFreq || col == Col::TxFreq;
    if (rowInUse(row) && cell(Col::RxTone, row).isEmpty()) {
        // A row just typed: its RX frequency is what the user entered. Only a frequency cell is
        // normalised, so a commit from another column never turns a name or a word into a number.
        const int target = isFreqCol && !cell(col, row).isEmpty() ? col : int(Col::RxFreq);
        if (!sendcell(target, row, decimalPoint)) return false;
        if (target != Col::RxFreq && !sendcell(Col::RxFreq, row, decimalPoint)) return false;
        newChannelDefaults(row, words);
        return true;
    }
    if (isFreqCol && !cell(col, row).isEmpty()) return sendcell(col, row, decimalPoint);
    if (!rowInUse(row)) clearRowData(row);
    return true;
}

std::optional<QString> normaliseFrequency(const QString& text, int raster, QChar decimalPoint) {
    const auto parsed = parseDecimal(text, decimalPoint);
    if (!parsed) return std::nullopt;
    double f = *parsed;
    if (f > 550) f = 550;
    if (f < 100) f = 100;
    // Cut (never round) to whole 100 Hz in extended precision, then count in 10 Hz.
    long long v = static_cast<long long>(std::trunc(static_cast<long double>(f) * 10000.0L)) * 10;
    while (v < 55000000 && v % raster != 0 && v % 625 != 0)
        v += 5;
    QString s = QString::asprintf("%lld.%05lld", v / 100000, v % 100000);
    if (decimalPoint != QChar('.')) s.replace(QChar('.'), decimalPoint);
    return s;
}

const QStringList& ctcssTones() {
    static const QStringList tones = {
        "56.0",  "57.0",  "58.0",  "59.0",  "60.0",  "61.0",  "62.0",  "63.0",  "67.0",  "69.3",
        "71.9",  "74.4",  "77.0",  "79.7",  "82.5",  "85.4",  "88.5",  "91.5",  "94.8",  "97.4",
        "100.0", "103.5", "107.2", "110.9", "114.8", "118.8", "123.0", "127.3", "131.8", "136.5",
        "141.3", "146.2", "151.4", "156.7", "159.8", "162.2", "165.5", "167.9", "171.3", "173.8",
        "177.3", "179.9", "183.5", "186.2", "189.9", "192.8", "196.6", "199.5", "203.5", "206.5",
        "210.7", "218.1", "225.7", "229.1", "233.6", "241.8", "250.3", "254.1"};
    return tones;
}

const QList<int>& dcsCodes() {
    static const QList<int> codes = {
        17,  23,  25,  26,  31,  32,  36,  43,  47,  50,  51,  53,  54,  65,  71,  72,  73,  74,
        114, 115, 116, 122, 125, 131, 132, 134, 143, 145, 152, 155, 156, 162, 165, 172, 174, 205,
        212, 223, 225, 226, 243, 244, 245, 246, 251, 252, 255, 261, 263, 265, 266, 271, 274, 306,
        311, 315, 325, 331, 332, 343, 346, 351, 356, 364, 365, 371, 411, 412, 413, 423, 431, 432,
        445, 446, 452, 454, 455, 462, 464, 465, 466, 503, 506, 516, 523, 526, 532, 546, 565, 606,
        612, 624, 627, 631, 632, 645, 654, 662, 664, 703, 712, 723, 731, 732, 734, 743, 754};
    return codes;
}

namespace {
// The tone list after its first entry: the same in every language, so made once (a read decodes
// two tones per channel record).
const QStringList& tonesAfterOff() {
    static const QStringList tones = [] {
        QStringList list = ctcssTones();
        for (const char suffix : {'N', 'I'})
            for (int code : dcsCodes())
                list << QString::asprintf("D%.3d%c", code, suffix);
        return list;
    }();
    return tones;
}
} // namespace

QStringList toneList(const ValueWords& words) {
    return QStringList{words.off} + tonesAfterOff();
}

QString toneListEntry(int entry, const ValueWords& words) {
    if (entry == 0) return words.off;
    return tonesAfterOff().value(entry - 1);
}

QStringList companderList(const ValueWords& w) {
    return {w.off, w.compander, w.scrambler, QStringLiteral("TX ") + w.scrambler,
            QStringLiteral("RX ") + w.scrambler};
}

bool toneIsOff(const QString& cell, const ValueWords& w) {
    const QString t = cell.trimmed();
    return t.isEmpty() || t == w.off;
}

Power powerOf(const QString& cell, const ValueWords& w) {
    if (cell == w.high) return Power::High;
    if (cell == w.mid) return Power::Mid;
    return Power::Low;
}

bool isWide(const QString& cell, const ValueWords& w) {
    return cell == w.wide;
}
bool isOnUnlessOff(const QString& cell, const ValueWords& w) {
    return cell != w.off;
}
bool isOnOnlyIfOn(const QString& cell, const ValueWords& w) {
    return cell == w.on;
}

int companderIndex(const QString& cell, const ValueWords& w) {
    const int i = companderList(w).indexOf(cell);
    return i < 0 ? 0 : i;
}
