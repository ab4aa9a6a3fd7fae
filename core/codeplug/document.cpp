// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/codeplug/document.h"
#include "core/base/filesave.h"
#include "core/base/gbk.h"
#include "core/base/messages.h"
#include "core/codeplug/documentlines.h"
#include "core/codeplug/model.h"
#include "core/codeplug/session.h"
#include <QRegularExpression>
#include <algorithm>

namespace {
// No line the program writes comes near this; a longer one is damage, not a setting.
constexpr qsizetype MaxLineBytes = 4096;
// A document is about 50 KB; a larger file is refused so that a wrong file cannot exhaust memory.
constexpr qint64 MaxFileBytes = 4 * 1024 * 1024;
// Only the first characters of the TYPE and BAND lines are looked at.
constexpr qsizetype HeaderPrefixBytes = 64;

// Lines end in CR LF; a lone LF or CR ends a line as well, so files passed through other
// systems still read.
struct RawLine {
    QByteArrayView bytes;
    bool terminated = false; // false for the last bytes of a file that ends inside a line
};

class LineReader {
public:
    explicit LineReader(const QByteArray& bytes) : m_bytes(bytes) {}

    std::optional<RawLine> next() {
        if (m_pos >= m_bytes.size()) return std::nullopt;
        const qsizetype start = m_pos;
        // The next LF and CR are each looked for once and kept until passed: a file without any
        // CR is not searched to its end again for every line.
        if (m_lf < start) m_lf = endIfNone(m_bytes.indexOf('\n', start));
        if (m_cr < start) m_cr = endIfNone(m_bytes.indexOf('\r', start));
        const qsizetype end = std::min(m_lf, m_cr);
        m_pos = end;
        if (m_pos < m_bytes.size() && m_bytes.at(m_pos) == '\r') ++m_pos;
        if (m_pos < m_bytes.size() && m_bytes.at(m_pos) == '\n') ++m_pos;
        return RawLine{QByteArrayView(m_bytes).sliced(start, end - start), end < m_bytes.size()};
    }

private:
    qsizetype endIfNone(qsizetype index) const { return index < 0 ? m_bytes.size() : index; }

