// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/codeplug/problems.h"
#include "core/base/messages.h"
#include "core/codeplug/bandcheck.h"
#include "core/codeplug/document.h"
#include "core/codeplug/model.h"
#include "core/codeplug/problemtext.h"
#include "core/codeplug/session.h"
#include <QFileInfo>
#include <QHash>

namespace {
using Severity = Problem::Severity;

class Warnings {
public:
    explicit Warnings(const Session& session) : m_session(session) {}

    void cell(Side side, int row, int col, int reason, const QString& value) {
        Problem p;
        p.severity = Severity::Warning;
        p.place = Problem::Place::Cell;
        p.side = side;
        p.row = row;
        p.col = col;
        p.message = cellProblemText(m_session, side, row, col, reason, value);
        m_problems << p;
    }
    void field(const QString& control, int reason) {
        Problem p;
        p.severity = Severity::Warning;
        p.control = control;
        p.message = fieldProblemText(m_session, control, 0, reason, {});
        m_problems << p;
    }
    QList<Problem> problems() const { return m_problems; }

private:
    const Session& m_session;
    QList<Problem> m_problems;
};

// Whole MHz limits from a band text; the upper limit is a frequency of the band.
bool inside(double mhz, const std::optional<BandLimits>& band) {
    return band && mhz >= band->lower && mhz <= band->upper;
}

void checkVfoRows(const Session& s, QChar point, Warnings& out) {
    for (Side side : {Side::A, Side::B}) {
        const ChannelTable& table = s.doc.table(side);
        for (int row = 1; row < ChannelTable::FirstChannelRow; ++row)
            // An empty row is filled, which moves nothing the user chose.
            if (const std::optional<QString> lower = vfoBandTarget(s.doc, side, row, point);
                lower && table.rowInUse(row))
                out.cell(side, row, Col::RxFreq, Str::ProblemVfoMoved,
                         normaliseFrequency(*lower, table.raster(), point).value_or(*lower));
    }
}

void checkChannels(const Session& s, QChar point, Warnings& out) {
    const ControlStore& main = s.doc.main;
    const QString bandText = main.has(MainCtl::Band1) ? main.currentItem(MainCtl::Band1) : QString();
    const std::optional<BandLimits> band = bandLimits(bandText);
    const std::optional<BandLimits> band2 =
        main.has(MainCtl::Band2) ? bandLimits(main.currentItem(MainCtl::Band2)) : std::nullopt;
    const bool namesShown = s.doc.func.has(Ctl::CheckBox22) && s.doc.func.checked(Ctl::CheckBox22);
    const ValueWords& w = s.doc.words;
    for (Side side : {Side::A, Side::B}) {
        const ChannelTable& table = s.doc.table(side);
        QHash<QString, int> firstRowOf; // frequencies and tones of a channel -> its first row
        for (int row = ChannelTable::FirstChannelRow; row <= ChannelTable::LastRow; ++row) {
            if (!table.rowInUse(row)) continue;
            const QString rx = table.cell(Col::RxFreq, row);
            const QString tx = table.cell(Col::TxFreq, row);
            if (const auto f = parseDecimal(rx, point); f && band && !inside(*f, band))
                out.cell(side, row, Col::RxFreq, Str::ProblemOutsideBand, bandText);
            if (const auto f = parseDecimal(tx, point);
                f && (band || band2) && !inside(*f, band) && !inside(*f, band2))
                out.cell(side, row, Col::TxFreq, Str::ProblemTxOutsideBands, tx);
            // An empty tone and the OFF word are the same tone to the radio.
            auto tone = [&](int col) {
                const QString t = table.cell(col, row);
                return toneIsOff(t, w) ? QString() : t.trimmed();
            };
            const QString key = rx + u'|' + tx + u'|' + tone(Col::RxTone) + u'|' + tone(Col::TxTone);
            if (const auto first = firstRowOf.constFind(key); first != firstRowOf.constEnd())
                out.cell(side, row, Col::RxFreq, Str::ProblemDuplicate, table.cell(Col::Label, *first));
            else
                firstRowOf.insert(key, row);
            if (namesShown && table.cell(Col::Name, row).isEmpty())
                out.cell(side, row, Col::Name, Str::ProblemNoName, {});
        }
    }
}
} // namespace

QList<Problem> documentProblems(const Session& session) {
    QList<Problem> problems = validateDocument(session);
    const QChar point = systemDecimalPoint();
    Warnings out(session);
    checkVfoRows(session, point, out);
    checkChannels(session, point, out);
    const ControlStore& func = session.doc.func;
    // An empty field is written as a password of no digits.
    if (func.has(Ctl::CheckBox35) && func.checked(Ctl::CheckBox35) && func.text(Ctl::Edit20).isEmpty())
        out.field(Ctl::Edit20, Str::ProblemNoPassword);
    problems << out.problems();
    // A backup of a failed read, opened to be written back: said first, before any value.
    if (isPartialBackup(session.history.path())) {
        Problem p;
        p.severity = Severity::Warning;
        p.place = Problem::Place::MainSelection;
        p.control = MainCtl::Model;
        p.message = session.lang.text(Str::PartialBackup).arg(QFileInfo(session.history.path()).fileName());
        problems.prepend(p);
    }
    return problems;
}

ProblemCount countProblems(const QList<Problem>& problems) {
    ProblemCount count;
    for (const Problem& p : problems)
        ++(p.severity == Problem::Severity::Error ? count.errors : count.warnings);
    return count;
}
