// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/codeplug/problemtext.h"
#include "core/base/messages.h"
#include "core/base/texttable.h"
#include "core/codeplug/controlnames.h"
#include "core/codeplug/session.h"

namespace {
QString reasonWithValue(const Language& lang, int reason, const QString& value) {
    const QString r = lang.text(reason);
    return value.isEmpty() ? r : r + QStringLiteral(" \"%1\"").arg(value);
}

// The user knows a field by the caption beside it, never by the control's name; the name stands
// in only for a field that shows no caption at all.
QString fieldName(QString label, const QString& control) {
    // Labels such as "开机语：" end in a colon; the message adds its own.
    label = label.trimmed();
    while (label.endsWith(QChar(':')) || label.endsWith(QChar(0xFF1A)))
        label.chop(1);
    return label.isEmpty() ? control : label;
}

QString fieldText(const Session& session, const QString& label, const QString& control, int reason,
                  const QString& value) {
    return session.lang.text(Str::ProblemField)
        .arg(fieldName(label, control), reasonWithValue(session.lang, reason, value));
}
} // namespace

QString cellProblemText(const Session& session, Side side, int row, int col, int reason,
                        const QString& value) {
    const Language& lang = session.lang;
    QString label = session.doc.table(side).cell(Col::Label, row);
    if (label.isEmpty()) label = QString::number(row);
    const int headerNumber = channelHeaderNumber(col);
    const QString header = headerNumber > 0    ? lang.text(headerNumber)
                           : col == Col::PttId ? QStringLiteral("PTT ID")
                           : col == Col::Dtmf  ? QStringLiteral("DTMF")
                                               : QString::number(col);
    return lang.text(Str::ProblemCell)
        .arg(side == Side::A ? QStringLiteral("A") : QStringLiteral("B"), label, header,
             reasonWithValue(lang, reason, value));
}

QString fieldProblemText(const Session& session, const QString& control, int gridRow, int reason,
                         const QString& value) {
    const ControlStore& func = session.doc.func;
    // Blocks without a control of their own are named by what the caller knows of them.
    QString label = func.has(control) ? session.lang.caption(func.state(control).caption) : QString();
    if (control == Ctl::CallList)
        label += QChar(' ') + QString::number(gridRow - 1); // the call list counts from 0
    else if (gridRow > 0)
        label += QChar(' ') + QString::number(gridRow);
    return fieldText(session, label, control, reason, value);
}

QString labelledProblemText(const Session& session, const QString& builtinLabel, const QString& control,
                            int reason, const QString& value) {
    return fieldText(session, session.lang.caption(builtinLabel), control, reason, value);
}
