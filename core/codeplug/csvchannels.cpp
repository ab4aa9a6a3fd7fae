// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/codeplug/csvchannels.h"
#include "core/base/filesave.h"
#include "core/base/language.h"
#include "core/base/messages.h"
#include "core/codeplug/channelediting.h"
#include "core/codeplug/controlnames.h"
#include "core/codeplug/csvrecords.h"
#include "core/codeplug/model.h"
#include "core/codeplug/session.h"
#include <QHash>
#include <cmath>

namespace {

const char* const Header[] = {
    "Location",  "Name",     "Frequency",    "Duplex",     "Offset",    "Tone",     "rToneFreq",
    "cToneFreq", "DtcsCode", "DtcsPolarity", "RxDtcsCode", "CrossMode", "Mode",     "TStep",
    "Skip",      "Power",    "Comment",      "URCALL",     "RPT1CALL",  "RPT2CALL", "DVCODE"};
constexpr int HeaderCount = int(sizeof Header / sizeof *Header);

// Frequencies are counted in 10 Hz so that offsets add without rounding drift.
constexpr long long Unit = 100000;
constexpr long long Lowest = 100 * Unit;
constexpr long long Highest = 550 * Unit;

// No frequency or offset of a handheld comes near 100 GHz; the bound keeps every sum of two
// values far inside a long long.
constexpr double MaxMHz = 100000;

std::optional<long long> units(const QString& text, QChar decimalPoint) {
    const auto f = parseDecimal(text, decimalPoint);
    if (!f || !std::isfinite(*f) || std::fabs(*f) > MaxMHz) return std::nullopt;
    return std::llround(*f * double(Unit));
}

QString unitsText(long long v) {
    return QString::asprintf("%lld.%06lld", v / Unit, (v % Unit) * 10);
}

// As the list gave it, without trailing zeros: "439.123456", "438.501".
QString megahertz(long long v) {
    QString text = unitsText(v);
    while (text.endsWith(u'0') && !text.endsWith(QStringLiteral(".0")))
        text.chop(1);
    return text;
}

// Characters of a channel name the radio keeps.
constexpr int NameChars = 7;
// A value quoted in a note is cut to this many characters, so that one line stays one line.
constexpr int ShownChars = 40;

QString shown(const QString& value) {
    return value.size() > ShownChars ? value.left(ShownChars) + QChar(0x2026) : value;
}

// The header's columns by lower-case name.
QHash<QString, int> headerColumns(const QList<CsvRecord>& recs) {
    QHash<QString, int> column;
    if (!recs.isEmpty())
        for (int i = 0; i < recs.first().fields.size(); ++i)
            column.insert(recs.first().fields.at(i).trimmed().toLower(), i);
    return column;
}

bool hasNeededColumns(const QHash<QString, int>& column) {
    return column.contains(QStringLiteral("location")) && column.contains(QStringLiteral("frequency"));
}

QString quotedField(const QString& s) {
    if (!s.contains(u',') && !s.contains(u'"') && !s.contains(u'\n') && !s.contains(u'\r')) return s;
    QString q = s;
    q.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + q + u'"';
}

// A tone column of the file as a cell of the tone list: CTCSS "88.5" or DCS "D023N"; empty when
// the value is not in the list.
std::optional<QString> ctcssCell(const QString& text) {
    const auto f = parseDecimal(text, QChar('.'));
    if (!f) return std::nullopt;
    const QString s = QString::asprintf("%.1f", *f);
    if (!ctcssTones().contains(s)) return std::nullopt;
    return s;
}

std::optional<QString> dcsCell(const QString& code, QChar polarity) {
    bool ok = false;
    const int n = code.trimmed().toInt(&ok);
    if (!ok || !dcsCodes().contains(n)) return std::nullopt;
    return QStringLiteral("D%1%2")
        .arg(n, 3, 10, QChar('0'))
        .arg(QChar(polarity.toUpper() == u'R' ? u'I' : u'N'));
}

// Whole MHz limits of a band text, the upper one inside the band, as the document check has them.
bool insideBand(double mhz, const std::optional<BandLimits>& band) {
    return band && mhz >= band->lower && mhz <= band->upper;
}

// The document check's warnings for a channel outside the selected bands, in its words.
QStringList bandWarnings(const ChannelTable& table, int row, const CsvImportOptions& options,
                         const Language& lang, QChar decimalPoint) {
    const std::optional<BandLimits> band = bandLimits(options.band);
    const std::optional<BandLimits> bandTwo = bandLimits(options.bandTwo);
    const auto withValue = [&](int reason, const QString& value) {
        return lang.text(reason) + QStringLiteral(" \"%1\"").arg(value);
    };
    QStringList out;
    if (const auto f = parseDecimal(table.cell(Col::RxFreq, row), decimalPoint);
        f && band && !insideBand(*f, band))
        out << withValue(Str::ProblemOutsideBand, options.band);
    const QString tx = table.cell(Col::TxFreq, row);
    if (const auto f = parseDecimal(tx, decimalPoint);
        f && (band || bandTwo) && !insideBand(*f, band) && !insideBand(*f, bandTwo))
        out << withValue(Str::ProblemTxOutsideBands, tx);
    return out;
}

// 1 when the list counts its locations from 0 (its lowest is 0), else 0.
int locationShift(const QList<CsvRecord>& recs, int locationColumn) {
    std::optional<int> lowest;
    for (qsizetype r = 1; r < recs.size(); ++r) {
        bool ok = false;
        const int n = recs.at(r).fields.value(locationColumn).trimmed().toInt(&ok);
        if (ok && (!lowest || n < *lowest)) lowest = n;
    }
    return lowest == 0 ? 1 : 0;
}

enum class ToneKind { Off, Ctcss, Dcs };
ToneKind kindOf(const QString& cell, const ValueWords& w) {
    if (toneIsOff(cell, w)) return ToneKind::Off;
    if (cell.startsWith(u'D') && (cell.endsWith(u'N') || cell.endsWith(u'I'))) return ToneKind::Dcs;
    return ToneKind::Ctcss;
}

} // namespace