    const QByteArray& m_bytes;
    qsizetype m_pos = 0;
    qsizetype m_lf = -1;
    qsizetype m_cr = -1;
};

// Lines to GBK bytes.
class GbkWriter {
public:
    void add(const QString& line) { m_bytes += m_gbk.encode(line); }
    QByteArray bytes() const { return m_bytes; }
    void reserve(qsizetype size) { m_bytes.reserve(size); }

private:
    QByteArray m_bytes;
    Gbk m_gbk;
};

// A whole number as the file writes it: an optional minus and decimal digits.
std::optional<int> toInt(const QString& text) {
    const QString t = text.trimmed();
    qsizetype i = t.startsWith(QChar('-')) ? 1 : 0;
    if (t.size() <= i || t.size() > 9) return std::nullopt;
    for (; i < t.size(); ++i)
        if (t.at(i) < QChar('0') || t.at(i) > QChar('9')) return std::nullopt;
    return t.toInt();
}

QString settingText(const Session& s, const SettingLine& line) {
    const ControlStore& func = s.doc.func;
    switch (line.kind) {
    case LineKind::List:
    case LineKind::ListFirstChar:
        return QString::number(func.index(line.control)) + QChar(' ') + func.currentItem(line.control);
    case LineKind::Flag:
        return QString(func.checked(line.control) ? QChar('1') : QChar('0')) + QChar(' ') +
               s.lang.caption(func.state(line.control).caption);
    case LineKind::Text:
    case LineKind::Position:
        return func.text(line.control);
    case LineKind::CallCell:
    case LineKind::FmCell:
        return func.cell(line.control, 1, line.gridRow);
    }
    return {};
}

// Applies one settings line; the reason when it cannot be applied (the control keeps its state).
std::optional<QString> applySetting(Session& s, const SettingLine& line, const QString& text) {
    ControlStore& func = s.doc.func;
    const auto notANumber = [&](const QString& part) { return s.lang.text(Str::NumberConversion).arg(part); };
    switch (line.kind) {
    case LineKind::List:
    case LineKind::ListFirstChar: {
        // One character holds the index of the two-entry band-two list; a "-1" (no selection)
        // still reads as such rather than failing on its minus.
        const int width = line.kind == LineKind::List || text.startsWith(QChar('-')) ? 2 : 1;
        const QString part = text.left(width);
        const auto index = toInt(part);
        if (!index) return notANumber(part);
        func.setIndex(line.control, *index);
        return std::nullopt;
    }
    case LineKind::Flag: {
        const QString part = text.left(1);
        if (part.isEmpty() || !part.at(0).isDigit() || part.at(0).unicode() > 0x7f) return notANumber(part);
        func.setChecked(line.control, part == QStringLiteral("1"));
        return std::nullopt;
    }
    case LineKind::Position: {
        const QString part = text.left(3);
        const auto position = toInt(part);
        if (!position) return notANumber(part);
        // The up-down keeps the position inside its range and its field shows the result.
        func.setPosition(line.upDown, *position);
        func.setText(line.control, QString::number(func.position(line.upDown)));
        return std::nullopt;
    }
    case LineKind::Text:
        func.setText(line.control, text);
        return std::nullopt;
    case LineKind::CallCell:
    case LineKind::FmCell:
        func.setCell(line.control, 1, line.gridRow, text);
        return std::nullopt;
    }
    return std::nullopt;
}

// The BAND line selects its band; a band text that is not yet listed becomes a new entry.
std::optional<QString> applyBand(Session& s, const QString& band) {
    if (!bandLimits(band)) return s.lang.text(Str::BadBandText) + QStringLiteral(" \"%1\"").arg(band);
    ControlStore& main = s.doc.main;
    QStringList items = main.items(MainCtl::Band1);
    qsizetype index = items.indexOf(band);
    if (index < 0) {
        items << band;
        main.setItems(MainCtl::Band1, items);
        index = items.size() - 1;
    }
    main.setIndex(MainCtl::Band1, int(index));
    return std::nullopt;
}
// In a file short of `missing` lines: the first channel line that stands where another belongs,
// as when lines were deleted from the middle. `in` is at line 5.
std::optional<QString> firstMisfit(LineReader in, int missing, const Language& lang) {
    Gbk gbk;
    for (int number = 5; number < DocumentFormat::FirstChannelLineA; ++number)
        in.next();
    for (const Side side : {Side::A, Side::B})
        for (int row = 1; row <= ChannelTable::LastRow; ++row) {
            const auto raw = in.next();
            if (!raw || !raw->terminated) return std::nullopt; // the end of a cut file
            const QString text = gbk.decode(raw->bytes.first(std::min(raw->bytes.size(), HeaderPrefixBytes)));
            if (channelLineLabelOk(text, row)) continue;
            return lang.text(Str::DocLineMisfit)
                .arg(channelLineOf(side, row))
                .arg(escapeControls(text.left(channelLineLabel(row).size())), channelLineLabel(row))
                .arg(missing);
        }
    return std::nullopt;
}
} // namespace

QString documentCaption(const QString& model, const QString& band) {
    return model + QStringLiteral("   [") + band + QChar(']');
}

QByteArray saveDocument(const Session& s) {
    const ControlStore& main = s.doc.main;
    // Encoded line by line into one array grown in place: a document is about 15,000 bytes, and
    // most of its lines are plain ASCII.
    GbkWriter out;
    out.reserve(1 << 15);
    const QString crlf = QStringLiteral("\r\n");
    const auto add = [&out, &crlf](const QString& line) {
        out.add(line);
        out.add(crlf);
    };
    add(DocumentFormat::Header);
    add({});
    add({});
    add(QStringLiteral("TYPE") + QString::number(main.index(MainCtl::Model)) + QChar(' ') +
        main.currentItem(MainCtl::Model) + DocumentFormat::Version);
    add(QStringLiteral("BAND ") + main.currentItem(MainCtl::Band1));
    for (const SettingLine& line : settingLines())
        add(settingText(s, line));
    add({});
    add({});
    // Most rows of a document are empty, and an empty row's line depends on its number alone.
    static const QStringList emptyRows = [] {
        QStringList lines{QString()};
        for (int row = 1; row <= ChannelTable::LastRow; ++row)
            lines << formatChannelLine(row, {});
        return lines;
    }();
    QStringList cells;
    cells.reserve(ChannelTable::Columns - 1);
    for (const ChannelTable* table : {&s.doc.tableA, &s.doc.tableB})
        for (int row = 1; row <= ChannelTable::LastRow; ++row) {
            if (table->rowEmpty(row)) {
                add(emptyRows.at(row));
                continue;
            }
            cells.clear();
            for (int col = 1; col < ChannelTable::Columns; ++col)
                cells << table->cell(col, row);
            add(formatChannelLine(row, cells));
        }
    return out.bytes();
}

