// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/transfer/documentdiff.h"
#include "core/base/messages.h"
#include "core/base/texttable.h"
#include "core/codeplug/documentlines.h"
#include "core/codeplug/session.h"

namespace {
QString headerOf(int col, const Language& lang) {
    const int number = channelHeaderNumber(col);
    return number > 0          ? lang.text(number)
           : col == Col::PttId ? QStringLiteral("PTT ID")
                               : QStringLiteral("DTMF");
}

// A setting as its control shows it: the selected item, the on/off word, the text, the number.
QString settingValue(const Session& session, const SettingLine& line) {
    const ControlStore& func = session.doc.func;
    switch (line.kind) {
    case LineKind::CallCell:
    case LineKind::FmCell:
        return func.cell(line.control, 1, line.gridRow);
    case LineKind::Position:
        if (func.has(line.upDown)) return QString::number(func.position(line.upDown));
        break;
    default:
        break;
    }
    if (!func.has(line.control)) return {};
    const ControlState& state = func.state(line.control);
    switch (state.kind) {
    case ControlState::Kind::List:
        return func.currentItem(line.control);
    case ControlState::Kind::Check:
        return state.checked ? session.doc.words.on : session.doc.words.off;
    case ControlState::Kind::UpDown:
        return QString::number(state.position);
    default:
        return state.text;
    }
}

QString captionOf(const Session& session, const QString& control) {
    const ControlStore& func = session.doc.func;
    QString label =
        func.has(control) ? session.lang.caption(func.state(control).caption).trimmed() : QString();
    while (label.endsWith(QChar(':')) || label.endsWith(QChar(0xFF1A)))
        label.chop(1);
    return label.isEmpty() ? control : label;
}
} // namespace

QString DocumentDifference::line() const {
    return place + QStringLiteral(": ") + before + QStringLiteral(" \u2192 ") + after;
}

QList<DocumentDifference> compareDocuments(const Session& first, const Session& second) {
    const Language& lang = first.lang;
    auto shown = [&](const QString& v) { return v.isEmpty() ? lang.text(Str::EmptyValue) : v; };
    QList<DocumentDifference> out;
    for (Side side : {Side::A, Side::B}) {
        const ChannelTable& a = first.doc.table(side);
        const ChannelTable& b = second.doc.table(side);
        for (int row = 1; row <= ChannelTable::LastRow; ++row)
            for (int col = Col::RxFreq; col < ChannelTable::Columns; ++col) {
                if (a.cell(col, row) == b.cell(col, row)) continue;
                DocumentDifference d;
                d.side = side;
                d.row = row;
                d.column = col;
                d.place = QStringLiteral("%1 %2 %3")
                              .arg(side == Side::A ? QStringLiteral("A") : QStringLiteral("B"),
                                   a.cell(Col::Label, row), headerOf(col, lang));
                d.before = shown(a.cell(col, row));
                d.after = shown(b.cell(col, row));
                out << d;
            }
    }
    for (const SettingLine& line : settingLines()) {
        const QString before = settingValue(first, line);
        const QString after = settingValue(second, line);
        if (before == after) continue;
        DocumentDifference d;
        d.control = line.control;
        d.row = line.gridRow;
        switch (line.kind) {
        case LineKind::FmCell:
            d.part = DocumentDifference::Part::Fm;
            d.place = lang.text(Str::DiffFm) + QChar(' ') + QString::number(line.gridRow);
            break;
        case LineKind::CallCell:
            // The call list counts its rows from 0, as the window shows them.
            d.part = DocumentDifference::Part::CallList;
            d.place = lang.text(Str::DiffCallList) + QChar(' ') + QString::number(line.gridRow - 1);
            break;
        default:
            d.part = DocumentDifference::Part::Options;
            d.place =
                lang.text(Str::DiffOptions) + QStringLiteral(" \u203A ") + captionOf(first, line.control);
            break;
        }
        d.before = shown(before);
        d.after = shown(after);
        out << d;
    }
    return out;
}