QStringList CsvImportReport::lines(const Language& lang) const {
    QStringList out;
    if (refusal) return {*refusal};
    for (const CsvNote& n : notes) {
        const QString reason = n.dropped ? lang.text(Str::CsvDropped).arg(n.reason) : n.reason;
        out << lang.text(Str::CsvLine).arg(n.line).arg(escapeControls(reason));
    }
    out << lang.text(Str::CsvTotals).arg(imported).arg(dropped).arg(warnings);
    return out;
}

CsvImportOptions withSelectedBands(CsvImportOptions options, const Session& session) {
    const ControlStore& main = session.doc.main;
    options.band = main.has(MainCtl::Band1) ? main.currentItem(MainCtl::Band1) : QString();
    options.bandTwo = main.has(MainCtl::Band2) ? main.currentItem(MainCtl::Band2) : QString();
    return options;
}

CsvImportReport importChannelsCsv(ChannelTable& table, const QByteArray& bytes, const ValueWords& w,
                                  const Language& lang, const CsvImportOptions& options, QChar decimalPoint) {
    CsvImportReport report;
    const QString text = csvText(bytes);
    // Spreadsheets set to a language that writes a decimal comma save their lists with ";" or a
    // tab between the cells: the header tells which.
    QChar separator;
    QList<CsvRecord> recs;
    QHash<QString, int> column;
    for (const QChar candidate : {QChar(','), QChar(';'), QChar('\t')}) {
        recs = csvRecords(text, candidate);
        column = headerColumns(recs);
        separator = candidate;
        if (hasNeededColumns(column)) break;
    }
    if (!hasNeededColumns(column)) {
        report.refusal = lang.text(Str::CsvNoHeader);
        return report;
    }
    if (recs.size() < 2) {
        report.refusal = lang.text(Str::CsvNoChannelLines);
        return report;
    }
    const int shift = options.renumber || options.keepNumbers
                          ? 0
                          : locationShift(recs, column.value(QStringLiteral("location")));
    bool shiftSaid = false;

    // The table is emptied only once a line is taken: a file whose every line is dropped leaves
    // the user's channels as they were.
    bool replacePending = options.replace;
    QHash<int, int> lineOfChannel; // channel -> the line imported into it
    int nextChannel = 1;
    for (qsizetype r = 1; r < recs.size(); ++r) {
        const CsvRecord& rec = recs.at(r);
        auto get = [&](const char* name) {
            const int i = column.value(QString::fromLatin1(name).toLower(), -1);
            return i >= 0 && i < rec.fields.size() ? rec.fields.at(i).trimmed() : QString();
        };
        // A number of a list separated by ";" or tabs may have a decimal comma ("439,125").
        auto number = [&](const char* name) {
            const QString v = get(name);
            return separator == u',' ? v : QString(v).replace(u',', u'.');
        };
        auto orDefault = [&](const QString& v, const QString& fallback) {
            return v.isEmpty() ? fallback : v;
        };
        QList<CsvNote> warnings;
        auto drop = [&](const QString& reason) {
            report.notes.append({rec.line, reason, true});
            ++report.dropped;
        };
        auto warn = [&](const QString& reason) { warnings.append({rec.line, reason, false}); };
        if (rec.unclosedQuote) {
            drop(lang.text(Str::CsvUnclosedQuote));
            continue;
        }

        int channel = 0;
        if (!options.renumber) {
            bool ok = false;
            const int location = get("Location").toInt(&ok);
            const bool inRange = ok && location >= 0 && location <= ChannelTable::ChannelCount;
            channel = inRange ? location + shift : 0;
            if (inRange && location == 0 && shift && !shiftSaid) {
                shiftSaid = true;
                report.notes.append({rec.line, lang.text(Str::CsvCountedFromZero), false});
                ++report.warnings;
            }
            if (inRange && channel > ChannelTable::ChannelCount) {
                drop(lang.text(Str::CsvBeyondLastChannel).arg(location).arg(channel));
                continue;
            }
            if (channel < 1) {
                drop(lang.text(Str::CsvBadLocation).arg(shown(get("Location"))));
                continue;
            }
        }

        const QString freqText = number("Frequency");
        const auto rx = units(freqText, QChar('.'));
        if (!rx || *rx < Lowest || *rx > Highest) {
            drop(lang.text(Str::CsvBadFrequency).arg(shown(freqText)));
            continue;
        }
        const QString duplex = get("Duplex").toLower();
        const auto offset = units(orDefault(number("Offset"), QStringLiteral("0")), QChar('.'));
        // A plain value and flag, not an optional: GCC's flow analysis misreads one here.
        long long tx = *rx;
        bool hasTx = true;
        if (duplex == u"+" || duplex == u"-" || duplex == u"split") {
            if (!offset) {
                drop(lang.text(Str::CsvBadTx).arg(shown(get("Offset"))));
                continue;
            }
            tx = duplex == u"+" ? *rx + *offset : duplex == u"-" ? *rx - *offset : *offset;
        } else if (duplex == u"off") {
            hasTx = false;
        } else if (!duplex.isEmpty()) {
            drop(lang.text(Str::CsvBadDuplex).arg(shown(get("Duplex"))));
            continue;
        }
        if (hasTx && (tx < Lowest || tx > Highest)) {
            drop(lang.text(Str::CsvBadTx).arg(unitsText(tx)));
            continue;
        }

        const QString mode = get("Mode");
        QString bandwidth;
        if (mode.isEmpty() || mode.compare(u"FM", Qt::CaseInsensitive) == 0)
            bandwidth = w.wide;
        else if (mode.compare(u"NFM", Qt::CaseInsensitive) == 0)
            bandwidth = w.narrow;
        else {
            drop(lang.text(Str::CsvBadMode).arg(shown(mode)));
            continue;
        }

        if (options.renumber) {
            if (nextChannel > ChannelTable::ChannelCount) {
                drop(lang.text(Str::CsvNoChannelLeft));
                continue;
            }
            channel = nextChannel++;
        }

        // Tones: the TX side is column 4, the RX side column 2.
        const QString tone = get("Tone").toLower();
        const QString rTone = orDefault(number("rToneFreq"), QStringLiteral("88.5"));
        const QString cTone = orDefault(number("cToneFreq"), QStringLiteral("88.5"));
        const QString dtcs = orDefault(get("DtcsCode"), QStringLiteral("023"));
        const QString rxDtcs = orDefault(get("RxDtcsCode"), dtcs);
        const QString polarity = orDefault(get("DtcsPolarity"), QStringLiteral("NN")) + QStringLiteral("NN");
        auto ctcss = [&](const QString& v) {
            auto c = ctcssCell(v);
            if (!c) warn(lang.text(Str::CsvBadTone).arg(shown(v)));
            return c.value_or(w.off);
        };
        auto dcs = [&](const QString& v, QChar pol) {
            auto c = dcsCell(v, pol);
            if (!c) warn(lang.text(Str::CsvBadTone).arg(shown(v)));
            return c.value_or(w.off);
        };
        QString txTone = w.off, rxTone = w.off;
        if (tone == u"tone") {
            txTone = ctcss(rTone);
        } else if (tone == u"tsql") {
            txTone = rxTone = ctcss(cTone);
        } else if (tone == u"dtcs") {
            txTone = dcs(dtcs, polarity.at(0));
            rxTone = dcs(rxDtcs, polarity.at(1));
        } else if (tone == u"cross") {
            const QStringList sides = get("CrossMode").split(QStringLiteral("->"));
            const QString txSide = sides.value(0).trimmed().toLower();
            const QString rxSide = sides.value(1).trimmed().toLower();
            if (txSide == u"tone")
                txTone = ctcss(rTone);
            else if (txSide == u"dtcs")
                txTone = dcs(dtcs, polarity.at(0));
            if (rxSide == u"tone")
                rxTone = ctcss(cTone);
            else if (rxSide == u"dtcs")
                rxTone = dcs(rxDtcs, polarity.at(1));
        }

        const QString fullName = get("Name");
        QString name = fullName.left(NameChars);
        bool badName = false;
        for (QChar& c : name)
            if (!nameCharAccepted(c) || c.unicode() < 0x20 || c.unicode() > 0x7e) {
                c = u' ';
                badName = true;
            }
        // Blanks at either end are trimmed like every cell of the file, also where they stand
        // for characters the radio cannot show, so that an exported list reads back the same.
        name = name.trimmed();
        if (badName) warn(lang.text(Str::CsvBadName));
        if (fullName.size() > NameChars)
            warn(lang.text(Str::CsvNameCut).arg(shown(fullName)).arg(NameChars).arg(name));

        const QString powerText = number("Power");
        QString power = w.high;
        const QString p = powerText.toLower();
        if (p == u"mid" || p == u"medium" || p == u"m")
            power = w.mid;
        else if (p == u"low" || p == u"l")
            power = w.low;
        else if (!p.isEmpty() && p != u"high" && p != u"h") {
            QString watts = p;
            if (watts.endsWith(u'w')) watts.chop(1);
            if (const auto f = parseDecimal(watts, QChar('.')))
                power = *f >= 4 ? w.high : *f >= 2 ? w.mid : w.low;
        }

        if (const auto earlier = lineOfChannel.constFind(channel); earlier != lineOfChannel.cend()) {
            drop(lang.text(Str::CsvDuplicateLocation).arg(channel).arg(*earlier));
            continue;
        }
        lineOfChannel.insert(channel, rec.line);
        if (replacePending) {
            for (int r = ChannelTable::FirstChannelRow; r <= ChannelTable::LastRow; ++r)
                table.clearRow(r);
            replacePending = false;
        }

        const int row = channel + ChannelTable::FirstChannelRow - 1;
        auto freqCell = [&](long long v, const QString& asGiven) {
            // The paste's rule: a channel from another table's raster lands on this one's; the
            // line says so, since the radio then works on another frequency than the list's.
            const QString cell = table.onRaster(unitsText(v), decimalPoint).value_or(QString());
            if (const auto moved = units(cell, decimalPoint); moved && *moved != v)
                warn(lang.text(Str::CsvMovedToRaster).arg(asGiven, cell));
            return cell;
        };
        const QString rxCell = freqCell(*rx, freqText);
        table.setCell(Col::RxFreq, row, rxCell);
        table.newChannelDefaults(row, w);
        // A simplex channel is warned of once.
        table.setCell(Col::TxFreq, row,
                      !hasTx      ? QString()
                      : tx == *rx ? rxCell
                                  : freqCell(tx, megahertz(tx)));
        table.setCell(Col::RxTone, row, rxTone);
        table.setCell(Col::TxTone, row, txTone);
        table.setCell(Col::Power, row, power);
        table.setCell(Col::Bandwidth, row, bandwidth);
        table.setCell(Col::Opt7, row, get("Skip").compare(u"S", Qt::CaseInsensitive) == 0 ? w.off : w.on);
        if (!name.isEmpty()) table.setCell(Col::Name, row, name);
        for (const QString& band : bandWarnings(table, row, options, lang, decimalPoint))
            warn(band);

        ++report.imported;
        report.warnings += int(warnings.size());
        report.notes.append(warnings);
    }
    return report;
}

