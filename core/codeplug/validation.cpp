// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/codeplug/validation.h"
#include "core/base/messages.h"
#include "core/base/texttable.h"
#include "core/codeplug/controlnames.h"
#include "core/codeplug/documentlines.h"
#include "core/codeplug/funccontrols.h"
#include "core/codeplug/model.h"
#include "core/codeplug/problemtext.h"
#include "core/codeplug/session.h"
#include <QDate>
#include <algorithm>

namespace {
using Severity = Problem::Severity;

// What the radio's memory can hold of a cell: frequencies are 8 BCD digits, tones a list
// number, names 7 bytes of printable ASCII, the CTCSS frequency three hex digits of tenths.
enum class CellRule { RxFrequency, TxFrequency, Tone, Power, Bandwidth, OnOff, Compander, Name, Ctcss };

struct ColumnCheck {
    int col;
    CellRule rule;
    int reason;
};

const ColumnCheck columnChecks[] = {
    {Col::RxFreq, CellRule::RxFrequency, Str::BadFrequency},
    {Col::RxTone, CellRule::Tone, Str::BadTone},
    {Col::TxFreq, CellRule::TxFrequency, Str::BadFrequency},
    {Col::TxTone, CellRule::Tone, Str::BadTone},
    {Col::Power, CellRule::Power, Str::BadValue},
    {Col::Bandwidth, CellRule::Bandwidth, Str::BadValue},
    {Col::Opt7, CellRule::OnOff, Str::BadValue},
    {Col::Opt8, CellRule::OnOff, Str::BadValue},
    {Col::Opt9, CellRule::OnOff, Str::BadValue},
    {Col::Compander, CellRule::Compander, Str::BadValue},
    {Col::Opt11, CellRule::OnOff, Str::BadValue},
    {Col::PttId, CellRule::OnOff, Str::BadValue},
    {Col::Dtmf, CellRule::OnOff, Str::BadValue},
    {Col::Name, CellRule::Name, Str::BadName},
    {Col::Opt15, CellRule::OnOff, Str::BadValue},
    {Col::Reverse, CellRule::OnOff, Str::BadValue},
    {Col::Talkaround, CellRule::OnOff, Str::BadValue},
    {Col::CtcssFreq, CellRule::Ctcss, Str::BadCtcssFrequency},
};

enum class FieldRule {
    Dtmf,        // DTMF nibbles: 0-9, A-D, "*", "#"
    PttIdCode,   // DTMF nibbles; raw hex digits while voice announce is ticked
    Password,    // digits as nibbles
    Date,        // yyyy-MM-dd, stored as three BCD bytes of a year 20yy
    Integer,     // decimal digits, value within the range of the up-down beside the edit
    Tenths,      // "1.5" in the system's separator, tenths within the range of the up-down beside it
    PrintedText, // power-on text: bytes 0x20-0x7E
};

struct FieldCheck {
    const char* control;
    FieldRule rule;
    int reason;
    const char* onlyWhenTicked = nullptr; // checked only while this box is ticked
    int longest = 0; // texts: the longest text, where the radio's differs from the edit's own
};

// clang-format off
const FieldCheck fieldChecks[] = {
    // The window types at most 7, but the radio holds 8 bytes and a read can bring 8 back.
    {Ctl::Edit16, FieldRule::PrintedText, Str::BadName,     nullptr, 8},
    {Ctl::Edit9,  FieldRule::Dtmf,        Str::BadDtmf},
    {Ctl::Edit23, FieldRule::Dtmf,        Str::BadDtmf},
    {Ctl::Edit11, FieldRule::Dtmf,        Str::BadDtmf},
    {Ctl::Edit19, FieldRule::Dtmf,        Str::BadDtmf},
    {Ctl::Edit7,  FieldRule::PttIdCode,   Str::BadDtmf},
    {Ctl::Edit8,  FieldRule::PttIdCode,   Str::BadDtmf},
    {Ctl::Edit22, FieldRule::Password,    Str::BadPassword},
    {Ctl::Edit20, FieldRule::Password,    Str::BadPassword, Ctl::CheckBox35},
    {Ctl::Edit32, FieldRule::Date,        Str::BadDate},
    {Ctl::Edit31, FieldRule::Date,        Str::BadDate},
    {Ctl::Edit1,  FieldRule::Tenths,      Str::OutOfRange},
    {Ctl::Edit17, FieldRule::Integer,     Str::OutOfRange},
    {Ctl::Edit24, FieldRule::Integer,     Str::OutOfRange},
    {Ctl::Edit10, FieldRule::Integer,     Str::OutOfRange},
    {Ctl::Edit2,  FieldRule::Integer,     Str::OutOfRange},
    {Ctl::Edit3,  FieldRule::Integer,     Str::OutOfRange},
    {Ctl::Edit4,  FieldRule::Integer,     Str::OutOfRange},
    {Ctl::Edit5,  FieldRule::Integer,     Str::OutOfRange},
    {Ctl::Edit6,  FieldRule::Integer,     Str::OutOfRange},
    {Ctl::Edit13, FieldRule::Integer,     Str::OutOfRange},
    {Ctl::Edit14, FieldRule::Integer,     Str::OutOfRange},
    {Ctl::Edit15, FieldRule::Integer,     Str::OutOfRange},
    {Ctl::Edit28, FieldRule::Integer,     Str::OutOfRange},
};
// clang-format on

struct Bounds {
    int min = 0;
    int max = 0; // Integer/Tenths: largest value; texts: longest length
};

// A field's bounds come from its control's definition, where the window takes them from too:
// a number the range of the up-down beside the edit (Edit1's up-down counts tenths), a text the
// edit's maximum length.
Bounds boundsOf(const FieldCheck& check) {
    if (check.rule == FieldRule::Integer || check.rule == FieldRule::Tenths) {
        const ControlState& upDown = funcControlDefinition(pairedUpDown(QString::fromLatin1(check.control)));
        return {upDown.minimum, upDown.maximum};
    }
    if (check.longest > 0) return {0, check.longest};
    return {0, funcControlDefinition(QString::fromLatin1(check.control)).maxLength};
}

const QString DtmfChars = QStringLiteral("0123456789ABCD*#");
const QString HexDigits = QStringLiteral("0123456789ABCDEF");
constexpr int MaxDtmfDigits = 15; // nibble 16 of a code field counts at most 15
const QString Digits = QStringLiteral("0123456789");

bool onlyFrom(const QString& text, const QString& allowed, int maxLength) {
    if (text.size() > maxLength) return false;
    for (QChar c : text)
        if (!allowed.contains(c)) return false;
    return true;
}

// "ddd.ddddd" and its relatives: an exact count of integer and decimal digits around the
// system's separator or a '.', and a value within [low, high].
bool fixedPoint(const QString& text, int minIntDigits, int maxIntDigits, int decimals, double low,
                double high, QChar point) {
    qsizetype sep = 0;
    while (sep < text.size() && Digits.contains(text.at(sep)))
        ++sep;
    if (sep < minIntDigits || sep > maxIntDigits || text.size() != sep + 1 + decimals) return false;
    if (text.at(sep) != point && text.at(sep) != QChar('.')) return false;
    if (!onlyFrom(text.mid(sep + 1), Digits, decimals)) return false;
    const auto value = parseDecimal(text, point);
    return value && *value >= low && *value <= high;
}

struct Context {
    const Session& session;
    const ValueWords& words;
    QStringList tones;
    QChar point = systemDecimalPoint();
};

bool cellOk(CellRule rule, const QString& text, const Context& c) {
    const ValueWords& w = c.words;
    switch (rule) {
    case CellRule::RxFrequency:
        return fixedPoint(text, 3, 3, 5, 100.0, 550.0, c.point);
    case CellRule::TxFrequency:
        return text.isEmpty() || fixedPoint(text, 3, 3, 5, 100.0, 550.0, c.point);
    case CellRule::Tone:
        return toneIsOff(text, w) || c.tones.contains(text.trimmed());
    case CellRule::Power:
        return text == w.high || text == w.mid || text == w.low;
    case CellRule::Bandwidth:
        return text == w.wide || text == w.narrow;
    case CellRule::OnOff:
        return text == w.on || text == w.off;
    case CellRule::Compander:
        return companderList(w).contains(text);
    case CellRule::Name:
        return text.size() <= 7 && std::all_of(text.begin(), text.end(), [](QChar ch) {
                   return ch.unicode() >= 0x20 && ch.unicode() <= 0x7e;
               });
    case CellRule::Ctcss:
        return text.isEmpty() || fixedPoint(text, 2, 3, 1, 55.0, 255.0, c.point);
    }
    return false;
}

bool fieldOk(const FieldCheck& check, const QString& text, const Context& c) {
    const ControlStore& func = c.session.doc.func;
    const Bounds b = boundsOf(check);
    switch (check.rule) {
    case FieldRule::Dtmf:
        return onlyFrom(text, DtmfChars, b.max);
    case FieldRule::PttIdCode:
        // The edits let only digits (and "*", "#") be typed, but the field holds any DTMF code,
        // and with voice announce any hex digits: what a read brings back is written back.
        return func.checked(Ctl::CheckBox34) ? onlyFrom(text, HexDigits, MaxDtmfDigits)
                                             : onlyFrom(text, DtmfChars, MaxDtmfDigits);
    case FieldRule::Password:
        return onlyFrom(text, Digits, b.max);
    case FieldRule::Date: {
        const QDate date = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
        return text.size() == 10 && date.isValid() && date.year() >= 2000 && date.year() <= 2099;
    }
    case FieldRule::Integer:
        return !text.isEmpty() && onlyFrom(text, Digits, 4) && text.toInt() >= b.min && text.toInt() <= b.max;
    case FieldRule::Tenths: {
        const auto value = parseDecimal(text, c.point);
        return value && *value * 10 >= b.min - 1e-9 && *value * 10 <= b.max + 1e-9;
    }
    case FieldRule::PrintedText:
        return text.size() <= b.max &&
               std::all_of(text.begin(), text.end(), [](QChar ch) { return ch >= u' ' && ch <= u'~'; });
    }
    return false;
}

class Collector {
public:
    explicit Collector(const Context& c) : m_c(c) {}