OpenResult openDocument(Session& s, const QByteArray& file) {
    OpenResult result;
    // A text editor may put a byte-order mark before the first line.
    const QByteArray bytes = file.startsWith("\xEF\xBB\xBF") ? file.sliced(3) : file;
    LineReader in(bytes);
    Gbk gbk;
    const auto header = in.next();
    if (!header || header->bytes != DocumentFormat::Header.toLatin1()) return result;
    in.next();
    in.next();

    const auto prefix = [&](std::optional<RawLine> line) {
        return gbk.decode(line ? line->bytes.first(std::min(line->bytes.size(), HeaderPrefixBytes))
                               : QByteArrayView());
    };
    // TYPE line: character 5 the model index, characters 7-14 the model text; the version after
    // them is written but never compared.
    const QString type = prefix(in.next());
    const auto modelIndex = toInt(type.mid(4, 1));
    const QString modelText = type.mid(6, 8);
    ControlStore& main = s.doc.main;
    if (!modelIndex || *modelIndex < 0 || *modelIndex >= main.items(MainCtl::Model).size() ||
        main.items(MainCtl::Model).at(*modelIndex) != modelText) {
        result.refusal = OpenResult::Refusal::UnknownModel;
        return result;
    }
    // All or nothing: a file that ends before its last line is not applied at all, or the
    // document would be a mix of the old settings and the cut file's (a last line without
    // line end is complete: files from other editors end that way).
    {
        LineReader rest = in;
        for (int number = 5; number <= DocumentFormat::LineCount; ++number) {
            const auto raw = rest.next();
            if (!raw || (!raw->terminated && number < DocumentFormat::LineCount))
                result.notApplied << LineProblem{number, s.lang.text(Str::DamagedLine)};
        }
        if (!result.notApplied.isEmpty()) {
            result.refusal = OpenResult::Refusal::Incomplete;
            result.misfit = firstMisfit(in, int(result.notApplied.size()), s.lang);
            return result;
        }
    }
    result.refusal = OpenResult::Refusal::None;
    main.setIndex(MainCtl::Model, *modelIndex);
    changeModel(s);

    // BAND line: characters 6-15.
    if (auto reason = applyBand(s, prefix(in.next()).mid(5, 10)))
        result.notApplied << LineProblem{5, *reason};
    result.caption = documentCaption(modelText, main.currentItem(MainCtl::Band1));

    const auto missing = [&](int line) {
        result.notApplied << LineProblem{line, s.lang.text(Str::DamagedLine)};
    };
    const auto tooLong = [&](int line) {
        result.notApplied << LineProblem{line, s.lang.text(Str::LineTooLong)};
    };
    // A file that ends early, or inside a line, leaves the remaining settings as they were: the
    // last line of a cut file holds only part of its text.
    const auto usable = [&](const std::optional<RawLine>& raw, int number) {
        if (!raw || (!raw->terminated && number < DocumentFormat::LineCount))
            missing(number);
        else if (raw->bytes.size() > MaxLineBytes)
            tooLong(number);
        else
            return true;
        return false;
    };
    for (const SettingLine& line : settingLines()) {
        const auto raw = in.next();
        if (!usable(raw, line.number)) continue;
        if (auto reason = applySetting(s, line, gbk.decode(raw->bytes)))
            result.notApplied << LineProblem{line.number, *reason};
    }
    in.next();
    in.next();

    s.doc.tableA.clearAll();
    s.doc.tableB.clearAll();
    for (ChannelTable* table : {&s.doc.tableA, &s.doc.tableB})
        for (int row = 1; row <= ChannelTable::LastRow; ++row) {
            const int number = channelLineOf(table->side(), row);
            const auto raw = in.next();
            if (!usable(raw, number)) continue;
            const QString text = gbk.decode(raw->bytes);
            const auto cells = parseChannelLine(text);
            if (!cells) {
                missing(number);
                continue;
            }
            if (!channelLineLabelOk(text, row))
                result.notApplied << LineProblem{
                    number, s.lang.text(Str::BadChannelLabel).arg(channelLineLabel(row))};
            for (int col = 1; col < ChannelTable::Columns; ++col)
                table->setCell(col, row, cells->at(col - 1));
        }
    return result;
}

std::optional<QString> writeDocumentFile(const QString& path, const Session& s) {
    return saveUserFile(path, saveDocument(s), s.lang);
}

bool isPartialBackup(const QString& path) {
    static const QRegularExpression partial(QStringLiteral("%1(-\\d+)?\\.qv19$").arg(PartialBackupMark),
                                            QRegularExpression::CaseInsensitiveOption);
    return partial.match(path).hasMatch();
}

FileRead readDocumentFile(const QString& path, const Session& s) {
    return readUserFile(path, MaxFileBytes, s.lang);
}