QByteArray exportChannelsCsv(const ChannelTable& table, const ValueWords& w, QChar decimalPoint) {
    QStringList header;
    for (const char* h : Header)
        header << QString::fromLatin1(h);
    QString out = header.join(u',') + QStringLiteral("\r\n");
    const QString step = table.side() == Side::A ? QStringLiteral("2.50") : QStringLiteral("5.00");

    for (int row = ChannelTable::FirstChannelRow; row <= ChannelTable::LastRow; ++row) {
        if (!table.rowInUse(row)) continue;
        QStringList f(HeaderCount);
        f[0] = QString::number(row - ChannelTable::FirstChannelRow + 1);
        f[1] = table.cell(Col::Name, row);
        const long long rx = units(table.cell(Col::RxFreq, row), decimalPoint).value_or(0);
        f[2] = unitsText(rx);
        const QString txText = table.cell(Col::TxFreq, row);
        const auto tx = units(txText, decimalPoint);
        long long offset = 0;
        if (txText.isEmpty() || !tx)
            f[3] = QStringLiteral("off");
        else if (*tx == rx)
            f[3] = QString();
        else if (*tx >= Lowest && *tx <= Highest && std::llabs(*tx - rx) < 50 * Unit) {
            f[3] = *tx > rx ? QStringLiteral("+") : QStringLiteral("-");
            offset = std::llabs(*tx - rx);
        } else {
            f[3] = QStringLiteral("split");
            offset = *tx;
        }
        f[4] = unitsText(offset);

        const QString txTone = table.cell(Col::TxTone, row), rxTone = table.cell(Col::RxTone, row);
        const ToneKind txKind = kindOf(txTone, w), rxKind = kindOf(rxTone, w);
        QString rTone = QStringLiteral("88.5"), cTone = rTone, code = QStringLiteral("023"), rxCode = code;
        QChar txPol = u'N', rxPol = u'N';
        auto codeOf = [](const QString& cell) { return cell.mid(1, 3); };
        auto polOf = [](const QString& cell) { return cell.endsWith(u'I') ? QChar(u'R') : QChar(u'N'); };
        QString mode;
        if (txKind == ToneKind::Off && rxKind == ToneKind::Off) {
        } else if (txKind == ToneKind::Ctcss && rxKind == ToneKind::Off) {
            mode = QStringLiteral("Tone");
            rTone = txTone;
        } else if (txKind == ToneKind::Ctcss && rxKind == ToneKind::Ctcss && txTone == rxTone) {
            mode = QStringLiteral("TSQL");
            cTone = txTone;
        } else if (txKind == ToneKind::Dcs && rxKind == ToneKind::Dcs && codeOf(txTone) == codeOf(rxTone)) {
            mode = QStringLiteral("DTCS");
            code = rxCode = codeOf(txTone);
            txPol = polOf(txTone);
            rxPol = polOf(rxTone);
        } else {
            mode = QStringLiteral("Cross");
            auto side = [](ToneKind k) {
                return k == ToneKind::Ctcss ? QStringLiteral("Tone")
                       : k == ToneKind::Dcs ? QStringLiteral("DTCS")
                                            : QString();
            };
            f[11] = side(txKind) + QStringLiteral("->") + side(rxKind);
            if (txKind == ToneKind::Ctcss) rTone = txTone;
            if (txKind == ToneKind::Dcs) {
                code = codeOf(txTone);
                txPol = polOf(txTone);
            }
            if (rxKind == ToneKind::Ctcss) cTone = rxTone;
            if (rxKind == ToneKind::Dcs) {
                rxCode = codeOf(rxTone);
                rxPol = polOf(rxTone);
            }
        }
        if (f[11].isEmpty()) f[11] = QStringLiteral("Tone->Tone");
        f[5] = mode;
        f[6] = rTone;
        f[7] = cTone;
        f[8] = code;
        f[9] = QString(txPol) + rxPol;
        f[10] = rxCode;
        f[12] = isWide(table.cell(Col::Bandwidth, row), w) ? QStringLiteral("FM") : QStringLiteral("NFM");
        f[13] = step;
        f[14] = isOnUnlessOff(table.cell(Col::Opt7, row), w) ? QString() : QStringLiteral("S");
        switch (powerOf(table.cell(Col::Power, row), w)) {
        case Power::High:
            f[15] = QStringLiteral("High");
            break;
        case Power::Mid:
            f[15] = QStringLiteral("Mid");
            break;
        case Power::Low:
            f[15] = QStringLiteral("Low");
            break;
        }
        for (QString& s : f)
            s = quotedField(s);
        out += f.join(u',') + QStringLiteral("\r\n");
    }
    return out.toUtf8();
}

FileRead readChannelsCsvFile(const QString& path, const Language& lang) {
    constexpr qint64 MaxBytes = 4 * 1024 * 1024;
    return readUserFile(path, MaxBytes, lang);
}

std::optional<QString> writeChannelsCsvFile(const QString& path, const ChannelTable& table,
                                            const ValueWords& words, const Language& lang) {
    return saveUserFile(path, exportChannelsCsv(table, words), lang);
}