    void cell(Side side, int row, int col, int reason, const QString& value) {
        Problem p;
        p.place = Problem::Place::Cell;
        p.side = side;
        p.row = row;
        p.col = col;
        p.message = cellProblemText(m_c.session, side, row, col, reason, value);
        m_problems << p;
    }

    void field(const QString& control, int gridRow, int reason, const QString& value,
               Severity severity = Severity::Error) {
        add(Problem::Place::Field, control, gridRow, severity, 0,
            fieldProblemText(m_c.session, control, gridRow, reason, value));
    }

    void selection(const QString& control, const QString& builtinLabel, int reason, const QString& value,
                   Severity severity, int entry = 0) {
        add(Problem::Place::MainSelection, control, 0, severity, entry,
            labelledProblemText(m_c.session, builtinLabel, control, reason, value));
    }

    QList<Problem> problems() const { return m_problems; }

private:
    void add(Problem::Place place, const QString& control, int gridRow, Severity severity, int entry,
             const QString& message) {
        Problem p;
        p.severity = severity;
        p.place = place;
        p.row = entry;
        p.control = control;
        p.gridRow = gridRow;
        p.message = message;
        m_problems << p;
    }

    const Context& m_c;
    QList<Problem> m_problems;
};

void checkTables(const Context& c, Collector& out) {
    for (Side side : {Side::A, Side::B}) {
        const ChannelTable& table = c.session.doc.table(side);
        for (int row = 1; row <= ChannelTable::LastRow; ++row) {
            if (!table.rowInUse(row)) continue; // an unused row is written as 16 bytes FF whatever it holds
            for (const ColumnCheck& check : columnChecks) {
                const QString text = table.cell(check.col, row);
                if (!cellOk(check.rule, text, c)) out.cell(side, row, check.col, check.reason, text);
            }
        }
    }
}

void checkFields(const Context& c, Collector& out) {
    const ControlStore& func = c.session.doc.func;
    for (const FieldCheck& check : fieldChecks) {
        const QString control = QString::fromLatin1(check.control);
        if (!func.has(control)) continue;
        if (check.onlyWhenTicked && !func.checked(QString::fromLatin1(check.onlyWhenTicked))) continue;
        const QString text = func.text(control);
        if (!fieldOk(check, text, c)) out.field(control, 0, check.reason, text);
    }
    // Every list is written as its position; a list without selection has none to write.
    for (const SettingLine& line : settingLines())
        if ((line.kind == LineKind::List || line.kind == LineKind::ListFirstChar) && func.has(line.control) &&
            func.index(line.control) < 0)
            out.field(line.control, 0, Str::NothingSelected, {});
}

void checkGrids(const Context& c, Collector& out) {
    const ControlStore& func = c.session.doc.func;
    // A grid cell has no length of its own; the radio keeps 15 digits of a call code.
    const FieldCheck callCode{Ctl::CallList, FieldRule::Dtmf, Str::BadDtmf, nullptr, 15};
    for (int row = 1; row <= DocumentFormat::CallListRows && row < func.rowCount(Ctl::CallList); ++row) {
        const QString text = func.cell(Ctl::CallList, 1, row);
        if (!fieldOk(callCode, text, c)) out.field(Ctl::CallList, row, Str::BadDtmf, text);
    }
    // Rows 1-31 and the 32nd slot that a read carries to the write.
    for (int row = 1; row < func.rowCount(Ctl::FmList); ++row) {
        const QString text = func.cell(Ctl::FmList, 1, row);
        if (!text.isEmpty() && !fixedPoint(text, 2, 3, 3, 87.5, 108.0, c.point))
            out.field(Ctl::FmList, row, Str::BadFmFrequency, text);
    }
}

// The band-one index travels in two bits of the settings block, where 3 means "keep the radio's
// own"; the band-two index likewise. A band text the write procedure cannot read holds no
// frequency, so the band check would empty every VFO row.
void checkBands(const Context& c, Collector& out) {
    const ControlStore& main = c.session.doc.main;
    const int band1 = main.index(MainCtl::Band1);
    if (band1 < 0)
        out.selection(MainCtl::Band1, QStringLiteral("频段一："), Str::NothingSelected, {}, Severity::Error);
    else if (band1 > 2)
        out.selection(MainCtl::Band1, QStringLiteral("频段一："), Str::OutOfRange,
                      main.currentItem(MainCtl::Band1), Severity::Warning);
    const QStringList bands = main.items(MainCtl::Band1);
    for (int i = 0; i < std::min<int>(3, int(bands.size())); ++i)
        if (!bandLimits(bands.at(i)))
            out.selection(MainCtl::Band1, QStringLiteral("频段一："), Str::BadBandText, bands.at(i),
                          Severity::Error, i + 1);
    if (main.index(MainCtl::Band2) > 2)
        out.selection(MainCtl::Band2, QStringLiteral("频段二："), Str::OutOfRange,
                      main.currentItem(MainCtl::Band2), Severity::Warning);
}
} // namespace

QList<Problem> validateDocument(const Session& session) {
    const Context c{session, session.doc.words, toneList(session.doc.words)};
    Collector out(c);
    checkTables(c, out);
    checkFields(c, out);
    checkGrids(c, out);
    checkBands(c, out);
    return out.problems();
}

bool hasErrors(const QList<Problem>& problems) {
    return std::any_of(problems.begin(), problems.end(),
                       [](const Problem& p) { return p.severity == Problem::Severity::Error; });
}

int documentLineOf(const Problem& p) {
    switch (p.place) {
    case Problem::Place::Cell:
        return channelLineOf(p.side, p.row);
    case Problem::Place::Field:
        return settingLineOf(p.control, p.gridRow);
    case Problem::Place::MainSelection:
        return p.control == MainCtl::Band1 && p.row == 0 ? 5 : 0;
    }
    return 0;
}
